#pragma once

#include "core/corestate.h"

#include <QString>

namespace vellara {

inline constexpr char kDeckFileName[] = "cards.dat";

// The deck file of a deck directory.
QString deckFilePath(const QString &directory);

// Makes the deck in registry slot current: sets deckDirectory and
// currentDeckIndex and reads its deck file. Shows a message and changes nothing
// when the slot is out of range, has no deck file, or the file announces a
// card count no deck can hold. Returns whether the deck was read.
bool LoadDeckByIndex(CoreState &state, qint16 slot);

// Reads the deck file of a directory into the current deck, leaving
// deckDirectory and currentDeckIndex as they are. Messages as above.
bool LoadDeckFromDirectory(CoreState &state, const QString &directory);

// Writes cards.dat into the new deck's picture directory, every field at its
// fixed width. On failure the user is told why and the old file stays whole.
bool WritePendingDeckFile(const CoreState &state);
// The same into another folder: the one the pictures are listed from now.
bool WritePendingDeckFile(const CoreState &state, const QString &directory);

// Writes the current deck's definitions to deckDirectory's cards.dat: names at
// 30 characters, the other fields as held.
bool WriteCurrentDeckFile(const CoreState &state);

} // namespace vellara
