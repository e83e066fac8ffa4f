#include "platform/pictureelement.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace vellara::platform {

PictureElement::PictureElement(QWidget *parent) : QWidget(parent)
{
    setAccessibleName(tr("Picture"));
}

void PictureElement::setPicture(const Picture &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

bool PictureElement::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleDescription(toolTip());
    return QWidget::event(event);
}

void PictureElement::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize device(int(std::lround(width() * ratio)), int(std::lround(height() * ratio)));
    QImage image = m_picture.render(device);
    if (image.isNull())
        return;
    image.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image);
}

void PictureElement::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    emit mousePressed(m_index, event->button(), event->position());
}

void PictureElement::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(m_index, event->buttons(), event->position());
}

void PictureElement::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = event->buttons() != Qt::NoButton;
    const QPointer<PictureElement> self(this);
    emit mouseReleased(m_index, event->button(), event->position());
    // A handler of the release may have deleted the element.
    if (click && self)
        emit clicked(m_index);
}

} // namespace vellara::platform
