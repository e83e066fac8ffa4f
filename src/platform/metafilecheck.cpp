#include "platform/metafilecheck.h"

#include <QCoreApplication>
#include <QVector>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace vellara::platform {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;
constexpr int kMaxObjects = 65535;

uint16_t le16(const QByteArray &b, qsizetype at)
{
    return uint16_t(uint8_t(b[at])) | uint16_t(uint8_t(b[at + 1])) << 8;
}

uint32_t le32(const QByteArray &b, qsizetype at)
{
    return uint32_t(le16(b, at)) | uint32_t(le16(b, at + 2)) << 16;
}

void put16(QByteArray &b, qsizetype at, uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, qsizetype at, uint32_t v)
{
    put16(b, at, uint16_t(v & 0xFFFF));
    put16(b, at + 2, uint16_t(v >> 16));
}

// The parameters of one record, bounds-checked.
struct Params {
    const QByteArray &bytes;
    qsizetype start;  // byte offset of the first parameter
    qsizetype words;  // number of parameter words

    uint16_t word(qsizetype i) const { return le16(bytes, start + 2 * i); }
    qsizetype byteCount() const { return 2 * words; }
};

// Fewest parameter words the fixed-size records need; libwmf reads them
// without looking at the record's size.
std::optional<int> fixedParamWords(uint16_t function)
{
    switch (function) {
    case 0x001E: case 0x0035:
        return 0;
    case 0x0102: case 0x0103: case 0x0104: case 0x0105: case 0x0106: case 0x0107:
    case 0x0108: case 0x0127: case 0x012A: case 0x012B: case 0x012C: case 0x012D:
    case 0x012E: case 0x0139: case 0x01F0: case 0x0234:
        return 1;
    case 0x0201: case 0x0209: case 0x020A: case 0x020B: case 0x020C: case 0x020D:
    case 0x020E: case 0x020F: case 0x0211: case 0x0213: case 0x0214: case 0x0220:
    case 0x0228: case 0x0231:
        return 2;
    case 0x02FC: case 0x0410: case 0x0412: case 0x0415: case 0x0416: case 0x0418:
    case 0x0419: case 0x041B: case 0x041F: case 0x0429:
        return 4;
    case 0x02FA: case 0x0548:
        return 5;
    case 0x061C: case 0x061D:
        return 6;
    case 0x0817: case 0x081A: case 0x0830:
        return 8;
    case 0x02FB:
        return 9;
    default:
        return std::nullopt;
    }
}

// A device-independent bitmap at byte offset `at` with `avail` bytes left.
bool dibFits(const QByteArray &b, qsizetype at, qsizetype avail)
{
    if (avail < 12)
        return false;
    const uint32_t headerSize = le32(b, at);
    qint64 width = 0, height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0, sizeImage = 0, colorsUsed = 0;
    qint64 paletteEntryBytes = 4;
    if (headerSize == 12) {
        width = le16(b, at + 4);
        height = le16(b, at + 6);
        bitCount = le16(b, at + 10);
        paletteEntryBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 124 && avail >= qsizetype(headerSize)) {
        width = int32_t(le32(b, at + 4));
        height = int32_t(le32(b, at + 8));
        bitCount = le16(b, at + 14);
        compression = le32(b, at + 16);
        sizeImage = le32(b, at + 20);
        colorsUsed = le32(b, at + 32);
    } else {
        return false;
    }
    height = std::abs(height);  // negative: stored top down
    if (width <= 0 || height <= 0 || width * height > kMaxEmbeddedPixels)
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24
        && bitCount != 32)
        return false;
    // libwmf sizes the palette by the count the header gives: a count no
    // palette of this depth can have is refused, not trusted.
    qint64 colors = colorsUsed;
    const qint64 most = bitCount <= 8 ? (1 << bitCount) : 256;
    if (colors > most)
        return false;
    if (colors == 0 && bitCount <= 8)
        colors = most;
    qint64 offset = qint64(headerSize) + colors * paletteEntryBytes;
    if (compression == 3 && headerSize == 40)
        offset += 12;  // colour masks
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    qint64 bits = 0;
    switch (compression) {
    case 0: case 3:
        bits = rowBytes * height;
        break;
    case 1: case 2:  // run-length encoded: the announced size must be there
        bits = sizeImage;
        break;
    default:
        return false;
    }
    return offset + bits <= avail;
}

// The older device-dependent bitmap of BitBlt, StretchBlt and pattern brushes.
bool bitmap16Fits(const Params &p, qsizetype firstWord)
{
    // type, width, height, widthBytes, planes and bits per pixel (bytes).
    if (p.words - firstWord < 5)
        return false;
    const qint64 width = int16_t(p.word(firstWord + 1));
    const qint64 height = int16_t(p.word(firstWord + 2));
    const qint64 widthBytes = int16_t(p.word(firstWord + 3));
    if (width <= 0 || height <= 0 || widthBytes <= 0 || width * height > kMaxEmbeddedPixels)
        return false;
    const qint64 available = p.byteCount() - 2 * firstWord - 10;
    return widthBytes * height <= available;
}

