#include "reservations/tfrmmappaposti.h"

#include "archive/tarchivio.h"
#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "output/sheets.h"
#include "password/inifile.h"
#include "password/passwordstore.h"
#include "reservations/seatmapprint.h"
#include "reservations/seatwidgets.h"
#include "ui/access.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace qv;

namespace {

const QString kIniSection = QStringLiteral("MappaPosti");
const QString kIniKey = QStringLiteral("PostiPerFila");
const int kWidestRow = 200;

// Every map open, so that the user meets one map per event.
QList<TfrmMappaPosti *> openMaps()
{
    QList<TfrmMappaPosti *> maps;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *map = qobject_cast<TfrmMappaPosti *>(w))
            maps << map;
    return maps;
}

// The maps close when the user goes back to the main menu: the event they
// show is then no longer the one being booked.
class MainMenuWatch : public QObject
{
public:
    using QObject::QObject;
    static void watch(QWidget *menu)
    {
        // Found by name: a class without a meta-object of its own would match any child.
        const QString name = QStringLiteral("seatMapsWatch");
        if (!menu || menu->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
            return;
        auto *watch = new MainMenuWatch(menu);
        watch->setObjectName(name);
        menu->installEventFilter(watch);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            for (TfrmMappaPosti *map : openMaps())
                map->close();
        return false;
    }
};

} // namespace

TfrmMappaPosti::TfrmMappaPosti(const SeatMapEvent &event, Desk desk, QWidget *parent)
    : QWidget(parent), m_event(event), m_desk(std::move(desk)), m_map(std::make_shared<SeatMap>())
{
    applyRegionalSettings();
    m_form = buildForm(this, description());
    m_form->infoBar()->addHint(grdPosti->viewport(), grdPosti->accessibleDescription());
    lblContatori->setWordWrap(true); // every count named: a narrow window breaks the line
    spnPostiPerFila->setValue(storedRowWidth());
    grdPosti->setRowWidth(spnPostiPerFila->value());
    connect(spnPostiPerFila, &QSpinBox::valueChanged, this, [this](int seats) {
        grdPosti->setRowWidth(seats);
        storeRowWidth(seats);
    });
    connect(grdPosti, &SeatGrid::activated, this, [this](int index) { seatActivated(index); });
    showHeader();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(std::min(available.width() * 9 / 10, 1280), std::min(available.height() * 9 / 10, 860));
        QRect frame = frameGeometry();
        frame.moveCenter(available.center());
        move(frame.topLeft());
    }
    refresh();
    grdPosti->setFocus(Qt::OtherFocusReason);
}

TfrmMappaPosti::~TfrmMappaPosti() = default;

FormDescription TfrmMappaPosti::description()
{
    return {
        .name = "frmMappaPosti",
        .title = "Mappa dei posti",
        .heading = "Mappa dei posti",
        .tools = {
            {"cmdAggiorna", "refresh", "Aggiorna la mappa con le prenotazioni presenti in archivio.",
             [this] { cmdAggiornaClick(); }, &cmdAggiorna},
            {"cmdStampa", "print", "Stampa la mappa dei posti.", [this] { cmdStampaClick(); }, &cmdStampa},
            {"cmdPDF", "pdf", "Esporta la mappa dei posti in formato PDF.", [this] { cmdPDFClick(); }, &cmdPDF},
            ToolEntry::separator(),
            {"cmdGuida", "guide", "Visualizza la pagina della guida sensibile al contesto.",
             [this] { cmdGuidaClick(); }, &cmdGuida},
            {"cmdEsci", "close", "Chiudi la mappa dei posti.", [this] { cmdEsciClick(); }, &cmdEsci},
            ToolEntry::stretch(),
            ToolEntry::heading(),
        },
        .spreadAtMost = 0,
        .sections = {
            {.name = "grpEvento", .title = "Evento", .picture = "section_event", .row = 0, .rows = {
                {.name = "lblTitoloEvento", .kind = Control::Caption, .to = &lblTitoloEvento},
                {.name = "lblQuando", .kind = Control::Caption, .to = &lblQuando},
                {.name = "lblSede", .kind = Control::Caption, .to = &lblSede},
                {.name = "lblContatori", .kind = Control::Caption, .to = &lblContatori},
            }},
            {.name = "grpPosti", .title = "Posti", .picture = "section_seat", .row = 1, .rows = {
                {.name = "lgdStati", .kind = Control::Widget,
                 .make = [](QWidget *parent) { return new SeatLegend(parent); }, .to = &lgdStati},
                {.label = "Posti per fila:", .name = "spnPostiPerFila", .kind = Control::Widget, .join = true,
                 .make = [](QWidget *parent) {
                     auto *spin = new QSpinBox(parent);
                     spin->setRange(0, kWidestRow);
                     spin->setSpecialValueText(QStringLiteral("adatta alla finestra"));
                     spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
                     return spin;
                 },
                 .to = &spnPostiPerFila},
                {.name = "grdPosti", .kind = Control::Widget,
                 .hint = "Fare doppio clic su un posto, o premere Invio, per prenotarlo o per aprire la scheda di chi "
                         "lo occupa.",
                 .accessibleName = "Posti", .make = [](QWidget *parent) { return new SeatGrid(parent); },
                 .to = &grdPosti},
            }, .grows = true},
        },
        .info = QString(),
        .infoLabel = &panInfo,
    };
}

TfrmMappaPosti *TfrmMappaPosti::open(const SeatMapEvent &event, Desk desk)
{
    TfrmMappaPosti *map = nullptr;
    for (TfrmMappaPosti *open : openMaps())
        if (open->m_event.archivePath == event.archivePath)
            map = open;
    if (map) {
        map->m_event = event;
        map->m_desk = std::move(desk);
        map->showHeader();
        map->refresh();
    } else {
        map = new TfrmMappaPosti(event, std::move(desk));
        map->setAttribute(Qt::WA_DeleteOnClose);
    }
    MainMenuWatch::watch(windows().mainMenu);
    map->show();
    map->raise();
    map->activateWindow();
    return map;
}

