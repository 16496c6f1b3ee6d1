#include "eventday/tfrmaccoglienza.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "frame/guide.h"
#include "frame/workspace.h"
#include "reservations/reservationlists.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>
#include <memory>

using namespace qv;

namespace {

const QString kRecorded = QStringLiteral("registrato");
const QString kAlready = QStringLiteral("gia");
const QString kRefused = QStringLiteral("rifiutato");
const QString kNotice = QStringLiteral("avviso");

// How long the result flashes after an action: a cue that needs no sound.
constexpr int kFlashMs = 1200;

QString nameOf(const QHash<qint64, Booking> &bookings, qint64 number)
{
    const auto it = bookings.constFind(number);
    return it == bookings.cend() ? QStringLiteral("scheda n. %1").arg(number) : it->cliente;
}

// "alle 09:31:05", or "il 12/03/2026 alle 09:31:05" for another day.
QString whenSaid(const Attendance::Entry &entry)
{
    if (!entry.moment.isValid())
        return QString();
    const QString time = entry.moment.time().toString(QStringLiteral("HH:mm:ss"));
    if (entry.moment.date() == Clock::today())
        return QStringLiteral("alle ") + time;
    return QStringLiteral("il ") + formatDate(entry.moment.date()) + QStringLiteral(" alle ") + time;
}

// A double-click on a line of a list chooses that line (the list's own
// signal wants the press before it on the same line, which a double-click
// that selects as it lands may not give).
class DoubleClicks : public QObject
{
public:
    DoubleClicks(QListWidget *list, std::function<void()> choose)
        : QObject(list), m_list(list), m_choose(std::move(choose))
    {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        QListWidgetItem *item = m_list->itemAt(mouse->position().toPoint());
        if (mouse->button() != Qt::LeftButton || !item)
            return false;
        m_list->setCurrentItem(item);
        m_choose();
        return true;
    }

private:
    QListWidget *m_list;
    std::function<void()> m_choose;
};

} // namespace

