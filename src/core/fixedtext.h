#pragma once

#include <QString>

namespace vellara {

// Removes leading and trailing blanks: the space character only, so that a
// tab (what the meaning boxes make of an accented letter) or a no-break space
// at either end stays part of the value.
inline QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// Removes trailing blanks only, as a name read from a fixed-width field needs.
inline QString trimTrailingBlanks(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

// Pads or cuts a text to the given width, for writers that fix a column width
// on a field held unpadded.
inline QString toFixedWidth(const QString &text, int width)
{
    QString out = text.left(width);
    if (out.size() < width)
        out.append(QString(width - out.size(), QLatin1Char(' ')));
    return out;
}

// A text field of exactly N characters once something is stored in it:
// shorter texts are padded with blanks on the right, longer ones cut at N, and
// reading it yields all N characters, which is what the deck and layout files
// rely on for their fixed column widths. A field nothing was ever stored in
// holds nothing, as the program's state does when it starts.
template <int N>
class FixedText {
    static_assert(N > 0);

public:
    FixedText() = default;
    FixedText(const QString &text) { assign(text); }  // NOLINT: implicit on purpose, like a plain field

    FixedText &operator=(const QString &text)
    {
        assign(text);
        return *this;
    }

    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; }  // NOLINT
    static constexpr int width() { return N; }

    bool operator==(const FixedText &other) const = default;

private:
    void assign(const QString &text) { m_text = toFixedWidth(text, N); }

    QString m_text;
};

} // namespace vellara
