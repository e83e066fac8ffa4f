#include "core/corestate.h"
#include "platform/filelists.h"
#include "platform/pictureelement.h"
#include "prefs/backselect.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

using namespace vellara;
using platform::PictureElement;
using test::clickFile;

class TestBackselect : public QObject {
    Q_OBJECT

private slots:
    void choosingABack()
    {
        test::WorkDir dir;
        test::MessageSpy spy;
        // A folder of backs with files the first pattern leaves out.
        QDir().mkpath("backs");
        test::writeColourPicture("backs/red.bmp", Qt::red);
        test::writeColourPicture("backs/green.jpg", Qt::green, "JPEG");
        test::writeColourPicture("backs/blue.bmp", Qt::blue);
        test::writeBytes("backs/broken.bmp", "BM not really");
        QDir::setCurrent("backs");
        CoreState state;
        state.settings.cardBackFile = "blue.bmp";
        Celtic table(state);
        const auto *large = table.findChild<PictureElement *>("Image1");
        QPointer<Backselect> window = new Backselect(state, table);
        // A window left open would outlive the state and table it works on.
        const auto cleanup = qScopeGuard([&window] { delete window; });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        window->show();
        test::verifyControlsApart(window);
        auto *files = window->findChild<platform::FileList *>("File1");
        QCOMPARE(files->fileNames(), (QStringList{"blue.bmp", "broken.bmp", "red.bmp"}));
        auto *folders = window->findChild<platform::DirectoryList *>("Dir1");
        folders->setPath(QDir::cleanPath(QDir::currentPath() + "/.."));
        QCOMPARE(files->path(), QDir::cleanPath(QDir::currentPath() + "/.."));
        folders->setPath(QDir::currentPath());

        // A click previews; a file that is no picture leaves the preview as it was, and is not taken.
        clickFile(files, "red.bmp");
        clickFile(files, "broken.bmp");
        QCOMPARE(test::shownColour(window->findChild<PictureElement *>("Image1")), QColor(Qt::red));
        clickFile(files, "broken.bmp", true);
        // Gone since it was listed: the reason is given, and the file named once.
        QVERIFY(QFile::remove("red.bmp"));
        clickFile(files, "red.bmp", true);
        QCOMPARE(spy.messages().size(), 2);
        QVERIFY(spy.messages()[0].contains("broken.bmp"));
        QCOMPARE(spy.messages()[1].count("red.bmp"), 1);
        QVERIFY2(spy.messages()[1].contains("does not exist"), qPrintable(spy.messages()[1]));
        QCOMPARE(state.settings.cardBackFile, QString("blue.bmp"));
        QVERIFY(!test::shownColour(large).isValid());

        // Any listed type is taken by a double click, which closes the window.
        auto *patterns = window->findChild<QComboBox *>("Combo1");
        patterns->setCurrentIndex(3);
        QVERIFY(files->fileNames().isEmpty());
        patterns->setCurrentIndex(1);
        clickFile(files, "green.jpg", true);
        QCOMPARE(state.settings.cardBackFile, QDir::current().absoluteFilePath("green.jpg"));
        QCOMPARE(test::shownColour(large).green(), 255);
        QVERIFY(window.isNull() || !window->isVisible());
    }
};

QTEST_MAIN(TestBackselect)
#include "test_backselect.moc"
