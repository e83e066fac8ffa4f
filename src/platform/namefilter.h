#pragma once

#include <QChar>

class QLineEdit;

namespace vellara::platform {

// Names of decks and layouts end up in folder and file names: letters A to Z
// and a to z, digits and blanks only.
bool allowedInName(QChar c);

// Makes a name box take only those: a typed key with any other printable
// character is dropped, and text pasted or dropped into the box loses every
// other character. Keys without a character (backspace, arrows, Enter) pass.
void filterNameBox(QLineEdit *box);

} // namespace vellara::platform
