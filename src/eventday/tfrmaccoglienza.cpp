#include "eventday/tfrmaccoglienza.h"
#include "eventday/tfrmattestati.h"

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

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>
#include <memory>
#include <utility>

using namespace qv;

namespace {

const QString kRefused = QStringLiteral("rifiutato");
const QString kNotice = QStringLiteral("avviso");

// How long the result flashes after an action: a cue that needs no sound.
constexpr int kFlashMs = 1200;

using Attendance::Passage;

QString passageWord(Passage passage)
{
    return passage == Passage::In ? QStringLiteral("Ingresso") : QStringLiteral("Uscita");
}

// One line of the day's records: "In" or "Out", then its number.
QString keyOf(Passage passage, qint64 number)
{
    return (passage == Passage::In ? QStringLiteral("In") : QStringLiteral("Out")) + QString::number(number);
}

QString nameOf(const QHash<qint64, Booking> &bookings, qint64 number)
{
    const auto it = bookings.constFind(number);
    return it == bookings.cend() ? QStringLiteral("scheda n. %1").arg(number) : it->cliente;
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
    : QDialog(owner), m_event(event), m_archive(reservationArchive), m_desk(event.number, reservationArchive)
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
            hideMatches();
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

TfrmAccoglienza *TfrmAccoglienza::open(const EventInfo &event, const QString &reservationArchive, BookingCard card)
{
    TfrmAccoglienza *desk = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *open = qobject_cast<TfrmAccoglienza *>(w); open && open->m_archive == reservationArchive)
            desk = open;
    if (!desk) {
        desk = new TfrmAccoglienza(event, reservationArchive, nullptr);
        desk->setAttribute(Qt::WA_DeleteOnClose);
    }
    desk->setBookingCard(std::move(card));
    desk->show();
    desk->raise();
    desk->activateWindow();
    return desk;
}

FormDescription TfrmAccoglienza::description()
{
    return {
        .name = "frmAccoglienza",
        .title = " Accoglienza partecipanti",
        .heading = "Accoglienza partecipanti",
        .tools = {
            {"btnPresenze", "attendance",
             "Visualizza l'elenco dei prenotati nel giorno scelto: prima gli assenti, poi i presenti con gli orari.",
             [this] { btnPresenzeClick(); }, &btnPresenze},
            {"btnAnnullaIngresso", "undo", "Annulla l'ingresso o l'uscita selezionati nell'elenco degli ultimi passaggi.",
             [this] { btnAnnullaIngressoClick(); }, &btnAnnullaIngresso},
            {"btnNuovoIngresso", "new",
             "Nuovo ingresso: prenota un posto per chi arriva senza prenotazione e ne registra l'ingresso.",
             [this] { btnNuovoIngressoClick(); }, &btnNuovoIngresso},
            {"btnFoglioFirme", "signature", "Stampa il foglio firme del giorno scelto, per chi firma all'ingresso.",
             [this] { btnFoglioFirmeClick(); }, &btnFoglioFirme},
            {"btnAttestati", "certificate", "Prepara gli attestati di partecipazione dei presenti.",
             [this] { btnAttestatiClick(); }, &btnAttestati},
            ToolEntry::separator(),
            {"btnGuida", "guide", "Visualizza la pagina della guida sensibile al contesto.",
             [this] { btnGuidaClick(); }, &btnGuida},
            {"btnEsci", "close", "Chiudi l'accoglienza dei partecipanti.", [this] { btnEsciClick(); }, &btnEsci},
            ToolEntry::stretch(),
            ToolEntry::heading(),
        },
        .sections = {
            {.name = "grpIngresso", .title = "Registrazione ingressi e uscite", .picture = "checkin",
             .to = &grpIngresso, .row = 1, .rows = {
                {.label = "Registra:", .name = "optModo", .kind = Control::Widget,
                 .make = [this](QWidget *parent) {
                     auto *box = new QWidget(parent);
                     auto *line = new QHBoxLayout(box);
                     line->setContentsMargins(0, 0, 0, 0);
                     optIngressi = new QRadioButton(QStringLiteral("&Ingressi"), box);
                     optUscite = new QRadioButton(QStringLiteral("&Uscite"), box);
                     optIngressi->setObjectName(QStringLiteral("optIngressi"));
                     optUscite->setObjectName(QStringLiteral("optUscite"));
                     optIngressi->setChecked(true);
                     auto *group = new QButtonGroup(box);
                     group->addButton(optIngressi);
                     group->addButton(optUscite);
                     connect(optUscite, &QRadioButton::toggled, this, [this] { passageChanged(); });
                     line->addWidget(optIngressi);
                     line->addWidget(optUscite);
                     line->addStretch();
                     return box;
                 }},
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
                {.label = "Giorno:", .name = "cboGiorno", .kind = Control::Widget,
                 .make = [this](QWidget *parent) {
                     cboGiorno = new QComboBox(parent);
                     cboGiorno->setObjectName(QStringLiteral("cboGiorno"));
                     cboGiorno->setAccessibleName(QStringLiteral("Giorno mostrato"));
                     connect(cboGiorno, &QComboBox::activated, this,
                             [this] { showDay(cboGiorno->currentData().toDate()); });
                     return cboGiorno;
                 }},
                {.label = "Presenti oggi 0 su 0 prenotati", .name = "lblTotali", .kind = Control::Caption,
                 .to = &lblTotali},
                {.label = "Ultimi passaggi, dal pi\u00F9 recente:", .name = "lblIngressi", .kind = Control::Caption},
                // Stands in for the list of the latest records (placeLists).
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
    lstIngressi->setAccessibleName(QStringLiteral("Ultimi passaggi"));
    lstCorrispondenze->hide();
    setTabOrder(txtCodice, lstCorrispondenze);
    setTabOrder(lstCorrispondenze, cboGiorno);
    setTabOrder(cboGiorno, lstIngressi);
}

void TfrmAccoglienza::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

Attendance::Passage TfrmAccoglienza::passage() const
{
    return optUscite->isChecked() ? Passage::Out : Passage::In;
}

void TfrmAccoglienza::passageChanged()
{
    const bool in = passage() == Passage::In;
    lblIstruzioni->setText(
        (in ? QStringLiteral("Ingressi: ") : QStringLiteral("Uscite: "))
        + QStringLiteral("leggere il codice QR del cartellino con il lettore, oppure digitare il numero del posto o "
                         "parte del nome e premere Invio."));
    hideMatches();
    showOutcome(kNotice, in ? QStringLiteral("Pronto per registrare gli ingressi.")
                            : QStringLiteral("Pronto per registrare le uscite."));
    txtCodice->setFocus(Qt::OtherFocusReason);
}

QDate TfrmAccoglienza::dayShown() const
{
    return m_day.isValid() ? m_day : Clock::today();
}

void TfrmAccoglienza::showDay(const QDate &day)
{
    // Today's list follows the clock past midnight; another day stays.
    m_day = day == Clock::today() ? QDate() : day;
    refresh();
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
    Attendance::Register reg;
    try {
        bookings = Bookings::read(m_archive);
        reg = Attendance::Register::read(m_archive);
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        return false;
    }
    {
        // The days: the event's, those with records, today.
        const QSignalBlocker quiet(cboGiorno);
        QList<QDate> days = reg.daysToShow(Attendance::eventDays(m_event.dataInizio, m_event.dataFine), Clock::today());
        if (!days.contains(dayShown()))
            m_day = QDate();
        cboGiorno->clear();
        for (const QDate &day : days)
            cboGiorno->addItem(day == Clock::today() ? QStringLiteral("oggi, ") + formatDate(day) : formatDate(day),
                               day);
        cboGiorno->setCurrentIndex(cboGiorno->findData(dayShown()));
    }
    const QDate day = dayShown();
    m_bookings.clear();
    for (const Booking &b : bookings)
        m_bookings.insert(b.number, b);
    const QHash<qint64, Attendance::Day> days = Attendance::daysOf(reg, day);
    qsizetype in = 0, out = 0;
    for (const Booking &b : bookings) {
        const auto d = days.constFind(b.number);
        if (d != days.cend() && d->in) {
            ++in;
            out += d->out.has_value();
        }
    }
    const QString when = day == Clock::today() ? QStringLiteral("oggi") : QStringLiteral("il ") + formatDate(day);
    lblTotali->setText(QStringLiteral("Presenti %1 %2 su %3 prenotati").arg(when).arg(in).arg(bookings.size())
                       + (out ? QStringLiteral(", usciti %1").arg(out) : QString()));

    struct Line
    {
        Passage passage;
        Attendance::Entry entry;
    };
    QList<Line> latest;
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        if (it->in)
            latest.append({Passage::In, *it->in});
        if (it->out)
            latest.append({Passage::Out, *it->out});
    }
    std::sort(latest.begin(), latest.end(), [](const Line &a, const Line &b) {
        if (a.entry.date != b.entry.date)
            return a.entry.date > b.entry.date;
        if (a.entry.time != b.entry.time)
            return a.entry.time > b.entry.time;
        if (a.passage != b.passage)
            return a.passage > b.passage; // an exit after the entry of the same second
        return a.entry.number > b.entry.number;
    });
    const QString selected = lstIngressi->currentItem() ? lstIngressi->currentItem()->data(Qt::UserRole).toString()
                                                        : QString();
    lstIngressi->clear();
    m_shown.clear();
    for (const Line &l : latest) {
        const Attendance::Day &d = days[l.entry.reservation];
        QString text = l.entry.when(day) + QStringLiteral("   ") + passageWord(l.passage).leftJustified(8)
                       + QStringLiteral("   Posto ") + l.entry.posto + QStringLiteral("   ")
                       + nameOf(m_bookings, l.entry.reservation);
        if (l.passage == Passage::Out)
            if (const std::optional<qint64> seconds = d.seconds())
                text += QStringLiteral("   ") + Attendance::hoursText(*seconds) + QStringLiteral(" ore");
        const QString key = keyOf(l.passage, l.entry.number);
        auto *item = new QListWidgetItem(text, lstIngressi);
        item->setData(Qt::UserRole, key);
        m_shown.insert(key, {l.passage, l.entry, l.passage == Passage::In && d.out.has_value()});
    }
    selectRecord(selected);
    return true;
}

void TfrmAccoglienza::selectRecord(const QString &key)
{
    for (int row = 0; row < lstIngressi->count(); ++row)
        if (lstIngressi->item(row)->data(Qt::UserRole).toString() == key) {
            lstIngressi->setCurrentRow(row);
            lstIngressi->scrollToItem(lstIngressi->item(row));
            return;
        }
}

void TfrmAccoglienza::act(Passage passage, const std::function<Attendance::DeskAnswer()> &action)
{
    hideMatches();
    Attendance::DeskAnswer answer;
    try {
        answer = action();
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        showOutcome(kRefused, (passage == Passage::In ? QStringLiteral("Ingresso non registrato")
                                                       : QStringLiteral("Uscita non registrata")));
        txtCodice->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (answer.kind == Attendance::DeskAnswer::Choose) {
        listMatches(answer);
        return;
    }
    if (!answer.text.isEmpty())
        showOutcome(answer.style(), answer.text);
    if (answer.entry) {
        // What was just done is today's: the list shows today again.
        showDay(Clock::today());
        selectRecord(keyOf(passage, answer.entry->number));
    } else {
        refresh();
    }
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::txtCodiceEnter()
{
    const QString typed = trimmed(txtCodice->text());
    if (typed.isEmpty())
        return;
    txtCodice->clear();
    act(passage(), [&] { return m_desk.scan(typed, passage(), Clock::now()); });
}

void TfrmAccoglienza::listMatches(const Attendance::DeskAnswer &answer)
{
    QHash<qint64, Attendance::Day> today;
    try {
        today = Attendance::daysOf(Attendance::Register::read(m_archive), Clock::today());
    } catch (const ArchiveError &) {
        // Only the words "già entrato" are missing: the check-in itself decides.
    }
    lstCorrispondenze->clear();
    for (const Booking &b : answer.matches) {
        QString text = Bookings::describe(b);
        if (b.pending)
            text += QStringLiteral("   DA CONFERMARE");
        const auto d = today.constFind(b.number);
        if (d != today.cend() && d->out)
            text += QStringLiteral("   (gi\u00E0 uscito ") + Attendance::whenSaid(*d->out, Clock::today())
                    + QLatin1Char(')');
        else if (d != today.cend() && d->in)
            text += QStringLiteral("   (gi\u00E0 entrato ") + Attendance::whenSaid(*d->in, Clock::today())
                    + QLatin1Char(')');
        auto *item = new QListWidgetItem(text, lstCorrispondenze);
        item->setData(Qt::UserRole, b.number);
    }
    lstCorrispondenze->show();
    lstCorrispondenze->setCurrentRow(0);
    lstCorrispondenze->setFocus(Qt::OtherFocusReason);
    showOutcome(kNotice, answer.text);
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
    act(passage(), [&] {
        if (const std::optional<Booking> b = Bookings::readOne(m_archive, number))
            return m_desk.pass(*b, passage(), Clock::now());
        // Its seat was taken away since it was listed.
        Attendance::DeskAnswer gone;
        gone.text = QStringLiteral("La prenotazione non ha pi\u00F9 un posto assegnato\nNulla \u00E8 stato registrato");
        return gone;
    });
}

void TfrmAccoglienza::btnAnnullaIngressoClick()
{
    hideMatches();
    const QListWidgetItem *item = lstIngressi->currentItem();
    if (!item || !m_shown.contains(item->data(Qt::UserRole).toString())) {
        Messages::caution(QStringLiteral("Selezionare nell'elenco degli ultimi passaggi l'ingresso o l'uscita da "
                                         "annullare."),
                          this);
        return;
    }
    const Shown shown = m_shown.value(item->data(Qt::UserRole).toString());
    const QString who = nameOf(m_bookings, shown.entry.reservation);
    const bool in = shown.passage == Passage::In;
    if (in && shown.hasExit) {
        Messages::caution(QStringLiteral("%1 ha gi\u00E0 un'uscita registrata in quel giorno: annullare prima "
                                         "l'uscita, poi l'ingresso.")
                              .arg(who),
                          this);
        return;
    }
    const QString what = in ? QStringLiteral("l'ingresso") : QStringLiteral("l'uscita");
    if (!Messages::question(QStringLiteral("Annullare %1 di %2 (posto %3) registrat%4 %5?")
                                .arg(what, who, shown.entry.posto, in ? QStringLiteral("o") : QStringLiteral("a"),
                                     Attendance::whenSaid(shown.entry, Clock::today())),
                            this))
        return;
    bool undone = false;
    try {
        undone = Attendance::undo(Attendance::archiveBeside(m_archive, shown.passage), shown.entry);
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        return;
    }
    const QString word = passageWord(shown.passage);
    showOutcome(kNotice,
                undone ? QStringLiteral("%1 annullat%2\n%3\nPosto %4")
                             .arg(word, in ? QStringLiteral("o") : QStringLiteral("a"), who, shown.entry.posto)
                       : QStringLiteral("%1 non \u00E8 pi\u00F9 quell%2 letto: nulla \u00E8 cambiato\n%3")
                             .arg(word, in ? QStringLiteral("o") : QStringLiteral("a"), who));
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::btnNuovoIngressoClick()
{
    hideMatches();
    if (!m_card.walkIn)
        return;
    const QString typed = trimmed(txtCodice->text());
    // A code or a seat is not a name to start a card with.
    const QString name = BadgeCode::looksLikeCode(typed) || typed.toLongLong() > 0 ? QString() : typed;
    txtCodice->clear();
    const QPointer<TfrmAccoglienza> desk(this);
    m_card.walkIn(name, [desk](qint64 number) {
        if (desk)
            desk->walkInSaved(number);
    });
}

void TfrmAccoglienza::walkInSaved(qint64 number)
{
    // A walk-in comes in: whatever the desk was set to record.
    act(Passage::In, [&] {
        if (const std::optional<Booking> b = Bookings::readOne(m_archive, number))
            return m_desk.pass(*b, Passage::In, Clock::now());
        Attendance::DeskAnswer none;
        none.text = QStringLiteral("La nuova scheda non ha un posto assegnato\nNessun ingresso registrato");
        return none;
    });
}

void TfrmAccoglienza::openCard(qint64 number)
{
    if (m_card.show)
        m_card.show(number);
}

void TfrmAccoglienza::btnPresenzeClick()
{
    hideMatches();
    QList<Booking> bookings;
    QHash<qint64, Attendance::Day> days;
    const QDate day = dayShown();
    try {
        bookings = Bookings::read(m_archive);
        days = Attendance::daysOf(Attendance::Register::read(m_archive), day);
    } catch (const ArchiveError &) {
        // A list that called everyone absent would be believed.
        Messages::failure(Messages::kArchiveAccess, this);
        return;
    }
    m_chosen = 0;
    {
        TfrmPresenze list(this, bookings, day, days);
        list.exec();
    }
    refresh();
    txtCodice->setFocus(Qt::OtherFocusReason);
    if (m_chosen > 0)
        openCard(std::exchange(m_chosen, 0));
}

void TfrmAccoglienza::btnFoglioFirmeClick()
{
    hideMatches();
    openSignatureSheet(this, m_event.number, dayShown());
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::btnAttestatiClick()
{
    hideMatches();
    openCertificates(this, m_event.number);
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmAccoglienza::btnGuidaClick()
{
    showGuide(this, GuideTopic::CheckIn);
}

void TfrmAccoglienza::btnEsciClick()
{
    close();
}

SummaryListConfig TfrmPresenze::configuration(TfrmAccoglienza *desk, const QList<Booking> &bookings,
                                              const QDate &day, const QHash<qint64, Attendance::Day> &days)
{
    const auto seen = std::make_shared<const QHash<qint64, Attendance::Day>>(days);
    qsizetype presentCount = 0;
    for (const Booking &b : bookings)
        presentCount += days.value(b.number).in.has_value();
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmPresenze");
    config.caption = QStringLiteral(" Elenco presenze");
    config.source = ReservationLists::bookedSource([path = desk->reservationArchive()] { return path; });
    // "Assente " sorts before "Presente": who is missing comes first, then
    // who is in, each in seat order.
    config.source.numberedLine = [seen, day](const RecordView &record, qint64 number) {
        static const LineLayout seat(TSchedaPrenotazione::layout(),
                                     {{QStringLiteral("Posto n. "), "Numero", 5}, {QStringLiteral("   "), "Cliente", 34}});
        const auto d = seen->constFind(number);
        if (d == seen->cend() || !d->in)
            return QStringLiteral("Assente    ") + seat.line(record);
        QString line = QStringLiteral("Presente   ") + seat.line(record) + QStringLiteral("  ingresso ")
                       + d->in->when(day);
        if (d->out) {
            line += QStringLiteral("  uscita ") + d->out->when(day);
            if (const std::optional<qint64> seconds = d->seconds())
                line += QStringLiteral("  ore ") + Attendance::hoursText(*seconds);
        }
        return line;
    };
    config.lineWidth = 1500;
    config.test = [](const RecordView &record, const QDate &) { return ReservationLists::isBooked(record); };
    config.reportFillFailure = true;
    config.deliver = [desk = QPointer<TfrmAccoglienza>(desk)](const Record &, qint64 number, const QString &) {
        if (desk)
            desk->chooseBooking(number);
    };
    // After the event: the certificates of those present.
    config.tools = {
        {QStringLiteral("btnAttestati"), QStringLiteral("certificate"), QStringLiteral("Attestati"),
         QStringLiteral("Prepara gli attestati di partecipazione dei presenti."),
         [number = desk->event().number](QWidget *list) { openCertificates(list, number); }},
    };
    config.printTitle = QStringLiteral("Presenze del %1 per ").arg(formatDate(day)) + desk->event().titolo
                        + QStringLiteral(": presenti %1 su %2 prenotati").arg(presentCount).arg(bookings.size());
    return config;
}

TfrmPresenze::TfrmPresenze(TfrmAccoglienza *desk, const QList<Booking> &bookings, const QDate &day,
                           const QHash<qint64, Attendance::Day> &days)
    : SummaryListWindow(configuration(desk, bookings, day, days), desk)
{
}
