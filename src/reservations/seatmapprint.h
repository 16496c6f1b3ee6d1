#pragma once
#include "output/pageoutput.h"
#include "reservations/seatmap.h"

#include <QDate>
#include <QString>

// The seat map on paper, through the page-output layer: A4 landscape sheets,
// each with the event, the counters and the legend above its rows of seats
// (in the house's seat look, marks drawn as lines so that a black-and-white
// print tells the states apart), and the print line below them.
namespace qv::SeatMapPrint {

inline const QString kTemplateName = QStringLiteral("Mappa dei posti");

// Sizes in millimetres.
inline constexpr double kSeatWidth = 10;
inline constexpr double kSeatHeight = 7;
inline constexpr double kSeatGap = 1.4;
inline constexpr double kSeatsTop = 29;   // below the header and the legend
inline constexpr double kSeatsBottom = 183; // above the print line

// The most seats a printed row holds.
int widestRow();

// The pages: rows of `rowWidth` seats (0, or more than fit: as many as fit),
// the numbered seats first and then each group under its heading, split over
// as many sheets as they need. Box names: txtTitolo, txtEvento, txtContatori,
// txtLegenda (one per state), txtGruppo, txtPosto, txtPagina (the print
// line) and txtNumeroPagina.
page::Document document(const SeatMapEvent &event, const SeatMap &map, int rowWidth, const QDate &printDate);

// The PDF's name beside the archive: Posti_Riservati_Evento_3.pro gives
// Mappa_Posti_Evento_3.pdf.
QString pdfPath(const QString &archivePath);

} // namespace qv::SeatMapPrint
