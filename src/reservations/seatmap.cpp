#include "reservations/seatmap.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/cp1252.h"
#include "core/text.h"
#include "output/listscan.h"
#include "reservations/reservationlists.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace qv {

namespace {

int fieldOf(const char *name)
{
    return TSchedaPrenotazione::layout().indexOf(QString::fromLatin1(name));
}

const RecordLayout::Field &field(const char *name)
{
    return TSchedaPrenotazione::layout().field(fieldOf(name));
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The numbered seat a key names (1 to total), else 0: "12" is seat 12,
// "012" and "0" are seats of their own.
int numberedSeat(const QString &key, int total)
{
    if (key.size() > 9 || !allDigits(key) || key.at(0) == QLatin1Char('0'))
        return 0;
    const int n = key.toInt();
    return n <= total ? n : 0;
}

// A seat text other than 1..N, split for its place in the map: the leading
// letters (its group), the number that follows, and the text itself.
struct OtherKey
{
    QString group;
    QString digits; // without leading zeros; empty and `hasNumber` false when none follows
    bool hasNumber = false;

    explicit OtherKey(const QString &key)
    {
        qsizetype i = 0;
        while (i < key.size() && !isDigit(key.at(i)))
            ++i;
        group = trimmed(key.left(i));
        qsizetype end = i;
        while (end < key.size() && isDigit(key.at(end)))
            ++end;
        hasNumber = end > i;
        qsizetype from = i;
        while (from < end - 1 && key.at(from) == QLatin1Char('0'))
            ++from;
        digits = key.mid(from, end - from);
    }
};

int compareNumbers(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool otherLess(const QString &a, const QString &b)
{
    const OtherKey x(a), y(b);
    if (const int c = compareAsciiUpper(x.group, y.group))
        return c < 0;
    if (x.hasNumber != y.hasNumber)
        return !x.hasNumber;
    if (const int c = compareNumbers(x.digits, y.digits))
        return c < 0;
    return compareAsciiUpper(a, b) < 0;
}

QByteArrayView storedTrimmed(const RecordView &record, const RecordLayout::Field &f)
{
    return trimmedBytes(record.data() + f.offset, f.length);
}

// The numbered seat (1 to total) stored digits name, else 0: as numberedSeat
// on the seat's key, without decoding the field.
int numberedSeat(QByteArrayView digits, int total)
{
    if (digits.isEmpty() || digits.size() > 9 || digits.at(0) == '0')
        return 0;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= total ? n : 0;
}

QString holderNames(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names)
        shown << (name.isEmpty() ? QStringLiteral("senza nome") : name);
    return shown.join(QStringLiteral(", "));
}

QString holderNames(const QList<SeatMap::Holder> &holders)
{
    QStringList names;
    for (const SeatMap::Holder &h : holders)
        names << h.name;
    return holderNames(names);
}

QString beyondText(int total)
{
    return QStringLiteral("oltre il numero totale dei posti (%1)").arg(total);
}

// Every card of the archive, unless the archive is missing: looking at an
// event without bookings creates nothing. Throws ArchiveError.
void scanBookings(const QString &path, const RecordVisitor &visit)
{
    if (!QFileInfo::exists(path))
        return;
    scanArchive(path, TSchedaPrenotazione::layout(), visit);
}

} // namespace

QString SeatMapEvent::whenText() const
{
    const auto moment = [](const QString &date, const QString &time) {
        return trimmed(trimmed(date) + QLatin1Char(' ') + trimmed(time));
    };
    QStringList parts;
    if (const QString start = moment(dataInizio, oraInizio); !start.isEmpty())
        parts << QStringLiteral("Inizio: ") + start;
    if (const QString end = moment(dataFine, oraFine); !end.isEmpty())
        parts << QStringLiteral("Fine: ") + end;
    return parts.join(QStringLiteral(" - "));
}

QString SeatMapEvent::whereText() const
{
    QStringList parts;
    for (const QString &part : {trimmed(sede), trimmed(indirizzo)})
        if (!part.isEmpty())
            parts << part;
    return parts.isEmpty() ? QString() : QStringLiteral("Sede: ") + parts.join(QStringLiteral(", "));
}

SeatMap::SeatMap(int total) : m_total(std::max(0, total)), m_numbered(m_total) {}

int SeatMap::totalOf(const QString &posti)
{
    const QString text = trimmed(posti);
    if (text.size() > 9 || !allDigits(text))
        return -1;
    return text.toInt();
}

bool SeatMap::read(const QString &path)
{
    try {
        scanBookings(path, [this](const RecordView &record, qint64 number) { add(record, number); });
    } catch (const ArchiveError &) {
        markUnreadable();
        return false;
    }
    return true;
}

void SeatMap::add(const RecordView &reservation, qint64 number)
{
    // Read straight from the stored bytes where the seat is a plain number:
    // a large archive is mostly that, and decoding every card would cost more
    // than reading it.
    static const RecordLayout::Field &posto = field("Posto");
    static const RecordLayout::Field &cliente = field("Cliente");
    static const RecordLayout::Field &daConfermare = field("DaConfermare");
    static const QByteArray yes = cp1252::encode(kYes);
    const char *name = reservation.data() + cliente.offset;
    const int nameLength = countedLength(name, cliente.length);
    const bool pending = storedTrimmed(reservation, daConfermare) == QByteArrayView(yes);
    const QByteArrayView seat = storedTrimmed(reservation, posto);
    if (const int n = numberedSeat(seat, m_total)) {
        holdSeat(m_numbered[n - 1], number, name + 1, nameLength, pending);
        return;
    }
    const QString key = ReservationLists::seatKey(cp1252::decode(seat.data(), seat.size()));
    if (key.isEmpty())
        return;
    int other = m_otherIndex.value(key, -1);
    if (other < 0) {
        other = int(m_others.size());
        m_otherIndex.insert(key, other);
        m_others.append({key, {}});
        m_ordered = false;
    }
    holdSeat(m_others[other].seat, number, name + 1, nameLength, pending);
}

void SeatMap::holdSeat(Seat &seat, qint64 number, const char *name, int nameLength, bool pending)
{
    ++seat.holders;
    seat.pending += pending ? 1 : 0;
    if (seat.holders > kNamedHolders)
        return;
    const auto entry = qint32(m_entries.size());
    m_entries.append({number, -1, qint32(m_names.size()), pending});
    m_names.append(char(nameLength));
    m_names.append(name, nameLength);
    if (seat.last >= 0)
        m_entries[seat.last].next = entry;
    else
        seat.first = entry;
    seat.last = entry;
}

void SeatMap::markUnreadable()
{
    m_unreadable = true;
}

void SeatMap::order() const
{
    if (m_ordered)
        return;
    m_order.resize(m_others.size());
    for (int i = 0; i < m_others.size(); ++i)
        m_order[i] = i;
    std::sort(m_order.begin(), m_order.end(),
              [this](int a, int b) { return otherLess(m_others.at(a).key, m_others.at(b).key); });
    m_groups.clear();
    for (int i = 0; i < m_order.size(); ++i) {
        const QString group = OtherKey(m_others.at(m_order.at(i)).key).group;
        const QString heading = group.isEmpty() ? QStringLiteral("Altri numeri") : group;
        if (m_groups.isEmpty() || m_groups.last().heading != heading)
            m_groups.append({heading, m_total + i, 0});
        ++m_groups.last().count;
    }
    m_ordered = true;
}

QList<SeatMap::Group> SeatMap::groups() const
{
    order();
    QList<Group> all;
    if (m_total > 0)
        all.append({QString(), 0, m_total});
    return all + m_groups;
}

const SeatMap::Seat &SeatMap::seatAt(int index) const
{
    if (index < m_total)
        return m_numbered.at(index);
    order();
    return m_others.at(m_order.at(index - m_total)).seat;
}

QString SeatMap::label(int index) const
{
    if (index < m_total)
        return QString::number(index + 1);
    order();
    return m_others.at(m_order.at(index - m_total)).key;
}

SeatState SeatMap::state(int index) const
{
    const Seat &seat = seatAt(index);
    if (seat.holders == 0)
        return m_unreadable ? SeatState::Unknown : SeatState::Free;
    if (seat.holders > 1)
        return SeatState::Twice;
    return seat.pending == seat.holders ? SeatState::Pending : SeatState::Booked;
}

QList<SeatMap::Holder> SeatMap::holders(int index) const
{
    QList<Holder> all;
    for (qint32 e = seatAt(index).first; e >= 0; e = m_entries.at(e).next) {
        const Entry &entry = m_entries.at(e);
        const char *name = m_names.constData() + entry.nameAt;
        all.append({entry.record, TestoDaCampo(name, static_cast<unsigned char>(name[0])), entry.pending});
    }
    return all;
}

int SeatMap::holderCount(int index) const
{
    return seatAt(index).holders;
}

QList<SeatMap::Holder> SeatMap::holdersIn(const QString &path, const QString &seat)
{
    static const int posto = fieldOf("Posto");
    static const int cliente = fieldOf("Cliente");
    const QString key = ReservationLists::seatKey(seat);
    QList<Holder> all;
    scanBookings(path, [&](const RecordView &record, qint64 number) {
        if (!key.isEmpty() && ReservationLists::seatKey(record.text(posto)) == key)
            all.append({number, record.text(cliente), ReservationLists::isPending(record)});
    });
    return all;
}

QString SeatMap::description(int index) const
{
    const QString seat = QStringLiteral("Posto ") + label(index) + QStringLiteral(": ");
    const Seat &s = seatAt(index);
    QString names = holderNames(holders(index));
    if (s.holders > kNamedHolders)
        names += QStringLiteral(" e altre %1 persone").arg(s.holders - kNamedHolders);
    switch (state(index)) {
    case SeatState::Free: return seat + QStringLiteral("libero");
    case SeatState::Unknown: return seat + QStringLiteral("stato non noto");
    case SeatState::Booked: return seat + names;
    case SeatState::Pending: return seat + names + QStringLiteral(" (in attesa di conferma)");
    case SeatState::Twice:
        return seat + names
               + (s.pending == s.holders ? QStringLiteral(" (assegnato pi\u00F9 volte, in attesa di conferma)")
                                         : QStringLiteral(" (assegnato pi\u00F9 volte)"));
    }
    return seat;
}

int SeatMap::indexOf(const QString &seat) const
{
    const QString key = ReservationLists::seatKey(seat);
    if (const int n = numberedSeat(key, m_total))
        return n - 1;
    const auto at = m_otherIndex.constFind(key);
    if (at == m_otherIndex.constEnd())
        return -1;
    order();
    return m_total + int(m_order.indexOf(*at));
}

SeatMap::Counts SeatMap::counts() const
{
    Counts c;
    c.seats = m_total;
    for (const Seat &seat : m_numbered) {
        c.booked += seat.holders;
        c.pending += seat.pending;
        if (seat.holders > 0)
            ++c.taken;
        else if (m_unreadable)
            ++c.unknown;
        c.twice += seat.holders > 1 ? 1 : 0;
    }
    // Every other seat text is a card counted among the people booked, and
    // never among the seats: it is not one of the hall's.
    for (const Other &other : m_others) {
        c.booked += other.seat.holders;
        c.pending += other.seat.pending;
        c.outside += other.seat.holders;
    }
    c.free = c.seats - c.taken - c.unknown;
    return c;
}

namespace {

// "1 posto occupato", "3 posti occupati".
QString counted(int n, const QString &one, const QString &many)
{
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? one : many);
}

// The line of the counts; `every`: also those that are 0 among the cards
// outside 1..N and the seats held more than once.
QString countsLine(const SeatMap::Counts &c, bool every)
{
    QStringList people{QString::number(c.pending) + QStringLiteral(" da confermare")};
    if (every || c.outside > 0)
        people << QString::number(c.outside) + QStringLiteral(" con posto fuori pianta");
    QString text = counted(c.booked, QStringLiteral("prenotato"), QStringLiteral("prenotati")) + QStringLiteral(" (")
                   + people.join(QStringLiteral(", ")) + QStringLiteral("), ")
                   + counted(c.taken, QStringLiteral("posto occupato"), QStringLiteral("posti occupati"))
                   + QStringLiteral(" su ") + QString::number(c.seats) + QStringLiteral(", ")
                   + counted(c.free, QStringLiteral("libero"), QStringLiteral("liberi"));
    if (every || c.twice > 0)
        text += QStringLiteral(", ")
                + counted(c.twice, QStringLiteral("posto assegnato pi\u00F9 volte"),
                          QStringLiteral("posti assegnati pi\u00F9 volte"));
    if (c.unknown > 0)
        text += QStringLiteral(", ")
                + counted(c.unknown, QStringLiteral("posto di stato non noto"), QStringLiteral("posti di stato non noto"));
    return text;
}

} // namespace

