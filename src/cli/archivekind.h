#pragma once
#include "archive/archivejournal.h"
#include "archive/record.h"
#include "archive/tarchivio.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

// The kinds of archive as the command line names them, and a read-only
// view of an archive file's raw bytes for commands that must see them as they
// are (the program's own reading repairs what it can).
namespace qv::cli {

struct ArchiveKind
{
    QString word;        // events, participants, reservations, attendance, exits
    QString description; // for reports
    const RecordLayout *layout;
    QString yesNoField;  // the one yes/no field of the record
    QString contents;    // what such an archive holds: "partecipanti"
};

const QList<ArchiveKind> &archiveKinds();
// The words of every kind, joined: "events|participants|..." for a usage line.
QString kindWords(const QString &separator);
// By its command-line word; raises a usage error for any other word.
const ArchiveKind &kindNamed(const QString &word);
// The kind an archive's file name tells (Eventi*, Partecipanti*,
// Posti_Riservati_Evento_*, Presenze_Evento_*, Uscite_Evento_*), or nullptr.
const ArchiveKind *kindOfFile(const QString &path);
// The kind given by --kind, else by the file name; raises a usage error when
// neither tells.
const ArchiveKind &kindFor(const QString &path, const QString &kindOption);

// The events on the disk, counted without creating or changing the archive.
qint64 eventCount();
// The event number a command was given, from 1 up to eventCount(): a usage
// error (which shows `usage`) for anything but a number, a negative answer
// for an event that is not there.
qint64 existingEvent(const QString &argument, const QString &usage);
// The raw record of an existing event, read without creating or changing
// the archive; a file error when it cannot be read.
QByteArray eventRecord(qint64 event);

// A write cut part-way leaves its journal: the archive is put back as it was
// before that write, as the program's next write would do. nullopt when it
// could not be (another desk writes, a folder that may not be written, a
// journal that cannot be read).
std::optional<TArchivio::Recovery> undoInterruptedWrite(const QString &path);

// An archive opened read-only: never created, never changed. The journal
// of a write cut part-way that is still there is read as the state before
// that write; one that cannot be read is a file error.
class RawArchive
{
public:
    // The kind from --kind or else the file name (kindFor). Raises a file
    // error when the path is missing, a folder or unreadable.
    RawArchive(const QString &path, const QString &kindOption);

    const ArchiveKind &kind() const { return *m_kind; }
    int recordSize() const { return m_kind->layout->size(); }
    qint64 fileSize() const { return m_size; }
    qint64 recordCount() const { return m_size / recordSize(); }
    qint64 tailBytes() const { return m_size % recordSize(); }

    // The next whole records, at most maxRecords of them, in one read; false
    // at the end. `first` is the 0-based index of the first one.
    bool nextBlock(QByteArray &block, qint64 &first, qint64 maxRecords = 256);

private:
    const ArchiveKind *m_kind = nullptr;
    QFile m_file;
    // A write cut part-way that could not be undone (a read-only folder):
    // the archive reads as its journal says it was before that write.
    std::optional<ArchiveJournal> m_before;
    qint64 m_size = 0;
    qint64 m_next = 0;
};

} // namespace qv::cli
