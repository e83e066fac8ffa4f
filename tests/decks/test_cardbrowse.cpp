#include "core/corestate.h"
#include "decks/cardbrowse.h"
#include "platform/pictureelement.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace vellara;

namespace {

QColor colour(int k)
{
    return QColor(QColor::fromHsv((k * 47) % 360, 220, 200).rgb());
}

// A deck of `count` cards in folder, each picture a plain colour.
void fillDeck(CoreState &state, const QString &folder, int count)
{
    state.cardCount = qint16(count);
    state.settings.deckDirectory = folder;
    for (int k = 0; k < count; ++k) {
        CardRecord &card = state.cards[k];
        card.pictureFile = QString("card%1.bmp  ").arg(k);  // trailing blanks as read
        card.name = QString("Card %1").arg(k);
        card.meaning = QString("upright %1").arg(k);
        card.reversedMeaning = QString("reversed %1").arg(k);
        test::writeColourPicture(folder + QString("/card%1.bmp").arg(k), colour(k));
    }
}

struct Browser {
    Browser(CoreState &state) : w(state)
    {
        w.Form_Load();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    QColor shown() { return test::shownColour(w.findChild<platform::PictureElement *>("Image1")); }
    QScrollBar *slider() { return w.findChild<QScrollBar *>("HScroll1"); }
    QLineEdit *name() { return w.findChild<QLineEdit *>("Text1"); }
    QString text(const char *box) { return w.findChild<QPlainTextEdit *>(box)->toPlainText(); }
    Cardbrowse w;
};

} // namespace

class TestCardbrowse : public QObject {
    Q_OBJECT

private slots:
    void keysMoveThroughTheDeck()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 78);
        QFile::remove(dir.filePath("card9.bmp"));
        test::writeBytes(dir.filePath("card10.bmp"), "not a picture");
        Browser b(state);
        QCOMPARE(b.slider()->maximum(), 77);
        QCOMPARE(b.name()->text(), QString("Card 0").leftJustified(30));
        QCOMPARE(b.shown(), colour(0));
        // The slider has the focus when the window opens.
        QCOMPARE(QApplication::focusWidget(), b.slider());
        QTest::keyClick(b.slider(), Qt::Key_Right);
        QCOMPARE(b.text("Text2"), QString("upright 1"));
        QTest::keyClick(b.slider(), Qt::Key_PageDown);
        QCOMPARE(b.text("Text3"), QString("reversed 8"));
        QCOMPARE(b.shown(), colour(8));
        // A missing or broken picture keeps the one before.
        QTest::keyClick(b.slider(), Qt::Key_Right);
        QTest::keyClick(b.slider(), Qt::Key_Right);
        QCOMPARE(b.text("Text2"), QString("upright 10"));
        QCOMPARE(b.shown(), colour(8));
        QTest::keyClick(b.slider(), Qt::Key_End);
        QCOMPARE(b.text("Text2"), QString("upright 77"));
        QCOMPARE(b.shown(), colour(77));

        // A smaller deck loaded meanwhile: the range stays until reopened.
        state.cardCount = 10;
        QCOMPARE(b.slider()->maximum(), 77);
        b.w.Form_Load();
        QCOMPARE(b.slider()->maximum(), 9);
        state.cardCount = 0;
        b.w.Form_Load();
        QCOMPARE(b.slider()->maximum(), 0);
    }

    void typingChangesNothing()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 3);
        Browser b(state);
        b.name()->setFocus();
        b.name()->selectAll();
        QTest::keyClicks(b.name(), "Renamed");
        QCOMPARE(b.name()->text(), QString("Renamed"));
        for (const char *box : {"Text2", "Text3"})
            QTest::keyClicks(b.w.findChild<QPlainTextEdit *>(box), "typed");
        QCOMPARE(b.text("Text2"), QString("upright 0"));
        QCOMPARE(b.text("Text3"), QString("reversed 0"));
        QCOMPARE(state.cards[0].name.text().trimmed(), QString("Card 0"));
        QCOMPARE(state.cards[0].meaning, QString("upright 0"));
    }

    void emptyDeckDirectoryIsTheProgramsOwn()
    {
        CoreState state;
        state.cardCount = 2;
        state.cards[1].name = QString("Lonely");
        Browser b(state);
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
        // Emptied while the browser is open: a move of the slider sets it again.
        state.settings.deckDirectory.clear();
        QTest::keyClick(b.slider(), Qt::Key_Right);
        QCOMPARE(b.name()->text().trimmed(), QString("Lonely"));
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
    }
};

QTEST_MAIN(TestCardbrowse)
#include "test_cardbrowse.moc"
