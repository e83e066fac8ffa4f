#include "core/corestate.h"
#include "decks/cardadder.h"
#include "decks/cardadderclient.h"
#include "decks/deckchoice.h"
#include "decks/namecards.h"
#include "decks/newcardset.h"
#include "platform/filelists.h"
#include "platform/textfile.h"
#include "platform/windowregistry.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace vellara;
using platform::WindowRegistry;
using test::MessageSpy;
using test::WorkDir;

namespace {

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    test::writeBytes(path, bytes);
}

void click(QWidget *w, const char *button) { QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton); }

void showFolder(QWidget *w, const QString &folder)
{
    w->findChild<platform::DirectoryList *>("Dir1")->setPath(QDir::current().absoluteFilePath(folder));
}

template <typename Window, typename... Args>
Window *openWindow(const char *name, Args &...args)
{
    return static_cast<Window *>(WindowRegistry::open(name, [&] {
        auto *w = new Window(args...);
        w->Form_Load();
        return w;
    }));
}

void chooseDeck(QWidget *w, int entry)
{
    w->findChild<QComboBox *>("Combo1")->setCurrentIndex(entry);
    click(w, "OKButton");
}

struct Editor : CardAdderClient {
    void cardAdded(int slot) override { added << slot; }
    QList<int> added;
};

// Opens the card adder on the folder "from" and double-clicks a metafile there.
QPointer<Cardadder> addCard(CoreState &state, Editor &editor)
{
    QPointer<Cardadder> w = openWindow<Cardadder>("cardadder", state, editor);
    showFolder(w, "from");
    w->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
    test::clickFile(w->findChild<platform::FileList *>("File1"), "a.wmf", true);
    return w;
}

} // namespace

