#include "platform/filelists.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace vellara::platform;
using vellara::test::MessageSpy;
using vellara::test::WorkDir;
using vellara::test::writeBytes;

class TestFileLists : public QObject {
    Q_OBJECT

private slots:
    void fileListFiltersAndSorts()
    {
        WorkDir dir;
        for (const char *name : {"b.wmf", "A.WMF", "c.Wmf", "back.bmp", "notes.txt", "wmf", ".hidden.wmf"})
            writeBytes(name, "x");
        QDir().mkdir("folder.wmf");
        // Nothing a picture reader could open: a FIFO would block it.
        QCOMPARE(::mkfifo("pipe.wmf", 0644), 0);
        FileList list;
        QCOMPARE(list.path(), QDir::currentPath());
        list.setPattern("*.wmf");
        QCOMPARE(list.fileNames(), (QStringList{"A.WMF", "b.wmf", "c.Wmf"}));
        list.setPattern("*.bmp");
        QCOMPARE(list.fileNames(), QStringList{"back.bmp"});
        list.setPattern("*.jpg");
        QVERIFY(list.fileNames().isEmpty());
        list.setPattern("*.*");
        QCOMPARE(list.count(), 6);
    }

    void listsFollowEachOther()
    {
        WorkDir dir;
        QDir().mkpath("decks/major");
        QDir().mkpath("decks/Minor");
        QDir().mkpath("decks/arcana");
        writeBytes("decks/major/fool.wmf", "x");
        DirectoryList folders;
        FileList files;
        files.setPattern("*.wmf");
        QObject::connect(&folders, &DirectoryList::pathChanged, &files, &FileList::setPath);
        QSignalSpy changed(&folders, &DirectoryList::pathChanged);

        QVERIFY(folders.setPath("decks"));
        QCOMPARE(changed.count(), 1);
        // Subfolders sorted by name, below the current folder.
        QTreeWidgetItem *current = folders.currentItem();
        QStringList children;
        for (int i = 0; i < current->childCount(); ++i)
            children << current->child(i)->text(0);
        QCOMPARE(children, (QStringList{"arcana", "major", "Minor"}));
        QVERIFY(files.fileNames().isEmpty());

        // Opening a subfolder, as a double click does.
        emit folders.itemActivated(current->child(1), 0);
        QCOMPARE(folders.path(), QDir(dir.path()).absoluteFilePath("decks/major"));
        QCOMPARE(files.path(), folders.path());
        QCOMPARE(files.fileNames(), QStringList{"fool.wmf"});

        // The chain up to the root stays visible.
        QTreeWidgetItem *top = folders.topLevelItem(0);
        QCOMPARE(top->text(0), QString("/"));
    }

    void unreadableFolderLeavesTheListsAlone()
    {
        WorkDir dir;
        QDir().mkdir("here");
        DirectoryList folders;
        QVERIFY(folders.setPath("here"));
        const QString before = folders.path();
        MessageSpy spy;
        QSignalSpy changed(&folders, &DirectoryList::pathChanged);
        QVERIFY(!folders.setPath("gone/away"));
        QCOMPARE(folders.path(), before);
        QVERIFY(folders.currentItem());
        QCOMPARE(folders.currentItem()->text(0), QString("here"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("No such file or directory"));
    }

    void removedStartingFolderIsNamed()
    {
        WorkDir dir;
        const QString gone = dir.filePath("gone");
        QDir().mkdir(gone);
        QVERIFY(QDir::setCurrent(gone));
        QVERIFY(QDir().rmdir(gone));
        MessageSpy spy;
        DirectoryList folders;
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY2(spy.messages()[0].contains(gone + " cannot be opened: No such file or directory"),
                 qPrintable(spy.messages()[0]));
    }

    void drivesStartWithTheRoot()
    {
        DriveList drives;
        QVERIFY(drives.count() >= 1);
        QCOMPARE(drives.itemData(0).toString(), QString("/"));
        QVERIFY(drives.findData(QDir::homePath()) >= 0);
        QSignalSpy changed(&drives, &DriveList::driveChanged);
        drives.setDrive(QDir::homePath());
        drives.setDrive("/");
        QCOMPARE(drives.drive(), QString("/"));
        QVERIFY(changed.count() >= 1);
    }
};

QTEST_MAIN(TestFileLists)
#include "test_filelists.moc"
