#include "backup/restore.h"

#include "archive/archivelock.h"
#include "archive/filesync.h"
#include "archive/tarchivio.h"
#include "backup/filecopy.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <algorithm>
#include <memory>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

namespace qv::Backup {
namespace {

// As the program's own new files: other desks sharing the folder read them.
constexpr QFileDevice::Permissions kNewFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                         | QFileDevice::ReadUser | QFileDevice::WriteUser
                                                         | QFileDevice::ReadGroup | QFileDevice::ReadOther;

Error inUse(const QString &archive)
{
    return Error(Error::Busy, QStringLiteral("l'archivio %1 \u00E8 in uso da una postazione che vi sta scrivendo: "
                                             "chiudere Quorvane su tutte le postazioni e riprovare.")
                                  .arg(archive));
}

// The archives of the folder and those the backup holds.
QStringList allArchives(const QString &programFolder, const Manifest &manifest)
{
    QStringList names = archivesIn(programFolder);
    for (const ManifestEntry &e : manifest.files)
        if (!e.path.contains(QLatin1Char('/')) && e.path.endsWith(QLatin1String(".pro"), Qt::CaseInsensitive))
            names.append(e.path);
    names.sort();
    names.removeDuplicates();
    return names;
}

// One lock file stays open per archive while a restore holds them all.
void allowOpenFiles(qsizetype count)
{
#ifndef Q_OS_WIN
    rlimit limit{};
    const rlim_t wanted = rlim_t(count) + 256;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(limit.rlim_max, wanted);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
#else
    Q_UNUSED(count);
#endif
}

// The write locks of every archive, held together: no desk writes any of
// them until the restore is over.
class HeldLocks
{
public:
    HeldLocks(const QString &programFolder, const QStringList &archives)
    {
        allowOpenFiles(archives.size());
        for (const QString &name : archives) {
            const QString path = pathIn(programFolder, name);
            // A write a desk left half done is undone while the lock is free.
            if (QFileInfo(path).isFile()) {
                try {
                    TArchivio::recoverInterruptedWrite(path);
                } catch (const ArchiveError &) {
                    throw inUse(name);
                }
            }
            auto lock = std::make_unique<ArchiveLock>(path);
            if (!lock->acquire(TArchivio::lockTimeout())) {
                if (ArchiveLock::heldElsewhere(path))
                    throw inUse(name);
                throw Error(Error::Failed,
                            QStringLiteral("impossibile creare il file di blocco di %1: la cartella del programma "
                                           "non \u00E8 scrivibile, o sono aperti troppi file.")
                                .arg(path));
            }
            const QString journal = TArchivio::journalPath(path);
            if (QFile::exists(journal)) {
                // A desk died part-way through a write after the look above.
                if (QFileInfo(path).isFile())
                    throw Error(Error::Busy, QStringLiteral("una postazione ha interrotto una scrittura di %1: "
                                                            "riprovare.")
                                                 .arg(name));
                QFile::remove(journal); // of an archive no longer there
            }
            m_locks.push_back(std::move(lock));
            m_paths.insert(path);
        }
    }
    bool holds(const QString &path) const { return m_paths.contains(path); }

private:
    std::vector<std::unique_ptr<ArchiveLock>> m_locks;
    QSet<QString> m_paths;
};

// A file of the backup written beside its place, not yet put there.
struct Staged
{
    std::unique_ptr<QTemporaryFile> file;
    QString target;
};

Staged stage(const QString &backupPath, const ManifestEntry &entry, const QString &target)
{
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        throw Error(Error::Failed, QStringLiteral("impossibile creare la cartella %1.").arg(folder));
    auto file = std::make_unique<QTemporaryFile>(pathIn(folder, kRestoreStaging + QStringLiteral("XXXXXX")));
    if (!file->open())
        throw Error(Error::Failed,
                    QStringLiteral("impossibile scrivere nella cartella %1: %2.").arg(folder, file->errorString()));
    const Digest digest = copyInto(pathIn(backupPath, entry.path), *file);
    if (digest.size != entry.size || digest.sha256 != entry.sha256)
        throw Error(Error::Damaged, QStringLiteral("%1 della copia \u00E8 cambiato mentre veniva letto: non \u00E8 "
                                                   "stato ripristinato nulla.")
                                        .arg(entry.path));
    file->setPermissions(QFileInfo::exists(target) ? QFile::permissions(target) : kNewFilePermissions);
    file->close();
    return {std::move(file), target};
}

// The last step of a restore: every staged file put in its place and every
// program archive the backup does not have removed. A step that fails puts
// back what the steps before changed, from the backup of the state before.
class Commit
{
public:
    Commit(const QString &folder, const Outcome &safety) : m_folder(folder), m_safety(safety)
    {
        m_before = readManifest(safety.path);
    }

