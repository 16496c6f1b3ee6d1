#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

// The file work of backups and restores: reading with a hash, copying with a
// hash, hard links. Failures raise Backup::Error.
namespace qv::Backup {

// Called after each block read, with its size; may raise to stop the work
// (a cancelled backup).
using BlockDone = std::function<void(qint64 bytes)>;

// `name` in `folder` (which may end with '/').
QString pathIn(const QString &folder, const QString &name);
// Puts what was created in or removed from a folder on the disk.
void syncFolder(const QString &folder);

// A file's content as a backup records it.
struct Digest
{
    QByteArray sha256; // lower-case hexadecimal
    qint64 size = 0;
};

// The SHA-256 of `bytes`, in lower-case hexadecimal.
QByteArray sha256Hex(const QByteArray &bytes);
// Reads the whole file.
Digest hashFile(const QString &path, const BlockDone &done = {});
// Copies `source` into `target` (open for writing, empty), hashing what it
// copies, and puts the copy on the disk.
Digest copyInto(const QString &source, QFile &target, const BlockDone &done = {});
// Writes a small new file whole and puts it on the disk.
void writeNewFile(const QString &path, const QByteArray &bytes);

// The names of the files in a folder, sorted; none for a missing folder.
// Raises Error when the folder cannot be read to the end: a list cut short
// would pass for the whole (a backup without an archive, a restore that
// leaves one).
QStringList filesIn(const QString &folder);

// Whether the system says there is no file at `path` (not: could not tell,
// an error reading the folder).
bool fileGone(const QString &path);

// Puts `source` in the place of `target` in one step, replacing a file
// already there; both in one folder. False on failure.
bool replaceFile(const QString &source, const QString &target);

// Makes `link` a second name of the file `existing` (a hard link: one content
// on the disk); false where the file system does not allow it (another
// device, a file system without links) or `link` exists.
bool hardLink(const QString &existing, const QString &link);
// Test seam: every hard link goes through here. Empty restores the real one.
using LinkHook = std::function<bool(const QString &existing, const QString &link)>;
void setLinkHook(LinkHook hook);

// The same text for two names of one file as long as it is not changed
// (device, file number, size, time of change); empty where the system does
// not tell. Lets a file linked into several backups be read once.
QByteArray fileIdentity(const QString &path);

} // namespace qv::Backup
