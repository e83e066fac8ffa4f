#include "core/deckfile.h"
#include "platform/textfile.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vellara;
using test::crlfLines;
using test::MessageSpy;
using test::readBytes;
using test::WorkDir;
using test::writeBytes;

namespace {

const QString kNoDeck = QStringLiteral("No cards.dat file found in specified directory");

QStringList deckLines(int count, const QString &countText = {})
{
    QStringList lines{countText.isEmpty() ? QString::number(count) : countText};
    for (int k = 0; k < count; ++k)
        lines << QString("card%1.wmf").arg(k) << QString("Name %1").arg(k) << QString("Upright %1").arg(k)
              << QString("Reversed %1").arg(k);
    return lines;
}

QString makeDeck(const QString &folder, const QStringList &lines)
{
    QDir().mkpath(folder);
    writeBytes(folder + "/cards.dat", crlfLines(lines));
    return QDir(folder).absolutePath();
}

// A state that already holds a deck of three cards.
CoreState stateWithOldDeck()
{
    CoreState state;
    state.cardCount = 3;
    for (int k = 0; k < 3; ++k) {
        state.cards[k].pictureFile = QString("old%1.wmf").arg(k);
        state.cards[k].name = QString("Old %1").arg(k);
        state.cards[k].meaning = QString("old meaning %1").arg(k);
    }
    state.settings.deckDirectory = "/old/deck";
    state.currentDeckIndex = 4;
    return state;
}

} // namespace

class TestDeckFile : public QObject {
    Q_OBJECT

private slots:
    void readsCardsInFileOrder()
    {
        WorkDir dir;
        QStringList lines = deckLines(2);
        lines[2] = QString(35, 'n');
        lines[6] = "Sun";
        const QString deck = makeDeck("major", lines);
        CoreState state = stateWithOldDeck();
        MessageSpy spy;
        QVERIFY(LoadDeckFromDirectory(state, deck));
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(state.cardCount, qint16(2));
        QCOMPARE(state.cards[0].pictureFile, QString("card0.wmf"));
        QCOMPARE(state.cards[0].name.text(), QString(30, 'n'));
        QCOMPARE(state.cards[0].meaning, QString("Upright 0"));
        QCOMPARE(state.cards[0].reversedMeaning, QString("Reversed 0"));
        QCOMPARE(state.cards[1].name.text(), QString("Sun") + QString(27, ' '));
        // The directory reader leaves the current deck's identity alone.
        QCOMPARE(state.settings.deckDirectory, QString("/old/deck"));
        QCOMPARE(state.currentDeckIndex, qint16(4));
        // Slots past the new count keep what they held.
        QCOMPARE(state.cards[2].pictureFile, QString("old2.wmf"));
    }

    void loadByIndexMakesTheSlotCurrent()
    {
        WorkDir dir;
        CoreState state = stateWithOldDeck();
        // The last slot the registry has.
        state.settings.decks.paths[kMaxDeckSlot] = makeDeck("last", deckLines(5));
        QVERIFY(LoadDeckByIndex(state, kMaxDeckSlot));
        QCOMPARE(state.settings.deckDirectory, state.settings.decks.paths[kMaxDeckSlot]);
        QCOMPARE(state.currentDeckIndex, qint16(kMaxDeckSlot));
        QCOMPARE(state.cardCount, qint16(5));
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
        WorkDir dir;
        writeBytes("cards.dat", crlfLines(deckLines(1)));  // an empty path must not find this one
        QDir().mkdir("nodeck");
        CoreState state = stateWithOldDeck();
        state.settings.decks.paths[1] =
            count.isEmpty() ? QDir("nodeck").absolutePath() : makeDeck("deck", deckLines(0, count));
        MessageSpy spy;
        QVERIFY(!LoadDeckByIndex(state, qint16(slot)));
        if (count.isEmpty()) {
            QCOMPARE(spy.messages(), QStringList{kNoDeck});
            // The directory reader refuses the same folders.
            QVERIFY(!LoadDeckFromDirectory(state, slot == 1 ? state.settings.decks.paths[1] : QString()));
            QCOMPARE(spy.messages(), (QStringList{kNoDeck, kNoDeck}));
        } else {
            QCOMPARE(spy.messages().size(), 1);
            QVERIFY(spy.messages()[0].contains(count));
        }
        QCOMPARE(state.settings.deckDirectory, QString("/old/deck"));
        QCOMPARE(state.currentDeckIndex, qint16(4));
        QCOMPARE(state.cardCount, qint16(3));
        QCOMPARE(state.cards[0].pictureFile, QString("old0.wmf"));
    }

