#include "carddefs/carddefinitioneditor.h"

#include "core/corestate.h"
#include "core/deckfile.h"
#include "core/fileformat.h"
#include "core/fixedtext.h"
#include "decks/newcardset.h"
#include "platform/message.h"
#include "platform/textfile.h"

#include <QCoreApplication>

#include <algorithm>

namespace vellara {

namespace {

const QString kNoDeckFileMessage = QStringLiteral("No cards.dat file found in specified directory");

class PendingTarget : public DeckTarget {
public:
    explicit PendingTarget(CoreState &state) : m_state(state), m_deck(state.pendingDeck) {}

    int cardCount() const override { return m_deck.cardCount; }
    void setCardCount(int count) override { m_deck.cardCount = qint16(count); }
    int capacity() const override { return kMaxNewDeckCards; }

    CardFields card(int i) const override
    {
        if (i < 0 || i >= capacity())
            return {};
        return {m_deck.pictureFiles[i], m_deck.names[i], m_deck.meanings[i], m_deck.reversedMeanings[i]};
    }
    void setCard(int i, const CardFields &card) override
    {
        if (i < 0 || i >= capacity())
            return;
        m_deck.pictureFiles[i] = card.pictureFile;
        setTexts(i, card.name, card.meaning, card.reversedMeaning);
    }
    void setTexts(int i, const QString &name, const QString &meaning, const QString &reversedMeaning) override
    {
        if (i < 0 || i >= capacity())
            return;
        m_deck.names[i] = name;
        m_deck.meanings[i] = meaning;
        m_deck.reversedMeanings[i] = reversedMeaning;
    }

    bool showsTrimmed() const override { return true; }
    QString pictureDirectory() override { return newDeckDirectory(m_state); }
    QString textFileDirectory() override { return newDeckFolderChoice(m_state); }
    QString deckFileDirectory() override { return newDeckDirectory(m_state); }
    bool writeDeckFile() override { return WritePendingDeckFile(m_state, newDeckDirectory(m_state)); }

private:
    CoreState &m_state;
    PendingDeck &m_deck;
};

class CurrentTarget : public DeckTarget {
public:
    explicit CurrentTarget(CoreState &state) : m_state(state) {}

    int cardCount() const override { return m_state.cardCount; }
    void setCardCount(int count) override { m_state.cardCount = qint16(count); }
    int capacity() const override { return kCardSlots; }

    CardFields card(int i) const override
    {
        if (i < 0 || i >= capacity())
            return {};
        const CardRecord &card = m_state.cards[i];
        return {card.pictureFile, card.name, card.meaning, card.reversedMeaning};
    }
    void setCard(int i, const CardFields &card) override
    {
        if (i < 0 || i >= capacity())
            return;
        m_state.cards[i].pictureFile = card.pictureFile;
        setTexts(i, card.name, card.meaning, card.reversedMeaning);
    }
    void setTexts(int i, const QString &name, const QString &meaning, const QString &reversedMeaning) override
    {
        if (i < 0 || i >= capacity())
            return;
        CardRecord &card = m_state.cards[i];
        card.name = name;
        card.meaning = meaning;
        card.reversedMeaning = reversedMeaning;
    }

    bool showsTrimmed() const override { return false; }
    QString pictureDirectory() override { return deckDirectory(); }
    QString textFileDirectory() override { return deckDirectory(); }
    QString deckFileDirectory() override { return deckDirectory(); }
    bool writeDeckFile() override { return WriteCurrentDeckFile(m_state); }

private:
    QString deckDirectory()
    {
        QString &directory = m_state.settings.deckDirectory;
        if (directory.isEmpty())
            directory = QCoreApplication::applicationDirPath();
        return directory;
    }

