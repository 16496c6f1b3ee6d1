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
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

using namespace qv;

namespace {

const int kColumnIconSize = 28;
const int kNavigationIconSize = 28;
const int kSectionIconSize = 40;
const int kRowSpacing = 6;
const int kBoxHeight = 28;

QFont boxFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

} // namespace

TfrmClienti::TfrmClienti(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmClienti"));
    setWindowTitle(QStringLiteral(" Quorvane - Anagrafica Partecipanti"));
    setWindowIcon(qv::picture(QStringLiteral("logo")));

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrScheda"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own: Tab goes from the last control straight back to the name.
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

    QWidget *column = buildButtonColumn();

    panInfo = new QLabel(QStringLiteral("Pronto per archiviare una nuova scheda..."), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    QWidget *navigation = buildNavigation();

    lblFile01 = hiddenLabel(QStringLiteral("lblFile01"), this);
    lblFile02 = hiddenLabel(QStringLiteral("lblFile02"), this);
    lblFile03 = hiddenLabel(QStringLiteral("lblFile03"), this);
    lblDesc01 = hiddenLabel(QStringLiteral("lblDesc01"), this);
    lblDesc02 = hiddenLabel(QStringLiteral("lblDesc02"), this);
    lblDesc03 = hiddenLabel(QStringLiteral("lblDesc03"), this);

    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("panBasso"));
    bottom->setStyleSheet(QStringLiteral("QFrame#panBasso { background: white; border-top: 1px solid #C9D3DE; }"));
    auto *bottomRow = new QHBoxLayout(bottom);
    bottomRow->setContentsMargins(0, 0, 12, 0);
    bottomRow->setSpacing(0);
    bottomRow->addWidget(panInfo, 1);
    bottomRow->addWidget(navigation);
    m_bottom = bottom;

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(scroll, 1);
    middle->addWidget(column);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(middle, 1);
    outer->addWidget(bottom);

    buildRules();
    buildCard();
    // Keys for the pictures, once their hints are in place; F4 presses the
    // check or mail picture beside the box being typed in.
    qv::applyStandardShortcuts(this);
    const QList<QPair<QAbstractButton *, QWidget *>> besideBoxes{
        {btnCodFisc, txtCodFisc}, {btnCarta, txtCarta}, {btnPartitaIva, txtPartitaIva},
        {btnIban, txtIban},       {btnEmail, txtEmail},
    };
    for (const auto &[picture, box] : besideBoxes)
        qv::giveShortcut(picture, QKeySequence(Qt::Key_F4), box);
    m_compactHeight = area->sizeHint().height();
    qv::fillScreen(this);
}

TfrmClienti::~TfrmClienti() = default;

void TfrmClienti::resizeEvent(QResizeEvent *event)
{
    qv::Workspace::resizeEvent(event);
    // On tall screens the rows move apart a little; on small ones the scroll area takes over.
    const int spare = height() - m_bottom->sizeHint().height() - m_compactHeight;
    const int spacing = kRowSpacing + std::clamp(spare / 14, 0, 18);
    for (QGridLayout *grid : m_fieldGrids)
        grid->setVerticalSpacing(spacing);
}

