#pragma once
#include "output/listscan.h"

#include <QDate>

// The event lists: the event search and the events still open for joining
// show the same line for an event and read the same archive.
namespace qv::EventLists {

// Title, start and end dates, contact person, phone and fee.
const LineLayout &lines();
// Eventi.pro, read with those lines.
ListSource source();

// An event can still be joined when its deadline, read as dd/mm/yyyy, is
// today or later and its full flag reads exactly "No". A deadline that is no
// date at all leaves the event out; the rest of the archive is still listed.
bool openForJoining(const RecordView &event, const QDate &today);

} // namespace qv::EventLists
