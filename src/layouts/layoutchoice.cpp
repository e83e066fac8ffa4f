#include "layouts/layoutchoice.h"

#include "core/corestate.h"
#include "core/fixedtext.h"
#include "core/layoutfile.h"
#include "layouts/layoutnames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include <algorithm>

namespace vellara {

LayoutChoice::LayoutChoice(CoreState &state, const QString &name, const QString &title,
                           const QString &cancelCaption, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(name);
    setWindowTitle(title);

    m_layouts = new QComboBox(this);
    m_layouts->setObjectName(QStringLiteral("Combo1"));
    m_layouts->setAccessibleName(QStringLiteral("Layout"));
    m_layouts->setMinimumContentsLength(16);
    m_layouts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setAutoDefault(true);

    m_cancel = new QPushButton(cancelCaption, this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAccessibleName(m_cancel->text());
    m_cancel->setAutoDefault(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(6);
    grid->addWidget(m_layouts, 0, 0, Qt::AlignTop);
    grid->addWidget(m_ok, 0, 1);
    grid->addWidget(m_cancel, 1, 1);
    grid->setColumnStretch(0, 1);

    // The tab order is the creation order: the list, OK, Cancel; the list
    // has the focus first.

    connect(m_ok, &QPushButton::clicked, this, &LayoutChoice::OKButton_Click);
    connect(m_cancel, &QPushButton::clicked, this, &LayoutChoice::CancelButton_Click);
}

void LayoutChoice::Form_Load()
{
    m_layouts->clear();
    const LayoutRegistry &layouts = m_state.settings.layouts;
    for (int i = 1; i <= std::min<int>(layouts.layoutCount, kMaxLayoutSlot); ++i)
        m_layouts->addItem(trimBlanks(layouts.names[i]), i - 1); // the first added becomes current
}

void LayoutChoice::CancelButton_Click()
{
    close();
}

int LayoutChoice::chosenIndex() const
{
    if (m_layouts->currentIndex() < 0 || m_layouts->currentText().isEmpty())
        return -1;
    return m_layouts->currentIndex();
}

Layoutpick::Layoutpick(CoreState &state, LayoutTable &table, QWidget *parent)
    : LayoutChoice(state, QStringLiteral("layoutpick"), QStringLiteral("Choose Layout"), QStringLiteral("Cancel"),
                   parent),
      m_table(table)
{
}

void Layoutpick::OKButton_Click()
{
    if (chosenIndex() < 0)
        return;
    const QString name = m_layouts->currentText();
    m_state.settings.layoutName = name;
    LoadLayout(m_state, m_table, name);
    close();
}

Removelay::Removelay(CoreState &state, QWidget *parent)
    : LayoutChoice(state, QStringLiteral("removelay"), QStringLiteral("Choose Layout to remove"),
                   QStringLiteral("Exit"), parent)
{
}

void Removelay::OKButton_Click()
{
    const int index = chosenIndex();
    if (index < 0)
        return;
    removeLayoutSlot(m_state, m_layouts->itemData(index).toInt() + 1);
    Form_Load();
}

} // namespace vellara
