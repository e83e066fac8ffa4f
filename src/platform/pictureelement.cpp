#include "platform/pictureelement.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace vellara::platform {

namespace {

// What a screen reader sees of a picture element: a graphic, or a button
// with a press action when the element is pressable.
class AccessiblePicture : public QAccessibleWidget {
public:
    explicit AccessiblePicture(PictureElement *element)
        : QAccessibleWidget(element, QAccessible::Graphic)
    {
    }

    QAccessible::Role role() const override
    {
        return element()->isPressable() ? QAccessible::Button : QAccessible::Graphic;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (element()->isPressable() && element()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &name) override
    {
        if (name == pressAction() && element()->isPressable() && element()->isEnabled())
            element()->press();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    PictureElement *element() const { return static_cast<PictureElement *>(widget()); }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("vellara::platform::PictureElement") && object && object->isWidgetType())
        return new AccessiblePicture(static_cast<PictureElement *>(object));
    return nullptr;
}

} // namespace

PictureElement::PictureElement(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
    setAccessibleName(tr("Picture"));
}

QSize PictureElement::deviceSize() const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio)));
}

void PictureElement::setPressable(bool pressable)
{
    m_pressable = pressable;
    // By Tab only: a click must not move the focus from where the user left it.
    setFocusPolicy(pressable ? Qt::TabFocus : Qt::NoFocus);
}

void PictureElement::press()
{
    emit clicked(m_index);
}

void PictureElement::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_pressable && !event->isAutoRepeat()
        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        press();
        return;
    }
    QWidget::keyPressEvent(event);
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
    if (m_picture.isNull() && !hasFocus())
        return;
    const qreal ratio = devicePixelRatioF();
    QImage image = m_picture.render(deviceSize());
    QPainter painter(this);
    if (!image.isNull()) {
        image.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(0, 0), image);
    }
    if (hasFocus()) {
        // The style's own focus frame is a thin line that vanishes on a dark
        // card: a band of the highlight colour edged in white shows on any.
        const QRectF band = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawRect(band);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(band.adjusted(2, 2, -2, -2));
    }
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
