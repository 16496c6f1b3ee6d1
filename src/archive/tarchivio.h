#pragma once
#include <QFile>
#include <QString>

#include <functional>
#include <stdexcept>

namespace qv {

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
// Several desks may share the folder: every write holds the lock file
// "<archive>.lock" for the write alone, and an append takes its place from the
// file's size at that moment, so two desks never write the same record.
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
    void Seek(qint64 index);       // 0 <= index <= Count(); Seek(Count()) prepares an append
    void Read(Record &record);
    void Read(QByteArray &bytes);
    // Reads up to maxRecords records from the position on in one go, for
    // sequential scans of large archives; returns how many were read.
    qint64 ReadBlock(QByteArray &bytes, qint64 maxRecords);
    // Writes over the record at the position or, when the position is the end
    // of the archive, appends after the last record as the file stands at the
    // moment of writing. Afterwards Position() is the number of the record written.
    void Write(const Record &record);
    void Write(const QByteArray &bytes);
    // Appends after the last record; returns its 1-based number (= Position()).
    // Several records given at once (an import) are written under one lock and
    // all or none of them are stored.
    qint64 Append(const Record &record);
    qint64 Append(const QByteArray &bytes);
    // Overwrites the record at the position only if it still holds `loaded`
    // (or already holds the new bytes); returns false and writes nothing when
    // someone else changed it since it was loaded.
    bool WriteIfUnchanged(const Record &record, const QByteArray &loaded);
    bool WriteIfUnchanged(const QByteArray &bytes, const QByteArray &loaded);
    bool AtEnd() const { return Position() >= Count(); }
    void Close();
    bool isOpen() const { return m_file.isOpen(); }
    bool isReadOnly() const { return m_readOnly; }

    // The lock file that guards the writes to an archive.
    static QString lockPath(const QString &archivePath);
    // How long a write waits for the lock before it fails (a few seconds).
    static int lockTimeout();
    static void setLockTimeout(int milliseconds); // below 0 restores the default

    // Test seam: every byte an archive writes goes through here, so tests can
    // fail a write part-way (a full disk, a dropped network). Returns the
    // number of bytes written, or -1. Empty restores the real writes.
    using WriteHook = std::function<qint64(QFile &file, const char *data, qint64 size)>;
    static void setWriteHook(WriteHook hook);

private:
    enum class Target { Position, End };
    // Writes under the lock; false only when `loaded` is given and the record
    // on disk differs from it.
    bool writeLocked(const QByteArray &bytes, Target target, const QByteArray *loaded);
    void requireOpen() const;
    void moveTo(qint64 index);

    QFile m_file;
    QString m_path;
    int m_length = 0;
    bool m_readOnly = false;
    qint64 m_position = 0;
    bool m_atEnd = true;  // the position was the end of the archive when last set
    qint64 m_filePos = 0; // where the device stands, to skip needless seeks
};

} // namespace qv
