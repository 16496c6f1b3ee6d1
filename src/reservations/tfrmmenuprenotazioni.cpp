#include "reservations/tfrmmenuprenotazioni.h"

#include "mail/tfrminvioposta.h"
#include "frame/windows.h"
#include "frame/guide.h"
#include "archive/records.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/text.h"
#include "events/eventdialogs.h"
#include "reservations/tfrmmappaposti.h"
#include "eventday/tfrmaccoglienza.h"
#include "eventday/tfrmattestati.h"
#include "eventday/tfrmcartellini.h"
#include "reservations/tfrmprenotazioni.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

QLineEdit *eventBox(const QString &name, bool centred, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setStyleSheet(QStringLiteral("font-weight: bold; color: #7B3F00;"));
    if (centred)
        box->setAlignment(Qt::AlignCenter);
    return box;
}

QLabel *picture(const QString &name, const QString &picture, int size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pictureOfSize(picture, QSize(size, size)));
    return label;
}

} // namespace

TfrmMenuPrenotazioni::TfrmMenuPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmMenuPrenotazioni"));
    setWindowTitle(QStringLiteral(" Quorvane - Posti Assegnati"));
    setWindowIcon(qv::picture(QStringLiteral("logo")));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setStyleSheet(QStringLiteral("QFrame#panel { background: white; border: 1px solid #D3DCE6; border-radius: 10px; }"));
    panel->setMaximumWidth(900);

    auto *heading = new QLabel(QStringLiteral("Posti Assegnati"), panel);
    heading->setStyleSheet(QStringLiteral("font-size: 18pt; font-weight: 700; color: #1F4E79;"));
    lblInformazioni = new QLabel(QStringLiteral("In questo ambiente \u00E8 possibile selezionare un evento fra quelli in "
                                                "archivio ed assegnare posti a sedere ai singoli partecipanti."),
                                 panel);
    lblInformazioni->setObjectName(QStringLiteral("lblInformazioni"));
    lblInformazioni->setWordWrap(true);

    btnSeleziona = new QPushButton(QStringLiteral("Seleziona evento"), panel);
    btnSeleziona->setObjectName(QStringLiteral("btnSeleziona"));
    btnSeleziona->setMinimumWidth(180);
    icoUno = picture(QStringLiteral("icoUno"), QStringLiteral("step1"), 32, panel);
    icoMano01 = picture(QStringLiteral("icoMano01"), QStringLiteral("hand_pointer"), 32, panel);

    txtTitolo = eventBox(QStringLiteral("txtTitolo"), false, panel);
    txtDataInizio = eventBox(QStringLiteral("txtDataInizio"), true, panel);
    txtOraInizio = eventBox(QStringLiteral("txtOraInizio"), true, panel);
    txtDataFine = eventBox(QStringLiteral("txtDataFine"), true, panel);
    txtOraFine = eventBox(QStringLiteral("txtOraFine"), true, panel);
    txtSede = eventBox(QStringLiteral("txtSede"), false, panel);
    txtIndirizzo = eventBox(QStringLiteral("txtIndirizzo"), false, panel);
    txtPosti = eventBox(QStringLiteral("txtPosti"), true, panel);

    btnAssegna = new QPushButton(QStringLiteral("Assegna posti"), panel);
    btnAssegna->setObjectName(QStringLiteral("btnAssegna"));
    btnAssegna->setMinimumWidth(180);
    btnAssegna->setEnabled(false);
    icoDue = picture(QStringLiteral("icoDue"), QStringLiteral("step2"), 32, panel);
    icoMano02 = picture(QStringLiteral("icoMano02"), QStringLiteral("hand_pointer"), 32, panel);
    icoMano02->hide();
    // What can be done with the chosen event besides booking: pictures with
    // their label beside them, usable once an event is chosen.
    imgMappa = new ClickablePicture(QStringLiteral("imgMappa"), qv::picture(QStringLiteral("seat_map")),
                                    QStringLiteral("Mappa dei posti"), panel);
    imgMappa->setAccessibleDescription(QStringLiteral("Visualizza la mappa dei posti dell'evento scelto."));
    imgAccoglienza = new ClickablePicture(QStringLiteral("imgAccoglienza"), qv::picture(QStringLiteral("checkin")),
                                          QStringLiteral("Accoglienza"), panel);
    imgAccoglienza->setAccessibleDescription(
        QStringLiteral("Registra l'ingresso dei partecipanti all'evento scelto."));
    imgCartellini = new ClickablePicture(QStringLiteral("imgCartellini"), qv::picture(QStringLiteral("badge")),
                                         QStringLiteral("Cartellini"), panel);
    imgCartellini->setAccessibleDescription(
        QStringLiteral("Stampa i cartellini con codice QR dei partecipanti all'evento scelto."));
    imgAttestati = new ClickablePicture(QStringLiteral("imgAttestati"), qv::picture(QStringLiteral("certificate")),
                                        QStringLiteral("Attestati"), panel);
    imgAttestati->setAccessibleDescription(
        QStringLiteral("Prepara gli attestati di partecipazione dei presenti all'evento scelto."));
    imgFoglioFirme = new ClickablePicture(QStringLiteral("imgFoglioFirme"), qv::picture(QStringLiteral("signature")),
                                          QStringLiteral("Foglio firme"), panel);
    imgFoglioFirme->setAccessibleDescription(
        QStringLiteral("Stampa il foglio firme di un giorno dell'evento scelto."));
    imgStatistiche = new ClickablePicture(QStringLiteral("imgStatistiche"), qv::picture(QStringLiteral("chart")),
                                          QStringLiteral("Statistiche"), panel);
    imgStatistiche->setAccessibleDescription(
        QStringLiteral("Mostra in grafici i posti, le presenze e le province dei prenotati dell'evento scelto."));
    imgPosta = new ClickablePicture(QStringLiteral("imgPosta"), qv::picture(QStringLiteral("mail_all")),
                                    QStringLiteral("E-mail"), panel);
    imgPosta->setAccessibleDescription(QStringLiteral(
        "Invia per posta elettronica le conferme di prenotazione, un avviso o gli attestati dell'evento scelto."));
    for (ClickablePicture *p : {imgMappa, imgAccoglienza, imgCartellini, imgAttestati, imgFoglioFirme, imgStatistiche, imgPosta}) {
        p->setText(p->accessibleName());
        p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        p->setIconSize(QSize(32, 32));
        p->setToolTip(p->accessibleDescription());
        p->setEnabled(false);
        // The label is drawn bold when the picture is usable: room for that,
        // so it is never cut short.
        QFont bold = p->font();
        bold.setBold(true);
        p->setMinimumWidth(p->iconSize().width() + QFontMetrics(bold).horizontalAdvance(p->text()) + 24);
    }
    lblPrenotati = new QLabel(panel);
    lblPrenotati->setObjectName(QStringLiteral("lblPrenotati"));
    lblPrenotati->setWordWrap(true); // every count named makes a long line

    lblPosizione = new QLabel(this);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->hide();
    lblMemory = new QLabel(QStringLiteral("avvio"), this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    imgGuida = new ClickablePicture(QStringLiteral("imgGuida"), qv::picture(QStringLiteral("guide")),
                                    QStringLiteral("Visualizza la pagina della guida sensibile al contesto."), panel);
    imgEsci = new ClickablePicture(QStringLiteral("imgEsci"), qv::picture(QStringLiteral("close")),
                                   QStringLiteral("Esci da questa schermata di lavoro."), panel);
    for (ClickablePicture *p : {imgGuida, imgEsci}) {
        p->setIconSize(QSize(36, 36));
        p->setAccessibleDescription(p->accessibleName());
        p->setToolTip(p->accessibleName());
    }
    applyStandardShortcuts(this);

    auto label = [panel](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, panel);
        l->setBuddy(buddy);
        return l;
    };
    auto *step1 = new QHBoxLayout;
    step1->addWidget(icoUno);
    step1->addWidget(btnSeleziona);
    step1->addWidget(icoMano01);
    step1->addStretch(1);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(label(QStringLiteral("Titolo evento:"), txtTitolo), 0, 0);
    grid->addWidget(txtTitolo, 0, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Data inizio:"), txtDataInizio), 1, 0);
    grid->addWidget(txtDataInizio, 1, 1);
    grid->addWidget(label(QStringLiteral("Ora inizio:"), txtOraInizio), 1, 2);
    grid->addWidget(txtOraInizio, 1, 3);
    grid->addWidget(label(QStringLiteral("Data fine:"), txtDataFine), 2, 0);
    grid->addWidget(txtDataFine, 2, 1);
    grid->addWidget(label(QStringLiteral("Ora fine:"), txtOraFine), 2, 2);
    grid->addWidget(txtOraFine, 2, 3);
    grid->addWidget(label(QStringLiteral("Sede:"), txtSede), 3, 0);
    grid->addWidget(txtSede, 3, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Indirizzo:"), txtIndirizzo), 4, 0);
    grid->addWidget(txtIndirizzo, 4, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("N. totale posti:"), txtPosti), 5, 0);
    grid->addWidget(txtPosti, 5, 1);
    grid->addWidget(lblPrenotati, 5, 2, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *step2 = new QHBoxLayout;
    step2->addWidget(icoDue);
    step2->addWidget(btnAssegna);
    step2->addWidget(icoMano02);
    step2->addStretch(1);
    // What can be done with the chosen event, on a line of its own under the
    // step's button, so each picture keeps its whole label.
    // Four to a line, in columns.
    auto *dayOfEvent = new QGridLayout;
    dayOfEvent->setContentsMargins(icoDue->sizeHint().width() + 6, 0, 0, 0);
    dayOfEvent->setHorizontalSpacing(18);
    const QList<ClickablePicture *> dayPictures{imgMappa, imgAccoglienza, imgCartellini, imgFoglioFirme, imgAttestati, imgStatistiche, imgPosta};
    constexpr int kPerLine = 4;
    for (int i = 0; i < dayPictures.size(); ++i)
        dayOfEvent->addWidget(dayPictures.at(i), i / kPerLine, i % kPerLine, Qt::AlignLeft);
    dayOfEvent->setColumnStretch(kPerLine, 1);

    auto *tools = new QHBoxLayout;
    tools->addWidget(heading);
    tools->addStretch(1);
    tools->addWidget(imgGuida);
    tools->addWidget(imgEsci);

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(28, 22, 28, 26);
    inner->setSpacing(16);
    inner->addLayout(tools);
    inner->addWidget(lblInformazioni);
    inner->addLayout(step1);
    inner->addLayout(grid);
    inner->addLayout(step2);
    inner->addLayout(dayOfEvent);

    auto *outer = new QVBoxLayout(this);
    outer->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(panel, 10);
    row->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(2);

    setTabOrder(btnSeleziona, txtTitolo);
    QWidget *previous = txtTitolo;
    for (QLineEdit *box : eventBoxes().mid(1)) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, btnAssegna);

    connect(btnSeleziona, &QPushButton::clicked, this, [this] { btnSelezionaClick(); });
    connect(btnAssegna, &QPushButton::clicked, this, [this] { btnAssegnaClick(); });
    connect(txtTitolo, &QLineEdit::textChanged, this, [this] { txtTitoloChange(); });
    connect(imgGuida, &QToolButton::clicked, this, [this] { showGuide(this, GuideTopic::Reservations); });
    connect(imgEsci, &QToolButton::clicked, this, [this] { close(); });
    connect(imgMappa, &QToolButton::clicked, this, [this] { imgMappaClick(); });
    connect(imgAccoglienza, &QToolButton::clicked, this, [this] { imgAccoglienzaClick(); });
    connect(imgCartellini, &QToolButton::clicked, this, [this] { imgCartelliniClick(); });
    connect(imgAttestati, &QToolButton::clicked, this, [this] { imgAttestatiClick(); });
    connect(imgPosta, &QToolButton::clicked, this, [this] { imgPostaClick(); });
    connect(imgFoglioFirme, &QToolButton::clicked, this, [this] { imgFoglioFirmeClick(); });
    connect(imgStatistiche, &QToolButton::clicked, this, [this] { imgStatisticheClick(); });
    for (QLineEdit *box : eventBoxes()) {
        onKeyPress(box, [this](QKeyEvent *event) {
            if (event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete)
                return false;
            discardChoice();
            return true;
        });
    }
    qv::fillScreen(this);
}

