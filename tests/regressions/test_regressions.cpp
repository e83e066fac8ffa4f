// Every input the fuzzers found a fault with, kept here once mended, run
// again through the same code the fuzz targets call: tests/regressions/<kind>/.

#include "support/memory.h"
#include "support/workdir.h"
#include "targets.h"

#include <QDir>
#include <QTest>

class TestRegressions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vellara::fuzz::setUp(); }

    void keptInputsRunCleanly()
    {
        const QDir root(QStringLiteral(VELLARA_SOURCE_DIR "/tests/regressions"));
        QVERIFY(!QDir(root.filePath("picture")).isEmpty());
        for (const QString &kind : vellara::fuzz::targetNames()) {
            for (const QFileInfo &info : QDir(root.filePath(kind)).entryInfoList(QDir::Files)) {
                const QByteArray bytes = vellara::test::readBytes(info.filePath());
                const long before = vellara::test::peakResidentKilobytes();
                vellara::fuzz::targetNamed(kind)(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                 size_t(bytes.size()));
                // A runaway input takes gigabytes; a hang is caught by the test's time limit.
                QVERIFY2(vellara::test::peakResidentKilobytes() - before < 512 * 1024, qPrintable(info.filePath()));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestRegressions)
#include "test_regressions.moc"
