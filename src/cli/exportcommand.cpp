#include "cli/exportcommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/programfolder.h"

#include <QFileInfo>

namespace qv::cli {

namespace {

const QString kEvents = QStringLiteral("events");
const QString kReservations = QStringLiteral("reservations");

QString formatWords(const ExportLayout &layout)
{
    QStringList words;
    for (const ExportFormat format : exportFormats(layout))
        words.append(formatSuffix(format));
    return words.join(QStringLiteral(", "));
}

} // namespace

const ExportLayout &ExportCommand::layoutOf(const ArchiveKind &kind)
{
    return kind.word == kEvents         ? ExportLayouts::events()
           : kind.word == kReservations ? ExportLayouts::reservations()
                                        : ExportLayouts::participants();
}

ExportOutcome FileExportWriter::write(const ExportRequest &request)
{
    const ExportLayout &layout = ExportCommand::layoutOf(*request.kind);
    const QString &archive = request.archivePath;
    // What the export windows would show, without creating a missing archive.
    const RowSource rows = QFileInfo::exists(archive) ? archiveRows(layout, archive) : RowSource([](RowSink &) {});
    try {
        return writeExport(request.format, request.outputPath, layout, rows);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere l'archivio %1.").arg(quoted(archive)));
    } catch (const SpreadsheetError &) {
        throw fileError(QStringLiteral("impossibile scrivere il file %1 (accertarsi che la cartella esista e sia "
                                       "scrivibile e che il file non sia aperto in un altro programma).")
                            .arg(quoted(request.outputPath)));
    }
}

ExportCommand::ExportCommand(std::unique_ptr<ExportWriter> writer)
    : m_writer(std::move(writer))
{
}

ExportCommand::~ExportCommand() = default;

QString ExportCommand::synopsis() const
{
    return QStringLiteral("export events|participants|reservations [N] [--format xls|xlsx|csv|ics|vcf] "
                          "[--output FILE]");
}

QString ExportCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli export events|participants|reservations [N] [--format F] [--output FILE]\n"
        "\n"
        "Esporta, come le finestre di esportazione, gli eventi, i partecipanti oppure i posti assegnati\n"
        "dell'evento numero N (obbligatorio per reservations; l'evento deve esistere).\n"
        "\n"
        "  --format xls    (predefinito) il foglio di calcolo delle finestre di esportazione\n"
        "  --format xlsx   cartella di lavoro di Excel: ogni cella un testo, come scritto\n"
        "  --format csv    CSV in UTF-8 con separatore punto e virgola\n"
        "  --format ics    calendario iCalendar, un evento per scheda (solo events)\n"
        "  --format vcf    contatti vCard 4.0, uno per partecipante (solo participants)\n"
        "  --output FILE   il file da scrivere (predefinito: nella cartella del programma, con il nome del\n"
        "                  foglio di calcolo e l'estensione del formato, per esempio Partecipanti.xlsx)\n"
        "\n"
        "Un archivio che non esiste viene esportato vuoto, senza crearlo. Il file viene sostituito solo a\n"
        "scrittura completata.\n"
        "\n"
        "Stato di uscita: 0 file scritto, 1 evento inesistente, 2 uso errato, 3 archivio illeggibile o file non\n"
        "scrivibile.");
}

int ExportCommand::run(const Arguments &args)
{
    ExportRequest request;
    request.kind = &kindNamed(args.positional.at(0));
    // The export windows know the three registers; who came in and went out
    // is listed by the attendance command.
    if (request.kind->word != kEvents && request.kind->word != kReservations
        && request.kind->word != QLatin1String("participants"))
        throw usageError(QStringLiteral("%1 non si esporta: si esportano events, participants o reservations "
                                        "(ingressi e uscite con quorvane-cli attendance N).")
                             .arg(request.kind->word));
    const ExportLayout &layout = layoutOf(*request.kind);
    const QString formatWord = args.value(QStringLiteral("--format"), QStringLiteral("xls"));
    const std::optional<ExportFormat> format = exportFormatNamed(formatWord);
    if (!format || !exportFormats(layout).contains(*format))
        throw usageError(QStringLiteral("formato %1 non disponibile per %2: usare %3.")
                             .arg(quoted(formatWord), request.kind->word, formatWords(layout)));
    request.format = *format;
    if (request.kind->word == kReservations) {
        bool ok = false;
        request.eventNumber = args.positional.value(1).toLongLong(&ok);
        if (args.positional.size() < 2 || !ok || request.eventNumber < 1)
            throw usageError(QStringLiteral("indicare il numero dell'evento (da 1 in su): quorvane-cli export "
                                            "reservations N."));
        // Posti_Riservati_Evento_N.pro of an event that is not there would
        // be an export of nothing under a number that may be given later.
        const qint64 events = eventCount();
        if (request.eventNumber > events)
            throw CliError(ExitNegative, QStringLiteral("l'evento numero %1 non esiste (%2 contiene %3 eventi): "
                                                        "nessun file scritto.")
                                             .arg(QString::number(request.eventNumber), TSchedaEvento::archivePath(),
                                                  QString::number(events)));
        request.archivePath = TSchedaPrenotazione::archivePath(request.eventNumber);
    } else {
        if (args.positional.size() > 1)
            throw usageError(QStringLiteral("il numero dell'evento vale solo per reservations."));
        request.archivePath = request.kind->word == kEvents ? TSchedaEvento::archivePath()
                                                            : TSchedaPartecipante::archivePath();
    }
    request.outputPath = args.values.contains(QStringLiteral("--output"))
                             ? QFileInfo(args.value(QStringLiteral("--output"))).absoluteFilePath()
                             : ProgramFolder::file(exportFileName(layout, request.format));
    if (!m_writer) {
        console::error(QStringLiteral("l'esportazione non \u00E8 ancora disponibile in questa versione."));
        return ExitUnavailable;
    }
    const ExportOutcome outcome = m_writer->write(request);
    for (const qint64 number : outcome.skipped)
        console::error(request.format == ExportFormat::Ics
                           ? QStringLiteral("attenzione: l'evento %1 non ha una data di inizio valida (gg/mm/aaaa) e "
                                            "non \u00E8 stato scritto nel calendario.")
                                 .arg(number)
                           : QStringLiteral("attenzione: il partecipante %1 non ha cognome e nome e non \u00E8 stato "
                                            "scritto nei contatti.")
                                 .arg(number));
    console::out(QStringLiteral("Esportazione scritta in %1.").arg(request.outputPath));
    return ExitOk;
}

} // namespace qv::cli
