#include "stats/tfrmstatistiche.h"

#include "core/clock.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "frame/outputbuttons.h"
#include "frame/workspace.h"
#include "output/sheets.h"
#include "stats/statisticspages.h"
#include "ui/widgets.h"

#include "core/wholefile.h"
#include "ui/filechooser.h"
#include "ui/messages.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <QChart>
#include <QComboBox>
#include <QPushButton>
#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace qv;

namespace {

// A chart's numbers as a table named as the chart's table: "Voce", then a
// column a series.
QTableWidget *numbersTable(const Stats::Table &table, QWidget *parent)
{
    auto *grid = new QTableWidget(int(table.rows.size()), int(table.series.size()) + 1, parent);
    grid->setObjectName(table.name);
    grid->setAccessibleName(table.title);
    grid->setHorizontalHeaderLabels(QStringList{QStringLiteral("Voce")} + table.series);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < table.rows.size(); ++r) {
        const Stats::Table::Row &row = table.rows.at(r);
        grid->setItem(r, 0, new QTableWidgetItem(row.label));
        for (int c = 0; c < row.values.size(); ++c) {
            auto *item = new QTableWidgetItem(QString::number(row.values.at(c)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c + 1, item);
        }
    }
    grid->resizeColumnsToContents();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setMinimumWidth(150);
    return grid;
}

} // namespace

TfrmStatistiche::TfrmStatistiche(qint64 event, QWidget *owner) : TfrmStatistiche(event, 0, owner) {}

TfrmStatistiche *TfrmStatistiche::ofYear(int year, QWidget *owner)
{
    return new TfrmStatistiche(0, year, owner);
}

TfrmStatistiche::TfrmStatistiche(qint64 event, int year, QWidget *owner)
    : QDialog(owner), m_event(event), m_year(year)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmStatistiche"));
    setWindowTitle(QStringLiteral("Statistiche"));
    setWindowIcon(picture(QStringLiteral("chart")));

    lblTitolo = new QLabel(this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: 700; color: #1F4E79;"));
    lblTitolo->setWordWrap(true);
    lblMessaggio = new QLabel(this);
    lblMessaggio->setObjectName(QStringLiteral("lblMessaggio"));
    lblMessaggio->setStyleSheet(QStringLiteral("font-weight: 600; color: #B22222;"));
    lblMessaggio->setWordWrap(true);
    lblMessaggio->hide();

    makeOutputButtons(this, GuideTopic::Statistics, QStringLiteral("Mostra i grafici prima di stamparli."),
                      QStringLiteral("Stampa i grafici, uno per pagina."),
                      QStringLiteral("Scrive i grafici nel file %1 nella cartella del programma.").arg(pdfName()));

    auto *top = new QHBoxLayout;
    top->addWidget(lblTitolo, 1);
    if (m_year) {
        spnAnno = new QSpinBox(this);
        spnAnno->setObjectName(QStringLiteral("spnAnno"));
        spnAnno->setRange(1900, 2999);
        spnAnno->setValue(m_year);
        spnAnno->setAccessibleName(QStringLiteral("Anno"));
        auto *label = new QLabel(QStringLiteral("&Anno:"), this);
        label->setBuddy(spnAnno);
        top->addWidget(label);
        top->addWidget(spnAnno);
        connect(spnAnno, &QSpinBox::valueChanged, this, [this](int value) {
            m_year = value;
            refresh();
        });
    }

    if (!m_year) {
        cboGiorno = new QComboBox(this);
        cboGiorno->setObjectName(QStringLiteral("cboGiorno"));
        cboGiorno->setAccessibleName(QStringLiteral("Giorno degli arrivi"));
        auto *label = new QLabel(QStringLiteral("&Giorno degli arrivi:"), this);
        label->setBuddy(cboGiorno);
        top->addWidget(label);
        top->addWidget(cboGiorno);
        connect(cboGiorno, &QComboBox::activated, this, [this] {
            m_day = cboGiorno->currentData().toDate();
            refresh();
        });
    }

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrGrafici"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *inside = new QWidget(scroll);
    m_layout = new QVBoxLayout(inside);
    m_layout->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(inside);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(lblMessaggio);
    layout->addWidget(scroll, 1);
    layout->addLayout(outputButtonRow(cmdGuida, {cmdAnteprima, cmdStampa, cmdPDF, btnChiudi}));

    refresh();
    btnChiudi->setDefault(true);
    resize(1100, 760);
}

QString TfrmStatistiche::pdfName() const
{
    return m_year ? QStringLiteral("Statistiche_%1.pdf").arg(m_year)
                  : QStringLiteral("Statistiche_Evento_%1.pdf").arg(m_event);
}

