// The check-in desk on an event of 10 000 bookings whose attendance archive
// holds 30 000 entries (three days of 10 000): one line at the desk (a badge,
// a seat, part of a name), for a booking already in today and for one not,
// as ratios to one sequential read of both archives in the same run.
//   cmake --build build --target bench_checkin && build/bench/bench_checkin [bookings]
#include "archive/filesync.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "benchsupport.h"
#include "eventday/attendance.h"
#include "eventday/badgecode.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace qv;

namespace {

constexpr int kRounds = 5; // each line timed this many times, the median kept

const QDate kToday(2026, 3, 12);

double median(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// Round r of a step: the median of kRounds.
double timed(const std::function<void(int round)> &step)
{
    QList<double> times;
    for (int r = 0; r < kRounds; ++r)
        times.append(qvbench::milliseconds([&] { step(r); }));
    return median(times);
}

QByteArray entry(const Booking &b, const QDate &day, int second, bool undone)
{
    QByteArray bytes = Attendance::record(b.number, b.posto, QDateTime(day, QTime(8, 0).addSecs(second)));
    if (undone) {
        TSchedaPresenza r;
        r.setBytes(bytes);
        r.setYesNo(QStringLiteral("Annullato"), true);
        bytes = r.bytes();
    }
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = qvbench::recordCount(argc, argv, 10000);
    QTemporaryDir dir;
    QTextStream out(stdout);
    const QString reservations = dir.filePath(TSchedaPrenotazione::archiveName(1));
    const QString attendance = Attendance::archiveBeside(reservations, Attendance::Passage::In);
    qvbench::writeReservations(reservations, count, count);
    const QList<Booking> bookings = Bookings::read(reservations);

    // Bookings alone on their seat, some for the lines of those already in
    // today and, one a round and a line, some for those not: their entry of
    // today undone.
    QHash<QString, int> holders;
    for (const Booking &b : bookings)
        ++holders[b.posto];
    QList<Booking> in, out_;
    for (qsizetype i = bookings.size() / 3; i < bookings.size() && out_.size() < 3 * kRounds; ++i) {
        const Booking &b = bookings.at(i);
        if (holders.value(b.posto) != 1)
            continue;
        (in.size() < kRounds ? in : out_).append(b);
    }
    if (out_.size() < 3 * kRounds) {
        out << "Too few bookings alone on their seat\n";
        return 1;
    }
    QSet<qint64> notIn;
    for (const Booking &b : out_)
        notIn.insert(b.number);

    {
        QFile file(attendance);
        file.open(QIODevice::WriteOnly);
        for (int d = 2; d >= 0; --d) {
            QByteArray block;
            for (const Booking &b : bookings)
                block += entry(b, kToday.addDays(-d), int(b.number % 3600), d == 0 && notIn.contains(b.number));
            file.write(block);
        }
    }
    // On the disk before any timing, as a desk's archives are: the first
    // check-in would otherwise pay for writing the generated files out.
    for (const QString &path : {reservations, attendance}) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        syncFile(file);
    }
    out << TSchedaPrenotazione::archiveName(1) << ": " << bookings.size() << " bookings, "
        << QFile(reservations).size() / 1024 << " KiB; " << QFileInfo(attendance).fileName() << ": "
        << QFile(attendance).size() / TSchedaPresenza::layout().size() << " entries on three days, "
        << QFile(attendance).size() / 1024 << " KiB\n\n";

    const auto bothRead = [&] { return qvbench::sequentialRead(reservations) + qvbench::sequentialRead(attendance); };
    bothRead(); // into the page cache
    QList<double> reads;
    for (int r = 0; r < kRounds; ++r)
        reads.append(bothRead());
    const double read = median(reads);

    const Attendance::Desk desk(1, reservations);
    const QDateTime now(kToday, QTime(10, 0));
    const auto scan = [&](const QString &typed, Attendance::DeskAnswer::Kind expected) {
        const Attendance::DeskAnswer answer = desk.scan(typed, Attendance::Passage::In, now);
        if (answer.kind != expected)
            out << "unexpected answer to " << typed << ": " << answer.text << "\n";
    };
    const auto kindFor = [](const Booking &b) {
        return b.pending ? Attendance::DeskAnswer::Pending : Attendance::DeskAnswer::Recorded;
    };
    const auto badge = [](const Booking &b) { return QString::fromLatin1(BadgeCode::text(1, b.number, b.posto)); };
    // "mario 1234" of "Rossi Mario 1234": the part of a name typed at the desk.
    const auto namePart = [](const Booking &b) { return b.cliente.section(QLatin1Char(' '), 1).toLower(); };

    // What a check-in writes: one entry appended under the lock, journalled
    // and made durable, into an archive of its own.
    const QString alone = dir.filePath(TSchedaPresenza::archiveName(2));
    const double append = timed([&](int r) {
        TArchivio archive(alone, TSchedaPresenza::layout().size());
        archive.Append(entry(bookings.at(r), kToday, 0, false));
    });

    qvbench::Report report(out, "read", read, 60);
    report.row("Sequential read of both archives (median of 5)", read);
    report.row("  the bookings read (Bookings::read)", timed([&](int) { Bookings::read(reservations); }));
    report.row("  the entries read (Attendance::read)", timed([&](int) { Attendance::read(attendance); }));
    report.row("  one entry appended (lock, journal, sync)", append);
    report.row("Badge of a booking in today", timed([&](int r) { scan(badge(in.at(r)), Attendance::DeskAnswer::Already); }));
    report.row("Badge of a booking not in today",
               timed([&](int r) { scan(badge(out_.at(r)), kindFor(out_.at(r))); }));
    report.row("Seat of a booking in today", timed([&](int r) { scan(in.at(r).posto, Attendance::DeskAnswer::Already); }));
    report.row("Seat of a booking not in today", timed([&](int r) {
                   const Booking &b = out_.at(kRounds + r);
                   scan(b.posto, kindFor(b));
               }));
    report.row("Part of the name of a booking in today",
               timed([&](int r) { scan(namePart(in.at(r)), Attendance::DeskAnswer::Choose); }));
    report.row("Part of the name of a booking not in today",
               timed([&](int r) { scan(namePart(out_.at(2 * kRounds + r)), Attendance::DeskAnswer::Choose); }));
    return 0;
}
