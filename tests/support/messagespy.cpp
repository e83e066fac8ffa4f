#include "support/messagespy.h"

#include "platform/message.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace vellara::test {

static MessageSpy *g_spy = nullptr;

// Watches the whole application for message boxes being shown.
class BoxAnswerer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (!box || event->type() != QEvent::Show || box->property("vellaraAnswered").toBool())
            return false;
        box->setProperty("vellaraAnswered", true);
        const QList<QAbstractButton *> buttons = box->buttons();
        if (!g_spy)
            QTest::qFail(qPrintable("unexpected message: " + box->text()), __FILE__, __LINE__);
        else if (box->windowTitle() != QLatin1String(platform::kProgramTitle) || buttons.size() != 1
                 || box->standardButton(buttons.first()) != QMessageBox::Ok || !box->isModal())
            QTest::qFail(qPrintable("not the program's message box: " + box->text()), __FILE__, __LINE__);
        else
            g_spy->m_messages.append(box->text());
        // The click comes once the box waits in its own event loop; a box
        // gone by then takes the timer with it.
        QTimer::singleShot(0, box, [box] {
            if (!box->buttons().isEmpty())
                QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
            else
                box->reject();
        });
        return false;
    }
};

// Runs inside QCoreApplication's constructor: the object is not yet a QApplication.
// The application owns the answerer, so it goes when the application does.
static void installBoxAnswerer()
{
    QCoreApplication::instance()->installEventFilter(new BoxAnswerer(QCoreApplication::instance()));
}
Q_COREAPP_STARTUP_FUNCTION(installBoxAnswerer)

MessageSpy::MessageSpy() : m_previous(g_spy)
{
    g_spy = this;
    // Without widgets (the file tests) there is no box to answer: the text goes to the innermost spy.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        platform::setMessageHandler([](const QString &text) { g_spy->m_messages.append(text); });
}

MessageSpy::~MessageSpy()
{
    g_spy = m_previous;
    if (!g_spy && !qobject_cast<QApplication *>(QCoreApplication::instance()))
        platform::setMessageHandler({});
}

} // namespace vellara::test
