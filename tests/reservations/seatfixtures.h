#pragma once
// Reservations archives for the seat map's tests, written as the card writes
// them (or, on request, as another program might have).
#include "archive/records.h"

#include <QByteArray>
#include <QStringList>

namespace qvtest {

// Bookings written as "name|seat" or "name|seat|p" (awaiting confirmation);
// "name|seat|r" stores the seat exactly as given, blanks included.
inline QByteArray bookings(const QStringList &cards)
{
    QByteArray bytes;
    for (const QString &b : cards) {
        const QStringList part = b.split('|');
        qv::TSchedaPrenotazione r;
        r.setText("Cliente", part.value(0));
        r.setText("Posto", part.value(1));
        r.setText("Numero", qv::TSchedaPrenotazione::Numero(part.value(1)));
        r.setYesNo("DaConfermare", part.value(2) == "p");
        QByteArray card = r.bytes();
        if (part.value(2) == "r") {
            const int posto = r.layout().field(r.layout().indexOf("Posto")).offset;
            const QByteArray seat = part.value(1).toLatin1();
            card[posto] = char(seat.size());
            card.replace(posto + 1, seat.size(), seat);
        }
        bytes += card;
    }
    return bytes;
}

// The hall of the seat map's examples: 30 seats, seat 2 awaiting
// confirmation, seat 12 on two cards, and a5.
inline const QStringList kThirtySeats{"Rossi Mario|2|p", "Bianchi Anna|12", "Verdi Luca|12", "Neri Paolo|a5"};

// Every kind of card an event of 30 seats may hold: a plain booking, seat 12
// on two cards (one awaiting confirmation), a seat named by letters and one
// above the total (both outside 1..30, one awaiting), and a card without a
// seat. 6 people booked, 2 of them awaiting and 2 outside the hall; seats 1,
// 5 and 12 taken, 27 free, 1 held twice.
inline const QStringList kEveryKind{"Rossi Mario|1",  "Bianchi Anna|12|p", "Verdi Luca|12", "Neri Paolo|LUCA|p",
                                    "Gialli Ugo|31", "Blu Carla|",        "Viola Ada|5"};

} // namespace qvtest
