#include "targets.h"

#include "core/corestate.h"
#include "core/deckfile.h"
#include "core/layoutfile.h"
#include "core/layouttable.h"
#include "core/settingsfile.h"
#include "platform/message.h"
#include "platform/picture.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <memory>

namespace vellara::fuzz {

namespace {

// A table that keeps nothing: the layout reader drives it like the window.
class NullTable : public LayoutTable {
public:
    void createPosition(int) override {}
    void removePosition(int) override {}
    void bringToFront(int) override {}
    void setCardTooltip(int, const QString &) override {}
    void setCardVisible(int, bool) override {}
    void moveCard(int, float, float) override {}
    QPointF cardPlace(int) const override { return {}; }
    void setCardDraggable(int, bool) override {}
    bool showBackInCard(int, const QString &) override { return true; }
    bool showBackInFace(int, const QString &) override { return true; }
    bool showBackInLarge(const QString &) override { return true; }
    QRect windowGeometry() const override { return {}; }
    void setWindowGeometry(const QRect &) override {}
    void setTitle(const QString &) override {}
    QSize clientSize() const override { return {}; }
    void enablePickCards() override {}
    void disablePickCards() override {}
    void setPositionCommandsEnabled(bool) override {}
};

void writeInput(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the input to %s", qPrintable(path));
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

} // namespace

void setUp()
{
    static int argc = 1;
    static char name[] = "vellara-fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);  // image plugins; lives as long as the process
    }
    static QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    QDir().mkpath(QStringLiteral("deck"));
    platform::setMessageHandler([](const QString &) {});
}

void settingsFile(const uint8_t *data, size_t size)
{
    writeInput(QString::fromLatin1(kSettingsFileName), data, size);
    CoreState state;
    ReadSettingsFile(state);
    // What was read must write back and read again.
    WriteSettingsFile(state);
    CoreState again;
    ReadSettingsFile(again);
}

void deckFile(const uint8_t *data, size_t size)
{
    writeInput(QStringLiteral("deck/cards.dat"), data, size);
    CoreState state;
    LoadDeckFromDirectory(state, QStringLiteral("deck"));
    state.settings.deckDirectory = QStringLiteral("deck");
    WriteCurrentDeckFile(state);
}

void layoutFile(const uint8_t *data, size_t size)
{
    writeInput(QStringLiteral("Spread.lat"), data, size);
    CoreState state;
    NullTable table;
    if (LoadLayout(state, table, QStringLiteral("Spread")))
        SaveLayout(state, table);
}

void cardTextFile(const uint8_t *data, size_t size)
{
    // A card's definition: name, upright and reversed meaning, one line each.
    writeInput(QStringLiteral("card.txt"), data, size);
    platform::TextReader reader(QStringLiteral("card.txt"));
    QString line;
    for (int i = 0; i < 3 && reader.readLine(line); ++i)
        (void)line.size();
}

void pictureFile(const uint8_t *data, size_t size)
{
    writeInput(QStringLiteral("picture"), data, size);
    platform::Picture::clearCache();
    if (const auto picture = platform::Picture::load(QStringLiteral("picture"))) {
        (void)picture->render(QSize(39, 71));
        (void)picture->turned().render(QSize(116, 213));
    }
}

Target targetNamed(const QString &name)
{
    if (name == QLatin1String("settings"))
        return settingsFile;
    if (name == QLatin1String("deck"))
        return deckFile;
    if (name == QLatin1String("layout"))
        return layoutFile;
    if (name == QLatin1String("cardtext"))
        return cardTextFile;
    if (name == QLatin1String("picture"))
        return pictureFile;
    return nullptr;
}

QStringList targetNames()
{
    return {QStringLiteral("settings"), QStringLiteral("deck"), QStringLiteral("layout"),
            QStringLiteral("cardtext"), QStringLiteral("picture")};
}

} // namespace vellara::fuzz
