#include "cli/attendancecommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "cli/recordtext.h"
#include "core/cp1252.h"
#include "core/regional.h"
#include "eventday/attendance.h"

namespace qv::cli {

namespace {

const QString kTimeFormat = QStringLiteral("HH:mm:ss");

// One value of a line: Windows-1252 text as the archives hold it.
void append(QByteArray &line, const QString &value, bool csv)
{
    const QByteArray bytes = cp1252::encode(value);
    if (csv)
        appendCsv(line, bytes.constData(), int(bytes.size()));
    else
        appendJson(line, bytes.constData(), int(bytes.size()));
}

// A booking's day at the door as the listing shows it; every value empty
// when it did not come in that day. An exit without that day's entry is
// not shown.
struct DayCells
{
    QString in, out, hours;

    explicit DayCells(const Attendance::Day *day)
    {
        if (!day || !day->in)
            return;
        in = day->in->time.toString(kTimeFormat);
        if (!day->out)
            return;
        out = day->out->time.toString(kTimeFormat);
        if (const std::optional<qint64> seconds = day->seconds())
            hours = Attendance::hoursText(*seconds);
    }

    // "09:31:05", or "09:31:05-17:40:00 8:08" once the exit is recorded.
    QString cell() const
    {
        if (out.isEmpty())
            return in;
        return in + QLatin1Char('-') + out + (hours.isEmpty() ? QString() : QLatin1Char(' ') + hours);
    }
};

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
        "Elenca le prenotazioni dell'evento numero N nell'ordine dei posti, ciascuna con i suoi passaggi\n"
        "all'accoglienza giorno per giorno: un giorno per ogni data dell'evento (da DataInizio a DataFine)\n"
        "e per ogni altro giorno con un ingresso o un'uscita registrati. Un ingresso o un'uscita annullati\n"
        "non contano.\n"
        "Colonne: Record (il numero della scheda di prenotazione), Posto, Cliente, poi una colonna per\n"
        "giorno (gg/mm/aaaa): vuota per chi quel giorno non \u00E8 entrato, l'ora dell'ingresso (09:31:05),\n"
        "oppure ingresso e uscita con le ore di presenza (09:31:05-17:40:00 8:08).\n"
        "Gli archivi Posti_Riservati_Evento_N.pro, Presenze_Evento_N.pro e Uscite_Evento_N.pro sono\n"
        "soltanto letti; un archivio che non esiste non viene creato.\n"
        "\n"
        "  --format csv     (predefinito) CSV secondo RFC 4180, con una riga di intestazione\n"
        "  --format jsonl   un oggetto JSON per riga: Record, Posto, Cliente e Giorni, l'elenco dei giorni\n"
        "                   con Data, Ingresso, Uscita e Ore (vuoti quando mancano)\n"
        "\n"
        "Stato di uscita: 0 elenco scritto, 1 evento inesistente, 2 uso errato, 3 archivio illeggibile.");
}

int AttendanceCommand::run(const Arguments &args)
{
    const bool csv = csvFormat(args);
    const qint64 event = existingEvent(args.positional.at(0), QStringLiteral("quorvane-cli attendance N"));

    const QString reservations = TSchedaPrenotazione::archivePath(event);
    QList<Booking> bookings;
    QList<QDate> days;
    QList<QHash<qint64, Attendance::Day>> perDay;
    try {
        TSchedaEvento record;
        record.setBytes(eventRecord(event));
        bookings = Bookings::read(reservations);
        const Attendance::Register reg = Attendance::Register::read(reservations);
        days = reg.daysToShow(Attendance::eventDays(record.text(QStringLiteral("DataInizio")),
                                                    record.text(QStringLiteral("DataFine"))),
                              QDate());
        for (const QDate &day : days)
            perDay.append(Attendance::daysOf(reg, day));
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere gli archivi dell'evento %1 (%2).")
                            .arg(QString::number(event), reservations));
    }

    QByteArray out;
    if (csv) {
        out = "Record,Posto,Cliente";
        for (const QDate &day : days)
            out += ',' + formatDate(day).toUtf8();
        out += "\r\n";
    }
    for (const Booking &b : bookings) {
        if (csv) {
            out += QByteArray::number(b.number);
            QStringList values{b.posto, b.cliente};
            for (const QHash<qint64, Attendance::Day> &onDay : perDay) {
                const auto day = onDay.constFind(b.number);
                values.append(DayCells(day == onDay.cend() ? nullptr : &*day).cell());
            }
            for (const QString &value : values) {
                out += ',';
                append(out, value, true);
            }
            out += "\r\n";
            continue;
        }
        out += "{\"Record\":" + QByteArray::number(b.number) + ",\"Posto\":";
        append(out, b.posto, false);
        out += ",\"Cliente\":";
        append(out, b.cliente, false);
        out += ",\"Giorni\":[";
        for (qsizetype d = 0; d < days.size(); ++d) {
            const QHash<qint64, Attendance::Day> &onDay = perDay.at(d);
            const auto day = onDay.constFind(b.number);
            const DayCells cells(day == onDay.cend() ? nullptr : &*day);
            out += d == 0 ? "{" : ",{";
            const QList<std::pair<const char *, QString>> fields{
                {"Data", formatDate(days.at(d))}, {"Ingresso", cells.in}, {"Uscita", cells.out}, {"Ore", cells.hours}};
            for (qsizetype k = 0; k < fields.size(); ++k) {
                const auto &[key, value] = fields.at(k);
                out += QByteArray(k == 0 ? "\"" : ",\"") + key + "\":";
                append(out, value, false);
            }
            out += '}';
        }
        out += "]}\n";
    }
    console::write(out);
    console::flush();
    return ExitOk;
}

} // namespace qv::cli
