#include "archive/records.h"

#include "core/programfolder.h"
#include "core/text.h"

namespace qv {

const RecordLayout &TSchedaEvento::layout()
{
    static const RecordLayout layout{
        {"Titolo", 50},        {"Tipologia", 50},     {"Materie", 250},     {"Relatori", 250},
        {"DataInizio", 10},    {"OraInizio", 5},      {"DataFine", 10},     {"OraFine", 5},
        {"Sede", 120},         {"Indirizzo", 120},    {"Organizzatore", 50}, {"RecapitoOrg", 50},
        {"Contatto", 50},      {"RecapitoCon", 50},   {"Collaboratori", 250}, {"Criteri", 250},
        {"Pagamento", 120},    {"Quota", 15},         {"Intestatario", 50}, {"Iban", 27},
        {"Banca", 50},         {"Anticipo", 15},      {"Note", 250},        {"DataSca", 10},
        {"Posti", 4},          {"Completo", 2},       {"File01", 250},      {"File02", 250},
        {"File03", 250},       {"Desc01", 250},       {"Desc02", 250},      {"Desc03", 250},
    };
    return layout;
}

QString TSchedaEvento::archivePath()
{
    return ProgramFolder::file(QStringLiteral("Eventi.pro"));
}

const RecordLayout &TSchedaPartecipante::layout()
{
    static const RecordLayout layout{
        {"Cliente", 50},      {"DataNasc", 30},     {"ComuneNasc", 50},  {"ProvNasc", 2},
        {"Sesso", 1},         {"Recapito", 50},     {"IndirizzoRes", 50}, {"ProvRes", 2},
        {"ComuneRes", 50},    {"CapRes", 5},        {"Estremi", 250},    {"TelCasa", 30},
        {"TelUff", 30},       {"TelCel", 30},       {"Fax", 30},         {"Email", 50},
        {"CodFisc", 16},      {"Carta", 30},        {"ScadeCarta", 30},  {"PartitaIva", 11},
        {"Iban", 27},         {"Documento", 120},   {"Occupazione", 50}, {"Civile", 50},
        {"Titoli", 120},      {"Prodotti", 120},    {"Zona", 50},        {"Questioni", 250},
        {"Note", 250},        {"Ricontatta", 2},    {"File01", 250},     {"File02", 250},
        {"File03", 250},      {"Desc01", 250},      {"Desc02", 250},     {"Desc03", 250},
    };
    return layout;
}

QString TSchedaPartecipante::archivePath()
{
    return ProgramFolder::file(QStringLiteral("Partecipanti.pro"));
}

const RecordLayout &TSchedaPrenotazione::layout()
{
    static const RecordLayout layout{
        {"Cliente", 50},    {"IndirizzoRes", 50}, {"ComuneRes", 50}, {"ProvRes", 2},
        {"CapRes", 5},      {"CodFisc", 16},      {"Recapito", 50},  {"TelCel", 30},
        {"Email", 50},      {"Posto", 5},         {"Numero", 5},     {"Ubicazione", 250},
        {"Annotazioni", 250}, {"DaConfermare", 2},
    };
    return layout;
}

QString TSchedaPrenotazione::archiveName(qint64 eventNumber)
{
    return QStringLiteral("Posti_Riservati_Evento_%1.pro").arg(eventNumber);
}

QString TSchedaPrenotazione::archivePath(qint64 eventNumber)
{
    return ProgramFolder::file(archiveName(eventNumber));
}

QString TSchedaPrenotazione::Numero(const QString &posto)
{
    return (QStringLiteral("00000") + trimmed(posto)).right(5);
}

const RecordLayout &TSchedaPresenza::layout()
{
    static const RecordLayout layout{
        {"Prenotazione", 10}, {"Posto", 5}, {"DataIngresso", 10}, {"OraIngresso", 8}, {"Annullato", 2},
    };
    return layout;
}

QString TSchedaPresenza::archiveName(qint64 eventNumber)
{
    return QStringLiteral("Presenze_Evento_%1.pro").arg(eventNumber);
}

QString TSchedaPresenza::archivePath(qint64 eventNumber)
{
    return ProgramFolder::file(archiveName(eventNumber));
}

const RecordLayout &TSchedaUscita::layout()
{
    static const RecordLayout layout{
        {"Prenotazione", 10}, {"Posto", 5}, {"DataUscita", 10}, {"OraUscita", 8}, {"Annullato", 2},
    };
    return layout;
}

QString TSchedaUscita::archiveName(qint64 eventNumber)
{
    return QStringLiteral("Uscite_Evento_%1.pro").arg(eventNumber);
}

QString TSchedaUscita::archivePath(qint64 eventNumber)
{
    return ProgramFolder::file(archiveName(eventNumber));
}

} // namespace qv
