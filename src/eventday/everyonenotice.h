#pragma once
#include "eventday/bookings.h"

#include <QList>
#include <QString>
#include <QStringList>

// The notice to everyone booked for an event: one message (or one per so
// many addresses) in the user's mail program, the addresses in Bcc.
// Widget-free.
namespace qv::EveryoneNotice {

// "Comunicazione relativa all'evento <title>".
QString subject(const EventInfo &event);
// The start of the body: the event's title, date, time, venue and address;
// the user writes the rest.
QString body(const EventInfo &event);

// Whom it goes to: every distinct address of the bookings (trimmed; two that
// differ only in the case of ASCII letters are one, spelt as first met), and
// the bookings that have none.
struct Recipients
{
    QStringList addresses;
    QList<Booking> withoutAddress;
};
Recipients recipients(const QList<Booking> &bookings);

// One message per so many addresses at most: mail programs and servers
// refuse messages with too many recipients.
constexpr int kAddressesPerMessage = 50;
QList<QStringList> batches(const QStringList &addresses, int perMessage = kAddressesPerMessage);

} // namespace qv::EveryoneNotice
