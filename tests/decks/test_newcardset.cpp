#include "core/corestate.h"
#include "core/settingsfile.h"
#include "decks/deckchoice.h"
#include "decks/namecards.h"
#include "decks/newcardset.h"
#include "platform/filelists.h"
#include "platform/windowregistry.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QAccessible>
#include <QAction>
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

namespace {

void touch(const QString &path)
{
    test::writeBytes(path, "x");
}

// The import window, opened as "Add Deck" opens it, on a folder of pictures.
Newcardset *openImport(CoreState &state, const QString &folder)
{
    auto *w = static_cast<Newcardset *>(WindowRegistry::open("newcardset", [&state] {
        auto *window = new Newcardset(state);
        window->Form_Load();
        return window;
    }));
    w->findChild<platform::DirectoryList *>("Dir1")->setPath(folder);
    return w;
}

void click(QWidget *w, const char *button)
{
    QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
}

// The tick of every offered entry, as "1" or "0".
QString ticks(QWidget *w)
{
    QString out;
    auto *list = w->findChild<QListWidget *>("floppylist");
    for (int i = 0; i < list->count(); ++i)
        out += list->item(i)->checkState() == Qt::Checked ? '1' : '0';
    return out;
}

void untick(QWidget *w, int entry)
{
    auto *list = w->findChild<QListWidget *>("floppylist");
    list->setCurrentRow(entry);
    QTest::keyClick(list, Qt::Key_Space);
}

} // namespace

