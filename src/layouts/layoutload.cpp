#include "layouts/layoutload.h"

#include "core/corestate.h"
#include "core/layoutfile.h"
#include "layouts/layoutnames.h"
#include "platform/filelists.h"

#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vellara {

Layoutload::Layoutload(CoreState &state, LayoutTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_table(table)
{
    setObjectName(QStringLiteral("layoutload"));
    setWindowTitle(QStringLiteral("Choose Layout"));

    m_files = new platform::FileList(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setAccessibleName(QStringLiteral("Layout files"));
    m_files->setPattern(QStringLiteral("*.lat"));
    m_files->setPath(QDir::currentPath());

    m_chosen = new QLineEdit(this);
    m_chosen->setObjectName(QStringLiteral("Text1"));
    m_chosen->setAccessibleName(QStringLiteral("Chosen file"));
    m_chosen->setReadOnly(true);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setAutoDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAccessibleName(m_cancel->text());
    m_cancel->setAutoDefault(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(6);
    grid->addWidget(m_chosen, 0, 0);
    grid->addWidget(m_files, 1, 0, 3, 1);
    grid->addWidget(m_ok, 0, 1);
    grid->addWidget(m_cancel, 1, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(3, 1);
    m_files->setMinimumSize(m_files->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14,
                            m_files->fontMetrics().height() * 8);
    setMinimumSize(sizeHint());

    connect(m_files, &platform::FileList::fileClicked, this, &Layoutload::File1_Click);
    // Choosing a file with the arrow keys takes it as a click does.
    connect(m_files, &QListWidget::currentTextChanged, this, [this](const QString &name) {
        if (!name.isEmpty())
            File1_Click(name);
    });
    connect(m_ok, &QPushButton::clicked, this, &Layoutload::OKButton_Click);
    connect(m_cancel, &QPushButton::clicked, this, &Layoutload::CancelButton_Click);
}

void Layoutload::File1_Click(const QString &name)
{
    m_chosen->setText(name);
}

void Layoutload::OKButton_Click()
{
    // No file chosen yet: there is nothing to load.
    if (m_chosen->text().isEmpty())
        return;
    const QString name = layoutNameOfFile(m_chosen->text());
    // Refused before loading, so that what is loaded is always installed.
    if (!roomForLayout(m_state))
        return;
    LoadLayout(m_state, m_table, name);
    // Installed even when the file did not load.
    installLayoutName(m_state, name);
    close();
}

void Layoutload::CancelButton_Click()
{
    close();
}

} // namespace vellara
