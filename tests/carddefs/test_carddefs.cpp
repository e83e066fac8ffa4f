#include "carddefs/carddefedit.h"
#include "carddefs/newcarddef.h"
#include "platform/pictureelement.h"
#include "platform/textfile.h"
#include "reading/celtic.h"
#include "support/deckwindows.h"

#include <QAction>
#include <QClipboard>
#include <QScrollBar>

using namespace vellara;
using namespace vellara::test;

namespace {

QLineEdit *nameBox(QWidget *w) { return child<QLineEdit>(w, "Text1"); }
QScrollBar *slider(QWidget *w) { return child<QScrollBar>(w, "HScroll1"); }
// Keys go where a user's would: to the control with the focus.
void press(Qt::Key key, Qt::KeyboardModifiers held = {}) { QTest::keyClick(QApplication::focusWidget(), key, held); }
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

    void definingCards()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        CardDefinitionWindow *w = open(state, true, 5);
        verifyDesign(w);
        // Only a slot of the deck is shown, read or written.
        const CardDefinitionEditor editor(currentDeckTarget(state));
        QVERIFY(!editor.cardAt(-1, true) && !editor.cardAt(kCardSlots, true) && editor.cardAt(kCardSlots - 1, true));
        const auto current = currentDeckTarget(state), pending = pendingDeckTarget(state);
        for (DeckTarget *target : {current.get(), pending.get()})
            for (const int slot : {-1, target->capacity()}) {
                target->setCard(slot, {"x", "x", "x", "x"});
                target->setTexts(slot, "x", "x", "x");
                QVERIFY(target->card(slot).name.isEmpty());
            }
        writeColourPicture("pics/c4.bmp", Qt::red);
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Right})
            QTest::keyClick(slider(w), key);  // Right goes on, Left back
        QVERIFY(picture(w).endsWith("c4.bmp"));

        // Enter moves on; typing, which goes in before the name shown, stops at
        // 24, a paste is cut at 400 with its line breaks as two tabs each; a
        // character outside the printable ones becomes a tab when its box is
        // left, not when the window is.
        nameBox(w)->insert(QString::fromUtf8("é"));  // as an input method does
        QTest::keyClicks(nameBox(w), QString(30, 'x'));
        press(Qt::Key_Backspace);
        press(Qt::Key_Return);
        QApplication::clipboard()->setText("up\r\n\r\nend " + QString(500, 'm'));
        press(Qt::Key_V, Qt::ControlModifier);
        press(Qt::Key_X);
        QCOMPARE(child<MeaningBox>(w, "Text2")->text().size(), 400);  // all a deck file keeps
        press(Qt::Key_Return);
        QPlainTextEdit *reversed = child<QPlainTextEdit>(w, "Text3");
        reversed->setPlainText(QString::fromUtf8("é\x1f\x7f!"));
        QFocusEvent windowLeft(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(reversed, &windowLeft);
        QCOMPARE(reversed->toPlainText(), QString::fromUtf8("é\x1f\x7f!"));
        // Enter in the last box goes to "Save  text edit", which saves, and the
        // last card goes on to card 0 and the name box.
        press(Qt::Key_Return);
        press(Qt::Key_Space);
        QCOMPARE(state.pendingDeck.names[4].text(), ("\t" + QString(20, 'x') + "N4").leftJustified(30));
        QCOMPARE(state.pendingDeck.reversedMeanings[4].text(), QString("\t\x1f\x7f!").leftJustified(400));
        QVERIFY(QApplication::focusWidget() == nameBox(w) && nameBox(w)->text() == QString("N0"));

        writeBytes("pics/c0.txt", crlfLines({"  The Star  ", QString(40, 'm'), QString::fromLatin1(" \tdown\xe9")}));
        writeBytes("pics/c4.txt", crlfLines({QString(40, 'n')}));
        // A picture named from its first dot on has the text file ".txt".
        state.pendingDeck.pictureFiles[1] = ".bmp";
        writeBytes("pics/.txt", crlfLines({"Dot"}));
        // Each text file line trimmed; a line the file lacks leaves its value.
        click(w, "Command1");
        QCOMPARE(names(state, true, 5), "The Star,Dot,N2,N3," + QString(30, 'n'));
        QCOMPARE(state.pendingDeck.meanings[0].text().trimmed() + state.pendingDeck.meanings[4].text().trimmed(),
                 QString(40, 'm') + "up\t\t\t\tend " + QString(390, 'm'));
        QCOMPARE(state.pendingDeck.reversedMeanings[0].text(), QString::fromLatin1("\tdown\xe9").leftJustified(400));
        const QString shown = child<MeaningBox>(w, "Text2")->text() + "|" + child<MeaningBox>(w, "Text3")->text();
        QCOMPARE(nameBox(w)->text() + "|" + shown, "The Star|" + QString(40, 'm') + QString::fromLatin1("|\tdown\xe9"));

        // No deck file: told, and the card is shown again, trimmed.
        QTest::keyClicks(nameBox(w), "x");
        click(w, "Command2");
        QCOMPARE(nameBox(w)->text(), QString("The Star"));

        // Three records over five chosen pictures, each value trimmed.
        // A record beyond the count is not read. The names run one past the
        // count, so that a wrong count shows in them.
        writeBytes("pics/cards.dat", crlfLines({"3", "  x.wmf", " X ", "up", "down", "y.wmf", "Y", "", "", "z.wmf",
                                                "Z", "", "", "w.wmf", "W", "", ""}));
        slider(w)->setValue(4);
        click(w, "Command2");
        QCOMPARE(names(state, true, state.pendingDeck.cardCount + 1), QString("X,Y,Z,N3"));
        QCOMPARE(state.pendingDeck.pictureFiles[0].text(), QString("x.wmf").leftJustified(30));
        QCOMPARE(state.pendingDeck.meanings[0].text().trimmed() +
                     state.pendingDeck.reversedMeanings[0].text().trimmed(), QString("updown"));
        QCOMPARE(nameBox(w)->text(), QString("Z"));

        // A file that cannot be written: told why, the old file whole, no naming.
        const QByteArray old = readBytes("pics/cards.dat");
        platform::setWriteFaultForTesting("No space left on device");
        click(w, "Command3");
        platform::setWriteFaultForTesting({});
        QVERIFY(spy.messages().value(1).contains("No space left on device") && readBytes("pics/cards.dat") == old);
        QVERIFY(!opened("namecards"));

        // The current deck holds 0 to 101 cards, and is not saved into a
        // folder that is not there.
        w = open(state, false, 3);
        verifyDesign(w);
        // A paste in the current deck's name box is not typing; a pasted
        // meaning is kept whole.
        QApplication::clipboard()->setText(QString(40, 'n'));
        press(Qt::Key_V, Qt::ControlModifier);
        press(Qt::Key_Return);
        QApplication::clipboard()->setText(QString(500, 'm'));
        press(Qt::Key_V, Qt::ControlModifier);
        press(Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "down");
        click(w, "Command5");
        QCOMPARE(state.cards[0].name.text(), QString(30, 'n'));
        QCOMPARE(state.cards[0].meaning + state.cards[0].reversedMeaning, QString(500, 'm') + "down");
        // Removing, the name shown then trimmed: the last card; the first, the
        // others moving forward and the last slot keeping its card; the only one; none.
        const std::tuple<int, int, QString, QString> removals[] = {
            {2, 2, QString(30, 'n') + ",N1,N2", "N1|c0.bmp"},
            {0, 1, "N1,N1", "N1|c1.bmp"},
            {0, 0, "N1", "N1|c1.bmp"},
            {0, 0, "N1", "N1|c1.bmp"},
        };
        for (const auto &[shown, left, after, showing] : removals) {
            slider(w)->setValue(shown);
            click(w, "Command4");
            const QString first = nameBox(w)->text() + "|" + state.cards[0].pictureFile.trimmed();
            QCOMPARE(names(state, false, state.cardCount + 1) + "|" + first, after + "|" + showing);
            QCOMPARE(w->selectorMaximum(), left - 1);
        }
        for (const char *count : {"102", "-1", "101"}) {
            writeBytes("pics/cards.dat", crlfLines({count}));
            click(w, "Command2");
        }
        QCOMPARE(state.cardCount, 101);
        state.settings.deckDirectory = dir.filePath("gone");
        click(w, "Command3");
        QCOMPARE(spy.messages().size(), 5);
    }

    void fromTheTable()
    {
        WorkDir dir;
        MessageSpy spy;
        QDir().mkpath("deck");
        touch("from/not.bmp", "no picture");
        writeColourPicture("from/a.bmp", Qt::blue);
        touch("sky/sun.txt", crlfLines({"Sun", "light", "glare"}));
        writeColourPicture("sky/sun.bmp", Qt::yellow);
        writeColourPicture("sky/moon.bmp", Qt::gray);
        {
            CoreState state;
            Celtic table(state);
            // No deck folder means the program's.
            table.findChild<QAction *>("changecarddef")->trigger();
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
            click(w, "Command7");
            QWidget *adder = opened("cardadder");
            verifyDesign(adder);
            showFolder(adder, "from");
            QCOMPARE(child<platform::FileList>(adder, "File1")->count(), 0);
            clickFile(bitmaps(), "a.bmp");
            clickFile(bitmaps(), "not.bmp");
            QVERIFY(picture(adder).endsWith("from/a.bmp"));
            // A copy that fails adds no card and leaves the adder open.
            platform::setWriteFaultForTesting("No space left on device");
            clickFile(bitmaps(), "a.bmp", true);
            platform::setWriteFaultForTesting({});
            QVERIFY(spy.messages().value(0).contains("No space left on device") && opened("cardadder"));
            child<platform::DriveList>(opened("cardadder"), "Drive1")->setDrive(QDir::homePath());
            QCOMPARE(child<platform::DirectoryList>(opened("cardadder"), "Dir1")->path(), QDir::homePath());
            click(opened("cardadder"), "Command1");  // Exit
            QTRY_VERIFY(!opened("cardadder"));
            // A card added closes the adder and shows at once, the slider on
            // it; a taken name gets one more "z" in front.
            for (const QColor colour : {Qt::green, Qt::cyan, Qt::magenta}) {
                writeColourPicture("from/a.bmp", colour);
                clickFile(bitmaps(), "a.bmp", true);
                QTRY_VERIFY(!opened("cardadder"));
            }
            QCOMPARE(QDir("deck").entryList(QDir::Files), (QStringList{"a.bmp", "za.bmp", "zza.bmp"}));
            QCOMPARE(shownColour(child<platform::PictureElement>(w, "Image1")), QColor(Qt::magenta));
            // A full deck takes no card.
            state.cardCount = 101;
            clickFile(bitmaps(), "a.bmp", true);
            QVERIFY(spy.messages().value(1).contains("101 cards") && state.cardCount == 101);

            // The adder, still open, goes with the window it reports to. The
            // window lets dealing go on however it is closed: "Exit no Save" closes it.
            click(w, "Command6");
            QVERIFY(child<QPushButton>(&table, "Command1")->isEnabled());
            QTRY_VERIFY(!opened("cardadder"));

            // A new deck from a folder of pictures, named, saved, dealt from.
            table.findChild<QAction *>("addcards")->trigger();
            showFolder(opened("newcardset"), "sky");
            click(opened("newcardset"), "Command1");
            click(opened("newcardset"), "Command2");
            w = opened("newcarddef");
            click(w, "Command1");  // moon.bmp then sun.bmp
            QTest::keyClicks(nameBox(w), "Moon");
            click(w, "Command5");
            click(w, "Command3");
            QTRY_VERIFY(opened("namecards"));
            verifyDesign(opened("namecards"));
            click(opened("namecards"), "Command1");  // no name yet: back to the box
            QCOMPARE(QApplication::focusWidget(), nameBox(opened("namecards")));
            QTest::keyClicks(nameBox(opened("namecards")), "Sky\r");
            click(w, "Command7");
            QCOMPARE(state.cards[1].meaning.trimmed(), QString("light"));
            table.findChild<QAction *>("save")->trigger();
            click(w, "Command6");
        }
        CoreState state;
        Celtic table(state);
        table.Form_Load();
        QVERIFY(names(state, false, state.cardCount) == "Moon,Sun" && state.settings.decks.names[1] == "Sky");
    }
};

QTEST_MAIN(TestCarddefs)
#include "test_carddefs.moc"
