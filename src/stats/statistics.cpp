#include "stats/statistics.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/cp1252.h"
#include "core/regional.h"
#include "core/text.h"
#include "eventday/attendance.h"
#include "eventday/certificates.h"
#include "output/listscan.h"
#include "participants/participantlists.h"
#include "reservations/reservationlists.h"
#include "reservations/seatmap.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <array>
#include <future>
#include <optional>

namespace qv::Stats {

namespace {

// A read that failed: the archive it was reading.
struct Unreadable
{
    QString path;
};

QString failureText(const QString &path)
{
    return QStringLiteral("Impossibile leggere l'archivio %1: le statistiche non sono disponibili.")
        .arg(QDir::toNativeSeparators(path));
}

// Every record of an archive in file order, in blocks; a missing archive
// has none and is not created.
void scan(const QString &path, const RecordLayout &layout, const RecordVisitor &visit)
{
    if (!QFileInfo::exists(path))
        return;
    try {
        scanArchive(path, layout, visit);
    } catch (const ArchiveError &) {
        throw Unreadable{path};
    }
}

// How many bookings an event's archive holds now.
qint64 recordsIn(const QString &reservationArchive)
{
    return QFileInfo(reservationArchive).size() / TSchedaPrenotazione::layout().size();
}

// The bookings of one event's archive, read once: the seat map's counts and
// which records hold a seat (for the days at the door).
struct EventBookings
{
    SeatMap::Counts counts;
    QList<bool> booked; // by record number; [0] unused
};

// Bookings counted by province while the archive is read: by the stored
// bytes of the card's province (two at most), upper case (ASCII letters
// only, as asciiUpper() does to the text), one counter for each possible
// pair, so that a card is neither decoded nor looked up; the texts are made
// once a province at the end.
class ProvinceCount
{
public:
    ProvinceCount() : m_counts(257 * 257, 0) { Q_ASSERT(field().length <= 2); }

    void add(const RecordView &reservation)
    {
        const QByteArrayView stored = trimmedBytes(reservation.data() + field().offset, field().length);
        int at = 0; // each byte, plus one; none is 0
        for (qsizetype i = 0; i < stored.size(); ++i)
            at = at * 257 + 1 + upper(quint8(stored.at(i)));
        ++m_counts[at];
    }

    QHash<QString, int> byText() const
    {
        QHash<QString, int> out;
        for (int at = 0; at < m_counts.size(); ++at) {
            if (m_counts.at(at) == 0)
                continue;
            QByteArray bytes;
            for (int rest = at; rest > 0; rest /= 257)
                bytes.prepend(char(rest % 257 - 1));
            out[bytes.isEmpty() ? kNoProvince : cp1252::decode(bytes)] += m_counts.at(at);
        }
        return out;
    }

private:
    static int upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

    // The card's province: two characters.
    static const RecordLayout::Field &field()
    {
        static const RecordLayout &layout = TSchedaPrenotazione::layout();
        static const RecordLayout::Field &province = layout.field(layout.indexOf(QStringLiteral("ProvRes")));
        return province;
    }

