#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

// The text of a badge's QR code, which names one booking of one event:
//   QV1;E<event number>;R<record number>;P<seat>
// One line of plain ASCII: the seat (trimmed) is percent-encoded as UTF-8
// wherever it holds ";", "%", a blank, a control character or anything
// beyond ASCII, so a scanner types it back exactly and it reads back the
// same. Widget-free.
namespace qv::BadgeCode {

QByteArray text(qint64 event, qint64 record, const QString &seat);

struct Code
{
    qint64 event = 0;
    qint64 record = 0;
    QString seat;
};

// What a scanner typed: a code, or nothing when the text is not a well-made
// one. Blanks at its ends (a scanner's line end) do not count, nor the case
// of the markers' letters (a scanner with Caps Lock on).
std::optional<Code> parse(const QString &scanned);

// Whether a typed text is meant as a badge code ("QV" and a digit, then
// ";"), so that a damaged one is told apart from a name.
bool looksLikeCode(const QString &typed);

} // namespace qv::BadgeCode
