#pragma once

#include "core/readingtable.h"

#include <QMap>
#include <QStringList>

namespace vellara::test {

// A reading table that keeps what the layout and dealing procedures did to it.
class RecordingTable : public ReadingTable {
public:
    struct Card {
        QString tooltip{}, back{}, face{};  // back: the card picture's file
        bool visible = false, draggable = false, turned = false;
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
    bool showBackInCard(int k, const QString &file) override { return shown(cards[k].back, file); }
    bool showBackInFace(int k, const QString &file) override { return shown(cards[k].face, file, &cards[k].turned); }
    bool showBackInLarge(const QString &file) override { return shown(large, file); }
    QRect windowGeometry() const override { return geometry; }
    void setWindowGeometry(const QRect &twips) override { geometry = twips; }
    QSize clientSize() const override { return {590, 440}; }
    void setTitle(const QString &text) override { title = text; }
    void enablePickCards() override { pickCards = true; }
    void disablePickCards() override { pickCards = false; }
    void setPositionCommandsEnabled(bool) override {}
    int reversalsState() const override { return reversals; }
    // A picture that cannot be read leaves the face as it was.
    bool loadFacePicture(int p, const QString &file, bool turned) override
    {
        return !unloadable.contains(file) && shown(cards[p].face, file, &cards[p].turned, turned);
    }

    QMap<int, Card> cards{{0, Card{.visible = true}}};
    QStringList unloadable;  // picture files that fail to load
    QString large, title = "untitled";
    QRect geometry{100, 200, 9000, 7000};
    bool pickCards = false;
    int reversals = 1;

private:
    bool shown(QString &slot, const QString &file, bool *turned = nullptr, bool turn = false)
    {
        slot = file;
        if (turned)
            *turned = turn;
        return !unloadable.contains(file);
    }
};

} // namespace vellara::test
