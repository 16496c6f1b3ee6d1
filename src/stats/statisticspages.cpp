#include "stats/statisticspages.h"

#include "ui/style.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace qv::StatisticsPages {

namespace {

const QString kArial = QStringLiteral("Arial");
constexpr double kWidth = 277;  // A4 landscape inside margins of 10 mm
constexpr double kHeight = 190;
constexpr double kChartTop = 20;
constexpr double kChartWidth = 180;
constexpr double kChartHeight = 150;
constexpr double kNumbersLeft = 188;
constexpr double kRowHeight = 5;
const QColor kBlue(0x1F, 0x4E, 0x79);

// Long lists (the months, the events of a year, the provinces) read better
// across: every name stands whole beside its bar.
bool across(const Stats::Table &table)
{
    return table.rows.size() > 6 || table.name == QLatin1String("tabEventi") || table.name == QLatin1String("tabProvince");
}

QString rowText(const Stats::Table::Row &row)
{
    QStringList values;
    for (const int v : row.values)
        values.append(QString::number(v));
    return row.label + QStringLiteral(": ") + values.join(QStringLiteral(" / "));
}

} // namespace

QChart *chart(const Stats::Table &table, bool withTitle)
{
    auto *c = new QChart;
    c->setAnimationOptions(QChart::NoAnimation);
    if (withTitle) {
        QFont font = c->titleFont();
        font.setBold(true);
        c->setTitleFont(font);
        c->setTitle(table.title);
    }
    QAbstractBarSeries *series = across(table) ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                               : static_cast<QAbstractBarSeries *>(new QBarSeries);
    const QList<QColor> colours = chartColours();
    QStringList labels;
    int highest = 0;
    for (qsizetype s = 0; s < table.series.size(); ++s) {
        auto *set = new QBarSet(table.series.at(s));
        set->setColor(colours.at(s % colours.size()));
        set->setBorderColor(kBlue);
        for (const Stats::Table::Row &row : table.rows) {
            const int v = s < row.values.size() ? row.values.at(s) : 0;
            set->append(v);
            highest = std::max(highest, v);
        }
        series->append(set);
    }
    for (const Stats::Table::Row &row : table.rows)
        labels.append(row.label);
    // Bars read from the top down, as the table does.
    if (across(table)) {
        std::reverse(labels.begin(), labels.end());
        for (QBarSet *set : series->barSets()) {
            QList<qreal> values;
            for (int i = set->count() - 1; i >= 0; --i)
                values.append(set->at(i));
            set->remove(0, set->count());
            set->append(values);
        }
    }
    c->addSeries(series);
    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setTruncateLabels(false); // a name cut to "..." tells nothing
    // Whole numbers on the axis: a step of 1, 2 or 5 times a power of ten,
    // at most eight of them.
    int step = 1;
    for (int scale = 1; highest / step > 8; scale *= 10)
        for (const int m : {1, 2, 5})
            if (highest / step > 8)
                step = m * scale;
    auto *numbers = new QValueAxis;
    numbers->setLabelFormat(QStringLiteral("%d"));
    numbers->setRange(0, std::max(1, (highest + step - 1) / step) * step);
    numbers->setTickType(QValueAxis::TicksDynamic);
    numbers->setTickAnchor(0);
    numbers->setTickInterval(step);
    c->addAxis(categories, across(table) ? Qt::AlignLeft : Qt::AlignBottom);
    c->addAxis(numbers, across(table) ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(numbers);
    c->legend()->setVisible(table.series.size() > 1);
    c->legend()->setAlignment(Qt::AlignBottom);
    return c;
}

QImage chartImage(const Stats::Table &table, const QSize &size)
{
    QGraphicsScene scene;
    QChart *c = chart(table, false);
    scene.addItem(c); // the scene owns it
    c->setGeometry(QRectF(QPointF(0, 0), size));
    // Type that reads on paper at the picture's printed size.
    for (QAbstractAxis *axis : c->axes()) {
        QFont font = axis->labelsFont();
        font.setPointSizeF(font.pointSizeF() * 1.5);
        axis->setLabelsFont(font);
    }
    QFont legend = c->legend()->font();
    legend.setPointSizeF(legend.pointSizeF() * 1.5);
    c->legend()->setFont(legend);
    c->layout()->activate();
    // Twice the pixels, for paper.
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    return image;
}

page::Document document(const Stats::Result &result)
{
    page::Document doc;
    doc.setup.orientation = QPageLayout::Landscape;
    doc.title = QStringLiteral("Statistiche - ") + result.heading;
    doc.subject = QStringLiteral("Statistiche");
    if (result.failed())
        return doc;
    const int rowsPerPage = int((kHeight - kChartTop) / kRowHeight) - 1;
    bool first = true;
    for (const Stats::Table &table : result.tables) {
        for (qsizetype from = 0; from == 0 || from < table.rows.size(); from += rowsPerPage) {
            page::Page p;
            p.add(page::textBox(QStringLiteral("txtIntestazione"), QRectF(0, 0, kWidth, 8), page::font(kArial, 13, true),
                                result.heading));
            p.add(page::textBox(QStringLiteral("txtTitoloGrafico"), QRectF(0, 10, kWidth, 8), page::font(kArial, 12, true),
                                from == 0 ? table.title : table.title + QStringLiteral(" (segue)"),
                                Qt::AlignLeft | Qt::AlignVCenter, kBlue));
            if (from == 0)
                p.add(page::Image{QRectF(0, kChartTop, kChartWidth, kChartHeight),
                                  chartImage(table, QSize(900, 750))});
            p.add(page::textBox(QStringLiteral("txtSerie"), QRectF(kNumbersLeft, kChartTop, kWidth - kNumbersLeft, kRowHeight),
                                page::font(kArial, 9, true), table.series.join(QStringLiteral(" / "))));
            QStringList lines;
            for (qsizetype r = from; r < std::min(table.rows.size(), from + rowsPerPage); ++r)
                lines.append(rowText(table.rows.at(r)));
            page::TextBox numbers = page::textBox(
                QStringLiteral("txtNumeri"),
                QRectF(kNumbersLeft, kChartTop + kRowHeight, kWidth - kNumbersLeft, kHeight - kChartTop - kRowHeight),
                page::font(kArial, 9), lines.join(QLatin1Char('\n')));
            numbers.lineHeight = kRowHeight;
            p.add(numbers);
            if (first) {
                QStringList figures;
                for (const Stats::Figure &f : result.figures)
                    figures.append(f.label + QStringLiteral(": ") + QString::number(f.value));
                p.add(page::textBox(QStringLiteral("txtDati"), QRectF(0, kChartTop + kChartHeight + 4, kChartWidth, 8),
                                    page::font(kArial, 10, true), figures.join(QStringLiteral("   "))));
                first = false;
            }
            doc.pages.append(p);
            if (table.rows.isEmpty())
                break;
        }
    }
    return doc;
}

} // namespace qv::StatisticsPages
