#include "core/corestate.h"
#include "platform/fonts.h"
#include "prefs/revset.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace vellara;

class TestRevset : public QObject {
    Q_OBJECT

private:
    static QString shown(Revset &w) { return w.findChild<QLineEdit *>("Text1")->text(); }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

private slots:
    void captionFitsItsPlace_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::newRow("interface font") << platform::interfaceFont();
        // A desktop without the interface font falls back to a wider one.
        QTest::newRow("wider fallback") << QFont("DejaVu Sans", 9);
    }
    void captionFitsItsPlace()
    {
        QFETCH(QFont, font);
        const QFont old = QApplication::font();
        QApplication::setFont(font);
        CoreState state;
        Revset window(state);
        window.show();
        const auto *label = window.findChild<QLabel *>("Label1");
        QCOMPARE(label->geometry(), QRect(8, 8, 105, 33));
        QVERIFY(platform::captionFits(label));
        QApplication::setFont(old);
    }

    void lowStoredValuesBecomeTwo()
    {
        for (const qint16 stored : {qint16(0), qint16(1), qint16(-7)}) {
            CoreState state;
            state.settings.reversalFrequency = stored;
            {
                Revset window(state);
                window.show();
                QCOMPARE(shown(window), QString("2"));
                window.close();  // by the frame: nothing accepted
            }
            QCOMPARE(state.settings.reversalFrequency, qint16(2));
        }
    }

    void arrowsStepAndTheButtonTakesTheScrollBar()
    {
        CoreState state;
        state.settings.reversalFrequency = 2;
        Revset window(state);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The window opens with the focus on the spin button; Up is its upper
        // arrow, which cannot go below 2.
        press(Qt::Key_Up);
        QCOMPARE(shown(window), QString("2"));
        press(Qt::Key_Down);
        QCOMPARE(shown(window), QString("3"));
        press(Qt::Key_PageDown);
        QCOMPARE(shown(window), QString("4"));
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Up);
        QCOMPARE(shown(window), QString("2"));
        press(Qt::Key_Down);
        // A number typed into the box is not what is taken.
        auto *text = window.findChild<QLineEdit *>("Text1");
        text->clear();
        QTest::keyClicks(text, "10");
        QCOMPARE(state.settings.reversalFrequency, qint16(2));
        window.findChild<QScrollBar *>("VScroll1")->setFocus();
        // Tab walks on to the button.
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
        press(Qt::Key_Space);
        QCOMPARE(state.settings.reversalFrequency, qint16(3));
        QVERIFY(!window.isVisible());

        CoreState big;
        big.settings.reversalFrequency = 32767;
        Revset top(big);
        top.findChild<QScrollBar *>("VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        top.findChild<QPushButton *>("Command1")->click();
        QCOMPARE(big.settings.reversalFrequency, qint16(32767));
    }
};

QTEST_MAIN(TestRevset)
#include "test_revset.moc"
