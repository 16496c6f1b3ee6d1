#include "archive/tarchivio.h"

#include "archive/record.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

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

// QLockFile's own wait starts at 100 ms and doubles; writes last milliseconds,
// so short jittered retries keep desks that write in bursts moving.
bool acquire(QLockFile &lock, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::usleep(500 + QRandomGenerator::global()->bounded(2000));
    }
}

} // namespace

TArchivio::~TArchivio()
{
    if (m_file.isOpen())
        m_file.close();
}

QString TArchivio::lockPath(const QString &archivePath)
{
    return archivePath + QStringLiteral(".lock");
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
    m_path = path;
    m_length = recordLength;
    m_filePos = 0;
    moveTo(0);
}

void TArchivio::requireOpen() const
{
    if (!m_file.isOpen())
        throw ArchiveError("archive not open");
}

qint64 TArchivio::Count() const
{
    requireOpen();
    return m_file.size() / m_length;
}

void TArchivio::moveTo(qint64 index)
{
    m_position = index;
    m_atEnd = index >= Count();
}

void TArchivio::Seek(qint64 index)
{
    requireOpen();
    if (index < 0 || index > Count())
        throw ArchiveError("seek outside the archive");
    moveTo(index);
}

void TArchivio::Read(QByteArray &bytes)
{
    requireOpen();
    if (m_position >= Count())
        throw ArchiveError("read past the end of the archive");
    const qint64 offset = m_position * m_length;
    if (m_filePos != offset && !m_file.seek(offset))
        throw ArchiveError("seek failed");
    bytes.resize(m_length);
    if (m_file.read(bytes.data(), m_length) != m_length) {
        m_filePos = -1;
        throw ArchiveError("read failed");
    }
    m_filePos = offset + m_length;
    moveTo(m_position + 1);
}

qint64 TArchivio::ReadBlock(QByteArray &bytes, qint64 maxRecords)
{
    requireOpen();
    const qint64 count = std::min(std::max<qint64>(maxRecords, 0), Count() - m_position);
    if (count <= 0) {
        bytes.clear();
        return 0;
    }
    const qint64 offset = m_position * m_length;
    if (m_filePos != offset && !m_file.seek(offset))
        throw ArchiveError("seek failed");
    const qint64 size = count * m_length;
    bytes.resize(size);
    if (m_file.read(bytes.data(), size) != size) {
        m_filePos = -1;
        throw ArchiveError("read failed");
    }
    m_filePos = offset + size;
    moveTo(m_position + count);
    return count;
}

void TArchivio::Read(Record &record)
{
    QByteArray bytes;
    Read(bytes);
    record.setBytes(bytes);
}

bool TArchivio::writeLocked(const QByteArray &bytes, Target target, const QByteArray *loaded)
{
    requireOpen();
    if (m_readOnly)
        throw ArchiveError("archive opened for reading only");
    const qint64 records = bytes.size() / m_length;
    if (bytes.isEmpty() || bytes.size() % m_length != 0 || (records != 1 && target != Target::End))
        throw ArchiveError("record of the wrong length");
    QLockFile lock(lockPath(m_path));
    if (!acquire(lock, s_lockTimeout))
        throw ArchiveError("archive locked");

    // A handle of its own, opened under the lock: it sees the file as it is
    // now (also on network folders), and a file removed since Open is an
    // error rather than a new empty archive.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly))
        throw ArchiveError("cannot open the archive for writing");
    const qint64 count = file.size() / m_length;
    const bool append = target == Target::End || m_atEnd;
    const qint64 index = append ? count : m_position;
    if (!append && index >= count) // the file was cut or replaced since the position was set
        throw ArchiveError("record no longer in the archive");
    const qint64 offset = index * m_length;

    // What is there now: compared with what the caller loaded, and put back
    // if the write stops part-way, so a stored record is never left torn.
    QByteArray previous;
    if (index < count) {
        previous.resize(m_length);
        if (!file.seek(offset) || file.read(previous.data(), m_length) != m_length)
            throw ArchiveError("read failed");
        if (loaded && previous != *loaded && previous != bytes)
            return false;
    }
    if (!writeAll(file, offset, bytes)) {
        if (index < count)
            writeAll(file, offset, previous);
        else
            file.resize(offset); // a torn append belongs to no record
        throw ArchiveError("write failed");
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw ArchiveError("write failed");
    moveTo(index + records);
    return true;
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
    if (m_atEnd)
        throw ArchiveError("no record to overwrite at the end of the archive");
    return writeLocked(bytes, Target::Position, &loaded);
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
