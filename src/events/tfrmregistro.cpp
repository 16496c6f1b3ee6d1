#include "events/tfrmregistro.h"

#include "frame/windows.h"
#include "frame/guide.h"
#include "archive/records.h"
#include "checks/checkdialogs.h"
#include "core/amount.h"
#include "core/text.h"
#include "events/eventdialogs.h"
#include "events/tfrmexpregistro.h"
#include "output/sheetprintdialog.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"
#include "participants/participantdialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

using namespace qv;

namespace {

const int kIconSize = 32;
const int kSectionIconSize = 40;
const int kRowSpacing = 8;

// Declared lengths of the amount boxes: the limit of what the user types.
const int kAmountLength = 15;

const QString kHintCalendar = QStringLiteral("Importa una data dal calendario.");
const QString kHintContact = QStringLiteral("Importa i dati dall'archivio anagrafico dei partecipanti.");

bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

} // namespace

TfrmRegistro::TfrmRegistro(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmRegistro"));
    setWindowTitle(QStringLiteral(" Quorvane - Eventi Programmati"));
    setWindowIcon(qv::picture(QStringLiteral("logo")));

    auto *toolbar = new QFrame(this);
    toolbar->setObjectName(QStringLiteral("panStrumenti"));
    toolbar->setStyleSheet(QStringLiteral(
        "QFrame#panStrumenti { background: white; border-bottom: 1px solid #C9D3DE; }"));
    buildToolbar(toolbar);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrScheda"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own: Tab goes from the last control straight back to the title.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("panScheda"));
    buildSections(area);
    scroll->setWidget(area);
    // On a small screen the box that gets the focus is scrolled into view.
    connect(qApp, &QApplication::focusChanged, scroll, [scroll, area](QWidget *, QWidget *now) {
        if (now && area->isAncestorOf(now))
            scroll->ensureWidgetVisible(now, 20, 20);
    });

    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));

    lblFile01 = hiddenLabel(QStringLiteral("lblFile01"), this);
    lblFile02 = hiddenLabel(QStringLiteral("lblFile02"), this);
    lblFile03 = hiddenLabel(QStringLiteral("lblFile03"), this);
    lblDesc01 = hiddenLabel(QStringLiteral("lblDesc01"), this);
    lblDesc02 = hiddenLabel(QStringLiteral("lblDesc02"), this);
    lblDesc03 = hiddenLabel(QStringLiteral("lblDesc03"), this);

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
}

TfrmRegistro::~TfrmRegistro() = default;

void TfrmRegistro::resizeEvent(QResizeEvent *event)
{
    qv::Workspace::resizeEvent(event);
    // On tall screens the rows move apart a little instead of leaving all the
    // spare room below the card; on small ones the scroll area takes over.
    const int spare = height() - m_toolbar->sizeHint().height() - panInfo->sizeHint().height() - m_compactHeight;
    const int spacing = kRowSpacing + std::clamp(spare / 18, 0, 14);
    for (QGridLayout *grid : m_fieldGrids)
        grid->setVerticalSpacing(spacing);
}

