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
    static QScrollBar *spin(Revset &w) { return w.findChild<QScrollBar *>("VScroll1"); }
    static QLineEdit *number(Revset &w) { return w.findChild<QLineEdit *>("Text1"); }

    // Steps the spin button from the keyboard, wherever the focus is: Up is
    // its upper arrow.
    static void pressArrow(bool lower)
    {
        QTest::keyClick(QApplication::focusWidget(), lower ? Qt::Key_Down : Qt::Key_Up);
    }

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
                QCOMPARE(number(window)->text(), QString("2"));
                QCOMPARE(spin(window)->value(), 2);
                window.close();  // by the frame: nothing accepted
            }
            QCOMPARE(state.settings.reversalFrequency, qint16(2));
        }
    }

    void arrowsStepFromTheTop()
    {
        CoreState state;
        state.settings.reversalFrequency = 2;
        Revset window(state);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The window opens with the focus on the spin button.
        pressArrow(false);  // the upper arrow cannot go below 2
        QCOMPARE(number(window)->text(), QString("2"));
        pressArrow(true);
        QCOMPARE(number(window)->text(), QString("3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCOMPARE(number(window)->text(), QString("4"));
        pressArrow(false);
        pressArrow(false);
        pressArrow(false);
        QCOMPARE(number(window)->text(), QString("2"));
        QCOMPARE(spin(window)->value(), 2);
        // Tab walks on to the button, which takes the shown value.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(state.settings.reversalFrequency, qint16(3));
    }

    void acceptStoresTheScrollBarNotTheText()
    {
        CoreState state;
        state.settings.reversalFrequency = 6;
        Revset window(state);
        window.show();
        spin(window)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QLineEdit *text = number(window);
        text->clear();
        QTest::keyClicks(text, "10");
        QCOMPARE(state.settings.reversalFrequency, qint16(6));
        window.findChild<QPushButton *>("Command1")->click();
        QCOMPARE(state.settings.reversalFrequency, qint16(7));
        QVERIFY(!window.isVisible());

        CoreState big;
        big.settings.reversalFrequency = 32767;
        Revset top(big);
        spin(top)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        top.findChild<QPushButton *>("Command1")->click();
        QCOMPARE(big.settings.reversalFrequency, qint16(32767));
    }
};

QTEST_MAIN(TestRevset)
#include "test_revset.moc"
