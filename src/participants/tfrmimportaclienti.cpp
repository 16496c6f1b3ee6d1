#include "participants/tfrmimportaclienti.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/text.h"
#include "frame/guide.h"
#include "imports/participantimport.h"
#include "ui/access.h"
#include "ui/filechooser.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

using namespace qv;
using namespace qv::imports;

const QString TfrmImportaClienti::kChooserTitle = QStringLiteral("Selezionare il file dei partecipanti da importare:");
const QString TfrmImportaClienti::kStartText = QStringLiteral("Importazione partecipanti da un file.");

namespace {

const QString kTargetHint =
    QStringLiteral("Il campo della scheda in cui va la colonna; \"(non importare)\" la lascia fuori.");

// One of the program's own sentences, as a message shows it: capital first.
QString sentence(QString text)
{
    if (!text.isEmpty())
        text[0] = asciiUpper(text.at(0));
    return text;
}

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

// The work on the file's rows runs in a thread of its own, so the window
// keeps answering (the cancel button among the rest); only that thread
// touches the import session meanwhile.
class TfrmImportaClienti::Work : public QObject
{
public:
    using Job = std::function<void(const Progress &progress)>;
    using Then = std::function<void(std::exception_ptr failure)>;

    Work(TfrmImportaClienti *window, Job job, Then then)
        : QObject(window), m_window(window), m_job(std::move(job)), m_then(std::move(then))
    {
    }
    ~Work() override
    {
        if (m_thread) {
            m_cancel = true;
            m_thread->wait();
        }
    }

    void start()
    {
        m_thread.reset(QThread::create([this] {
            try {
                m_job([this](qint64 done, qint64 total) {
                    m_done = done;
                    m_total = total;
                    return !m_cancel.load();
                });
            } catch (...) {
                m_failure = std::current_exception();
            }
        }));
        connect(m_thread.get(), &QThread::finished, this, [this] { finished(); });
        m_thread->start();
    }
    void cancel() { m_cancel = true; }
    // Per thousand of the rows, or -1 while the total is not known.
    int permille() const
    {
        const qint64 total = m_total;
        return total > 0 ? int(std::min<qint64>(1000, m_done * 1000 / total)) : -1;
    }

private:
    void finished()
    {
        m_thread->wait();
        m_thread.reset();
        const Then then = std::move(m_then);
        const std::exception_ptr failure = m_failure;
        m_window->workFinished(this);
        then(failure);
    }

