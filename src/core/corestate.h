#pragma once

#include "core/fixedtext.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace vellara {

// Sizes of the fixed tables. Counts stored in the state never exceed them.
inline constexpr int kMaxDeckSlot = 50;       // deck registry slots 0..50
inline constexpr int kMaxLayoutSlot = 100;    // layout registry slots 0..100 (0 unused)
inline constexpr int kCardSlots = 101;        // current deck cards 0..100
inline constexpr int kMaxNewDeckCards = 100;  // a new deck holds at most 100 cards
inline constexpr int kPositionSlots = 100;    // layout positions 0..99

using CardName = FixedText<30>;
using PictureName = FixedText<30>;
using MeaningText = FixedText<400>;
using CardText = FixedText<460>;
using PositionMeaning = FixedText<600>;

struct DeckRegistry {
    qint16 deckCount = 0;
    std::array<QString, kMaxDeckSlot + 1> names;
    std::array<QString, kMaxDeckSlot + 1> paths;
};

struct LayoutRegistry {
    qint16 layoutCount = 0;
    std::array<QString, kMaxLayoutSlot + 1> names;  // slot 0 is never used
};

struct ProgramSettings {
    QString cardBackFile;    // full path of the card back picture; empty means none
    QString deckDirectory;   // current deck's directory, no trailing separator
    qint16 reversalFrequency = 0;
    QString layoutName;      // the layout file is trimmed name + ".lat"
    DeckRegistry decks;
    LayoutRegistry layouts;
};

struct CardRecord {
    QString pictureFile;  // relative to the deck directory; may carry trailing blanks
    CardName name;
    QString meaning;
    QString reversedMeaning;
};

struct PositionRecord {
    PositionMeaning meaning;
    float left = 0;  // pixels of the main window's client area
    float top = 0;
};

struct LayoutDefinition {
    qint16 positionCount = 0;
    // Outer place and size of the main window in twips, as read from the layout file.
    qint16 windowLeft = 0;
    qint16 windowTop = 0;
    qint16 windowWidth = 0;
    qint16 windowHeight = 0;
    std::array<PositionRecord, kPositionSlots> positions;
};

struct ReadingState {
    std::array<qint16, kPositionSlots> dealtCards{};
    std::array<CardText, kPositionSlots> cardTexts;
};

struct LayoutEditState {
    bool layoutEditMode = false;
    bool dragActive = false;
    qint16 dragOffsetX = 0;
    qint16 dragOffsetY = 0;
};

struct PendingDeck {
    QString pictureDirectory;
    qint16 cardCount = 0;
    std::array<PictureName, kCardSlots> pictureFiles;
    std::array<CardName, kMaxNewDeckCards> names;
    std::array<MeaningText, kMaxNewDeckCards> meanings;
    std::array<MeaningText, kMaxNewDeckCards> reversedMeanings;
};

// The one shared program state. Windows read and change it directly.
struct CoreState {
    ProgramSettings settings;

    qint16 currentDeckIndex = 0;
    qint16 cardCount = 0;
    std::array<CardRecord, kCardSlots> cards;

    LayoutDefinition layout;
    ReadingState reading;
    LayoutEditState editing;
    PendingDeck pendingDeck;
};

// The process-wide instance the windows share.
CoreState &coreState();

} // namespace vellara
