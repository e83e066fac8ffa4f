#include "platform/message.h"
#include "support/messagespy.h"

#include <QTest>

using namespace vellara;

class TestMessage : public QObject {
    Q_OBJECT

private slots:
    // The spy answers the real box and fails on a wrong title, more than one
    // button or a box that is not modal.
    void realBoxIsAnsweredInTurn()
    {
        test::MessageSpy spy;
        platform::showMessage("No cards.dat file found in specified directory");
        platform::showMessage("second");
        QCOMPARE(spy.messages(), (QStringList{"No cards.dat file found in specified directory", "second"}));
    }
};

QTEST_MAIN(TestMessage)
#include "test_message.moc"
