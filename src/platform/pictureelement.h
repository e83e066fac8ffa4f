#pragma once

#include "platform/picture.h"

#include <QWidget>

namespace vellara::platform {

// A picture stretched to its frame: the card pictures, faces and previews of
// every window. Metafiles are drawn from their vectors at the frame's size in
// device pixels, so they stay sharp on a scaled screen. The tooltip doubles
// as the accessible description, since the picture itself says nothing to a
// screen reader.
class PictureElement : public QWidget {
    Q_OBJECT
public:
    explicit PictureElement(QWidget *parent = nullptr);

    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_picture; }
    void clearPicture() { setPicture(Picture()); }
    // The size the picture is drawn at: the element's, in device pixels.
    QSize deviceSize() const;

    // The element's number in its numbered set, passed with every event.
    void setIndex(int index) { m_index = index; }
    int index() const { return m_index; }

    // A pressable element takes the focus by Tab and shows a focus frame;
    // Space, Enter and a screen reader's press action then click it.
    void setPressable(bool pressable);
    bool isPressable() const { return m_pressable; }
    // Emits clicked(), as a click of the mouse does.
    void press();

signals:
    // A button went down and came up again over the element.
    void clicked(int index);
    // Positions are in pixels of the element.
    void mousePressed(int index, Qt::MouseButton button, QPointF position);
    void mouseMoved(int index, Qt::MouseButtons buttons, QPointF position);
    void mouseReleased(int index, Qt::MouseButton button, QPointF position);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Picture m_picture;
    int m_index = 0;
    bool m_pressed = false;
    bool m_pressable = false;
};

} // namespace vellara::platform
