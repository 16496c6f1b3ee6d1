#include "eventday/noticetoeveryone.h"

#include "archive/tarchivio.h"
#include "core/tmisc.h"
#include "eventday/everyonenotice.h"
#include "ui/desktop.h"
#include "ui/messages.h"

namespace qv {

namespace {

// A message shows this many names at most; the rest are counted.
constexpr int kNamesShown = 30;

QString namesOf(const QList<Booking> &bookings)
{
    QStringList lines;
    for (qsizetype i = 0; i < bookings.size() && i < kNamesShown; ++i)
        lines << Bookings::describe(bookings.at(i));
    if (bookings.size() > kNamesShown)
        lines << QStringLiteral("... e altre %1.").arg(bookings.size() - kNamesShown);
    return lines.join(QStringLiteral("\r\n"));
}

QString withoutAddress(const QList<Booking> &bookings)
{
    const QString heading =
        bookings.size() == 1
            ? QStringLiteral("Una prenotazione non ha un indirizzo e-mail e non ricever\u00E0 l'avviso:")
            : QStringLiteral("%1 prenotazioni non hanno un indirizzo e-mail e non riceveranno l'avviso:")
                  .arg(bookings.size());
    return heading + Messages::kBreak + namesOf(bookings);
}

} // namespace

void noticeToEveryone(QWidget *owner, const QString &reservationArchive, const EventInfo &event)
{
    QList<Booking> bookings;
    try {
        bookings = Bookings::read(reservationArchive);
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, owner);
        return;
    }
    if (bookings.isEmpty()) {
        Messages::caution(QStringLiteral("L'evento non ha ancora prenotazioni: non c'\u00E8 nessuno a cui scrivere."),
                          owner);
        return;
    }
    const EveryoneNotice::Recipients recipients = EveryoneNotice::recipients(bookings);
    if (recipients.addresses.isEmpty()) {
        Messages::caution(QStringLiteral("Nessuna prenotazione dell'evento ha un indirizzo e-mail: non \u00E8 "
                                         "possibile preparare l'avviso.")
                              + Messages::kBreak + namesOf(recipients.withoutAddress),
                          owner);
        return;
    }
    const QList<QStringList> batches = EveryoneNotice::batches(recipients.addresses);
    if (batches.size() > 1
        && !Messages::question(QStringLiteral("Gli indirizzi e-mail dei prenotati sono %1: il programma di posta "
                                              "aprir\u00E0 %2 messaggi, ciascuno con al massimo %3 destinatari in "
                                              "copia nascosta.\r\n\r\nProcedere?")
                                   .arg(recipients.addresses.size())
                                   .arg(batches.size())
                                   .arg(EveryoneNotice::kAddressesPerMessage),
                               owner))
        return;
    const QString subject = EveryoneNotice::subject(event);
    const QString body = EveryoneNotice::body(event);
    for (const QStringList &batch : batches) {
        if (!Desktop::composeMail(QString(), subject, body, batch, owner))
            return; // said so; the messages opened before stay open
    }
    if (!recipients.withoutAddress.isEmpty())
        Messages::notice(withoutAddress(recipients.withoutAddress), owner);
}

} // namespace qv
