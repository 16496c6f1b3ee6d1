#include "reservations/tfrmprenotazioni.h"

#include "archive/records.h"
#include "checks/checkdialogs.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "output/sheetprintdialog.h"
#include "participants/participantdialogs.h"
#include "reservations/reservationlists.h"
#include "reservations/tfrmconvalida.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmexpprenotazioni.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

using namespace qv;

namespace {

const int kIconSize = 32;
const int kSectionIconSize = 40;
const int kRowSpacing = 8;

// The card's boxes are all one height, the event header's included.
QLineEdit *cardBox(const QString &name, int maxLength, QWidget *parent)
{
    QLineEdit *box = editBox(name, maxLength, parent);
    box->setFixedHeight(26);
    return box;
}

QLineEdit *headerBox(const QString &name, bool centred, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setProperty("eventHeader", true);
    box->setFixedHeight(26);
    if (centred)
        box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

TfrmPrenotazioni::TfrmPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmPrenotazioni"));
    setWindowTitle(QStringLiteral(" Quorvane - Posti Assegnati"));
    setWindowIcon(qv::picture(QStringLiteral("logo")));

    auto *toolbar = new QFrame(this);
    toolbar->setObjectName(QStringLiteral("panStrumenti"));
    buildToolbar(toolbar);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrScheda"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("panScheda"));
    buildSections(area);
    scroll->setWidget(area);
    connect(qApp, &QApplication::focusChanged, scroll, [scroll, area](QWidget *, QWidget *now) {
        if (now && area->isAncestorOf(now))
            scroll->ensureWidgetVisible(now, 20, 20);
    });

    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    lblFile = hiddenLabel(QStringLiteral("lblFile"), this);
    txtNumero = hiddenLabel(QStringLiteral("txtNumero"), this);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(toolbar);
    outer->addWidget(scroll, 1);
    outer->addWidget(panInfo);

    buildRules();
    buildCard();
    m_toolbar = toolbar;
    m_compactHeight = area->sizeHint().height();
    qv::fillScreen(this);
    // Keys, once the hints are in place (the tooltips show both): the house
    // map for the toolbar; beside a box, F4 runs the picture of that box.
    // No box here gives F4 or a Ctrl key a meaning of its own.
    qv::applyStandardShortcuts(this);
    qv::giveShortcut(impPartecipante, QKeySequence(Qt::Key_F4), txtCliente);
    qv::giveShortcut(btnCodFisc, QKeySequence(Qt::Key_F4), txtCodFisc);
}

TfrmPrenotazioni::~TfrmPrenotazioni() = default;

void TfrmPrenotazioni::resizeEvent(QResizeEvent *event)
{
    qv::Workspace::resizeEvent(event);
    // Spare height spreads the rows a little; a small screen scrolls instead.
    const int spare = height() - m_toolbar->sizeHint().height() - panInfo->sizeHint().height() - m_compactHeight;
    const int spacing = kRowSpacing + std::clamp(spare / 14, 0, 14);
    for (QGridLayout *grid : m_fieldGrids)
        grid->setVerticalSpacing(spacing);
}

void TfrmPrenotazioni::buildToolbar(QWidget *bar)
{
    auto make = [bar](const char *name, const char *pictureName, const QString &hint) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)),
                                       hint, bar);
        p->setIconSize(QSize(kIconSize, kIconSize));
        return p;
    };
    btnNuovo = make("btnNuovo", "new", QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda."));
    btnDuplica = make("btnDuplica", "duplicate",
                      QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda duplicando i dati "
                                     "correnti."));
    btnSalva = make("btnSalva", "save", QStringLiteral("Salva la scheda corrente in archivio."));
    btnTrova = make("btnTrova", "find", QStringLiteral("Trova una scheda in archivio."));
    btnStampa = make("btnStampa", "print", QStringLiteral("Stampa la scheda corrente."));
    btnDaConfermare = make("btnDaConfermare", "open_events",
                           QStringLiteral("Visualizza l'elenco delle prenotazioni in attesa di conferma."));
    btnEsporta = make("btnEsporta", "export",
                      QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."));
    btnGuida = make("btnGuida", "guide", QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    btnEsci = make("btnEsci", "close", QStringLiteral("Esci da questa schermata di lavoro."));
    cmdPrimo = make("cmdPrimo", "first", QStringLiteral("Visualizza la prima scheda in archivio."));
    cmdIndietro = make("cmdIndietro", "previous", QStringLiteral("Visualizza la scheda precedente in archivio."));
    lblPosizione = new QLabel(bar);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(72);
    lblPosizione->setAccessibleName(QStringLiteral("Numero della scheda"));
    cmdAvanti = make("cmdAvanti", "next", QStringLiteral("Visualizza la scheda successiva in archivio."));
    cmdUltimo = make("cmdUltimo", "last", QStringLiteral("Visualizza l'ultima scheda in archivio."));

    auto separator = [bar] {
        auto *line = new QFrame(bar);
        line->setFrameShape(QFrame::VLine);
        line->setProperty("toolSeparator", true);
        line->setFixedHeight(kIconSize);
        return line;
    };
    auto *heading = new QLabel(QStringLiteral("Posti Assegnati"), bar);
    heading->setObjectName(QStringLiteral("lblIntestazione"));

    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(4);
    for (QWidget *w : {btnNuovo, btnDuplica, btnSalva})
        row->addWidget(w);
    row->addWidget(separator());
    for (QWidget *w : {btnTrova, btnStampa, btnDaConfermare, btnEsporta})
        row->addWidget(w);
    row->addWidget(separator());
    row->addWidget(btnGuida);
    row->addWidget(btnEsci);
    row->addWidget(separator());
    for (QWidget *w : std::initializer_list<QWidget *>{cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti, cmdUltimo})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(heading);
}

void TfrmPrenotazioni::buildSections(QWidget *area)
{
    auto section = [area](const char *name, const QString &title) {
        auto *box = new QGroupBox(title, area);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    grpEvento = section("grpEvento", QStringLiteral("Evento"));
    grpPartecipante = section("grpPartecipante", QStringLiteral("Partecipante"));
    grpPosto = section("grpPosto", QStringLiteral("Posto assegnato"));

    txtTitolo = headerBox(QStringLiteral("txtTitolo"), false, grpEvento);
    txtPosti = headerBox(QStringLiteral("txtPosti"), true, grpEvento);
    txtDataInizio = headerBox(QStringLiteral("txtDataInizio"), true, grpEvento);
    txtOraInizio = headerBox(QStringLiteral("txtOraInizio"), true, grpEvento);
    txtDataFine = headerBox(QStringLiteral("txtDataFine"), true, grpEvento);
    txtOraFine = headerBox(QStringLiteral("txtOraFine"), true, grpEvento);
    txtSede = headerBox(QStringLiteral("txtSede"), false, grpEvento);
    txtIndirizzo = headerBox(QStringLiteral("txtIndirizzo"), false, grpEvento);
    for (QLineEdit *box : {txtDataInizio, txtDataFine})
        box->setFixedWidth(widthFor(box, QStringLiteral("00/00/00000")));
    for (QLineEdit *box : {txtOraInizio, txtOraFine, txtPosti})
        box->setFixedWidth(widthFor(box, QStringLiteral("00:0000")));

    txtCliente = cardBox(QStringLiteral("txtCliente"), 50, grpPartecipante);
    txtIndirizzoRes = cardBox(QStringLiteral("txtIndirizzoRes"), 50, grpPartecipante);
    txtComuneRes = cardBox(QStringLiteral("txtComuneRes"), 50, grpPartecipante);
    txtProvRes = provinceBox(QStringLiteral("txtProvRes"), grpPartecipante);
    txtProvRes->setFixedHeight(26);
    txtProvRes->setFixedWidth(widthFor(txtProvRes, QStringLiteral("WW")) + 30);
    txtCapRes = cardBox(QStringLiteral("txtCapRes"), 5, grpPartecipante);
    txtCapRes->setFixedWidth(widthFor(txtCapRes, QStringLiteral("000000")));
    txtCodFisc = cardBox(QStringLiteral("txtCodFisc"), 16, grpPartecipante);
    txtCodFisc->setFixedWidth(widthFor(txtCodFisc, QStringLiteral("WWWWWW00W00W000WW")));
    txtRecapito = cardBox(QStringLiteral("txtRecapito"), 50, grpPartecipante);
    txtTelCel = cardBox(QStringLiteral("txtTelCel"), 30, grpPartecipante);
    txtEmail = cardBox(QStringLiteral("txtEmail"), 50, grpPartecipante);
    btnConferma = new QPushButton(qv::picture(QStringLiteral("mail")), QStringLiteral("Invia notifica"), grpPartecipante);
    btnConferma->setObjectName(QStringLiteral("btnConferma"));
    impPartecipante = new ClickablePicture(QStringLiteral("impPartecipante"), qv::picture(QStringLiteral("contact_import")),
                                           QStringLiteral("Importa i dati dall'archivio anagrafico dei partecipanti."),
                                           grpPartecipante);
    btnCodFisc = new ClickablePicture(QStringLiteral("btnCodFisc"), qv::picture(QStringLiteral("check")),
                                      QStringLiteral("Verifica il codice fiscale."), grpPartecipante);
    for (ClickablePicture *p : {impPartecipante, btnCodFisc})
        p->setIconSize(QSize(24, 24));

    txtPosto = cardBox(QStringLiteral("txtPosto"), 5, grpPosto);
    txtPosto->setAlignment(Qt::AlignCenter);
    txtPosto->setFixedHeight(58);
    txtPosto->setFixedWidth(150);
    lblCaption = new QLabel(QStringLiteral("E' possibile verificare la disponibilit\u00E0 del posto o visualizzare "
                                           "l'elenco di quelli gi\u00E0 prenotati."),
                            grpPosto);
    lblCaption->setObjectName(QStringLiteral("lblDidascalia"));
    lblCaption->setWordWrap(true);
    btnDisponibile = new QPushButton(qv::picture(QStringLiteral("check")),
                                     QStringLiteral("Verifica disponibilit\u00E0 posto"), grpPosto);
    btnDisponibile->setObjectName(QStringLiteral("btnDisponibile"));
    btnPrenotati = new QPushButton(qv::picture(QStringLiteral("find")), QStringLiteral("Visualizza posti gi\u00E0 prenotati"),
                                   grpPosto);
    btnPrenotati->setObjectName(QStringLiteral("btnPrenotati"));
    txtUbicazione = cardBox(QStringLiteral("txtUbicazione"), 250, grpPosto);
    txtAnnotazioni = cardBox(QStringLiteral("txtAnnotazioni"), 250, grpPosto);
    chkDaConfermare = new QCheckBox(QStringLiteral("Da confermare"), grpPosto);
    chkDaConfermare->setObjectName(QStringLiteral("chkDaConfermare"));

    for (QLineEdit *box : {txtCliente, txtIndirizzoRes, txtComuneRes, txtRecapito, txtTelCel, txtEmail, txtUbicazione,
                           txtAnnotazioni, txtTitolo, txtSede, txtIndirizzo})
        box->setMinimumWidth(120);

    QList<QLabel *> firstColumn;
    auto label = [&firstColumn](const QString &text, QWidget *buddy, bool leading = true) {
        auto *l = new QLabel(text, buddy->parentWidget());
        l->setBuddy(buddy);
        if (leading)
            firstColumn.append(l);
        return l;
    };
    auto strip = [](std::initializer_list<QWidget *> widgets, bool stretch = true) {
        auto *row = new QHBoxLayout;
        row->setSpacing(8);
        for (QWidget *w : widgets)
            row->addWidget(w);
        if (stretch)
            row->addStretch(1);
        return row;
    };
    auto grid = [] {
        auto *g = new QGridLayout;
        g->setHorizontalSpacing(10);
        g->setVerticalSpacing(kRowSpacing);
        return g;
    };

    // The event, read-only.
    auto *g1 = grid();
    g1->addWidget(label(QStringLiteral("Titolo evento:"), txtTitolo), 0, 0);
    g1->addWidget(txtTitolo, 0, 1, 1, 5);
    g1->addWidget(label(QStringLiteral("Tot. posti:"), txtPosti, false), 0, 6, Qt::AlignRight);
    g1->addWidget(txtPosti, 0, 7);
    g1->addWidget(label(QStringLiteral("Data inizio:"), txtDataInizio), 1, 0);
    g1->addWidget(txtDataInizio, 1, 1);
    g1->addWidget(label(QStringLiteral("Ora inizio:"), txtOraInizio, false), 1, 2, Qt::AlignRight);
    g1->addWidget(txtOraInizio, 1, 3);
    g1->addWidget(label(QStringLiteral("Data fine:"), txtDataFine, false), 1, 4, Qt::AlignRight);
    g1->addLayout(strip({txtDataFine, label(QStringLiteral("Ora fine:"), txtOraFine, false), txtOraFine}), 1, 5);
    g1->addWidget(label(QStringLiteral("Sede:"), txtSede), 2, 0);
    g1->addWidget(txtSede, 2, 1, 1, 3);
    g1->addWidget(label(QStringLiteral("Indirizzo:"), txtIndirizzo, false), 2, 4, Qt::AlignRight);
    g1->addWidget(txtIndirizzo, 2, 5, 1, 3);
    g1->setColumnStretch(5, 1);

    // The participant.
    auto *g2 = grid();
    g2->addWidget(label(QStringLiteral("Cognome e nome partecipante:"), txtCliente), 0, 0);
    g2->addLayout(strip({txtCliente, impPartecipante}, false), 0, 1);
    g2->addWidget(label(QStringLiteral("Residente in Via / Piazza e numero civico:"), txtIndirizzoRes), 1, 0);
    g2->addWidget(txtIndirizzoRes, 1, 1);
    g2->addWidget(label(QStringLiteral("Comune di residenza:"), txtComuneRes), 2, 0);
    g2->addLayout(strip({txtComuneRes, label(QStringLiteral("Prov."), txtProvRes, false), txtProvRes,
                         label(QStringLiteral("CAP:"), txtCapRes, false), txtCapRes},
                        false),
                  2, 1);
    g2->addWidget(label(QStringLiteral("Codice fiscale:"), txtCodFisc), 3, 0);
    g2->addLayout(strip({txtCodFisc, btnCodFisc}), 3, 1);
    g2->addWidget(label(QStringLiteral("Recapito preferenziale:"), txtRecapito), 4, 0);
    g2->addWidget(txtRecapito, 4, 1);
    g2->addWidget(label(QStringLiteral("Tel. cellulare:"), txtTelCel), 5, 0);
    g2->addWidget(txtTelCel, 5, 1);
    g2->addWidget(label(QStringLiteral("E-mail:"), txtEmail), 6, 0);
    g2->addWidget(txtEmail, 6, 1);
    g2->addLayout(strip({btnConferma}), 7, 1);
    g2->setColumnStretch(1, 1);

    // The seat: its number large, the two seat buttons, where it is, notes.
    auto *g3 = grid();
    auto *seatCaption = label(QStringLiteral("Posto n."), txtPosto, false);
    seatCaption->setObjectName(QStringLiteral("lblPosto"));
    auto *seat = new QHBoxLayout;
    seat->setSpacing(12);
    seat->addWidget(seatCaption);
    seat->addWidget(txtPosto);
    seat->addStretch(1);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(lblCaption);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(btnDisponibile);
    buttonRow->addWidget(btnPrenotati);
    buttonRow->addStretch(1);
    buttons->addLayout(buttonRow);
    g3->addLayout(seat, 0, 0, 1, 2);
    g3->addLayout(buttons, 1, 0, 1, 2);
    g3->addWidget(label(QStringLiteral("Ubicazione posto:"), txtUbicazione), 2, 0);
    g3->addWidget(txtUbicazione, 2, 1);
    g3->addWidget(label(QStringLiteral("Annotazioni:"), txtAnnotazioni), 3, 0);
    g3->addWidget(txtAnnotazioni, 3, 1);
    g3->addWidget(chkDaConfermare, 4, 1);
    g3->setColumnStretch(1, 1);

    // The header's boxes start where the participant's do.
    int labelWidth = 0;
    for (QLabel *l : firstColumn)
        if (l->buddy()->parentWidget() != grpPosto)
            labelWidth = std::max(labelWidth, l->sizeHint().width());
    for (QGridLayout *g : {g1, g2})
        g->setColumnMinimumWidth(0, labelWidth);

    auto fill = [](QGroupBox *box, const char *iconName, QGridLayout *fields) {
        auto *icon = new QLabel(box);
        icon->setObjectName(QStringLiteral("ico") + box->objectName().mid(3));
        icon->setPixmap(pictureOfSize(QString::fromLatin1(iconName), QSize(kSectionIconSize, kSectionIconSize)));
        icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        icon->setFixedWidth(kSectionIconSize + 8);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(10, 16, 14, 12);
        row->setSpacing(12);
        row->addWidget(icon);
        auto *column = new QVBoxLayout;
        column->addLayout(fields);
        column->addStretch(1);
        row->addLayout(column, 1);
    };
    fill(grpEvento, "section_event", g1);
    fill(grpPartecipante, "section_person", g2);
    fill(grpPosto, "section_seat", g3);

    auto *sections = new QGridLayout(area);
    sections->setContentsMargins(14, 10, 14, 10);
    sections->setHorizontalSpacing(14);
    sections->setVerticalSpacing(10);
    sections->addWidget(grpEvento, 0, 0, 1, 2);
    sections->addWidget(grpPartecipante, 1, 0);
    sections->addWidget(grpPosto, 1, 1);
    sections->setColumnStretch(0, 1);
    sections->setColumnStretch(1, 1);
    sections->setRowStretch(2, 1);
    m_fieldGrids = {g1, g2, g3};
}

QList<QWidget *> TfrmPrenotazioni::highlightedBoxes() const
{
    return {txtCliente, txtIndirizzoRes, txtComuneRes, txtProvRes, txtCapRes,
            txtCodFisc, txtRecapito,     txtTelCel,    txtEmail,   txtUbicazione, txtAnnotazioni};
}

QFrame *TfrmPrenotazioni::highlightOf(const QWidget *box) const
{
    const int i = int(highlightedBoxes().indexOf(const_cast<QWidget *>(box)));
    return i < 0 ? nullptr : m_highlights.value(i);
}

void TfrmPrenotazioni::buildRules()
{
    // Tab order: the card, then the event header.
    const QList<QWidget *> order{txtCliente,    txtIndirizzoRes, txtComuneRes,  txtProvRes,     txtCapRes,
                                 txtCodFisc,    txtRecapito,     txtTelCel,     txtEmail,       btnConferma,
                                 txtPosto,      btnDisponibile,  btnPrenotati,  txtUbicazione,  txtAnnotazioni,
                                 chkDaConfermare, txtTitolo,     txtPosti,      txtDataInizio,  txtOraInizio,
                                 txtDataFine,   txtOraFine,      txtSede,       txtIndirizzo};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *box : highlightedBoxes())
        m_highlights.append(attachHighlight(box, QStringLiteral("eff") + box->objectName().mid(3)));

    // Enter: two chains, the second through the read-only event header.
    const QList<QPair<QWidget *, QWidget *>> chain{
        {txtCliente, txtIndirizzoRes}, {txtIndirizzoRes, txtComuneRes}, {txtComuneRes, txtProvRes},
        {txtProvRes, txtCapRes},       {txtCapRes, txtCodFisc},         {txtCodFisc, txtRecapito},
        {txtRecapito, txtTelCel},      {txtTelCel, txtEmail},           {txtEmail, btnConferma},
        {txtPosto, txtUbicazione},     {txtUbicazione, txtAnnotazioni}, {txtAnnotazioni, txtTitolo},
        {txtTitolo, txtPosti},         {txtPosti, txtDataInizio},       {txtDataInizio, txtOraInizio},
        {txtOraInizio, txtDataFine},   {txtDataFine, txtOraFine},       {txtOraFine, txtSede},
        {txtSede, txtIndirizzo},       {txtIndirizzo, txtCliente},
    };
    for (const auto &[from, to] : chain)
        onEnter(from, [to = to] { to->setFocus(Qt::TabFocusReason); });

    // Typing rules: seat, fiscal code and province trimmed and upper case, the
    // e-mail address trimmed, at every change.
    const auto upper = [](const QString &text) { return trimmedUpper(text); };
    reshapeWhileTyping(txtPosto, upper);
    reshapeWhileTyping(txtCodFisc, upper);
    reshapeWhileTyping(txtProvRes->lineEdit(), upper);
    reshapeWhileTyping(txtEmail, [](const QString &text) { return trimmed(text); });
    onFocusOut(txtProvRes, [this] {
        const QString clean = trimmedUpper(txtProvRes->currentText());
        if (clean != txtProvRes->currentText())
            txtProvRes->setEditText(clean);
    });
    onFocusOut(txtEmail, [this] {
        const QString clean = trimmed(txtEmail->text());
        if (clean != txtEmail->text())
            txtEmail->setText(clean);
    });
    // Arriving in the province box forgets the list choice, not the text.
    txtProvRes->installEventFilter(this);

    const QList<QPair<ClickablePicture *, void (TfrmPrenotazioni::*)()>> clicks{
        {btnNuovo, &TfrmPrenotazioni::btnNuovoClick},
        {btnDuplica, &TfrmPrenotazioni::btnDuplicaClick},
        {btnSalva, &TfrmPrenotazioni::btnSalvaClick},
        {btnTrova, &TfrmPrenotazioni::btnTrovaClick},
        {btnStampa, &TfrmPrenotazioni::btnStampaClick},
        {btnDaConfermare, &TfrmPrenotazioni::btnDaConfermareClick},
        {btnEsporta, &TfrmPrenotazioni::btnEsportaClick},
        {btnGuida, &TfrmPrenotazioni::btnGuidaClick},
        {btnEsci, &TfrmPrenotazioni::btnEsciClick},
        {cmdPrimo, &TfrmPrenotazioni::cmdPrimoClick},
        {cmdIndietro, &TfrmPrenotazioni::cmdIndietroClick},
        {cmdAvanti, &TfrmPrenotazioni::cmdAvantiClick},
        {cmdUltimo, &TfrmPrenotazioni::cmdUltimoClick},
        {impPartecipante, &TfrmPrenotazioni::impPartecipanteClick},
        {btnCodFisc, &TfrmPrenotazioni::btnCodFiscClick},
    };
    m_infoBar = new InfoBar(panInfo);
    for (const auto &[picture, handler] : clicks) {
        connect(picture, &QToolButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
        m_infoBar->addHint(picture, picture->accessibleName());
    }
    connect(btnConferma, &QPushButton::clicked, this, [this] { btnConfermaClick(); });
    connect(btnDisponibile, &QPushButton::clicked, this, [this] { btnDisponibileClick(); });
    connect(btnPrenotati, &QPushButton::clicked, this, [this] { btnPrenotatiClick(); });
    m_infoBar->addHint(btnConferma, QStringLiteral("Invia al partecipante una e-mail di notifica dell'avvenuta "
                                                   "prenotazione del posto a sedere."));
    m_infoBar->addHint(btnDisponibile,
                       QStringLiteral("Verifica la disponibilit\u00E0 del posto assegnato al partecipante."));
    m_infoBar->addHint(btnPrenotati, QStringLiteral("Visualizza il riepilogo dei posti gi\u00E0 prenotati."));
    m_infoBar->addHint(chkDaConfermare, QStringLiteral("Contrassegna questa casella per indicare che la prenotazione "
                                                       "del posto \u00E8 in attesa di conferma."));
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);
}

bool TfrmPrenotazioni::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtProvRes && event->type() == QEvent::FocusIn) {
        const QString text = txtProvRes->currentText();
        if (txtProvRes->currentIndex() >= 0) {
            txtProvRes->setCurrentIndex(-1);
            txtProvRes->setEditText(text);
        }
    }
    return qv::Workspace::eventFilter(watched, event);
}

