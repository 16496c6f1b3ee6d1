#include "eventday/tfrmcartellini.h"

#include "archive/tarchivio.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "frame/guide.h"
#include "frame/workspace.h"
#include "output/sheets.h"
#include "ui/controltext.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

QRadioButton *option(const QString &name, const QString &text, QWidget *parent)
{
    auto *o = new QRadioButton(text, parent);
    o->setObjectName(name);
    return o;
}

QPushButton *button(const QString &name, const QString &pictureName, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(picture(pictureName), text, parent);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    return b;
}

} // namespace

TfrmCartellini::TfrmCartellini(const QString &reservationArchive, const EventInfo &event, QWidget *owner,
                               std::optional<qint64> current)
    : QDialog(owner), m_archive(reservationArchive), m_event(event), m_current(current.value_or(0))
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmCartellini"));
    setWindowTitle(QStringLiteral(" Cartellini con codice QR"));
    setWindowIcon(picture(QStringLiteral("badge")));

    lblInformazioni = new QLabel(QStringLiteral("Ogni cartellino riporta il nome del partecipante, il titolo "
                                                "dell'evento, il posto, la data di inizio e un codice QR che "
                                                "l'accoglienza legge all'ingresso."),
                                 this);
    lblInformazioni->setObjectName(QStringLiteral("lblInformazioni"));
    lblInformazioni->setWordWrap(true);

    m_choice = BookingChoice::make(this, current);
    optTutte = m_choice.all;
    optConfermate = m_choice.confirmed;
    optScheda = m_choice.current;
    QGroupBox *which = m_choice.group;

    auto *sheet = new QGroupBox(QStringLiteral("Foglio di etichette"), this);
    sheet->setObjectName(QStringLiteral("grpFoglio"));
    optFoglio8 = option(QStringLiteral("optFoglio8"), Badges::eightPerPage().name, sheet);
    optFoglio10 = option(QStringLiteral("optFoglio10"), Badges::tenPerPage().name, sheet);
    optFoglio8->setChecked(true);
    auto *sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->addWidget(optFoglio8);
    sheetLayout->addWidget(optFoglio10);
    auto *sheetGroup = new QButtonGroup(this);
    sheetGroup->addButton(optFoglio8);
    sheetGroup->addButton(optFoglio10);

    lblConta = new QLabel(this);
    lblConta->setObjectName(QStringLiteral("lblConta"));

    cmdAnteprima = button(QStringLiteral("cmdAnteprima"), QStringLiteral("preview"), QStringLiteral("Anteprima"), this);
    cmdStampa = button(QStringLiteral("cmdStampa"), QStringLiteral("print"), QStringLiteral("Stampa"), this);
    cmdPDF = button(QStringLiteral("cmdPDF"), QStringLiteral("pdf"), QStringLiteral("Crea PDF"), this);
    btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("close"), QStringLiteral("Chiudi"), this);
    cmdGuida = new ClickablePicture(QStringLiteral("cmdGuida"), picture(QStringLiteral("guide")),
                                    QStringLiteral("Visualizza la pagina della guida sensibile al contesto."), this);
    cmdGuida->setIconSize(QSize(28, 28));
    cmdGuida->setAccessibleDescription(cmdGuida->accessibleName());
    cmdGuida->setToolTip(cmdGuida->accessibleName());
    describe(cmdAnteprima, QStringLiteral("Anteprima"), QStringLiteral("Mostra i cartellini prima di stamparli."));
    describe(cmdStampa, QStringLiteral("Stampa"), QStringLiteral("Stampa i cartellini sui fogli di etichette."));
    describe(cmdPDF, QStringLiteral("Crea PDF"),
             QStringLiteral("Scrive i cartellini nel file ") + Badges::pdfName(m_event.number, Badges::eightPerPage())
                 + QStringLiteral(" (") + Badges::pdfName(m_event.number, Badges::tenPerPage())
                 + QStringLiteral(" per il foglio da 10) nella cartella del programma."));
    applyStandardShortcuts(this);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(cmdGuida);
    buttons->addStretch(1);
    for (QPushButton *b : {cmdAnteprima, cmdStampa, cmdPDF, btnChiudi})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(lblInformazioni);
    layout->addWidget(which);
    layout->addWidget(sheet);
    layout->addWidget(lblConta);
    layout->addLayout(buttons);

    connect(cmdAnteprima, &QPushButton::clicked, this, [this] { cmdAnteprimaClick(); });
    connect(cmdStampa, &QPushButton::clicked, this, [this] { cmdStampaClick(); });
    connect(cmdPDF, &QPushButton::clicked, this, [this] { cmdPDFClick(); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdGuida, &QToolButton::clicked, this, [this] { showGuide(this, GuideTopic::Badges); });
    for (QRadioButton *o : {optTutte, optConfermate, optScheda, optFoglio8, optFoglio10})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateCount();
        });
    updateCount();
    cmdAnteprima->setDefault(true);
    cmdAnteprima->setFocus(Qt::OtherFocusReason);
    makeFixedCentred(this);
}

