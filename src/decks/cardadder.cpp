#include "decks/cardadder.h"

#include "core/corestate.h"
#include "decks/cardadderclient.h"
#include "platform/filelists.h"
#include "platform/message.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/textfile.h"
#include "platform/units.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>

namespace vellara {

using platform::designRect;

Cardadder::Cardadder(CoreState &state, CardAdderClient &client, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_client(client),
      m_lists(this,
              {designRect(1920, 120, 1935, 2565), designRect(1920, 2760, 1935, 315), designRect(3960, 120, 1815, 2625),
               designRect(3960, 2760, 1815, 315)},
              {QStringLiteral("*.jpg"), QStringLiteral("*.gif"), QStringLiteral("*.bmp"), QStringLiteral("*.wmf")})
{
    setObjectName(QStringLiteral("cardadder"));
    setWindowTitle(QStringLiteral("Add card to deck"));
    setFixedSize(platform::twipsToPixels(5880), platform::twipsToPixels(3675));

    m_preview = new platform::PictureElement(this);
    m_preview->setObjectName(QStringLiteral("Image1"));
    m_preview->setGeometry(designRect(120, 120, 1695, 2970));
    m_preview->setToolTip(QStringLiteral("Preview of the clicked picture"));

    m_lists.files->setToolTip(QStringLiteral("Single click to view file, double click to add card to deck."));
    m_lists.files->setAccessibleDescription(m_lists.files->toolTip());

    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("Command1"));
    exit->setGeometry(designRect(2250, 3225, 1140, 390));

    // The drive list, first in the tab order, has the focus when the window opens.

    connect(m_lists.drives, &platform::DriveList::driveChanged, this, &Cardadder::Drive1_Change);
    connect(m_lists.folders, &platform::DirectoryList::pathChanged, this, &Cardadder::Dir1_Change);
    connect(m_lists.patterns, &QComboBox::currentIndexChanged, this, &Cardadder::Combo1_Click);
    connect(m_lists.files, &platform::FileList::fileClicked, this, &Cardadder::File1_Click);
    connect(m_lists.files, &platform::FileList::fileDoubleClicked, this, &Cardadder::File1_DblClick);
    connect(exit, &QPushButton::clicked, this, &Cardadder::Command1_Click);
}

void Cardadder::Form_Load()
{
    {
        const QSignalBlocker quiet(m_lists.patterns);
        m_lists.patterns->setCurrentIndex(0);
    }
    Combo1_Click();
}

void Cardadder::Drive1_Change()
{
    m_lists.changeDrive();
}

void Cardadder::Dir1_Change()
{
    m_lists.files->setPath(m_lists.folders->path());
}

void Cardadder::Combo1_Click()
{
    m_lists.files->setPattern(m_lists.patterns->currentText());
}

void Cardadder::File1_Click(const QString &name)
{
    // A file that is no picture leaves the preview as it was.
    if (const auto picture = platform::Picture::load(platform::joinPath(m_lists.files->path(), name)))
        m_preview->setPicture(*picture);
}

void Cardadder::File1_DblClick(const QString &name)
{
    if (m_state.cardCount >= kCardSlots) {
        platform::showMessage(
            QStringLiteral("The deck holds %1 cards, as many as it can; no card can be added").arg(kCardSlots));
        return;
    }
    const QString &deck = m_state.settings.deckDirectory;
    // A name that is taken gets one more "z" in front until it is free, so
    // that no picture another card uses is overwritten.
    QString target = name;
    while (QFileInfo::exists(platform::joinPath(deck, target)))
        target.prepend(QLatin1Char('z'));
    const QString source = platform::joinPath(m_lists.files->path(), name);
    QString why;
    if (!platform::copyFile(source, platform::joinPath(deck, target), &why)) {
        platform::showMessage(
            QStringLiteral("The picture %1 cannot be copied into the deck folder %2: %3").arg(source, deck, why));
        return;
    }
    const int slot = m_state.cardCount;
    m_state.cards[slot].pictureFile = target;
    m_state.cardCount = qint16(slot + 1);
    m_client.cardAdded(slot);
    close();
}

void Cardadder::Command1_Click()
{
    close();
}

} // namespace vellara
