#include "core/settingsfile.h"

#include "core/fileformat.h"
#include "platform/message.h"
#include "platform/textfile.h"

#include <algorithm>

namespace vellara {

namespace {

using platform::TextReader;

// One value line after its comment line. Each step fails on its own; the
// value keeps what it held.
void readText(TextReader &in, QString &value)
{
    in.skipLine();
    QString line;
    if (in.readLine(line))
        value = trimBlanks(line);
}

void readNumber(TextReader &in, qint16 &value)
{
    in.skipLine();
    QString line;
    if (in.readLine(line)) {
        if (const auto number = parseInt16(line))
            value = *number;
    }
}

} // namespace

void ReadSettingsFile(CoreState &state)
{
    ProgramSettings &s = state.settings;
    TextReader in(QString::fromLatin1(kSettingsFileName));

    readText(in, s.cardBackFile);
    readText(in, s.deckDirectory);
    readNumber(in, s.reversalFrequency);
    readText(in, s.layoutName);
    readNumber(in, s.decks.deckCount);

    // An int loop bound: a count of 32767 must not wrap the index.
    const int deckCount = s.decks.deckCount;
    for (int i = 0; i <= deckCount; ++i) {
        QString name;
        QString path;
        in.skipLine();
        const bool haveName = in.readLine(name);
        const bool havePath = in.readLine(path);
        if (i > kMaxDeckSlot)
            continue;  // surplus groups are consumed and dropped
        if (haveName)
            s.decks.names[i] = trimBlanks(name);
        if (havePath)
            s.decks.paths[i] = trimBlanks(path);
    }
    // Everything after this indexes the registry by the count.
    s.decks.deckCount = static_cast<qint16>(std::clamp(deckCount, 0, kMaxDeckSlot));

    readNumber(in, s.layouts.layoutCount);
    const int layoutCount = s.layouts.layoutCount;
    for (int i = 1; i <= layoutCount; ++i) {
        QString name;
        in.skipLine();
        const bool haveName = in.readLine(name);
        if (i <= kMaxLayoutSlot && haveName)
            s.layouts.names[i] = trimBlanks(name);
    }
    s.layouts.layoutCount = static_cast<qint16>(std::clamp(layoutCount, 0, kMaxLayoutSlot));
}

bool WriteSettingsFile(const CoreState &state)
{
    const ProgramSettings &s = state.settings;
    const QString path = QString::fromLatin1(kSettingsFileName);
    platform::TextWriter out(path);

    out.writeLine(QStringLiteral("        Card back file"));
    out.writeLine(s.cardBackFile);
    out.writeLine(QStringLiteral("        Deck path on last save"));
    out.writeLine(s.deckDirectory);
    out.writeLine(QStringLiteral("        Reversal frequency"));
    out.writeLine(QString::number(s.reversalFrequency));
    out.writeLine(QStringLiteral("        Layout on last save"));
    out.writeLine(s.layoutName);
    out.writeLine(QStringLiteral("        Number of decks installed"));
    // The counts never exceed the registries; clamping only keeps a file
    // written from a damaged state consistent with itself.
    const int deckCount = std::clamp<int>(s.decks.deckCount, 0, kMaxDeckSlot);
    out.writeLine(QString::number(deckCount));
    for (int i = 0; i <= deckCount; ++i) {
        out.writeLine(QStringLiteral("        Name, path of deck#") + QString::number(i));
        out.writeLine(s.decks.names[i]);
        out.writeLine(s.decks.paths[i]);
    }

    out.writeLine(QStringLiteral("        Number of layouts installed"));
    const int layoutCount = std::clamp<int>(s.layouts.layoutCount, 0, kMaxLayoutSlot);
    out.writeLine(QString::number(layoutCount));
    for (int i = 1; i <= layoutCount; ++i) {
        out.writeLine(QStringLiteral("        Layout name for layout #") + QString::number(i));
        out.writeLine(s.layouts.names[i]);
    }

    if (!out.commit()) {
        platform::showMessage(writeFailureMessage(path, out.errorString()));
        return false;
    }
    return true;
}

} // namespace vellara
