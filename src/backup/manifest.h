#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace qv::Backup {

// One file of a backup: its path inside the backup folder ('/' between the
// attachments folder and a name), its size in bytes and its SHA-256 in
// lower-case hexadecimal.
struct ManifestEntry
{
    QString path;
    qint64 size = 0;
    QByteArray sha256;

    bool operator==(const ManifestEntry &) const = default;
};

// What a backup holds, in the file Manifesto.txt of its folder. It is written
// last, so a backup folder whose manifest reads whole is complete. UTF-8 text,
// one line a record, the fields separated by tabs:
//   Quorvane copia di sicurezza <TAB> 1
//   creata <TAB> 2024-05-01T12:00:00
//   file <TAB> Eventi.pro <TAB> 3645 <TAB> 64 hexadecimal digits
//   ... one "file" line per file ...
//   fine <TAB> number of "file" lines
// In a path, '%' and the characters below 32 are written as %XX.
struct Manifest
{
    QDateTime created;
    QList<ManifestEntry> files;

    QByteArray encode() const;
    // nullopt for a manifest that is cut, damaged or of another format.
    static std::optional<Manifest> decode(const QByteArray &bytes);
    const ManifestEntry *find(const QString &path) const;
};

inline const QString kManifestName = QStringLiteral("Manifesto.txt");

// Reads the manifest of a backup folder; nullopt when it is missing,
// unreadable or damaged.
std::optional<Manifest> readManifest(const QString &backupPath);

} // namespace qv::Backup
