#include "core/dealing.h"
#include "recordingtable.h"

#include <QSet>
#include <QTest>

#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>

using namespace vellara;
using test::RecordingTable;

namespace {

bool g_clockStopped = false;

} // namespace

// Stands in for the C library's clock, which the generator reads through the
// standard library, so that a test can hold the time of day still. The
// monotonic clock, which Qt Test's watchdog reads, keeps running.
extern "C" int clock_gettime(clockid_t clock, timespec *time)
{
    if (g_clockStopped && clock == CLOCK_REALTIME) {
        *time = timespec{1700000000, 0};
        return 0;
    }
    return int(syscall(SYS_clock_gettime, clock, time));
}

namespace {

CoreState deckOf(int cards, int positions)
{
    CoreState state;
    state.cardCount = static_cast<qint16>(cards);
    for (int k = 0; k < cards; ++k) {
        state.cards[k].pictureFile = QString("card%1.wmf   ").arg(k);
        state.cards[k].name = QString("Card %1").arg(k);
        state.cards[k].meaning = QString("up %1").arg(k);
        state.cards[k].reversedMeaning = QString("down %1").arg(k);
    }
    state.settings.deckDirectory = "/deck";
    state.settings.cardBackFile = "/back.wmf";
    state.settings.reversalFrequency = 2;
    state.layout.positionCount = static_cast<qint16>(positions);
    return state;
}

platform::RandomGenerator seeded(quint64 seed)
{
    platform::RandomGenerator random;
    random.seed(seed);
    random.setClockMixing(false);
    return random;
}

} // namespace

class TestDealing : public QObject {
    Q_OBJECT

private slots:
    void everyPositionGetsADifferentCard()
    {
        platform::RandomGenerator random = seeded(7);
        RecordingTable table;
        CoreState state = deckOf(22, 10);
        QSet<int> seenFirst;
        for (int deal = 0; deal < 300; ++deal) {
            QVERIFY(DealReading(state, table, random));
            QSet<int> cards;
            for (int p = 0; p < 10; ++p) {
                const int d = state.reading.dealtCards[p];
                QVERIFY(d >= 0 && d < 22);
                cards.insert(d);
            }
            QCOMPARE(cards.size(), 10);
            seenFirst.insert(state.reading.dealtCards[0]);
        }
        QCOMPARE(seenFirst.size(), 22);  // the first position is not stuck on a few cards

        CoreState whole = deckOf(100, 100);
        QVERIFY(DealReading(whole, table, random));
        QSet<int> all(whole.reading.dealtCards.begin(), whole.reading.dealtCards.end());
        QCOMPARE(all.size(), 100);
    }

    void tooFewCardsDealsNothing()
    {
        platform::RandomGenerator random = seeded(1);
        RecordingTable table;
        CoreState state = deckOf(3, 4);
        state.reading.dealtCards[0] = 42;
        QVERIFY(!DealReading(state, table, random));
        QCOMPARE(state.reading.dealtCards[0], qint16(42));
        QVERIFY(table.largePicture.isEmpty());
    }

    void reversalsFollowTheFrequencyAndTheCheckBox()
    {
        platform::RandomGenerator random = seeded(3);
        RecordingTable table;
        CoreState state = deckOf(100, 100);
        int reversed = 0;
        for (int deal = 0; deal < 20; ++deal) {
            QVERIFY(DealReading(state, table, random));
            for (int p = 0; p < 100; ++p)
                reversed += table.cards[p].faceTurned ? 1 : 0;
        }
        // 2000 cards at one in two: 1000 expected, 3 standard deviations is about 67.
        QVERIFY2(reversed > 900 && reversed < 1100, qPrintable(QString::number(reversed)));

        for (const qint16 frequency : {qint16(1), qint16(-5)}) {
            state.settings.reversalFrequency = frequency;
            QVERIFY(DealReading(state, table, random));
            QCOMPARE(state.settings.reversalFrequency, qint16(2));
        }
        for (const int v : {0, 2}) {
            table.reversals = v;
            QVERIFY(DealReading(state, table, random));
            for (int p = 0; p < 100; ++p) {
                QVERIFY(!table.cards[p].faceTurned);
                QVERIFY(!state.reading.cardTexts[p].text().contains("*Reversed*"));
            }
        }
    }

    void cardTextsAndFacePictures()
    {
        platform::RandomGenerator random = seeded(11);
        RecordingTable table;
        CoreState state = deckOf(40, 40);
        table.unloadable << "/deck/card7.wmf";
        QVERIFY(DealReading(state, table, random));
        QCOMPARE(table.largePicture, QString("/back.wmf"));
        int turned = 0;
        for (int p = 0; p < 40; ++p) {
            const int d = state.reading.dealtCards[p];
            const QString name = toFixedWidth(QString("Card %1").arg(d), 30);
            const QString &text = state.reading.cardTexts[p].text();
            QCOMPARE(text.size(), 460);
            const RecordingTable::Card &card = table.cards[p];
            const bool reversed = text.contains("*Reversed*");
            if (d != 7)
                QCOMPARE(card.faceTurned, reversed);
            if (reversed) {
                ++turned;
                QCOMPARE(text.trimmed(), name + "\r\n\r\n*Reversed*\r\ndown " + QString::number(d));
            } else {
                QCOMPARE(text.trimmed(), (name + "\r\n\r\nup " + QString::number(d)));
            }
            // The padded picture name opens the file of the bare name; a
            // picture that cannot be read leaves the card back as the face.
            QCOMPARE(card.facePicture, d == 7 ? QString("/back.wmf") : QString("/deck/card%1.wmf").arg(d));
        }
        QVERIFY(turned > 0);
    }

    void reseedingInOneTickStillDiffers()
    {
        platform::RandomGenerator random;
        QSet<double> values;
        g_clockStopped = true;
        for (int i = 0; i < 1000; ++i) {
            random.reseed();
            values.insert(random.next());
        }
        g_clockStopped = false;
        QCOMPARE(values.size(), 1000);

        platform::RandomGenerator a = seeded(9);
        platform::RandomGenerator b = seeded(9);
        for (int i = 0; i < 1000; ++i) {
            const double value = a.next();
            QVERIFY(value >= 0 && value < 1);
            QCOMPARE(value, b.next());
        }
    }
};

QTEST_GUILESS_MAIN(TestDealing)
#include "test_dealing.moc"