// Regions: a fixed part of 11 words (the scan count in word 5, the bounding
// rectangle in words 7 to 10), then scans of (count, top, bottom, pairs,
// count). libwmf reads the scans from word 11 on.
bool regionFits(const Params &p)
{
    if (p.words < 11)
        return false;
    const int scanCount = p.word(5);
    qsizetype at = 11;
    for (int s = 0; s < scanCount; ++s) {
        if (at + 3 > p.words)
            return false;
        const qsizetype count = p.word(at);
        at += 3 + count + 1;
        if (at > p.words)
            return false;
    }
    return true;
}

// Checks the parameters of a record whose size depends on them.
bool variableRecordFits(uint16_t function, const Params &p)
{
    auto need = [&p](qint64 words) { return words <= p.words; };
    switch (function) {
    case 0x0324: case 0x0325:  // Polygon, Polyline
        return need(1) && p.word(0) > 0 && need(1 + 2 * qint64(p.word(0)));
    case 0x0538: {  // PolyPolygon
        if (!need(1))
            return false;
        const qint64 polygons = p.word(0);
        if (polygons == 0 || !need(1 + polygons))
            return false;
        qint64 points = 0;
        for (qint64 i = 0; i < polygons; ++i)
            points += p.word(1 + i);
        return need(1 + polygons + 2 * points);
    }
    case 0x0521:  // TextOut
        return need(1) && need(1 + (qint64(p.word(0)) + 1) / 2 + 2);
    case 0x0A32: {  // ExtTextOut
        if (!need(4))
            return false;
        const qint64 rect = (p.word(3) & 0x0006) ? 4 : 0;
        return need(4 + rect + (qint64(p.word(2)) + 1) / 2);
    }
    case 0x00F7: case 0x0037: case 0x0436:  // palettes
        return need(2) && need(2 + 2 * qint64(p.word(1)));
    case 0x0626:  // Escape
        return need(2) && need(2 + (qint64(p.word(1)) + 1) / 2);
    case 0x06FF:
        return regionFits(p);
    case 0x01F9:  // CreatePatternBrush
        return bitmap16Fits(p, 0);
    case 0x0922:  // BitBlt: without a bitmap it has one reserved word more
        return need(8) && (p.words == 9 || bitmap16Fits(p, 8));
    case 0x0B23:  // StretchBlt
        return need(10) && (p.words == 11 || bitmap16Fits(p, 10));
    case 0x0940:  // DibBitBlt
        return need(8) && (p.words == 9 || dibFits(p.bytes, p.start + 16, p.byteCount() - 16));
    case 0x0B41:  // DibStretchBlt
        return need(10) && (p.words == 11 || dibFits(p.bytes, p.start + 20, p.byteCount() - 20));
    case 0x0F43:  // StretchDIBits
        return need(11) && dibFits(p.bytes, p.start + 22, p.byteCount() - 22);
    case 0x0D33:  // SetDIBitsToDevice
        return need(9) && dibFits(p.bytes, p.start + 18, p.byteCount() - 18);
    case 0x0142:  // DibCreatePatternBrush
        return need(2) && dibFits(p.bytes, p.start + 4, p.byteCount() - 4);
    default:
        return true;  // records libwmf does not draw from
    }
}

// Records that put something on the picture; a file without one has nothing
// to show.
bool draws(uint16_t function)
{
    switch (function) {
    case 0x0213: case 0x0228: case 0x0324: case 0x0325: case 0x0418: case 0x0419: case 0x041B:
    case 0x041F: case 0x0429: case 0x0521: case 0x0538: case 0x0548: case 0x061C: case 0x061D:
    case 0x0817: case 0x081A: case 0x0830: case 0x0922: case 0x0940: case 0x0A32: case 0x0B23:
    case 0x0B41: case 0x0D33: case 0x0F43: case 0x012B:
        return true;
    default:
        return false;
    }
}

bool createsObject(uint16_t function)
{
    switch (function) {
    case 0x00F7: case 0x01F9: case 0x02FA: case 0x02FB: case 0x02FC: case 0x0142: case 0x06FF:
        return true;
    default:
        return false;
    }
}

// Which parameter words of a record name objects of the table.
QVector<int> objectParams(uint16_t function)
{
    switch (function) {
    case 0x012D: case 0x01F0: case 0x0234: case 0x012C: case 0x012A: case 0x012B:
        return {0};
    case 0x0228: case 0x0429:
        return {0, 1};
    default:
        return {};
    }
}

// The object table as the player fills it: a new object takes the lowest
// free slot. The free slots are kept in a min-heap, so that a file of tens of
// thousands of objects is checked in linear time, not quadratic.
class ObjectTable {
public:
    bool create()
    {
        if (!m_free.empty()) {
            std::pop_heap(m_free.begin(), m_free.end(), std::greater<>());
            m_used[m_free.back()] = true;
            m_free.pop_back();
            return true;
        }
        if (m_used.size() >= kMaxObjects)
            return false;
        m_used.push_back(true);
        return true;
    }
    bool holds(int index) const { return index < int(m_used.size()) && m_used[index]; }
    void remove(int index)
    {
        if (!holds(index))
            return;
        m_used[index] = false;
        m_free.push_back(index);
        std::push_heap(m_free.begin(), m_free.end(), std::greater<>());
    }
    int size() const { return int(m_used.size()); }

private:
    std::vector<bool> m_used;
    std::vector<int> m_free;  // min-heap of the slots deleted since
};