TfrmAccoglienza::TfrmAccoglienza(const EventInfo &event, const QString &reservationArchive, QWidget *owner)
    : QDialog(owner), m_event(event), m_archive(reservationArchive)
{
    applyRegionalSettings();
    m_form = buildForm(this, description());
    placeLists();
    txtTitolo->setText(event.titolo);
    txtDataInizio->setText(event.dataInizio);
    txtOraInizio->setText(event.oraInizio);
    txtSede->setText(event.sede);
    txtIndirizzo->setText(event.indirizzo);
    lblEsito->setProperty("esito", QString());
    lblEsito->setAlignment(Qt::AlignCenter);
    lblEsito->setAccessibleName(QStringLiteral("Esito"));
    lblTotali->setAccessibleName(QStringLiteral("Presenze"));

    // Enter in the box acts at once, as a badge scanner expects: installed
    // after the builder's, this filter is asked first.
    onKeyPress(txtCodice, [this](QKeyEvent *key) {
        if (!isEnterKey(key))
            return false;
        txtCodiceEnter();
        return true;
    });
    onKeyPress(lstCorrispondenze, [this](QKeyEvent *key) {
        if (isEnterKey(key)) {
            lstCorrispondenzeChoose();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            txtCodice->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    });
    new DoubleClicks(lstCorrispondenze, [this] { lstCorrispondenzeChoose(); });

    m_flash.setSingleShot(true);
    m_flash.setInterval(kFlashMs);
    connect(&m_flash, &QTimer::timeout, this, [this] {
        lblEsito->setProperty("lampo", false);
        lblEsito->style()->unpolish(lblEsito);
        lblEsito->style()->polish(lblEsito);
    });
    fillScreen(this);
}

TfrmAccoglienza::~TfrmAccoglienza() = default;

FormDescription TfrmAccoglienza::description()
{
    return {
        .name = "frmAccoglienza",
        .title = " Accoglienza partecipanti",
        .heading = "Accoglienza partecipanti",
        .tools = {
            {"btnPresenze", "attendance",
             "Visualizza l'elenco dei prenotati: prima gli assenti, poi i presenti con l'ora di ingresso.",
             [this] { btnPresenzeClick(); }, &btnPresenze},
            {"btnAnnullaIngresso", "undo", "Annulla l'ingresso selezionato nell'elenco degli ultimi ingressi.",
             [this] { btnAnnullaIngressoClick(); }, &btnAnnullaIngresso},
            ToolEntry::separator(),
            {"btnGuida", "guide", "Visualizza la pagina della guida sensibile al contesto.",
             [this] { btnGuidaClick(); }, &btnGuida},
            {"btnEsci", "close", "Chiudi l'accoglienza dei partecipanti.", [this] { btnEsciClick(); }, &btnEsci},
            ToolEntry::stretch(),
            ToolEntry::heading(),
        },
        .sections = {
            {.name = "grpIngresso", .title = "Registrazione ingresso", .picture = "checkin", .to = &grpIngresso,
             .row = 1, .rows = {
                {.label = "Leggere il codice QR del cartellino con il lettore, oppure digitare il numero del posto "
                          "o parte del nome e premere Invio.",
                 .name = "lblIstruzioni", .kind = Control::Caption, .to = &lblIstruzioni},
                {.label = "Codice, posto o nome:", .name = "txtCodice", .length = 200, .enter = "txtCodice",
                 .height = 40, .to = &txtCodice},
                {.label = "Pronto per registrare gli ingressi.", .name = "lblEsito", .kind = Control::Caption,
                 .to = &lblEsito},
                // Stands in for the list of matches (placeLists).
                {.label = " ", .name = "lstCorrispondenze", .kind = Control::Caption},
            }},
            {.name = "grpPresenze", .title = "Presenze", .picture = "section_people", .to = &grpPresenze, .row = 1,
             .column = 1, .rows = {
                {.label = "Presenti 0 su 0 prenotati", .name = "lblTotali", .kind = Control::Caption,
                 .to = &lblTotali},
                {.label = "Ultimi ingressi, dal pi\u00F9 recente:", .name = "lblIngressi", .kind = Control::Caption},
                // Stands in for the list of the latest entries (placeLists).
                {.label = " ", .name = "lstIngressi", .kind = Control::Caption},
            }},
            {.name = "grpEvento", .title = "Evento", .picture = "section_event", .to = &grpEvento, .columnSpan = 2,
             .rows = {
                {.label = "Titolo evento:", .name = "txtTitolo", .kind = Control::Header, .to = &txtTitolo},
                {.label = "Data inizio:", .name = "txtDataInizio", .kind = Control::Header, .width = "00/00/00000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtDataInizio},
                {.label = "Ora inizio:", .name = "txtOraInizio", .kind = Control::Header, .width = "00:0000",
                 .align = Qt::AlignCenter, .join = true, .to = &txtOraInizio},
                {.label = "Sede:", .name = "txtSede", .kind = Control::Header, .to = &txtSede},
                {.label = "Indirizzo:", .name = "txtIndirizzo", .kind = Control::Header, .join = true,
                 .to = &txtIndirizzo},
            }},
        },
        .info = "Pronto per registrare gli ingressi.",
        .infoLabel = &panInfo,
    };
}

// The builder makes labels, boxes and pictures; the two lists are put in
// the places their rows kept for them.
void TfrmAccoglienza::placeLists()
{
    auto place = [this](QGroupBox *section, const QString &name, int height) {
        auto *list = new QListWidget(section);
        QWidget *keeper = section->findChild<QLabel *>(name);
        section->layout()->replaceWidget(keeper, list);
        delete keeper;
        list->setObjectName(name);
        list->setMinimumHeight(height);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        return list;
    };
    lstCorrispondenze = place(grpIngresso, QStringLiteral("lstCorrispondenze"), 96);
    lstCorrispondenze->setMaximumHeight(124); // more matches scroll in it, the window does not
    lstIngressi = place(grpPresenze, QStringLiteral("lstIngressi"), 260);
    lstCorrispondenze->setAccessibleName(QStringLiteral("Prenotazioni trovate"));
    lstIngressi->setAccessibleName(QStringLiteral("Ultimi ingressi"));
    lstCorrispondenze->hide();
    setTabOrder(txtCodice, lstCorrispondenze);
    setTabOrder(lstCorrispondenze, lstIngressi);
}

void TfrmAccoglienza::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

QString TfrmAccoglienza::attendanceArchive() const
{
    return Attendance::archiveBeside(m_archive);
}

void TfrmAccoglienza::showOutcome(const QString &kind, const QString &text)
{
    lblEsito->setText(text);
    lblEsito->setProperty("esito", kind);
    lblEsito->setProperty("lampo", true);
    lblEsito->style()->unpolish(lblEsito);
    lblEsito->style()->polish(lblEsito);
    m_flash.start();
}

bool TfrmAccoglienza::refresh()
{
    QList<Booking> bookings;
    QList<Attendance::Entry> entries;
    try {
        bookings = Bookings::read(m_archive);
        entries = Attendance::read(attendanceArchive());
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, this);
        return false;
    }
    m_bookings.clear();
    for (const Booking &b : bookings)
        m_bookings.insert(b.number, b);
    const QHash<qint64, Attendance::Entry> present = Attendance::onDay(entries, Clock::today());
    qsizetype in = 0;
    for (const Booking &b : bookings)
        in += present.contains(b.number);
    lblTotali->setText(QStringLiteral("Presenti %1 su %2 prenotati").arg(in).arg(bookings.size()));

    const qint64 selected = lstIngressi->currentItem() ? lstIngressi->currentItem()->data(Qt::UserRole).toLongLong() : 0;
    QList<Attendance::Entry> latest = present.values();
    std::sort(latest.begin(), latest.end(),
              [](const Attendance::Entry &a, const Attendance::Entry &b) { return a.number > b.number; });
    lstIngressi->clear();
    m_shown.clear();
    const QDate today = Clock::today();
    for (const Attendance::Entry &e : latest) {
        auto *item = new QListWidgetItem(e.when(today) + QStringLiteral("   Posto ") + e.posto + QStringLiteral("   ")
                                             + nameOf(m_bookings, e.reservation),
                                         lstIngressi);
        item->setData(Qt::UserRole, e.number);
        m_shown.insert(e.number, e);
    }
    selectEntry(selected);
    return true;
}

void TfrmAccoglienza::selectEntry(qint64 number)
{
    for (int row = 0; row < lstIngressi->count(); ++row)
        if (lstIngressi->item(row)->data(Qt::UserRole).toLongLong() == number) {
            lstIngressi->setCurrentRow(row);
            lstIngressi->scrollToItem(lstIngressi->item(row));
            return;
        }
}

std::optional<QList<Booking>> TfrmAccoglienza::readBookings()
{
    try {
        return Bookings::read(m_archive);
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, this);
        return std::nullopt;
    }
}

