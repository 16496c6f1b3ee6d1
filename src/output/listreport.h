#pragma once
#include "output/pageoutput.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The printout of a summary list ("Riepilogo dati"): A4 landscape, a title
// band on the first page, the lines in a data band that splits across pages,
// and a footer band after the data with the print date.
namespace qv::ListReport {

// Sizes of the template, in millimetres.
inline constexpr double kUnit = 25.4 / 96;           // one design unit, 1/96 inch
inline constexpr double kLineHeight = 12.822 * kUnit; // one list line
inline constexpr double kTitleBand = 8;
inline constexpr double kFooterBand = 8;
inline constexpr double kDataGap = 10 * kUnit;        // data band height beyond its lines

// The template's name, which names the print job too.
inline const QString kTemplateName = QStringLiteral("Riepilogo dati");

QString footerText(const QDate &printDate); // "Stampa eseguita in data dd/mm/yyyy"

// Box names: txtTitolo (first page), txtRiepilogo (one per page holding
// lines), txtPagina (after the data).
page::Document document(const QString &title, const QStringList &lines, const QDate &printDate);

} // namespace qv::ListReport
