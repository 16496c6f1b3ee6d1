#pragma once
#include "eventday/attendance.h"
#include "eventday/bookings.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// After the event: who gets a certificate of attendance, by which rule, and
// the text each one carries. The template is a plain file beside the
// archives, one for the folder and one per event where it was changed.
// Widget-free; the pages are laid out in certificatepages.h.
namespace qv::Certificates {

// Who gets a certificate.
struct Rule
{
    enum Kind {
        EveryDay, // present on every day of the event
        AnyDay,   // present on at least one day
        Hours,    // present at least `percent` of the event's hours (exits recorded)
    };
    Kind kind = EveryDay;
    int percent = 90; // 1..100, with Hours

    bool operator==(const Rule &) const = default;
};
// "every-day", "any-day", "hours:90" (1..100); nothing when not one.
std::optional<Rule> parseRule(const QString &text);
QString ruleName(const Rule &rule);        // "hours:90"
QString ruleDescription(const Rule &rule); // "presenti almeno il 90% delle ore"

// The event as its certificates name it, read from Eventi.pro (read only).
// Throws ArchiveError; an event beyond the archive's end reads empty.
EventInfo readEvent(qint64 number);

// One booking and what the door recorded of it.
struct Person
{
    Booking booking;
    QList<QDate> days;             // the event's days it came in, in order
    std::optional<qint64> seconds; // time present, when every day it came in has its exit
    bool qualifies = false;        // by the rule
    QString why;                   // the reason, either way
    bool chosen = false;           // gets a certificate (the rule's verdict unless changed by hand)
};

struct Assessment
{
    QList<QDate> eventDays;
    // The event's hours: per day OraFine - OraInizio of the event when both
    // are times, else the longest presence recorded that day.
    std::optional<qint64> eventSeconds;
    bool exitsRecorded = false;
    QList<Person> people; // in name order
    qsizetype chosenCount() const;
};

// The bookings in name order (ASCII case aside), then by record number.
QList<Booking> inNameOrder(QList<Booking> bookings);

// Who qualifies under `rule`, and why or why not.
Assessment assess(const EventInfo &event, const QList<Booking> &bookings, const Attendance::Register &reg,
                  const Rule &rule);
// Reads the event's bookings and attendance and assesses them. Throws ArchiveError.
Assessment assess(const EventInfo &event, const QString &reservationArchive, const Rule &rule);

// The certificate's text and signer. Fields between braces in the title and
// the body are filled per person; a body line holding a field that comes
// out empty (no hours known, no speakers) is left out.
struct Template
{
    QString titolo;
    QString testo;      // the body, lines separated by '\n'
    QString luogo;      // place of issue; may be empty
    QString data;       // date of issue as printed; empty: the day it is printed
    QString firmatario; // the signer's name
    QString ruolo;      // the signer's role
    QString logo;       // bare names of pictures in the program folder; may be empty
    QString firma;

    bool operator==(const Template &) const = default;

    // A sensible Italian certificate that needs no editing.
    static Template standard();
    // "Chiave=valore" lines, UTF-8; line ends inside a value written "\n".
    QByteArray toText() const;
    // Keys missing or unknown in the text keep the standard values.
    static Template fromText(const QByteArray &text);
};

// The fields a template may hold, for the window's hint.
QStringList fieldNames();

// Where templates live: one for the folder, one per event that has its own.
QString folderTemplatePath();
QString eventTemplatePath(qint64 event);
// The event's own template, else the folder's, else the standard one.
Template load(qint64 event);
// Whether the event has a template of its own.
bool hasOwnTemplate(qint64 event);
// Written through a temporary file that takes the old one's place when
// whole; false, with a reason, on failure.
bool save(const Template &tpl, const QString &path, QString *reason = nullptr);

// The picture a template uses, copied into the program folder as
// "Attestato_<Logo|Firma>[_Evento_<n>].<ext>"; the bare name of the copy,
// or empty (and a reason) when it is not a PNG or JPEG file or cannot be copied.
QString copyPicture(const QString &source, const QString &role, qint64 event, QString *reason = nullptr);

// The texts of one person's certificate.
struct Filled
{
    QString titolo;
    QStringList lines; // the body, fields filled, empty-field lines left out
    // How each line is set: a line of the name alone large, the title's bold.
    enum Style { Plain, Bold, Large };
    QList<Style> styles;
    QString numero;    // "N. 3/12"
    QString rilascio;  // "Roma, 14/03/2026" or "14/03/2026"
};
Filled fill(const Template &tpl, const EventInfo &event, const Person &person, const QDate &issued);

// "N. <event>/<booking record>": unique within the event.
QString number(qint64 event, qint64 booking);

// "Attestati_Evento_<n>.pdf", the folder "Attestati_Evento_<n>", and one
// person's "Attestato_Evento_<n>_<Cognome_Nome>.pdf".
QString pdfName(qint64 event);
QString folderName(qint64 event);
// The file names of `people`, in order: names made safe for any file
// system, two people of one name told apart by their record number.
QStringList eachNames(qint64 event, const QList<Person> &people);
// A name as a file name: letters without accents, digits, '-' and '_' for
// anything else; never empty, never a name a system reserves.
QString safeName(const QString &name);

// The signature sheet's file: "Foglio_Firme_Evento_<n>_<yyyy-mm-dd>.pdf".
QString signaturePdfName(qint64 event, const QDate &day);

} // namespace qv::Certificates
