#include "cli/exportcommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/programfolder.h"
#include "output/exportlayout.h"

namespace qv::cli {

QString SpreadsheetExportWriter::write(const ExportRequest &request)
{
    const QString word = request.kind->word;
    const ExportLayout &layout = word == QLatin1String("events")         ? ExportLayouts::events()
                                 : word == QLatin1String("participants") ? ExportLayouts::participants()
                                                                         : ExportLayouts::reservations();
    const QString &archive = request.archivePath;
    const QString target = ProgramFolder::file(layout.fileName);
    try {
        exportArchive(layout, archive, target);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere l'archivio %1.").arg(quoted(archive)));
    } catch (const SpreadsheetError &) {
        throw fileError(QStringLiteral("impossibile scrivere il file %1 (accertarsi di possedere i privilegi di "
                                       "scrittura nella cartella del programma).")
                            .arg(quoted(target)));
    }
    return target;
}

ExportCommand::ExportCommand(std::unique_ptr<ExportWriter> writer)
    : m_writer(std::move(writer))
{
}

ExportCommand::~ExportCommand() = default;

QString ExportCommand::synopsis() const
{
    return QStringLiteral("export events|participants|reservations [N]");
}

QString ExportCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli export events|participants|reservations [N]\n"
        "\n"
        "Scrive lo stesso foglio di calcolo delle finestre di esportazione: eventi, partecipanti, oppure i posti\n"
        "assegnati dell'evento numero N (obbligatorio per reservations).\n"
        "\n"
        "Stato di uscita: 0 file scritto, 2 uso errato, 3 archivio illeggibile o file non scrivibile.");
}

int ExportCommand::run(const Arguments &args)
{
    ExportRequest request;
    request.kind = &kindNamed(args.positional.at(0));
    const bool reservations = request.kind->word == QLatin1String("reservations");
    if (reservations) {
        bool ok = false;
        request.eventNumber = args.positional.value(1).toLongLong(&ok);
        if (args.positional.size() < 2 || !ok || request.eventNumber < 1)
            throw usageError(QStringLiteral("indicare il numero dell'evento (da 1 in su): quorvane-cli export "
                                            "reservations N."));
        request.archivePath = TSchedaPrenotazione::archivePath(request.eventNumber);
    } else {
        if (args.positional.size() > 1)
            throw usageError(QStringLiteral("il numero dell'evento vale solo per reservations."));
        request.archivePath = request.kind == &archiveKinds().at(0) ? TSchedaEvento::archivePath()
                                                                    : TSchedaPartecipante::archivePath();
    }
    if (!m_writer) {
        console::error(QStringLiteral("l'esportazione in foglio di calcolo non \u00E8 ancora disponibile in questa "
                                      "versione."));
        return ExitUnavailable;
    }
    console::out(QStringLiteral("Esportazione scritta in %1.").arg(m_writer->write(request)));
    return ExitOk;
}

} // namespace qv::cli
