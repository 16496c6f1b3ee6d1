// Check-in desk: one desk at the door checking bookings in through the
// program's attendance code, each check-in a user action of its own (open,
// look and append under the lock, close). The check-in stress test starts
// two at once on one attendance archive.
//   qv_checkindesk ATTENDANCE COUNT [backwards]
// Checks in the bookings numbered 1 to COUNT, in that order (or from COUNT
// down to 1), and says on standard output how many it recorded and how many
// it found in already:
//   recorded N
//   already M
#include "eventday/attendance.h"

#include "archive/tarchivio.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool backwards = args.size() == 4 && args.at(3) == QLatin1String("backwards");
    if (args.size() != 3 && !backwards) {
        std::fprintf(stderr, "usage: qv_checkindesk ATTENDANCE COUNT [backwards]\n");
        return 2;
    }
    // As for the stress writer: on a busy machine a write can take seconds,
    // and what is checked is that nothing is lost or doubled, not how long a
    // desk waits for the lock.
    qv::TArchivio::setLockTimeout(120000);
    const QString path = args.at(1);
    const int count = args.at(2).toInt();
    int recorded = 0, already = 0;
    try {
        for (int i = 1; i <= count; ++i) {
            const int booking = backwards ? count + 1 - i : i;
            const qv::Attendance::CheckIn done = qv::Attendance::checkIn(
                path, booking, QString::number(booking), QDateTime::currentDateTime());
            if (done.entry.reservation != booking) {
                std::fprintf(stderr, "booking %d: told of the entry of booking %lld\n", booking,
                             static_cast<long long>(done.entry.reservation));
                return 1;
            }
            ++(done.recorded() ? recorded : already);
        }
    } catch (const qv::ArchiveError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("recorded %d\nalready %d\n", recorded, already);
    return 0;
}
