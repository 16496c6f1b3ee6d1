#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The statistics of one event and of one year, as tables of numbers that
// the window draws as charts and the command line writes as text, JSON or
// CSV. Every seat number comes from SeatMap::Counts, the days at the door
// from the certificates' assessment, the people to recontact from the
// recontact list's test. Archives are only read, in blocks, and nothing is
// created. Widget-free.
namespace qv::Stats {

// One chart's numbers: rows of a label and one value per series.
struct Table
{
    QString name;        // the chart's and the table's object name: "tabPosti", ...
    QString title;       // "Posti dell'evento", also the chart's title
    QStringList series;  // the value columns: {"Numero"}, {"Presenti", "Usciti"}
    struct Row
    {
        QString label;
        QList<int> values; // one per series
    };
    QList<Row> rows;

    // The value of row `label` in series `column`; -1 when there is none.
    int value(const QString &label, int column = 0) const;
};

// A single number said in words beside the charts.
struct Figure
{
    QString name;  // "lblRicontatta", ...
    QString label; // "Partecipanti da ricontattare"
    int value = 0;
};

struct Result
{
    QString heading;  // "Evento 3: Convegno di primavera (12/03/2026 - 13/03/2026)", "Anno 2026"
    QString error;    // not empty when an archive could not be read: then no numbers at all
    QList<Table> tables;
    QList<Figure> figures;
    // An event's days, and the day its arrivals are counted for.
    QList<QDate> days;
    QDate day;

    bool failed() const { return !error.isEmpty(); }
    const Table *table(const QString &name) const;
    int figure(const QString &name) const; // -1 when there is none
};

// Provinces beyond the first ten (by number, then by name) are summed in
// one last row "altre"; a booking without one counts under "non indicata".
inline constexpr int kProvinceRows = 10;
inline const QString kOtherProvinces = QStringLiteral("altre");
inline const QString kNoProvince = QStringLiteral("non indicata");

// Event `number` of Eventi.pro: its seats (prenotati, da confermare, liberi,
// assegnati più volte of its N seats), its attendance day by day (present,
// gone out) with those present every day and on at least one day, and the
// provinces of residence of the people booked; for `day` (by default the
// first of its days with someone at the door) the arrivals per quarter of an
// hour and, when exits were recorded that day, the people in the hall.
Result forEvent(qint64 number, const QDate &day = {});
// The events starting in `year`: how many a month, seats booked against
// seats offered for each, the provinces of everyone booked for them, and how
// many participants are to be recontacted.
Result forYear(int year);

// The result as the command line writes it (UTF-8): readable text, one JSON
// object, or CSV rows "Tabella,Voce,Serie,Valore" (RFC 4180).
QByteArray text(const Result &result);
QByteArray json(const Result &result);
QByteArray csv(const Result &result);

} // namespace qv::Stats