    CoreState &m_state;
};

// The card text file of a picture: its name up to the first "." and "txt".
QString textFileName(const QString &pictureFile)
{
    const qsizetype dot = pictureFile.indexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? QString() : pictureFile.left(dot + 1);
    return base + QStringLiteral("txt");
}

} // namespace

std::unique_ptr<DeckTarget> pendingDeckTarget(CoreState &state)
{
    return std::make_unique<PendingTarget>(state);
}

std::unique_ptr<DeckTarget> currentDeckTarget(CoreState &state)
{
    return std::make_unique<CurrentTarget>(state);
}

CardDefinitionEditor::CardDefinitionEditor(std::unique_ptr<DeckTarget> target) : m_target(std::move(target)) {}

std::optional<CardDefinitionEditor::Shown> CardDefinitionEditor::cardAt(int n, bool trimmed) const
{
    if (n < 0 || n >= m_target->capacity())
        return std::nullopt;
    const CardFields card = m_target->card(n);
    const QString directory = m_target->pictureDirectory();
    Shown shown{platform::joinPath(directory, trimTrailingBlanks(card.pictureFile)), card.name, card.meaning,
                card.reversedMeaning};
    if (trimmed) {
        shown.name = trimBlanks(shown.name);
        shown.meaning = trimBlanks(shown.meaning);
        shown.reversedMeaning = trimBlanks(shown.reversedMeaning);
    }
    return shown;
}

void CardDefinitionEditor::storeTexts(int n, const QString &name, const QString &meaning,
                                      const QString &reversedMeaning)
{
    m_target->setTexts(n, name, meaning, reversedMeaning);
}

bool CardDefinitionEditor::removeCard(int n, int maximum)
{
    if (m_target->cardCount() <= 0)
        return false;
    // The slot after the new last card keeps a copy of the old last one. A
    // slot beyond the deck reads as empty and takes nothing.
    for (int j = std::max(n, 0); j < maximum; ++j)
        m_target->setCard(j, m_target->card(j + 1));
    m_target->setCardCount(m_target->cardCount() - 1);
    return true;
}

void CardDefinitionEditor::readTextFiles()
{
    const QString directory = m_target->textFileDirectory();
    const int count = std::min(m_target->cardCount(), m_target->capacity());
    for (int i = 0; i < count; ++i) {
        CardFields card = m_target->card(i);
        platform::TextReader in(platform::joinPath(directory, textFileName(card.pictureFile)));
        if (!in.isOpen())
            continue;
        // A line the file does not have leaves its value as it was.
        QString line;
        if (in.readLine(line))
            card.name = trimBlanks(line);
        if (in.readLine(line))
            card.meaning = trimBlanks(line);
        if (in.readLine(line))
            card.reversedMeaning = trimBlanks(line);
        m_target->setTexts(i, card.name, card.meaning, card.reversedMeaning);
    }
}

CardDefinitionEditor::DeckFileRead CardDefinitionEditor::readDeckFile()
{
    const QString directory = m_target->deckFileDirectory();
    const QString path = deckFilePath(directory);
    if (directory.isEmpty() || !platform::fileExists(path)) {
        platform::showMessage(kNoDeckFileMessage);
        return DeckFileRead::Missing;
    }
    platform::TextReader in(path);
    int count = m_target->cardCount();
    QString line;
    if (in.readLine(line)) {
        if (const auto announced = parseInt16(line)) {
            // A count beyond the slots would let dealing and showing run past them.
            if (*announced < 0 || *announced > m_target->capacity()) {
                platform::showMessage(
                    QStringLiteral("The cards.dat file in specified directory lists %1 cards; this deck holds 0 to %2 cards")
                        .arg(*announced)
                        .arg(m_target->capacity()));
                return DeckFileRead::Refused;
            }
            count = *announced;
        }
    }
    count = std::clamp(count, 0, m_target->capacity());
    m_target->setCardCount(count);
    for (int i = 0; i < count; ++i) {
        CardFields card = m_target->card(i);
        if (in.readLine(line))
            card.pictureFile = trimBlanks(line);
        if (in.readLine(line))
            card.name = trimBlanks(line);
        if (in.readLine(line))
            card.meaning = trimBlanks(line);
        if (in.readLine(line))
            card.reversedMeaning = trimBlanks(line);
        m_target->setCard(i, card);
    }
    return DeckFileRead::Read;
}

QString CardDefinitionEditor::filtered(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() < 31 || c.unicode() > 127)
            c = QLatin1Char('\t');
    return out;
}

void setPendingDeckAsCurrent(CoreState &state)
{
    const PendingDeck &pending = state.pendingDeck;
    state.cardCount = pending.cardCount;
    state.settings.deckDirectory = pending.pictureDirectory;
    // Every slot of the new deck, whatever its count; slot 100 stays.
    for (int i = 0; i < kMaxNewDeckCards; ++i) {
        CardRecord &card = state.cards[i];
        card.pictureFile = toFixedWidth(pending.pictureFiles[i], PictureName::width());
        card.name = pending.names[i].text();
        card.meaning = toFixedWidth(pending.meanings[i], MeaningText::width());
        card.reversedMeaning = toFixedWidth(pending.reversedMeanings[i], MeaningText::width());
    }
}

} // namespace vellara
