#pragma once
#include "output/exportlayout.h"
#include "output/rowsink.h"

#include <QString>

// The Excel workbook export (.xlsx), written by libxlsxwriter: one worksheet
// named as in the .xls, the heading row bold and frozen, an autofilter over
// the table, the .xls widths, the columns of ExportLayout::dataColumns (a
// date and a time apart), codes and other texts as text cells holding the
// text exactly (with the text number format, so that editing it in the
// spreadsheet keeps it text too), dates as dates and amounts as numbers in
// euro where they are ones. Rows go to the disk as they come (the
// library's constant memory mode), so the size of an export does not weigh
// on memory.
namespace qv {

// Writes the workbook at `path` (the library writes files by name; the
// caller puts it in place); `scratch` is a folder for the library's own
// temporary files. Throws SpreadsheetError.
ExportOutcome writeXlsx(const QString &path, const QString &scratch, const ExportLayout &layout,
                        const RowSource &rows);

} // namespace qv
