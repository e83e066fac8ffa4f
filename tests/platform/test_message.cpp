#include "platform/message.h"
#include "support/messagespy.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace vellara::platform;

class TestMessage : public QObject {
    Q_OBJECT

private slots:
    void realBoxHasTitleTextAndOneOkButton()
    {
        QString title;
        QString text;
        QStringList buttons;
        bool modal = false;
        // Answer the box as a user would, once it is up.
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            modal = box->isModal();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text().remove('&');
            QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
        });
        showMessage("No cards.dat file found in specified directory");
        QCOMPARE(title, QString("Vellara 2.5"));
        QCOMPARE(text, QString("No cards.dat file found in specified directory"));
        QCOMPARE(buttons, QStringList{"OK"});
        QVERIFY(modal);
    }

    void spyCatchesMessagesAndRestoresTheBox()
    {
        {
            vellara::test::MessageSpy spy;
            showMessage("first");
            showMessage("second");
            QCOMPARE(spy.messages(), (QStringList{"first", "second"}));
        }
        bool boxShown = false;
        QTimer::singleShot(0, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                boxShown = true;
                box->close();
            }
        });
        showMessage("third");
        QVERIFY(boxShown);
    }
};

QTEST_MAIN(TestMessage)
#include "test_message.moc"
