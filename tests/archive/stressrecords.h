#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>

// The records the stress writer stores: each says who wrote it, which of its
// records it is and which version, and every other byte follows from those,
// so a plain byte reader can tell an intact record from a torn or foreign one.
namespace qvstress {

inline QByteArray record(int process, int sequence, int version, int length)
{
    const QByteArray tag = QStringLiteral("P%1-S%2-V%3")
                               .arg(process, 2, 10, QLatin1Char('0'))
                               .arg(sequence, 6, 10, QLatin1Char('0'))
                               .arg(version)
                               .toLatin1();
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((process * 131 + sequence * 7 + version * 31 + i) & 0xff);
    bytes[0] = char(tag.size());
    bytes.replace(1, tag.size(), tag);
    return bytes;
}

// Every third record overwrites the one appended before it with version 1.
inline bool overwritesPrevious(int sequence) { return sequence % 3 == 2; }

inline int finalVersion(int sequence, int count)
{
    return sequence + 1 < count && overwritesPrevious(sequence + 1) ? 1 : 0;
}

// Checks an archive the writers filled: every record of every process
// present exactly once, intact, in its last version. Returns the first fault
// found, or an empty text.
inline QString check(const QByteArray &file, int processes, int count, int length)
{
    if (file.size() % length != 0)
        return QStringLiteral("size %1 is not a multiple of %2").arg(file.size()).arg(length);
    const qint64 records = file.size() / length;
    if (records != qint64(processes) * count)
        return QStringLiteral("%1 records instead of %2").arg(records).arg(qint64(processes) * count);
    QHash<QByteArray, qint64> seen;
    for (qint64 i = 0; i < records; ++i) {
        const QByteArray chunk = file.mid(i * length, length);
        const int n = quint8(chunk.at(0));
        const QByteArray tag = chunk.mid(1, n);
        int process = -1, sequence = -1, version = -1;
        if (n == 14 && tag.startsWith('P')) {
            process = tag.mid(1, 2).toInt();
            sequence = tag.mid(5, 6).toInt();
            version = tag.mid(13, 1).toInt();
        }
        if (process < 0 || process >= processes || sequence < 0 || sequence >= count
            || chunk != record(process, sequence, version, length))
            return QStringLiteral("record %1 is torn or foreign").arg(i + 1);
        const QByteArray key = tag.left(11);
        if (seen.contains(key))
            return QStringLiteral("records %1 and %2 are both %3").arg(seen.value(key)).arg(i + 1).arg(QString(key));
        seen.insert(key, i + 1);
        if (version != finalVersion(sequence, count))
            return QStringLiteral("record %1 (%2) lost its overwrite").arg(i + 1).arg(QString(tag));
    }
    return {};
}

} // namespace qvstress
