// The core: the program's three files, settings, layouts and decks, read and
// written; and the dealing of a reading.

#include "core/dealing.h"
#include "core/deckfile.h"
#include "core/fileformat.h"
#include "core/layoutfile.h"
#include "core/settingsfile.h"
#include "recordingtable.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>

#include <sys/syscall.h>
#include <unistd.h>

using namespace vellara;

namespace {

// Lines of a settings file with decks 0..deckCount and layouts 1..layoutCount.
QStringList settingsLines(int deckCount, int layoutCount)
{
    QStringList lines{"        Card back file", "/cards/back.wmf", "        Deck path on last save", "/decks/major",
                      "        Reversal frequency", "4", "        Layout on last save", "Celtic Cross",
                      "        Number of decks installed", QString::number(deckCount)};
    for (int i = 0; i <= deckCount; ++i)
        lines << QString("        Name, path of deck#%1").arg(i) << QString("Deck %1").arg(i)
              << QString("/decks/d%1").arg(i);
    lines << "        Number of layouts installed" << QString::number(layoutCount);
    for (int i = 1; i <= layoutCount; ++i)
        lines << QString("        Layout name for layout #%1").arg(i) << QString("Layout %1").arg(i);
    return lines;
}

// The settings a test looks at, joined by "|".
QString shown(const ProgramSettings &s)
{
    return QStringList{s.cardBackFile, s.deckDirectory, QString::number(s.reversalFrequency), s.layoutName,
                       QString::number(s.decks.deckCount), s.decks.names[1], s.decks.paths[1], s.decks.names[2],
                       s.decks.names[50], QString::number(s.layouts.layoutCount), s.layouts.names[1],
                       s.layouts.names[2], s.layouts.names[100]}
        .join('|');
}

// A deck folder whose cards.dat holds these lines; its absolute path.
QString makeDeck(const QString &folder, const QStringList &lines)
{
    QDir().mkpath(folder);
    test::writeBytes(folder + "/cards.dat", test::crlfLines(lines));
    return QDir(folder).absolutePath();
}

// The count, directory and slot of the current deck, then its first four cards, one line each.
QStringList shown(const CoreState &s)
{
    QStringList cards{QString("%1 %2 %3").arg(s.cardCount).arg(s.settings.deckDirectory).arg(s.currentDeckIndex)};
    for (const CardRecord &c : std::span(s.cards).first(4))
        cards << QStringList{c.pictureFile, c.name.text().trimmed(), c.meaning, c.reversedMeaning}.join('|');
    return cards;
}

// Position k lies at (10k + 5, 20k + 7), meaning "Meaning k+1".
QStringList layoutLines(int count)
{
    QStringList lines{"        # of cards in layout", QString::number(count),
                      "        Program window left, top, width, height", "1200", "900", "9600", "7200"};
    for (int k = 0; k < count; ++k)
        lines << QString("        positional meaning %1").arg(k + 1) << QString("Meaning %1").arg(k + 1)
              << QString("        left, top of card#%1").arg(k + 1) << QString::number(10 * k + 5)
              << QString::number(20 * k + 7);
    return lines;
}

// The title, the window and each card as the table shows them; a card's
// pictures only when they are not both the back.
QStringList shown(const test::RecordingTable &table)
{
    const QRect g = table.geometry;
    QStringList lines{table.title + QString(" %1,%2 %3x%4").arg(g.left()).arg(g.top()).arg(g.width()).arg(g.height())
                      + (table.large == "/back.wmf" ? QString() : " large: " + table.large)};
    for (const test::RecordingTable::Card &c : table.cards)
        lines << QString("%1 %2 %3,%4").arg(c.tooltip).arg(c.visible).arg(c.place.x()).arg(c.place.y())
                     + (c.back + c.face == "/back.wmf/back.wmf" ? QString() : " " + c.back + " " + c.face);
    return lines;
}

} // namespace

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

