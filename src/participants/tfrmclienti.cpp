#include "participants/tfrmclienti.h"

#include "archive/records.h"
#include "checks/checkdialogs.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "events/eventdialogs.h"
#include "frame/guide.h"
#include "output/sheets.h"
#include "participants/participantdialogs.h"
#include "participants/tfrmexpclienti.h"
#include "ui/cardoperations.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

using namespace qv;

TfrmClienti::TfrmClienti(QWidget *parent) : qv::Workspace(parent)
{
    m_form = buildForm(this, description());
    qv::fillScreen(this);
}

TfrmClienti::~TfrmClienti() = default;

// The card as the user sees it: five sections, their rows in tab order, the
// column of pictures on the right and the browsing pictures below.
FormDescription TfrmClienti::description()
{
    return {
        .name = "frmClienti",
        .title = " Quorvane - Anagrafica Partecipanti",
        .heading = "Anagrafica\nPartecipanti",
        .bar = FormDescription::Bar::Column,
        .tools = {
            ToolEntry::heading(),
            ToolEntry::separator(),
            {"cmdNuovo", "new", "Prepara la schermata per la registrazione di una nuova scheda.",
             [this] { cmdNuovoClick(); }, &cmdNuovo, "Nuovo"},
            {"cmdDuplica", "duplicate",
             "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti.",
             [this] { cmdDuplicaClick(); }, &cmdDuplica, "Duplica"},
            {"cmdFile", "attach", "Allega file alla scheda corrente.", [this] { cmdFileClick(); }, &cmdFile,
             "Allega file"},
            {"cmdSalva", "save", "Salva la scheda corrente in archivio.", [this] { cmdSalvaClick(); }, &cmdSalva,
             "Salva"},
            ToolEntry::separator(),
            {"cmdTrova", "find", "Trova una scheda in archivio.", [this] { cmdTrovaClick(); }, &cmdTrova, "Trova"},
            {"cmdAnteprima", "preview", "Visualizza l'anteprima di stampa.", [this] { cmdAnteprimaClick(); },
             &cmdAnteprima, "Anteprima"},
            {"cmdStampa", "print", "Stampa la scheda corrente.", [this] { cmdStampaClick(); }, &cmdStampa,
             "Stampa"},
            {"cmdPDF", "pdf", "Esporta la scheda in formato PDF.", [this] { cmdPDFClick(); }, &cmdPDF, "Crea PDF"},
            ToolEntry::separator(),
            {"cmdRicontatta", "recontact", "Visualizza il riepilogo dei partecipanti da ricontattare.",
             [this] { cmdRicontattaClick(); }, &cmdRicontatta, "Da ricontattare"},
            {"cmdEsporta", "excel", "Esporta le schede in archivio in un file di Microsoft Excel.",
             [this] { cmdEsportaClick(); }, &cmdEsporta, "Esporta archivio"},
            {"cmdImporta", "file_import",
             "Importa partecipanti da un file CSV, da una cartella di lavoro di Excel o da un file di contatti vCard.",
             [this] { cmdImportaClick(); }, &cmdImporta, "Importa"},
            ToolEntry::separator(),
            {"cmdGuida", "guide", "Visualizza la guida in linea.", [this] { cmdGuidaClick(); }, &cmdGuida, "Guida"},
            {"cmdEsci", "close", "Esci dalla schermata di lavoro corrente.", [this] { cmdEsciClick(); }, &cmdEsci,
             "Esci"},
        },
        .navigation = {ToolEntry::browsing(&cmdPrimo, &cmdIndietro, &lblPosizione, &cmdAvanti, &cmdUltimo)},
        .logo = "menu_participants",
        .labels = FormDescription::Labels::Above,
        .flow = FormDescription::Flow::Columns,
        .boxes = FormDescription::Boxes::Large,
        .minimumBoxWidth = 90,
        .spacing = 6,
        .spreadAtMost = 18,
        .sections = {
            {.name = "grpAnagrafica", .title = "Dati anagrafici e residenza", .picture = "section_person",
             .to = &grpAnagrafica, .columns = 3, .rows = {
                {.label = "Cognome e nome:", .name = "txtCliente", .length = 50, .to = &txtCliente},
                {.label = "Data di nascita:", .name = "txtDataNasc", .length = 30, .align = Qt::AlignCenter, .span = 2,
                 .to = &txtDataNasc},
                {.label = "Comune di nascita:", .name = "txtComuneNasc", .length = 50, .to = &txtComuneNasc},
                // Both province boxes are labelled "Prov.": their names say whose province they are.
                {.label = "Prov.", .name = "txtProvNasc", .kind = Control::Province, .length = 2,
                 .accessibleName = "Provincia di nascita", .to = &txtProvNasc},
                {.label = "Sesso:", .name = "txtSesso", .length = 1, .width = "WW", .rule = Rule::Upper,
                 .align = Qt::AlignCenter, .to = &txtSesso},
                {.label = "Recapito preferenziale:", .name = "txtRecapito", .length = 50, .span = 3,
                 .to = &txtRecapito},
                {.label = "Residente in Via / Piazza e numero civico:", .name = "txtIndirizzoRes", .length = 50,
                 .to = &txtIndirizzoRes},
                {.label = "Prov.", .name = "txtProvRes", .kind = Control::Province, .length = 2, .span = 2,
                 .accessibleName = "Provincia di residenza", .to = &txtProvRes},
                {.label = "Comune di residenza:", .name = "txtComuneRes", .length = 50, .to = &txtComuneRes},
                {.label = "CAP:", .name = "txtCapRes", .length = 5, .width = "000000", .rule = Rule::UpperOnRelease,
                 .span = 2, .to = &txtCapRes},
                {.label = "Modalit\u00E0 di pagamento:", .name = "txtEstremi", .length = 250, .span = 3,
                 .to = &txtEstremi},
            }},
            {.name = "grpRecapiti", .title = "Recapiti", .picture = "section_contacts", .to = &grpRecapiti,
             .columns = 3, .rows = {
                {.label = "Tel. casa:", .name = "txtTelCasa", .length = 30, .to = &txtTelCasa},
                {.label = "Tel. ufficio:", .name = "txtTelUff", .length = 30, .to = &txtTelUff},
                {.label = "Tel. cellulare:", .name = "txtTelCel", .length = 30, .to = &txtTelCel},
                {.label = "Fax:", .name = "txtFax", .length = 30, .to = &txtFax},
                {.label = "E-mail:", .name = "txtEmail", .length = 50, .rule = Rule::Trimmed, .span = 2,
                 .beside = {"btnEmail", "mail", "Invia una e-mail all'indirizzo indicato.", [this] { btnEmailClick(); },
                            &btnEmail},
                 .to = &txtEmail},
            }},
            {.name = "grpPagamenti", .title = "Codici e pagamento", .picture = "section_payment",
             .to = &grpPagamenti, .column = 1, .columns = 2, .rows = {
                // The codes on lines of their own, whole at any screen size.
                {.label = "Codice fiscale:", .name = "txtCodFisc", .length = 16, .width = "WWWWWW00W00W000W",
                 .rule = Rule::TrimmedUpper, .span = 2,
                 .beside = {"btnCodFisc", "check", "Verifica il codice fiscale.", [this] { btnCodFiscClick(); },
                            &btnCodFisc},
                 .to = &txtCodFisc},
                {.label = "Carta di credito n.", .name = "txtCarta", .length = 30, .rule = Rule::Digits,
                 .beside = {"btnCarta", "check", "Verifica il numero di carta di credito.", [this] { btnCartaClick(); },
                            &btnCarta},
                 .to = &txtCarta},
                {.label = "Scadenza:", .name = "txtScadeCarta", .length = 30, .to = &txtScadeCarta},
                {.label = "Partita IVA:", .name = "txtPartitaIva", .length = 11, .width = "000000000000",
                 .rule = Rule::Digits, .span = 2,
                 .beside = {"btnPartitaIva", "check", "Verifica il numero di partita IVA.",
                            [this] { btnPartitaIvaClick(); }, &btnPartitaIva},
                 .to = &txtPartitaIva},
                {.label = "IBAN:", .name = "txtIban", .length = 27, .rule = Rule::TrimmedUpper, .span = 2,
                 .beside = {"btnIban", "check", "Verifica l'IBAN.", [this] { btnIbanClick(); }, &btnIban},
                 .to = &txtIban},
            }},
            {.name = "grpProfilo", .title = "Documento e profilo", .picture = "section_people", .to = &grpProfilo,
             .column = 1, .columns = 2, .rows = {
                {.label = "Estremi documento:", .name = "txtDocumento", .length = 120, .to = &txtDocumento},
                {.label = "Occupazione:", .name = "txtOccupazione", .length = 50, .to = &txtOccupazione},
                {.label = "Stato civile:", .name = "txtCivile", .length = 50, .to = &txtCivile},
                {.label = "Titoli e qualifiche:", .name = "txtTitoli", .length = 120, .to = &txtTitoli},
                {.label = "Prodotti o servizi di interesse:", .name = "txtProdotti", .length = 120, .to = &txtProdotti},
                {.label = "Zona di appartenenza:", .name = "txtZona", .length = 50, .to = &txtZona},
            }},
            {.name = "grpQuestioni", .title = "Questioni in sospeso e note", .picture = "section_notes",
             .to = &grpQuestioni, .column = 1, .rows = {
                {.label = "Questioni in sospeso:", .name = "txtQuestioni", .length = 250, .to = &txtQuestioni},
                {.label = "Da ricontattare", .name = "chkRicontatta", .kind = Control::Check,
                 .hint = "Annota che il partecipante \u00E8 da ricontattare per questioni in sospeso.",
                 .to = &chkRicontatta},
                {.label = "Note:", .name = "txtNote", .length = 250, .to = &txtNote},
            }},
        },
        .hidden = {{"lblFile01", &lblFile01}, {"lblFile02", &lblFile02}, {"lblFile03", &lblFile03},
                   {"lblDesc01", &lblDesc01}, {"lblDesc02", &lblDesc02}, {"lblDesc03", &lblDesc03}},
        .infoLabel = &panInfo,
        .card = {.layout = &TSchedaPartecipante::layout(),
                 .archivePath = [] { return TSchedaPartecipante::archivePath(); },
                 .checksBeforeSave = [this] { return checksBeforeSave(); },
                 .clearForDuplicate = [this] { clearForDuplicate(); }},
    };
}

