#pragma once
#include "output/exportlayout.h"
#include "output/rowsink.h"

#include <QList>
#include <QString>

#include <optional>

// The file formats an export can be written in, and the one entry point that
// writes any of them from any row source (the archive, an export window's
// grid with its edited cells, one card).
namespace qv {

enum class ExportFormat {
    Xls,  // the export windows' document: an HTML table named .xls
    Xlsx, // an Excel workbook
    Csv,  // UTF-8 with a byte-order mark, ";" between values, CR LF
    Ics,  // iCalendar: one event per row (events only)
    Vcf,  // vCard 4.0: one contact per row (participants only)
};

// The formats the layout's rows make sense in, .xls first.
QList<ExportFormat> exportFormats(const ExportLayout &layout);
// By its file suffix as typed on the command line ("xlsx"), or nothing.
std::optional<ExportFormat> exportFormatNamed(const QString &suffix);
QString formatSuffix(ExportFormat format); // "xlsx"
// What a file chooser offers for it: "Cartella di lavoro di Excel (*.xlsx)".
QString formatFilter(ExportFormat format);
// The layout's file name with the format's suffix: "Partecipanti.xlsx".
QString exportFileName(const ExportLayout &layout, ExportFormat format);
// The calendar file of one event, for the event card: "Evento_12.ics".
// (writeExport(ExportFormat::Ics, path, ExportLayouts::events(),
// recordRows(ExportLayouts::events(), card bytes, 12)).)
QString eventCalendarFileName(qint64 eventNumber);

// Writes the rows into `path` in the format: into a temporary file that
// replaces an existing file only once complete, so a failure part-way leaves
// the old file as it was. Throws SpreadsheetError (the file could not be
// written or replaced), std::invalid_argument (a format the layout does not
// offer) or whatever the source throws (ArchiveError for an archive).
ExportOutcome writeExport(ExportFormat format, const QString &path, const ExportLayout &layout, const RowSource &rows);

// The export without a grid: every record of the archive, in file order,
// written to `filePath` as the export windows' document (replaced only once
// complete). Throws ArchiveError or SpreadsheetError.
void exportArchive(const ExportLayout &layout, const QString &archivePath, const QString &filePath);

} // namespace qv