    TfrmImportaClienti *m_window;
    Job m_job;
    Then m_then;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<qint64> m_done{0}, m_total{0};
    std::exception_ptr m_failure;
};

TfrmImportaClienti::TfrmImportaClienti(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImportaClienti"));
    setWindowTitle(QStringLiteral(" Importa partecipanti da un file"));
    setWindowIcon(picture(QStringLiteral("logo")));
    setModal(true);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("menu_participants"), QSize(30, 30)));
    auto *heading = new QLabel(QStringLiteral("Importa partecipanti da un file"), this);
    heading->setObjectName(QStringLiteral("lblIntestazione"));
    const auto makePicture = [this](const char *name, const char *icon, const QString &caption, int size) {
        auto *p = new ClickablePicture(QString::fromLatin1(name), picture(QString::fromLatin1(icon)), caption, this);
        p->setIconSize(QSize(size, size));
        return p;
    };
    // The two actions show their labels and are heard by them.
    cmdApriFile = makePicture("cmdApriFile", "folder_open", QStringLiteral("Scegli file..."), 32);
    cmdImporta = makePicture("cmdImporta", "file_import", QStringLiteral("Importa"), 32);
    for (ClickablePicture *p : {cmdApriFile, cmdImporta}) {
        p->setText(p->accessibleName());
        p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    cmdGuida =
        makePicture("cmdGuida", "guide", QStringLiteral("Visualizza la pagina della guida sensibile al contesto."), 32);
    cmdEsci = makePicture("cmdEsci", "close", QStringLiteral("Esci da questo ambiente di lavoro."), 32);

    auto *lblFile = new QLabel(QStringLiteral("File:"), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    txtFile = new QLineEdit(this);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setReadOnly(true);
    txtFile->setFocusPolicy(Qt::ClickFocus);
    lblFile->setBuddy(txtFile);

    auto *lblAnteprima =
        new QLabel(QStringLiteral("Prime righe del file e campo della scheda in cui va ogni colonna:"), this);
    lblAnteprima->setObjectName(QStringLiteral("lblAnteprima"));
    grdAnteprima = new QTableWidget(this);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setAlternatingRowColors(true);
    grdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAnteprima->setSelectionMode(QAbstractItemView::SingleSelection);
    grdAnteprima->setWordWrap(false);
    grdAnteprima->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grdAnteprima->setTabKeyNavigation(false); // Tab goes from one column's field box to the next
    grdAnteprima->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdAnteprima->horizontalHeader()->setHighlightSections(false);
    grdAnteprima->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdAnteprima->verticalHeader()->setDefaultSectionSize(21);
    lblAnteprima->setBuddy(grdAnteprima);

    lblColonne = new QLabel(this);
    lblColonne->setObjectName(QStringLiteral("lblColonne"));
    lblColonne->setWordWrap(true);
    lblColonne->setTextFormat(Qt::PlainText);

    auto *lblProblemi = new QLabel(QStringLiteral("Avvisi e doppioni, riga per riga:"), this);
    lblProblemi->setObjectName(QStringLiteral("lblProblemi"));
    lblRiepilogo = new QLabel(this);
    lblRiepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    lblRiepilogo->setWordWrap(true);
    grdProblemi = new QTableWidget(0, 2, this);
    grdProblemi->setObjectName(QStringLiteral("grdProblemi"));
    grdProblemi->setHorizontalHeaderLabels({QStringLiteral("Riga"), QStringLiteral("Avviso")});
    grdProblemi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdProblemi->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdProblemi->setSelectionMode(QAbstractItemView::SingleSelection);
    grdProblemi->setAlternatingRowColors(true);
    grdProblemi->setWordWrap(false);
    grdProblemi->setTabKeyNavigation(false);
    grdProblemi->verticalHeader()->hide();
    grdProblemi->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdProblemi->verticalHeader()->setDefaultSectionSize(21);
    grdProblemi->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdProblemi->horizontalHeader()->setHighlightSections(false);
    grdProblemi->horizontalHeader()->setStretchLastSection(true);
    grdProblemi->setColumnWidth(0, 70);
    lblProblemi->setBuddy(grdProblemi);

    chkDoppioni = new QCheckBox(QStringLiteral("Importa anche i doppioni"), this);
    chkDoppioni->setObjectName(QStringLiteral("chkDoppioni"));
    lblAvanzamento = new QLabel(this);
    lblAvanzamento->setObjectName(QStringLiteral("lblAvanzamento"));
    prbImporta = new QProgressBar(this);
    prbImporta->setObjectName(QStringLiteral("prbImporta"));
    prbImporta->setRange(0, 1000);
    prbImporta->setTextVisible(false);
    prbImporta->setMinimumWidth(260);
    lblAvanzamento->setBuddy(prbImporta);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setAutoDefault(false);
    panInfo = new QLabel(kStartText, this);
    panInfo->setObjectName(QStringLiteral("panInfo"));

    // Heading strip, as the exports have it.
    auto *head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(imgLogo);
    head->addWidget(heading, 1);
    head->addWidget(cmdApriFile);
    head->addWidget(cmdImporta);
    head->addSpacing(16);
    head->addWidget(cmdGuida);
    head->addWidget(cmdEsci);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setProperty("toolSeparator", true);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(lblFile);
    fileRow->addWidget(txtFile, 1);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(chkDoppioni);
    bottomRow->addStretch(1);
    bottomRow->addWidget(lblAvanzamento);
    bottomRow->addWidget(prbImporta);
    bottomRow->addWidget(btnAnnulla);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 10, 14, 8);
    body->setSpacing(6);
    body->addLayout(head);
    body->addWidget(rule);
    body->addLayout(fileRow);
    body->addWidget(lblAnteprima);
    body->addWidget(grdAnteprima, 3);
    body->addWidget(lblColonne);
    body->addWidget(lblRiepilogo);
    body->addWidget(lblProblemi);
    body->addWidget(grdProblemi, 2);
    body->addLayout(bottomRow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(panInfo);

    connect(cmdApriFile, &QToolButton::clicked, this, [this] { cmdApriFileClick(); });
    connect(cmdImporta, &QToolButton::clicked, this, [this] { cmdImportaClick(); });
    connect(cmdGuida, &QToolButton::clicked, this, [this] { cmdGuidaClick(); });
    connect(cmdEsci, &QToolButton::clicked, this, [this] { cmdEsciClick(); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });
    connect(chkDoppioni, &QCheckBox::toggled, this, [this] { showCounts(); });
    // A field box reached with Tab is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        for (int c = 0; now && c < grdAnteprima->columnCount(); ++c)
            if (grdAnteprima->cellWidget(0, c) == now)
                grdAnteprima->scrollTo(grdAnteprima->model()->index(0, c));
    });

    m_infoBar = new InfoBar(panInfo);
    m_infoBar->addHint(cmdApriFile, QStringLiteral("Sceglie il file da importare: un file CSV, una cartella di lavoro "
                                                   "di Excel (.xlsx) o un file di contatti vCard (.vcf)."));
    m_infoBar->addHint(cmdImporta, QStringLiteral("Aggiunge all'archivio dei partecipanti una scheda per ogni riga "
                                                  "del file, dopo averle controllate."));
    m_infoBar->addHint(cmdGuida, cmdGuida->accessibleName());
    m_infoBar->addHint(cmdEsci, cmdEsci->accessibleName());
    m_infoBar->addHint(grdAnteprima, QStringLiteral("Le prime righe del file; sopra ogni colonna il campo della "
                                                    "scheda in cui va, che si pu\u00F2 cambiare."));
    m_infoBar->addHint(grdProblemi, QStringLiteral("Le righe del file con un avviso o che ripetono un partecipante "
                                                   "gi\u00E0 presente: nulla \u00E8 ancora stato scritto."));
    m_infoBar->addHint(chkDoppioni, QStringLiteral("Contrassegna questa casella per importare anche le righe che "
                                                   "ripetono un partecipante gi\u00E0 presente."));
    m_infoBar->addHint(btnAnnulla, QStringLiteral("Interrompe l'operazione in corso lasciando l'archivio com'era."));
    describe(txtFile, QStringLiteral("File da importare"), QString());
    describe(prbImporta, QStringLiteral("Avanzamento"), QString());
    applyStandardShortcuts(this);
    m_infoBar->watchBackground(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (m_infoBar->hint(w).isEmpty())
            m_infoBar->watchBackground(w);

    m_refresh = new QTimer(this);
    m_refresh->setInterval(100);
    connect(m_refresh, &QTimer::timeout, this, [this] { showProgress(); });

    clearFile();
    setBusy(false);
    setMinimumSize(900, 560);
    resize(1000, 620);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(size().boundedTo(available.size() - QSize(0, 40)));
        QRect frame = frameGeometry();
        frame.moveCenter(available.center());
        move(frame.topLeft());
    }
}

