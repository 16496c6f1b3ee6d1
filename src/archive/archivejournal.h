#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

namespace qv {

// What a write is about to change in an archive, kept in "<archive>.journal"
// until the write is done: the archive's size before it and the bytes it will
// overwrite. Putting them back returns the archive to that state exactly,
// whatever part of the write reached the disk.
//
// The file holds a fixed heading ("QVJ1", then the old size, the offset and
// the number of saved bytes as little-endian 64-bit numbers), the saved bytes,
// and a SHA-256 of all that. A journal that is shorter, longer or does not
// match its hash was cut while being written: the archive was not touched yet.
struct ArchiveJournal
{
    qint64 oldSize = 0;
    qint64 offset = 0;
    QByteArray oldBytes;

    static QString journalPath(const QString &archivePath);
    QByteArray encode() const;
    // nullopt for an incomplete or damaged journal.
    static std::optional<ArchiveJournal> decode(const QByteArray &bytes);
};

} // namespace qv
