#pragma once
#include "archive/record.h"

#include <QString>

// The three archives of the program and their record types.
namespace qv {

class TSchedaEvento : public Record
{
public:
    TSchedaEvento() : Record(layout()) {}
    static const RecordLayout &layout(); // 3645 bytes, 32 fields
    static QString archivePath();        // Eventi.pro in the program folder
};

class TSchedaPartecipante : public Record
{
public:
    TSchedaPartecipante() : Record(layout()) {}
    static const RecordLayout &layout(); // 3372 bytes, 36 fields
    static QString archivePath();        // Partecipanti.pro in the program folder
};

class TSchedaPrenotazione : public Record
{
public:
    TSchedaPrenotazione() : Record(layout()) {}
    static const RecordLayout &layout(); // 829 bytes, 14 fields
    // Posti_Riservati_Evento_<n>.pro in the program folder, n without padding.
    static QString archivePath(qint64 eventNumber);
    static QString archiveName(qint64 eventNumber);
    // The sort key of a seat: "00000" + trimmed seat, last five characters.
    static QString Numero(const QString &posto);
};

// One entry at the door: a booking of the event checked in, kept in an
// archive of its own beside the event's bookings, which check-in never writes.
// An entry is only ever appended, or marked as undone in place.
class TSchedaPresenza : public Record
{
public:
    TSchedaPresenza() : Record(layout()) {}
    static const RecordLayout &layout(); // 40 bytes, 5 fields
    // Presenze_Evento_<n>.pro in the program folder, n without padding.
    static QString archivePath(qint64 eventNumber);
    static QString archiveName(qint64 eventNumber);
};

// One exit at the door, for events that count the hours present: kept as the
// entries are, in an archive of its own (the entries' files stay as they
// were), record for record of the same shape.
class TSchedaUscita : public Record
{
public:
    TSchedaUscita() : Record(layout()) {}
    static const RecordLayout &layout(); // 40 bytes, 5 fields
    // Uscite_Evento_<n>.pro in the program folder, n without padding.
    static QString archivePath(qint64 eventNumber);
    static QString archiveName(qint64 eventNumber);
};

} // namespace qv
