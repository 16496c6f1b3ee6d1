#pragma once
#include "output/exportlayout.h"
#include "output/rowsink.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

class QIODevice;

// The events as an iCalendar file (RFC 5545) that calendar programs import:
// one VEVENT per row, fed from the rows of the events export, so a cell
// edited in the export window counts here too.
//
// - UID "evento-N@quorvane", N the record number, which never changes: the
//   same event imported again updates the entry instead of adding another.
// - Times are the venue's wall-clock times, in the time zone Europe/Rome,
//   described in a VTIMEZONE (the European summer-time rules). Named, the
//   zone puts the event at the right moment in every calendar, also one set
//   to another zone; floating times would move with the reader's clock, and
//   some programs refuse a TZID that no VTIMEZONE describes.
// - An event is timed when both its times are "hh:mm" or "hh.mm" and the end
//   comes after the start; otherwise it is an all-day event from the start
//   date to the end date (DTEND the day after, as RFC 5545 wants), and the
//   times as typed go into the description. No end date: the start date.
// - SUMMARY the title, LOCATION venue and address, DESCRIPTION the speakers,
//   the subjects and the notes.
// - A row without a valid start date ("dd/mm/yyyy") cannot be put in a
//   calendar: it is left out and its number reported.
namespace qv {

ExportOutcome writeCalendar(QIODevice &out, const ExportLayout &layout, const RowSource &rows);

// A time as the event card holds it: "9:30", "09:30" or "09.30".
std::optional<QTime> calendarTime(const QString &text);

} // namespace qv
