#include "output/exportwindow.h"

#include "core/cp1252.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "output/listscan.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <limits>
#include <stdexcept>

namespace qv {

const QString ExportWindow::kStartText = QStringLiteral("Esportazione archivio in Microsoft Excel.");
const QString ExportWindow::kAskExport =
    QStringLiteral("L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a seconda del numero di schede "
                   "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString ExportWindow::kAskOpen =
    QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
// LF CR LF CR written out: another file's constant may not exist yet here.
const QString ExportWindow::kExportFailed =
    QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                   "Accertarsi che il file di Excel non sia gi\u00E0 aperto.");

namespace {
const int kNumberColumnWidth = 60;
const int kRowHeight = 21;
} // namespace

// ---------------------------------------------------------------------------
// The model

ExportModel::ExportModel(const ExportLayout &layout, QObject *parent)
    : QAbstractTableModel(parent), m_layout(layout), m_rowStart{0}
{
    int longest = 0;
    for (const ExportColumn &column : m_layout.columns)
        longest += column.cell.maxLength();
    if (longest > std::numeric_limits<quint16>::max())
        throw std::invalid_argument("export: a row could outgrow its cell offsets");
}

bool ExportModel::fill(const QString &archivePath)
{
    beginResetModel();
    m_text.clear();
    m_rowStart = {0};
    m_cellEnd.clear();
    m_edits.clear();
    const int columns = int(m_layout.columns.size());
    const int recordSize = m_layout.record->size();
    const qint64 records = QFileInfo(archivePath).size() / recordSize;
    m_rowStart.reserve(records + 1);
    m_cellEnd.reserve(records * columns);
    bool complete = true;
    try {
        scanArchive(archivePath, *m_layout.record, [&](const RecordView &record, qint64) {
            const qsizetype start = m_text.size();
            for (const ExportColumn &column : m_layout.columns) {
                column.cell.compose(record, m_text);
                m_cellEnd.append(quint16(m_text.size() - start));
            }
            m_rowStart.append(m_text.size());
        });
    } catch (const std::exception &) {
        // The rows read so far stay; the reader stops at the failure.
        m_cellEnd.resize((m_rowStart.size() - 1) * columns);
        m_text.truncate(m_rowStart.last());
        complete = false;
    }
    m_text.squeeze();
    endResetModel();
    return complete;
}

QByteArrayView ExportModel::stored(int row, int column) const
{
    const int columns = int(m_layout.columns.size());
    const qsizetype cell = qsizetype(row) * columns + (column - 1);
    const qsizetype begin = column == 1 ? 0 : m_cellEnd.at(cell - 1);
    const qsizetype end = m_cellEnd.at(cell);
    return QByteArrayView(m_text.constData() + m_rowStart.at(row) + begin, end - begin);
}

QString ExportModel::cellText(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    if (column == 0)
        return QString::number(row + 1);
    const auto edited = m_edits.constFind(key(row, column));
    if (edited != m_edits.constEnd())
        return *edited;
    const QByteArrayView bytes = stored(row, column);
    return cp1252::decode(bytes.data(), bytes.size());
}

bool ExportModel::isEdited(int row, int column) const
{
    return m_edits.contains(key(row, column));
}

void ExportModel::writeRows(RowSink &writer) const
{
    const int rows = rowCount();
    const int columns = columnCount();
    for (int row = 0; row < rows; ++row) {
        writer.beginRow(row + 1); // the grid holds the whole archive in order
        for (int column = 1; column < columns; ++column) {
            const auto edited = m_edits.isEmpty() ? m_edits.constEnd() : m_edits.constFind(key(row, column));
            if (edited != m_edits.constEnd())
                writer.cell(*edited);
            else
                writer.cell(stored(row, column));
        }
        writer.endRow();
    }
}

int ExportModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rowStart.size() - 1);
}

int ExportModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_layout.columns.size()) + 1;
}

QVariant ExportModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return cellText(index.row(), index.column());
    return {};
}

QVariant ExportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return section == 0 ? QStringLiteral("N.") : m_layout.columns.at(section - 1).heading;
}

