#include "checks/validators.h"

#include <QtTest>

using namespace qv::checks;

// Expected verdicts below were computed once, outside this program, by a
// plain re-implementation of each check and confirmed against python-stdnum
// (it.codicefiscale.calc_check_digit, luhn, iso7064.mod_97_10, iban). Rows
// marked "swap undetected" are transpositions the check itself cannot see.
class TstValidators : public QObject
{
    Q_OBJECT

private slots:
    void fiscalCode_data();
    void fiscalCode();
    void fiscalCodeTables();
    void fiscalCodeCheckCharacter_data();
    void fiscalCodeCheckCharacter();
    void vatNumber_data();
    void vatNumber();
    void vatCheckDigit();
    void vatOffices();
    void vatOfficeName_data();
    void vatOfficeName();
    void cardKindCode_data();
    void cardKindCode();
    void cardKindName_data();
    void cardKindName();
    void iban_data();
    void iban();
    void ibanDigits();
    void mod97_data();
    void mod97();
};

Q_DECLARE_METATYPE(qv::checks::FiscalCodeVerdict)

void TstValidators::fiscalCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FiscalCodeVerdict>("verdict");
    QTest::newRow("valid RSSMRA85T10A562S") << QStringLiteral("RSSMRA85T10A562S") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid BNCGNN70A41H501V") << QStringLiteral("BNCGNN70A41H501V") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid VRDLGU63D12F205E") << QStringLiteral("VRDLGU63D12F205E") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid FRRLCU01M55L219U") << QStringLiteral("FRRLCU01M55L219U") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid CSTMRC99E08Z404E") << QStringLiteral("CSTMRC99E08Z404E") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid PLLGPP80R28G273L") << QStringLiteral("PLLGPP80R28G273L") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid MNTSRA92S47L736R") << QStringLiteral("MNTSRA92S47L736R") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid DLLNDR75C04A944Z") << QStringLiteral("DLLNDR75C04A944Z") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid GLLFNC88B60D612L") << QStringLiteral("GLLFNC88B60D612L") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid RMNLNZ48H09C351J") << QStringLiteral("RMNLNZ48H09C351J") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid SPSFBA77L53E801D") << QStringLiteral("SPSFBA77L53E801D") << FiscalCodeVerdict::Valid;
    QTest::newRow("valid BRNMTT02T14H703K") << QStringLiteral("BRNMTT02T14H703K") << FiscalCodeVerdict::Valid;
    QTest::newRow("changed RSSMRA85T10A562S") << QStringLiteral("RXSMRA85T10A562S") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped RSSMRA85T10A562S") << QStringLiteral("RSMSRA85T10A562S") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed BNCGNN70A41H501V") << QStringLiteral("BNCGXN70A41H501V") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swap undetected BNCGNN70A41H501V") << QStringLiteral("BNCGNN7A041H501V") << FiscalCodeVerdict::Valid;
    QTest::newRow("changed VRDLGU63D12F205E") << QStringLiteral("VRDLGU66D12F205E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped VRDLGU63D12F205E") << QStringLiteral("VRDLGU63D12F025E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed FRRLCU01M55L219U") << QStringLiteral("FRRLCU01M58L219U") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped FRRLCU01M55L219U") << QStringLiteral("FRRCLU01M55L219U") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed CSTMRC99E08Z404E") << QStringLiteral("CSTMRC99E08Z434E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped CSTMRC99E08Z404E") << QStringLiteral("CSTMRC990E8Z404E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed PLLGPP80R28G273L") << QStringLiteral("PXLGPP80R28G273L") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped PLLGPP80R28G273L") << QStringLiteral("PLLGPP80R28G237L") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed MNTSRA92S47L736R") << QStringLiteral("MNTSXA92S47L736R") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped MNTSRA92S47L736R") << QStringLiteral("MNTSAR92S47L736R") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed DLLNDR75C04A944Z") << QStringLiteral("DLLNDR78C04A944Z") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped DLLNDR75C04A944Z") << QStringLiteral("DLLNDR75C40A944Z") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed GLLFNC88B60D612L") << QStringLiteral("GLLFNC88B63D612L") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped GLLFNC88B60D612L") << QStringLiteral("LGLFNC88B60D612L") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed RMNLNZ48H09C351J") << QStringLiteral("RMNLNZ48H09C381J") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped RMNLNZ48H09C351J") << QStringLiteral("RMNLN4Z8H09C351J") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed SPSFBA77L53E801D") << QStringLiteral("SXSFBA77L53E801D") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped SPSFBA77L53E801D") << QStringLiteral("SPSFBA77L5E3801D") << FiscalCodeVerdict::Invalid;
    QTest::newRow("changed BRNMTT02T14H703K") << QStringLiteral("BRNMXT02T14H703K") << FiscalCodeVerdict::Invalid;
    QTest::newRow("swapped BRNMTT02T14H703K") << QStringLiteral("BNRMTT02T14H703K") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lower RSSMRA85T10A562S") << QStringLiteral("rssmra85t10a562s") << FiscalCodeVerdict::Valid;
    QTest::newRow("mixed RSSMRA85T10A562S") << QStringLiteral("rssmra85T10A562S") << FiscalCodeVerdict::Valid;
    QTest::newRow("short RSSMRA85T10A562S") << QStringLiteral("RSSMRA85T10A562") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("long RSSMRA85T10A562S") << QStringLiteral("RSSMRA85T10A562SA") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("blank RSSMRA85T10A562S") << QStringLiteral("RSSMRA 5T10A562S") << FiscalCodeVerdict::Invalid;
    QTest::newRow("dash RSSMRA85T10A562S") << QStringLiteral("RSSMRA-5T10A562S") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lastdigit RSSMRA85T10A562S") << QStringLiteral("RSSMRA85T10A5627") << FiscalCodeVerdict::Invalid;
    QTest::newRow("accent RSSMRA85T10A562S") << QStringLiteral("RSS\u00C8RA85T10A562S") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lower BNCGNN70A41H501V") << QStringLiteral("bncgnn70a41h501v") << FiscalCodeVerdict::Valid;
    QTest::newRow("mixed BNCGNN70A41H501V") << QStringLiteral("bncgnn70A41H501V") << FiscalCodeVerdict::Valid;
    QTest::newRow("short BNCGNN70A41H501V") << QStringLiteral("BNCGNN70A41H501") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("long BNCGNN70A41H501V") << QStringLiteral("BNCGNN70A41H501VA") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("blank BNCGNN70A41H501V") << QStringLiteral("BNCGNN 0A41H501V") << FiscalCodeVerdict::Invalid;
    QTest::newRow("dash BNCGNN70A41H501V") << QStringLiteral("BNCGNN-0A41H501V") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lastdigit BNCGNN70A41H501V") << QStringLiteral("BNCGNN70A41H5017") << FiscalCodeVerdict::Invalid;
    QTest::newRow("accent BNCGNN70A41H501V") << QStringLiteral("BNC\u00C8NN70A41H501V") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lower VRDLGU63D12F205E") << QStringLiteral("vrdlgu63d12f205e") << FiscalCodeVerdict::Valid;
    QTest::newRow("mixed VRDLGU63D12F205E") << QStringLiteral("vrdlgu63D12F205E") << FiscalCodeVerdict::Valid;
    QTest::newRow("short VRDLGU63D12F205E") << QStringLiteral("VRDLGU63D12F205") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("long VRDLGU63D12F205E") << QStringLiteral("VRDLGU63D12F205EA") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("blank VRDLGU63D12F205E") << QStringLiteral("VRDLGU 3D12F205E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("dash VRDLGU63D12F205E") << QStringLiteral("VRDLGU-3D12F205E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("lastdigit VRDLGU63D12F205E") << QStringLiteral("VRDLGU63D12F2057") << FiscalCodeVerdict::Invalid;
    QTest::newRow("accent VRDLGU63D12F205E") << QStringLiteral("VRD\u00C8GU63D12F205E") << FiscalCodeVerdict::Invalid;
    QTest::newRow("empty empty") << QStringLiteral("") << FiscalCodeVerdict::WrongLength;
    QTest::newRow("worth0 RSSMRA85T1:A562") << QStringLiteral("RSSMRA85T1:A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1;A562") << QStringLiteral("RSSMRA85T1;A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1<A562") << QStringLiteral("RSSMRA85T1<A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1=A562") << QStringLiteral("RSSMRA85T1=A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1>A562") << QStringLiteral("RSSMRA85T1>A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1?A562") << QStringLiteral("RSSMRA85T1?A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("worth0 RSSMRA85T1@A562") << QStringLiteral("RSSMRA85T1@A562R") << FiscalCodeVerdict::Valid;
    QTest::newRow("punct16 RSSMRA85T10A562") << QStringLiteral("RSSMRA85T10A562?") << FiscalCodeVerdict::Invalid;
}

void TstValidators::fiscalCode()
{
    QFETCH(QString, text);
    QFETCH(FiscalCodeVerdict, verdict);
    QCOMPARE(checkFiscalCode(text), verdict);
}

void TstValidators::fiscalCodeTables()
{
    // Every character from '0' to 'Z' has a value in both tables; the seven
    // between '9' and 'A' are worth 0; nothing else has one.
    for (char16_t u = u'0'; u <= u'Z'; ++u) {
        QVERIFY(fiscalCodeOddValue(QChar(u)) >= 0);
        QVERIFY(fiscalCodeEvenValue(QChar(u)) >= 0);
    }
    for (QChar c : QStringLiteral(":;<=>?@")) {
        QCOMPARE(fiscalCodeOddValue(c), 0);
        QCOMPARE(fiscalCodeEvenValue(c), 0);
    }
    for (QChar c : QStringLiteral("/[ az-.\u00C8\u00E8")) {
        QCOMPARE(fiscalCodeOddValue(c), -1);
        QCOMPARE(fiscalCodeEvenValue(c), -1);
    }
    QCOMPARE(fiscalCodeOddValue(QChar(u'0')), 1);
    QCOMPARE(fiscalCodeOddValue(QChar(u'1')), 0);
    QCOMPARE(fiscalCodeOddValue(QChar(u'9')), 21);
    QCOMPARE(fiscalCodeOddValue(QChar(u'K')), 2);
    QCOMPARE(fiscalCodeOddValue(QChar(u'X')), 25);
    QCOMPARE(fiscalCodeOddValue(QChar(u'Z')), 23);
    QCOMPARE(fiscalCodeEvenValue(QChar(u'7')), 7);
    QCOMPARE(fiscalCodeEvenValue(QChar(u'A')), 0);
    QCOMPARE(fiscalCodeEvenValue(QChar(u'Z')), 25);
}

void TstValidators::fiscalCodeCheckCharacter_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("check"); // empty: no check character
    QTest::newRow("Rossi") << QStringLiteral("RSSMRA85T10A562") << QStringLiteral("S");
    QTest::newRow("ignores the 16th") << QStringLiteral("RSSMRA85T10A562Q") << QStringLiteral("S");
    QTest::newRow("all zeros") << QStringLiteral("000000000000000") << QStringLiteral("I");
    QTest::newRow("all Z") << QStringLiteral("ZZZZZZZZZZZZZZZ") << QStringLiteral("V");
    QTest::newRow("too short") << QStringLiteral("RSSMRA85T10A56") << QString();
    QTest::newRow("lower case") << QStringLiteral("rssmra85t10a562") << QString();
    QTest::newRow("blank") << QStringLiteral("RSSMRA85 10A562") << QString();
}