QString tr(const char *text)
{
    return QCoreApplication::translate("Metafile", text);
}

QByteArray failure(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return {};
}

} // namespace

bool looksLikeMetafile(const QByteArray &bytes)
{
    if (bytes.size() >= 4 && le32(bytes, 0) == kPlaceableKey)
        return true;
    return bytes.size() >= kHeaderBytes && (le16(bytes, 0) == 1 || le16(bytes, 0) == 2)
        && le16(bytes, 2) == 9;
}

QByteArray checkedMetafile(const QByteArray &bytes, QString *why)
{
    if (bytes.size() > kMaxMetafileBytes)
        return failure(why, tr("The file is too large for a picture."));

    QByteArray out;
    qsizetype at = 0;
    int unitsPerInch = 96;  // without a placeable header, device pixels
    if (bytes.size() >= 4 && le32(bytes, 0) == kPlaceableKey) {
        if (bytes.size() < kPlaceableBytes)
            return failure(why, tr("The metafile header is cut short."));
        out = bytes.left(kPlaceableBytes);
        const int16_t left = int16_t(le16(out, 6)), top = int16_t(le16(out, 8));
        const int16_t right = int16_t(le16(out, 10)), bottom = int16_t(le16(out, 12));
        if (left == right || top == bottom)
            return failure(why, tr("The metafile announces an empty picture."));
        if (le16(out, 14) == 0)
            put16(out, 14, 1440);  // units per inch; libwmf divides by it
        unitsPerInch = le16(out, 14);
        at = kPlaceableBytes;
    }

    if (bytes.size() - at < kHeaderBytes)
        return failure(why, tr("The metafile header is cut short."));
    const uint16_t type = le16(bytes, at);
    if ((type != 1 && type != 2) || le16(bytes, at + 2) != 9)
        return failure(why, tr("The file is not a Windows Metafile."));
    const qsizetype headerAt = out.size();
    out += bytes.mid(at, kHeaderBytes);
    at += kHeaderBytes;

    ObjectTable objects;
    uint32_t maxRecordWords = 3;
    int drawingRecords = 0;
    while (bytes.size() - at >= 6) {
        const uint32_t sizeWords = le32(bytes, at);
        const uint16_t function = le16(bytes, at + 4);
        if (function == 0)
            break;  // end record
        if (sizeWords < 3 || qint64(sizeWords) * 2 > bytes.size() - at)
            break;  // cut short or broken: keep the whole records before it
        const Params params{bytes, at + 6, qsizetype(sizeWords) - 3};
        const qsizetype recordAt = at;
        at += qsizetype(sizeWords) * 2;

        const auto fixedWords = fixedParamWords(function);
        const bool fits = fixedWords ? params.words >= *fixedWords
                                     : variableRecordFits(function, params);
        if (!fits)
            continue;  // a malformed record is left out, not drawn from
        bool namesHeldObjects = true;
        for (int i : objectParams(function))
            namesHeldObjects = namesHeldObjects && objects.holds(params.word(i));
        if (!namesHeldObjects)
            continue;
        if (createsObject(function) && !objects.create())
            continue;
        if (function == 0x01F0)
            objects.remove(params.word(0));

        QByteArray record = bytes.mid(recordAt, qsizetype(sizeWords) * 2);
        if (function == 0x02FB && le16(record, 6) == 0) {
            // Height 0 asks for the default size, which libwmf does not know:
            // it draws such text for minutes. A 12-point font stands in for
            // it, in the picture's own units where the header gives them.
            put16(record, 6, uint16_t(std::max(1, unitsPerInch / 6)));
            put16(record, 8, 0);
        }
        if (function == 0x02FB) {
            // The face name is read up to its terminating zero: make sure
            // there is one inside the record.
            const QByteArray face = record.mid(6 + 18);
            if (!face.contains('\0')) {
                record.append(2, '\0');
                put32(record, 0, uint32_t(record.size() / 2));
            }
        }
        maxRecordWords = std::max(maxRecordWords, uint32_t(record.size() / 2));
        out += record;
        if (draws(function))
            ++drawingRecords;
    }
    if (drawingRecords == 0)
        return failure(why, tr("The metafile holds no drawing."));

    QByteArray end(6, '\0');
    put32(end, 0, 3);
    out += end;

    put32(out, headerAt + 6, uint32_t((out.size() - headerAt) / 2));
    put16(out, headerAt + 10, uint16_t(std::max(objects.size(), int(le16(out, headerAt + 10)))));
    put32(out, headerAt + 12, maxRecordWords);
    return out;
}

} // namespace vellara::platform
