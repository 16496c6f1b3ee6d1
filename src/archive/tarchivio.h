#pragma once
#include <QFile>
#include <QString>

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
class TArchivio
{
public:
    TArchivio() = default;
    TArchivio(const QString &path, int recordLength) { Open(path, recordLength); }
    ~TArchivio();
    TArchivio(const TArchivio &) = delete;
    TArchivio &operator=(const TArchivio &) = delete;

    // Creates a missing file empty; never truncates or replaces an existing one.
    void Open(const QString &path, int recordLength);
    qint64 Count() const;          // whole records only; a trailing partial one is ignored
    qint64 Position() const { return m_position; }
    void Seek(qint64 index);       // 0 <= index <= Count()
    void Read(Record &record);
    void Read(QByteArray &bytes);
    // Reads up to maxRecords records from the position on in one go, for
    // sequential scans of large archives; returns how many were read.
    qint64 ReadBlock(QByteArray &bytes, qint64 maxRecords);
    void Write(const Record &record);
    void Write(const QByteArray &bytes);
    bool AtEnd() const { return Position() >= Count(); }
    void Close();
    bool isOpen() const { return m_file.isOpen(); }

private:
    void requireOpen() const;

    QFile m_file;
    int m_length = 0;
    qint64 m_position = 0;
    qint64 m_filePos = 0; // where the device stands, to skip needless seeks
};

} // namespace qv
