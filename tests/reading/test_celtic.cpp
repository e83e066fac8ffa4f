#include "core/corestate.h"
#include "core/layoutfile.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/windowregistry.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace vellara;
using platform::PictureElement;
using test::crlfLines;
using test::MessageSpy;
using test::readBytes;
using test::WorkDir;
using test::writeBytes;

namespace {

const QString kNoDeck = QStringLiteral("No cards.dat file found in specified directory");
const QString kTooFew = QStringLiteral("There are more cards needed for the loaded layout than is in this deck");

QColor cardColour(int k)
{
    return QColor(QColor::fromHsv((k * 37) % 360, 200, 60 + (k * 13) % 190).rgb());
}

// A picture whose upper and lower halves differ, so a turned one shows.
void writePicture(const QString &path, const QColor &top, const QColor &bottom)
{
    QImage image(40, 80, QImage::Format_RGB32);
    image.fill(bottom);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixelColor(x, y, top);
    QVERIFY(image.save(path, "BMP"));
}

void writeDeck(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QStringList lines{QString::number(count)};
    for (int k = 0; k < count; ++k) {
        writePicture(folder + QString("/card%1.bmp").arg(k), cardColour(k), Qt::black);
        lines << QString("card%1.bmp").arg(k) << QString("Card %1").arg(k) << QString("upright %1").arg(k)
              << QString("reversed %1").arg(k);
    }
    writeBytes(folder + "/cards.dat", crlfLines(lines));
}

void writeLayout(const QString &name, int count)
{
    QStringList lines{"        # of cards in layout", QString::number(count),
                      "        Program window left, top, width, height", "1500", "750", "10500", "7500"};
    for (int k = 0; k < count; ++k)
        lines << QString("        positional meaning %1").arg(k + 1) << QString("position %1").arg(k + 1)
              << QString("        left, top of card#%1").arg(k + 1) << QString::number(330 + 45 * k)
              << QString::number(40 + 10 * k);
    writeBytes(name + ".lat", crlfLines(lines));
}

// Settings naming a current layout and deck, and registries of both.
void writeSettings(const QString &layout, const QString &deckDirectory, const QStringList &decks,
                   const QStringList &layouts, int frequency = 2)
{
    QStringList lines{"        Card back file", QDir::current().absoluteFilePath("back.bmp"),
                      "        Deck path on last save", deckDirectory, "        Reversal frequency",
                      QString::number(frequency), "        Layout on last save", layout,
                      "        Number of decks installed", QString::number(decks.size())};
    lines << "        Name, path of deck#0" << "fallback" << QDir::current().absoluteFilePath("deck");
    for (int i = 0; i < decks.size(); ++i)
        lines << QString("        Name, path of deck#%1").arg(i + 1) << QString("deck %1").arg(i + 1)
              << QDir::current().absoluteFilePath(decks[i]);
    lines << "        Number of layouts installed" << QString::number(layouts.size());
    for (int i = 0; i < layouts.size(); ++i)
        lines << QString("        Layout name for layout #%1").arg(i + 1) << layouts[i];
    writeBytes("vellara.ini", crlfLines(lines));
}

QColor colourAt(const PictureElement *element, int x, int y)
{
    return element->picture().render(QSize(39, 71)).pixelColor(x, y);
}

bool showsColour(const PictureElement *element, const QColor &top)
{
    return !element->picture().isNull() && colourAt(element, 19, 10) == top;
}

// A working folder with a deck of `cards` cards, a back and a layout.
struct Table {
    Table(int cards, int positions, const QStringList &extraDecks = {}, const QStringList &layouts = {})
    {
        writePicture("back.bmp", Qt::white, Qt::white);
        writeDeck("deck", cards);
        writeLayout("Spread", positions);
        writeSettings("Spread", QDir::current().absoluteFilePath("deck"), extraDecks, layouts);
        window = std::make_unique<Celtic>(state);
        window->Form_Load();
    }
    template <typename T>
    T *find(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }

