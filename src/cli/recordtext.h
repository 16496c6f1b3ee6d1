#pragma once
#include <QByteArray>

// The values of records as the commands print them: Windows-1252 bytes of a
// field written as UTF-8 into a CSV line or a JSON string.
namespace qv::cli {

// RFC 4180: a value with a comma, a quote or a line end goes in quotes, its
// quotes doubled.
void appendCsv(QByteArray &line, const char *text, int size);
// A JSON string, quotes included; control characters escaped.
void appendJson(QByteArray &line, const char *text, int size);

} // namespace qv::cli
