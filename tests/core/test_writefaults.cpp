// Every writer against every fault the user's disk can throw at it: a
// read-only folder, a read-only file, a full file system. Each time the user
// is told why, the writer reports failure, and the old file stays byte for
// byte. Folders and full disks are real when the tests run as root (a small
// tmpfs, mounted read-only or filled up); otherwise the folder is made
// read-only and the full disk is an injected write failure.

#include "core/corestate.h"
#include "core/deckfile.h"
#include "core/layoutfile.h"
#include "core/settingsfile.h"
#include "platform/message.h"
#include "platform/textfile.h"
#include "recordingtable.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <unistd.h>

using namespace vellara;

namespace {


enum class Writer { Settings, Layout, CurrentDeck, NewDeck, PictureCopy };
enum class Fault { ReadOnlyFolder, ReadOnlyFile, FullDisk };

bool runAsRoot()
{
    return geteuid() == 0;
}

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A folder on a small tmpfs of its own, unmounted when done.
class SmallDisk {
public:
    explicit SmallDisk(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = runAsRoot() && run("mount", {"-t", "tmpfs", "-o", "size=64k,mode=0755", "tmpfs", path});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run("umount", {"-l", m_path});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() { return run("mount", {"-o", "remount,ro", m_path}); }
    // Fills the disk so that not one more block fits, or leaves one block free.
    void fill(bool leaveOneBlock = false)
    {
        QFile filler(m_path + "/filler");
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        if (leaveOneBlock) {
            filler.resize(filler.size() / block.size() * block.size() - block.size());
            return;
        }
        while (filler.write("x", 1) == 1) {
        }
    }

private:
    QString m_path;
    bool m_mounted = false;
};

QString fileOf(Writer writer)
{
    switch (writer) {
    case Writer::Settings:
        return "vellara.ini";
    case Writer::Layout:
        return "Spread.lat";
    case Writer::CurrentDeck:
        return "deck/cards.dat";
    case Writer::NewDeck:
        return "new/cards.dat";
    case Writer::PictureCopy:
        return "deck/00.wmf";
    }
    return {};
}

// State whose files differ from the old ones on disk.
void fillState(CoreState &state, const QString &folder)
{
    state.settings.cardBackFile = "/backs/new.wmf";
    state.settings.layoutName = "Spread";
    state.settings.reversalFrequency = 7;
    state.settings.deckDirectory = folder + "/deck";
    state.cardCount = 2;
    for (int k = 0; k < 2; ++k) {
        state.cards[k].pictureFile = QString("%1.wmf").arg(k);
        state.cards[k].name = QString("New %1").arg(k);
        state.cards[k].meaning = QString(300, QChar('m'));
        state.cards[k].reversedMeaning = "reversed";
    }
    state.layout.positionCount = 3;
    for (int k = 0; k < 3; ++k)
        state.layout.positions[k].meaning = QString("Meaning %1").arg(k);
    state.pendingDeck.pictureDirectory = folder + "/new";
    state.pendingDeck.cardCount = 2;
    for (int k = 0; k < 2; ++k) {
        state.pendingDeck.pictureFiles[k] = QString("%1.wmf").arg(k);
        state.pendingDeck.names[k] = QString("Fresh %1").arg(k);
        state.pendingDeck.meanings[k] = QString(400, QChar('u'));
    }
}

// The copy reports its failure to its caller, which tells the user.
QString g_copyError;

bool write(Writer writer, const CoreState &state, test::RecordingTable &table)
{
    switch (writer) {
    case Writer::Settings:
        return WriteSettingsFile(state);
    case Writer::Layout:
        return SaveLayout(state, table);
    case Writer::CurrentDeck:
        return WriteCurrentDeckFile(state);
    case Writer::NewDeck:
        return WritePendingDeckFile(state);
    case Writer::PictureCopy:
        if (platform::copyFile("new/picture.wmf", fileOf(writer), &g_copyError))
            return true;
        platform::showMessage(g_copyError + " (" + fileOf(writer) + ")");
        return false;
    }
    return false;
}

// The folders of one case, on a small disk of its own where one could be
// mounted, with a state whose files all differ from the old ones on disk.
struct Case {
    Case() : disk(dir.filePath("disk"))
    {
        QDir::setCurrent(dir.filePath("disk"));
        QDir().mkpath("deck");
        QDir().mkpath("new");
        fillState(state, QDir::currentPath());
    }
    ~Case()
    {
        lockFolders(false);
        QDir::setCurrent(dir.path());
    }
    // Folders that take no new file (where the user may not write).
    static void lockFolders(bool locked)
    {
        const QFile::Permissions write = locked ? QFile::Permissions() : QFile::WriteOwner;
        for (const char *d : {".", "deck", "new"})
            QFile::setPermissions(d, QFile::ReadOwner | QFile::ExeOwner | write);
    }

