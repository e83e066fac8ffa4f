#include "cardart.h"
#include "wmfwriter.h"

#include "platform/picture.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <map>

using tools::WmfWriter;
using vellara::test::readBytes;
using vellara::test::writeBytes;

namespace {

uint16_t word(const QByteArray &bytes, qsizetype at)
{
    return uint16_t(uint8_t(bytes[at]) | (uint8_t(bytes[at + 1]) << 8));
}

uint32_t dword(const QByteArray &bytes, qsizetype at)
{
    return word(bytes, at) | (uint32_t(word(bytes, at + 2)) << 16);
}

struct Record {
    uint16_t function;
    QVector<uint16_t> params;
};

// Reads a file the way a player does, checking the headers against the records.
QVector<Record> parse(const QByteArray &file)
{
    QVector<Record> records;
    [&] {
        QVERIFY(file.size() >= 46 && file.size() % 2 == 0);
        QCOMPARE(dword(file, 0), 0x9AC6CDD7u);
        uint16_t checksum = 0;
        for (int i = 0; i < 10; ++i)
            checksum ^= word(file, 2 * i);
        QCOMPARE(word(file, 20), checksum);

        QCOMPARE(word(file, 22), uint16_t(1));
        QCOMPARE(word(file, 24), uint16_t(9));
        QCOMPARE(word(file, 26), uint16_t(0x0300));
        QCOMPARE(qsizetype(dword(file, 28)), (file.size() - 22) / 2);

        // Objects go to the lowest free table entry, as in a player.
        std::map<int, bool> alive;
        int mostAlive = 0;
        uint32_t largest = 0;
        qsizetype at = 40;
        while (true) {
            QVERIFY2(at + 6 <= file.size(), "records run past the end");
            const uint32_t size = dword(file, at);
            QVERIFY(size >= 3 && at + 2 * qsizetype(size) <= file.size());
            Record r{word(file, at + 4), {}};
            for (uint32_t i = 3; i < size; ++i)
                r.params << word(file, at + 2 * i);
            largest = std::max(largest, size);
            at += 2 * size;
            if (r.function == 0) {
                QCOMPARE(size, 3u);
                break;
            }
            if (r.function == 0x02FA || r.function == 0x02FB || r.function == 0x02FC) {
                int index = 0;
                while (alive[index])
                    ++index;
                alive[index] = true;
                mostAlive = std::max<int>(mostAlive, int(std::count_if(alive.begin(), alive.end(),
                                                                        [](auto &e) { return e.second; })));
            } else if (r.function == 0x012D || r.function == 0x01F0) {
                QVERIFY2(alive[r.params.value(0)], "select or delete of an object that is not alive");
                if (r.function == 0x01F0)
                    alive[r.params[0]] = false;
            }
            records << r;
        }
        QCOMPARE(at, file.size());
        QCOMPARE(dword(file, 34), largest);
        QCOMPARE(int(word(file, 32)), mostAlive);
    }();
    return records;
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
        // The paper: a player fits the drawing's extent to the picture.
        w.setPen({});
        w.setBrush(Qt::white);
        w.rectangle(QRect(0, 0, 300, 500));
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
        parse(file);
        QTemporaryDir dir;
        writeBytes(dir.filePath("x.wmf"), file);
        const auto picture = vellara::platform::Picture::load(dir.filePath("x.wmf"));
        QVERIFY(picture);
        const QImage image = picture->render(QSize(300, 500));
        const auto at = [&](int x, int y) { return image.pixelColor(x, y); };
        QCOMPARE(at(60, 120), QColor(Qt::blue));   // inside the rectangle
        QCOMPARE(at(11, 120), QColor(Qt::red));    // its outline
        QCOMPARE(at(200, 70), QColor(Qt::white));  // inside the hollow ellipse
        QCOMPARE(at(200, 21), QColor(Qt::red));    // its top
        QCOMPARE(at(270, 450), QColor(Qt::green)); // the polygon, no outline
        QCOMPARE(at(289, 400), QColor(Qt::green));
        QCOMPARE(at(160, 450), QColor(Qt::white));
        int inked = 0;  // the word is drawn where it was put
        for (int y = 360; y < 420; ++y)
            for (int x = 20; x < 150; ++x)
                inked += at(x, y).lightness() < 128;
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
            parse(bytes);
            QVERIFY2(bytes == readBytes(sample + "/" + name),
                     qPrintable(name + " differs from the committed picture; rerun vellara-wmfgen"));
        }
    }

    void unsafePictureNamesAreRefused_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("parent") << "../escape.wmf";
        QTest::newRow("subfolder") << "sub/x.wmf";
        QTest::newRow("deck file") << "cards.dat";
        QTest::newRow("back") << "back.wmf";
        QTest::newRow("twice") << "a.wmf";
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
