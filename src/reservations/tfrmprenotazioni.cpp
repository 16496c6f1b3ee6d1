#include "reservations/tfrmprenotazioni.h"

#include "mail/tfrminvioposta.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "checks/checkdialogs.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "eventday/bookings.h"
#include "eventday/tfrmcartellini.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "output/sheetprintdialog.h"
#include "participants/participantdialogs.h"
#include "reservations/reservationlists.h"
#include "reservations/seatmap.h"
#include "reservations/seatwidgets.h"
#include "reservations/tfrmconvalida.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmexpprenotazioni.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "ui/cardoperations.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QShowEvent>

#include <utility>
#include <QCloseEvent>

using namespace qv;

TfrmPrenotazioni::TfrmPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    m_form = buildForm(this, description());
    // The seat's state is read again when the seat box is left; until then
    // what it said may no longer be true of the seat typed.
    connect(txtPosto, &QLineEdit::textChanged, lblStatoPosto, &SeatStateLine::clear);
    onFocusOut(txtPosto, [this] { updateSeatState(); });
    qv::fillScreen(this);
}

TfrmPrenotazioni::~TfrmPrenotazioni() = default;

// The card as the user sees it. The tab order is the order below: the
// participant, the seat, then the event header, which the card shows on top.
FormDescription TfrmPrenotazioni::description()
{
    return {
        .name = "frmPrenotazioni",
        .title = " Quorvane - Posti Assegnati",
        .heading = "Posti Assegnati",
        .tools = {
            {"btnNuovo", "new", "Prepara la schermata per la registrazione di una nuova scheda.",
             [this] { btnNuovoClick(); }, &btnNuovo},
            {"btnDuplica", "duplicate",
             "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti.",
             [this] { btnDuplicaClick(); }, &btnDuplica},
            {"btnSalva", "save", "Salva la scheda corrente in archivio.", [this] { btnSalvaClick(); }, &btnSalva},
            ToolEntry::separator(),
            {"btnTrova", "find", "Trova una scheda in archivio.", [this] { btnTrovaClick(); }, &btnTrova},
            {"btnStampa", "print", "Stampa la scheda corrente.", [this] { btnStampaClick(); }, &btnStampa},
            {"btnDaConfermare", "open_events", "Visualizza l'elenco delle prenotazioni in attesa di conferma.",
             [this] { btnDaConfermareClick(); }, &btnDaConfermare},
            {"btnMappa", "seat_map", "Visualizza la mappa dei posti dell'evento.", [this] { btnMappaClick(); },
             &btnMappa},
            {"btnEsporta", "export", "Esporta le schede in archivio in un file di Microsoft Excel.",
             [this] { btnEsportaClick(); }, &btnEsporta},
            {"btnCartellini", "badge", "Stampa il cartellino con codice QR della scheda corrente o dell'evento.",
             [this] { btnCartelliniClick(); }, &btnCartellini},
            {"btnPosta", "mail_all",
             "Invia per posta elettronica la conferma con posto e cartellino della scheda corrente o dell'evento.",
             [this] { btnPostaClick(); }, &btnPosta},
            ToolEntry::separator(),
            {"btnGuida", "guide", "Visualizza la pagina della guida sensibile al contesto.",
             [this] { btnGuidaClick(); }, &btnGuida},
            {"btnEsci", "close", "Esci da questa schermata di lavoro.", [this] { btnEsciClick(); }, &btnEsci},
            ToolEntry::separator(),
            ToolEntry::browsing(&cmdPrimo, &cmdIndietro, &lblPosizione, &cmdAvanti, &cmdUltimo),
            ToolEntry::stretch(),
            ToolEntry::heading(),
        },
        .spreadAtMost = 14,
        .sections = {
            {.name = "grpPartecipante", .title = "Partecipante", .picture = "section_person", .to = &grpPartecipante,
             .row = 1, .rows = {
                {.label = "Cognome e nome partecipante:", .name = "txtCliente", .length = 50,
                 .beside = {"impPartecipante", "contact_import",
                            "Importa i dati dall'archivio anagrafico dei partecipanti.",
                            [this] { impPartecipanteClick(); }, &impPartecipante},
                 .to = &txtCliente},
                {.label = "Residente in Via / Piazza e numero civico:", .name = "txtIndirizzoRes", .length = 50,
                 .to = &txtIndirizzoRes},
                {.label = "Comune di residenza:", .name = "txtComuneRes", .length = 50, .to = &txtComuneRes},
                {.label = "Prov.", .name = "txtProvRes", .kind = Control::Province, .length = 2, .join = true,
                 .to = &txtProvRes},
                {.label = "CAP:", .name = "txtCapRes", .length = 5, .width = "000000", .join = true, .to = &txtCapRes},
                {.label = "Codice fiscale:", .name = "txtCodFisc", .length = 16, .width = "WWWWWW00W00W000WW",
                 .rule = Rule::TrimmedUpper,
                 .beside = {"btnCodFisc", "check", "Verifica il codice fiscale.", [this] { btnCodFiscClick(); },
                            &btnCodFisc},
                 .to = &txtCodFisc},
                {.label = "Recapito preferenziale:", .name = "txtRecapito", .length = 50, .to = &txtRecapito},
                {.label = "Tel. cellulare:", .name = "txtTelCel", .length = 30, .to = &txtTelCel},
                {.label = "E-mail:", .name = "txtEmail", .length = 50, .rule = Rule::Trimmed, .enter = "btnConferma",
                 .to = &txtEmail},
                {.label = "Invia notifica", .name = "btnConferma", .kind = Control::Button, .icon = "mail",
                 .hint = "Invia al partecipante una e-mail di notifica dell'avvenuta prenotazione del posto a sedere.",
                 .onClick = [this] { btnConfermaClick(); }, .to = &btnConferma},
            }},
            {.name = "grpPosto", .title = "Posto assegnato", .picture = "section_seat", .to = &grpPosto, .row = 1,
             .column = 1, .rows = {
                // The seat, large; no highlight.
                {.label = "Posto n.", .name = "txtPosto", .length = 5, .width = "000000", .rule = Rule::TrimmedUpper,
                 .align = Qt::AlignCenter, .highlight = false, .height = 58, .to = &txtPosto},
                // What the archive says of the seat, on a line of its own below it.
                {.name = "lblStatoPosto", .kind = Control::Widget,
                 .make = [](QWidget *parent) { return new SeatStateLine(parent); }, .to = &lblStatoPosto},
                {.label = "E' possibile verificare la disponibilit\u00E0 del posto o visualizzare l'elenco di quelli "
                          "gi\u00E0 prenotati.",
                 .name = "lblDidascalia", .kind = Control::Caption, .to = &lblCaption},
                {.label = "Verifica disponibilit\u00E0 posto", .name = "btnDisponibile", .kind = Control::Button,
                 .icon = "check", .hint = "Verifica la disponibilit\u00E0 del posto assegnato al partecipante.",
                 .onClick = [this] { btnDisponibileClick(); }, .to = &btnDisponibile},
                {.label = "Visualizza posti gi\u00E0 prenotati", .name = "btnPrenotati", .kind = Control::Button,
                 .icon = "find", .hint = "Visualizza il riepilogo dei posti gi\u00E0 prenotati.",
                 .onClick = [this] { btnPrenotatiClick(); }, .to = &btnPrenotati},
                {.label = "Ubicazione posto:", .name = "txtUbicazione", .length = 250, .to = &txtUbicazione},
                {.label = "Annotazioni:", .name = "txtAnnotazioni", .length = 250, .to = &txtAnnotazioni},
                {.label = "Da confermare", .name = "chkDaConfermare", .kind = Control::Check,
                 .hint = "Contrassegna questa casella per indicare che la prenotazione del posto \u00E8 in attesa di "
                         "conferma.",
                 .to = &chkDaConfermare},
            }},
            // The event, read-only: only the event selection writes it.
            {.name = "grpEvento", .title = "Evento", .picture = "section_event", .to = &grpEvento, .columnSpan = 2,
             .rows = {
                {.label = "Titolo evento:", .name = "txtTitolo", .kind = Control::Header, .to = &txtTitolo},
                {.label = "Tot. posti:", .name = "txtPosti", .kind = Control::Header, .width = "00:0000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtPosti},
                {.label = "Data inizio:", .name = "txtDataInizio", .kind = Control::Header, .width = "00/00/00000",
                 .align = Qt::AlignCenter, .to = &txtDataInizio},
                {.label = "Ora inizio:", .name = "txtOraInizio", .kind = Control::Header, .width = "00:0000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtOraInizio},
                {.label = "Data fine:", .name = "txtDataFine", .kind = Control::Header, .width = "00/00/00000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtDataFine},
                {.label = "Ora fine:", .name = "txtOraFine", .kind = Control::Header, .width = "00:0000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtOraFine},
                {.label = "Sede:", .name = "txtSede", .kind = Control::Header, .to = &txtSede},
                {.label = "Indirizzo:", .name = "txtIndirizzo", .kind = Control::Header, .join = true,
                 .to = &txtIndirizzo},
            }},
        },
        .hidden = {{"lblFile", &lblFile}, {"txtNumero", &txtNumero}},
        .infoLabel = &panInfo,
        .card = {.layout = &TSchedaPrenotazione::layout(),
                 .archivePath = [this] { return archivePath(); },
                 .checksBeforeSave = [this] { return checksBeforeSave(); },
                 .beforeStore = [this] { txtNumero->setText(TSchedaPrenotazione::Numero(txtPosto->text())); },
                 // The copy books a further seat: the seat is cleared before the
                 // archive is opened, so a failing archive can never leave the old
                 // seat to be booked twice.
                 .clearForDuplicate =
                     [this] {
                         txtPosto->clear();
                         txtNumero->clear();
                     },
                 .afterShow = [this] { updateSeatState(); }},
    };
}

QList<QWidget *> TfrmPrenotazioni::highlightedBoxes() const
{
    return m_form->boxes();
}

QFrame *TfrmPrenotazioni::highlightOf(const QWidget *box) const
{
    return m_form->highlightOf(box);
}

InfoBar *TfrmPrenotazioni::infoBar() const
{
    return m_form->infoBar();
}

QString TfrmPrenotazioni::archivePath() const
{
    return trimmed(lblFile->text());
}

EventInfo TfrmPrenotazioni::eventInfo() const
{
    return eventShownIn(this, Bookings::eventNumberOf(archivePath()));
}

void TfrmPrenotazioni::showRecord(const qv::Record &record, qint64 number)
{
    m_form->card().Show(record, number);
}

SeatMapEvent TfrmPrenotazioni::boundEvent() const
{
    return {archivePath(),          trimmed(txtTitolo->text()),   trimmed(txtDataInizio->text()),
            trimmed(txtOraInizio->text()), trimmed(txtDataFine->text()), trimmed(txtOraFine->text()),
            trimmed(txtSede->text()), trimmed(txtIndirizzo->text()), trimmed(txtPosti->text())};
}

void TfrmPrenotazioni::bindEvent(const SeatMapEvent &event)
{
    const bool another = archivePath() != trimmed(event.archivePath);
    lblFile->setText(event.archivePath);
    txtTitolo->setText(event.titolo);
    txtDataInizio->setText(event.dataInizio);
    txtOraInizio->setText(event.oraInizio);
    txtDataFine->setText(event.dataFine);
    txtOraFine->setText(event.oraFine);
    txtSede->setText(event.sede);
    txtIndirizzo->setText(event.indirizzo);
    txtPosti->setText(event.posti);
    if (another)
        emptyCard(); // its record number belongs to the other event's archive
}

QWidget *TfrmPrenotazioni::comeForward(const SeatMapEvent &event)
{
    bindEvent(event);
    QWidget *gaveWay = nullptr;
    if (!isVisible()) {
        // The long-lived window in front (the event selection) gives way, as
        // when "Assegna posti" hands over; showing the card starts a new card.
        QWidget *shown = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && qobject_cast<Workspace *>(w))
                shown = w;
        if (shown)
            switchWindow(shown, this);
        else
            show();
        gaveWay = shown;
    }
    raise();
    activateWindow();
    return gaveWay;
}

TfrmMappaPosti::Desk TfrmPrenotazioni::seatDesk(TfrmPrenotazioni *card, const SeatMapEvent &event)
{
    const QPointer<TfrmPrenotazioni> to(card);
    return {[to, event](const QString &seat) {
                if (!to)
                    return;
                // A card being typed for this event takes the seat and keeps
                // the typing; otherwise the seat starts a new card.
                const bool typing = to->isVisible() && to->archivePath() == trimmed(event.archivePath)
                                    && to->m_form->card().HasUnsavedChanges();
                if (!typing && !to->mayLeaveCard())
                    return;
                to->comeForward(event);
                if (!typing)
                    to->emptyCard();
                to->txtPosto->setText(seat);
                to->updateSeatState();
                (typing ? to->txtPosto : to->txtCliente)->setFocus(Qt::OtherFocusReason);
            },
            [to, event](qint64 record) {
                if (!to || !to->mayLeaveCard())
                    return;
                to->comeForward(event);
                to->showRecordNumber(record);
            }};
}

bool TfrmPrenotazioni::mayLeaveCard()
{
    // A card in view may hold typing: it is not dropped without asking.
    if (!isVisible() || !m_form->card().HasUnsavedChanges())
        return true;
    raise();
    activateWindow();
    return Messages::question(QStringLiteral("La scheda di prenotazione aperta contiene modifiche non salvate.\n"
                                             "Scartarle e continuare?"),
                              this);
}

void TfrmPrenotazioni::showForDesk(const SeatMapEvent &event, qint64 number, QWidget *desk)
{
    if (!mayLeaveCard())
        return;
    if (QWidget *gaveWay = comeForward(event))
        m_afterDesk = gaveWay;
    m_desk = desk;
    m_walkIn = {};
    showRecordNumber(number);
}

void TfrmPrenotazioni::walkInForDesk(const SeatMapEvent &event, const QString &name, QWidget *desk,
                                     std::function<void(qint64 record)> saved)
{
    if (!mayLeaveCard())
        return;
    if (QWidget *gaveWay = comeForward(event))
        m_afterDesk = gaveWay;
    m_desk = desk;
    m_walkIn = std::move(saved);
    emptyCard();
    txtCliente->setText(name);
    updateSeatState();
    (name.isEmpty() ? txtCliente : txtPosto)->setFocus(Qt::OtherFocusReason);
}

void TfrmPrenotazioni::closeEvent(QCloseEvent *event)
{
    Workspace::closeEvent(event);
    m_walkIn = {};
    if (const QPointer<QWidget> desk = std::exchange(m_desk, nullptr)) {
        desk->raise();
        desk->activateWindow();
    }
}

QWidget *TfrmPrenotazioni::windowAfterClose() const
{
    // Handed over by the desk at the door: back to the window that gave way
    // (the event selection the desk was opened from), the desk in front of it.
    return m_desk && m_afterDesk ? m_afterDesk.data() : Workspace::windowAfterClose();
}

void TfrmPrenotazioni::showRecordNumber(qint64 number)
{
    TSchedaPrenotazione record;
    try {
        TArchivio archive(archivePath(), record.layout().size(), TArchivio::Access::Read);
        if (number < 1 || number > archive.Count())
            throw ArchiveError("record not in the archive");
        archive.Seek(number - 1);
        archive.Read(record);
        archive.Close();
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, this);
        return;
    }
    showRecord(record, number);
}

void TfrmPrenotazioni::updateSeatState()
{
    if (archivePath().isEmpty()) {
        lblStatoPosto->clear();
        return;
    }
    bool saved = false;
    const qint64 own = trimmed(lblPosizione->text()).toLongLong(&saved);
    lblStatoPosto->setState(seatOnCard(archivePath(), txtPosto->text(), saved ? own : 0,
                                       SeatMap::totalOf(txtPosti->text())));
}

void TfrmPrenotazioni::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised: not a new entry
    emptyCard();
}

void TfrmPrenotazioni::emptyCard()
{
    txtProvRes->setCurrentIndex(-1);
    m_form->card().NuovaScheda();
}

bool TfrmPrenotazioni::requireText(QLineEdit *box, const QString &warning)
{
    if (!trimmed(box->text()).isEmpty())
        return true;
    Messages::warning(warning, this);
    box->setFocus(Qt::OtherFocusReason);
    return false;
}

bool TfrmPrenotazioni::checksBeforeSave()
{
    return requireText(txtCliente, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il "
                                                  "nome del partecipante."))
           && requireText(txtPosto, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il "
                                                   "numero del posto assegnato."));
}

