#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252, one byte per character both ways. Every byte decodes: the five
// bytes the code page leaves undefined map to the control character of the
// same value. Text is composed (NFC) before it is encoded; characters the
// code page still cannot hold are stored as '?'.
namespace qv::cp1252 {

QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }
// Appends the decoded characters to `text`, without a temporary string.
void decodeAppend(QString &text, const char *data, qsizetype size);
QByteArray encode(const QString &text);
bool canEncode(QChar c);
// The byte of one character as it is (no composing), or -1 when the code
// page has none: for comparing typed text with stored bytes.
int byteOf(QChar c);
// A byte that shows a character: not a control code (below 0x20, 0x7F) and
// not one of the five bytes the code page leaves undefined.
bool isPrintable(unsigned char byte);

} // namespace qv::cp1252
