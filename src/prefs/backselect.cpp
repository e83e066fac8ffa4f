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
    : QWidget(parent, Qt::Window), m_state(state), m_table(table),
      m_lists(this,
              {designRect(1920, 120, 1935, 2565), designRect(1920, 2760, 1935, 315), designRect(3960, 120, 1815, 2625),
               designRect(3960, 2760, 1815, 315)},
              {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.gif"), QStringLiteral("*.wmf")})
{
    setObjectName(QStringLiteral("backselect"));
    setWindowTitle(QStringLiteral("Cardback Selection"));
    setFixedSize(platform::twipsToPixels(5880), platform::twipsToPixels(3195));

    m_preview = new platform::PictureElement(this);
    m_preview->setObjectName(QStringLiteral("Image1"));
    m_preview->setGeometry(designRect(120, 120, 1695, 2895));
    m_preview->setToolTip(QStringLiteral("Preview of the clicked picture"));

    connect(m_lists.drives, &platform::DriveList::driveChanged, this, &Backselect::Drive1_Change);
    connect(m_lists.folders, &platform::DirectoryList::pathChanged, this, &Backselect::Dir1_Change);
    connect(m_lists.patterns, &QComboBox::currentIndexChanged, this, &Backselect::Combo1_Click);
    connect(m_lists.files, &platform::FileList::fileClicked, this, &Backselect::File1_Click);
    connect(m_lists.files, &platform::FileList::fileDoubleClicked, this, &Backselect::File1_DblClick);
}

void Backselect::Form_Load()
{
    m_lists.patterns->setCurrentIndex(0);
    Combo1_Click();  // the file list already shows the folder list's folder
}

void Backselect::Drive1_Change()
{
    m_lists.changeDrive();
}

void Backselect::Dir1_Change()
{
    m_lists.files->setPath(m_lists.folders->path());
}

void Backselect::Combo1_Click()
{
    m_lists.files->setPattern(m_lists.patterns->currentText());
}

void Backselect::File1_Click(const QString &name)
{
    // A file that is no picture leaves the preview as it was.
    if (const auto picture = platform::Picture::load(platform::joinPath(m_lists.files->path(), name)))
        m_preview->setPicture(*picture);
}

void Backselect::File1_DblClick(const QString &name)
{
    const QString path = platform::joinPath(m_lists.files->path(), name);
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