void TstValidators::fiscalCodeCheckCharacter()
{
    QFETCH(QString, code);
    QFETCH(QString, check);
    const std::optional<QChar> got = qv::checks::fiscalCodeCheckCharacter(code);
    QCOMPARE(got ? QString(*got) : QString(), check);
}

void TstValidators::vatNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid 67776280017") << QStringLiteral("67776280017") << true;
    QTest::newRow("valid 63879700159") << QStringLiteral("63879700159") << true;
    QTest::newRow("valid 33567090403") << QStringLiteral("33567090403") << true;
    QTest::newRow("valid 29998060585") << QStringLiteral("29998060585") << true;
    QTest::newRow("valid 38631680634") << QStringLiteral("38631680634") << true;
    QTest::newRow("valid 41679860969") << QStringLiteral("41679860969") << true;
    QTest::newRow("valid 22354710976") << QStringLiteral("22354710976") << true;
    QTest::newRow("valid 14525460995") << QStringLiteral("14525460995") << true;
    QTest::newRow("valid 42136151018") << QStringLiteral("42136151018") << true;
    QTest::newRow("valid 64268081029") << QStringLiteral("64268081029") << true;
    QTest::newRow("valid 89055581204") << QStringLiteral("89055581204") << true;
    QTest::newRow("valid 90366981216") << QStringLiteral("90366981216") << true;
    QTest::newRow("changed 67776280017") << QStringLiteral("77776280017") << false;
    QTest::newRow("swapped 67776280017") << QStringLiteral("76776280017") << false;
    QTest::newRow("lastdigit 67776280017") << QStringLiteral("67776280012") << false;
    QTest::newRow("changed 63879700159") << QStringLiteral("64879700159") << false;
    QTest::newRow("swapped 63879700159") << QStringLiteral("63897700159") << false;
    QTest::newRow("lastdigit 63879700159") << QStringLiteral("63879700154") << false;
    QTest::newRow("changed 33567090403") << QStringLiteral("33667090403") << false;
    QTest::newRow("swap undetected 33567090403") << QStringLiteral("33567009403") << true;
    QTest::newRow("lastdigit 33567090403") << QStringLiteral("33567090408") << false;
    QTest::newRow("changed 29998060585") << QStringLiteral("29908060585") << false;
    QTest::newRow("swapped 29998060585") << QStringLiteral("29998060558") << false;
    QTest::newRow("lastdigit 29998060585") << QStringLiteral("29998060580") << false;
    QTest::newRow("changed 38631680634") << QStringLiteral("38632680634") << false;
    QTest::newRow("swapped 38631680634") << QStringLiteral("38361680634") << false;
    QTest::newRow("lastdigit 38631680634") << QStringLiteral("38631680639") << false;
    QTest::newRow("changed 41679860969") << QStringLiteral("41679960969") << false;
    QTest::newRow("swapped 41679860969") << QStringLiteral("41679680969") << false;
    QTest::newRow("lastdigit 41679860969") << QStringLiteral("41679860964") << false;
    QTest::newRow("changed 22354710976") << QStringLiteral("22354720976") << false;
    QTest::newRow("swapped 22354710976") << QStringLiteral("22354710796") << false;
    QTest::newRow("lastdigit 22354710976") << QStringLiteral("22354710971") << false;
    QTest::newRow("changed 14525460995") << QStringLiteral("14525461995") << false;
    QTest::newRow("swapped 14525460995") << QStringLiteral("15425460995") << false;
    QTest::newRow("lastdigit 14525460995") << QStringLiteral("14525460990") << false;
    QTest::newRow("changed 42136151018") << QStringLiteral("42136151118") << false;
    QTest::newRow("swapped 42136151018") << QStringLiteral("42131651018") << false;
    QTest::newRow("lastdigit 42136151018") << QStringLiteral("42136151013") << false;
    QTest::newRow("changed 64268081029") << QStringLiteral("64268081039") << false;
    QTest::newRow("swapped 64268081029") << QStringLiteral("64268080129") << false;
    QTest::newRow("lastdigit 64268081029") << QStringLiteral("64268081024") << false;
    QTest::newRow("changed 89055581204") << QStringLiteral("99055581204") << false;
    QTest::newRow("swapped 89055581204") << QStringLiteral("98055581204") << false;
    QTest::newRow("lastdigit 89055581204") << QStringLiteral("89055581209") << false;
    QTest::newRow("changed 90366981216") << QStringLiteral("91366981216") << false;
    QTest::newRow("lastdigit 90366981216") << QStringLiteral("90366981211") << false;
    QTest::newRow("short") << QStringLiteral("6777628001") << false;
    QTest::newRow("long") << QStringLiteral("677762800170") << false;
    QTest::newRow("blank") << QStringLiteral("67776 80017") << false;
    QTest::newRow("dash") << QStringLiteral("67776-80017") << false;
    QTest::newRow("prefix IT") << QStringLiteral("IT776280017") << false;
    QTest::newRow("letter") << QStringLiteral("6777628001A") << false;
    QTest::newRow("empty") << QStringLiteral("") << false;
    QTest::newRow("zeros") << QStringLiteral("00000000000") << true;
    QTest::newRow("office 103") << QStringLiteral("12345671031") << true;
    QTest::newRow("office 888") << QStringLiteral("12345678887") << true;
}