void TfrmPrenotazioni::btnNuovoClick()
{
    emptyCard();
}

void TfrmPrenotazioni::btnDuplicaClick()
{
    m_form->card().Duplicate();
}

void TfrmPrenotazioni::btnSalvaClick()
{
    const bool fresh = trimmed(lblPosizione->text()).isEmpty();
    m_form->card().Save();
    updateSeatState(); // saving never refuses a seat, but the card tells
    const qint64 saved = trimmed(lblPosizione->text()).toLongLong();
    if (fresh && saved > 0 && m_walkIn) {
        // The walk-in's card is saved: back to the desk, which lets them in.
        const std::function<void(qint64)> letIn = std::exchange(m_walkIn, {});
        close();
        letIn(saved);
    }
}

void TfrmPrenotazioni::btnTrovaClick()
{
    TfrmTrovaPrenotazioni dialog(this);
    dialog.lblMemory->setText(QStringLiteral("prenotazioni"));
    dialog.exec();
}

void TfrmPrenotazioni::btnStampaClick()
{
    openReservationSheetDialog(this);
}

void TfrmPrenotazioni::btnDaConfermareClick()
{
    TfrmDaConfermare dialog(this);
    dialog.exec();
}

void TfrmPrenotazioni::btnMappaClick()
{
    TfrmMappaPosti::open(boundEvent(), seatDesk(this, boundEvent()));
}

