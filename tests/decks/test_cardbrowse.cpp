#include "core/corestate.h"
#include "decks/cardbrowse.h"
#include "platform/pictureelement.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace vellara;

class TestCardbrowse : public QObject {
    Q_OBJECT

private slots:
    void browsing()
    {
        test::WorkDir dir;
        auto colour = [](int k) { return QColor(QColor::fromHsv((k * 47) % 360, 220, 200).rgb()); };
        CoreState state;
        state.cardCount = 78;
        state.settings.deckDirectory = dir.path();
        for (int k = 0; k < 78; ++k) {
            // Picture names carry trailing blanks, as read from a deck file.
            state.cards[k] = {QString("card%1.bmp  ").arg(k), QString("Card %1").arg(k), QString("upright %1").arg(k),
                              QString("reversed %1").arg(k)};
            test::writeColourPicture(dir.filePath(QString("card%1.bmp").arg(k)), colour(k));
        }
        QFile::remove(dir.filePath("card9.bmp"));
        test::writeBytes(dir.filePath("card10.bmp"), "not a picture");
        Cardbrowse w(state);
        w.Form_Load();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The reversed heading is designed to reach into its box's top.
        w.findChild<QLabel *>("Label3")->hide();
        test::verifyControlsApart(&w);
        auto *slider = w.findChild<QScrollBar *>("HScroll1");
        auto *name = w.findChild<QLineEdit *>("Text1");
        auto *meaning = w.findChild<QPlainTextEdit *>("Text2");
        auto shown = [&] { return test::shownColour(w.findChild<platform::PictureElement *>("Image1")); };
        QCOMPARE(QApplication::focusWidget(), slider);
        QCOMPARE(slider->maximum(), 77);
        QCOMPARE(name->text(), QString("Card 0").leftJustified(30));
        QCOMPARE(shown(), colour(0));

        // An arrow moves one card, a page seven; a missing or broken picture keeps the one before.
        const QList<std::tuple<Qt::Key, int, int>> steps{
            {Qt::Key_Right, 1, 1}, {Qt::Key_PageDown, 8, 8}, {Qt::Key_Right, 9, 8}, {Qt::Key_Right, 10, 8},
            {Qt::Key_End, 77, 77}};
        for (const auto &[key, card, picture] : steps) {
            QTest::keyClick(slider, key);
            QCOMPARE(meaning->toPlainText(), QString("upright %1").arg(card));
            QCOMPARE(w.findChild<QPlainTextEdit *>("Text3")->toPlainText(), QString("reversed %1").arg(card));
            QCOMPARE(shown(), colour(picture));
        }
        // The meanings take no typing, but keys select in them, for a screen reader.
        QTest::keyClicks(meaning, "typed");
        QCOMPARE(meaning->toPlainText(), QString("upright 77"));
        QTest::keyClick(meaning, Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(meaning->textCursor().hasSelection());

        // Reopened on another deck with no folder: the program's folder, and
        // again when emptied while the browser is open.
        state.cardCount = 10;
        state.settings.deckDirectory.clear();
        w.Form_Load();
        QCOMPARE(slider->maximum(), 9);
        QCOMPARE(name->text(), QString("Card 0").leftJustified(30));
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
        state.settings.deckDirectory.clear();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(name->text().trimmed(), QString("Card 1"));
        QCOMPARE(state.settings.deckDirectory, QCoreApplication::applicationDirPath());
    }
};

QTEST_MAIN(TestCardbrowse)
#include "test_cardbrowse.moc"
