#include "platform/metafilecheck.h"
#include "platform/picture.h"
#include "support/memory.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QtEndian>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>

using vellara::platform::Picture;
using vellara::test::readBytes;
using vellara::test::writeBytes;

namespace {

using Records = QList<std::pair<uint16_t, QVector<uint16_t>>>;  // function and parameters of each

const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QString kSamples = QStringLiteral(VELLARA_SHARED_DIR "/wmf-samples");

// A 1000 x 1000 picture: white, with a square of the colour over its upper
// left quarter (0 to 250 each way). Its size does not depend on the colour.
QByteArray cornerMetafile(const QColor &colour = kRed)
{
    tools::WmfWriter w(1000, 1000);
    w.setPen(QColor());
    w.setBrush(kWhite);
    w.rectangle(QRect(0, 0, 1000, 1000));
    w.setBrush(colour);
    w.rectangle(QRect(0, 0, 250, 250));
    return w.finish();
}

// A device-independent bitmap: its header, then data (palette and pixels).
QVector<uint16_t> dib(quint32 width, quint32 height, uint16_t bits, uint16_t compression, uint16_t colours, quint32 sizeImage,
                      const QVector<uint16_t> &data)
{
    const auto low = [](quint32 v) { return uint16_t(v); };
    const auto high = [](quint32 v) { return uint16_t(v >> 16); };
    return QVector<uint16_t>{40, 0, low(width), high(width), low(height), high(height), 1, bits, compression, 0, low(sizeImage), high(sizeImage), 0, 0, 0, 0, colours, 0, 0, 0} + data;
}

// The parameters of a StretchDIBits record drawing a bitmap over the upper left quarter.
QVector<uint16_t> stretchDib(quint32 width, quint32 height, uint16_t bits, uint16_t compression, uint16_t colours,
                             quint32 sizeImage, const QVector<uint16_t> &data)
{
    return QVector<uint16_t>{0x0020, 0x00CC, 0, 1, 1, 0, 0, 250, 250, 0, 0} + dib(width, height, bits, compression, colours, sizeImage, data);
}

// A metafile of the given records, then a red square over all of it.
QByteArray recordsThenRed(const Records &records)
{
    tools::WmfWriter w(1000, 1000);
    for (const auto &[function, params] : records)
        w.rawRecord(function, params);
    w.setPen(QColor());
    w.setBrush(kRed);
    w.rectangle(QRect(0, 0, 1000, 1000));
    return w.finish();
}

QColor pixelAt(const QImage &image, double fx, double fy)
{
    return image.pixelColor(int(fx * image.width()), int(fy * image.height()));
}

QStringList sampleFiles()
{
    QStringList files;
    for (const QString &name : QDir(kSamples).entryList({"*.wmf"}, QDir::Files, QDir::Name))
        files << QDir(kSamples).filePath(name);
    return files;
}

// Mean absolute difference per channel (0 to 255), both blurred over three
// pixels each way first.
double blurredDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            int d[3] = {0, 0, 0}, n = 0;
            for (int v = std::max(0, row - 1); v <= std::min(x.height() - 1, row + 1); ++v) {
                for (int u = std::max(0, col - 1); u <= std::min(x.width() - 1, col + 1); ++u, ++n) {
                    const QRgb p = x.pixel(u, v), q = y.pixel(u, v);
                    d[0] += qRed(p) - qRed(q), d[1] += qGreen(p) - qGreen(q), d[2] += qBlue(p) - qBlue(q);
                }
            }
            sum += double(std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2])) / n;
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

// Whatever the bytes hold, the reader refuses them with a reason or takes
// them; it never crashes or hangs. A metafile is only checked when read, so
// one that libwmf cannot draw after all draws nothing, at no other size.
void loadsOrSaysWhy(const QString &path, const QByteArray &bytes)
{
    writeBytes(path, bytes);
    Picture::clearCache();
    QString why;
    if (const auto picture = Picture::load(path, &why)) {
        const QImage image = picture->render(QSize(39, 71));
        QVERIFY(image.isNull() || image.size() == QSize(39, 71));
    } else {
        QVERIFY2(!why.isEmpty(), "refused without a reason");
    }
}