TfrmImportaClienti::~TfrmImportaClienti()
{
    delete m_work; // waits for a running step, cancelled
}

QComboBox *TfrmImportaClienti::targetBox(int column) const
{
    return qobject_cast<QComboBox *>(grdAnteprima->cellWidget(0, column + 1));
}

void TfrmImportaClienti::clearFile()
{
    m_session.reset();
    txtFile->clear();
    grdAnteprima->clear();
    grdAnteprima->setRowCount(0);
    grdAnteprima->setColumnCount(0);
    grdProblemi->setRowCount(0);
    lblColonne->clear();
    lblColonne->hide();
    lblRiepilogo->clear();
    chkDoppioni->setChecked(false);
    updateEnabled();
}

bool TfrmImportaClienti::openFile(const QString &path)
{
    if (m_work)
        return false;
    std::unique_ptr<ParticipantImport> session;
    try {
        const WaitCursor wait;
        session = std::make_unique<ParticipantImport>(path, TSchedaPartecipante::archivePath());
    } catch (const ImportError &e) {
        Messages::failure(refusal(e), this);
        return false;
    }
    clearFile();
    m_session = std::move(session);
    txtFile->setText(QDir::toNativeSeparators(path));
    fillPreview();
    showColumns();
    updateEnabled();
    if (m_session->mappingProblems().isEmpty())
        analyse();
    return true;
}

