#include "cardart.h"
#include "wmfwriter.h"

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

QVector<Record> withFunction(const QVector<Record> &records, uint16_t function)
{
    QVector<Record> out;
    for (const Record &r : records)
        if (r.function == function)
            out << r;
    return out;
}

} // namespace

class TestWmfWriter : public QObject {
    Q_OBJECT

private slots:
    void headersAndRecordsAgree()
    {
        WmfWriter w(300, 500, 960);
        w.setPen(Qt::red, 5);
        w.setBrush(Qt::blue);
        w.rectangle(QRect(10, 20, 30, 40));
        w.ellipse(QRect(1, 2, 3, 4));
        w.setBrush({});
        w.polygon({{1, 2}, {3, 4}, {5, 6}});
        w.setPen({});
        w.line({7, 8}, {9, 10});
        w.setFont("Times New Roman", 40, true);
        w.text(150, 30, "Justice");
        const QByteArray file = w.finish();
        const QVector<Record> records = parse(file);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(word(file, 10), uint16_t(300));
        QCOMPARE(word(file, 12), uint16_t(500));
        QCOMPARE(word(file, 14), uint16_t(960));
        // Parameters run in reverse: y before x, bottom and right first.
        QCOMPARE(withFunction(records, 0x020C).value(0).params, (QVector<uint16_t>{500, 300}));
        QCOMPARE(withFunction(records, 0x041B).value(0).params, (QVector<uint16_t>{60, 40, 20, 10}));
        QCOMPARE(withFunction(records, 0x0418).value(0).params, (QVector<uint16_t>{6, 4, 2, 1}));
        QCOMPARE(withFunction(records, 0x0324).value(0).params, (QVector<uint16_t>{3, 1, 2, 3, 4, 5, 6}));
        QCOMPARE(withFunction(records, 0x0214).value(0).params, (QVector<uint16_t>{8, 7}));
        QCOMPARE(withFunction(records, 0x0213).value(0).params, (QVector<uint16_t>{10, 9}));

        const QVector<Record> pens = withFunction(records, 0x02FA);
        QCOMPARE(pens.size(), 2);
        QCOMPARE(pens[0].params, (QVector<uint16_t>{0, 5, 0, 0x00FF, 0}));
        QCOMPARE(pens[1].params.value(0), uint16_t(5));  // PS_NULL
        const QVector<Record> brushes = withFunction(records, 0x02FC);
        QCOMPARE(brushes.size(), 2);
        QCOMPARE(brushes[0].params, (QVector<uint16_t>{0, 0, 0x00FF, 0}));
        QCOMPARE(brushes[1].params.value(0), uint16_t(1));  // BS_NULL

        const Record font = withFunction(records, 0x02FB).value(0);
        QCOMPARE(int16_t(font.params.value(0)), int16_t(-40));
        QCOMPARE(font.params.value(4), uint16_t(700));
        QByteArray face;
        for (qsizetype i = 9; i < font.params.size(); ++i)
            face.append(char(font.params[i] & 0xFF)).append(char(font.params[i] >> 8));
        QCOMPARE(face, QByteArray("Times New Roman\0", 16));
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
