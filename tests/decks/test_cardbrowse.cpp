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
using platform::PictureElement;

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

QColor shown(Cardbrowse &w)
{
    return test::shownColour(w.findChild<PictureElement *>("Image1"));
}

QScrollBar *slider(Cardbrowse &w) { return w.findChild<QScrollBar *>("HScroll1"); }
QString text(Cardbrowse &w, const char *name)
{
    if (auto *line = w.findChild<QLineEdit *>(name))
        return line->text();
    return w.findChild<QPlainTextEdit *>(name)->toPlainText();
}

} // namespace

class TestCardbrowse : public QObject {
    Q_OBJECT

private slots:
    void sliderFollowsTheDeckAtOpening()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 78);
        Cardbrowse w(state);
        w.Form_Load();
        w.show();
        QCOMPARE(slider(w)->minimum(), 0);
        QCOMPARE(slider(w)->maximum(), 77);
        QCOMPARE(text(w, "Text1"), QString("Card 0").leftJustified(30));
        QCOMPARE(shown(w), colour(0));

        slider(w)->setValue(77);
        QCOMPARE(text(w, "Text2"), QString("upright 77"));
        QCOMPARE(text(w, "Text3"), QString("reversed 77"));
        QCOMPARE(shown(w), colour(77));
        slider(w)->setValue(78);
        QCOMPARE(slider(w)->value(), 77);

        // A smaller deck loaded meanwhile: the range stays until reopened.
        state.cardCount = 10;
        slider(w)->setValue(20);
        QCOMPARE(slider(w)->maximum(), 77);
        w.Form_Load();
        QCOMPARE(slider(w)->maximum(), 9);

        state.cardCount = 0;
        w.Form_Load();
        QCOMPARE(slider(w)->maximum(), 0);
        QCOMPARE(text(w, "Text1").trimmed(), QString("Card 0"));
    }

    void keysMoveThroughTheDeck()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 22);
        Cardbrowse w(state);
        w.Form_Load();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The slider has the focus when the window opens.
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), QString("HScroll1"));
        QTest::keyClick(focus, Qt::Key_Right);
        QCOMPARE(text(w, "Text2"), QString("upright 1"));
        QTest::keyClick(focus, Qt::Key_PageDown);
        QCOMPARE(text(w, "Text2"), QString("upright 8"));
        QTest::keyClick(focus, Qt::Key_Left);
        QCOMPARE(shown(w), colour(7));
    }

    void missingPictureKeepsThePreviousOne()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 5);
        QFile::remove(dir.filePath("card3.bmp"));
        test::writeBytes(dir.filePath("card4.bmp"), "not a picture");
        Cardbrowse w(state);
        w.Form_Load();
        slider(w)->setValue(2);
        slider(w)->setValue(3);
        QCOMPARE(shown(w), colour(2));
        QCOMPARE(text(w, "Text2"), QString("upright 3"));
        slider(w)->setValue(4);
        QCOMPARE(shown(w), colour(2));
        QCOMPARE(text(w, "Text3"), QString("reversed 4"));
    }

    void emptyDeckDirectoryIsTheProgramsOwn()
    {
        CoreState state;
        state.cardCount = 1;
        state.cards[0].name = QString("Lonely");
        Cardbrowse w(state);
        w.Form_Load();
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
        QCOMPARE(text(w, "Text1").trimmed(), QString("Lonely"));
        // Emptied while the browser is open: a move of the slider sets it again.
        state.settings.deckDirectory.clear();
        state.cardCount = 2;
        w.Form_Load();
        state.settings.deckDirectory.clear();
        slider(w)->setValue(1);
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
    }

    void typingChangesNothing()
    {
        test::WorkDir dir;
        CoreState state;
        fillDeck(state, dir.path(), 3);
        Cardbrowse w(state);
        w.Form_Load();
        w.show();
        auto *name = w.findChild<QLineEdit *>("Text1");
        name->selectAll();
        QTest::keyClicks(name, "Renamed");
        QCOMPARE(name->text(), QString("Renamed"));
        QCOMPARE(state.cards[0].name.text().trimmed(), QString("Card 0"));
        slider(w)->setValue(1);
        slider(w)->setValue(0);
        QCOMPARE(name->text(), QString("Card 0").leftJustified(30));

        for (const char *box : {"Text2", "Text3"}) {
            auto *meaning = w.findChild<QPlainTextEdit *>(box);
            const QString before = meaning->toPlainText();
            QTest::keyClicks(meaning, "typed");
            QCOMPARE(meaning->toPlainText(), before);
        }
        QCOMPARE(state.cards[0].meaning, QString("upright 0"));
    }

};

QTEST_MAIN(TestCardbrowse)
#include "test_cardbrowse.moc"
