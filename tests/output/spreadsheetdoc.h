#pragma once
// The spreadsheet document written out from its pieces, independently of the
// program's writer, so tests can tell what an export file must hold.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>

namespace qvtest {

using Headings = QList<QPair<QByteArray, int>>; // Windows-1252 heading and width in the file

inline QByteArray spreadsheetDocument(const QByteArray &worksheet, const Headings &headings,
                                      const QList<QList<QByteArray>> &rows)
{
    QByteArray d = "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
                   "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
                   "xmlns=\"http://www.w3.org/TR/REC-html40\">"
                   "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                   "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>"
                   + worksheet
                   + "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
                     "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
                     "<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
                     "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook>"
                     "</xml><![endif]--></head><body><table x:str><tr>";
    for (const auto &[heading, width] : headings)
        d += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" + heading
             + "</td>";
    d += "</tr>";
    for (const QList<QByteArray> &row : rows) {
        d += "<tr>";
        // Text cells for Excel (mso-number-format) and LibreOffice (sdnum).
        for (const QByteArray &cell : row)
            d += "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + cell + "</td>";
        d += "</tr>";
    }
    return d + "</table></body></html>";
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace qvtest
