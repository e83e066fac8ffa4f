#include "carddefs/carddefedit.h"
#include "carddefs/newcarddef.h"
#include "core/fixedtext.h"
#include "platform/pictureelement.h"
#include "platform/textfile.h"
#include "reading/celtic.h"
#include "support/deckwindows.h"

#include <QAction>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace vellara;
using namespace vellara::test;

namespace {

QLineEdit *nameBox(QWidget *w) { return child<QLineEdit>(w, "Text1"); }
QPlainTextEdit *box(QWidget *w, const char *name) { return child<QPlainTextEdit>(w, name); }
QScrollBar *slider(QWidget *w) { return child<QScrollBar>(w, "HScroll1"); }
// Keys go where a user's would: to the control with the focus.
void press(Qt::Key key, Qt::KeyboardModifiers held = {}) { QTest::keyClick(QApplication::focusWidget(), key, held); }
void paste(const QString &text)
{
    QApplication::clipboard()->setText(text);
    press(Qt::Key_V, Qt::ControlModifier);
}
QString picture(QWidget *w) { return child<platform::PictureElement>(w, "Image1")->picture().path(); }

// A deck of cards c0.bmp.. in "pics", named N0..: the deck being created
// or the current one, and its window.
CardDefinitionWindow *open(CoreState &state, bool pending, int cards)
{
    QDir().mkpath("pics");
    (pending ? state.pendingDeck.pictureDirectory : state.settings.deckDirectory) = QDir("pics").absolutePath();
    (pending ? state.pendingDeck.cardCount : state.cardCount) = qint16(cards);
    for (int i = 0; i < cards; ++i) {
        const QString file = QString("c%1.bmp").arg(i), name = QString("N%1").arg(i);
        std::tie(state.pendingDeck.pictureFiles[i], state.pendingDeck.names[i]) = std::tie(file, name);
        std::tie(state.cards[i].pictureFile, state.cards[i].name) = std::tie(file, name);
    }
    CardDefinitionWindow *w = pending ? static_cast<CardDefinitionWindow *>(openWindow<Newcarddef>("newcarddef", state))
                                      : openWindow<Carddefedit>("carddefedit", state, std::function<void()>());
    [&] { QVERIFY(QTest::qWaitForWindowActive(w)); }();
    return w;
}

// The names without the blanks that pad them.
QString names(const CoreState &state, bool pending, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << trimTrailingBlanks(pending ? state.pendingDeck.names[i] : state.cards[i].name);
    return out.join(',');
}

} // namespace