QList<QLineEdit *> TfrmMenuPrenotazioni::eventBoxes() const
{
    return {txtTitolo, txtDataInizio, txtOraInizio, txtDataFine, txtOraFine, txtSede, txtIndirizzo, txtPosti};
}

void TfrmMenuPrenotazioni::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised: not a new entry
    lblMemory->setText(QStringLiteral("avvio"));
    for (QLineEdit *box : eventBoxes())
        box->clear();
    lblPosizione->clear();
    icoMano02->hide();
    icoMano01->show();
    btnSeleziona->setEnabled(true);
    btnAssegna->setEnabled(false);
    imgMappa->setEnabled(false);
    lblPrenotati->clear();
    enableDayOfEvent(false);
    btnSeleziona->setFocus(Qt::OtherFocusReason);
}

void TfrmMenuPrenotazioni::txtTitoloChange()
{
    const bool chosen = !trimmed(txtTitolo->text()).isEmpty();
    btnAssegna->setEnabled(chosen);
    imgMappa->setEnabled(chosen);
    icoMano02->setVisible(chosen);
    icoMano01->setVisible(!chosen);
    if (!chosen)
        lblPrenotati->clear();
    enableDayOfEvent(chosen);
}

void TfrmMenuPrenotazioni::enableDayOfEvent(bool chosen)
{
    imgAccoglienza->setEnabled(chosen);
    imgCartellini->setEnabled(chosen);
    imgAttestati->setEnabled(chosen);
    imgFoglioFirme->setEnabled(chosen);
    imgPosta->setEnabled(chosen);
    imgStatistiche->setEnabled(chosen);
}

