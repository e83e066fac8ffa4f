// The reading table: the whole program from process start to its first shown
// frame and out, with the sample's ten-position Celtic Cross and 22-card deck;
// "Pick Cards" on a 100-position layout with a 100-card metafile deck, the
// first deal after start and later ones; and the resident memory after it.

#include "benchfiles.h"
#include "cardart.h"
#include "core/corestate.h"
#include "platform/picture.h"
#include "reading/application.h"
#include "reading/celtic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

using namespace vellara;

namespace {

using bench::crlf;
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

void pickCards(benchmark::State &state, bool first)
{
    QTemporaryDir dir;
    writeHundred(dir.path());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    long rss = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::Picture::clearCache();
        CoreState coreState;
        Celtic table(coreState);
        table.Form_Load();
        table.show();
        QCoreApplication::processEvents();
        if (!first) {
            table.Command1_Click();
            QCoreApplication::processEvents();
        }
        state.ResumeTiming();

        table.Command1_Click();
        QCoreApplication::processEvents();  // the hundred card backs painted

        state.PauseTiming();
        rss = std::max(rss, residentKilobytes());
        table.hide();
        state.ResumeTiming();
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
