#include "core/dealing.h"
#include "recordingtable.h"

#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>

#include <sys/syscall.h>
#include <unistd.h>

using namespace vellara;

static bool g_clockStopped = false;

// Stands in for the C library's clock so that a test can hold the time of day
// still; the monotonic clock, which Qt Test's watchdog reads, keeps running.
extern "C" int clock_gettime(clockid_t clock, timespec *time)
{
    if (g_clockStopped && clock == CLOCK_REALTIME) {
        *time = timespec{1700000000, 0};
        return 0;
    }
    return int(syscall(SYS_clock_gettime, clock, time));
}

class TestDealing : public QObject {
    Q_OBJECT

    // A repeatable generator, a table and a deck whose card k is "Card k".
    platform::RandomGenerator random;
    test::RecordingTable table;
    CoreState state;
    void deal(int cards, int positions, qint16 frequency = 2)
    {
        random.seed(7);
        random.setClockMixing(false);
        state = CoreState{};
        state.cardCount = qint16(cards);
        for (int k = 0; k < cards; ++k)
            state.cards[k] = {QString("card%1.wmf  ").arg(k), QString("Card %1").arg(k), QString("up %1").arg(k),
                              QString("down %1").arg(k)};
        state.settings.cardBackFile = "/back.wmf";
        state.settings.deckDirectory = "/deck";
        state.settings.reversalFrequency = frequency;
        state.layout.positionCount = qint16(positions);
    }

private slots:
    void everyPositionGetsADifferentCard()
    {
        deal(22, 10);
        QSet<qint16> seenFirst;
        for (int round = 0; round < 300; ++round) {
            QVERIFY(DealReading(state, table, random));
            const QSet<qint16> cards(state.reading.dealtCards.begin(), state.reading.dealtCards.begin() + 10);
            QCOMPARE(cards.size(), 10);
            QVERIFY(std::all_of(cards.begin(), cards.end(), [](qint16 d) { return d >= 0 && d < 22; }));
            QCOMPARE(QSet<qint16>(state.reading.dealtCards.begin() + 10, state.reading.dealtCards.end()),
                     QSet<qint16>{0});
            seenFirst.insert(state.reading.dealtCards[0]);
        }
        QCOMPARE(seenFirst.size(), 22);  // the first position is not stuck on a few cards
        QCOMPARE(table.cards.size(), 10);
        deal(100, 100);
        QVERIFY(DealReading(state, table, random));
        QCOMPARE(QSet<qint16>(state.reading.dealtCards.begin(), state.reading.dealtCards.end()).size(), 100);

        // Too few cards deal nothing; positions outside the table draw nothing.
        deal(3, 4);
        // Right behind the last dealt card, an empty text reads as card 0: a repeat never drawn away.
        RedrawRepeats(state, random, kPositionSlots);
        state.reading.cardTexts[0] = "kept";
        state.layout.positions[99].top = 1.5f;  // right before the first dealt card
        const auto bytes = [this] { return QByteArray(reinterpret_cast<const char *>(&state), sizeof state); };
        const QByteArray before = bytes();
        QVERIFY(!DealReading(state, table, random));
        for (const qint16 p : {qint16(-1), qint16(kPositionSlots)}) {
            DrawCard(state, random, p);
            RedrawRepeats(state, random, p);
        }
        QCOMPARE(bytes(), before);
    }

    void reversals()
    {
        // The frequency set and the Reversals check box: 0 clear, 1 ticked, 2 greyed.
        const std::pair<qint16, int> rows[] = {{2, 1}, {4, 1}, {1, 1}, {-5, 1}, {2, 0}, {2, 2}};
        for (const auto &[frequency, checkBox] : rows) {
            deal(100, 100, frequency);
            table.reversals = checkBox;
            table.unloadable = QStringList{"/deck/card7.wmf"};
            int reversed = 0;
            for (int round = 0; round < 20; ++round) {
                QVERIFY(DealReading(state, table, random));
                QCOMPARE(table.large, QString("/back.wmf"));
                for (int p = 0; p < 100; ++p) {
                    const int d = state.reading.dealtCards[p];
                    const QString &text = state.reading.cardTexts[p].text();
                    const QString head = toFixedWidth(QString("Card %1").arg(d), 30) + "\r\n\r\n";
                    const bool turned = text.startsWith(head + "*Reversed*");
                    reversed += turned;
                    QCOMPARE(text.trimmed(), head + (turned ? "*Reversed*\r\ndown " : "up ") + QString::number(d));
                    // The padded picture name opens the bare name; an unreadable picture leaves the back.
                    QCOMPARE(table.cards[p].face, d == 7 ? QString("/back.wmf") : QString("/deck/card%1.wmf").arg(d));
                    QCOMPARE(table.cards[p].turned, turned && d != 7);
                }
            }
            // One card in the frequency, which is at least 2, within 4 standard deviations.
            const double share = checkBox == 1 ? 1.0 / std::max<int>(frequency, 2) : 0;
            QVERIFY(std::abs(reversed - 2000 * share) <= 4 * std::sqrt(2000 * share * (1 - share)));
            QCOMPARE(state.settings.reversalFrequency, std::max(frequency, qint16(2)));
        }
    }

    void reseedingInOneTickStillDiffers()
    {
        QSet<double> values;
        random.setClockMixing(true);
        g_clockStopped = true;
        for (int i = 0; i < 1000; ++i) {
            random.reseed();
            values.insert(random.next());
        }
        g_clockStopped = false;
        QCOMPARE(values.size(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestDealing)
#include "test_dealing.moc"