QList<QWidget *> TfrmClienti::editBoxes() const
{
    return m_form->boxes();
}

QFrame *TfrmClienti::highlightOf(const QWidget *box) const
{
    return m_form->highlightOf(box);
}

InfoBar *TfrmClienti::infoBar() const
{
    return m_form->infoBar();
}

CardOperations &TfrmClienti::cardOperations()
{
    return m_form->card();
}

void TfrmClienti::showRecord(const qv::Record &record, qint64 number)
{
    m_form->card().Show(record, number);
}

void TfrmClienti::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised: not a new entry
    newCard();
}

void TfrmClienti::newCard()
{
    m_form->card().NuovaScheda();
    for (ProvinceBox *box : {txtProvNasc, txtProvRes})
        box->setCurrentIndex(-1);
}

bool TfrmClienti::checksBeforeSave()
{
    if (!trimmed(txtCliente->text()).isEmpty())
        return true;
    Messages::warning(
        QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il nome del partecipante."), this);
    txtCliente->setFocus(Qt::OtherFocusReason);
    return false;
}

void TfrmClienti::clearForDuplicate()
{
    // A relative at the same address keeps everything but the attached files.
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
}

void TfrmClienti::cmdNuovoClick()
{
    newCard();
}

void TfrmClienti::cmdDuplicaClick()
{
    m_form->card().Duplicate();
}

void TfrmClienti::cmdFileClick()
{
    openAttachments(this, QStringLiteral("clienti"));
}

void TfrmClienti::cmdSalvaClick()
{
    m_form->card().Save();
}

void TfrmClienti::cmdTrovaClick()
{
    openParticipantSearch(this, QStringLiteral("clienti"));
}

void TfrmClienti::cmdAnteprimaClick()
{
    previewParticipantSheet(this);
}

void TfrmClienti::cmdStampaClick()
{
    printParticipantSheet(this);
}

void TfrmClienti::cmdPDFClick()
{
    saveParticipantSheetPdf(this);
}

void TfrmClienti::cmdRicontattaClick()
{
    openRecontactList(this);
}

void TfrmClienti::cmdEsportaClick()
{
    openParticipantsExport(this);
}

void TfrmClienti::cmdImportaClick()
{
    openParticipantImport(this);
}

void TfrmClienti::cmdGuidaClick()
{
    showGuide(this, GuideTopic::Participants);
}

void TfrmClienti::cmdEsciClick()
{
    close();
}

void TfrmClienti::cmdPrimoClick()
{
    m_form->card().First();
}

void TfrmClienti::cmdIndietroClick()
{
    m_form->card().Previous();
}

void TfrmClienti::cmdAvantiClick()
{
    m_form->card().Next();
}

void TfrmClienti::cmdUltimoClick()
{
    m_form->card().Last();
}

void TfrmClienti::btnEmailClick()
{
    Desktop::composeMail(trimmed(txtEmail->text()), {}, {}, {}, this);
}

void TfrmClienti::btnCodFiscClick()
{
    openFiscalCodeButton(this, trimmed(txtCodFisc->text()));
}

void TfrmClienti::btnCartaClick()
{
    openCardCheck(this, trimmed(txtCarta->text()));
}

void TfrmClienti::btnPartitaIvaClick()
{
    openVatCheck(this, trimmed(txtPartitaIva->text()));
}

void TfrmClienti::btnIbanClick()
{
    openIbanCheck(this, trimmed(txtIban->text()));
}