class TestCore : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WorkDir> m_dir;
    CoreState m_state;
    test::RecordingTable m_table;
    platform::RandomGenerator m_random;

    // A repeatable generator and a deck whose card k is "Card k", in picture "card<k>.wmf".
    void deal(int cards, int positions, qint16 frequency = 2)
    {
        m_random.seed(7);
        m_random.setClockMixing(false);
        m_state.cardCount = qint16(cards);
        for (int k = 0; k < cards; ++k)
            m_state.cards[k] = {QString("card%1.wmf  ").arg(k), QString("Card %1").arg(k), "up", "down"};
        m_state.settings.deckDirectory = "/deck";
        m_state.settings.reversalFrequency = frequency;
        m_state.layout.positionCount = qint16(positions);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<test::WorkDir>();
        m_state = CoreState{};
        m_state.settings.cardBackFile = "/back.wmf";
        m_table = test::RecordingTable{};
    }
    void cleanup() { m_dir.reset(); }

    void settingsFaultsKeepTheValuesTheyMeet_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("read");  // over a state of "old" values
        QStringList lines = settingsLines(1, 1);
        lines[0] = "";  // comments are not looked at
        lines[4] = "anything at all";
        lines[5] = "often";  // no number: the value stays, its line is used up
        lines[1] = "  \t/b\u00e9/back.wmf\u00a0 ";  // only blanks are trimmed off
        lines[7] = " Three Card ";
        const QString head = "/cards/back.wmf|/decks/major|4|Celtic Cross|";
        QTest::newRow("empty file") << QByteArray() << "old|old|9|old|2|old|old|old|old|3|old|old|old";
        QTest::newRow("LF ends, odd lines")
            << test::crlfLines(lines).replace("\r\n", "\n")
            << "\t/b\u00e9/back.wmf\u00a0|/decks/major|9|Three Card|1|Deck 1|/decks/d1|old|old|1|Layout 1|old|old";
        QTest::newRow("ends in deck 1") << test::crlfLines(settingsLines(2, 0).mid(0, 15))
                                        << head + "2|Deck 1|old|old|old|3|old|old|old";
        QTest::newRow("surplus dropped")
            << test::crlfLines(settingsLines(60, 130))
            << head + "50|Deck 1|/decks/d1|Deck 2|Deck 50|100|Layout 1|Layout 2|Layout 100";
        lines = settingsLines(0, 0);
        lines[9] = "32767";
        QTest::newRow("largest deck count") << test::crlfLines(lines) << head + "50|0|old|old|old|3|old|old|old";
        lines[9] = "-4";  // the next lines are read as what they stand in place of
        QTest::newRow("negative deck count") << test::crlfLines(lines)
                                             << head + "0|old|old|old|old|3|Number of layouts installed|old|old";
    }
    void settingsFaultsKeepTheValuesTheyMeet()
    {
        QFETCH(QByteArray, file);
        ProgramSettings &s = m_state.settings;
        for (QString *old : {&s.cardBackFile, &s.deckDirectory, &s.layoutName, &s.decks.names[1], &s.decks.paths[1],
                             &s.decks.names[2], &s.decks.names[50], &s.layouts.names[1], &s.layouts.names[2],
                             &s.layouts.names[100]})
            *old = "old";
        s.reversalFrequency = 9;
        s.decks.deckCount = 2;
        s.layouts.layoutCount = 3;
        test::writeBytes("vellara.ini", file);
        ReadSettingsFile(m_state);
        QTEST(shown(s), "read");
    }

    void decksAreReadOrRefused()
    {
        // A state that already holds deck 4, of three cards.
        CoreState state;
        state.cardCount = 3;
        state.cards.fill({"old.wmf", QString("Old"), "old up", "old down"});
        state.settings.deckDirectory = "/old/deck";
        state.currentDeckIndex = 4;
        const QStringList before = shown(state);
        makeDeck(".", {"0"});  // an empty path must not find this one
        QDir().mkdir("nodeck");
        // The slot loaded; the count line of slot 1's deck file, none: no deck file in its folder.
        const std::pair<int, QString> rows[] = {{0, {}}, {1, {}}, {-1, {}}, {51, {}}, {1, "102"}, {1, "-1"},
                                                {1, "32767"}};
        for (const auto &[slot, count] : rows) {
            const QString path = count.isEmpty() ? QDir("nodeck").absolutePath() : makeDeck("deck", {count});
            state.settings.decks.paths[1] = path;
            test::MessageSpy spy;
            QVERIFY(!LoadDeckByIndex(state, qint16(slot)));
            // The directory reader refuses the same folders.
            QVERIFY(!LoadDeckFromDirectory(state, slot == 1 ? path : QString()));
            QVERIFY(spy.messages().size() == 2 && shown(state) == before);
        }

        // Slots past the count keep what they held; so do fields of a file that ends early.
        QVERIFY(LoadDeckFromDirectory(state, makeDeck("early", {"3", "a.wmf", "A", "a up", "a down", "b.wmf"})));
        QCOMPARE(shown(state).join(';'), "3 /old/deck 4;a.wmf|A|a up|a down;b.wmf|Old|old up|old down;"
                                         "old.wmf|Old|old up|old down;old.wmf|Old|old up|old down");
        // Loading by slot makes the deck current, the first slot too.
        state.settings.decks.paths[0] = makeDeck("first", {"2", "c.wmf", "C", "c up", "c down"});
        QVERIFY(LoadDeckByIndex(state, 0));
        QCOMPARE(shown(state).mid(0, 2).join(';'), "2 " + state.settings.decks.paths[0] + " 0;c.wmf|C|c up|c down");
    }

    void settingsAndDecksAreWrittenExactly()
    {
        test::writeBytes("vellara.ini", test::crlfLines(settingsLines(2, 1)));
        ReadSettingsFile(m_state);
        QVERIFY(WriteSettingsFile(m_state) && test::readBytes("vellara.ini") == test::crlfLines(settingsLines(2, 1)));

        PendingDeck &deck = m_state.pendingDeck;
        deck.pictureDirectory = QDir::currentPath();
        deck.cardCount = 1;
        deck.names[0] = "\tLe Mat \u00e9";
        deck.meanings[0] = "Beginnings \u20ac\t";
        deck.reversedMeanings[0] = QString(500, 'r');
        QVERIFY(WritePendingDeckFile(m_state));
        // Every field at its full width, the picture file never set too; the euro sign is 0x80.
        const QStringList written{"1", QString(30, ' '), QString("\tLe Mat \u00e9").leftJustified(30),
                                  QString("Beginnings \u20ac\t").leftJustified(400), QString(400, 'r')};
        QCOMPARE(test::readBytes("cards.dat"), test::crlfLines(written).replace('?', '\x80'));

        // A full deck of the longest fields is read and written back as it
        // was, blanks included; the current deck keeps a meaning whole, however long.
        QStringList full{"101"};
        for (int k = 0; k < 101; ++k)
            full << QString("%1.wmf").arg(k) << QString("\tCard %1 \u00e9").arg(k).leftJustified(30)
                 << QString(400, QChar('a' + k % 26)) << QString("Down %1").arg(k).leftJustified(400);
        full[3] = QString(70000, 'm');
        test::writeBytes("cards.dat", test::crlfLines(full));
        QVERIFY(LoadDeckFromDirectory(m_state, deck.pictureDirectory));
        m_state.settings.deckDirectory = deck.pictureDirectory;
        QVERIFY(WriteCurrentDeckFile(m_state) && test::readBytes("cards.dat") == test::crlfLines(full));

        // Failures of the write itself are in test_writefaults.
        m_state.settings.deckDirectory.clear();
        deck.pictureDirectory.clear();
        deck.cardCount = m_state.cardCount = 0;
        test::MessageSpy spy;
        QVERIFY(!WriteCurrentDeckFile(m_state) && !WritePendingDeckFile(m_state));
        QVERIFY(spy.messages().size() == 2 && test::readBytes("cards.dat") == test::crlfLines(full));
        // Whole numbers in the files round half to even.
        for (const auto &[text, value] : {std::pair{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-32768.4", -32768}})
            QCOMPARE(parseInt16(text), std::optional<qint16>(value));
    }

    void layoutsBuildTheTableAndAreSavedUnderSafeNames()
    {
        test::writeBytes("four.lat", test::crlfLines(layoutLines(4)));
        QVERIFY(LoadLayout(m_state, m_table, "four"));
        QCOMPARE(shown(m_table).join('|'),
                 "Vellara 2.5 four 1200,900 9600x7200|Card 1 1 5,7|Card 2 1 15,27|Card 3 1 25,47|Card 4 1 35,67");
        // Saved as the table shows it; the window's own place is checked on the reading table.
        m_state.settings.layoutName = " four ";  // the blanks stay in the file name
        m_state.layout.positions[1].meaning = " \tCaf\u00e9 \u20ac\u00a0";
        m_table.moveCard(2, 120.25f, 48);
        m_table.moveCard(3, -0.0f, float(qInf()));
        for (int k = 0; k < 4; ++k)
            m_table.setCardDraggable(k, true);
        QVERIFY(SaveLayout(m_state, m_table));
        QStringList expected = layoutLines(4);
        expected[13] = "\tCaf\u00e9 ?\u00a0";  // the euro sign is 0x80 in the file
        expected[20] = "120.25";
        expected[21] = "48";
        expected[25] = expected[26] = "0";  // not "-0" or "inf"
        QCOMPARE(test::readBytes(" four .lat"), test::crlfLines(expected).replace("\xe9 ?", "\xe9 \x80"));
        QVERIFY(std::none_of(m_table.cards.begin(), m_table.cards.end(), [](const auto &c) { return c.draggable; }));

        // Names that cannot be files are refused.
        QDir().mkdir("inner");
        QDir::setCurrent("inner");
        for (const QString &name : QStringList{"   ", "../four", "..\\four", "four" + QString(QChar(0))}) {
            test::MessageSpy spy;
            QVERIFY(!LoadLayout(m_state, m_table, name) && !SaveLayout(m_state, m_table) && spy.messages().size() == 2);
        }
        QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(test::readBytes("../four.lat"), test::crlfLines(layoutLines(4)));

        // Another layout removes the pictures of this one; one whose back cannot be shown fails.
        test::writeBytes("one.lat", test::crlfLines(layoutLines(1)));
        QVERIFY(LoadLayout(m_state, m_table, "one") && m_table.cards.keys() == QList<int>{0});
        m_table.unloadable << "/back.wmf";
        test::MessageSpy spy;
        QVERIFY(!LoadLayout(m_state, m_table, "one") && spy.messages().size() == 1);
    }

    void aFailedLayoutStepKeepsItsValue_data()
    {
        QTest::addColumn<int>("line");  // of a two-position layout; -1: no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");  // over a table of "four" that has seen some changes
        const QString title = "Vellara 2.5 four ";
        const QString cards = "|Card 1 1 5,7|Card 2 1 15,27";
        // A new card stays on card 1's place.
        const QString moved = "|Card 3 1 33,44|Card 4 1 33,44", four = "|Card 3 1 25,47|Card 4 1 35,67";
        QTest::newRow("no file") << -1 << "" << title + "1,1 1x1|Card 1 1 33,44|Card 2 1 33,44" + moved;
        QTest::newRow("width") << 5 << "40000" << title + "1200,900 1x7200" + cards;
        QTest::newRow("left") << 3 << "x" << title + "1,900 9600x7200" + cards;
        QTest::newRow("height") << 6 << "" << title + "1200,900 9600x1" + cards;
        for (const char *top : {"up", "nan", "1e39"})
            QTest::newRow(top) << 16 << top << title + "1200,900 9600x7200|Card 1 1 5,7|Card 2 1 15,99";
        // A count that cannot be read keeps the table's: here four, and four are there.
        for (const char *count : {"0", "101", "-3", "many", "32768", "inf"})
            QTest::newRow(count) << 1 << count << title + "1200,900 9600x7200" + cards + four;
    }
    void aFailedLayoutStepKeepsItsValue()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        test::writeBytes("four.lat", test::crlfLines(layoutLines(4)));
        QVERIFY(LoadLayout(m_state, m_table, "four"));
        m_table.geometry = QRect(1, 1, 1, 1);
        m_table.moveCard(0, 33, 44);
        m_state.layout.positions[1].top = 99;
        QStringList lines = layoutLines(line == 1 ? 4 : 2);
        if (line >= 0) {
            lines[line] = text;
            test::writeBytes("Odd.lat", test::crlfLines(lines));
        }
        test::MessageSpy spy;
        QVERIFY(!LoadLayout(m_state, m_table, " Odd "));
        QCOMPARE(spy.messages(),
                 QStringList{"File was not found or invalid data read in, if Odd.lat exists, restart program"});
        QTEST(shown(m_table).join('|'), "shown");
    }

    void everyPositionGetsADifferentCardSomeReversed()
    {
        // The frequency set and the Reversals check box: 0 clear, 1 ticked, 2 greyed.
        const std::pair<qint16, int> rows[] = {{2, 1}, {4, 1}, {1, 1}, {-5, 1}, {2, 0}, {2, 2}};
        for (const auto &[frequency, checkBox] : rows) {
            deal(22, 10, frequency);
            m_table.reversals = checkBox;
            m_table.unloadable = QStringList{"/deck/card7.wmf"};
            const auto &dealt = m_state.reading.dealtCards;
            QSet<qint16> seenFirst;
            int reversed = 0;
            for (int round = 0; round < 200; ++round) {
                QVERIFY(DealReading(m_state, m_table, m_random));
                QCOMPARE(QSet<qint16>(dealt.begin(), dealt.begin() + 10).size(), 10);
                seenFirst.insert(dealt[0]);
                // Each text is the dealt card's: a card outside the deck has none.
                for (int p = 0; p < 10; ++p) {
                    const int d = dealt[p];
                    const QString &text = m_state.reading.cardTexts[p].text();
                    const QString head = toFixedWidth(QString("Card %1").arg(d), 30) + "\r\n\r\n";
                    const bool turned = text.startsWith(head + "*Reversed*");
                    reversed += turned;
                    QCOMPARE(text.trimmed(), head + (turned ? "*Reversed*\r\ndown" : "up"));
                    // The padded picture name opens the bare name; an unreadable picture leaves the back.
                    const QString face = QString("/deck/card%1.wmf").arg(d) + (turned ? " turned" : "");
                    QCOMPARE(m_table.cards[p].face, d == 7 ? QString("/back.wmf") : face);
                }
            }
            QCOMPARE(seenFirst.size(), 22);  // the first position is not stuck on a few cards
            // One card in the frequency, which is at least 2, within 4 standard deviations.
            const double share = checkBox == 1 ? 1.0 / std::max<int>(frequency, 2) : 0;
            QVERIFY(std::abs(reversed - 2000 * share) <= 4 * std::sqrt(2000 * share * (1 - share)));
        }
        QCOMPARE(m_table.cards.size(), 10);
        deal(100, 100);
        QVERIFY(DealReading(m_state, m_table, m_random));
        QCOMPARE(QSet<qint16>(m_state.reading.dealtCards.begin(), m_state.reading.dealtCards.end()).size(), 100);

        // Reseeded many times within one tick of the clock, the generator still differs.
        QSet<double> values;
        m_random.setClockMixing(true);
        g_clockStopped = true;
        for (int i = 0; i < 1000; ++i) {
            m_random.reseed();
            values.insert(m_random.next());
        }
        g_clockStopped = false;
        QCOMPARE(values.size(), 1000);
        // Two generators made at once do not start alike.
        QVERIFY(platform::RandomGenerator().next() != platform::RandomGenerator().next());
    }

    void positionsOutsideTheTableDrawNothing()
    {
        // Too few cards deal nothing either.
        deal(3, 4);
        // Right behind the last dealt card, an empty text reads as card 0: a repeat never drawn away.
        RedrawRepeats(m_state, m_random, kPositionSlots);
        m_state.reading.cardTexts[0] = "kept";
        m_state.layout.positions[99].top = 1.5f;  // right before the first dealt card
        const auto bytes = [this] { return QByteArray(reinterpret_cast<const char *>(&m_state), sizeof m_state); };
        const QByteArray before = bytes();
        QVERIFY(!DealReading(m_state, m_table, m_random));
        for (const qint16 p : {qint16(-1), qint16(kPositionSlots)}) {
            DrawCard(m_state, m_random, p);
            RedrawRepeats(m_state, m_random, p);
        }
        QCOMPARE(bytes(), before);
    }

};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
