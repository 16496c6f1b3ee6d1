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

namespace qv::Attendance {

namespace {

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

const RecordLayout &layout()
{
    return TSchedaPresenza::layout();
}

// Lower case and without accents, for finding part of a name.
QString folded(const QString &text)
{
    QString plain;
    for (const QChar c : trimmed(text).normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return asciiLower(plain);
}

} // namespace

QString archiveBeside(const QString &reservationArchive)
{
    const qint64 event = Bookings::eventNumberOf(reservationArchive);
    if (event <= 0)
        return {};
    return QFileInfo(reservationArchive).dir().filePath(TSchedaPresenza::archiveName(event));
}

QString Entry::when(const QDate &today) const
{
    if (!moment.isValid())
        return QString();
    if (moment.date() == today)
        return moment.time().toString(kTimeFormat);
    return formatDate(moment.date()) + QLatin1Char(' ') + moment.time().toString(kTimeFormat);
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

Entry entryOf(const QByteArray &bytes, qint64 number)
{
    TSchedaPresenza r;
    r.setBytes(bytes);
    Entry e;
    e.number = number;
    e.bytes = bytes;
    bool ok = false;
    e.reservation = r.text(QStringLiteral("Prenotazione")).toLongLong(&ok);
    if (!ok)
        e.reservation = 0;
    e.posto = r.text(QStringLiteral("Posto"));
    const QDate date = QDate::fromString(r.text(QStringLiteral("DataIngresso")), kDateFormat);
    const QTime time = QTime::fromString(r.text(QStringLiteral("OraIngresso")), kTimeFormat);
    if (date.isValid() && time.isValid())
        e.moment = QDateTime(date, time);
    // Anything but a plain "No" counts as undone: an entry that cannot be
    // read for sure never keeps a booking in.
    e.undone = r.yesNo(QStringLiteral("Annullato")) != std::optional<bool>(false);
    return e;
}

QList<Entry> read(const QString &attendanceArchive)
{
    QList<Entry> entries;
    if (!QFileInfo(attendanceArchive).isFile())
        return entries;
    const int length = layout().size();
    scanArchive(attendanceArchive, layout(), [&](const RecordView &record, qint64 number) {
        entries.append(entryOf(QByteArray(record.data(), length), number));
    });
    return entries;
}

QHash<qint64, Entry> present(const QList<Entry> &entries)
{
    QHash<qint64, Entry> in;
    for (const Entry &e : entries)
        if (!e.undone && e.reservation > 0 && !in.contains(e.reservation))
            in.insert(e.reservation, e);
    return in;
}

CheckIn checkIn(const QString &attendanceArchive, qint64 reservation, const QString &posto, const QDateTime &moment)
{
    TArchivio archive(attendanceArchive, layout().size());
    const QByteArray bytes = record(reservation, posto, moment);
    const TArchivio::AppendOutcome outcome = archive.AppendUnless(bytes, [reservation](const QByteArray &stored) {
        const Entry e = entryOf(stored, 0);
        return !e.undone && e.reservation == reservation;
    });
    archive.Close();
    CheckIn done;
    done.recorded = outcome.appended;
    done.entry = entryOf(outcome.appended ? bytes : outcome.record, outcome.number);
    return done;
}

bool undo(const QString &attendanceArchive, const Entry &entry)
{
    TArchivio archive(attendanceArchive, layout().size());
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

Lookup lookup(const QString &typed, qint64 eventNumber, const QList<Booking> &bookings)
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
        for (const Booking &b : bookings)
            if (b.number == code->record)
                found.matches.append(b);
        found.kind = found.matches.isEmpty() ? Lookup::UnknownRecord : Lookup::Badge;
        return found;
    }
    for (const Booking &b : bookings)
        if (ReservationLists::sameSeat(b.posto, text))
            found.matches.append(b);
    if (!found.matches.isEmpty()) {
        found.kind = Lookup::Seat;
        return found;
    }
    found.kind = Lookup::Name;
    for (const Booking &b : bookings)
        if (nameHolds(b.cliente, text))
            found.matches.append(b);
    return found;
}

} // namespace qv::Attendance
