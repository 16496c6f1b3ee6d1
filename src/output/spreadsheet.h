#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

class QIODevice;

// The spreadsheet document of the exports: an HTML table with the workbook
// markup spreadsheet programs read, one line, in Windows-1252. It is written
// piece by piece as it is produced, so no copy of the whole document is held.
namespace qv {

// Any failure while the document is written.
class SpreadsheetError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One exported column: its heading and width in the file.
struct SpreadsheetColumn
{
    QString heading;
    int width = 0;
};

class SpreadsheetWriter
{
public:
    // Writes everything up to the heading row included.
    SpreadsheetWriter(QIODevice &out, const QString &worksheet, const QList<SpreadsheetColumn> &columns);

    void beginRow();
    // A data cell: trimmed, escaped, characters the code page cannot hold as
    // numeric character references.
    void cell(const QString &text);
    // The same for a text already in Windows-1252 (archive fields).
    void cell(QByteArrayView windows1252);
    void endRow();
    // Closes the table and the document and flushes what is left.
    // Throws SpreadsheetError when the device refuses a write.
    void finish();

    // The text of a data cell as it goes into the file.
    static QByteArray cellText(const QString &text);
    static QByteArray cellText(QByteArrayView windows1252);

private:
    void put(QByteArrayView bytes);
    void flush();

    QIODevice &m_out;
    QByteArray m_buffer;
};

// Writes a whole document to `path`: into a temporary file in the same folder
// that replaces the old file only once it is complete, so a failure part-way
// leaves the previous file as it was. `rows` writes the data rows.
// Throws SpreadsheetError.
void writeSpreadsheetFile(const QString &path, const QString &worksheet, const QList<SpreadsheetColumn> &columns,
                          const std::function<void(SpreadsheetWriter &)> &rows);

} // namespace qv