class TestNewcardset : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { WindowRegistry::close("newcardset"); }

    void offering_data()
    {
        QTest::addColumn<int>("bitmaps");
        QTest::addColumn<QString>("extra");    // one more file
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<int>("handed");       // cards handed over; -1 for none
        QTest::addColumn<QString>("message");

        const QStringList addSave{"add", "save"};
        QTest::newRow("100 ticks") << 100 << "" << addSave << QString(100, '1') << 100 << "";
        QTest::newRow("101 ticks") << 101 << "" << addSave << QString(101, '1') << -1
                                   << "Please select 100 cards or less";
        QTest::newRow("unticked leaves no gap")
            << 5 << "" << QStringList{"add", "untick 2", "save"} << "11011" << 4 << "";
        QTest::newRow("added twice") << 3 << "" << QStringList{"add", "untick 1", "add"} << "111000" << -1 << "";
        QTest::newRow("after a pattern change")
            << 3 << "w1.wmf" << QStringList{"add", "wmf", "add"} << "1110" << -1 << "";
        QTest::newRow("30 characters") << 0 << QString(26, 'n') + ".bmp" << addSave << "1" << 1 << "";
        QTest::newRow("31 characters refused")
            << 0 << QString(27, 'n') + ".bmp" << addSave << "1" << -1 << QString(27, 'n') + ".bmp";
        QTest::newRow("nothing listed") << 0 << "" << QStringList{"add"} << "" << -1
                                        << "No cards in directory selected of type chosen";
        QTest::newRow("nothing ticked") << 1 << "" << QStringList{"add", "untick 0", "save"} << "0" << -1
                                        << "No cards to add to set";
    }
    void offering()
    {
        QFETCH(int, bitmaps);
        QFETCH(QString, extra);
        QFETCH(QStringList, steps);
        QFETCH(QString, ticks);
        QFETCH(int, handed);
        QFETCH(QString, message);
        test::WorkDir dir;
        test::MessageSpy spy;
        QDir().mkpath("pics");
        for (int k = 0; k < bitmaps; ++k)
            touch(QString("pics/c%1.bmp").arg(k, 3, 10, QChar('0')));
        if (!extra.isEmpty())
            touch("pics/" + extra);
        int opened = 0;
        Newcardset::setNewcarddefFactory([&opened] {
            ++opened;
            return new QWidget;
        });
        CoreState state;
        state.pendingDeck.cardCount = 7;
        Newcardset *w = openImport(state, dir.filePath("pics"));
        for (const QString &step : steps) {
            if (step == "add")
                click(w, "Command1");
            else if (step == "save")
                click(w, "Command2");
            else if (step == "wmf")
                w->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
            else
                untick(w, step.section(' ', 1).toInt());
        }
        WindowRegistry::close("newcarddef");
        Newcardset::setNewcarddefFactory({});

        QCOMPARE(::ticks(w), ticks);
        QCOMPARE(spy.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(spy.messages()[0].contains(message), qPrintable(spy.messages()[0]));
        QCOMPARE(opened, handed >= 0 ? 1 : 0);
        QCOMPARE(state.pendingDeck.cardCount, handed >= 0 ? handed : 7);
        if (handed >= 0)
            QCOMPARE(state.pendingDeck.pictureDirectory, dir.filePath("pics"));
        // The ticked names in list order, each in its 30-character slot.
        auto *list = w->findChild<QListWidget *>("floppylist");
        for (int i = 0, c = 0; i < list->count() && handed > 0 && c < handed; ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                QCOMPARE(state.pendingDeck.pictureFiles[c++].text(), list->item(i)->text().leftJustified(30));
        if (message.startsWith("Please"))  // stopped at the 101st, with 100 names stored
            QCOMPARE(state.pendingDeck.pictureFiles[99].text(), QString("c099.bmp").leftJustified(30));
    }

    void anotherFolderBlanksThePendingPictures()
    {
        test::WorkDir dir;
        test::MessageSpy spy;
        QDir().mkpath("a/b");
        touch("a/one.bmp");
        CoreState state;
        state.pendingDeck.pictureFiles[100] = "kept";
        Newcardset *w = openImport(state, dir.filePath("a"));
        click(w, "Command1");
        click(w, "Command2");
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString("one.bmp").leftJustified(30));

        // Each entry is announced with its name and its tick.
        auto *list = w->findChild<QListWidget *>("floppylist");
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(list)->child(0);
        QCOMPARE(entry->text(QAccessible::Name), QString("one.bmp"));
        QVERIFY(entry->state().checkable && entry->state().checked);

        // A folder that cannot be read: said why, and nothing moves.
        auto *folders = w->findChild<platform::DirectoryList *>("Dir1");
        folders->setPath(dir.filePath("a/gone"));
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("No such file or directory"));
        QCOMPARE(ticks(w), QString("1"));

        folders->setPath(dir.filePath("a/b"));
        QCOMPARE(list->count(), 0);
        QCOMPARE(w->fileListPath(), dir.filePath("a/b"));
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
        QTest::addColumn<QString>("registered");  // empty: nothing registered
        QTest::addColumn<QString>("folder");

        QTest::newRow("Garden in slot 4") << 3 << "Garden" << "" << true << "Garden" << "shown";
        QTest::newRow("typed filter") << 0 << "Ga-rd'en 2" << "" << true << "Garden 2" << "shown";
        QTest::newRow("pasted filter") << 0 << "Mo" << "-on's 3!" << true << "Moons 3" << "shown";
        QTest::newRow("blanks only") << 0 << "   " << "" << true << "" << "shown";
        QTest::newRow("import closed") << 0 << "Sun" << "" << false << "Sun" << "pending";
        QTest::newRow("empty") << 0 << "" << "" << true << "-" << "";
        QTest::newRow("50 installed") << 50 << "Full" << "" << true << "-" << "";
    }
    void naming()
    {
        QFETCH(int, installed);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, importOpen);
        QFETCH(QString, registered);
        QFETCH(QString, folder);
        test::WorkDir dir;
        test::MessageSpy spy;
        QDir().mkpath("shown");
        CoreState state;
        state.settings.decks.deckCount = qint16(installed);
        state.pendingDeck.pictureDirectory = dir.filePath("pending");
        openImport(state, dir.filePath("shown"));
        if (!importOpen)
            WindowRegistry::close("newcardset");

        Namecards w(state);
        w.show();
        auto *name = w.findChild<QLineEdit *>("Text1");
        QTest::keyClicks(name, typed);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(name, Qt::Key_Return);

        const bool done = registered != "-";
        QCOMPARE(state.settings.decks.deckCount, installed + (done ? 1 : 0));
        QCOMPARE(w.isVisible(), !done);
        QCOMPARE(spy.messages().size(), installed == 50 ? 1 : 0);
        if (done) {
            QCOMPARE(state.settings.decks.names[installed + 1], registered);
            QCOMPARE(state.settings.decks.paths[installed + 1], dir.filePath(folder));
        }
    }

    // A deck named here is saved with the settings and loaded after a restart.
    void registeredDeckSurvivesARestart()
    {
        test::WorkDir dir;
        test::MessageSpy spy;
        QDir().mkpath("garden");
        touch("garden/rose.wmf");
        test::writeBytes("garden/cards.dat", test::crlfLines({"1", "rose.wmf", "Rose", "love", "thorns"}));
        {
            CoreState state;
            Celtic table(state);
            table.findChild<QAction *>("addcards")->trigger();
            auto *import = qobject_cast<Newcardset *>(WindowRegistry::find("newcardset"));
            QVERIFY(import);
            import->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
            import->findChild<platform::DirectoryList *>("Dir1")->setPath(dir.filePath("garden"));
            click(import, "Command1");
            click(import, "Command2");
            Namecards naming(state);
            QTest::keyClicks(naming.findChild<QLineEdit *>("Text1"), "Garden");
            click(&naming, "Command1");
            table.findChild<QAction *>("save")->trigger();
        }
        CoreState state;
        ReadSettingsFile(state);
        Celtic table(state);
        table.findChild<QAction *>("loaddeck")->trigger();
        auto *pick = qobject_cast<Deckpick *>(WindowRegistry::find("deckpick"));
        QVERIFY(pick);
        QCOMPARE(pick->findChild<QComboBox *>("Combo1")->currentText(), QString("Garden"));
        click(pick, "OKButton");
        QCOMPARE(state.cardCount, 1);
        QCOMPARE(state.cards[0].name.text().trimmed(), QString("Rose"));
        QCOMPARE(state.settings.deckDirectory, dir.filePath("garden"));
        QCOMPARE(state.currentDeckIndex, 1);
    }
};

QTEST_MAIN(TestNewcardset)
#include "test_newcardset.moc"
