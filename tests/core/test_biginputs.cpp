// A picture at and beyond the sizes the program's files can announce.

#include "platform/picture.h"
#include "support/memory.h"
#include "support/workdir.h"

#include <QTest>

using namespace vellara;

class TestBigInputs : public QObject {
    Q_OBJECT

private slots:
    void metafileAnnouncingAnEnormousPicture()
    {
        test::WorkDir dir;
        // Placeable header: bounding box -32768..32767 each way; window extent 32767.
        // Its checksum is left 0: the metafile check writes the right one.
        QByteArray bytes = QByteArray::fromHex("d7cdc69a0000" "0080" "0080" "ff7f" "ff7f" "a005" "00000000" "0000");
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
