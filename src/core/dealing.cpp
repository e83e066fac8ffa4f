#include "core/dealing.h"

#include "core/deckfile.h"
#include "platform/textfile.h"

#include <algorithm>
#include <cmath>

namespace vellara {

namespace {

// The picture file of a card, without the blanks the deck file pads it with.
QString picturePath(const QString &deckDirectory, const CardRecord &card)
{
    return platform::joinPath(deckDirectory, trimTrailingBlanks(card.pictureFile));
}

} // namespace

QString cardText(const CardRecord &card, bool reversed)
{
    const QString crlf = QStringLiteral("\r\n");
    if (reversed)
        return card.name.text() + crlf + crlf + QStringLiteral("*Reversed*") + crlf + card.reversedMeaning;
    return card.name.text() + crlf + crlf + card.meaning;
}

void DrawCard(CoreState &state, platform::RandomGenerator &random, qint16 p)
{
    if (p < 0 || p >= kPositionSlots)
        return;
    qint16 index = 0;
    do {
        random.reseed();
        index = static_cast<qint16>(std::floor(random.next() * state.cardCount));
    } while (index < 0 || index > state.cardCount);
    state.reading.dealtCards[p] = index;
}

void RedrawRepeats(CoreState &state, platform::RandomGenerator &random, qint16 p)
{
    if (p <= 0 || p >= kPositionSlots)
        return;
    auto &dealt = state.reading.dealtCards;
    // A loop instead of nested calls: draw until a full pass meets no repeat.
    while (std::find(dealt.begin(), dealt.begin() + p, dealt[p]) != dealt.begin() + p)
        DrawCard(state, random, p);
}

bool DealReading(CoreState &state, ReadingTable &table, platform::RandomGenerator &random)
{
    const int positions = std::clamp<int>(state.layout.positionCount, 0, kPositionSlots);
    // Fewer cards than positions could never give every position its own card.
    if (positions > state.cardCount)
        return false;
    for (int p = 0; p < positions; ++p) {
        DrawCard(state, random, static_cast<qint16>(p));
        RedrawRepeats(state, random, static_cast<qint16>(p));
    }
    PrepareDealtCards(state, table, random);
    return true;
}

void PrepareDealtCards(CoreState &state, ReadingTable &table, platform::RandomGenerator &random)
{
    const QString &cardBack = state.settings.cardBackFile;
    table.showBackInLarge(cardBack);
    state.settings.reversalFrequency = std::max<qint16>(state.settings.reversalFrequency, 2);

    const int positions = std::clamp<int>(state.layout.positionCount, 0, kPositionSlots);
    for (int p = 0; p < positions; ++p) {
        random.reseed();
        const int v = table.reversalsState();
        const double r = random.next();
        const bool reversed = static_cast<int>(std::floor(r * state.settings.reversalFrequency)) * v == 1;
        const int d = std::clamp<int>(state.reading.dealtCards[p], 0, kCardSlots - 1);
        const CardRecord &card = state.cards[d];
        state.reading.cardTexts[p] = cardText(card, reversed);
        if (!table.loadFacePicture(p, picturePath(state.settings.deckDirectory, card), reversed))
            table.showBackInFace(p, cardBack);
    }
}

} // namespace vellara
