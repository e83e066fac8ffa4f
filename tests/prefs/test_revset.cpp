#include "core/corestate.h"
#include "platform/fonts.h"
#include "prefs/revset.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace vellara;

class TestRevset : public QObject {
    Q_OBJECT

private slots:
    // A desktop without the interface font falls back to a wider one, which the caption must fit too.
    void initTestCase() { QApplication::setFont(QFont("DejaVu Sans", 9)); }

    // The upper arrow lowers the number, to no less than 2; a page is one.
    void keysStepAndAcceptTakesTheScrollBar_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("shown");
        QTest::newRow("top") << 2 << QList<int>{Qt::Key_Up} << 2;
        QTest::newRow("pages") << 2 << QList<int>{Qt::Key_Down, Qt::Key_PageDown} << 4;
        QTest::newRow("up") << 6 << QList<int>{Qt::Key_Up, Qt::Key_PageUp} << 4;
        QTest::newRow("bottom") << 32767 << QList<int>{Qt::Key_Down} << 32767;
        QTest::newRow("negative") << -7 << QList<int>{} << 2;
    }
    void keysStepAndAcceptTakesTheScrollBar()
    {
        QFETCH(int, stored);
        QFETCH(QList<int>, keys);
        QFETCH(int, shown);
        CoreState state;
        state.settings.reversalFrequency = qint16(stored);
        Revset window(state);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.findChild<QLabel *>("Label1")->geometry(), QRect(8, 8, 105, 33));
        QVERIFY(platform::captionFits(window.findChild<QLabel *>("Label1")));
        // The window opens with the focus on the scroll bar.
        for (const int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        auto *text = window.findChild<QLineEdit *>("Text1");
        QCOMPARE(text->text(), QString::number(shown));
        // A number typed into the box is not what is taken; Tab goes on to Accept.
        text->selectAll();
        QTest::keyClicks(text, "10");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(state.settings.reversalFrequency, qint16(shown));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestRevset)
#include "test_revset.moc"
