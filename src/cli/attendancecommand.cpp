#include "cli/attendancecommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "cli/recordtext.h"
#include "core/cp1252.h"
#include "eventday/attendance.h"

namespace qv::cli {

namespace {

// One value of a line: Windows-1252 text as the archives hold it.
void append(QByteArray &line, const QString &value, bool csv)
{
    const QByteArray bytes = cp1252::encode(value);
    if (csv)
        appendCsv(line, bytes.constData(), int(bytes.size()));
    else
        appendJson(line, bytes.constData(), int(bytes.size()));
}

} // namespace

QString AttendanceCommand::synopsis() const
{
    return QStringLiteral("attendance N [--format csv|jsonl]");
}

QString AttendanceCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli attendance N [--format csv|jsonl]\n"
        "\n"
        "Elenca le prenotazioni dell'evento numero N nell'ordine dei posti, ciascuna con il momento\n"
        "dell'ingresso registrato dall'accoglienza (vuoto per chi non \u00E8 entrato; un ingresso annullato\n"
        "non conta). Colonne: Record (il numero della scheda di prenotazione), Posto, Cliente, Ingresso\n"
        "(gg/mm/aaaa hh:mm:ss). Gli archivi Posti_Riservati_Evento_N.pro e Presenze_Evento_N.pro sono\n"
        "soltanto letti; un archivio che non esiste non viene creato.\n"
        "\n"
        "  --format csv     (predefinito) CSV secondo RFC 4180, con una riga di intestazione\n"
        "  --format jsonl   un oggetto JSON per riga\n"
        "\n"
        "Stato di uscita: 0 elenco scritto, 1 evento inesistente, 2 uso errato, 3 archivio illeggibile.");
}

int AttendanceCommand::run(const Arguments &args)
{
    const bool csv = csvFormat(args);
    bool ok = false;
    const qint64 event = args.positional.at(0).toLongLong(&ok);
    if (!ok || event < 1)
        throw usageError(QStringLiteral("indicare il numero dell'evento (da 1 in su): quorvane-cli attendance N."));
    const qint64 events = eventCount();
    if (event > events)
        throw CliError(ExitNegative, QStringLiteral("l'evento numero %1 non esiste (%2 contiene %3 eventi).")
                                         .arg(QString::number(event), TSchedaEvento::archivePath(),
                                              QString::number(events)));

    const QString reservations = TSchedaPrenotazione::archivePath(event);
    QList<Booking> bookings;
    QHash<qint64, Attendance::Entry> present;
    try {
        bookings = Bookings::read(reservations);
        for (const Attendance::Entry &e : Attendance::read(Attendance::archiveBeside(reservations)))
            if (!e.undone && !present.contains(e.reservation))
                present.insert(e.reservation, e);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere gli archivi dell'evento %1 (%2).")
                            .arg(QString::number(event), reservations));
    }

    QByteArray out = csv ? QByteArray("Record,Posto,Cliente,Ingresso\r\n") : QByteArray();
    for (const Booking &b : bookings) {
        const auto in = present.constFind(b.number);
        const QString moment = in == present.cend() || !in->moment.isValid()
                                   ? QString()
                                   : in->moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        if (csv) {
            out += QByteArray::number(b.number);
            for (const QString &value : {b.posto, b.cliente, moment}) {
                out += ',';
                append(out, value, true);
            }
            out += "\r\n";
        } else {
            out += "{\"Record\":" + QByteArray::number(b.number);
            const QList<std::pair<const char *, QString>> fields{
                {"Posto", b.posto}, {"Cliente", b.cliente}, {"Ingresso", moment}};
            for (const auto &[key, value] : fields) {
                out += QByteArray(",\"") + key + "\":";
                append(out, value, false);
            }
            out += "}\n";
        }
    }
    console::write(out);
    console::flush();
    return ExitOk;
}

} // namespace qv::cli
