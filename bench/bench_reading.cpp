// The reading table: the whole program from process start to its first shown
// frame and out, with the sample's ten-position Celtic Cross and 22-card deck;
// "Pick Cards" on a 100-position layout with a 100-card metafile deck, the
// first deal after start and later ones; and the resident memory after it.
// Turning a card: from the click to the card and the large picture painted,
// the first time after a deal, for each shared metafile, once the faces were
// drawn ahead and right after the deal.

#include "benchfiles.h"
#include "cardart.h"
#include "core/corestate.h"
#include "platform/picture.h"
#include "reading/application.h"
#include "platform/pictureelement.h"
#include "reading/celtic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

using namespace vellara;

namespace {

using bench::crlf;
using bench::worst;
using bench::writeFile;

// Copies the bundled sample into dir, as the run command does.
void copySample(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &info : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (info.isDir())
            copySample(info.filePath(), to + "/" + info.fileName());
        else
            QFile::copy(info.filePath(), to + "/" + info.fileName());
    }
}

// A working folder with a deck of 100 generated metafile cards and a layout
// of 100 positions.
void writeHundred(const QString &dir)
{
    QDir().mkpath(dir + "/deck");
    QStringList deck{"100"};
    for (int k = 0; k < 100; ++k) {
        const QString name = QString("card%1").arg(k);
        writeFile(dir + "/deck/" + name + ".wmf", tools::cardFace(k, name));
        deck << name + ".wmf" << name << "Upright meaning of " + name << "Reversed meaning of " + name;
    }
    writeFile(dir + "/deck/cards.dat", crlf(deck));
    writeFile(dir + "/back.wmf", tools::cardBack());
    QStringList layout{"        # of cards in layout", "100", "        Program window left, top, width, height",
                       "0", "0", "15000", "11000"};
    for (int k = 0; k < 100; ++k)
        layout << QString("        positional meaning %1").arg(k + 1) << QString("Position %1").arg(k + 1)
               << QString("        left, top of card#%1").arg(k + 1) << QString::number(320 + (k % 10) * 42)
               << QString::number(20 + (k / 10) * 70);
    writeFile(dir + "/Hundred.lat", crlf(layout));
    const QStringList settings{"        Card back file", dir + "/back.wmf", "        Deck path on last save",
                               dir + "/deck", "        Reversal frequency", "2", "        Layout on last save",
                               "Hundred", "        Number of decks installed", "0",
                               "        Name, path of deck#0", "Hundred", dir + "/deck",
                               "        Number of layouts installed", "1",
                               "        Layout name for layout #1", "Hundred"};
    writeFile(dir + "/vellara.ini", crlf(settings));
}

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

// Child mode: start the program, quit once its first frame is painted.
int runToFirstFrame(int argc, char **argv)
{
    QApplication app(argc, argv);
    setUpApplication();
    Celtic *table = startReadingTable(app);
    struct FirstFrame : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            return false;
        }
    } firstFrame;
    table->installEventFilter(&firstFrame);
    return QApplication::exec();
}

QString g_self;

void startToFirstFrame(benchmark::State &state)
{
    QTemporaryDir dir;
    copySample(QStringLiteral(VELLARA_SOURCE_DIR "/data/sample"), dir.path());
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess child;
        child.setWorkingDirectory(dir.path());
        child.start(g_self, {"--first-frame"});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            state.SkipWithError("the program did not start and end");
            return;
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}

// A reading table on the working folder's settings, shown, with no picture
// read yet.
struct ShownTable {
    CoreState coreState;
    Celtic table{coreState};

    ShownTable()
    {
        platform::Picture::clearCache();
        table.Form_Load();
        table.show();
        QCoreApplication::processEvents();
    }

    void pickCards()
    {
        table.Command1_Click();
        QCoreApplication::processEvents();
    }
};