// The corner picture as a raster file.
QByteArray cornerRaster(const char *format, QSize size = QSize(20, 40))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    for (int y = 0; y < size.height() / 4; ++y)
        std::fill_n(reinterpret_cast<QRgb *>(image.scanLine(y)), size.width() / 4, kRed.rgb());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

// Equal colours, or close enough where the file is lossy.
bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && a.alpha() == b.alpha();
}

// Ink of a black pen on white down one column, between two heights (as
// fractions): a pixel-wide line across it gives 255.
int inkDown(const QImage &image, double fx, double from, double to)
{
    int ink = 0;
    for (int y = int(from * image.height()); y < int(to * image.height()); ++y)
        ink += 255 - image.pixelColor(int(fx * image.width()), y).red();
    return ink;
}

} // namespace

class TestPicture : public QObject {
    Q_OBJECT

    // Files written at the start, so that by the time they are read their
    // times are too old to be confused with a later change.
    QTemporaryDir m_settled;
    QElapsedTimer m_sinceSettled;

private slots:
    void initTestCase()
    {
        for (const char *name : {"restored.wmf", "replaced.wmf"})
            writeBytes(m_settled.filePath(name), cornerMetafile(kRed));
        m_sinceSettled.start();
    }

    // The same picture, a red upper left quarter on white, from every kind of file.
    void picturesDrawInPlace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("far");  // the colour of the lower right
        const QByteArray bitmap = [] {
            tools::WmfWriter w(1000, 1000);
            w.setPen(QColor());
            w.setBrush(kWhite);
            w.rectangle(QRect(0, 0, 1000, 1000));
            w.rawRecord(0x0F43, stretchDib(1, 1, 24, 0, 0, 4, {0x0000, 0x00FF}));  // one red pixel
            return w.finish();
        }();
        QTest::newRow("metafile, table card") << "a.wmf" << cornerMetafile() << QSize(39, 71) << kWhite;
        QTest::newRow("metafile, large card") << "a.wmf" << cornerMetafile() << QSize(116, 213) << kWhite;
        QTest::newRow("metafile, wide") << "a.wmf" << cornerMetafile() << QSize(400, 90) << kWhite;
        QTest::newRow("metafile without placeable header") << "a.wmf" << cornerMetafile().mid(22) << QSize(116, 213) << kWhite;
        QTest::newRow("metafile with a bitmap") << "a.wmf" << bitmap << QSize(116, 213) << kWhite;
        QTest::newRow("bmp") << "a.bmp" << cornerRaster("BMP") << QSize(60, 120) << kWhite;
        QTest::newRow("jpeg") << "a.jpg" << cornerRaster("JPEG") << QSize(60, 120) << kWhite;
        QTest::newRow("jpeg named bmp") << "a.bmp" << cornerRaster("JPEG") << QSize(60, 120) << kWhite;
        // 24 megapixels from a camera: 96 MB decoded whole, so decoded small.
        QTest::newRow("camera jpeg") << "a.jpg" << cornerRaster("JPEG", QSize(6000, 4000)) << QSize(116, 213) << kWhite;
        QTest::newRow("png") << "a.png" << cornerRaster("PNG") << QSize(60, 120) << kWhite;
        // Two by two red pixels; Qt reads GIF but does not write it.
        QTest::newRow("gif") << "a.gif"
                             << QByteArray::fromHex("47494638396102000200f00000ff000000000021f90400000000002c0000"
                                                    "0000020002000002028451003b")
                             << QSize(4, 4) << kRed;
    }
    void picturesDrawInPlace()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QColor, far);
        vellara::test::WorkDir dir;
        writeBytes(dir.filePath(name), bytes);
        vellara::test::resetPeakResident();
        const long before = vellara::test::peakResidentKilobytes();
        const auto picture = Picture::load(dir.filePath(name));
        QVERIFY(picture && !picture->isNull());
        const int tolerance = bytes.startsWith("\xFF\xD8") ? 60 : 0;  // JPEG
        const QImage upright = picture->render(size);
        const long grown = vellara::test::peakResidentKilobytes() - before;
        QVERIFY2(grown < 16 * 1024, qPrintable(QString::number(grown)));
        QCOMPARE(upright.size(), size);
        for (const auto &[fx, fy, colour] : {std::tuple{0.1, 0.1, kRed}, {0.2, 0.2, kRed}, {0.9, 0.9, far},
                                             {0.32, 0.1, far}, {0.1, 0.32, far}})
            QVERIFY2(near(pixelAt(upright, fx, fy), colour, tolerance), qPrintable(QString("%1 %2").arg(fx).arg(fy)));
        // Turned: exactly the upright pixels, in reverse order.
        QCOMPARE(picture->turned().render(size), upright.mirrored(true, true));
        QCOMPARE(picture->turned().turned().render(size), upright);
    }

    // Metafiles from other programs look as libwmf's own converter draws them.
    void sharedSamplesMatchLibwmf_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = sampleFiles();
        QVERIFY2(!files.isEmpty(), qPrintable(kSamples));
        for (const QString &file : files)
            QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
    }
    void sharedSamplesMatchLibwmf()
    {
        QFETCH(QString, file);
        const QString wmf2gd = QStandardPaths::findExecutable("wmf2gd");
        QVERIFY2(!wmf2gd.isEmpty(), "wmf2gd (libwmf-bin) is needed for this comparison");
        vellara::test::WorkDir dir;
        const QString reference = dir.filePath("reference.png");
        QProcess process;
        process.start(wmf2gd, {"-t", "png", "-o", reference, "--maxwidth=116", "--maxheight=213", file});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QImage expected(reference);
        QVERIFY(!expected.isNull());
        const auto picture = Picture::load(file);
        QVERIFY(picture && !picture->isNull());
        const QImage drawn = picture->render(expected.size());
        QCOMPARE(drawn.size(), expected.size());
        // The same library draws both, ours with smooth edges and text set at
        // a finer size: blurred alike they differ by at most 10 of 255 on
        // average; the sample moved by two pixels, shrunk by a twentieth or
        // turned differs by 18 to 107 (only the sparse arrow01.wmf moved by
        // two differs by as little as 10).
        const double difference = blurredDifference(drawn, expected);
        QVERIFY2(difference <= 11.0, qPrintable(QString::number(difference)));
    }

    // A black triangle under the diagonal of a white picture: every row
    // crosses the edge through shades of grey, where the edge lies.
    void diagonalEdgesAreSmooth()
    {
        tools::WmfWriter w(1000, 1000);
        w.setPen(QColor());
        w.setBrush(kWhite);
        w.rectangle(QRect(0, 0, 1000, 1000));
        w.setBrush(QColor(0, 0, 0));
        w.polygon({QPoint(0, 0), QPoint(1000, 1000), QPoint(0, 1000)});
        vellara::test::WorkDir dir;
        writeBytes(dir.filePath("diagonal.wmf"), w.finish());
        const auto picture = Picture::load(dir.filePath("diagonal.wmf"));
        QVERIFY(picture);
        for (const QSize size : {QSize(39, 71), QSize(116, 213)}) {
            const QImage image = picture->render(size);
            QCOMPARE(image.size(), size);
            int smoothRows = 0;
            for (int y = 2; y < size.height() - 2; ++y) {
                QCOMPARE(image.pixelColor(0, y), QColor(0, 0, 0));
                const double edge = (y + 0.5) * size.width() / size.height();
                for (int x = 0; x < size.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    QCOMPARE(c.red(), c.blue());
                    if (c.red() > 20 && c.red() < 235) {
                        QVERIFY2(std::abs(x + 0.5 - edge) < 1.5, qPrintable(QString::number(x)));
                        ++smoothRows;
                        break;
                    }
                }
            }
            QVERIFY2(smoothRows > (size.height() - 4) / 2, qPrintable(QString::number(smoothRows)));
        }
    }

    // Every outline of the thinnest pen keeps a pixel's ink, drawn larger
    // and averaged down: here a hollow shape's edge along y = 400, from x =
    // 600 to 900.
    void thinPensKeepTheirInk_data()
    {
        QTest::addColumn<Records>("records");
        QTest::newRow("line") << Records{{0x0214, {400, 600}}, {0x0213, {400, 900}}};
        QTest::newRow("rectangle") << Records{{0x041B, {700, 900, 400, 600}}};
        QTest::newRow("polygon") << Records{{0x0324, {3, 600, 400, 900, 400, 750, 700}}};
        QTest::newRow("polyline") << Records{{0x0325, {2, 600, 400, 900, 400}}};
        QTest::newRow("polygons") << Records{{0x0538, {1, 3, 600, 400, 900, 400, 750, 700}}};
        QTest::newRow("ellipse") << Records{{0x0418, {800, 900, 400, 600}}};
        QTest::newRow("arc over the top") << Records{{0x0817, {600, 600, 600, 900, 800, 900, 400, 600}}};
        QTest::newRow("chord") << Records{{0x0830, {400, 900, 400, 600, 500, 900, 300, 600}}};
        QTest::newRow("pie") << Records{{0x081A, {400, 900, 400, 600, 500, 900, 300, 600}}};
    }
    void thinPensKeepTheirInk()
    {
        QFETCH(Records, records);
        tools::WmfWriter w(1000, 1000);
        w.setPen(QColor());
        w.setBrush(kWhite);
        w.rectangle(QRect(0, 0, 1000, 1000));
        w.setPen(QColor(0, 0, 0), 1);
        w.setBrush(QColor());
        w.ellipse(QRect(0, 0, 1, 1));  // selects the pen and the brush
        for (const auto &[function, params] : records)
            w.rawRecord(function, params);
        vellara::test::WorkDir dir;
        writeBytes(dir.filePath("thin.wmf"), w.finish());
        const auto picture = Picture::load(dir.filePath("thin.wmf"));
        QVERIFY(picture);
        for (const QSize size : {QSize(39, 71), QSize(116, 213)}) {
            const int ink = inkDown(picture->render(size), 0.75, 0.35, 0.45);  // a curve's top takes a little more
            QVERIFY2(ink > 200 && ink < 350, qPrintable(QString::number(ink)));
        }
    }

    void damagedMetafilesLoadOrSayWhy()
    {
        vellara::test::WorkDir dir;
        const QString path = dir.filePath("broken.wmf");
        const QByteArray small = readBytes(kSamples + "/arrow01.wmf");
        QVERIFY(small.size() > 100);
        for (qsizetype n = 0; n < small.size(); ++n)
            loadsOrSaysWhy(path, small.left(n));
        // Prefixes of the largest sample, in steps that hit every record kind.
        const QByteArray large = readBytes(kSamples + "/Eg.wmf");
        for (qsizetype n = 0; n < large.size(); n += 97)
            loadsOrSaysWhy(path, large.left(n));
        QRandomGenerator random(20261206);
        for (const QString &file : sampleFiles()) {
            const QByteArray original = readBytes(file);
            for (int round = 0; round < 40; ++round) {
                QByteArray bytes = original;
                for (int i = 0, flips = 1 + int(random.bounded(8)); i < flips; ++i)
                    bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
                loadsOrSaysWhy(path, bytes);
            }
        }
    }

    // A hostile record is kept from libwmf (its head never reaches it), and
    // the rest, a red square, is still drawn; a sound one is handed on.
    void hostileMetafiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QByteArray>("record");  // the head of the record in question
        QTest::addColumn<bool>("kept");
        QByteArray huge = recordsThenRed({});
        for (int i = 22 + 6; i < 22 + 16; ++i)
            huge[i] = char(0xFF);
        QByteArray wrongType = recordsThenRed({});
        wrongType[22] = 3;
        const QByteArray plain = recordsThenRed({});
        const QByteArray blit("\x43\x0F\x20\x00", 4);
        // More palette colours than the depth allows: libwmf would allocate gigabytes.
        QVector<uint16_t> pattern{3, 0, 40, 0, 8, 0, 8, 0, 1, 1, 0, 0, 32, 0, 0, 0, 0, 0, 0, 0x4F00, 0, 0};
        pattern += QVector<uint16_t>(4 + 16, 0);
        const std::pair<uint16_t, QVector<uint16_t>> palette{0x00F7, {0x0300, 0}};
        QTest::newRow("header announcing enormous counts") << huge << true << QByteArray() << false;
        QByteArray noUnits = recordsThenRed({});
        noUnits[14] = noUnits[15] = 0;  // libwmf divides by it
        QTest::newRow("placeable header without units per inch") << noUnits << true << QByteArray() << false;
        for (const int side : {10, 12}) {  // right and bottom made the same as left and top
            QByteArray empty = recordsThenRed({});
            empty[side] = empty[side + 1] = 0;
            QTest::addRow("placeable header of an empty picture %d", side) << empty << false << QByteArray() << false;
        }
        QTest::newRow("no metafile type") << wrongType << false << QByteArray() << false;
        QTest::newRow("nothing drawn") << tools::WmfWriter(100, 100).finish() << false << QByteArray() << false;
        QTest::newRow("record claiming 4 GB") << plain.left(plain.size() - 6) + QByteArray("\xFF\xFF\xFF\x7F\x1B\x04\x64\x00", 8) << true << QByteArray("\xFF\xFF\xFF\x7F", 4) << false;
        QTest::newRow("bitmap of 100000 x 100000") << recordsThenRed({{0x0F43, stretchDib(100000, 100000, 24, 0, 0, 0, {})}}) << true << blit << false;
        // Run-length encoded, so only its pixel count is wrong with it.
        QTest::newRow("bitmap of 1 x 20 million") << recordsThenRed({{0x0F43, stretchDib(1, 20000000, 1, 1, 0, 0, {0, 0, 0, 0})}}) << true << blit << false;
        QTest::newRow("bitmap of no width") << recordsThenRed({{0x0F43, stretchDib(0, 1, 24, 0, 0, 0, {0, 0})}}) << true << blit << false;
        QTest::newRow("bitmap of a full palette") << recordsThenRed({{0x0F43, stretchDib(1, 1, 1, 0, 2, 0, {0, 0, 0, 0, 0, 0})}}) << true << blit << true;
        QTest::newRow("pattern brush of too many colours") << recordsThenRed({{0x0142, pattern}}) << true << QByteArray("\x42\x01\x03\x00", 4) << false;
        // Height 0 (the default size) kept libwmf drawing for minutes.
        QTest::newRow("font of height 0") << recordsThenRed({{0x02FB, {0, 20, 0, 0, 400, 0, 0, 0, 0x4241, 0}}, {0x012D, {0}}, {0x01F0, {0}}}) << true << QByteArray("\xFB\x02\x00\x00", 4) << false;
        QTest::newRow("object never made") << recordsThenRed({{0x012D, {77}}}) << true << QByteArray("\x2D\x01\x4D\x00", 4) << false;
        QTest::newRow("object deleted before use") << recordsThenRed({palette, {0x01F0, {0}}, {0x0234, {0}}}) << true << QByteArray("\x34\x02\x00\x00", 4) << false;
        QTest::newRow("object made again") << recordsThenRed({palette, {0x01F0, {0}}, palette, {0x0234, {0}}}) << true << QByteArray("\x34\x02\x00\x00", 4) << true;
        QTest::newRow("record that draws nothing") << recordsThenRed({{0x0149, {0x1234, 0}}}) << true << QByteArray("\x49\x01\x34\x12", 4) << true;
        // Each record that fits exactly is handed on, and refused a word short.
        const auto fits = [](const char *name, uint16_t function, QVector<uint16_t> params) {
            QByteArray head(4, '\0');
            qToLittleEndian(function, head.data());
            qToLittleEndian(params[0], head.data() + 2);
            // An object made is deleted again, so that the writer's own take its place.
            const Records deleted = QList<uint16_t>{0x00F7, 0x06FF, 0x01F9, 0x0142}.contains(function) ? Records{{0x01F0, {0}}} : Records{};
            QTest::addRow("%s, whole", name) << recordsThenRed(Records{{function, params}} + deleted) << true << head << true;
            params.removeLast();
            QTest::addRow("%s, a word short", name) << recordsThenRed(Records{{function, params}} + deleted) << true << head << false;
        };
        const QVector<uint16_t> pixel = dib(1, 1, 24, 0, 0, 0, {0x0000, 0x00FF});
        const QVector<uint16_t> pixels16{0, 8, 1, 2, 0x0101, 0x00FF};  // eight pixels of one bit
        fits("rectangle", 0x041B, {100, 100, 0, 0});
        fits("polygon", 0x0324, {2, 10, 10, 20, 20});
        fits("polyline", 0x0325, {2, 10, 10, 20, 20});
        fits("polygons", 0x0538, {2, 2, 1, 10, 10, 20, 20, 30, 30});
        fits("text", 0x0521, {3, 0x4241, 0x0043, 10, 10});
        fits("text in a rectangle", 0x0A32, {10, 10, 3, 0x0004, 0, 0, 20, 20, 0x4241, 0x0043});
        fits("escape", 0x0626, {15, 3, 0x4241, 0x0043});
        fits("palette", 0x00F7, {0x0300, 1, 0x00FF, 0x0000});
        fits("region", 0x06FF, {0, 6, 0, 0, 0, 0, 0, 0, 0, 0});
        fits("pattern brush", 0x01F9, pixels16);
        fits("bitmap block", 0x0922, QVector<uint16_t>{0x0020, 0x00CC, 0, 0, 1, 8, 0, 0} + pixels16);
        fits("stretched bitmap block", 0x0B23, QVector<uint16_t>{0x0020, 0x00CC, 1, 8, 0, 0, 250, 250, 0, 0} + pixels16);
        fits("device bitmap block", 0x0940, QVector<uint16_t>{0x0020, 0x00CC, 0, 0, 1, 1, 0, 0} + pixel);
        fits("stretched device bitmap block", 0x0B41, QVector<uint16_t>{0x0020, 0x00CC, 1, 1, 0, 0, 250, 250, 0, 0} + pixel);
        fits("bitmap to the device", 0x0D33, QVector<uint16_t>{0, 1, 0, 0, 0, 1, 1, 0, 0} + pixel);
        fits("device pattern brush", 0x0142, QVector<uint16_t>{3, 0} + pixel);
        fits("stretched device bitmap", 0x0F43, stretchDib(1, 1, 24, 0, 0, 0, {0x0000, 0x00FF}));
        // Run-length encoded: one red pixel, then the end; its size is the one announced.
        fits("run-length bitmap", 0x0F43, stretchDib(1, 1, 8, 1, 1, 4, {0x0000, 0x00FF, 0x0001, 0x0100}));
    }
    void hostileMetafiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QByteArray, record);
        QFETCH(bool, kept);
        QString why;
        const QByteArray checked = vellara::platform::checkedMetafile(bytes, &why);
        QVERIFY2(checked.isEmpty() != loads, qPrintable(why));
        if (!record.isEmpty())
            QCOMPARE(checked.contains(record), kept);
        if (loads) {
            // The header handed on tells the truth: file size and largest record, in words.
            const auto dword = [&checked](int at) { return qFromLittleEndian<quint32>(checked.constData() + at); };
            QCOMPARE(dword(22 + 6), quint32(checked.size() - 22) / 2);
            QVERIFY(dword(22 + 12) <= quint32(checked.size() - 22 - 18) / 2);
            quint16 sum = 0;  // and its checksum and units are true
            for (int i = 0; i < 11; ++i)
                sum ^= qFromLittleEndian<quint16>(checked.constData() + 2 * i);
            QCOMPARE(sum, quint16(0));
            QVERIFY(qFromLittleEndian<quint16>(checked.constData() + 14) > 0);
        }
        vellara::test::WorkDir dir;
        writeBytes(dir.filePath("hostile.wmf"), bytes);
        why.clear();
        const auto picture = Picture::load(dir.filePath("hostile.wmf"), &why);
        QCOMPARE(bool(picture), loads);
        if (loads)
            QCOMPARE(pixelAt(picture->render(QSize(40, 40)), 0.1, 0.1), kRed);
        else
            QVERIFY(!why.isEmpty());
    }

    // A region is measured scan by scan: two scans, of two sides and of none,
    // fit only whole.
    void regionsAreMeasured()
    {
        const QVector<uint16_t> head{0, 6, 0, 0, 0, 2, 0, 0, 0, 0};
        const QVector<uint16_t> scans{2, 0, 10, 0, 10, 2, 0, 10, 20, 0};
        for (int cut = 0; cut <= scans.size(); ++cut) {
            const QByteArray checked = vellara::platform::checkedMetafile(recordsThenRed({{0x06FF, head + scans.mid(0, cut)}}));
            QVERIFY2(checked.contains(QByteArray("\xFF\x06\x00\x00", 4)) == (cut == scans.size()), qPrintable(QString::number(cut)));
        }
    }

    // Files of many objects: every object is kept, and the largest file
    // checked is not a hang.
    void manyObjectsAreChecked_data()
    {
        QTest::addColumn<int>("objects");
        QTest::newRow("65535 never deleted, 655 KB") << 65535;
        QTest::newRow("largest file, past the table's end") << int(vellara::platform::kMaxMetafileBytes / 10) - 100;
    }
    void manyObjectsAreChecked()
    {
        QFETCH(int, objects);
        tools::WmfWriter w(100, 100);
        w.rawRecord(0x041B, {100, 100, 0, 0});  // a rectangle, without objects of its own
        const QByteArray drawing = w.finish();
        // An empty palette is the smallest record that makes an object.
        const QByteArray palette("\x05\0\0\0\xF7\0\0\x03\0\0", 10);
        const QByteArray selectLast("\x04\0\0\0\x34\x02\xFE\xFF", 8);  // object 65534
        const QByteArray bytes = drawing.left(drawing.size() - 6) + palette.repeated(objects) + selectLast + drawing.right(6);
        const QByteArray checked = vellara::platform::checkedMetafile(bytes);
        QVERIFY(checked.endsWith(selectLast + drawing.right(6)));
        QCOMPARE(checked.size(), drawing.size() + 65535 * 10 + selectLast.size());
        QCOMPARE(uint8_t(checked[22 + 10]) | uint8_t(checked[22 + 11]) << 8, 65535);
    }

    void unreadableFilesFail()
    {
        vellara::test::WorkDir dir;
        QString why;
        QVERIFY(!Picture::load(dir.filePath("missing.wmf"), &why));
        QCOMPARE(why, QString("It does not exist."));
        QVERIFY(!Picture::load(dir.path(), &why));  // a folder is no picture
        QCOMPARE(why, QString("It is not a regular file."));
        writeBytes(dir.filePath("notes.wmf"), "The Tower: sudden change.\r\n");
        why.clear();
        QVERIFY(!Picture::load(dir.filePath("notes.wmf"), &why));
        QVERIFY(!why.isEmpty());
        writeBytes(dir.filePath("empty.bmp"), QByteArray());
        QVERIFY(!Picture::load(dir.filePath("empty.bmp")));
        // A GIF announcing 20000 x 20000 pixels (1.6 GB), a format that cannot decode smaller.
        writeBytes(dir.filePath("vast.gif"), QByteArray::fromHex("474946383961204e204ef00000ff00000000002c00000000204e204e00"));
        QVERIFY(!Picture::load(dir.filePath("vast.gif"), &why));
        QCOMPARE(why, QString("The picture is too large."));
        for (const qint64 size : {vellara::platform::kMaxMetafileBytes, vellara::platform::kMaxMetafileBytes + 1}) {
            QFile sparse(dir.filePath("vast.wmf"));  // of zeros, costing no disk
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(size));
            sparse.close();
            QVERIFY(!Picture::load(dir.filePath("vast.wmf"), &why));
            QCOMPARE(why == "The file is too large for a picture.", size > vellara::platform::kMaxMetafileBytes);
        }
        QVERIFY(vellara::platform::checkedMetafile(QByteArray(vellara::platform::kMaxMetafileBytes + 1, '\0')).isEmpty());

        const auto none = Picture::load(QString());
        QVERIFY(none && none->isNull());
        QVERIFY(none->render(QSize(10, 10)).isNull());
        writeBytes(dir.filePath("red.wmf"), cornerMetafile());
        const auto picture = Picture::load(dir.filePath("red.wmf"));
        for (const QSize size : {QSize(0, 10), QSize(10, 0), QSize(100000, 100000)})
            QVERIFY(picture->render(size).isNull());
    }

    // A file changed under the same name is read anew, even where its size
    // and times stay as they were. A settled file was last changed long
    // enough before it was read for its times to tell a later change.
    void changedFilesAreReadAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("settled");
        QTest::newRow("rewritten") << "rewritten" << false;
        QTest::newRow("rewritten, times restored") << "restored" << false;
        QTest::newRow("replaced, times restored") << "replaced" << false;
        QTest::newRow("settled, rewritten, times restored") << "restored" << true;
        QTest::newRow("settled, replaced, times restored") << "replaced" << true;
    }
    void changedFilesAreReadAgain()
    {
        QFETCH(QString, change);
        QFETCH(bool, settled);
        vellara::test::WorkDir dir;
        const QString path = settled ? m_settled.filePath(change + ".wmf") : dir.filePath("card.wmf");
        if (settled)
            QTest::qSleep(int(std::max<qint64>(0, 2100 - m_sinceSettled.elapsed())));  // mostly gone by now
        else
            writeBytes(path, cornerMetafile(kRed));
        const auto first = Picture::load(path);
        const auto again = Picture::load(path);
        QVERIFY(first && again);
        QVERIFY(*first == *again);  // not read twice
        QCOMPARE(first->render(QSize(39, 71)).cacheKey(), again->render(QSize(39, 71)).cacheKey());

        struct stat old {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &old), 0);
        const QString written = change == "replaced" ? dir.filePath("new.wmf") : path;
        writeBytes(written, cornerMetafile(kBlue));
        if (change != "rewritten") {
            const timespec times[2] = {old.st_atim, old.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(written).constData(), times, 0), 0);
        }
        if (written != path)
            QCOMPARE(::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()), 0);
        const auto changed = Picture::load(path);
        QVERIFY(changed && !(*changed == *first));
        QCOMPARE(pixelAt(changed->render(QSize(39, 71)), 0.1, 0.1), kBlue);
        // The picture already shown keeps what it showed.
        QCOMPARE(pixelAt(first->render(QSize(39, 71)), 0.1, 0.1), kRed);
        // A file that turns unreadable is no longer served from memory.
        writeBytes(path, "not a picture");
        QVERIFY(!Picture::load(path));
    }

    // Renderings are counted in bytes: 70 pictures drawn at four sizes of a
    // quarter megapixel would take 280 MB if all were kept. What is evicted
    // leaves room for what comes next.
    void cacheKeepsItsBudget()
    {
        vellara::test::WorkDir dir;
        QImage image(20, 40, QImage::Format_RGB32);
        image.fill(kRed);
        QVERIFY(image.save(dir.filePath("0.png")));
        for (int k = 1; k < 70; ++k)
            QVERIFY(QFile::copy(dir.filePath("0.png"), dir.filePath(QString("%1.png").arg(k))));
        Picture::clearCache();
        vellara::test::resetPeakResident();
        const long before = vellara::test::peakResidentKilobytes();
        for (int k = 0; k < 70; ++k) {
            const auto picture = Picture::load(dir.filePath(QString("%1.png").arg(k)));
            QVERIFY(picture);
            for (QSize size : {QSize(512, 512), QSize(511, 512), QSize(512, 511), QSize(511, 511)})
                QCOMPARE(picture->render(size).size(), size);
        }
        const long grown = vellara::test::peakResidentKilobytes() - before;
        QVERIFY2(grown < (64 + 16) * 1024, qPrintable(QString::number(grown)));
        const auto last = Picture::load(dir.filePath("69.png"));
        QVERIFY(last && *last == *Picture::load(dir.filePath("69.png")));
        const qint64 draws = Picture::drawCount();
        last->render(QSize(512, 512));
        QCOMPARE(Picture::drawCount(), draws);
        Picture::clearCache();
    }
};

QTEST_GUILESS_MAIN(TestPicture)
#include "test_picture.moc"
