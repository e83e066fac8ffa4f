#include "platform/fonts.h"
#include "reading/application.h"
#include "support/table.h"

#include <QAccessible>
#include <QCheckBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>

using namespace vellara;
using platform::Picture;
using platform::PictureElement;
using test::cardColour;
using test::child, test::click, test::opened;
using test::MessageSpy;
using test::readBytes;
using test::Table;
using test::WorkDir;

namespace {

const QString kNoLayout = QStringLiteral("File was not found or invalid data read in, if .lat exists, restart program");
const QString kNoDeck = QStringLiteral("No cards.dat file found in specified directory");

QColor colourAt(const PictureElement *p, int x, int y) { return p->picture().render(QSize(39, 71)).pixelColor(x, y); }

// Whether a picture shows a card whose upper half has colour top.
bool shows(const PictureElement *p, const QColor &top) { return !p->picture().isNull() && colourAt(p, 19, 10) == top; }

QString text(const Table &t, const char *box) { return child<QPlainTextEdit>(&t.window, box)->toPlainText(); }

// The window's place and size as the layout file holds them.
QStringList savedPlace(Table &t)
{
    t.action("savelayout")->trigger();
    return QString::fromLatin1(readBytes("Spread.lat")).split("\r\n").mid(3, 4);
}

// What a click on card k shows: its face, upright or turned as dealt, and its texts.
void showsTurned(const test::Table &t, int k)
{
    const Picture face = t.window.facePicture(k)->picture();
    QVERIFY(child<PictureElement>(&t.window, "Image1")->picture() == face && t.card(k)->picture() == face);
    QCOMPARE(text(t, "Text1").trimmed(), QString("position %1").arg(k + 1));
    const QString number = face.path().mid(face.path().size() - 5, 1);
    const QString meaning = face.isTurned() ? "*Reversed*\nreversed" : "upright";
    QCOMPARE(text(t, "Text2").remove(u' '), "Card" + number + "\n\n" + meaning + number);
}

} // namespace

