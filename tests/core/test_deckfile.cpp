#include "core/deckfile.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QTest>

#include <span>

using namespace vellara;

namespace {

QString makeDeck(const QString &folder, int count, const QString &countLine = {})
{
    QStringList lines{countLine.isEmpty() ? QString::number(count) : countLine};
    for (int k = 0; k < count; ++k)
        lines << QString("card%1.wmf").arg(k) << QString("Name %1").arg(k) << QString("Up %1").arg(k)
              << QString("Down %1").arg(k);
    QDir().mkpath(folder);
    test::writeBytes(folder + "/cards.dat", test::crlfLines(lines));
    return QDir(folder).absolutePath();
}

// A state that already holds deck 4, of three cards.
CoreState stateWithOldDeck()
{
    CoreState state;
    state.cardCount = 3;
    state.cards.fill({"old.wmf", QString("Old"), "old up", "old down"});
    state.settings.deckDirectory = "/old/deck";
    state.currentDeckIndex = 4;
    return state;
}

// The count, directory and slot of the current deck, then its first four cards, one line each.
QStringList shown(const CoreState &s)
{
    QStringList cards{QString("%1 %2 %3").arg(s.cardCount).arg(s.settings.deckDirectory).arg(s.currentDeckIndex)};
    for (const CardRecord &c : std::span(s.cards).first(4))
        cards << QStringList{c.pictureFile, c.name.text().trimmed(), c.meaning, c.reversedMeaning}.join('|');
    return cards;
}

} // namespace

class TestDeckFile : public QObject {
    Q_OBJECT

private slots:
    void readsCardsInFileOrder()
    {
        test::WorkDir dir;
        CoreState state = stateWithOldDeck();
        test::MessageSpy spy;
        // Slots past the count keep what they held; so do fields of a file that ends early.
        QDir().mkdir("early");
        test::writeBytes("early/cards.dat", "3\r\ncard0.wmf\r\nName 0\r\nUp 0\r\nDown 0\r\ncard1.wmf\r\n");
        QVERIFY(LoadDeckFromDirectory(state, "early"));
        const QString old = "|Old|old up|old down";
        QCOMPARE(shown(state).join(';'), "3 /old/deck 4;card0.wmf|Name 0|Up 0|Down 0;card1.wmf" + old + ";old.wmf" + old
                                             + ";old.wmf" + old);
        // A count that does not convert: the old count reads the cards.
        QVERIFY(LoadDeckFromDirectory(state, makeDeck("badcount", 4, "three")));
        QCOMPARE(shown(state).mid(3).join(';'), "card2.wmf|Name 2|Up 2|Down 2;old.wmf" + old);
        // Loading by slot makes the deck current, the first and the last slot too.
        state.settings.decks.paths[0] = makeDeck("empty", 0);
        QVERIFY(LoadDeckByIndex(state, 0));
        QCOMPARE(shown(state)[0], "0 " + QDir("empty").absolutePath() + " 0");
        state.settings.decks.paths[kMaxDeckSlot] = makeDeck("last", 2);
        QVERIFY(LoadDeckByIndex(state, kMaxDeckSlot));
        QCOMPARE(shown(state).mid(0, 3).join(';'),
                 "2 " + QDir("last").absolutePath() + " 50;card0.wmf|Name 0|Up 0|Down 0;card1.wmf|Name 1|Up 1|Down 1");
        QVERIFY(spy.messages().isEmpty());
    }

    void refusedDecksChangeNothing_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("count");  // the count line of slot 1's deck file; none: no file
        QTest::newRow("slot 0, no path") << 0 << QString();
        QTest::newRow("folder without a deck file") << 1 << QString();
        QTest::newRow("slot -1") << -1 << QString();
        QTest::newRow("slot 51") << 51 << QString();
        QTest::newRow("102 cards") << 1 << "102";
        QTest::newRow("-1 cards") << 1 << "-1";
        QTest::newRow("32767 cards") << 1 << "32767";
    }
    void refusedDecksChangeNothing()
    {
        QFETCH(int, slot);
        QFETCH(QString, count);
        test::WorkDir dir;
        makeDeck(".", 1);  // an empty path must not find this one
        QDir().mkdir("nodeck");
        CoreState state = stateWithOldDeck();
        state.settings.decks.paths[1] = count.isEmpty() ? QDir("nodeck").absolutePath() : makeDeck("deck", 0, count);
        const QStringList before = shown(state);
        test::MessageSpy spy;
        QVERIFY(!LoadDeckByIndex(state, qint16(slot)));
        // The directory reader refuses the same folders.
        QVERIFY(!LoadDeckFromDirectory(state, slot == 1 ? state.settings.decks.paths[1] : QString()));
        const QString why = count.isEmpty() ? "No cards.dat file found in specified directory" : count + " cards";
        QVERIFY2(spy.messages().size() == 2 && spy.messages()[0] == spy.messages()[1]
                     && spy.messages()[0].contains(why),
                 qPrintable(spy.messages().join('\n')));
        QCOMPARE(shown(state), before);
    }

    void writesFixedWidthsAndReadsThemBack()
    {
        test::WorkDir dir;
        CoreState state;
        PendingDeck &deck = state.pendingDeck;
        deck.pictureDirectory = QDir::currentPath();
        deck.cardCount = 2;
        deck.names[0] = "\tLe Mat \u00e9";
        deck.meanings[0] = "Beginnings \u20ac\t";
        deck.reversedMeanings[0] = QString(500, 'r');
        QVERIFY(WritePendingDeckFile(state));
        const QList<QByteArray> lines = test::readBytes("cards.dat").split('\n');
        QCOMPARE(lines.size(), 2 * 4 + 2);  // the last CR LF leaves an empty tail
        QCOMPARE(lines[0] + lines[2], "2\r\tLe Mat \xe9" + QByteArray(21, ' ') + "\r");
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(lines[i].size(), (i % 4 == 1 || i % 4 == 2 ? 30 : 400) + 1);
        // Read back, then written as held: the padding stays in the meanings.
        QVERIFY(LoadDeckFromDirectory(state, deck.pictureDirectory));
        state.settings.deckDirectory = deck.pictureDirectory;
        QVERIFY(WriteCurrentDeckFile(state));
        QCOMPARE(test::readBytes("cards.dat").split('\n'), lines);

        // Failures of the write itself are in test_writefaults.
        state.settings.deckDirectory.clear();
        deck.pictureDirectory.clear();
        deck.cardCount = state.cardCount = 0;
        test::MessageSpy spy;
        QVERIFY(!WriteCurrentDeckFile(state));
        QVERIFY(!WritePendingDeckFile(state));
        QCOMPARE(spy.messages().size(), 2);
        QCOMPARE(test::readBytes("cards.dat").split('\n'), lines);
    }
};

QTEST_GUILESS_MAIN(TestDeckFile)
#include "test_deckfile.moc"