void TfrmPrenotazioni::btnEsportaClick()
{
    openReservationsExport(this, lblFile->text());
}

void TfrmPrenotazioni::btnCartelliniClick()
{
    // A card not saved yet has no number, so no badge of its own.
    openBadges(this, archivePath(), eventInfo(), trimmed(lblPosizione->text()).toLongLong());
}

void TfrmPrenotazioni::btnPostaClick()
{
    openMailSending(this, eventInfo(), MailUse::Confirmations, trimmed(lblPosizione->text()).toLongLong());
}

void TfrmPrenotazioni::btnGuidaClick()
{
    showGuide(this, GuideTopic::Reservations);
}

void TfrmPrenotazioni::btnEsciClick()
{
    close();
}

void TfrmPrenotazioni::cmdPrimoClick()
{
    m_form->card().First();
}

void TfrmPrenotazioni::cmdIndietroClick()
{
    m_form->card().Previous();
}

void TfrmPrenotazioni::cmdAvantiClick()
{
    m_form->card().Next();
}

void TfrmPrenotazioni::cmdUltimoClick()
{
    m_form->card().Last();
}

void TfrmPrenotazioni::impPartecipanteClick()
{
    openParticipantSearch(this, QStringLiteral("prenotazioni"));
}

void TfrmPrenotazioni::btnCodFiscClick()
{
    openFiscalCodeButton(this, trimmed(txtCodFisc->text()));
}

