// Every writer against every fault the user's disk can throw at it: a
// read-only folder or file, a full file system, one that fills up halfway
// through a write. Each time the user is told why, the writer reports failure
// and the old file stays byte for byte. The folders are real: a small tmpfs,
// mounted read-only or filled up, which takes root.

#include "core/deckfile.h"
#include "core/layoutfile.h"
#include "core/settingsfile.h"
#include "platform/message.h"
#include "platform/textfile.h"
#include "recordingtable.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace vellara;

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

using Write = bool (*)(const CoreState &, test::RecordingTable &);
const std::tuple<const char *, const char *, Write> kWriters[] = {
    {"settings", "vellara.ini", [](const CoreState &s, test::RecordingTable &) { return WriteSettingsFile(s); }},
    {"layout", "Spread.lat", [](const CoreState &s, test::RecordingTable &t) { return SaveLayout(s, t); }},
    {"current deck", "deck/cards.dat", [](const CoreState &s, test::RecordingTable &) { return WriteCurrentDeckFile(s); }},
    {"new deck", "new/cards.dat", [](const CoreState &s, test::RecordingTable &) { return WritePendingDeckFile(s); }},
    // The copy reports its failure to its caller, which tells the user.
    {"picture copy", "deck/00.wmf", [](const CoreState &, test::RecordingTable &) {
         QString error;
         const bool copied = platform::copyFile("new/picture.wmf", "deck/00.wmf", &error);
         if (!copied)
             platform::showMessage(error + " (deck/00.wmf)");
         return copied;
     }}};

enum Fault { ReadOnlyFolder, ReadOnlyFile, FullDisk, FillsMidWrite, InPlace, InPlaceFails };
const char *const kFaults[] = {"read-only folder", "read-only file", "full disk", "disk fills mid-write",
                               "writable file in read-only folder", "same, write fails"};

const QByteArray kOld = "old contents\r\nthat must survive\r\n";

} // namespace

class TestWriteFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WorkDir> m_dir;
    QString m_disk;
    bool m_mounted = false;
    CoreState m_state;  // every file it writes is larger than one block of the disk
    test::RecordingTable m_table;

private slots:
    void init()
    {
        m_dir = std::make_unique<test::WorkDir>();
        m_disk = m_dir->filePath("disk");
        QDir().mkpath(m_disk);
        m_mounted = geteuid() == 0 && run("mount", {"-t", "tmpfs", "-o", "size=64k,mode=0755", "tmpfs", m_disk});
        QDir::setCurrent(m_disk);
        for (const char *folder : {"deck", "new"})
            QDir().mkpath(folder);
        test::writeBytes("new/picture.wmf", QByteArray(20000, 'p'));
        m_state = CoreState{};
        m_table = test::RecordingTable{};
        m_state.settings.layoutName = "Spread";
        m_state.settings.deckDirectory = m_disk + "/deck";
        m_state.settings.decks.deckCount = 50;
        m_state.settings.decks.paths.fill(QString(300, 'p'));
        m_state.layout.positionCount = 100;
        m_state.layout.positions.fill({.meaning = QString(100, 'm')});
        m_state.cardCount = 40;
        m_state.cards.fill({"0.wmf", QString("New"), QString(400, 'm'), "reversed"});
        m_state.pendingDeck.pictureDirectory = m_disk + "/new";
        m_state.pendingDeck.cardCount = 10;
    }
    void cleanup()
    {
        QDir::setCurrent(m_dir->path());
        if (m_mounted)
            run("umount", {"-l", m_disk});
        m_dir.reset();
    }

    void everyWriterKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<int>("fault");
        for (int w = 0; w < 5; ++w)
            for (int f = ReadOnlyFolder; f <= InPlaceFails; ++f)
                if (w < 4 || f < InPlace)  // a copy is never made in place
                    QTest::newRow(qPrintable(QString("%1, %2").arg(std::get<0>(kWriters[w]), kFaults[f]))) << w << f;
    }
    void everyWriterKeepsTheOldFile()
    {
        QFETCH(int, writer);
        QFETCH(int, fault);
        if (!m_mounted)
            QSKIP("needs a tmpfs of its own, which only root can mount");
        const auto [name, file, write] = kWriters[writer];
        test::writeBytes(file, kOld);
        // Where the folder takes no new file but the file may be written, it
        // is bound in from outside the read-only disk.
        const QString outside = m_dir->filePath("outside");
        test::writeBytes(outside, kOld);
        if (fault == ReadOnlyFile)
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
        if (fault == FullDisk || fault == FillsMidWrite) {
            QFile filler("filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'x')) == 4096) {
            }
            while (fault == FullDisk && filler.write("x", 1) == 1) {
            }
            if (fault == FillsMidWrite)
                filler.resize(filler.size() / 4096 * 4096 - 4096);
        }
        if (fault == ReadOnlyFolder || fault >= InPlace)
            QVERIFY(run("mount", {"-o", "remount,ro", m_disk}));
        const bool bound = fault >= InPlace && run("mount", {"--bind", outside, QFileInfo(file).absoluteFilePath()});
        QCOMPARE(bound, fault >= InPlace);
        if (fault == InPlaceFails)
            platform::setWriteFaultForTesting("No space left on device");

        test::MessageSpy spy;
        const bool written = write(m_state, m_table);
        platform::setWriteFaultForTesting({});
        const QByteArray after = test::readBytes(file);
        if (bound)
            run("umount", {QFileInfo(file).absoluteFilePath()});

        if (fault == InPlace) {
            QVERIFY2(written && spy.messages().isEmpty(), qPrintable(spy.messages().join('\n')));
            QVERIFY(after.size() > 4096 && after.endsWith("\r\n"));
            QCOMPARE(test::readBytes(outside), after);
            return;
        }
        QVERIFY(!written);
        QCOMPARE(spy.messages().size(), 1);
        const char *reason = fault == ReadOnlyFile       ? "Permission denied"
                             : fault == ReadOnlyFolder ? "Read-only file system"
                                                       : "No space left on device";
        QVERIFY2(spy.messages()[0].contains(QFileInfo(file).fileName())
                     && spy.messages()[0].contains(reason, Qt::CaseInsensitive),
                 qPrintable(spy.messages()[0]));
        QCOMPARE(after, kOld);
        QVERIFY(!m_table.pickCards);  // a failed layout save leaves the table as it was
        // No temporary file is left beside the old one.
        for (const QString &left : QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(QStringList({QFileInfo(file).fileName(), "filler", "picture.wmf"}).contains(left), qPrintable(left));
    }
};

QTEST_GUILESS_MAIN(TestWriteFaults)
#include "test_writefaults.moc"
