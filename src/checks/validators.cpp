#include "checks/validators.h"

#include "core/text.h"

#include <algorithm>
#include <array>

namespace qv::checks {

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Indexed by code from '0' to 'Z': ten digits, seven punctuation marks
// worth 0, 26 letters.
constexpr int kTableSize = 'Z' - '0' + 1;

constexpr std::array<int, kTableSize> kOddValues = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21,                     // 0-9
    0, 0, 0, 0, 0, 0, 0,                                   // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11,   // A-O
    3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23,               // P-Z
};

constexpr std::array<int, kTableSize> kEvenValues = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
    0, 0, 0, 0, 0, 0, 0,
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
    15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
};

int tableValue(const std::array<int, kTableSize> &table, QChar c)
{
    const char16_t u = c.unicode();
    if (u < u'0' || u > u'Z')
        return -1;
    return table[u - u'0'];
}

} // namespace

int fiscalCodeOddValue(QChar c)
{
    return tableValue(kOddValues, c);
}

int fiscalCodeEvenValue(QChar c)
{
    return tableValue(kEvenValues, c);
}

std::optional<QChar> fiscalCodeCheckCharacter(QStringView code)
{
    if (code.size() < 15)
        return std::nullopt;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        // Position i + 1: odd positions are the even indexes.
        const int value = (i % 2 == 0) ? fiscalCodeOddValue(code[i]) : fiscalCodeEvenValue(code[i]);
        if (value < 0)
            return std::nullopt;
        sum += value;
    }
    return QChar(char16_t(u'A' + sum % 26));
}

bool isNumericFiscalCode(const QString &trimmedText)
{
    return !trimmedText.isEmpty() && std::all_of(trimmedText.begin(), trimmedText.end(), isDigit);
}

FiscalCodeVerdict checkFiscalCode(const QString &text)
{
    if (text.size() != 16)
        return FiscalCodeVerdict::WrongLength;
    QString code = text;
    for (QChar &c : code)
        c = asciiUpper(c);
    const std::optional<QChar> check = fiscalCodeCheckCharacter(code);
    return (check && *check == code.at(15)) ? FiscalCodeVerdict::Valid : FiscalCodeVerdict::Invalid;
}

std::optional<int> vatCheckDigit(QStringView number)
{
    if (number.size() < 10)
        return std::nullopt;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        if (!isDigit(number[i]))
            return std::nullopt;
        const int digit = number[i].unicode() - u'0';
        if (i % 2 == 0) {
            sum += digit;
        } else {
            const int doubled = digit * 2;
            sum += doubled / 10 + doubled % 10;
        }
    }
    return (10 - sum % 10) % 10;
}

bool isVatNumberValid(QStringView number)
{
    if (number.size() != 11 || !isDigit(number[10]))
        return false;
    const std::optional<int> check = vatCheckDigit(number);
    return check && *check == number[10].unicode() - u'0';
}

const QList<VatOffice> &vatOffices()
{
    static const QList<VatOffice> offices = [] {
        const char16_t *const names[] = {
            u"Torino", u"Vercelli", u"Novara", u"Cuneo", u"Asti", u"Alessandria", u"Aosta", u"Imperia",
            u"Savona", u"Genova 1", u"La Spezia", u"Varese", u"Como", u"Sondrio", u"Milano 1", u"Bergamo",
            u"Brescia 1", u"Pavia", u"Cremona", u"Mantova", u"Bolzano", u"Trento", u"Verona", u"Vicenza",
            u"Belluno", u"Treviso", u"Venezia", u"Padova", u"Rovigo", u"Udine", u"Gorizia", u"Trieste",
            u"Piacenza", u"Parma", u"Reggio Emilia", u"Modena", u"Bologna 1", u"Ferrara", u"Ravenna",
            u"Forl\u00EC", u"Pesaro", u"Ancona", u"Macerata", u"Ascoli Piceno", u"Massa Carrara", u"Lucca",
            u"Pistoia", u"Firenze 1", u"Livorno", u"Pisa", u"Arezzo", u"Siena", u"Grosseto", u"Perugia",
            u"Terni", u"Viterbo", u"Rieti", u"Roma 1", u"Latina", u"Frosinone", u"Caserta", u"Benevento",
            u"Napoli 1", u"Avellino", u"Salerno", u"Aquila", u"Teramo", u"Pescara", u"Chieti", u"Campobasso",
            u"Foggia", u"Bari", u"Taranto", u"Brindisi", u"Lecce", u"Potenza", u"Matera", u"Cosenza",
            u"Catanzaro", u"Reggio Calabria", u"Trapani", u"Palermo", u"Messina", u"Agrigento",
            u"Caltanissetta", u"Enna", u"Catania", u"Ragusa", u"Siracusa", u"Sassari", u"Nuoro", u"Cagliari",
            u"Pordenone", u"Isernia", u"Oristano", u"Monza (Milano 2)", u"Prato (Firenze 2)", u"Brescia 2",
            u"Chiavari (Genova 2)", u"Roma 2", u"Bologna 2", u"Napoli 2",
        };
        QList<VatOffice> list;
        int code = 1;
        for (const char16_t *name : names)
            list.append({QStringLiteral("%1").arg(code++, 3, 10, QLatin1Char('0')), QString::fromUtf16(name)});
        // Two later codes of the same offices.
        list.append({QStringLiteral("120"), QStringLiteral("Bologna 2")});
        list.append({QStringLiteral("121"), QStringLiteral("Napoli 2")});
        return list;
    }();
    return offices;
}

