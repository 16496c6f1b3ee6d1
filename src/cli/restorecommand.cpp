#include "cli/restorecommand.h"

#include "backup/restore.h"
#include "cli/backupcommand.h"

#include <QFileInfo>

namespace qv::cli {

QString RestoreCommand::synopsis() const
{
    return QStringLiteral("restore NOME [--yes]");
}

QString RestoreCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli restore NOME [--yes]\n"
        "\n"
        "Rimette nella cartella del programma i file della copia di sicurezza NOME (il nome di una copia in\n"
        "Backup, per esempio 2024-05-01_093000, o il percorso della sua cartella): gli archivi, il file della\n"
        "password e delle impostazioni e, se la copia li contiene, gli allegati. Prima di cominciare:\n"
        "  - verifica la copia (dimensione e SHA-256 di ogni file) e rifiuta una copia danneggiata;\n"
        "  - rifiuta mentre una postazione sta scrivendo in un archivio: chiudere Quorvane su tutte le\n"
        "    postazioni prima di ripristinare;\n"
        "  - fa una copia di sicurezza dello stato attuale, che si pu\u00F2 ripristinare a sua volta.\n"
        "Poi, tenendo bloccati tutti gli archivi, scrive ogni file in un file temporaneo accanto al suo posto e,\n"
        "solo quando tutti sono scritti e controllati, li mette al posto di quelli attuali: un errore prima di\n"
        "questo passo (disco pieno) lascia tutto com'era. Gli archivi delle prenotazioni che la copia non ha\n"
        "(eventi creati dopo) vengono tolti: restano nella copia dello stato attuale. Se un file non si pu\u00F2\n"
        "mettere al suo posto o togliere, quelli gi\u00E0 sostituiti vengono rimessi com'erano dalla copia dello\n"
        "stato attuale; il messaggio nomina ogni file che non \u00E8 stato possibile rimettere. Infine dice che\n"
        "cosa ha ripristinato.\n"
        "\n"
        "Chiede conferma sul terminale; senza un terminale (uno script, un'altra applicazione) rifiuta, a meno\n"
        "di --yes.\n"
        "\n"
        "  --yes   ripristina senza chiedere\n"
        "\n"
        "Stato di uscita: 0 ripristinato, 1 annullato o rifiutato (copia danneggiata, archivio in uso), 2 uso\n"
        "errato, 3 file illeggibile o non scrivibile.");
}

int RestoreCommand::run(const Arguments &args)
{
    const Backup::Request request = Backup::requestNow();
    const QString folder = BackupCommand::backupFolder(request.root, args.positional.at(0));
    const QString name = QFileInfo(folder).fileName();
    try {
        if (const std::optional<Backup::Manifest> manifest = Backup::readManifest(folder)) {
            const QStringList busy = Backup::archivesInUse(request.programFolder, *manifest);
            if (!busy.isEmpty())
                throw Backup::Error(Backup::Error::Busy,
                                    QStringLiteral("ripristino rifiutato: %1 \u00E8 in uso da una postazione che vi sta "
                                                   "scrivendo; chiudere Quorvane su tutte le postazioni e riprovare.")
                                        .arg(busy.join(QStringLiteral(", "))));
        }
        if (!args.has(QStringLiteral("--yes"))) {
            if (!console::inputIsTerminal())
                throw CliError(ExitNegative, QStringLiteral("ripristino non confermato: senza un terminale per "
                                                            "chiederlo, aggiungere --yes."));
            if (!console::confirm(QStringLiteral("Ripristinare la copia %1 nella cartella %2? Lo stato attuale "
                                                 "sar\u00E0 prima salvato in una nuova copia di sicurezza.")
                                      .arg(name, request.programFolder))) {
                console::out(QStringLiteral("Annullato: non \u00E8 stato ripristinato nulla."));
                return ExitNegative;
            }
        }
        const Backup::RestoreOutcome done = Backup::restore(request, folder);
        console::out(QStringLiteral("Stato di prima salvato nella copia %1 (%2).").arg(done.safety.name, done.safety.path));
        console::out(QStringLiteral("Ripristinati dalla copia %1:").arg(name));
        for (const Backup::ManifestEntry &e : done.restored)
            console::out(QStringLiteral("  %1 (%2 byte)").arg(e.path, QString::number(e.size)));
        if (!done.removed.isEmpty())
            console::out(QStringLiteral("Tolti perch\u00E9 la copia non li ha: %1.").arg(done.removed.join(QStringLiteral(", "))));
        console::out(done.restored.size() == 1 ? QStringLiteral("Ripristino completato: 1 file.")
                                               : QStringLiteral("Ripristino completato: %1 file.")
                                                     .arg(QString::number(done.restored.size())));
        return ExitOk;
    } catch (const Backup::Error &error) {
        throw CliError(error.kind() == Backup::Error::Failed ? ExitFailure : ExitNegative, error.message());
    }
}

} // namespace qv::cli
