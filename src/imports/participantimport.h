#pragma once
#include "archive/records.h"
#include "imports/sourcetable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Participants imported from a file people exchange (CSV, .xlsx, vCard),
// shared by the participant card's import window and `quorvane-cli import`.
//
//   ParticipantImport session(path);          // heading and the first rows
//   session.heading(), session.preview();      // what the file holds
//   session.mapping(), session.setTarget(...); // columns to card fields
//   session.mappingProblems();                 // must be empty to go on
//   session.convert(row);                      // a preview row as a card
//   session.analyse(progress);                 // problems and duplicates of every row
//   session.commit(withDuplicates, progress);  // one append: all or none
//
// Each column goes to a card field by its heading (the field's name, the
// card's label, the export's heading, or the headings people use: "Nome",
// "Cognome", "E-mail", "Cellulare", "Città", ...), or is ignored; "Cognome"
// and "Nome" are joined into the card's "Cognome e nome" in that order. The
// card's typing rules apply: texts composed (NFC) and trimmed, upper case
// for the fiscal code, IBAN, provinces, sex and postal code, digits only for
// the card and VAT numbers. A row whose fiscal code (not empty), or name and
// birth date, match a card of the archive or an earlier row is a duplicate.
namespace qv::imports {

// Where a column of the file goes.
struct ColumnTarget
{
    // Phone: a telephone whose kind another column names ("Phone 1 - Value"
    // beside "Phone 1 - Label": mobile, work, fax, home), into that box if
    // no other column filled it.
    enum class Kind { Ignored, Field, Surname, GivenName, Phone };
    Kind kind = Kind::Ignored;
    int field = -1; // Kind::Field: the field's index in TSchedaPartecipante::layout()

    static ColumnTarget ignored() { return {}; }
    static ColumnTarget toField(int index) { return {Kind::Field, index}; }
    static ColumnTarget toField(const QString &name); // ignored() for a name the card lacks
    static ColumnTarget surname() { return {Kind::Surname, -1}; }
    static ColumnTarget givenName() { return {Kind::GivenName, -1}; }
    static ColumnTarget phone() { return {Kind::Phone, -1}; }
    bool operator==(const ColumnTarget &other) const = default;
};

// The target a heading names, or ignored() for one that names nothing.
ColumnTarget targetOfHeading(const QString &heading);

// What a file chooser offers: the lists people exchange, then each kind.
QStringList importFileFilters();

// What the user can choose for a column, in the order a list shows them,
// with the words it shows: "(non importare)", "Cognome", "Nome", then the
// card's fields by their labels ("Cognome e nome", "Data di nascita", ...).
struct TargetChoice
{
    ColumnTarget target;
    QString label;
};
const QList<TargetChoice> &targetChoices();
QString targetLabel(const ColumnTarget &target);

// Something about one row, worth telling before anything is written.
struct RowProblem
{
    qint64 line = 0;          // where the row starts in the file
    QString text;             // "colonna 2 (Email): ..."
    bool rowSkipped = false;  // the row cannot become a card
    bool notice = false;      // said, but no fault: it holds nothing up ("stored as typed")
};

// A row that matches a card already in the archive or an earlier row.
struct DuplicateRow
{
    qint64 line = 0;
    qint64 card = 0;        // the card's record number, or 0
    qint64 earlierLine = 0; // else the earlier row's line
    bool sameFiscalCode = false; // else the same name and birth date
    QString text() const;   // "doppione della scheda 12 (stesso codice fiscale)"
};

// A row as it becomes a card.
struct ImportedRow
{
    TSchedaPartecipante card;
    QList<RowProblem> problems;
    bool skipped = false;
};

struct ImportAnalysis
{
    static constexpr int kListed = 1000; // problems and duplicates listed, at most

    qint64 rows = 0;             // data rows of the file
    qint64 importable = 0;       // rows that become cards, duplicates included
    qint64 duplicates = 0;       // of those, duplicates
    qint64 skipped = 0;          // rows that cannot become cards
    qint64 problems = 0;         // every problem found
    qint64 notices = 0;          // what is said of a row but holds nothing up
    qint64 rowsWithProblems = 0;
    QList<RowProblem> listedProblems;
    QList<DuplicateRow> listedDuplicates;
    QList<qint64> ignoredFilled; // by column: rows with a value in a column left out
};

struct ImportResult
{
    qint64 added = 0;
    qint64 first = 0; // record numbers of the first and last card added
    qint64 last = 0;
    qint64 duplicatesLeftOut = 0;
};

// The progress of a long step: how far, out of how much. Returning false
// cancels the step (ImportCancelled), leaving the archive as it was.
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

class ImportCancelled : public std::exception
{
public:
    const char *what() const noexcept override { return "import cancelled"; }
};

class ParticipantImport
{
public:
    static constexpr int kPreviewRows = 20;

    // Opens the file and reads its heading and first rows; maps the columns
    // by their headings. Throws ImportError.
    explicit ParticipantImport(const QString &path,
                               const QString &archivePath = TSchedaPartecipante::archivePath());
    ~ParticipantImport();

    const QString &path() const { return m_path; }
    const QStringList &heading() const { return m_heading; }
    const QList<SourceRow> &preview() const { return m_preview; }

    const QList<ColumnTarget> &mapping() const { return m_mapping; }
    void setTarget(int column, const ColumnTarget &target);
    // What keeps the import from going on until the mapping changes: a
    // field fed by two columns, no column for the name.
    QStringList mappingProblems() const;
    // The columns left out and why, one sentence each (a column with no
    // heading, the record number of a dump, a heading that names nothing),
    // with the number of rows that hold a value there once analysed.
    QStringList ignoredColumns() const;

    // A row (of the preview, say) as it would become a card.
    ImportedRow convert(const SourceRow &row) const;

    // Reads the whole file: every problem, every duplicate. Throws
    // ImportError, ImportCancelled, ArchiveError (the archive's cards could
    // not be read for the duplicates).
    const ImportAnalysis &analyse(const ImportProgress &progress = {});
    // Whether analyse() has run with the mapping as it is.
    const ImportAnalysis *analysis() const { return m_analysed ? &m_analysis : nullptr; }

    // Appends every row that can become a card (duplicates only when asked)
    // in one write under the archive's lock: all of them or none. Analyses
    // first when the mapping changed since. The rows are those the analysis
    // read, even if the file changed since. Throws ImportError,
    // ImportCancelled, ArchiveError.
    ImportResult commit(bool withDuplicates, const ImportProgress &progress = {});

private:
    struct Pass;
    class RowSpool;
    void readArchiveKeys();
    // The rows to go through: the spool of the first reading, or the file.
    std::unique_ptr<SourceTable> rows() const;

    QString m_path;
    QString m_archivePath;
    QStringList m_heading;
    QList<SourceRow> m_preview;
    QList<ColumnTarget> m_mapping;
    QList<int> m_labelColumns; // by column: the column naming its kind ("Phone 1 - Label"), or -1
    ImportAnalysis m_analysis;
    bool m_analysed = false;
    // The file's rows as the first analysis read them, in a temporary file:
    // what was analysed is what is appended, and a later pass (a changed
    // mapping, the append) need not parse the file again.
    std::unique_ptr<RowSpool> m_spool;
    QHash<quint64, qint64> m_archiveKeys; // duplicate keys of the archive's cards -> record number
};

} // namespace qv::imports
