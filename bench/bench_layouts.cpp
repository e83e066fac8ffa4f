// Layout editing on a 100-position table with a metafile card back: 1,000
// drag moves over one card in edit mode, each painted before the next (the
// median and worst event reported as counters), and "Add Card" and "Remove
// Card" on the full table, painting included.

#include "benchfiles.h"
#include "cardart.h"
#include "core/corestate.h"
#include "layouts/layouteditmode.h"
#include "platform/message.h"
#include "platform/pictureelement.h"
#include "reading/celtic.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace vellara;

namespace {

using bench::crlf;
using bench::writeFile;

void writeHundred(const QString &dir)
{
    writeFile(dir + "/back.wmf", tools::cardBack());
    QStringList layout{"        # of cards in layout", "100", "        Program window left, top, width, height",
                       "0", "0", "15000", "11000"};
    for (int k = 0; k < 100; ++k)
        layout << QString("        positional meaning %1").arg(k + 1) << QString("Position %1").arg(k + 1)
               << QString("        left, top of card#%1").arg(k + 1) << QString::number(320 + (k % 10) * 42)
               << QString::number(20 + (k / 10) * 70);
    writeFile(dir + "/Hundred.lat", crlf(layout));
    QDir().mkpath(dir + "/deck");
    writeFile(dir + "/deck/cards.dat", crlf({"0"}));
    writeFile(dir + "/vellara.ini",
              crlf({"        Card back file", dir + "/back.wmf", "        Deck path on last save", dir + "/deck",
                    "        Reversal frequency", "2", "        Layout on last save", "Hundred",
                    "        Number of decks installed", "0", "        Name, path of deck#0", "", "",
                    "        Number of layouts installed", "1", "        Layout name for layout #1", "Hundred"}));
}

// The table started on the 100 positions, shown, in edit mode and named.
struct EditedTable {
    EditedTable() : window(std::make_unique<Celtic>(state))
    {
        window->Form_Load();
        window->show();
        QCoreApplication::processEvents();
        window->editMode().editLayout();
        window->editMode().nameLayout(QStringLiteral("Edited"));
        QCoreApplication::processEvents();
    }
    CoreState state;
    std::unique_ptr<Celtic> window;
};

void send(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void dragMoves(benchmark::State &state)
{
    EditedTable table;
    platform::PictureElement *card = table.window->cardPicture(55);
    std::vector<double> times;  // every event of every run
    for (auto _ : state) {
        double total = 0;
        const QPointF grip(20, 30);
        send(card, QEvent::MouseButtonPress, grip, Qt::LeftButton);
        const QPointF start = card->pos() + grip;
        for (int i = 0; i < 1000; ++i) {
            // The pointer sweeps right and back, so the card trails it both ways.
            const double dx = i < 500 ? i * 0.6 : (1000 - i) * 0.6;
            const QPointF pointer = start + QPointF(dx, dx / 3);
            QElapsedTimer timer;
            timer.start();
            send(card, QEvent::MouseMove, pointer - card->pos(), Qt::LeftButton);
            QCoreApplication::processEvents();  // painted before the next event
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            total += times.back();
        }
        send(card, QEvent::MouseButtonRelease, grip, Qt::NoButton);
        state.SetIterationTime(total / 1000.0 / 1000.0);  // seconds per event
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
    state.counters["worst_ms"] = times.back();
}

void addOrRemove(benchmark::State &state, bool add)
{
    EditedTable table;
    LayoutEditMode &edit = table.window->editMode();
    double worst = 0;
    for (auto _ : state) {
        if (add) {
            state.PauseTiming();
            edit.removeCard();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        QElapsedTimer timer;
        timer.start();
        if (add)
            edit.addCard();  // the 100th position
        else
            edit.removeCard();  // from 100 positions
        QCoreApplication::processEvents();
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
        if (!add) {
            state.PauseTiming();
            edit.addCard();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.counters["worst_ms"] = worst;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // A message box would wait for a user who is not there.
    platform::setMessageHandler([](const QString &text) { qFatal("unexpected message: %s", qPrintable(text)); });
    QTemporaryDir dir;
    writeHundred(dir.path());
    QDir::setCurrent(dir.path());
    benchmark::RegisterBenchmark("drag: mean of 1,000 moves, painted", dragMoves)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("Add Card, to 100 positions", addOrRemove, true)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(50);
    benchmark::RegisterBenchmark("Remove Card, from 100 positions", addOrRemove, false)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(50);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
