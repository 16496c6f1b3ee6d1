#include "cli/checkincommand.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "eventday/attendance.h"

namespace qv::cli {

namespace {

// --at "12/03/2026 09:30": the moment recorded instead of now, at second 00.
QDateTime momentGiven(const QString &value)
{
    const QStringList parts = trimmed(value).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QDate date = parts.size() == 2 ? parseDate(parts.at(0)) : QDate();
    const QTime time = parts.size() == 2 ? QTime::fromString(parts.at(1), QStringLiteral("H:mm")) : QTime();
    if (!date.isValid() || !time.isValid())
        throw usageError(QStringLiteral("momento %1 non valido: indicarlo come --at \"gg/mm/aaaa hh:mm\".")
                             .arg(quoted(value)));
    return QDateTime(date, time);
}

} // namespace

QString CheckInCommand::synopsis() const
{
    return QStringLiteral("checkin N TESTO [--exit] [--at \"gg/mm/aaaa hh:mm\"]");
}

QString CheckInCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli checkin N TESTO [--exit] [--at \"gg/mm/aaaa hh:mm\"]\n"
        "\n"
        "Registra l'ingresso all'evento numero N come la finestra dell'accoglienza, per uno script o un\n"
        "chiosco: TESTO \u00E8 il codice letto dal cartellino (QV1;E...;R...;P...), il numero di un posto o\n"
        "parte di un nome. Un cartellino dell'evento, o un posto di una sola prenotazione, passa con le\n"
        "stesse regole della finestra: un ingresso al giorno per prenotazione, una prenotazione da\n"
        "confermare entra ma viene segnalata. Un posto di pi\u00F9 prenotazioni o una parte di nome non\n"
        "registrano nulla: un comando non pu\u00F2 scegliere, e le prenotazioni trovate vengono elencate.\n"
        "Gli ingressi vanno in Presenze_Evento_N.pro, le uscite in Uscite_Evento_N.pro; l'archivio delle\n"
        "prenotazioni \u00E8 soltanto letto.\n"
        "\n"
        "  --exit          registra l'uscita invece dell'ingresso (con le ore di presenza del giorno);\n"
        "                  rifiutata per chi quel giorno non \u00E8 entrato\n"
        "  --at MOMENTO    il giorno e l'ora da registrare (\"12/03/2026 09:30\"), invece di adesso\n"
        "\n"
        "La risposta dell'accoglienza va sull'uscita standard quando qualcosa \u00E8 registrato, altrimenti\n"
        "sull'errore standard.\n"
        "Stato di uscita: 0 registrato (anche da confermare), 1 rifiutato (gi\u00E0 registrato oggi, cartellino\n"
        "di un altro evento o non riconosciuto, nessuna o pi\u00F9 prenotazioni, evento inesistente), 2 uso\n"
        "errato, 3 archivio illeggibile o non scrivibile.");
}

int CheckInCommand::run(const Arguments &args)
{
    const QString typed = trimmed(args.positional.at(1));
    if (typed.isEmpty())
        throw usageError(QStringLiteral("indicare il codice del cartellino, il posto o parte del nome: "
                                        "quorvane-cli checkin N TESTO."));
    const QDateTime now = args.values.contains(QStringLiteral("--at")) ? momentGiven(args.value(QStringLiteral("--at")))
                                                                       : Clock::now();
    const bool exit = args.has(QStringLiteral("--exit"));
    const qint64 event = existingEvent(args.positional.at(0), QStringLiteral("quorvane-cli checkin N TESTO"));

    const QString reservations = TSchedaPrenotazione::archivePath(event);
    Attendance::DeskAnswer answer;
    try {
        answer = Attendance::Desk(event, reservations)
                     .scan(typed, exit ? Attendance::Passage::Out : Attendance::Passage::In, now);
    } catch (const ArchiveError &) {
        throw fileError(QStringLiteral("impossibile leggere o scrivere gli archivi dell'evento %1 (%2): archivio "
                                       "occupato da un'altra postazione o cartella non scrivibile; nulla \u00E8 "
                                       "stato registrato.")
                            .arg(QString::number(event), reservations));
    }

    switch (answer.kind) {
    case Attendance::DeskAnswer::Recorded:
    case Attendance::DeskAnswer::Pending:
        console::out(answer.text);
        return ExitOk;
    case Attendance::DeskAnswer::Already:
    case Attendance::DeskAnswer::Refused:
        console::error(answer.text);
        return ExitNegative;
    case Attendance::DeskAnswer::Choose:
        break;
    }
    // The desk's last line asks its user to choose from the list; here the
    // bookings are listed and the script is told what would pass instead.
    QString text = answer.text.section(QLatin1Char('\n'), 0, -2);
    for (const Booking &b : answer.matches)
        text += QLatin1Char('\n') + Bookings::describe(b);
    text += exit ? QStringLiteral("\nNessuna uscita registrata") : QStringLiteral("\nNessun ingresso registrato");
    text += QStringLiteral(": indicare il codice del cartellino o il posto di una sola prenotazione.");
    console::error(text);
    return ExitNegative;
}

} // namespace qv::cli
