#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;

namespace vellara {

struct CoreState;

// "Choose Deck": the installed decks in a pick list, OK and Cancel or Exit.
// Shared by the two windows that act on a chosen deck.
class DeckChoice : public QWidget {
    Q_OBJECT

public:
    void Form_Load();
    virtual void OKButton_Click() = 0;
    void CancelButton_Click();

protected:
    DeckChoice(CoreState &state, const QString &name, const QString &cancelCaption, QWidget *parent);
    // The registry slot of the chosen entry, or 0 when the entry is empty or
    // nothing is chosen: such an entry can be neither loaded nor removed.
    int chosenSlot() const;

    CoreState &m_state;
    QComboBox *m_decks = nullptr;      // Combo1
    QPushButton *m_ok = nullptr;       // OKButton
    QPushButton *m_cancel = nullptr;   // CancelButton
};

// Makes the chosen deck the current one and closes.
class Deckpick : public DeckChoice {
    Q_OBJECT

public:
    explicit Deckpick(CoreState &state, QWidget *parent = nullptr);
    void OKButton_Click() override;
};

// Takes the chosen deck out of the installed decks and stays open.
class Deckremove : public DeckChoice {
    Q_OBJECT

public:
    explicit Deckremove(CoreState &state, QWidget *parent = nullptr);
    void OKButton_Click() override;
};

} // namespace vellara
