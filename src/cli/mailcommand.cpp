#include "cli/mailcommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/clock.h"
#include "core/text.h"
#include "eventday/badges.h"
#include "eventday/certificates.h"
#include "mail/mailerror.h"
#include "mail/mailings.h"

#include <QFile>

namespace qv::cli {

namespace {

QString password(const Mail::Settings &settings)
{
    if (settings.user.isEmpty())
        return {};
    if (qEnvironmentVariableIsSet("QUORVANE_SMTP_PASSWORD"))
        return qEnvironmentVariable("QUORVANE_SMTP_PASSWORD");
    if (!console::inputIsTerminal())
        throw usageError(QStringLiteral("manca la password del server di posta: indicarla in QUORVANE_SMTP_PASSWORD "
                                        "o avviare il comando da un terminale."));
    QString typed;
    if (!console::readSecret(QStringLiteral("Password di %1 su %2: ").arg(settings.user, settings.server), &typed))
        throw usageError(QStringLiteral("password non indicata."));
    return typed;
}

Mail::Settings settingsReady()
{
    const Mail::Settings settings = Mail::readSettings();
    const QString missing = settings.missing();
    if (!missing.isEmpty())
        throw usageError(QStringLiteral("posta elettronica non impostata: %1 (sezione [Posta] del file delle "
                                        "impostazioni, o finestra Posta elettronica).").arg(missing));
    return settings;
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("impossibile leggere %1.").arg(quoted(path)));
    return QString::fromUtf8(file.readAll());
}

EventInfo eventInfo(qint64 event)
{
    try {
        return Certificates::readEvent(event);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere l'evento numero %1.").arg(event));
    }
}

QList<Booking> bookingsOf(qint64 event)
{
    try {
        return Bookings::read(TSchedaPrenotazione::archivePath(event));
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere le prenotazioni dell'evento %1.").arg(event));
    }
}

void nameWithoutAddress(const QList<Booking> &without)
{
    if (without.isEmpty())
        return;
    console::out(QStringLiteral("Prenotati senza indirizzo di posta elettronica, a cui non si scrive: %1.").arg(without.size()));
    for (const Booking &b : without)
        console::out(QStringLiteral("  ") + printable(Bookings::describe(b)));
}

int sendAndReport(Mail::Outbox &outbox, const Mail::Settings &settings, const Mailings::Queued &queued,
                  const Arguments &args, bool ignoreWait)
{
    if (queued.ids.isEmpty()) {
        console::out(QStringLiteral("Nessun messaggio da inviare (gi\u00E0 nella posta in uscita: %1).").arg(queued.earlier));
        return ExitOk;
    }
    Mail::BatchOptions options;
    options.ignoreWait = ignoreWait;
    bool ok = true;
    options.retryWaitSeconds = args.value(QStringLiteral("--wait"), QStringLiteral("30")).toInt(&ok);
    if (!ok || options.retryWaitSeconds < 0)
        throw usageError(QStringLiteral("--wait vuole i secondi di attesa (0 o pi\u00F9)."));
    const QString secret = password(settings);
    Mail::BatchReport report;
    try {
        report = Mail::sendBatch(outbox, settings, secret, queued.ids, options, [](int done, int total, const QString &doing) {
            if (!doing.isEmpty() && doing.contains(QLatin1Char('@')))
                console::out(QStringLiteral("%1/%2 %3").arg(done + 1).arg(total).arg(printable(doing)));
            console::flush();
            return true;
        });
        console::out(Mailings::reportText(outbox, report, queued.earlier));
    } catch (const Mail::Error &e) {
        throw fileError(e.message());
    }
    if (!report.stopped.isEmpty())
        return ExitFailure;
    return report.refused + report.deferred + report.uncertain > 0 ? ExitNegative : ExitOk;
}

Mailings::Queued queueAll(Mail::Outbox &outbox, const Mail::Settings &settings, int count,
                          const std::function<Mail::Draft(int)> &make)
{
    try {
        return Mailings::queue(outbox, settings, count, make);
    } catch (const Mail::Error &e) {
        throw fileError(e.message());
    }
}

} // namespace

