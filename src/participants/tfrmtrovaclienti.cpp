#include "participants/tfrmtrovaclienti.h"

#include "events/tfrmregistro.h"
#include "frame/windows.h"
#include "participants/participantlists.h"
#include "participants/tfrmclienti.h"
#include "reservations/tfrmprenotazioni.h"
#include "ui/controltext.h"

#include <QLineEdit>

using namespace qv;

SummaryListConfig TfrmTrovaClienti::configuration()
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmTrovaClienti");
    config.caption = QStringLiteral(" Trova partecipanti in archivio");
    config.source = ParticipantLists::searchSource();
    config.filters = {
        {QStringLiteral("txtCliente"), QStringLiteral("Cognome e nome:"), QStringLiteral("effCliente"), QStringLiteral("Cliente")},
        {QStringLiteral("txtComuneRes"), QStringLiteral("Comune di residenza:"), QStringLiteral("effComuneRes"), QStringLiteral("ComuneRes")},
        {QStringLiteral("txtPartitaIva"), QStringLiteral("Partita IVA:"), QStringLiteral("effPartitaIva"), QStringLiteral("PartitaIva")},
        {QStringLiteral("txtCodFisc"), QStringLiteral("Codice fiscale:"), QStringLiteral("effCodFisc"), QStringLiteral("CodFisc")},
        {QStringLiteral("txtDocumento"), QStringLiteral("Estremi documento:"), QStringLiteral("effDocumento"), QStringLiteral("Documento")},
        {QStringLiteral("txtOccupazione"), QStringLiteral("Occupazione:"), QStringLiteral("effOccupazione"), QStringLiteral("Occupazione")},
        {QStringLiteral("txtProdotti"), QStringLiteral("Prodotti e servizi di interesse:"), QStringLiteral("effProdotti"), QStringLiteral("Prodotti")},
        {QStringLiteral("txtZona"), QStringLiteral("Zona di appartenenza:"), QStringLiteral("effZona"), QStringLiteral("Zona")},
        {QStringLiteral("txtQuestioni"), QStringLiteral("Questioni in sospeso:"), QStringLiteral("effQuestioni"), QStringLiteral("Questioni")},
        {QStringLiteral("txtNote"), QStringLiteral("Note:"), QStringLiteral("effNote"), QStringLiteral("Note")},
    };
    config.printTitle = QStringLiteral("Riepilogo partecipanti");
    config.deliver = &TfrmTrovaClienti::deliver;
    return config;
}

void TfrmTrovaClienti::deliver(const Record &record, qint64 number, const QString &modeWord)
{
    if (modeWord == QLatin1String("clienti")) {
        if (TfrmClienti *card = windows().frmClienti)
            card->showRecord(record, number);
    } else if (modeWord == QLatin1String("organizzatore")) {
        if (TfrmRegistro *card = windows().frmRegistro) {
            setControlTextAsTyped(card->txtOrganizzatore, record.text(QStringLiteral("Cliente")));
            setControlTextAsTyped(card->txtRecapitoOrg, record.text(QStringLiteral("Recapito")));
        }
    } else if (modeWord == QLatin1String("contatto")) {
        if (TfrmRegistro *card = windows().frmRegistro) {
            setControlTextAsTyped(card->txtContatto, record.text(QStringLiteral("Cliente")));
            setControlTextAsTyped(card->txtRecapitoCon, record.text(QStringLiteral("Recapito")));
        }
    } else if (modeWord == QLatin1String("prenotazioni")) {
        if (TfrmPrenotazioni *card = windows().frmPrenotazioni)
            deliverToReservation(record, card);
    }
}

void TfrmTrovaClienti::deliverToReservation(const Record &record, QWidget *reservationCard)
{
    static const char *const fields[] = {"Cliente", "Recapito", "IndirizzoRes", "ProvRes", "ComuneRes",
                                         "CapRes",  "TelCel",   "Email",        "CodFisc"};
    for (const char *field : fields) {
        const QString name = QString::fromLatin1(field);
        if (QWidget *box = namedControl(reservationCard, QStringLiteral("txt") + name))
            setControlTextAsTyped(box, record.text(name));
    }
}

TfrmTrovaClienti::TfrmTrovaClienti(QWidget *parent) : SummaryListWindow(configuration(), parent)
{
    txtCliente = filterBox(QStringLiteral("txtCliente"));
    txtComuneRes = filterBox(QStringLiteral("txtComuneRes"));
    txtPartitaIva = filterBox(QStringLiteral("txtPartitaIva"));
    txtCodFisc = filterBox(QStringLiteral("txtCodFisc"));
    txtDocumento = filterBox(QStringLiteral("txtDocumento"));
    txtOccupazione = filterBox(QStringLiteral("txtOccupazione"));
    txtProdotti = filterBox(QStringLiteral("txtProdotti"));
    txtZona = filterBox(QStringLiteral("txtZona"));
    txtQuestioni = filterBox(QStringLiteral("txtQuestioni"));
    txtNote = filterBox(QStringLiteral("txtNote"));
}