void TfrmMenuPrenotazioni::discardChoice()
{
    for (QLineEdit *box : eventBoxes())
        box->clear();
    icoMano02->hide();
    icoMano01->show();
    btnSeleziona->setEnabled(true);
    btnAssegna->setEnabled(false);
    imgMappa->setEnabled(false);
    lblPrenotati->clear();
    enableDayOfEvent(false);
}

void TfrmMenuPrenotazioni::btnSelezionaClick()
{
    openEventSearch(this, QStringLiteral("menu_prenotazioni"));
    updateBookedCount();
}

SeatMapEvent TfrmMenuPrenotazioni::chosenEvent() const
{
    return {ProgramFolder::file(QStringLiteral("Posti_Riservati_Evento_") + trimmed(lblPosizione->text())
                                + QStringLiteral(".pro")),
            trimmed(txtTitolo->text()),   trimmed(txtDataInizio->text()), trimmed(txtOraInizio->text()),
            trimmed(txtDataFine->text()), trimmed(txtOraFine->text()),    trimmed(txtSede->text()),
            trimmed(txtIndirizzo->text()), trimmed(txtPosti->text())};
}

void TfrmMenuPrenotazioni::updateBookedCount()
{
    if (trimmed(txtTitolo->text()).isEmpty()) {
        lblPrenotati->clear();
        return;
    }
    const SeatMapEvent event = chosenEvent();
    SeatMap map(SeatMap::totalOf(event.posti));
    // A count that could not be made whole is not shown: it would call seats free.
    lblPrenotati->setText(map.read(event.archivePath) ? map.selectionText() : QString());
}