QString MailCommand::synopsis() const
{
    return QStringLiteral("mail test | confirmations N [--only-confirmed] | notice N --subject S --body-file F | "
                          "certificates N | outbox [--retry]");
}

QString MailCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli mail AZIONE [N] [OPZIONI]\n"
        "\n"
        "Invia posta elettronica attraverso il server indicato nelle impostazioni (sezione [Posta]).\n"
        "Ogni messaggio \u00E8 scritto per intero nella posta in uscita (Posta_In_Uscita) prima di partire e\n"
        "non viene mai inviato due volte: un messaggio gi\u00E0 presente non si ricompone, e uno il cui invio\n"
        "\u00E8 stato interrotto dopo che il server lo aveva ricevuto resta \"esito incerto\" finch\u00E9 non si\n"
        "chiede di inviarlo di nuovo (outbox --retry).\n"
        "\n"
        "  test                      un messaggio di prova al mittente\n"
        "  confirmations N           conferma di prenotazione a ogni prenotato dell'evento N, con il posto e\n"
        "                            il cartellino in PDF\n"
        "     --only-confirmed       solo le prenotazioni confermate\n"
        "     --text-file F          il testo da aggiungere (UTF-8) al posto di quello predefinito\n"
        "  notice N --subject S --body-file F\n"
        "                            un avviso a ogni prenotato dell'evento N, un messaggio per persona\n"
        "  certificates N            l'attestato di partecipazione a chi ne ha diritto, in PDF\n"
        "     --rule R               every-day (predefinita), any-day, hours:NN\n"
        "     --text-file F          il testo del messaggio (UTF-8)\n"
        "  outbox                    elenca la posta in uscita con lo stato di ogni messaggio\n"
        "     --retry                invia ora i messaggi da inviare e di nuovo quelli con esito incerto\n"
        "\n"
        "  --wait S                  secondi di attesa prima di ritentare i messaggi rinviati dal server\n"
        "                            (predefinito 30; 0 li lascia per un invio successivo)\n"
        "\n"
        "La password del server \u00E8 letta da QUORVANE_SMTP_PASSWORD, altrimenti chiesta sul terminale.\n"
        "\n"
        "Stato di uscita: 0 tutto inviato, 1 messaggi rifiutati, rinviati o con esito incerto, 2 uso errato o\n"
        "impostazioni mancanti, 3 server irraggiungibile, accesso rifiutato o archivio illeggibile.");
}

QStringList MailCommand::flagOptions() const
{
    return {QStringLiteral("--only-confirmed"), QStringLiteral("--retry")};
}

QStringList MailCommand::valueOptions() const
{
    return {QStringLiteral("--subject"), QStringLiteral("--body-file"), QStringLiteral("--text-file"),
            QStringLiteral("--rule"), QStringLiteral("--wait")};
}

