#include "eventday/bookings.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/text.h"
#include "reservations/reservationlists.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace qv::Bookings {

qint64 eventNumberOf(const QString &reservationArchive)
{
    static const QRegularExpression name(QStringLiteral("^Posti_Riservati_Evento_([1-9][0-9]{0,17})\\.pro$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = name.match(QFileInfo(reservationArchive).fileName());
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

namespace {

// The booking a reservation record holds, when it holds a seat.
std::optional<Booking> bookingOf(const RecordView &record, qint64 number)
{
    if (!ReservationLists::isBooked(record))
        return std::nullopt;
    const RecordLayout &layout = TSchedaPrenotazione::layout();
    static const int cliente = layout.indexOf(QStringLiteral("Cliente"));
    static const int posto = layout.indexOf(QStringLiteral("Posto"));
    static const int email = layout.indexOf(QStringLiteral("Email"));
    Booking b;
    b.number = number;
    b.cliente = record.text(cliente);
    b.posto = record.text(posto);
    b.email = record.text(email);
    b.pending = ReservationLists::isPending(record);
    return b;
}

} // namespace

QList<Booking> read(const QString &reservationArchive)
{
    return read(reservationArchive, [](const Booking &) { return true; });
}

std::optional<Booking> readOne(const QString &reservationArchive, qint64 number)
{
    if (!QFileInfo(reservationArchive).isFile() || number < 1)
        return std::nullopt;
    const RecordLayout &layout = TSchedaPrenotazione::layout();
    TArchivio archive(reservationArchive, layout.size(), TArchivio::Access::Read);
    if (number > archive.Count())
        return std::nullopt;
    QByteArray bytes;
    archive.Seek(number - 1);
    archive.Read(bytes);
    archive.Close();
    return bookingOf(RecordView(layout, bytes.constData()), number);
}

QList<Booking> read(const QString &reservationArchive, const std::function<bool(const Booking &)> &keep)
{
    if (!QFileInfo(reservationArchive).isFile())
        return {};
    const RecordLayout &layout = TSchedaPrenotazione::layout();
    struct Listed
    {
        QString line;
        Booking booking;
    };
    QList<Listed> listed;
    scanArchive(reservationArchive, layout, [&](const RecordView &record, qint64 number) {
        const std::optional<Booking> b = bookingOf(record, number);
        if (b && keep(*b))
            listed.append({ReservationLists::bookedLines().line(record), *b});
    });
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Listed &a, const Listed &b) { return listLess(a.line, b.line); });
    QList<Booking> bookings;
    bookings.reserve(listed.size());
    for (const Listed &l : listed)
        bookings.append(l.booking);
    return bookings;
}

QString describe(const Booking &booking)
{
    return QStringLiteral("Posto ") + booking.posto + QStringLiteral("  ") + booking.cliente;
}

} // namespace qv::Bookings
