#include "core/corestate.h"
#include "core/layoutfile.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/windowregistry.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/table.h"
#include "support/workdir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace vellara;
using platform::PictureElement;
using test::cardColour;
using test::MessageSpy;
using test::readBytes;
using test::Table;
using test::WorkDir;

namespace {

const QString kNoLayout = QStringLiteral("File was not found or invalid data read in, if .lat exists, restart program");
const QString kNoDeck = QStringLiteral("No cards.dat file found in specified directory");

QColor colourAt(const PictureElement *element, int x, int y)
{
    return element->picture().render(QSize(39, 71)).pixelColor(x, y);
}

bool showsColour(const PictureElement *element, const QColor &top)
{
    return !element->picture().isNull() && colourAt(element, 19, 10) == top;
}

QString text(const Table &t, const char *box)
{
    return t.find<QPlainTextEdit>(box)->toPlainText();
}

QStringList texts(const QList<QAction *> &actions, bool names = false)
{
    QStringList out;
    for (const QAction *action : actions)
        out << (names ? action->objectName() : action->text());
    return out;
}

} // namespace

class TestCeltic : public QObject {
    Q_OBJECT

private slots:
    void startsWithNothingToRead()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        Celtic window(state);
        window.Form_Load();
        QCOMPARE(spy.messages(), (QStringList{kNoLayout, kNoDeck}));
        QCOMPARE(window.windowTitle(), QString("Vellara 2.5 "));
        QCOMPARE(window.cardPictureCount(), 1);
        PictureElement *card = window.cardPicture(0);
        QCOMPARE(card->geometry(), QRect(450, 60, 39, 71));
        QCOMPARE(card->toolTip(), QString("Card 1"));
        QVERIFY(card->picture().isNull());
        // A screen reader announces the large picture by name; it has no tooltip of its own.
        auto *large = window.findChild<PictureElement *>("Image1");
        QCOMPARE(large->accessibleName(), QString("Card turned up last"));
        QVERIFY(large->toolTip().isEmpty());
    }

    void startsOnTheSavedLayoutAndDeck()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(10, 22);
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(t.window->windowTitle(), QString("Vellara 2.5 Spread"));
        // The layout's place and size are the outer ones, frame included.
        QVERIFY(t.window->frameGeometry() != t.window->geometry());
        QCOMPARE(t.window->frameGeometry(), QRect(100, 50, 700, 500));
        QCOMPARE(t.window->cardPictureCount(), 10);
        QCOMPARE(t.state.cardCount, qint16(22));
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(t.card(k)->toolTip(), QString("Card %1").arg(k + 1));
            QCOMPARE(t.card(k)->pos(), QPoint(300 + 40 * k, 100 + 10 * k));
            QVERIFY(showsColour(t.card(k), Qt::white));
        }
        QCOMPARE(text(t, "Text1"), QString("Welcome to Vellara"));
        QVERIFY(t.find<QCheckBox>("Check1")->isChecked());
        QVERIFY(!t.find<QCheckBox>("Check2")->isChecked());
        QVERIFY(!t.action("AddCard")->isEnabled());
        QVERIFY(!t.action("removecard")->isEnabled());

        QCOMPARE(texts(t.window->menuBar()->actions()),
                 (QStringList{"File", "Decks", "Layouts", "Reversal Frequency", "Remove Card", "Add Card"}));
        QCOMPARE(texts(t.find<QMenu>("layouts")->actions(), true),
                 (QStringList{"loadlayout", "loadlayoutfile", "removelayout", "savelayout", "layoutchange",
                              "layoutedit"}));
    }

    void dealingAndTurningCards()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(10, 22);
        // Before any deal a card holds no text.
        QTest::mouseClick(t.card(2), Qt::LeftButton);
        QVERIFY(text(t, "Text2").isEmpty());
        for (int deal = 0; deal < 20; ++deal) {
            QTest::mouseClick(t.card(0), Qt::LeftButton);
            t.find("Command1")->click();
            QSet<int> dealt;
            for (int p = 0; p < 10; ++p) {
                dealt.insert(t.state.reading.dealtCards[p]);
                QVERIFY(showsColour(t.card(p), Qt::white));
            }
            QCOMPARE(dealt.size(), 10);
            QVERIFY(showsColour(t.find<PictureElement>("Image1"), Qt::white));
            QVERIFY(text(t, "Text1").isEmpty() && text(t, "Text2").isEmpty());
        }

        t.find<QCheckBox>("Check1")->setChecked(false);
        t.find("Command1")->click();
        const int d = t.state.reading.dealtCards[2];
        QTest::mouseClick(t.card(2), Qt::LeftButton);
        QVERIFY(showsColour(t.find<PictureElement>("Image1"), cardColour(d)));
        QVERIFY(showsColour(t.card(2), cardColour(d)));
        QVERIFY(showsColour(t.card(3), Qt::white));
        QCOMPARE(text(t, "Text1"), toFixedWidth("position 3", 600));
        QCOMPARE(text(t, "Text2"),
                 toFixedWidth(toFixedWidth(QString("Card %1").arg(d), 30) + "\r\n\r\nupright " + QString::number(d), 460)
                     .replace("\r\n", "\n"));
        QVERIFY(spy.messages().isEmpty());
    }

    void reversedCardsShowTurnedWithTheirText()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(10, 22);
        int reversed = -1;
        for (int deal = 0; deal < 50 && reversed < 0; ++deal) {
            t.find("Command1")->click();
            for (int p = 0; p < 10 && reversed < 0; ++p)
                if (t.state.reading.cardTexts[p].text().contains("*Reversed*"))
                    reversed = p;
        }
        QVERIFY(reversed >= 0);
        const int d = t.state.reading.dealtCards[reversed];
        QTest::mouseClick(t.card(reversed), Qt::LeftButton);
        QVERIFY(text(t, "Text2").startsWith(toFixedWidth(QString("Card %1").arg(d), 30) + "\n\n*Reversed*\nreversed "
                                            + QString::number(d)));
        // Turned: the black lower half is now on top.
        auto *large = t.find<PictureElement>("Image1");
        QCOMPARE(colourAt(large, 19, 10), QColor(Qt::black));
        QCOMPARE(colourAt(large, 19, 60), cardColour(d));
    }

    void troublesLeaveTheTableUsable()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(5, 4);
        t.find("Command1")->click();
        QCOMPARE(spy.messages(),
                 QStringList{"There are more cards needed for the loaded layout than is in this deck"});
        QCOMPARE(text(t, "Text1"), QString("Welcome to Vellara"));

        // An unloadable picture turns up as the back.
        spy.clear();
        t.state.layout.positionCount = 4;
        test::writeBytes("deck/card1.bmp", "not a picture");
        t.find<QCheckBox>("Check1")->setChecked(false);
        t.find("Command1")->click();
        for (int p = 0; p < 4; ++p) {
            QTest::mouseClick(t.card(p), Qt::LeftButton);
            const int d = t.state.reading.dealtCards[p];
            QVERIFY(showsColour(t.card(p), d == 1 ? QColor(Qt::white) : cardColour(d)));
        }
        QVERIFY(spy.messages().isEmpty());

        // A frequency below two is saved as two.
        t.state.settings.reversalFrequency = 0;
        t.find("Command1")->click();
        t.action("save")->trigger();
        QCOMPARE(readBytes("vellara.ini").split('\n').value(5), QByteArray("2\r"));
    }

    void randomLayoutComesBeforeRandomDeck()
    {
        WorkDir dir;
        MessageSpy spy;
        test::writeDeck("big", 8);
        test::writeLayout("Wide", 7);
        Table t(2, 3, {"Wide"}, {"big"});
        t.find<QCheckBox>("Check2")->setChecked(true);
        t.find<QCheckBox>("Check3")->setChecked(true);
        t.find("Command1")->click();
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(t.state.settings.layoutName, QString("Wide"));
        QCOMPARE(t.state.currentDeckIndex, qint16(1));
        QCOMPARE(t.window->cardPictureCount(), 7);
        QCOMPARE(QSet<int>(t.state.reading.dealtCards.begin(), t.state.reading.dealtCards.begin() + 7).size(), 7);

        // Nothing installed: both fail, the layout's message first.
        spy.clear();
        t.state.settings.layouts.layoutCount = 0;
        t.state.settings.layouts.names[1].clear();
        t.state.settings.decks.deckCount = 0;
        t.state.settings.decks.paths[1].clear();
        t.find("Command1")->click();
        QCOMPARE(spy.messages().mid(0, 2), (QStringList{kNoLayout, kNoDeck}));
        QCOMPARE(t.state.currentDeckIndex, qint16(1));
    }

    void exitSavesNothingAndSaveAndExitSaves()
    {
        WorkDir dir;
        MessageSpy spy;
        {
            Table t(3, 5);
            const QByteArray before = readBytes("vellara.ini");
            t.state.settings.reversalFrequency = 9;
            // The secondary windows close with the program.
            t.find("Command2")->click();
            t.action("setreversals")->trigger();
            t.action("changeback")->trigger();
            QVERIFY(platform::WindowRegistry::find("backselect"));
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("exit")->trigger();
            QCOMPARE(ended.count(), 1);
            for (const char *name : {"cardbrowse", "revset", "backselect"})
                QVERIFY2(!platform::WindowRegistry::find(name), name);
            QVERIFY(!t.window->isVisible());
            QCOMPARE(readBytes("vellara.ini"), before);
        }
        {
            Table t(3, 5);
            t.state.settings.reversalFrequency = 9;
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("saveandexit")->trigger();
            QCOMPARE(ended.count(), 1);
            QCOMPARE(readBytes("vellara.ini").split('\n').value(5), QByteArray("9\r"));
        }
        {
            // A save that fails keeps the program open, so nothing is lost.
            Table t(3, 5);
            QFile::setPermissions("vellara.ini", QFile::ReadOwner);
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("saveandexit")->trigger();
            QFile::setPermissions("vellara.ini", QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(ended.count(), 0);
            QCOMPARE(spy.messages().size(), 1);
            t.window->close();  // by the frame
            QCOMPARE(ended.count(), 1);
        }
    }

    void shortcutsRunFromTheTextBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("key");
        const std::pair<const char *, int> commands[] = {{"save", Qt::Key_S},     {"saveandexit", Qt::Key_Z},
                                                         {"exit", Qt::Key_Y},     {"addcards", Qt::Key_A},
                                                         {"changeback", Qt::Key_B}};
        for (const char *box : {"Text1", "Text2"})
            for (const auto &[command, key] : commands)
                QTest::addRow("%s %s", box, command) << QString(box) << QString(command) << key;
    }
    void shortcutsRunFromTheTextBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, command);
        QFETCH(int, key);
        WorkDir dir;
        MessageSpy spy;
        Table t(3, 5);
        QAction *action = t.action(command);
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        QSignalSpy triggered(action, &QAction::triggered);
        auto *text = t.find<QPlainTextEdit>(box);
        text->setFocus();
        QCOMPARE(QApplication::focusWidget(), text);
        const QString before = text->toPlainText();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(text->toPlainText(), before);
    }

    void windowKeepsThePlaceTheUserGivesIt()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3, 5);
        auto savedPlace = [&] {
            t.action("savelayout")->trigger();
            return QString::fromLatin1(readBytes("Spread.lat")).split("\r\n").mid(3, 4);
        };
        // Saved at once, the layout's own numbers come back.
        QCOMPARE(savedPlace(), QStringList({"1500", "750", "10500", "7500"}));
        t.window->move(200, 120);
        t.window->resize(t.window->size() + QSize(30, 15));
        t.window->hide();
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        QCOMPARE(t.window->frameGeometry().topLeft(), QPoint(200, 120));
        QCOMPARE(savedPlace(), QStringList({"3000", "1800", "10950", "7725"}));
    }
};

QTEST_MAIN(TestCeltic)
#include "test_celtic.moc"
