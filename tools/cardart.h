#pragma once
// The card pictures of the sample deck: a face for every card of a deck file,
// and a card back, drawn as metafiles so they stay sharp at any size.

#include <QByteArray>
#include <QString>

namespace tools {

// The picture grid. 960 units to the inch make a card 116 x 213 pixels at
// 96 dots per inch, the size the reading table shows it at.
inline constexpr int kCardWidth = 1160;
inline constexpr int kCardHeight = 2130;
inline constexpr int kCardUnitsPerInch = 960;

// "0" for 0, Roman numerals from 1 to 3999, the decimal number otherwise.
QString romanNumeral(int number);

// The face of the card at this place in the deck: its numeral, its name and
// an emblem chosen by the place (the 22 emblems of the major cards repeat
// beyond them).
QByteArray cardFace(int number, const QString &name);
// A back that looks the same turned by 180 degrees.
QByteArray cardBack();

// Reads deckDirectory/cards.dat and writes every card's picture, under the
// file name the deck file gives it, and "back.wmf" into deckDirectory.
// Refuses, before writing anything, picture names that would leave the
// directory, replace the deck file or the back, or name one file twice.
// False with the reason in *error on failure.
bool writeDeckPictures(const QString &deckDirectory, QString *error = nullptr);

} // namespace tools
