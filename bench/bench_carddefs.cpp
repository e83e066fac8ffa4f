// The current deck's definitions window on a deck of 101 metafile cards:
// dragging the slider's thumb from the first card to the last, each step
// painted, on the first view (nothing cached) and again; each pass reports
// the median and the worst step. And "Save Set" of 101 cards whose meanings
// are 400 characters long.

#include "cardart.h"
#include "carddefs/carddefedit.h"
#include "core/corestate.h"
#include "platform/picture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace vellara;

namespace {

constexpr int kCards = kCardSlots;

QString g_deck;

void writeDeck(const QString &folder)
{
    for (int k = 0; k < kCards; ++k) {
        QFile file(QStringLiteral("%1/%2.wmf").arg(folder).arg(k, 3, 10, QLatin1Char('0')));
        const QByteArray bytes = tools::cardFace(k, QStringLiteral("Card %1").arg(k));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

void fillDeck(CoreState &state)
{
    state.settings.deckDirectory = g_deck;
    state.cardCount = kCards;
    for (int k = 0; k < kCards; ++k) {
        CardRecord &card = state.cards[k];
        card.pictureFile = QStringLiteral("%1.wmf").arg(k, 3, 10, QLatin1Char('0'));
        card.name = QStringLiteral("Card %1").arg(k);
        // Words of every card's own, so that no box is left as it was.
        card.meaning = QStringLiteral("upright %1 ").arg(k).repeated(40).left(400);
        card.reversedMeaning = QStringLiteral("reversed %1 ").arg(k).repeated(40).left(400);
    }
}

std::unique_ptr<Carddefedit> openEditor(CoreState &state)
{
    auto window = std::make_unique<Carddefedit>(state, [] {});
    window->Form_Load();
    window->show();
    QCoreApplication::processEvents();
    return window;
}

double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Steps {
    std::vector<double> wall;  // what the user waits, other processes included
    std::vector<double> cpu;   // what the program itself spends
};

// One drag across the deck; the step times in milliseconds.
void dragAcross(Carddefedit &window, Steps &steps)
{
    auto *slider = window.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
    slider->setSliderDown(true);
    for (int k = 1; k < kCards; ++k) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadMilliseconds();
        slider->setSliderPosition(k);
        // What the step left to paint, as the event loop paints it.
        QCoreApplication::processEvents();
        steps.cpu.push_back(threadMilliseconds() - cpu);
        steps.wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    slider->setSliderDown(false);
    slider->setValue(0);
    QCoreApplication::processEvents();
}

void report(benchmark::State &state, std::vector<double> steps, const std::string &prefix)
{
    std::sort(steps.begin(), steps.end());
    state.counters[prefix + "_median_ms"] = steps[steps.size() / 2];
    state.counters[prefix + "_worst_ms"] = steps.back();
}

void slider(benchmark::State &state)
{
    Steps first;
    Steps again;
    for (auto _ : state) {
        state.PauseTiming();
        platform::Picture::clearCache();
        CoreState core;
        fillDeck(core);
        auto window = openEditor(core);
        state.ResumeTiming();

        dragAcross(*window, first);
        dragAcross(*window, again);
    }
    report(state, first.wall, "first");
    report(state, again.wall, "again");
    report(state, first.cpu, "first_cpu");
    report(state, again.cpu, "again_cpu");
}

void saveSet(benchmark::State &state)
{
    CoreState core;
    fillDeck(core);
    auto window = openEditor(core);
    auto *save = window->findChild<QPushButton *>(QStringLiteral("Command3"));
    for (auto _ : state)
        save->click();
    if (!QFile::exists(g_deck + QStringLiteral("/cards.dat")))
        state.SkipWithError("no deck file written");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_deck = dir.path();
    writeDeck(g_deck);

    benchmark::RegisterBenchmark("carddefedit slider across 101 metafile cards, first view and again", slider)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("Save Set, 101 cards with 400-character meanings", saveSet)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
