#pragma once
// The owner's check of the statistics: four events (three in 2026), the
// bookings of two of them (a pending one, a double booking, a card without a
// seat, thirteen provinces so that "altre" appears), two days at the door
// with exits on the first and an entry undone on the second, and three
// participants, two to recontact.
#include "archive/records.h"
#include "eventday/attendance.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace statsfixtures {

struct Card
{
    const char *cliente;
    const char *posto;
    const char *provincia;
    bool pending = false;
};

// Event 1, 12-13/03/2026, 20 seats. Seat 3 is booked twice; Bruni Eva names
// no province; the last card holds no seat and counts nowhere.
inline const QList<Card> kConvegno{
    {"Rossi Mario", "1", "RM"},    {"Bianchi Anna", "2", "MI", true}, {"Verdi Luca", "3", "rm"},
    {"Neri Carla", "3", "TO"},     {"Gialli Paolo", "4", "NA", true}, {"Blu Sara", "5", "FI"},
    {"Viola Elena", "6", "BO"},    {"Grigi Marco", "7", "GE"},        {"Rosa Lucia", "8", "PA"},
    {"Marroni Ugo", "9", "BA"},    {"Azzurri Ida", "10", "VE"},       {"Celesti Ada", "11", "TS"},
    {"Bruni Eva", "12", ""},       {"Ori Dino", "13", "CA"},          {"Senza Posto", "", "RM"},
};
// Event 2, 20/05/2026, 10 seats.
inline const QList<Card> kSeminario{{"Rossi Mario", "1", "RM"}, {"Bianchi Anna", "2", "MI"}};

inline QByteArray eventRecord(const QString &titolo, const QString &inizio, const QString &fine, const QString &posti)
{
    qv::TSchedaEvento e;
    e.setText("Titolo", titolo);
    e.setText("DataInizio", inizio);
    e.setText("DataFine", fine);
    e.setText("OraInizio", QStringLiteral("09:00"));
    e.setText("OraFine", QStringLiteral("13:00"));
    e.setText("Posti", posti);
    return e.bytes();
}

inline void writeBookings(const qvtest::TempProgramFolder &folder, qint64 event, const QList<Card> &cards)
{
    QByteArray bytes;
    for (const Card &c : cards) {
        qv::TSchedaPrenotazione r;
        r.setText("Cliente", QString::fromLatin1(c.cliente));
        r.setText("Posto", QString::fromLatin1(c.posto));
        r.setText("Numero", qv::TSchedaPrenotazione::Numero(QString::fromLatin1(c.posto)));
        r.setText("ProvRes", QString::fromLatin1(c.provincia));
        r.setYesNo("DaConfermare", c.pending);
        bytes += r.bytes();
    }
    folder.write(qv::TSchedaPrenotazione::archiveName(event), bytes);
}

// Writes everything; returns event 1's reservations archive.
inline QString write(const qvtest::TempProgramFolder &folder)
{
    folder.write(QStringLiteral("Eventi.pro"),
                 eventRecord(QStringLiteral("Convegno di primavera"), QStringLiteral("12/03/2026"),
                             QStringLiteral("13/03/2026"), QStringLiteral("20"))
                     + eventRecord(QStringLiteral("Seminario estivo"), QStringLiteral("20/05/2026"), {},
                                   QStringLiteral("10"))
                     + eventRecord(QStringLiteral("Corso d'autunno"), QStringLiteral("10/11/2025"), {},
                                   QStringLiteral("30"))
                     + eventRecord(QStringLiteral("Workshop"), QStringLiteral("05/03/2026"), {}, {}));
    writeBookings(folder, 1, kConvegno);
    writeBookings(folder, 2, kSeminario);

    const QString reservations = folder.file(qv::TSchedaPrenotazione::archiveName(1));
    const QString entries = qv::Attendance::archiveBeside(reservations);
    const QDate first(2026, 3, 12), second(2026, 3, 13);
    const auto in = [&](qint64 booking, const QDate &day) {
        return qv::Attendance::checkIn(entries, booking, QString::fromLatin1(kConvegno.at(booking - 1).posto),
                                       QDateTime(day, QTime(9, 0)));
    };
    for (qint64 b = 1; b <= 5; ++b)
        in(b, first);
    for (const qint64 b : {1, 3})
        qv::Attendance::checkOut(reservations, b, QString::fromLatin1(kConvegno.at(b - 1).posto),
                                 QDateTime(first, QTime(13, 0)));
    for (const qint64 b : {1, 3, 6})
        in(b, second);
    qv::Attendance::undo(entries, in(7, second).entry);

    QByteArray people;
    for (const auto &[name, recontact] : {std::pair{"Rossi Mario", true}, {"Bianchi Anna", false}, {"Verdi Luca", true}}) {
        qv::TSchedaPartecipante p;
        p.setText("Cliente", QString::fromLatin1(name));
        p.setYesNo("Ricontatta", recontact);
        people += p.bytes();
    }
    folder.write(QStringLiteral("Partecipanti.pro"), people);
    return reservations;
}

// Every number of the check, as (table, row, series, value).
struct Expected
{
    const char *table;
    const char *row;
    int series;
    int value;
};

inline const QList<Expected> kEvent{
    {"tabPosti", "prenotati", 0, 14},     {"tabPosti", "da confermare", 0, 2},
    {"tabPosti", "liberi", 0, 7},         {"tabPosti", "assegnati pi\u00F9 volte", 0, 1},
    {"tabPresenze", "12/03/2026", 0, 5},  {"tabPresenze", "12/03/2026", 1, 2},
    {"tabPresenze", "13/03/2026", 0, 3},  {"tabPresenze", "13/03/2026", 1, 0},
    {"tabProvince", "RM", 0, 2},          {"tabProvince", "BA", 0, 1},
    {"tabProvince", "BO", 0, 1},          {"tabProvince", "CA", 0, 1},
    {"tabProvince", "FI", 0, 1},          {"tabProvince", "GE", 0, 1},
    {"tabProvince", "MI", 0, 1},          {"tabProvince", "NA", 0, 1},
    {"tabProvince", "PA", 0, 1},          {"tabProvince", "TO", 0, 1},
    {"tabProvince", "altre", 0, 3}, // TS, VE and the one without a province
};
// Rows of each table of the event, in order.
inline const QList<std::pair<const char *, QStringList>> kEventRows{
    {"tabPosti", {"prenotati", "da confermare", "liberi", "assegnati pi\u00F9 volte"}},
    {"tabPresenze", {"12/03/2026", "13/03/2026"}},
    {"tabProvince", {"RM", "BA", "BO", "CA", "FI", "GE", "MI", "NA", "PA", "TO", "altre"}},
};

inline const QList<Expected> kYear{
    {"tabMesi", "Gennaio", 0, 0},
    {"tabMesi", "Marzo", 0, 2},
    {"tabMesi", "Maggio", 0, 1},
    {"tabMesi", "Novembre", 0, 0}, // the 2025 course is not of the year
    {"tabEventi", "4. Workshop", 0, 0},
    {"tabEventi", "4. Workshop", 1, 0},
    {"tabEventi", "1. Convegno di primavera", 0, 14},
    {"tabEventi", "1. Convegno di primavera", 1, 20},
    {"tabEventi", "2. Seminario estivo", 0, 2},
    {"tabEventi", "2. Seminario estivo", 1, 10},
    {"tabProvince", "RM", 0, 3},
    {"tabProvince", "MI", 0, 2},
    {"tabProvince", "TO", 0, 1},
    {"tabProvince", "altre", 0, 3},
};

} // namespace statsfixtures
