#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

// Conversions between a control's text and a counted string: one length byte,
// then exactly `declared` Windows-1252 bytes of which the first n are the text.
namespace qv {

// The counted string of a control text: trimmed, Windows-1252, cut to the
// declared length; declared + 1 bytes, unused bytes zero.
QByteArray CampoDaTesto(const QString &text, int declared);

// How many of the character bytes hold text: the length byte, clamped to the
// declared length.
inline int countedLength(const char *field, int declared)
{
    const int used = static_cast<unsigned char>(field[0]);
    return used < declared ? used : declared;
}
// The stored bytes of a counted string without the chars of code 32 or less
// at either end: what its trimmed text is made of, one byte a char (Windows-
// 1252 keeps those codes as they are). For reading large archives without
// decoding every field.
inline QByteArrayView trimmedBytes(const char *field, int declared)
{
    const char *text = field + 1;
    qsizetype begin = 0;
    qsizetype end = countedLength(field, declared);
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return QByteArrayView(text + begin, end - begin);
}
// The text of a counted string exactly as stored, blanks included.
QString storedText(const char *field, int declared);

// The text of a counted string, trimmed. A length byte above the declared
// length reads as the declared length.
QString TestoDaCampo(const char *field, int declared);
inline QString TestoDaCampo(const QByteArray &field)
{
    return field.isEmpty() ? QString() : TestoDaCampo(field.constData(), int(field.size()) - 1);
}

// Yes/no fields: "Sì" (02 53 EC) or "No" (02 4E 6F).
extern const QString kYes;
extern const QString kNo;
inline QString yesNoText(bool yes) { return yes ? kYes : kNo; }
// true for exactly "Sì", false for exactly "No", nothing for anything else.
std::optional<bool> yesNoValue(const QString &fieldText);

} // namespace qv
