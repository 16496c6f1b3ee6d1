#include "reservations/reservationlists.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "core/text.h"

namespace qv::ReservationLists {

namespace {

int fieldOf(const char *name)
{
    return TSchedaPrenotazione::layout().indexOf(QString::fromLatin1(name));
}

ListSource sourceWith(PathSource path, const LineLayout &lines)
{
    return {&TSchedaPrenotazione::layout(), std::move(path), lines};
}

} // namespace

const LineLayout &bookedLines()
{
    static const LineLayout layout(TSchedaPrenotazione::layout(),
                                   {
                                       {QStringLiteral("Posto n. "), "Numero", 5},
                                       {QStringLiteral("   "), "Cliente", 34},
                                       {QStringLiteral("  Tel. "), "Recapito", 22},
                                       {QStringLiteral("  Cel. "), "TelCel", 22},
                                       {QStringLiteral("  "), "Ubicazione", LineLayout::kTrimmed},
                                   });
    return layout;
}

const LineLayout &pendingLines()
{
    static const LineLayout layout(TSchedaPrenotazione::layout(),
                                   {
                                       {QString(), "Cliente", 30},
                                       {QStringLiteral("  Tel. "), "Recapito", 22},
                                       {QStringLiteral("  Cel. "), "TelCel", 22},
                                       {QStringLiteral("  Posto n. "), "Posto", LineLayout::kTrimmed},
                                   });
    return layout;
}

const LineLayout &searchLines()
{
    static const LineLayout layout(TSchedaPrenotazione::layout(),
                                   {
                                       {QString(), "Cliente", 30},
                                       {QStringLiteral("  Tel. "), "Recapito", 22},
                                       {QStringLiteral("  Cel. "), "TelCel", 22},
                                       {QStringLiteral("  Posto n. "), "Posto", 5},
                                       {QStringLiteral("  Note: "), "Annotazioni", LineLayout::kTrimmed},
                                   });
    return layout;
}

const LineLayout &holderLines()
{
    static const LineLayout layout(TSchedaPrenotazione::layout(),
                                   {
                                       {QStringLiteral("Posto n. "), "Posto", 5},
                                       {QStringLiteral("  "), "Cliente", 50},
                                   });
    return layout;
}

ListSource bookedSource(PathSource path)
{
    return sourceWith(std::move(path), bookedLines());
}

ListSource pendingSource(PathSource path)
{
    return sourceWith(std::move(path), pendingLines());
}

ListSource searchSource(PathSource path)
{
    return sourceWith(std::move(path), searchLines());
}

bool isBooked(const RecordView &reservation)
{
    static const int posto = fieldOf("Posto");
    return reservation.hasText(posto);
}

bool isPending(const RecordView &reservation)
{
    static const int daConfermare = fieldOf("DaConfermare");
    return reservation.text(daConfermare) == kYes;
}

bool sameSeat(const QString &stored, const QString &typed)
{
    return seatKey(stored) == seatKey(typed);
}

QString seatKey(const QString &seat)
{
    return trimmedUpper(seat);
}

QStringList seatHolders(const QString &path, const QString &seat)
{
    static const int posto = fieldOf("Posto");
    const QString key = seatKey(seat);
    QStringList lines;
    scanArchive(path, TSchedaPrenotazione::layout(), [&](const RecordView &record, qint64) {
        if (seatKey(record.text(posto)) == key)
            lines.append(holderLines().line(record));
    });
    sortLines(lines);
    return lines;
}

QString noticeSubject()
{
    return QStringLiteral("Notifica prenotazione posto a sedere");
}

QString noticeBody(const NoticeData &d)
{
    return QStringLiteral("Gentile Sig. ") + trimmed(d.cliente)
           + QStringLiteral(", con la presente le notifichiamo l'avvenuta prenotazione a suo nome del posto a sedere n. ")
           + d.posto + QStringLiteral(" relativamente all'evento intitolato ") + d.titolo
           + QStringLiteral(", che avr\u00E0 inizio in data ") + trimmed(d.dataInizio) + QStringLiteral(" alle ore ")
           + trimmed(d.oraInizio) + QStringLiteral(" presso la seguente sede: ") + trimmed(d.sede)
           + QStringLiteral(", ubicata in ") + trimmed(d.indirizzo)
           + QStringLiteral(". Con l'occasione, le porgiamo cordiali saluti.");
}

} // namespace qv::ReservationLists
