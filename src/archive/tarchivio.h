#pragma once
#include <QFile>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

#include "archive/archivejournal.h"

namespace qv {

class ArchiveLock;

// Every failure of an archive file: opening, reading, writing, closing.
class ArchiveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Record;

// A file of fixed-length records with no header, addressed by 0-based index.
// Records are only appended or overwritten in place. The file is closed when
// the object goes out of scope, so every action opens, works and closes.
//
// Several desks may share the folder. Every write holds the archive's lock
// (ArchiveLock, "<archive>.lock") for the write alone, and reads the size of
// the file under it: Append() is the one way to add records, and takes its
// place from that size, so two desks never write the same record. Write()
// only overwrites a record that is there.
//
// A write is all or nothing: before it changes the archive, the bytes it will
// change (and the old size) go to "<archive>.journal" and reach the disk;
// the journal goes once the write has. A desk that dies part-way leaves a
// complete journal, and the next write (or open) puts the old state back.
// A reader that may not put it back (a read-only folder, a write going on)
// reads the archive as the journal says it was; one whose journal cannot be
// read fails rather than read a write half done.
class TArchivio
{
public:
    enum class Access {
        ReadWrite, // an existing file that cannot be written is an error
        Read,      // windows that only read: a read-only file opens read-only
    };

    TArchivio() = default;
    TArchivio(const QString &path, int recordLength, Access access = Access::ReadWrite)
    {
        Open(path, recordLength, access);
    }
    ~TArchivio();
    TArchivio(const TArchivio &) = delete;
    TArchivio &operator=(const TArchivio &) = delete;

    // Creates a missing file empty (where the folder allows it); never
    // truncates or replaces an existing one.
    void Open(const QString &path, int recordLength, Access access = Access::ReadWrite);
    qint64 Count() const;          // whole records only; a trailing partial one is ignored
    qint64 Position() const { return m_position; }
    void Seek(qint64 index);       // 0 <= index <= Count()
    void Read(Record &record);
    void Read(QByteArray &bytes);
    // Reads up to maxRecords records from the position on in one go, for
    // sequential scans of large archives; returns how many were read.
    qint64 ReadBlock(QByteArray &bytes, qint64 maxRecords);
    // Overwrites the record at the position. A position that is not a record
    // of the file as it stands under the lock (the end, or a file cut since)
    // is refused: new records are added with Append(). Afterwards Position()
    // is the 1-based number of the record written.
    void Write(const Record &record);
    void Write(const QByteArray &bytes);
    // Appends after the last record; returns its 1-based number (= Position()).
    // Several records given at once (an import) are written under one lock and
    // all or none of them are stored.
    qint64 Append(const Record &record);
    qint64 Append(const QByteArray &bytes);
    // An append too large to hold in memory (an import of many records):
    // `next` fills `block` with the next whole records and returns false
    // once there are no more. Every block is written under the one lock and
    // the one journal, so all the records are stored or none: a failed write
    // or an exception thrown by `next` puts the archive back and is raised
    // again. Returns the number of the last record (the record count when
    // `next` gave none).
    using RecordBlocks = std::function<bool(QByteArray &block)>;
    qint64 Append(const RecordBlocks &next);
    // Overwrites the record at the position only if it still holds `loaded`
    // (or already holds the new bytes); returns false and writes nothing when
    // someone else changed it since it was loaded.
    bool WriteIfUnchanged(const Record &record, const QByteArray &loaded);
    bool WriteIfUnchanged(const QByteArray &bytes, const QByteArray &loaded);
    // Appends one record unless a record of the archive stands in its way
    // (an entry that may be made only once). `inTheWay` is asked about every
    // whole record on the disk as it stands under the write lock, and the
    // append is made under that same lock, so of several desks appending the
    // same entry at once exactly one does. When a record is in the way
    // nothing is written and the first such record is returned.
    using RecordTest = std::function<bool(const QByteArray &record)>;
    struct AppendOutcome
    {
        bool appended = false;
        qint64 number = 0;  // 1-based: the record appended, or the one in the way
        QByteArray record;  // the bytes of the record in the way
    };
    AppendOutcome AppendUnless(const QByteArray &bytes, const RecordTest &inTheWay);
    bool AtEnd() const { requireOpen(); return Position() >= recordsOnDisk(); }
    void Close();
    bool isOpen() const { return m_file.isOpen(); }
    bool isReadOnly() const { return m_readOnly; }

