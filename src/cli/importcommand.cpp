#include "cli/importcommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/text.h"
#include "imports/participantimport.h"

#include <QFileInfo>

namespace qv::cli {

using imports::ParticipantImport;

namespace {

QString fieldNames()
{
    QStringList names;
    for (const RecordLayout::Field &f : TSchedaPartecipante::layout().fields())
        names.append(f.name);
    return names.join(QStringLiteral(", "));
}

// --map "Heading=Field": the column of that heading into the field (a
// field's name, the card's label, "Cognome", "Nome"), or left out ("-").
void applyMap(ParticipantImport &session, const QString &map)
{
    const qsizetype eq = map.lastIndexOf(QLatin1Char('='));
    if (eq <= 0)
        throw usageError(QStringLiteral("--map vuole \"Intestazione=Campo\", non \"%1\".").arg(map));
    const QString heading = trimmed(map.left(eq)), field = trimmed(map.mid(eq + 1));
    imports::ColumnTarget target;
    if (!field.isEmpty() && field != QLatin1String("-")) {
        target = imports::targetOfHeading(field);
        if (target.kind == imports::ColumnTarget::Kind::Ignored)
            throw usageError(QStringLiteral("--map \"%1\": la scheda non ha un campo \"%2\" (campi: %3; oppure Cognome, "
                                            "Nome, - per non importare la colonna).")
                                 .arg(map, field, fieldNames()));
    }
    bool found = false;
    for (int c = 0; c < session.heading().size(); ++c)
        if (asciiLower(trimmed(session.heading().at(c))) == asciiLower(heading)) {
            session.setTarget(c, target);
            found = true;
        }
    if (!found)
        throw usageError(QStringLiteral("--map \"%1\": il file non ha una colonna \"%2\" (colonne: %3).")
                             .arg(map, heading, session.heading().join(QStringLiteral(", "))));
}

} // namespace

QString ImportCommand::synopsis() const
{
    return QStringLiteral("import participants FILE [--map \"Intestazione=Campo\"]... [--dry-run] [--force] "
                          "[--with-duplicates]");
}

QString ImportCommand::help() const
{
    return QStringLiteral(
               "Uso: quorvane-cli import participants FILE [--map \"Intestazione=Campo\"]... [--dry-run] [--force]\n"
               "                                   [--with-duplicates]\n"
               "\n"
               "Aggiunge in fondo a Partecipanti.pro, nella cartella del programma, un partecipante per ogni riga di\n"
               "un file CSV (UTF-8 o Windows-1252, separatore virgola o punto e virgola), di una cartella di lavoro\n"
               "di Excel (.xlsx, il primo foglio) o di un file di contatti vCard (.vcf), come la finestra di\n"
               "importazione della scheda dei partecipanti.\n"
               "La prima riga nomina le colonne: i campi della scheda (%1),\n"
               "le loro etichette o le intestazioni d'uso (Nome, Cognome, E-mail, Cellulare, Telefono, Codice\n"
               "fiscale, Partita IVA, Indirizzo, CAP, Citt\u00E0 o Comune, Provincia, Note...). Cognome e Nome "
               "formano il\n"
               "cognome e nome della scheda. Una colonna che non corrisponde a nessun campo viene segnalata e "
               "ignorata.\n"
               "Valgono le regole di scrittura della scheda: spazi iniziali e finali tolti, maiuscole per codice\n"
               "fiscale, IBAN, province, sesso e CAP, solo cifre per carta di credito e partita IVA. Ricontatta\n"
               "accetta S\u00EC/No (anche si, s, 1, x, 0, vuoto). Un a capo dentro un valore tra virgolette diventa "
               "uno spazio.\n"
               "Un valore pi\u00F9 lungo del campo, un carattere che Windows-1252 non rappresenta, un carattere di "
               "controllo,\n"
               "una riga con pi\u00F9 o meno valori dell'intestazione vengono segnalati con la riga e la colonna, e "
               "in tal caso\n"
               "non viene importato nulla. Una riga con lo stesso codice fiscale, o con gli stessi cognome e nome e\n"
               "data di nascita, di una scheda in archivio o di una riga precedente \u00E8 un doppione e non viene\n"
               "importata. Le schede vengono aggiunte con una sola scrittura: tutte o nessuna.\n"
               "\n"
               "  --map \"Intestazione=Campo\"  la colonna di quell'intestazione va nel campo indicato (nome del campo,\n"
               "                      etichetta della scheda, Cognome o Nome; - per non importarla); ripetibile\n"
               "  --dry-run           controlla e riferisce senza scrivere nulla\n"
               "  --force             importa ugualmente: valori accorciati, caratteri sostituiti, righe senza "
               "nome saltate\n"
               "  --with-duplicates   importa anche i doppioni\n"
               "\n"
               "Stato di uscita: 0 importazione riuscita, 1 dati rifiutati, 2 uso errato, 3 file illeggibile o "
               "archivio non scrivibile.")
        .arg(fieldNames());
}

int ImportCommand::run(const Arguments &args)
{
    if (args.positional.at(0) != QLatin1String("participants"))
        throw usageError(QStringLiteral("si possono importare solo i partecipanti: quorvane-cli import participants "
                                        "FILE."));
    const bool force = args.has(QStringLiteral("--force"));
    const bool withDuplicates = args.has(QStringLiteral("--with-duplicates"));
    const QString source = args.positional.at(1);
    const QFileInfo info(source);
    if (!info.exists())
        throw fileError(QStringLiteral("il file %1 non esiste.").arg(quoted(source)));
    if (info.isDir())
        throw fileError(QStringLiteral("%1 \u00E8 una cartella, non un file da importare.").arg(quoted(source)));
    const QString target = TSchedaPartecipante::archivePath();
    try {
        ParticipantImport session(source, target);
        for (const QString &map : args.repeated.value(QStringLiteral("--map")))
            applyMap(session, map);
        const QStringList mapping = session.mappingProblems();
        if (!mapping.isEmpty()) {
            for (const QString &line : session.ignoredColumns())
                console::error(QStringLiteral("attenzione: ") + line);
            throw CliError(ExitNegative, mapping.join(QLatin1Char(' ')));
        }

        const imports::ImportAnalysis &analysis = session.analyse();
        for (const QString &line : session.ignoredColumns())
            console::error(QStringLiteral("attenzione: ") + line);
        for (const imports::RowProblem &p : analysis.listedProblems)
            console::error(QStringLiteral("riga %1, %2").arg(p.line).arg(p.text));
        if (analysis.problems + analysis.notices > analysis.listedProblems.size())
            console::error(QStringLiteral("... e altri %1 avvisi.")
                               .arg(analysis.problems + analysis.notices - analysis.listedProblems.size()));
        for (const imports::DuplicateRow &d : analysis.listedDuplicates)
            console::error(QStringLiteral("riga %1: %2%3.")
                               .arg(QString::number(d.line), d.text(),
                                    withDuplicates ? QStringLiteral(", importata comunque")
                                                   : QStringLiteral(", non importata")));
        if (analysis.duplicates > analysis.listedDuplicates.size())
            console::error(QStringLiteral("... e altri %1 doppioni.")
                               .arg(analysis.duplicates - analysis.listedDuplicates.size()));
        if (analysis.problems > 0 && !force) {
            console::error(QStringLiteral("nessun partecipante importato: %1 problemi nel file (con --force si "
                                          "importa ugualmente, accorciando i valori e saltando le righe indicate).")
                               .arg(analysis.problems));
            return ExitNegative;
        }
        const qint64 ready = analysis.importable - (withDuplicates ? 0 : analysis.duplicates);
        if (args.has(QStringLiteral("--dry-run"))) {
            console::out(QStringLiteral("Prova: %1 partecipanti pronti per %2; non \u00E8 stato scritto nulla.")
                             .arg(ready)
                             .arg(target));
            return ExitOk;
        }
        const imports::ImportResult result = session.commit(withDuplicates);
        if (result.added == 0)
            console::out(QStringLiteral("Nessun partecipante da importare."));
        else
            console::out(QStringLiteral("Importati %1 partecipanti in %2 (record da %3 a %4).")
                             .arg(QString::number(result.added), target, QString::number(result.first),
                                  QString::number(result.last)));
        if (result.duplicatesLeftOut > 0)
            console::out(QStringLiteral("%1 doppioni non importati (con --with-duplicates si importano).")
                             .arg(result.duplicatesLeftOut));
    } catch (const imports::ImportError &e) {
        throw CliError(e.cause() == imports::ImportError::Cause::Unreadable ? ExitFailure : ExitNegative, e.message());
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile scrivere l'archivio %1 (accertarsi di possedere i privilegi "
                                       "di scrittura nella cartella del programma); nessun partecipante aggiunto.")
                            .arg(quoted(target)));
    }
    return ExitOk;
}

} // namespace qv::cli
