#include "core/corestate.h"
#include "platform/filelists.h"
#include "platform/pictureelement.h"
#include "prefs/backselect.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QComboBox>
#include <QDir>
#include <QTest>

using namespace vellara;
using platform::PictureElement;

namespace {

// The chooser opened over a table showing the blue back, in a folder of backs.
struct Fixture {
    Fixture()
    {
        QDir().mkpath("backs");
        test::writeColourPicture("backs/red.bmp", Qt::red);
        test::writeColourPicture("backs/green.jpg", Qt::green, "JPEG");
        test::writeColourPicture("backs/blue.bmp", Qt::blue);
        test::writeColourPicture("backs/else.jpg", Qt::red, "JPEG");
        test::writeBytes("backs/broken.bmp", "BM not really");
        QDir::setCurrent("backs");
        state.settings.cardBackFile = QDir::current().absoluteFilePath("blue.bmp");
        table.showBackInLarge(state.settings.cardBackFile);
        window = new Backselect(state, table);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        window->show();
        files = window->findChild<platform::FileList *>("File1");
    }
    // A window left open would outlive the state and table it works on.
    ~Fixture() { delete window; }
    QColor preview() const { return test::shownColour(window->findChild<PictureElement *>("Image1")); }
    QColor large() const { return test::shownColour(table.findChild<PictureElement *>("Image1")); }

    CoreState state;
    Celtic table{state};
    QPointer<Backselect> window;
    platform::FileList *files;
};

} // namespace

class TestBackselect : public QObject {
    Q_OBJECT

private slots:
    void startsWithBitmapsOfTheCurrentFolder()
    {
        test::WorkDir dir;
        Fixture f;
        QCOMPARE(f.files->path(), QDir::currentPath());
        QCOMPARE(f.files->fileNames(), (QStringList{"blue.bmp", "broken.bmp", "red.bmp"}));
        auto *patterns = f.window->findChild<QComboBox *>("Combo1");
        QCOMPARE(patterns->count(), 4);
        patterns->setCurrentIndex(3);
        QCOMPARE(f.files->pattern(), QString("*.wmf"));
        QVERIFY(f.files->fileNames().isEmpty());
        const QString parent = QDir::cleanPath(QDir::currentPath() + "/..");
        f.window->findChild<platform::DirectoryList *>("Dir1")->setPath(parent);
        QCOMPARE(f.files->path(), parent);
    }

    void doubleClickTakesTheBack()
    {
        test::WorkDir dir;
        Fixture f;
        f.window->findChild<QComboBox *>("Combo1")->setCurrentIndex(1);  // *.jpg: any type will do
        test::clickFile(f.files, "green.jpg", true);
        QCOMPARE(f.state.settings.cardBackFile, QDir::current().absoluteFilePath("green.jpg"));
        QCOMPARE(f.large().green(), 255);
        QVERIFY(f.window.isNull() || !f.window->isVisible());  // closed
    }

    void previewsAndUnreadableFilesChangeNothing()
    {
        test::WorkDir dir;
        Fixture f;
        test::MessageSpy spy;
        const QString before = f.state.settings.cardBackFile;
        test::clickFile(f.files, "red.bmp");
        QCOMPARE(f.preview(), QColor(Qt::red));
        // A file that is no picture leaves the preview as it was, and is not taken.
        test::clickFile(f.files, "broken.bmp");
        QCOMPARE(f.preview(), QColor(Qt::red));
        test::clickFile(f.files, "broken.bmp", true);
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("broken.bmp"));
        QVERIFY(f.window && f.window->isVisible());  // the user can choose another

        // Gone since it was listed: the reason is given, and the file named once.
        QVERIFY(QFile::remove("red.bmp"));
        test::clickFile(f.files, "red.bmp", true);
        QCOMPARE(spy.messages().size(), 2);
        QCOMPARE(spy.messages()[1].count("red.bmp"), 1);
        QVERIFY2(spy.messages()[1].contains("does not exist"), qPrintable(spy.messages()[1]));
        f.window->close();
        QCOMPARE(f.state.settings.cardBackFile, before);
        QCOMPARE(f.large(), QColor(Qt::blue));
    }
};

QTEST_MAIN(TestBackselect)
#include "test_backselect.moc"