void TstValidators::vatNumber()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(isVatNumberValid(number), valid);
}

void TstValidators::vatCheckDigit()
{
    QCOMPARE(qv::checks::vatCheckDigit(u"0074311015"), std::optional<int>(7));
    QCOMPARE(qv::checks::vatCheckDigit(u"0000000000"), std::optional<int>(0));
    QCOMPARE(qv::checks::vatCheckDigit(u"1234567103"), std::optional<int>(1));
    QCOMPARE(qv::checks::vatCheckDigit(u"123456789"), std::optional<int>());
    QCOMPARE(qv::checks::vatCheckDigit(u"12345A7890"), std::optional<int>());
}

void TstValidators::vatOffices()
{
    const auto &offices = qv::checks::vatOffices();
    QCOMPARE(offices.size(), 104);
    QSet<QString> codes;
    for (const VatOffice &office : offices) {
        QCOMPARE(office.code.size(), 3);
        QVERIFY(!office.name.isEmpty());
        codes.insert(office.code);
    }
    QCOMPARE(codes.size(), 104);
    for (int code = 1; code <= 102; ++code)
        QVERIFY(codes.contains(QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0'))));
    QVERIFY(codes.contains(QStringLiteral("120")));
    QVERIFY(codes.contains(QStringLiteral("121")));
}

void TstValidators::vatOfficeName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("office");
    QTest::newRow("001") << "001" << "Torino";
    QTest::newRow("010") << "010" << "Genova 1";
    QTest::newRow("015") << "015" << "Milano 1";
    QTest::newRow("040") << "040" << QStringLiteral("Forl\u00EC");
    QTest::newRow("044") << "044" << "Ascoli Piceno";
    QTest::newRow("058") << "058" << "Roma 1";
    QTest::newRow("066") << "066" << "Aquila";
    QTest::newRow("080") << "080" << "Reggio Calabria";
    QTest::newRow("096") << "096" << "Monza (Milano 2)";
    QTest::newRow("097") << "097" << "Prato (Firenze 2)";
    QTest::newRow("099") << "099" << "Chiavari (Genova 2)";
    QTest::newRow("100") << "100" << "Roma 2";
    QTest::newRow("101") << "101" << "Bologna 2";
    QTest::newRow("102") << "102" << "Napoli 2";
    QTest::newRow("120") << "120" << "Bologna 2";
    QTest::newRow("121") << "121" << "Napoli 2";
    QTest::newRow("000") << "000" << "";
    QTest::newRow("103") << "103" << "";
    QTest::newRow("119") << "119" << "";
    QTest::newRow("122") << "122" << "";
    QTest::newRow("1") << "1" << "";
    QTest::newRow("01") << "01" << "";
}

void TstValidators::vatOfficeName()
{
    QFETCH(QString, code);
    QFETCH(QString, office);
    QCOMPARE(qv::checks::vatOfficeName(code), office);
}

void TstValidators::cardKindCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::newRow("luhn 4111111111111111") << QStringLiteral("4111111111111111") << 2;
    QTest::newRow("luhn 4012888888881881") << QStringLiteral("4012888888881881") << 2;
    QTest::newRow("luhn 4222222222222") << QStringLiteral("4222222222222") << 2;
    QTest::newRow("luhn 5555555555554444") << QStringLiteral("5555555555554444") << 3;
    QTest::newRow("luhn 5105105105105100") << QStringLiteral("5105105105105100") << 3;
    QTest::newRow("luhn 378282246310005") << QStringLiteral("378282246310005") << 1;
    QTest::newRow("luhn 371449635398431") << QStringLiteral("371449635398431") << 1;
    QTest::newRow("luhn 30569309025904") << QStringLiteral("30569309025904") << 1;
    QTest::newRow("luhn 38520000023237") << QStringLiteral("38520000023237") << 1;
    QTest::newRow("luhn 36148900647913") << QStringLiteral("36148900647913") << 1;
    QTest::newRow("luhn 6011111111111117") << QStringLiteral("6011111111111117") << 4;
    QTest::newRow("luhn 6011000990139424") << QStringLiteral("6011000990139424") << 4;
    QTest::newRow("luhn 3530111333300000") << QStringLiteral("3530111333300000") << 1;
    QTest::newRow("luhn 3566002020360505") << QStringLiteral("3566002020360505") << 1;
    QTest::newRow("luhn 2223003122003222") << QStringLiteral("2223003122003222") << 0;
    QTest::newRow("luhn 42") << QStringLiteral("42") << 2;
    QTest::newRow("luhn 0") << QStringLiteral("0") << -2;
    QTest::newRow("luhn 79927398713") << QStringLiteral("79927398713") << 5;
    QTest::newRow("luhn 1234567812345670") << QStringLiteral("1234567812345670") << -1;
    QTest::newRow("luhn 8888888888888888") << QStringLiteral("8888888888888888") << 6;
    QTest::newRow("changed 4111111111111111") << QStringLiteral("8111111111111111") << 0;
    QTest::newRow("changed 4012888888881881") << QStringLiteral("4012828888881881") << 0;
    QTest::newRow("changed 4222222222222") << QStringLiteral("4222222222622") << 0;
    QTest::newRow("changed 5555555555554444") << QStringLiteral("5555555555554448") << 0;
    QTest::newRow("changed 5105105105105100") << QStringLiteral("5105505105105100") << 0;
    QTest::newRow("swapped 5105105105105100") << QStringLiteral("5105105105105010") << 0;
    QTest::newRow("changed 378282246310005") << QStringLiteral("378282246350005") << 0;
    QTest::newRow("swapped 378282246310005") << QStringLiteral("372882246310005") << 0;
    QTest::newRow("changed 371449635398431") << QStringLiteral("771449635398431") << 0;
    QTest::newRow("swapped 371449635398431") << QStringLiteral("371446935398431") << 0;
    QTest::newRow("changed 30569309025904") << QStringLiteral("30569303025904") << 0;
    QTest::newRow("swapped 30569309025904") << QStringLiteral("30569309052904") << 0;
    QTest::newRow("groups") << QStringLiteral("4111 1111 1111 1111") << 2;
    QTest::newRow("dashes") << QStringLiteral("5555-5555-5555-4444") << 3;
    QTest::newRow("groups past 20") << QStringLiteral("4111 1111 1111 1111 1111") << 2;
    QTest::newRow("digits past 20") << QStringLiteral("4111-1111-1111-1111-9") << 2;
    QTest::newRow("empty") << QStringLiteral("") << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << 0;
    QTest::newRow("letters") << QStringLiteral("ABCD") << 0;
    QTest::newRow("prefix 39") << QStringLiteral("3900000000000009") << 0;
    QTest::newRow("luhn 39") << QStringLiteral("3900000000000005") << 1;
}