Qt::ItemFlags ExportModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() > 0 && m_layout.columns.at(index.column() - 1).editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ExportModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    const QByteArrayView bytes = stored(index.row(), index.column());
    // Back to what the archive holds: nothing to keep aside.
    if (text == cp1252::decode(bytes.data(), bytes.size()))
        m_edits.remove(key(index.row(), index.column()));
    else
        m_edits.insert(key(index.row(), index.column()), text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

// ---------------------------------------------------------------------------
// The grid

void ExportGrid::commitOpenEditor()
{
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// ---------------------------------------------------------------------------
// The window

ExportWindow::ExportWindow(ExportWindowConfig config, QWidget *parent)
    : QDialog(parent), m_config(std::move(config)), m_model(new ExportModel(m_config.layout, this))
{
    applyRegionalSettings();
    setObjectName(m_config.objectName);
    setWindowTitle(m_config.caption);
    setWindowIcon(picture(QStringLiteral("logo")));
    setModal(true);

    // Heading strip: the program's picture, the caption and the three pictures.
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(30, 30)));
    auto *heading = new QLabel(trimmed(m_config.caption), this);
    heading->setObjectName(QStringLiteral("lblIntestazione"));
    heading->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: 700; color: #1F4E79;"));
    auto makePicture = [this](const char *name, const char *icon, const QString &hint, int size) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), picture(QString::fromLatin1(icon)), hint, this);
        p->setIconSize(QSize(size, size));
        return p;
    };
    cmdEsporta = makePicture("cmdEsporta", "excel", QStringLiteral("Esporta l'archivio in formato Microsoft Excel."), 40);
    icoHand = new QLabel(this);
    icoHand->setObjectName(QStringLiteral("icoHand"));
    icoHand->setPixmap(pictureOfSize(QStringLiteral("hand_pointer"), QSize(32, 32)));
    cmdGuida = makePicture("cmdGuida", "guide", QStringLiteral("Visualizza la pagina della guida sensibile al contesto."), 32);
    cmdEsci = makePicture("cmdEsci", "close", QStringLiteral("Esci da questo ambiente di lavoro."), 32);

    grdRecords = new ExportGrid(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    grdRecords->setWordWrap(false);
    grdRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grdRecords->verticalHeader()->hide();
    // Fixed row heights: nothing is measured, however many rows there are.
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdRecords->horizontalHeader()->setHighlightSections(false);
    grdRecords->setColumnWidth(0, kNumberColumnWidth);
    for (int i = 0; i < m_config.layout.columns.size(); ++i)
        grdRecords->setColumnWidth(i + 1, m_config.layout.columns.at(i).width);

    panInfo = new QLabel(kStartText, this);
    panInfo->setObjectName(QStringLiteral("panInfo"));

    auto *head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(imgLogo);
    head->addWidget(heading, 1);
    // The hand points at the export picture.
    head->addWidget(icoHand);
    head->addWidget(cmdEsporta);
    head->addSpacing(16);
    head->addWidget(cmdGuida);
    head->addWidget(cmdEsci);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet(QStringLiteral("color: #C9D3DE;"));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 10, 14, 8);
    body->setSpacing(6);
    body->addLayout(head);
    body->addWidget(rule);
    body->addWidget(grdRecords, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(panInfo);

    connect(cmdEsporta, &QToolButton::clicked, this, [this] { cmdEsportaClick(); });
    connect(cmdGuida, &QToolButton::clicked, this, [this] { cmdGuidaClick(); });
    connect(cmdEsci, &QToolButton::clicked, this, [this] { cmdEsciClick(); });
    m_infoBar = new InfoBar(panInfo);
    for (ClickablePicture *p : {cmdEsporta, cmdGuida, cmdEsci})
        m_infoBar->addHint(p, p->accessibleName());
    // Anywhere else (background, grid, pointing hand) the bar empties.
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);

    // Fixed size, no title-bar buttons, centred on the screen.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(862, 560);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

QString ExportWindow::filePath() const
{
    return ProgramFolder::file(m_config.layout.fileName);
}

void ExportWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_filled)
        fillGrid();
}

void ExportWindow::fillGrid()
{
    m_filled = true;
    {
        const WaitCursor wait;
        m_readFailed = !m_model->fill(m_config.archivePath ? m_config.archivePath() : QString());
    }
    if (m_readFailed)
        Messages::error(Messages::kArchiveAccess, this);
}

void ExportWindow::cmdEsportaClick()
{
    // A grid that misses part of the archive would replace a good export
    // with a partial one.
    if (m_readFailed) {
        Messages::error(Messages::kArchiveAccess, this);
        return;
    }
    // What the user is typing counts.
    grdRecords->commitOpenEditor();
    if (!Messages::question(kAskExport, this))
        return;
    try {
        const WaitCursor wait;
        writeSpreadsheetFile(filePath(), m_config.layout.worksheet, m_config.layout.fileColumns(),
                             [this](SpreadsheetWriter &writer) { m_model->writeRows(writer); });
    } catch (const std::exception &) {
        // Whatever went wrong, the previous export is as it was.
        Messages::plain(kExportFailed, this);
        return;
    }
    if (Messages::question(kAskOpen, this))
        TMisc::Open(TMisc::ProgramFile(m_config.layout.fileName));
}

void ExportWindow::cmdGuidaClick()
{
    if (m_config.guide)
        m_config.guide(this);
}

void ExportWindow::cmdEsciClick()
{
    reject();
}

} // namespace qv
