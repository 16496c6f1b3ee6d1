#include "core/amount.h"

#include <QtTest>

using namespace qv;

class TestAmount : public QObject
{
    Q_OBJECT
private slots:
    void leavingTheBoxFormats_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole number") << "1500" << "1500,00";
        QTest::newRow("only decimals") << ",5" << "0,50";
        QTest::newRow("one decimal") << "12,5" << "12,50";
        QTest::newRow("three decimals kept") << "7,125" << "7,125";
        QTest::newRow("four decimals kept") << "12,3457" << "12,3457";
        QTest::newRow("rounded down") << "3,14159" << "3,1416";
        QTest::newRow("half rounds up") << "1,23455" << "1,2346";
        QTest::newRow("just below half") << "1,234549999" << "1,2345";
        QTest::newRow("tiny rounds up") << "0,00005" << "0,0001";
        QTest::newRow("tinier rounds to zero") << "0,00004" << "0,00";
        QTest::newRow("carry into the whole part") << "9,99995" << "10,00";
        QTest::newRow("carry adds a digit") << "99,99996" << "100,00";
        QTest::newRow("trailing zeros dropped") << "2,5000" << "2,50";
        QTest::newRow("leading zeros dropped") << "007,10" << "7,10";
        QTest::newRow("separator at the end") << "5," << "5,00";
        QTest::newRow("zero") << "0" << "0,00";
        QTest::newRow("already formatted") << "0,00" << "0,00";
        QTest::newRow("blanks around") << " \t12 " << "12,00";
        QTest::newRow("empty") << "" << "0,00";
        QTest::newRow("blank") << "   " << "0,00";
        QTest::newRow("not a number") << "abc" << "0,00";
        QTest::newRow("separator alone") << "," << "0,00";
        QTest::newRow("two separators") << "1,2,3" << "0,00";
        QTest::newRow("point is no separator") << "1.5" << "0,00";
        QTest::newRow("thousands separator") << "1.500,00" << "0,00";
        QTest::newRow("exponent") << "1E3" << "0,00";
        QTest::newRow("inner blank") << "1 500" << "0,00";
        QTest::newRow("other digits") << QString("\u0661\u0662") << "0,00";
        QTest::newRow("13 digits") << "1234567890123" << "1234567890123,00";
        QTest::newRow("15 digits") << "123456789012345" << "123456789012345,00";
        QTest::newRow("beyond double precision") << "12345678901234,56785" << "12345678901234,5679";
        QTest::newRow("plus sign") << "+5" << "5,00";
        QTest::newRow("negative keeps its value") << "-5" << "-5,00";
        QTest::newRow("negative decimals") << "-7,125" << "-7,125";
        // Half a unit added, then the integer below: ties go up, towards zero.
        QTest::newRow("negative half goes towards zero") << "-1,23455" << "-1,2345";
        QTest::newRow("negative beyond half") << "-1,23456" << "-1,2346";
        QTest::newRow("negative half with more digits") << "-1,234550001" << "-1,2346";
        QTest::newRow("negative half and zeros") << "-1,2345500" << "-1,2345";
        QTest::newRow("negative rounded, not cut") << "-3,14159" << "-3,1416";
        QTest::newRow("negative below half") << "-3,14152" << "-3,1415";
        QTest::newRow("negative tiny half") << "-0,00005" << "0,00";
        QTest::newRow("negative tiny beyond half") << "-0,00006" << "-0,0001";
        QTest::newRow("negative carry") << "-9,99996" << "-10,00";
        QTest::newRow("negative rounding to zero") << "-0,00001" << "0,00";
        QTest::newRow("sign alone") << "-" << "0,00";
    }
    void leavingTheBoxFormats()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(formatAmount(typed), shown);
        // Formatting again changes nothing.
        QCOMPARE(formatAmount(shown), shown);
    }

    void amountTextRecognised()
    {
        QVERIFY(isAmountText("12"));
        QVERIFY(isAmountText(",5"));
        QVERIFY(isAmountText("-3,1"));
        QVERIFY(!isAmountText(""));
        QVERIFY(!isAmountText("+"));
        QVERIFY(!isAmountText("12a"));
    }
};

QTEST_APPLESS_MAIN(TestAmount)
#include "tst_amount.moc"
