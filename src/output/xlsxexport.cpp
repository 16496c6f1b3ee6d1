#include "output/xlsxexport.h"

#include "core/amount.h"
#include "core/clock.h"
#include "core/regional.h"
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
        : m_scratch(QFile::encodeName(scratch)), m_layout(layout), m_data(layout.dataColumns()),
          m_columns(lxw_col_t(m_data.size()))
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
        m_date = workbook_add_format(m_workbook);
        format_set_num_format(m_date, "dd/mm/yyyy");
        format_set_align(m_date, LXW_ALIGN_LEFT);
        m_amount = workbook_add_format(m_workbook);
        format_set_num_format(m_amount, "#,##0.00 [$\xE2\x82\xAC-410]");
        // What the sheet shows above and beside the rows comes first: in
        // constant memory mode each row is on the disk once the next starts.
        // The text columns are text columns, so an empty cell (not written)
        // takes what is typed into it as text too; dates and amounts are
        // numbers shown as such, so that they sort and add up.
        for (lxw_col_t c = 0; c < m_columns; ++c)
            check(worksheet_set_column_pixels(m_sheet, c, c, uint32_t(m_data.at(c).width), formatOf(m_data.at(c).kind)));
        worksheet_freeze_panes(m_sheet, 1, 0);
        for (lxw_col_t c = 0; c < m_columns; ++c)
            write(c, m_data.at(c).heading, heading);
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
        const QStringList values = m_layout.dataCells(cells);
        for (lxw_col_t c = 0; c < m_columns && c < values.size(); ++c)
            writeValue(c, m_data.at(c).kind, values.at(c));
    }

private:
    lxw_format *formatOf(DataColumn::Kind kind) const
    {
        return kind == DataColumn::Kind::Date ? m_date : kind == DataColumn::Kind::Amount ? m_amount : m_text;
    }

    // A date that is one as a date, an amount as a number; anything else
    // (a date or an amount typed otherwise) as the text it is.
    void writeValue(lxw_col_t column, DataColumn::Kind kind, const QString &text)
    {
        const QString value = trimmed(text);
        if (kind == DataColumn::Kind::Date) {
            if (const QDate date = parseCommonDate(value, Clock::today()); date.isValid() && date.year() >= 1900) {
                lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0};
                check(worksheet_write_datetime(m_sheet, m_row, column, &when, m_date));
                return;
            }
        } else if (kind == DataColumn::Kind::Amount && isAmountText(value)) {
            QString number = value;
            number.remove(QLatin1Char('+'));
            bool ok = false;
            const double amount = number.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (ok) {
                check(worksheet_write_number(m_sheet, m_row, column, amount, m_amount));
                return;
            }
        }
        write(column, value, m_text);
    }

    void write(lxw_col_t column, const QString &text, lxw_format *format)
    {
        const QString value = keepEscapeLookalikes(trimmed(text));
        if (value.isEmpty())
            return;
        check(worksheet_write_string(m_sheet, m_row, column, value.left(kMaxCellText).toUtf8().constData(), format));
    }

    QByteArray m_scratch;
    const ExportLayout &m_layout;
    QList<DataColumn> m_data;
    lxw_col_t m_columns;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_amount = nullptr;
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
