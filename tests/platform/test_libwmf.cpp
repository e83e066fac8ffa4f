#include "platform/picture.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QImage>
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
        auto draw = [&](const QString &face, bool bold) {
            tools::WmfWriter w(1000, 400);
            w.setPen(QColor());
            w.setBrush(Qt::white);
            w.rectangle(QRect(0, 0, 1000, 400));
            w.setFont(face, 250, bold);
            w.setTextColor(Qt::black);
            w.text(20, 50, QStringLiteral("Wim 1"));
            const QString path = dir.filePath(QStringLiteral("%1.wmf").arg(++n));
            vellara::test::writeBytes(path, w.finish());
            const auto picture = Picture::load(path);
            return picture ? picture->render(QSize(250, 100)) : QImage();
        };
        const QImage regular = draw(QStringLiteral("Times New Roman"), false);
        const QImage bold = draw(QStringLiteral("Times New Roman"), true);
        const QImage mono = draw(QStringLiteral("Courier New"), false);
        QVERIFY(ink(regular) > 200);
        QVERIFY(ink(bold) > ink(regular) * 11 / 10);
        QVERIFY(mono != regular && mono != bold);
        // Drawn again, from the faces already open, a text looks as it did.
        QCOMPARE(draw(QStringLiteral("Times New Roman"), true), bold);
        QCOMPARE(draw(QStringLiteral("Times New Roman"), false), regular);
    }
};

QTEST_GUILESS_MAIN(TestLibwmf)
#include "test_libwmf.moc"
