#include "output/exportformats.h"

#include "archive/records.h"
#include "output/calendarexport.h"
#include "output/contactexport.h"
#include "output/csvexport.h"
#include "output/xlsxexport.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <stdexcept>

namespace qv {

namespace {

struct FormatInfo
{
    ExportFormat format;
    const char *suffix;
    const char *filter;
};

const FormatInfo kFormats[] = {
    {ExportFormat::Xls, "xls", "Foglio di calcolo Excel (*.xls)"},
    {ExportFormat::Xlsx, "xlsx", "Cartella di lavoro di Excel (*.xlsx)"},
    {ExportFormat::Csv, "csv", "CSV UTF-8, separato da punto e virgola (*.csv)"},
    {ExportFormat::Ics, "ics", "Calendario iCalendar (*.ics)"},
    {ExportFormat::Vcf, "vcf", "Contatti vCard (*.vcf)"},
};

const FormatInfo &info(ExportFormat format)
{
    for (const FormatInfo &f : kFormats)
        if (f.format == format)
            return f;
    throw std::invalid_argument("export: unknown format");
}

// The workbook library writes a file by name: it writes one in a folder of
// its own, which is then copied into the target as any other export.
ExportOutcome writeWorkbook(QSaveFile &target, const ExportLayout &layout, const RowSource &rows)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw SpreadsheetError("export: no temporary folder for the workbook");
    const QString workbook = folder.filePath(QStringLiteral("export.xlsx"));
    const ExportOutcome outcome = writeXlsx(workbook, folder.path(), layout, rows);
    QFile written(workbook);
    if (!written.open(QIODevice::ReadOnly))
        throw SpreadsheetError("export: the workbook cannot be read back");
    QByteArray block;
    while (!(block = written.read(1 << 16)).isEmpty())
        if (target.write(block) != block.size())
            throw SpreadsheetError("export: write failed");
    if (written.error() != QFileDevice::NoError)
        throw SpreadsheetError("export: the workbook cannot be read back");
    return outcome;
}

} // namespace

QList<ExportFormat> exportFormats(const ExportLayout &layout)
{
    QList<ExportFormat> formats{ExportFormat::Xls, ExportFormat::Xlsx, ExportFormat::Csv};
    if (layout.record == &TSchedaEvento::layout())
        formats.append(ExportFormat::Ics);
    if (layout.record == &TSchedaPartecipante::layout())
        formats.append(ExportFormat::Vcf);
    return formats;
}

std::optional<ExportFormat> exportFormatNamed(const QString &suffix)
{
    for (const FormatInfo &f : kFormats)
        if (suffix == QLatin1String(f.suffix))
            return f.format;
    return std::nullopt;
}

QString formatSuffix(ExportFormat format)
{
    return QString::fromLatin1(info(format).suffix);
}

QString formatFilter(ExportFormat format)
{
    return QString::fromUtf8(info(format).filter);
}

QString exportFileName(const ExportLayout &layout, ExportFormat format)
{
    return QFileInfo(layout.fileName).completeBaseName() + QLatin1Char('.') + formatSuffix(format);
}

QString eventCalendarFileName(qint64 eventNumber)
{
    return QStringLiteral("Evento_%1.ics").arg(eventNumber);
}

ExportOutcome writeExport(ExportFormat format, const QString &path, const ExportLayout &layout, const RowSource &rows)
{
    if (!exportFormats(layout).contains(format))
        throw std::invalid_argument("export: a format this export does not offer");
    // An existing file that cannot be written is refused, not replaced.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SpreadsheetError("export: cannot create " + path.toStdString());
    ExportOutcome outcome;
    switch (format) {
    case ExportFormat::Xls: {
        SpreadsheetWriter writer(file, layout.worksheet, layout.fileColumns());
        CountingSink counted(writer);
        rows(counted);
        writer.finish();
        outcome.rows = counted.rows();
        break;
    }
    case ExportFormat::Xlsx:
        outcome = writeWorkbook(file, layout, rows);
        break;
    case ExportFormat::Csv:
        outcome = writeCsv(file, layout, rows);
        break;
    case ExportFormat::Ics:
        outcome = writeCalendar(file, layout, rows);
        break;
    case ExportFormat::Vcf:
        outcome = writeContacts(file, layout, rows);
        break;
    }
    if (!file.commit())
        throw SpreadsheetError("export: cannot replace " + path.toStdString());
    return outcome;
}

void exportArchive(const ExportLayout &layout, const QString &archivePath, const QString &filePath)
{
    writeExport(ExportFormat::Xls, filePath, layout, archiveRows(layout, archivePath));
}

} // namespace qv
