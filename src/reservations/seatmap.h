#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The seats of one event as its reservations archive holds them: which are
// free, booked, awaiting confirmation or held by more than one card. Only
// reads; widget-free. Seats are compared as the availability check compares
// them (ReservationLists::seatKey).
namespace qv {

class RecordView;

// The event a map shows, as the event selection and the reservation card
// hold it: its archive and the texts of its header.
struct SeatMapEvent
{
    QString archivePath;
    QString titolo, dataInizio, oraInizio, dataFine, oraFine, sede, indirizzo, posti;

    // "Inizio: 12/03/2022 09:30 - Fine: 13/03/2022 18:00"; empty parts left out.
    QString whenText() const;
    // "Sede: Aula Magna, Via Roma 1"; empty when neither is known.
    QString whereText() const;
};

// A seat's state. Held by more than one card shows over the others.
enum class SeatState { Free, Booked, Pending, Twice, Unknown };

class SeatMap
{
public:
    // The seats "1" to `total`; a total below zero (the event's number of
    // seats is not a count) gives no numbered seats.
    explicit SeatMap(int total = 0);

    // An event's Posti as a number of seats: "120" is 120; -1 when the text
    // is not a count.
    static int totalOf(const QString &posti);

    // Reads the archive at `path` from first to last card in large blocks.
    // A missing archive is an event without bookings, and looking creates
    // nothing. A failure part-way keeps what was read before it and makes
    // every seat not known to be held unknown; false then.
    bool read(const QString &path);
    // One card, in file order (its number counts from 1). A card whose seat
    // is empty holds no seat.
    void add(const RecordView &reservation, qint64 number);
    // Nothing after this point of the archive could be read.
    void markUnreadable();
    bool unreadable() const { return m_unreadable; }

    int total() const { return m_total; }
    // Every seat shown: the numbered ones, then the others of the archive.
    int seatCount() const { return m_total + int(m_others.size()); }

    // The seats in rows: first the numbered ones (no heading), then the other
    // texts grouped by their leading letters ("A", "PALCO"; digits alone
    // under "Altri numeri") and ordered by the number that follows.
    struct Group
    {
        QString heading;
        int first = 0; // display index of its first seat
        int count = 0;
    };
    QList<Group> groups() const;

    // By display index, 0 <= index < seatCount().
    QString label(int index) const; // "12", "A5"
    SeatState state(int index) const;
    struct Holder
    {
        qint64 record = 0;
        QString name;
        bool pending = false;
    };
    // The cards that hold the seat, in file order: the first kNamedHolders of
    // them, so that the map's memory goes with its seats and not with its
    // bookings; holderCount() tells how many there are in all.
    static constexpr int kNamedHolders = 4;
    QList<Holder> holders(int index) const;
    int holderCount(int index) const;
    // Every card that holds `seat`, read from the archive at `path`, in file
    // order. Throws ArchiveError.
    static QList<Holder> holdersIn(const QString &path, const QString &seat);
    // "Posto 12: Rossi Mario (in attesa di conferma)": the seat, its holders
    // (beyond kNamedHolders: "e altre N persone") and its state, for tooltips
    // and screen readers.
    QString description(int index) const;
    // The display index of a seat as typed; -1 when the map has no such seat.
    int indexOf(const QString &seat) const;

    // What the windows count of an event. Each number has one meaning, the
    // same in the event selection, the map and its printout; the check-in
    // desk's "prenotati" is `booked` too (a card holds a seat when its
    // trimmed seat is not empty, as Bookings::read has it).
    struct Counts
    {
        int seats = 0;   // N: the numbered seats 1..N (0 when the event's Posti is not a count)
        int booked = 0;  // people booked: the cards that hold a seat, whatever its text
        int pending = 0; // of those cards, the ones awaiting confirmation
        int outside = 0; // of those cards, the ones whose seat is not one of 1..N ("LUCA", "0", "120" of 100, "05")
        int taken = 0;   // seats of 1..N held by one card or more
        int free = 0;    // seats of 1..N held by none: seats - taken, when the archive was read whole
        int twice = 0;   // seats of 1..N held by two cards or more
        int unknown = 0; // seats of 1..N not known to be held, after a failure part-way (never free); else 0
        // taken + free + unknown == seats, always.
    };
    Counts counts() const;
    // The map's line, every count named: "4 prenotati (1 da confermare,
    // 1 con posto fuori pianta), 2 posti occupati su 30, 28 liberi, 1 posto
    // assegnato più volte", and the seats of unknown state when there are.
    QString countersText() const;
    // The event selection's line: the same words, leaving out the cards
    // outside 1..N and the seats held more than once when there are none.
    QString selectionText() const;

    // The legend's words for a state.
    static QString stateName(SeatState state);

private:
    struct Seat
    {
        qint32 first = -1; // the first and last holder entry
        qint32 last = -1;
        qint32 holders = 0;
        qint32 pending = 0;
    };
    struct Entry
    {
        qint64 record;
        qint32 next;
        qint32 nameAt; // where the holder's name is kept, as its counted bytes
        bool pending;
    };
    struct Other
    {
        QString key;
        Seat seat;
    };

    const Seat &seatAt(int index) const;
    void holdSeat(Seat &seat, qint64 number, const char *name, int nameLength, bool pending);
    void order() const;

    int m_total = 0;
    bool m_unreadable = false;
    QList<Seat> m_numbered;
    QList<Other> m_others;           // in the order first met
    QHash<QString, int> m_otherIndex; // key -> m_others
    QList<Entry> m_entries;
    QByteArray m_names;               // holders' names as stored: a few bytes per named holder, never whole cards
    mutable QList<int> m_order;       // display order of m_others
    mutable QList<Group> m_groups;
    mutable bool m_ordered = true;
};

// What the reservation card says beside its seat, read from the archive. The
// card's own record (0 for a new card) holds the seat when it is stored with
// it: "assegnato a questa scheda". Any other holder is a warning: with this
// card the seat is, or would be once saved, held more than once.
struct SeatOnCard
{
    bool known = false; // false: nothing to say (no seat, or the archive could not be read)
    SeatState state = SeatState::Free;
    QString text; // "libero", "già assegnato a Rossi Mario", "assegnato a questa scheda", ...
    bool beyond = false;  // a number above the event's total: no seat of the map
    bool warning = false; // another card holds the seat
};
SeatOnCard seatOnCard(const QString &archivePath, const QString &seat, qint64 ownRecord, int total);

} // namespace qv
