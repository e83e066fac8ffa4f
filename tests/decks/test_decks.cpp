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

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
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

void click(QWidget *w, const char *button)
{
    QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
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

Newcardset *openImport(CoreState &state, const QString &folder)
{
    auto *w = openWindow<Newcardset>("newcardset", state);
    w->findChild<platform::DirectoryList *>("Dir1")->setPath(QDir::current().absoluteFilePath(folder));
    return w;
}

QListWidget *offered(QWidget *w) { return w->findChild<QListWidget *>("floppylist"); }

QString ticks(QWidget *w)
{
    QString out;
    for (int i = 0; i < offered(w)->count(); ++i)
        out += offered(w)->item(i)->checkState() == Qt::Checked ? '1' : '0';
    return out;
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
QPointer<Cardadder> addCard(CoreState &state, Editor &editor, const QString &name)
{
    QPointer<Cardadder> w = openWindow<Cardadder>("cardadder", state, editor);
    w->findChild<platform::DirectoryList *>("Dir1")->setPath(QDir::current().absoluteFilePath("from"));
    w->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
    test::clickFile(w->findChild<platform::FileList *>("File1"), name, true);
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
        const QStringList decks{" A ", "   ", "Moon", "C"};
        state.settings.decks.deckCount = qint16(decks.size());
        for (int i = 0; i < decks.size(); ++i)
            std::tie(state.settings.decks.names[i + 1], state.settings.decks.paths[i + 1]) =
                std::pair(decks[i], dir.filePath(decks[i]));
        touch("Moon/cards.dat", test::crlfLines({"2", "a.wmf", "A", "up", "down", "b.wmf", "B", "", ""}));
        state.cardCount = 5;
        state.reading.dealtCards[0] = 4;

        // Neither key nor a blank name takes a deck; a folder without a deck
        // file is told, and its slot recorded all the same.
        auto *pick = openWindow<Deckpick>("deckpick", state);
        QTest::keyClick(pick, Qt::Key_Escape);
        QTest::keyClick(pick->findChild<QPushButton *>("OKButton"), Qt::Key_Return);
        chooseDeck(pick, 1);
        QVERIFY(pick->isVisible());
        QCOMPARE(state.currentDeckIndex, 0);
        chooseDeck(pick, 0);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(state.currentDeckIndex, 1);
        QCOMPARE(state.cardCount, 5);
        QVERIFY(!WindowRegistry::find("deckpick"));
        chooseDeck(openWindow<Deckpick>("deckpick", state), 2);
        QCOMPARE(state.cardCount, 2);
        QCOMPARE(state.currentDeckIndex, 3);
        QCOMPARE(state.reading.dealtCards[0], 4);  // the table waits for the next deal

        // The last deck leaves its slot as it was; the others move forward.
        // A blank name, or none chosen, removes nothing.
        auto *remove = openWindow<Deckremove>("deckremove", state);
        for (const int entry : {3, 1, -1, 0})
            chooseDeck(remove, entry);
        QCOMPARE(state.settings.decks.deckCount, 2);
        for (const auto &[slot, name] : {std::pair{1, "   "}, {2, "Moon"}, {3, "Moon"}, {4, "C"}}) {
            QCOMPARE(state.settings.decks.names[slot], QString(name));
            QCOMPARE(state.settings.decks.paths[slot], dir.filePath(name));
        }
        auto *shown = remove->findChild<QComboBox *>("Combo1");
        QCOMPARE(shown->count(), 2);
        QCOMPARE(shown->itemText(0) + "|" + shown->itemText(1), QString("|Moon"));
        QCOMPARE(state.currentDeckIndex, 3);
        QVERIFY(remove->isVisible());
    }

    void offering_data()
    {
        QTest::addColumn<int>("bitmaps");
        QTest::addColumn<QString>("extra");  // one more file
        QTest::addColumn<QString>("steps");  // a: Add Listed Images, s: Save List, w: "*.wmf", digit: untick
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<int>("handed");     // -1: nothing handed over
        QTest::addColumn<QString>("message");
        QTest::newRow("100 ticks") << 100 << "" << "as" << QString(100, '1') << 100 << "";
        QTest::newRow("101 ticks") << 101 << "" << "as" << QString(101, '1') << -1 << "Please select 100 cards or less";
        QTest::newRow("no gap") << 5 << "" << "a2s" << "11011" << 4 << "";
        QTest::newRow("added twice") << 3 << "" << "a1a" << "111000" << -1 << "";
        QTest::newRow("pattern changed") << 3 << "w.wmf" << "awa" << "1110" << -1 << "";
        QTest::newRow("30 characters") << 0 << QString(26, 'n') + ".bmp" << "as" << "1" << 1 << "";
        QTest::newRow("31 characters") << 0 << QString(27, 'n') + ".bmp" << "as" << "1" << -1 << QString(27, 'n') + ".bmp";
        QTest::newRow("nothing ticked") << 1 << "" << "a0s" << "0" << -1 << "No cards to add to set";
    }
    void offering()
    {
        QFETCH(int, bitmaps);
        QFETCH(QString, extra);
        QFETCH(QString, steps);
        QFETCH(QString, ticks);
        QFETCH(int, handed);
        QFETCH(QString, message);
        WorkDir dir;
        MessageSpy spy;
        for (int k = 0; k < bitmaps; ++k)
            touch(QString("pics/c%1.bmp").arg(k, 3, 10, QChar('0')));
        touch("pics/" + (extra.isEmpty() ? "other.txt" : extra));
        int opened = 0;
        Newcardset::setNewcarddefFactory([&opened] { return ++opened, new QWidget; });
        CoreState state;
        state.pendingDeck.cardCount = 7;
        Newcardset *w = openImport(state, "pics");
        for (const QChar step : steps) {
            if (step == 'a')
                click(w, "Command1");
            else if (step == 's')
                click(w, "Command2");
            else if (step == 'w')
                w->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
            else {
                offered(w)->setCurrentRow(step.digitValue());
                QTest::keyClick(offered(w), Qt::Key_Space);
            }
        }
        QCOMPARE(::ticks(w), ticks);
        QCOMPARE(spy.messages().size(), message.isEmpty() ? 0 : 1);
        QVERIFY(spy.messages().join("").contains(message));
        QCOMPARE(opened, handed >= 0 ? 1 : 0);
        QCOMPARE(state.pendingDeck.cardCount, handed >= 0 ? handed : 7);
        // The ticked names in list order, each in its 30-character slot; the
        // 101st tick stops with 100 names stored.
        QStringList names;
        for (int i = 0; i < offered(w)->count(); ++i)
            if (offered(w)->item(i)->checkState() == Qt::Checked)
                names << offered(w)->item(i)->text().leftJustified(30);
        const int stored = message.startsWith("Please") ? 100 : std::max(handed, 0);
        for (int c = 0; c < stored; ++c)
            QCOMPARE(state.pendingDeck.pictureFiles[c].text(), names[c]);
        if (handed >= 0)
            QCOMPARE(state.pendingDeck.pictureDirectory, dir.filePath("pics"));
    }

    void anotherFolderBlanksThePendingPictures()
    {
        WorkDir dir;
        touch("a/one.bmp");
        QDir().mkpath("a/b");
        CoreState state;
        state.pendingDeck.pictureFiles[100] = "kept";
        Newcardset *w = openImport(state, "a");
        click(w, "Command1");
        click(w, "Command2");
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString("one.bmp").leftJustified(30));
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(offered(w))->child(0);
        QVERIFY(entry->state().checkable && entry->state().checked);
        w->findChild<platform::DirectoryList *>("Dir1")->setPath(dir.filePath("a/b"));
        QCOMPARE(offered(w)->count(), 0);
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString(30, ' '));
        QCOMPARE(state.pendingDeck.pictureFiles[99].text(), QString(30, ' '));
        QCOMPARE(state.pendingDeck.pictureFiles[100].text(), QString("kept").leftJustified(30));
    }

    void naming_data()
    {
        QTest::addColumn<int>("installed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("importOpen");
        QTest::addColumn<QString>("registered");  // "-": nothing registered
        QTest::newRow("Garden in slot 4") << 3 << "Garden" << "" << true << "Garden";
        QTest::newRow("typed and pasted") << 0 << "Ga-r'd" << "-en 2!" << true << "Garden 2";
        QTest::newRow("blanks only") << 0 << "   " << "" << true << "";
        QTest::newRow("import closed") << 0 << "Sun" << "" << false << "Sun";
        QTest::newRow("50 installed") << 50 << "Full" << "" << true << "-";
    }
    void naming()
    {
        QFETCH(int, installed);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, importOpen);
        QFETCH(QString, registered);
        WorkDir dir;
        MessageSpy spy;
        QDir().mkpath("shown");
        CoreState state;
        state.settings.decks.deckCount = qint16(installed);
        state.pendingDeck.pictureDirectory = dir.filePath("pending");
        openImport(state, "shown");
        if (!importOpen)
            WindowRegistry::close("newcardset");
        Namecards w(state);
        auto *name = w.findChild<QLineEdit *>("Text1");
        QTest::keyClicks(name, typed);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(name, Qt::Key_Return);
        const bool done = registered != "-";
        QCOMPARE(state.settings.decks.deckCount, installed + (done ? 1 : 0));
        QCOMPARE(spy.messages().size(), done ? 0 : 1);
        if (done) {
            QCOMPARE(state.settings.decks.names[installed + 1], registered);
            // The folder shown in the import window, else the pending deck's.
            QCOMPARE(state.settings.decks.paths[installed + 1], dir.filePath(importOpen ? "shown" : "pending"));
        }
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
        // A copy that fails leaves no file and no card, and the adder open.
        touch("from/a.wmf", "first");
        platform::setWriteFaultForTesting("No space left on device");
        QVERIFY(addCard(state, editor, "a.wmf"));
        platform::setWriteFaultForTesting({});
        QVERIFY(spy.messages().value(0).contains("No space left on device"));
        QVERIFY(QDir("deck").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(state.cardCount, 78);

        for (const QByteArray version : {"first", "second", "third"}) {
            touch("from/a.wmf", version);
            const QPointer<Cardadder> adder = addCard(state, editor, "a.wmf");
            QTRY_VERIFY(adder.isNull());  // a card added closes the adder
        }
        QCOMPARE(QDir("deck").entryList(QDir::Files), (QStringList{"a.wmf", "za.wmf", "zza.wmf"}));
        QCOMPARE(test::readBytes("deck/a.wmf"), QByteArray("first"));
        QCOMPARE(test::readBytes("deck/za.wmf"), QByteArray("second"));
        QCOMPARE(state.cardCount, 81);
        QCOMPARE(state.cards[80].pictureFile, QString("zza.wmf"));
        QCOMPARE(editor.added, (QList<int>{78, 79, 80}));  // 78 cards became 79 first

        state.cardCount = 101;
        QVERIFY(addCard(state, editor, "a.wmf"));
        QVERIFY(spy.messages().value(1).contains("101 cards"));
        QCOMPARE(state.cardCount, 101);
        QCOMPARE(QDir("deck").count(), 5u);
        QCOMPARE(editor.added.size(), 3);
    }
};

QTEST_MAIN(TestDecks)
#include "test_decks.moc"
