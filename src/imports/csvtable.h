#pragma once
#include "imports/sourcetable.h"
#include "imports/textsource.h"

// CSV files (RFC 4180, with the semicolon that spreadsheets use under Italian
// settings): UTF-8 or Windows-1252 (textEncoding), the separator the heading
// uses most (";" or ","), values in double quotes where they hold one or a
// line end, CR LF, LF or CR between rows. A line break inside a quoted value
// (Alt+Enter in a spreadsheet) is kept as one blank: a card's box holds one
// line. Rows with nothing but blanks are passed over.
namespace qv::imports {

class CsvTable : public SourceTable
{
public:
    // Reads the heading. Throws ImportError.
    explicit CsvTable(const QString &path);

    QStringList heading() const override { return m_heading; }
    bool next(SourceRow &row) override;
    qint64 done() const override { return m_text.done(); }
    qint64 total() const override { return m_text.total(); }
    QChar separator() const { return m_separator; }
    TextEncoding encoding() const { return m_text.encoding(); }

private:
    bool readRow(SourceRow &row);
    QChar detectSeparator();

    DecodedText m_text;
    CharacterStream m_chars;
    QChar m_separator;
    QStringList m_heading;
};

} // namespace qv::imports