void TfrmRegistro::buildToolbar(QWidget *bar)
{
    auto make = [bar](const char *name, const char *pictureName, const QString &hint) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)),
                                       hint, bar);
        p->setIconSize(QSize(kIconSize, kIconSize));
        return p;
    };
    cmdNuovo = make("cmdNuovo", "new", QStringLiteral("Predispone la schermata per l'inserimento di una nuova scheda."));
    cmdDuplica = make("cmdDuplica", "duplicate",
                      QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda duplicando i dati "
                                     "correnti."));
    cmdSalva = make("cmdSalva", "save", QStringLiteral("Salva la scheda corrente in archivio."));
    cmdTrova = make("cmdTrova", "find", QStringLiteral("Trova una scheda in archivio."));
    cmdFile = make("cmdFile", "attach", QStringLiteral("Allega file alla scheda corrente."));
    cmdStampa = make("cmdStampa", "print", QStringLiteral("Stampa la scheda corrente."));
    cmdPrimo = make("cmdPrimo", "first", QStringLiteral("Visualizza la prima scheda in archivio."));
    cmdIndietro = make("cmdIndietro", "previous", QStringLiteral("Visualizza la scheda precedente in archivio."));
    lblPosizione = new QLabel(bar);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(72);
    lblPosizione->setAccessibleName(QStringLiteral("Numero della scheda"));
    cmdAvanti = make("cmdAvanti", "next", QStringLiteral("Visualizza la scheda successiva in archivio."));
    cmdUltimo = make("cmdUltimo", "last", QStringLiteral("Visualizza l'ultima scheda in archivio."));
    cmdEsporta = make("cmdEsporta", "export",
                      QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."));
    cmdDisponibili = make("cmdDisponibili", "open_events",
                          QStringLiteral("Visualizza l'elenco degli eventi a cui \u00E8 ancora possibile aderire."));
    cmdGuida = make("cmdGuida", "guide", QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    cmdEsci = make("cmdEsci", "close", QStringLiteral("Esci da questa schermata di lavoro."));

    auto separator = [bar] {
        auto *line = new QFrame(bar);
        line->setFrameShape(QFrame::VLine);
        line->setStyleSheet(QStringLiteral("color: #C9D3DE;"));
        line->setFixedHeight(kIconSize);
        return line;
    };
    auto *heading = new QLabel(QStringLiteral("Eventi Programmati"), bar);
    heading->setObjectName(QStringLiteral("lblIntestazione"));
    heading->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: 700; color: #1F4E79; padding: 0 12px;"));

    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(4);
    for (QWidget *w : {cmdNuovo, cmdDuplica, cmdSalva})
        row->addWidget(w);
    row->addWidget(separator());
    for (QWidget *w : {cmdTrova, cmdFile, cmdStampa})
        row->addWidget(w);
    row->addWidget(separator());
    row->addWidget(cmdPrimo);
    row->addWidget(cmdIndietro);
    row->addWidget(lblPosizione);
    row->addWidget(cmdAvanti);
    row->addWidget(cmdUltimo);
    row->addWidget(separator());
    row->addWidget(cmdEsporta);
    row->addWidget(cmdDisponibili);
    row->addStretch(1);
    row->addWidget(heading);
    row->addWidget(separator());
    row->addWidget(cmdGuida);
    row->addWidget(cmdEsci);
}

void TfrmRegistro::buildSections(QWidget *area)
{
    // Section frames first, so every box is born inside its own frame.
    auto section = [area](const char *name, const QString &title) {
        auto *box = new QGroupBox(title, area);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    grpEvento = section("grpEvento", QStringLiteral("Evento"));
    grpPersone = section("grpPersone", QStringLiteral("Organizzazione e contatti"));
    grpPagamento = section("grpPagamento", QStringLiteral("Pagamento"));
    grpAdesioni = section("grpAdesioni", QStringLiteral("Note e adesioni"));

    txtTitolo = editBox(QStringLiteral("txtTitolo"), 50, grpEvento);
    txtTipologia = editBox(QStringLiteral("txtTipologia"), 50, grpEvento);
    txtMaterie = editBox(QStringLiteral("txtMaterie"), 250, grpEvento);
    txtRelatori = editBox(QStringLiteral("txtRelatori"), 250, grpEvento);
    txtDataInizio = editBox(QStringLiteral("txtDataInizio"), 10, grpEvento);
    txtOraInizio = editBox(QStringLiteral("txtOraInizio"), 5, grpEvento);
    txtDataFine = editBox(QStringLiteral("txtDataFine"), 10, grpEvento);
    txtOraFine = editBox(QStringLiteral("txtOraFine"), 5, grpEvento);
    txtSede = editBox(QStringLiteral("txtSede"), 120, grpEvento);
    txtIndirizzo = editBox(QStringLiteral("txtIndirizzo"), 120, grpEvento);

    txtOrganizzatore = editBox(QStringLiteral("txtOrganizzatore"), 50, grpPersone);
    txtRecapitoOrg = editBox(QStringLiteral("txtRecapitoOrg"), 50, grpPersone);
    txtContatto = editBox(QStringLiteral("txtContatto"), 50, grpPersone);
    txtRecapitoCon = editBox(QStringLiteral("txtRecapitoCon"), 50, grpPersone);
    txtCollaboratori = editBox(QStringLiteral("txtCollaboratori"), 250, grpPersone);
    txtCriteri = editBox(QStringLiteral("txtCriteri"), 250, grpPersone);

    txtPagamento = editBox(QStringLiteral("txtPagamento"), 120, grpPagamento);
    txtQuota = editBox(QStringLiteral("txtQuota"), kAmountLength, grpPagamento);
    txtIntestatario = editBox(QStringLiteral("txtIntestatario"), 50, grpPagamento);
    txtIban = editBox(QStringLiteral("txtIban"), 27, grpPagamento);
    txtBanca = editBox(QStringLiteral("txtBanca"), 50, grpPagamento);
    txtAnticipo = editBox(QStringLiteral("txtAnticipo"), kAmountLength, grpPagamento);

    txtNote = editBox(QStringLiteral("txtNote"), 250, grpAdesioni);
    txtDataSca = editBox(QStringLiteral("txtDataSca"), 10, grpAdesioni);
    txtPosti = editBox(QStringLiteral("txtPosti"), 4, grpAdesioni);
    chkCompleto = new QCheckBox(QStringLiteral("Al completo"), grpAdesioni);
    chkCompleto->setObjectName(QStringLiteral("chkCompleto"));
    chkCompleto->setIcon(qv::picture(QStringLiteral("full")));
    chkCompleto->setIconSize(QSize(24, 24));

    auto picture = [](const char *name, const char *pictureName, const QString &hint, QWidget *parent) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)),
                                       hint, parent);
        p->setIconSize(QSize(20, 20));
        p->setFixedSize(26, 26);
        return p;
    };
    impDataInizio = picture("impDataInizio", "calendar_import", kHintCalendar, grpEvento);
    impDataFine = picture("impDataFine", "calendar_import", kHintCalendar, grpEvento);
    impTermine = picture("impTermine", "calendar_import", kHintCalendar, grpAdesioni);
    impContatto01 = picture("impContatto01", "contact_import", kHintContact, grpPersone);
    impContatto02 = picture("impContatto02", "contact_import", kHintContact, grpPersone);
    btnIban = picture("btnIban", "check", QStringLiteral("Verifica l'IBAN."), grpPagamento);

    // Read-only date boxes: only the calendar writes them.
    for (QLineEdit *box : {txtDataInizio, txtDataFine, txtDataSca}) {
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(widthFor(box, QStringLiteral("00/00/00000")));
    }
    for (QLineEdit *box : {txtOraInizio, txtOraFine}) {
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(widthFor(box, QStringLiteral("00:000")));
    }
    for (QLineEdit *box : {txtQuota, txtAnticipo}) {
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(widthFor(box, QStringLiteral("000000000000000,00")));
    }
    txtPosti->setAlignment(Qt::AlignRight);
    txtPosti->setFixedWidth(widthFor(txtPosti, QStringLiteral("000000")));
    txtIban->setFixedWidth(widthFor(txtIban, QStringLiteral("WW00W0000000000000000000000")));
    for (QLineEdit *box : editBoxes()) {
        box->setFixedHeight(26);
        if (box->maximumWidth() == QWIDGETSIZE_MAX)
            box->setMinimumWidth(160);
    }

    // Labels, all as buddies of their boxes.
    QList<QLabel *> firstColumn;
    auto label = [&firstColumn](const QString &text, QWidget *buddy, bool leading = true) {
        auto *l = new QLabel(text, buddy->parentWidget());
        l->setBuddy(buddy);
        if (leading)
            firstColumn.append(l);
        return l;
    };
    // A box followed by its picture and more, then free space.
    auto strip = [](std::initializer_list<QWidget *> widgets) {
        auto *row = new QHBoxLayout;
        row->setSpacing(6);
        for (QWidget *w : widgets)
            row->addWidget(w);
        row->addStretch(1);
        return row;
    };
    auto grid = [] {
        auto *g = new QGridLayout;
        g->setHorizontalSpacing(10);
        g->setVerticalSpacing(kRowSpacing);
        return g;
    };

    // 1: the event.
    auto *g1 = grid();
    g1->addWidget(label(QStringLiteral("Titolo evento:"), txtTitolo), 0, 0);
    g1->addWidget(txtTitolo, 0, 1);
    g1->addWidget(label(QStringLiteral("Tipologia:"), txtTipologia), 1, 0);
    g1->addWidget(txtTipologia, 1, 1);
    g1->addWidget(label(QStringLiteral("Materie trattate:"), txtMaterie), 2, 0);
    g1->addWidget(txtMaterie, 2, 1);
    g1->addWidget(label(QStringLiteral("Relatori:"), txtRelatori), 3, 0);
    g1->addWidget(txtRelatori, 3, 1);
    g1->addWidget(label(QStringLiteral("Data inizio:"), txtDataInizio), 4, 0);
    g1->addLayout(strip({txtDataInizio, impDataInizio, label(QStringLiteral("Ora:"), txtOraInizio, false),
                         txtOraInizio}),
                  4, 1);
    g1->addWidget(label(QStringLiteral("Data fine:"), txtDataFine), 5, 0);
    g1->addLayout(strip({txtDataFine, impDataFine, label(QStringLiteral("Ora:"), txtOraFine, false), txtOraFine}),
                  5, 1);
    g1->addWidget(label(QStringLiteral("Sede:"), txtSede), 6, 0);
    g1->addWidget(txtSede, 6, 1);
    g1->addWidget(label(QStringLiteral("Indirizzo:"), txtIndirizzo), 7, 0);
    g1->addWidget(txtIndirizzo, 7, 1);
    g1->setColumnStretch(1, 1);

    // 2: the people.
    auto *g2 = grid();
    g2->addWidget(label(QStringLiteral("Organizzatore:"), txtOrganizzatore), 0, 0);
    g2->addWidget(txtOrganizzatore, 0, 1);
    g2->addWidget(impContatto01, 0, 2);
    g2->addWidget(label(QStringLiteral("Recapito:"), txtRecapitoOrg), 1, 0);
    g2->addWidget(txtRecapitoOrg, 1, 1);
    g2->addWidget(label(QStringLiteral("Contatto per info:"), txtContatto), 2, 0);
    g2->addWidget(txtContatto, 2, 1);
    g2->addWidget(impContatto02, 2, 2);
    g2->addWidget(label(QStringLiteral("Recapito:"), txtRecapitoCon), 3, 0);
    g2->addWidget(txtRecapitoCon, 3, 1);
    g2->addWidget(label(QStringLiteral("Collaboratori:"), txtCollaboratori), 4, 0);
    g2->addWidget(txtCollaboratori, 4, 1);
    g2->addWidget(label(QStringLiteral("Criteri ammissione:"), txtCriteri), 5, 0);
    g2->addWidget(txtCriteri, 5, 1);
    g2->setColumnStretch(1, 1);

    // 3: the payment.
    auto *g3 = grid();
    g3->addWidget(label(QStringLiteral("Modalit\u00E0 pagamento:"), txtPagamento), 0, 0);
    g3->addWidget(txtPagamento, 0, 1);
    g3->addWidget(label(QStringLiteral("Quota: \u20AC"), txtQuota), 1, 0);
    g3->addLayout(strip({txtQuota}), 1, 1);
    g3->addWidget(label(QStringLiteral("Intestatario C/C:"), txtIntestatario), 2, 0);
    g3->addWidget(txtIntestatario, 2, 1);
    g3->addWidget(label(QStringLiteral("IBAN:"), txtIban), 3, 0);
    g3->addLayout(strip({txtIban, btnIban}), 3, 1);
    g3->addWidget(label(QStringLiteral("Banca d'appoggio:"), txtBanca), 4, 0);
    g3->addWidget(txtBanca, 4, 1);
    g3->addWidget(label(QStringLiteral("Anticipo: \u20AC"), txtAnticipo), 5, 0);
    g3->addLayout(strip({txtAnticipo}), 5, 1);
    g3->setColumnStretch(1, 1);

    // 4: notes and joining.
    auto *g4 = grid();
    g4->addWidget(label(QStringLiteral("Note:"), txtNote), 0, 0);
    g4->addWidget(txtNote, 0, 1);
    g4->addWidget(label(QStringLiteral("Termine adesione:"), txtDataSca), 1, 0);
    g4->addLayout(strip({txtDataSca, impTermine}), 1, 1);
    g4->addWidget(label(QStringLiteral("N. totale posti:"), txtPosti), 2, 0);
    g4->addLayout(strip({txtPosti}), 2, 1);
    g4->addWidget(chkCompleto, 3, 1);
    g4->setColumnStretch(1, 1);

    // The boxes of all four sections start at the same distance from their icon.
    int labelWidth = 0;
    for (QLabel *l : firstColumn)
        labelWidth = std::max(labelWidth, l->sizeHint().width());
    for (QGridLayout *g : {g1, g2, g3, g4})
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
    fill(grpPersone, "section_people", g2);
    fill(grpPagamento, "section_payment", g3);
    fill(grpAdesioni, "section_notes", g4);

    auto *sections = new QGridLayout(area);
    sections->setContentsMargins(14, 10, 14, 10);
    sections->setHorizontalSpacing(14);
    sections->setVerticalSpacing(10);
    sections->addWidget(grpEvento, 0, 0);
    sections->addWidget(grpPersone, 0, 1);
    sections->addWidget(grpPagamento, 1, 0);
    sections->addWidget(grpAdesioni, 1, 1);
    sections->setColumnStretch(0, 1);
    sections->setColumnStretch(1, 1);
    sections->setRowStretch(2, 1);
    m_fieldGrids = {g1, g2, g3, g4};
}

