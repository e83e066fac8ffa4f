#include "reading/celtic.h"

#include "core/corestate.h"
#include "core/dealing.h"
#include "core/deckfile.h"
#include "core/layoutfile.h"
#include "core/settingsfile.h"
#include "platform/message.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/random.h"
#include "platform/units.h"
#include "platform/windowregistry.h"
#include "carddefs/carddefedit.h"
#include "carddefs/newcarddef.h"
#include "decks/cardbrowse.h"
#include "decks/deckchoice.h"
#include "decks/newcardset.h"
#include "layouts/layoutchoice.h"
#include "layouts/layouteditmode.h"
#include "layouts/layoutload.h"
#include "layouts/namelayout.h"
#include "layouts/positionedit.h"
#include "prefs/backselect.h"
#include "prefs/revset.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace vellara {

using platform::designRect;
using platform::PictureElement;

namespace {

// The client area's designed size, used until a layout gives the window its own.
constexpr int kDesignClientWidth = 9390;
constexpr int kDesignClientHeight = 6375;

// Opens a window through the registry, running its load handler once when it is built.
template <typename Window>
void openLoaded(const QString &name, CoreState &state)
{
    platform::WindowRegistry::open(name, [&state] {
        auto *window = new Window(state);
        window->Form_Load();
        return window;
    });
}

const QRect kCardPictureRect = designRect(6750, 900, 585, 1065);
const QRect kFacePictureRect = designRect(480, 840, 1740, 3195);

// The text boxes are designed for Courier New; a system without it gets the
// nearest fixed-width font.
QFont meaningFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    return font;
}

// The windows that act on the table through a reference to it.
const char *const kTableWindows[] = {"backselect", "layoutpick", "layoutload", "namelayout", "removelay",
                                     "positionedit"};

} // namespace

