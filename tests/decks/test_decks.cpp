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

// The pictures c000.bmp.. and one more file in a folder; the steps: a: Add
// Listed Images, s: Save List, w: "*.wmf", digit: toggle a tick; the ticks shown,
// the message told (none: a list saved is handed over), the last picture stored.
struct Offer {
    int bitmaps;
    QString extra, steps, ticks, message, last;
};

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

Q_DECLARE_METATYPE(Offer)

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
        QTest::addColumn<Offer>("offer");
        QTest::newRow("100 ticks") << Offer{100, "", "as", QString(100, '1'), "", "c099.bmp"};
        QTest::newRow("101 ticks") << Offer{101, "", "as", QString(101, '1'), "Please select 100 cards or less", "c099.bmp"};
        QTest::newRow("no gap") << Offer{5, "", "a2s", "11011", "", "c004.bmp"};
        QTest::newRow("added twice") << Offer{3, "", "a1a4", "111010", "", ""};
        QTest::newRow("pattern changed") << Offer{3, "w.wmf", "awa", "1110", "", ""};
        QTest::newRow("30 characters") << Offer{0, QString(26, 'n') + ".bmp", "as", "1", "", QString(26, 'n') + ".bmp"};
        QTest::newRow("31 characters") << Offer{0, QString(27, 'n') + ".bmp", "as", "1", QString(27, 'n') + ".bmp", ""};
        QTest::newRow("nothing ticked") << Offer{1, "", "a0s", "0", "No cards to add to set", ""};
        QTest::newRow("no pictures") << Offer{0, "", "a", "", "No cards in directory", ""};
    }
    void offering()
    {
        QFETCH(Offer, offer);
        const auto &[bitmaps, extra, steps, ticks, message, last] = offer;
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
        QString shown;
        for (int i = 0; i < offered->count(); ++i)
            shown += offered->item(i)->checkState() == Qt::Checked ? '1' : '0';
        QCOMPARE(shown, ticks);
        QVERIFY(offered->updatesEnabled());  // filled, the list is drawn again
        // The ticked names in list order; the 101st tick stops with 100 stored.
        const int stored = last.isEmpty() ? 0 : message.isEmpty() ? handed : 100;
        QCOMPARE(state.pendingDeck.pictureFiles[std::max(stored - 1, 0)].text(), last.leftJustified(30));
        QVERIFY(state.pendingDeck.pictureFiles[stored].text().trimmed().isEmpty());
    }

    void namingANewDeck()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        touch("a/one.bmp");
        QDir().mkpath("a/b");
        for (const int slot : {0, 99, 100})
            state.pendingDeck.pictureFiles[slot] = "kept";
        state.pendingDeck.pictureDirectory = dir.filePath("pending");
        // The drive list takes the focus whenever the window becomes active.
        auto *import = openWindow<Newcardset>("newcardset", state);
        QCOMPARE(import->focusWidget(), import->findChild<QWidget *>("Drive1"));
        QVERIFY(QTest::qWaitForWindowActive(import));
        QCOMPARE(QApplication::focusWidget(), import->findChild<QWidget *>("Drive1"));
        showFolder(import, "a");
        click(import, "Command1");
        // Another folder empties the list and the new deck's pictures, slot 100 aside.
        showFolder(import, "a/b");
        QCOMPARE(import->findChild<QListWidget *>("floppylist")->count(), 0);
        for (const int slot : {0, 99, 100})
            QCOMPARE(state.pendingDeck.pictureFiles[slot].text().trimmed(), QString(slot == 100 ? "kept" : ""));

        // Each name takes the next slot, with the folder shown in the import
        // window, else the pending deck's; 50 decks are as many as there can be.
        for (const QString typed : {"Ga-r'den 2!", "   ", "Sun", "Full"}) {
            if (typed == "Sun")
                WindowRegistry::close("newcardset");
            if (typed == "Full")
                state.settings.decks.deckCount = 50;
            Namecards naming(state);
            naming.show();
            QTest::keyClicks(naming.findChild<QLineEdit *>("Text1"), typed + "\r");
            QCOMPARE(naming.isVisible(), typed == "Full");
        }
        QCOMPARE(state.settings.decks.deckCount, 50);
        QCOMPARE(spy.messages().size(), 1);
        const DeckRegistry &decks = state.settings.decks;
        for (const auto &[slot, name, folder] : {std::tuple{1, "Garden 2", "a/b"}, {2, "", "a/b"}, {3, "Sun", "pending"}})
            QCOMPARE(decks.names[slot] + "|" + decks.paths[slot], name + QString("|") + dir.filePath(folder));
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
        touch("from/a.bmp");
        platform::setWriteFaultForTesting("No space left on device");
        QPointer<Cardadder> adder = addCard(state, editor);
        platform::setWriteFaultForTesting({});
        QVERIFY(adder);
        QCOMPARE(adder->findChild<QListWidget *>("File1")->count(), 1);
        test::verifyControlsApart(adder);
        // The preview runs down the window's side.
        QVERIFY(adder->findChild<QWidget *>("Image1")->height() > adder->height() / 2);
        QVERIFY(spy.messages().value(0).contains("No space left on device"));

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
