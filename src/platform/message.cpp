#include "platform/message.h"

#include <QApplication>
#include <QMessageBox>

namespace vellara::platform {

namespace {
MessageHandler &currentHandler()
{
    static MessageHandler handler;
    return handler;
}
} // namespace

void showMessage(const QString &text)
{
    if (const MessageHandler &handler = currentHandler()) {
        handler(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messagebox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

} // namespace vellara::platform
