#include "output/xlsxexport.h"

#include "core/text.h"

#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

namespace qv {

namespace {

// The longest text a cell holds (the library refuses a longer one).
constexpr qsizetype kMaxCellText = 32767;

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw SpreadsheetError(std::string("export: workbook: ") + lxw_strerror(error));
}

// Spreadsheet programs read "_xHHHH_" in a cell as the character of code
// HHHH; a text that holds such a sequence keeps it with its underscore
// written that way too.
QString keepEscapeLookalikes(const QString &text)
{
    static const QRegularExpression lookalike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out = text;
    return out.replace(lookalike, QStringLiteral("_x005F_\\1"));
}

class XlsxWriter : public TextRowSink
{
public:
    XlsxWriter(const QString &path, const QString &scratch, const ExportLayout &layout)
        : m_scratch(QFile::encodeName(scratch)), m_columns(lxw_col_t(layout.columns.size()))
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = m_scratch.data();
        m_workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!m_workbook)
            throw SpreadsheetError("export: workbook: cannot be created");
        m_sheet = workbook_add_worksheet(m_workbook, layout.worksheet.toUtf8().constData());
        if (!m_sheet)
            throw SpreadsheetError("export: workbook: worksheet name refused");
        lxw_format *heading = workbook_add_format(m_workbook);
        format_set_bold(heading);
        format_set_align(heading, LXW_ALIGN_LEFT);
        m_text = workbook_add_format(m_workbook);
        format_set_num_format_index(m_text, 49); // "@": text
        format_set_align(m_text, LXW_ALIGN_LEFT);
        // What the sheet shows above and beside the rows comes first: in
        // constant memory mode each row is on the disk once the next starts.
        // The columns are text columns, so an empty cell (not written) takes
        // what is typed into it as text too.
        for (lxw_col_t c = 0; c < m_columns; ++c)
            check(worksheet_set_column_pixels(m_sheet, c, c, uint32_t(layout.columns.at(c).file.width), m_text));
        worksheet_freeze_panes(m_sheet, 1, 0);
        for (lxw_col_t c = 0; c < m_columns; ++c)
            write(c, layout.columns.at(c).file.heading, heading);
    }

    ~XlsxWriter() override
    {
        if (m_workbook)
            workbook_close(m_workbook); // after a failure: frees what the library holds
    }

    ExportOutcome finish()
    {
        if (m_columns > 0)
            check(worksheet_autofilter(m_sheet, 0, 0, m_row, m_columns - 1));
        lxw_workbook *workbook = m_workbook;
        m_workbook = nullptr;
        check(workbook_close(workbook));
        return {qint64(m_row), {}};
    }

protected:
    void row(qint64, const QStringList &cells) override
    {
        if (m_row + 1 >= LXW_ROW_MAX)
            throw SpreadsheetError("export: workbook: more rows than a worksheet holds");
        ++m_row;
        for (lxw_col_t c = 0; c < m_columns && c < cells.size(); ++c)
            write(c, cells.at(c), m_text);
    }

private:
    void write(lxw_col_t column, const QString &text, lxw_format *format)
    {
        const QString value = keepEscapeLookalikes(trimmed(text));
        if (value.isEmpty())
            return;
        check(worksheet_write_string(m_sheet, m_row, column, value.left(kMaxCellText).toUtf8().constData(), format));
    }

    QByteArray m_scratch;
    lxw_col_t m_columns;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr;
    lxw_row_t m_row = 0;
};

} // namespace

ExportOutcome writeXlsx(const QString &path, const QString &scratch, const ExportLayout &layout, const RowSource &rows)
{
    XlsxWriter writer(path, scratch, layout);
    rows(writer);
    return writer.finish();
}

} // namespace qv