QList<QLineEdit *> TfrmRegistro::editBoxes() const
{
    return {txtTitolo,        txtTipologia,   txtMaterie,   txtRelatori,    txtDataInizio,    txtOraInizio,
            txtDataFine,      txtOraFine,     txtSede,      txtIndirizzo,   txtOrganizzatore, txtRecapitoOrg,
            txtContatto,      txtRecapitoCon, txtCollaboratori, txtCriteri, txtPagamento,     txtQuota,
            txtIntestatario,  txtIban,        txtBanca,     txtAnticipo,    txtNote,          txtDataSca,
            txtPosti};
}

QFrame *TfrmRegistro::highlightOf(const QLineEdit *box) const
{
    const int i = int(editBoxes().indexOf(const_cast<QLineEdit *>(box)));
    return i < 0 ? nullptr : m_highlights.value(i);
}

void TfrmRegistro::buildRules()
{
    // Tab order, highlights.
    const QList<QLineEdit *> boxes = editBoxes();
    for (int i = 1; i < boxes.size(); ++i)
        setTabOrder(boxes[i - 1], boxes[i]);
    setTabOrder(boxes.last(), chkCompleto);
    for (QLineEdit *box : boxes)
        m_highlights.append(attachHighlight(box, QStringLiteral("eff") + box->objectName().mid(3)));

    // The Enter chain; the date boxes open the calendar instead.
    const QList<QPair<QLineEdit *, QLineEdit *>> chain{
        {txtTitolo, txtTipologia},        {txtTipologia, txtMaterie},     {txtMaterie, txtRelatori},
        {txtRelatori, txtDataInizio},     {txtOraInizio, txtDataFine},    {txtOraFine, txtSede},
        {txtSede, txtIndirizzo},          {txtIndirizzo, txtOrganizzatore}, {txtOrganizzatore, txtRecapitoOrg},
        {txtRecapitoOrg, txtContatto},    {txtContatto, txtRecapitoCon},  {txtRecapitoCon, txtCollaboratori},
        {txtCollaboratori, txtCriteri},   {txtCriteri, txtPagamento},     {txtPagamento, txtQuota},
        {txtQuota, txtIntestatario},      {txtIntestatario, txtIban},     {txtIban, txtBanca},
        {txtBanca, txtAnticipo},          {txtAnticipo, txtNote},         {txtNote, txtDataSca},
        {txtPosti, txtTitolo},
    };
    // Arriving by Enter selects the box's text, as arriving by Tab does, so
    // typing replaces a default such as "0,00".
    for (const auto &[from, to] : chain)
        onEnter(from, [to = to] { to->setFocus(Qt::TabFocusReason); });

    // Amounts: digits and "," only, however they arrive (keys with Alt or
    // AltGr, an input method, a paste); formatted when the focus moves on.
    for (QLineEdit *box : {txtQuota, txtAnticipo}) {
        acceptOnly(box, QStringLiteral("0123456789,"));
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), box));
        // A formatted amount may be longer than what can be typed; it is shown
        // whole, and typing cannot make it longer still.
        onKeyPress(box, [box](QKeyEvent *event) {
            const QString text = event->text();
            if (text.isEmpty() || text.at(0).unicode() < 32 || (event->modifiers() & Qt::ControlModifier))
                return false;
            return box->text().size() - box->selectedText().size() >= kAmountLength;
        });
        connect(box, &QLineEdit::textChanged, box, [box](const QString &text) {
            if (box->maxLength() != kAmountLength && text.size() <= kAmountLength)
                box->setMaxLength(kAmountLength);
        });
        onFocusOut(box, [box] { formatAmountBox(box); });
    }

    // Seats: digits only, typed or pasted.
    acceptOnly(txtPosti, QStringLiteral("0123456789"));
    txtPosti->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtPosti));

    // Dates: Backspace or Delete empties the box; any other key opens the calendar.
    const QList<QPair<QLineEdit *, QString>> dates{
        {txtDataInizio, QStringLiteral("data_inizio")},
        {txtDataFine, QStringLiteral("data_fine")},
        {txtDataSca, QStringLiteral("registro")},
    };
    for (const auto &[box, word] : dates) {
        // Those keys are the box's, so no shortcut of the card (F1) takes them.
        reserveKeys(box, [](const QKeyEvent *event) { return isPlainKey(event) && !isModifierOnly(event->key()); });
        onKeyPress(box, [this, box = box, word = word](QKeyEvent *event) {
            const int key = event->key();
            if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
                box->clear();
                return true;
            }
            // Moving on, lone modifier keys and shortcuts (copy) keep their usual meaning.
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab || isModifierOnly(key)
                || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
                return false;
            openCalendar(word);
            return true;
        });
    }

    // IBAN: trimmed and upper case after every change the user makes.
    reshapeWhileTyping(txtIban, [](const QString &text) { return trimmedUpper(text); });

    // Toolbar and pictures.
    const QList<QPair<ClickablePicture *, void (TfrmRegistro::*)()>> clicks{
        {cmdNuovo, &TfrmRegistro::cmdNuovoClick},
        {cmdDuplica, &TfrmRegistro::cmdDuplicaClick},
        {cmdSalva, &TfrmRegistro::cmdSalvaClick},
        {cmdTrova, &TfrmRegistro::cmdTrovaClick},
        {cmdFile, &TfrmRegistro::cmdFileClick},
        {cmdStampa, &TfrmRegistro::cmdStampaClick},
        {cmdPrimo, &TfrmRegistro::cmdPrimoClick},
        {cmdIndietro, &TfrmRegistro::cmdIndietroClick},
        {cmdAvanti, &TfrmRegistro::cmdAvantiClick},
        {cmdUltimo, &TfrmRegistro::cmdUltimoClick},
        {cmdEsporta, &TfrmRegistro::cmdEsportaClick},
        {cmdDisponibili, &TfrmRegistro::cmdDisponibiliClick},
        {cmdGuida, &TfrmRegistro::cmdGuidaClick},
        {cmdEsci, &TfrmRegistro::cmdEsciClick},
        {impDataInizio, &TfrmRegistro::impDataInizioClick},
        {impDataFine, &TfrmRegistro::impDataFineClick},
        {impTermine, &TfrmRegistro::impTermineClick},
        {impContatto01, &TfrmRegistro::impContatto01Click},
        {impContatto02, &TfrmRegistro::impContatto02Click},
        {btnIban, &TfrmRegistro::btnIbanClick},
    };
    m_infoBar = new InfoBar(panInfo);
    for (const auto &[picture, handler] : clicks) {
        connect(picture, &QToolButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
        m_infoBar->addHint(picture, picture->accessibleName());
    }
    m_infoBar->addHint(chkCompleto, QStringLiteral("Contrassegna questa casella per indicare che \u00E8 stato "
                                                   "raggiunto il numero massimo di adesioni."));
    // Keys: the house map for the toolbar; beside a box, F4 runs the picture
    // of the box the user is in (the date boxes open their calendar on any key).
    applyStandardShortcuts(this);
    giveShortcut(impContatto01, QKeySequence(Qt::Key_F4), txtOrganizzatore);
    giveShortcut(impContatto02, QKeySequence(Qt::Key_F4), txtContatto);
    giveShortcut(btnIban, QKeySequence(Qt::Key_F4), txtIban);
    // Everything else (background, frames, labels, boxes) empties the bar.
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);
}