QString TfrmImportaClienti::refusal(const ImportError &error)
{
    return QStringLiteral("Attenzione: il file scelto non pu\u00F2 essere importato.") + Messages::kBreak
           + sentence(error.message());
}

void TfrmImportaClienti::fillPreview()
{
    const QStringList &heading = m_session->heading();
    const QList<SourceRow> &rows = m_session->preview();
    grdAnteprima->setColumnCount(int(heading.size()) + 1);
    grdAnteprima->setRowCount(int(rows.size()) + 1);
    QStringList headings{QStringLiteral("Cognome e nome sulla scheda")};
    for (int c = 0; c < heading.size(); ++c) {
        const QString text = trimmed(heading.at(c));
        headings.append(text.isEmpty() ? QStringLiteral("(colonna %1)").arg(c + 1) : text);
    }
    grdAnteprima->setHorizontalHeaderLabels(headings);
    QStringList lines{QStringLiteral("Campo")};
    for (const SourceRow &row : rows)
        lines.append(QString::number(row.line));
    grdAnteprima->setVerticalHeaderLabels(lines);
    grdAnteprima->setItem(0, 0, readOnlyItem(QStringLiteral("Campo della scheda:")));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < heading.size(); ++c)
            grdAnteprima->setItem(r + 1, c + 1, readOnlyItem(rows.at(r).values.value(c)));

    const QList<TargetChoice> &choices = targetChoices();
    QWidget *previous = nullptr;
    int boxHeight = 0;
    for (int c = 0; c < heading.size(); ++c) {
        auto *box = new QComboBox;
        box->setObjectName(QStringLiteral("cboColonna%1").arg(c + 1));
        for (const TargetChoice &choice : choices)
            box->addItem(choice.label);
        const ColumnTarget current = m_session->mapping().at(c);
        for (int i = 0; i < choices.size(); ++i)
            if (choices.at(i).target == current)
                box->setCurrentIndex(i);
        box->setAccessibleName(
            QStringLiteral("Colonna %1 \"%2\": campo della scheda").arg(QString::number(c + 1), headings.at(c + 1)));
        m_infoBar->addHint(box, kTargetHint);
        connect(box, &QComboBox::currentIndexChanged, this, [this, c](int index) { targetChosen(c, index); });
        grdAnteprima->setCellWidget(0, c + 1, box);
        boxHeight = std::max(boxHeight, box->sizeHint().height());
        grdAnteprima->setColumnWidth(c + 1, std::clamp(box->sizeHint().width() + 8, 150, 260));
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
    }
    if (previous) {
        QWidget::setTabOrder(previous, chkDoppioni);
        QWidget::setTabOrder(chkDoppioni, grdProblemi);
    }
    grdAnteprima->setColumnWidth(0, 220);
    grdAnteprima->verticalHeader()->resizeSection(0, boxHeight + 4);
    showPreviewNames();
}

