#pragma once

#include "carddefs/carddefinitionwindow.h"

namespace vellara {

struct CoreState;

// "New card definitions" for the deck being created: opened by the card set
// import's "Save List", it writes the new deck's file and has it named.
class Newcarddef : public CardDefinitionWindow {
    Q_OBJECT

public:
    explicit Newcarddef(CoreState &state, QWidget *parent = nullptr);

    void Command6_Click() override;  // "Exit no Save"
    void Command7_Click() override;  // "Set deck as current"

protected:
    void deckSaved() override;

private:
    CoreState &m_state;
};

} // namespace vellara
