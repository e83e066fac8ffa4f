#include "decks/newcardset.h"

#include "core/corestate.h"
#include "platform/filelists.h"
#include "platform/message.h"
#include "platform/units.h"
#include "platform/windowregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace vellara {

using platform::designRect;

namespace {

std::function<QWidget *()> &newcarddefFactory()
{
    static std::function<QWidget *()> make;
    return make;
}

} // namespace

void Newcardset::setNewcarddefFactory(std::function<QWidget *()> make)
{
    newcarddefFactory() = std::move(make);
}

QString newDeckDirectory(const CoreState &state)
{
    if (const auto *import = qobject_cast<Newcardset *>(platform::WindowRegistry::find(QStringLiteral("newcardset"))))
        return import->fileListPath();
    return state.pendingDeck.pictureDirectory;
}

QString newDeckFolderChoice(const CoreState &state)
{
    if (const auto *import = qobject_cast<Newcardset *>(platform::WindowRegistry::find(QStringLiteral("newcardset"))))
        return import->folderListPath();
    return state.pendingDeck.pictureDirectory;
}

Newcardset::Newcardset(CoreState &state, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state),
      m_lists(this,
              {designRect(120, 120, 2415, 3690), designRect(120, 3840, 2415, 315), designRect(2640, 120, 2415, 3600),
               designRect(2640, 3840, 2415, 315)},
              {QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.jpg"), QStringLiteral("*.wmf")},
              QStringLiteral("filelist"))
{
    setObjectName(QStringLiteral("newcardset"));
    setWindowTitle(QStringLiteral("Add Card Sets"));
    setFixedSize(platform::twipsToPixels(9105), platform::twipsToPixels(4260));


    // Each entry's check box is read out with its file name by the view itself.
    m_offered = new QListWidget(this);
    m_offered->setObjectName(QStringLiteral("floppylist"));
    m_offered->setGeometry(designRect(5160, 120, 3855, 3435));
    m_offered->setUniformItemSizes(true);

    m_hint = new QLabel(QStringLiteral("Remove check of unwanted images in list."), this);
    m_hint->setObjectName(QStringLiteral("Label1"));
    m_hint->setGeometry(designRect(5400, 3600, 3015, 375));
    // The buttons overlap the label's lower part; its text sits at the top.
    m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_offered->setAccessibleName(QStringLiteral("Images for the new deck"));
    m_offered->setAccessibleDescription(m_hint->text());

    m_addListed = new QPushButton(QStringLiteral("Add Listed Images"), this);
    m_addListed->setObjectName(QStringLiteral("Command1"));
    m_addListed->setGeometry(designRect(5280, 3840, 1815, 375));

    m_saveList = new QPushButton(QStringLiteral("Save List"), this);
    m_saveList->setObjectName(QStringLiteral("Command2"));
    m_saveList->setGeometry(designRect(7320, 3840, 1575, 375));

    // The drive list, first in the tab order, has the focus when the window opens.
    setTabOrder(m_lists.drives, m_offered);
    setTabOrder(m_offered, m_lists.patterns);
    setTabOrder(m_lists.patterns, m_addListed);
    setTabOrder(m_addListed, m_saveList);
    setTabOrder(m_saveList, m_lists.folders);

    connect(m_lists.drives, &platform::DriveList::driveChanged, this, &Newcardset::Drive1_Change);
    connect(m_lists.folders, &platform::DirectoryList::pathChanged, this, &Newcardset::Dir1_Change);
    connect(m_lists.patterns, &QComboBox::currentIndexChanged, this, &Newcardset::Combo1_Click);
    connect(m_addListed, &QPushButton::clicked, this, &Newcardset::Command1_Click);
    connect(m_saveList, &QPushButton::clicked, this, &Newcardset::Command2_Click);
}

QString Newcardset::fileListPath() const
{
    return m_lists.files->path();
}

QString Newcardset::folderListPath() const
{
    return m_lists.folders->path();
}

void Newcardset::Form_Load()
{
    {
        const QSignalBlocker quiet(m_lists.patterns);
        m_lists.patterns->setCurrentIndex(0);
    }
    Combo1_Click();
}

void Newcardset::Drive1_Change()
{
    m_lists.changeDrive();
}

void Newcardset::Dir1_Change()
{
    m_lists.files->setPath(m_lists.folders->path());
    m_offered->clear();
    for (int k = 0; k < kMaxNewDeckCards; ++k)
        m_state.pendingDeck.pictureFiles[k] = QString();
}

void Newcardset::Combo1_Click()
{
    m_lists.files->setPattern(m_lists.patterns->currentText());
}

void Newcardset::Command1_Click()
{
    const QStringList names = m_lists.files->fileNames();
    if (names.isEmpty()) {
        platform::showMessage(QStringLiteral("No cards in directory selected of type chosen"));
        return;
    }
    // The new names come unticked; the ticks then go to the first entries of
    // the whole list, as many as there are new names.
    m_offered->setUpdatesEnabled(false);
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, m_offered);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    for (int i = 0; i < names.size(); ++i)
        m_offered->item(i)->setCheckState(Qt::Checked);
    m_offered->setUpdatesEnabled(true);
}

void Newcardset::Command2_Click()
{
    PendingDeck &pending = m_state.pendingDeck;
    // A name cut to its 30-character slot would point at a file that does not
    // exist, so such a list is not handed over at all.
    for (int i = 0; i < m_offered->count(); ++i) {
        const QListWidgetItem *item = m_offered->item(i);
        if (item->checkState() == Qt::Checked && item->text().size() > PictureName::width()) {
            platform::showMessage(
                QStringLiteral("The file name %1 is longer than %2 characters; rename the file to use it in a deck")
                    .arg(item->text())
                    .arg(PictureName::width()));
            return;
        }
    }

    // The file list always shows the folder list's folder: this is where the
    // files handed over lie.
    pending.pictureDirectory = m_lists.folders->path();
    int ticked = 0;
    for (int i = 0; i < m_offered->count(); ++i)
        if (m_offered->item(i)->checkState() == Qt::Checked)
            ++ticked;
    if (ticked == 0) {
        platform::showMessage(QStringLiteral("No cards to add to set"));
        return;
    }

    int c = 0;
    for (int i = 0; i < m_offered->count(); ++i) {
        const QListWidgetItem *item = m_offered->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        if (++c > kMaxNewDeckCards) {
            platform::showMessage(QStringLiteral("Please select 100 cards or less"));
            return;
        }
        pending.pictureFiles[c - 1] = item->text();
    }
    pending.cardCount = qint16(c);
    if (const auto &make = newcarddefFactory())
        platform::WindowRegistry::open(QStringLiteral("newcarddef"), make);
}

} // namespace vellara
