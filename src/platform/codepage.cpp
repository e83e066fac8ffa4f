#include "platform/codepage.h"

#include <cerrno>
#include <cstring>
#include <QList>

#include <iconv.h>

namespace vellara::platform {

namespace {

// glibc's iconv does the mapping; this wrapper only adds the fallbacks above.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false at a sequence it cannot
    // convert, with in/inLeft pointing at it.
    bool run(char *&in, size_t &inLeft, QByteArray &out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char buffer[1024];
            char *dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t m_cd;
};

bool isUndefinedCp1252Byte(uint value)
{
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

} // namespace

QByteArray encodeCp1252(const QString &text)
{
    thread_local Converter converter("WINDOWS-1252", "UTF-32LE");
    // Without iconv: Latin-1, which matches Windows-1252 but for 0x80 to 0x9F,
    // as decodeCp1252 falls back to.
    if (!converter.valid())
        return text.toLatin1();
    const QList<uint> ucs4 = text.toUcs4();
    QByteArray out;
    // toUcs4 is in host order; iconv is told little endian, which x86 and ARM Linux are.
    QByteArray input(reinterpret_cast<const char *>(ucs4.constData()), ucs4.size() * 4);
    char *in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    while (!converter.run(in, inLeft, out)) {
        uint c = 0;
        memcpy(&c, in, 4);
        out.append(isUndefinedCp1252Byte(c) ? char(c) : '?');
        in += 4;
        inLeft -= 4;
    }
    return out;
}

QString decodeCp1252(const QByteArray &bytes)
{
    thread_local Converter converter("UTF-16LE", "WINDOWS-1252");
    if (!converter.valid())
        return QString::fromLatin1(bytes);
    QByteArray input = bytes;
    QByteArray out;
    char *in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    while (!converter.run(in, inLeft, out)) {
        const char16_t c = static_cast<unsigned char>(*in);
        out.append(reinterpret_cast<const char *>(&c), 2);
        ++in;
        --inLeft;
    }
    return QString(reinterpret_cast<const QChar *>(out.constData()), out.size() / 2);
}

QString tabsForNonAscii(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 31 || c.unicode() > 127) {
            out += QLatin1Char('\t');
            // A character beyond the first plane is two code units and one tab.
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace vellara::platform