QString SeatMap::countersText() const
{
    return countsLine(counts(), true);
}

QString SeatMap::selectionText() const
{
    return countsLine(counts(), false);
}

QString SeatMap::stateName(SeatState state)
{
    switch (state) {
    case SeatState::Free: return QStringLiteral("Libero");
    case SeatState::Booked: return QStringLiteral("Prenotato");
    case SeatState::Pending: return QStringLiteral("In attesa di conferma");
    case SeatState::Twice: return QStringLiteral("Assegnato pi\u00F9 volte");
    case SeatState::Unknown: return QStringLiteral("Stato non noto");
    }
    return {};
}

SeatOnCard seatOnCard(const QString &archivePath, const QString &seat, qint64 ownRecord, int total)
{
    SeatOnCard answer;
    const QString key = ReservationLists::seatKey(seat);
    if (key.isEmpty())
        return answer;
    static const int posto = fieldOf("Posto");
    static const int cliente = fieldOf("Cliente");
    QStringList names; // the other holders
    int pending = 0;
    bool own = false;
    bool ownPending = false;
    try {
        scanBookings(archivePath, [&](const RecordView &record, qint64 number) {
            if (ReservationLists::seatKey(record.text(posto)) != key)
                return;
            if (number == ownRecord) {
                own = true;
                ownPending = ReservationLists::isPending(record);
                return;
            }
            names << record.text(cliente);
            pending += ReservationLists::isPending(record) ? 1 : 0;
        });
    } catch (const ArchiveError &) {
        return answer; // a seat is never called free when the archive could not be read whole
    }
    answer.known = true;
    const bool beyond = total >= 0 && allDigits(key) && numberedSeat(key, total) == 0 && key.toLongLong() > total;
    answer.beyond = beyond;
    answer.warning = !names.isEmpty();
    if (names.isEmpty()) {
        if (own) {
            answer.state = ownPending ? SeatState::Pending : SeatState::Booked;
            answer.text = QStringLiteral("assegnato a questa scheda");
        } else {
            answer.text = beyond ? beyondText(total) : QStringLiteral("libero");
            return answer;
        }
    } else {
        answer.state = SeatState::Twice;
        const QString others =
            names.size() > 1 ? QStringLiteral("%1 persone: ").arg(names.size()) + holderNames(names)
                             : (names.first().isEmpty() ? QStringLiteral("1 persona") : names.first());
        answer.text = own ? QStringLiteral("assegnato a questa scheda e anche a ") + others
                          : QStringLiteral("gi\u00E0 assegnato a ") + others;
        if (pending == names.size())
            answer.text += QStringLiteral(" (in attesa di conferma)");
    }
    if (beyond)
        answer.text += QStringLiteral(" - ") + beyondText(total);
    return answer;
}

} // namespace qv
