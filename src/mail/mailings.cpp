#include "mail/mailings.h"

#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "eventday/badges.h"
#include "eventday/certificates.h"
#include "mail/mailerror.h"
#include "output/pageoutput.h"

#include <QCryptographicHash>

#include <memory>

namespace qv::Mailings {

namespace {

const QString kLine = QStringLiteral("\n");

QString lowerAddress(const QString &address)
{
    return asciiLower(trimmed(address));
}

QString when(const EventInfo &event)
{
    const QString from = trimmed(event.dataInizio);
    const QString to = trimmed(event.dataFine);
    const QDate start = parseDate(from), end = parseDate(to);
    if (end.isValid() && start.isValid() && end > start)
        return QStringLiteral("dal %1 al %2").arg(from, to);
    return from;
}

QString hours(const EventInfo &event)
{
    const QString from = trimmed(event.oraInizio), to = trimmed(event.oraFine);
    if (!from.isEmpty() && !to.isEmpty())
        return QStringLiteral("dalle %1 alle %2").arg(from, to);
    return from.isEmpty() ? QString() : QStringLiteral("dalle %1").arg(from);
}

QString eventLines(const EventInfo &event)
{
    QString out = QStringLiteral("Evento: ") + trimmed(event.titolo) + kLine;
    const auto add = [&out](const QString &label, const QString &value) {
        if (!value.isEmpty())
            out += label + value + kLine;
    };
    add(QStringLiteral("Data: "), when(event));
    add(QStringLiteral("Orario: "), hours(event));
    add(QStringLiteral("Sede: "), trimmed(event.sede));
    add(QStringLiteral("Indirizzo: "), trimmed(event.indirizzo));
    return out;
}

QString hashOf(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

QString keyOf(const QString &kind, const EventInfo &event, const Booking &booking, const QString &rest)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(kind).arg(event.number).arg(booking.number)
        .arg(lowerAddress(booking.email), rest);
}

} // namespace

Audience audience(const QList<Booking> &bookings)
{
    Audience out;
    for (const Booking &b : bookings)
        (Mail::plausibleAddress(trimmed(b.email)) ? out.withAddress : out.withoutAddress).append(b);
    return out;
}

QString confirmationSubject(const EventInfo &event)
{
    return QStringLiteral("Conferma di prenotazione: ") + trimmed(event.titolo);
}

QString defaultConfirmationText()
{
    return QStringLiteral("In allegato trova il suo cartellino con il codice QR: lo presenti all'ingresso.\n\n"
                          "Cordiali saluti");
}

QString confirmationBody(const EventInfo &event, const Booking &booking, const QString &userText)
{
    return QStringLiteral("Gentile ") + trimmed(booking.cliente) + QStringLiteral(",") + kLine + kLine
           + QStringLiteral("le confermiamo la prenotazione per l'evento qui indicato.") + kLine + kLine
           + eventLines(event) + QStringLiteral("Posto: ") + trimmed(booking.posto) + kLine + kLine + userText;
}

Mail::Draft confirmation(const EventInfo &event, const Booking &booking, const QString &userText)
{
    Mail::Draft d;
    d.kind = QStringLiteral("conferma");
    d.event = event.number;
    d.booking = booking.number;
    // A changed seat or address makes a new confirmation; the same one is
    // never sent twice.
    d.key = keyOf(d.kind, event, booking, trimmed(booking.posto));
    d.toAddress = trimmed(booking.email);
    d.toName = trimmed(booking.cliente);
    d.subject = confirmationSubject(event);
    d.body = confirmationBody(event, booking, userText);
    const page::Document badge = Badges::document(event, {booking}, Badges::eightPerPage());
    d.attachments.append({QStringLiteral("Cartellino_Evento_%1_%2.pdf")
                              .arg(event.number)
                              .arg(Certificates::safeName(booking.cliente)),
                          QStringLiteral("application/pdf"), PageOutput::pdfBytes(badge)});
    return d;
}

Mail::Draft notice(const EventInfo &event, const Booking &booking, const QString &subject, const QString &body)
{
    Mail::Draft d;
    d.kind = QStringLiteral("avviso");
    d.event = event.number;
    d.booking = booking.number;
    // The same notice is sent once per person; another text is another notice.
    d.key = keyOf(d.kind, event, booking, hashOf(subject + QLatin1Char('\0') + body));
    d.toAddress = trimmed(booking.email);
    d.toName = trimmed(booking.cliente);
    d.subject = subject;
    d.body = body;
    return d;
}

QString certificateSubject(const EventInfo &event)
{
    return QStringLiteral("Attestato di partecipazione: ") + trimmed(event.titolo);
}

QString defaultCertificateText(const EventInfo &event)
{
    return QStringLiteral("in allegato trova l'attestato di partecipazione all'evento \"%1\".\n\nCordiali saluti")
        .arg(trimmed(event.titolo));
}

Mail::Draft certificate(const CertificatePages::Setting &setting, const Certificates::Person &person, const QString &body)
{
    const Booking &booking = person.booking;
    Mail::Draft d;
    d.kind = QStringLiteral("attestato");
    d.event = setting.event.number;
    d.booking = booking.number;
    d.key = keyOf(d.kind, setting.event, booking, QString());
    d.toAddress = trimmed(booking.email);
    d.toName = trimmed(booking.cliente);
    d.subject = certificateSubject(setting.event);
    d.body = QStringLiteral("Gentile ") + trimmed(booking.cliente) + QStringLiteral(",") + kLine + kLine + body;
    page::Document doc = CertificatePages::header(setting);
    doc.pages.append(CertificatePages::page(setting, person));
    d.attachments.append({QStringLiteral("Attestato_Evento_%1_%2.pdf")
                              .arg(setting.event.number)
                              .arg(Certificates::safeName(booking.cliente)),
                          QStringLiteral("application/pdf"), PageOutput::pdfBytes(doc)});
    return d;
}

Plan confirmationsPlan(const EventInfo &event, const QList<Booking> &bookings, const QString &userText)
{
    const Audience who = audience(bookings);
    Plan plan{who.withAddress, who.withoutAddress, {}};
    plan.make = [event, list = who.withAddress, userText](int i) { return confirmation(event, list.at(i), userText); };
    return plan;
}

Plan noticePlan(const EventInfo &event, const QList<Booking> &bookings, const QString &subject, const QString &body)
{
    const Audience who = audience(bookings);
    Plan plan{who.withAddress, who.withoutAddress, {}};
    plan.make = [event, list = who.withAddress, subject, body](int i) { return notice(event, list.at(i), subject, body); };
    return plan;
}

Plan certificatesPlan(const EventInfo &event, const QList<Certificates::Person> &chosen, const QString &text)
{
    Plan plan;
    QList<Certificates::Person> people;
    for (const Certificates::Person &p : chosen) {
        if (Mail::plausibleAddress(trimmed(p.booking.email))) {
            plan.withAddress.append(p.booking);
            people.append(p);
        } else {
            plan.withoutAddress.append(p.booking);
        }
    }
    const auto setting = std::make_shared<CertificatePages::Setting>(
        CertificatePages::Setting::make(event, Certificates::load(event.number), Clock::today()));
    plan.make = [setting, people, text](int i) { return certificate(*setting, people.at(i), text); };
    return plan;
}

Queued queue(Mail::Outbox &outbox, const Mail::Settings &settings, int count, const std::function<Mail::Draft(int)> &make,
             const std::function<bool(int, int)> &keepGoing)
{
    Queued out;
    for (int i = 0; i < count; ++i) {
        if (keepGoing && !keepGoing(i, count)) {
            out.cancelled = true;
            break;
        }
        bool added = false;
        const QString id = outbox.add(make(i), settings, &added);
        if (added || outbox.status(id).state == Mail::State::Pending)
            out.ids.append(id);
        else
            ++out.earlier;
    }
    return out;
}

QString reportText(const Mail::Outbox &outbox, const Mail::BatchReport &report, int earlier)
{
    QStringList lines;
    lines << QStringLiteral("Messaggi inviati: %1.").arg(report.sent);
    if (earlier > 0)
        lines << QStringLiteral("Gi\u00E0 nella posta in uscita da un invio precedente, non inviati di nuovo: %1.").arg(earlier);
    const auto named = [&outbox](const QStringList &ids) {
        QStringList out;
        for (const QString &id : ids) {
            const Mail::Message m = outbox.read(id);
            const Mail::Status s = outbox.status(id);
            out << QStringLiteral("  %1 <%2>: %3").arg(m.toName, m.toAddress, s.reply);
        }
        return out;
    };
    if (report.refused > 0)
        lines << QStringLiteral("Rifiutati dal server: %1.").arg(report.refused) << named(report.refusedIds);
    if (report.deferred > 0)
        lines << QStringLiteral("Rinviati dal server, da inviare pi\u00F9 tardi: %1.").arg(report.deferred)
              << named(report.deferredIds);
    if (report.uncertain > 0)
        lines << QStringLiteral("Esito incerto (il server potrebbe averli ricevuti; si inviano di nuovo solo su "
                                "richiesta): %1.").arg(report.uncertain)
              << named(report.uncertainIds);
    if (report.cancelled)
        lines << QStringLiteral("Invio annullato: i messaggi non inviati restano da inviare.");
    if (!report.stopped.isEmpty())
        lines << QStringLiteral("Invio interrotto: %1 I messaggi non inviati restano da inviare.").arg(report.stopped);
    return lines.join(QLatin1Char('\n'));
}

Mail::Draft testMessage(const Mail::Settings &settings)
{
    Mail::Draft d;
    d.kind = QStringLiteral("prova");
    d.toAddress = settings.sender;
    d.toName = settings.senderName;
    d.subject = QStringLiteral("Messaggio di prova di Quorvane");
    d.body = QStringLiteral("Questo messaggio di prova conferma che le impostazioni della posta elettronica sono "
                            "corrette.\n\nInviato il %1.")
                 .arg(Clock::now().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    return d;
}

} // namespace qv::Mailings