void TfrmAccoglienza::txtCodiceEnter()
{
    const QString typed = trimmed(txtCodice->text());
    if (typed.isEmpty())
        return;
    const std::optional<QList<Booking>> bookings = readBookings();
    if (!bookings)
        return;
    txtCodice->clear();
    hideMatches();
    const Attendance::Lookup found = Attendance::lookup(typed, m_event.number, *bookings);
    switch (found.kind) {
    case Attendance::Lookup::Empty:
        return;
    case Attendance::Lookup::Badge: {
        const Booking &b = found.matches.first();
        checkIn(b, ReservationLists::sameSeat(found.code.seat, b.posto)
                       ? QString()
                       : QStringLiteral("\nAttenzione: il cartellino riporta il posto %1").arg(found.code.seat));
        return;
    }
    case Attendance::Lookup::OtherEvent:
        showOutcome(kRefused, QStringLiteral("Cartellino di un altro evento (evento n. %1)\nNessun ingresso registrato")
                                  .arg(found.code.event));
        return;
    case Attendance::Lookup::BadCode:
        showOutcome(kRefused, QStringLiteral("Codice non riconosciuto\nLeggere di nuovo il cartellino, oppure digitare "
                                             "il numero del posto o parte del nome"));
        return;
    case Attendance::Lookup::UnknownRecord:
        showOutcome(kRefused, QStringLiteral("Il cartellino non corrisponde a nessuna prenotazione di questo evento\n"
                                             "Nessun ingresso registrato"));
        return;
    case Attendance::Lookup::Seat:
        if (found.matches.size() == 1)
            checkIn(found.matches.first());
        else
            listMatches(found.matches, QStringLiteral("Il posto %1 \u00E8 assegnato a %2 prenotazioni\nScegliere la "
                                                      "persona nell'elenco e premere Invio")
                                           .arg(found.matches.first().posto)
                                           .arg(found.matches.size()));
        return;
    case Attendance::Lookup::Name:
        if (found.matches.isEmpty())
            showOutcome(kRefused, QStringLiteral("Nessuna prenotazione corrisponde a \u00AB%1\u00BB").arg(typed));
        else
            listMatches(found.matches,
                        (found.matches.size() == 1 ? QStringLiteral("Trovata una prenotazione")
                                                   : QStringLiteral("Trovate %1 prenotazioni").arg(found.matches.size()))
                            + QStringLiteral("\nScegliere la persona nell'elenco e premere Invio"));
        return;
    }
}

