#include "backup/manifest.h"

#include <QFile>
#include <QSet>

namespace qv::Backup {
namespace {

const QByteArray kHeading = "Quorvane copia di sicurezza";
const QByteArray kVersion = "1";
constexpr char kTab = '\t';

QByteArray escapePath(const QString &path)
{
    QByteArray out;
    for (const char c : path.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || c == '%')
            out += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescapePath(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != '%') {
            out += text.at(i);
            continue;
        }
        bool ok = false;
        const int byte = text.mid(i + 1, 2).toInt(&ok, 16);
        if (!ok || i + 2 >= text.size())
            return std::nullopt;
        out += char(byte);
        i += 2;
    }
    const QString path = QString::fromUtf8(out);
    if (path.isEmpty() || path.toUtf8() != out)
        return std::nullopt;
    return path;
}

bool isSha256Hex(const QByteArray &text)
{
    if (text.size() != 64)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

QByteArray Manifest::encode() const
{
    QByteArray out = kHeading + kTab + kVersion + '\n';
    out += "creata" + QByteArray(1, kTab) + created.toString(Qt::ISODate).toLatin1() + '\n';
    for (const ManifestEntry &e : files)
        out += "file" + QByteArray(1, kTab) + escapePath(e.path) + kTab + QByteArray::number(e.size) + kTab
               + e.sha256 + '\n';
    out += "fine" + QByteArray(1, kTab) + QByteArray::number(files.size()) + '\n';
    return out;
}

std::optional<Manifest> Manifest::decode(const QByteArray &bytes)
{
    if (!bytes.endsWith('\n'))
        return std::nullopt; // cut before its end
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (lines.size() < 3 || lines.first() != kHeading + kTab + kVersion)
        return std::nullopt;
    Manifest manifest;
    QSet<QString> seen;
    const QList<QByteArray> created = lines.at(1).split(kTab);
    if (created.size() != 2 || created.at(0) != "creata")
        return std::nullopt;
    manifest.created = QDateTime::fromString(QString::fromLatin1(created.at(1)), Qt::ISODate);
    if (!manifest.created.isValid())
        return std::nullopt;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i).split(kTab);
        if (fields.size() != 4 || fields.at(0) != "file" || !isSha256Hex(fields.at(3)))
            return std::nullopt;
        bool ok = false;
        const qint64 size = fields.at(2).toLongLong(&ok);
        const std::optional<QString> path = unescapePath(fields.at(1));
        if (!ok || size < 0 || !path || seen.contains(*path))
            return std::nullopt;
        seen.insert(*path);
        manifest.files.append({*path, size, fields.at(3)});
    }
    const QList<QByteArray> end = lines.last().split(kTab);
    bool ok = false;
    if (end.size() != 2 || end.at(0) != "fine" || end.at(1).toLongLong(&ok) != manifest.files.size() || !ok)
        return std::nullopt;
    return manifest;
}

const ManifestEntry *Manifest::find(const QString &path) const
{
    for (const ManifestEntry &e : files)
        if (e.path == path)
            return &e;
    return nullptr;
}

std::optional<Manifest> readManifest(const QString &backupPath)
{
    QFile file(backupPath + QLatin1Char('/') + kManifestName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Manifest::decode(file.readAll());
}

} // namespace qv::Backup