    QList<int> m_counts; // by the bytes as digits of base 257
};

// Reads an event's bookings, adding those that hold a seat to `provinces`.
EventBookings readBookings(const QString &archive, const QString &posti, ProvinceCount &provinces)
{
    EventBookings out;
    SeatMap map(SeatMap::totalOf(posti));
    out.booked.reserve(recordsIn(archive) + 1);
    out.booked.append(false);
    scan(archive, TSchedaPrenotazione::layout(), [&](const RecordView &record, qint64 number) {
        map.add(record, number);
        const bool booked = ReservationLists::isBooked(record);
        out.booked.append(booked);
        if (booked)
            provinces.add(record);
    });
    out.counts = map.counts();
    return out;
}

Table provinceTable(const QHash<QString, int> &provinces)
{
    QList<std::pair<QString, int>> byCount;
    for (auto p = provinces.cbegin(); p != provinces.cend(); ++p)
        byCount.append({p.key(), p.value()});
    std::sort(byCount.begin(), byCount.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    Table t{QStringLiteral("tabProvince"), QStringLiteral("Province di residenza"), {QStringLiteral("Prenotati")}, {}};
    int others = 0;
    for (qsizetype i = 0; i < byCount.size(); ++i) {
        if (i < kProvinceRows)
            t.rows.append({byCount.at(i).first, {byCount.at(i).second}});
        else
            others += byCount.at(i).second;
    }
    if (byCount.size() > kProvinceRows)
        t.rows.append({kOtherProvinces, {others}});
    return t;
}

Table seatTable(const SeatMap::Counts &c)
{
    return {QStringLiteral("tabPosti"),
            QStringLiteral("Posti dell'evento (%1)").arg(c.seats),
            {QStringLiteral("Numero")},
            {{QStringLiteral("prenotati"), {c.booked}},
             {QStringLiteral("da confermare"), {c.pending}},
             {QStringLiteral("liberi"), {c.free}},
             {QStringLiteral("assegnati pi\u00F9 volte"), {c.twice}}}};
}

QString eventHeading(const EventInfo &event)
{
    QString when = trimmed(event.dataInizio);
    const QString end = trimmed(event.dataFine);
    if (!end.isEmpty() && end != when)
        when += QStringLiteral(" - ") + end;
    QString heading = QStringLiteral("Evento %1").arg(event.number);
    if (const QString titolo = trimmed(event.titolo); !titolo.isEmpty())
        heading += QStringLiteral(": ") + titolo;
    if (!when.isEmpty())
        heading += QStringLiteral(" (") + when + QLatin1Char(')');
    return heading;
}

// "09:15" for the quarter of an hour that begins then.
QString quarterText(int quarter)
{
    return QStringLiteral("%1:%2").arg(quarter / 4, 2, 10, QLatin1Char('0')).arg((quarter % 4) * 15, 2, 10, QLatin1Char('0'));
}

constexpr int kQuarterMs = 15 * 60 * 1000;

// The quarter of an hour a time is in, 0 to 95.
int quarterOf(const QTime &time)
{
    return time.msecsSinceStartOfDay() / kQuarterMs;
}

// The day's arrivals per quarter of an hour, from the first to the last;
// and, when exits were recorded that day, how many were in the hall in each
// quarter, until the last one went out.
void addDoorDay(Result &result, const QDate &day, const QList<Attendance::Times> &doors, const QList<bool> &booked)
{
    // Over the whole day, quarter by quarter: the arrivals, and the people in
    // the hall as a change at both ends of each one's stay, summed after. A
    // person is in the hall in every quarter from the one they came in to the
    // one they went out in (not that one when they left as it began), or to
    // the end. Every booking is added, with a weight of 0 when it did not
    // come: a large event's door is counted without a guess per person.
    constexpr int kQuarters = 24 * 4;
    std::array<int, kQuarters> arrivals{};
    std::array<int, kQuarters + 1> change{};
    int lastOut = -1;
    for (qsizetype number = 1; number < doors.size() && number < booked.size(); ++number) {
        const Attendance::Times &t = doors.at(number);
        const int came = booked.at(number) && !t.in.isNull() ? 1 : 0;
        const int from = quarterOf(t.in);
        arrivals[from] += came;
        int until = kQuarters - 1;
        if (!t.out.isNull()) {
            const int out = quarterOf(t.out);
            until = t.out.msecsSinceStartOfDay() % kQuarterMs == 0 ? out - 1 : out;
            lastOut = std::max(lastOut, came ? out : -1);
        }
        const int stays = until >= from ? came : 0;
        change[from] += stays;
        change[std::max(until, from) + 1] -= stays;
    }
    const auto firstArrival = std::find_if(arrivals.cbegin(), arrivals.cend(), [](int n) { return n > 0; });
    if (firstArrival == arrivals.cend())
        return;
    const int first = int(firstArrival - arrivals.cbegin());
    const int last = kQuarters - 1 - int(std::find_if(arrivals.crbegin(), arrivals.crend(), [](int n) { return n > 0; }) - arrivals.crbegin());
    Table arrived{QStringLiteral("tabArrivi"), QStringLiteral("Arrivi ogni quarto d'ora, ") + formatDate(day),
                  {QStringLiteral("Arrivi")}, {}};
    for (int q = first; q <= last; ++q)
        arrived.rows.append({quarterText(q), {arrivals.at(q)}});
    result.tables.append(arrived);
    if (lastOut < 0)
        return;
    Table hall{QStringLiteral("tabInSala"), QStringLiteral("Persone in sala, ") + formatDate(day), {QStringLiteral("In sala")}, {}};
    int inside = 0;
    for (int q = 0; q <= std::max(last, lastOut); ++q) {
        inside += change.at(q);
        if (q >= first)
            hall.rows.append({quarterText(q), {inside}});
    }
    result.tables.append(hall);
}

// The times at the door of the bookings 1 to `bookings` on each of the days.
QList<QList<Attendance::Times>> readDoor(const QString &archive, const QList<QDate> &days, qint64 bookings)
{
    try {
        return Attendance::timesAtTheDoor(archive, days, bookings);
    } catch (const ArchiveError &) {
        // Entries or exits: say the one that does not read.
        const QString in = Attendance::archiveBeside(archive, Attendance::Passage::In);
        try {
            Attendance::read(in);
        } catch (const ArchiveError &) {
            throw Unreadable{in};
        }
        throw Unreadable{Attendance::archiveBeside(archive, Attendance::Passage::Out)};
    }
}

// The event's days at the door, by the rules the certificates count them
// by: who of the bookings came in and who went out each day, who every day,
// who at all; and the arrivals of one day.
void addAttendance(Result &result, const QList<QDate> &eventDays, const QList<QList<Attendance::Times>> &perDay,
                   const QList<bool> &booked, const QDate &chosenDay)
{
    Table days{QStringLiteral("tabPresenze"),
               QStringLiteral("Presenze per giorno"),
               {QStringLiteral("Presenti"), QStringLiteral("Usciti")},
               {}};
    // Booking by booking, the days it was present in; added without a guess
    // per day whether it came, which a large event's door makes at random.
    QList<int> present(eventDays.size(), 0), out(eventDays.size(), 0);
    qint64 everyDay = 0, anyDay = 0, people = 0;
    for (qsizetype number = 1; number < booked.size(); ++number) {
        if (!booked.at(number))
            continue;
        ++people;
        int daysIn = 0;
        for (qsizetype d = 0; d < perDay.size(); ++d) {
            const QList<Attendance::Times> &times = perDay.at(d);
            if (number >= times.size())
                continue;
            const int in = times.at(number).in.isNull() ? 0 : 1;
            daysIn += in;
            present[d] += in;
            out[d] += times.at(number).out.isNull() ? 0 : in;
        }
        everyDay += daysIn > 0 && daysIn == eventDays.size() ? 1 : 0;
        anyDay += daysIn > 0 ? 1 : 0;
    }
    for (qsizetype d = 0; d < eventDays.size(); ++d)
        days.rows.append({formatDate(eventDays.at(d)), {present.at(d), out.at(d)}});
    result.tables.append(days);
    result.figures.append({QStringLiteral("lblOgniGiorno"), QStringLiteral("Presenti in ogni giorno"), int(everyDay)});
    result.figures.append({QStringLiteral("lblAlmenoUnGiorno"), QStringLiteral("Presenti in almeno un giorno"), int(anyDay)});
    result.figures.append({QStringLiteral("lblMaiPresenti"), QStringLiteral("Prenotati mai presenti"), int(people - anyDay)});

    // The day of the arrivals: the one asked for, else the first with someone at the door.
    result.days = eventDays;
    qsizetype shown = eventDays.indexOf(chosenDay);
    for (qsizetype d = 0; shown < 0 && d < eventDays.size(); ++d)
        if (!perDay.at(d).isEmpty())
            shown = d;
    if (shown < 0 && !eventDays.isEmpty())
        shown = 0;
    if (shown >= 0) {
        result.day = eventDays.at(shown);
        addDoorDay(result, result.day, perDay.at(shown), booked);
    }
}

// An event that starts in the year.
struct YearEvent
{
    qint64 number = 0;
    QString titolo, posti;
    QDate start;
};

QString monthName(int month)
{
    static const QLocale italian(QLocale::Italian, QLocale::Italy);
    QString name = italian.standaloneMonthName(month, QLocale::LongFormat);
    if (!name.isEmpty())
        name[0] = asciiUpper(name.at(0));
    return name;
}

QByteArray csvField(const QString &text)
{
    QByteArray value = text.toUtf8();
    if (!value.contains(',') && !value.contains('"') && !value.contains('\n') && !value.contains('\r'))
        return value;
    value.replace("\"", "\"\"");
    return '"' + value + '"';
}

} // namespace

int Table::value(const QString &label, int column) const
{
    for (const Row &row : rows)
        if (row.label == label)
            return column < row.values.size() ? row.values.at(column) : -1;
    return -1;
}

const Table *Result::table(const QString &name) const
{
    for (const Table &t : tables)
        if (t.name == name)
            return &t;
    return nullptr;
}

int Result::figure(const QString &name) const
{
    for (const Figure &f : figures)
        if (f.name == name)
            return f.value;
    return -1;
}

Result forEvent(qint64 number, const QDate &day)
{
    Result result;
    try {
        EventInfo event;
        try {
            event = Certificates::readEvent(number);
        } catch (const ArchiveError &) {
            throw Unreadable{TSchedaEvento::archivePath()};
        }
        result.heading = eventHeading(event);
        const QString archive = TSchedaPrenotazione::archivePath(number);
        const QList<QDate> eventDays = Attendance::eventDays(event.dataInizio, event.dataFine);
        // The bookings are read on a second thread while the door's archives
        // are read here; bookings added meanwhile have not been at the door.
        // Without a thread to be had, they are read here after.
        ProvinceCount provinces;
        auto bookingsRead = std::async(std::launch::async | std::launch::deferred,
                                       [&] { return readBookings(archive, event.posti, provinces); });
        const QList<QList<Attendance::Times>> perDay = readDoor(archive, eventDays, recordsIn(archive));
        const EventBookings read = bookingsRead.get();
        result.tables.append(seatTable(read.counts));
        addAttendance(result, eventDays, perDay, read.booked, day);
        result.tables.append(provinceTable(provinces.byText()));
    } catch (const Unreadable &u) {
        result.tables.clear();
        result.figures.clear();
        result.error = failureText(u.path);
    }
    return result;
}

Result forYear(int year)
{
    Result result;
    result.heading = QStringLiteral("Anno %1").arg(year);
    try {
        const RecordLayout &layout = TSchedaEvento::layout();
        static const int titolo = layout.indexOf(QStringLiteral("Titolo"));
        static const int inizio = layout.indexOf(QStringLiteral("DataInizio"));
        static const int posti = layout.indexOf(QStringLiteral("Posti"));
        QList<YearEvent> events;
        scan(TSchedaEvento::archivePath(), layout, [&](const RecordView &record, qint64 number) {
            const QDate start = parseDate(record.text(inizio));
            if (start.isValid() && start.year() == year)
                events.append({number, record.text(titolo), record.text(posti), start});
        });
        std::stable_sort(events.begin(), events.end(),
                         [](const YearEvent &a, const YearEvent &b) { return a.start < b.start; });

        Table months{QStringLiteral("tabMesi"), QStringLiteral("Eventi per mese"), {QStringLiteral("Eventi")}, {}};
        for (int m = 1; m <= 12; ++m)
            months.rows.append({monthName(m), {0}});
        Table seats{QStringLiteral("tabEventi"),
                    QStringLiteral("Posti prenotati e offerti per evento"),
                    {QStringLiteral("Prenotati"), QStringLiteral("Offerti")},
                    {}};
        ProvinceCount provinces;
        for (const YearEvent &e : events) {
            ++months.rows[e.start.month() - 1].values[0];
            const EventBookings read = readBookings(TSchedaPrenotazione::archivePath(e.number), e.posti, provinces);
            seats.rows.append({QStringLiteral("%1. %2").arg(e.number).arg(e.titolo), {read.counts.booked, read.counts.seats}});
        }

        int recontact = 0;
        scan(TSchedaPartecipante::archivePath(), TSchedaPartecipante::layout(),
             [&](const RecordView &record, qint64) { recontact += ParticipantLists::toRecontact(record) ? 1 : 0; });

        result.tables = {months, seats, provinceTable(provinces.byText())};
        result.figures.append({QStringLiteral("lblRicontatta"), QStringLiteral("Partecipanti da ricontattare"), recontact});
    } catch (const Unreadable &u) {
        result.tables.clear();
        result.figures.clear();
        result.error = failureText(u.path);
    }
    return result;
}

QByteArray text(const Result &result)
{
    QString out = result.heading + QLatin1Char('\n');
    for (const Table &t : result.tables) {
        out += QLatin1Char('\n') + t.title + QLatin1Char('\n');
        int width = 0;
        for (const Table::Row &row : t.rows)
            width = std::max(width, int(row.label.size()));
        for (const Table::Row &row : t.rows) {
            QStringList values;
            for (qsizetype i = 0; i < row.values.size(); ++i)
                values.append(t.series.size() > 1 ? t.series.at(i) + QLatin1Char(' ') + QString::number(row.values.at(i))
                                                  : QString::number(row.values.at(i)));
            out += QStringLiteral("  ") + row.label.leftJustified(width) + QStringLiteral("  ")
                   + values.join(QStringLiteral(", ")) + QLatin1Char('\n');
        }
    }
    if (!result.figures.isEmpty())
        out += QLatin1Char('\n');
    for (const Figure &f : result.figures)
        out += f.label + QStringLiteral(": ") + QString::number(f.value) + QLatin1Char('\n');
    return out.toUtf8();
}

QByteArray json(const Result &result)
{
    QJsonArray tables;
    for (const Table &t : result.tables) {
        QJsonArray rows;
        for (const Table::Row &row : t.rows) {
            QJsonObject r{{QStringLiteral("Voce"), row.label}};
            for (qsizetype i = 0; i < row.values.size() && i < t.series.size(); ++i)
                r.insert(t.series.at(i), row.values.at(i));
            rows.append(r);
        }
        tables.append(QJsonObject{{QStringLiteral("Nome"), t.name},
                                  {QStringLiteral("Titolo"), t.title},
                                  {QStringLiteral("Righe"), rows}});
    }
    QJsonObject figures;
    for (const Figure &f : result.figures)
        figures.insert(f.label, f.value);
    const QJsonObject all{{QStringLiteral("Titolo"), result.heading},
                          {QStringLiteral("Tabelle"), tables},
                          {QStringLiteral("Dati"), figures}};
    return QJsonDocument(all).toJson(QJsonDocument::Indented);
}

QByteArray csv(const Result &result)
{
    QByteArray out = "Tabella,Voce,Serie,Valore\r\n";
    const auto line = [&out](const QString &table, const QString &label, const QString &series, int value) {
        out += csvField(table) + ',' + csvField(label) + ',' + csvField(series) + ',' + QByteArray::number(value) + "\r\n";
    };
    for (const Table &t : result.tables)
        for (const Table::Row &row : t.rows)
            for (qsizetype i = 0; i < row.values.size() && i < t.series.size(); ++i)
                line(t.title, row.label, t.series.at(i), row.values.at(i));
    for (const Figure &f : result.figures)
        line(QStringLiteral("Riepilogo"), f.label, QStringLiteral("Numero"), f.value);
    return out;
}

} // namespace qv::Stats
