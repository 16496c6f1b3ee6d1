// Stress writer: one desk that appends COUNT records to an archive and
// overwrites some of them, each write a user action of its own (open, write,
// close) through the program's archive code. Several run at once on one file.
//   qv_stresswriter ARCHIVE LENGTH PROCESS COUNT
#include "archive/tarchivio.h"
#include "stressrecords.h"

#include <QCoreApplication>
#include <QList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: qv_stresswriter ARCHIVE LENGTH PROCESS COUNT\n");
        return 2;
    }
    const QString path = args.at(1);
    const int length = args.at(2).toInt();
    const int process = args.at(3).toInt();
    const int count = args.at(4).toInt();
    QList<qint64> stored(count, -1);
    try {
        for (int s = 0; s < count; ++s) {
            {
                // A new card: saved at the end of the archive.
                qv::TArchivio archive(path, length);
                archive.Seek(archive.Count());
                archive.Write(qvstress::record(process, s, 0, length));
                stored[s] = archive.Position() - 1;
                archive.Close();
            }
            if (qvstress::overwritesPrevious(s)) {
                // A card shown earlier, changed and saved over its record.
                qv::TArchivio archive(path, length);
                archive.Seek(stored[s - 1]);
                archive.Write(qvstress::record(process, s - 1, 1, length));
                archive.Close();
            }
        }
    } catch (const qv::ArchiveError &e) {
        std::fprintf(stderr, "process %d: %s\n", process, e.what());
        return 1;
    }
    return 0;
}