// Column 0: the name each row gives its card, as the columns are matched now.
void TfrmImportaClienti::showPreviewNames()
{
    const QList<SourceRow> &rows = m_session->preview();
    for (int r = 0; r < rows.size(); ++r) {
        const ImportedRow row = m_session->convert(rows.at(r));
        grdAnteprima->setItem(r + 1, 0, readOnlyItem(row.skipped ? QStringLiteral("(riga saltata)")
                                                                 : row.card.text(QStringLiteral("Cliente"))));
    }
}

void TfrmImportaClienti::showColumns()
{
    QStringList lines;
    for (const QString &problem : m_session->mappingProblems())
        lines.append(QStringLiteral("Attenzione: ") + problem);
    for (const QString &ignored : m_session->ignoredColumns())
        lines.append(sentence(ignored));
    lblColonne->setText(lines.join(QLatin1Char('\n')));
    lblColonne->setVisible(!lines.isEmpty());
}

void TfrmImportaClienti::targetChosen(int column, int choice)
{
    if (!m_session || m_work || choice < 0 || choice >= targetChoices().size())
        return;
    m_session->setTarget(column, targetChoices().at(choice).target);
    showPreviewNames();
    showColumns();
    grdProblemi->setRowCount(0);
    showCounts();
    if (m_session->mappingProblems().isEmpty())
        analyse();
}

void TfrmImportaClienti::analyse(std::function<void()> then)
{
    ParticipantImport *session = m_session.get();
    run(QStringLiteral("Controllo delle righe del file..."),
        [session](const Progress &progress) { session->analyse(progress); },
        [this, then](std::exception_ptr failure) {
            if (toldFailure(failure, false))
                return;
            showAnalysis();
            if (then)
                then();
        });
}

bool TfrmImportaClienti::toldFailure(std::exception_ptr failure, bool tellCancel)
{
    if (!failure)
        return false;
    try {
        std::rethrow_exception(failure);
    } catch (const ImportCancelled &) {
        if (tellCancel)
            Messages::notice(QStringLiteral("Importazione annullata: l'archivio dei partecipanti non \u00E8 "
                                                 "stato modificato."),
                                  this);
    } catch (const ImportError &e) {
        Messages::failure(refusal(e), this);
        clearFile();
    } catch (const std::exception &) {
        // The archive could not be read (for the duplicates) or written:
        // none of the cards is in it.
        Messages::failure(Messages::kArchiveAccess, this);
    }
    showCounts();
    return true;
}

void TfrmImportaClienti::showAnalysis()
{
    const ImportAnalysis &a = *m_session->analysis();
    struct Line
    {
        qint64 line;
        QString text;
    };
    QList<Line> lines;
    for (const RowProblem &p : a.listedProblems)
        lines.append({p.line, sentence(p.text)});
    for (const DuplicateRow &d : a.listedDuplicates)
        lines.append({d.line, sentence(d.text()) + QLatin1Char('.')});
    std::stable_sort(lines.begin(), lines.end(), [](const Line &x, const Line &y) { return x.line < y.line; });
    if (a.problems + a.notices > a.listedProblems.size())
        lines.append({0, QStringLiteral("... e altri %1 avvisi.").arg(a.problems + a.notices - a.listedProblems.size())});
    if (a.duplicates > a.listedDuplicates.size())
        lines.append({0, QStringLiteral("... e altri %1 doppioni.").arg(a.duplicates - a.listedDuplicates.size())});
    showColumns(); // with the rows that hold a value in a column left out
    grdProblemi->setRowCount(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        grdProblemi->setItem(i, 0, readOnlyItem(lines.at(i).line > 0 ? QString::number(lines.at(i).line) : QString()));
        grdProblemi->setItem(i, 1, readOnlyItem(lines.at(i).text));
    }
    showCounts();
}

