#include "core/amount.h"

#include "core/text.h"

#include <algorithm>

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

    // Round to four decimals as "add half a unit, keep the integer below":
    // a positive number goes up from half a unit on, a negative one only
    // beyond half a unit (-1,23455 gives -1,2345, -1,23456 gives -1,2346).
    QString whole = d.whole.isEmpty() ? QStringLiteral("0") : d.whole;
    QString four = d.decimals.left(4).leftJustified(4, QLatin1Char('0'));
    const QStringView beyond = QStringView(d.decimals).mid(std::min<qsizetype>(4, d.decimals.size()));
    bool up = false;
    if (!beyond.isEmpty()) {
        if (!d.negative) {
            up = beyond.at(0) >= QLatin1Char('5');
        } else {
            const bool restNonZero = std::any_of(beyond.begin() + 1, beyond.end(),
                                                 [](QChar c) { return c != QLatin1Char('0'); });
            up = beyond.at(0) > QLatin1Char('5') || (beyond.at(0) == QLatin1Char('5') && restNonZero);
        }
    }
    if (up) {
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
