#include "backup/backup.h"

#include "archive/archivelock.h"
#include "archive/filesync.h"
#include "archive/tarchivio.h"
#include "backup/filecopy.h"
#include "core/attachments.h"
#include "core/clock.h"
#include "core/programfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace qv::Backup {
namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HHmmss");
// A backup being built, or an old one being removed: never counted, and
// removed by the next backup.
const QString kUnfinished = QStringLiteral(".tmp");
// Copies of attachments being written by the program start so.
const QString kProgramTemporary = QStringLiteral(".qv_");

Error failed(const QString &message)
{
    return Error(Error::Failed, message);
}

// Removes what an interrupted backup or removal left. Only while the
// running lock is held: nobody else is building one.
void removeUnfinished(const QString &root)
{
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (name.endsWith(kUnfinished) && isBackupName(name.chopped(kUnfinished.size())))
            QDir(pathIn(root, name)).removeRecursively();
    }
}

// Removes the files a restore that died left beside the places it was
// putting files in. Only while the running lock is held: no restore runs.
void removeStaleRestoreFiles(const QString &programFolder)
{
    for (const QString &folder : {programFolder, pathIn(programFolder, kAttachmentsFolder)}) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({kRestoreStaging + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
            QFile::remove(pathIn(folder, name));
    }
}

// Keeps the newest `copies` backups (the new one always among them).
QStringList prune(const QString &root, int copies, const QString &made)
{
    QStringList removed;
    if (copies <= 0)
        return removed;
    QStringList older = completeBackups(root);
    older.removeAll(made);
    QDir dir(root);
    while (older.size() + 1 > copies) {
        const QString oldest = older.takeFirst();
        // Renamed first, so that a removal cut short never leaves a backup
        // that looks complete and is not.
        if (!dir.rename(oldest, oldest + kUnfinished))
            break;
        QDir(pathIn(root, oldest + kUnfinished)).removeRecursively();
        removed.append(oldest);
    }
    return removed;
}

// One backup being built under a temporary name.
class Builder
{
public:
    explicit Builder(const Request &request) : m_request(request) {}
    Outcome run();

private:
    struct Item
    {
        QString source;
        QString relative; // path in the backup
        bool archive = false;
    };
    QList<Item> items() const;
    QStringList attachmentNames() const;
    void add(const Item &item);
    void copy(const Item &item);
    void record(const QString &relative, const Digest &digest, bool linked);
    void step(qint64 bytes);
    // Whether a file of an older backup reads whole with this SHA-256.
    bool readsAs(const QString &path, const QByteArray &sha256);

    const Request &m_request;
    QString m_previous; // the newest backup before this one, if any
    QHash<QString, ManifestEntry> m_previousFiles;
    QString m_building;
    Manifest m_manifest;
    Outcome m_outcome;
    Verifier m_verifier; // reads a file linked from the older backup once
    qint64 m_done = 0;
    qint64 m_total = 0;
};

QStringList Builder::attachmentNames() const
{
    QStringList names;
    for (const QString &name : filesIn(pathIn(m_request.programFolder, kAttachmentsFolder)))
        if (!name.startsWith(kProgramTemporary))
            names.append(name);
    return names;
}

QList<Builder::Item> Builder::items() const
{
    QList<Item> list;
    for (const QString &name : archivesIn(m_request.programFolder))
        list.append({pathIn(m_request.programFolder, name), name, true});
    if (!fileGone(m_request.iniFile))
        list.append({m_request.iniFile, QFileInfo(m_request.iniFile).fileName(), false});
    if (m_request.settings.attachments) {
        const QString folder = pathIn(m_request.programFolder, kAttachmentsFolder);
        for (const QString &name : attachmentNames())
            list.append({pathIn(folder, name), kAttachmentsFolder + QLatin1Char('/') + name, false});
    }
    return list;
}

void Builder::step(qint64 bytes)
{
    if (m_request.cancel && m_request.cancel->load())
        throw Cancelled();
    m_done += bytes;
    if (m_request.progress)
        m_request.progress(m_done, std::max(m_total, m_done));
}

void Builder::record(const QString &relative, const Digest &digest, bool linked)
{
    m_manifest.files.append({relative, digest.size, digest.sha256});
    ++m_outcome.files;
    m_outcome.bytes += digest.size;
    if (linked)
        ++m_outcome.linked;
    else
        m_outcome.newBytes += digest.size;
}

bool Builder::readsAs(const QString &path, const QByteArray &sha256)
{
    try {
        return m_verifier.hashOf(path) == sha256;
    } catch (const Error &) {
        return false; // unreadable: copied afresh
    }
}

void Builder::copy(const Item &item)
{
    const QFileInfo info(item.source);
    if (!info.isFile()) {
        if (fileGone(item.source))
            return; // removed since it was listed
        // A file that is there but cannot be looked at: the backup would
        // say it holds everything and not hold it.
        throw failed(QStringLiteral("impossibile leggere %1.").arg(item.source));
    }
    const QString target = pathIn(m_building, item.relative);
    const BlockDone done = [this](qint64 bytes) { step(bytes); };
    const auto old = m_previousFiles.constFind(item.relative);
    if (old != m_previousFiles.cend() && old->size == info.size()) {
        const QString oldCopy = pathIn(m_previous, item.relative);
        const Digest now = hashFile(item.source, done);
        // The old copy is linked only when it still reads as its manifest
        // says; one damaged since is copied afresh, never carried on.
        if (now.size == old->size && now.sha256 == old->sha256 && QFileInfo(oldCopy).size() == old->size
            && readsAs(oldCopy, old->sha256) && hardLink(oldCopy, target)) {
            m_verifier.remember(target, old->sha256);
            record(item.relative, now, true);
            return;
        }
        m_total += now.size; // read a second time to copy it
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw failed(QStringLiteral("impossibile scrivere %1: %2.").arg(target, out.errorString()));
    const Digest copied = copyInto(item.source, out, done);
    out.close();
    if (out.error() != QFileDevice::NoError)
        throw failed(QStringLiteral("impossibile scrivere %1: %2.").arg(target, out.errorString()));
    record(item.relative, copied, false);
}

void Builder::add(const Item &item)
{
    if (!item.archive) {
        copy(item);
        return;
    }
    LockedWork underLock = m_request.underLock;
    if (!underLock) {
        // A desk's write takes milliseconds; waiting for it out here, not
        // inside the lock's own wait, lets a closing program stop meanwhile.
        const QDeadlineTimer deadline(TArchivio::lockTimeout());
        while (ArchiveLock::heldElsewhere(item.source) && !deadline.hasExpired()) {
            step(0);
            QThread::msleep(10);
        }
        underLock = TArchivio::underWriteLock;
    }
    try {
        underLock(item.source, [&] { copy(item); });
    } catch (const ArchiveError &) {
        throw Error(Error::Busy, QStringLiteral("l'archivio %1 \u00E8 rimasto occupato da una postazione che vi "
                                                "scriveva, o non ha potuto essere riportato com'era prima di una "
                                                "scrittura interrotta.")
                                     .arg(item.source));
    }
}

Outcome Builder::run()
{
    const QStringList before = completeBackups(m_request.root);
    if (!before.isEmpty()) {
        m_previous = pathIn(m_request.root, before.last());
        if (const std::optional<Manifest> manifest = readManifest(m_previous))
            for (const ManifestEntry &e : manifest->files)
                m_previousFiles.insert(e.path, e);
    }
    // Two backups in one second (or a clock put back) never share a name.
    QDateTime moment = m_request.moment;
    while (QFileInfo::exists(pathIn(m_request.root, nameFor(moment))))
        moment = moment.addSecs(1);
    m_outcome.name = nameFor(moment);
    m_outcome.path = pathIn(m_request.root, m_outcome.name);
    m_building = m_outcome.path + kUnfinished;

    const QList<Item> list = items();
    for (const Item &item : list)
        m_total += QFileInfo(item.source).size();
    try {
        if (!QDir().mkdir(m_building))
            throw failed(QStringLiteral("impossibile creare la cartella %1.").arg(m_building));
        if (m_request.settings.attachments && !QDir().mkdir(pathIn(m_building, kAttachmentsFolder)))
            throw failed(QStringLiteral("impossibile creare la cartella %1.").arg(pathIn(m_building, kAttachmentsFolder)));
        for (const Item &item : list)
            add(item);

        const QByteArray names = attachmentNames().join(QLatin1Char('\n')).toUtf8();
        const QByteArray listing = names.isEmpty() ? names : names + '\n';
        writeNewFile(pathIn(m_building, kAttachmentList), listing);
        record(kAttachmentList,
               {sha256Hex(listing), listing.size()}, false);
        m_manifest.created = moment;
        writeNewFile(pathIn(m_building, kManifestName), m_manifest.encode());
        if (m_request.settings.attachments)
            syncFolder(pathIn(m_building, kAttachmentsFolder));
        syncFolder(m_building);
        // Read back before it counts: only a backup that holds what its
        // manifest says may stand in for older ones.
        const Verification check = m_verifier.verify(m_building);
        if (!check.ok())
            throw failed(QStringLiteral("la copia appena scritta non supera la verifica (%1).")
                             .arg(check.problems.value(0)));
        // Complete: it gets its name, in one step.
        if (!QDir(m_request.root).rename(m_outcome.name + kUnfinished, m_outcome.name))
            throw failed(QStringLiteral("impossibile rinominare %1.").arg(m_building));
        syncFolder(m_request.root);
    } catch (...) {
        QDir(m_building).removeRecursively();
        throw;
    }
    return m_outcome;
}

} // namespace

QString nameFor(const QDateTime &moment)
{
    return moment.toString(kStampFormat);
}

QDateTime momentOf(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{6}$"));
    if (!pattern.match(name).hasMatch())
        return {};
    return QDateTime::fromString(name, kStampFormat);
}

bool isBackupName(const QString &name)
{
    return momentOf(name).isValid();
}

QStringList completeBackups(const QString &root)
{
    QStringList found;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (isBackupName(name) && QFileInfo(pathIn(pathIn(root, name), kManifestName)).isFile())
            found.append(name);
    return found; // the names sort as their dates
}

bool madeOn(const QString &root, const QDate &day)
{
    const QString prefix = day.toString(QStringLiteral("yyyy-MM-dd_"));
    for (const QString &name : completeBackups(root))
        if (name.startsWith(prefix))
            return true;
    return false;
}

QStringList archivesIn(const QString &folder)
{
    QStringList names = filesIn(folder);
    names.removeIf([](const QString &name) { return !name.endsWith(QLatin1String(".pro"), Qt::CaseInsensitive); });
    return names;
}

bool isProgramArchive(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(Eventi|Partecipanti|Posti_Riservati_Evento_\\d+|Presenze_Evento_\\d+|Uscite_Evento_\\d+)"
                       "\\.pro$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

bool isAllowedPath(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() == 2)
        return parts.at(0) == kAttachmentsFolder && Attachments::isBareName(parts.at(1));
    const QString &name = parts.at(0);
    if (parts.size() != 1 || !Attachments::isBareName(name))
        return false;
    return name == kAttachmentList || name.endsWith(QLatin1String(".pro"), Qt::CaseInsensitive)
           || name.compare(QFileInfo(iniFilePath()).fileName(), Qt::CaseInsensitive) == 0;
}

Request requestNow()
{
    Request request;
    request.programFolder = ProgramFolder::path();
    request.iniFile = iniFilePath();
    request.root = ProgramFolder::file(kFolderName);
    request.moment = Clock::now();
    request.settings = readSettings();
    return request;
}

RunningLock::RunningLock(const QString &root) : m_root(root) {}

RunningLock::~RunningLock() = default;

bool RunningLock::tryAcquire()
{
    if (!QDir().mkpath(m_root) || !QFileInfo(m_root).isDir())
        throw failed(QStringLiteral("impossibile creare la cartella delle copie %1.").arg(m_root));
    const QString base = pathIn(m_root, kFolderName);
    m_lock = std::make_unique<ArchiveLock>(base);
    if (m_lock->acquire(0))
        return true;
    if (ArchiveLock::heldElsewhere(base))
        return false;
    throw failed(QStringLiteral("impossibile scrivere nella cartella delle copie %1.").arg(m_root));
}

std::optional<Outcome> make(const Request &request)
{
    RunningLock running(request.root);
    if (!request.runningLockHeld && !running.tryAcquire()) {
        if (request.oncePerDay)
            return std::nullopt; // another desk is making the day's backup
        throw Error(Error::Busy, QStringLiteral("un'altra copia di sicurezza \u00E8 in corso in %1: riprovare pi\u00F9 "
                                                "tardi.")
                                     .arg(request.root));
    }
    if (request.oncePerDay && madeOn(request.root, request.moment.date()))
        return std::nullopt;
    removeUnfinished(request.root);
    removeStaleRestoreFiles(request.programFolder);
    Outcome outcome = Builder(request).run();
    if (request.prune)
        outcome.removed = prune(request.root, request.settings.copies, outcome.name);
    return outcome;
}

QString Verifier::fileProblem(const QString &backupPath, const ManifestEntry &e)
{
    if (!isAllowedPath(e.path))
        return QStringLiteral("percorso non ammesso in una copia di sicurezza.");
    const QString file = pathIn(backupPath, e.path);
    const QFileInfo info(file);
    if (!info.isFile())
        return QStringLiteral("manca.");
    if (info.size() != e.size)
        return QStringLiteral("%1 byte invece di %2.").arg(info.size()).arg(e.size);
    QByteArray sha;
    try {
        sha = hashOf(file);
    } catch (const Error &error) {
        return error.message();
    }
    if (sha != e.sha256)
        return QStringLiteral("il contenuto non corrisponde a quello registrato (SHA-256).");
    return {};
}

QByteArray Verifier::hashOf(const QString &path)
{
    const QByteArray identity = fileIdentity(path);
    QByteArray sha = m_hashes.value(identity);
    if (identity.isEmpty() || sha.isEmpty()) {
        sha = hashFile(path).sha256;
        if (!identity.isEmpty())
            m_hashes.insert(identity, sha);
    }
    return sha;
}

void Verifier::remember(const QString &path, const QByteArray &sha256)
{
    const QByteArray identity = fileIdentity(path);
    if (!identity.isEmpty())
        m_hashes.insert(identity, sha256);
}

Verification Verifier::verify(const QString &backupPath)
{
    Verification v;
    v.path = backupPath;
    v.manifest = readManifest(backupPath);
    if (!v.manifest) {
        v.problems.append(QFileInfo(pathIn(backupPath, kManifestName)).exists()
                              ? QStringLiteral("%1 illeggibile o incompleto.").arg(kManifestName)
                              : QStringLiteral("manca %1.").arg(kManifestName));
        return v;
    }
    for (const ManifestEntry &e : v.manifest->files) {
        const QString problem = fileProblem(backupPath, e);
        if (!problem.isEmpty()) {
            v.problems.append(QStringLiteral("%1: %2").arg(e.path, problem));
            v.unmatched.append(e.path);
        }
    }
    return v;
}

} // namespace qv::Backup
