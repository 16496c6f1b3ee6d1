#pragma once
#include "archive/record.h"
#include "output/listlines.h"
#include "output/spreadsheet.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

// What an export shows and writes: its columns, each one text composed from
// a record, and its file. Widget-free, so the same export can be written
// without the window.
namespace qv {

// A cell text as a template: "{Field}" stands for the field's trimmed text,
// everything else is written as it stands, e.g. "Data: {DataInizio} - Ora: {OraInizio}".
class CellTemplate
{
public:
    CellTemplate() = default;
    // Throws std::invalid_argument for a field the layout does not have.
    CellTemplate(const RecordLayout &layout, const QString &text);

    // Appends the cell's Windows-1252 text composed from the record.
    void compose(const RecordView &record, QByteArray &out) const;
    // The longest text compose can give.
    int maxLength() const;
    // The other way: the fields a cell text was composed from, as far as
    // the literals between them tell them apart, each trimmed, as (field,
    // text) pairs in template order. A literal of blanks alone splits at its
    // last occurrence, and only where what follows fits the next field
    // ("Reggio Emilia RE" for "{ComuneRes} {ProvRes}"); a literal not found
    // leaves the rest of the text to the field before it and nothing to the
    // fields after.
    QList<std::pair<int, QString>> fieldsOf(const QString &text) const;

private:
    struct Part
    {
        int field = -1;     // -1: a literal
        QByteArray literal; // Windows-1252
        int length = 0;     // a field's declared length
    };
    QList<Part> m_parts;
};

// A column of the data formats (.xlsx, CSV), where a cell of the export may
// become several (a date and a time apart) and a value keeps its kind (a
// date a date, an amount a number), so that a spreadsheet can sort and add.
struct DataColumn
{
    enum class Kind { Text, Date, Amount };
    QString heading;
    int width = 0;
    int field = -1; // the field of the cell's template it holds; -1: the whole cell
    Kind kind = Kind::Text;
};

struct ExportColumn
{
    QString name;        // "colTitolo"
    QString heading;     // on screen
    int width = 0;       // on screen
    bool editable = false;
    CellTemplate cell;
    SpreadsheetColumn file; // heading and width in the file
    QList<DataColumn> data; // in the .xlsx and CSV, if not as in the file
};

struct ExportLayout
{
    const RecordLayout *record = nullptr;
    QList<ExportColumn> columns; // the exported ones, in order; "N." is the grid's own
    QString fileName;            // in the program folder
    QString worksheet;

    QList<SpreadsheetColumn> fileColumns() const;
    // The columns of the .xlsx and CSV, and a row of cell texts (one per
    // column, in order) as their values: a cell made of several fields
    // split into them (CellTemplate::fieldsOf), the others as they are.
    QList<DataColumn> dataColumns() const;
    QStringList dataCells(const QStringList &cells) const;
    // The field texts behind a row of cell texts (one per column, in order),
    // by field name, as far as the cells tell them (CellTemplate::fieldsOf).
    QHash<QString, QString> fieldsOf(const QStringList &cells) const;
};

// Builds a layout from rows of (name, heading, width, editable, cell template,
// file heading, file width).
struct ExportColumnEntry
{
    const char *name;
    const char *heading;
    int width;
    bool editable;
    const char *cell;
    const char *fileHeading;
    int fileWidth;
};
ExportLayout exportLayout(const RecordLayout &record, const QString &fileName, const QString &worksheet,
                          std::initializer_list<ExportColumnEntry> columns);

// The rows of every record of the archive, in file order. The source throws
// ArchiveError when the archive cannot be opened or read.
RowSource archiveRows(const ExportLayout &layout, const QString &archivePath);
// The one row of a record (a card), numbered `number`.
RowSource recordRows(const ExportLayout &layout, const QByteArray &record, qint64 number);


// The three exports.
namespace ExportLayouts {
const ExportLayout &events();       // Eventi.pro -> Riepilogo_Eventi.xls
const ExportLayout &participants(); // Partecipanti.pro -> Partecipanti.xls
const ExportLayout &reservations(); // an event's bookings -> Prenotazioni_Posti.xls
} // namespace ExportLayouts

} // namespace qv