void TstValidators::cardKindCode()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QCOMPARE(qv::checks::cardKindCode(text), kind);
}

void TstValidators::cardKindName_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    const QString diners = QStringLiteral("Diner's Club / Carte Blanche");
    for (const char *prefix : {"30", "36", "38"})
        QTest::newRow(prefix) << 1 << QString::fromLatin1(prefix) + "0000" << diners;
    for (const char *prefix : {"34", "37"})
        QTest::newRow(prefix) << 1 << QString::fromLatin1(prefix) + "0000" << "American Express";
    for (const char *prefix : {"31", "33", "35"})
        QTest::newRow(prefix) << 1 << QString::fromLatin1(prefix) + "0000" << "JCB";
    for (const char *text : {"32000", "39000", "3 000", "3-000", "3"})
        QTest::newRow(text) << 1 << QString::fromLatin1(text) << "";
    QTest::newRow("Visa") << 2 << "4111" << "Visa";
    QTest::newRow("MasterCard") << 3 << "5555" << "MasterCard";
    QTest::newRow("Discover") << 4 << "6011" << "Discover";
    QTest::newRow("Visa whatever the text") << 2 << "34" << "Visa";
    QTest::newRow("failed") << 0 << "30" << "";
    QTest::newRow("leading 7") << 5 << "79" << "";
    QTest::newRow("leading 0") << -2 << "00" << "";
}

