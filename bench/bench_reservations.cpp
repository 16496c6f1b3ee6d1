// Seat booking on a large reservations archive: the availability check, the
// booked-seats and pending lists and the search with every box empty, each
// as a ratio to one sequential read of the file.
//   cmake --build build --target bench_reservations && QT_QPA_PLATFORM=offscreen build/bench/bench_reservations [records]
#include "archive/records.h"
#include "benchsupport.h"
#include "core/programfolder.h"
#include "output/listscan.h"
#include "reservations/reservationlists.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmprenotazioni.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "ui/style.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTextStream>

using namespace qv;
namespace RL = qv::ReservationLists;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    applyHouseStyle(app);
    const int count = qvbench::recordCount(argc, argv);
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);
    const QString path = TSchedaPrenotazione::archivePath(1);
    const double writing = qvbench::milliseconds([&] { qvbench::writeReservations(path, count); });
    out << "Posti_Riservati_Evento_1.pro: " << count << " records, " << QFile(path).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    qint64 seen = 0;
    const double read = qvbench::milliseconds([&] {
        scanArchive(path, TSchedaPrenotazione::layout(), [&](const RecordView &, qint64) { ++seen; });
    });
    QStringList holders;
    const double check = qvbench::milliseconds([&] { holders = RL::seatHolders(path, "125"); });
    const double checkFree = qvbench::milliseconds([&] { holders = RL::seatHolders(path, "Z9"); });
    const auto at = [path] { return path; };
    QStringList lines;
    const double bookedBuild = qvbench::milliseconds([&] {
        scanArchive(path, TSchedaPrenotazione::layout(), [&](const RecordView &r, qint64) {
            if (RL::isBooked(r))
                lines.append(RL::bookedLines().line(r));
        });
    });
    const double bookedSort = qvbench::milliseconds([&] { sortLines(lines); });
    LineList list;
    const double booked = qvbench::milliseconds([&] { list = listLines(RL::bookedSource(at), RL::isBooked); });
    const qsizetype bookedCount = list.size();
    const double pending = qvbench::milliseconds([&] { list = listLines(RL::pendingSource(at), RL::isPending); });
    const qsizetype pendingCount = list.size();
    const double searchAll = qvbench::milliseconds([&] { list = searchLines(RL::searchSource(at), FilterRule({})); });
    const qsizetype searchCount = list.size();

    // The windows as the user meets them: shown, filled and painted once.
    TfrmPrenotazioni card;
    card.lblFile->setText(path);
    double bookedWindow = 0, pendingWindow = 0, searchWindow = 0;
    {
        TfrmVerificaPosti list(&card);
        bookedWindow = qvbench::milliseconds([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }
    {
        TfrmDaConfermare list(&card);
        pendingWindow = qvbench::milliseconds([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }
    {
        TfrmTrovaPrenotazioni search(&card);
        search.show();
        app.processEvents();
        searchWindow = qvbench::milliseconds([&] {
            search.btnCercaClick();
            search.lstRecords->viewport()->repaint();
            app.processEvents();
        });
    }

    qvbench::Report report(out, "read", read);
    report.row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    report.row("Availability check, a seat held", check, QString("%1 holders").arg(RL::seatHolders(path, "125").size()));
    report.row("Availability check, a free seat", checkFree, QString("%1 holders").arg(holders.size()));
    report.row("Booked seats: read + build every line", bookedBuild);
    report.row("Booked seats: sort every line once", bookedSort);
    report.row("Booked seats: read+build+sort", booked, QString("%1 lines").arg(bookedCount));
    report.row("Pending confirmations: read+build+sort", pending, QString("%1 lines").arg(pendingCount));
    report.row("Search, every box empty: read+build+sort", searchAll, QString("%1 lines").arg(searchCount));
    report.row("Booked seats window: show, fill, paint", bookedWindow);
    report.row("Pending window: show, fill, paint", pendingWindow);
    report.row("Search window: Cerca with every box empty, paint", searchWindow);
    return 0;
}
