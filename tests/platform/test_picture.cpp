#include "platform/metafilecheck.h"
#include "platform/pictureelement.h"
#include "support/memory.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vellara::platform;
using namespace vellara::test;

namespace {

using Records = QList<std::pair<uint16_t, QVector<uint16_t>>>;  // function and parameters of each

const QString kSamples = QStringLiteral(VELLARA_SHARED_DIR "/wmf-samples");

// A picture of the records given, then white paper, drawn on with a null pen
// until told otherwise.
tools::WmfWriter whitePaper(int width, int height, const Records &records = {})
{
    tools::WmfWriter w(width, height);
    for (const auto &[function, params] : records)
        w.rawRecord(function, params);
    w.setPen(QColor());
    w.setBrush(Qt::white);
    w.rectangle(QRect(0, 0, width, height));
    return w;
}

// The bytes written to path, then read back as a picture.
std::optional<Picture> loadBytes(const QString &path, const QByteArray &bytes, QString *why = nullptr)
{
    writeBytes(path, bytes);
    return Picture::load(path, why);
}

// A 1000 x 1000 picture: the records given, then white paper with a square of
// the colour over its upper left quarter (0 to 250 each way). Its size does
// not depend on the colour.
QByteArray cornerMetafile(const QColor &colour = Qt::red, const Records &records = {})
{
    tools::WmfWriter w = whitePaper(1000, 1000, records);
    w.setBrush(colour);
    w.rectangle(QRect(0, 0, 250, 250));
    return w.finish();
}

// The corner picture as a raster file.
QByteArray cornerRaster(const char *format, QSize size = QSize(20, 40))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(0, 0, size.width() / 4, size.height() / 4, Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return buffer.data();
}

// A device-independent bitmap: its header, then data (palette and pixels).
QVector<uint16_t> dib(quint32 width, quint32 height, uint16_t bits, uint16_t compression, quint32 colours,
                      quint32 sizeImage, const QVector<uint16_t> &data)
{
    return QVector<uint16_t>{40, 0, uint16_t(width), uint16_t(width >> 16), uint16_t(height), uint16_t(height >> 16),
                             1, bits, compression, 0, uint16_t(sizeImage), uint16_t(sizeImage >> 16), 0, 0, 0, 0,
                             uint16_t(colours), uint16_t(colours >> 16), 0, 0}
        + data;
}

// The parameters of a StretchDIBits record drawing a bitmap over the upper left quarter.
QVector<uint16_t> stretchDib(quint32 width, quint32 height, uint16_t bits, uint16_t compression, quint32 colours,
                             quint32 sizeImage, const QVector<uint16_t> &data)
{
    return QVector<uint16_t>{0x0020, 0x00CC, 0, 1, 1, 0, 0, 250, 250, 0, 0}
        + dib(width, height, bits, compression, colours, sizeImage, data);
}

// A file, by name and contents (null: no file at all), and what becomes of
// it: refused for the reason, or drawn; in a metafile, whether the record in
// question (its head as it stands in the file) is handed on.
struct Case {
    QString name, reason;
    QByteArray bytes, record;
    bool kept;
};

// The head of a record as it stands in a file: its function and first parameter.
QByteArray head(uint16_t function, uint16_t first)
{
    const uint16_t words[2] = {qToLittleEndian(function), qToLittleEndian(first)};
    return QByteArray(reinterpret_cast<const char *>(words), 4);
}

// The colour at a place given in fractions of the size, near enough where the file is lossy.
bool colourAt(const QImage &image, double fx, double fy, const QColor &colour, int tolerance = 0)
{
    const QColor c = image.pixelColor(int(fx * image.width()), int(fy * image.height()));
    return std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance
        && std::abs(c.blue() - colour.blue()) <= tolerance && c.alpha() == colour.alpha();
}

// Mean absolute difference per channel (0 to 255), both blurred over three
// pixels each way first.
double blurredDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int row = 0; row < a.height(); ++row) {
        for (int col = 0; col < a.width(); ++col) {
            for (const int shift : {16, 8, 0}) {  // red, green and blue
                int d = 0, n = 0;
                for (int v = std::max(0, row - 1); v <= std::min(a.height() - 1, row + 1); ++v)
                    for (int u = std::max(0, col - 1); u <= std::min(a.width() - 1, col + 1); ++u, ++n)
                        d += int(a.pixel(u, v) >> shift & 0xFF) - int(b.pixel(u, v) >> shift & 0xFF);
                sum += std::abs(d) / double(n);
            }
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class TestPicture : public QObject {
    Q_OBJECT

    // A file written at the start, so that by the time it is read its times
    // are too old to be confused with a later change.
    QTemporaryDir m_settled;
    QElapsedTimer m_sinceSettled;

private slots:
    void initTestCase()
    {
        writeBytes(m_settled.filePath("card.wmf"), cornerMetafile());
        m_sinceSettled.start();
    }

    // The fonts metafiles name are opened once for the program and shared by
    // every drawing; each text must still get the face it names. First, so
    // that no face is open yet.
    void eachTextGetsTheFaceItNames()
    {
        const WorkDir dir;
        // The weight as the file gives it: libwmf takes above 550 as bold.
        const auto draw = [](const QString &face, int weight) {
            tools::WmfWriter w = whitePaper(1000, 400);
            w.setFont(face, 250);
            w.text(20, 50, "Wim 1");
            QByteArray bytes = w.finish();
            qToLittleEndian(quint16(weight), bytes.data() + bytes.indexOf(QByteArray("\xFB\x02", 2)) + 10);
            return loadBytes(QString("%1 %2.wmf").arg(face).arg(weight), bytes)->render(QSize(250, 100));
        };
        const QImage regular = draw("Times New Roman", 550);
        const QImage bold = draw("Times New Roman", 551);
        const QImage mono = draw("Courier New", 400);
        QVERIFY(regular != bold && mono != regular && mono != bold);
        // Drawn again, from the faces already open, a text looks as it did.
        QVERIFY(draw("Times New Roman", 700) == bold && draw("Times New Roman", 400) == regular);
    }

    // Every kind of file is drawn in place, the same whichever way it is
    // turned, or refused with its reason. In a hostile metafile the record in
    // question is kept from libwmf (its head never reaches it), and the rest,
    // the corner picture, is still drawn; a sound one is handed on.
    void filesAreDrawnOrRefused_data()
    {
        QTest::addColumn<Case>("file");
        // A red upper left quarter on white; or refused for the reason.
        const auto file = [](const QString &row, const char *name, const QByteArray &bytes, const char *why,
                             const QByteArray &record = {}, bool kept = false) {
            QTest::newRow(qPrintable(row)) << Case{name, why, bytes, record, kept};
        };
        const auto drawn = [&file](const QString &row, const Records &records, const QByteArray &record, bool kept) {
            file(row, "a.wmf", cornerMetafile(Qt::red, records), "", record, kept);
        };
        const auto patched = [](int at, int count, char value) {
            return cornerMetafile().replace(at, count, QByteArray(count, value));
        };

        tools::WmfWriter bitmap = whitePaper(1000, 1000);
        bitmap.rawRecord(0x0F43, stretchDib(1, 1, 24, 0, 0, 4, {0x0000, 0x00FF}));  // one red pixel
        file("metafile", "a.wmf", cornerMetafile(), "");
        file("metafile without placeable header", "a.wmf", cornerMetafile().mid(22), "");
        file("metafile with a bitmap", "a.wmf", bitmap.finish(), "");
        file("bmp", "a.bmp", cornerRaster("BMP"), "");
        file("jpeg named bmp", "a.bmp", cornerRaster("JPEG"), "");
        // 24 megapixels from a camera: 96 MB decoded whole, so decoded small.
        file("camera jpeg", "a.jpg", cornerRaster("JPEG", QSize(6000, 4000)), "");
        file("bmp above 512 pixels", "a.bmp", cornerRaster("BMP", QSize(600, 800)), "");  // read whole, then reduced
        file("missing", "a.wmf", QByteArray(), "It does not exist.");
        file("folder", ".", QByteArray(), "It is not a regular file.");
        file("text", "notes.wmf", "The Tower: sudden change.\r\n", "The file is not a picture that");
        file("empty", "a.bmp", "", "The file is not a picture that");
        // 20000 x 20000 pixels (1.6 GB), in a format that cannot decode smaller.
        const QByteArray vastGif = QByteArray::fromHex("474946383961204e204ef00000ff00000000002c00000000204e204e00");
        file("vast gif", "a.gif", vastGif, "The picture is too large.");
        file("nothing drawn", "a.wmf", tools::WmfWriter(100, 100).finish(), "The metafile holds no drawing.");
        file("no metafile type", "a.wmf", patched(22, 1, 3), "The file is not a Windows Metafile.");
        file("empty picture, right as left", "a.wmf", patched(10, 2, 0), "The metafile announces an empty");
        file("empty picture, bottom as top", "a.wmf", patched(12, 2, 0), "The metafile announces an empty");
        file("header announcing enormous counts", "a.wmf", patched(22 + 6, 10, char(0xFF)), "");
        // libwmf divides by the units per inch.
        file("placeable header without units per inch", "a.wmf", patched(14, 2, 0), "");
        const QByteArray huge("\xFF\xFF\xFF\x7F\x1B\x04\x64\x00", 8);
        file("record claiming 4 GB", "a.wmf", cornerMetafile().chopped(6) + huge, "", huge.left(4));

        const QByteArray blit = head(0x0F43, 0x0020);
        drawn("bitmap of 100000 x 100000", {{0x0F43, stretchDib(100000, 100000, 24, 0, 0, 0, {})}}, blit, false);
        // Run-length encoded, so only its pixel count is wrong with it.
        drawn("bitmap of 1 x 20 million", {{0x0F43, stretchDib(1, 20000000, 1, 1, 0, 0, {0, 0, 0, 0})}}, blit, false);
        drawn("bitmap of no width", {{0x0F43, stretchDib(0, 1, 24, 0, 0, 0, {0, 0})}}, blit, false);
        drawn("bitmap of no height", {{0x0F43, stretchDib(1, 0, 24, 0, 0, 0, {0, 0})}}, blit, false);
        drawn("bitmap compressed as a JPEG", {{0x0F43, stretchDib(1, 1, 24, 4, 0, 4, {0, 0})}}, blit, false);
        drawn("bitmap of 12 bits a pixel", {{0x0F43, stretchDib(1, 1, 12, 0, 0, 4, {0, 0})}}, blit, false);
        drawn("bitmap without its colour masks", {{0x0F43, stretchDib(1, 1, 32, 3, 0, 4, {0, 0})}}, blit, false);
        drawn("bitmap cut short", {{0x0F43, stretchDib(1, 1, 24, 0, 0, 0, {}).mid(0, 13)}}, blit, false);
        // An OS/2 header, 12 bytes, and a palette of three bytes a colour: black and white.
        const QVector<uint16_t> os2{12, 0, 1, 1, 1, 1, 0, 0xFF00, 0xFFFF, 0, 0};
        drawn("bitmap of an OS/2 header", {{0x0F43, stretchDib(1, 1, 1, 0, 0, 0, {}).mid(0, 11) + os2}}, blit, true);
        drawn("bitmap of a full palette", {{0x0F43, stretchDib(1, 1, 1, 0, 2, 0, {0, 0, 0, 0, 0, 0})}}, blit, true);
        QVector<uint16_t> oddHeader = stretchDib(1, 1, 24, 0, 0, 0, {0x0000, 0x00FF});
        oddHeader[11] = 20;  // a bitmap header of neither size known
        drawn("bitmap of an unknown header size", {{0x0F43, oddHeader}}, blit, false);
        // More palette colours than the depth allows, though the file holds them: libwmf sizes its palette
        // by the count, which in the thousands of millions takes gigabytes.
        const auto pattern = QVector<uint16_t>{3, 0} + dib(8, 8, 1, 0, 3, 32, QVector<uint16_t>(22));
        drawn("pattern brush of too many colours", {{0x0142, pattern}}, head(0x0142, 3), false);
        // Height 0 (the default size) kept libwmf drawing for minutes: 12
        // points (240 twips) stand in, of the width that goes with them.
        const Records font{{0x02FB, {0, 20, 0, 0, 400, 0, 0, 0, 0x4241, 0}}, {0x012D, {0}}, {0x01F0, {0}}};
        drawn("font of height 0", font, head(0x02FB, 0), false);
        drawn("font of height 0, made 12 points", font, QByteArray("\xFB\x02\xF0\0\0\0", 6), true);
        const Records faceWithoutEnd{{0x02FB, {240, 0, 0, 0, 400, 0, 0, 0, 0, 0x4241}}, {0x012D, {0}}, {0x01F0, {0}}};
        drawn("font whose face has no end, given one", faceWithoutEnd, QByteArray("\x0E\0\0\0\xFB\x02", 6), true);
        const std::pair<uint16_t, QVector<uint16_t>> palette{0x00F7, {0x0300, 0}};
        drawn("object never made", {{0x012D, {77}}}, head(0x012D, 77), false);
        drawn("object deleted before use", {palette, {0x01F0, {0}}, {0x0234, {0}}}, head(0x0234, 0), false);
        const Records again{palette, {0x01F0, {0}}, palette, {0x0234, {0}}, {0x01F0, {0}}};
        drawn("object made again", again, head(0x0234, 0), true);
        // Of two free slots the lower is taken first.
        const Records lowest{palette, palette, palette, {0x01F0, {2}}, {0x01F0, {0}},
                             palette, {0x0234, {0}}, {0x01F0, {0}}, {0x01F0, {1}}};
        drawn("object made in the lowest free slot", lowest, head(0x0234, 0), true);
        drawn("record that draws nothing", {{0x0149, {0x1234, 0}}}, head(0x0149, 0x1234), true);
        drawn("polygons, none of them", {{0x0538, {0}}}, head(0x0538, 0), false);
        drawn("polygon of no points", {{0x0324, {0}}}, head(0x0324, 0), false);
        drawn("polygons, not even counted", {{0x0538, {}}}, QByteArray("\x03\0\0\0\x38\x05", 6), false);
        drawn("region of a scan not there", {{0x06FF, {0, 6, 0, 0, 0, 1, 0, 0, 0, 0, 0}}}, head(0x06FF, 0), false);
        drawn("pattern brush without its size", {{0x01F9, {0, 8, 1}}}, head(0x01F9, 0), false);
        drawn("text in a rectangle, without its place", {{0x0A32, {10, 10, 3}}}, head(0x0A32, 10), false);

        // Each record that fits exactly is handed on, and refused a word short.
        // An object made is deleted again, so that the writer's own take its place.
        const auto fits = [&drawn](const QString &name, uint16_t function, QVector<uint16_t> params) {
            drawn(name + ", whole", {{function, params}, {0x01F0, {0}}}, head(function, params[0]), true);
            params.removeLast();
            drawn(name + ", a word short", {{function, params}, {0x01F0, {0}}}, head(function, params[0]), false);
        };
        const QVector<uint16_t> pixel = dib(1, 1, 24, 0, 0, 0, {0x0000, 0x00FF});
        const QVector<uint16_t> pixels16{0, 8, 1, 2, 0x0101, 0x00FF};  // eight pixels of one bit
        const QVector<uint16_t> blt{0x0020, 0x00CC, 0, 0, 1, 8, 0, 0};
        const QVector<uint16_t> stretchBlt{0x0020, 0x00CC, 1, 8, 0, 0, 250, 250, 0, 0};
        fits("rectangle", 0x041B, {100, 100, 0, 0});
        fits("polygon", 0x0324, {2, 10, 10, 20, 20});
        fits("polygons", 0x0538, {2, 2, 1, 10, 10, 20, 20, 30, 30});
        fits("text", 0x0521, {3, 0x4241, 0x0043, 10, 10});
        fits("text in a rectangle", 0x0A32, {10, 10, 3, 0x0004, 0, 0, 20, 20, 0x4241, 0x0043});
        fits("escape", 0x0626, {15, 3, 0x4241, 0x0043});
        fits("palette", 0x00F7, {0x0300, 1, 0x00FF, 0x0000});
        fits("region", 0x06FF, {0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        // Measured scan by scan after the bounds: one of two sides, then one of none.
        fits("region of two scans", 0x06FF, {0, 6, 0, 0, 0, 2, 0, 0, 0, 10, 20, 2, 0, 10, 0, 10, 2, 0, 10, 20, 0});
        fits("pattern brush", 0x01F9, pixels16);
        drawn("pattern brush of no width", {{0x01F9, {0, 0, 1, 2, 0x0101, 0x00FF}}}, head(0x01F9, 0), false);
        drawn("pattern brush of height -1", {{0x01F9, {0, 8, 0xFFFF, 2, 0x0101, 0x00FF}}}, head(0x01F9, 0), false);
        drawn("pattern brush of no line", {{0x01F9, {0, 8, 1, 0, 0x0101, 0x00FF}}}, head(0x01F9, 0), false);
        fits("bitmap block", 0x0922, blt + pixels16);
        fits("stretched bitmap block", 0x0B23, stretchBlt + pixels16);
        fits("device bitmap block", 0x0940, QVector<uint16_t>{0x0020, 0x00CC, 0, 0, 1, 1, 0, 0} + pixel);
        fits("stretched device bitmap block", 0x0B41,
             QVector<uint16_t>{0x0020, 0x00CC, 1, 1, 0, 0, 250, 250, 0, 0} + pixel);
        fits("bitmap to the device", 0x0D33, QVector<uint16_t>{0, 1, 0, 0, 0, 1, 1, 0, 0} + pixel);
        fits("device pattern brush", 0x0142, QVector<uint16_t>{3, 0} + pixel);
        fits("stretched device bitmap", 0x0F43, stretchDib(1, 1, 24, 0, 0, 0, {0x0000, 0x00FF}));
        const QVector<uint16_t> oldHeader{12, 0, 1, 1, 1, 24, 0, 0xFF};  // 12 bytes, then one red pixel
        fits("bitmap of the old header", 0x0F43, stretchDib(1, 1, 24, 0, 0, 0, {}).mid(0, 11) + oldHeader);
        // Run-length encoded: one red pixel, the end of its line and of the bitmap; its size is the one
        // announced, not that of its pixels unpacked.
        fits("run-length bitmap", 0x0F43, stretchDib(1, 1, 8, 1, 1, 6, {0x0000, 0x00FF, 0x0001, 0x0000, 0x0100}));
    }
    void filesAreDrawnOrRefused()
    {
        QFETCH(Case, file);
        const auto &[name, reason, bytes, record, kept] = file;
        const WorkDir dir;
        if (!bytes.isNull())
            writeBytes(name, bytes);
        resetPeakResident();
        const long before = peakResidentKilobytes();
        QString why;
        const auto picture = Picture::load(name, &why);
        QVERIFY2(bool(picture) == reason.isEmpty() && why.left(reason.size()) == reason, qPrintable(why));
        if (!picture)
            return;
        const QImage upright = picture->render(QSize(116, 213));
        QVERIFY(peakResidentKilobytes() - before < 16 * 1024 && upright.size() == QSize(116, 213));
        const int tolerance = bytes.startsWith("\xFF\xD8") ? 60 : 0;  // JPEG
        for (const auto &[fx, fy, colour] : {std::tuple{0.1, 0.1, Qt::red}, {0.2, 0.2, Qt::red}, {0.9, 0.9, Qt::white},
                                             {0.32, 0.1, Qt::white}, {0.1, 0.32, Qt::white}})
            QVERIFY2(colourAt(upright, fx, fy, colour, tolerance), qPrintable(QString("%1 %2").arg(fx).arg(fy)));
        // Turned: exactly the upright pixels, in reverse order.
        QCOMPARE(picture->turned().render(upright.size()), upright.mirrored(true, true));
        if (!bytes.startsWith("\xD7\xCD\xC6\x9A"))
            return;
        const QByteArray checked = checkedMetafile(bytes);
        if (!record.isEmpty())
            QCOMPARE(checked.contains(record), kept);
        // The header handed on gives the file's size as it is, in words.
        QCOMPARE(qFromLittleEndian<quint32>(checked.constData() + 22 + 6), quint32(checked.size() - 22) / 2);
    }

    // Metafiles are drawn larger and averaged down: the edge of a black
    // triangle under the diagonal of a white picture passes through shades
    // of grey, about one a row. Every outline of the thinnest pen keeps a
    // pixel's ink: here a hollow shape's edge along y = 400, from x = 600 to
    // 900.
    void edgesAreSmoothAndThinPensKeepTheirInk()
    {
        const WorkDir dir;
        tools::WmfWriter w = whitePaper(1000, 1000);
        w.setBrush(Qt::black);
        w.polygon({QPoint(0, 0), QPoint(1000, 1000), QPoint(0, 1000)});
        const QImage image = loadBytes("diagonal.wmf", w.finish())->render(QSize(39, 71));
        int shades = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                shades += image.pixelColor(x, y).red() > 20 && image.pixelColor(x, y).red() < 235;
        QVERIFY(shades > image.height() / 2);
        for (const auto &[shape, records] : {std::pair{"line", Records{{0x0214, {400, 600}}, {0x0213, {400, 900}}}},
                                             {"rectangle", {{0x041B, {700, 900, 400, 600}}}},
                                             {"polygon", {{0x0324, {3, 600, 400, 900, 400, 750, 700}}}},
                                             {"polyline", {{0x0325, {2, 600, 400, 900, 400}}}},
                                             {"polygons", {{0x0538, {1, 3, 600, 400, 900, 400, 750, 700}}}},
                                             {"ellipse", {{0x0418, {800, 900, 400, 600}}}},
                                             {"arc over the top", {{0x0817, {600, 600, 600, 900, 800, 900, 400, 600}}}},
                                             {"chord", {{0x0830, {400, 900, 400, 600, 500, 900, 300, 600}}}},
                                             {"pie", {{0x081A, {400, 900, 400, 600, 500, 900, 300, 600}}}}}) {
            tools::WmfWriter thin = whitePaper(1000, 1000);
            thin.setPen(Qt::black, 1);
            thin.setBrush(QColor());
            thin.ellipse(QRect(0, 0, 1, 1));  // selects the pen and the brush
            for (const auto &[function, params] : records)
                thin.rawRecord(function, params);
            const auto picture = loadBytes("thin.wmf", thin.finish());
            for (const QSize size : {QSize(39, 71), QSize(116, 213)}) {
                const QImage image = picture->render(size);
                int ink = 0;  // down the column at x = 750, where a curve's top takes a little more
                for (int y = int(0.35 * size.height()); y < int(0.45 * size.height()); ++y)
                    ink += 255 - image.pixelColor(int(0.75 * size.width()), y).red();
                QVERIFY2(ink > 200 && ink < 350, qPrintable(QString("%1: %2").arg(shape).arg(ink)));
            }
        }
    }

    // Metafiles from other programs look as libwmf's own converter (wmf2gd,
    // of libwmf-bin) draws them. However one is cut short, the reader refuses
    // it with a reason or takes it; it never crashes or hangs. A metafile is
    // only checked when read, so one that libwmf cannot draw after all draws
    // nothing, at no other size.
    void sharedSamplesMatchLibwmf()
    {
        const WorkDir dir;
        const QFileInfoList samples = QDir(kSamples).entryInfoList({"*.wmf"});
        QVERIFY(!samples.isEmpty());
        for (const QFileInfo &file : samples) {
            const QStringList toPng{"-t", "png", "-o", "ref.png", "--maxwidth=116", "--maxheight=213", file.filePath()};
            QCOMPARE(QProcess::execute("wmf2gd", toPng), 0);
            const QImage expected("ref.png");
            const auto picture = Picture::load(file.filePath());
            // The same library draws both, ours with smooth edges and text set at
            // a finer size: blurred alike they differ by at most 10 of 255 on
            // average; the sample moved by two pixels, shrunk by a twentieth or
            // turned differs by 18 to 107 (only the sparse arrow01.wmf moved by
            // two differs by as little as 10).
            QVERIFY2(picture && blurredDifference(picture->render(expected.size()), expected) <= 11.0,
                     qPrintable(file.fileName()));
            // Every prefix of the smallest; of the others one in a thousand bytes.
            const QByteArray whole = readBytes(file.filePath());
            for (qsizetype n = 0; n < whole.size(); n += file.fileName() == "arrow01.wmf" ? 1 : 1009) {
                QString why;
                const auto cut = loadBytes("cut.wmf", whole.left(n), &why);
                const QImage image = cut ? cut->render(QSize(39, 71)) : QImage();
                QVERIFY2(cut ? image.isNull() || image.size() == QSize(39, 71) : !why.isEmpty(), qPrintable(why));
            }
        }
    }

    // Files of many objects: every object is kept, and the largest file
    // checked is not a hang.
    void manyObjectsAreKept()
    {
        tools::WmfWriter w(100, 100);
        w.rawRecord(0x041B, {100, 100, 0, 0});  // a rectangle, without objects of its own
        const QByteArray drawing = w.finish();
        // Empty palettes, the smallest records that make an object, then object 65534 selected.
        const QByteArray tail = QByteArray("\x04\0\0\0\x34\x02\xFE\xFF", 8) + drawing.right(6);
        for (const int objects : {65535, int(kMaxMetafileBytes / 10) - 100}) {
            const QByteArray palettes = QByteArray("\x05\0\0\0\xF7\0\0\x03\0\0", 10).repeated(objects);
            const QByteArray checked = checkedMetafile(drawing.chopped(6) + palettes + tail);
            QCOMPARE(checked.size(), drawing.size() + 65535 * 10 + 8);
            QCOMPARE(uint8_t(checked[22 + 10]) | uint8_t(checked[22 + 11]) << 8, 65535);
        }
    }

    void sizesHaveTheirLimits()
    {
        // A sound picture grown by zeros after its end (costing no disk) to
        // the largest size read, and past it.
        const WorkDir dir;
        for (const auto &[size, tooLarge] : {std::pair{kMaxMetafileBytes, false}, {kMaxMetafileBytes + 1, true}}) {
            writeBytes("vast.wmf", cornerMetafile());
            QVERIFY(QFile::resize("vast.wmf", size));
            resetPeakResident();
            const long before = peakResidentKilobytes();
            QString why;
            QCOMPARE(bool(Picture::load("vast.wmf", &why)), !tooLarge);
            // Refused before it is read, in less memory than it would take.
            QCOMPARE(why.startsWith("The file is too large") && peakResidentKilobytes() - before < 16384, tooLarge);
            QCOMPARE(checkedMetafile(readBytes("vast.wmf")).isEmpty(), tooLarge);
        }
        const auto picture = loadBytes("red.wmf", cornerMetafile());
        for (const QSize size : {QSize(0, 10), QSize(10, 0), QSize(100000, 100000)})
            QVERIFY(picture->render(size).isNull());
        // Too large to be drawn larger and averaged down, but drawn all the same.
        QVERIFY(colourAt(picture->render(QSize(4100, 4100)), 0.1, 0.1, Qt::red));
        // Announcing the whole 16-bit range each way, red all over: drawn small, in little memory.
        resetPeakResident();
        const long before = peakResidentKilobytes();
        const auto huge = loadBytes("huge.wmf", QByteArray::fromHex("d7cdc69a0000" "0080" "0080" "ff7f" "ff7f" "a005"
            "00000000" "0000" "010009000003" "ffffffff" "ffff" "ffffffff" "0000" "050000000c02ff7fff7f"
            "07000000fc020000ff000000" "0000" "040000002d010000" "070000001b04ff7fff7f00800080" "030000000000"));
        QVERIFY(huge && colourAt(huge->render(QSize(116, 213)), 0.5, 0.5, Qt::red));
        QVERIFY(peakResidentKilobytes() - before < 64 * 1024);
    }

    // A file changed under the same name is read anew, even where its size
    // and times stay as they were: rewritten at once, or restored with its
    // times kept. A settled file was last changed long enough before it was
    // read for its times to tell a later change.
    void changedFilesAreReadAgain()
    {
        for (const auto &[restored, settled] : {std::pair{false, false}, {true, false}, {true, true}}) {
            const WorkDir dir;
            const QString path = settled ? m_settled.filePath("card.wmf") : dir.filePath("card.wmf");
            if (settled)
                QTest::qSleep(int(std::max<qint64>(0, 2100 - m_sinceSettled.elapsed())));  // mostly gone by now
            else
                writeBytes(path, cornerMetafile());
            const auto first = Picture::load(path);
            QVERIFY(first && *first == *Picture::load(path));  // not read twice

            struct stat old {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &old), 0);
            writeBytes(path, cornerMetafile(Qt::blue));
            const timespec times[2] = {old.st_atim, old.st_mtim};
            if (restored)
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
            const auto changed = Picture::load(path);
            QVERIFY(changed && colourAt(changed->render(QSize(39, 71)), 0.1, 0.1, Qt::blue));
            // The picture already shown keeps what it showed.
            QVERIFY(colourAt(first->render(QSize(39, 71)), 0.1, 0.1, Qt::red));
        }
    }

    // Renderings are counted in bytes: 70 pictures drawn at four sizes of a
    // quarter megapixel would take 280 MB if all were kept. What is evicted
    // leaves room for what comes next; a file read again is the most
    // recently used, and stays.
    void cacheKeepsItsBudget()
    {
        const WorkDir dir;
        for (int k = 0; k < 70; ++k)
            writeBytes(QString("%1.png").arg(k), cornerRaster("PNG"));
        Picture::clearCache();
        resetPeakResident();
        const long before = peakResidentKilobytes();
        QList<Picture> pictures;  // all read before any is drawn
        for (int k = 0; k < 70; ++k)
            pictures.append(*Picture::load(QString("%1.png").arg(k)));
        for (const Picture &picture : pictures) {
            for (const QSize size : {QSize(512, 512), QSize(511, 512), QSize(512, 511), QSize(511, 511)})
                picture.render(size);
            Picture::load("0.png");
        }
        QVERIFY(peakResidentKilobytes() - before < (64 + 16) * 1024);
        const qint64 draws = Picture::drawCount();
        for (const char *name : {"0.png", "69.png"})
            Picture::load(name)->render(QSize(512, 512));
        for (int k = 0; k < 2; ++k)  // a larger one is drawn each time
            Picture::load("0.png")->render(QSize(513, 512));
        // Four renderings are kept, the least recently used dropped first, and a dropped one no
        // longer counts: drawn over and over, a picture stays in the cache.
        const Picture card = *Picture::load("1.png");
        for (int round = 0; round < 20; ++round)
            for (int width = 500; width < 505; ++width)
                card.render(QSize(width, 512));
        for (const int width : {501, 510, 501})
            card.render(QSize(width, 512));
        Picture::clearCache();  // and all renderings with it
        card.render(QSize(501, 512));
        QCOMPARE(Picture::drawCount(), draws + 2 + 100 + 2);
    }

    // The screen is scaled by 2 (see main): a picture element draws its
    // picture at twice its frame's size, not small and blown up, stretched
    // to the frame. A pressable element is a button by the keys and to a screen reader; any
    // other is a graphic that does not press. The mouse
    // clicks either, when let go over it, and every click carries the index.
    void elementsDrawAndPress()
    {
        const WorkDir dir;
        tools::WmfWriter w = whitePaper(300, 300);
        w.setBrush(Qt::red);
        w.rectangle(QRect(0, 0, 100, 300));  // the left third
        QWidget table;
        auto *element = new PictureElement(&table);
        element->setGeometry(10, 10, 39, 71);
        element->setPicture(*loadBytes("striped.wmf", w.finish()));
        element->setIndex(7);
        table.show();
        const QImage shot = element->grab().toImage();
        // A blown-up picture blends red and white over several pixels along
        // the edge at 26 device pixels; one drawn at this size over one.
        for (int x = 0; x < shot.width(); ++x)
            QVERIFY(x == 26 || shot.pixelColor(x, 70) == (x < 26 ? Qt::red : Qt::white));
        // Focused, it is framed by a band of the highlight colour edged in white.
        table.activateWindow();
        element->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return element->hasFocus(); }));
        const QImage band = element->grab().toImage();
        QVERIFY(band.pixelColor(2, 70) == element->palette().color(QPalette::Highlight));
        QCOMPARE(band.pixelColor(7, 70), QColor(Qt::white));

        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(element);
        QSignalSpy clicked(element, &PictureElement::clicked);
        const QString press = QAccessibleActionInterface::pressAction();
        for (const bool pressable : {false, true}) {
            element->setPressable(pressable);
            QCOMPARE(reader->role(), pressable ? QAccessible::Button : QAccessible::Graphic);
            QCOMPARE(reader->actionInterface()->actionNames().contains(press), pressable);
            for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_Escape})
                QTest::keyClick(element, key);
            reader->actionInterface()->doAction(press);
            QCOMPARE(clicked.count(), pressable ? 4 : 0);
        }
        QSignalSpy released(element, &PictureElement::mouseReleased);
        QTest::mouseClick(element, Qt::LeftButton, {}, QPoint(5, 6));
        // Let go outside the picture, let go without a press, or pressed disabled: no click.
        QTest::mousePress(element, Qt::RightButton, {}, QPoint(5, 6));
        QTest::mouseRelease(element, Qt::RightButton, {}, QPoint(100, 100));
        QTest::mouseRelease(element, Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(released.count(), 3);
        element->setEnabled(false);
        QVERIFY(!reader->actionInterface()->actionNames().contains(press));
        reader->actionInterface()->doAction(press);
        QVERIFY(clicked.count() == 5 && clicked.first().at(0) == 7 && clicked.last().at(0) == 7);
    }
};

int main(int argc, char **argv)
{
    // A scaled screen, on which picture elements must draw at device pixels.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestPicture test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_picture.moc"
