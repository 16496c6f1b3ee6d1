// Seat booking on a large reservations archive: the availability check, the
// booked-seats and pending lists and the search with every box empty, each
// as a ratio to one sequential read of the file.
//   cmake --build build --target bench_reservations && QT_QPA_PLATFORM=offscreen build/bench/bench_reservations [records]
#include "archive/records.h"
#include "core/programfolder.h"
#include "output/listscan.h"
#include "reservations/reservationlists.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmprenotazioni.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "ui/style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTextStream>

using namespace qv;
namespace RL = qv::ReservationLists;

namespace {

double run(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

void writeReservations(const QString &path, int count)
{
    const QStringList surnames{"Rossi", "Bianchi", "Esposito", "Romano", "Colombo", "Ricci", "Marino", "Greco"};
    const QStringList names{"Mario", "Anna", "Luca", "Giulia", "Paolo", "Sara", "Marco", "Elena"};
    const QStringList towns{"Roma", "Milano", "Napoli", "Torino", "Bologna", "Firenze", "Bari"};
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        const quint32 k = quint32(i) * 2654435761u;
        TSchedaPrenotazione r;
        r.setText("Cliente", QString("%1 %2 %3").arg(surnames[k % 8], names[(k >> 5) % 8]).arg(k % 10007));
        r.setText("ComuneRes", towns[(k >> 9) % 7]);
        r.setText("Recapito", QString("06 %1").arg(k % 9999999));
        r.setText("TelCel", QString("333 %1").arg(k % 9999999));
        const QString seat = QString::number(k % 5000 + 1);
        r.setText("Posto", seat);
        r.setText("Numero", TSchedaPrenotazione::Numero(seat));
        r.setText("Ubicazione", QString("Settore %1").arg((k >> 3) % 20));
        r.setText("Annotazioni", i % 10 ? QString() : QString("Ospite VIP"));
        r.setYesNo("DaConfermare", k % 7 == 0);
        block += r.bytes();
        if (block.size() > (8 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    applyHouseStyle(app);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);
    const QString path = TSchedaPrenotazione::archivePath(1);
    const double writing = run([&] { writeReservations(path, count); });
    out << "Posti_Riservati_Evento_1.pro: " << count << " records, " << QFile(path).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    qint64 seen = 0;
    const double read = run([&] {
        scanArchive(path, TSchedaPrenotazione::layout(), [&](const RecordView &, qint64) { ++seen; });
    });
    QStringList holders;
    const double check = run([&] { holders = RL::seatHolders(path, "125"); });
    const double checkFree = run([&] { holders = RL::seatHolders(path, "Z9"); });
    const auto at = [path] { return path; };
    QStringList lines;
    const double bookedBuild = run([&] {
        scanArchive(path, TSchedaPrenotazione::layout(), [&](const RecordView &r, qint64) {
            if (RL::isBooked(r))
                lines.append(RL::bookedLines().line(r));
        });
    });
    const double bookedSort = run([&] { sortLines(lines); });
    const double booked = run([&] { lines = listLines(RL::bookedSource(at), RL::isBooked); });
    const qsizetype bookedCount = lines.size();
    const double pending = run([&] { lines = listLines(RL::pendingSource(at), RL::isPending); });
    const qsizetype pendingCount = lines.size();
    const double searchAll = run([&] { lines = searchLines(RL::searchSource(at), FilterRule({})); });
    const qsizetype searchCount = lines.size();

    // The windows as the user meets them: shown, filled and painted once.
    TfrmPrenotazioni card;
    card.lblFile->setText(path);
    double bookedWindow = 0, pendingWindow = 0, searchWindow = 0;
    {
        TfrmVerificaPosti list(&card);
        bookedWindow = run([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }
    {
        TfrmDaConfermare list(&card);
        pendingWindow = run([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }
    {
        TfrmTrovaPrenotazioni search(&card);
        search.show();
        app.processEvents();
        searchWindow = run([&] {
            search.btnCercaClick();
            search.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }

    auto row = [&](const char *what, double ms, const QString &note = {}) {
        out << QString("%1 %2 ms  %3x read").arg(QString(what).leftJustified(52, '.')).arg(ms, 8, 'f', 1).arg(ms / read, 5, 'f', 1);
        if (!note.isEmpty())
            out << "  (" << note << ")";
        out << "\n";
    };
    row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    row("Availability check, a seat held", check, QString("%1 holders").arg(RL::seatHolders(path, "125").size()));
    row("Availability check, a free seat", checkFree, QString("%1 holders").arg(holders.size()));
    row("Booked seats: read + build every line", bookedBuild);
    row("Booked seats: sort every line once", bookedSort);
    row("Booked seats: read+build+sort", booked, QString("%1 lines").arg(bookedCount));
    row("Pending confirmations: read+build+sort", pending, QString("%1 lines").arg(pendingCount));
    row("Search, every box empty: read+build+sort", searchAll, QString("%1 lines").arg(searchCount));
    row("Booked seats window: show, fill, paint", bookedWindow);
    row("Pending window: show, fill, paint", pendingWindow);
    row("Search window: Cerca with every box empty, paint", searchWindow);
    return 0;
}
