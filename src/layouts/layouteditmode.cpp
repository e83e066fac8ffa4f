#include "layouts/layouteditmode.h"

#include "core/corestate.h"
#include "core/fixedtext.h"
#include "core/layoutfile.h"
#include "core/layouttable.h"
#include "layouts/layoutnames.h"
#include "platform/message.h"

#include <algorithm>
#include <cmath>

namespace vellara {

namespace {

// Where a new position's card is put, in pixels of the client area.
constexpr float kNewCardLeft = 325;
constexpr float kNewCardTop = 25;

qint16 gripOffset(double coordinate)
{
    // Halves go to the even number, as the default rounding mode does.
    const double whole = std::nearbyint(coordinate);
    return qint16(std::clamp(whole, -32768.0, 32767.0));
}

} // namespace

LayoutEditMode::LayoutEditMode(CoreState &state, LayoutTable &table) : m_state(state), m_table(table) {}

LayoutEditMode::Phase LayoutEditMode::phase() const
{
    if (!m_state.editing.layoutEditMode)
        return Phase::Normal;
    return m_named ? Phase::EditingNamed : Phase::EditingUnnamed;
}

void LayoutEditMode::editLayout()
{
    m_table.disablePickCards();
    m_state.editing.layoutEditMode = true;
    if (!m_table.showBackInLarge(m_state.settings.cardBackFile))
        m_table.showBackInLarge(QString());
}

bool LayoutEditMode::nameLayout(const QString &typed)
{
    const QString name = trimBlanks(typed);
    if (!installLayoutName(m_state, name))
        return false;
    m_table.setPositionCommandsEnabled(true);
    m_named = true;
    m_state.settings.layoutName = name;
    for (int k = 0; k < m_state.layout.positionCount; ++k) {
        showBackOnCard(k);
        showBackOnFace(k);
    }
    return true;
}

void LayoutEditMode::addCard()
{
    qint16 &count = m_state.layout.positionCount;
    if (count >= kPositionSlots) {
        platform::showMessage(QStringLiteral("A layout holds at most %1 cards.").arg(kPositionSlots));
        return;
    }
    ++count;
    const int k = count - 1;
    // The slot's meaning is kept: a position removed and added again gets it back.
    m_table.createPosition(k);
    m_table.bringToFront(k);
    m_table.moveCard(k, kNewCardLeft, kNewCardTop);
    m_table.setCardVisible(k, true);
    showBackOnCard(k);
    m_table.setCardTooltip(k, QStringLiteral("Card ") + QString::number(count));
}

void LayoutEditMode::removeCard()
{
    qint16 &count = m_state.layout.positionCount;
    if (count <= 1) {
        platform::showMessage(QStringLiteral("You can not have a layout with no cards"));
        return;
    }
    m_table.removePosition(count - 1);
    --count;
}

void LayoutEditMode::saveLayout()
{
    // A layout that cannot be written stays in edit mode, so nothing is lost.
    if (!SaveLayout(m_state, m_table))
        return;
    m_state.editing.layoutEditMode = false;
    m_named = false;
    m_table.setPositionCommandsEnabled(false);
}

void LayoutEditMode::mouseDown(int, QPointF at)
{
    LayoutEditState &editing = m_state.editing;
    editing.dragActive = true;
    editing.dragOffsetX = gripOffset(at.x());
    editing.dragOffsetY = gripOffset(at.y());
}

void LayoutEditMode::mouseMove(int k, QPointF at)
{
    const LayoutEditState &editing = m_state.editing;
    if (!editing.dragActive || !editing.layoutEditMode)
        return;
    if (k < 0 || k >= m_state.layout.positionCount)
        return;
    const QRect outer = m_table.windowGeometry();
    const QSize inner = m_table.clientSize();
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    // Inner pixels over outer twips: the card moves by about a fifteenth of
    // the pointer's distance from its grip point, and so trails the pointer.
    const float rW = float(inner.width()) / float(outer.width());
    const float rH = float(inner.height()) / float(outer.height());
    const QPointF place = m_table.cardPlace(k);
    const float x = float(at.x());
    const float y = float(at.y());
    const float left = float(place.x()) + x * rW - float(editing.dragOffsetX) * rW;
    const float top = float(place.y()) + y * rH - float(editing.dragOffsetY) * rH;
    m_table.moveCard(k, left, top);
}

void LayoutEditMode::mouseUp(int)
{
    m_state.editing.dragActive = false;
}

void LayoutEditMode::showBackOnCard(int k)
{
    if (!m_table.showBackInCard(k, m_state.settings.cardBackFile))
        m_table.showBackInCard(k, QString());
}

void LayoutEditMode::showBackOnFace(int k)
{
    if (!m_table.showBackInFace(k, m_state.settings.cardBackFile))
        m_table.showBackInFace(k, QString());
}

} // namespace vellara
