#include "layouts/namelayout.h"

#include "layouts/layouteditmode.h"
#include "platform/namefilter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vellara {

Namelayout::Namelayout(LayoutEditMode &editMode, QWidget *parent)
    : QWidget(parent, Qt::Window), m_editMode(editMode)
{
    setObjectName(QStringLiteral("namelayout"));
    setWindowTitle(QStringLiteral("Name for Layout"));

    m_label = new QLabel(QStringLiteral("Enter name for new layout:"), this);
    m_label->setObjectName(QStringLiteral("Label1"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_name->setMaxLength(30);
    m_name->setAccessibleName(m_label->text());
    m_label->setBuddy(m_name);
    // The name becomes a file name: pasted text is filtered like typed keys.
    platform::filterNameBox(m_name);
    m_name->installEventFilter(this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setAccessibleName(m_ok->text());
    // Enter on the focused button presses it.
    m_ok->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &Namelayout::Command1_Click);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(6);
    row->addWidget(m_label);
    row->addWidget(m_name, 1);
    row->addWidget(m_ok);
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14);

    m_name->setFocus();
}

bool Namelayout::eventFilter(QObject *watched, QEvent *event)
{
    // Installed on the name box only.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Enter moves on to OK without pressing it.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_ok->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Namelayout::Command1_Click()
{
    if (m_name->text().isEmpty()) {
        m_name->setFocus();
        return;
    }
    if (m_editMode.nameLayout(m_name->text()))
        close();
}

} // namespace vellara
