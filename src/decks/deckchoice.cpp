#include "decks/deckchoice.h"

#include "core/corestate.h"
#include "core/deckfile.h"
#include "core/fixedtext.h"
#include "platform/units.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>

namespace vellara {

using platform::designRect;

DeckChoice::DeckChoice(CoreState &state, const QString &name, const QString &cancelCaption, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Choose Deck"));
    setFixedSize(platform::twipsToPixels(3630), platform::twipsToPixels(1275));

    m_decks = new QComboBox(this);
    m_decks->setObjectName(QStringLiteral("Combo1"));
    m_decks->setGeometry(designRect(360, 240, 1575, 315));
    m_decks->setAccessibleName(QStringLiteral("Deck"));

    // Plain buttons in a plain window: neither Enter nor Escape presses them.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setGeometry(designRect(2280, 120, 1215, 375));

    m_cancel = new QPushButton(cancelCaption, this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setGeometry(designRect(2280, 600, 1215, 375));

    // The tab order is the creation order: the list, OK, Cancel.
    m_ok->setFocus();

    connect(m_ok, &QPushButton::clicked, this, &DeckChoice::OKButton_Click);
    connect(m_cancel, &QPushButton::clicked, this, &DeckChoice::CancelButton_Click);
}

void DeckChoice::Form_Load()
{
    m_decks->clear();
    const DeckRegistry &decks = m_state.settings.decks;
    for (int i = 1; i <= std::min<int>(decks.deckCount, kMaxDeckSlot); ++i)
        m_decks->addItem(trimBlanks(decks.names[i]));
    if (m_decks->count() > 0)
        m_decks->setCurrentIndex(0);
}

void DeckChoice::CancelButton_Click()
{
    close();
}

int DeckChoice::chosenSlot() const
{
    if (m_decks->currentIndex() < 0 || m_decks->currentText().isEmpty())
        return 0;
    return m_decks->currentIndex() + 1;
}

Deckpick::Deckpick(CoreState &state, QWidget *parent)
    : DeckChoice(state, QStringLiteral("deckpick"), QStringLiteral("Cancel"), parent)
{
}

void Deckpick::OKButton_Click()
{
    const int slot = chosenSlot();
    if (slot == 0)
        return;
    LoadDeckByIndex(m_state, qint16(slot));
    // Set even when the deck file is missing and the old deck stays loaded.
    m_state.currentDeckIndex = qint16(slot);
    close();
}

Deckremove::Deckremove(CoreState &state, QWidget *parent)
    : DeckChoice(state, QStringLiteral("deckremove"), QStringLiteral("Exit"), parent)
{
}

void Deckremove::OKButton_Click()
{
    const int k = chosenSlot();
    if (k == 0)
        return;
    DeckRegistry &decks = m_state.settings.decks;
    // The decks behind the removed one move one slot forward; the slot that
    // was last keeps its contents beyond the count.
    for (int j = k; j < std::min<int>(decks.deckCount, kMaxDeckSlot); ++j) {
        decks.names[j] = decks.names[j + 1];
        decks.paths[j] = decks.paths[j + 1];
    }
    --decks.deckCount;
    Form_Load();
}

} // namespace vellara
