#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The help topics of the guide: one source for the guide window and for the
// PDF guide built with the program. Widget-free.
namespace qv {

enum class GuideTopic {
    General,
    Events,
    Participants,
    Reservations,
    EventsExport,
    ParticipantsExport,
    ReservationsExport,
    ParticipantsImport,
    SeatMap, // the seat map of an event
    Badges,  // the name badges' window
    CheckIn, // the check-in at the door
    Backups, // the backups window
    Certificates, // certificates of attendance and the signature sheet
    Mail,    // mail sent by the program and its outbox
    Statistics,   // the statistics of an event and of a year, in charts
};

// Every topic, in the order of the PDF guide.
QList<GuideTopic> guideTopics();

// The title of a topic, as the guide window shows it.
QString guideTitle(GuideTopic topic);
// The paragraphs of a topic. A paragraph may hold line breaks (CR LF) of its
// own, for lists and tables.
QStringList guideParagraphs(GuideTopic topic);
// The text of a topic: its paragraphs joined by CR LF CR LF.
QString guideText(GuideTopic topic);

inline const QString kGuideParagraphBreak = QStringLiteral("\r\n\r\n");
inline const QString kGuideLineBreak = QStringLiteral("\r\n");

} // namespace qv