QString vatOfficeName(QStringView code)
{
    for (const VatOffice &office : vatOffices())
        if (office.code == code)
            return office.name;
    return {};
}

QString cardDigits(QStringView text)
{
    QString digits;
    for (QChar c : text.left(20))
        if (isDigit(c))
            digits.append(c);
    return digits;
}

int cardKindCode(QStringView text)
{
    const QString digits = cardDigits(text);
    if (digits.isEmpty())
        return 0;
    // From right to left over all but the last digit: doubled, plain, doubled...
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = digits.size() - 2; i >= 0; --i) {
        int value = digits.at(i).unicode() - u'0';
        if (doubled) {
            value *= 2;
            if (value > 9)
                value -= 9;
        }
        sum += value;
        doubled = !doubled;
    }
    const int expected = (10 - sum % 10) % 10;
    if (digits.back().unicode() - u'0' != expected)
        return 0;
    return digits.front().unicode() - u'0' - 2;
}

QString cardKindName(int kindCode, QStringView trimmedText)
{
    switch (kindCode) {
    case 1: {
        const QStringView prefix = trimmedText.left(2);
        if (prefix == u"30" || prefix == u"36" || prefix == u"38")
            return QStringLiteral("Diner's Club / Carte Blanche");
        if (prefix == u"34" || prefix == u"37")
            return QStringLiteral("American Express");
        if (prefix == u"31" || prefix == u"33" || prefix == u"35")
            return QStringLiteral("JCB");
        return {};
    }
    case 2:
        return QStringLiteral("Visa");
    case 3:
        return QStringLiteral("MasterCard");
    case 4:
        return QStringLiteral("Discover");
    default:
        return {};
    }
}

QString ibanDigits(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() > 32)
            compact.append(asciiUpper(c));
    const qsizetype marker = compact.indexOf(QLatin1String("IBAN"));
    if (marker >= 0)
        compact.remove(marker, 4);
    const QString rotated = compact.mid(4) + compact.left(4);

    QString digits;
    digits.reserve(rotated.size() * 2);
    for (QChar c : rotated) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digits.append(c);
        else if (u >= u'A' && u <= u'Z')
            digits.append(QString::number(u - u'A' + 10));
        else
            return {};
    }
    return digits;
}

int mod97(QStringView digits)
{
    // Each piece holds at most nine digits, so it fits 32-bit arithmetic.
    qsizetype next = 0;
    int remainder = 0;
    bool first = true;
    while (next < digits.size()) {
        QString piece = first ? QString() : QString::number(remainder);
        first = false;
        const qsizetype take = 9 - piece.size();
        piece += digits.mid(next, take);
        next += take;
        qint32 value = 0;
        for (QChar c : piece)
            value = value * 10 + (c.unicode() - u'0');
        remainder = int(value % 97);
    }
    return remainder;
}

bool isIbanValid(QStringView text)
{
    const QString digits = ibanDigits(text);
    return !digits.isEmpty() && mod97(digits) == 1;
}

} // namespace qv::checks
