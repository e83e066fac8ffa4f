// The card set import on a folder of 2,000 pictures: listing the folder in
// the file list (choosing the folder, painting included), and "Add Listed
// Images" offering all of them ticked. Each run starts from a fresh window.

#include "core/corestate.h"
#include "decks/newcardset.h"
#include "platform/filelists.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

using namespace vellara;

namespace {

constexpr int kPictures = 2000;

QString g_folder;

void writePictures(const QString &folder)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    for (int k = 0; k < kPictures; ++k) {
        QFile file(QStringLiteral("%1/card%2.bmp").arg(folder).arg(k, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

std::unique_ptr<Newcardset> openImport(CoreState &state)
{
    auto window = std::make_unique<Newcardset>(state);
    window->Form_Load();
    window->show();
    QCoreApplication::processEvents();
    return window;
}

void listFolder(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CoreState core;
        auto window = openImport(core);
        auto *folders = window->findChild<platform::DirectoryList *>("Dir1");
        state.ResumeTiming();

        folders->setPath(g_folder);
        QCoreApplication::processEvents();

        state.PauseTiming();
        if (window->findChild<QListWidget *>("filelist")->count() != kPictures)
            state.SkipWithError("not every picture listed");
        window.reset();
        state.ResumeTiming();
    }
}

void addListedImages(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CoreState core;
        auto window = openImport(core);
        window->findChild<platform::DirectoryList *>("Dir1")->setPath(g_folder);
        QCoreApplication::processEvents();
        auto *add = window->findChild<QPushButton *>("Command1");
        state.ResumeTiming();

        add->click();
        QCoreApplication::processEvents();

        state.PauseTiming();
        if (window->findChild<QListWidget *>("floppylist")->count() != kPictures)
            state.SkipWithError("not every picture offered");
        window.reset();
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_folder = dir.path();
    writePictures(g_folder);

    using Run = void (*)(benchmark::State &);
    const std::pair<const char *, Run> runs[] = {{"list 2,000 pictures in filelist", listFolder},
                                                 {"Add Listed Images, 2,000 pictures", addListedImages}};
    for (const auto &[name, run] : runs)
        benchmark::RegisterBenchmark(name, run)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(21)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
