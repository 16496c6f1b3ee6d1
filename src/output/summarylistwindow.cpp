#include "output/summarylistwindow.h"

#include "archive/tarchivio.h"
#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "output/listreport.h"
#include "output/pageoutput.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <stdexcept>

namespace qv {

const QString SummaryListWindow::kEmptyList =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

// The lines of a list, read-only. Filled once per search with the lines
// already sorted, so a 100 000-line list costs one reset, not 100 000 inserts;
// it shares the list's bytes and makes the text of a row only when the view
// asks for it (the rows on screen).
class LinesModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(LineList lines)
    {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
    }
    const LineList &lines() const { return m_lines; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_lines.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_lines.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return displayLine(m_lines.at(index.row()));
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    }

private:
    LineList m_lines;
};

namespace {

// Every line is laid out at the same fixed width, so the list scrolls
// sideways and all rows share one size (no per-row measuring).
class FixedWidthDelegate : public QStyledItemDelegate
{
public:
    FixedWidthDelegate(int width, QObject *parent) : QStyledItemDelegate(parent), m_width(width) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(m_width, option.fontMetrics.height() + 2);
    }

private:
    int m_width;
};

QLabel *textLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    return b;
}

// Runs the double-click handler for a double-click anywhere in the list
// (on a line or below the last one), and for Enter on a selected line, so
// the keyboard can pick a record too; Enter never presses a button.
class ListEvents : public QObject
{
public:
    ListEvents(QListView *list, std::function<void()> doubleClick)
        : QObject(list), m_list(list), m_doubleClick(std::move(doubleClick))
    {
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_doubleClick();
            return true;
        }
        if (event->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent *>(event))) {
            if (m_list->selectionModel()->hasSelection())
                m_doubleClick();
            return true;
        }
        return false;
    }

private:
    QListView *m_list;
    std::function<void()> m_doubleClick;
};

} // namespace

SummaryListWindow::SummaryListWindow(const SummaryListConfig &config, QWidget *parent)
    : QDialog(parent), m_config(config), m_model(new LinesModel(this))
{
    applyRegionalSettings();
    for (const SummaryFilter &filter : config.filters) {
        const int field = config.source.layout->indexOf(filter.field);
        if (field < 0)
            throw std::invalid_argument(("no field " + filter.field).toStdString());
        m_filterFields.append(field);
    }
    setObjectName(config.objectName);
    setWindowTitle(config.caption);
    setWindowIcon(picture(QStringLiteral("logo")));
    setModal(true);

    // A heading strip: the window's caption beside the program's picture.
    auto *logo = new QLabel(this);
    logo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(30, 30)));
    auto *heading = new QLabel(trimmed(config.caption), this);
    heading->setObjectName(QStringLiteral("lblIntestazione"));
    heading->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: 700; color: #1F4E79;"));
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet(QStringLiteral("color: #C9D3DE;"));
    auto *head = new QHBoxLayout;
    head->setSpacing(10);
    head->addWidget(logo);
    head->addWidget(heading, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(6);
    layout->addLayout(head);
    layout->addWidget(rule);
    if (hasFilterPage()) {
        panAvvio = buildFilterPage();
        layout->addWidget(panAvvio);
    }
    panContainer = buildResultPage();
    layout->addWidget(panContainer);
    if (hasFilterPage())
        panContainer->hide();

    // Fixed size, no title-bar buttons, centred on the screen.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(862, 560);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

SummaryListWindow::~SummaryListWindow() = default;

QWidget *SummaryListWindow::buildFilterPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("panAvvio"));

    lblRigo04 = textLabel(QStringLiteral("lblRigo04"),
                          QStringLiteral("Immettere nei campi prescelti una o pi\u00F9 parole consecutive presenti nelle "
                                         "schede da trovare e premere il pulsante Cerca."),
                          page);
    lblRigo05 = textLabel(QStringLiteral("lblRigo05"), QStringLiteral("Lasciare in bianco tutti gli altri campi."), page);
    lblRigo06 = textLabel(QStringLiteral("lblRigo06"),
                          QStringLiteral("Per ogni ricerca \u00E8 possibile utilizzare uno o pi\u00F9 campi "
                                         "contemporaneamente."),
                          page);

    auto *group = new QGroupBox(QStringLiteral("Campi di ricerca"), page);
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(14);
    grid->setContentsMargins(14, 14, 14, 14);
    QFont boxFont(QStringLiteral("Verdana"));
    boxFont.setStyleHint(QFont::SansSerif);
    boxFont.setPointSize(12);
    boxFont.setBold(true);
    const int rows = int((m_config.filters.size() + 1) / 2);
    for (int i = 0; i < m_config.filters.size(); ++i) {
        const SummaryFilter &filter = m_config.filters.at(i);
        auto *box = new QLineEdit(group);
        box->setObjectName(filter.name);
        box->setFont(boxFont);
        box->setMaxLength(32767);
        auto *label = new QLabel(filter.label, group);
        label->setObjectName(QStringLiteral("lbl") + filter.name.mid(3));
        label->setBuddy(box);
        // Two columns, filled top to bottom; each label just above its box.
        auto *cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(label);
        cell->addWidget(box);
        grid->addLayout(cell, i % rows, i / rows);
        attachHighlight(box, filter.highlight);
        filterBoxes.append(box);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    for (int i = 0; i < filterBoxes.size(); ++i) {
        moveFocusOnEnter(filterBoxes.at(i), filterBoxes.at((i + 1) % filterBoxes.size()));
        if (i > 0)
            setTabOrder(filterBoxes.at(i - 1), filterBoxes.at(i));
    }

    lblAttendere = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), page);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->setStyleSheet(QStringLiteral("color: #B22222; font-weight: bold;"));
    lblAttendere->hide();
    lblConta = new QLabel(QStringLiteral("0"), page);
    lblConta->setObjectName(QStringLiteral("lblConta"));
    lblConta->hide();
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    btnAnnulla = button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"), page);
    btnCerca = button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"), page);
    btnCerca->setIcon(picture(QStringLiteral("find")));
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnCerca, &QPushButton::pressed, this, [this] { lblAttendere->show(); });
    connect(btnCerca, &QPushButton::clicked, this, [this] { btnCercaClick(); });
    if (!filterBoxes.isEmpty()) {
        setTabOrder(filterBoxes.last(), btnCerca);
        setTabOrder(btnCerca, btnAnnulla);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblAttendere);
    buttons->addStretch(1);
    buttons->addWidget(btnCerca);
    buttons->addWidget(btnAnnulla);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(lblRigo04);
    layout->addWidget(lblRigo05);
    layout->addWidget(lblRigo06);
    layout->addSpacing(4);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

