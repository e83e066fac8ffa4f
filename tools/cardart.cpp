#include "cardart.h"

#include "wmfwriter.h"

#include "core/corestate.h"
#include "core/deckfile.h"
#include "platform/message.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <functional>

namespace tools {

namespace {

constexpr double kPi = 3.14159265358979323846;
const QString kFace = QStringLiteral("Times New Roman");
const QString kBackFile = QStringLiteral("back.wmf");

// Card layout: the emblem sits on a round medallion between numeral and name.
constexpr int kCentreX = kCardWidth / 2;
constexpr int kCentreY = 1010;
constexpr int kMedallion = 440;
constexpr int kNumeralTop = 150;
constexpr int kNumeralHeight = 210;
constexpr int kNameTop = 1745;
constexpr int kNameHeight = 150;
constexpr int kNameWidth = 940;

const QColor kInk(0x2B, 0x1E, 0x3A);
const QColor kCream(0xF7, 0xEE, 0xD6);
const QColor kGold(0xE0, 0xA8, 0x20);
const QColor kBorder(0x3A, 0x2A, 0x5C);

// Drawing relative to the emblem's centre.
class Canvas {
public:
    explicit Canvas(WmfWriter &out, int cx = kCentreX, int cy = kCentreY) : m_out(out), m_cx(cx), m_cy(cy) {}

    WmfWriter &out() { return m_out; }
    QPoint at(int x, int y) const { return {m_cx + x, m_cy + y}; }

    // Filled shapes without outline unless a pen is given.
    void fill(const QColor &color, const QColor &pen = {}, int penWidth = 1)
    {
        m_out.setBrush(color);
        m_out.setPen(pen, penWidth);
        m_filled = color.isValid();
    }
    void stroke(const QColor &pen, int width)
    {
        m_out.setBrush({});
        m_out.setPen(pen, width);
        m_filled = false;
    }

