#include "layouts/positionedit.h"

#include "core/corestate.h"
#include "core/fixedtext.h"
#include "core/layoutfile.h"
#include "platform/codepage.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace vellara {

namespace {

constexpr int kMeaningLength = PositionMeaning::width();

const QString kMemoryHelp = QStringLiteral(
    "Save to memory saves the entered text to the assigned variable in memory and can be saved later with the "
    "Save Layout menu item.");
const QString kFileHelp = QStringLiteral(
    "Save to file saves the edited card position information directly to the layout information file.");
const QString kTextHelp = QStringLiteral(
    "Accepts standard ascii text except <enter>, all non- ascii are converted to tabs even if text is pasted.");

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

Positionedit::Positionedit(CoreState &state, LayoutTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_table(table)
{
    setObjectName(QStringLiteral("positionedit"));
    setWindowTitle(QStringLiteral("Edit Card Position Information"));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Position meaning"));
    // A tab is text here (what a non-ASCII letter becomes), so Tab moves on.
    m_text->setTabChangesFocus(true);
    m_text->installEventFilter(this);

    m_positions = new QComboBox(this);
    m_positions->setObjectName(QStringLiteral("Combo1"));
    m_positions->setAccessibleName(QStringLiteral("Position"));

    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAccessibleName(caption);
        // Enter on the focused button presses it.
        b->setAutoDefault(true);
        return b;
    };
    m_toMemory = button(QStringLiteral("Command1"), QStringLiteral("Save to memory"));
    m_toFile = button(QStringLiteral("Command2"), QStringLiteral("Save to file"));
    m_exit = button(QStringLiteral("Command3"), QStringLiteral("Exit"));
    m_toMemory->installEventFilter(this);
    m_toFile->installEventFilter(this);

    m_help = new QLabel(kMemoryHelp, this);
    m_help->setObjectName(QStringLiteral("Label1"));
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest help text, so the window does not jump as the focus moves.
    m_help->setMinimumHeight(m_help->fontMetrics().lineSpacing() * 3);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(6);
    grid->addWidget(m_text, 0, 0, 1, 4);
    grid->addWidget(m_positions, 1, 0);
    grid->addWidget(m_toMemory, 1, 1);
    grid->addWidget(m_toFile, 1, 2);
    grid->addWidget(m_exit, 1, 3);
    grid->addWidget(m_help, 2, 0, 1, 4);
    grid->setRowStretch(0, 1);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    m_text->setMinimumSize(em * 30, fontMetrics().lineSpacing() * 6);
    setMinimumSize(sizeHint());

    m_text->setFocus();

    connect(m_positions, &QComboBox::currentIndexChanged, this, &Positionedit::Combo1_Click);
    connect(m_toMemory, &QPushButton::clicked, this, &Positionedit::Command1_Click);
    connect(m_toFile, &QPushButton::clicked, this, &Positionedit::Command2_Click);
    connect(m_exit, &QPushButton::clicked, this, &Positionedit::Command3_Click);
}

void Positionedit::Form_Load()
{
    {
        const QSignalBlocker blocker(m_positions);
        const int count = std::clamp<int>(m_state.layout.positionCount, 0, kPositionSlots);
        for (int k = 0; k < count; ++k)
            m_positions->addItem(QStringLiteral("Card ") + QString::number(k + 1), k);
    }
    choose(0);
}

void Positionedit::choose(int index)
{
    {
        const QSignalBlocker blocker(m_positions);
        m_positions->setCurrentIndex(index);
    }
    // Choosing the entry already chosen shows its meaning again too.
    Combo1_Click();
}

void Positionedit::Combo1_Click()
{
    // At most one entry per slot; none only for an empty layout.
    const int k = m_positions->currentIndex();
    if (k < 0)
        return;
    PositionRecord &position = m_state.layout.positions[k];
    const QString meaning = trimBlanks(position.meaning);
    position.meaning = meaning;
    m_text->setPlainText(meaning);
}

void Positionedit::storeText()
{
    // At most one entry per slot; none only for an empty layout.
    const int k = m_positions->currentIndex();
    if (k < 0)
        return;
    // The fixed-width field cuts a pasted text at 600 characters.
    m_state.layout.positions[k].meaning = trimBlanks(m_text->toPlainText());
}

void Positionedit::Text1_GotFocus()
{
    m_help->setText(kTextHelp);
}

void Positionedit::Text1_LostFocus()
{
    const QString text = m_text->toPlainText();
    const QString kept = platform::tabsForNonAscii(text);
    if (kept != text)
        m_text->setPlainText(kept);
}

void Positionedit::Command1_GotFocus()
{
    m_help->setText(kMemoryHelp);
}

void Positionedit::Command2_GotFocus()
{
    m_help->setText(kFileHelp);
}

void Positionedit::Command1_Click()
{
    const int k = m_positions->currentIndex();
    if (k < 0)
        return;
    storeText();
    choose(k + 1 < m_positions->count() ? k + 1 : 0);
}

void Positionedit::Command2_Click()
{
    if (m_positions->currentIndex() < 0)
        return;
    storeText();
    SaveLayout(m_state, m_table);
}

void Positionedit::Command3_Click()
{
    close();
}

bool Positionedit::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == m_text)
            Text1_GotFocus();
        else if (watched == m_toMemory)
            Command1_GotFocus();
        else if (watched == m_toFile)
            Command2_GotFocus();
        break;
    case QEvent::FocusOut: {
        // Switching to another window or opening the box's own menu is no
        // leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (watched == m_text && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Text1_LostFocus();
        break;
    }
    case QEvent::KeyPress:
        if (watched == m_text) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (isEnter(key)) {
                m_toMemory->setFocus(Qt::TabFocusReason);
                return true;
            }
            // The length limit holds for typed text; pasted text is cut when stored.
            const QString typed = key->text();
            const bool printable = !typed.isEmpty() && typed[0].unicode() >= 32 && typed[0] != QChar(127);
            if (printable && !(key->modifiers() & Qt::ControlModifier)
                && m_text->document()->characterCount() - 1 - int(m_text->textCursor().selectedText().size())
                       >= kMeaningLength)
                return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vellara