void TfrmStatistiche::refresh()
{
    showResult(m_year ? Stats::forYear(m_year) : Stats::forEvent(m_event, m_day));
}

void TfrmStatistiche::showResult(const Stats::Result &result)
{
    m_result = result;
    delete m_charts;
    m_charts = new QWidget;
    m_charts->setObjectName(QStringLiteral("panGrafici"));
    m_layout->addWidget(m_charts);

    lblTitolo->setText(result.heading);
    if (cboGiorno) {
        cboGiorno->clear();
        for (const QDate &d : result.days)
            cboGiorno->addItem(formatDate(d), d);
        cboGiorno->setCurrentIndex(int(result.days.indexOf(result.day)));
    }
    lblMessaggio->setText(result.error);
    lblMessaggio->setVisible(result.failed());
    for (QPushButton *b : {cmdAnteprima, cmdStampa, cmdPDF})
        b->setEnabled(!result.failed());
    if (result.failed())
        return;

    auto *grid = new QGridLayout(m_charts);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(10);
    int cell = 0;
    for (const Stats::Table &table : result.tables) {
        auto *box = new QGroupBox(table.title, m_charts);
        box->setObjectName(QStringLiteral("grp") + table.name.mid(3));
        auto *view = new QChartView(StatisticsPages::chart(table, false), box);
        view->setObjectName(QStringLiteral("chr") + table.name.mid(3));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(300, 360);
        view->setAccessibleName(table.title);
        auto *png = new QPushButton(QStringLiteral("Salva PNG..."), box);
        png->setObjectName(QStringLiteral("cmdPng") + table.name.mid(3));
        png->setToolTip(QStringLiteral("Salva il grafico come immagine PNG"));
        png->setAccessibleName(QStringLiteral("Salva come PNG il grafico ") + table.title);
        connect(png, &QPushButton::clicked, this, [this, name = table.name, title = table.title] {
            const QString stem = QStringLiteral("Grafico_") + name.mid(3) + QStringLiteral(".png");
            const FileChooser::SaveChoice where = FileChooser::saveFile(
                this, QStringLiteral("Salva il grafico"), {QStringLiteral("Immagine PNG (*.png)")}, QString(),
                ProgramFolder::file(stem));
            if (where.path.isEmpty())
                return;
            if (!savePng(name, where.path))
                Messages::failure(QStringLiteral("Impossibile scrivere il grafico %1 in %2.").arg(title, where.path), this);
        });
        auto *side = new QVBoxLayout;
        side->addWidget(numbersTable(table, box), 1);
        side->addWidget(png, 0, Qt::AlignRight);
        auto *row = new QHBoxLayout(box);
        row->addWidget(view, 2);
        row->addLayout(side, 1);
        grid->addWidget(box, cell / 2, cell % 2);
        ++cell;
    }
    auto *figures = new QHBoxLayout;
    for (const Stats::Figure &f : result.figures) {
        auto *label = new QLabel(f.label + QStringLiteral(": ") + QString::number(f.value), m_charts);
        label->setObjectName(f.name);
        label->setStyleSheet(QStringLiteral("font-weight: 600; color: #1F4E79;"));
        figures->addWidget(label);
    }
    figures->addStretch(1);
    grid->addLayout(figures, (cell + 1) / 2, 0, 1, 2);
}

bool TfrmStatistiche::savePng(const QString &name, const QString &path) const
{
    const Stats::Table *table = m_result.table(name);
    if (!table)
        return false;
    // Drawn afresh at a size that reads well in a document, title included.
    QChartView view(StatisticsPages::chart(*table, true));
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(1200, 800);
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        view.render(&painter);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && writeWholeFile(path, png);
}

void TfrmStatistiche::cmdAnteprimaClick()
{
    PageOutput::preview(StatisticsPages::document(m_result), this);
}

void TfrmStatistiche::cmdStampaClick()
{
    PageOutput::print(StatisticsPages::document(m_result), this);
}

void TfrmStatistiche::cmdPDFClick()
{
    savePdfAndOffer(StatisticsPages::document(m_result), ProgramFolder::file(pdfName()),
                    QStringLiteral("La creazione delle statistiche in PDF \u00E8 terminata con successo."), this);
}

void openEventStatistics(QWidget *owner, qint64 event)
{
    TfrmStatistiche dialog(event, owner);
    dialog.exec();
}

void openYearStatistics(QWidget *owner, int year)
{
    std::unique_ptr<TfrmStatistiche> dialog(TfrmStatistiche::ofYear(year, owner));
    dialog->exec();
}
