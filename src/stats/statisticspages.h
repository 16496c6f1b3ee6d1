#pragma once
#include "output/pageoutput.h"
#include "stats/statistics.h"

#include <QImage>
#include <QSize>

class QChart;

// The statistics drawn: one chart per table in the house colours, for the
// window and for paper. A page per chart, its title and numbers as text (so
// a PDF can be searched), the chart as a picture.
namespace qv::StatisticsPages {

// A bar chart of the table, one bar set per series; its title when asked.
QChart *chart(const Stats::Table &table, bool withTitle = true);
// The chart, without its title, drawn on white at `size` pixels.
QImage chartImage(const Stats::Table &table, const QSize &size);

// A4 landscape: the heading, the chart's title, the chart and its numbers;
// the figures on the first page. Nothing for a result that failed.
page::Document document(const Stats::Result &result);

} // namespace qv::StatisticsPages
