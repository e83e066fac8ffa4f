#include "decks/namecards.h"

#include "core/corestate.h"
#include "core/fixedtext.h"
#include "decks/newcardset.h"
#include "platform/message.h"
#include "platform/namefilter.h"
#include "platform/units.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vellara {

using platform::designRect;

Namecards::Namecards(CoreState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("namecards"));
    setWindowTitle(QStringLiteral("Name for Layout"));
    setFixedSize(platform::twipsToPixels(5730), platform::twipsToPixels(525));

    m_label = new QLabel(QStringLiteral("Enter name for new deck:"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setGeometry(designRect(120, 120, 1935, 255));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_name->setGeometry(designRect(2040, 120, 2415, 285));
    m_name->setMaxLength(30);
    m_name->setAccessibleName(m_label->text());
    m_label->setBuddy(m_name);
    m_name->installEventFilter(this);
    platform::filterNameBox(m_name);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setGeometry(designRect(4560, 120, 975, 255));
    connect(m_ok, &QPushButton::clicked, this, &Namecards::Command1_Click);

    m_name->setFocus();
}

bool Namecards::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_name && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Command1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Namecards::Command1_Click()
{
    if (m_name->text().isEmpty()) {
        m_name->setFocus();
        return;
    }
    DeckRegistry &decks = m_state.settings.decks;
    if (decks.deckCount >= kMaxDeckSlot) {
        platform::showMessage(QStringLiteral("No more decks can be installed: %1 decks are installed already. "
                                             "Remove a deck first.")
                                  .arg(kMaxDeckSlot));
        return;
    }
    ++decks.deckCount;
    // A name of blanks only is registered empty.
    decks.names[decks.deckCount] = trimBlanks(m_name->text());
    decks.paths[decks.deckCount] = newDeckDirectory(m_state);
    close();
}

} // namespace vellara
