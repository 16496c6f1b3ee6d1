#include "cli/certificatescommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "eventday/certificatepages.h"
#include "eventday/certificates.h"

#include <QDir>
#include <QFileInfo>

namespace qv::cli {

namespace {

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

EventInfo eventOf(qint64 number)
{
    try {
        return Certificates::readEvent(number);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere l'evento numero %1 in %2.")
                            .arg(QString::number(number), quoted(TSchedaEvento::archivePath())));
    }
}

} // namespace

bool drawsPages(const QString &command)
{
    return command == QLatin1String("certificates") || command == QLatin1String("signatures")
           || command == QLatin1String("mail");
}

QString CertificatesCommand::synopsis() const
{
    return QStringLiteral("certificates N [--rule every-day|any-day|hours:90] [--output FILE] [--each DIR]");
}

QString CertificatesCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli certificates N [--rule every-day|any-day|hours:90] [--output FILE] [--each DIR]\n"
        "\n"
        "Scrive gli attestati di partecipazione dell'evento numero N: una pagina A4 per ogni prenotato\n"
        "che ne ha diritto secondo la regola, in ordine di nome, ciascuna con il suo numero\n"
        "(N. <evento>/<scheda>). Il testo \u00E8 quello salvato dalla finestra Attestati di partecipazione\n"
        "(Attestato_Evento_N.txt, altrimenti Attestato.txt, altrimenti il testo predefinito).\n"
        "Elenca ogni prenotato con l'esito e il motivo. Gli archivi sono soltanto letti.\n"
        "\n"
        "  --rule every-day   (predefinita) presenti in ogni giorno dell'evento\n"
        "  --rule any-day     presenti in almeno un giorno\n"
        "  --rule hours:NN    presenti almeno NN% delle ore dell'evento (servono le uscite registrate)\n"
        "  --output FILE      il PDF di tutti gli attestati (predefinito: Attestati_Evento_N.pdf nella\n"
        "                     cartella del programma)\n"
        "  --each DIR         un PDF per persona nella cartella DIR (Attestato_Evento_N_Cognome_Nome.pdf);\n"
        "                     senza --output il PDF unico non viene scritto\n"
        "\n"
        "Stato di uscita: 0 attestati scritti, 1 evento inesistente o nessuno ne ha diritto,\n"
        "2 uso errato, 3 archivio illeggibile o file non scritto.");
}

