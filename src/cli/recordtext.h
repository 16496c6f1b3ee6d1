#pragma once
#include "cli/command.h"

#include <QByteArray>

// The values of records as the listing commands print them: Windows-1252
// bytes of a field written as UTF-8 into a CSV line or a JSON string.
namespace qv::cli {

// RFC 4180: a value with a comma, a quote or a line end goes in quotes, its
// quotes doubled.
void appendCsv(QByteArray &line, const char *text, int size);
// A JSON string, quotes included; control characters escaped.
void appendJson(QByteArray &line, const char *text, int size);

// The --format of the listing commands: true for csv (the default), false
// for jsonl; any other word is a usage error.
bool csvFormat(const Arguments &args);

} // namespace qv::cli