void TfrmRegistro::buildCard()
{
    // The new-card texts are what the boxes hold when the binding is made.
    txtQuota->setText(zeroAmount());
    txtAnticipo->setText(zeroAmount());
    txtPosti->setText(QStringLiteral("0"));

    CardConfig config;
    config.layout = &TSchedaEvento::layout();
    config.archivePath = [] { return TSchedaEvento::archivePath(); };
    config.lblPosizione = lblPosizione;
    config.firstField = txtTitolo;
    config.checksBeforeSave = [this] { return checksBeforeSave(); };
    // An amount still being typed is stored in its finished form.
    config.beforeStore = [this] {
        formatAmountBox(txtQuota);
        formatAmountBox(txtAnticipo);
    };
    config.clearForDuplicate = [this] { clearForDuplicate(); };
    config.duplicateFailureKind = MessageKind::Warning;
    m_card = std::make_unique<CardOperations>(this, config);
}

void TfrmRegistro::showRecord(const qv::Record &record, qint64 number)
{
    m_card->Show(record, number);
}

void TfrmRegistro::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    if (event->spontaneous())
        return; // restored from minimised: not a new entry
    m_card->NuovaScheda();
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

void TfrmRegistro::formatAmountBox(QLineEdit *box)
{
    const QString text = formatAmount(box->text());
    if (text == box->text())
        return;
    if (text.size() > box->maxLength())
        box->setMaxLength(int(text.size())); // shown whole; the field keeps its first 15 characters
    box->setText(text);
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
    m_card->NuovaScheda();
}

void TfrmRegistro::cmdDuplicaClick()
{
    m_card->Duplicate();
}

void TfrmRegistro::cmdSalvaClick()
{
    m_card->Save();
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

void TfrmRegistro::cmdPrimoClick()
{
    m_card->First();
}

void TfrmRegistro::cmdIndietroClick()
{
    m_card->Previous();
}

void TfrmRegistro::cmdAvantiClick()
{
    m_card->Next();
}

void TfrmRegistro::cmdUltimoClick()
{
    m_card->Last();
}

void TfrmRegistro::cmdEsportaClick()
{
    openEventsExport(this);
}

void TfrmRegistro::cmdDisponibiliClick()
{
    openOpenEvents(this);
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
