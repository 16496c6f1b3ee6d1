#pragma once
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The bookings of an event as the day of the event sees them: who holds
// which seat, read from the event's reservations archive. Widget-free.
namespace qv {

// The event the badges, the door and the notice to everyone are about.
struct EventInfo
{
    qint64 number = 0; // its record number in Eventi.pro
    QString titolo, dataInizio, oraInizio, sede, indirizzo;
    QString dataFine; // empty, or not a date, for an event of one day
    QString oraFine, relatori; // read where the certificates need them
    QString posti;             // the seats offered, as typed on the card
};

// One booking: a reservation record that holds a seat.
struct Booking
{
    qint64 number = 0; // the record number, which never changes
    QString cliente;   // trimmed, as the other texts
    QString posto;
    QString email;
    bool pending = false; // "Da confermare"
};

namespace Bookings {

// The event number of a reservations archive path
// (".../Posti_Riservati_Evento_<n>.pro"), 0 when the name is not one.
qint64 eventNumberOf(const QString &reservationArchive);

// Every booking of the archive (every record whose trimmed seat is not
// empty) in the order of the booked-seats list: by zero-padded seat, then
// by name. A missing archive has none and is not created. Throws ArchiveError.
QList<Booking> read(const QString &reservationArchive);
// The bookings of read() that `keep` lets through, in the same order: only
// those are put in order, so finding a few costs little more than the read.
QList<Booking> read(const QString &reservationArchive, const std::function<bool(const Booking &)> &keep);
// The booking of record `number`, read alone, when that record holds a seat.
std::optional<Booking> readOne(const QString &reservationArchive, qint64 number);

// "Posto 12  Rossi Mario": a booking named in a message or a list.
QString describe(const Booking &booking);

} // namespace Bookings
} // namespace qv