    // The lock file that guards the writes to an archive, and the journal of
    // the write in progress.
    static QString lockPath(const QString &archivePath);
    static QString journalPath(const QString &archivePath);

    // What a look for an interrupted write found: no journal; a journal cut
    // before the archive was touched (removed); a complete one (the archive
    // put back as it was before that write).
    enum class Recovery { Nothing, Discarded, RolledBack };
    // Looks under the lock, waiting as a write does. Raises ArchiveError when
    // the lock is not had or the old state cannot be put back.
    static Recovery recoverInterruptedWrite(const QString &archivePath);
    // Runs `work` while holding the archive's write lock, as a write would
    // (waiting up to lockTimeout()), after undoing an interrupted write: no
    // desk writes meanwhile and the file is in a consistent state, e.g. for a
    // copy. Raises ArchiveError when the lock is not had or the old state
    // cannot be put back; a missing archive is no error.
    static void underWriteLock(const QString &archivePath, const std::function<void()> &work);
    // How long a write waits for the lock before it fails (a few seconds).
    static int lockTimeout();
    static void setLockTimeout(int milliseconds); // below 0 restores the default

    // Test seam: every byte an archive or its journal writes goes through
    // here (file.fileName() tells which), so tests can fail a write part-way
    // (a full disk, a dropped network). Returns the number of bytes written,
    // or -1. Empty restores the real writes.
    using WriteHook = std::function<qint64(QFile &file, const char *data, qint64 size)>;
    static void setWriteHook(WriteHook hook);

private:
    enum class Target { Position, End };
    // Writes under the lock; false only when `loaded` is given and the record
    // on disk differs from it, or when `unless` finds a record in the way of
    // an append (then described in `outcome`).
    bool writeLocked(const QByteArray &bytes, Target target, const QByteArray *loaded,
                     const RecordTest *unless = nullptr, AppendOutcome *outcome = nullptr);
    // The first of the `count` records of the open write handle for which
    // `test` is true, read in large blocks; false when there is none.
    bool findOnDisk(QFile &file, qint64 count, const RecordTest &test, AppendOutcome &found) const;
    // The lock had and the file opened for a write, an interrupted write
    // undone first.
    void beginWrite(ArchiveLock &lock, QFile &file);
    // The write on the disk: its journal removed (or the write undone and
    // an error raised), the position after the records written (`next`).
    void endWrite(QFile &file, const ArchiveJournal &journal, qint64 next);
    void requireOpen() const;
    void moveTo(qint64 index);
    qint64 recordsOnDisk() const;
    // A journal found at open that could not be applied: kept as the state
    // to read. Raises ArchiveError when the journal cannot be read.
    void readAsBefore(const QString &path);
    // Reads bytes.size() bytes at `offset`, as the archive is to be read.
    void readAt(qint64 offset, QByteArray &bytes);

    QFile m_file;
    QString m_path;
    int m_length = 0;
    bool m_readOnly = false;
    qint64 m_position = 0;
    // The number of records the caller was last told of (at open, by Count(),
    // by an append): an overwrite at or past it is refused.
    mutable qint64 m_givenCount = 0;
    qint64 m_filePos = 0; // where the device stands, to skip needless seeks
    // An interrupted write this handle could not undo: reads see the
    // archive as it was before it (its size and bytes from the journal).
    std::optional<ArchiveJournal> m_before;
};

} // namespace qv
