#pragma once
#include "output/pageoutput.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QWidget;

// The one-page card sheets. Each is a template of named boxes on the page
// output, filled by box name from the controls of a card as they are on
// screen (saved or not) and closed by the print line. Every sheet is built
// afresh from its template, so nothing filled survives from one to the next.
namespace qv::sheets {

// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss"
QString printLine(const QDateTime &moment);

// The row-grid layout of the event and reservation sheets, described as
// data: sections of label and value rows under a heading band, then the
// footer band. Rows follow one another every 5 mm below their heading.
struct GridRow
{
    QString label; // the sheet's own wording
    QString box;   // the value box, named after the card control it shows
};

struct GridSection
{
    double top;         // mm: the heading band's top
    QString headingBox; // name of the heading's text box
    QString heading;
    QList<GridRow> rows;
};

struct GridSheet
{
    QString name;      // the template's name, which names the print job
    QList<GridSection> sections;
    double footerTop;  // mm: the footer band's top
};

const GridSheet &eventGrid();
const GridSheet &reservationGrid();

// A grid sheet's template with its design texts. Label boxes are named "tit"
// + the stem of their value box (titTitolo beside txtTitolo).
page::Document gridTemplate(const GridSheet &grid);
page::Document participantTemplate();

// The sheets filled from a card at `moment`. A control the card lacks, or an
// empty one, prints empty.
page::Document eventSheet(const QWidget *card, const QDateTime &moment);
page::Document reservationSheet(const QWidget *card, const QDateTime &moment);
page::Document participantSheet(const QWidget *card, const QDateTime &moment);

// Where the participant sheet goes as a PDF file, in the program folder.
inline const QString kParticipantPdf = QStringLiteral("Partecipante.pdf");

} // namespace qv::sheets

// What the cards call; each fills its sheet at the moment of the call.
namespace qv {

// The participant card's three buttons: preview, print, "Partecipante.pdf".
void previewParticipantSheet(QWidget *card);
void printParticipantSheet(QWidget *card);
void saveParticipantSheetPdf(QWidget *card);

// Writes `document` as the PDF file at `path`, which takes the old file's
// place only once whole, then tells `done` and offers to open it. A failure
// is reported and leaves the old file as it was.
void savePdfAndOffer(const page::Document &document, const QString &path, const QString &done, QWidget *owner);
// What follows a PDF written (or not) at `path`: the failure reported, or
// `done` told and the file offered to open.
void offerPdf(bool written, const QString &path, const QString &done, QWidget *owner);

} // namespace qv
