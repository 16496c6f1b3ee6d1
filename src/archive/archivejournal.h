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

    // The journal of an archive as found on the disk. Only a journal read
    // whole counts as cut when it does not decode: one that could not be
    // read (an I/O error) says nothing of the archive, and is Unreadable.
    enum class Found { None, Cut, Complete, Unreadable };
    static Found read(const QString &archivePath, ArchiveJournal &journal);

    // Puts the saved bytes over `bytes`, read from the archive at `at`, so
    // that they read as the archive was before the write. False when part of
    // them lies past what the archive held (`readable` bytes were read) and
    // the journal does not say what was there.
    bool patch(QByteArray &bytes, qint64 at, qint64 readable) const;
};

} // namespace qv
