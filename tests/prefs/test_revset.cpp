#include "core/corestate.h"
#include "platform/fonts.h"
#include "prefs/revset.h"
#include "support/userinput.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

using namespace vellara;

class TestRevset : public QObject {
    Q_OBJECT

private slots:
    // A desktop without the interface font falls back to a wider one, which the caption must fit too.
    void initTestCase() { QApplication::setFont(QFont("DejaVu Sans", 9)); }

    // The upper arrow lowers the number, to no less than 2; a page is one.
    void keysStepAndAcceptTakesTheScrollBar()
    {
        // The number stored, the keys pressed, the number shown and taken.
        const std::tuple<int, QList<Qt::Key>, int> rows[] = {
            {2, {Qt::Key_Up}, 2},
            {2, {Qt::Key_Down, Qt::Key_PageDown}, 4},
            {6, {Qt::Key_Up, Qt::Key_PageUp}, 4},
            {32767, {Qt::Key_Down}, 32767},
            {-7, {}, 2},
        };
        for (const auto &[stored, keys, shown] : rows) {
            CoreState state;
            state.settings.reversalFrequency = qint16(stored);
            Revset window(state);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            if (stored == 6)
                test::verifyDesign(&window);
            QVERIFY(platform::captionFits(window.findChild<QLabel *>("Label1")));
            // The window opens with the focus on the scroll bar.
            for (const Qt::Key key : keys)
                QTest::keyClick(QApplication::focusWidget(), key);
            auto *text = window.findChild<QLineEdit *>("Text1");
            QCOMPARE(text->text(), QString::number(shown));
            // A number typed into the box is not what is taken; Tab goes on to Accept.
            text->selectAll();
            QTest::keyClicks(text, "10");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QVERIFY(state.settings.reversalFrequency == qint16(shown) && !window.isVisible());
        }
    }
};

QTEST_MAIN(TestRevset)
#include "test_revset.moc"
