#pragma once

#include <QByteArray>
#include <QString>

namespace vellara::platform {

// The single-byte code page of the program's text files: Windows-1252.
// A character the code page cannot hold is encoded as '?'. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1
// controls of the same value and encode back to those bytes, so any file
// survives a read and a write unchanged.
QByteArray encodeCp1252(const QString &text);
QString decodeCp1252(const QByteArray &bytes);

// What the meaning boxes keep of a text when they lose the focus: every
// character whose code is below 31 or above 127 becomes a tab, one per
// character, so no line break or non-ASCII letter reaches the files. A
// character outside the code page is not ASCII either.
QString tabsForNonAscii(const QString &text);

} // namespace vellara::platform
