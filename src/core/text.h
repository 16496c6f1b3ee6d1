#pragma once
#include <QString>

// The program's text rules. Data is trimmed of characters of code <= 32 only
// and case-folded on ASCII letters only, so accented letters and other Unicode
// spaces are kept exactly as typed.
namespace qv {

QString trimmed(const QString &text);

// One character under the case rule: only a-z and A-Z change.
constexpr char16_t asciiUpper(char16_t u) { return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u; }
constexpr char16_t asciiLower(char16_t u) { return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u; }
inline QChar asciiUpper(QChar c) { return QChar(asciiUpper(c.unicode())); }

QString asciiUpper(QString text);
QString asciiLower(QString text);

// The trimmed text, ASCII upper case: the comparison form of codes and passwords.
inline QString trimmedUpper(const QString &text) { return asciiUpper(trimmed(text)); }

// Case-sensitive ordering of two texts after ASCII upper-casing; a prefix
// sorts before the longer text.
int compareAsciiUpper(const QString &a, const QString &b);

// Exactly width characters: cut, or padded with blanks on the right.
QString padded(const QString &text, int width);

// The value of a hexadecimal digit (either case), -1 for any other character.
constexpr int hexDigit(char16_t u)
{
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
inline int hexDigit(QChar c) { return hexDigit(c.unicode()); }

} // namespace qv
