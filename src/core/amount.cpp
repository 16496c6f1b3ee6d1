#include "core/amount.h"

#include "core/text.h"

namespace qv {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct DecimalText
{
    bool negative = false;
    QString whole;    // digits before ","
    QString decimals; // digits after ","
};

bool parse(const QString &text, DecimalText *out)
{
    const QString t = trimmed(text);
    int i = 0;
    DecimalText d;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
        d.negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    while (i < t.size() && isAsciiDigit(t.at(i)))
        d.whole += t.at(i++);
    if (i < t.size() && t.at(i) == QLatin1Char(',')) {
        ++i;
        while (i < t.size() && isAsciiDigit(t.at(i)))
            d.decimals += t.at(i++);
    }
    if (i != t.size() || (d.whole.isEmpty() && d.decimals.isEmpty()))
        return false;
    *out = d;
    return true;
}

// Adds one to a string of decimal digits, carrying to the left; true when
// the carry runs off the left end.
bool incrementDigits(QString &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
        digits[i] = QLatin1Char('0');
    }
    return true;
}

} // namespace

bool isAmountText(const QString &text)
{
    DecimalText d;
    return parse(text, &d);
}

QString formatAmount(const QString &text)
{
    DecimalText d;
    if (!parse(text, &d))
        return zeroAmount();

    // Round the magnitude to four decimals: the fifth decimal decides.
    QString whole = d.whole.isEmpty() ? QStringLiteral("0") : d.whole;
    QString four = d.decimals.left(4).leftJustified(4, QLatin1Char('0'));
    if (d.decimals.size() > 4 && d.decimals.at(4) >= QLatin1Char('5')) {
        if (incrementDigits(four) && incrementDigits(whole))
            whole.prepend(QLatin1Char('1'));
    }

    // Shortest form: no leading zeros in the whole part, no trailing zeros in the decimals.
    qsizetype lead = 0;
    while (lead < whole.size() - 1 && whole.at(lead) == QLatin1Char('0'))
        ++lead;
    whole = whole.mid(lead);
    while (!four.isEmpty() && four.endsWith(QLatin1Char('0')))
        four.chop(1);

    // At least two decimals.
    const QString decimals = four.leftJustified(2, QLatin1Char('0'));
    const bool zero = whole == QLatin1String("0") && decimals == QLatin1String("00");
    return (d.negative && !zero ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') + decimals;
}

} // namespace qv
