#pragma once

#include "core/readingtable.h"

#include <QMap>
#include <QStringList>

namespace vellara::test {

// A reading table that keeps what the layout procedures did to it.
class RecordingTable : public ReadingTable {
public:
    struct Card {
        QString tooltip;
        bool visible = true;
        bool draggable = false;
        QPointF place;
        QString cardPicture;
        QString facePicture;
        bool faceTurned = false;
    };

    RecordingTable() { cards[0] = Card{}; }

    void createPosition(int k) override
    {
        log << QStringLiteral("create %1").arg(k);
        Card card;
        card.place = cards.value(0).place;
        card.visible = false;
        cards[k] = card;
    }
    void removePosition(int k) override
    {
        log << QStringLiteral("remove %1").arg(k);
        cards.remove(k);
    }
    void bringToFront(int k) override
    {
        stacking.removeAll(k);
        stacking.append(k);
    }
    void setCardTooltip(int k, const QString &text) override { cards[k].tooltip = text; }
    void setCardVisible(int k, bool visible) override { cards[k].visible = visible; }
    void moveCard(int k, float left, float top) override { cards[k].place = QPointF(left, top); }
    QPointF cardPlace(int k) const override { return cards.value(k).place; }
    void setCardDraggable(int k, bool draggable) override { cards[k].draggable = draggable; }
    bool showBackInCard(int k, const QString &file) override
    {
        cards[k].cardPicture = file;
        return !unloadable.contains(file);
    }
    bool showBackInFace(int k, const QString &file) override
    {
        cards[k].facePicture = file;
        cards[k].faceTurned = false;
        return !unloadable.contains(file);
    }
    bool showBackInLarge(const QString &file) override
    {
        largePicture = file;
        return !unloadable.contains(file);
    }
    QRect windowGeometry() const override { return geometry; }
    void setWindowGeometry(const QRect &twips) override { geometry = twips; }
    void setTitle(const QString &text) override { title = text; }
    QSize clientSize() const override { return client; }
    void enablePickCards() override { pickCardsEnabled = true; }
    void disablePickCards() override { pickCardsEnabled = false; }
    void setPositionCommandsEnabled(bool enabled) override { positionCommandsEnabled = enabled; }
    int reversalsState() const override { return reversals; }
    bool loadFacePicture(int p, const QString &file, bool turned) override
    {
        if (unloadable.contains(file))
            return false;
        cards[p].facePicture = file;
        cards[p].faceTurned = turned;
        return true;
    }

    QMap<int, Card> cards;
    QList<int> stacking;
    QStringList log;
    QStringList unloadable;  // picture files that fail to load
    QString largePicture;
    QRect geometry{100, 200, 9000, 7000};
    QString title = QStringLiteral("untitled");
    QSize client{590, 440};
    bool pickCardsEnabled = false;
    bool positionCommandsEnabled = false;
    int reversals = 1;
};

} // namespace vellara::test
