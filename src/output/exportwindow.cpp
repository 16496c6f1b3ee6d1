#include "output/exportwindow.h"

#include "core/cp1252.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "output/exportformats.h"
#include "output/listscan.h"
#include "ui/desktop.h"
#include "ui/filechooser.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QStandardPaths>
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

const QString ExportWindow::kSaveAsTitle = QStringLiteral("Salvare i dati della griglia con nome:");
// LF CR LF CR written out, as above.
const QString ExportWindow::kSaveAsFailed =
    QStringLiteral("Attenzione: il sistema non permette di salvare i dati nel file scelto.\n\r\n\r"
                   "Accertarsi che il file non sia gi\u00E0 aperto e di possedere i privilegi di scrittura nella "
                   "cartella scelta.");

namespace {
const int kNumberColumnWidth = 60;
const int kRowHeight = 21;

// Where "Salva come..." starts: the folder of the last file saved this way,
// at first the user's documents.
QString &saveFolder()
{
    static QString folder = [] {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }();
    return folder;
}

// What a chosen file is written as: the format its suffix names, when the
// export offers it (typed by the user, or added by the dialog); otherwise the
// format of the filter selected, whose suffix the name then gets.
struct SaveTarget
{
    ExportFormat format;
    QString path;
};

SaveTarget saveTarget(const ExportLayout &layout, const FileChooser::SaveChoice &choice)
{
    const QList<ExportFormat> offered = exportFormats(layout);
    const std::optional<ExportFormat> typed = exportFormatNamed(asciiLower(QFileInfo(choice.path).suffix()));
    if (typed && offered.contains(*typed))
        return {*typed, choice.path};
    ExportFormat format = ExportFormat::Xlsx;
    for (const ExportFormat f : offered)
        if (formatFilter(f) == choice.filter)
            format = f;
    QString path = choice.path;
    while (path.endsWith(QLatin1Char('.')))
        path.chop(1);
    return {format, path + QLatin1Char('.') + formatSuffix(format)};
}

// The rows a format had to leave out, in the words of the message that
// follows a save: "La scheda n. 4 non è stata inclusa nel file perché ...".
QString leftOutSentence(ExportFormat format, const QList<qint64> &skipped)
{
    if (skipped.isEmpty())
        return {};
    const int listed = 10;
    QStringList numbers;
    for (qsizetype i = 0; i < std::min<qsizetype>(skipped.size(), listed); ++i)
        numbers.append(QString::number(skipped.at(i)));
    QString which;
    if (skipped.size() > listed) {
        which = numbers.join(QStringLiteral(", ")) + QStringLiteral(" e altre %1").arg(skipped.size() - listed);
    } else {
        const QString last = numbers.takeLast();
        which = numbers.isEmpty() ? last : numbers.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
    }
    const bool one = skipped.size() == 1;
    const QString why = (one ? QStringLiteral("priva") : QStringLiteral("prive"))
                        + (format == ExportFormat::Ics ? QStringLiteral(" di una data di inizio valida")
                                                       : QStringLiteral(" del cognome e nome"));
    return one ? QStringLiteral("La scheda n. %1 non \u00E8 stata inclusa nel file perch\u00E9 %2.").arg(which, why)
               : QStringLiteral("Le schede n. %1 non sono state incluse nel file perch\u00E9 %2.").arg(which, why);
}
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
    // Beside the pictures a long caption goes onto two lines rather than being cut.
    heading->setWordWrap(true);
    auto makePicture = [this](const char *name, const char *icon, const QString &hint, int size) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), picture(QString::fromLatin1(icon)), hint, this);
        p->setIconSize(QSize(size, size));
        return p;
    };
    cmdEsporta = makePicture("cmdEsporta", "excel", QStringLiteral("Esporta l'archivio in formato Microsoft Excel."), 40);
    // Shown with its label, and heard by it.
    cmdSalvaCome = makePicture("cmdSalvaCome", "save_as", QStringLiteral("Salva come..."), 32);
    cmdSalvaCome->setText(cmdSalvaCome->accessibleName());
    cmdSalvaCome->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
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
    head->addSpacing(8);
    head->addWidget(cmdSalvaCome);
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
    connect(cmdSalvaCome, &QToolButton::clicked, this, [this] { cmdSalvaComeClick(); });
    connect(cmdGuida, &QToolButton::clicked, this, [this] { cmdGuidaClick(); });
    connect(cmdEsci, &QToolButton::clicked, this, [this] { cmdEsciClick(); });
    m_infoBar = new InfoBar(panInfo);
    for (ClickablePicture *p : {cmdEsporta, cmdGuida, cmdEsci})
        m_infoBar->addHint(p, p->accessibleName());
    m_infoBar->addHint(cmdSalvaCome, QStringLiteral("Salva i dati della griglia in un file, scegliendone nome, "
                                                    "cartella e formato."));
    // Anywhere else (background, grid, pointing hand) the bar empties.
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);

    applyStandardShortcuts(this);

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

bool ExportWindow::refusedForReadFailure()
{
    // A grid that misses part of the archive would replace a good export
    // with a partial one.
    if (m_readFailed)
        Messages::error(Messages::kArchiveAccess, this);
    return m_readFailed;
}

void ExportWindow::cmdEsportaClick()
{
    if (refusedForReadFailure())
        return;
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
        Desktop::openFile(ProgramFolder::file(m_config.layout.fileName), this);
}

void ExportWindow::cmdSalvaComeClick()
{
    if (refusedForReadFailure())
        return;
    grdRecords->commitOpenEditor();
    const ExportLayout &layout = m_config.layout;
    QStringList filters;
    for (const ExportFormat format : exportFormats(layout))
        filters.append(formatFilter(format));
    const FileChooser::SaveChoice choice =
        FileChooser::saveFile(this, kSaveAsTitle, filters, formatFilter(ExportFormat::Xlsx),
                              QDir(saveFolder()).filePath(exportFileName(layout, ExportFormat::Xlsx)));
    if (choice.path.isEmpty())
        return;
    const SaveTarget target = saveTarget(layout, choice);
    // The dialog asked about the name it was given, not about one with a
    // suffix added here.
    if (target.path != choice.path && QFileInfo::exists(target.path)
        && !Messages::question(QStringLiteral("Il file %1 esiste gi\u00E0.\r\n\r\nSi vuole sostituirlo?")
                                   .arg(QDir::toNativeSeparators(target.path)),
                               this))
        return;
    ExportOutcome outcome;
    try {
        const WaitCursor wait;
        outcome = writeExport(target.format, target.path, layout, [this](RowSink &sink) { m_model->writeRows(sink); });
    } catch (const std::exception &) {
        // Whatever went wrong, a file of that name is as it was.
        Messages::plain(kSaveAsFailed, this);
        return;
    }
    saveFolder() = QFileInfo(target.path).absolutePath();
    QString text = QStringLiteral("Le schede in archivio sono state salvate con successo nel file %1.")
                       .arg(QDir::toNativeSeparators(target.path));
    if (!outcome.skipped.isEmpty())
        text += QStringLiteral("\r\n\r\n") + leftOutSentence(target.format, outcome.skipped);
    if (Messages::question(text + QStringLiteral("\r\n\r\nSi vuole aprire il file?"), this))
        Desktop::openFile(target.path, this);
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
