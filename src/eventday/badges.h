#pragma once
#include "output/pageoutput.h"
#include "eventday/bookings.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// The name badges of an event: one badge per booking on sheets of
// self-adhesive labels, each with the participant's name (large, shrunk to
// fit, never cut), the event's title, the seat, the start date and a QR code
// of the booking (BadgeCode). Laid out on the page output; no widgets.
namespace qv::Badges {

// A sheet of labels on A4 paper, in mm.
struct LabelSheet
{
    QString name;      // as the badge window offers it
    int columns = 2;
    int rows = 4;
    QSizeF label;      // one label
    double left = 0;   // the first label's top left on the paper
    double top = 0;
    double pitchX = 0; // from one label to the next, across and down
    double pitchY = 0;

    int perPage() const { return columns * rows; }
    // Where badge `index` (0-based on its page) stands, from the top left of
    // the page output's printable area (which starts at the first label).
    QRectF labelRect(int index) const;
};

// The two common sheets: 8 labels of 99.1 x 67.7 mm, 2 x 4, and 10 labels
// of 99.1 x 57 mm, 2 x 5, both with their grid centred on the sheet.
const LabelSheet &eightPerPage();
const LabelSheet &tenPerPage();

// Which bookings get a badge.
enum class Which { All, Confirmed, Current };
// `all` in seat order; Current keeps the booking numbered `current`.
QList<Booking> chosen(const QList<Booking> &all, Which which, qint64 current = 0);

// A text shrunk until it fits a box whole: on one line, or broken at blanks
// onto as many as `maxLines`, starting at `largest` points. Never cut, never
// broken inside a word (unless a word alone does not fit at all).
struct Fitted
{
    QStringList lines;
    double points = 0;
    double lineHeight = 0; // mm
};
Fitted fit(const QString &text, const QSizeF &box, double largest, int maxLines, bool bold);

// Where the parts of a badge stand inside its label (mm from the label's top
// left): the title band, the name's area, the seat, the date, the QR code
// with its quiet zone.
struct Places
{
    QRectF band, name, seat, date, code;
};
Places places(const LabelSheet &sheet);

// One page per `sheet.perPage()` badges, in the order given. Text boxes are
// named txtTitolo<k>, txtNome<k>, txtPosto<k>, txtData<k> for the k-th badge
// (from 1) of each page; the code's dark modules are filled frames.
page::Document document(const EventInfo &event, const QList<Booking> &bookings, const LabelSheet &sheet);

// "Cartellini_Evento_<n>_<labels per page>.pdf", in the program folder: the
// two sheets make two files, neither replacing the other.
QString pdfName(qint64 event, const LabelSheet &sheet);

} // namespace qv::Badges
