#pragma once

#include "core/corestate.h"
#include "core/readingtable.h"
#include "platform/random.h"

namespace vellara {

// Deals the current layout from the current deck, one different card per
// position, then prepares the dealt cards. Does nothing and returns false when
// the layout has more positions than the deck has cards.
bool DealReading(CoreState &state, ReadingTable &table, platform::RandomGenerator &random);

// Sets position p's dealt card to a random card index of the current deck.
void DrawCard(CoreState &state, platform::RandomGenerator &random, qint16 p);

// Draws position p again until its card differs from every earlier position's.
void RedrawRepeats(CoreState &state, platform::RandomGenerator &random, qint16 p);

// Decides each dealt card's reversal, stores the text its click shows and
// loads its face picture (turned when reversed). A picture that cannot be read
// leaves the card back as that card's face.
void PrepareDealtCards(CoreState &state, ReadingTable &table, platform::RandomGenerator &random);

// The text the card meaning box shows for a dealt card.
QString cardText(const CardRecord &card, bool reversed);

} // namespace vellara