class TestCarddefs : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char *name : {"newcarddef", "carddefedit", "newcardset", "namecards", "cardadder"})
            platform::WindowRegistry::close(name);
    }

    void editing()
    {
        WorkDir dir;
        CoreState state;
        CardDefinitionWindow *w = open(state, true, 3);
        writeColourPicture("pics/c2.bmp", Qt::red);
        QCOMPARE(w->minimumSize(), w->maximumSize());  // not resizable
        // Each button in its own place (the designed places touch), announced with its tooltip.
        QSet<int> places;
        for (const QPushButton *button : w->findChildren<QPushButton *>()) {
            QCOMPARE(button->accessibleDescription(), button->toolTip());
            QVERIFY(w->rect().contains(button->geometry()));
            places.insert(button->x() * 10000 + button->y());
        }
        QCOMPARE(places.size(), 7);

        // The shown card follows the thumb while it is dragged.
        slider(w)->setSliderDown(true);
        slider(w)->setSliderPosition(2);
        QCOMPARE(nameBox(w)->text(), QString("N2"));
        QVERIFY(picture(w).endsWith("c2.bmp"));
        slider(w)->setSliderDown(false);

        // Enter moves on; typing stops at 24, a paste is cut at 400 with its
        // line breaks as two tabs each; a character outside the printable
        // ones becomes a tab when its box is left, not when the window is.
        nameBox(w)->clear();
        QTest::keyClicks(nameBox(w), QString(30, 'x'));
        press(Qt::Key_Backspace);
        press(Qt::Key_Return);
        paste("up\r\n\r\nend " + QString(500, 'm'));
        press(Qt::Key_X);
        QCOMPARE(box(w, "Text2")->toPlainText().right(2), QString("mm"));
        press(Qt::Key_Return);
        box(w, "Text3")->setPlainText(QString::fromUtf8("é\x1f\x7f!"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(box(w, "Text3")->toPlainText(), QString::fromUtf8("é\x1f\x7f!"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // Enter in the last box goes to "Save  text edit", which saves, and the
        // last card goes on to card 0 and the name box.
        press(Qt::Key_Return);
        press(Qt::Key_Space);
        QCOMPARE(state.pendingDeck.names[2].text(), QString(23, 'x').leftJustified(30));
        QCOMPARE(state.pendingDeck.meanings[2].text(), "up\t\t\t\tend " + QString(390, 'm'));
        QCOMPARE(state.pendingDeck.reversedMeanings[2].text(), QString("\t\x1f\x7f!").leftJustified(400));
        QCOMPARE(QApplication::focusWidget(), nameBox(w));
        QCOMPARE(nameBox(w)->text(), QString("N0"));
    }

    void deckFiles()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        CardDefinitionWindow *w = open(state, true, 5);
        writeBytes("pics/c0.txt", crlfLines({"  The Star  ", QString(40, 'm'), QString::fromLatin1(" \tdown\xe9")}));
        writeBytes("pics/c2.txt", crlfLines({QString(40, 'n')}));
        state.pendingDeck.meanings[2] = "kept";
        // A picture named from its first dot on has the text file ".txt".
        state.pendingDeck.pictureFiles[1] = ".bmp";
        writeBytes("pics/.txt", crlfLines({"Dot"}));
        // Each text file line trimmed; a line the file lacks leaves its value.
        click(w, "Command1");
        QCOMPARE(names(state, true, 5), "The Star,Dot," + QString(30, 'n') + ",N3,N4");
        QCOMPARE(state.pendingDeck.meanings[0].text().trimmed() + state.pendingDeck.meanings[2].text().trimmed(),
                 QString(40, 'm') + "kept");
        QCOMPARE(state.pendingDeck.reversedMeanings[0].text(), QString::fromLatin1("\tdown\xe9").leftJustified(400));
        QCOMPARE(nameBox(w)->text(), QString("The Star"));

        // No deck file, then one announcing more cards than a deck holds:
        // each told, and nothing changes; the card is shown again, trimmed.
        QTest::keyClicks(nameBox(w), "x");
        click(w, "Command2");
        QCOMPARE(nameBox(w)->text(), QString("The Star"));
        writeBytes("pics/cards.dat", crlfLines({"200", "a.bmp", "A", "", ""}));
        click(w, "Command2");
        QVERIFY(spy.messages().value(1).contains("200"));
        QCOMPARE(state.pendingDeck.cardCount, 5);

        // Three records over five chosen pictures, each value trimmed.
        // A record beyond the count is not read.
        writeBytes("pics/cards.dat", crlfLines({"3", "  x.wmf", " X ", "up", "down", "y.wmf", "Y", "", "", "z.wmf",
                                                "Z", "", "", "w.wmf", "W", "", ""}));
        slider(w)->setValue(4);
        click(w, "Command2");
        QCOMPARE(state.pendingDeck.cardCount, 3);
        QCOMPARE(names(state, true, 4), QString("X,Y,Z,N3"));
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString("x.wmf").leftJustified(30));
        QCOMPARE(state.pendingDeck.reversedMeanings[0].text().trimmed(), QString("down"));
        QCOMPARE(nameBox(w)->text(), QString("Z"));

        // Saved and named twice: two registry entries for the one folder.
        for (int k = 0; k < 2; ++k) {
            click(w, "Command3");
            QTRY_VERIFY(opened("namecards"));
            QTest::keyClicks(nameBox(opened("namecards")), "Sky\r");
        }
        const QList<QByteArray> lines = readBytes("pics/cards.dat").split('\n');
        QCOMPARE(lines.size(), 14);  // thirteen lines and what follows the last end
        QCOMPARE(lines[6], QByteArray("Y").leftJustified(30) + "\r");
        QCOMPARE(state.settings.decks.deckCount, 2);
        QCOMPARE(state.settings.decks.paths[2], state.settings.decks.paths[1]);

        // A file that cannot be written: told why, the old file whole, no naming.
        const QByteArray old = readBytes("pics/cards.dat");
        platform::setWriteFaultForTesting("No space left on device");
        click(w, "Command3");
        platform::setWriteFaultForTesting({});
        QVERIFY(spy.messages().value(2).contains("No space left on device"));
        QCOMPARE(readBytes("pics/cards.dat"), old);
        QVERIFY(!opened("namecards"));

        // The current deck holds 0 to 101 cards, and is not saved into a
        // folder that is not there.
        CoreState current;
        w = open(current, false, 3);
        // The current deck's box shows the name padded beyond what can be
        // typed, and a paste there is not typing; a pasted meaning is kept whole.
        QCOMPARE(nameBox(w)->text(), QString("N0").leftJustified(30));
        paste(QString(40, 'n'));
        press(Qt::Key_Return);
        paste(QString(500, 'm'));
        press(Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "down");
        click(w, "Command5");
        QCOMPARE(current.cards[0].name.text(), QString(30, 'n'));
        QCOMPARE(current.cards[0].meaning, QString(500, 'm'));
        QCOMPARE(current.cards[0].reversedMeaning, QString("down"));
        // Removing, the name shown then trimmed: the last card; the first, the
        // others moving forward and the last slot keeping its card; the only one; none.
        const std::tuple<int, int, QString, QString> removals[] = {
            {2, 2, QString(30, 'n') + ",N1,N2", "N1"},
            {0, 1, "N1,N1", "N1"},
            {0, 0, "N1", "N1"},
            {0, 0, "N1", "N1"},
        };
        for (const auto &[shown, left, after, showing] : removals) {
            slider(w)->setValue(shown);
            click(w, "Command4");
            QCOMPARE(current.cardCount, left);
            QCOMPARE(names(current, false, left + 1) + "|" + nameBox(w)->text(), after + "|" + showing);
            QCOMPARE(w->selectorMaximum(), left - 1);
        }
        for (const char *count : {"102", "-1", "101"}) {
            writeBytes("pics/cards.dat", crlfLines({count}));
            click(w, "Command2");
        }
        QCOMPARE(current.cardCount, 101);
        current.settings.deckDirectory = dir.filePath("gone");
        click(w, "Command3");
        QCOMPARE(spy.messages().size(), 6);
    }

    void fromTheTable()
    {
        WorkDir dir;
        MessageSpy spy;
        for (const char *folder : {"from", "sky", "deck"})
            QDir().mkpath(folder);
        writeColourPicture("from/a.bmp", Qt::blue);
        writeBytes("from/not.bmp", "no picture");
        writeColourPicture("sky/sun.bmp", Qt::yellow);
        writeColourPicture("sky/moon.bmp", Qt::gray);
        writeBytes("sky/sun.txt", crlfLines({"Sun", "light", "glare"}));
        {
            CoreState state;
            Celtic table(state);
            auto *pick = child<QPushButton>(&table, "Command1");
            // Editing the current deck holds dealing back; no deck folder means the program's.
            table.findChild<QAction *>("changecarddef")->trigger();
            QVERIFY(!pick->isEnabled());
            QWidget *w = opened("carddefedit");
            QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());

            // The adder's list of the bitmaps in "from", the adder opened if it is not.
            auto bitmaps = [&] {
                click(w, "Command7");
                showFolder(opened("cardadder"), "from");
                child<QComboBox>(opened("cardadder"), "Combo1")->setCurrentIndex(2);
                return child<platform::FileList>(opened("cardadder"), "File1");
            };
            // The adder opens on "*.jpg", its controls apart, its preview down
            // its side; a click previews a picture, a file that is none leaves it.
            state.settings.deckDirectory = dir.filePath("deck");
            state.cardCount = 78;
            click(w, "Command7");
            QWidget *adder = opened("cardadder");
            verifyControlsApart(adder);
            QVERIFY(child(adder, "Image1")->height() > adder->height() / 2);
            showFolder(adder, "from");
            QCOMPARE(child<platform::FileList>(adder, "File1")->count(), 0);
            clickFile(bitmaps(), "a.bmp");
            clickFile(bitmaps(), "not.bmp");
            QVERIFY(picture(adder).endsWith("from/a.bmp"));
            // A copy that fails adds no card and leaves the adder open.
            platform::setWriteFaultForTesting("No space left on device");
            clickFile(bitmaps(), "a.bmp", true);
            platform::setWriteFaultForTesting({});
            QVERIFY(spy.messages().value(0).contains("No space left on device"));
            QVERIFY(opened("cardadder"));
            // A card added closes the adder and shows at once, the slider on
            // it; a taken name gets one more "z" in front.
            for (const QColor colour : {Qt::green, Qt::cyan, Qt::magenta}) {
                writeColourPicture("from/a.bmp", colour);
                clickFile(bitmaps(), "a.bmp", true);
                QTRY_VERIFY(!opened("cardadder"));
            }
            QCOMPARE(QDir("deck").entryList(QDir::Files), (QStringList{"a.bmp", "za.bmp", "zza.bmp"}));
            QCOMPARE(shownColour(child<platform::PictureElement>(w, "Image1")), QColor(Qt::magenta));
            // A full deck takes no card; Exit closes the adder.
            state.cardCount = 101;
            clickFile(bitmaps(), "a.bmp", true);
            QVERIFY(spy.messages().value(1).contains("101 cards"));
            QCOMPARE(state.cardCount, 101);
            click(opened("cardadder"), "Command1");
            QTRY_VERIFY(!opened("cardadder"));

            // An adder left open goes with the window it reports to. The window
            // lets dealing go on however it is closed: "Exit no Save" closes it.
            click(w, "Command7");
            click(w, "Command6");
            QVERIFY(pick->isEnabled());
            QTRY_VERIFY(!opened("cardadder"));

            // A new deck from a folder of pictures, named, saved, dealt from.
            table.findChild<QAction *>("addcards")->trigger();
            showFolder(opened("newcardset"), "sky");
            click(opened("newcardset"), "Command1");
            click(opened("newcardset"), "Command2");
            w = opened("newcarddef");
            click(w, "Command1");  // moon.bmp then sun.bmp
            // No deck file in the new deck's folder: said, and the card shown again as stored.
            QTest::keyClicks(nameBox(w), "x");
            click(w, "Command2");
            QCOMPARE(spy.messages().value(2), QString("No cards.dat file found in specified directory"));
            QCOMPARE(nameBox(w)->text(), QString());
            QTest::keyClicks(nameBox(w), "Moon");
            click(w, "Command5");
            click(w, "Command3");
            QTRY_VERIFY(opened("namecards"));
            QTest::keyClicks(nameBox(opened("namecards")), "Sky\r");
            click(w, "Command7");
            QCOMPARE(state.cards[1].meaning.trimmed(), QString("light"));
            table.findChild<QAction *>("save")->trigger();
            click(w, "Command6");
            QVERIFY(!opened("newcardset"));
        }
        CoreState state;
        Celtic table(state);
        table.Form_Load();
        QCOMPARE(names(state, false, state.cardCount), QString("Moon,Sun"));
        QCOMPARE(state.cards[1].meaning.trimmed(), QString("light"));
        QCOMPARE(state.settings.decks.names[1], QString("Sky"));
        // Exit closes the new deck's windows.
        open(state, true, 0);
        table.findChild<QAction *>("exit")->trigger();
        QVERIFY(!opened("newcarddef"));
    }
};

QTEST_MAIN(TestCarddefs)
#include "test_carddefs.moc"
