#pragma once
#include "output/rowsink.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;

// The spreadsheet document of the exports: an HTML table with the workbook
// markup spreadsheet programs read, one line, in Windows-1252. It is written
// piece by piece as it is produced, so no copy of the whole document is held.
namespace qv {

// One exported column: its heading and width in the file.
struct SpreadsheetColumn
{
    QString heading;
    int width = 0;
};

class SpreadsheetWriter : public RowSink
{
public:
    // Writes everything up to the heading row included.
    SpreadsheetWriter(QIODevice &out, const QString &worksheet, const QList<SpreadsheetColumn> &columns);

    // The record number is not written.
    void beginRow(qint64 number = 0) override;
    // A data cell: trimmed, escaped, characters the code page cannot hold as
    // numeric character references, runs of blanks kept.
    void cell(const QString &text) override;
    // The same for a text already in Windows-1252 (archive fields).
    void cell(QByteArrayView windows1252) override;
    void endRow() override;
    // Closes the table and the document and flushes what is left.
    // Throws SpreadsheetError when the device refuses a write.
    void finish();

    // The text of a data cell as it goes into the file.
    static QByteArray cellText(const QString &text);
    static QByteArray cellText(QByteArrayView windows1252);

private:
    void put(QByteArrayView bytes) { m_out.put(bytes); }

    BufferedOutput m_out;
};

// Writes a whole document to `path`: into a temporary file in the same folder
// that replaces the old file only once it is complete, so a failure part-way
// leaves the previous file as it was. `rows` writes the data rows.
// Throws SpreadsheetError.
void writeSpreadsheetFile(const QString &path, const QString &worksheet, const QList<SpreadsheetColumn> &columns,
                          const std::function<void(SpreadsheetWriter &)> &rows);

} // namespace qv
