#include "cardart.h"
#include "wmfwriter.h"

#include "platform/metafilecheck.h"
#include "platform/picture.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using tools::WmfWriter;
using vellara::test::readBytes;
using vellara::test::writeBytes;

namespace {

// A file a player reads as written: the check hands a sound file on
// unchanged, only making its header's checksum, sizes, object count and
// end record true, and leaving out records that name objects not alive.
void verifyWellFormed(const QByteArray &file, const QString &name)
{
    QVERIFY2(file.startsWith("\xD7\xCD\xC6\x9A") && file.endsWith(QByteArray("\x03\0\0\0\0\0", 6)), qPrintable(name));
    QVERIFY2(vellara::platform::checkedMetafile(file) == file, qPrintable(name));
}

} // namespace

class TestWmfWriter : public QObject {
    Q_OBJECT

private slots:
    // What a player draws from the file: shapes in their colours and places,
    // a hollow brush and a null pen leaving the paper white.
    void playerDrawsWhatWasWritten()
    {
        WmfWriter w(300, 500, 960);
        w.setPen({});
        w.setBrush(Qt::white);
        w.rectangle(QRect(0, 0, 300, 500));  // the paper: a player fits the drawing's extent to the picture
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
        const QByteArray file = w.finish();
        verifyWellFormed(file, "drawing");
        QTemporaryDir dir;
        writeBytes(dir.filePath("x.wmf"), file);
        const auto picture = vellara::platform::Picture::load(dir.filePath("x.wmf"));
        QVERIFY(picture);
        const QImage image = picture->render(QSize(300, 500));
        // Inside the rectangle, its outline, inside the hollow ellipse, its
        // top, the polygon without outline and beside it.
        for (const auto &[x, y, colour] : {std::tuple{60, 120, Qt::blue}, {11, 120, Qt::red}, {200, 70, Qt::white}, {200, 21, Qt::red},
                                          {270, 450, Qt::green}, {289, 400, Qt::green}, {160, 450, Qt::white}})
            QVERIFY2(image.pixelColor(x, y) == QColor(colour), qPrintable(QString("%1, %2").arg(x).arg(y)));
        int inked = 0;  // the word is drawn where it was put
        for (int y = 360; y < 420; ++y)
            for (int x = 20; x < 150; ++x)
                inked += image.pixelColor(x, y).lightness() < 128;
        QVERIFY(inked > 100);
    }

    void sampleDeckPicturesAreUpToDate()
    {
        const QString sample = QStringLiteral(VELLARA_SOURCE_DIR "/data/sample/decks/major");
        QTemporaryDir dir;
        QVERIFY(QFile::copy(sample + "/cards.dat", dir.filePath("cards.dat")));
        QString error;
        QVERIFY2(tools::writeDeckPictures(dir.path(), &error), qPrintable(error));
        const QStringList made = QDir(dir.path()).entryList({"*.wmf"}, QDir::Files, QDir::Name);
        QCOMPARE(made.size(), 23);
        QVERIFY(made.contains("back.wmf"));
        for (const QString &name : made) {
            const QByteArray bytes = readBytes(dir.filePath(name));
            verifyWellFormed(bytes, name);
            QVERIFY2(bytes == readBytes(sample + "/" + name),
                     qPrintable(name + " differs from the committed picture; rerun vellara-wmfgen"));
        }
    }

    void unsafePictureNamesAreRefused_data()
    {
        QTest::addColumn<QString>("picture");
        for (const char *name : {"../escape.wmf", "sub/x.wmf", "cards.dat", "back.wmf", "a.wmf"})
            QTest::newRow(name) << QString(name);
    }
    void unsafePictureNamesAreRefused()
    {
        QFETCH(QString, picture);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("deck");
        const QString deck = dir.filePath("deck");
        const QByteArray cards = vellara::test::crlfLines({"2", "a.wmf", "A", "up", "down", picture, "B", "up", "down"});
        writeBytes(deck + "/cards.dat", cards);
        QString error;
        QVERIFY(!tools::writeDeckPictures(deck, &error));
        QVERIFY(error.contains(picture));
        QCOMPARE(QDir(deck).entryList(QDir::Files), QStringList{"cards.dat"});
        QVERIFY(!QFile::exists(dir.filePath("escape.wmf")));
        QCOMPARE(readBytes(deck + "/cards.dat"), cards);
    }
};

QTEST_GUILESS_MAIN(TestWmfWriter)
#include "test_wmfwriter.moc"
