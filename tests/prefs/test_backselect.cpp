#include "support/table.h"

using namespace vellara;
using test::child, test::click;
using platform::PictureElement;
using test::clickFile;

class TestBackselect : public QObject {
    Q_OBJECT

private slots:
    void choosingABack()
    {
        test::WorkDir dir;
        test::MessageSpy spy;
        test::Table t(1, 1);
        // A folder of backs with files the first pattern leaves out.
        QDir().mkpath("backs");
        test::writeColourPicture("backs/red.bmp", Qt::red);
        test::writeColourPicture("backs/green.jpg", Qt::green, "JPEG");
        test::writeColourPicture("backs/blue.bmp", Qt::blue);
        test::writeBytes("backs/broken.bmp", "BM not really");
        QDir::setCurrent("backs");
        const QString back = t.state.settings.cardBackFile;
        QWidget *window = t.open("changeback", "backselect");
        test::verifyDesign(window);
        auto *files = window->findChild<platform::FileList *>("File1");
        QCOMPARE(files->fileNames(), (QStringList{"blue.bmp", "broken.bmp", "red.bmp"}));

        // A click previews; a file that is no picture leaves the preview as it was, and is not taken.
        clickFile(files, "red.bmp");
        clickFile(files, "broken.bmp");
        QCOMPARE(test::shownColour(window->findChild<PictureElement *>("Image1")), QColor(Qt::red));
        clickFile(files, "broken.bmp", true);
        // Gone since it was listed: the reason is given, and the file named once.
        QVERIFY(QFile::remove("red.bmp"));
        clickFile(files, "red.bmp", true);
        QVERIFY(spy.messages().size() == 2 && spy.messages()[0].contains("broken.bmp"));
        QCOMPARE(spy.messages()[1].count("red.bmp"), 1);
        QVERIFY2(spy.messages()[1].contains("does not exist"), qPrintable(spy.messages()[1]));
        QCOMPARE(t.state.settings.cardBackFile, back);
        QCOMPARE(test::shownColour(child<PictureElement>(&t.window, "Image1")), QColor(Qt::white));

        // The folders follow the drive, the files the folder.
        window->findChild<platform::DriveList *>("Drive1")->setDrive(QDir::homePath());
        QCOMPARE(files->path(), QDir::homePath());
        test::showFolder(window, ".");
        // Any listed type is taken by a double click, which closes the window.
        auto *patterns = window->findChild<QComboBox *>("Combo1");
        patterns->setCurrentIndex(3);
        QVERIFY(files->fileNames().isEmpty());
        patterns->setCurrentIndex(1);
        clickFile(files, "green.jpg", true);
        QCOMPARE(t.state.settings.cardBackFile, QDir::current().absoluteFilePath("green.jpg"));
        QVERIFY(test::shownColour(child<PictureElement>(&t.window, "Image1")).red() < 30);  // green, not white
        QVERIFY(!platform::WindowRegistry::find("backselect"));
    }
};

QTEST_MAIN(TestBackselect)
#include "test_backselect.moc"
