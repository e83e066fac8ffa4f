#include "core/layoutfile.h"
#include "platform/textfile.h"
#include "recordingtable.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vellara;
using test::crlfLines;
using test::MessageSpy;
using test::readBytes;
using test::RecordingTable;
using test::WorkDir;
using test::writeBytes;

namespace {

QString failureMessage(const QString &file)
{
    return "File was not found or invalid data read in, if " + file + " exists, restart program";
}

QStringList layoutLines(int count, const QString &countText = {})
{
    QStringList lines{"        # of cards in layout", countText.isEmpty() ? QString::number(count) : countText,
                      "        Program window left, top, width, height", "1200", "900", "9600", "7200"};
    for (int k = 0; k < count; ++k)
        lines << QString("        positional meaning %1").arg(k + 1) << QString("Meaning %1").arg(k + 1)
              << QString("        left, top of card#%1").arg(k + 1) << QString::number(10 * k + 5)
              << QString::number(20 * k + 7);
    return lines;
}

void writeLayout(const QString &name, const QStringList &lines)
{
    writeBytes(name + ".lat", crlfLines(lines));
}

// A state and table after a clean load of a layout of count positions.
void loadFresh(CoreState &state, RecordingTable &table, int count)
{
    writeLayout("fresh", layoutLines(count));
    QVERIFY(LoadLayout(state, table, "fresh"));
}

} // namespace

class TestLayoutFile : public QObject {
    Q_OBJECT

private slots:
    void loadBuildsTheTable()
    {
        WorkDir dir;
        CoreState state;
        state.settings.cardBackFile = "/backs/blue.wmf";
        RecordingTable table;
        writeLayout("Three Card", layoutLines(3));
        MessageSpy spy;
        QVERIFY(LoadLayout(state, table, "Three Card"));
        QVERIFY(spy.messages().isEmpty());
        QCOMPARE(state.settings.layoutName, QString("Three Card"));
        QCOMPARE(state.layout.positionCount, qint16(3));
        QCOMPARE(table.title, QString("Vellara 2.5 Three Card"));
        QCOMPARE(table.geometry, QRect(1200, 900, 9600, 7200));
        QCOMPARE(state.layout.windowWidth, qint16(9600));
        QCOMPARE(table.cards.keys(), (QList<int>{0, 1, 2}));
        QCOMPARE(table.stacking, (QList<int>{1, 2}));
        for (int k = 0; k < 3; ++k) {
            const RecordingTable::Card &card = table.cards[k];
            QCOMPARE(card.tooltip, QString("Card %1").arg(k + 1));
            QVERIFY(card.visible);
            QCOMPARE(card.place, QPointF(10 * k + 5, 20 * k + 7));
            QCOMPARE(card.cardPicture, QString("/backs/blue.wmf"));
            QCOMPARE(card.facePicture, QString("/backs/blue.wmf"));
            QCOMPARE(state.layout.positions[k].meaning.text(), toFixedWidth(QString("Meaning %1").arg(k + 1), 600));
        }
        QCOMPARE(table.largePicture, QString("/backs/blue.wmf"));
    }

    void smallerAndLargerLayoutsReplaceThePictures()
    {
        WorkDir dir;
        CoreState state;
        RecordingTable table;
        loadFresh(state, table, 100);
        QCOMPARE(table.cards.size(), 100);
        QCOMPARE(table.cards[99].tooltip, QString("Card 100"));
        QCOMPARE(state.layout.positions[99].left, 995.0f);
        table.log.clear();
        writeLayout("three", layoutLines(3));
        QVERIFY(LoadLayout(state, table, "three"));
        QStringList expected;
        for (int k = 1; k <= 99; ++k)
            expected << QString("remove %1").arg(k);
        expected << "create 1" << "create 2";
        QCOMPARE(table.log, expected);
        QCOMPARE(table.cards.keys(), (QList<int>{0, 1, 2}));
        QCOMPARE(table.cards[2].tooltip, QString("Card 3"));

        table.log.clear();
        writeLayout("one", layoutLines(1));
        QCOMPARE(readBytes("one.lat").count("\r\n"), 12);
        QVERIFY(LoadLayout(state, table, "one"));
        QCOMPARE(table.log, (QStringList{"remove 1", "remove 2"}));
        table.log.clear();
        QVERIFY(LoadLayout(state, table, "one"));
        QVERIFY(table.log.isEmpty());
    }

