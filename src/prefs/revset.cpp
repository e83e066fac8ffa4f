#include "prefs/revset.h"

#include "core/corestate.h"
#include "platform/fonts.h"
#include "platform/units.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace vellara {

using platform::designRect;

Revset::Revset(CoreState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("revset"));
    setWindowTitle(QStringLiteral("Set Reversal"));
    setFixedSize(platform::twipsToPixels(2340), platform::twipsToPixels(1575));

    m_spin = new QScrollBar(Qt::Vertical, this);
    m_spin->setObjectName(QStringLiteral("VScroll1"));
    m_spin->setGeometry(designRect(1320, 720, 255, 255));
    // The minimum is at the top: the upper arrow lowers the number.
    m_spin->setRange(2, 32767);
    m_spin->setPageStep(1);
    m_spin->setAccessibleName(QStringLiteral("Reversal frequency"));
    // First in the tab order and the keyboard's way to change the number.
    m_spin->setFocusPolicy(Qt::StrongFocus);

    m_label = new QLabel(QStringLiteral("Reversal  Frequency of one in:"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setGeometry(designRect(120, 120, 1575, 495));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::fitCaption(m_label);

    m_accept = new QPushButton(QStringLiteral("Accept setting"), this);
    m_accept->setObjectName(QStringLiteral("Command1"));
    m_accept->setGeometry(designRect(120, 1080, 1455, 375));

    // Display only: the value is always taken from the scroll bar.
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("Text1"));
    m_number->setGeometry(designRect(120, 720, 1215, 285));
    m_label->setBuddy(m_number);

    m_spin->setFocus();

    connect(m_spin, &QScrollBar::valueChanged, this, &Revset::VScroll1_Change);
    connect(m_spin, &QScrollBar::sliderMoved, this, &Revset::VScroll1_Change);
    connect(m_accept, &QPushButton::clicked, this, &Revset::Command1_Click);

    Form_Load();
}

void Revset::Form_Load()
{
    if (m_state.settings.reversalFrequency < 2)
        m_state.settings.reversalFrequency = 2;
    m_number->setText(QString::number(m_state.settings.reversalFrequency));
    m_spin->setValue(m_state.settings.reversalFrequency);
}

void Revset::VScroll1_Change()
{
    m_number->setText(QString::number(m_spin->value()));
}

void Revset::Command1_Click()
{
    m_state.settings.reversalFrequency = static_cast<qint16>(m_spin->value());
    close();
}

} // namespace vellara