void TfrmPrenotazioni::btnConfermaClick()
{
    if (!requireText(txtCliente, QStringLiteral("Attenzione: per inviare l'e-mail \u00E8 necessario indicare il nome "
                                                "del partecipante."))
        || !requireText(txtEmail, QStringLiteral("Attenzione: per inviare l'e-mail \u00E8 necessario indicare "
                                                 "l'indirizzo di posta elettronica del partecipante."))
        || !requireText(txtPosto, QStringLiteral("Attenzione: per inviare l'e-mail \u00E8 necessario indicare il "
                                                 "numero del posto a sedere assegnato al partecipante.")))
        return;
    ReservationLists::NoticeData notice;
    notice.cliente = txtCliente->text();
    notice.posto = txtPosto->text();
    notice.titolo = txtTitolo->text();
    notice.dataInizio = txtDataInizio->text();
    notice.oraInizio = txtOraInizio->text();
    notice.sede = txtSede->text();
    notice.indirizzo = txtIndirizzo->text();
    Desktop::composeMail(txtEmail->text(), ReservationLists::noticeSubject(), ReservationLists::noticeBody(notice), {},
                         this);
}

void TfrmPrenotazioni::btnDisponibileClick()
{
    const QString seat = trimmed(txtPosto->text());
    if (seat.isEmpty()) {
        Messages::warning(QStringLiteral("Indicare il numero di posto da assegnare al partecipante prima di premere il "
                                         "pulsante di verifica."),
                          this);
        txtPosto->setFocus(Qt::OtherFocusReason);
        return;
    }
    TfrmConvalida::check(this, archivePath(), seat);
}

void TfrmPrenotazioni::btnPrenotatiClick()
{
    TfrmVerificaPosti dialog(this);
    dialog.exec();
}
