#include "core/settingsfile.h"
#include "support/workdir.h"

#include <QTest>

using namespace vellara;
using test::crlfLines;
using test::readBytes;
using test::WorkDir;
using test::writeBytes;

namespace {

// Lines of a settings file with the given deck and layout groups.
QStringList settingsLines(int deckCount, int layoutCount, const QString &deckCountText = {})
{
    QStringList lines{"        Card back file", "/cards/back.wmf", "        Deck path on last save",
                      "/decks/major", "        Reversal frequency", "4", "        Layout on last save",
                      "Celtic Cross", "        Number of decks installed",
                      deckCountText.isEmpty() ? QString::number(deckCount) : deckCountText};
    for (int i = 0; i <= deckCount; ++i)
        lines << QString("        Name, path of deck#%1").arg(i) << QString("Deck %1").arg(i)
              << QString("/decks/d%1").arg(i);
    lines << "        Number of layouts installed" << QString::number(layoutCount);
    for (int i = 1; i <= layoutCount; ++i)
        lines << QString("        Layout name for layout #%1").arg(i) << QString("Layout %1").arg(i);
    return lines;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void writesTheExactFile()
    {
        WorkDir dir;
        CoreState state;
        ProgramSettings &s = state.settings;
        s.cardBackFile = "/cards/back.wmf";
        s.deckDirectory = "/decks/major";
        s.reversalFrequency = 4;
        s.layoutName = "Celtic Cross";
        s.decks.deckCount = 2;
        for (int i = 0; i <= 2; ++i) {
            s.decks.names[i] = QString("Deck %1").arg(i);
            s.decks.paths[i] = QString("/decks/d%1").arg(i);
        }
        s.layouts.layoutCount = 1;
        s.layouts.names[1] = "Layout 1";
        QVERIFY(WriteSettingsFile(state));
        QCOMPARE(readBytes("vellara.ini"), crlfLines(settingsLines(2, 1)));

        CoreState empty;
        QVERIFY(WriteSettingsFile(empty));
        QCOMPARE(readBytes("vellara.ini").count("\r\n"), 15);
    }

    void roundTripTrimsTexts()
    {
        WorkDir dir;
        CoreState state;
        ProgramSettings &s = state.settings;
        s.cardBackFile = "  \t/b\u00e9/back \u20ac.wmf\u00a0 ";
        s.layoutName = " Three Card ";
        s.reversalFrequency = 7;
        s.decks.deckCount = 1;
        s.decks.names[1] = "  Major\t ";
        s.decks.paths[1] = " /decks/major  ";
        s.layouts.layoutCount = 2;
        s.layouts.names[2] = " \u00a0Single ";
        QVERIFY(WriteSettingsFile(state));

        CoreState read;
        ReadSettingsFile(read);
        QCOMPARE(read.settings.cardBackFile, QString("\t/b\u00e9/back \u20ac.wmf\u00a0"));
        QCOMPARE(read.settings.layoutName, QString("Three Card"));
        QCOMPARE(read.settings.reversalFrequency, qint16(7));
        QCOMPARE(read.settings.decks.deckCount, qint16(1));
        QCOMPARE(read.settings.decks.names[1], QString("Major\t"));
        QCOMPARE(read.settings.decks.paths[1], QString("/decks/major"));
        QCOMPARE(read.settings.layouts.layoutCount, qint16(2));
        QCOMPARE(read.settings.layouts.names[2], QString("\u00a0Single"));
    }

    void readsPositionallyWhateverTheComments()
    {
        WorkDir dir;
        QStringList lines = settingsLines(1, 1);
        lines[0] = "";
        lines[4] = "anything at all";
        lines[5] = " 5 ";
        lines[10] = "";
        writeBytes("vellara.ini", crlfLines(lines).replace("\r\n", "\n"));
        CoreState state;
        ReadSettingsFile(state);
        QCOMPARE(state.settings.reversalFrequency, qint16(5));
        QCOMPARE(state.settings.decks.names[1], QString("Deck 1"));
        QCOMPARE(state.settings.layouts.names[1], QString("Layout 1"));
    }

    void faultsKeepPreviousValues()
    {
        WorkDir dir;
        CoreState state;
        state.settings.reversalFrequency = 9;
        state.settings.layoutName = "before";
        ReadSettingsFile(state);  // no file
        QCOMPARE(state.settings.reversalFrequency, qint16(9));
        QCOMPARE(state.settings.layoutName, QString("before"));

        QStringList lines = settingsLines(1, 1);
        lines[5] = "often";  // not a number: kept, and the line is still consumed
        writeBytes("vellara.ini", crlfLines(lines));
        ReadSettingsFile(state);
        QCOMPARE(state.settings.reversalFrequency, qint16(9));
        QCOMPARE(state.settings.layoutName, QString("Celtic Cross"));
        QCOMPARE(state.settings.layouts.names[1], QString("Layout 1"));

        lines = settingsLines(2, 0).mid(0, 15);  // ends inside deck group 1
        lines[5] = "3";
        CoreState shortState;
        shortState.settings.decks.paths[1] = "/old";
        shortState.settings.decks.names[2] = "old two";
        shortState.settings.layouts.layoutCount = 4;
        writeBytes("vellara.ini", crlfLines(lines));
        ReadSettingsFile(shortState);
        QCOMPARE(shortState.settings.reversalFrequency, qint16(3));
        QCOMPARE(shortState.settings.decks.deckCount, qint16(2));
        QCOMPARE(shortState.settings.decks.names[1], QString("Deck 1"));
        QCOMPARE(shortState.settings.decks.paths[1], QString("/old"));
        QCOMPARE(shortState.settings.decks.names[2], QString("old two"));
        QCOMPARE(shortState.settings.layouts.layoutCount, qint16(4));
    }

    void surplusRegistryEntriesAreDroppedAndCountsClamped()
    {
        WorkDir dir;
        writeBytes("vellara.ini", crlfLines(settingsLines(60, 130)));
        CoreState state;
        ReadSettingsFile(state);
        QCOMPARE(state.settings.decks.deckCount, qint16(50));
        QCOMPARE(state.settings.decks.names[50], QString("Deck 50"));
        QCOMPARE(state.settings.layouts.layoutCount, qint16(100));
        QCOMPARE(state.settings.layouts.names[100], QString("Layout 100"));

        // A count that cannot be a slot at all, with no groups behind it.
        QStringList lines = settingsLines(0, 0);
        lines[9] = "32767";
        writeBytes("vellara.ini", crlfLines(lines));
        CoreState huge;
        ReadSettingsFile(huge);
        QCOMPARE(huge.settings.decks.deckCount, qint16(50));

        lines[9] = "-4";
        writeBytes("vellara.ini", crlfLines(lines));
        CoreState negative;
        ReadSettingsFile(negative);
        QCOMPARE(negative.settings.decks.deckCount, qint16(0));
        QVERIFY(WriteSettingsFile(negative));
        CoreState again;
        ReadSettingsFile(again);
        QCOMPARE(again.settings.decks.deckCount, qint16(0));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