Celtic::Celtic(CoreState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_editMode(std::make_unique<LayoutEditMode>(state, *this))
{
    setObjectName(QStringLiteral("celtic"));
    setWindowTitle(QLatin1String(kTitlePrefix));
    buildControls();
    buildMenus();
    // "Save List" of the card set import opens the new deck's definitions.
    Newcardset::setNewcarddefFactory([&state] {
        auto *window = new Newcarddef(state);
        window->Form_Load();
        return window;
    });
    resize(platform::twipsToPixels(kDesignClientWidth),
           platform::twipsToPixels(kDesignClientHeight) + menuBar()->sizeHint().height());
}

Celtic::~Celtic()
{
    // They would be left holding a table that is gone.
    for (const char *name : kTableWindows)
        platform::WindowRegistry::close(QString::fromLatin1(name));
    Newcardset::setNewcarddefFactory({});
}

void Celtic::buildControls()
{
    auto *table = new QWidget(this);
    table->setObjectName(QStringLiteral("table"));
    setCentralWidget(table);

    auto button = [table](const QString &name, const QString &caption, const QRect &place) {
        auto *b = new QPushButton(caption, table);
        b->setObjectName(name);
        b->setGeometry(place);
        return b;
    };
    auto check = [table](const QString &name, const QString &caption, const QRect &place) {
        auto *c = new QCheckBox(caption, table);
        c->setObjectName(name);
        c->setGeometry(place);
        return c;
    };
    auto label = [table](const QString &name, const QString &caption, const QRect &place) {
        auto *l = new QLabel(caption, table);
        l->setObjectName(name);
        l->setGeometry(place);
        return l;
    };
    auto textBox = [table](const QString &name, const QString &text, const QRect &place) {
        auto *t = new QPlainTextEdit(text, table);
        t->setObjectName(name);
        t->setGeometry(place);
        t->setFont(meaningFont());
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        t->setTabChangesFocus(true);
        return t;
    };

    m_browseCards = button(QStringLiteral("Command2"), QStringLiteral("Browse Cards"), designRect(2400, 0, 1155, 255));
    m_pickCards = button(QStringLiteral("Command1"), QStringLiteral("Pick Cards"), designRect(3525, 0, 1155, 255));
    m_reversals = check(QStringLiteral("Check1"), QStringLiteral("Reversals"), designRect(4725, 0, 1305, 255));
    m_reversals->setChecked(true);
    m_randomLayout = check(QStringLiteral("Check2"), QStringLiteral("Random Layout"), designRect(6000, 0, 1665, 240));
    m_randomDeck = check(QStringLiteral("Check3"), QStringLiteral("Random Deck"), designRect(7725, 0, 1590, 240));

    QLabel *cardHeading = label(QStringLiteral("Label2"), QStringLiteral("Card Meaning"), designRect(750, 75, 1215, 255));
    m_cardMeaning = textBox(QStringLiteral("Text2"), QString(), designRect(0, 300, 2895, 3090));
    cardHeading->setBuddy(m_cardMeaning);
    QLabel *positionHeading =
        label(QStringLiteral("Label3"), QStringLiteral("Position Meaning"), designRect(720, 3450, 1815, 255));
    m_positionMeaning = textBox(QStringLiteral("Text1"), QStringLiteral("Welcome to Vellara"),
                                designRect(0, 3675, 4695, 2700));
    positionHeading->setBuddy(m_positionMeaning);
    // The boxes would take Ctrl+Z, Ctrl+A and Ctrl+Y as undo, select all and redo.
    m_cardMeaning->installEventFilter(this);
    m_positionMeaning->installEventFilter(this);

    m_large = new PictureElement(table);
    m_large->setObjectName(QStringLiteral("Image1"));
    m_large->setGeometry(designRect(2925, 300, 1740, 3195));
    m_large->setAccessibleName(QStringLiteral("Card turned up last"));

    m_cards.append(makeCardPicture(0));
    m_cards[0]->setToolTip(QStringLiteral("Card 1"));  // shown with the window
    m_faces.append(makeFacePicture(0));
    m_places.append(kCardPictureRect.topLeft());

    connect(m_pickCards, &QPushButton::clicked, this, &Celtic::Command1_Click);
    connect(m_browseCards, &QPushButton::clicked, this, &Celtic::Command2_Click);
}

PictureElement *Celtic::makeCardPicture(int k)
{
    auto *card = new PictureElement(centralWidget());
    card->setObjectName(QStringLiteral("Image2_%1").arg(k));
    card->setIndex(k);
    // A new card picture takes the first one's place and size.
    // Made on a table already shown, it stays hidden until setCardVisible.
    card->setGeometry(m_cards.isEmpty() ? kCardPictureRect : m_cards[0]->geometry());
    card->setPressable(true);
    connect(card, &PictureElement::clicked, this, &Celtic::Image2_Click);
    connect(card, &PictureElement::mousePressed, this,
            [this](int index, Qt::MouseButton, QPointF position) { Image2_MouseDown(index, position); });
    connect(card, &PictureElement::mouseMoved, this,
            [this](int index, Qt::MouseButtons, QPointF position) { Image2_MouseMove(index, position); });
    connect(card, &PictureElement::mouseReleased, this,
            [this](int index, Qt::MouseButton, QPointF) { Image2_MouseUp(index); });
    return card;
}

PictureElement *Celtic::makeFacePicture(int k)
{
    auto *face = new PictureElement(centralWidget());
    face->setObjectName(QStringLiteral("Image3_%1").arg(k));
    face->setIndex(k);
    face->setGeometry(kFacePictureRect);
    face->hide();  // holds the face until the card is turned; never shown
    return face;
}

QAction *Celtic::addCommand(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    if (menu)
        menu->addAction(action);
    else
        menuBar()->addAction(action);
    return action;
}

void Celtic::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto menu = [bar](const QString &name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(name);
        return m;
    };

    QMenu *file = menu(QStringLiteral("file"), QStringLiteral("File"));
    connect(addCommand(file, QStringLiteral("save"), QStringLiteral("Save Settings"), QKeySequence(QStringLiteral("Ctrl+S"))),
            &QAction::triggered, this, &Celtic::save_Click);
    connect(addCommand(file, QStringLiteral("saveandexit"), QStringLiteral("Save and Exit"),
                       QKeySequence(QStringLiteral("Ctrl+Z"))),
            &QAction::triggered, this, &Celtic::saveandexit_Click);
    connect(addCommand(file, QStringLiteral("exit"), QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+Y"))),
            &QAction::triggered, this, &Celtic::exit_Click);

    // The windows these open come with their own parts of the program; until
    // a window exists its command opens nothing.
    QMenu *decks = menu(QStringLiteral("decks"), QStringLiteral("Decks"));
    connect(addCommand(decks, QStringLiteral("loaddeck"), QStringLiteral("Load Deck")), &QAction::triggered, this,
            [this] { openLoaded<Deckpick>(QStringLiteral("deckpick"), m_state); });
    connect(addCommand(decks, QStringLiteral("addcards"), QStringLiteral("Add Deck"), QKeySequence(QStringLiteral("Ctrl+A"))),
            &QAction::triggered, this, [this] { openLoaded<Newcardset>(QStringLiteral("newcardset"), m_state); });
    connect(addCommand(decks, QStringLiteral("removedeck"), QStringLiteral("Remove Deck")), &QAction::triggered, this,
            [this] { openLoaded<Deckremove>(QStringLiteral("deckremove"), m_state); });
    connect(addCommand(decks, QStringLiteral("changecarddef"), QStringLiteral("Change Card Definitions")),
            &QAction::triggered, this, &Celtic::changecarddef_Click);
    connect(addCommand(decks, QStringLiteral("changeback"), QStringLiteral("Change Card Backs"),
                       QKeySequence(QStringLiteral("Ctrl+B"))),
            &QAction::triggered, this, [this] {
                platform::WindowRegistry::open(QStringLiteral("backselect"), [this] {
                    auto *window = new Backselect(m_state, *this);
                    window->Form_Load();
                    return window;
                });
            });

    QMenu *layouts = menu(QStringLiteral("layouts"), QStringLiteral("Layouts"));
    connect(addCommand(layouts, QStringLiteral("loadlayout"), QStringLiteral("Load Layout")), &QAction::triggered,
            this, [this] {
                platform::WindowRegistry::open(QStringLiteral("layoutpick"), [this] {
                    auto *window = new Layoutpick(m_state, *this);
                    window->Form_Load();
                    return window;
                });
            });
    connect(addCommand(layouts, QStringLiteral("loadlayoutfile"), QStringLiteral("Load layout from file")),
            &QAction::triggered, this, [this] {
                platform::WindowRegistry::open(QStringLiteral("layoutload"),
                                               [this] { return new Layoutload(m_state, *this); });
            });
    connect(addCommand(layouts, QStringLiteral("removelayout"), QStringLiteral("Remove Layout")),
            &QAction::triggered, this, [this] { openLoaded<Removelay>(QStringLiteral("removelay"), m_state); });
    connect(addCommand(layouts, QStringLiteral("savelayout"), QStringLiteral("Save Current Layout")),
            &QAction::triggered, this, &Celtic::savelayout_Click);
    connect(addCommand(layouts, QStringLiteral("layoutchange"), QStringLiteral("Change Layout Definitions")),
            &QAction::triggered, this, [this] {
                platform::WindowRegistry::open(QStringLiteral("positionedit"), [this] {
                    auto *window = new Positionedit(m_state, *this);
                    window->Form_Load();
                    return window;
                });
            });
    connect(addCommand(layouts, QStringLiteral("layoutedit"), QStringLiteral("Edit Layout")), &QAction::triggered,
            this, &Celtic::layoutedit_Click);

    connect(addCommand(nullptr, QStringLiteral("setreversals"), QStringLiteral("Reversal Frequency")),
            &QAction::triggered, this, [this] {
                platform::WindowRegistry::open(QStringLiteral("revset"), [this] { return new Revset(m_state); });
            });
    m_removeCard = addCommand(nullptr, QStringLiteral("removecard"), QStringLiteral("Remove Card"));
    m_removeCard->setEnabled(false);
    connect(m_removeCard, &QAction::triggered, this, &Celtic::removecard_Click);
    m_addCard = addCommand(nullptr, QStringLiteral("AddCard"), QStringLiteral("Add Card"));
    m_addCard->setEnabled(false);
    connect(m_addCard, &QAction::triggered, this, &Celtic::AddCard_Click);
}

void Celtic::Form_Load()
{
    ReadSettingsFile(m_state);
    LoadLayout(m_state, *this, m_state.settings.layoutName);
    showBackInLarge(m_state.settings.cardBackFile);
    if (!m_state.settings.deckDirectory.isEmpty())
        LoadDeckFromDirectory(m_state, m_state.settings.deckDirectory);
    else
        LoadDeckByIndex(m_state, 0);
    setTitle(QLatin1String(kTitlePrefix) + m_state.settings.layoutName);
}

void Celtic::Command1_Click()
{
    platform::RandomGenerator &random = platform::randomGenerator();
    ProgramSettings &settings = m_state.settings;
    random.reseed();
    if (m_randomLayout->checkState() == Qt::Checked) {
        const int k = std::clamp(int(std::floor(random.next() * settings.layouts.layoutCount + 1)), 1, kMaxLayoutSlot);
        LoadLayout(m_state, *this, trimBlanks(settings.layouts.names[k]));
    }
    if (m_randomDeck->checkState() == Qt::Checked) {
        const int slot = std::clamp(int(std::floor(random.next() * settings.decks.deckCount + 1)), 1, kMaxDeckSlot);
        m_state.currentDeckIndex = static_cast<qint16>(slot);
        LoadDeckByIndex(m_state, m_state.currentDeckIndex);
    }
    if (m_state.layout.positionCount > m_state.cardCount) {
        platform::showMessage(QStringLiteral("There are more cards needed for the loaded layout than is in this deck"));
        return;
    }
    for (qsizetype k = 0; k < std::min<qsizetype>(m_state.layout.positionCount, m_cards.size()); ++k)
        showBackInCard(int(k), settings.cardBackFile);
    DealReading(m_state, *this, random);
    m_positionMeaning->clear();
    m_cardMeaning->clear();
    drawFacesAhead();
}

void Celtic::drawFacesAhead()
{
    // At the sizes a click shows them: on the table and large.
    QList<platform::PictureAhead::Job> jobs;
    for (qsizetype k = 0; k < std::min<qsizetype>(m_state.layout.positionCount, m_faces.size()); ++k) {
        const platform::Picture face = m_faces[k]->picture();
        if (face.isNull())
            continue;
        jobs.append({face, m_cards[k]->deviceSize()});
        jobs.append({face, m_large->deviceSize()});
    }
    m_facesAhead.drawAhead(std::move(jobs));
}

void Celtic::Command2_Click()
{
    platform::WindowRegistry::open(QStringLiteral("cardbrowse"), [this] {
        auto *window = new Cardbrowse(m_state);
        window->Form_Load();
        return window;
    });
}

void Celtic::Image2_Click(int index)
{
    if (index < 0 || index >= m_cards.size() || index >= kPositionSlots)
        return;
    const platform::Picture face = m_faces[index]->picture();
    m_large->setPicture(face);
    m_cards[index]->setPicture(face);
    m_positionMeaning->setPlainText(m_state.layout.positions[index].meaning);
    // The card texts keep the file's CR LF line breaks; the box breaks on LF.
    m_cardMeaning->setPlainText(QString(m_state.reading.cardTexts[index].text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void Celtic::changecarddef_Click()
{
    platform::WindowRegistry::open(QStringLiteral("carddefedit"), [this] {
        auto *window = new Carddefedit(m_state, [table = QPointer<Celtic>(this)] {
            if (table)
                table->enablePickCards();
        });
        window->Form_Load();
        return window;
    });
    m_pickCards->setEnabled(false);
}

void Celtic::save_Click()
{
    WriteSettingsFile(m_state);
}

void Celtic::saveandexit_Click()
{
    // Ending after a failed save would lose the settings the user meant to keep.
    if (WriteSettingsFile(m_state))
        exit_Click();
}

void Celtic::exit_Click()
{
    if (m_exiting)
        return;
    m_exiting = true;
    for (const char *name : {"backselect", "cardbrowse", "newcarddef", "newcardset", "revset"})
        platform::WindowRegistry::close(QString::fromLatin1(name));
    for (int k = int(m_cards.size()) - 1; k >= 1; --k)
        removePosition(k);
    close();
    emit programEnded();
}

void Celtic::savelayout_Click()
{
    m_editMode->saveLayout();
}

void Celtic::layoutedit_Click()
{
    platform::WindowRegistry::open(QStringLiteral("namelayout"), [this] { return new Namelayout(*m_editMode); });
    m_editMode->editLayout();
}

void Celtic::AddCard_Click()
{
    m_editMode->addCard();
}

void Celtic::removecard_Click()
{
    m_editMode->removeCard();
}

void Celtic::Image2_MouseDown(int index, QPointF position)
{
    m_editMode->mouseDown(index, position);
}

void Celtic::Image2_MouseMove(int index, QPointF position)
{
    m_editMode->mouseMove(index, position);
}

void Celtic::Image2_MouseUp(int index)
{
    m_editMode->mouseUp(index);
}

bool Celtic::eventFilter(QObject *watched, QEvent *event)
{
    // The menu's shortcuts run their commands wherever the focus is: the text
    // boxes claim no key before them. A key no shortcut takes still reaches
    // the box as a key press.
    if (event->type() == QEvent::ShortcutOverride)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void Celtic::closeEvent(QCloseEvent *event)
{
    // Closing by the frame ends the program as "Exit" does.
    if (!m_exiting)
        exit_Click();
    event->accept();
}

void Celtic::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // A layout loaded before the window was first shown is placed again now
    // that the window exists; later shows (after minimising, say) keep where
    // the user put it.
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (m_frameUnknown)
            applyWindowGeometry();
    }
}

// QWidget's own move and resize handlers do nothing; QMainWindow has none.
void Celtic::moveEvent(QMoveEvent *)
{
    catchUpWithFrame();
}

void Celtic::resizeEvent(QResizeEvent *)
{
    catchUpWithFrame();
}

void Celtic::catchUpWithFrame()
{
    // A window manager puts its frame round the window some time after it is
    // shown. The layout's size is the outer one, so the inner size is fitted
    // once the frame is known, and never again.
    if (m_frameUnknown && m_shownOnce && frameGeometry() != geometry())
        applyWindowGeometry();
}

void Celtic::createPosition(int k)
{
    if (k < 1 || k >= kPositionSlots)
        return;
    while (m_cards.size() <= k) {
        const int n = int(m_cards.size());
        m_cards.append(makeCardPicture(n));
        // Tab goes through the cards in position order.
        setTabOrder(m_cards[n - 1], m_cards[n]);
        m_faces.append(makeFacePicture(n));
        m_places.append(m_cards[0]->pos());
    }
}

void Celtic::removePosition(int k)
{
    if (k < 1)  // the first position always stays
        return;
    // Pictures are numbered by position, so only the last can go without renumbering.
    while (m_cards.size() > k) {
        delete m_cards.takeLast();
        delete m_faces.takeLast();
        m_places.removeLast();
    }
}

void Celtic::bringToFront(int k)
{
    if (PictureElement *card = m_cards.value(k))
        card->raise();
}

void Celtic::setCardTooltip(int k, const QString &text)
{
    if (PictureElement *card = m_cards.value(k))
        card->setToolTip(text);
}

void Celtic::setCardVisible(int k, bool visible)
{
    if (PictureElement *card = m_cards.value(k))
        card->setVisible(visible);
}

void Celtic::moveCard(int k, float left, float top)
{
    if (PictureElement *card = m_cards.value(k)) {
        card->move(qRound(left), qRound(top));
        m_places[k] = QPointF(left, top);
    }
}

QPointF Celtic::cardPlace(int k) const
{
    PictureElement *card = m_cards.value(k);
    if (!card)
        return {};
    const QPointF kept = m_places.value(k);
    // A card dragged since it was placed reports where it lies now.
    if (QPoint(qRound(kept.x()), qRound(kept.y())) == card->pos())
        return kept;
    return card->pos();
}

void Celtic::setCardDraggable(int k, bool draggable)
{
    if (PictureElement *card = m_cards.value(k))
        card->setProperty("draggable", draggable);
}

bool Celtic::showBackInCard(int k, const QString &pictureFile)
{
    PictureElement *card = m_cards.value(k);
    const auto picture = platform::Picture::load(pictureFile);
    if (!card || !picture)
        return false;
    card->setPicture(*picture);
    return true;
}

bool Celtic::showBackInFace(int k, const QString &pictureFile)
{
    PictureElement *face = m_faces.value(k);
    const auto picture = platform::Picture::load(pictureFile);
    if (!face || !picture)
        return false;
    face->setPicture(*picture);
    return true;
}

bool Celtic::showBackInLarge(const QString &pictureFile)
{
    const auto picture = platform::Picture::load(pictureFile);
    if (!picture)
        return false;
    m_large->setPicture(*picture);
    return true;
}

QRect Celtic::windowGeometry() const
{
    return platform::pixelsToTwips(frameGeometry());
}

void Celtic::setWindowGeometry(const QRect &twips)
{
    m_geometryTwips = twips;
    m_frameUnknown = true;
    applyWindowGeometry();
}

void Celtic::applyWindowGeometry()
{
    // The layout gives the outer place and size; Qt sizes the inner part.
    const QRect outer = platform::twipsToPixels(m_geometryTwips);
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QSize extra = frame.size() - inner.size();
    // Until the window is up, Qt cannot know the frame and reports none.
    if (!extra.isNull())
        m_frameUnknown = false;
    move(outer.topLeft());
    resize(std::max(1, outer.width() - extra.width()), std::max(1, outer.height() - extra.height()));
}

void Celtic::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void Celtic::enablePickCards()
{
    m_pickCards->setEnabled(true);
}

void Celtic::disablePickCards()
{
    m_pickCards->setEnabled(false);
}

void Celtic::setPositionCommandsEnabled(bool enabled)
{
    m_addCard->setEnabled(enabled);
    m_removeCard->setEnabled(enabled);
}

QSize Celtic::clientSize() const
{
    return centralWidget()->size();
}

int Celtic::reversalsState() const
{
    switch (m_reversals->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

bool Celtic::loadFacePicture(int p, const QString &pictureFile, bool turned)
{
    PictureElement *face = m_faces.value(p);
    const auto picture = platform::Picture::load(pictureFile);
    if (!face || !picture)
        return false;
    face->setPicture(turned ? picture->turned() : *picture);
    return true;
}

} // namespace vellara
