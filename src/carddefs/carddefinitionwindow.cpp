#include "carddefs/carddefinitionwindow.h"

#include "platform/fonts.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "platform/sliderkeys.h"
#include "platform/units.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace vellara {

using platform::designRect;

namespace {

constexpr int kClientWidth = 8280;
constexpr int kTypedNameLimit = 24;
constexpr int kTypedMeaningLimit = 400;

// A key that types a character into a box.
bool typesCharacter(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text[0].unicode() >= 32 && text[0].unicode() != 127;
}

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

QString MeaningBox::text() const
{
    // The box breaks lines on LF; the program's texts know a line break as CR LF.
    return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void MeaningBox::setText(const QString &text)
{
    // Replacing the document's text alone spares the editor's own resetting,
    // a good part of each slider step; the cursor and view go to the start.
    document()->setPlainText(text);
    QTextCursor start(document());
    setTextCursor(start);
}

void MeaningBox::insertFromMimeData(const QMimeData *source)
{
    if (m_pasteLimit <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString pasted = source->text();
    pasted.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString selected = textCursor().selectedText();
    const qsizetype kept = text().size() - (selected.size() + selected.count(QChar::ParagraphSeparator));
    qsizetype room = std::max<qsizetype>(0, m_pasteLimit - kept);
    qsizetype take = 0;
    for (const QChar c : std::as_const(pasted)) {
        const qsizetype width = c == QLatin1Char('\n') ? 2 : 1;
        if (width > room)
            break;
        room -= width;
        ++take;
    }
    // The box follows its cursor to the end of what is pasted.
    textCursor().insertText(pasted.left(take));
}

CardDefinitionWindow::CardDefinitionWindow(std::unique_ptr<DeckTarget> target, const Design &design, QWidget *parent)
    : QWidget(parent, Qt::Window), m_editor(std::move(target)), m_design(design)
{
    setWindowTitle(QStringLiteral("New card definitions"));
    setFixedSize(platform::twipsToPixels(kClientWidth), platform::twipsToPixels(design.clientHeight));

    m_name = new QLineEdit(QStringLiteral("Card Name"), this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_name->setGeometry(designRect(120, 0, 2055, 285));
    m_name->setAccessibleName(QStringLiteral("Card Name"));

    m_picture = new platform::PictureElement(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(designRect(120, 360, 2055, 3015));
    m_picture->setAccessibleName(QStringLiteral("Card picture"));

    auto heading = [this](const QString &name, const QString &caption, const QRect &place) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setGeometry(place);
        platform::fitCaption(label);
        return label;
    };
    auto meaningBox = [this, &design](const QString &name, const QString &accessible, const QRect &place) {
        auto *box = new MeaningBox(this);
        box->setObjectName(name);
        box->setGeometry(place);
        box->setAccessibleName(accessible);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        box->setPasteLimit(design.cutsPastedMeanings ? kTypedMeaningLimit : 0);
        return box;
    };
    QLabel *meaningHeading = heading(QStringLiteral("Label2"), QStringLiteral("Card Meaning"),
                                     designRect(2520, 0, 1815, 255));
    m_meaning = meaningBox(QStringLiteral("Text2"), meaningHeading->text(), designRect(2280, 240, 5895, 1455));
    meaningHeading->setBuddy(m_meaning);
    QLabel *reversedHeading = heading(QStringLiteral("Label1"), QStringLiteral("Reversed"),
                                      designRect(2520, 1800, 1335, 255));
    m_reversed = meaningBox(QStringLiteral("Text3"), reversedHeading->text(), designRect(2280, 2040, 5895, 1335));
    reversedHeading->setBuddy(m_reversed);

    m_slider = new QScrollBar(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("HScroll1"));
    m_slider->setGeometry(designRect(120, 3480, 8055, 255));
    m_slider->setAccessibleName(QStringLiteral("Card"));
    m_slider->setPageStep(7);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    // While the thumb is dragged the scroll handler shows each card it
    // passes; the value, and with it the change handler, follows on release.
    m_slider->setTracking(false);
    platform::useForwardKeys(m_slider);

    const QString captions[7] = {QStringLiteral("Read from text files"), QStringLiteral("Read from cards.dat"),
                                 QStringLiteral("Save Set"),             QStringLiteral("Remove card"),
                                 QStringLiteral("Save  text edit"),      QStringLiteral("Exit no Save"),
                                 design.command7Caption};
    const QString tips[7] = {QStringLiteral("Reads in set of text files with same name as images"),
                             QStringLiteral("Reads Cards.dat files for sets already entered into Vellara 2.0"),
                             QStringLiteral("Saves all deck settings to new cards.dat"),
                             {},
                             QStringLiteral("Saves edited text of currently displayed card to memory record only"),
                             {},
                             {}};
    for (int k = 0; k < 7; ++k) {
        auto *button = new QPushButton(captions[k], this);
        button->setObjectName(QStringLiteral("Command%1").arg(k + 1));
        const QRect place = design.buttons[k];
        button->setGeometry(designRect(place.left(), place.top(), place.width(), place.height()));
        button->setAccessibleName(captions[k]);
        button->setToolTip(tips[k]);
        button->setAccessibleDescription(tips[k]);
        m_buttons[k] = button;
    }

    // Tab goes the way the controls are made, but for these steps.
    setTabOrder(m_reversed, m_buttons[4]);
    QWidget *previous = m_slider;
    for (int k : {0, 1, 3, 2, 6, 5}) {
        setTabOrder(previous, m_buttons[k]);
        previous = m_buttons[k];
    }
    m_name->setFocus();

    for (QWidget *box : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_meaning),
                         static_cast<QWidget *>(m_reversed)})
        box->installEventFilter(this);

    connect(m_slider, &QScrollBar::valueChanged, this, &CardDefinitionWindow::HScroll1_Change);
    connect(m_slider, &QScrollBar::sliderMoved, this, &CardDefinitionWindow::HScroll1_Scroll);
    connect(m_buttons[0], &QPushButton::clicked, this, &CardDefinitionWindow::Command1_Click);
    connect(m_buttons[1], &QPushButton::clicked, this, &CardDefinitionWindow::Command2_Click);
    connect(m_buttons[2], &QPushButton::clicked, this, &CardDefinitionWindow::Command3_Click);
    connect(m_buttons[3], &QPushButton::clicked, this, &CardDefinitionWindow::Command4_Click);
    connect(m_buttons[4], &QPushButton::clicked, this, &CardDefinitionWindow::Command5_Click);
    connect(m_buttons[5], &QPushButton::clicked, this, &CardDefinitionWindow::Command6_Click);
    connect(m_buttons[6], &QPushButton::clicked, this, &CardDefinitionWindow::Command7_Click);
}

void CardDefinitionWindow::setSelectorMaximum(int maximum)
{
    m_maximum = maximum;
    // Lowering the maximum below the value moves the value, which shows that card.
    m_slider->setMaximum(std::max(0, maximum));
}

void CardDefinitionWindow::Form_Load()
{
    {
        const QSignalBlocker quiet(m_slider);  // built at card 0: shown once, below
        setSelectorMaximum(m_editor.target().cardCount() - 1);
    }
    showCard(m_slider->value(), m_editor.target().showsTrimmed());
}

void CardDefinitionWindow::HScroll1_Change()
{
    showCard(m_slider->value(), m_editor.target().showsTrimmed());
}

void CardDefinitionWindow::HScroll1_Scroll()
{
    showCard(m_slider->sliderPosition(), m_editor.target().showsTrimmed());
}

void CardDefinitionWindow::showCard(int n, bool trimmed)
{
    const auto shown = m_editor.cardAt(n, trimmed);
    if (!shown)
        return;
    // A picture that cannot be read leaves the one shown before.
    if (const auto picture = platform::Picture::load(shown->picturePath))
        m_picture->setPicture(*picture);
    m_name->setText(shown->name);
    m_name->setCursorPosition(0);
    m_meaning->setText(shown->meaning);
    m_reversed->setText(shown->reversedMeaning);
}

void CardDefinitionWindow::Command1_Click()
{
    m_editor.readTextFiles();
    showCard(m_slider->value(), true);
}

void CardDefinitionWindow::Command2_Click()
{
    switch (m_editor.readDeckFile()) {
    case CardDefinitionEditor::DeckFileRead::Read:
        setSelectorMaximum(m_editor.target().cardCount() - 1);
        showCard(m_slider->value(), true);
        break;
    case CardDefinitionEditor::DeckFileRead::Missing:
        if (m_design.showsAgainWithoutDeckFile)
            showCard(m_slider->value(), true);
        break;
    case CardDefinitionEditor::DeckFileRead::Refused:
        break;
    }
}

void CardDefinitionWindow::Command3_Click()
{
    if (m_editor.saveSet())
        deckSaved();
}

void CardDefinitionWindow::Command4_Click()
{
    const int n = m_slider->value();
    const int m = m_maximum;
    if (!m_editor.removeCard(n, m))
        return;
    setSelectorMaximum(m - 1);
    showCard(m_slider->value(), true);
}

void CardDefinitionWindow::Command5_Click()
{
    const int n = m_slider->value();
    m_editor.storeTexts(n, m_name->text(), m_meaning->text(), m_reversed->text());
    // The last card goes on to the first; a single card stays where it is.
    m_slider->setValue(n < m_maximum ? n + 1 : m_slider->minimum());
    m_name->setFocus();
}

bool CardDefinitionWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (enterMovesOn(watched, event) || typedPastLimit(watched, event)))
        return true;
    // Leaving the window or opening a context menu is no leaving of the box.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            filterBox(watched);
    }
    return QWidget::eventFilter(watched, event);
}

