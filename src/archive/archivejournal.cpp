#include "archive/archivejournal.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
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

ArchiveJournal::Found ArchiveJournal::read(const QString &archivePath, ArchiveJournal &journal)
{
    QFile file(journalPath(archivePath));
    // Another desk may start or end a write while this one looks: a journal
    // missing when opened and there just after is looked at again, and one
    // gone is none. Only one that is there and still cannot be opened is
    // unreadable.
    for (int attempt = 1; !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered); ++attempt) {
        if (!file.exists())
            return Found::None;
        if (attempt == 3)
            return Found::Unreadable;
    }
    // Read to the end, as a loop of reads: a short read is only the end when
    // no error came with it.
    QByteArray bytes;
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0 || file.error() != QFileDevice::NoError)
            return Found::Unreadable;
        if (got == 0)
            break;
        bytes.append(block.constData(), got);
    }
    const std::optional<ArchiveJournal> decoded = decode(bytes);
    if (!decoded)
        return Found::Cut;
    journal = *decoded;
    return Found::Complete;
}

bool ArchiveJournal::patch(QByteArray &bytes, qint64 at, qint64 readable) const
{
    const qint64 from = std::max(at, offset);
    const qint64 to = std::min(at + qint64(bytes.size()), offset + qint64(oldBytes.size()));
    if (from < to)
        std::copy_n(oldBytes.constData() + (from - offset), to - from, bytes.data() + (from - at));
    // What the archive did not hold must all have come from the journal.
    const qint64 missingFrom = at + std::max<qint64>(readable, 0);
    const qint64 missingTo = at + bytes.size();
    return missingFrom >= missingTo || (missingFrom >= offset && missingTo <= offset + oldBytes.size());
}

} // namespace qv
