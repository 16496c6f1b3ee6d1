#pragma once
// Bookings of an event written into a temporary program folder, for the
// tests of the day of the event (badges, check-in, notice to everyone).
#include "archive/records.h"
#include "eventday/bookings.h"
#include "support/testsupport.h"

#include <QList>
#include <QString>

namespace dayfixtures {

struct Guest
{
    QString cliente;
    QString posto;
    QString email = {};
    bool pending = false;
};

inline QByteArray reservation(const Guest &g)
{
    qv::TSchedaPrenotazione r;
    r.setText("Cliente", g.cliente);
    r.setText("Posto", g.posto);
    r.setText("Numero", qv::TSchedaPrenotazione::Numero(g.posto));
    r.setText("Email", g.email);
    r.setYesNo("DaConfermare", g.pending);
    return r.bytes();
}

// Writes the bookings of event `event`; returns the archive's path.
inline QString writeBookings(const qvtest::TempProgramFolder &folder, qint64 event, const QList<Guest> &guests)
{
    QByteArray bytes;
    for (const Guest &g : guests)
        bytes += reservation(g);
    const QString name = qv::TSchedaPrenotazione::archiveName(event);
    folder.write(name, bytes);
    return folder.file(name);
}

// `count` guests, the n-th (from 1) named "Ospite n" on seat n.
inline QList<Guest> numberedGuests(int count)
{
    QList<Guest> guests;
    for (int n = 1; n <= count; ++n)
        guests.append({QStringLiteral("Ospite %1").arg(n), QString::number(n)});
    return guests;
}

inline qv::EventInfo convegno(qint64 number = 3)
{
    qv::EventInfo event;
    event.number = number;
    event.titolo = QStringLiteral("Convegno di primavera");
    event.dataInizio = QStringLiteral("12/03/2026");
    event.oraInizio = QStringLiteral("09:30");
    event.sede = QStringLiteral("Aula Magna");
    event.indirizzo = QStringLiteral("Via Roma 1");
    return event;
}

} // namespace dayfixtures
