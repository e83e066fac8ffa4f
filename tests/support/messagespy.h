#pragma once

#include <QStringList>

namespace vellara::test {

// Answers the program's message boxes as a user would, while it lives: each
// real box is read (title, text, its one OK button) and its OK clicked. A box
// that is not titled "Vellara 2.5" with one OK button fails the test. In a
// test without QApplication the text is taken without a box.
//
// Outside a spy's life a box is unexpected: it fails the running test and is
// answered too, so that a test never waits for a box nobody will close.
class MessageSpy {
    Q_DISABLE_COPY(MessageSpy)
public:
    MessageSpy();
    ~MessageSpy();
    const QStringList &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    friend class BoxAnswerer;
    QStringList m_messages;
    MessageSpy *m_previous;
};

} // namespace vellara::test