void TstValidators::cardKindName()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(qv::checks::cardKindName(kind, text), name);
}

void TstValidators::iban_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid IT60X0542811101000000123456") << QStringLiteral("IT60X0542811101000000123456") << true;
    QTest::newRow("valid SM86U0322509800000000270100") << QStringLiteral("SM86U0322509800000000270100") << true;
    QTest::newRow("valid GB82WEST12345698765432") << QStringLiteral("GB82WEST12345698765432") << true;
    QTest::newRow("valid DE89370400440532013000") << QStringLiteral("DE89370400440532013000") << true;
    QTest::newRow("valid FR1420041010050500013M02606") << QStringLiteral("FR1420041010050500013M02606") << true;
    QTest::newRow("valid NL91ABNA0417164300") << QStringLiteral("NL91ABNA0417164300") << true;
    QTest::newRow("valid ES9121000418450200051332") << QStringLiteral("ES9121000418450200051332") << true;
    QTest::newRow("valid BE68539007547034") << QStringLiteral("BE68539007547034") << true;
    QTest::newRow("valid CH9300762011623852957") << QStringLiteral("CH9300762011623852957") << true;
    QTest::newRow("valid AT611904300234573201") << QStringLiteral("AT611904300234573201") << true;
    QTest::newRow("valid MT84MALT011000012345MTLCAST001S") << QStringLiteral("MT84MALT011000012345MTLCAST001S") << true;
    QTest::newRow("valid NO9386011117947") << QStringLiteral("NO9386011117947") << true;
    QTest::newRow("valid IT78C9736993563272951817560") << QStringLiteral("IT78C9736993563272951817560") << true;
    QTest::newRow("valid IT13I8063581783970523279282") << QStringLiteral("IT13I8063581783970523279282") << true;
    QTest::newRow("valid IT75B1027616124906528630374") << QStringLiteral("IT75B1027616124906528630374") << true;
    QTest::newRow("valid IT58R6257029296111242262385") << QStringLiteral("IT58R6257029296111242262385") << true;
    QTest::newRow("changed IT60X0542811101000000123456") << QStringLiteral("IT60B0542811101000000123456") << false;
    QTest::newRow("swapped IT60X0542811101000000123456") << QStringLiteral("IT60X5042811101000000123456") << false;
    QTest::newRow("lower IT60X0542811101000000123456") << QStringLiteral("it60x0542811101000000123456") << true;
    QTest::newRow("changed IT78C9736993563272951817560") << QStringLiteral("IT78C9736994563272951817560") << false;
    QTest::newRow("swapped IT78C9736993563272951817560") << QStringLiteral("IT78C9736939563272951817560") << false;
    QTest::newRow("lower IT78C9736993563272951817560") << QStringLiteral("it78c9736993563272951817560") << true;
    QTest::newRow("changed IT13I8063581783970523279282") << QStringLiteral("IT13I8063581783970623279282") << false;
    QTest::newRow("swapped IT13I8063581783970523279282") << QStringLiteral("IT13I8063581783790523279282") << false;
    QTest::newRow("lower IT13I8063581783970523279282") << QStringLiteral("it13i8063581783970523279282") << true;
    QTest::newRow("changed IT75B1027616124906528630374") << QStringLiteral("IT75B1027616124906528630384") << false;
    QTest::newRow("swapped IT75B1027616124906528630374") << QStringLiteral("IT75B1027616124906526830374") << false;
    QTest::newRow("lower IT75B1027616124906528630374") << QStringLiteral("it75b1027616124906528630374") << true;
    QTest::newRow("changed IT58R6257029296111242262385") << QStringLiteral("IT58R6257129296111242262385") << false;
    QTest::newRow("swapped IT58R6257029296111242262385") << QStringLiteral("IT58R2657029296111242262385") << false;
    QTest::newRow("lower IT58R6257029296111242262385") << QStringLiteral("it58r6257029296111242262385") << true;
    QTest::newRow("groups") << QStringLiteral("IT60 X054 2811 1010 0000 0123 456") << true;
    QTest::newRow("blanks inside") << QStringLiteral("IT60  X05428111010000001234") << false;
    QTest::newRow("GB grouped") << QStringLiteral("GB82 WEST 1234 5698 7654 32") << true;
    QTest::newRow("DE grouped") << QStringLiteral("DE89 3704 0044 0532 0130 00") << true;
    QTest::newRow("tab inside") << QStringLiteral("GB82\tWEST 1234 5698 7654 32") << true;
    QTest::newRow("IBAN word") << QStringLiteral("IBANIT60X0542811101000000123456") << true;
    QTest::newRow("IBAN word lower") << QStringLiteral("iban it60x0542811101000000123456") << true;
    QTest::newRow("IBAN word inside") << QStringLiteral("IT60X05428IBAN11101000000123456") << true;
    QTest::newRow("dash") << QStringLiteral("IT60-0542811101000000123456") << false;
    QTest::newRow("dot") << QStringLiteral("IT60X054281110100000012345.") << false;
    QTest::newRow("accent") << QStringLiteral("IT60X0\u00C042811101000000123456") << false;
    QTest::newRow("empty") << QStringLiteral("") << false;
    QTest::newRow("check digits 00") << QStringLiteral("IT00X0542811101000000123456") << false;
    QTest::newRow("short") << QStringLiteral("IT60X054281110100000012345") << false;
    QTest::newRow("rotated wrong") << QStringLiteral("X0542811101000000123456IT60") << false;
    QTest::newRow("IBAN only") << QStringLiteral("IBAN") << false;
    QTest::newRow("two letters") << QStringLiteral("AB") << false;
    QTest::newRow("ones") << QStringLiteral("111111111111111111111111111") << false;
}

