#pragma once
#include "output/listscan.h"

#include <QString>
#include <QStringList>

#include <functional>

// The widget-free rules of seat booking: the lines of the booked-seats,
// pending-confirmation and search lists, the seat comparison and holder
// lines of the availability check, and the booking notice texts.
namespace qv::ReservationLists {

// The archive path a window reads: the card's lblFile, asked for each scan.
using PathSource = std::function<QString()>;

// "Posto n. " + zero-padded seat + name, contacts and the seat's location.
const LineLayout &bookedLines();
// Name, contacts and the seat as typed.
const LineLayout &pendingLines();
// Name, contacts, seat and notes: the reservation search.
const LineLayout &searchLines();
// "Posto n. " + seat in 5 + two blanks + name in 50: a holder of a seat.
const LineLayout &holderLines();

ListSource bookedSource(PathSource path);
ListSource pendingSource(PathSource path);
ListSource searchSource(PathSource path);

// Every card that holds a seat (its trimmed seat is not empty).
bool isBooked(const RecordView &reservation);
// Cards whose confirmation is pending: DaConfermare reads exactly "Sì".
bool isPending(const RecordView &reservation);

// Two seats are the same when, trimmed and ASCII upper-cased, they are equal
// as text: "a5" and "A5" are one seat, "5" and "05" are two.
bool sameSeat(const QString &stored, const QString &typed);
// The form in which seats are compared: equal keys, one seat.
QString seatKey(const QString &seat);

// The sorted holder lines of every card of the archive at `path` that holds
// `seat`. Throws ArchiveError when the archive cannot be opened or read: a
// partial answer could call a taken seat free.
QStringList seatHolders(const QString &path, const QString &seat);

// The booking notice: its subject and its one-line body.
struct NoticeData
{
    QString cliente, posto, titolo, dataInizio, oraInizio, sede, indirizzo;
};
QString noticeSubject();
QString noticeBody(const NoticeData &data);

} // namespace qv::ReservationLists
