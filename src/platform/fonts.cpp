#include "platform/fonts.h"

#include <QFontMetrics>
#include <QLabel>

namespace vellara::platform {

QFont interfaceFont()
{
    QFont font(QStringLiteral("Nimbus Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

bool captionFits(const QLabel *label)
{
    const QRect room = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = QFontMetrics(label->font()).boundingRect(room, flags, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

void fitCaption(QLabel *label)
{
    if (captionFits(label))
        return;
    QFont font = label->font();
    font.setFamilies({QStringLiteral("Nimbus Sans Narrow"), font.family()});
    for (int size = font.pointSize(); size >= 6; --size) {
        font.setPointSize(size);
        label->setFont(font);
        if (captionFits(label))
            return;
    }
}

} // namespace vellara::platform