QWidget *TfrmClienti::buildButtonColumn()
{
    auto *column = new QFrame(this);
    column->setObjectName(QStringLiteral("panPulsanti"));
    column->setStyleSheet(QStringLiteral(
        "QFrame#panPulsanti { background: white; border-left: 1px solid #C9D3DE; }"
        "QFrame#panPulsanti QToolButton { text-align: left; padding: 3px 6px; }"));

    auto make = [column](const char *name, const char *pictureName, const QString &label) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)), label,
                                       column);
        p->setText(label);
        p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        p->setIconSize(QSize(kColumnIconSize, kColumnIconSize));
        p->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return p;
    };
    cmdNuovo = make("cmdNuovo", "new", QStringLiteral("Nuovo"));
    cmdDuplica = make("cmdDuplica", "duplicate", QStringLiteral("Duplica"));
    cmdFile = make("cmdFile", "attach", QStringLiteral("Allega file"));
    cmdSalva = make("cmdSalva", "save", QStringLiteral("Salva"));
    cmdTrova = make("cmdTrova", "find", QStringLiteral("Trova"));
    cmdAnteprima = make("cmdAnteprima", "preview", QStringLiteral("Anteprima"));
    cmdStampa = make("cmdStampa", "print", QStringLiteral("Stampa"));
    cmdPDF = make("cmdPDF", "pdf", QStringLiteral("Crea PDF"));
    cmdRicontatta = make("cmdRicontatta", "recontact", QStringLiteral("Da ricontattare"));
    cmdEsporta = make("cmdEsporta", "excel", QStringLiteral("Esporta archivio"));
    cmdGuida = make("cmdGuida", "guide", QStringLiteral("Guida"));
    cmdEsci = make("cmdEsci", "close", QStringLiteral("Esci"));

    auto *heading = new QLabel(QStringLiteral("Anagrafica\nPartecipanti"), column);
    heading->setObjectName(QStringLiteral("lblIntestazione"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: 700; color: #1F4E79; padding: 4px;"));
    auto *logo = new QLabel(column);
    logo->setPixmap(pictureOfSize(QStringLiteral("menu_participants"), QSize(48, 48)));
    logo->setAlignment(Qt::AlignCenter);

    auto separator = [column] {
        auto *line = new QFrame(column);
        line->setFrameShape(QFrame::HLine);
        line->setStyleSheet(QStringLiteral("color: #C9D3DE;"));
        return line;
    };
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(8, 10, 8, 10);
    layout->setSpacing(2);
    layout->addWidget(logo);
    layout->addWidget(heading);
    layout->addWidget(separator());
    for (QWidget *w : {cmdNuovo, cmdDuplica, cmdFile, cmdSalva})
        layout->addWidget(w);
    layout->addWidget(separator());
    for (QWidget *w : {cmdTrova, cmdAnteprima, cmdStampa, cmdPDF})
        layout->addWidget(w);
    layout->addWidget(separator());
    for (QWidget *w : {cmdRicontatta, cmdEsporta})
        layout->addWidget(w);
    layout->addWidget(separator());
    for (QWidget *w : {cmdGuida, cmdEsci})
        layout->addWidget(w);
    layout->addStretch(1);
    column->setFixedWidth(std::max(190, column->sizeHint().width()));
    return column;
}

QWidget *TfrmClienti::buildNavigation()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("panNavigazione"));
    auto make = [bar](const char *name, const char *pictureName, const QString &hint) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)), hint,
                                       bar);
        p->setIconSize(QSize(kNavigationIconSize, kNavigationIconSize));
        return p;
    };
    cmdPrimo = make("cmdPrimo", "first", QStringLiteral("Visualizza la prima scheda in archivio."));
    cmdIndietro = make("cmdIndietro", "previous", QStringLiteral("Visualizza la scheda precedente in archivio."));
    lblPosizione = new QLabel(bar);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(80);
    lblPosizione->setAccessibleName(QStringLiteral("Numero della scheda"));
    cmdAvanti = make("cmdAvanti", "next", QStringLiteral("Visualizza la scheda successiva in archivio."));
    cmdUltimo = make("cmdUltimo", "last", QStringLiteral("Visualizza l'ultima scheda in archivio."));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 3, 0, 3);
    row->setSpacing(4);
    for (QWidget *w : {static_cast<QWidget *>(cmdPrimo), static_cast<QWidget *>(cmdIndietro),
                       static_cast<QWidget *>(lblPosizione), static_cast<QWidget *>(cmdAvanti),
                       static_cast<QWidget *>(cmdUltimo)})
        row->addWidget(w);
    return bar;
}

