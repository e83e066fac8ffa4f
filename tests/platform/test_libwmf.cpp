#include "platform/picture.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QImage>
#include <QtEndian>
#include <QTest>

using vellara::platform::Picture;

namespace {

// Dark pixels: how much text there is.
int ink(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

// The fonts metafiles name are opened once for the program and shared by
// every drawing; each drawing must still get the face its text asks for.
class TestLibwmf : public QObject {
    Q_OBJECT

private slots:
    void eachTextGetsTheFaceItNames()
    {
        const vellara::test::WorkDir dir;
        int n = 0;
        // The weight as the file gives it: libwmf takes above 550 as bold.
        auto draw = [&](const QString &face, int weight) {
            tools::WmfWriter w(1000, 400);
            w.setPen(QColor());
            w.setBrush(Qt::white);
            w.rectangle(QRect(0, 0, 1000, 400));
            w.setFont(face, 250);
            w.setTextColor(Qt::black);
            w.text(20, 50, QStringLiteral("Wim 1"));
            const QString path = dir.filePath(QStringLiteral("%1.wmf").arg(++n));
            QByteArray bytes = w.finish();
            const qsizetype font = bytes.indexOf(QByteArray("\xFB\x02", 2));  // CreateFontIndirect
            qToLittleEndian(quint16(weight), bytes.data() + font + 10);
            vellara::test::writeBytes(path, bytes);
            const auto picture = Picture::load(path);
            return picture ? picture->render(QSize(250, 100)) : QImage();
        };
        const QString times = QStringLiteral("Times New Roman");
        const QImage regular = draw(times, 550);
        const QImage bold = draw(times, 551);
        const QImage mono = draw(QStringLiteral("Courier New"), 400);
        QVERIFY(ink(regular) > 200);
        QVERIFY(ink(bold) > ink(regular) * 11 / 10);
        QVERIFY(mono != regular && mono != bold);
        // Drawn again, from the faces already open, a text looks as it did.
        QCOMPARE(draw(times, 700), bold);
        QCOMPARE(draw(times, 400), regular);
    }
};

QTEST_GUILESS_MAIN(TestLibwmf)
#include "test_libwmf.moc"
