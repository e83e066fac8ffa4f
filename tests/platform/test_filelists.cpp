#include "platform/filelists.h"
#include "platform/fonts.h"
#include "platform/namefilter.h"
#include "platform/sliderkeys.h"
#include "platform/windowregistry.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace vellara::platform;
using namespace vellara::test;

class TestFileLists : public QObject {
    Q_OBJECT

private slots:
    // Regular files only, whatever the case of their names: a FIFO would
    // block a picture reader.
    void fileListFiltersAndSorts()
    {
        const WorkDir dir;
        for (const char *name : {"b.wmf", "A.WMF", "c.Wmf", "back.bmp", "notes.txt", "wmf", ".hidden.wmf"})
            writeBytes(name, "x");
        QCOMPARE(::mkfifo("pipe.wmf", 0644), 0);
        FileList list;
        for (const auto &[pattern, names] : {std::pair{"*.wmf", QStringList{"A.WMF", "b.wmf", "c.Wmf"}},
                                            {"*.txt; *.BMP", {"back.bmp", "notes.txt"}},
                                            {"*.*", {"A.WMF", "b.wmf", "back.bmp", "c.Wmf", "notes.txt", "wmf"}}}) {
            list.setPattern(pattern);
            QCOMPARE(list.fileNames(), names);
        }
    }

    // The folder list of a window that chooses pictures: subfolders sorted by
    // name below the current folder; a folder that cannot be read, even the one
    // the program started in, is named and changes nothing.
    void folderListOpensSubfolders()
    {
        const WorkDir dir;
        for (const char *folder : {"decks/major", "decks/Minor", "decks/arcana", "gone"})
            QDir().mkpath(folder);
        QVERIFY(QDir::setCurrent("gone") && QDir().rmdir(dir.filePath("gone")));
        MessageSpy spy;
        DirectoryList folders;
        QVERIFY(QDir::setCurrent(dir.path()));

        QSignalSpy changed(&folders, &DirectoryList::pathChanged);
        QVERIFY(folders.setPath("decks"));
        QTreeWidgetItem *current = folders.currentItem();
        QVERIFY(current->child(0)->text(0) == QString("arcana") && current->child(2)->text(0) == QString("Minor"));
        // Opening a subfolder, as a double click does.
        emit folders.itemActivated(current->child(1), 0);
        QCOMPARE(folders.path(), dir.filePath("decks/major"));
        QVERIFY(!folders.setPath("decks/major/"));  // the same folder: nothing changes
        QVERIFY(!folders.setPath("gone/away") && folders.currentItem() && folders.currentItem()->text(0) == "major");
        QCOMPARE(changed.count(), 2);
        const QString refused = "The folder " + dir.path() + "/%1 cannot be opened: No such file or directory";
        QCOMPARE(spy.messages(), (QStringList{refused.arg("gone"), refused.arg("gone/away")}));
        // The chain up to the root stays visible, and opens as a subfolder does.
        QVERIFY(folders.currentItem()->parent()->text(0) == "decks" && folders.currentItem()->parent()->isExpanded());
        emit folders.itemActivated(folders.currentItem()->parent(), 0);
        QCOMPARE(folders.path(), dir.filePath("decks"));
    }

    // A folder's drive is the longest listed root that holds it.
    void drivesStartWithTheRoot()
    {
        DriveList drives;
        const QString home = QDir::homePath();
        drives.setDrive(home);
        QSignalSpy changed(&drives, &DriveList::driveChanged);
        drives.setDrive(home + "/deeper/still");
        QVERIFY(drives.drive() == home && drives.currentData().toString() == home);  // and shown
        drives.setDrive("/usr");
        QVERIFY(drives.drive() == QString("/") && changed.count() == 1);
        QTest::keyClick(&drives, Qt::Key_Down);  // chosen by the user
        QCOMPARE(changed.last().value(0).toString(), home);
    }

    // Deck and layout names become folder and file names: typed or pasted,
    // only letters A to Z, digits and blanks stay, the cursor where it was.
    void nameBoxesTakeLettersDigitsAndBlanks()
    {
        QLineEdit box;
        filterNameBox(&box);
        QTest::keyClicks(&box, "Az09 /:@[`{x");
        QTest::keyClick(&box, Qt::Key_Backspace);  // keys without a character pass
        QApplication::clipboard()->setText(QStringLiteral("-x/\u00e9y-"));
        box.setCursorPosition(2);
        QTest::keySequence(&box, QKeySequence::Paste);
        QVERIFY(box.text() == QString("Azxy09 ") && box.cursorPosition() == 4);
    }

    // The card sliders step forward with Right, Down and Page Down, which a
    // plain horizontal scroll bar does backwards.
    void slidersStepForward()
    {
        QScrollBar bar(Qt::Horizontal);  // 0 to 99, pages of 10
        useForwardKeys(&bar);
        bar.setValue(50);
        for (const auto &[key, value] : {std::pair{Qt::Key_Right, 51}, {Qt::Key_Down, 52}, {Qt::Key_PageDown, 62},
                                         {Qt::Key_Left, 61}, {Qt::Key_Up, 60}, {Qt::Key_PageUp, 50},
                                         {Qt::Key_End, 99}, {Qt::Key_Home, 0}}) {
            QTest::keyClick(&bar, key);
            QCOMPARE(bar.value(), value);
        }
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, {}, "a");  // other keys go on to the window
        QApplication::sendEvent(&bar, &letter);
        QVERIFY(!letter.isAccepted());
    }

    // A caption too long for its place is set narrower, then smaller, until it fits.
    void captionsShrinkToFit()
    {
        QLabel label("Reversal  Frequency of one in:");
        label.setFont(interfaceFont());
        label.resize(QFontMetrics(label.font()).horizontalAdvance(label.text()) * 2 / 3, 20);
        fitCaption(&label);
        QVERIFY(captionFits(&label));
    }

    // A window of each kind is built once, modeless, and brought to the front
    // when opened again.
    void eachWindowKindExistsOnce()
    {
        int built = 0;
        const auto make = [&built] {
            ++built;
            auto *window = new QWidget;
            window->setWindowModality(Qt::ApplicationModal);  // the registry makes every window modeless
            return window;
        };
        QWidget *first = WindowRegistry::open("cardbrowse", make);
        QVERIFY(WindowRegistry::open("cardbrowse", make) == first && !first->isModal());
        WindowRegistry::close("cardbrowse");
        QWidget *reopened = WindowRegistry::open("cardbrowse", make);
        // Other kinds are independent of it.
        QWidget *other = WindowRegistry::open("revset", make);
        QTRY_COMPARE(QApplication::activeWindow(), other);
        reopened->showMinimized();
        QVERIFY(WindowRegistry::open("cardbrowse", make) == reopened && !reopened->isMinimized());
        QTRY_COMPARE(QApplication::activeWindow(), reopened);
        QCOMPARE(built, 3);
        QApplication::closeAllWindows();
    }
};

QTEST_MAIN(TestFileLists)
#include "test_filelists.moc"