void TfrmClienti::buildSections(QWidget *area)
{
    auto section = [area](const char *name, const QString &title) {
        auto *box = new QGroupBox(title, area);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    grpAnagrafica = section("grpAnagrafica", QStringLiteral("Dati anagrafici e residenza"));
    grpRecapiti = section("grpRecapiti", QStringLiteral("Recapiti"));
    grpPagamenti = section("grpPagamenti", QStringLiteral("Codici e pagamento"));
    grpProfilo = section("grpProfilo", QStringLiteral("Documento e profilo"));
    grpQuestioni = section("grpQuestioni", QStringLiteral("Questioni in sospeso e note"));

    txtCliente = editBox(QStringLiteral("txtCliente"), 50, grpAnagrafica);
    txtDataNasc = editBox(QStringLiteral("txtDataNasc"), 30, grpAnagrafica);
    txtComuneNasc = editBox(QStringLiteral("txtComuneNasc"), 50, grpAnagrafica);
    txtProvNasc = new ProvinceBox(QStringLiteral("txtProvNasc"), grpAnagrafica);
    txtSesso = editBox(QStringLiteral("txtSesso"), 1, grpAnagrafica);
    txtRecapito = editBox(QStringLiteral("txtRecapito"), 50, grpAnagrafica);
    txtIndirizzoRes = editBox(QStringLiteral("txtIndirizzoRes"), 50, grpAnagrafica);
    txtProvRes = new ProvinceBox(QStringLiteral("txtProvRes"), grpAnagrafica);
    txtComuneRes = editBox(QStringLiteral("txtComuneRes"), 50, grpAnagrafica);
    txtCapRes = editBox(QStringLiteral("txtCapRes"), 5, grpAnagrafica);
    txtEstremi = editBox(QStringLiteral("txtEstremi"), 250, grpAnagrafica);

    txtTelCasa = editBox(QStringLiteral("txtTelCasa"), 30, grpRecapiti);
    txtTelUff = editBox(QStringLiteral("txtTelUff"), 30, grpRecapiti);
    txtTelCel = editBox(QStringLiteral("txtTelCel"), 30, grpRecapiti);
    txtFax = editBox(QStringLiteral("txtFax"), 30, grpRecapiti);
    txtEmail = editBox(QStringLiteral("txtEmail"), 50, grpRecapiti);

    txtCodFisc = editBox(QStringLiteral("txtCodFisc"), 16, grpPagamenti);
    txtCarta = editBox(QStringLiteral("txtCarta"), 30, grpPagamenti);
    txtScadeCarta = editBox(QStringLiteral("txtScadeCarta"), 30, grpPagamenti);
    txtPartitaIva = editBox(QStringLiteral("txtPartitaIva"), 11, grpPagamenti);
    txtIban = editBox(QStringLiteral("txtIban"), 27, grpPagamenti);

    txtDocumento = editBox(QStringLiteral("txtDocumento"), 120, grpProfilo);
    txtOccupazione = editBox(QStringLiteral("txtOccupazione"), 50, grpProfilo);
    txtCivile = editBox(QStringLiteral("txtCivile"), 50, grpProfilo);
    txtTitoli = editBox(QStringLiteral("txtTitoli"), 120, grpProfilo);
    txtProdotti = editBox(QStringLiteral("txtProdotti"), 120, grpProfilo);
    txtZona = editBox(QStringLiteral("txtZona"), 50, grpProfilo);

    txtQuestioni = editBox(QStringLiteral("txtQuestioni"), 250, grpQuestioni);
    chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), grpQuestioni);
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    txtNote = editBox(QStringLiteral("txtNote"), 250, grpQuestioni);

    auto picture = [](const char *name, const char *pictureName, const QString &hint, QWidget *parent) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), qv::picture(QString::fromLatin1(pictureName)), hint,
                                       parent);
        p->setIconSize(QSize(22, 22));
        return p;
    };
    btnEmail = picture("btnEmail", "mail", QStringLiteral("Invia una e-mail all'indirizzo indicato."), grpRecapiti);
    btnCodFisc = picture("btnCodFisc", "check", QStringLiteral("Verifica il codice fiscale."), grpPagamenti);
    btnCarta = picture("btnCarta", "check", QStringLiteral("Verifica il numero di carta di credito."), grpPagamenti);
    btnPartitaIva = picture("btnPartitaIva", "check", QStringLiteral("Verifica il numero di partita IVA."), grpPagamenti);
    btnIban = picture("btnIban", "check", QStringLiteral("Verifica l'IBAN."), grpPagamenti);

    const QFont font = boxFont();
    for (QWidget *box : editBoxes()) {
        box->setFont(font);
        box->setFixedHeight(kBoxHeight);
        box->setMinimumWidth(90);
    }
    chkRicontatta->setFont(font);
    txtDataNasc->setAlignment(Qt::AlignCenter);
    txtSesso->setAlignment(Qt::AlignCenter);
    txtSesso->setFixedWidth(widthFor(txtSesso, QStringLiteral("WW")));
    txtCapRes->setFixedWidth(widthFor(txtCapRes, QStringLiteral("000000")));
    for (ProvinceBox *box : {txtProvNasc, txtProvRes}) {
        box->lineEdit()->setFont(font); // the combo gave its box a font of its own
        box->setFixedWidth(widthFor(box, QStringLiteral("WW")) + 28);
    }

    // A cell: the label just above its box, the box followed by its picture.
    auto cell = [](const QString &text, QWidget *box, QWidget *picture = nullptr) {
        auto *label = new QLabel(text, box->parentWidget());
        label->setObjectName(QStringLiteral("lbl") + box->objectName().mid(3));
        label->setBuddy(box);
        auto *row = new QHBoxLayout;
        row->setSpacing(4);
        if (box->maximumWidth() < QWIDGETSIZE_MAX)
            row->addWidget(box, 0, Qt::AlignLeft); // a short box keeps to the left of its cell
        else
            row->addWidget(box, 1);
        if (picture)
            row->addWidget(picture);
        auto *cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(label);
        cell->addLayout(row);
        return cell;
    };
    auto grid = [] {
        auto *g = new QGridLayout;
        g->setHorizontalSpacing(12);
        g->setVerticalSpacing(kRowSpacing);
        return g;
    };

    // 1: who the person is and where they live.
    auto *g1 = grid();
    g1->addLayout(cell(QStringLiteral("Cognome e nome:"), txtCliente), 0, 0);
    g1->addLayout(cell(QStringLiteral("Data di nascita:"), txtDataNasc), 0, 1, 1, 2);
    g1->addLayout(cell(QStringLiteral("Comune di nascita:"), txtComuneNasc), 1, 0);
    g1->addLayout(cell(QStringLiteral("Prov."), txtProvNasc), 1, 1);
    g1->addLayout(cell(QStringLiteral("Sesso:"), txtSesso), 1, 2);
    g1->addLayout(cell(QStringLiteral("Recapito preferenziale:"), txtRecapito), 2, 0, 1, 3);
    g1->addLayout(cell(QStringLiteral("Residente in Via / Piazza e numero civico:"), txtIndirizzoRes), 3, 0);
    g1->addLayout(cell(QStringLiteral("Prov."), txtProvRes), 3, 1);
    g1->addLayout(cell(QStringLiteral("Comune di residenza:"), txtComuneRes), 4, 0);
    g1->addLayout(cell(QStringLiteral("CAP:"), txtCapRes), 4, 1, 1, 2);
    g1->addLayout(cell(QStringLiteral("Modalit\u00E0 di pagamento:"), txtEstremi), 5, 0, 1, 3);
    g1->setColumnStretch(0, 1);
    // Both province boxes are labelled "Prov.": their names say whose province they are.
    txtProvNasc->setAccessibleName(QStringLiteral("Provincia di nascita"));
    txtProvRes->setAccessibleName(QStringLiteral("Provincia di residenza"));

    // 2: how to reach the person.
    auto *g2 = grid();
    g2->addLayout(cell(QStringLiteral("Tel. casa:"), txtTelCasa), 0, 0);
    g2->addLayout(cell(QStringLiteral("Tel. ufficio:"), txtTelUff), 0, 1);
    g2->addLayout(cell(QStringLiteral("Tel. cellulare:"), txtTelCel), 0, 2);
    g2->addLayout(cell(QStringLiteral("Fax:"), txtFax), 1, 0);
    g2->addLayout(cell(QStringLiteral("E-mail:"), txtEmail, btnEmail), 1, 1, 1, 2);
    for (int c = 0; c < 3; ++c)
        g2->setColumnStretch(c, 1);

    // 3: codes, card and bank account, each with its check.
    auto *g3 = grid();
    g3->addLayout(cell(QStringLiteral("Codice fiscale:"), txtCodFisc, btnCodFisc), 0, 0);
    g3->addLayout(cell(QStringLiteral("Carta di credito n."), txtCarta, btnCarta), 0, 1);
    g3->addLayout(cell(QStringLiteral("Scadenza:"), txtScadeCarta), 1, 0);
    g3->addLayout(cell(QStringLiteral("Partita IVA:"), txtPartitaIva, btnPartitaIva), 1, 1);
    g3->addLayout(cell(QStringLiteral("IBAN:"), txtIban, btnIban), 2, 0, 1, 2);
    g3->setColumnStretch(0, 1);
    g3->setColumnStretch(1, 1);

    // 4: document and profile.
    auto *g4 = grid();
    g4->addLayout(cell(QStringLiteral("Estremi documento:"), txtDocumento), 0, 0);
    g4->addLayout(cell(QStringLiteral("Occupazione:"), txtOccupazione), 0, 1);
    g4->addLayout(cell(QStringLiteral("Stato civile:"), txtCivile), 1, 0);
    g4->addLayout(cell(QStringLiteral("Titoli e qualifiche:"), txtTitoli), 1, 1);
    g4->addLayout(cell(QStringLiteral("Prodotti o servizi di interesse:"), txtProdotti), 2, 0);
    g4->addLayout(cell(QStringLiteral("Zona di appartenenza:"), txtZona), 2, 1);
    g4->setColumnStretch(0, 1);
    g4->setColumnStretch(1, 1);

    // 5: pending issues, the recontact mark and notes.
    auto *g5 = grid();
    g5->addLayout(cell(QStringLiteral("Questioni in sospeso:"), txtQuestioni), 0, 0);
    g5->addWidget(chkRicontatta, 1, 0);
    g5->addLayout(cell(QStringLiteral("Note:"), txtNote), 2, 0);
    g5->setColumnStretch(0, 1);

    auto fill = [](QGroupBox *box, const char *iconName, QGridLayout *fields) {
        auto *icon = new QLabel(box);
        icon->setObjectName(QStringLiteral("ico") + box->objectName().mid(3));
        icon->setPixmap(pictureOfSize(QString::fromLatin1(iconName), QSize(kSectionIconSize, kSectionIconSize)));
        icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        icon->setFixedWidth(kSectionIconSize + 8);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(10, 14, 14, 10);
        row->setSpacing(10);
        row->addWidget(icon);
        auto *column = new QVBoxLayout;
        column->addLayout(fields);
        column->addStretch(1);
        row->addLayout(column, 1);
    };
    fill(grpAnagrafica, "section_person", g1);
    fill(grpRecapiti, "section_contacts", g2);
    fill(grpPagamenti, "section_payment", g3);
    fill(grpProfilo, "section_people", g4);
    fill(grpQuestioni, "section_notes", g5);

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(grpAnagrafica);
    left->addWidget(grpRecapiti);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(grpPagamenti);
    right->addWidget(grpProfilo);
    right->addWidget(grpQuestioni);
    right->addStretch(1);
    auto *sections = new QHBoxLayout(area);
    sections->setContentsMargins(12, 6, 12, 8);
    sections->setSpacing(12);
    sections->addLayout(left, 1);
    sections->addLayout(right, 1);
    m_fieldGrids = {g1, g2, g3, g4, g5};
}