void TfrmAccoglienza::listMatches(const QList<Booking> &matches, const QString &message)
{
    QHash<qint64, Attendance::Entry> present;
    try {
        present = Attendance::onDay(Attendance::read(attendanceArchive()), Clock::today());
    } catch (const ArchiveError &) {
        // Only the words "già entrato" are missing: the check-in itself decides.
    }
    lstCorrispondenze->clear();
    for (const Booking &b : matches) {
        QString text = Bookings::describe(b);
        if (const auto in = present.constFind(b.number); in != present.cend())
            text += QStringLiteral("   (gi\u00E0 entrato ") + whenSaid(*in) + QLatin1Char(')');
        auto *item = new QListWidgetItem(text, lstCorrispondenze);
        item->setData(Qt::UserRole, b.number);
    }
    lstCorrispondenze->show();
    lstCorrispondenze->setCurrentRow(0);
    lstCorrispondenze->setFocus(Qt::OtherFocusReason);
    showOutcome(kNotice, message);
}

void TfrmAccoglienza::hideMatches()
{
    lstCorrispondenze->clear();
    lstCorrispondenze->hide();
}

void TfrmAccoglienza::lstCorrispondenzeChoose()
{
    const QListWidgetItem *item = lstCorrispondenze->currentItem();
    if (!item)
        return;
    const qint64 number = item->data(Qt::UserRole).toLongLong();
    const std::optional<QList<Booking>> bookings = readBookings();
    if (!bookings)
        return;
    hideMatches();
    txtCodice->setFocus(Qt::OtherFocusReason);
    for (const Booking &b : *bookings)
        if (b.number == number) {
            checkIn(b);
            return;
        }
    // Its seat was taken away since it was listed.
    showOutcome(kRefused, QStringLiteral("La prenotazione non ha pi\u00F9 un posto assegnato\nNessun ingresso "
                                         "registrato"));
}