QList<Booking> TfrmCartellini::chosenBookings() const
{
    return Badges::chosen(Bookings::read(m_archive), m_choice.which(), m_current);
}

const Badges::LabelSheet &TfrmCartellini::chosenSheet() const
{
    return optFoglio10->isChecked() ? Badges::tenPerPage() : Badges::eightPerPage();
}

void TfrmCartellini::updateCount()
{
    try {
        const qsizetype count = chosenBookings().size();
        const qsizetype sheets = (count + chosenSheet().perPage() - 1) / chosenSheet().perPage();
        lblConta->setText(count == 1 ? QStringLiteral("Un cartellino su un foglio.")
                                     : QStringLiteral("%1 cartellini su %2 %3.")
                                           .arg(count)
                                           .arg(sheets)
                                           .arg(sheets == 1 ? QStringLiteral("foglio") : QStringLiteral("fogli")));
    } catch (const ArchiveError &) {
        lblConta->setText(QString());
    }
}

std::optional<page::Document> TfrmCartellini::badges()
{
    QList<Booking> chosen;
    try {
        chosen = chosenBookings();
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        return std::nullopt;
    }
    if (chosen.isEmpty()) {
        Messages::caution(QStringLiteral("Non ci sono prenotazioni per cui stampare i cartellini."), this);
        return std::nullopt;
    }
    return Badges::document(m_event, chosen, chosenSheet());
}

void TfrmCartellini::cmdAnteprimaClick()
{
    if (const auto document = badges())
        PageOutput::preview(*document, this);
}

void TfrmCartellini::cmdStampaClick()
{
    if (const auto document = badges())
        PageOutput::print(*document, this);
}

void TfrmCartellini::cmdPDFClick()
{
    if (const auto document = badges()) {
        const QString path = ProgramFolder::file(Badges::pdfName(m_event.number, chosenSheet()));
        savePdfAndOffer(*document, path,
                        QStringLiteral("I cartellini sono stati salvati in PDF nel file %1.")
                            .arg(QDir::toNativeSeparators(path)),
                        this);
    }
}

EventInfo eventShownIn(const QWidget *window, qint64 number)
{
    const auto shown = [window](const char *name) {
        return trimmed(controlText(namedControl(window, QString::fromLatin1(name))));
    };
    EventInfo event;
    event.number = number;
    event.titolo = shown("txtTitolo");
    event.dataInizio = shown("txtDataInizio");
    event.oraInizio = shown("txtOraInizio");
    event.dataFine = shown("txtDataFine");
    event.sede = shown("txtSede");
    event.indirizzo = shown("txtIndirizzo");
    return event;
}

void openBadges(QWidget *owner, const QString &reservationArchive, const EventInfo &event,
                std::optional<qint64> current)
{
    TfrmCartellini dialog(reservationArchive, event, owner, current);
    dialog.exec();
}
