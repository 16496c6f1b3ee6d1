#include "archive/tarchivio.h"

#include "archive/archivejournal.h"
#include "archive/archivelock.h"
#include "archive/filesync.h"
#include "archive/record.h"

#include <QFileInfo>

#include <algorithm>

namespace qv {

namespace {

constexpr int kDefaultLockTimeout = 5000;
int s_lockTimeout = kDefaultLockTimeout;
TArchivio::WriteHook s_writeHook;

qint64 writeBytes(QFile &file, const char *data, qint64 size)
{
    return s_writeHook ? s_writeHook(file, data, size) : file.write(data, size);
}

bool writeAll(QFile &file, qint64 offset, const QByteArray &bytes)
{
    return file.seek(offset) && writeBytes(file, bytes.constData(), bytes.size()) == bytes.size();
}

// The size of the open archive; an archive whose size cannot be had is an
// error, never an empty one.
qint64 sizeOf(const QFile &file)
{
    const qint64 size = fileSize(file);
    if (size < 0)
        throw ArchiveError("cannot read the size of the archive");
    return size;
}

// Puts the archive back as the journal saw it before the write; false when
// that could not be done (the journal is then kept for the next try).
bool putBack(QFile &archive, const ArchiveJournal &journal)
{
    if (!journal.oldBytes.isEmpty() && !writeAll(archive, journal.offset, journal.oldBytes))
        return false;
    return archive.resize(journal.oldSize) && syncFile(archive);
}

// Writes the journal and makes sure it is on the disk before the archive is
// touched. On failure nothing of it is left behind.
void writeJournal(const QString &archivePath, const ArchiveJournal &journal)
{
    const QString path = ArchiveJournal::journalPath(archivePath);
    QFile file(path);
    const QByteArray bytes = journal.encode();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
                         && writeBytes(file, bytes.constData(), bytes.size()) == bytes.size() && syncFile(file);
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        QFile::remove(path);
        throw ArchiveError("cannot write the journal of the archive");
    }
    syncFolderOf(path); // the journal's name must outlive a power cut too
}

// Once the write is on the disk its journal must go for good, or the next
// write would undo it. False when it could not be removed nor emptied.
bool dropJournal(const QString &archivePath)
{
    const QString path = ArchiveJournal::journalPath(archivePath);
    bool gone = QFile::remove(path) || !QFile::exists(path);
    if (!gone) {
        // A folder that lets a file be written but not removed: an empty
        // journal reads as one cut before the write, which changes nothing.
        QFile file(path);
        gone = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && syncFile(file);
    }
    if (gone)
        syncFolderOf(path);
    return gone;
}

// Under the archive's lock: undoes what a write that died part-way left.
TArchivio::Recovery recoverUnderLock(QFile &archive, const QString &archivePath)
{
    ArchiveJournal journal;
    const ArchiveJournal::Found found = ArchiveJournal::read(archivePath, journal);
    if (found == ArchiveJournal::Found::None)
        return TArchivio::Recovery::Nothing;
    // A journal not read whole may be a complete one: it is kept, and
    // nothing is written until it can be read.
    if (found == ArchiveJournal::Found::Unreadable)
        throw ArchiveError("cannot read the journal of the archive");
    const bool complete = found == ArchiveJournal::Found::Complete;
    if (complete && !putBack(archive, journal))
        throw ArchiveError("cannot put back the archive from its journal");
    if (!dropJournal(archivePath))
        throw ArchiveError("cannot remove the journal of the archive");
    return complete ? TArchivio::Recovery::RolledBack : TArchivio::Recovery::Discarded;
}

// A write that failed: the archive put back at once, its journal gone with
// it (or kept for the next write when the archive could not be put back).
void undoWrite(QFile &archive, const QString &archivePath, const ArchiveJournal &journal)
{
    if (putBack(archive, journal))
        dropJournal(archivePath);
}

// The archive opened for a write, under its lock: a handle of its own sees
// the file as it is now (also on network folders), and a file removed since
// the action began is an error rather than a new empty archive.
void openForWriting(QFile &file)
{
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly))
        throw ArchiveError("cannot open the archive for writing");
}

} // namespace