void TstValidators::iban()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isIbanValid(text), valid);
}

void TstValidators::ibanDigits()
{
    // Rotation and letter values: GB82WEST... becomes WEST...GB82, W = 32.
    QCOMPARE(qv::checks::ibanDigits(u"GB82 WEST 1234 5698 7654 32"), QStringLiteral("3214282912345698765432161182"));
    QCOMPARE(qv::checks::ibanDigits(u"iban gb82west12345698765432"), QStringLiteral("3214282912345698765432161182"));
    // Only the first "IBAN" goes.
    QCOMPARE(qv::checks::ibanDigits(u"IBANIBAN12"), QStringLiteral("1218111023"));
    QCOMPARE(qv::checks::ibanDigits(u"AB"), QStringLiteral("1011"));
    QCOMPARE(qv::checks::ibanDigits(u"IT60-X054"), QString());
    QCOMPARE(qv::checks::ibanDigits(u""), QString());
}

void TstValidators::mod97_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("remainder");
    QTest::newRow("GB example") << "3214282912345698765432161182" << 1;
    QTest::newRow("forty digits") << "1234567890123456789012345678901234567890" << 28;
    QTest::newRow("eighteen nines") << "999999999999999999" << 88;
    QTest::newRow("nine digits") << "999999999" << 999999999 % 97;
    QTest::newRow("one digit") << "7" << 7;
    QTest::newRow("97") << "97" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TstValidators::mod97()
{
    QFETCH(QString, digits);
    QFETCH(int, remainder);
    QCOMPARE(qv::checks::mod97(digits), remainder);
}

QTEST_APPLESS_MAIN(TstValidators)
#include "tst_validators.moc"