void TfrmImportaClienti::showCounts()
{
    const ImportAnalysis *a = m_session ? m_session->analysis() : nullptr;
    if (!m_session) {
        lblRiepilogo->clear();
    } else if (!m_session->mappingProblems().isEmpty()) {
        lblRiepilogo->setText(QStringLiteral("Indicare il campo di ogni colonna."));
    } else if (!a) {
        lblRiepilogo->setText(
            QStringLiteral("Righe non ancora controllate: Importa le controlla prima di aggiungerle."));
    } else {
        const bool withDuplicates = chkDoppioni->isChecked();
        QString text = QStringLiteral("Righe nel file: %1. Schede da aggiungere: %2.")
                           .arg(a->rows)
                           .arg(a->importable - (withDuplicates ? 0 : a->duplicates));
        if (a->duplicates > 0)
            text += QStringLiteral(" Doppioni: %1, %2.")
                        .arg(a->duplicates)
                        .arg(withDuplicates ? QStringLiteral("importati") : QStringLiteral("non importati"));
        if (a->rowsWithProblems > 0)
            text += QStringLiteral(" Righe con avvisi: %1.").arg(a->rowsWithProblems);
        if (a->skipped > 0)
            text += QStringLiteral(" Righe saltate: %1.").arg(a->skipped);
        lblRiepilogo->setText(text);
    }
    updateEnabled();
}

void TfrmImportaClienti::updateEnabled()
{
    const bool idle = !m_work;
    cmdApriFile->setEnabled(idle);
    cmdImporta->setEnabled(idle && m_session);
    for (int c = 1; c < grdAnteprima->columnCount(); ++c)
        if (QWidget *box = grdAnteprima->cellWidget(0, c))
            box->setEnabled(idle);
    const ImportAnalysis *a = m_session ? m_session->analysis() : nullptr;
    chkDoppioni->setEnabled(idle && a && a->duplicates > 0);
}

void TfrmImportaClienti::run(const QString &what, std::function<void(const Progress &)> job,
                             std::function<void(std::exception_ptr)> then)
{
    m_work = new Work(this, std::move(job), std::move(then));
    lblAvanzamento->setText(what);
    prbImporta->setRange(0, 0);
    setBusy(true);
    m_work->start();
}

void TfrmImportaClienti::workFinished(Work *work)
{
    if (work != m_work)
        return;
    m_work = nullptr;
    work->deleteLater();
    setBusy(false);
}

void TfrmImportaClienti::showProgress()
{
    if (!m_work)
        return;
    const int permille = m_work->permille();
    if (permille < 0) {
        prbImporta->setRange(0, 0);
        return;
    }
    prbImporta->setRange(0, 1000);
    prbImporta->setValue(permille);
}

void TfrmImportaClienti::setBusy(bool busy)
{
    for (QWidget *w : {static_cast<QWidget *>(lblAvanzamento), static_cast<QWidget *>(prbImporta),
                       static_cast<QWidget *>(btnAnnulla)})
        w->setVisible(busy);
    btnAnnulla->setEnabled(busy);
    if (busy)
        m_refresh->start();
    else
        m_refresh->stop();
    updateEnabled();
}

bool TfrmImportaClienti::isBusy() const
{
    return m_work != nullptr;
}

void TfrmImportaClienti::cmdApriFileClick()
{
    if (m_work)
        return;
    const QString path = FileChooser::openFile(this, kChooserTitle, importFileFilters());
    if (!path.isEmpty())
        openFile(path);
}

void TfrmImportaClienti::cmdImportaClick()
{
    if (m_work || !m_session)
        return;
    const QStringList mapping = m_session->mappingProblems();
    if (!mapping.isEmpty()) {
        Messages::caution(QStringLiteral("Attenzione: ") + mapping.join(Messages::kBreak), this);
        return;
    }
    // Nothing is written before every row has been checked and shown.
    if (!m_session->analysis()) {
        analyse([this] { confirmAndCommit(); });
        return;
    }
    confirmAndCommit();
}