    CoreState state;
    std::unique_ptr<Celtic> window;
};

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
        QCOMPARE(spy.messages(),
                 (QStringList{"File was not found or invalid data read in, if .lat exists, restart program", kNoDeck}));
        QCOMPARE(window.windowTitle(), QString("Vellara 2.5 "));
        QCOMPARE(window.cardPictureCount(), 1);
        PictureElement *card = window.findChild<PictureElement *>("Image2_0");
        QVERIFY(card);
        QCOMPARE(card->geometry(), QRect(450, 60, 39, 71));
        QCOMPARE(card->toolTip(), QString("Card 1"));
        QVERIFY(card->picture().isNull());
        PictureElement *large = window.findChild<PictureElement *>("Image1");
        QVERIFY(large->picture().isNull());
        // A screen reader announces the large picture by name; it has no tooltip of its own.
        QCOMPARE(large->accessibleName(), QString("Card turned up last"));
        QVERIFY(large->toolTip().isEmpty());
    }

    void startsOnTheSavedLayoutAndDeck()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(22, 10);
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(t.window->windowTitle(), QString("Vellara 2.5 Spread"));
        QCOMPARE(t.window->frameGeometry().topLeft(), QPoint(100, 50));
        QCOMPARE(t.window->frameGeometry().size(), QSize(700, 500));
        QCOMPARE(t.window->cardPictureCount(), 10);
        QCOMPARE(t.state.cardCount, qint16(22));
        QCOMPARE(t.state.currentDeckIndex, qint16(0));
        for (int k = 0; k < 10; ++k) {
            auto *card = t.find<PictureElement>(QString("Image2_%1").arg(k));
            QVERIFY(card);
            QCOMPARE(card->toolTip(), QString("Card %1").arg(k + 1));
            QCOMPARE(card->pos(), QPoint(330 + 45 * k, 40 + 10 * k));
            QVERIFY(showsColour(card, Qt::white));
        }
        QVERIFY(showsColour(t.find<PictureElement>("Image1"), Qt::white));
        QCOMPARE(t.find<QPlainTextEdit>("Text1")->toPlainText(), QString("Welcome to Vellara"));
        QVERIFY(t.find<QCheckBox>("Check1")->isChecked());
        QVERIFY(!t.find<QCheckBox>("Check2")->isChecked());
        QVERIFY(!t.action("AddCard")->isEnabled());
        QVERIFY(!t.action("removecard")->isEnabled());
    }

    void menusHoldEveryCommand()
    {
        WorkDir dir;
        MessageSpy spy;
        CoreState state;
        Celtic window(state);
        QStringList bar;
        for (QAction *action : window.menuBar()->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{"File", "Decks", "Layouts", "Reversal Frequency", "Remove Card", "Add Card"}));
        const QStringList layouts{"loadlayout", "loadlayoutfile", "removelayout", "savelayout", "layoutchange",
                                  "layoutedit"};
        QStringList items;
        for (QAction *action : window.findChild<QMenu *>("layouts")->actions())
            items << action->objectName();
        QCOMPARE(items, layouts);
        QCOMPARE(window.findChild<QAction *>("saveandexit")->shortcut(), QKeySequence("Ctrl+Z"));
        QCOMPARE(window.findChild<QAction *>("changeback")->shortcut(), QKeySequence("Ctrl+B"));
        QCOMPARE(window.findChild<QAction *>("addcards")->text(), QString("Add Deck"));
    }

    void pickCardsDealsFaceDown()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(22, 10);
        for (int deal = 0; deal < 20; ++deal) {
            t.window->Image2_Click(0);
            t.find<QPushButton>("Command1")->click();
            QSet<int> dealt;
            for (int p = 0; p < 10; ++p) {
                dealt.insert(t.state.reading.dealtCards[p]);
                QVERIFY(showsColour(t.window->cardPicture(p), Qt::white));
            }
            QCOMPARE(dealt.size(), 10);
            QVERIFY(showsColour(t.find<PictureElement>("Image1"), Qt::white));
            QVERIFY(t.find<QPlainTextEdit>("Text1")->toPlainText().isEmpty());
            QVERIFY(t.find<QPlainTextEdit>("Text2")->toPlainText().isEmpty());
        }
        QVERIFY(spy.messages().isEmpty());
    }

    void tooFewCardsLeaveTheTable()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(4, 5);
        t.find<QPushButton>("Command1")->click();
        QCOMPARE(spy.messages(), QStringList{kTooFew});
        QCOMPARE(t.find<QPlainTextEdit>("Text1")->toPlainText(), QString("Welcome to Vellara"));
        QCOMPARE(t.state.settings.reversalFrequency, qint16(2));
    }

    void clickingACardTurnsItUp()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(22, 10);
        // Before any deal a card holds no text.
        t.window->cardPicture(2)->clicked(2);
        QCOMPARE(t.find<QPlainTextEdit>("Text2")->toPlainText(), QString());
        t.find<QCheckBox>("Check1")->setChecked(false);
        t.find<QPushButton>("Command1")->click();
        const int d = t.state.reading.dealtCards[2];
        t.window->cardPicture(2)->clicked(2);
        QVERIFY(showsColour(t.find<PictureElement>("Image1"), cardColour(d)));
        QVERIFY(showsColour(t.window->cardPicture(2), cardColour(d)));
        for (const int other : {0, 1, 3, 9})
            QVERIFY(showsColour(t.window->cardPicture(other), Qt::white));
        QCOMPARE(t.find<QPlainTextEdit>("Text1")->toPlainText(), toFixedWidth("position 3", 600));
        QCOMPARE(t.find<QPlainTextEdit>("Text2")->toPlainText(),
                 toFixedWidth(toFixedWidth(QString("Card %1").arg(d), 30) + "\r\n\r\nupright " + QString::number(d), 460)
                     .replace("\r\n", "\n"));
    }

    void reversedCardsShowTurnedWithTheirText()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(22, 10);
        int reversedPosition = -1;
        for (int deal = 0; deal < 50 && reversedPosition < 0; ++deal) {
            t.find<QPushButton>("Command1")->click();
            for (int p = 0; p < 10 && reversedPosition < 0; ++p)
                if (t.state.reading.cardTexts[p].text().contains("*Reversed*"))
                    reversedPosition = p;
        }
        QVERIFY(reversedPosition >= 0);
        const int d = t.state.reading.dealtCards[reversedPosition];
        t.window->Image2_Click(reversedPosition);
        const QString text = t.find<QPlainTextEdit>("Text2")->toPlainText();
        QVERIFY(text.startsWith(toFixedWidth(QString("Card %1").arg(d), 30) + "\n\n*Reversed*\nreversed "
                                + QString::number(d)));
        // Turned: the black lower half is now on top.
        PictureElement *large = t.find<PictureElement>("Image1");
        QCOMPARE(colourAt(large, 19, 10), QColor(Qt::black));
        QCOMPARE(colourAt(large, 19, 60), cardColour(d));
    }

    void lowFrequencyIsSavedAsTwo()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(5, 3);
        t.state.settings.reversalFrequency = 0;
        t.find<QPushButton>("Command1")->click();
        t.window->save_Click();
        QCOMPARE(readBytes("vellara.ini").split('\n').value(5), QByteArray("2\r"));
    }

    void randomLayoutComesBeforeRandomDeck()
    {
        WorkDir dir;
        MessageSpy spy;
        writeDeck("big", 8);
        writeLayout("Wide", 7);
        Table t(3, 2, {"big"}, {"Wide"});
        t.find<QCheckBox>("Check2")->setChecked(true);
        t.find<QCheckBox>("Check3")->setChecked(true);
        t.find<QPushButton>("Command1")->click();
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(t.state.settings.layoutName, QString("Wide"));
        QCOMPARE(t.state.currentDeckIndex, qint16(1));
        QCOMPARE(t.window->cardPictureCount(), 7);
        QSet<int> dealt(t.state.reading.dealtCards.begin(), t.state.reading.dealtCards.begin() + 7);
        QCOMPARE(dealt.size(), 7);

        // Nothing installed: both fail, the layout's message first.
        spy.clear();
        t.state.settings.layouts.layoutCount = 0;
        t.state.settings.layouts.names[1].clear();
        t.state.settings.decks.deckCount = 0;
        t.state.settings.decks.paths[1].clear();
        t.find<QPushButton>("Command1")->click();
        QCOMPARE(spy.messages().value(0),
                 QString("File was not found or invalid data read in, if .lat exists, restart program"));
        QCOMPARE(spy.messages().value(1), kNoDeck);
        QCOMPARE(t.state.currentDeckIndex, qint16(1));
    }

    void exitSavesNothingAndSaveAndExitSaves()
    {
        WorkDir dir;
        MessageSpy spy;
        {
            Table t(5, 3);
            const QByteArray before = readBytes("vellara.ini");
            t.state.settings.reversalFrequency = 9;
            t.window->show();
            // The secondary windows close with the program.
            t.find<QPushButton>("Command2")->click();
            t.action("setreversals")->trigger();
            t.action("changeback")->trigger();
            for (const char *name : {"cardbrowse", "revset", "backselect"})
                QVERIFY2(platform::WindowRegistry::find(name), name);
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("exit")->trigger();
            QCOMPARE(ended.count(), 1);
            for (const char *name : {"cardbrowse", "revset", "backselect"})
                QVERIFY2(!platform::WindowRegistry::find(name), name);
            QVERIFY(!t.window->isVisible());
            QCOMPARE(t.window->cardPictureCount(), 1);
            QCOMPARE(readBytes("vellara.ini"), before);
        }
        {
            Table t(5, 3);
            t.state.settings.reversalFrequency = 9;
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("saveandexit")->trigger();
            QCOMPARE(ended.count(), 1);
            QCOMPARE(readBytes("vellara.ini").split('\n').value(5), QByteArray("9\r"));
        }
        {
            // A save that fails keeps the program open, so nothing is lost.
            Table t(5, 3);
            QFile::setPermissions("vellara.ini", QFile::ReadOwner);
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.action("saveandexit")->trigger();
            QCOMPARE(ended.count(), 0);
            QCOMPARE(spy.messages().size(), 1);
            QFile::setPermissions("vellara.ini", QFile::ReadOwner | QFile::WriteOwner);
        }
        {
            Table t(5, 3);
            t.window->show();
            QSignalSpy ended(t.window.get(), &Celtic::programEnded);
            t.window->close();  // by the frame
            QCOMPARE(ended.count(), 1);
        }
    }

    void shortcutsRunFromTheTextBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("key");
        const std::pair<const char *, int> commands[] = {
            {"save", Qt::Key_S}, {"saveandexit", Qt::Key_Z}, {"exit", Qt::Key_Y},
            {"addcards", Qt::Key_A}, {"changeback", Qt::Key_B}};
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
        Table t(5, 3);
        t.window->show();
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QAction *action = t.action(command);
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        QSignalSpy triggered(action, &QAction::triggered);
        auto *text = t.find<QPlainTextEdit>(box);
        text->setFocus();
        QCOMPARE(QApplication::focusWidget(), text);
        const QString before = text->toPlainText();
        QTest::keyClick(text, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(text->toPlainText(), before);
    }

    void windowKeepsThePlaceTheUserGivesIt()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(5, 3);
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
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

    void unloadablePictureKeepsTheBack()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3, 3);
        writeBytes("deck/card1.bmp", "not a picture");
        t.find<QCheckBox>("Check1")->setChecked(false);
        t.find<QPushButton>("Command1")->click();
        QVERIFY(spy.messages().isEmpty());
        for (int p = 0; p < 3; ++p) {
            t.window->Image2_Click(p);
            const int d = t.state.reading.dealtCards[p];
            QVERIFY(showsColour(t.window->cardPicture(p), d == 1 ? QColor(Qt::white) : cardColour(d)));
        }
    }
};

QTEST_MAIN(TestCeltic)
#include "test_celtic.moc"