    void missingFileKeepsTheLayoutButStacksNewPictures()
    {
        WorkDir dir;
        CoreState state;
        RecordingTable table;
        loadFresh(state, table, 4);
        table.moveCard(0, 33, 44);
        MessageSpy spy;
        QVERIFY(!LoadLayout(state, table, " Lost "));
        QCOMPARE(spy.messages(), QStringList{failureMessage("Lost.lat")});
        QCOMPARE(state.settings.layoutName, QString(" Lost "));
        QCOMPARE(table.title, QString("Vellara 2.5 fresh"));
        QCOMPARE(state.layout.positionCount, qint16(4));
        QCOMPARE(state.layout.positions[3].meaning.text().trimmed(), QString("Meaning 4"));
        QCOMPARE(table.cards.size(), 4);
        for (int k = 1; k < 4; ++k) {
            QCOMPARE(table.cards[k].place, QPointF(33, 44));
            QVERIFY(table.cards[k].visible);
        }
    }

    void badValuesFailTheirStepOnly()
    {
        WorkDir dir;
        CoreState state;
        RecordingTable table;
        loadFresh(state, table, 2);
        const QRect before = table.geometry;

        QStringList lines = layoutLines(2);
        lines[0] = "other words";
        lines[5] = "40000";  // no 16-bit integer
        lines[10] = "12.5";
        writeLayout("wide", lines);
        MessageSpy spy;
        QVERIFY(!LoadLayout(state, table, "wide"));
        QCOMPARE(spy.messages(), QStringList{failureMessage("wide.lat")});
        QCOMPARE(table.geometry, QRect(1200, 900, before.width(), 7200));
        QCOMPARE(state.layout.windowWidth, qint16(9600));
        QCOMPARE(table.cards[0].place, QPointF(12.5, 7));

        for (const char *count : {"0", "101", "-3", "many"}) {
            spy.clear();
            writeLayout("count", layoutLines(0, count));
            QVERIFY(!LoadLayout(state, table, "count"));
            QCOMPARE(spy.messages().size(), 1);
            QCOMPARE(state.layout.positionCount, qint16(2));
            QCOMPARE(table.cards.size(), 2);
        }

        spy.clear();
        table.unloadable << "/missing/back.wmf";
        state.settings.cardBackFile = "/missing/back.wmf";
        QVERIFY(!LoadLayout(state, table, "fresh"));
        QCOMPARE(spy.messages(), QStringList{failureMessage("fresh.lat")});
    }

    void saveWritesWhatTheTableShows()
    {
        WorkDir dir;
        CoreState state;
        RecordingTable table;
        writeLayout("Pair", layoutLines(2));
        QVERIFY(LoadLayout(state, table, "Pair"));
        state.layout.positions[0].meaning = "   The situation  ";
        state.layout.positions[1].meaning = " \tCaf\u00e9 \u20ac\u00a0";
        table.moveCard(1, 120.25f, 48);
        table.geometry = QRect(-150, 300, 8000, 6000);
        table.setCardDraggable(0, true);
        table.setCardDraggable(1, true);
        QVERIFY(SaveLayout(state, table));
        QCOMPARE(readBytes("Pair.lat"),
                 crlfLines({"        # of cards in layout", "2", "        Program window left, top, width, height",
                            "-150", "300", "8000", "6000", "        positional meaning 1", "The situation",
                            "        left, top of card#1", "5", "7", "        positional meaning 2"})
                     + "\tCaf\xe9 \x80\xa0\r\n"
                     + crlfLines({"        left, top of card#2", "120.25", "48"}));
        QVERIFY(table.pickCardsEnabled);
        QVERIFY(!table.cards[0].draggable);
        QVERIFY(!table.cards[1].draggable);

        CoreState read;
        RecordingTable other;
        QVERIFY(LoadLayout(read, other, "Pair"));
        QCOMPARE(other.geometry, QRect(-150, 300, 8000, 6000));
        QCOMPARE(other.cards[1].place, QPointF(120.25, 48));
        QCOMPARE(trimBlanks(read.layout.positions[1].meaning), QString("\tCaf\u00e9 \u20ac\u00a0"));

        // Blanks around a name are kept, in the title and the file name.
        QVERIFY(LoadLayout(state, table, " Pair "));
        QCOMPARE(table.title, QString("Vellara 2.5  Pair "));
        QVERIFY(SaveLayout(state, table));
        QVERIFY(QFile::exists(" Pair .lat"));
    }

    void namesThatLeaveTheFolderAreRefused()
    {
        WorkDir dir;
        QDir().mkdir("inner");
        QDir::setCurrent("inner");
        writeLayout("../outside", layoutLines(1));
        CoreState state;
        RecordingTable table;
        MessageSpy spy;
        QVERIFY(!LoadLayout(state, table, "../outside"));
        QCOMPARE(spy.messages(), QStringList{failureMessage("../outside.lat")});

        spy.clear();
        state.settings.layoutName = "..\\escape";
        table.setCardDraggable(0, true);
        QVERIFY(!SaveLayout(state, table));
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(QDir(".").entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!table.pickCardsEnabled);
        QVERIFY(table.cards[0].draggable);
        QDir::setCurrent(dir.path());
    }
};

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "test_layoutfile.moc"
