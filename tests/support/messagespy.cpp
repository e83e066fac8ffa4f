#include "support/messagespy.h"

namespace vellara::test {

MessageSpy::MessageSpy()
{
    m_previous = platform::setMessageHandler([this](const QString &text) { m_messages.append(text); });
}

MessageSpy::~MessageSpy()
{
    platform::setMessageHandler(std::move(m_previous));
}

} // namespace vellara::test
