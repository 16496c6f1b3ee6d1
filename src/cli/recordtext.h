#pragma once
#include "cli/command.h"

#include <QByteArray>

// The values of records as the listing commands print them: Windows-1252
// bytes of a field written as UTF-8 into a CSV line or a JSON string.
namespace qv::cli {

// The most bytes one stored byte can become, escaped for JSON or for CSV.
int widestByte(bool json);

// Write one value at `out` and return its end. `out` must have room for
// 2 + 6 * size bytes more than the value takes: a character of several bytes
// is copied six bytes at a time.
// RFC 4180: a value with a comma, a quote or a line end goes in quotes, its
// quotes doubled.
char *putCsv(char *out, const uchar *text, int size);
// A JSON string, quotes included; control characters escaped.
char *putJson(char *out, const uchar *text, int size);

// The same, appended to a line.
void appendCsv(QByteArray &line, const char *text, int size);
void appendJson(QByteArray &line, const char *text, int size);

// The --format of the listing commands: true for csv (the default), false
// for jsonl; any other word is a usage error.
bool csvFormat(const Arguments &args);

} // namespace qv::cli
