#pragma once
#include <QChar>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The four data checks, free of widgets: Italian fiscal code, Italian VAT
// number and its issuing office, credit card number (Luhn) and IBAN
// (ISO 7064 MOD 97-10). They only judge a text; the dialogs show the verdict.
namespace qv::checks {

// ---- Fiscal code (16 characters, the last one a check letter) ----------

// Values of a character at an odd (1, 3, ... 15) or even (2, 4, ... 14)
// position. Both tables run by character code from '0' to 'Z'; the seven
// characters between '9' and 'A' are worth 0. Anything outside '0'..'Z'
// (lower case included) has no value: -1.
int fiscalCodeOddValue(QChar c);
int fiscalCodeEvenValue(QChar c);

// The check letter of the first 15 characters of `code` (already in
// capitals), or nothing when `code` is shorter than 15 characters or one of
// them has no value.
std::optional<QChar> fiscalCodeCheckCharacter(QStringView code);

enum class FiscalCodeVerdict { WrongLength, Valid, Invalid };

// The text as typed: a to z count as capitals. Not 16 characters long:
// WrongLength. A character outside '0'..'Z' among the first 15 makes the
// code Invalid.
FiscalCodeVerdict checkFiscalCode(const QString &text);

// A company's fiscal code is its VAT number: a fiscal code box holding
// digits only (trimmed, not empty) is checked as a VAT number.
bool isNumericFiscalCode(const QString &trimmedText);

// ---- VAT number (partita IVA, 11 digits) --------------------------------

// The check digit of the first ten characters of `number`, or nothing when
// it has fewer than ten or one of them is not a digit 0-9.
std::optional<int> vatCheckDigit(QStringView number);

// Exactly 11 digits 0-9 whose last one is the check digit.
bool isVatNumberValid(QStringView number);

struct VatOffice
{
    QString code; // three digits
    QString name;
};

// The 104 provincial offices, in table order.
const QList<VatOffice> &vatOffices();

// The office of a three-digit code (digits 8 to 10 of a number), or an
// empty text when the code is not in the table.
QString vatOfficeName(QStringView code);

// ---- Credit card number ------------------------------------------------

// The digits 0-9 among the first 20 characters of `text`, in order.
QString cardDigits(QStringView text);

// 0 when the number fails the Luhn check (or has no digit at all);
// otherwise the first digit minus 2: 1 for a leading 3, 2 for 4, 3 for 5,
// 4 for 6, and values outside 1..4 for other leading digits.
int cardKindCode(QStringView text);

// The kind shown for a kind code: by the first two characters of the
// trimmed text for code 1, "Visa", "MasterCard" or "Discover" for 2 to 4.
// Empty when no kind applies.
QString cardKindName(int kindCode, QStringView trimmedText);

// ---- IBAN (ISO 13616, MOD 97-10) ---------------------------------------

// The number the remainder is taken of: blanks (codes <= 32) removed, a to
// z in capitals, the first "IBAN" deleted, the first four characters moved
// to the end, letters replaced by 10..35. Empty when anything but digits is
// left or nothing is left at all.
QString ibanDigits(QStringView text);

// The remainder modulo 97 of a string of decimal digits, taken from the
// left in pieces of at most nine digits.
int mod97(QStringView digits);

// The MOD 97-10 check of the text, with no rule on length or country.
bool isIbanValid(QStringView text);

} // namespace qv::checks