void TfrmPrenotazioni::buildCard()
{
    CardConfig config;
    config.layout = &TSchedaPrenotazione::layout();
    config.archivePath = [this] { return archivePath(); };
    config.lblPosizione = lblPosizione;
    config.firstField = txtCliente;
    config.checksBeforeSave = [this] { return checksBeforeSave(); };
    config.beforeStore = [this] { txtNumero->setText(TSchedaPrenotazione::Numero(txtPosto->text())); };
    // The copy books a further seat: the seat is cleared before the archive
    // is opened, so a failing archive can never leave the old seat to be
    // booked twice.
    config.clearForDuplicate = [this] {
        txtPosto->clear();
        txtNumero->clear();
    };
    m_card = std::make_unique<CardOperations>(this, config);
}

QString TfrmPrenotazioni::archivePath() const
{
    return trimmed(lblFile->text());
}

void TfrmPrenotazioni::showRecord(const qv::Record &record, qint64 number)
{
    m_card->Show(record, number);
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
    m_card->NuovaScheda();
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
    m_card->Duplicate();
}

void TfrmPrenotazioni::btnSalvaClick()
{
    m_card->Save();
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

void TfrmPrenotazioni::btnEsportaClick()
{
    openReservationsExport(this, lblFile->text());
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
    m_card->First();
}

void TfrmPrenotazioni::cmdIndietroClick()
{
    m_card->Previous();
}

void TfrmPrenotazioni::cmdAvantiClick()
{
    m_card->Next();
}

void TfrmPrenotazioni::cmdUltimoClick()
{
    m_card->Last();
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
    composeMail(txtEmail->text(), ReservationLists::noticeSubject(), ReservationLists::noticeBody(notice));
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