TArchivio::~TArchivio()
{
    if (m_file.isOpen())
        m_file.close();
}

QString TArchivio::lockPath(const QString &archivePath)
{
    return ArchiveLock::lockPath(archivePath);
}

QString TArchivio::journalPath(const QString &archivePath)
{
    return ArchiveJournal::journalPath(archivePath);
}

int TArchivio::lockTimeout()
{
    return s_lockTimeout;
}

void TArchivio::setLockTimeout(int milliseconds)
{
    s_lockTimeout = milliseconds < 0 ? kDefaultLockTimeout : milliseconds;
}

void TArchivio::setWriteHook(WriteHook hook)
{
    s_writeHook = std::move(hook);
}

void TArchivio::underWriteLock(const QString &archivePath, const std::function<void()> &work)
{
    ArchiveLock lock(archivePath);
    if (!lock.acquire(s_lockTimeout))
        throw ArchiveError("archive locked");
    if (QFile::exists(journalPath(archivePath))) {
        QFile file(archivePath);
        openForWriting(file);
        recoverUnderLock(file, archivePath);
    }
    work();
}

TArchivio::Recovery TArchivio::recoverInterruptedWrite(const QString &archivePath)
{
    if (!QFile::exists(journalPath(archivePath)))
        return Recovery::Nothing;
    ArchiveLock lock(archivePath);
    if (!lock.acquire(s_lockTimeout))
        throw ArchiveError("archive locked");
    QFile file(archivePath);
    openForWriting(file);
    return recoverUnderLock(file, archivePath);
}

void TArchivio::Open(const QString &path, int recordLength, Access access)
{
    if (m_file.isOpen())
        Close();
    if (recordLength <= 0)
        throw ArchiveError("invalid record length");
    m_file.setFileName(path);
    // Unbuffered: writes go through a handle of their own under the lock, so
    // this one must never serve stale bytes from a buffer.
    // ReadWrite without Truncate creates a missing file, keeps an existing one,
    // and fails on a read-only file or a folder of that name. A window that
    // only reads falls back to reading an existing file it may not write.
    bool opened = m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    m_readOnly = false;
    if (!opened && access == Access::Read && QFileInfo(path).isFile()) {
        opened = m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        m_readOnly = opened;
    }
    if (!opened)
        throw ArchiveError(("cannot open " + path).toStdString());
    m_before.reset();
    if (QFile::exists(journalPath(path))) {
        // A desk died part-way through a write: put the old state back before
        // reading, unless a write is going on now (its journal is its own).
        bool recovered = false;
        if (!m_readOnly) {
            ArchiveLock lock(path);
            if (lock.acquire(0)) {
                try {
                    QFile file(path);
                    openForWriting(file);
                    recoverUnderLock(file, path);
                    recovered = true;
                } catch (const ArchiveError &) {
                }
            }
        }
        // Not undone (a folder that may not be written, a write going on, a
        // failure met again by the next write): the archive is read as its
        // journal says it was before that write, never half written.
        if (!recovered)
            readAsBefore(path);
    }
    m_path = path;
    m_length = recordLength;
    m_filePos = 0;
    m_givenCount = recordsOnDisk();
    moveTo(0);
}

void TArchivio::requireOpen() const
{
    if (!m_file.isOpen())
        throw ArchiveError("archive not open");
}

void TArchivio::readAsBefore(const QString &path)
{
    ArchiveJournal journal;
    switch (ArchiveJournal::read(path, journal)) {
    case ArchiveJournal::Found::None:
    case ArchiveJournal::Found::Cut: // the archive was not touched yet
        return;
    case ArchiveJournal::Found::Unreadable:
        m_file.close();
        throw ArchiveError(("cannot read the journal of " + path).toStdString());
    case ArchiveJournal::Found::Complete:
        m_before = std::move(journal);
        return;
    }
}

qint64 TArchivio::recordsOnDisk() const
{
    return (m_before ? m_before->oldSize : sizeOf(m_file)) / m_length;
}

