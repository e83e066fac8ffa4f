#include "core/corestate.h"
#include "decks/deckchoice.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

using namespace vellara;

namespace {

// Installs decks named as given, in folders deck1, deck2, ...
void install(CoreState &state, const QStringList &names)
{
    state.settings.decks.deckCount = qint16(names.size());
    for (int i = 0; i < names.size(); ++i) {
        state.settings.decks.names[i + 1] = names[i];
        state.settings.decks.paths[i + 1] = QDir::current().absoluteFilePath(QString("deck%1").arg(i + 1));
    }
}

QStringList listed(QWidget &w)
{
    QStringList out;
    auto *list = w.findChild<QComboBox *>("Combo1");
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

void choose(QWidget &w, int entry)
{
    w.findChild<QComboBox *>("Combo1")->setCurrentIndex(entry);
    QTest::mouseClick(w.findChild<QPushButton *>("OKButton"), Qt::LeftButton);
}

} // namespace

class TestDeckChoice : public QObject {
    Q_OBJECT

private slots:
    void removing_data()
    {
        QTest::addColumn<QStringList>("decks");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("after");  // registry slots 1..3 afterwards

        QTest::newRow("B of A, B, C") << QStringList{" A ", "B", "C"} << 1 << QStringList{" A ", "C", "C"};
        QTest::newRow("the last entry") << QStringList{"A", "B", "C"} << 2 << QStringList{"A", "B", "C"};
        QTest::newRow("a blank name") << QStringList{"A", "   ", "C"} << 1 << QStringList{"A", "   ", "C"};
        QTest::newRow("an empty name") << QStringList{"", "B", "C"} << 0 << QStringList{"", "B", "C"};
    }
    void removing()
    {
        QFETCH(QStringList, decks);
        QFETCH(int, entry);
        QFETCH(QStringList, after);
        test::WorkDir dir;
        CoreState state;
        install(state, decks);
        state.currentDeckIndex = 3;
        Deckremove w(state);
        w.Form_Load();
        w.show();
        choose(w, entry);

        const bool removable = !decks[entry].trimmed().isEmpty();
        QCOMPARE(state.settings.decks.deckCount, removable ? 2 : 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(state.settings.decks.names[i + 1], after[i]);
        // The path moves with its name; the current deck is left alone.
        if (entry == 1 && removable)
            QVERIFY(state.settings.decks.paths[2].endsWith("deck3"));
        QCOMPARE(state.currentDeckIndex, 3);
        QVERIFY(w.isVisible());
        QStringList trimmed;
        for (int i = 1; i <= state.settings.decks.deckCount; ++i)
            trimmed << state.settings.decks.names[i].trimmed();
        QCOMPARE(listed(w), trimmed);
        // Only a removal fills the list again, choosing the first entry.
        QCOMPARE(w.findChild<QComboBox *>("Combo1")->currentIndex(), removable ? 0 : entry);
    }

    void removingEveryDeck()
    {
        CoreState state;
        install(state, {"A"});
        Deckremove w(state);
        w.Form_Load();
        choose(w, 0);
        QCOMPARE(state.settings.decks.deckCount, 0);
        QVERIFY(listed(w).isEmpty());
        choose(w, -1);
        QCOMPARE(state.settings.decks.deckCount, 0);
    }

    void picking_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("deckFile");
        QTest::addColumn<int>("cardsAfter");
        QTest::addColumn<int>("indexAfter");

        QTest::newRow("a deck") << 1 << true << 2 << 2;
        // The old deck stays loaded, but the chosen slot is recorded.
        QTest::newRow("no deck file") << 1 << false << 5 << 2;
        QTest::newRow("a blank name") << 0 << true << 5 << 0;
    }
    void picking()
    {
        QFETCH(int, entry);
        QFETCH(bool, deckFile);
        QFETCH(int, cardsAfter);
        QFETCH(int, indexAfter);
        test::WorkDir dir;
        test::MessageSpy spy;
        CoreState state;
        install(state, {"  ", "Moon"});
        QDir().mkpath("deck2");
        if (deckFile)
            test::writeBytes("deck2/cards.dat", test::crlfLines({"2", "a.wmf", "A", "up", "down", "b.wmf", "B", "", ""}));
        state.cardCount = 5;
        state.reading.dealtCards[0] = 4;
        Deckpick w(state);
        w.Form_Load();
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QTest::keyClick(w.findChild<QPushButton *>("OKButton"), Qt::Key_Return);
        QVERIFY2(w.isVisible(), "neither key presses a button by itself");
        choose(w, entry);

        QCOMPARE(state.cardCount, cardsAfter);
        QCOMPARE(state.currentDeckIndex, indexAfter);
        QCOMPARE(spy.messages().size(), deckFile ? 0 : 1);
        QCOMPARE(w.isVisible(), indexAfter == 0);
        QCOMPARE(state.reading.dealtCards[0], 4);  // the table waits for the next deal
    }
};

QTEST_MAIN(TestDeckChoice)
#include "test_deckchoice.moc"
