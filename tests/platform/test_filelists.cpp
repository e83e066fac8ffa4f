#include "platform/filelists.h"
#include "platform/namefilter.h"
#include "platform/sliderkeys.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
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
        for (const auto &[pattern, names] : {std::pair{"*.wmf", QStringList{"A.WMF", "b.wmf", "c.Wmf"}}, {"*.bmp", {"back.bmp"}},
                                            {"*.jpg", {}}, {"*.txt;*.BMP", {"back.bmp", "notes.txt"}}}) {
            list.setPattern(pattern);
            QCOMPARE(list.fileNames(), names);
        }
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

        QVERIFY(!folders.setPath("decks/major/"));  // the same folder: nothing changes
        QCOMPARE(changed.count(), 2);
        // The chain up to the root stays visible, and opens too.
        QCOMPARE(folders.currentItem()->parent()->text(0), QString("decks"));
        emit folders.itemActivated(folders.topLevelItem(0), 0);
        QCOMPARE(folders.topLevelItem(0)->text(0), QString("/"));
        QCOMPARE(files.path(), QString("/"));
        // Files are picked with the mouse.
        files.setPath("decks/major");
        files.show();
        QSignalSpy clicked(&files, &FileList::fileClicked);
        QSignalSpy doubleClicked(&files, &FileList::fileDoubleClicked);
        vellara::test::clickFile(&files, "fool.wmf", true);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.at(0).at(0).toString(), QString("fool.wmf"));
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
        QVERIFY(folders.currentItem() && folders.currentItem()->text(0) == "here");
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

    // A folder's drive is the longest listed root that holds it; the user
    // picks another with the keys.
    void drivesStartWithTheRoot()
    {
        DriveList drives;
        QCOMPARE(drives.itemData(0).toString(), QString("/"));
        const QString home = QDir::homePath();
        QVERIFY(drives.itemText(drives.findData(home)).endsWith("(home)"));
        drives.setDrive(home);
        QSignalSpy changed(&drives, &DriveList::driveChanged);
        drives.setDrive(home + "/deeper/still");
        QCOMPARE(drives.drive(), home);
        drives.setDrive("/usr");
        QCOMPARE(drives.drive(), QString("/"));
        QCOMPARE(drives.currentIndex(), 0);
        QTest::keyClick(&drives, Qt::Key_Down);
        QCOMPARE(drives.drive(), drives.itemData(1).toString());
        QTest::keyClick(&drives, Qt::Key_Up);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(2).at(0).toString(), QString("/"));
    }

    // The lists of a window that chooses pictures, each with its name and place.
    void chooserPlacesItsLists()
    {
        QWidget window;
        const QRect places[4] = {QRect(0, 0, 90, 100), QRect(0, 110, 90, 20), QRect(100, 0, 90, 100), QRect(100, 110, 90, 20)};
        const FileChooser chooser(&window, {places[0], places[1], places[2], places[3]}, {"*.wmf", "*.bmp"}, "filelist");
        const QList<QWidget *> lists{chooser.folders, chooser.drives, chooser.files, chooser.patterns};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(lists[i]->objectName(), (QStringList{"Dir1", "Drive1", "filelist", "Combo1"}[i]));
            QCOMPARE(lists[i]->geometry(), places[i]);
        }
        QCOMPARE(chooser.patterns->count(), 2);
        QCOMPARE(chooser.patterns->accessibleName(), QString("File type"));
    }

    // Deck and layout names become folder and file names: typed or pasted,
    // only letters A to Z, digits and blanks stay, the cursor where it was.
    void nameBoxesTakeLettersDigitsAndBlanks()
    {
        QLineEdit box;
        filterNameBox(&box);
        QTest::keyClicks(&box, "Az09 /:@[`{x");
        QCOMPARE(box.text(), QString("Az09 x"));
        QTest::keyClick(&box, Qt::Key_Backspace);  // keys without a character pass
        QCOMPARE(box.text(), QString("Az09 "));
        QApplication::clipboard()->setText(QStringLiteral("-x/\u00e9y-"));
        box.setCursorPosition(2);
        QTest::keySequence(&box, QKeySequence::Paste);
        QCOMPARE(box.text(), QString("Azxy09 "));
        QCOMPARE(box.cursorPosition(), 4);
    }

    // The card sliders step forward with Right, Down and Page Down, which a
    // plain horizontal scroll bar does backwards.
    void slidersStepForward()
    {
        QScrollBar bar(Qt::Horizontal);
        bar.setRange(0, 100);
        bar.setPageStep(10);
        useForwardKeys(&bar);
        for (const auto &[key, value] : {std::pair{Qt::Key_Right, 51}, {Qt::Key_Down, 52}, {Qt::Key_PageDown, 62}, {Qt::Key_Left, 61},
                                         {Qt::Key_Up, 60}, {Qt::Key_PageUp, 50}, {Qt::Key_End, 100}, {Qt::Key_Home, 0}}) {
            bar.setValue(key == Qt::Key_End ? 0 : bar.value() == 0 ? 50 : bar.value());
            QTest::keyClick(&bar, key);
            QCOMPARE(bar.value(), value);
        }
    }
};

QTEST_MAIN(TestFileLists)
#include "test_filelists.moc"
