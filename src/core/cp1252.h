#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252, one byte per character both ways. Every byte decodes: the five
// bytes the code page leaves undefined map to the control character of the
// same value. Characters the code page cannot hold are stored as '?'.
namespace qv::cp1252 {

QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }
// Appends the decoded characters to `text`, without a temporary string.
void decodeAppend(QString &text, const char *data, qsizetype size);
QByteArray encode(const QString &text);
bool canEncode(QChar c);

} // namespace qv::cp1252