void TfrmImportaClienti::confirmAndCommit()
{
    const ImportAnalysis &a = *m_session->analysis();
    const bool withDuplicates = chkDoppioni->isChecked();
    const qint64 leftOut = withDuplicates ? 0 : a.duplicates;
    const qint64 ready = a.importable - leftOut;
    if (ready == 0) {
        QString text = QStringLiteral("Attenzione: nel file non ci sono righe da importare.");
        if (leftOut > 0)
            text += Messages::kBreak
                    + QStringLiteral("Tutte le righe ripetono partecipanti gi\u00E0 presenti: per importarle "
                                     "comunque contrassegnare la casella Importa anche i doppioni.");
        Messages::caution(text, this);
        return;
    }
    QString text = ready == 1 ? QStringLiteral("Verr\u00E0 aggiunta all'archivio dei partecipanti 1 nuova scheda.")
                              : QStringLiteral("Verranno aggiunte all'archivio dei partecipanti %1 nuove schede.")
                                    .arg(ready);
    if (leftOut > 0)
        text += QLatin1Char(' ') + (leftOut == 1 ? QStringLiteral("1 doppione non verr\u00E0 importato.")
                                                 : QStringLiteral("%1 doppioni non verranno importati.").arg(leftOut));
    if (a.skipped > 0)
        text += QLatin1Char(' ') + (a.skipped == 1 ? QStringLiteral("1 riga verr\u00E0 saltata.")
                                                   : QStringLiteral("%1 righe verranno saltate.").arg(a.skipped));
    if (a.rowsWithProblems > a.skipped)
        text += QStringLiteral(" Le righe con avvisi verranno importate come indicato nell'elenco.");
    if (!Messages::question(text + QStringLiteral("\r\n\r\nSi vuole procedere con l'importazione?"), this))
        return;

    ParticipantImport *session = m_session.get();
    auto result = std::make_shared<ImportResult>();
    run(QStringLiteral("Importazione delle schede in archivio..."),
        [session, withDuplicates, result](const Progress &progress) {
            *result = session->commit(withDuplicates, progress);
        },
        [this, result](std::exception_ptr failure) {
            if (toldFailure(failure, true))
                return;
            QString done = QStringLiteral("L'importazione \u00E8 terminata: %1 all'archivio dei partecipanti "
                                          "(dalla scheda n. %2 alla n. %3).")
                               .arg(result->added == 1 ? QStringLiteral("\u00E8 stata aggiunta 1 nuova scheda")
                                                       : QStringLiteral("sono state aggiunte %1 nuove schede")
                                                             .arg(result->added))
                               .arg(result->first)
                               .arg(result->last);
            const qint64 leftOut = result->duplicatesLeftOut;
            if (leftOut > 0)
                done += Messages::kBreak + (leftOut == 1 ? QStringLiteral("1 doppione non \u00E8 stato importato.")
                                                         : QStringLiteral("%1 doppioni non sono stati importati.")
                                                               .arg(leftOut));
            Messages::notice(done, this);
            accept();
        });
}

void TfrmImportaClienti::cmdGuidaClick()
{
    showGuide(this, GuideTopic::ParticipantsImport);
}

void TfrmImportaClienti::cmdEsciClick()
{
    reject();
}

void TfrmImportaClienti::btnAnnullaClick()
{
    if (m_work) {
        m_work->cancel();
        btnAnnulla->setEnabled(false);
        lblAvanzamento->setText(QStringLiteral("Annullamento in corso..."));
    }
}

void TfrmImportaClienti::reject()
{
    // Leaving while rows are read or written stops them first: the window
    // closes only once nothing is running.
    if (m_work) {
        btnAnnullaClick();
        return;
    }
    QDialog::reject();
}