int CertificatesCommand::run(const Arguments &args)
{
    const QString usage = QStringLiteral("quorvane-cli certificates N");
    const qint64 event = existingEvent(args.positional.at(0), usage);
    const std::optional<Certificates::Rule> rule = Certificates::parseRule(args.value(QStringLiteral("--rule"), QStringLiteral("every-day")));
    if (!rule)
        throw usageError(QStringLiteral("regola sconosciuta %1: every-day, any-day oppure hours:NN (NN da 1 a 100).")
                             .arg(quoted(args.value(QStringLiteral("--rule")))));

    const EventInfo info = eventOf(event);
    Certificates::Assessment assessment;
    try {
        assessment = Certificates::assess(info, TSchedaPrenotazione::archivePath(event), *rule);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere gli archivi dell'evento %1.").arg(event));
    }
    for (const Certificates::Person &p : assessment.people)
        console::out(QStringLiteral("%1  %2: %3 (%4)")
                         .arg(Certificates::number(event, p.booking.number), printable(p.booking.cliente),
                              p.chosen ? QStringLiteral("attestato") : QStringLiteral("escluso"), p.why));
    if (rule->kind == Certificates::Rule::Hours && !assessment.exitsRecorded)
        throw CliError(ExitNegative, QStringLiteral("per la regola %1 servono le uscite: per l'evento %2 non ne "
                                                    "sono state registrate.")
                                         .arg(Certificates::ruleName(*rule))
                                         .arg(event));
    const QList<Certificates::Person> chosen = CertificatePages::chosen(assessment.people);
    if (chosen.isEmpty())
        throw CliError(ExitNegative, QStringLiteral("nessuno dei %1 prenotati ha diritto all'attestato (%2).")
                                         .arg(assessment.people.size())
                                         .arg(Certificates::ruleDescription(*rule)));

    const auto setting = CertificatePages::Setting::make(info, Certificates::load(event), Clock::today());
    const QString each = args.value(QStringLiteral("--each"));
    const bool single = args.values.contains(QStringLiteral("--output")) || each.isEmpty();
    QString reason;
    if (single) {
        const QString output = absolute(args.value(QStringLiteral("--output"), ProgramFolder::file(Certificates::pdfName(event))));
        if (!CertificatePages::writePdf(setting, chosen, output, &reason))
            throw fileError(QStringLiteral("impossibile scrivere %1 (%2).").arg(quoted(output), reason));
        console::out(QStringLiteral("%1 attestati su %2 prenotati (%3): %4")
                         .arg(chosen.size())
                         .arg(assessment.people.size())
                         .arg(Certificates::ruleDescription(*rule), output));
    }
    if (!each.isEmpty()) {
        const QString folder = absolute(each);
        if (!CertificatePages::writeEach(setting, chosen, folder, &reason))
            throw fileError(QStringLiteral("impossibile scrivere gli attestati in %1 (%2).").arg(quoted(folder), reason));
        console::out(QStringLiteral("%1 attestati, uno per persona, in %2").arg(chosen.size()).arg(folder));
    }
    return ExitOk;
}

QString SignaturesCommand::synopsis() const
{
    return QStringLiteral("signatures N [--day GG/MM/AAAA] [--output FILE]");
}

QString SignaturesCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli signatures N [--day GG/MM/AAAA] [--output FILE]\n"
        "\n"
        "Scrive il foglio firme dell'evento numero N per un giorno: i prenotati in ordine di nome con il\n"
        "posto e le colonne Firma entrata e Firma uscita, gli orari lasciati in bianco.\n"
        "\n"
        "  --day GG/MM/AAAA   il giorno (predefinito: oggi)\n"
        "  --output FILE      il PDF (predefinito: Foglio_Firme_Evento_N_<aaaa-mm-gg>.pdf nella cartella\n"
        "                     del programma)\n"
        "\n"
        "Stato di uscita: 0 foglio scritto, 1 evento inesistente, 2 uso errato, 3 archivio illeggibile o\n"
        "file non scritto.");
}

int SignaturesCommand::run(const Arguments &args)
{
    const qint64 event = existingEvent(args.positional.at(0), QStringLiteral("quorvane-cli signatures N"));
    QDate day = Clock::today();
    if (args.values.contains(QStringLiteral("--day"))) {
        day = parseDate(args.value(QStringLiteral("--day")));
        if (!day.isValid())
            throw usageError(QStringLiteral("giorno non valido %1: indicarlo come GG/MM/AAAA.")
                                 .arg(quoted(args.value(QStringLiteral("--day")))));
    }
    const EventInfo info = eventOf(event);
    QList<Booking> bookings;
    try {
        bookings = Bookings::read(TSchedaPrenotazione::archivePath(event));
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere gli archivi dell'evento %1.").arg(event));
    }
    const QString output = absolute(
        args.value(QStringLiteral("--output"), ProgramFolder::file(Certificates::signaturePdfName(event, day))));
    QString reason;
    if (!PageOutput::writePdf(CertificatePages::signatureSheet(info, bookings, day), output, &reason))
        throw fileError(QStringLiteral("impossibile scrivere %1 (%2).").arg(quoted(output), reason));
    console::out(QStringLiteral("Foglio firme del %1: %2 prenotati in %3").arg(formatDate(day)).arg(bookings.size()).arg(output));
    return ExitOk;
}

} // namespace qv::cli
