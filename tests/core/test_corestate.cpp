#include "core/corestate.h"
#include "core/fileformat.h"

#include <QLocale>
#include <QTest>

using namespace vellara;

class TestCoreState : public QObject {
    Q_OBJECT

private slots:
    void fixedTextPadsAndCuts()
    {
        CardName name;
        QCOMPARE(name.text(), QString(30, ' '));
        name = QStringLiteral("Tower");
        QCOMPARE(name.text(), QStringLiteral("Tower") + QString(25, ' '));
        name = QString(35, 'x');
        QCOMPARE(name.text(), QString(30, 'x'));
        PositionMeaning meaning(QStringLiteral("past"));
        QCOMPARE(meaning.text().size(), 600);
        QCOMPARE(toFixedWidth("abc", 5), QString("abc  "));
    }

    void stateStartsEmpty()
    {
        CoreState state;
        QVERIFY(state.settings.cardBackFile.isEmpty());
        QCOMPARE(state.settings.reversalFrequency, qint16(0));
        QCOMPARE(state.settings.decks.deckCount, qint16(0));
        QCOMPARE(state.cardCount, qint16(0));
        QCOMPARE(state.layout.positionCount, qint16(0));
        QVERIFY(!state.editing.layoutEditMode);
        QCOMPARE(&coreState(), &coreState());
    }

    void numbersIgnoreTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(formatSingle(12.5f), QString("12.5"));
        QCOMPARE(formatSingle(40.0f), QString("40"));
        QCOMPARE(formatSingle(-0.0f), QString("0"));
        QCOMPARE(formatSingle(0.1f), QString("0.1"));
        QCOMPARE(parseSingle(" 12.5 "), std::optional<float>(12.5f));
        QCOMPARE(parseSingle("12,5"), std::optional<float>());
        QCOMPARE(parseSingle("inf"), std::optional<float>());
        QCOMPARE(parseSingle("nan"), std::optional<float>());
        QCOMPARE(parseSingle("1e39"), std::optional<float>());
        QLocale::setDefault(QLocale::c());
    }

    void int16Conversion()
    {
        QCOMPARE(parseInt16(" 5 "), std::optional<qint16>(5));
        QCOMPARE(parseInt16("-32768"), std::optional<qint16>(-32768));
        QCOMPARE(parseInt16("32768"), std::optional<qint16>());
        QCOMPARE(parseInt16("5x"), std::optional<qint16>());
        QCOMPARE(parseInt16(""), std::optional<qint16>());
        QCOMPARE(parseInt16("1.5"), std::optional<qint16>());
    }
};

QTEST_GUILESS_MAIN(TestCoreState)
#include "test_corestate.moc"
