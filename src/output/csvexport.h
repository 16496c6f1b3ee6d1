#pragma once
#include "output/exportlayout.h"
#include "output/rowsink.h"

class QIODevice;

// The CSV export: what Italian spreadsheet programs open directly. UTF-8 with
// a byte-order mark (without it they read the bytes as their own code page),
// ";" between values (the "," is their decimal separator), RFC 4180 quoting,
// CR LF after every row. The first row holds the layout's file headings.
namespace qv {

// Writes the document; throws SpreadsheetError when the device refuses.
ExportOutcome writeCsv(QIODevice &out, const ExportLayout &layout, const RowSource &rows);

// One value as written: trimmed, and in double quotes (its own doubled) when
// it holds a ";", a double quote or a line end.
QByteArray csvValue(const QString &text);

} // namespace qv
