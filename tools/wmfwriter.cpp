#include "wmfwriter.h"

#include "platform/codepage.h"

#include <QSaveFile>

#include <algorithm>

namespace tools {

namespace {

enum : uint16_t {
    kSetBkMode = 0x0102,
    kSetTextAlign = 0x012E,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
};

constexpr uint16_t kTransparent = 1;
constexpr uint16_t kTaCenterTop = 6;  // TA_CENTER | TA_TOP
constexpr uint16_t kPsSolid = 0;
constexpr uint16_t kPsNull = 5;
constexpr uint16_t kBsSolid = 0;
constexpr uint16_t kBsNull = 1;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kRecordHeaderWords = 3;

uint16_t coord(int value)
{
    return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(value, -32768, 32767)));
}

void putWord(QByteArray &out, uint16_t value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void putDword(QByteArray &out, uint32_t value)
{
    putWord(out, uint16_t(value & 0xFFFF));
    putWord(out, uint16_t(value >> 16));
}

// COLORREF as two words: red and green, then blue.
void appendColor(QVector<uint16_t> &params, const QColor &color)
{
    params << uint16_t(color.red() | (color.green() << 8)) << uint16_t(color.blue());
}

// Opaque RGB, so that colours made different ways compare equal.
QColor plainColor(const QColor &color)
{
    return color.isValid() ? QColor(color.red(), color.green(), color.blue()) : QColor();
}

// Metafile text is in Windows-1252, like the program's files.
QByteArray toCp1252(const QString &text)
{
    return vellara::platform::encodeCp1252(text);
}

// Bytes packed two to a word, low byte first, padded with a zero byte.
void appendBytes(QVector<uint16_t> &params, const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const uint16_t low = uint8_t(bytes[i]);
        const uint16_t high = i + 1 < bytes.size() ? uint8_t(bytes[i + 1]) : 0;
        params << uint16_t(low | (high << 8));
    }
}

} // namespace

WmfWriter::WmfWriter(int width, int height, int unitsPerInch)
    : m_width(std::clamp(width, 1, 32767)),
      m_height(std::clamp(height, 1, 32767)),
      m_unitsPerInch(std::clamp(unitsPerInch, 1, 65535))
{
    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt, {coord(m_height), coord(m_width)});
    record(kSetBkMode, {kTransparent});
    record(kSetTextAlign, {kTaCenterTop});
}

void WmfWriter::setPen(const QColor &color, int width)
{
    m_pen.wanted = {plainColor(color), color.isValid() ? std::clamp(width, 0, 32767) : 0};
}

void WmfWriter::setBrush(const QColor &color)
{
    m_brush.wanted = plainColor(color);
}

void WmfWriter::setFont(const QString &face, int height, bool bold)
{
    m_font.wanted = {face, std::clamp(height, 1, 32767), bold};
}

void WmfWriter::setTextColor(const QColor &color)
{
    m_wantedTextColor = plainColor(color);
}

void WmfWriter::rectangle(const QRect &r)
{
    realizePen();
    realizeBrush();
    record(kRectangle, {coord(r.y() + r.height()), coord(r.x() + r.width()), coord(r.y()), coord(r.x())});
}

void WmfWriter::ellipse(const QRect &r)
{
    realizePen();
    realizeBrush();
    record(kEllipse, {coord(r.y() + r.height()), coord(r.x() + r.width()), coord(r.y()), coord(r.x())});
}

void WmfWriter::polygon(const QVector<QPoint> &points)
{
    if (points.size() < 2)
        return;
    realizePen();
    realizeBrush();
    // The count is a 16-bit word; a record this large no reader would want anyway.
    const qsizetype count = std::min<qsizetype>(points.size(), 16000);
    QVector<uint16_t> params{uint16_t(count)};
    for (qsizetype i = 0; i < count; ++i)
        params << coord(points[i].x()) << coord(points[i].y());
    record(kPolygon, params);
}

void WmfWriter::line(QPoint from, QPoint to)
{
    realizePen();
    record(kMoveTo, {coord(from.y()), coord(from.x())});
    record(kLineTo, {coord(to.y()), coord(to.x())});
}

void WmfWriter::text(int x, int y, const QString &text)
{
    const QByteArray bytes = toCp1252(text).left(32000);
    if (bytes.isEmpty())
        return;
    realizeFont();
    if (m_textColor != m_wantedTextColor) {
        QVector<uint16_t> params;
        appendColor(params, m_wantedTextColor.isValid() ? m_wantedTextColor : QColor(Qt::black));
        record(kSetTextColor, params);
        m_textColor = m_wantedTextColor;
    }
    QVector<uint16_t> params{uint16_t(bytes.size())};
    appendBytes(params, bytes);
    params << coord(y) << coord(x);
    record(kTextOut, params);
}