int MailCommand::run(const Arguments &args)
{
    const QString action = args.positional.at(0);
    const bool needsEvent = action == QLatin1String("confirmations") || action == QLatin1String("notice")
                            || action == QLatin1String("certificates");
    if (!needsEvent && action != QLatin1String("test") && action != QLatin1String("outbox"))
        throw usageError(QStringLiteral("azione sconosciuta %1: test, confirmations, notice, certificates o outbox.")
                             .arg(quoted(action)));
    if (needsEvent != (args.positional.size() == 2))
        throw usageError(needsEvent ? QStringLiteral("manca il numero dell'evento: quorvane-cli mail %1 N.").arg(action)
                                    : QStringLiteral("mail %1 non vuole altri argomenti.").arg(action));
    Mail::Outbox outbox;

    if (action == QLatin1String("outbox")) {
        QList<Mail::Entry> entries;
        try {
            entries = outbox.list();
        } catch (const Mail::Error &e) {
            throw fileError(e.message());
        }
        if (!args.has(QStringLiteral("--retry"))) {
            for (const Mail::Entry &e : entries)
                console::out(QStringLiteral("%1  %2  %3 <%4>  %5  %6%7")
                                 .arg(e.message.id, Mail::stateName(e.status.state), printable(e.message.toName),
                                      printable(e.message.toAddress), printable(e.message.subject),
                                      e.status.time.isValid() ? e.status.time.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString(),
                                      e.status.reply.isEmpty() ? QString() : QStringLiteral("  ") + printable(e.status.reply)));
            console::out(QStringLiteral("Messaggi nella posta in uscita: %1.").arg(entries.size()));
            return ExitOk;
        }
        const Mail::Settings settings = settingsReady();
        Mailings::Queued queued;
        for (const Mail::Entry &e : entries) {
            if (e.status.state == Mail::State::Uncertain)
                outbox.sendAgain(e.message.id);
            if (e.status.state == Mail::State::Uncertain || e.status.state == Mail::State::Pending)
                queued.ids.append(e.message.id);
        }
        return sendAndReport(outbox, settings, queued, args, true);
    }

    const Mail::Settings settings = settingsReady();
    if (action == QLatin1String("test")) {
        const Mailings::Queued queued = queueAll(outbox, settings, 1, [&](int) { return Mailings::testMessage(settings); });
        return sendAndReport(outbox, settings, queued, args, false);
    }

    const qint64 event = existingEvent(args.positional.at(1), QStringLiteral("quorvane-cli mail %1 N").arg(action));
    const EventInfo info = eventInfo(event);
    QList<Booking> bookings = bookingsOf(event);

    Mailings::Plan plan;
    if (action == QLatin1String("confirmations")) {
        if (args.has(QStringLiteral("--only-confirmed")))
            bookings = Badges::chosen(bookings, Badges::Which::Confirmed);
        const QString text = args.values.contains(QStringLiteral("--text-file"))
                                 ? readText(args.value(QStringLiteral("--text-file")))
                                 : Mailings::defaultConfirmationText();
        plan = Mailings::confirmationsPlan(info, bookings, text);
    } else if (action == QLatin1String("notice")) {
        const QString subject = args.value(QStringLiteral("--subject"));
        if (trimmed(subject).isEmpty() || !args.values.contains(QStringLiteral("--body-file")))
            throw usageError(QStringLiteral("l'avviso vuole --subject OGGETTO e --body-file FILE."));
        plan = Mailings::noticePlan(info, bookings, subject, readText(args.value(QStringLiteral("--body-file"))));
    } else {
        const auto rule = Certificates::parseRule(args.value(QStringLiteral("--rule"), QStringLiteral("every-day")));
        if (!rule)
            throw usageError(QStringLiteral("regola sconosciuta %1: every-day, any-day oppure hours:NN.")
                                 .arg(quoted(args.value(QStringLiteral("--rule")))));
        Certificates::Assessment assessment;
        try {
            assessment = Certificates::assess(info, TSchedaPrenotazione::archivePath(event), *rule);
        } catch (const ArchiveError &) {
            throw fileError(QStringLiteral("impossibile leggere gli archivi dell'evento %1.").arg(event));
        }
        const QString text = args.values.contains(QStringLiteral("--text-file"))
                                 ? readText(args.value(QStringLiteral("--text-file")))
                                 : Mailings::defaultCertificateText(info);
        plan = Mailings::certificatesPlan(info, CertificatePages::chosen(assessment.people), text);
    }
    nameWithoutAddress(plan.withoutAddress);
    const auto queued = queueAll(outbox, settings, plan.count(), plan.make);
    return sendAndReport(outbox, settings, queued, args, false);
}

} // namespace qv::cli
