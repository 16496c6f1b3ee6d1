#pragma once
#include "eventday/badgecode.h"
#include "eventday/bookings.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// Check-in at the door: who of an event's bookings has come in and gone out,
// day by day, kept beside the event's bookings in two archives of records of
// one shape: the entries (Presenze_Evento_<n>.pro, TSchedaPresenza) and, for
// events that count the hours, the exits (Uscite_Evento_<n>.pro,
// TSchedaUscita). A booking comes in once a day and goes out once a day.
// Records are only appended; undoing one marks it in place. The reservations
// archive is only read. Widget-free.
namespace qv::Attendance {

enum class Passage { In, Out };

// The archive of `passage` of the event whose bookings are
// `reservationArchive`, in the same folder; empty when that is not a
// reservations archive's name.
QString archiveBeside(const QString &reservationArchive, Passage passage = Passage::In);

struct Entry
{
    qint64 number = 0;      // 1-based, in its archive
    qint64 reservation = 0; // the booking's record number
    QString posto;          // the seat the booking had when it passed
    // When it passed; both invalid when the stored date or time is not one.
    // Kept apart: a date-time in local time costs microseconds to make, and
    // an event's archives hold tens of thousands of records.
    QDate date;
    QTime time;
    bool hasMoment() const { return date.isValid() && time.isValid(); }
    QDateTime moment() const { return hasMoment() ? QDateTime(date, time) : QDateTime(); }
    bool undone = false;
    QByteArray bytes;       // as read: an undo changes it only if it is still so

    // "09:31:05" on the day itself, else "12/03/2026 09:31:05".
    QString when(const QDate &today) const;
};

// One record of either archive: the booking, its seat, the moment.
QByteArray record(qint64 reservation, const QString &posto, const QDateTime &moment);
Entry entryOf(const QByteArray &record, qint64 number);

// What the counts need of a stored record: whose, when, whether undone; the
// same as entryOf() reads, without the seat and the bytes. `record` holds a
// whole record of the archives' length.
struct Passing
{
    qint64 reservation = 0;
    QDate date; // both invalid when the stored date or time is not one
    QTime time;
    bool undone = false;
    // Whether it is the passage of a booking, in force on a day.
    bool inForce() const { return !undone && reservation > 0 && date.isValid(); }
};
Passing passingOf(const char *record);

// Every record of one archive in file order; a missing archive has none and
// is not created. Throws ArchiveError.
QList<Entry> read(const QString &archive);
// The record in force (not undone) of each booking on `day`, the first of
// the day, by the booking's record number. Records whose moment is not a
// date belong to no day.
QHash<qint64, Entry> onDay(const QList<Entry> &records, const QDate &day);

// The days an event runs: every day from its start to its end; one day when
// the end is empty, not a date or before the start; none when the start is
// not a date. At most a year of days.
QList<QDate> eventDays(const QString &dataInizio, const QString &dataFine);

// Seconds present between an entry and an exit; nullopt when either moment
// is unknown or the exit is not after the entry.
std::optional<qint64> secondsPresent(const Entry &in, const Entry &out);
// "8:05" (hours and minutes) for a time present.
QString hoursText(qint64 seconds);

// Both archives of an event as read at one moment.
struct Register
{
    QList<Entry> entries;
    QList<Entry> exits;

    // Throws ArchiveError. Missing archives are empty and not created.
    static Register read(const QString &reservationArchive);

    // The days with a record in force, in order.
    QList<QDate> daysWithRecords() const;
    // The event's days, the days with records and `today`, in order, once each.
    QList<QDate> daysToShow(const QList<QDate> &eventDays, const QDate &today) const;
};

// One booking's day at the door.
struct Day
{
    std::optional<Entry> in, out;
    std::optional<qint64> seconds() const;
};

// Every booking's day at the door on `day`, by record number.
QHash<qint64, Day> daysOf(const Register &reg, const QDate &day);

// A booking's day at the door as the counts need it: the times of its entry
// and of its exit in force that day, as daysOf() gives them; each null (and
// only then not valid) when there is none.
struct Times
{
    QTime in, out;
};
// Every booking's times on each of `days`, read in one pass over each
// archive without keeping the records: by day, then by the booking's record
// number, 1 to `bookings` ([0] unused): 8 bytes a booking for each day with
// records. A day without any entry of those bookings has no list. Records of
// other bookings or days are passed over.
// For the counts of large events; missing archives are empty and not
// created. Throws ArchiveError.
QList<QList<Times>> timesAtTheDoor(const QString &reservationArchive, const QList<QDate> &days, qint64 bookings);

struct CheckIn
{
    enum Outcome {
        Recorded,
        Already, // passed that way already that day: `entry` is that record
        NoEntry, // an exit of a booking that has not come in that day
    };
    Outcome outcome = Recorded;
    bool recorded() const { return outcome == Recorded; }
    Entry entry; // the new record, or the one made before
    std::optional<Entry> in; // with an exit: that day's entry
};

// Checks a booking in at `moment` unless it is in already that day. Whether
// it is in is decided from the archive as it stands under its write lock, in
// the same write as the append: two desks checking the same booking in at
// once give one entry, and the other desk is told when it was made. Creates
// the archive when missing. Throws ArchiveError.
CheckIn checkIn(const QString &attendanceArchive, qint64 reservation, const QString &posto, const QDateTime &moment);
// Records a booking's exit at `moment`, the same way, in the exits archive;
// refused (NoEntry) when the booking has no entry in force that day.
CheckIn checkOut(const QString &reservationArchive, qint64 reservation, const QString &posto,
                 const QDateTime &moment);

// Marks a record undone, if it is still as it was read (or undone already,
// by another desk at the same time); false, and nothing written, when the
// record there is no longer that one. Throws ArchiveError.
bool undo(const QString &archive, const Entry &entry);

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

// What the desk says after a line typed or a booking chosen: the same rules
// and words at the window and on the command line.
struct DeskAnswer
{
    enum Kind {
        Recorded,  // "registrato": in (or out) now
        Pending,   // "sospeso": in now, but the booking awaits confirmation
        Already,   // "gia": passed that way already today, nothing changed
        Refused,   // "rifiutato": nothing recorded
        Choose,    // "avviso": several (or a name's) bookings to choose from
    };
    Kind kind = Refused;
    QString text;             // several lines
    QList<Booking> matches;   // with Choose
    std::optional<Entry> entry; // the record made, or the one in the way
    Booking booking;          // the booking acted on, where there is one
    // The style word of the kind: "registrato", "sospeso", "gia", ...
    QString style() const;
};

class Desk
{
public:
    Desk(qint64 eventNumber, const QString &reservationArchive)
        : m_event(eventNumber), m_reservations(reservationArchive)
    {
    }

    // A line typed or scanned: a badge or a seat of one booking passes at
    // once; several bookings, or a part of a name, are to be chosen from.
    // `passage` says whether the desk records entries or exits. Throws
    // ArchiveError (nothing recorded).
    DeskAnswer scan(const QString &typed, Passage passage, const QDateTime &now) const;
    // A booking chosen (from the matches, or a new card just saved) passes.
    DeskAnswer pass(const Booking &booking, Passage passage, const QDateTime &now, const QString &note = {}) const;

    QString reservationArchive() const { return m_reservations; }

private:
    qint64 m_event;
    QString m_reservations;
};

// "alle 09:31:05", or "il 12/03/2026 alle 09:31:05" when not on `today`.
QString whenSaid(const Entry &entry, const QDate &today);

} // namespace qv::Attendance