    void disc(int x, int y, int r) { oval(x, y, r, r); }
    // libwmf's renderer leaves Ellipse records unfilled, so filled ovals go
    // out as polygons; outlines stay true ellipses.
    void oval(int x, int y, int rx, int ry)
    {
        if (!m_filled) {
            m_out.ellipse(QRect(m_cx + x - rx, m_cy + y - ry, 2 * rx, 2 * ry));
            return;
        }
        constexpr int kSides = 72;
        QVector<QPoint> points;
        for (int i = 0; i < kSides; ++i) {
            const double a = 2 * kPi * i / kSides;
            points << at(x + int(std::lround(rx * std::cos(a))), y + int(std::lround(ry * std::sin(a))));
        }
        m_out.polygon(points);
    }
    void box(int x0, int y0, int x1, int y1) { m_out.rectangle(QRect(m_cx + x0, m_cy + y0, x1 - x0, y1 - y0)); }
    void line(int x0, int y0, int x1, int y1) { m_out.line(at(x0, y0), at(x1, y1)); }
    void poly(std::initializer_list<QPoint> points)
    {
        QVector<QPoint> shifted;
        for (const QPoint &p : points)
            shifted << at(p.x(), p.y());
        m_out.polygon(shifted);
    }
    // A star of n points; angle 0 puts a point straight up.
    void star(int x, int y, int outer, int inner, int n, double turn = 0)
    {
        QVector<QPoint> points;
        for (int i = 0; i < 2 * n; ++i) {
            const double a = turn + kPi * i / n;
            const int r = i % 2 ? inner : outer;
            points << at(x + int(std::lround(r * std::sin(a))), y - int(std::lround(r * std::cos(a))));
        }
        m_out.polygon(points);
    }

private:
    WmfWriter &m_out;
    int m_cx;
    int m_cy;
    bool m_filled = false;
};

// Approximate advance widths of the roman face in thousandths of the em, to
// choose a font height at which a name fits its line.
int advance(QChar c)
{
    static const int lower[26] = {444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500, 278, 778,
                                  500, 500, 500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444};
    static const int upper[26] = {722, 667, 667, 722, 611, 556, 722, 722, 333, 389, 722, 611, 889,
                                  722, 722, 556, 722, 667, 556, 611, 722, 722, 944, 722, 722, 611};
    const char16_t u = c.unicode();
    if (u >= 'a' && u <= 'z')
        return lower[u - 'a'];
    if (u >= 'A' && u <= 'Z')
        return upper[u - 'A'];
    if (u == ' ')
        return 250;
    return 600;
}

int fittingHeight(const QString &text, int maxHeight, int width)
{
    // Bold runs some 8% wider than the roman widths above.
    int ems = 0;
    for (QChar c : text)
        ems += advance(c);
    ems = ems * 108 / 100;
    if (ems == 0)
        return maxHeight;
    return std::min(maxHeight, int(qint64(width) * 1000 / ems));
}

using Emblem = std::function<void(Canvas &)>;

struct Design {
    QColor medallion;
    Emblem draw;
};

QColor rgb(unsigned value)
{
    return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

// The emblems of the 22 major cards, in deck order.
const QVector<Design> &designs()
{
    static const QVector<Design> all = {
        // The Fool: a jester's cap with bells.
        {rgb(0x7FC4EE), [](Canvas &c) {
             c.fill(rgb(0xD8322E));
             c.poly({{-250, 140}, {-360, -180}, {-60, 60}, {-10, 140}});
             c.poly({{250, 140}, {360, -180}, {60, 60}, {10, 140}});
             c.fill(rgb(0x2E9A47));
             c.poly({{-130, 140}, {0, -300}, {130, 140}});
             c.fill(kGold);
             c.box(-270, 120, 270, 220);
             c.fill(rgb(0xFFE04A), kInk, 16);
             c.disc(-360, -180, 60);
             c.disc(360, -180, 60);
             c.disc(0, -300, 60);
         }},
        // The Magician: the figure of infinity over a wand.
        {rgb(0x9C2A2A), [](Canvas &c) {
             c.stroke(rgb(0xFFD23F), 70);
             c.oval(-135, -170, 130, 95);
             c.oval(135, -170, 130, 95);
             c.fill(rgb(0xF7F3E8), kInk, 16);
             c.box(-40, 0, 40, 330);
             c.fill(rgb(0xFFD23F), kInk, 16);
             c.box(-55, -30, 55, 40);
             c.box(-55, 290, 55, 360);
         }},
        // The High Priestess: two pillars and the crescent between them.
        {rgb(0x23395B), [](Canvas &c) {
             c.fill(rgb(0x141414), kGold, 18);
             c.box(-320, -230, -180, 330);
             c.box(-345, -290, -155, -230);
             c.fill(rgb(0xF2EEE2), kGold, 18);
             c.box(180, -230, 320, 330);
             c.box(155, -290, 345, -230);
             c.fill(rgb(0xF4EFB0));
             c.disc(0, 0, 150);
             c.fill(rgb(0x23395B));
             c.disc(65, -35, 125);
         }},
        // The Empress: the sign of Venus.
        {rgb(0x4E8B3A), [](Canvas &c) {
             c.fill(rgb(0xFFD23F), kInk, 14);
             c.disc(0, -110, 215);
             c.box(-50, 105, 50, 370);
             c.box(-160, 200, 160, 285);
             c.fill(rgb(0x4E8B3A), kInk, 14);
             c.disc(0, -110, 125);
         }},
        // The Emperor: a crown.
        {rgb(0xB83A2A), [](Canvas &c) {
             c.fill(rgb(0xFFD23F), kInk, 16);
             c.poly({{-280, 160}, {-320, -170}, {-150, -10}, {0, -260}, {150, -10}, {320, -170}, {280, 160}});
             c.box(-290, 140, 290, 250);
             c.fill(rgb(0x2456C8), kInk, 12);
             c.disc(0, 195, 42);
             c.fill(rgb(0xE23B3B), kInk, 12);
             c.disc(-170, 195, 36);
             c.disc(170, 195, 36);
             c.disc(-320, -170, 42);
             c.disc(0, -260, 42);
             c.disc(320, -170, 42);
         }},
        // The Hierophant: the triple cross.
        {rgb(0x5B3A86), [](Canvas &c) {
             c.fill(rgb(0xFFD23F), kInk, 14);
             c.box(-45, -340, 45, 360);
             c.box(-120, -260, 120, -190);
             c.box(-180, -130, 180, -55);
             c.box(-240, 5, 240, 85);
         }},
        // The Lovers: a heart.
        {rgb(0xF4B6C6), [](Canvas &c) {
             c.fill(rgb(0xD81E3A));
             c.disc(-135, -90, 160);
             c.disc(135, -90, 160);
             c.poly({{-286, -40}, {0, 310}, {286, -40}, {0, -60}});
         }},
        // The Chariot: a canopied car on two wheels.
        {rgb(0x2C4A8A), [](Canvas &c) {
             c.fill(rgb(0x1A1A2E));
             c.box(-270, -300, 270, -230);
             c.fill(rgb(0xC9D3E0));
             c.box(-230, -240, -190, -60);
             c.box(190, -240, 230, -60);
             c.fill(rgb(0xC9D3E0), kInk, 14);
             c.poly({{-280, -70}, {280, -70}, {220, 170}, {-220, 170}});
             c.fill(rgb(0xFFD23F));
             c.star(0, 45, 95, 40, 5);
             c.fill(rgb(0xFFD23F), kInk, 16);
             c.disc(-180, 220, 115);
             c.disc(180, 220, 115);
             c.fill(kInk);
             c.disc(-180, 220, 35);
             c.disc(180, 220, 35);
         }},
        // Strength: a lion's head.
        {rgb(0x7A9A3A), [](Canvas &c) {
             c.fill(rgb(0xB5541B));
             c.star(0, 0, 345, 255, 16);
             c.fill(rgb(0xF2C55C));
             c.disc(0, 10, 215);
             c.fill(kInk);
             c.disc(-80, -40, 30);
             c.disc(80, -40, 30);
             c.fill(rgb(0x6B3A1E));
             c.poly({{-55, 50}, {55, 50}, {0, 115}});
             c.stroke(rgb(0x6B3A1E), 18);
             c.line(0, 115, -60, 160);
             c.line(0, 115, 60, 160);
         }},
        // The Hermit: a lantern with a star in it.
        {rgb(0x3B4A5C), [](Canvas &c) {
             c.stroke(rgb(0x9AA3AE), 36);
             c.disc(0, -250, 55);
             c.fill(rgb(0x9AA3AE), kInk, 14);
             c.poly({{-170, -120}, {170, -120}, {0, -210}});
             c.fill(rgb(0xFFE98A), rgb(0x9AA3AE), 34);
             c.box(-130, -120, 130, 200);
             c.fill(rgb(0xF29A00));
             c.star(0, 40, 105, 52, 6);
             c.fill(rgb(0x9AA3AE), kInk, 14);
             c.box(-170, 200, 170, 255);
         }},
        // Wheel of Fortune: an eight-spoked wheel.
        {rgb(0x2E7D86), [](Canvas &c) {
             c.fill(rgb(0xF0902E), kInk, 14);
             c.disc(0, 0, 340);
             c.fill(rgb(0x2E7D86), kInk, 14);
             c.disc(0, 0, 260);
             c.stroke(rgb(0xF0902E), 44);
             for (int i = 0; i < 4; ++i) {
                 const double a = kPi * i / 4;
                 const int dx = int(std::lround(255 * std::cos(a)));
                 const int dy = int(std::lround(255 * std::sin(a)));
                 c.line(-dx, -dy, dx, dy);
             }
             c.fill(rgb(0xF0902E), kInk, 14);
             c.disc(0, 0, 75);
         }},
        // Justice: a pair of scales.
        {rgb(0x7A2E46), [](Canvas &c) {
             c.stroke(rgb(0xFFE9A8), 12);
             c.line(-280, -210, -360, 70);
             c.line(-280, -210, -200, 70);
             c.line(280, -210, 200, 70);
             c.line(280, -210, 360, 70);
             c.fill(rgb(0xFFD23F), kInk, 12);
             c.box(-28, -250, 28, 300);
             c.box(-300, -235, 300, -185);
             c.disc(0, -285, 50);
             c.poly({{-170, 350}, {170, 350}, {70, 280}, {-70, 280}});
             c.poly({{-390, 60}, {-170, 60}, {-215, 145}, {-345, 145}});
             c.poly({{170, 60}, {390, 60}, {345, 145}, {215, 145}});
         }},
        // The Hanged Man: a figure hung by one foot, a halo round his head.
        {rgb(0x3E7A5A), [](Canvas &c) {
             c.fill(rgb(0x7A4A22), kInk, 12);
             c.box(-300, -370, 300, -300);
             c.fill(rgb(0xD9C8A0));
             c.box(-14, -305, 14, -240);
             c.fill(rgb(0x2F5FB0), kInk, 12);
             c.box(-40, -250, 40, 30);
             c.poly({{-35, -160}, {-170, -60}, {-125, -15}, {25, -115}});
             c.fill(rgb(0xD8322E), kInk, 12);
             c.poly({{-85, 20}, {85, 20}, {125, 210}, {-125, 210}});
             c.fill(rgb(0xFFD23F));
             c.disc(0, 290, 125);
             c.fill(rgb(0xF2CFA6), kInk, 12);
             c.disc(0, 285, 75);
         }},
        // Death: a skull.
        {rgb(0x1F1F24), [](Canvas &c) {
             c.fill(rgb(0xEDE6D3));
             c.disc(0, -60, 215);
             c.box(-115, 60, 115, 215);
             c.fill(rgb(0x1F1F24));
             c.disc(-85, -40, 62);
             c.disc(85, -40, 62);
             c.poly({{-35, 80}, {35, 80}, {0, 20}});
             c.stroke(rgb(0x1F1F24), 16);
             for (int x = -70; x <= 70; x += 47)
                 c.line(x, 140, x, 215);
         }},
        // Temperance: water poured from one cup into another.
        {rgb(0x8FC1E0), [](Canvas &c) {
             c.fill(rgb(0x2F6FD0));
             c.poly({{-120, -245}, {-40, -262}, {215, 20}, {140, 55}});
             c.fill(rgb(0xFFD23F), kInk, 14);
             c.poly({{-320, -270}, {-80, -270}, {-130, -120}, {-270, -120}});
             c.box(-220, -125, -180, -40);
             c.box(-270, -45, -130, -10);
             c.poly({{80, 30}, {320, 30}, {270, 180}, {130, 180}});
             c.box(180, 175, 220, 260);
             c.box(130, 255, 270, 290);
         }},
        // The Devil: a horned head.
        {rgb(0x2A1018), [](Canvas &c) {
             c.fill(rgb(0xF2E3C0), kInk, 12);
             c.poly({{-190, -130}, {-310, -350}, {-80, -200}});
             c.poly({{190, -130}, {310, -350}, {80, -200}});
             c.fill(rgb(0xD63A24));
             c.disc(0, 0, 220);
             c.poly({{-140, 150}, {140, 150}, {0, 330}});
             c.fill(rgb(0xFFE04A), kInk, 10);
             c.poly({{-150, -80}, {-40, -40}, {-130, -10}});
             c.poly({{150, -80}, {40, -40}, {130, -10}});
             c.fill(kInk);
             c.poly({{-120, 70}, {120, 70}, {0, 150}});
         }},
        // The Tower: a tower struck by lightning.
        {rgb(0x474C68), [](Canvas &c) {
             c.fill(rgb(0xA8A29A), kInk, 14);
             c.box(-140, -190, 140, 360);
             c.box(-170, -250, -90, -180);
             c.box(-40, -250, 40, -180);
             c.box(90, -250, 170, -180);
             c.fill(rgb(0x2A1E1A));
             c.box(-40, -80, 40, 30);
             c.box(-35, 240, 35, 360);
             c.fill(rgb(0xF2902E));
             c.poly({{-120, -190}, {-90, -290}, {-50, -220}, {0, -320}, {50, -220}, {90, -290}, {120, -190}});
             c.fill(rgb(0xFFE04A), kInk, 10);
             c.poly({{250, -420}, {100, -250}, {180, -235}, {40, -110}, {230, -270}, {150, -285}, {310, -420}});
         }},
        // The Star: one great star among small ones.
        {rgb(0x1B2A5A), [](Canvas &c) {
             c.fill(rgb(0xFFD23F));
             c.star(0, -10, 310, 115, 8);
             c.fill(rgb(0xF7F3E8));
             c.star(-290, -210, 65, 26, 8);
             c.star(290, -210, 65, 26, 8);
             c.star(-310, 130, 65, 26, 8);
             c.star(310, 130, 65, 26, 8);
             c.star(0, 340, 65, 26, 8);
         }},
        // The Moon: a crescent over two drops.
        {rgb(0x182240), [](Canvas &c) {
             c.fill(rgb(0xF4EFB0));
             c.disc(-30, -40, 280);
             c.fill(rgb(0x182240));
             c.disc(90, -100, 235);
             c.fill(rgb(0xFFD23F));
             c.star(220, 180, 60, 25, 4);
             c.star(300, -280, 45, 18, 4);
         }},
        // The Sun: a rayed disc.
        {rgb(0x5DA9E9), [](Canvas &c) {
             c.fill(rgb(0xF3901A));
             c.star(0, 0, 390, 250, 16);
             c.fill(rgb(0xFFD93B), rgb(0xF3901A), 14);
             c.disc(0, 0, 240);
         }},
        // Judgement: a trumpet with a banner.
        {rgb(0x7AA6D6), [](Canvas &c) {
             c.fill(rgb(0xF7F3E8), kInk, 12);
             c.box(-200, -50, 0, 150);
             c.fill(rgb(0xD8322E));
             c.box(-125, -50, -75, 150);
             c.box(-200, 25, 0, 75);
             c.stroke(rgb(0xFFD23F), 55);
             c.line(-290, -250, 130, 90);
             c.fill(rgb(0xFFD23F), kInk, 12);
             c.poly({{110, 105}, {150, 65}, {390, 110}, {180, 350}});
         }},
        // The World: a wreath tied with ribbons.
        {rgb(0x4A3A7A), [](Canvas &c) {
             c.fill(rgb(0x3E9A4A), kInk, 12);
             c.oval(0, 0, 230, 340);
             c.fill(rgb(0x4A3A7A), kInk, 12);
             c.oval(0, 0, 150, 260);
             c.fill(rgb(0xD8322E), kInk, 10);
             c.poly({{-90, -390}, {90, -290}, {90, -390}, {-90, -290}});
             c.poly({{-90, 390}, {90, 290}, {90, 390}, {-90, 290}});
             c.fill(rgb(0xFFD23F));
             c.star(0, 0, 120, 50, 5);
         }},
    };
    return all;
}

QString trimmedRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

// A picture name must name a plain file inside the deck directory.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

// Whole or not at all, like WmfWriter::save.
bool saveFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace

QString romanNumeral(int number)
{
    if (number <= 0 || number > 3999)
        return QString::number(number);
    static const std::pair<int, const char *> steps[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},   {4, "IV"},  {1, "I"},
    };
    QString out;
    for (const auto &[value, letters] : steps) {
        while (number >= value) {
            out += QLatin1String(letters);
            number -= value;
        }
    }
    return out;
}

QByteArray cardFace(int number, const QString &name)
{
    WmfWriter out(kCardWidth, kCardHeight, kCardUnitsPerInch);
    out.setPen({});
    out.setBrush(kBorder);
    out.rectangle(QRect(0, 0, kCardWidth, kCardHeight));
    out.setBrush(kCream);
    out.rectangle(QRect(45, 45, kCardWidth - 90, kCardHeight - 90));
    out.setBrush({});
    out.setPen(kGold, 24);
    out.rectangle(QRect(95, 95, kCardWidth - 190, kCardHeight - 190));

    const Design &design = designs()[std::abs(number) % designs().size()];
    Canvas canvas(out);
    canvas.fill(design.medallion, kGold, 28);
    canvas.disc(0, 0, kMedallion);
    design.draw(canvas);

    out.setTextColor(kInk);
    out.setFont(kFace, kNumeralHeight, true);
    out.text(kCentreX, kNumeralTop, romanNumeral(number));
    const QString title = name.simplified();
    out.setFont(kFace, fittingHeight(title, kNameHeight, kNameWidth), true);
    out.text(kCentreX, kNameTop + (kNameHeight - fittingHeight(title, kNameHeight, kNameWidth)) / 2, title);
    return out.finish();
}

QByteArray cardBack()
{
    WmfWriter out(kCardWidth, kCardHeight, kCardUnitsPerInch);
    const QColor navy = rgb(0x1D2B5C);
    const QColor wine = rgb(0x8E2A3A);
    out.setPen({});
    out.setBrush(navy);
    out.rectangle(QRect(0, 0, kCardWidth, kCardHeight));
    out.setBrush({});
    out.setPen(kGold, 30);
    out.rectangle(QRect(70, 70, kCardWidth - 140, kCardHeight - 140));
    out.setPen(wine, 18);
    out.rectangle(QRect(120, 120, kCardWidth - 240, kCardHeight - 240));

    // Every shape off the centre is drawn with its twin turned by 180 degrees.
    Canvas centre(out, kCardWidth / 2, kCardHeight / 2);
    auto diamond = [&](int x, int y, int rx, int ry) {
        for (int s : {1, -1})
            centre.poly({{s * x, s * (y - ry)}, {s * (x + rx), s * y}, {s * x, s * (y + ry)}, {s * (x - rx), s * y}});
    };
    centre.fill(kGold);
    diamond(0, -700, 110, 190);
    diamond(-290, -560, 60, 100);
    diamond(290, -560, 60, 100);
    diamond(0, -450, 50, 80);
    centre.fill(wine);
    diamond(0, -700, 50, 90);
    for (int s : {1, -1}) {
        centre.fill(wine, kGold, 16);
        centre.disc(s * 290, s * -810, 60);
        centre.disc(s * -290, s * -810, 60);
    }

    centre.fill(wine, kGold, 26);
    centre.disc(0, 0, 330);
    centre.fill(kGold);
    centre.star(0, 0, 290, 120, 8);
    centre.fill(navy, kGold, 16);
    centre.disc(0, 0, 80);
    return out.finish();
}

bool writeDeckPictures(const QString &deckDirectory, QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };

