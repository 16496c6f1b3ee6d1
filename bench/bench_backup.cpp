// Backups of a large program folder: 100 000 participants and 100 000 events.
// The first backup copies everything; the second, with nothing changed,
// links every file to the first; the third follows one saved card. Each is
// timed against a plain copy of the same files, beside the verify and a
// restore.
//   cmake --build build --target bench_backup && build/bench/bench_backup [records]
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "backup/backup.h"
#include "backup/restore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

using namespace qv;

namespace {

double timed(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

// Writes `count` records made by `fill` in blocks of about 8 MB.
template<typename Card>
void writeArchive(const QString &path, int count, const std::function<void(Card &, int)> &fill)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        Card card;
        fill(card, i);
        block += card.bytes();
        if (block.size() > (8 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

void writeParticipants(const QString &path, int count)
{
    const QStringList names{"Rossi Mario", "Bianchi Anna", "Nicol\u00F2 Esposito", "Ferrari Chlo\u00E9"};
    writeArchive<TSchedaPartecipante>(path, count, [&](TSchedaPartecipante &p, int i) {
        p.setText("Cliente", QString("%1 %2").arg(names[i % 4]).arg(i));
        p.setText("ComuneNasc", "Forl\u00EC");
        p.setText("Email", QString("p%1@esempio.it").arg(i));
        p.setText("Note", i % 10 ? QString() : QString("Richiede posto \u201Cin prima fila\u201D"));
        p.setYesNo("Ricontatta", i % 3 == 0);
    });
}

void writeEvents(const QString &path, int count)
{
    const QStringList titles{"Convegno", "Congresso", "Seminario", "Meeting", "Corso", "Conferenza", "Giornata"};
    writeArchive<TSchedaEvento>(path, count, [&](TSchedaEvento &e, int i) {
        const quint32 k = quint32(i) * 2654435761u;
        e.setText("Titolo", QString("%1 n. %2").arg(titles[k % 7]).arg(k % 100000));
        e.setText("Tipologia", titles[k % 7]);
        e.setText("DataInizio", QString("%1/03/2030").arg(1 + k % 28, 2, 10, QChar('0')));
        e.setText("Sede", QString("Sede %1").arg(k % 313));
        e.setText("Quota", "150,00");
        e.setYesNo("Completo", k % 5 == 0);
    });
}

qint64 folderBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files))
        bytes += info.size();
    return bytes;
}

// What any copy would cost: every file read and written once, synced.
double plainCopy(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    return timed([&] {
        for (const QString &name : QDir(from).entryList({"*.pro", "*.dll"}, QDir::Files)) {
            QFile in(from + '/' + name);
            QFile out(to + '/' + name);
            in.open(QIODevice::ReadOnly);
            out.open(QIODevice::WriteOnly | QIODevice::Truncate);
            QByteArray block(1 << 20, Qt::Uninitialized);
            while (qint64 n = in.read(block.data(), block.size()))
                out.write(block.constData(), n);
            out.flush();
            ::fsync(out.handle());
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString folder = dir.path() + "/programma/";
    QDir().mkpath(folder);
    QTextStream out(stdout);

    writeParticipants(folder + "Partecipanti.pro", count);
    writeEvents(folder + "Eventi.pro", count);
    QFile ini(folder + "unins000.dll");
    ini.open(QIODevice::WriteOnly);
    ini.write("[Accesso]\r\nValore=4F187C3F84C849F04D26EE84D997\r\n");
    ini.close();
    const qint64 bytes = folderBytes(folder);
    out << QString("%1 participants and %1 events: %2 MB\n").arg(count).arg(bytes / 1e6, 0, 'f', 1);

    const double copy = plainCopy(folder, dir.path() + "/copia");
    out << QString("plain copy of the files, synced: %1 ms\n").arg(copy, 0, 'f', 1);

    Backup::Request request;
    request.programFolder = folder;
    request.iniFile = folder + "unins000.dll";
    request.root = dir.path() + "/Backup";
    request.moment = QDateTime(QDate(2030, 3, 1), QTime(9, 0));
    const auto backup = [&](const char *what) {
        Backup::Outcome made;
        const double ms = timed([&] { made = *Backup::make(request); });
        out << QString("%1: %2 ms = %3 x the plain copy; %4 files, %5 linked, %6 MB new\n")
                   .arg(what, -28)
                   .arg(ms, 0, 'f', 1)
                   .arg(ms / copy, 0, 'f', 2)
                   .arg(made.files)
                   .arg(made.linked)
                   .arg(made.newBytes / 1e6, 0, 'f', 1);
        request.moment = request.moment.addDays(1);
        return made;
    };
    const Backup::Outcome first = backup("first backup");
    backup("second, nothing changed");
    {
        TArchivio events(folder + "Eventi.pro", TSchedaEvento::layout().size());
        TSchedaEvento e;
        e.setText("Titolo", "Assemblea dei soci");
        events.Seek(count / 2);
        events.Write(e);
    }
    backup("third, one event saved");

    Backup::Verifier verifier;
    const double verify = timed([&] { verifier.verify(first.path); });
    out << QString("verify of one backup: %1 ms\n").arg(verify, 0, 'f', 1);
    const double restore = timed([&] { Backup::restore(request, first.path); });
    out << QString("restore of the first (with its backup of the state before): %1 ms = %2 x the plain copy\n")
               .arg(restore, 0, 'f', 1)
               .arg(restore / copy, 0, 'f', 2);
    return 0;
}
