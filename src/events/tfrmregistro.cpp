#include "events/tfrmregistro.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "checks/checkdialogs.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "events/eventdialogs.h"
#include "events/tfrmexpregistro.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "output/exportformats.h"
#include "output/sheetprintdialog.h"
#include "participants/participantdialogs.h"
#include "ui/cardoperations.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

using namespace qv;

const QString TfrmRegistro::kCalendarUnsaved = QStringLiteral(
    "Attenzione: per aggiungere l'evento al calendario \u00E8 necessario salvare prima la scheda in archivio.");
const QString TfrmRegistro::kCalendarNoStart = QStringLiteral(
    "Attenzione: l'evento salvato in archivio non ha una data di inizio valida e non pu\u00F2 essere aggiunto al "
    "calendario.");
// LF CR LF CR written out: another file's constant may not exist yet here.
const QString TfrmRegistro::kCalendarFailed =
    QStringLiteral("Attenzione: il sistema non permette di creare il file del calendario.\n\r\n\r"
                   "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");

TfrmRegistro::TfrmRegistro(QWidget *parent) : qv::Workspace(parent)
{
    m_form = buildForm(this, description());
    qv::fillScreen(this);
}

TfrmRegistro::~TfrmRegistro() = default;

// The card as the user sees it: toolbar, four sections, their rows in tab order.
FormDescription TfrmRegistro::description()
{
    const QString calendar = QStringLiteral("Importa una data dal calendario.");
    const QString contact = QStringLiteral("Importa i dati dall'archivio anagrafico dei partecipanti.");
    const int amount = 15; // what the user may type; a formatted amount may be longer
    return {
        .name = "frmRegistro",
        .title = " Quorvane - Eventi Programmati",
        .heading = "Eventi Programmati",
        .tools = {
            {"cmdNuovo", "new", "Predispone la schermata per l'inserimento di una nuova scheda.",
             [this] { cmdNuovoClick(); }, &cmdNuovo},
            {"cmdDuplica", "duplicate",
             "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti.",
             [this] { cmdDuplicaClick(); }, &cmdDuplica},
            {"cmdSalva", "save", "Salva la scheda corrente in archivio.", [this] { cmdSalvaClick(); }, &cmdSalva},
            ToolEntry::separator(),
            {"cmdTrova", "find", "Trova una scheda in archivio.", [this] { cmdTrovaClick(); }, &cmdTrova},
            {"cmdFile", "attach", "Allega file alla scheda corrente.", [this] { cmdFileClick(); }, &cmdFile},
            {"cmdStampa", "print", "Stampa la scheda corrente.", [this] { cmdStampaClick(); }, &cmdStampa},
            {"cmdCalendario", "calendar_export",
             "Aggiunge l'evento corrente, come \u00E8 salvato in archivio, al proprio calendario.",
             [this] { cmdCalendarioClick(); }, &cmdCalendario},
            ToolEntry::separator(),
            ToolEntry::browsing(&cmdPrimo, &cmdIndietro, &lblPosizione, &cmdAvanti, &cmdUltimo),
            ToolEntry::separator(),
            {"cmdEsporta", "export", "Esporta le schede in archivio in un file di Microsoft Excel.",
             [this] { cmdEsportaClick(); }, &cmdEsporta},
            {"cmdDisponibili", "open_events",
             "Visualizza l'elenco degli eventi a cui \u00E8 ancora possibile aderire.",
             [this] { cmdDisponibiliClick(); }, &cmdDisponibili},
            {"cmdStatistiche", "chart",
             "Mostra in grafici gli eventi, i posti e le province dei prenotati dell'anno dell'evento corrente.",
             [this] { cmdStatisticheClick(); }, &cmdStatistiche},
            ToolEntry::stretch(),
            ToolEntry::heading(),
            ToolEntry::separator(),
            {"cmdGuida", "guide", "Visualizza la pagina della guida sensibile al contesto.",
             [this] { cmdGuidaClick(); }, &cmdGuida},
            {"cmdEsci", "close", "Esci da questa schermata di lavoro.", [this] { cmdEsciClick(); }, &cmdEsci},
        },
        .minimumBoxWidth = 160,
        .spreadEvery = 18,
        .sections = {
            {.name = "grpEvento", .title = "Evento", .picture = "section_event", .to = &grpEvento, .rows = {
                {.label = "Titolo evento:", .name = "txtTitolo", .length = 50, .to = &txtTitolo},
                {.label = "Tipologia:", .name = "txtTipologia", .length = 50, .to = &txtTipologia},
                {.label = "Materie trattate:", .name = "txtMaterie", .length = 250, .to = &txtMaterie},
                {.label = "Relatori:", .name = "txtRelatori", .length = 250, .to = &txtRelatori},
                {.label = "Data inizio:", .name = "txtDataInizio", .length = 10, .width = "00/00/00000",
                 .rule = Rule::Picker, .align = Qt::AlignCenter,
                 .beside = {"impDataInizio", "calendar_import", calendar, [this] { impDataInizioClick(); },
                            &impDataInizio},
                 .to = &txtDataInizio},
                {.label = "Ora:", .name = "txtOraInizio", .length = 5, .width = "00:000", .align = Qt::AlignCenter,
                 .join = true, .to = &txtOraInizio},
                {.label = "Data fine:", .name = "txtDataFine", .length = 10, .width = "00/00/00000",
                 .rule = Rule::Picker, .align = Qt::AlignCenter,
                 .beside = {"impDataFine", "calendar_import", calendar, [this] { impDataFineClick(); }, &impDataFine},
                 .to = &txtDataFine},
                {.label = "Ora:", .name = "txtOraFine", .length = 5, .width = "00:000", .align = Qt::AlignCenter,
                 .join = true, .to = &txtOraFine},
                {.label = "Sede:", .name = "txtSede", .length = 120, .to = &txtSede},
                {.label = "Indirizzo:", .name = "txtIndirizzo", .length = 120, .to = &txtIndirizzo},
            }},
            {.name = "grpPersone", .title = "Organizzazione e contatti", .picture = "section_people",
             .to = &grpPersone, .column = 1, .rows = {
                {.label = "Organizzatore:", .name = "txtOrganizzatore", .length = 50,
                 .beside = {"impContatto01", "contact_import", contact, [this] { impContatto01Click(); },
                            &impContatto01},
                 .to = &txtOrganizzatore},
                {.label = "Recapito:", .name = "txtRecapitoOrg", .length = 50, .to = &txtRecapitoOrg},
                {.label = "Contatto per info:", .name = "txtContatto", .length = 50,
                 .beside = {"impContatto02", "contact_import", contact, [this] { impContatto02Click(); },
                            &impContatto02},
                 .to = &txtContatto},
                {.label = "Recapito:", .name = "txtRecapitoCon", .length = 50, .to = &txtRecapitoCon},
                {.label = "Collaboratori:", .name = "txtCollaboratori", .length = 250, .to = &txtCollaboratori},
                {.label = "Criteri ammissione:", .name = "txtCriteri", .length = 250, .to = &txtCriteri},
            }},
            {.name = "grpPagamento", .title = "Pagamento", .picture = "section_payment", .to = &grpPagamento,
             .row = 1, .rows = {
                {.label = "Modalit\u00E0 pagamento:", .name = "txtPagamento", .length = 120, .to = &txtPagamento},
                {.label = "Quota: \u20AC", .name = "txtQuota", .length = amount, .width = "000000000000000,00",
                 .rule = Rule::Amount, .initial = "0,00", .align = Qt::AlignRight, .to = &txtQuota},
                {.label = "Intestatario C/C:", .name = "txtIntestatario", .length = 50, .to = &txtIntestatario},
                {.label = "IBAN:", .name = "txtIban", .length = 27, .width = "WW00W0000000000000000000000",
                 .rule = Rule::TrimmedUpper,
                 .beside = {"btnIban", "check", "Verifica l'IBAN.", [this] { btnIbanClick(); }, &btnIban},
                 .to = &txtIban},
                {.label = "Banca d'appoggio:", .name = "txtBanca", .length = 50, .to = &txtBanca},
                {.label = "Anticipo: \u20AC", .name = "txtAnticipo", .length = amount, .width = "000000000000000,00",
                 .rule = Rule::Amount, .initial = "0,00", .align = Qt::AlignRight, .to = &txtAnticipo},
            }},
            {.name = "grpAdesioni", .title = "Note e adesioni", .picture = "section_notes", .to = &grpAdesioni,
             .row = 1, .column = 1, .rows = {
                {.label = "Note:", .name = "txtNote", .length = 250, .to = &txtNote},
                {.label = "Termine adesione:", .name = "txtDataSca", .length = 10, .width = "00/00/00000",
                 .rule = Rule::Picker, .align = Qt::AlignCenter,
                 .beside = {"impTermine", "calendar_import", calendar, [this] { impTermineClick(); }, &impTermine},
                 .to = &txtDataSca},
                {.label = "N. totale posti:", .name = "txtPosti", .length = 4, .width = "000000", .rule = Rule::Count,
                 .initial = "0", .align = Qt::AlignRight, .to = &txtPosti},
                {.label = "Al completo", .name = "chkCompleto", .kind = Control::Check, .icon = "full",
                 .hint = "Contrassegna questa casella per indicare che \u00E8 stato raggiunto il numero massimo "
                         "di adesioni.",
                 .to = &chkCompleto},
            }},
        },
        .hidden = {{"lblFile01", &lblFile01}, {"lblFile02", &lblFile02}, {"lblFile03", &lblFile03},
                   {"lblDesc01", &lblDesc01}, {"lblDesc02", &lblDesc02}, {"lblDesc03", &lblDesc03}},
        .infoLabel = &panInfo,
        .card = {.layout = &TSchedaEvento::layout(),
                 .archivePath = [] { return TSchedaEvento::archivePath(); },
                 .checksBeforeSave = [this] { return checksBeforeSave(); },
                 // An amount still being typed is stored in its finished form.
                 .beforeStore =
                     [this] {
                         formatAmountBox(txtQuota);
                         formatAmountBox(txtAnticipo);
                     },
                 .clearForDuplicate = [this] { clearForDuplicate(); },
                 .duplicateFailureKind = MessageKind::Warning},
    };
}

