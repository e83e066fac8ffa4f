#pragma once

#include "platform/message.h"

#include <QStringList>

namespace vellara::test {

// Catches every message the program shows while it lives, instead of a box.
class MessageSpy {
public:
    MessageSpy();
    ~MessageSpy();
    MessageSpy(const MessageSpy &) = delete;
    MessageSpy &operator=(const MessageSpy &) = delete;

    const QStringList &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QStringList m_messages;
    platform::MessageHandler m_previous;
};

} // namespace vellara::test
