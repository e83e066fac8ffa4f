#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace vellara {

// Number conversions shared by the three file formats. They never depend on
// the locale: numbers are written and read with ".".

// A 16-bit integer, surrounding blanks allowed. A decimal number is rounded to
// the nearest whole number, halves to the even one. Nothing when the text is
// not a number or the rounded value lies outside -32768..32767.
std::optional<qint16> parseInt16(const QString &text);

// A single-precision number, surrounding blanks allowed; nothing when the
// text is not a finite number.
std::optional<float> parseSingle(const QString &text);

// The shortest decimal text that reads back as the same single, without an
// exponent; integral values carry no decimal point.
QString formatSingle(float value);

// The message shown when one of the program's files cannot be written.
QString writeFailureMessage(const QString &path, const QString &reason);

} // namespace vellara
