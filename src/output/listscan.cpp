#include "output/listscan.h"

#include "archive/tarchivio.h"
#include "core/text.h"

#include <algorithm>

namespace qv {

namespace {

// About a megabyte per read: few system calls, little memory.
constexpr qint64 kBlockBytes = 1 << 20;

} // namespace

void scanArchive(const QString &path, const RecordLayout &layout, const RecordVisitor &visit)
{
    const int length = layout.size();
    TArchivio archive(path, length, TArchivio::Access::Read);
    const qint64 perBlock = std::max<qint64>(1, kBlockBytes / length);
    QByteArray block;
    qint64 number = 0;
    while (!archive.AtEnd()) {
        const qint64 read = archive.ReadBlock(block, perBlock);
        const char *data = block.constData();
        for (qint64 i = 0; i < read; ++i)
            visit(RecordView(layout, data + i * length), ++number);
    }
    archive.Close();
}

QStringList searchLines(const ListSource &source, const FilterRule &rule)
{
    QStringList lines;
    scanArchive(source.archivePath(), *source.layout, [&](const RecordView &record, qint64 number) {
        if (rule.matches(record))
            lines.append(source.line(record, number));
    });
    sortLines(lines);
    return lines;
}

QStringList listLines(const ListSource &source, const RecordTest &test, bool *failed)
{
    QStringList lines;
    if (failed)
        *failed = false;
    try {
        scanArchive(source.archivePath(), *source.layout, [&](const RecordView &record, qint64 number) {
            if (test(record))
                lines.append(source.line(record, number));
        });
    } catch (const ArchiveError &) {
        if (failed)
            *failed = true;
    }
    sortLines(lines);
    return lines;
}

int deliverChosen(const ListSource &source, const QString &chosen, const RecordDelivery &deliver)
{
    const QString wanted = trimmed(chosen);
    int delivered = 0;
    scanArchive(source.archivePath(), *source.layout, [&](const RecordView &record, qint64 number) {
        if (trimmed(source.line(record, number)) == wanted) {
            deliver(record.record(), number);
            ++delivered;
        }
    });
    return delivered;
}

} // namespace qv
