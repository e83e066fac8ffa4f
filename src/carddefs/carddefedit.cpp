#include "carddefs/carddefedit.h"

#include "core/corestate.h"
#include "decks/cardadder.h"
#include "platform/windowregistry.h"

#include <QScrollBar>

namespace vellara {

namespace {

const QString kCardAdder = QStringLiteral("cardadder");

CardDefinitionWindow::Design design()
{
    CardDefinitionWindow::Design d;
    d.clientHeight = 4695;
    d.buttons = {QRect(75, 3825, 2190, 390),   QRect(75, 4275, 2190, 390),   QRect(4575, 4275, 2115, 390),
                 QRect(2325, 3825, 2190, 390), QRect(2325, 4275, 2190, 390), QRect(6750, 3825, 1515, 840),
                 QRect(4575, 3825, 2115, 390)};
    d.command7Caption = QStringLiteral("Add card");
    return d;
}

} // namespace

Carddefedit::Carddefedit(CoreState &state, std::function<void()> enablePickCards, QWidget *parent)
    : CardDefinitionWindow(currentDeckTarget(state), design(), parent), m_state(state),
      m_enablePickCards(std::move(enablePickCards))
{
    setObjectName(QStringLiteral("carddefedit"));
}

Carddefedit::~Carddefedit()
{
    // The adder reports to this window; it does not outlive it.
    platform::WindowRegistry::close(kCardAdder);
}

void Carddefedit::Command6_Click()
{
    close();
}

void Carddefedit::closeEvent(QCloseEvent *event)
{
    // Dealing is held back only while the deck is being edited, so leaving
    // by the close box turns it on again as "Exit no Save" does.
    if (m_enablePickCards)
        m_enablePickCards();
    CardDefinitionWindow::closeEvent(event);
}

void Carddefedit::Command7_Click()
{
    platform::WindowRegistry::open(kCardAdder, [this] {
        auto *adder = new Cardadder(m_state, *this);
        adder->Form_Load();
        return adder;
    });
}

void Carddefedit::cardAdded(int slot)
{
    setSelectorMaximum(slot);
    // The slider's change handler shows the new card, picture included.
    if (slider()->value() != slot)
        slider()->setValue(slot);
    else
        HScroll1_Change();
}

} // namespace vellara
