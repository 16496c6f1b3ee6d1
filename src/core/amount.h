#pragma once
#include <QString>

// Amounts in euro as the cards show and store them: a decimal number with ","
// as separator and two to four decimals ("0,00", "150,00", "12,3457").
namespace qv {

// The amount a new card starts with.
inline QString zeroAmount() { return QStringLiteral("0,00"); }

// True when the trimmed text reads as a decimal number: an optional sign,
// digits with an optional "," and decimals, at least one digit, nothing else.
bool isAmountText(const QString &text);

// The text an amount box gets when the focus leaves it: rounded half up to
// four decimals, in the shortest form with at least two decimals. An empty
// text or one that is not a number gives "0,00". Works digit by digit on
// the text, so the result is that of exact decimal arithmetic whatever the
// number of digits. A pasted negative number keeps its value and is rounded
// the same way, half a unit added then the integer below taken, so an exact
// half goes towards zero (-1,23455 gives -1,2345).
QString formatAmount(const QString &text);

} // namespace qv
