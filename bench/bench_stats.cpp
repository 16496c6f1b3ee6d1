// The statistics of an event of 100 000 bookings whose attendance archive
// holds 100 000 entries (two days of 50 000), with exits on the first: the
// numbers, as a ratio to one sequential read of both archives in the same
// run, and the window filled and painted, as what it adds to the numbers.
//   cmake --build build --target bench_stats && QT_QPA_PLATFORM=offscreen build/bench/bench_stats [records]
#include "archive/records.h"
#include "benchsupport.h"
#include "core/programfolder.h"
#include "eventday/attendance.h"
#include "eventday/bookings.h"
#include "reservations/seatmap.h"
#include "stats/statistics.h"
#include "stats/statisticspages.h"
#include "stats/tfrmstatistiche.h"
#include "ui/style.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <memory>

using namespace qv;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    applyHouseStyle(app);
    const int count = qvbench::recordCount(argc, argv);
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);

    TSchedaEvento event;
    event.setText("Titolo", QStringLiteral("Congresso nazionale"));
    event.setText("DataInizio", QStringLiteral("12/03/2030"));
    event.setText("DataFine", QStringLiteral("13/03/2030"));
    event.setText("Posti", QStringLiteral("9999"));
    {
        QFile file(TSchedaEvento::archivePath());
        file.open(QIODevice::WriteOnly);
        file.write(event.bytes());
    }
    const QString reservations = TSchedaPrenotazione::archivePath(1);
    qvbench::writeReservations(reservations, count, 9999);
    const QList<Booking> bookings = Bookings::read(reservations);
    const QString entries = Attendance::archiveBeside(reservations, Attendance::Passage::In);
    const QString exits = Attendance::archiveBeside(reservations, Attendance::Passage::Out);
    {
        // Half of the bookings on each day, the first day's with their exit.
        QFile in(entries), outs(exits);
        in.open(QIODevice::WriteOnly);
        outs.open(QIODevice::WriteOnly);
        for (int day = 0; day < 2; ++day) {
            QByteArray block, exitBlock;
            for (qsizetype i = 0; i < count / 2 && i < bookings.size(); ++i) {
                const Booking &b = bookings.at((i * 2 + day) % bookings.size());
                const QDate date(2030, 3, 12 + day);
                block += Attendance::record(b.number, b.posto, QDateTime(date, QTime(8, 0).addSecs(int(i % 3600))));
                if (day == 0)
                    exitBlock += Attendance::record(b.number, b.posto, QDateTime(date, QTime(17, 0)));
            }
            in.write(block);
            outs.write(exitBlock);
        }
    }
    out << TSchedaPrenotazione::archiveName(1) << ": " << bookings.size() << " bookings, "
        << QFile(reservations).size() / (1 << 20) << " MiB; " << QFile(entries).size() / TSchedaPresenza::layout().size()
        << " entries, " << QFile(exits).size() / TSchedaUscita::layout().size() << " exits\n\n";

    // The yardstick: one plain read of both archives (and the exits), best of three.
    const double read = qvbench::bestOf(3, [&] {
        qvbench::sequentialRead(reservations);
        qvbench::sequentialRead(entries);
        qvbench::sequentialRead(exits);
    });
    Stats::Result result;
    const double numbers = qvbench::bestOf(3, [&] { result = Stats::forEvent(1); });
    // What the numbers stand on, each alone: the seat map's read and the
    // door's two archives read and grouped by day as the certificates do.
    const double seatMap = qvbench::bestOf(3, [&] {
        SeatMap map(9999);
        map.read(reservations);
    });
    const double door = qvbench::bestOf(3, [&] {
        Attendance::timesAtTheDoor(reservations, Attendance::eventDays("12/03/2030", "13/03/2030"), bookings.size());
    });

    // The first window of the process pays for fonts and styles: timed apart.
    const double first = qvbench::milliseconds([&] {
        TfrmStatistiche warm(2, nullptr);
        warm.show();
        warm.repaint();
        app.processEvents();
    });
    std::unique_ptr<TfrmStatistiche> window;
    const double opened = qvbench::bestOf(3, [&] {
        window = std::make_unique<TfrmStatistiche>(1, nullptr);
        window->show();
        window->repaint();
        app.processEvents();
    });
    const double printed = qvbench::milliseconds([&] { StatisticsPages::document(window->result()); });

    qvbench::Report report(out, "read", read);
    report.row("Sequential read of the three archives (best of 3)", read);
    report.row("Statistics of the event: the numbers (best of 3)", numbers,
               QString("%1 booked, present %2 and %3")
                   .arg(result.table("tabPosti")->value("prenotati"))
                   .arg(result.table("tabPresenze")->rows.value(0).values.value(0))
                   .arg(result.table("tabPresenze")->rows.value(1).values.value(0)));
    report.row("  of which the seat map read alone (best of 3)", seatMap);
    report.row("  of which the door's archives read, by day (best of 3)", door);
    report.row("First window of the process, event without bookings", first);
    report.row("Window: numbers, charts filled, painted (best of 3)", opened,
               QString("+%1 ms over the numbers").arg(opened - numbers, 0, 'f', 0));
    report.row("Pages of the charts built (print, preview, PDF)", printed);
    return 0;
}