void TfrmMappaPosti::showHeader()
{
    lblTitoloEvento->setText(trimmed(m_event.titolo));
    lblQuando->setText(m_event.whenText());
    lblSede->setText(m_event.whereText());
}

void TfrmMappaPosti::refresh()
{
    auto map = std::make_shared<SeatMap>(SeatMap::totalOf(m_event.posti));
    const bool whole = map->read(trimmed(m_event.archivePath));
    m_map = map;
    m_readSinceInactive = true;
    grdPosti->setMap(m_map);
    lgdStati->showUnknown(m_map->unreadable());
    lblContatori->setText(m_map->countersText());
    if (!whole)
        Messages::failure(Messages::kArchiveAccess, this);
}

bool TfrmMappaPosti::event(QEvent *event)
{
    // Another desk may have booked meanwhile: back from another window, the
    // map reads again. A dialog of its own (a message, the guide, the
    // printer) only borrows the keyboard: reading again after the archive
    // access message would show it again, and again.
    if (event->type() == QEvent::WindowDeactivate) {
        bool own = false;
        for (QWidget *w = QApplication::activeModalWidget(); w && !own; w = w->parentWidget())
            own = w == this;
        if (!own)
            m_readSinceInactive = false;
    }
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !m_readSinceInactive)
        refresh();
    return handled;
}

page::Document TfrmMappaPosti::document() const
{
    return SeatMapPrint::document(m_event, *m_map, grdPosti->seatsPerRow(), Clock::today());
}

void TfrmMappaPosti::cmdAggiornaClick()
{
    refresh();
}

void TfrmMappaPosti::cmdStampaClick()
{
    PageOutput::print(document(), this);
}

void TfrmMappaPosti::cmdPDFClick()
{
    const QString path = SeatMapPrint::pdfPath(trimmed(m_event.archivePath));
    savePdfAndOffer(document(), path,
                    QStringLiteral("La mappa dei posti \u00E8 stata salvata in PDF nel file %1.")
                        .arg(QDir::toNativeSeparators(path)),
                    this);
}

void TfrmMappaPosti::cmdGuidaClick()
{
    showGuide(this, GuideTopic::SeatMap);
}

void TfrmMappaPosti::cmdEsciClick()
{
    close();
}

void TfrmMappaPosti::seatActivated(int index)
{
    const SeatMap &map = *m_map;
    if (index < 0 || index >= map.seatCount())
        return;
    switch (map.state(index)) {
    case SeatState::Unknown:
        return; // never booked blind: the access message has told why
    case SeatState::Free:
        if (m_desk.bookSeat)
            m_desk.bookSeat(map.label(index));
        return;
    case SeatState::Booked:
    case SeatState::Pending:
    case SeatState::Twice:
        if (const qint64 record = chooseHolder(index); record > 0 && m_desk.showBooking)
            m_desk.showBooking(record);
        return;
    }
}

qint64 TfrmMappaPosti::chooseHolder(int index)
{
    QList<SeatMap::Holder> holders = m_map->holders(index);
    if (holders.size() < m_map->holderCount(index)) {
        // More holders than the map names: all of them, read again.
        try {
            holders = SeatMap::holdersIn(trimmed(m_event.archivePath), m_map->label(index));
        } catch (const ArchiveError &) {
            Messages::failure(Messages::kArchiveAccess, this);
            return 0;
        }
        if (holders.isEmpty())
            return 0;
    }
    if (holders.size() == 1)
        return holders.first().record;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmSceltaScheda"));
    dialog.setWindowTitle(QStringLiteral(" Posto ") + m_map->label(index));
    auto *info = new QLabel(QStringLiteral("Il posto %1 \u00E8 assegnato a pi\u00F9 schede: scegliere quella da "
                                           "visualizzare.")
                                .arg(m_map->label(index)),
                            &dialog);
    info->setWordWrap(true);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstSchede"));
    for (const SeatMap::Holder &h : holders) {
        auto *item = new QListWidgetItem(
            QStringLiteral("Scheda n. %1: %2%3")
                .arg(h.record)
                .arg(h.name.isEmpty() ? QStringLiteral("senza nome") : h.name,
                     h.pending ? QStringLiteral(" (in attesa di conferma)") : QString()),
            list);
        item->setData(Qt::UserRole, h.record);
    }
    list->setCurrentRow(0);
    describe(list, QStringLiteral("Schede"), info->text());
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *open = buttons->addButton(QStringLiteral("Apri"), QDialogButtonBox::AcceptRole);
    open->setObjectName(QStringLiteral("btnApri"));
    open->setDefault(true);
    buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("btnAnnulla"));
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(info);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(460, 260);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return 0;
    return list->currentItem()->data(Qt::UserRole).toLongLong();
}

int TfrmMappaPosti::storedRowWidth()
{
    try {
        bool ok = false;
        const int seats = trimmed(IniFile::readValue(PasswordStore::filePath(), kIniSection, kIniKey)).toInt(&ok);
        return ok && seats >= 0 && seats <= kWidestRow ? seats : 0;
    } catch (const IniFile::Error &) {
        return 0; // an unreadable file: rows as wide as the window
    }
}

void TfrmMappaPosti::storeRowWidth(int seats)
{
    try {
        if (storedRowWidth() != seats)
            IniFile::writeValue(PasswordStore::filePath(), kIniSection, kIniKey, QString::number(seats));
    } catch (const IniFile::Error &) {
        // A folder that may not be written: the width holds until the map closes.
    }
}
