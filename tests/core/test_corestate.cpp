#include "core/corestate.h"
#include "core/fileformat.h"

#include <QTest>

#include <limits>

using namespace vellara;

using OptionalInt = std::optional<qint16>;
Q_DECLARE_METATYPE(OptionalInt)

class TestCoreState : public QObject {
    Q_OBJECT

private slots:
    void textsArePaddedCutAndTrimmedOfBlanksOnly()
    {
        QCOMPARE(CardText().text(), QString());  // nothing stored: nothing shown, as before any deal
        QCOMPARE(CardName("Tower").text(), "Tower" + QString(25, ' '));
        QCOMPARE(CardName(QString(35, 'x')).text(), QString(30, 'x'));
        // A tab or a no-break space at either end is part of the value.
        QCOMPARE(trimBlanks("  \tcup\u00a0  "), QString("\tcup\u00a0"));
        QCOMPARE(trimTrailingBlanks("  \tcup\u00a0  "), QString("  \tcup\u00a0"));
        QCOMPARE(trimBlanks("    ") + trimTrailingBlanks("    "), QString());
    }

    void int16Conversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<OptionalInt>("value");
        const std::pair<const char *, OptionalInt> rows[] = {
            {" 5 ", 5}, {"-32768", -32768}, {"32767", 32767}, {"32768", {}}, {"-32769", {}}, {"5x", {}}, {"", {}},
            {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"6.7", 7}, {"32767.5", {}}, {"-32768.4", -32768}, {"2,5", {}},
            {"inf", {}}};
        for (const auto &[text, value] : rows)
            QTest::newRow(qPrintable('"' + QString(text) + '"')) << QString(text) << value;
    }
    void int16Conversion()
    {
        QFETCH(QString, text);
        QTEST(parseInt16(text), "value");
    }

    void singles()
    {
        QCOMPARE(parseSingle(" 12.5 "), std::optional<float>(12.5f));
        for (const char *bad : {"12,5", "nan", "1e39", ""})
            QCOMPARE(parseSingle(bad), std::optional<float>());
        QCOMPARE(QStringList({formatSingle(12.5f), formatSingle(40), formatSingle(-0.0f), formatSingle(0.1f),
                              formatSingle(std::numeric_limits<float>::infinity())}),
                 QStringList({"12.5", "40", "0", "0.1", "0"}));
    }
};

QTEST_GUILESS_MAIN(TestCoreState)
#include "test_corestate.moc"
