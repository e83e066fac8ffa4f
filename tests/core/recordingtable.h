#pragma once

#include "core/readingtable.h"

#include <QMap>
#include <QStringList>

namespace vellara::test {

// A reading table that keeps what the layout and dealing procedures did to it.
class RecordingTable : public ReadingTable {
public:
    struct Card {
        // back: the card picture's file; face: the face's, and " turned" when it is shown upside down
        QString tooltip{}, back{}, face{};
        bool visible = false, draggable = false;
        QPointF place{};
    };

    void createPosition(int k) override { cards[k] = {.place = cards[0].place}; }
    void removePosition(int k) override { cards.remove(k); }
    void bringToFront(int) override {}
    void setCardTooltip(int k, const QString &text) override { cards[k].tooltip = text; }
    void setCardVisible(int k, bool visible) override { cards[k].visible = visible; }
    void moveCard(int k, float left, float top) override { cards[k].place = QPointF(left, top); }
    QPointF cardPlace(int k) const override { return cards.value(k).place; }
    void setCardDraggable(int k, bool draggable) override { cards[k].draggable = draggable; }
    bool showBackInCard(int k, const QString &file) override { return loadable(cards[k].back = file); }
    bool showBackInFace(int k, const QString &file) override { return loadFacePicture(k, file, false); }
    bool showBackInLarge(const QString &file) override { return loadable(large = file); }
    QRect windowGeometry() const override { return geometry; }
    void setWindowGeometry(const QRect &twips) override { geometry = twips; }
    QSize clientSize() const override { return {590, 440}; }
    void setTitle(const QString &text) override { title = text; }
    void enablePickCards() override {}
    void disablePickCards() override {}
    void setPositionCommandsEnabled(bool) override {}
    int reversalsState() const override { return reversals; }
    // A picture that cannot be read leaves the face as it was.
    bool loadFacePicture(int p, const QString &file, bool turned) override
    {
        if (loadable(file))
            cards[p].face = file + (turned ? " turned" : "");
        return loadable(file);
    }

    QMap<int, Card> cards{{0, Card{.visible = true}}};
    QStringList unloadable;  // picture files that fail to load
    QString large, title = "untitled";
    QRect geometry{100, 200, 9000, 7000};
    int reversals = 1;

private:
    bool loadable(const QString &file) const { return !unloadable.contains(file); }
};

} // namespace vellara::test
