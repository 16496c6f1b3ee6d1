#include "cli/statscommand.h"

#include "core/regional.h"
#include "cli/archivekind.h"
#include "stats/statistics.h"

namespace qv::cli {

namespace {

const QString kUsage = QStringLiteral("quorvane-cli stats N | --year AAAA [--format json|csv]");

} // namespace

QString StatsCommand::synopsis() const
{
    return QStringLiteral("stats N [--day GG/MM/AAAA] | --year AAAA [--format json|csv]");
}

QString StatsCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli stats N [--day GG/MM/AAAA] [--format json|csv]\n"
        "     quorvane-cli stats --year AAAA [--format json|csv]\n"
        "\n"
        "Scrive i numeri della finestra Statistiche.\n"
        "Per l'evento numero N: i posti (prenotati, da confermare, liberi, assegnati pi\u00F9 volte, su quelli\n"
        "dell'evento), per ogni giorno dell'evento i presenti e gli usciti registrati all'accoglienza, quanti\n"
        "sono stati presenti in ogni giorno e in almeno un giorno, le province di residenza dei prenotati\n"
        "(le dieci pi\u00F9 frequenti, le altre insieme sotto \"altre\").\n"
        "Per l'anno AAAA: gli eventi che cominciano in ciascun mese, per ogni evento i posti prenotati e\n"
        "quelli offerti, le province di residenza dei prenotati e i partecipanti da ricontattare.\n"
        "Gli archivi sono soltanto letti; un archivio che non esiste non viene creato.\n"
        "\n"
        "  (predefinito)    testo da leggere\n"
        "  --format json    un oggetto JSON: Titolo, Tabelle (Nome, Titolo, Righe con Voce e un valore per\n"
        "                   serie) e Dati\n"
        "  --format csv     CSV secondo RFC 4180, colonne Tabella, Voce, Serie, Valore\n"
        "  --day GG/MM/AAAA il giorno degli arrivi ogni quarto d'ora e delle persone in sala (predefinito:\n"
        "                   il primo giorno dell'evento con qualcuno all'ingresso)\n"
        "\n"
        "Stato di uscita: 0 numeri scritti, 1 evento inesistente, 2 uso errato, 3 archivio illeggibile.");
}

int StatsCommand::run(const Arguments &args)
{
    const QString format = args.value(QStringLiteral("--format"), QStringLiteral("text"));
    if (format != QLatin1String("text") && format != QLatin1String("json") && format != QLatin1String("csv"))
        throw usageError(QStringLiteral("formato %1 sconosciuto: text, json o csv.").arg(quoted(format)));
    const bool byYear = args.values.contains(QStringLiteral("--year"));
    if (byYear == !args.positional.isEmpty())
        throw usageError(QStringLiteral("indicare il numero di un evento oppure --year AAAA: %1.").arg(kUsage));

    Stats::Result result;
    if (byYear) {
        bool ok = false;
        const QString text = args.value(QStringLiteral("--year"));
        const int year = text.toInt(&ok);
        if (!ok || year < 1 || year > 9999)
            throw usageError(QStringLiteral("anno %1 non valido: %2.").arg(quoted(text), kUsage));
        result = Stats::forYear(year);
    } else {
        QDate day;
        if (args.values.contains(QStringLiteral("--day"))) {
            day = parseDate(args.value(QStringLiteral("--day")));
            if (!day.isValid())
                throw usageError(QStringLiteral("giorno %1 non valido: indicarlo come GG/MM/AAAA.").arg(quoted(args.value(QStringLiteral("--day")))));
        }
        result = Stats::forEvent(existingEvent(args.positional.at(0), kUsage), day);
    }
    if (result.failed())
        throw fileError(result.error);

    console::write(format == QLatin1String("json")  ? Stats::json(result)
                   : format == QLatin1String("csv") ? Stats::csv(result)
                                                    : Stats::text(result));
    console::flush();
    return ExitOk;
}

} // namespace qv::cli