class TestDecks : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char *name : {"newcardset", "newcarddef", "deckpick", "deckremove", "cardadder"})
            WindowRegistry::close(name);
        Newcardset::setNewcarddefFactory({});
    }

    void choosingDecks()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        DeckRegistry &decks = state.settings.decks;
        decks.deckCount = 4;
        for (const auto &[slot, name] : {std::pair{1, " A "}, {2, "   "}, {3, "Moon"}, {4, "C"}})
            std::tie(decks.names[slot], decks.paths[slot]) = std::pair(QString(name), dir.filePath(name));
        touch("Moon/cards.dat", test::crlfLines({"2", "a.wmf", "A", "up", "down", "b.wmf", "B", "", ""}));

        // A blank name takes no deck; a folder without a deck file is told,
        // and its slot recorded all the same.
        auto *pick = openWindow<Deckpick>("deckpick", state);
        chooseDeck(pick, 1);
        QCOMPARE(state.currentDeckIndex, 0);
        chooseDeck(pick, 0);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(state.currentDeckIndex, 1);
        QVERIFY(!WindowRegistry::find("deckpick"));
        chooseDeck(openWindow<Deckpick>("deckpick", state), 2);
        QCOMPARE(state.cardCount, 2);
        QCOMPARE(state.currentDeckIndex, 3);

        // The last deck leaves its slot as it was; the others move forward.
        // A blank name, or none chosen, removes nothing.
        auto *remove = openWindow<Deckremove>("deckremove", state);
        for (const int entry : {3, 1, -1, 0})
            chooseDeck(remove, entry);
        QCOMPARE(decks.deckCount, 2);
        for (const auto &[slot, name] : {std::pair{1, "   "}, {2, "Moon"}, {3, "Moon"}, {4, "C"}})
            QCOMPARE(decks.names[slot] + "|" + decks.paths[slot], name + QString("|") + dir.filePath(name));
        QCOMPARE(remove->findChild<QComboBox *>("Combo1")->count(), 2);
        click(remove, "CancelButton");
        QVERIFY(!WindowRegistry::find("deckremove"));
    }

    void offering_data()
    {
        QTest::addColumn<int>("bitmaps");
        QTest::addColumn<QString>("extra");  // one more file
        QTest::addColumn<QString>("steps");  // a: Add Listed Images, s: Save List, w: "*.wmf", digit: untick
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("message");  // none: a list saved is handed over
        QTest::newRow("100 ticks") << 100 << "" << "as" << QString(100, '1') << "";
        QTest::newRow("101 ticks") << 101 << "" << "as" << QString(101, '1') << "Please select 100 cards or less";
        QTest::newRow("no gap") << 5 << "" << "a2s" << "11011" << "";
        QTest::newRow("added twice") << 3 << "" << "a1a" << "111000" << "";
        QTest::newRow("pattern changed") << 3 << "w.wmf" << "awa" << "1110" << "";
        QTest::newRow("30 characters") << 0 << QString(26, 'n') + ".bmp" << "as" << "1" << "";
        QTest::newRow("31 characters") << 0 << QString(27, 'n') + ".bmp" << "as" << "1" << QString(27, 'n') + ".bmp";
        QTest::newRow("nothing ticked") << 1 << "" << "a0s" << "0" << "No cards to add to set";
        QTest::newRow("no pictures") << 0 << "" << "a" << "" << "No cards in directory";
    }
    void offering()
    {
        QFETCH(int, bitmaps);
        QFETCH(QString, extra);
        QFETCH(QString, steps);
        QFETCH(QString, ticks);
        QFETCH(QString, message);
        const int handed = steps.endsWith('s') && message.isEmpty() ? int(ticks.count('1')) : -1;
        WorkDir dir;
        MessageSpy spy;
        for (int k = 0; k < bitmaps; ++k)
            touch(QString("pics/c%1.bmp").arg(k, 3, 10, QChar('0')));
        touch("pics/" + (extra.isEmpty() ? "other.txt" : extra));
        int opened = 0;
        Newcardset::setNewcarddefFactory([&opened] { return ++opened, new QWidget; });
        CoreState state;
        state.pendingDeck.cardCount = 7;
        auto *w = openWindow<Newcardset>("newcardset", state);
        auto *offered = w->findChild<QListWidget *>("floppylist");
        showFolder(w, "pics");
        for (const QChar step : steps) {
            if (step == 'a' || step == 's')
                click(w, step == 'a' ? "Command1" : "Command2");
            else if (step == 'w')
                w->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
            else {
                offered->setCurrentRow(step.digitValue());
                QTest::keyClick(offered, Qt::Key_Space);
            }
        }
        QCOMPARE(spy.messages().size(), message.isEmpty() ? 0 : 1);
        QVERIFY(spy.messages().join("").contains(message));
        QCOMPARE(opened, handed >= 0 ? 1 : 0);
        QCOMPARE(state.pendingDeck.cardCount, handed >= 0 ? handed : 7);
        if (handed >= 0)
            QCOMPARE(state.pendingDeck.pictureDirectory, dir.filePath("pics"));
        // The ticked names in list order, each in its 30-character slot; the
        // 101st tick stops with 100 names stored.
        QString shown;
        QStringList names;
        for (int i = 0; i < offered->count(); ++i) {
            const bool ticked = offered->item(i)->checkState() == Qt::Checked;
            shown += ticked ? '1' : '0';
            if (ticked)
                names << offered->item(i)->text().leftJustified(30);
        }
        QCOMPARE(shown, ticks);
        for (int c = 0; c < (message.startsWith("Please") ? 100 : std::max(handed, 0)); ++c)
            QCOMPARE(state.pendingDeck.pictureFiles[c].text(), names[c]);
    }

    void anotherFolderBlanksThePendingPictures()
    {
        WorkDir dir;
        touch("a/one.bmp");
        QDir().mkpath("a/b");
        CoreState state;
        state.pendingDeck.pictureFiles[100] = "kept";
        auto *w = openWindow<Newcardset>("newcardset", state);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>("Drive1"));
        showFolder(w, "a");
        click(w, "Command1");
        click(w, "Command2");
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString("one.bmp").leftJustified(30));
        showFolder(w, "a/b");
        QCOMPARE(w->findChild<QListWidget *>("floppylist")->count(), 0);
        for (const auto &[slot, name] : {std::pair{0, ""}, {99, ""}, {100, "kept"}})
            QCOMPARE(state.pendingDeck.pictureFiles[slot].text(), QString(name).leftJustified(30));
    }

    void naming_data()
    {
        QTest::addColumn<int>("installed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("importOpen");
        QTest::addColumn<QString>("registered");  // "-": nothing registered
        QTest::newRow("Garden in slot 4") << 3 << "Garden" << true << "Garden";
        QTest::newRow("filtered") << 0 << "Ga-r'den 2!" << true << "Garden 2";
        QTest::newRow("blanks only") << 0 << "   " << true << "";
        QTest::newRow("import closed") << 0 << "Sun" << false << "Sun";
        QTest::newRow("50 installed") << 50 << "Full" << true << "-";
    }
    void naming()
    {
        QFETCH(int, installed);
        QFETCH(QString, typed);
        QFETCH(bool, importOpen);
        QFETCH(QString, registered);
        WorkDir dir;
        MessageSpy spy;
        QDir().mkpath("shown");
        CoreState state;
        DeckRegistry &decks = state.settings.decks;
        decks.deckCount = qint16(installed);
        state.pendingDeck.pictureDirectory = dir.filePath("pending");
        showFolder(openWindow<Newcardset>("newcardset", state), "shown");
        if (!importOpen)
            WindowRegistry::close("newcardset");
        Namecards w(state);
        QTest::keyClicks(w.findChild<QLineEdit *>("Text1"), typed + "\r");
        const bool done = registered != "-";
        QCOMPARE(decks.deckCount, installed + (done ? 1 : 0));
        QCOMPARE(spy.messages().size(), done ? 0 : 1);
        // The folder shown in the import window, else the pending deck's.
        if (done)
            QCOMPARE(decks.names[installed + 1] + "|" + decks.paths[installed + 1],
                     registered + "|" + dir.filePath(importOpen ? "shown" : "pending"));
    }

    void addingCards()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        state.settings.deckDirectory = dir.filePath("deck");
        state.cardCount = 78;
        QDir().mkpath("deck");
        Editor editor;
        // A copy that fails adds no card and leaves the adder open.
        touch("from/a.wmf", "first");
        platform::setWriteFaultForTesting("No space left on device");
        QPointer<Cardadder> adder = addCard(state, editor);
        platform::setWriteFaultForTesting({});
        QVERIFY(adder);
        test::verifyControlsApart(adder);
        QVERIFY(spy.messages().value(0).contains("No space left on device"));
        QCOMPARE(state.cardCount, 78);

        // A taken name gets one more "z" in front; a card added closes the adder.
        for (const QByteArray version : {"first", "second", "third"}) {
            touch("from/a.wmf", version);
            adder = addCard(state, editor);
            QTRY_VERIFY(adder.isNull());
        }
        QCOMPARE(QDir("deck").entryList(QDir::Files), (QStringList{"a.wmf", "za.wmf", "zza.wmf"}));
        QCOMPARE(test::readBytes("deck/za.wmf"), QByteArray("second"));
        QCOMPARE(state.cards[80].pictureFile, QString("zza.wmf"));
        QCOMPARE(editor.added, (QList<int>{78, 79, 80}));  // 78 cards became 79 first

        // A full deck takes no card; Exit closes the adder.
        state.cardCount = 101;
        adder = addCard(state, editor);
        QVERIFY(spy.messages().value(1).contains("101 cards"));
        QCOMPARE(state.cardCount, 101);
        click(adder, "Command1");
        QTRY_VERIFY(adder.isNull());
    }
};

QTEST_MAIN(TestDecks)
#include "test_decks.moc"
