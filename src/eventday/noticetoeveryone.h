#pragma once
#include "eventday/bookings.h"

#include <QString>

class QWidget;

namespace qv {

// "Avviso a tutti" of the booked-seats list: the user's mail program opens a
// message to every distinct address of the event's bookings, in Bcc (one
// message per 50 addresses, asked first when more than one), with the
// event's data to start the text; the bookings without an address are told
// afterwards. Nothing is written.
void noticeToEveryone(QWidget *owner, const QString &reservationArchive, const EventInfo &event);

} // namespace qv