bool CardDefinitionWindow::enterMovesOn(QObject *box, QEvent *event)
{
    if (!isEnter(static_cast<QKeyEvent *>(event)))
        return false;
    if (box == m_name)
        m_meaning->setFocus();
    else if (box == m_meaning)
        m_reversed->setFocus();
    else
        m_buttons[4]->setFocus();
    return true;
}

bool CardDefinitionWindow::typedPastLimit(QObject *box, QEvent *event) const
{
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!typesCharacter(key))
        return false;
    // The limit holds for typing only: a longer text put in by the program stays.
    if (box == m_name)
        return m_name->text().size() - m_name->selectedText().size() >= kTypedNameLimit;
    const auto *meaning = static_cast<const MeaningBox *>(box);
    const QString selected = meaning->textCursor().selectedText();
    return meaning->text().size() - selected.size() >= kTypedMeaningLimit;
}

void CardDefinitionWindow::filterBox(QObject *box)
{
    if (box == m_name) {
        const QString text = CardDefinitionEditor::filtered(m_name->text());
        if (text != m_name->text())
            m_name->setText(text);
        return;
    }
    auto *meaning = static_cast<MeaningBox *>(box);
    const QString text = meaning->text();
    const QString kept = CardDefinitionEditor::filtered(text);
    if (kept != text)
        meaning->setText(kept);
}

} // namespace vellara
