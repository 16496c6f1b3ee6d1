#pragma once
#include "backup/backup.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qv::Backup {

struct RestoreOutcome
{
    Outcome safety;                  // the backup of the state before
    QList<ManifestEntry> restored;   // every file put back
    QStringList removed;             // archives the backup did not have
};

// The archives of the program folder and of the manifest that a desk is
// writing right now.
QStringList archivesInUse(const QString &programFolder, const Manifest &manifest);

// Puts the program folder back as the backup at `backupPath` holds it.
// Refuses (Error::Damaged) a backup that does not verify, and (Error::Busy)
// while a desk writes an archive or another backup runs. Then, holding the
// write lock of every archive so that no desk writes meanwhile: makes a
// backup of the current state as `safety` asks (never removing older
// backups); writes every file of the backup into a temporary file beside its
// place, checked against the manifest; and only when all are written puts
// each in place in one step. Program archives the backup does not have
// (a reservations archive of a later event) are removed, being in the safety
// backup. A failure before that last step changes nothing; one during it puts
// back, from the safety backup, what was already changed, and the error
// names every file that could not be put back.
RestoreOutcome restore(const Request &safety, const QString &backupPath);

} // namespace qv::Backup
