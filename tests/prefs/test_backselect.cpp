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

struct Fixture {
    Fixture()
    {
        QDir().mkpath("backs");
        test::writeColourPicture("backs/red.bmp", Qt::red);
        test::writeColourPicture("backs/green.jpg", Qt::green, "JPEG");
        test::writeColourPicture("backs/blue.bmp", Qt::blue);
        test::writeBytes("backs/broken.bmp", "BM not really");
        state.settings.cardBackFile = QDir::current().absoluteFilePath("backs/blue.bmp");
        table = std::make_unique<Celtic>(state);
        table->showBackInLarge(state.settings.cardBackFile);
        window = new Backselect(state, *table);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        window->show();
        auto *folders = window->findChild<platform::DirectoryList *>("Dir1");
        folders->setPath(QDir::current().absoluteFilePath("backs"));
    }
    // A window left open would outlive the state and table it works on.
    ~Fixture() { delete window; }
    QColor preview() const { return test::shownColour(window->findChild<PictureElement *>("Image1")); }
    QColor large() const { return test::shownColour(table->findChild<PictureElement *>("Image1")); }
    void click(const QString &name, bool twice)
    {
        test::clickFile(window->findChild<platform::FileList *>("File1"), name, twice);
    }

    CoreState state;
    std::unique_ptr<Celtic> table;
    QPointer<Backselect> window;
};

} // namespace

class TestBackselect : public QObject {
    Q_OBJECT

private slots:
    void startsWithBitmapsOfTheCurrentFolder()
    {
        test::WorkDir dir;
        test::writeColourPicture("here.bmp", Qt::red);
        test::writeColourPicture("there.gif.bmp", Qt::red);
        test::writeColourPicture("else.jpg", Qt::red, "JPEG");
        CoreState state;
        Celtic table(state);
        Backselect w(state, table);
        w.Form_Load();
        auto *files = w.findChild<platform::FileList *>("File1");
        QCOMPARE(files->path(), QDir::currentPath());
        QCOMPARE(files->fileNames(), (QStringList{"here.bmp", "there.gif.bmp"}));
        auto *patterns = w.findChild<QComboBox *>("Combo1");
        QCOMPARE(patterns->currentText(), QString("*.bmp"));
        QCOMPARE(patterns->count(), 4);
        patterns->setCurrentIndex(3);
        QCOMPARE(files->pattern(), QString("*.wmf"));
        QVERIFY(files->fileNames().isEmpty());
    }

    void doubleClickTakesTheBack()
    {
        test::WorkDir dir;
        Fixture f;
        f.window->findChild<QComboBox *>("Combo1")->setCurrentIndex(1);  // *.jpg: any type will do
        f.click("green.jpg", true);
        QCOMPARE(f.state.settings.cardBackFile, QDir::current().absoluteFilePath("backs/green.jpg"));
        QCOMPARE(f.large().green(), 255);
        QVERIFY(f.window.isNull() || !f.window->isVisible());  // closed
    }

    void previewsChangeNothing()
    {
        test::WorkDir dir;
        Fixture f;
        const QString before = f.state.settings.cardBackFile;
        f.click("red.bmp", false);
        QCOMPARE(f.preview(), QColor(Qt::red));
        // A file that is no picture leaves the preview as it was.
        f.click("broken.bmp", false);
        QCOMPARE(f.preview(), QColor(Qt::red));
        f.window->close();
        QCOMPARE(f.state.settings.cardBackFile, before);
        QCOMPARE(f.large(), QColor(Qt::blue));
    }

    void unreadableFileIsNotTaken()
    {
        test::WorkDir dir;
        Fixture f;
        test::MessageSpy spy;
        const QString before = f.state.settings.cardBackFile;
        f.click("broken.bmp", true);
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("broken.bmp"));
        QCOMPARE(f.state.settings.cardBackFile, before);
        QCOMPARE(f.large(), QColor(Qt::blue));
        QVERIFY(f.window && f.window->isVisible());  // the user can choose another

        // Gone since it was listed: the reason is given, and the file named once.
        spy.clear();
        QVERIFY(QFile::remove("backs/red.bmp"));
        f.click("red.bmp", true);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(spy.messages()[0].count("red.bmp"), 1);
        QVERIFY2(spy.messages()[0].contains("does not exist"), qPrintable(spy.messages()[0]));
    }
};

QTEST_MAIN(TestBackselect)
#include "test_backselect.moc"
