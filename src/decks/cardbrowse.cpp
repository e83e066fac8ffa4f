#include "decks/cardbrowse.h"

#include "core/corestate.h"
#include "core/fixedtext.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/sliderkeys.h"
#include "platform/textfile.h"
#include "platform/units.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace vellara {

using platform::designRect;

namespace {

QPlainTextEdit *meaningBox(QWidget *parent, const QString &name, const QRect &place)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setReadOnly(true);
    // Read-only boxes still take the focus, so that a screen reader can read
    // them; not being editable, they let Tab move on.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

} // namespace

Cardbrowse::Cardbrowse(CoreState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("cardbrowse"));
    setWindowTitle(QStringLiteral("Card Browser"));
    setFixedSize(platform::twipsToPixels(7500), platform::twipsToPixels(4095));

    m_picture = new platform::PictureElement(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(designRect(120, 360, 2055, 3435));
    m_picture->setToolTip(QStringLiteral("Card picture"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_name->setGeometry(designRect(120, 0, 2055, 285));
    m_name->setAccessibleName(QStringLiteral("Card name"));

    m_meaning = meaningBox(this, QStringLiteral("Text2"), designRect(2280, 120, 5055, 1695));
    m_meaning->setAccessibleName(QStringLiteral("Upright meaning"));

    m_reversedHeading = new QLabel(QStringLiteral("Reversed"), this);
    m_reversedHeading->setObjectName(QStringLiteral("Label3"));
    m_reversedHeading->setGeometry(designRect(2400, 1920, 2055, 255));

    m_reversed = meaningBox(this, QStringLiteral("Text3"), designRect(2280, 2160, 5055, 1575));
    m_reversedHeading->setBuddy(m_reversed);

    m_slider = new QScrollBar(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("HScroll1"));
    m_slider->setGeometry(designRect(0, 3840, 7455, 255));
    m_slider->setAccessibleName(QStringLiteral("Card"));
    // An arrow moves one card (the usual step), a click in the track seven.
    m_slider->setPageStep(7);
    // First in the tab order, so that the keyboard moves through the deck.
    m_slider->setFocusPolicy(Qt::StrongFocus);
    platform::useForwardKeys(m_slider);

    m_slider->setFocus();

    connect(m_slider, &QScrollBar::valueChanged, this, &Cardbrowse::HScroll1_Change);
    connect(m_slider, &QScrollBar::sliderMoved, this, &Cardbrowse::HScroll1_Scroll);
}

void Cardbrowse::defaultDeckDirectory()
{
    if (m_state.settings.deckDirectory.isEmpty())
        m_state.settings.deckDirectory = QCoreApplication::applicationDirPath();
}

void Cardbrowse::Form_Load()
{
    defaultDeckDirectory();
    const QSignalBlocker quiet(m_slider);
    // An empty deck gives the range 0 to 0: the slider cannot move.
    m_slider->setRange(0, std::max(0, int(m_state.cardCount) - 1));
    m_slider->setValue(0);
    showCard();
}

void Cardbrowse::HScroll1_Change()
{
    defaultDeckDirectory();
    showCard();
}

void Cardbrowse::HScroll1_Scroll()
{
    HScroll1_Change();
}

void Cardbrowse::showCard()
{
    const int i = m_slider->value();
    if (i < 0 || i >= kCardSlots)
        return;
    const CardRecord &card = m_state.cards[i];
    // A picture that cannot be read leaves the one shown before.
    const QString file = platform::joinPath(m_state.settings.deckDirectory, trimTrailingBlanks(card.pictureFile));
    if (const auto picture = platform::Picture::load(file))
        m_picture->setPicture(*picture);
    m_name->setText(card.name.text());
    m_name->setCursorPosition(0);
    m_meaning->setPlainText(card.meaning);
    m_reversed->setPlainText(card.reversedMeaning);
}

} // namespace vellara
