// Stress writer: one desk that saves cards through the program's archive
// code, each save a user action of its own (open, write, close), with the
// calls the cards use: Append for a new card, WriteIfUnchanged over the
// record a card showed. Several run at once on one file.
//   qv_stresswriter ARCHIVE LENGTH PROCESS COUNT
// Stalled desk: starts one write (an overwrite of record 1, or an append of
// five records at once), stops half-way through its bytes, says "stalled" on
// standard output and waits to be killed.
//   qv_stresswriter --stall overwrite|append ARCHIVE LENGTH
#include "archive/tarchivio.h"
#include "stressrecords.h"

#include <QCoreApplication>
#include <QList>
#include <QThread>

#include <cstdio>

namespace {

int stall(const QString &what, const QString &path, int length)
{
    qv::TArchivio::setWriteHook([](QFile &file, const char *data, qint64 size) -> qint64 {
        if (file.fileName().endsWith(QLatin1String(".journal")))
            return file.write(data, size);
        file.write(data, size / 2);
        std::printf("stalled\n");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    });
    qv::TArchivio archive(path, length);
    if (what == QLatin1String("overwrite")) {
        QByteArray loaded;
        archive.Read(loaded);
        archive.Seek(0);
        archive.WriteIfUnchanged(qvstress::record(99, 0, 1, length), loaded);
    } else {
        QByteArray records;
        for (int s = 0; s < 5; ++s)
            records += qvstress::record(99, s, 0, length);
        archive.Append(records);
    }
    return 3; // never reached: the hook stalls
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 5 && args.at(1) == QLatin1String("--stall"))
            return stall(args.at(2), args.at(3), args.at(4).toInt());
        if (args.size() != 5) {
            std::fprintf(stderr, "usage: qv_stresswriter ARCHIVE LENGTH PROCESS COUNT\n"
                                 "       qv_stresswriter --stall overwrite|append ARCHIVE LENGTH\n");
            return 2;
        }
        // Desks here save as fast as they can, and on a machine busy with
        // other disk work a save can take seconds: they wait for the lock as
        // long as it takes, since what is checked is that nothing is lost,
        // not how long a desk waits (the five seconds of the program are
        // tested on their own).
        qv::TArchivio::setLockTimeout(120000);
        const QString path = args.at(1);
        const int length = args.at(2).toInt();
        const int process = args.at(3).toInt();
        const int count = args.at(4).toInt();
        QList<qint64> stored(count, -1);
        QList<QByteArray> written(count);
        for (int s = 0; s < count; ++s) {
            {
                // A new card: saved at the end of the archive.
                qv::TArchivio archive(path, length);
                written[s] = qvstress::record(process, s, 0, length);
                stored[s] = archive.Append(written[s]);
                archive.Close();
            }
            if (qvstress::overwritesPrevious(s)) {
                // The card shown earlier, changed and saved over its record.
                qv::TArchivio archive(path, length);
                archive.Seek(stored[s - 1] - 1);
                if (!archive.WriteIfUnchanged(qvstress::record(process, s - 1, 1, length), written[s - 1])) {
                    std::fprintf(stderr, "process %d: record %lld changed by another desk\n", process,
                                 static_cast<long long>(stored[s - 1]));
                    return 1;
                }
                archive.Close();
            }
        }
    } catch (const qv::ArchiveError &e) {
        std::fprintf(stderr, "process %d: %s\n", args.size() > 3 ? args.at(3).toInt() : -1, e.what());
        return 1;
    }
    return 0;
}