void pickCards(benchmark::State &state, bool first)
{
    QTemporaryDir dir;
    writeHundred(dir.path());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    long rss = 0, rssAhead = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ShownTable shown;
        Celtic &table = shown.table;
        if (!first)
            shown.pickCards();
        state.ResumeTiming();

        shown.pickCards();  // the hundred card backs painted

        state.PauseTiming();
        rss = std::max(rss, residentKilobytes());
        while (table.facesAhead().isDrawing())
            QCoreApplication::processEvents();
        rssAhead = std::max(rssAhead, residentKilobytes());
        table.hide();
        state.ResumeTiming();
    }
    QDir::setCurrent(previous);
    state.counters["resident_MB"] = double(rss) / 1024.0;
    state.counters["resident_MB_faces_drawn"] = double(rssAhead) / 1024.0;
}

QString sharedSamples()
{
    return QStringLiteral(VELLARA_SOURCE_DIR "/../shared/wmf-samples");
}

// A working folder whose deck is the shared metafiles, one position each.
QStringList writeSampleTable(const QString &dir)
{
    const QStringList files = QDir(sharedSamples()).entryList({"*.wmf"}, QDir::Files, QDir::Name);
    QDir().mkpath(dir + "/deck");
    QStringList deck{QString::number(files.size())};
    for (const QString &file : files) {
        QFile::copy(sharedSamples() + "/" + file, dir + "/deck/" + file);
        deck << file << file << "Upright" << "Reversed";
    }
    writeFile(dir + "/deck/cards.dat", crlf(deck));
    writeFile(dir + "/back.wmf", tools::cardBack());
    QStringList layout{"        # of cards in layout", QString::number(files.size()),
                       "        Program window left, top, width, height", "0", "0", "15000", "11000"};
    for (int k = 0; k < files.size(); ++k)
        layout << "        positional meaning" << QString("Position %1").arg(k + 1) << "        left, top"
               << QString::number(320 + k * 42) << "20";
    writeFile(dir + "/Samples.lat", crlf(layout));
    writeFile(dir + "/vellara.ini",
              crlf({"        Card back file", dir + "/back.wmf", "        Deck path", dir + "/deck",
                    "        Reversal frequency", "2", "        Layout", "Samples", "        Decks", "0",
                    "        Deck#0", "Samples", dir + "/deck", "        Layouts", "1", "        Layout #1",
                    "Samples"}));
    return files;
}

void clickToPainted(benchmark::State &state, const QString &file, bool ahead)
{
    QTemporaryDir dir;
    if (!writeSampleTable(dir.path()).contains(file)) {
        state.SkipWithError("the shared metafiles are missing");
        return;
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    long rss = 0;
    for (auto _ : state) {
        ShownTable shown;
        Celtic &table = shown.table;
        shown.pickCards();
        while (ahead && table.facesAhead().isDrawing())
            QCoreApplication::processEvents();
        rss = std::max(rss, residentKilobytes());
        int k = 0;
        while (k < table.cardPictureCount() && !table.facePicture(k)->picture().path().endsWith("/" + file))
            ++k;
        platform::PictureElement *card = table.cardPicture(k);
        auto *large = table.findChild<platform::PictureElement *>("Image1");
        const QPointF middle(card->width() / 2.0, card->height() / 2.0);
        QElapsedTimer timer;
        timer.start();
        QMouseEvent press(QEvent::MouseButtonPress, middle, card->mapToGlobal(middle), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, middle, card->mapToGlobal(middle), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(card, &press);
        QCoreApplication::sendEvent(card, &release);
        card->repaint();
        large->repaint();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    QDir::setCurrent(previous);
    state.counters["resident_MB"] = double(rss) / 1024.0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (argc == 2 && std::string(argv[1]) == "--first-frame")
        return runToFirstFrame(argc, argv);

    QApplication app(argc, argv);
    g_self = QCoreApplication::applicationFilePath();
    benchmark::RegisterBenchmark("start to first frame and out", startToFirstFrame)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("Pick Cards 100 of 100, first deal", pickCards, true)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("Pick Cards 100 of 100, later deal", pickCards, false)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    for (const QString &file : QDir(sharedSamples()).entryList({"*.wmf"}, QDir::Files, QDir::Name)) {
        for (const bool ahead : {true, false}) {
            const std::string name = std::string("click to painted, ") + (ahead ? "drawn ahead/" : "right after the deal/")
                + file.toStdString();
            benchmark::RegisterBenchmark(name.c_str(), clickToPainted, file, ahead)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(15)
                ->ComputeStatistics("max", worst)
                ->ReportAggregatesOnly(true);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