    void faultsKeepThePreviousDeck()
    {
        WorkDir dir;
        // A count that does not convert: the old count reads the cards.
        QStringList lines = deckLines(3);
        lines[0] = "three";
        CoreState state = stateWithOldDeck();
        QVERIFY(LoadDeckFromDirectory(state, makeDeck("badcount", lines)));
        QCOMPARE(state.cardCount, qint16(3));
        QCOMPARE(state.cards[2].pictureFile, QString("card2.wmf"));

        // A file that ends early: the rest keep the previous deck's values.
        CoreState early = stateWithOldDeck();
        QVERIFY(LoadDeckFromDirectory(early, makeDeck("early", deckLines(3).mid(0, 7))));
        QCOMPARE(early.cardCount, qint16(3));
        QCOMPARE(early.cards[1].pictureFile, QString("card1.wmf"));
        QCOMPARE(early.cards[1].name.text().trimmed(), QString("Name 1"));
        QCOMPARE(early.cards[1].meaning, QString("old meaning 1"));
        QCOMPARE(early.cards[2].pictureFile, QString("old2.wmf"));
    }

    void newDeckIsWrittenAtFixedWidths()
    {
        WorkDir dir;
        QDir().mkdir("pics");
        CoreState state;
        PendingDeck &deck = state.pendingDeck;
        deck.pictureDirectory = QDir("pics").absolutePath();
        deck.cardCount = 2;
        deck.pictureFiles[0] = "fool.wmf";
        deck.names[0] = "\tLe Mat \u00e9";
        deck.meanings[0] = "Beginnings \u20ac\t";
        deck.reversedMeanings[0] = QString(500, 'r');
        deck.pictureFiles[1] = "magician.wmf";
        QVERIFY(WritePendingDeckFile(state));

        const QList<QByteArray> lines = readBytes("pics/cards.dat").split('\n');
        QCOMPARE(lines.size(), 2 * 4 + 2);  // the last CR LF leaves an empty tail
        QCOMPARE(lines[0], QByteArray("2\r"));
        const int widths[] = {30, 30, 400, 400};
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(lines[i].size(), widths[(i - 1) % 4] + 1);

        // Read back, then written as held: the padding stays in the meanings.
        QVERIFY(LoadDeckFromDirectory(state, deck.pictureDirectory));
        QCOMPARE(trimTrailingBlanks(state.cards[0].name), QString("\tLe Mat \u00e9"));
        QCOMPARE(trimTrailingBlanks(state.cards[0].meaning), QString("Beginnings \u20ac\t"));
        QCOMPARE(trimTrailingBlanks(state.cards[0].pictureFile), QString("fool.wmf"));
        state.settings.deckDirectory = deck.pictureDirectory;
        const QByteArray first = readBytes("pics/cards.dat");
        QVERIFY(WriteCurrentDeckFile(state));
        QCOMPARE(readBytes("pics/cards.dat"), first);
    }

    void currentDeckIsWrittenAsHeld()
    {
        WorkDir dir;
        QDir().mkdir("deck");
        CoreState state = stateWithOldDeck();
        state.settings.deckDirectory = QDir("deck").absolutePath();
        state.cards[1].meaning = "short";
        QVERIFY(WriteCurrentDeckFile(state));
        const QList<QByteArray> lines = readBytes("deck/cards.dat").split('\n');
        QCOMPARE(lines.size(), 3 * 4 + 2);
        QCOMPARE(lines[5], QByteArray("old1.wmf\r"));
        QCOMPARE(lines[6].size(), 31);
        QCOMPARE(lines[7], QByteArray("short\r"));
    }

    // Failures of the write itself are in test_writefaults.
    void noCurrentDeckIsNoFileHere()
    {
        WorkDir dir;
        CoreState state = stateWithOldDeck();
        state.settings.deckDirectory.clear();
        MessageSpy spy;
        QVERIFY(!WriteCurrentDeckFile(state));
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(!QFile::exists("cards.dat"));
    }
};

QTEST_GUILESS_MAIN(TestDeckFile)
#include "test_deckfile.moc"
