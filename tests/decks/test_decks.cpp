#include "decks/cardbrowse.h"
#include "decks/deckchoice.h"
#include "decks/namecards.h"
#include "decks/newcardset.h"
#include "platform/pictureelement.h"
#include "support/deckwindows.h"

#include <QPlainTextEdit>
#include <QScrollBar>

using namespace vellara;
using namespace vellara::test;

namespace {

void chooseDeck(QWidget *w, int entry)
{
    child<QComboBox>(w, "Combo1")->setCurrentIndex(entry);
    click(w, "OKButton");
}

// The pictures c000.bmp.. and one more file in a folder; the steps: a: Add
// Listed Images, s: Save List, w: "*.wmf", digit: toggle a tick; the ticks shown,
// the message told (none: a list saved is handed over), the last picture stored.
struct Offer {
    int bitmaps;
    QString extra, steps, ticks, message, last;
};

} // namespace

class TestDecks : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char *name : {"newcardset", "newcarddef", "deckpick", "deckremove", "cardbrowse"})
            platform::WindowRegistry::close(name);
        Newcardset::setNewcarddefFactory({});
    }

    void browsing()
    {
        WorkDir dir;
        auto colour = [](int k) { return QColor(QColor::fromHsv((k * 47) % 360, 220, 200).rgb()); };
        CoreState state;
        state.cardCount = 78;
        state.settings.deckDirectory = dir.path();
        for (int k = 0; k < 78; ++k) {
            // Picture names carry trailing blanks, as read from a deck file.
            state.cards[k] = {QString("card%1.bmp  ").arg(k), QString("Card %1").arg(k), QString("upright %1").arg(k),
                              QString("reversed %1").arg(k)};
            writeColourPicture(dir.filePath(QString("card%1.bmp").arg(k)), colour(k));
        }
        QFile::remove("card9.bmp");
        writeBytes("card10.bmp", "not a picture");
        auto *w = openWindow<Cardbrowse>("cardbrowse", state);
        verifyDesign(w);
        auto *slider = child<QScrollBar>(w, "HScroll1");

        // An arrow moves one card, a page seven; a missing or broken picture keeps the one before.
        const QList<std::tuple<Qt::Key, int, int>> steps{
            {Qt::Key_Right, 1, 1}, {Qt::Key_PageDown, 8, 8}, {Qt::Key_Right, 9, 8}, {Qt::Key_Right, 10, 8},
            {Qt::Key_End, 77, 77}};
        for (const auto &[key, card, picture] : steps) {
            QTest::keyClick(slider, key);
            QCOMPARE(child<QPlainTextEdit>(w, "Text2")->toPlainText() +
                         child<QPlainTextEdit>(w, "Text3")->toPlainText(),
                     QString("upright %1reversed %1").arg(card));
            QCOMPARE(shownColour(child<platform::PictureElement>(w, "Image1")), colour(picture));
        }
        // Reopened on another deck with no folder: the program's folder.
        state.cardCount = 10;
        state.settings.deckDirectory.clear();
        w->Form_Load();
        QVERIFY(slider->maximum() == 9 && child<QLineEdit>(w, "Text1")->text() == QString("Card 0").leftJustified(30));
        QCOMPARE(child<QLineEdit>(w, "Text1")->cursorPosition(), 0);  // shown from its start
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
    }

    void registeringDecks()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        DeckRegistry &decks = state.settings.decks;
        decks.deckCount = 4;
        for (const auto &[slot, name] : {std::pair{1, " A "}, {2, "   "}, {3, "Moon"}, {4, "C"}})
            std::tie(decks.names[slot], decks.paths[slot]) = std::pair(QString(name), dir.filePath(name));
        touch("Moon/cards.dat", crlfLines({"2", "a.wmf", "A", "up", "down", "b.wmf", "B", "", ""}));

        // A blank name takes no deck; a folder without a deck file is told,
        // and its slot recorded all the same.
        auto *pick = openWindow<Deckpick>("deckpick", state);
        verifyDesign(pick);
        chooseDeck(pick, 1);
        QCOMPARE(state.currentDeckIndex, 0);
        chooseDeck(pick, 0);
        QVERIFY(state.currentDeckIndex == 1 && !opened("deckpick"));
        chooseDeck(openWindow<Deckpick>("deckpick", state), 2);
        QVERIFY(state.cardCount == 2 && state.currentDeckIndex == 3);

        // The last deck leaves its slot as it was; the others move forward.
        // A blank name, or none chosen, removes nothing.
        auto *remove = openWindow<Deckremove>("deckremove", state);
        verifyDesign(remove);
        for (const int entry : {3, 1, -1, 0})
            chooseDeck(remove, entry);
        QCOMPARE(decks.deckCount, 2);
        for (const auto &[slot, name] : {std::pair{1, "   "}, {2, "Moon"}, {3, "Moon"}, {4, "C"}})
            QCOMPARE(decks.names[slot] + "|" + decks.paths[slot], name + QString("|") + dir.filePath(name));
        QCOMPARE(child<QComboBox>(remove, "Combo1")->count(), 2);
        click(remove, "CancelButton");
        QVERIFY(!opened("deckremove"));

        // A new deck's pictures and name.
        touch("a/one.bmp");
        QDir().mkpath("a/b");
        for (const int slot : {0, 99, 100})
            state.pendingDeck.pictureFiles[slot] = "kept";
        state.pendingDeck.pictureDirectory = dir.filePath("pending");
        auto *import = openWindow<Newcardset>("newcardset", state);
        verifyDesign(import);
        showFolder(import, "a");
        click(import, "Command1");
        child<platform::DriveList>(import, "Drive1")->setDrive(QDir::homePath());  // the folders follow the drive
        QCOMPARE(child<platform::DirectoryList>(import, "Dir1")->path(), QDir::homePath());
        // Another folder empties the list and the new deck's pictures, slot 100 aside.
        showFolder(import, "a/b");
        QCOMPARE(child<QListWidget>(import, "floppylist")->count(), 0);
        for (const int slot : {0, 99, 100})
            QCOMPARE(state.pendingDeck.pictureFiles[slot].text().trimmed(), QString(slot == 100 ? "kept" : ""));

        // Each name takes the next slot, with the folder shown in the import
        // window, else the pending deck's; 50 decks are as many as there can be.
        for (const QString typed : {"Ga-r'den 2!", "   ", "Sun", "Full"}) {
            if (typed == "Sun")
                platform::WindowRegistry::close("newcardset");
            if (typed == "Full")
                decks.deckCount = 50;
            Namecards naming(state);
            naming.show();
            // Enter confirms, as OK does.
            QTest::keyClicks(child<QLineEdit>(&naming, "Text1"), typed == "Sun" ? typed : typed + "\r");
            if (typed == "Sun")
                click(&naming, "Command1");
            QCOMPARE(naming.isVisible(), typed == "Full");
        }
        QCOMPARE(decks.deckCount, 50);
        QCOMPARE(spy.messages().size(), 2);  // the missing deck file above, and the 51st deck
        for (const auto &[slot, name, path] : {std::tuple{3, "Garden 2", "a/b"}, {4, "", "a/b"}, {5, "Sun", "pending"}})
            QCOMPARE(decks.names[slot] + "|" + decks.paths[slot], name + QString("|") + dir.filePath(path));
    }

    void offering_data()
    {
        QTest::addColumn<Offer>("offer");
        QTest::newRow("100 ticks") << Offer{100, "", "as", QString(100, '1'), "", "c099.bmp"};
        QTest::newRow("101 ticks") << Offer{101, "", "as", QString(101, '1'), "100 cards or less", "c099.bmp"};
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
        int made = 0;
        Newcardset::setNewcarddefFactory([&made] { return ++made, new QWidget; });
        CoreState state;
        state.pendingDeck.cardCount = 7;
        auto *w = openWindow<Newcardset>("newcardset", state);
        auto *offered = child<QListWidget>(w, "floppylist");
        showFolder(w, "pics");
        for (const QChar step : steps) {
            if (step == 'a' || step == 's')
                click(w, step == 'a' ? "Command1" : "Command2");
            else if (step == 'w')
                child<QComboBox>(w, "Combo1")->setCurrentIndex(3);
            else {
                offered->setCurrentRow(step.digitValue());
                QTest::keyClick(offered, Qt::Key_Space);
            }
        }
        // An empty message matches every one told, so none may be.
        QVERIFY(spy.messages().filter(message).size() == (message.isEmpty() ? 0 : 1) && made == (handed >= 0 ? 1 : 0));
        QCOMPARE(state.pendingDeck.cardCount, handed >= 0 ? handed : 7);
        // "Save List" takes the folder first, unless a name is too long.
        const QString folder = steps.endsWith('s') && !message.endsWith(".bmp") ? dir.filePath("pics") : QString();
        QCOMPARE(state.pendingDeck.pictureDirectory, folder);
        QString shown;
        for (int i = 0; i < offered->count(); ++i)
            shown += offered->item(i)->checkState() == Qt::Checked ? '1' : '0';
        QCOMPARE(shown, ticks);
        // The ticked names in list order; the 101st tick stops with 100 stored.
        const int stored = last.isEmpty() ? 0 : message.isEmpty() ? handed : 100;
        QCOMPARE(state.pendingDeck.pictureFiles[std::max(stored - 1, 0)].text(), last.leftJustified(30));
        QVERIFY(state.pendingDeck.pictureFiles[stored].text().trimmed().isEmpty());
    }
};

QTEST_MAIN(TestDecks)
#include "test_decks.moc"
