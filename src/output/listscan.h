#pragma once
#include "output/listlines.h"

#include <QString>
#include <QStringList>

#include <functional>

// Sequential scans of an archive for the summary lists. Each opens the archive
// (a missing one is created empty where the folder allows it; one that may
// not be written is opened read-only), reads it from the first record to the last
// in large blocks, and closes it before returning.
namespace qv {

struct ListSource
{
    const RecordLayout *layout = nullptr;
    std::function<QString()> archivePath;
    LineLayout lines;
    // A line that tells more than the record's own fields (what another
    // archive says of the record numbered so): when set, it is the line.
    std::function<QString(const RecordView &record, qint64 number)> numberedLine = {};

    QString line(const RecordView &record, qint64 number) const
    {
        return numberedLine ? numberedLine(record, number) : lines.line(record);
    }
};

// Calls visit(record, 1-based number) for every record in file order.
// Throws ArchiveError when the archive cannot be opened or read.
using RecordVisitor = std::function<void(const RecordView &record, qint64 number)>;
void scanArchive(const QString &path, const RecordLayout &layout, const RecordVisitor &visit);

// The two lists below read the archive on the calling thread and build and
// sort the lines on a second thread too when the archive is large.

// The filter search: the sorted lines of the records the rule lets through.
// Throws ArchiveError.
LineList searchLines(const ListSource &source, const FilterRule &rule);

// The lines of the records that pass `test`, sorted. `test` is called on the
// calling thread, in file order. A failure ends the scan quietly: the lines
// gathered so far are kept.
using RecordTest = std::function<bool(const RecordView &record)>;
LineList listLines(const ListSource &source, const RecordTest &test, bool *failed = nullptr);

// The way back from a line to its record: every record whose rebuilt line
// equals `chosen` (both trimmed, case counts) is handed to deliver, in file
// order, so the last one stored wins. Returns how many were delivered.
// Throws ArchiveError; whatever was delivered before stays delivered.
using RecordDelivery = std::function<void(const Record &record, qint64 number)>;
int deliverChosen(const ListSource &source, const QString &chosen, const RecordDelivery &deliver);

} // namespace qv