void WmfWriter::rawRecord(uint16_t function, const QVector<uint16_t> &params)
{
    record(function, params);
}

void WmfWriter::record(uint16_t function, const QVector<uint16_t> &params)
{
    const uint32_t words = uint32_t(kRecordHeaderWords + params.size());
    putDword(m_records, words);
    putWord(m_records, function);
    for (uint16_t p : params)
        putWord(m_records, p);
    m_maxRecordWords = std::max(m_maxRecordWords, words);
}

int WmfWriter::allocateObject()
{
    // Readers put a new object in the lowest free entry of their table.
    auto free = std::find(m_objects.begin(), m_objects.end(), false);
    int index;
    if (free == m_objects.end()) {
        index = int(m_objects.size());
        m_objects.append(true);
    } else {
        index = int(free - m_objects.begin());
        *free = true;
    }
    m_maxObjects = std::max<int>(m_maxObjects, int(std::count(m_objects.begin(), m_objects.end(), true)));
    return index;
}

template <typename Style>
void WmfWriter::realize(Slot<Style> &slot, uint16_t createFunction, const QVector<uint16_t> &params)
{
    if (slot.selected == slot.wanted)
        return;
    record(createFunction, params);
    const int index = allocateObject();
    record(kSelectObject, {uint16_t(index)});
    if (slot.index >= 0) {
        record(kDeleteObject, {uint16_t(slot.index)});
        m_objects[slot.index] = false;
    }
    slot.index = index;
    slot.selected = slot.wanted;
}

void WmfWriter::realizePen()
{
    const PenStyle &pen = m_pen.wanted;
    QVector<uint16_t> params{pen.color.isValid() ? kPsSolid : kPsNull, uint16_t(pen.width), 0};
    appendColor(params, pen.color.isValid() ? pen.color : QColor(Qt::black));
    realize(m_pen, kCreatePenIndirect, params);
}

void WmfWriter::realizeBrush()
{
    const QColor &color = m_brush.wanted;
    QVector<uint16_t> params{color.isValid() ? kBsSolid : kBsNull};
    appendColor(params, color.isValid() ? color : QColor(Qt::black));
    params << 0;  // hatch, unused by solid and hollow brushes
    realize(m_brush, kCreateBrushIndirect, params);
}

void WmfWriter::realizeFont()
{
    const FontStyle &font = m_font.wanted;
    QVector<uint16_t> params{
        coord(-font.height),            // negative: character height, not cell height
        0, 0, 0,                        // width, escapement, orientation
        uint16_t(font.bold ? 700 : 400),
        0,                              // italic, underline
        0,                              // strike-out, ANSI charset
        0, 0,                           // precisions, quality, pitch and family
    };
    // The face name is at most 31 bytes and ends with a zero byte.
    QByteArray face = toCp1252(font.face).left(31);
    face.append('\0');
    appendBytes(params, face);
    realize(m_font, kCreateFontIndirect, params);
}

QByteArray WmfWriter::finish() const
{
    const uint32_t eofWords = kRecordHeaderWords;
    const uint32_t standardHeaderWords = 9;
    const uint32_t fileWords = standardHeaderWords + uint32_t(m_records.size() / 2) + eofWords;

    QByteArray out;
    out.reserve(22 + 2 * qsizetype(fileWords));
    putDword(out, kPlaceableKey);
    putWord(out, 0);  // hmf
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, coord(m_width));
    putWord(out, coord(m_height));
    putWord(out, uint16_t(m_unitsPerInch));
    putDword(out, 0);
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= uint16_t(uint8_t(out[i]) | (uint8_t(out[i + 1]) << 8));
    putWord(out, checksum);

    putWord(out, 1);  // a metafile in memory
    putWord(out, uint16_t(standardHeaderWords));
    putWord(out, 0x0300);
    putDword(out, fileWords);
    putWord(out, uint16_t(m_maxObjects));
    putDword(out, std::max(m_maxRecordWords, eofWords));
    putWord(out, 0);

    out.append(m_records);
    putDword(out, eofWords);
    putWord(out, 0);
    return out;
}

bool WmfWriter::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    const QByteArray bytes = finish();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tools