void TfrmAccoglienza::checkIn(const Booking &booking, const QString &note)
{
    Attendance::CheckIn done;
    try {
        done = Attendance::checkIn(attendanceArchive(), booking.number, booking.posto, Clock::now());
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, this);
        showOutcome(kRefused, QStringLiteral("Ingresso non registrato\n") + booking.cliente);
        return;
    }
    const QString who = QStringLiteral("\n") + booking.cliente + QStringLiteral("\nPosto ") + booking.posto;
    if (done.recorded())
        showOutcome(kRecorded, QStringLiteral("Ingresso registrato ") + whenSaid(done.entry) + who + note);
    else
        showOutcome(kAlready, QStringLiteral("Ingresso gi\u00E0 registrato ") + whenSaid(done.entry)
                                  + QStringLiteral(": nulla \u00E8 cambiato") + who);
    refresh();
    selectEntry(done.entry.number);
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::btnAnnullaIngressoClick()
{
    const QListWidgetItem *item = lstIngressi->currentItem();
    if (!item || !m_shown.contains(item->data(Qt::UserRole).toLongLong())) {
        Messages::warning(QStringLiteral("Selezionare nell'elenco degli ultimi ingressi quello da annullare."), this);
        return;
    }
    const Attendance::Entry entry = m_shown.value(item->data(Qt::UserRole).toLongLong());
    const QString who = nameOf(m_bookings, entry.reservation);
    if (!Messages::question(QStringLiteral("Annullare l'ingresso di %1 (posto %2) registrato %3?")
                                .arg(who, entry.posto, whenSaid(entry)),
                            this))
        return;
    bool undone = false;
    try {
        undone = Attendance::undo(attendanceArchive(), entry);
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, this);
        return;
    }
    showOutcome(kNotice, undone ? QStringLiteral("Ingresso annullato\n%1\nPosto %2").arg(who, entry.posto)
                                : QStringLiteral("L'ingresso non \u00E8 pi\u00F9 quello letto: nulla \u00E8 cambiato"
                                                 "\n%1")
                                      .arg(who));
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::btnPresenzeClick()
{
    QList<Booking> bookings;
    QHash<qint64, Attendance::Entry> present;
    try {
        bookings = Bookings::read(m_archive);
        present = Attendance::onDay(Attendance::read(attendanceArchive()), Clock::today());
    } catch (const ArchiveError &) {
        // A list that called everyone absent would be believed.
        Messages::error(Messages::kArchiveAccess, this);
        return;
    }
    {
        TfrmPresenze list(this, bookings, present);
        list.exec();
    }
    if (m_chosen) {
        accept();
        return;
    }
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::chooseBooking(const Record &record, qint64 number)
{
    m_chosen = record;
    m_chosenNumber = number;
}

void TfrmAccoglienza::btnGuidaClick()
{
    showGuide(this, GuideTopic::CheckIn);
}

void TfrmAccoglienza::btnEsciClick()
{
    reject();
}

SummaryListConfig TfrmPresenze::configuration(TfrmAccoglienza *desk, const QList<Booking> &bookings,
                                              const QHash<qint64, Attendance::Entry> &present)
{
    const auto in = std::make_shared<const QHash<qint64, Attendance::Entry>>(present);
    const QDate today = Clock::today();
    qsizetype presentCount = 0;
    for (const Booking &b : bookings)
        presentCount += present.contains(b.number);
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmPresenze");
    config.caption = QStringLiteral(" Riepilogo presenze");
    config.source = ReservationLists::bookedSource([path = desk->reservationArchive()] { return path; });
    // "Assente " sorts before "Presente": who is missing comes first, then
    // who is in, each in seat order.
    config.source.numberedLine = [in, today](const RecordView &record, qint64 number) {
        static const LineLayout seat(TSchedaPrenotazione::layout(),
                                     {{QStringLiteral("Posto n. "), "Numero", 5}, {QStringLiteral("   "), "Cliente", 34}});
        const auto entry = in->constFind(number);
        if (entry == in->cend())
            return QStringLiteral("Assente    ") + seat.line(record);
        return QStringLiteral("Presente   ") + seat.line(record) + QStringLiteral("  ingresso ") + entry->when(today);
    };
    config.lineWidth = 1300;
    config.test = [](const RecordView &record, const QDate &) { return ReservationLists::isBooked(record); };
    config.reportFillFailure = true;
    config.printTitle = QStringLiteral("Presenze per ") + desk->event().titolo
                        + QStringLiteral(": presenti %1 su %2 prenotati").arg(presentCount).arg(bookings.size());
    config.deliver = [desk = QPointer<TfrmAccoglienza>(desk)](const Record &record, qint64 number, const QString &) {
        if (desk)
            desk->chooseBooking(record, number);
    };
    return config;
}

TfrmPresenze::TfrmPresenze(TfrmAccoglienza *desk, const QList<Booking> &bookings,
                           const QHash<qint64, Attendance::Entry> &present)
    : SummaryListWindow(configuration(desk, bookings, present), desk)
{
}
