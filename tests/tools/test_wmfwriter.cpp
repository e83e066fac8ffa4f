#include "cardart.h"
#include "wmfwriter.h"

#include "platform/metafiles.h"
#include "platform/metafilecheck.h"

#include <QDir>
#include <QTest>

using namespace vellara::test;

namespace {

// A file a player reads as written: the check hands a sound file on
// unchanged, only making its header's checksum, sizes, object count and
// end record true, and leaving out records that name objects not alive.
bool wellFormed(const QByteArray &file)
{
    return file.startsWith("\xD7\xCD\xC6\x9A") && file.endsWith(QByteArray("\x03\0\0\0\0\0", 6))
        && vellara::platform::checkedMetafile(file) == file;
}

} // namespace

class TestWmfWriter : public QObject {
    Q_OBJECT

private slots:
    // What a player draws from the file: shapes in their colours and places,
    // a hollow brush and a null pen leaving the paper white.
    void playerDrawsWhatWasWritten()
    {
        // The paper: a player fits the drawing's extent to the picture.
        tools::WmfWriter w = whitePaper(300, 500, 960);
        w.setPen(Qt::red, 5);
        w.setBrush(Qt::blue);
        w.rectangle(QRect(10, 20, 100, 200));
        w.setBrush({});
        w.ellipse(QRect(150, 20, 100, 100));
        w.setPen({});
        w.setBrush(Qt::green);
        w.polygon({{150, 300}, {290, 300}, {290, 490}});
        w.setFont("Times New Roman", 40, true);
        w.text(70, 400, "Justice");  // centred on x
        QVERIFY(wellFormed(w.finish()));
        const WorkDir dir;
        const QImage image = loadBytes("x.wmf", w.finish())->render(QSize(300, 500));
        // Inside the rectangle, its outline, inside the hollow ellipse, its
        // top, the polygon without outline and beside it.
        for (const auto &[x, y, colour] : {std::tuple{60, 120, Qt::blue}, {11, 120, Qt::red}, {200, 70, Qt::white},
                                          {200, 21, Qt::red}, {270, 450, Qt::green}, {289, 400, Qt::green},
                                          {160, 450, Qt::white}})
            QVERIFY2(image.pixelColor(x, y) == QColor(colour), qPrintable(QString("%1, %2").arg(x).arg(y)));
        int inked = 0;  // the word is drawn where it was put
        for (int y = 360; y < 420; ++y)
            for (int x = 20; x < 150; ++x)
                inked += image.pixelColor(x, y).lightness() < 128;
        QVERIFY(inked > 100);
    }

    void sampleDeckPicturesAreUpToDate()
    {
        const QString sample = QStringLiteral(VELLARA_SOURCE_DIR "/data/sample/decks/major/");
        const WorkDir dir;
        QVERIFY(QFile::copy(sample + "cards.dat", "cards.dat"));
        QString error;
        QVERIFY2(tools::writeDeckPictures(dir.path(), &error), qPrintable(error));
        const QStringList made = QDir().entryList({"*.wmf"}, QDir::Files);
        QCOMPARE(made.size(), 23);  // and the back
        for (const QString &name : made) {
            const QByteArray bytes = readBytes(name);
            QVERIFY2(wellFormed(bytes) && bytes == readBytes(sample + name),
                     qPrintable(name + " is not the committed picture; rerun vellara-wmfgen"));
        }
    }

    // Names that would leave the deck folder, replace the deck file or the
    // back, or name a file twice are refused before anything is written.
    void unsafePictureNamesAreRefused()
    {
        for (const QString picture : {"../escape.wmf", "sub/x.wmf", "cards.dat", "back.wmf", "a.wmf"}) {
            const WorkDir dir;
            QDir().mkdir("deck");
            const QByteArray cards = crlfLines({"2", "a.wmf", "A", "up", "down", picture, "B", "up", "down"});
            writeBytes("deck/cards.dat", cards);
            QString error;
            QVERIFY(!tools::writeDeckPictures("deck", &error));
            QVERIFY2(error.contains(picture), qPrintable(error));
            QCOMPARE(QDir("deck").entryList(QDir::Files), QStringList{"cards.dat"});
            QVERIFY(!QFile::exists("escape.wmf"));
            QCOMPARE(readBytes("deck/cards.dat"), cards);
        }
    }
};

QTEST_GUILESS_MAIN(TestWmfWriter)
#include "test_wmfwriter.moc"