void TArchivio::readAt(qint64 offset, QByteArray &bytes)
{
    if (m_filePos != offset && !m_file.seek(offset)) {
        m_filePos = -1;
        throw ArchiveError("seek failed");
    }
    const qint64 got = m_file.read(bytes.data(), bytes.size());
    if (got < 0 || (got != bytes.size() && !m_before)) {
        m_filePos = -1;
        throw ArchiveError("read failed");
    }
    m_filePos = offset + got;
    if (m_before && !m_before->patch(bytes, offset, got)) {
        m_filePos = -1;
        throw ArchiveError("read failed");
    }
}

qint64 TArchivio::Count() const
{
    requireOpen();
    m_givenCount = recordsOnDisk();
    return m_givenCount;
}

void TArchivio::moveTo(qint64 index)
{
    m_position = index;
}

void TArchivio::Seek(qint64 index)
{
    requireOpen();
    if (index < 0 || index > recordsOnDisk())
        throw ArchiveError("seek outside the archive");
    moveTo(index);
}

void TArchivio::Read(QByteArray &bytes)
{
    requireOpen();
    if (m_position >= recordsOnDisk())
        throw ArchiveError("read past the end of the archive");
    bytes.resize(m_length);
    readAt(m_position * m_length, bytes);
    moveTo(m_position + 1);
}

qint64 TArchivio::ReadBlock(QByteArray &bytes, qint64 maxRecords)
{
    requireOpen();
    const qint64 count = std::min(std::max<qint64>(maxRecords, 0), recordsOnDisk() - m_position);
    if (count <= 0) {
        bytes.clear();
        return 0;
    }
    bytes.resize(count * m_length);
    readAt(m_position * m_length, bytes);
    moveTo(m_position + count);
    return count;
}

void TArchivio::Read(Record &record)
{
    QByteArray bytes;
    Read(bytes);
    record.setBytes(bytes);
}

bool TArchivio::findOnDisk(QFile &file, qint64 count, const RecordTest &test, AppendOutcome &found) const
{
    const qint64 perBlock = std::max<qint64>(1, (1 << 20) / m_length);
    QByteArray block;
    for (qint64 first = 0; first < count; first += perBlock) {
        const qint64 records = std::min(perBlock, count - first);
        block.resize(records * m_length);
        if (!file.seek(first * m_length) || file.read(block.data(), block.size()) != block.size())
            throw ArchiveError("read failed");
        for (qint64 i = 0; i < records; ++i) {
            const QByteArray record = block.mid(i * m_length, m_length);
            if (test(record)) {
                found.number = first + i + 1;
                found.record = record;
                return true;
            }
        }
    }
    return false;
}

bool TArchivio::writeLocked(const QByteArray &bytes, Target target, const QByteArray *loaded,
                            const RecordTest *unless, AppendOutcome *outcome)
{
    requireOpen();
    const qint64 records = bytes.size() / m_length;
    if (bytes.isEmpty() || bytes.size() % m_length != 0 || (records != 1 && target != Target::End))
        throw ArchiveError("record of the wrong length");
    ArchiveLock lock(m_path);
    QFile file(m_path);
    beginWrite(lock, file);

    // Where a new record goes is decided here, from the file as it stands
    // under the lock, never from a size read before. An overwrite must name a
    // record the caller knew of and that is still there: a position that was
    // the end when the caller last counted may since hold another desk's
    // new record.
    const qint64 size = sizeOf(file);
    const qint64 count = size / m_length;
    const qint64 index = target == Target::End ? count : m_position;
    if (target != Target::End && (index >= m_givenCount || index >= count))
        throw ArchiveError("no record at this position: records are added with Append");
    // Whether the entry may be made is decided here too, from the records
    // as they stand under the lock: a look taken before could be stale.
    if (unless && findOnDisk(file, count, *unless, *outcome))
        return false;
    const qint64 offset = index * m_length;

    // What is there now: compared with what the caller loaded, and kept in
    // the journal so that the write is all or nothing. An append over a
    // torn tail keeps the tail's bytes too.
    ArchiveJournal journal;
    journal.oldSize = size;
    journal.offset = offset;
    const qint64 changed = std::min<qint64>(bytes.size(), std::max<qint64>(size - offset, 0));
    journal.oldBytes.resize(changed);
    if (changed > 0
        && (!file.seek(offset) || file.read(journal.oldBytes.data(), changed) != changed))
        throw ArchiveError("read failed");
    if (target == Target::Position) {
        if (loaded && journal.oldBytes != *loaded && journal.oldBytes != bytes)
            return false;
        if (journal.oldBytes == bytes) { // already on the disk: nothing to change
            moveTo(index + 1);
            return true;
        }
    }

    writeJournal(m_path, journal);
    if (!writeAll(file, offset, bytes) || !syncFile(file)) {
        undoWrite(file, m_path, journal);
        throw ArchiveError("write failed");
    }
    endWrite(file, journal, index + records);
    return true;
}

