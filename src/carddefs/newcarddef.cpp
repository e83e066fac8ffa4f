#include "carddefs/newcarddef.h"

#include "core/corestate.h"
#include "decks/namecards.h"
#include "platform/windowregistry.h"

namespace vellara {

namespace {

CardDefinitionWindow::Design design()
{
    CardDefinitionWindow::Design d;
    d.clientHeight = 4665;
    d.buttons = {QRect(120, 3840, 2175, 375),  QRect(120, 4200, 2175, 375),  QRect(4440, 3840, 2295, 375),
                 QRect(2280, 3840, 2175, 375), QRect(2280, 4200, 2175, 375), QRect(6720, 3840, 1455, 735),
                 QRect(4440, 4200, 2295, 375)};
    d.command7Caption = QStringLiteral("Set deck as current");
    d.cutsPastedMeanings = true;
    d.showsAgainWithoutDeckFile = true;
    return d;
}

} // namespace

Newcarddef::Newcarddef(CoreState &state, QWidget *parent)
    : CardDefinitionWindow(pendingDeckTarget(state), design(), parent), m_state(state)
{
    setObjectName(QStringLiteral("newcarddef"));
}

void Newcarddef::Command6_Click()
{
    platform::WindowRegistry::close(QStringLiteral("newcardset"));
    close();
}

void Newcarddef::Command7_Click()
{
    setPendingDeckAsCurrent(m_state);
}

void Newcarddef::deckSaved()
{
    platform::WindowRegistry::open(QStringLiteral("namecards"), [this] { return new Namecards(m_state); });
}

} // namespace vellara
