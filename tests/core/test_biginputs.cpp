// Inputs at and beyond the sizes the program's files can have.

#include "core/deckfile.h"
#include "platform/picture.h"
#include "support/memory.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QTest>

using namespace vellara;

class TestBigInputs : public QObject {
    Q_OBJECT

private slots:
    void fullDeckWithLongestMeanings()
    {
        test::WorkDir dir;
        test::MessageSpy spy;
        QStringList lines{"101"};
        for (int k = 0; k < 101; ++k)
            lines << QString("%1.wmf").arg(k) << QString("Card %1").arg(k).leftJustified(30, '.')
                  << QString(400, QChar('a' + k % 26)) << QString(400, QChar('A' + k % 26));
        lines[3] = QString(70000, QChar('m'));  // a current deck keeps a meaning whole, however long
        QDir().mkpath("deck");
        test::writeBytes("deck/cards.dat", test::crlfLines(lines));
        CoreState state;
        state.settings.deckDirectory = "deck";
        QVERIFY(LoadDeckFromDirectory(state, "deck"));
        QCOMPARE(state.cardCount, qint16(101));
        QCOMPARE(state.cards[100].reversedMeaning, QString(400, QChar('A' + 100 % 26)));
        QVERIFY(WriteCurrentDeckFile(state));
        QCOMPARE(test::readBytes("deck/cards.dat"), test::crlfLines(lines));
        QVERIFY(spy.messages().isEmpty());
    }

    void metafileAnnouncingAnEnormousPicture()
    {
        test::WorkDir dir;
        // Placeable header: bounding box -32768..32767 each way; window extent 32767.
        QByteArray bytes = QByteArray::fromHex("d7cdc69a0000" "0080" "0080" "ff7f" "ff7f" "a005" "00000000" "0000");
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= quint16(uchar(bytes[2 * i]) | uchar(bytes[2 * i + 1]) << 8);
        bytes[20] = char(sum & 0xFF);
        bytes[21] = char(sum >> 8);
        bytes += QByteArray::fromHex("010009000003" "ffffffff" "ffff" "ffffffff" "0000");
        bytes += QByteArray::fromHex("050000000c02ff7fff7f");              // window extent
        bytes += QByteArray::fromHex("07000000fc020000ff000000" "0000");   // red brush
        bytes += QByteArray::fromHex("040000002d010000");                  // select it
        bytes += QByteArray::fromHex("070000001b04ff7fff7f00800080");      // the whole extent
        bytes += QByteArray::fromHex("030000000000");
        test::writeBytes("huge.wmf", bytes);
        const long before = test::peakResidentKilobytes();
        const auto picture = platform::Picture::load("huge.wmf");
        QVERIFY(picture);
        QCOMPARE(picture->render(QSize(116, 213)).size(), QSize(116, 213));
        QVERIFY(test::peakResidentKilobytes() - before < 64 * 1024);
    }
};

QTEST_GUILESS_MAIN(TestBigInputs)
#include "test_biginputs.moc"