void TArchivio::endWrite(QFile &file, const ArchiveJournal &journal, qint64 next)
{
    if (!dropJournal(m_path)) {
        // The journal would undo this write later: undo it now and say so.
        putBack(file, journal);
        throw ArchiveError("cannot remove the journal of the archive");
    }
    file.close();
    moveTo(next);
    m_givenCount = std::max(m_givenCount, next);
}

void TArchivio::beginWrite(ArchiveLock &lock, QFile &file)
{
    if (m_readOnly)
        throw ArchiveError("archive opened for reading only");
    if (!lock.acquire(s_lockTimeout))
        throw ArchiveError("archive locked");
    openForWriting(file);
    recoverUnderLock(file, m_path);
    // Under the lock the file is as it stands between writes again.
    m_before.reset();
}

qint64 TArchivio::Append(const RecordBlocks &next)
{
    requireOpen();
    ArchiveLock lock(m_path);
    QFile file(m_path);
    beginWrite(lock, file);

    // As for any append: the place from the size under the lock, and a torn
    // tail's bytes kept in the journal, since the first record covers them.
    const qint64 size = sizeOf(file);
    const qint64 index = size / m_length;
    ArchiveJournal journal;
    journal.oldSize = size;
    journal.offset = index * m_length;
    journal.oldBytes.resize(size - journal.offset);
    if (!journal.oldBytes.isEmpty()
        && (!file.seek(journal.offset) || file.read(journal.oldBytes.data(), journal.oldBytes.size())
                                              != journal.oldBytes.size()))
        throw ArchiveError("read failed");

    writeJournal(m_path, journal);
    qint64 records = 0;
    try {
        if (!file.seek(journal.offset))
            throw ArchiveError("seek failed");
        QByteArray block;
        while (next(block)) {
            if (block.size() % m_length != 0)
                throw ArchiveError("record of the wrong length");
            if (writeBytes(file, block.constData(), block.size()) != block.size())
                throw ArchiveError("write failed");
            records += block.size() / m_length;
        }
        if (!syncFile(file))
            throw ArchiveError("write failed");
    } catch (...) {
        undoWrite(file, m_path, journal);
        throw;
    }
    endWrite(file, journal, index + records);
    return index + records;
}

void TArchivio::Write(const QByteArray &bytes)
{
    writeLocked(bytes, Target::Position, nullptr);
}

void TArchivio::Write(const Record &record)
{
    Write(record.bytes());
}

qint64 TArchivio::Append(const QByteArray &bytes)
{
    writeLocked(bytes, Target::End, nullptr);
    return m_position;
}

qint64 TArchivio::Append(const Record &record)
{
    return Append(record.bytes());
}

bool TArchivio::WriteIfUnchanged(const QByteArray &bytes, const QByteArray &loaded)
{
    return writeLocked(bytes, Target::Position, &loaded);
}

TArchivio::AppendOutcome TArchivio::AppendUnless(const QByteArray &bytes, const RecordTest &inTheWay)
{
    requireOpen();
    AppendOutcome outcome;
    if (bytes.size() != m_length)
        throw ArchiveError("record of the wrong length");
    if (writeLocked(bytes, Target::End, nullptr, &inTheWay, &outcome)) {
        outcome.appended = true;
        outcome.number = m_position;
        outcome.record.clear();
    }
    return outcome;
}

bool TArchivio::WriteIfUnchanged(const Record &record, const QByteArray &loaded)
{
    return WriteIfUnchanged(record.bytes(), loaded);
}

void TArchivio::Close()
{
    if (!m_file.isOpen())
        return;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        throw ArchiveError("close failed");
}

} // namespace qv
