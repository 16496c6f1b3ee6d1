#include "archive/tarchivio.h"

#include "archive/record.h"

#include <algorithm>

namespace qv {

TArchivio::~TArchivio()
{
    if (m_file.isOpen())
        m_file.close();
}

void TArchivio::Open(const QString &path, int recordLength)
{
    if (m_file.isOpen())
        Close();
    if (recordLength <= 0)
        throw ArchiveError("invalid record length");
    m_file.setFileName(path);
    // ReadWrite without Truncate: creates a missing file, keeps an existing one,
    // and fails on a read-only file or a folder of that name.
    if (!m_file.open(QIODevice::ReadWrite))
        throw ArchiveError(("cannot open " + path).toStdString());
    m_length = recordLength;
    m_position = 0;
    m_filePos = 0;
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

void TArchivio::Seek(qint64 index)
{
    requireOpen();
    if (index < 0 || index > Count())
        throw ArchiveError("seek outside the archive");
    m_position = index;
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
    ++m_position;
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
    m_position += count;
    return count;
}

void TArchivio::Read(Record &record)
{
    QByteArray bytes;
    Read(bytes);
    record.setBytes(bytes);
}

void TArchivio::Write(const QByteArray &bytes)
{
    requireOpen();
    if (bytes.size() != m_length)
        throw ArchiveError("record of the wrong length");
    const qint64 offset = m_position * m_length;
    if (!m_file.seek(offset) || m_file.write(bytes) != m_length || !m_file.flush()) {
        m_filePos = -1;
        throw ArchiveError("write failed");
    }
    m_filePos = offset + m_length;
    ++m_position;
}

void TArchivio::Write(const Record &record)
{
    Write(record.bytes());
}

void TArchivio::Close()
{
    if (!m_file.isOpen())
        return;
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed || m_file.error() != QFileDevice::NoError)
        throw ArchiveError("close failed");
}

} // namespace qv
