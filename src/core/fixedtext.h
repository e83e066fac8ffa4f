#pragma once

#include <QString>

namespace vellara {

// Pads or cuts a text to the given width, for writers that fix a column width
// on a field held unpadded.
inline QString toFixedWidth(const QString &text, int width)
{
    QString out = text.left(width);
    if (out.size() < width)
        out.append(QString(width - out.size(), QLatin1Char(' ')));
    return out;
}

// A text field of exactly N characters: shorter texts are padded with blanks on
// the right, longer ones cut at N. Reading it yields all N characters, which is
// what the deck and layout files rely on for their fixed column widths.
template <int N>
class FixedText {
    static_assert(N > 0);

public:
    FixedText() : m_text(N, QLatin1Char(' ')) {}
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
