#pragma once
#include "backup/backuperror.h"
#include "backup/manifest.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <memory>
#include <stdexcept>

// Backups of the program folder: the archives (every *.pro), the password
// file and the list of attachment names (the attachments themselves when the
// INI file says so), copied into Backup/<yyyy-mm-dd_hhmmss>/ with a manifest.
// Each archive is copied under its write lock, so the copy is a state of the
// file between two writes. A file unchanged since the newest backup is a hard
// link to that backup's copy where the file system allows it and that copy
// still reads as recorded (a damaged copy is never carried on). A backup is
// built under a temporary name, verified, and renamed into place; one that
// cannot be finished or does not verify is removed whole, and older backups
// are removed only after a new one is complete and verified. An archive
// listed that cannot be read fails the backup. Widget-free, for the program and quorvane-cli.
namespace qv {
class ArchiveLock;
}

namespace qv::Backup {

// A backup stopped by its caller (the program closing); nothing of it is left.
class Cancelled : public std::exception
{
};

inline const QString kFolderName = QStringLiteral("Backup");
inline const QString kAttachmentsFolder = QStringLiteral("Documenti_Allegati");
// The list of attachment names in a backup, one name a line (UTF-8).
inline const QString kAttachmentList = QStringLiteral("Documenti_Allegati.txt");
inline constexpr int kDefaultCopies = 14;
// The files a restore writes beside their places start so; one that died
// leaves them, and the next backup or restore removes them.
inline const QString kRestoreStaging = QStringLiteral(".qv_ripristino_");

// [Backup] Copie (how many backups are kept; 0 turns the automatic ones off)
// and Allegati (1: the attachments are copied too) of the INI file.
struct Settings
{
    int copies = kDefaultCopies;
    bool attachments = false;
};
// From the INI file of the program folder; a missing, unreadable or invalid
// value gives the default.
Settings readSettings();
// Writes them into the INI file of the program folder, leaving the rest of
// it as it is; raises Error when it cannot be written.
void writeSettings(const Settings &settings);
// The INI file of the program folder (the password file), which the backups
// hold too.
QString iniFilePath();

// The name of a backup made at `moment`: yyyy-MM-dd_HHmmss.
QString nameFor(const QDateTime &moment);
bool isBackupName(const QString &name);
QDateTime momentOf(const QString &name); // invalid for another name
// The backups in `root` (folders named as a backup, with a manifest), oldest first.
QStringList completeBackups(const QString &root);
// Whether `root` holds a backup made on `day`.
bool madeOn(const QString &root, const QDate &day);

// The archives of a folder: its *.pro files. Raises Error when the folder
// cannot be read to the end.
QStringList archivesIn(const QString &folder);
// The archives the program itself names: Eventi.pro, Partecipanti.pro,
// Posti_Riservati_Evento_<n>.pro, Presenze_Evento_<n>.pro and
// Uscite_Evento_<n>.pro.
bool isProgramArchive(const QString &name);
// A path a manifest may name: an archive, the INI file, the attachment list,
// or Documenti_Allegati/<bare name>. Anything else (another folder, "..") is
// never read or written by a restore.
bool isAllowedPath(const QString &path);

// Runs `work` while the archive at `archivePath` may not be written.
using LockedWork = std::function<void(const QString &archivePath, const std::function<void()> &work)>;

struct Request
{
    QString programFolder; // ends with '/'
    QString iniFile;       // the INI file, backed up with the archives
    QString root;          // the folder of the backups
    QDateTime moment;      // names the backup
    Settings settings;
    bool oncePerDay = false; // nothing when `root` holds one of the day or another desk is making one
    bool prune = true;       // keep only the newest settings.copies (0: keep all)
    // Progress in bytes read so far and to read; called from the working thread.
    std::function<void(qint64 done, qint64 total)> progress;
    const std::atomic<bool> *cancel = nullptr; // raises Cancelled once set
    LockedWork underLock;                      // empty: the archive's write lock
    bool runningLockHeld = false;              // the caller holds the lock of `root` (a restore)
};

// The program folder, its Backup/ folder, the clock's now and the INI
// settings. Reads statics: call it on the main thread.
Request requestNow();

// One backup or restore at a time in a folder of backups: a lock on
// <root>/Backup.lock, held for the whole of the work.
class RunningLock
{
public:
    explicit RunningLock(const QString &root);
    ~RunningLock();
    RunningLock(const RunningLock &) = delete;
    RunningLock &operator=(const RunningLock &) = delete;
    // False when another desk holds it; raises Error when the folder cannot
    // be created or written.
    bool tryAcquire();

private:
    QString m_root;
    std::unique_ptr<ArchiveLock> m_lock;
};

struct Outcome
{
    QString name;
    QString path;
    int files = 0;
    int linked = 0;       // hard links to the newest backup before it
    qint64 bytes = 0;     // of all its files
    qint64 newBytes = 0;  // copied, not linked
    QStringList removed;  // older backups removed afterwards
};

// Makes a backup. nullopt only with oncePerDay, when there was nothing to do.
// Raises Error, or Cancelled.
std::optional<Outcome> make(const Request &request);

// The check of a backup's files against its manifest.
struct Verification
{
    QString path;
    std::optional<Manifest> manifest;
    QStringList problems;  // one line each, in Italian
    QStringList unmatched; // the files that are missing or differ from the manifest
    bool ok() const { return manifest && problems.isEmpty(); }
};

// Verifies backups; a file linked into several of them is read once.
class Verifier
{
public:
    Verification verify(const QString &backupPath);
    // The SHA-256 of a file, read once per file identity.
    QByteArray hashOf(const QString &path);
    // A file just read whole with this SHA-256 under another name (a link
    // made since, which changes the identity).
    void remember(const QString &path, const QByteArray &sha256);

private:
    // What is wrong with one file of the backup, or nothing.
    QString fileProblem(const QString &backupPath, const ManifestEntry &entry);

    QHash<QByteArray, QByteArray> m_hashes; // file identity -> SHA-256
};

} // namespace qv::Backup
