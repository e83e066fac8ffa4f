#include "platform/windowregistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using vellara::platform::WindowRegistry;

class TestWindowRegistry : public QObject {
    Q_OBJECT

private slots:
    void eachWindowKindExistsOnce()
    {
        int built = 0;
        auto make = [&built] {
            ++built;
            auto *window = new QLineEdit;
            window->setText("fresh");
            window->setWindowModality(Qt::ApplicationModal);  // the registry makes every window modeless
            return window;
        };
        QWidget *first = WindowRegistry::open("cardbrowse", make);
        static_cast<QLineEdit *>(first)->setText("typed");
        QWidget *again = WindowRegistry::open("cardbrowse", make);
        QCOMPARE(again, first);
        QCOMPARE(built, 1);
        QCOMPARE(static_cast<QLineEdit *>(again)->text(), QString("typed"));
        QCOMPARE(again->objectName(), QString("cardbrowse"));
        QVERIFY(!again->isModal());

        // Closing destroys it; the next opening builds it afresh.
        QPointer<QWidget> closed = first;
        WindowRegistry::close("cardbrowse");
        QVERIFY(!WindowRegistry::find("cardbrowse"));
        QWidget *reopened = WindowRegistry::open("cardbrowse", make);
        QCOMPARE(built, 2);
        QCOMPARE(static_cast<QLineEdit *>(reopened)->text(), QString("fresh"));
        QTRY_VERIFY(closed.isNull());

        // Other kinds are independent of it; opening one already open brings it to the front.
        QWidget *other = WindowRegistry::open("revset", make);
        QVERIFY(other != reopened);
        QTRY_COMPARE(QApplication::activeWindow(), other);
        QCOMPARE(WindowRegistry::open("cardbrowse", make), reopened);
        QTRY_COMPARE(QApplication::activeWindow(), reopened);
        QCOMPARE(built, 3);
        reopened->close();
        other->close();
    }
};

QTEST_MAIN(TestWindowRegistry)
#include "test_windowregistry.moc"
