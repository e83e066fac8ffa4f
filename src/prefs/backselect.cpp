#include "prefs/backselect.h"

#include "core/corestate.h"
#include "core/layouttable.h"
#include "platform/filelists.h"
#include "platform/message.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/textfile.h"
#include "platform/units.h"

#include <QComboBox>

namespace vellara {

using platform::designRect;

Backselect::Backselect(CoreState &state, LayoutTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_table(table)
{
    setObjectName(QStringLiteral("backselect"));
    setWindowTitle(QStringLiteral("Cardback Selection"));
    setFixedSize(platform::twipsToPixels(5880), platform::twipsToPixels(3195));

    m_preview = new platform::PictureElement(this);
    m_preview->setObjectName(QStringLiteral("Image1"));
    m_preview->setGeometry(designRect(120, 120, 1695, 2895));
    m_preview->setToolTip(QStringLiteral("Preview of the clicked picture"));

    m_folders = new platform::DirectoryList(this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setGeometry(designRect(1920, 120, 1935, 2565));

    m_drives = new platform::DriveList(this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setGeometry(designRect(1920, 2760, 1935, 315));

    m_files = new platform::FileList(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setGeometry(designRect(3960, 120, 1815, 2625));

    m_patterns = new QComboBox(this);
    m_patterns->setObjectName(QStringLiteral("Combo1"));
    m_patterns->setGeometry(designRect(3960, 2760, 1815, 315));
    m_patterns->addItems({QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.gif"),
                          QStringLiteral("*.wmf")});
    m_patterns->setAccessibleName(QStringLiteral("File type"));

    setTabOrder(m_drives, m_files);
    setTabOrder(m_files, m_folders);
    setTabOrder(m_folders, m_patterns);

    connect(m_drives, &platform::DriveList::driveChanged, this, &Backselect::Drive1_Change);
    connect(m_folders, &platform::DirectoryList::pathChanged, this, &Backselect::Dir1_Change);
    connect(m_patterns, &QComboBox::currentIndexChanged, this, &Backselect::Combo1_Click);
    connect(m_files, &platform::FileList::fileClicked, this, &Backselect::File1_Click);
    connect(m_files, &platform::FileList::fileDoubleClicked, this, &Backselect::File1_DblClick);
}

void Backselect::Form_Load()
{
    m_patterns->setCurrentIndex(0);
    Combo1_Click();
    m_files->setPath(m_folders->path());
}

void Backselect::Drive1_Change()
{
    m_folders->setPath(m_drives->drive());
}

void Backselect::Dir1_Change()
{
    m_files->setPath(m_folders->path());
}

void Backselect::Combo1_Click()
{
    m_files->setPattern(m_patterns->currentText());
}

void Backselect::File1_Click(const QString &name)
{
    // A file that is no picture leaves the preview as it was.
    if (const auto picture = platform::Picture::load(platform::joinPath(m_files->path(), name)))
        m_preview->setPicture(*picture);
}

void Backselect::File1_DblClick(const QString &name)
{
    const QString path = platform::joinPath(m_files->path(), name);
    // Taking a file that cannot be shown would put a blank back on every card.
    QString why;
    if (!platform::Picture::load(path, &why)) {
        platform::showMessage(QStringLiteral("The file %1 cannot be shown as a card back: %2").arg(path, why));
        return;
    }
    m_state.settings.cardBackFile = path;
    m_table.showBackInLarge(m_state.settings.cardBackFile);
    close();
}

} // namespace vellara
