#include "cardart.h"
#include "wmfwriter.h"

#include "platform/metafilecheck.h"
#include "support/workdir.h"

#include <QDir>
#include <QTest>

using namespace vellara::test;

class TestWmfWriter : public QObject {
    Q_OBJECT

private slots:
    // The sample deck's pictures are what the writer draws from its deck
    // file, and well formed: the check hands a sound file on unchanged, only
    // making its header's checksum, sizes, object count and end record true,
    // and leaving out records that name objects not alive.
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
            QVERIFY2(vellara::platform::checkedMetafile(bytes) == bytes && bytes == readBytes(sample + name),
                     qPrintable(name + " is not well formed, or not the committed picture (rerun vellara-wmfgen)"));
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
            QVERIFY(QDir("deck").entryList(QDir::Files) == QStringList{"cards.dat"} && !QFile::exists("escape.wmf"));
            QCOMPARE(readBytes("deck/cards.dat"), cards);
        }
    }
};

QTEST_GUILESS_MAIN(TestWmfWriter)
#include "test_wmfwriter.moc"
