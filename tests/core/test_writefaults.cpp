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

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using namespace vellara;

namespace {

// What the writers write: every file is larger than one block of the disk.
CoreState g_state;
test::RecordingTable g_table;

const std::tuple<const char *, const char *, bool (*)()> kWriters[] = {
    {"settings", "vellara.ini", [] { return WriteSettingsFile(g_state); }},
    {"layout", "Spread.lat", [] { return SaveLayout(g_state, g_table); }},
    {"current deck", "deck/cards.dat", [] { return WriteCurrentDeckFile(g_state); }},
    {"new deck", "new/cards.dat", [] { return WritePendingDeckFile(g_state); }},
    // The copy reports its failure to its caller, which tells the user.
    {"picture copy", "deck/00.wmf", [] {
         QString error;
         const bool copied = platform::copyFile("new/picture.wmf", "deck/00.wmf", &error);
         if (!copied)
             platform::showMessage(error + " (deck/00.wmf)");
         return copied;
     }}};

enum Fault { ReadOnlyFolder, ReadOnlyFile, FullDisk, FillsMidWrite, InPlace, InPlaceFails, InPlaceTooLarge };
// Each fault with the reason the user is told.
const std::pair<const char *, const char *> kFaults[] = {
    {"read-only folder", "Read-only file system"}, {"read-only file", "Permission denied"},
    {"full disk", "No space left on device"}, {"disk fills mid-write", "No space left on device"},
    {"writable file in read-only folder", ""}, {"same, write fails", "No space left on device"},
    {"same, past the file size limit", "File too large"}};

const QByteArray kOld = "old contents\r\nthat must survive\r\n";

} // namespace

class TestWriteFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WorkDir> m_dir;
    QString m_disk;
    bool m_mounted = false;

private slots:
    void init()
    {
        m_dir = std::make_unique<test::WorkDir>();
        m_disk = m_dir->filePath("disk");
        QDir().mkpath(m_disk);
        const QStringList tmpfs{"-t", "tmpfs", "-o", "size=64k,mode=0755", "tmpfs", m_disk};
        m_mounted = geteuid() == 0 && QProcess::execute("mount", tmpfs) == 0;
        QDir::setCurrent(m_disk);
        QDir().mkpath("deck");
        QDir().mkpath("new");
        test::writeBytes("new/picture.wmf", QByteArray(20000, 'p'));
        g_state.settings.cardBackFile = QString(5000, 'b');
        g_state.settings.layoutName = "Spread";
        g_state.settings.deckDirectory = m_disk + "/deck";
        g_state.layout.positionCount = 100;
        g_state.cardCount = 40;
        g_state.cards.fill({"0.wmf", QString("New"), QString(400, 'm'), "reversed"});
        g_state.pendingDeck.pictureDirectory = m_disk + "/new";
        g_state.pendingDeck.cardCount = 10;
    }
    void cleanup()
    {
        if (m_mounted)
            QProcess::execute("umount", {"-l", m_disk});
        m_dir.reset();
    }

    void everyWriterKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<int>("fault");
        for (int w = 0; w < 5; ++w)
            for (int f = ReadOnlyFolder; f <= InPlaceTooLarge; ++f)
                if (w < 4 || f < InPlace)  // a copy is never made in place
                    QTest::addRow("%s, %s", std::get<0>(kWriters[w]), kFaults[f].first) << w << f;
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
            while (filler.write("x", 1) == 1) {
            }
            if (fault == FillsMidWrite)
                filler.resize(filler.size() / 4096 * 4096 - 4096);
        }
        if (fault == ReadOnlyFolder || fault >= InPlace)
            QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", m_disk}), 0);
        // The lazy unmount at the end takes the bound file with it.
        if (fault >= InPlace)
            QCOMPARE(QProcess::execute("mount", {"--bind", outside, QFileInfo(file).absoluteFilePath()}), 0);
        if (fault == InPlaceFails)
            platform::setWriteFaultForTesting("No space left on device");
        // No file may grow past the old one's size: the new contents fail
        // halfway, the old ones still fit.
        rlimit usual{};
        getrlimit(RLIMIT_FSIZE, &usual);
        const rlimit limit{fault == InPlaceTooLarge ? rlim_t(kOld.size()) : usual.rlim_cur, usual.rlim_max};
        signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);

        test::MessageSpy spy;
        const bool written = write();
        platform::setWriteFaultForTesting({});
        setrlimit(RLIMIT_FSIZE, &usual);
        const QByteArray after = test::readBytes(file);
        if (fault == InPlace) {
            QVERIFY(written && spy.messages().isEmpty() && after.size() > 4096 && after.endsWith("\r\n"));
            return;
        }
        QVERIFY(!written && spy.messages().size() == 1);
        QVERIFY(spy.messages()[0].contains(QFileInfo(file).fileName())
                && spy.messages()[0].contains(kFaults[fault].second, Qt::CaseInsensitive));
        QCOMPARE(after, kOld);
        // No temporary file is left beside the old one.
        const QStringList kept{QFileInfo(file).fileName(), "filler", "picture.wmf"};
        for (const QString &left : QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(kept.contains(left), qPrintable(left));
    }
};

QTEST_GUILESS_MAIN(TestWriteFaults)
#include "test_writefaults.moc"
