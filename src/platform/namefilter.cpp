#include "platform/namefilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vellara::platform {

namespace {

class NameKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            // Control keys (Backspace, Delete, Tab) carry no printable character.
            if (!text.isEmpty() && text[0].isPrint() && !allowedInName(text[0]))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool allowedInName(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == ' ';
}

void filterNameBox(QLineEdit *box)
{
    box->installEventFilter(new NameKeyFilter(box));
    // Pasting, dropping and input methods bypass the key filter.
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString &text) {
        QString kept;
        int cursor = box->cursorPosition();
        for (int i = 0; i < text.size(); ++i) {
            if (allowedInName(text[i]))
                kept += text[i];
            else if (i < box->cursorPosition())
                --cursor;
        }
        if (kept != text) {
            box->setText(kept);
            box->setCursorPosition(cursor);
        }
    });
}

} // namespace vellara::platform