    // The deck reader tells the user in a message box; here the words go to the caller.
    QString message;
    const auto previous = vellara::platform::setMessageHandler([&](const QString &text) { message = text; });
    vellara::CoreState state;
    const bool loaded = vellara::LoadDeckFromDirectory(state, deckDirectory);
    vellara::platform::setMessageHandler(previous);
    if (!loaded)
        return fail(message);

    QStringList files;
    QSet<QString> seen{kBackFile, QString::fromLatin1(vellara::kDeckFileName)};
    for (int k = 0; k < state.cardCount; ++k) {
        const QString file = trimmedRight(state.cards[k].pictureFile);
        if (!isPlainFileName(file))
            return fail(QStringLiteral("card %1 has the picture name \"%2\", which is not a file in the deck folder")
                            .arg(k).arg(file));
        if (seen.contains(file.toLower()))
            return fail(QStringLiteral("card %1's picture name \"%2\" is already taken").arg(k).arg(file));
        seen.insert(file.toLower());
        files << file;
    }

    const QDir dir(deckDirectory);
    for (int k = 0; k < state.cardCount; ++k) {
        const QString name = trimmedRight(state.cards[k].name);
        if (!saveFile(dir.filePath(files[k]), cardFace(k, name), error))
            return false;
    }
    return saveFile(dir.filePath(kBackFile), cardBack(), error);
}

} // namespace tools
