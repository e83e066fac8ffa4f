#pragma once
// A small writer of Windows Metafiles with the placeable header. It makes the
// test fixtures and the sample deck's card pictures; what it writes is read by
// libwmf and other programs like any metafile.

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

namespace tools {

class WmfWriter {
public:
    // The picture's logical coordinates run from (0, 0) to (width, height);
    // unitsPerInch says how large it is meant to be (1440 gives twips).
    // Coordinates are 16-bit in the file: larger values are clamped, sizes
    // to 1..32767.
    WmfWriter(int width, int height, int unitsPerInch = 1440);

    // Objects are created, selected and deleted at once by the drawing calls,
    // so a caller only sets the current pen, brush and font.
    // Until set, the pen is black and 1 unit wide, the brush hollow, the font
    // "Times New Roman" 12 units high and the text black.
    void setPen(const QColor &color, int width = 1);   // a null pen when !color.isValid()
    void setBrush(const QColor &color);                // a hollow brush when !color.isValid()
    // height is the character height (the em, without internal leading) in
    // logical units; it is stored as a negative LOGFONT height.
    void setFont(const QString &face, int height, bool bold = false);
    void setTextColor(const QColor &color);

    // Shapes cover r.x() .. r.x() + r.width() and r.y() .. r.y() + r.height().
    void rectangle(const QRect &r);
    // libwmf's gd renderer draws only the outline of an Ellipse record;
    // round shapes that must show filled there are better drawn as polygons.
    void ellipse(const QRect &r);
    void polygon(const QVector<QPoint> &points);
    void line(QPoint from, QPoint to);
    // Text centred on x, with its top at y, on a transparent background.
    // Written in Windows-1252; a character it cannot hold becomes '?'.
    void text(int x, int y, const QString &text);

    // Appends any raw record (function number and parameter words); for
    // writing broken or unusual files in tests.
    void rawRecord(uint16_t function, const QVector<uint16_t> &params);

    // The whole file: placeable header, standard header, records, end record.
    QByteArray finish() const;
    // Writes finish() to path; false with the reason in *error on failure.
    bool save(const QString &path, QString *error = nullptr) const;

    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    struct PenStyle {
        QColor color;
        int width = 1;
        bool operator==(const PenStyle &) const = default;
    };
    struct FontStyle {
        QString face = QStringLiteral("Times New Roman");
        int height = 12;
        bool bold = false;
        bool operator==(const FontStyle &) const = default;
    };
    // One kind of GDI object: what the caller asked for, what is selected.
    template <typename Style>
    struct Slot {
        Style wanted;
        std::optional<Style> selected;
        int index = -1;
    };

    void record(uint16_t function, const QVector<uint16_t> &params);
    // Creates the wanted object when it differs from the selected one, selects
    // it and deletes the one it replaces.
    template <typename Style>
    void realize(Slot<Style> &slot, uint16_t createFunction, const QVector<uint16_t> &params);
    void realizePen();
    void realizeBrush();
    void realizeFont();
    int allocateObject();

    int m_width;
    int m_height;
    int m_unitsPerInch;
    QByteArray m_records;
    uint32_t m_maxRecordWords = 0;
    QVector<bool> m_objects;  // which object table entries are alive
    int m_maxObjects = 0;
    Slot<PenStyle> m_pen;
    Slot<QColor> m_brush;
    Slot<FontStyle> m_font;
    QColor m_wantedTextColor = Qt::black;
    std::optional<QColor> m_textColor;
};

} // namespace tools
