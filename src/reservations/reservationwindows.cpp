// The three summary lists of the reservation card, each a configuration of
// the summary list window over the card's event archive.
#include "reservations/tfrmdaconfermare.h"
#include "mail/tfrminvioposta.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"

#include "core/text.h"
#include "eventday/bookings.h"
#include "eventday/noticetoeveryone.h"
#include "reservations/reservationlists.h"
#include "eventday/tfrmcartellini.h"
#include "reservations/tfrmprenotazioni.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

using namespace qv;

namespace {

// The card's archive, read at each scan; none once the card is gone.
ReservationLists::PathSource cardArchive(TfrmPrenotazioni *card)
{
    return [card = QPointer<TfrmPrenotazioni>(card)] { return card ? card->archivePath() : QString(); };
}

QString cardTitle(const TfrmPrenotazioni *card)
{
    return card ? trimmed(card->txtTitolo->text()) : QString();
}

// Loads a chosen booking into the card: all fields, check box and number.
std::function<void(const Record &, qint64, const QString &)> intoCard(TfrmPrenotazioni *card)
{
    return [card = QPointer<TfrmPrenotazioni>(card)](const Record &record, qint64 number, const QString &) {
        if (card)
            card->showRecord(record, number);
    };
}

} // namespace

SummaryListConfig TfrmVerificaPosti::configuration(TfrmPrenotazioni *card)
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmVerificaPosti");
    config.caption = QStringLiteral(" Riepilogo posti gi\u00E0 prenotati");
    config.source = ReservationLists::bookedSource(cardArchive(card));
    config.lineWidth = 1500;
    config.test = [](const RecordView &record, const QDate &) { return ReservationLists::isBooked(record); };
    config.reportFillFailure = true;
    config.printTitle = QStringLiteral("Posti prenotati per ") + cardTitle(card);
    config.deliver = intoCard(card);
    // For the day of the event: the badges of these bookings, a notice to all of them.
    config.tools = {
        {QStringLiteral("btnCartellini"), QStringLiteral("badge"), QStringLiteral("Cartellini"),
         QStringLiteral("Stampa i cartellini con codice QR delle prenotazioni elencate."),
         [card = QPointer<TfrmPrenotazioni>(card)](QWidget *list) {
             if (card)
                 openBadges(list, card->archivePath(), card->eventInfo());
         }},
        {QStringLiteral("btnAvvisoTutti"), QStringLiteral("mail_all"), QStringLiteral("Avviso a tutti"),
         QStringLiteral("Prepara un avviso per tutti i prenotati: un messaggio per persona inviato dal programma, "
                        "o, finch\u00E9 la posta elettronica non \u00E8 impostata, un messaggio del programma di posta "
                        "con tutti in copia nascosta."),
         [card = QPointer<TfrmPrenotazioni>(card)](QWidget *list) {
             if (card)
                 noticeToEveryoneByMail(list, card->eventInfo());
         }},
    };
    return config;
}

TfrmVerificaPosti::TfrmVerificaPosti(TfrmPrenotazioni *card) : SummaryListWindow(configuration(card), card) {}

SummaryListConfig TfrmDaConfermare::configuration(TfrmPrenotazioni *card)
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmDaConfermare");
    config.caption = QStringLiteral(" Riepilogo prenotazioni in attesa di conferma");
    config.source = ReservationLists::pendingSource(cardArchive(card));
    config.lineWidth = 1500;
    config.test = [](const RecordView &record, const QDate &) { return ReservationLists::isPending(record); };
    config.reportFillFailure = true;
    config.printTitle = QStringLiteral("Prenotazioni in attesa di conferma per ") + cardTitle(card);
    config.deliver = intoCard(card);
    return config;
}

TfrmDaConfermare::TfrmDaConfermare(TfrmPrenotazioni *card) : SummaryListWindow(configuration(card), card) {}

SummaryListConfig TfrmTrovaPrenotazioni::configuration(TfrmPrenotazioni *card)
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmTrovaPrenotazioni");
    config.caption = QStringLiteral(" Trova prenotazioni in archivio");
    config.source = ReservationLists::searchSource(cardArchive(card));
    config.filters = {
        {QStringLiteral("txtCliente"), QStringLiteral("Cognome e nome partecipante:"), QStringLiteral("effCampo01"), QStringLiteral("Cliente")},
        {QStringLiteral("txtCodFisc"), QStringLiteral("Codice fiscale:"), QStringLiteral("effCampo02"), QStringLiteral("CodFisc")},
        {QStringLiteral("txtIndirizzoRes"), QStringLiteral("Indirizzo di residenza:"), QStringLiteral("effCampo09"), QStringLiteral("IndirizzoRes")},
        {QStringLiteral("txtComuneRes"), QStringLiteral("Comune di residenza:"), QStringLiteral("effCampo10"), QStringLiteral("ComuneRes")},
        {QStringLiteral("txtProvRes"), QStringLiteral("Sigla provincia:"), QStringLiteral("effCampo05"), QStringLiteral("ProvRes")},
        {QStringLiteral("txtTelCel"), QStringLiteral("Tel. cellulare:"), QStringLiteral("effCampo06"), QStringLiteral("TelCel")},
        {QStringLiteral("txtEmail"), QStringLiteral("E-mail:"), QStringLiteral("effCampo07"), QStringLiteral("Email")},
        {QStringLiteral("txtPosto"), QStringLiteral("Posto n."), QStringLiteral("effCampo08"), QStringLiteral("Posto")},
        {QStringLiteral("txtUbicazione"), QStringLiteral("Ubicazione posto:"), QStringLiteral("effCampo03"), QStringLiteral("Ubicazione")},
        {QStringLiteral("txtAnnotazioni"), QStringLiteral("Annotazioni:"), QStringLiteral("effCampo04"), QStringLiteral("Annotazioni")},
    };
    config.printTitle = QStringLiteral("Prenotazioni posti a sedere per ") + cardTitle(card);
    config.deliver = [card = QPointer<TfrmPrenotazioni>(card)](const Record &record, qint64 number,
                                                                const QString &modeWord) {
        if (card && modeWord == QLatin1String("prenotazioni"))
            card->showRecord(record, number);
    };
    return config;
}

TfrmTrovaPrenotazioni::TfrmTrovaPrenotazioni(TfrmPrenotazioni *card)
    : SummaryListWindow(configuration(card), card)
{
    txtCliente = filterBox(QStringLiteral("txtCliente"));
    txtCodFisc = filterBox(QStringLiteral("txtCodFisc"));
    txtIndirizzoRes = filterBox(QStringLiteral("txtIndirizzoRes"));
    txtComuneRes = filterBox(QStringLiteral("txtComuneRes"));
    txtProvRes = filterBox(QStringLiteral("txtProvRes"));
    txtTelCel = filterBox(QStringLiteral("txtTelCel"));
    txtEmail = filterBox(QStringLiteral("txtEmail"));
    txtPosto = filterBox(QStringLiteral("txtPosto"));
    txtUbicazione = filterBox(QStringLiteral("txtUbicazione"));
    txtAnnotazioni = filterBox(QStringLiteral("txtAnnotazioni"));
}
