#include "core/cp1252.h"
#include "core/regional.h"
#include "core/text.h"

#include <QLocale>
#include <QtTest>

using namespace qv;

class TestCore : public QObject
{
    Q_OBJECT
private slots:
    void trimRemovesCodesUpTo32Only_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks") << "  abc  " << "abc";
        QTest::newRow("control characters") << (QStringLiteral("\t\r\n") + QChar(1) + "abc" + QChar(0x1f) + " ") << "abc";
        QTest::newRow("inner blanks kept") << " a  b " << "a  b";
        QTest::newRow("no-break space kept") << QString("\u00A0abc\u00A0") << QString("\u00A0abc\u00A0");
        QTest::newRow("all blanks") << "   " << "";
        QTest::newRow("DEL kept") << QString("\x7f""a") << QString("\x7f""a");
    }
    void trimRemovesCodesUpTo32Only()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(trimmed(text), expected);
    }

    void caseChangesAsciiLettersOnly()
    {
        QCOMPARE(asciiUpper(QStringLiteral("perché àbc z")), QStringLiteral("PERCHé àBC Z"));
        QCOMPARE(asciiLower(QStringLiteral("PERCHÉ ÀBC Z")), QStringLiteral("perchÉ Àbc z"));
        QCOMPARE(asciiUpper(QStringLiteral("ß")), QStringLiteral("ß"));
    }

    void orderingComparesAfterAsciiUpperCase()
    {
        QVERIFY(compareAsciiUpper("abc", "ABD") < 0);
        QCOMPARE(compareAsciiUpper("Rossi", "ROSSI"), 0);
        QVERIFY(compareAsciiUpper("Ross", "Rossi") < 0);       // a prefix first
        QVERIFY(compareAsciiUpper("Z", "\u00C0") < 0);          // no locale folding of accents
        QCOMPARE(padded("abc", 5), QStringLiteral("abc  "));
        QCOMPARE(padded("abcdef", 4), QStringLiteral("abcd"));
    }

    void everyByteDecodesAndRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(cp1252::encode(text), all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));  // euro sign
        QCOMPARE(text.at(0x92), QChar(0x2019));  // right single quote
        QCOMPARE(text.at(0x81), QChar(0x0081));  // undefined byte keeps its value
        QCOMPARE(text.at(0xEC), QChar(0x00EC));  // ì
    }

    void unrepresentableCharactersBecomeOneQuestionMark()
    {
        QCOMPARE(cp1252::encode(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
        QCOMPARE(cp1252::encode(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
        QCOMPARE(cp1252::encode(QStringLiteral("\u20AC")), QByteArray("\x80"));
    }

    void decomposedTextIsComposedFirst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("e and acute") << QStringLiteral("Perche\u0301") << QByteArray("Perch\xE9");
        QTest::newRow("capital A and grave") << QStringLiteral("A\u0300 domani") << QByteArray("\xC0 domani");
        QTest::newRow("n and tilde, u and diaeresis") << QStringLiteral("n\u0303u\u0308") << QByteArray("\xF1\xFC");
        QTest::newRow("angstrom sign") << QStringLiteral("\u212B") << QByteArray("\xC5");
        // No composed form in the code page: the accent alone cannot be held.
        QTest::newRow("q and acute") << QStringLiteral("q\u0301") << QByteArray("q?");
    }
    void decomposedTextIsComposedFirst()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp1252::encode(text), bytes);
    }

    void printableBytesOfTheCodePage()
    {
        int printable = 0;
        for (int b = 0; b < 256; ++b)
            printable += cp1252::isPrintable(uchar(b)) ? 1 : 0;
        QCOMPARE(printable, 256 - 32 - 1 - 5);
        for (const uchar b : {0x00, 0x07, 0x1F, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D})
            QVERIFY(!cp1252::isPrintable(b));
        for (const uchar b : {0x20, 0x7E, 0x80, 0x93, 0xA0, 0xEC, 0xFF})
            QVERIFY(cp1252::isPrintable(b));
    }

    void datesAreDdMmYyyyWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        applyRegionalSettings();
        QCOMPARE(formatDate(QDate(2026, 3, 5)), QStringLiteral("05/03/2026"));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        QCOMPARE(QLocale().toString(1.5, 'f', 2), QStringLiteral("1,50"));
        QCOMPARE(parseDate("05/03/2026"), QDate(2026, 3, 5));
        QVERIFY(!parseDate("31/02/2026").isValid());
        QVERIFY(!parseDate("abc").isValid());
        QVERIFY(!parseDate("").isValid());
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