QWidget *SummaryListWindow::buildResultPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("panContainer"));

    lblRigo01 = textLabel(QStringLiteral("lblRigo01"),
                          QStringLiteral("Immettere una o pi\u00F9 parole consecutive presenti nella scheda in elenco "
                                         "da cercare e premere il pulsante Trova."),
                          page);
    lblRigo02 = textLabel(QStringLiteral("lblRigo02"),
                          QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, "
                                         "fare di nuovo clic su Trova."),
                          page);
    txtTrova = new QLineEdit(page);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setMaxLength(32767);
    btnTrova = button(QStringLiteral("btnTrova"), QStringLiteral("Trova"), page);
    btnTrova->setIcon(picture(QStringLiteral("find")));

    lstRecords = new QListView(page);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setModel(m_model);
    lstRecords->setUniformItemSizes(true);
    lstRecords->setItemDelegate(new FixedWidthDelegate(m_config.lineWidth, lstRecords));
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setTextElideMode(Qt::ElideNone);
    lstRecords->setWordWrap(false);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(12);
    fixed.setKerning(false);
    lstRecords->setFont(fixed);
    QPalette palette = lstRecords->palette();
    palette.setColor(QPalette::Text, Qt::black);
    lstRecords->setPalette(palette);
    new ListEvents(lstRecords, [this] { lstRecordsDblClick(); });

    lblRigo03 = textLabel(QStringLiteral("lblRigo03"),
                          QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."), page);
    lblRigo03->setStyleSheet(QStringLiteral("color: #DC143C;"));
    if (hasFilterPage()) {
        lblTrovate = textLabel(QStringLiteral("lblTrovate"), QStringLiteral("Il presente elenco contiene 0 schede."), page);
        lblTrovate->setStyleSheet(QStringLiteral("color: #008B8B; font-weight: bold;"));
    }
    btnStampa = button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"), page);
    btnStampa->setIcon(picture(QStringLiteral("print")));
    btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), page);

    connect(btnTrova, &QPushButton::clicked, this, [this] { btnTrovaClick(); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { btnStampaClick(); });
    giveShortcut(btnStampa, QKeySequence(Qt::CTRL | Qt::Key_P)); // as on the cards
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    moveFocusOnEnter(txtTrova, btnTrova);
    setTabOrder(txtTrova, btnTrova);
    setTabOrder(btnTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnChiudi);

    auto *find = new QHBoxLayout;
    find->addWidget(txtTrova, 1);
    find->addWidget(btnTrova);

    auto *notes = new QVBoxLayout;
    notes->setSpacing(2);
    notes->addWidget(lblRigo03);
    if (lblTrovate)
        notes->addWidget(lblTrovate);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(notes, 1);
    for (const SummaryListTool &tool : m_config.tools) {
        auto *p = new ClickablePicture(tool.name, picture(tool.picture), tool.text, page);
        p->setText(tool.text);
        p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        p->setIconSize(QSize(24, 24));
        p->setToolTip(tool.hint);
        p->setAccessibleDescription(tool.hint);
        if (const QKeySequence keys = standardShortcut(tool.name); !keys.isEmpty())
            giveShortcut(p, keys);
        connect(p, &QToolButton::clicked, this, [this, onClick = tool.onClick] {
            if (onClick)
                onClick(this);
        });
        bottom->addWidget(p, 0, Qt::AlignBottom);
    }
    bottom->addWidget(btnStampa, 0, Qt::AlignBottom);
    bottom->addWidget(btnChiudi, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(lblRigo01);
    layout->addWidget(lblRigo02);
    layout->addLayout(find);
    layout->addWidget(lstRecords, 1);
    layout->addLayout(bottom);
    return page;
}

QLineEdit *SummaryListWindow::filterBox(const QString &name) const
{
    for (QLineEdit *box : filterBoxes)
        if (box->objectName() == name)
            return box;
    return nullptr;
}

QStringList SummaryListWindow::lines() const
{
    return m_model->lines().toStringList();
}

int SummaryListWindow::selectedRow() const
{
    const QModelIndexList rows = lstRecords->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SummaryListWindow::selectRow(int row)
{
    const QModelIndex index = m_model->index(row);
    if (!index.isValid())
        return;
    lstRecords->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lstRecords->scrollTo(index);
}

void SummaryListWindow::setLines(LineList lines)
{
    m_model->setLines(std::move(lines));
    lstRecords->horizontalScrollBar()->setValue(0);
}

void SummaryListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_lastKey.clear();
    txtTrova->clear();
    if (hasFilterPage()) {
        if (!filterBoxes.isEmpty())
            filterBoxes.first()->setFocus(Qt::OtherFocusReason);
    } else {
        fillList();
    }
}

void SummaryListWindow::done(int result)
{
    setLines({});
    if (lblAttendere)
        lblAttendere->hide();
    QDialog::done(result);
}

void SummaryListWindow::fillList()
{
    bool failed = false;
    {
        const WaitCursor wait;
        const QDate today = Clock::today();
        setLines(listLines(
            m_config.source,
            [&](const RecordView &record) { return !m_config.test || m_config.test(record, today); }, &failed));
    }
    txtTrova->setFocus(Qt::OtherFocusReason);
    if (failed && m_config.reportFillFailure)
        Messages::error(Messages::kArchiveAccess, this);
}

void SummaryListWindow::btnCercaClick()
{
    if (!hasFilterPage())
        return;
    QList<FilterRule::Box> boxes;
    for (int i = 0; i < filterBoxes.size(); ++i)
        boxes.append({m_filterFields.at(i), filterBoxes.at(i)->text()});
    const FilterRule rule(boxes);
    lblConta->setText(QString::number(rule.filledCount()));

    LineList found;
    try {
        const WaitCursor wait;
        found = searchLines(m_config.source, rule);
    } catch (const ArchiveError &) {
        lblAttendere->hide();
        Messages::plain(Messages::kArchiveAccess, this);
        return;
    }
    const qsizetype count = found.size();
    setLines(std::move(found));
    lblTrovate->setText(QStringLiteral("Il presente riepilogo contiene ") + QString::number(count)
                        + QStringLiteral(" schede."));
    panContainer->show();
    panAvvio->hide();
    lblAttendere->hide();
    txtTrova->clear();
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void SummaryListWindow::btnTrovaClick()
{
    const LineList &all = m_model->lines();
    if (all.isEmpty()) {
        Messages::plain(kEmptyList, this);
        return;
    }
    int selected = selectedRow();
    if (selected < 0) {
        selected = 0;
        selectRow(0);
    }
    const QString key = asciiLower(txtTrova->text());
    const int row = findInList(all, selected, key, m_lastKey);
    if (row >= 0)
        selectRow(row);
    m_lastKey = key;
}

void SummaryListWindow::btnStampaClick()
{
    PageOutput::print(ListReport::document(m_config.printTitle, m_model->lines().toStringList(), Clock::today()), this);
}

void SummaryListWindow::lstRecordsDblClick()
{
    const int row = selectedRow();
    if (row >= 0 && m_config.deliver) {
        const QString chosen = m_model->lines().at(row);
        const QString mode = lblMemory ? trimmed(lblMemory->text()) : QString();
        try {
            deliverChosen(m_config.source, chosen,
                          [&](const Record &record, qint64 number) { m_config.deliver(record, number, mode); });
        } catch (const std::exception &) {
            // Any failure: the window closes without a word; what was
            // delivered stays.
        }
    }
    accept();
}

} // namespace qv
