#include "core/layoutfile.h"

#include "core/fileformat.h"
#include "platform/message.h"
#include "platform/textfile.h"

#include <algorithm>

namespace vellara {

namespace {

constexpr char kLayoutExtension[] = ".lat";

// Reads one line and converts it; a step that fails returns false and leaves
// the value alone.
template <typename T, typename Parse>
bool readValue(platform::TextReader &in, T &value, Parse parse)
{
    QString line;
    if (!in.readLine(line))
        return false;
    const auto parsed = parse(line);
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

} // namespace

QString layoutFilePath(const QString &name)
{
    return trimBlanks(name) + QLatin1String(kLayoutExtension);
}

bool isSafeLayoutName(const QString &name)
{
    const QString trimmed = trimBlanks(name);
    return !trimmed.contains(QLatin1Char('/')) && !trimmed.contains(QLatin1Char('\\'))
           && !trimmed.contains(QChar(0));
}

bool LoadLayout(CoreState &state, LayoutTable &table, const QString &name)
{
    LayoutDefinition &layout = state.layout;
    const QString &cardBack = state.settings.cardBackFile;

    state.settings.layoutName = name;
    for (int k = 1; k < layout.positionCount; ++k)
        table.removePosition(k);
    table.showBackInCard(0, cardBack);
    table.showBackInFace(0, cardBack);

    bool ok = true;
    const QString path = layoutFilePath(name);
    // A name that reaches outside the working directory is treated as a file
    // that cannot be opened.
    platform::TextReader in(isSafeLayoutName(name) ? path : QString());
    ok &= in.isOpen();

    ok &= in.skipLine();
    qint16 count = layout.positionCount;
    if (readValue(in, count, parseInt16) && count >= 1 && count <= kPositionSlots)
        layout.positionCount = count;
    else
        ok = false;

    for (int k = 1; k < layout.positionCount; ++k) {
        table.createPosition(k);
        table.bringToFront(k);
        table.setCardTooltip(k, QStringLiteral("Card ") + QString::number(k + 1));
        table.setCardVisible(k, true);
    }
    table.setCardTooltip(0, QStringLiteral("Card 1"));

    ok &= in.skipLine();
    QRect geometry = table.windowGeometry();
    // A side that cannot be read keeps the window's own.
    const std::pair<qint16 *, void (QRect::*)(int)> sides[] = {{&layout.windowLeft, &QRect::moveLeft},
                                                               {&layout.windowTop, &QRect::moveTop},
                                                               {&layout.windowWidth, &QRect::setWidth},
                                                               {&layout.windowHeight, &QRect::setHeight}};
    for (const auto &[value, apply] : sides) {
        if (readValue(in, *value, parseInt16))
            (geometry.*apply)(*value);
        else
            ok = false;
    }
    table.setWindowGeometry(geometry);

    for (int k = 0; k < layout.positionCount; ++k) {
        PositionRecord &position = layout.positions[k];
        ok &= in.skipLine();
        QString meaning;
        if (in.readLine(meaning))
            position.meaning = meaning;
        else
            ok = false;
        ok &= in.skipLine();
        const bool haveLeft = readValue(in, position.left, parseSingle);
        const bool haveTop = readValue(in, position.top, parseSingle);
        ok &= haveLeft && haveTop;
        // A card whose place was not read stays where it was created.
        if (haveLeft || haveTop)
            table.moveCard(k, position.left, position.top);
    }

    for (int k = 0; k < layout.positionCount; ++k) {
        ok &= table.showBackInCard(k, cardBack);
        ok &= table.showBackInFace(k, cardBack);
    }
    ok &= table.showBackInLarge(cardBack);

    if (!ok) {
        platform::showMessage(QStringLiteral("File was not found or invalid data read in, if ") + path
                              + QStringLiteral(" exists, restart program"));
        return false;
    }
    table.setTitle(QLatin1String(kTitlePrefix) + state.settings.layoutName);
    return true;
}

bool SaveLayout(const CoreState &state, LayoutTable &table)
{
    const LayoutDefinition &layout = state.layout;
    const QString &name = state.settings.layoutName;
    // The file keeps the name as held, surrounding blanks included.
    const QString path = name + QLatin1String(kLayoutExtension);
    // A file called ".lat" would be hidden and could not be loaded by name.
    if (trimBlanks(name).isEmpty()) {
        platform::showMessage(QLatin1String(kLayoutNeedsName));
        return false;
    }
    if (!isSafeLayoutName(name)) {
        platform::showMessage(writeFailureMessage(
            path, QStringLiteral("a layout name cannot hold \"/\" or \"\\\"")));
        return false;
    }

    const int count = std::clamp<int>(layout.positionCount, 0, kPositionSlots);
    const QRect geometry = table.windowGeometry();
    platform::TextWriter out(path);
    out.writeLine(QStringLiteral("        # of cards in layout"));
    out.writeLine(QString::number(count));
    out.writeLine(QStringLiteral("        Program window left, top, width, height"));
    out.writeLine(QString::number(geometry.left()));
    out.writeLine(QString::number(geometry.top()));
    out.writeLine(QString::number(geometry.width()));
    out.writeLine(QString::number(geometry.height()));
    for (int k = 0; k < count; ++k) {
        const QPointF place = table.cardPlace(k);
        out.writeLine(QStringLiteral("        positional meaning ") + QString::number(k + 1));
        out.writeLine(trimBlanks(layout.positions[k].meaning));
        out.writeLine(QStringLiteral("        left, top of card#") + QString::number(k + 1));
        out.writeLine(formatSingle(static_cast<float>(place.x())));
        out.writeLine(formatSingle(static_cast<float>(place.y())));
    }
    if (!out.commit()) {
        platform::showMessage(writeFailureMessage(path, out.errorString()));
        return false;
    }

    // Editing ends only once the layout is safely on disk.
    for (int k = 0; k < count; ++k)
        table.setCardDraggable(k, false);
    table.enablePickCards();
    return true;
}

} // namespace vellara
