#pragma once
#include "eventday/bookings.h"
#include "eventday/certificatepages.h"
#include "mail/mailbatch.h"
#include "mail/mailmessage.h"
#include "mail/outbox.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What the program sends by itself: booking confirmations with the person's
// seat and badge, the notice to everyone (one message per person) and the
// certificates of attendance, each with its own PDF. Each use makes one
// draft per person; the drafts go into the outbox one at a time (so a batch
// of thousands never sits in memory) and are then sent from there.
namespace qv::Mailings {

// Who a use writes to: the bookings with an address, and those without one,
// named to the user.
struct Audience
{
    QList<Booking> withAddress;
    QList<Booking> withoutAddress;
};
Audience audience(const QList<Booking> &bookings);

// "Conferma di prenotazione: <title>".
QString confirmationSubject(const EventInfo &event);
// The event's title, dates, times, venue, address and the person's seat,
// then the user's own text.
QString confirmationBody(const EventInfo &event, const Booking &booking, const QString &userText);
// The text a user starts from.
QString defaultConfirmationText();
// With the person's badge (their own QR code) as a PDF.
Mail::Draft confirmation(const EventInfo &event, const Booking &booking, const QString &userText);

// One message per person, the text as written in the window.
Mail::Draft notice(const EventInfo &event, const Booking &booking, const QString &subject, const QString &body);

// "Attestato di partecipazione: <title>", with the person's certificate.
Mail::Draft certificate(const CertificatePages::Setting &setting, const Certificates::Person &person,
                        const QString &body);
QString certificateSubject(const EventInfo &event);
QString defaultCertificateText(const EventInfo &event);

// One use made ready: whom it writes to, whom it cannot, and how to
// compose the i-th message. Counting costs nothing; composing draws PDFs.
struct Plan
{
    QList<Booking> withAddress;
    QList<Booking> withoutAddress;
    std::function<Mail::Draft(int)> make;
    int count() const { return int(withAddress.size()); }
};
// Confirmations to the bookings given (all, the confirmed ones or one card:
// Badges::chosen), `userText` after the event's lines.
Plan confirmationsPlan(const EventInfo &event, const QList<Booking> &bookings, const QString &userText);
Plan noticePlan(const EventInfo &event, const QList<Booking> &bookings, const QString &subject, const QString &body);
// Certificates to the people chosen (CertificatePages::chosen), each with
// their own PDF, issued today.
Plan certificatesPlan(const EventInfo &event, const QList<Certificates::Person> &chosen, const QString &text);

// Puts the drafts into the outbox, one at a time: `make(i)` composes the
// i-th. A draft already there (the same person, the same message) is not
// added again. Returns the ids to send: the new ones and the earlier ones
// that still wait; `earlier` counts those already sent, refused or of
// unknown fate, which are not sent again. `keepGoing` is asked before each.
// Raises Mail::Error.
struct Queued
{
    QStringList ids;
    int earlier = 0;
    bool cancelled = false;
};
Queued queue(Mail::Outbox &outbox, const Mail::Settings &settings, int count,
             const std::function<Mail::Draft(int)> &make, const std::function<bool(int done, int total)> &keepGoing = {});

// A report of a batch in a few lines for the user: what was sent, what
// the server refused and to whom, what waits.
QString reportText(const Mail::Outbox &outbox, const Mail::BatchReport &report, int earlier);

// The test message: to the sender, from the settings window.
Mail::Draft testMessage(const Mail::Settings &settings);

} // namespace qv::Mailings