QList<QWidget *> TfrmClienti::editBoxes() const
{
    return {txtCliente,   txtDataNasc,   txtComuneNasc, txtProvNasc,    txtSesso,       txtRecapito,
            txtIndirizzoRes, txtProvRes, txtComuneRes,  txtCapRes,      txtEstremi,     txtTelCasa,
            txtTelUff,    txtTelCel,     txtFax,        txtEmail,       txtCodFisc,     txtCarta,
            txtScadeCarta, txtPartitaIva, txtIban,      txtDocumento,   txtOccupazione, txtCivile,
            txtTitoli,    txtProdotti,   txtZona,       txtQuestioni,   txtNote};
}

QFrame *TfrmClienti::highlightOf(const QWidget *box) const
{
    const int i = int(editBoxes().indexOf(const_cast<QWidget *>(box)));
    return i < 0 ? nullptr : m_highlights.value(i);
}

void TfrmClienti::buildRules()
{
    // Tab order down the card, the check box between the pending issues and the notes.
    const QList<QWidget *> boxes = editBoxes();
    QList<QWidget *> tabOrder = boxes;
    tabOrder.insert(tabOrder.indexOf(txtNote), chkRicontatta);
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (QWidget *box : boxes)
        m_highlights.append(attachHighlight(box, QStringLiteral("eff") + box->objectName().mid(3)));

    // Enter moves along the boxes, skipping the check box, and from the notes back to the name.
    for (int i = 0; i < boxes.size(); ++i) {
        QWidget *next = boxes.at((i + 1) % boxes.size());
        onEnter(boxes.at(i), [next] { next->setFocus(Qt::TabFocusReason); });
    }

    // Typing rules.
    reshapeWhileTyping(txtSesso, [](const QString &text) { return asciiUpper(text); });
    reshapeWhileTyping(txtCodFisc, trimmedUpper);
    reshapeWhileTyping(txtIban, trimmedUpper);
    reshapeWhileTyping(txtEmail, trimmed);
    onFocusOut(txtEmail, [this] {
        const QString clean = trimmed(txtEmail->text());
        if (clean != txtEmail->text())
            txtEmail->setText(clean);
    });
    // The postal code is upper-cased when a key is released after the user
    // changed it: a key that only moves (Tab into a shown card) changes nothing.
    connect(txtCapRes, &QLineEdit::textEdited, this, [this] { m_capTyped = true; });
    txtCapRes->installEventFilter(this);
    digitsOnly(txtCarta);
    digitsOnly(txtPartitaIva);

    // Pictures and hints.
    const QList<std::tuple<ClickablePicture *, void (TfrmClienti::*)(), QString>> clicks{
        {cmdNuovo, &TfrmClienti::cmdNuovoClick,
         QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda.")},
        {cmdDuplica, &TfrmClienti::cmdDuplicaClick,
         QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti.")},
        {cmdFile, &TfrmClienti::cmdFileClick, QStringLiteral("Allega file alla scheda corrente.")},
        {cmdSalva, &TfrmClienti::cmdSalvaClick, QStringLiteral("Salva la scheda corrente in archivio.")},
        {cmdTrova, &TfrmClienti::cmdTrovaClick, QStringLiteral("Trova una scheda in archivio.")},
        {cmdAnteprima, &TfrmClienti::cmdAnteprimaClick, QStringLiteral("Visualizza l'anteprima di stampa.")},
        {cmdStampa, &TfrmClienti::cmdStampaClick, QStringLiteral("Stampa la scheda corrente.")},
        {cmdPDF, &TfrmClienti::cmdPDFClick, QStringLiteral("Esporta la scheda in formato PDF.")},
        {cmdRicontatta, &TfrmClienti::cmdRicontattaClick,
         QStringLiteral("Visualizza il riepilogo dei partecipanti da ricontattare.")},
        {cmdEsporta, &TfrmClienti::cmdEsportaClick,
         QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {cmdGuida, &TfrmClienti::cmdGuidaClick, QStringLiteral("Visualizza la guida in linea.")},
        {cmdEsci, &TfrmClienti::cmdEsciClick, QStringLiteral("Esci dalla schermata di lavoro corrente.")},
        {cmdPrimo, &TfrmClienti::cmdPrimoClick, cmdPrimo->accessibleName()},
        {cmdIndietro, &TfrmClienti::cmdIndietroClick, cmdIndietro->accessibleName()},
        {cmdAvanti, &TfrmClienti::cmdAvantiClick, cmdAvanti->accessibleName()},
        {cmdUltimo, &TfrmClienti::cmdUltimoClick, cmdUltimo->accessibleName()},
        {btnEmail, &TfrmClienti::btnEmailClick, btnEmail->accessibleName()},
        {btnCodFisc, &TfrmClienti::btnCodFiscClick, btnCodFisc->accessibleName()},
        {btnCarta, &TfrmClienti::btnCartaClick, btnCarta->accessibleName()},
        {btnPartitaIva, &TfrmClienti::btnPartitaIvaClick, btnPartitaIva->accessibleName()},
        {btnIban, &TfrmClienti::btnIbanClick, btnIban->accessibleName()},
    };
    m_infoBar = new InfoBar(panInfo);
    for (const auto &[picture, handler, hint] : clicks) {
        connect(picture, &QToolButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
        m_infoBar->addHint(picture, hint);
    }
    m_infoBar->addHint(chkRicontatta,
                       QStringLiteral("Annota che il partecipante \u00E8 da ricontattare per questioni in sospeso."));
    // Everything else (background, frames, column, bar, labels, boxes) empties the bar.
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);
}

bool TfrmClienti::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtCapRes && event->type() == QEvent::KeyRelease && m_capTyped) {
        m_capTyped = false;
        const QString upper = asciiUpper(txtCapRes->text());
        if (upper != txtCapRes->text()) {
            const int cursor = txtCapRes->cursorPosition(); // same length: the caret stays put
            txtCapRes->setText(upper);
            txtCapRes->setCursorPosition(cursor);
        }
    }
    return qv::Workspace::eventFilter(watched, event);
}

void TfrmClienti::buildCard()
{
    CardConfig config;
    config.layout = &TSchedaPartecipante::layout();
    config.archivePath = [] { return TSchedaPartecipante::archivePath(); };
    config.lblPosizione = lblPosizione;
    config.firstField = txtCliente;
    config.checksBeforeSave = [this] { return checksBeforeSave(); };
    config.clearForDuplicate = [this] { clearForDuplicate(); };
    m_card = std::make_unique<CardOperations>(this, config);
}

void TfrmClienti::showRecord(const qv::Record &record, qint64 number)
{
    m_card->Show(record, number);
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
    m_card->NuovaScheda();
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
    m_card->Duplicate();
}

void TfrmClienti::cmdFileClick()
{
    openAttachments(this, QStringLiteral("clienti"));
}

void TfrmClienti::cmdSalvaClick()
{
    m_card->Save();
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
    m_card->First();
}

void TfrmClienti::cmdIndietroClick()
{
    m_card->Previous();
}

void TfrmClienti::cmdAvantiClick()
{
    m_card->Next();
}

void TfrmClienti::cmdUltimoClick()
{
    m_card->Last();
}

void TfrmClienti::btnEmailClick()
{
    composeMail(trimmed(txtEmail->text()));
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
