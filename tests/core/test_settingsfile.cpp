#include "core/settingsfile.h"
#include "support/workdir.h"

#include <QTest>

using namespace vellara;
using test::crlfLines;

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

// The values a test looks at, joined by "|".
QString shown(const ProgramSettings &s)
{
    return QStringList{s.cardBackFile, s.deckDirectory, QString::number(s.reversalFrequency), s.layoutName,
                       QString::number(s.decks.deckCount), s.decks.names[1], s.decks.paths[1], s.decks.names[2],
                       s.decks.names[50], QString::number(s.layouts.layoutCount), s.layouts.names[1],
                       s.layouts.names[2], s.layouts.names[100]}
        .join('|');
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void writesTheExactFileAndReadsOnlyBlanksOff()
    {
        test::WorkDir dir;
        CoreState state;
        test::writeBytes("vellara.ini", crlfLines(settingsLines(2, 1)));
        ReadSettingsFile(state);
        QVERIFY(WriteSettingsFile(state));
        QCOMPARE(test::readBytes("vellara.ini"), crlfLines(settingsLines(2, 1)));

        ProgramSettings &s = state.settings;
        s.cardBackFile = "  \t/b\u00e9/back \u20ac.wmf\u00a0 ";
        s.layoutName = " Three Card ";
        s.decks.names[1] = "  Major\t ";
        // Counts beyond the registries, from a damaged state, write a file consistent with itself.
        s.decks.deckCount = 70;
        s.layouts.layoutCount = -3;
        QVERIFY(WriteSettingsFile(state));
        QCOMPARE(test::readBytes("vellara.ini").count("\r\n"), 10 + 3 * 51 + 2);
        CoreState reread;
        ReadSettingsFile(reread);
        QCOMPARE(shown(reread.settings), "\t/b\u00e9/back \u20ac.wmf\u00a0|/decks/major|4|Three Card|50|Major\t|"
                                         "/decks/d1|Deck 2||0|||");
    }

    void faultsKeepTheValuesTheyMeet_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("read");  // over a state of "old" values
        QStringList lines = settingsLines(1, 1);
        lines[0] = "";  // comments are not looked at
        lines[4] = "anything at all";
        lines[5] = "often";  // no number: the value stays, its line is used up
        const QString head = "/cards/back.wmf|/decks/major|4|Celtic Cross|";
        QTest::newRow("no file") << QByteArray() << "old|old|9|old|2|old|old|old|old|3|old|old|old";
        QTest::newRow("LF ends, odd lines") << crlfLines(lines).replace("\r\n", "\n")
                                            << "/cards/back.wmf|/decks/major|9|Celtic Cross|1|Deck 1|/decks/d1|old|old|"
                                               "1|Layout 1|old|old";
        QTest::newRow("ends in deck 1") << crlfLines(settingsLines(2, 0).mid(0, 15))
                                        << head + "2|Deck 1|old|old|old|3|old|old|old";
        QTest::newRow("surplus dropped") << crlfLines(settingsLines(60, 130))
                                         << head + "50|Deck 1|/decks/d1|Deck 2|Deck 50|100|Layout 1|Layout 2|Layout 100";
        lines = settingsLines(0, 0);
        lines[9] = "32767";
        QTest::newRow("largest deck count") << crlfLines(lines) << head + "50|0|old|old|old|3|old|old|old";
        lines[9] = "-4";  // the next lines are read as what they stand in place of
        QTest::newRow("negative deck count") << crlfLines(lines)
                                             << head + "0|old|old|old|old|3|Number of layouts installed|old|old";
    }
    void faultsKeepTheValuesTheyMeet()
    {
        QFETCH(QByteArray, file);
        test::WorkDir dir;
        CoreState state;
        ProgramSettings &s = state.settings;
        for (QString *old : {&s.cardBackFile, &s.deckDirectory, &s.layoutName, &s.decks.names[1], &s.decks.paths[1],
                             &s.decks.names[2], &s.decks.names[50], &s.layouts.names[1], &s.layouts.names[2],
                             &s.layouts.names[100]})
            *old = "old";
        s.reversalFrequency = 9;
        s.decks.deckCount = 2;
        s.layouts.layoutCount = 3;
        if (!file.isEmpty())
            test::writeBytes("vellara.ini", file);
        ReadSettingsFile(state);
        QTEST(shown(s), "read");
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
