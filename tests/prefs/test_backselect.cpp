#include "core/corestate.h"
#include "platform/filelists.h"
#include "platform/pictureelement.h"
#include "prefs/backselect.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTest>

using namespace vellara;
using platform::PictureElement;

namespace {

void writeColour(const QString &path, const QColor &colour, const char *format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, format));
}

QColor colourOf(const PictureElement *element)
{
    return element->picture().isNull() ? QColor()
                                       : element->picture().render(QSize(4, 4)).pixelColor(1, 1);
}

// Clicks or double-clicks a file name in the file list, as a user would.
void clickFile(Backselect &w, const QString &name, bool twice)
{
    auto *files = w.findChild<platform::FileList *>("File1");
    const auto found = files->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name));
    const QPoint at = files->visualItemRect(found[0]).center();
    // A double click comes after a single one, as from a real mouse.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
}

struct Fixture {
    Fixture()
    {
        QDir().mkpath("backs");
        writeColour("backs/red.bmp", Qt::red, "BMP");
        writeColour("backs/green.jpg", Qt::green, "JPEG");
        writeColour("backs/blue.bmp", Qt::blue, "BMP");
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
    PictureElement *preview() const { return window->findChild<PictureElement *>("Image1"); }
    PictureElement *large() const { return table->findChild<PictureElement *>("Image1"); }

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
        writeColour("here.bmp", Qt::red, "BMP");
        writeColour("there.gif.bmp", Qt::red, "BMP");
        writeColour("else.jpg", Qt::red, "JPEG");
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
        clickFile(*f.window, "green.jpg", true);
        QCOMPARE(f.state.settings.cardBackFile, QDir::current().absoluteFilePath("backs/green.jpg"));
        QCOMPARE(colourOf(f.large()).green(), 255);
        QVERIFY(f.window.isNull() || !f.window->isVisible());  // closed
    }

    void previewsChangeNothing()
    {
        test::WorkDir dir;
        Fixture f;
        const QString before = f.state.settings.cardBackFile;
        clickFile(*f.window, "red.bmp", false);
        QCOMPARE(colourOf(f.preview()), QColor(Qt::red));
        // A file that is no picture leaves the preview as it was.
        clickFile(*f.window, "broken.bmp", false);
        QCOMPARE(colourOf(f.preview()), QColor(Qt::red));
        f.window->close();
        QCOMPARE(f.state.settings.cardBackFile, before);
        QCOMPARE(colourOf(f.large()), QColor(Qt::blue));
    }

    void unreadableFileIsNotTaken()
    {
        test::WorkDir dir;
        Fixture f;
        test::MessageSpy spy;
        const QString before = f.state.settings.cardBackFile;
        clickFile(*f.window, "broken.bmp", true);
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("broken.bmp"));
        QCOMPARE(f.state.settings.cardBackFile, before);
        QCOMPARE(colourOf(f.large()), QColor(Qt::blue));
        QVERIFY(f.window && f.window->isVisible());  // the user can choose another

        // Gone since it was listed: the reason is given, and the file named once.
        spy.clear();
        QVERIFY(QFile::remove("backs/red.bmp"));
        clickFile(*f.window, "red.bmp", true);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(spy.messages()[0].count("red.bmp"), 1);
        QVERIFY2(spy.messages()[0].contains("does not exist"), qPrintable(spy.messages()[0]));
    }
};

QTEST_MAIN(TestBackselect)
#include "test_backselect.moc"
