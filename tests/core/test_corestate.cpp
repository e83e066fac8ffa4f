#include "core/corestate.h"
#include "core/fileformat.h"

#include <QTest>

using namespace vellara;

using OptionalInt = std::optional<qint16>;
Q_DECLARE_METATYPE(OptionalInt)

class TestCoreState : public QObject {
    Q_OBJECT

private slots:
    void fixedTextPadsAndCuts()
    {
        // Nothing stored yet: nothing to show, as a card text before any deal.
        QCOMPARE(CardText().text(), QString());
        CardName name;
        name = QStringLiteral("Tower");
        QCOMPARE(name.text(), QStringLiteral("Tower") + QString(25, ' '));
        name = QString(35, 'x');
        QCOMPARE(name.text(), QString(30, 'x'));
        QCOMPARE(toFixedWidth("abc", 5), QString("abc  "));
    }

    void onlyBlanksAreTrimmed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<QString>("trailingTrimmed");
        QTest::newRow("blanks") << "  The Star  " << "The Star" << "  The Star";
        QTest::newRow("tabs stay") << "\tcup\t " << "\tcup\t" << "\tcup\t";
        QTest::newRow("no-break spaces stay") << " \u00a0sun\u00a0" << "\u00a0sun\u00a0" << " \u00a0sun\u00a0";
        QTest::newRow("only blanks") << "    " << "" << "";
        QTest::newRow("line break stays") << "a\n " << "a\n" << "a\n";
    }
    void onlyBlanksAreTrimmed()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QFETCH(QString, trailingTrimmed);
        QCOMPARE(trimBlanks(text), trimmed);
        QCOMPARE(trimTrailingBlanks(text), trailingTrimmed);
    }

    void int16Conversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<OptionalInt>("value");
        QTest::newRow("blanks around") << " 5 " << OptionalInt(5);
        QTest::newRow("lowest") << "-32768" << OptionalInt(-32768);
        QTest::newRow("too large") << "32768" << OptionalInt();
        QTest::newRow("not a number") << "5x" << OptionalInt();
        QTest::newRow("empty") << "" << OptionalInt();
        QTest::newRow("decimal") << "5.0" << OptionalInt(5);
        QTest::newRow("half to even, down") << "2.5" << OptionalInt(2);
        QTest::newRow("half to even, up") << "3.5" << OptionalInt(4);
        QTest::newRow("negative half") << "-2.5" << OptionalInt(-2);
        QTest::newRow("nearest") << "6.7" << OptionalInt(7);
        QTest::newRow("rounds out of range") << "32767.5" << OptionalInt();
        QTest::newRow("rounds into range") << "-32768.4" << OptionalInt(-32768);
        QTest::newRow("comma") << "2,5" << OptionalInt();
        QTest::newRow("infinite") << "inf" << OptionalInt();
    }
    void int16Conversion()
    {
        QFETCH(QString, text);
        QFETCH(OptionalInt, value);
        QCOMPARE(parseInt16(text), value);
    }

    void singles()
    {
        QCOMPARE(formatSingle(12.5f), QString("12.5"));
        QCOMPARE(formatSingle(40.0f), QString("40"));
        QCOMPARE(formatSingle(-0.0f), QString("0"));
        QCOMPARE(formatSingle(0.1f), QString("0.1"));
        QCOMPARE(parseSingle(" 12.5 "), std::optional<float>(12.5f));
        QCOMPARE(parseSingle("12,5"), std::optional<float>());
        QCOMPARE(parseSingle("nan"), std::optional<float>());
        QCOMPARE(parseSingle("1e39"), std::optional<float>());
    }
};

QTEST_GUILESS_MAIN(TestCoreState)
#include "test_corestate.moc"
