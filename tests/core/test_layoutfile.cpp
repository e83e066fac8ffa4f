#include "core/fileformat.h"
#include "core/layoutfile.h"
#include "recordingtable.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QTest>

#include <memory>

using namespace vellara;
using test::crlfLines;

namespace {

// Position k lies at (10k + 5, 20k + 7), meaning "Meaning k+1".
QStringList layoutLines(int count)
{
    QStringList lines{"        # of cards in layout", QString::number(count),
                      "        Program window left, top, width, height", "1200", "900", "9600", "7200"};
    for (int k = 0; k < count; ++k)
        lines << QString("        positional meaning %1").arg(k + 1) << QString("Meaning %1").arg(k + 1)
              << QString("        left, top of card#%1").arg(k + 1) << QString::number(10 * k + 5) << QString::number(20 * k + 7);
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

class TestLayoutFile : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WorkDir> m_dir;
    CoreState m_state;
    test::RecordingTable m_table;

private slots:
    void init()
    {
        m_dir = std::make_unique<test::WorkDir>();
        m_state = CoreState{};
        m_state.settings.cardBackFile = "/back.wmf";
        m_table = test::RecordingTable{};
        {
            test::MessageSpy spy;  // a first layout that fails still shows the back on card 1
            QVERIFY(!LoadLayout(m_state, m_table, "none"));
            QCOMPARE(m_table.cards[0].back + m_table.cards[0].face, "/back.wmf/back.wmf");
        }
        test::writeBytes("four.lat", crlfLines(layoutLines(4)));
        QVERIFY(LoadLayout(m_state, m_table, "four"));
        QCOMPARE(m_table.log, (QStringList{"create 1", "front 1", "create 2", "front 2", "create 3", "front 3"}));
        m_table.log.clear();
    }
    void cleanup() { m_dir.reset(); }

    void loadBuildsTheTable()
    {
        QCOMPARE(shown(m_table).join('|'),
                 "Vellara 2.5 four 1200,900 9600x7200|Card 1 1 5,7|Card 2 1 15,27|Card 3 1 25,47|Card 4 1 35,67");
        QCOMPARE(m_state.layout.positions[3].meaning.text(), toFixedWidth("Meaning 4", 600));
        // Another layout removes the pictures of this one first.
        test::writeBytes("many.lat", crlfLines(layoutLines(100)));
        QVERIFY(LoadLayout(m_state, m_table, "many"));
        QCOMPARE(shown(m_table).size(), 101);
        QCOMPARE(shown(m_table)[100], QString("Card 100 1 995,1987"));
        QCOMPARE(m_table.log.mid(0, 4), (QStringList{"remove 1", "remove 2", "remove 3", "create 1"}));
        m_table.log.clear();
        test::writeBytes("one.lat", crlfLines(layoutLines(1)));
        QVERIFY(LoadLayout(m_state, m_table, "one"));
        QCOMPARE(m_table.log.size(), 99);
        QCOMPARE(m_table.log[98], QString("remove 99"));
        QCOMPARE(m_table.cards.keys(), QList<int>{0});
        m_table.unloadable << "/back.wmf";
        test::MessageSpy spy;
        QVERIFY(!LoadLayout(m_state, m_table, "four"));
        QCOMPARE(spy.messages().size(), 1);
    }

    void aFailedStepKeepsItsValue_data()
    {
        QTest::addColumn<int>("line");  // of a two-position layout; -1: no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");  // over a table of "four" that has seen some changes
        const QString title = "Vellara 2.5 four ";
        const QString cards = "|Card 1 1 5,7|Card 2 1 15,27";
        // A new card stays on card 1's place.
        const QString moved = "|Card 3 1 33,44|Card 4 1 33,44";
        QTest::newRow("no file") << -1 << "" << title + "1,1 1x1|Card 1 1 33,44|Card 2 1 33,44" + moved;
        QTest::newRow("width") << 5 << "40000" << title + "1200,900 1x7200" + cards;
        QTest::newRow("left") << 3 << "x" << title + "1,900 9600x7200" + cards;
        QTest::newRow("height") << 6 << "" << title + "1200,900 9600x1" + cards;
        QTest::newRow("card top") << 16 << "up" << title + "1200,900 9600x7200|Card 1 1 5,7|Card 2 1 15,99";
        for (const char *count : {"0", "101", "-3", "many"})
            QTest::newRow(count) << 1 << count << title + "1200,900 9600x7200" + cards + moved;
    }
    void aFailedStepKeepsItsValue()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        m_table.geometry = QRect(1, 1, 1, 1);
        m_table.moveCard(0, 33, 44);
        m_state.layout.positions[1].top = 99;
        QStringList lines = layoutLines(2);
        if (line >= 0) {
            lines[line] = text;
            test::writeBytes("Odd.lat", crlfLines(lines));
        }
        test::MessageSpy spy;
        QVERIFY(!LoadLayout(m_state, m_table, " Odd "));
        QCOMPARE(spy.messages(), QStringList{"File was not found or invalid data read in, if Odd.lat exists, restart program"});
        QCOMPARE(m_state.settings.layoutName, QString(" Odd "));
        QTEST(shown(m_table).join('|'), "shown");
    }

    void saveWritesWhatTheTableShows()
    {
        m_state.settings.layoutName = " four ";  // the blanks stay in the file name
        m_state.layout.positions[1].meaning = " \tCaf\u00e9 \u20ac\u00a0";
        m_table.moveCard(2, 120.25f, 48);
        m_table.geometry = QRect(-150, 300, 8000, 6000);
        for (int k = 0; k < 4; ++k)
            m_table.setCardDraggable(k, true);
        QVERIFY(SaveLayout(m_state, m_table));
        QStringList expected = layoutLines(4).mid(0, 3) + QStringList{"-150", "300", "8000", "6000"} + layoutLines(4).mid(7);
        expected[13] = "\tCaf\u00e9 ?\u00a0";  // the euro sign is 0x80 in the file
        expected[20] = "120.25";
        expected[21] = "48";
        QCOMPARE(test::readBytes(" four .lat"), crlfLines(expected).replace("\xe9 ?", "\xe9 \x80"));
        QVERIFY(m_table.pickCards);
        QCOMPARE(m_table.cards.size(), 4);
        QVERIFY(std::none_of(m_table.cards.begin(), m_table.cards.end(), [](const auto &c) { return c.draggable; }));
    }

    void namesThatCannotBeFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank") << "   ";
        QTest::newRow("up a folder") << "../four";
        QTest::newRow("backslash") << "..\\four";
        QTest::newRow("nul") << QString("four") + QChar(0);
    }
    void namesThatCannotBeFilesAreRefused()
    {
        QFETCH(QString, name);
        QDir().mkdir("inner");
        QDir::setCurrent("inner");
        m_table.setCardDraggable(0, true);
        test::MessageSpy spy;
        QVERIFY(!LoadLayout(m_state, m_table, name));
        QVERIFY(!SaveLayout(m_state, m_table));
        // The load's message is checked above; the save's tells why the name will not do.
        QCOMPARE(spy.messages().value(1), trimBlanks(name).isEmpty() ? QString(kLayoutNeedsName)
                                          : writeFailureMessage(name + ".lat", "a layout name cannot hold \"/\" or \"\\\""));
        QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(test::readBytes("../four.lat"), crlfLines(layoutLines(4)));
        QVERIFY(!m_table.pickCards && m_table.cards[0].draggable);
        QDir::setCurrent(m_dir->path());
    }
};

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "test_layoutfile.moc"