    void replace(Staged &s)
    {
        if (!replaceFile(s.file->fileName(), s.target))
            fail(s.target);
        s.file->setAutoRemove(false);
        m_changed.append(s.target);
    }
    void remove(const QString &path)
    {
        if (!QFile::remove(path))
            fail(path);
        m_changed.append(path);
    }

private:
    [[noreturn]] void fail(const QString &path)
    {
        QStringList left; // changed and not put back
        for (auto it = m_changed.crbegin(); it != m_changed.crend(); ++it)
            if (!putBack(*it))
                left.prepend(QFileInfo(*it).fileName());
        if (left.isEmpty())
            throw Error(Error::Failed, QStringLiteral("impossibile sostituire o togliere %1: i file gi\u00E0 "
                                                      "ripristinati sono stati rimessi com'erano, non \u00E8 "
                                                      "cambiato nulla (lo stato di prima \u00E8 anche nella copia "
                                                      "%2).")
                                           .arg(path, m_safety.name));
        throw Error(Error::Failed, QStringLiteral("impossibile sostituire o togliere %1. Sono come nella copia "
                                                  "ripristinata e non \u00E8 stato possibile rimetterli com'erano: "
                                                  "%2; tutti gli altri file sono com'erano prima. Lo stato di "
                                                  "prima \u00E8 nella copia %3.")
                                       .arg(path, left.join(QStringLiteral(", ")), m_safety.name));
    }

    // One changed file as the backup of the state before holds it (or
    // removed, when it was not there before).
    bool putBack(const QString &target) const
    {
        const QString relative = QDir(m_folder).relativeFilePath(target);
        const ManifestEntry *entry = m_before ? m_before->find(relative) : nullptr;
        if (!entry)
            return m_before && (QFile::remove(target) || fileGone(target));
        try {
            Staged s = stage(m_safety.path, *entry, target);
            if (!replaceFile(s.file->fileName(), target))
                return false;
            s.file->setAutoRemove(false);
            return true;
        } catch (const Error &) {
            return false;
        }
    }

    QString m_folder;
    Outcome m_safety;
    std::optional<Manifest> m_before;
    QStringList m_changed;
};

} // namespace

QStringList archivesInUse(const QString &programFolder, const Manifest &manifest)
{
    QStringList busy;
    for (const QString &name : allArchives(programFolder, manifest))
        if (ArchiveLock::heldElsewhere(pathIn(programFolder, name)))
            busy.append(name);
    return busy;
}

RestoreOutcome restore(const Request &safety, const QString &backupPath)
{
    Verifier verifier;
    const Verification check = verifier.verify(backupPath);
    if (!check.ok())
        throw Error(Error::Damaged, QStringLiteral("la copia %1 non supera la verifica (%2): non \u00E8 stato "
                                                   "ripristinato nulla.")
                                        .arg(backupPath, check.problems.first()));
    const Manifest &manifest = *check.manifest;
    const QString folder = safety.programFolder;
    const QStringList busy = archivesInUse(folder, manifest);
    if (!busy.isEmpty())
        throw inUse(busy.first());

    RunningLock running(safety.root);
    if (!running.tryAcquire())
        throw Error(Error::Busy, QStringLiteral("una copia di sicurezza \u00E8 in corso in %1: riprovare pi\u00F9 "
                                                "tardi.")
                                     .arg(safety.root));
    const HeldLocks locks(folder, allArchives(folder, manifest));

    Request request = safety;
    // The state before of every file the restore puts back, attachments too.
    for (const ManifestEntry &e : manifest.files)
        if (e.path.startsWith(kAttachmentsFolder + QLatin1Char('/')))
            request.settings.attachments = true;
    request.runningLockHeld = true;
    request.oncePerDay = false;
    request.prune = false; // the backup being restored may be the oldest
    request.underLock = [&locks](const QString &path, const std::function<void()> &work) {
        if (locks.holds(path))
            work();
        else
            TArchivio::underWriteLock(path, work); // an archive begun since
    };
    RestoreOutcome outcome;
    outcome.safety = *make(request);

    std::vector<Staged> staged;
    for (const ManifestEntry &entry : manifest.files) {
        if (entry.path == kAttachmentList)
            continue; // a list for reading, not a file of the program
        staged.push_back(stage(backupPath, entry, pathIn(folder, entry.path)));
        outcome.restored.append(entry);
    }
    Commit commit(folder, outcome.safety);
    for (Staged &s : staged)
        commit.replace(s);
    for (const QString &name : archivesIn(folder)) {
        const QString path = pathIn(folder, name);
        if (isProgramArchive(name) && !manifest.find(name) && locks.holds(path)) {
            commit.remove(path);
            outcome.removed.append(name);
        }
    }
    syncFolder(folder);
    syncFolder(pathIn(folder, kAttachmentsFolder));
    return outcome;
}

} // namespace qv::Backup