void TfrmMenuPrenotazioni::btnAssegnaClick()
{
    windows().frmPrenotazioni->bindEvent(chosenEvent());
    lblMemory->setText(QStringLiteral("prenotazioni"));
    close();
}

void TfrmMenuPrenotazioni::imgMappaClick()
{
    if (trimmed(txtTitolo->text()).isEmpty())
        return;
    const SeatMapEvent event = chosenEvent();
    TfrmMappaPosti::open(event, TfrmPrenotazioni::seatDesk(windows().frmPrenotazioni, event));
}

EventInfo TfrmMenuPrenotazioni::chosenEventInfo() const
{
    return eventShownIn(this, trimmed(lblPosizione->text()).toLongLong());
}

void TfrmMenuPrenotazioni::imgAccoglienzaClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number <= 0)
        return;
    // The desk stays open beside the other windows: a booking's card opened
    // from it comes forward bound to this event, and closing it returns here.
    const SeatMapEvent seats = chosenEvent();
    const QPointer<TfrmPrenotazioni> card(windows().frmPrenotazioni);
    auto *desk = TfrmAccoglienza::open(event, TSchedaPrenotazione::archivePath(event.number), {});
    const QPointer<TfrmAccoglienza> back(desk);
    desk->setBookingCard({[card, seats, back](qint64 number) {
                              if (card)
                                  card->showForDesk(seats, number, back);
                          },
                          [card, seats, back](const QString &name, std::function<void(qint64)> saved) {
                              if (card)
                                  card->walkInForDesk(seats, name, back, std::move(saved));
                          }});
}

void TfrmMenuPrenotazioni::imgCartelliniClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number > 0)
        openBadges(this, TSchedaPrenotazione::archivePath(event.number), event);
}

void TfrmMenuPrenotazioni::imgAttestatiClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number > 0)
        openCertificates(this, event.number);
}

void TfrmMenuPrenotazioni::imgPostaClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number > 0)
        openMailSending(this, event);
}

void TfrmMenuPrenotazioni::imgFoglioFirmeClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number > 0)
        openSignatureSheet(this, event.number, Clock::today());
}

void TfrmMenuPrenotazioni::imgStatisticheClick()
{
    const EventInfo event = chosenEventInfo();
    if (event.number > 0 && windows().eventStatistics)
        windows().eventStatistics(this, event.number);
}

QWidget *TfrmMenuPrenotazioni::windowAfterClose() const
{
    if (trimmed(lblMemory->text()) == QLatin1String("prenotazioni"))
        return windows().frmPrenotazioni;
    return windows().mainMenu;
}
