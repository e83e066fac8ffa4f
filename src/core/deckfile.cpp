#include "core/deckfile.h"

#include "core/fileformat.h"
#include "platform/message.h"
#include "platform/textfile.h"

#include <algorithm>

namespace vellara {

namespace {

const QString kNoDeckFileMessage = QStringLiteral("No cards.dat file found in specified directory");
const QString kTooManyCardsMessage =
    QStringLiteral("The cards.dat file in specified directory lists %1 cards; a deck holds 0 to %2 cards");

bool hasDeckFile(const QString &directory)
{
    // An empty directory would name a cards.dat wherever the program runs.
    return !directory.isEmpty() && platform::fileExists(deckFilePath(directory));
}

// Reads a deck file into a copy of the current deck, so that a file refused
// for its count leaves the state untouched. Faults past the count line are
// skipped: what is not read keeps the previous deck's value.
bool readDeckFile(const CoreState &state, const QString &directory, qint16 &cardCount,
                  std::array<CardRecord, kCardSlots> &cards)
{
    platform::TextReader in(deckFilePath(directory));
    cardCount = state.cardCount;
    cards = state.cards;

    QString line;
    if (in.readLine(line)) {
        if (const auto count = parseInt16(line)) {
            if (*count < 0 || *count > kCardSlots) {
                platform::showMessage(kTooManyCardsMessage.arg(*count).arg(kCardSlots));
                return false;
            }
            cardCount = *count;
        }
    }

    for (int k = 0; k < cardCount; ++k) {
        CardRecord &card = cards[k];
        if (in.readLine(line))
            card.pictureFile = line;
        if (in.readLine(line))
            card.name = line;
        if (in.readLine(line))
            card.meaning = line;
        if (in.readLine(line))
            card.reversedMeaning = line;
    }
    return true;
}

bool commitWriter(platform::TextWriter &out, const QString &path)
{
    if (out.commit())
        return true;
    platform::showMessage(writeFailureMessage(path, out.errorString()));
    return false;
}

} // namespace

QString deckFilePath(const QString &directory)
{
    return platform::joinPath(directory, QString::fromLatin1(kDeckFileName));
}

bool LoadDeckByIndex(CoreState &state, qint16 slot)
{
    if (slot < 0 || slot > kMaxDeckSlot || !hasDeckFile(state.settings.decks.paths[slot])) {
        platform::showMessage(kNoDeckFileMessage);
        return false;
    }
    const QString directory = state.settings.decks.paths[slot];
    qint16 cardCount = 0;
    std::array<CardRecord, kCardSlots> cards;
    if (!readDeckFile(state, directory, cardCount, cards))
        return false;
    state.settings.deckDirectory = directory;
    state.currentDeckIndex = slot;
    state.cardCount = cardCount;
    state.cards = std::move(cards);
    return true;
}

bool LoadDeckFromDirectory(CoreState &state, const QString &directory)
{
    if (!hasDeckFile(directory)) {
        platform::showMessage(kNoDeckFileMessage);
        return false;
    }
    qint16 cardCount = 0;
    std::array<CardRecord, kCardSlots> cards;
    if (!readDeckFile(state, directory, cardCount, cards))
        return false;
    state.cardCount = cardCount;
    state.cards = std::move(cards);
    return true;
}

bool WritePendingDeckFile(const CoreState &state)
{
    return WritePendingDeckFile(state, state.pendingDeck.pictureDirectory);
}

bool WritePendingDeckFile(const CoreState &state, const QString &directory)
{
    const PendingDeck &deck = state.pendingDeck;
    const QString path = deckFilePath(directory);
    if (directory.isEmpty()) {
        platform::showMessage(writeFailureMessage(path, QStringLiteral("no deck directory was chosen")));
        return false;
    }
    const int count = std::clamp<int>(deck.cardCount, 0, kMaxNewDeckCards);
    platform::TextWriter out(path);
    out.writeLine(QString::number(count));
    // Every field at its full width, also one that was never filled.
    for (int k = 0; k < count; ++k) {
        out.writeLine(toFixedWidth(deck.pictureFiles[k], PictureName::width()));
        out.writeLine(toFixedWidth(deck.names[k], CardName::width()));
        out.writeLine(toFixedWidth(deck.meanings[k], MeaningText::width()));
        out.writeLine(toFixedWidth(deck.reversedMeanings[k], MeaningText::width()));
    }
    return commitWriter(out, path);
}

bool WriteCurrentDeckFile(const CoreState &state)
{
    const QString &directory = state.settings.deckDirectory;
    const QString path = deckFilePath(directory);
    if (directory.isEmpty()) {
        platform::showMessage(writeFailureMessage(path, QStringLiteral("no deck is current")));
        return false;
    }
    const int count = std::clamp<int>(state.cardCount, 0, kCardSlots);
    platform::TextWriter out(path);
    out.writeLine(QString::number(count));
    for (int k = 0; k < count; ++k) {
        const CardRecord &card = state.cards[k];
        out.writeLine(card.pictureFile);
        out.writeLine(toFixedWidth(card.name, CardName::width()));
        out.writeLine(card.meaning);
        out.writeLine(card.reversedMeaning);
    }
    return commitWriter(out, path);
}

} // namespace vellara
