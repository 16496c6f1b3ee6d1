#pragma once
#include "eventday/badgecode.h"
#include "eventday/bookings.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

// Check-in at the door: who of an event's bookings has come in and when,
// kept in the event's attendance archive (Presenze_Evento_<n>.pro, records
// TSchedaPresenza) beside its bookings. Entries are only appended; undoing
// one marks it in place. The reservations archive is only read. Widget-free.
namespace qv::Attendance {

// The attendance archive of the event whose bookings are `reservationArchive`,
// in the same folder; empty when that is not a reservations archive's name.
QString archiveBeside(const QString &reservationArchive);

struct Entry
{
    qint64 number = 0;      // 1-based, in the attendance archive
    qint64 reservation = 0; // the booking's record number
    QString posto;          // the seat the booking had when it came in
    QDateTime moment;       // invalid when the stored date or time is not one
    bool undone = false;
    QByteArray bytes;       // as read: an undo changes it only if it is still so

    // "09:31:05" on the day itself, else "12/03/2026 09:31:05".
    QString when(const QDate &today) const;
};

// One record of the attendance archive: the booking, its seat, the moment.
QByteArray record(qint64 reservation, const QString &posto, const QDateTime &moment);
Entry entryOf(const QByteArray &record, qint64 number);

// Every entry in file order; a missing archive has none and is not created.
// Throws ArchiveError.
QList<Entry> read(const QString &attendanceArchive);
// The entry in force of each booking that is in (entries not undone), by
// the booking's record number.
QHash<qint64, Entry> present(const QList<Entry> &entries);

struct CheckIn
{
    bool recorded = false; // false: the booking was in already
    Entry entry;           // the new entry, or the one made before
};

// Checks a booking in at `moment` unless it is in already. Whether it is in
// is decided from the archive as it stands under its write lock, in the same
// write as the append: two desks checking the same booking in at once give
// one entry, and the other desk is told when it was made. Creates the archive
// when missing. Throws ArchiveError.
CheckIn checkIn(const QString &attendanceArchive, qint64 reservation, const QString &posto, const QDateTime &moment);

// Marks an entry undone, if it is still as it was read (or undone already,
// by another desk at the same time); false, and nothing written, when the
// record there is no longer that entry. Throws ArchiveError.
bool undo(const QString &attendanceArchive, const Entry &entry);

// What one line typed at the desk (a scanned badge, a seat, part of a name)
// stands for among the event's bookings.
struct Lookup
{
    enum Kind {
        Empty,         // nothing typed
        Badge,         // a badge of this event's booking: `matches` holds it
        OtherEvent,    // a badge of another event
        BadCode,       // meant as a badge code, but damaged
        UnknownRecord, // a badge of this event naming no booking (any more)
        Seat,          // the bookings of that seat
        Name,          // the bookings whose name holds the text; may be none
    };
    Kind kind = Empty;
    QList<Booking> matches;
    BadgeCode::Code code;
};
Lookup lookup(const QString &typed, qint64 eventNumber, const QList<Booking> &bookings);

// Whether `part` occurs in `name`, blanks at its ends aside, regardless of
// the case of ASCII letters and of accents ("nicolo" finds "Nicolò").
bool nameHolds(const QString &name, const QString &part);

} // namespace qv::Attendance