    test::WorkDir dir;
    SmallDisk disk;
    CoreState state;
    test::RecordingTable table;
};

const QByteArray kOld = "old contents\r\nthat must survive\r\n";

} // namespace

class TestWriteFaults : public QObject {
    Q_OBJECT

private slots:
    void everyWriterKeepsTheOldFile_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<Fault>("fault");
        const std::pair<const char *, Writer> writers[] = {{"settings", Writer::Settings},
                                                           {"layout", Writer::Layout},
                                                           {"current deck", Writer::CurrentDeck},
                                                           {"new deck", Writer::NewDeck},
                                                           {"picture copy", Writer::PictureCopy}};
        const std::pair<const char *, Fault> faults[] = {{"read-only folder", Fault::ReadOnlyFolder},
                                                         {"read-only file", Fault::ReadOnlyFile},
                                                         {"full disk", Fault::FullDisk}};
        for (const auto &[wname, w] : writers)
            for (const auto &[fname, f] : faults)
                QTest::newRow(qPrintable(QString("%1, %2").arg(wname, fname))) << w << f;
    }
    void everyWriterKeepsTheOldFile()
    {
        QFETCH(Writer, writer);
        QFETCH(Fault, fault);
        Case c;
        const QString file = fileOf(writer);
        test::writeBytes(file, kOld);
        test::writeBytes("new/picture.wmf", QByteArray(3000, 'p'));
        bool injected = false;
        switch (fault) {
        case Fault::ReadOnlyFolder:
            if (c.disk.mounted())
                QVERIFY(c.disk.makeReadOnly());
            else if (runAsRoot())
                QSKIP("root writes into read-only folders and no tmpfs could be mounted");
            else
                Case::lockFolders(true);
            break;
        case Fault::ReadOnlyFile:
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
            break;
        case Fault::FullDisk:
            if (c.disk.mounted())
                c.disk.fill();
            else
                platform::setWriteFaultForTesting("No space left on device");
            injected = !c.disk.mounted();
            break;
        }

        test::MessageSpy spy;
        const bool written = write(writer, c.state, c.table);
        if (injected)
            platform::setWriteFaultForTesting({});
        Case::lockFolders(false);

        QVERIFY(!written);
        QCOMPARE(spy.messages().size(), 1);
        const QString message = spy.messages()[0];
        QVERIFY2(message.contains(QFileInfo(file).fileName()), qPrintable(message));
        const char *reason = fault == Fault::FullDisk ? "No space left on device"
            : c.disk.mounted() && fault == Fault::ReadOnlyFolder ? "Read-only file system"
                                                                 : "Permission denied";
        QVERIFY2(message.contains(reason, Qt::CaseInsensitive), qPrintable(message));
        QCOMPARE(test::readBytes(file), kOld);
        QVERIFY(!c.table.pickCardsEnabled);  // a failed layout save leaves the table as it was
        // No temporary file is left beside the old one.
        const QStringList left = QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : left)
            QVERIFY2(name == QFileInfo(file).fileName() || name == "filler" || name == "picture.wmf",
                     qPrintable(name));
    }

    // A disk that fills up halfway through a write: part of the data went out,
    // and the reason must still be the system's, not an unknown error.
    void aDiskFillingMidWriteNamesTheReason_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::newRow("current deck") << Writer::CurrentDeck;
        QTest::newRow("picture copy") << Writer::PictureCopy;
    }
    void aDiskFillingMidWriteNamesTheReason()
    {
        QFETCH(Writer, writer);
        Case c;
        if (!c.disk.mounted())
            QSKIP("needs a tmpfs of its own, which only root can mount");
        c.state.cardCount = 40;  // some 17 KB of deck file
        for (int k = 0; k < c.state.cardCount; ++k)
            c.state.cards[k].meaning = QString(400, QChar('m'));
        test::writeBytes("new/picture.wmf", QByteArray(20000, 'p'));
        c.disk.fill(true);

        test::MessageSpy spy;
        QVERIFY(!write(writer, c.state, c.table));
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY2(spy.messages()[0].contains("No space left on device"), qPrintable(spy.messages()[0]));
    }

    // A folder that takes no new file, holding a file that may be written: the
    // file is rewritten in place, and a write that fails there puts it back.
    void writableFileInReadOnlyFolder_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<bool>("diskFull");
        const std::pair<const char *, Writer> writers[] = {{"settings", Writer::Settings},
                                                           {"layout", Writer::Layout},
                                                           {"current deck", Writer::CurrentDeck},
                                                           {"new deck", Writer::NewDeck}};
        for (const auto &[name, w] : writers) {
            QTest::newRow(name) << w << false;
            QTest::newRow(qPrintable(QString("%1, write fails").arg(name))) << w << true;
        }
    }
    void writableFileInReadOnlyFolder()
    {
        QFETCH(Writer, writer);
        QFETCH(bool, diskFull);
        const QString file = fileOf(writer);
        // Root may create files in any folder, so it gets a read-only file
        // system with the file bound into it from a writable one.
        Case c;
        if (runAsRoot() && !c.disk.mounted())
            QSKIP("root writes into read-only folders and no tmpfs could be mounted");
        test::writeBytes(file, kOld);
        const QString writable = c.dir.filePath("writable");
        test::writeBytes(writable, kOld);
        bool bound = false;
        if (c.disk.mounted()) {
            QVERIFY(c.disk.makeReadOnly());
            QVERIFY(bound = run("mount", {"--bind", writable, QFileInfo(file).absoluteFilePath()}));
        } else {
            Case::lockFolders(true);
        }

        test::MessageSpy spy;
        if (diskFull)
            platform::setWriteFaultForTesting("No space left on device");
        const bool written = write(writer, c.state, c.table);
        platform::setWriteFaultForTesting({});
        const QByteArray after = test::readBytes(file);
        if (bound)
            run("umount", {QFileInfo(file).absoluteFilePath()});

        QCOMPARE(written, !diskFull);
        if (diskFull) {
            QCOMPARE(after, kOld);
            QCOMPARE(spy.messages().size(), 1);
            QVERIFY2(spy.messages()[0].contains("No space left on device"), qPrintable(spy.messages()[0]));
        } else {
            QVERIFY2(spy.messages().isEmpty(), qPrintable(spy.messages().join('\n')));
            QVERIFY(after != kOld && after.endsWith("\r\n"));
        }
        if (bound)
            QCOMPARE(test::readBytes(writable), after);
    }
};

QTEST_GUILESS_MAIN(TestWriteFaults)
#include "test_writefaults.moc"
