#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

namespace vellara {

// What the layout file procedures need from the reading table. The main
// window implements it; tests use a recording implementation. Position k's
// "card picture" is the picture on the table, its "face picture" the hidden
// picture that holds the card's face once dealt.
class LayoutTable {
public:
    virtual ~LayoutTable() = default;

    // Positions 1 and up are created and removed; position 0 always exists.
    // A new card picture takes position 0's place and size and is hidden.
    virtual void createPosition(int k) = 0;
    virtual void removePosition(int k) = 0;
    virtual void bringToFront(int k) = 0;
    virtual void setCardTooltip(int k, const QString &text) = 0;
    virtual void setCardVisible(int k, bool visible) = 0;
    virtual void moveCard(int k, float left, float top) = 0;
    // Top-left corner of the card picture, in pixels of the client area.
    virtual QPointF cardPlace(int k) const = 0;
    virtual void setCardDraggable(int k, bool draggable) = 0;

    // Show the card back picture file; false when it cannot be loaded. An
    // empty path clears the picture and succeeds.
    virtual bool showBackInCard(int k, const QString &pictureFile) = 0;
    virtual bool showBackInFace(int k, const QString &pictureFile) = 0;
    virtual bool showBackInLarge(const QString &pictureFile) = 0;

    // The main window's outer place and size, in twips of the screen.
    virtual QRect windowGeometry() const = 0;
    virtual void setWindowGeometry(const QRect &twips) = 0;
    // The client area's size in pixels: with the outer size in twips it
    // gives the ratio a dragged card follows the pointer by.
    virtual QSize clientSize() const = 0;
    virtual void setTitle(const QString &title) = 0;
    virtual void enablePickCards() = 0;
    virtual void disablePickCards() = 0;
    // The "Add Card" and "Remove Card" commands, on only while a named
    // layout is being edited.
    virtual void setPositionCommandsEnabled(bool enabled) = 0;
};

} // namespace vellara
