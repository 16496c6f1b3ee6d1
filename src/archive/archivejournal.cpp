#include "archive/archivejournal.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace qv {

namespace {

const QByteArray kMagic("QVJ1");
constexpr qsizetype kHeading = 4 + 3 * 8;
constexpr qsizetype kHash = 32;

void putNumber(QByteArray &out, qint64 value)
{
    char bytes[8];
    qToLittleEndian<qint64>(value, bytes);
    out.append(bytes, 8);
}

qint64 numberAt(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<qint64>(in.constData() + at);
}

} // namespace

QString ArchiveJournal::journalPath(const QString &archivePath)
{
    return archivePath + QStringLiteral(".journal");
}

QByteArray ArchiveJournal::encode() const
{
    QByteArray out;
    out.reserve(kHeading + oldBytes.size() + kHash);
    out.append(kMagic);
    putNumber(out, oldSize);
    putNumber(out, offset);
    putNumber(out, oldBytes.size());
    out.append(oldBytes);
    out.append(QCryptographicHash::hash(out, QCryptographicHash::Sha256));
    return out;
}

std::optional<ArchiveJournal> ArchiveJournal::decode(const QByteArray &bytes)
{
    if (bytes.size() < kHeading + kHash || !bytes.startsWith(kMagic))
        return std::nullopt;
    const qint64 saved = numberAt(bytes, 20);
    if (saved < 0 || saved != bytes.size() - kHeading - kHash)
        return std::nullopt;
    const QByteArray body = bytes.left(bytes.size() - kHash);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != bytes.right(kHash))
        return std::nullopt;
    ArchiveJournal journal;
    journal.oldSize = numberAt(bytes, 4);
    journal.offset = numberAt(bytes, 12);
    journal.oldBytes = bytes.mid(kHeading, saved);
    if (journal.oldSize < 0 || journal.offset < 0 || journal.offset + saved > journal.oldSize)
        return std::nullopt;
    return journal;
}

} // namespace qv
