#pragma once

#include "carddefs/carddefinitionwindow.h"
#include "decks/cardadderclient.h"

#include <functional>

namespace vellara {

struct CoreState;

// "New card definitions" for the current deck, changed in place; its "Add
// card" opens the card adder. While it is open the reading table's "Pick
// Cards" is off; leaving it ("Exit no Save" or the close box) turns it on
// through enablePickCards.
class Carddefedit : public CardDefinitionWindow, public CardAdderClient {
    Q_OBJECT

public:
    Carddefedit(CoreState &state, std::function<void()> enablePickCards, QWidget *parent = nullptr);
    ~Carddefedit() override;

    void Command6_Click() override;  // "Exit no Save"
    void Command7_Click() override;  // "Add card"

    // CardAdderClient
    void cardAdded(int slot) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    CoreState &m_state;
    std::function<void()> m_enablePickCards;
};

} // namespace vellara