class TestCeltic : public QObject {
    Q_OBJECT

private slots:
    void programStartsWithNothingToRead()
    {
        WorkDir dir;
        MessageSpy spy;
        setUpApplication();
        const QPointer<Celtic> window = startReadingTable(*qApp);
        QVERIFY(spy.messages() == (QStringList{kNoLayout, kNoDeck}) && window->isVisible());
        QCOMPARE(QApplication::font(), platform::interfaceFont());
        // The main window may close before the secondary ones.
        QVERIFY(!QApplication::quitOnLastWindowClosed());
        QVERIFY(window->cardPictureCount() == 1 && window->cardPicture(0)->geometry() == QRect(450, 60, 39, 71));
        // Closing it ends the program: the application's loop returns, within seconds or not at all.
        QObject guard;
        QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, window, &QWidget::close);
        QVERIFY(QApplication::exec() == 0 && window.isNull());
    }

    void startsDealsAndTurnsCards()
    {
        WorkDir dir;
        Table t(10, 22);
        test::verifyDesign(&t.window);
        // The layout's place and size are the outer ones, frame included.
        QVERIFY(t.window.frameGeometry() != t.window.geometry());
        QCOMPARE(t.window.frameGeometry(), QRect(100, 50, 700, 500));
        for (int k = 0; k < 10; ++k)
            QVERIFY(shows(t.card(k), Qt::white));
        // Pick Cards waits while the card definitions are edited.
        t.action("changecarddef")->trigger();
        QVERIFY(!child(&t.window, "Command1")->isEnabled());
        click(opened("carddefedit"), "Command6");

        // Before any deal a card holds no text.
        QTest::mouseClick(t.card(2), Qt::LeftButton);
        QVERIFY(text(t, "Text2").isEmpty());
        int reversed = -1;
        for (int deal = 0; deal < 30; ++deal) {
            QTest::mouseClick(t.card(0), Qt::LeftButton);
            click(&t.window, "Command1");
            for (int p = 0; p < 10; ++p) {
                QVERIFY(shows(t.card(p), Qt::white));
                if (t.state.reading.cardTexts[p].text().contains("*Reversed*"))
                    reversed = p;
            }
            QVERIFY(shows(child<PictureElement>(&t.window, "Image1"), Qt::white));
            QVERIFY(text(t, "Text1").isEmpty() && text(t, "Text2").isEmpty());
        }
        // Reversed: the picture is turned, its black lower half on top.
        QVERIFY(reversed >= 0);
        int d = t.state.reading.dealtCards[reversed];
        QTest::mouseClick(t.card(reversed), Qt::LeftButton);
        QCOMPARE(colourAt(child<PictureElement>(&t.window, "Image1"), 19, 10), QColor(Qt::black));
        QCOMPARE(colourAt(child<PictureElement>(&t.window, "Image1"), 19, 60), cardColour(d));

        child<QCheckBox>(&t.window, "Check1")->setChecked(false);
        click(&t.window, "Command1");
        d = t.state.reading.dealtCards[2];
        QTest::mouseClick(t.card(2), Qt::LeftButton);
        QVERIFY(shows(child<PictureElement>(&t.window, "Image1"), cardColour(d)));
        QVERIFY(shows(t.card(2), cardColour(d)) && shows(t.card(3), Qt::white));
        QCOMPARE(text(t, "Text1"), toFixedWidth("position 3", 600));
        const QString upright = toFixedWidth(QString("Card %1").arg(d), 30) + "\n\nupright " + QString::number(d);
        QCOMPARE(text(t, "Text2"), toFixedWidth(upright, 460 - 2));
    }

    void troublesLeaveTheTableUsable()
    {
        WorkDir dir;
        MessageSpy spy;
        test::writeDeck("big", 8);
        test::writeLayout("Wide", 7);
        test::writeLayout("Tall", 6);
        Table t(5, 4, {"Wide", "Tall"}, {"big", "big"});
        click(&t.window, "Command1");
        QCOMPARE(spy.messages(), QStringList{"There are more cards needed for the loaded layout than is in this deck"});
        QCOMPARE(text(t, "Text1"), QString("Welcome to Vellara"));

        // An unloadable picture turns up as the back; a card beyond the layout keeps what it shows.
        t.state.layout.positionCount = 4;
        test::writeBytes("deck/card1.bmp", "not a picture");
        test::writeCardPicture("red.bmp", Qt::red);
        t.state.settings.cardBackFile = "red.bmp";
        child<QCheckBox>(&t.window, "Check1")->setChecked(false);
        click(&t.window, "Command1");
        QVERIFY(shows(t.card(3), Qt::red) && shows(t.card(4), Qt::white));
        for (int p = 0; p < 4; ++p) {
            QTest::mouseClick(t.card(p), Qt::LeftButton);
            const int d = t.state.reading.dealtCards[p];
            QVERIFY(shows(t.card(p), d == 1 ? QColor(Qt::red) : cardColour(d)));
        }

        // The random layout is loaded before the random deck, which must hold enough cards for it.
        child<QCheckBox>(&t.window, "Check2")->setChecked(true);
        child<QCheckBox>(&t.window, "Check3")->setChecked(true);
        QSet<QString> chosen;
        for (int deal = 0; deal < 30; ++deal) {
            click(&t.window, "Command1");
            chosen << t.state.settings.layoutName << QString::number(t.state.currentDeckIndex);
        }
        QVERIFY(chosen == (QSet<QString>{"Wide", "Tall", "1", "2"}) && spy.messages().size() == 1);

        // Nothing installed: both fail, the layout's message first.
        spy.clear();
        t.state.settings.layouts.layoutCount = 0;
        t.state.settings.layouts.names[1].clear();
        t.state.settings.decks.deckCount = 0;
        t.state.settings.decks.paths[1].clear();
        click(&t.window, "Command1");
        QVERIFY(spy.messages().mid(0, 2) == (QStringList{kNoLayout, kNoDeck}) && t.state.currentDeckIndex == qint16(1));
    }

    void exitSavesNothingAndSaveAndExitSaves()
    {
        WorkDir dir;
        MessageSpy spy;
        for (const char *command : {"exit", "saveandexit", "failing saveandexit"}) {
            Table t(3, 5);
            t.state.settings.reversalFrequency = 9;
            // The secondary windows close with the program.
            click(&t.window, "Command2");
            t.action("setreversals")->trigger();
            t.action("changeback")->trigger();
            const bool failing = QByteArray(command).startsWith("failing");
            if (failing)
                QFile::setPermissions("vellara.ini", QFile::ReadOwner);
            QSignalSpy ended(&t.window, &Celtic::programEnded);
            t.action(QString(command).section(' ', -1))->trigger();
            QFile::setPermissions("vellara.ini", QFile::ReadOwner | QFile::WriteOwner);
            // A save that fails keeps the program open, so nothing is lost.
            QCOMPARE(ended.count(), failing ? 0 : 1);
            QVERIFY(spy.messages().size() == (failing ? 1 : 0) && t.window.isVisible() == failing);
            QCOMPARE(readBytes("vellara.ini").split('\n').value(5), QByteArray(command[0] == 's' ? "9\r" : "2\r"));
            for (const char *name : {"cardbrowse", "revset", "backselect"})
                QCOMPARE(opened(name) != nullptr, failing);
            t.window.close();  // by the frame
            QCOMPARE(ended.count(), 1);
        }
    }

    // Three positions dealt from six cards, reversed half the time.
    void cardsTurnByMouseKeyboardAndScreenReader()
    {
        WorkDir dir;
        Table t(3, 6);
        click(&t.window, "Command1");
        // The faces are drawn ahead of the click.
        QTRY_VERIFY(!t.window.facesAhead().isDrawing());
        const qint64 drawn = Picture::drawCount();
        for (int k = 0; k < 3; ++k) {
            QTest::mouseClick(t.card(k), Qt::LeftButton);
            showsTurned(t, k);
            t.card(k)->repaint();
            child<PictureElement>(&t.window, "Image1")->repaint();
        }
        QCOMPARE(Picture::drawCount(), drawn);

        // A new deal lets go of what was drawn.
        click(&t.window, "Command1");
        QVERIFY(t.window.facesAhead().drawn().isEmpty());

        QTest::keyClick(t.card(2), Qt::Key_Space);
        showsTurned(t, 2);
        QTest::keyClick(t.card(1), Qt::Key_Return);
        showsTurned(t, 1);
        // A position the table lacks turns nothing.
        t.window.Image2_Click(3);
        t.window.Image2_Click(-1);
        showsTurned(t, 1);
        // The first position is never removed.
        t.window.removePosition(0);
        QCOMPARE(t.window.cardPictureCount(), 3);

        // A screen reader presses a card.
        QAccessibleInterface *card = QAccessible::queryAccessibleInterface(t.card(0));
        QCOMPARE(card->role(), QAccessible::Button);
        card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        showsTurned(t, 0);

        // The text boxes would take Ctrl+Z, Ctrl+A and Ctrl+Y as undo, select all and redo.
        const std::pair<const char *, char> commands[] = {
            {"save", 's'}, {"saveandexit", 'z'}, {"exit", 'y'}, {"addcards", 'a'}, {"changeback", 'b'}};
        for (const char *box : {"Text1", "Text2"}) {
            auto *text = child<QPlainTextEdit>(&t.window, box);
            text->setFocus();
            QCOMPARE(QApplication::focusWidget(), text);
            const QString before = text->toPlainText();
            for (const auto &[command, key] : commands) {
                disconnect(t.action(command), &QAction::triggered, nullptr, nullptr);
                QSignalSpy triggered(t.action(command), &QAction::triggered);
                QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
                QVERIFY2(triggered.count() == 1, command);
            }
            QCOMPARE(text->toPlainText(), before);
        }

        // Saved at once, the layout's own numbers come back.
        QCOMPARE(savedPlace(t), QStringList({"1500", "750", "10500", "7500"}));
        t.window.move(200, 120);
        t.window.resize(t.window.size() + QSize(30, 15));
        t.window.hide();
        t.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.window) && t.window.frameGeometry().topLeft() == QPoint(200, 120));
        QCOMPARE(savedPlace(t), QStringList({"3000", "1800", "10950", "7725"}));
    }
};

QTEST_MAIN(TestCeltic)
#include "test_celtic.moc"
