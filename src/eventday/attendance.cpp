#include "eventday/attendance.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/regional.h"
#include "core/text.h"
#include "output/listscan.h"
#include "reservations/reservationlists.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>

namespace qv::Attendance {

namespace {

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

const RecordLayout &layout()
{
    return TSchedaPresenza::layout();
}

// The fields of a record of either archive, by position.
enum Field { Prenotazione, Posto, Data, Ora, Annullato };

const RecordLayout::Field &field(Field f)
{
    static const QList<RecordLayout::Field> fields = layout().fields();
    return fields.at(int(f));
}

QString textOf(const char *record, Field f)
{
    return TestoDaCampo(record + field(f).offset, field(f).length);
}

// Whether a stored record may be one of booking `reservation`, whose number
// is `digits`: every text that reads as that number holds its digits, so a
// record whose Prenotazione field does not is told apart without reading
// the rest of it.
bool mayBeOf(const char *record, const QByteArray &digits)
{
    const RecordLayout::Field &f = field(Prenotazione);
    const char *text = record + f.offset;
    return QByteArrayView(text + 1, countedLength(text, f.length)).contains(digits);
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Lower case and without accents, for finding part of a name. Plain ASCII
// has no accents to take off.
QString folded(const QString &text)
{
    const QString bare = trimmed(text);
    if (isAscii(bare))
        return asciiLower(bare);
    QString plain;
    for (const QChar c : bare.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return asciiLower(plain);
}

} // namespace

QString archiveBeside(const QString &reservationArchive, Passage passage)
{
    const qint64 event = Bookings::eventNumberOf(reservationArchive);
    if (event <= 0)
        return {};
    const QString name = passage == Passage::In ? TSchedaPresenza::archiveName(event)
                                                 : TSchedaUscita::archiveName(event);
    return QFileInfo(reservationArchive).dir().filePath(name);
}

QString Entry::when(const QDate &today) const
{
    if (!hasMoment())
        return QString();
    if (date == today)
        return time.toString(kTimeFormat);
    return formatDate(date) + QLatin1Char(' ') + time.toString(kTimeFormat);
}

QByteArray record(qint64 reservation, const QString &posto, const QDateTime &moment)
{
    TSchedaPresenza r;
    r.setText(QStringLiteral("Prenotazione"), QString::number(reservation));
    r.setText(QStringLiteral("Posto"), posto);
    r.setText(QStringLiteral("DataIngresso"), moment.date().toString(kDateFormat));
    r.setText(QStringLiteral("OraIngresso"), moment.time().toString(kTimeFormat));
    r.setYesNo(QStringLiteral("Annullato"), false);
    return r.bytes();
}

namespace {

QByteArrayView trimmedField(const char *record, const RecordLayout::Field &f)
{
    return trimmedBytes(record + f.offset, f.length);
}

// The number of `count` ASCII digits at `at`, or -1.
int digitsAt(QByteArrayView text, qsizetype at, qsizetype count)
{
    int n = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// QDate(y, m, d). Making a date costs the calendar's checks, and an
// archive's records come a day at a time: the last one made on this thread
// is kept.
QDate dateOf(int y, int m, int d)
{
    thread_local int lastKey = -1;
    thread_local QDate last;
    const int key = (y * 100 + m) * 100 + d; // one a date of digits, dd/MM/yyyy
    if (key != lastKey) {
        last = QDate(y, m, d);
        lastKey = key;
    }
    return last;
}

// The fields of a record read straight from its bytes when they have the
// forms the program writes (digits, "dd/MM/yyyy", "HH:mm:ss"), as Qt reads
// those forms; nothing when any field has another form. Parsing by a format
// costs Qt tens of microseconds, and an archive holds a record a person a day.
std::optional<Passing> plainPassing(const char *record)
{
    static const RecordLayout::Field &numberField = field(Prenotazione), &dateField = field(Data),
                                     &timeField = field(Ora), &undoneField = field(Annullato);
    const QByteArrayView number = trimmedField(record, numberField);
    const QByteArrayView date = trimmedField(record, dateField);
    const QByteArrayView time = trimmedField(record, timeField);
    if (number.isEmpty() || number.size() > 18 || date.size() != 10 || time.size() != 8 || date.at(2) != '/'
        || date.at(5) != '/' || time.at(2) != ':' || time.at(5) != ':')
        return std::nullopt;
    Passing p;
    for (const char c : number) {
        if (c < '0' || c > '9')
            return std::nullopt;
        p.reservation = p.reservation * 10 + (c - '0');
    }
    const int d = digitsAt(date, 0, 2), m = digitsAt(date, 3, 2), y = digitsAt(date, 6, 4);
    const int h = digitsAt(time, 0, 2), min = digitsAt(time, 3, 2), sec = digitsAt(time, 6, 2);
    if (d < 0 || m < 0 || y < 1 || h < 0 || min < 0 || sec < 0)
        return std::nullopt;
    p.date = dateOf(y, m, d);
    if (h < 24 && min < 60 && sec < 60)
        p.time = QTime::fromMSecsSinceStartOfDay(((h * 60 + min) * 60 + sec) * 1000);
    p.undone = trimmedField(record, undoneField) != QByteArrayView("No");
    return p;
}

} // namespace

Passing passingOf(const char *record)
{
    Passing p;
    if (const std::optional<Passing> plain = plainPassing(record)) {
        p = *plain;
    } else {
        bool ok = false;
        p.reservation = textOf(record, Prenotazione).toLongLong(&ok);
        if (!ok)
            p.reservation = 0;
        p.date = QDate::fromString(textOf(record, Data), kDateFormat);
        p.time = QTime::fromString(textOf(record, Ora), kTimeFormat);
        // Anything but a plain "No" counts as undone: an entry that cannot be
        // read for sure never keeps a booking in.
        p.undone = yesNoValue(textOf(record, Annullato)) != std::optional<bool>(false);
    }
    // A time read is either valid or null: telling them apart needs no call.
    if (!p.date.isValid() || p.time.isNull())
        p.date = QDate(), p.time = QTime();
    return p;
}

Entry entryOf(const QByteArray &bytes, qint64 number)
{
    if (bytes.size() != layout().size()) {
        // Read as a record made of them holds them.
        TSchedaPresenza r;
        r.setBytes(bytes);
        Entry e = entryOf(r.bytes(), number);
        e.bytes = bytes;
        return e;
    }
    const Passing p = passingOf(bytes.constData());
    Entry e;
    e.number = number;
    e.bytes = bytes;
    e.reservation = p.reservation;
    e.posto = textOf(bytes.constData(), Posto);
    e.date = p.date;
    e.time = p.time;
    e.undone = p.undone;
    return e;
}

namespace {

// Every record of one archive that `keep` lets through, in file order.
QList<Entry> readWhere(const QString &archive, const std::function<bool(const char *record)> &keep)
{
    QList<Entry> entries;
    if (!QFileInfo::exists(archive))
        return entries;
    const int length = layout().size();
    scanArchive(archive, layout(), [&](const RecordView &record, qint64 number) {
        if (keep(record.data()))
            entries.append(entryOf(QByteArray(record.data(), length), number));
    });
    return entries;
}

} // namespace

QList<Entry> read(const QString &attendanceArchive)
{
    return readWhere(attendanceArchive, [](const char *) { return true; });
}

QHash<qint64, Entry> onDay(const QList<Entry> &records, const QDate &day)
{
    QHash<qint64, Entry> in;
    for (const Entry &e : records)
        if (!e.undone && e.reservation > 0 && e.date == day && !in.contains(e.reservation))
            in.insert(e.reservation, e);
    return in;
}

QList<QDate> eventDays(const QString &dataInizio, const QString &dataFine)
{
    const QDate first = parseDate(trimmed(dataInizio));
    if (!first.isValid())
        return {};
    QDate last = parseDate(trimmed(dataFine));
    if (!last.isValid() || last < first)
        last = first;
    last = std::min(last, first.addDays(365));
    QList<QDate> days;
    for (QDate d = first; d <= last; d = d.addDays(1))
        days.append(d);
    return days;
}

std::optional<qint64> secondsPresent(const Entry &in, const Entry &out)
{
    if (!in.hasMoment() || !out.hasMoment())
        return std::nullopt;
    // As the clocks on the wall read them.
    const qint64 seconds = in.date.daysTo(out.date) * 86400 + in.time.secsTo(out.time);
    if (seconds <= 0)
        return std::nullopt;
    return seconds;
}

QString hoursText(qint64 seconds)
{
    const qint64 minutes = seconds / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

Register Register::read(const QString &reservationArchive)
{
    Register reg;
    reg.entries = Attendance::read(archiveBeside(reservationArchive, Passage::In));
    reg.exits = Attendance::read(archiveBeside(reservationArchive, Passage::Out));
    return reg;
}

QList<QDate> Register::daysWithRecords() const
{
    QList<QDate> days;
    for (const QList<Entry> *records : {&entries, &exits})
        for (const Entry &e : *records)
            if (!e.undone && e.hasMoment())
                days.append(e.date);
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

QList<QDate> Register::daysToShow(const QList<QDate> &eventDays, const QDate &today) const
{
    QList<QDate> days = daysWithRecords() + eventDays;
    if (today.isValid())
        days.append(today);
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

std::optional<qint64> Day::seconds() const
{
    if (!in || !out)
        return std::nullopt;
    return secondsPresent(*in, *out);
}

QHash<qint64, Day> daysOf(const Register &reg, const QDate &day)
{
    QHash<qint64, Day> days;
    const QHash<qint64, Entry> in = onDay(reg.entries, day);
    for (auto it = in.cbegin(); it != in.cend(); ++it)
        days[it.key()].in = it.value();
    const QHash<qint64, Entry> out = onDay(reg.exits, day);
    for (auto it = out.cbegin(); it != out.cend(); ++it)
        days[it.key()].out = it.value();
    return days;
}

QList<QList<Times>> timesAtTheDoor(const QString &reservationArchive, const QList<QDate> &days, qint64 bookings)
{
    QList<QList<Times>> perDay(days.size());
    // The days by date, for a binary search per record.
    QList<std::pair<QDate, qsizetype>> byDate;
    for (qsizetype d = 0; d < days.size(); ++d)
        byDate.append({days.at(d), d});
    std::sort(byDate.begin(), byDate.end());
    const auto dayOf = [&](const QDate &date) -> qsizetype {
        const auto at = std::lower_bound(byDate.cbegin(), byDate.cend(), std::pair(date, qsizetype(-1)));
        return at != byDate.cend() && at->first == date ? at->second : -1;
    };
    // The first record in force of a booking and a day is the one counted;
    // an exit only when the booking came in that day.
    const auto pass = [&](Passage passage) {
        const QString archive = archiveBeside(reservationArchive, passage);
        if (!QFileInfo::exists(archive))
            return;
        scanArchive(archive, layout(), [&](const RecordView &record, qint64) {
            const Passing p = passingOf(record.data());
            if (!p.inForce() || p.reservation > bookings)
                return;
            const qsizetype d = dayOf(p.date);
            if (d < 0)
                return;
            QList<Times> &times = perDay[d];
            if (passage == Passage::In) {
                if (times.isEmpty())
                    times.resize(bookings + 1);
                if (times.at(p.reservation).in.isNull())
                    times[p.reservation].in = p.time;
            } else if (!times.isEmpty() && !times.at(p.reservation).in.isNull()
                       && times.at(p.reservation).out.isNull()) {
                times[p.reservation].out = p.time;
            }
        });
    };
    pass(Passage::In);
    pass(Passage::Out);
    return perDay;
}

namespace {

// Appends a record of `reservation` at `moment` unless one of that booking
// and that day is in force there already, under the archive's write lock.
CheckIn appendOnce(const QString &archivePath, qint64 reservation, const QString &posto, const QDateTime &moment)
{
    TArchivio archive(archivePath, layout().size());
    const QByteArray bytes = record(reservation, posto, moment);
    const QDate day = moment.date();
    const QByteArray digits = QByteArray::number(reservation);
    const TArchivio::AppendOutcome outcome = archive.AppendUnless(bytes, [&](const QByteArray &stored) {
        if (!mayBeOf(stored.constData(), digits))
            return false;
        const Entry e = entryOf(stored, 0);
        return !e.undone && e.reservation == reservation && e.date == day;
    });
    archive.Close();
    CheckIn done;
    done.outcome = outcome.appended ? CheckIn::Recorded : CheckIn::Already;
    done.entry = entryOf(outcome.appended ? bytes : outcome.record, outcome.number);
    return done;
}

} // namespace

CheckIn checkIn(const QString &attendanceArchive, qint64 reservation, const QString &posto, const QDateTime &moment)
{
    return appendOnce(attendanceArchive, reservation, posto, moment);
}

CheckIn checkOut(const QString &reservationArchive, qint64 reservation, const QString &posto,
                 const QDateTime &moment)
{
    // Entries are only appended or undone: read without their lock, the
    // day's entry is at worst one undone a moment later, as at the desk.
    const QByteArray digits = QByteArray::number(reservation);
    const QHash<qint64, Entry> in = onDay(readWhere(archiveBeside(reservationArchive, Passage::In),
                                                    [&](const char *record) { return mayBeOf(record, digits); }),
                                          moment.date());
    const auto entry = in.constFind(reservation);
    if (entry == in.cend()) {
        CheckIn refused;
        refused.outcome = CheckIn::NoEntry;
        return refused;
    }
    CheckIn done = appendOnce(archiveBeside(reservationArchive, Passage::Out), reservation, posto, moment);
    done.in = *entry;
    return done;
}

bool undo(const QString &archivePath, const Entry &entry)
{
    TArchivio archive(archivePath, layout().size());
    if (entry.number < 1 || entry.number > archive.Count())
        return false;
    TSchedaPresenza r;
    r.setBytes(entry.bytes);
    r.setYesNo(QStringLiteral("Annullato"), true);
    archive.Seek(entry.number - 1);
    const bool written = archive.WriteIfUnchanged(r, entry.bytes);
    archive.Close();
    return written;
}

bool nameHolds(const QString &name, const QString &part)
{
    const QString key = folded(part);
    return !key.isEmpty() && folded(name).contains(key);
}

namespace {

// The bookings a test keeps, in the order of the booked-seats list.
using BookingsWhere = std::function<QList<Booking>(const std::function<bool(const Booking &)> &keep)>;

// The rules of lookup(), over the bookings `where` gives.
Lookup lookupAmong(const QString &typed, qint64 eventNumber, const BookingsWhere &where,
                   const std::function<std::optional<Booking>(qint64 number)> &numbered)
{
    Lookup found;
    const QString text = trimmed(typed);
    if (text.isEmpty())
        return found;
    if (BadgeCode::looksLikeCode(text)) {
        const std::optional<BadgeCode::Code> code = BadgeCode::parse(text);
        if (!code) {
            found.kind = Lookup::BadCode;
            return found;
        }
        found.code = *code;
        if (code->event != eventNumber) {
            found.kind = Lookup::OtherEvent;
            return found;
        }
        if (const std::optional<Booking> b = numbered(code->record))
            found.matches.append(*b);
        found.kind = found.matches.isEmpty() ? Lookup::UnknownRecord : Lookup::Badge;
        return found;
    }
    // The bookings of the seat, else those whose name holds the text: looked
    // for together, names only until a seat is found.
    const QString seat = ReservationLists::seatKey(text);
    const QString key = folded(text);
    bool seatFound = false;
    const QList<Booking> matches = where([&](const Booking &b) {
        if (ReservationLists::seatKey(b.posto) == seat) {
            seatFound = true;
            return true;
        }
        return !seatFound && !key.isEmpty() && folded(b.cliente).contains(key);
    });
    if (seatFound) {
        for (const Booking &b : matches)
            if (ReservationLists::seatKey(b.posto) == seat)
                found.matches.append(b);
        found.kind = Lookup::Seat;
        return found;
    }
    found.kind = Lookup::Name;
    found.matches = matches;
    return found;
}

} // namespace

Lookup lookup(const QString &typed, qint64 eventNumber, const QList<Booking> &bookings)
{
    const auto where = [&](const std::function<bool(const Booking &)> &keep) {
        QList<Booking> kept;
        for (const Booking &b : bookings)
            if (keep(b))
                kept.append(b);
        return kept;
    };
    const auto numbered = [&](qint64 number) -> std::optional<Booking> {
        for (const Booking &b : bookings)
            if (b.number == number)
                return b;
        return std::nullopt;
    };
    return lookupAmong(typed, eventNumber, where, numbered);
}

QString whenSaid(const Entry &entry, const QDate &today)
{
    if (!entry.hasMoment())
        return QString();
    const QString time = entry.time.toString(kTimeFormat);
    if (entry.date == today)
        return QStringLiteral("alle ") + time;
    return QStringLiteral("il ") + formatDate(entry.date) + QStringLiteral(" alle ") + time;
}

QString DeskAnswer::style() const
{
    switch (kind) {
    case Recorded:
        return QStringLiteral("registrato");
    case Pending:
        return QStringLiteral("sospeso");
    case Already:
        return QStringLiteral("gia");
    case Refused:
        return QStringLiteral("rifiutato");
    case Choose:
        return QStringLiteral("avviso");
    }
    return {};
}

namespace {

DeskAnswer refused(const QString &text)
{
    DeskAnswer answer;
    answer.kind = DeskAnswer::Refused;
    answer.text = text;
    return answer;
}

DeskAnswer choose(const QList<Booking> &matches, const QString &text)
{
    DeskAnswer answer;
    answer.kind = DeskAnswer::Choose;
    answer.matches = matches;
    answer.text = text + QStringLiteral("\nScegliere la persona nell'elenco e premere Invio");
    return answer;
}

} // namespace

DeskAnswer Desk::scan(const QString &typed, Passage passage, const QDateTime &now) const
{
    const QString text = trimmed(typed);
    if (text.isEmpty())
        return {};
    const QString none = passage == Passage::In ? QStringLiteral("Nessun ingresso registrato")
                                                : QStringLiteral("Nessuna uscita registrata");
    // Only the bookings the line stands for are read into the list: a badge
    // reads its one record, a seat or a name keeps the ones it matches.
    const Lookup found = lookupAmong(
        text, m_event,
        [this](const std::function<bool(const Booking &)> &keep) { return Bookings::read(m_reservations, keep); },
        [this](qint64 number) { return Bookings::readOne(m_reservations, number); });
    switch (found.kind) {
    case Lookup::Empty:
        return {};
    case Lookup::Badge: {
        const Booking &b = found.matches.first();
        return pass(b, passage, now,
                    ReservationLists::sameSeat(found.code.seat, b.posto)
                        ? QString()
                        : QStringLiteral("\nAttenzione: il cartellino riporta il posto %1").arg(found.code.seat));
    }
    case Lookup::OtherEvent:
        return refused(QStringLiteral("Cartellino di un altro evento (evento n. %1)\n").arg(found.code.event) + none);
    case Lookup::BadCode:
        return refused(QStringLiteral("Codice non riconosciuto\nLeggere di nuovo il cartellino, oppure digitare il "
                                      "numero del posto o parte del nome"));
    case Lookup::UnknownRecord:
        return refused(QStringLiteral("Il cartellino non corrisponde a nessuna prenotazione di questo evento\n") + none);
    case Lookup::Seat:
        if (found.matches.size() == 1)
            return pass(found.matches.first(), passage, now);
        return choose(found.matches, QStringLiteral("Il posto %1 \u00E8 assegnato a %2 prenotazioni")
                                         .arg(found.matches.first().posto)
                                         .arg(found.matches.size()));
    case Lookup::Name:
        if (found.matches.isEmpty())
            return refused(QStringLiteral("Nessuna prenotazione corrisponde a \u00AB%1\u00BB").arg(text));
        return choose(found.matches, found.matches.size() == 1
                                         ? QStringLiteral("Trovata una prenotazione")
                                         : QStringLiteral("Trovate %1 prenotazioni").arg(found.matches.size()));
    }
    return {};
}

DeskAnswer Desk::pass(const Booking &booking, Passage passage, const QDateTime &now, const QString &note) const
{
    const QDate today = now.date();
    const QString who = QStringLiteral("\n") + booking.cliente + QStringLiteral("\nPosto ") + booking.posto;
    DeskAnswer answer;
    answer.booking = booking;
    if (passage == Passage::In) {
        const CheckIn done = checkIn(archiveBeside(m_reservations, Passage::In), booking.number, booking.posto, now);
        answer.entry = done.entry;
        if (!done.recorded()) {
            answer.kind = DeskAnswer::Already;
            answer.text = QStringLiteral("Ingresso gi\u00E0 registrato oggi ") + whenSaid(done.entry, today)
                          + QStringLiteral(": nulla \u00E8 cambiato") + who;
        } else if (booking.pending) {
            answer.kind = DeskAnswer::Pending;
            answer.text = QStringLiteral("Ingresso registrato ") + whenSaid(done.entry, today)
                          + QStringLiteral(" - PRENOTAZIONE DA CONFERMARE") + who + note;
        } else {
            answer.kind = DeskAnswer::Recorded;
            answer.text = QStringLiteral("Ingresso registrato ") + whenSaid(done.entry, today) + who + note;
        }
        return answer;
    }
    const CheckIn done = checkOut(m_reservations, booking.number, booking.posto, now);
    switch (done.outcome) {
    case CheckIn::NoEntry:
        answer.kind = DeskAnswer::Refused;
        answer.text = QStringLiteral("Nessun ingresso registrato oggi: uscita non registrata") + who;
        break;
    case CheckIn::Already:
        answer.entry = done.entry;
        answer.kind = DeskAnswer::Already;
        answer.text = QStringLiteral("Uscita gi\u00E0 registrata oggi ") + whenSaid(done.entry, today)
                      + QStringLiteral(": nulla \u00E8 cambiato") + who;
        break;
    case CheckIn::Recorded: {
        answer.entry = done.entry;
        answer.kind = DeskAnswer::Recorded;
        const std::optional<qint64> seconds = done.in ? secondsPresent(*done.in, done.entry) : std::nullopt;
        answer.text = QStringLiteral("Uscita registrata ") + whenSaid(done.entry, today)
                      + (seconds ? QStringLiteral(" (presente %1 ore)").arg(hoursText(*seconds)) : QString()) + who
                      + note;
        break;
    }
    }
    return answer;
}

} // namespace qv::Attendance
