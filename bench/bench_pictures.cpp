// Card pictures: the first drawing of a file (read, check and draw) and a
// drawing from the cache, at the table's and the large picture's sizes.
// wmf2gd, libwmf's own converter, is timed on the same files as a reference
// (it pays for starting a process and writing a PNG file; "wmf2gd/process
// start" measures the first).

#include "benchfiles.h"
#include "cardart.h"
#include "platform/metafilecheck.h"
#include "platform/picture.h"
#include "wmfwriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using vellara::bench::worst;
using vellara::platform::Picture;

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString generatedCard()
{
    const QString path = workDir().filePath("13.wmf");
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(tools::cardFace(13, QStringLiteral("Death")));
    }
    return path;
}

QString sample(const char *name)
{
    return QStringLiteral(VELLARA_SHARED_DIR "/wmf-samples/") + QLatin1String(name);
}

void firstTime(benchmark::State &state, const QString &path, QSize size)
{
    for (auto _ : state) {
        Picture::clearCache();
        const auto picture = Picture::load(path);
        benchmark::DoNotOptimize(picture->render(size));
    }
}

void fromCache(benchmark::State &state, const QString &path, QSize size)
{
    Picture::clearCache();
    (void)Picture::load(path)->render(size);
    for (auto _ : state) {
        const auto picture = Picture::load(path);
        benchmark::DoNotOptimize(picture->render(size));
    }
}

void turnedFromCache(benchmark::State &state, const QString &path, QSize size)
{
    Picture::clearCache();
    const Picture turned = Picture::load(path)->turned();
    (void)turned.render(size);
    for (auto _ : state)
        benchmark::DoNotOptimize(turned.render(size));
}

void wmf2gd(benchmark::State &state, const QString &path, QSize size)
{
    const QString program = QStandardPaths::findExecutable("wmf2gd");
    if (program.isEmpty()) {
        state.SkipWithError("wmf2gd is not installed");
        return;
    }
    const QString out = workDir().filePath("out.png");
    for (auto _ : state) {
        QProcess::execute(program, {"-t", "png", "-o", out,
                                    QStringLiteral("--maxwidth=%1").arg(size.width()),
                                    QStringLiteral("--maxheight=%1").arg(size.height()), path});
    }
}

// What wmf2gd costs before it draws: starting the process and loading its
// libraries. Subtracted from the wmf2gd figures, it leaves libwmf's own
// drawing and the PNG file.
void wmf2gdStart(benchmark::State &state)
{
    const QString program = QStandardPaths::findExecutable("wmf2gd");
    if (program.isEmpty()) {
        state.SkipWithError("wmf2gd is not installed");
        return;
    }
    for (auto _ : state)
        QProcess::execute(program, {"--version"});
}

// A metafile of 65535 objects that are never deleted (655 KB): the check
// keeps a table of them, which must not cost more than linear time.
void checkManyObjects(benchmark::State &state)
{
    tools::WmfWriter w(100, 100);
    w.rawRecord(0x041B, {100, 100, 0, 0});
    const QByteArray drawing = w.finish();
    const QByteArray palette("\x05\0\0\0\xF7\0\0\x03\0\0", 10);
    const QByteArray bytes = drawing.left(drawing.size() - 6) + palette.repeated(65535) + drawing.right(6);
    for (auto _ : state)
        benchmark::DoNotOptimize(vellara::platform::checkedMetafile(bytes));
    state.counters["KB"] = double(bytes.size()) / 1000.0;
}

void registerAll()
{
    benchmark::RegisterBenchmark("check/65535 objects", checkManyObjects)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("wmf2gd/process start", wmf2gdStart)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    const QSize large(116, 213), table(39, 71);
    struct File {
        const char *name;
        QString path;
    };
    const File files[] = {{"generated card", generatedCard()},
                          {"ant.wmf", sample("ant.wmf")},
                          {"Eg.wmf", sample("Eg.wmf")},
                          {"fulltest.wmf", sample("fulltest.wmf")},
                          {"text.wmf", sample("text.wmf")}};
    for (const File &f : files) {
        for (QSize size : {large, table}) {
            const std::string suffix = std::string(f.name) + " " + std::to_string(size.width())
                + "x" + std::to_string(size.height());
            benchmark::RegisterBenchmark(("first/" + suffix).c_str(), firstTime, f.path, size)
                ->Unit(benchmark::kMillisecond)
                ->ComputeStatistics("max", worst);
            benchmark::RegisterBenchmark(("cached/" + suffix).c_str(), fromCache, f.path, size)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("wmf2gd/" + suffix).c_str(), wmf2gd, f.path, size)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(20)
                ->ComputeStatistics("max", worst);
        }
    }
    benchmark::RegisterBenchmark("cached turned/generated card 116x213", turnedFromCache,
                                 generatedCard(), large)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
