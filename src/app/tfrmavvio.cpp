#include "app/tfrmavvio.h"

#include "app/infowindows.h"
#include "app/tfrmcopie.h"
#include "mail/tfrmposta.h"
#include "core/regional.h"
#include "core/tmisc.h"
#include "events/tfrmregistro.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "participants/tfrmclienti.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "ui/access.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace qv;

const QString TfrmAvvio::kSubtitle = QStringLiteral(
    "Software per gestire la prenotazione dei posti a sedere in eventi quali convegni, conferenze, "
    "congressi e meeting di ogni genere");

namespace {
ClickablePicture *cornerPicture(const QString &name, const QString &picture, const QString &hint, QWidget *parent)
{
    auto *p = new ClickablePicture(name, qv::picture(picture), hint, parent);
    p->setIconSize(QSize(40, 40));
    p->setToolTip(hint);
    describe(p, hint, hint);
    return p;
}
} // namespace

TfrmAvvio::TfrmAvvio(QWidget *parent) : QWidget(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmAvvio"));
    setWindowTitle(QStringLiteral(" Quorvane"));
    setWindowIcon(picture(QStringLiteral("logo")));
    setStyleSheet(QStringLiteral(
        "TfrmAvvio { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #FFFFFF, stop:1 #E4ECF5); }"
        "QFrame#menuColumn { background: white; border: 1px solid #D3DCE6; border-radius: 12px; }"
        "QToolButton[entry=\"true\"] { background: #1F4E79; color: white; font-weight: 700; font-size: 12pt;"
        "  padding: 8px 18px; border-radius: 6px; border: 3px solid transparent; }"
        "QToolButton[entry=\"true\"]:hover { background: #2E75B6; }"
        "QLabel[description=\"true\"] { color: #3A4756; font-size: 10.5pt; }"
        "QToolButton#imgSito { color: #1F4E79; font-size: 11pt; padding: 4px 14px; }"
        // The keyboard's place on an entry: the house's yellow frame on the entry's own blue.
        "QToolButton[entry=\"true\"]:focus { border-color: #F6C343; background: #2E75B6; }"));

    imgInfo = cornerPicture(QStringLiteral("imgInfo"), QStringLiteral("info"), QStringLiteral("Informazioni su Quorvane"), this);
    imgGuida = cornerPicture(QStringLiteral("imgGuida"), QStringLiteral("help"), QStringLiteral("Guida all'utilizzo del software"), this);
    imgCrediti = cornerPicture(QStringLiteral("imgCrediti"), QStringLiteral("credits"), QStringLiteral("Riconoscimenti"), this);
    imgCopie = cornerPicture(QStringLiteral("imgCopie"), QStringLiteral("save"), QStringLiteral("Copie di sicurezza"), this);
    imgPosta = cornerPicture(QStringLiteral("imgPosta"), QStringLiteral("mail"), QStringLiteral("Posta elettronica"), this);
    imgEsci = cornerPicture(QStringLiteral("imgEsci"), QStringLiteral("exit"), QStringLiteral("Esci dal programma"), this);

    imgIcona = new QLabel(this);
    imgIcona->setObjectName(QStringLiteral("imgIcona"));
    imgIcona->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(64, 64)));
    imgTitolo = new QLabel(QStringLiteral("Quorvane"), this);
    imgTitolo->setObjectName(QStringLiteral("imgTitolo"));
    imgTitolo->setStyleSheet(QStringLiteral("font-size: 34pt; font-weight: 700; color: #1F4E79;"));
    imgSottotitolo = new QLabel(kSubtitle, this);
    imgSottotitolo->setObjectName(QStringLiteral("imgSottotitolo"));
    imgSottotitolo->setWordWrap(true);
    imgSottotitolo->setAlignment(Qt::AlignCenter);
    imgSottotitolo->setStyleSheet(QStringLiteral("font-size: 13pt; color: #41556B;"));

    auto *titleRow = new QHBoxLayout;
    titleRow->addStretch(1);
    titleRow->addWidget(imgIcona);
    titleRow->addSpacing(12);
    titleRow->addWidget(imgTitolo);
    titleRow->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(imgInfo, 0, Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->addLayout(titleRow);
    titles->addWidget(imgSottotitolo);
    top->addLayout(titles, 1);
    top->addWidget(imgGuida, 0, Qt::AlignTop);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(28);
    columns->addWidget(column(QStringLiteral("menu_participants"), &imgAnagrafica, &btnAnagrafica, &infAnagrafica,
                              QStringLiteral("Anagrafica"), QStringLiteral("ANAGRAFICA PARTECIPANTI"),
                              QStringLiteral("Memorizza i dati anagrafici e i recapiti dei partecipanti agli eventi, "
                                             "degli organizzatori e di altri contatti. Annota i prodotti o servizi di "
                                             "interesse e crea un elenco dei nominativi da ricontattare per questioni in "
                                             "sospeso."),
                              &TfrmAvvio::AnagraficaClick));
    columns->addWidget(column(QStringLiteral("menu_events"), &imgEventi, &btnEventi, &infEventi,
                              QStringLiteral("Eventi"), QStringLiteral("EVENTI PROGRAMMATI"),
                              QStringLiteral("Crea un archivio storico di tutti gli eventi programmati negli anni "
                                             "indicando il titolo, la tipologia, le materie trattate, i relatori, la "
                                             "data di termine adesione, la sede, la quota di partecipazione, i posti "
                                             "disponibili eccetera."),
                              &TfrmAvvio::EventiClick));
    columns->addWidget(column(QStringLiteral("menu_seats"), &imgPosti, &btnPosti, &infPosti, QStringLiteral("Posti"),
                              QStringLiteral("POSTI ASSEGNATI"),
                              QStringLiteral("Prenota i posti a sedere per ciascun evento programmato e velocizza la "
                                             "compilazione dei campi importando i dati dei partecipanti dall'archivio "
                                             "anagrafico. Prendi nota delle eventuali prenotazioni in attesa di "
                                             "conferma."),
                              &TfrmAvvio::PostiClick));

    imgSito = new ClickablePicture(QStringLiteral("imgSito"), picture(QStringLiteral("globe")), kWebAddress, this);
    imgSito->setText(kWebAddress);
    imgSito->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    imgSito->setIconSize(QSize(24, 24));
    describe(imgSito, kWebAddress, QStringLiteral("Visita il sito web di Quorvane"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(imgCrediti, 0, Qt::AlignBottom);
    bottom->addWidget(imgCopie, 0, Qt::AlignBottom);
    bottom->addWidget(imgPosta, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    bottom->addWidget(imgSito, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    bottom->addWidget(imgEsci, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addLayout(top);
    layout->addStretch(1);
    auto *centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addLayout(columns, 10);
    centred->addStretch(1);
    layout->addLayout(centred);
    layout->addStretch(1);
    layout->addLayout(bottom);

    // The keyboard reaches every entry and corner picture: Tab and the arrows
    // move among them in reading order, Enter or Space opens the one marked.
    const QList<QList<QWidget *>> rows{
        {imgInfo, imgGuida},
        {btnAnagrafica, btnEventi, btnPosti},
        {imgCrediti, imgCopie, imgPosta, imgSito, imgEsci},
    };
    QWidget *previous = nullptr;
    for (const QList<QWidget *> &row : rows) {
        for (QWidget *item : row) {
            makeKeyboardStop(static_cast<ClickablePicture *>(item));
            if (previous)
                setTabOrder(previous, item);
            previous = item;
        }
    }
    arrowNavigation(rows);
    giveShortcut(imgGuida, QKeySequence(Qt::Key_F1));
    giveShortcut(imgEsci, QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(imgInfo, &QToolButton::clicked, this, [this] { imgInfoClick(); });
    connect(imgGuida, &QToolButton::clicked, this, [this] { imgGuidaClick(); });
    connect(imgCrediti, &QToolButton::clicked, this, [this] { imgCreditiClick(); });
    connect(imgCopie, &QToolButton::clicked, this, [this] { imgCopieClick(); });
    connect(imgPosta, &QToolButton::clicked, this, [this] { imgPostaClick(); });
    connect(imgEsci, &QToolButton::clicked, this, [this] { imgEsciClick(); });
    connect(imgSito, &QToolButton::clicked, this, [this] { imgSitoClick(); });

    setMinimumSize(980, 640);
    fillScreen(this);
}

QWidget *TfrmAvvio::column(const QString &picture, ClickablePicture **image, ClickablePicture **button,
                           ClickableLabel **info, const QString &key, const QString &title, const QString &text,
                           void (TfrmAvvio::*action)())
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("menuColumn"));
    frame->setMaximumWidth(420);

    *image = new ClickablePicture(QStringLiteral("img") + key, qv::picture(picture), title, frame);
    (*image)->setIconSize(QSize(200, 150));
    *button = new ClickablePicture(QStringLiteral("btn") + key, QIcon(), title, frame);
    (*button)->setText(title);
    (*button)->setToolButtonStyle(Qt::ToolButtonTextOnly);
    (*button)->setProperty("entry", true);
    (*button)->ensurePolished();
    (*button)->setMinimumSize((*button)->sizeHint()); // never clip the entry's text
    *info = new ClickableLabel(QStringLiteral("inf") + key, frame);
    (*info)->setText(text);
    (*info)->setWordWrap(true);
    (*info)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    (*info)->setProperty("description", true);
    (*info)->setMinimumHeight(110);
    // The entry is heard by its title and described by the column's text.
    describe(*image, title, text);
    describe(*button, title, text);

    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(22, 22, 22, 22);
    layout->setSpacing(14);
    layout->addWidget(*image, 0, Qt::AlignHCenter);
    layout->addWidget(*button, 0, Qt::AlignHCenter);
    layout->addWidget(*info, 1);

    // The three pictures of a column are one entry.
    connect(*image, &QToolButton::clicked, this, action);
    connect(*button, &QToolButton::clicked, this, action);
    connect(*info, &ClickableLabel::clicked, this, action);
    return frame;
}

void TfrmAvvio::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The keyboard starts on the first entry; coming back, it stays where it was.
    if (!event->spontaneous() && !focusWidget())
        btnAnagrafica->setFocus(Qt::TabFocusReason);
}

void TfrmAvvio::EventiClick()
{
    switchWindow(this, windows().frmRegistro);
}

void TfrmAvvio::AnagraficaClick()
{
    switchWindow(this, windows().frmClienti);
}

void TfrmAvvio::PostiClick()
{
    switchWindow(this, windows().frmMenuPrenotazioni);
}

void TfrmAvvio::imgInfoClick()
{
    showInfoWindow(this);
}

void TfrmAvvio::imgGuidaClick()
{
    showGuide(this, GuideTopic::General);
}

void TfrmAvvio::imgCreditiClick()
{
    showCreditsWindow(this);
}

void TfrmAvvio::imgCopieClick()
{
    showBackupsWindow(this);
}

void TfrmAvvio::imgPostaClick()
{
    showMailWindow(this);
}

void TfrmAvvio::imgEsciClick()
{
    endProgram();
}

void TfrmAvvio::imgSitoClick()
{
    Desktop::openAddress(kWebAddress, this);
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}
