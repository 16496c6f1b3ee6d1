#include "output/spreadsheet.h"

#include "core/cp1252.h"
#include "core/text.h"

#include <QIODevice>
#include <QSaveFile>

namespace qv {

namespace {

// The text-cell attributes: Excel reads mso-number-format, LibreOffice sdnum;
// with both, postal codes, phone and card numbers, amounts and texts that
// start with "=" stay exactly as typed.
const QByteArray kDataCell = QByteArrayLiteral(
    R"(<td style="text-align: left; mso-number-format:'\@';" sdnum="1040;0;@">)");

void appendReference(QByteArray &out, char32_t code)
{
    out += "&#";
    out += QByteArray::number(quint32(code));
    out += ';';
}

// A Windows-1252 byte, escaped. Control characters become references too, so
// the document stays on one line whatever a field holds.
void appendEscaped(QByteArray &out, char b)
{
    switch (b) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    default:
        if (static_cast<unsigned char>(b) < 32)
            appendReference(out, static_cast<unsigned char>(b));
        else
            out += b;
    }
}

bool isBlank(char b)
{
    return static_cast<unsigned char>(b) <= 32;
}

// Spreadsheet programs read the cell as HTML, which folds a run of blanks
// into one. Office keeps the blanks of a span marked as a space run, and
// LibreOffice keeps blanks written as character references: the run is
// written both ways at once.
const QByteArray kSpaceRunStart = QByteArrayLiteral(R"(<span style="mso-spacerun:yes">)");
const QByteArray kSpaceRunEnd = QByteArrayLiteral("</span>");

// Runs of two or more blanks of an escaped cell text as space runs.
QByteArray keepBlankRuns(QByteArray text)
{
    if (!text.contains("  "))
        return text;
    QByteArray out;
    out.reserve(text.size() + 64);
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && text.at(end) == ' ')
            ++end;
        if (end - i >= 2) {
            out += kSpaceRunStart;
            for (qsizetype k = i; k < end; ++k)
                out += "&#32;";
            out += kSpaceRunEnd;
            i = end;
        } else {
            out += text.at(i++);
        }
    }
    return out;
}

// Trimmed and escaped (below), blanks as they are.
QByteArray escapedText(QByteArrayView bytes)
{
    // Bytes up to 32 are the characters up to 32, and no other byte decodes
    // to one: trimming the bytes is trimming the text.
    qsizetype b = 0, e = bytes.size();
    while (b < e && isBlank(bytes[b]))
        ++b;
    while (e > b && isBlank(bytes[e - 1]))
        --e;
    QByteArray out;
    out.reserve(e - b);
    for (qsizetype i = b; i < e; ++i)
        appendEscaped(out, bytes[i]);
    return out;
}

QByteArray escapedText(const QString &text)
{
    const QString composed = trimmed(text).normalized(QString::NormalizationForm_C);
    QByteArray out;
    out.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const QChar c = composed.at(i);
        if (cp1252::canEncode(c)) {
            appendEscaped(out, cp1252::encode(QString(c)).at(0));
        } else if (c.isHighSurrogate() && i + 1 < composed.size() && composed.at(i + 1).isLowSurrogate()) {
            appendReference(out, QChar::surrogateToUcs4(c, composed.at(i + 1)));
            ++i;
        } else {
            appendReference(out, c.unicode());
        }
    }
    return out;
}

} // namespace

QByteArray SpreadsheetWriter::cellText(QByteArrayView windows1252)
{
    return keepBlankRuns(escapedText(windows1252));
}

QByteArray SpreadsheetWriter::cellText(const QString &text)
{
    return keepBlankRuns(escapedText(text));
}

SpreadsheetWriter::SpreadsheetWriter(QIODevice &out, const QString &worksheet, const QList<SpreadsheetColumn> &columns)
    : m_out(out)
{
    put(R"(<html xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:x="urn:schemas-microsoft-com:office:excel" )"
        R"(xmlns="http://www.w3.org/TR/REC-html40">)");
    put("<head>");
    put(R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">)");
    put("<!--[if gte mso 9]><xml>");
    put("<x:ExcelWorkbook>");
    put("<x:ExcelWorksheets>");
    put("<x:ExcelWorksheet>");
    put("<x:Name>" + escapedText(worksheet) + "</x:Name>");
    put("<x:WorksheetOptions>");
    put("<x:Selected/>");
    put("<x:Panes>");
    put("<x:Pane>");
    put("<x:Number>1</x:Number>");
    put("<x:ActiveRow>3</x:ActiveRow>");
    put("</x:Pane>");
    put("</x:Panes>");
    put("<x:ProtectContents>False</x:ProtectContents>");
    put("<x:ProtectObjects>False</x:ProtectObjects>");
    put("<x:ProtectScenarios>False</x:ProtectScenarios>");
    put("</x:WorksheetOptions>");
    put("</x:ExcelWorksheet>");
    put("</x:ExcelWorksheets>");
    put("</x:ExcelWorkbook>");
    put("</xml><![endif]-->");
    put("</head>");
    put("<body>");
    put("<table x:str>");
    put("<tr>");
    for (const SpreadsheetColumn &column : columns) {
        put(R"(<td style="text-align: left; font-weight: bold;" width=)");
        put(QByteArray::number(column.width));
        put(">");
        put(escapedText(column.heading));
        put("</td>");
    }
    put("</tr>");
}

void SpreadsheetWriter::beginRow(qint64)
{
    put("<tr>");
}

void SpreadsheetWriter::cell(const QString &text)
{
    put(kDataCell);
    put(cellText(text));
    put("</td>");
}

void SpreadsheetWriter::cell(QByteArrayView windows1252)
{
    put(kDataCell);
    put(cellText(windows1252));
    put("</td>");
}

void SpreadsheetWriter::endRow()
{
    put("</tr>");
}

void SpreadsheetWriter::finish()
{
    put("</table>");
    put("</body>");
    put("</html>");
    m_out.flush();
}

void writeSpreadsheetFile(const QString &path, const QString &worksheet, const QList<SpreadsheetColumn> &columns,
                          const std::function<void(SpreadsheetWriter &)> &rows)
{
    // An existing file that cannot be written is refused, not replaced.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SpreadsheetError("spreadsheet: cannot create " + path.toStdString());
    SpreadsheetWriter writer(file, worksheet, columns);
    rows(writer);
    writer.finish();
    if (!file.commit())
        throw SpreadsheetError("spreadsheet: cannot replace " + path.toStdString());
}

} // namespace qv
