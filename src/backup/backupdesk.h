#pragma once
#include "backup/backup.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the backups window shows and asks, widget-free: the list of backups,
// the settings, whether backups can be made in the program folder, and what
// a restore would change, in plain words.
namespace qv::Backup {

struct Listed
{
    QString name;
    QString path;
    QDateTime created; // from the name
    qint64 bytes = 0;  // of its files, as the manifest records them
    int files = 0;
};
// The complete backups of `root`, newest first.
QList<Listed> listBackups(const QString &root);
// "12,4 MB", "830 KB", "512 byte".
QString sizeText(qint64 bytes);

// Whether backups can be made in `root`: false when neither it nor the
// folder it would be made in may be written (a program folder on a
// read-only share).
bool canWrite(const QString &root);
// Said once where backups cannot be made.
inline const QString kBackupsOff = QStringLiteral(
    "Le copie di sicurezza sono disattivate: la cartella del programma \u00E8 di sola lettura, e le copie "
    "non vi si possono scrivere. Per averle, avviare Quorvane da una cartella in cui si pu\u00F2 scrivere.");

// What a restore of the backup at `backupPath` changes in `programFolder`,
// one plain sentence a line ("le presenze registrate dopo questa copia
// saranno tolte: 6"); empty when the folder already holds what it holds.
QStringList restoreChanges(const QString &programFolder, const QString &backupPath);

// The answer to "Ripristina" while desks write: the archives being written.
QString busyText(const QStringList &archives);

} // namespace qv::Backup
