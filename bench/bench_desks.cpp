// Several desks saving into one archive at once, through the program's own
// archive code (each save opens, locks, journals, writes and closes): how many
// records a second the shared folder takes with 1, 2 and 4 desks, as a ratio
// to one unguarded writer in the same run, and a check that nothing was lost.
// First, what one save costs step by step: the plain write, the lock, making
// the write durable, and the journal that makes it all or nothing.
//   cmake --build build --target bench_desks && build/bench/bench_desks [records per desk]
#include "archive/archivelock.h"
#include "archive/filesync.h"
#include "archive/tarchivio.h"
#include "benchsupport.h"
#include "stressrecords.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kLength = 3372; // a participant record

// The same saves without lock or archive code: the floor of what a save costs.
double unguarded(const QString &path, int count)
{
    const qvbench::Stopwatch watch;
    for (int s = 0; s < count; ++s) {
        QFile file(path);
        file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
        file.seek(file.size() / kLength * kLength);
        file.write(qvstress::record(0, s, 0, kLength));
        file.close();
    }
    return watch.seconds();
}

// Milliseconds per save of `count` appends, each opening and closing the
// file, with the given steps.
enum Steps { Plain = 0, Locked = 1, Synced = 2 };
double perSave(const QString &path, int count, int steps)
{
    const qvbench::Stopwatch watch;
    for (int s = 0; s < count; ++s) {
        qv::ArchiveLock lock(path);
        if ((steps & Locked) && !lock.acquire(5000))
            return -1;
        QFile file(path);
        file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
        file.seek(file.size() / kLength * kLength);
        file.write(qvstress::record(0, s, 0, kLength));
        if (steps & Synced)
            qv::syncFile(file);
        file.close();
    }
    return watch.seconds() * 1000 / count;
}

// The program's own saves: half appends, half overwrites of the record just added.
double programSaves(const QString &path, int count)
{
    const qvbench::Stopwatch watch;
    for (int s = 0; s < count; s += 2) {
        qv::TArchivio archive(path, kLength);
        const QByteArray first = qvstress::record(0, s, 0, kLength);
        const qint64 stored = archive.Append(first);
        archive.Seek(stored - 1);
        archive.WriteIfUnchanged(qvstress::record(0, s, 1, kLength), first);
    }
    return watch.seconds() * 1000 / count;
}

void costOfOneSave(const QTemporaryDir &dir, int count)
{
    const double plain = perSave(dir.filePath("plain.pro"), count, Plain);
    const double locked = perSave(dir.filePath("locked.pro"), count, Locked);
    const double synced = perSave(dir.filePath("synced.pro"), count, Locked | Synced);
    const double program = programSaves(dir.filePath("program.pro"), count);
    std::printf("one save, %d saves: plain write %.3f ms; + lock %.3f ms; + written to disk %.3f ms; "
                "the program's save (lock, journal to disk, write to disk, journal removed) %.3f ms, "
                "of which the journal %.3f ms\n",
                count, plain, locked, synced, program, program - synced);
}

double desks(const QString &path, int processes, int count, QString *fault)
{
    const qvbench::Stopwatch watch;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < processes; ++p) {
        auto desk = std::make_unique<QProcess>();
        desk->setProcessChannelMode(QProcess::ForwardedChannels);
        desk->start(QStringLiteral(QV_STRESS_WRITER),
                    {path, QString::number(kLength), QString::number(p), QString::number(count)});
        running.push_back(std::move(desk));
    }
    for (auto &desk : running)
        if (!desk->waitForFinished(-1) || desk->exitCode() != 0)
            *fault = QStringLiteral("a desk failed");
    const double seconds = watch.seconds();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    if (fault->isEmpty())
        *fault = qvstress::check(file.readAll(), processes, count, kLength);
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(3, atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    // Each desk also overwrites every third record it appended.
    const int writesPerDesk = count + count / 3;
    const double floor = unguarded(dir.filePath("floor.pro"), writesPerDesk);
    std::printf("unguarded single writer: %d writes in %.2f s (%.0f/s)\n", writesPerDesk, floor, writesPerDesk / floor);
    costOfOneSave(dir, std::min(count, 2000));
    int failures = 0;
    for (int processes : {1, 2, 4}) {
        QString fault;
        const QString path = dir.filePath(QStringLiteral("desks%1.pro").arg(processes));
        const double seconds = desks(path, processes, count, &fault);
        const int writes = processes * writesPerDesk;
        std::printf("%d desk(s): %d writes in %.2f s (%.0f/s, %.2f x the unguarded time per write) %s\n", processes,
                    writes, seconds, writes / seconds, (seconds / writes) / (floor / writesPerDesk),
                    fault.isEmpty() ? "all records intact" : qPrintable(fault));
        failures += !fault.isEmpty();
    }
    return failures == 0 ? 0 : 1;
}
