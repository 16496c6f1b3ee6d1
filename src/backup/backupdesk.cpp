#include "backup/backupdesk.h"

#include "archive/records.h"
#include "backup/filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QLocale>

#include <algorithm>
#include <cstring>

namespace qv::Backup {
namespace {

// Each kind of archive a restore may change, in the words of its records.
struct RecordKind
{
    QString prefix; // of the file name
    int length;
    QString added;   // records the folder has past the copy's: they go
    QString back;    // records the copy has past the folder's: they come back
    QString changed; // records of both that differ: they return as they were
};

const QList<RecordKind> &recordKinds()
{
    static const QList<RecordKind> kinds{
        {QStringLiteral("Eventi"), TSchedaEvento::layout().size(),
         QStringLiteral("gli eventi aggiunti dopo questa copia saranno tolti: %1"),
         QStringLiteral("gli eventi che la copia ha in pi\u00F9 torneranno: %1"),
         QStringLiteral("gli eventi modificati dopo questa copia torneranno com'erano: %1")},
        {QStringLiteral("Partecipanti"), TSchedaPartecipante::layout().size(),
         QStringLiteral("le schede dei partecipanti aggiunte dopo questa copia saranno tolte: %1"),
         QStringLiteral("le schede dei partecipanti che la copia ha in pi\u00F9 torneranno: %1"),
         QStringLiteral("le schede dei partecipanti modificate dopo questa copia torneranno com'erano: %1")},
        {QStringLiteral("Posti_Riservati_Evento_"), TSchedaPrenotazione::layout().size(),
         QStringLiteral("le prenotazioni registrate dopo questa copia saranno tolte: %1"),
         QStringLiteral("le prenotazioni che la copia ha in pi\u00F9 torneranno: %1"),
         QStringLiteral("le prenotazioni modificate dopo questa copia torneranno com'erano: %1")},
        {QStringLiteral("Presenze_Evento_"), TSchedaPresenza::layout().size(),
         QStringLiteral("le presenze registrate dopo questa copia saranno tolte: %1"),
         QStringLiteral("le presenze che la copia ha in pi\u00F9 torneranno: %1"),
         QStringLiteral("le presenze annullate dopo questa copia torneranno valide: %1")},
        {QStringLiteral("Uscite_Evento_"), TSchedaUscita::layout().size(),
         QStringLiteral("le uscite registrate dopo questa copia saranno tolte: %1"),
         QStringLiteral("le uscite che la copia ha in pi\u00F9 torneranno: %1"),
         QStringLiteral("le uscite annullate dopo questa copia torneranno valide: %1")},
    };
    return kinds;
}

const RecordKind *kindOf(const QString &name)
{
    if (!isProgramArchive(name))
        return nullptr;
    for (const RecordKind &kind : recordKinds())
        if (name.startsWith(kind.prefix, Qt::CaseInsensitive))
            return &kind;
    return nullptr;
}

struct Counts
{
    qint64 added = 0;
    qint64 back = 0;
    qint64 changed = 0;
};

// Compares the whole records of the two files (either may be missing),
// block by block.
void compare(const QString &now, const QString &copy, int length, Counts &counts)
{
    QFile a(now);
    QFile b(copy);
    const bool hasA = a.open(QIODevice::ReadOnly);
    const bool hasB = b.open(QIODevice::ReadOnly);
    if ((!hasA && QFileInfo::exists(now)) || (!hasB && QFileInfo::exists(copy)))
        throw Error(Error::Failed, QStringLiteral("impossibile leggere %1.").arg(hasA ? copy : now));
    const qint64 countA = hasA ? a.size() / length : 0;
    const qint64 countB = hasB ? b.size() / length : 0;
    const qint64 common = std::min(countA, countB);
    const qint64 perBlock = std::max<qint64>(1, (1 << 20) / length);
    QByteArray blockA, blockB;
    for (qint64 first = 0; first < common; first += perBlock) {
        const qint64 records = std::min(perBlock, common - first);
        blockA.resize(records * length);
        blockB.resize(records * length);
        if (a.read(blockA.data(), blockA.size()) != blockA.size() || b.read(blockB.data(), blockB.size()) != blockB.size())
            throw Error(Error::Failed, QStringLiteral("impossibile leggere %1 o %2.").arg(now, copy));
        for (qint64 i = 0; i < records; ++i)
            if (std::memcmp(blockA.constData() + i * length, blockB.constData() + i * length, size_t(length)) != 0)
                ++counts.changed;
    }
    counts.added += countA - common;
    counts.back += countB - common;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QList<Listed> listBackups(const QString &root)
{
    QList<Listed> list;
    for (const QString &name : completeBackups(root)) {
        Listed item;
        item.name = name;
        item.path = pathIn(root, name);
        item.created = momentOf(name);
        if (const std::optional<Manifest> manifest = readManifest(item.path)) {
            item.files = int(manifest->files.size());
            for (const ManifestEntry &e : manifest->files)
                item.bytes += e.size;
        }
        list.prepend(item);
    }
    return list;
}

QString sizeText(qint64 bytes)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (bytes < 1024)
        return QStringLiteral("%1 byte").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(italian.toString(double(bytes) / 1024, 'f', 0));
    return QStringLiteral("%1 MB").arg(italian.toString(double(bytes) / (1024 * 1024), 'f', 1));
}

bool canWrite(const QString &root)
{
    QFileInfo info(root);
    if (info.exists()) // something else in the way is a failure of the backup, reported as such
        return !info.isDir() || info.isWritable();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() && parent.isWritable();
}

QStringList restoreChanges(const QString &programFolder, const QString &backupPath)
{
    const std::optional<Manifest> manifest = readManifest(backupPath);
    if (!manifest)
        throw Error(Error::Damaged, QStringLiteral("la copia %1 \u00E8 illeggibile o incompleta.").arg(backupPath));
    QStringList names = archivesIn(programFolder);
    for (const ManifestEntry &e : manifest->files)
        if (!e.path.contains(QLatin1Char('/')))
            names.append(e.path);
    names.removeDuplicates();
    QList<Counts> counts(recordKinds().size());
    for (const QString &name : names) {
        const RecordKind *kind = kindOf(name);
        if (!kind)
            continue;
        const QString copy = manifest->find(name) ? pathIn(backupPath, name) : QString();
        compare(pathIn(programFolder, name), copy, kind->length, counts[kind - recordKinds().constData()]);
    }
    QStringList lines;
    for (qsizetype k = 0; k < recordKinds().size(); ++k) {
        const RecordKind &kind = recordKinds().at(k);
        if (counts.at(k).added > 0)
            lines << kind.added.arg(counts.at(k).added);
        if (counts.at(k).back > 0)
            lines << kind.back.arg(counts.at(k).back);
        if (counts.at(k).changed > 0)
            lines << kind.changed.arg(counts.at(k).changed);
    }
    const QString ini = QFileInfo(iniFilePath()).fileName();
    if (manifest->find(ini) && contentOf(pathIn(backupPath, ini)) != contentOf(pathIn(programFolder, ini)))
        lines << QStringLiteral("la password e le impostazioni tornano quelle del momento della copia");
    int attachments = 0;
    for (const ManifestEntry &e : manifest->files)
        if (e.path.startsWith(kAttachmentsFolder + QLatin1Char('/'))
            && contentOf(pathIn(backupPath, e.path)) != contentOf(pathIn(programFolder, e.path)))
            ++attachments;
    if (attachments > 0)
        lines << QStringLiteral("gli allegati rimessi come nella copia: %1").arg(attachments);
    return lines;
}

QString busyText(const QStringList &archives)
{
    return QStringLiteral("Ripristino non possibile ora: un'altra postazione sta scrivendo in %1. Chiudere "
                          "Quorvane sulle altre postazioni e riprovare.")
        .arg(archives.join(QStringLiteral(", ")));
}

} // namespace qv::Backup