QList<QLineEdit *> TfrmRegistro::editBoxes() const
{
    QList<QLineEdit *> boxes;
    for (QWidget *box : m_form->boxes())
        boxes.append(qobject_cast<QLineEdit *>(box));
    return boxes;
}

QFrame *TfrmRegistro::highlightOf(const QLineEdit *box) const
{
    return m_form->highlightOf(box);
}

InfoBar *TfrmRegistro::infoBar() const
{
    return m_form->infoBar();
}

CardOperations &TfrmRegistro::cardOperations()
{
    return m_form->card();
}

void TfrmRegistro::showRecord(const qv::Record &record, qint64 number)
{
    m_form->card().Show(record, number);
}

void TfrmRegistro::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised: not a new entry
    m_form->card().NuovaScheda();
}

bool TfrmRegistro::checksBeforeSave()
{
    const struct
    {
        QLineEdit *box;
        const char16_t *message;
    } checks[] = {
        {txtTitolo, u"Attenzione: per salvare la scheda \u00E8 necessario indicare il titolo dell'evento."},
        {txtDataInizio, u"Attenzione: per salvare la scheda \u00E8 necessario indicare la data di inizio dell'evento."},
        {txtDataSca, u"Attenzione: per salvare la scheda \u00E8 necessario indicare la data di termine adesione."},
        {txtPosti,
         u"Attenzione: per salvare la scheda \u00E8 necessario indicare il numero totale dei posti disponibili."},
    };
    for (const auto &check : checks) {
        if (trimmed(check.box->text()).isEmpty()) {
            Messages::warning(QString::fromUtf16(check.message), this);
            check.box->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

void TfrmRegistro::clearForDuplicate()
{
    // A repeated event keeps everything but its dates, its attachments and its "full" mark.
    chkCompleto->setChecked(false);
    for (QLineEdit *box : {txtDataInizio, txtOraInizio, txtDataFine, txtOraFine, txtDataSca})
        box->clear();
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
}

void TfrmRegistro::openCalendar(const QString &modeWord)
{
    QWidget *focus = focusWidget();
    qv::openCalendar(this, modeWord);
    // Typing goes on in this card, in the box it left, as soon as the calendar
    // is gone, without waiting for the window system to hand the focus back.
    activateWindow();
    if (isVisible() && !isActiveWindow())
        QApplication::setActiveWindow(this);
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void TfrmRegistro::cmdNuovoClick()
{
    m_form->card().NuovaScheda();
}

void TfrmRegistro::cmdDuplicaClick()
{
    m_form->card().Duplicate();
}

void TfrmRegistro::cmdSalvaClick()
{
    m_form->card().Save();
}

void TfrmRegistro::cmdTrovaClick()
{
    openEventSearch(this, QStringLiteral("registro"));
}

void TfrmRegistro::cmdFileClick()
{
    openAttachments(this, QStringLiteral("registro"));
}

void TfrmRegistro::cmdStampaClick()
{
    openEventSheetDialog(this);
}

void TfrmRegistro::cmdCalendarioClick()
{
    // The calendar entry is tied to the record number for good (importing it
    // again updates the entry), so it is the event as stored under that number.
    bool numbered = false;
    const qint64 number = trimmed(lblPosizione->text()).toLongLong(&numbered);
    if (!numbered || number < 1) {
        Messages::caution(kCalendarUnsaved, this);
        return;
    }
    QByteArray stored;
    try {
        const QString path = TSchedaEvento::archivePath();
        if (!QFileInfo(path).isFile())
            throw ArchiveError("calendar: no events archive");
        TArchivio archive(path, TSchedaEvento::layout().size(), TArchivio::Access::Read);
        if (number > archive.Count())
            throw ArchiveError("calendar: the card's record is not in the archive");
        archive.Seek(number - 1);
        archive.Read(stored);
        archive.Close();
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        return;
    }
    const QString name = eventCalendarFileName(number);
    ExportOutcome outcome;
    try {
        outcome = writeExport(ExportFormat::Ics, ProgramFolder::file(name), ExportLayouts::events(),
                              recordRows(ExportLayouts::events(), stored, number));
    } catch (const std::exception &) {
        Messages::plain(kCalendarFailed, this);
        return;
    }
    if (outcome.rows == 0) {
        Messages::caution(kCalendarNoStart, this);
        return;
    }
    Desktop::openFile(ProgramFolder::file(name), this);
}

void TfrmRegistro::cmdPrimoClick()
{
    m_form->card().First();
}

void TfrmRegistro::cmdIndietroClick()
{
    m_form->card().Previous();
}

void TfrmRegistro::cmdAvantiClick()
{
    m_form->card().Next();
}

void TfrmRegistro::cmdUltimoClick()
{
    m_form->card().Last();
}

void TfrmRegistro::cmdEsportaClick()
{
    openEventsExport(this);
}

void TfrmRegistro::cmdDisponibiliClick()
{
    openOpenEvents(this);
}

void TfrmRegistro::cmdStatisticheClick()
{
    // The year of the event shown, else this year.
    const QDate start = parseDate(trimmed(txtDataInizio->text()));
    if (windows().yearStatistics)
        windows().yearStatistics(this, start.isValid() ? start.year() : Clock::today().year());
}

void TfrmRegistro::cmdGuidaClick()
{
    showGuide(this, GuideTopic::Events);
}

void TfrmRegistro::cmdEsciClick()
{
    close();
}

void TfrmRegistro::impDataInizioClick()
{
    openCalendar(QStringLiteral("data_inizio"));
}

void TfrmRegistro::impDataFineClick()
{
    openCalendar(QStringLiteral("data_fine"));
}

void TfrmRegistro::impTermineClick()
{
    openCalendar(QStringLiteral("registro"));
}

void TfrmRegistro::impContatto01Click()
{
    openParticipantSearch(this, QStringLiteral("organizzatore"));
}

void TfrmRegistro::impContatto02Click()
{
    openParticipantSearch(this, QStringLiteral("contatto"));
}

void TfrmRegistro::btnIbanClick()
{
    openIbanCheck(this, trimmed(txtIban->text()));
}
