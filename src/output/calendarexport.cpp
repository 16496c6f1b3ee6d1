#include "output/calendarexport.h"

#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "output/contentlines.h"

#include <QRegularExpression>

namespace qv {

namespace {

const QString kZone = QStringLiteral("Europe/Rome");

QString dateValue(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString dateTimeValue(const QDate &date, const QTime &time)
{
    return dateValue(date) + QLatin1Char('T') + time.toString(QStringLiteral("HHmm")) + QStringLiteral("00");
}

void writeTimeZone(ContentLines &out)
{
    // Central European Time with its summer time since 1996: from the last
    // Sunday of March at 2:00 to the last Sunday of October at 3:00.
    out.line("BEGIN", QStringLiteral("VTIMEZONE"));
    out.line("TZID", kZone);
    out.line("BEGIN", QStringLiteral("DAYLIGHT"));
    out.line("TZOFFSETFROM", QStringLiteral("+0100"));
    out.line("TZOFFSETTO", QStringLiteral("+0200"));
    out.line("TZNAME", QStringLiteral("CEST"));
    out.line("DTSTART", QStringLiteral("19700329T020000"));
    out.line("RRULE", QStringLiteral("FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"));
    out.line("END", QStringLiteral("DAYLIGHT"));
    out.line("BEGIN", QStringLiteral("STANDARD"));
    out.line("TZOFFSETFROM", QStringLiteral("+0200"));
    out.line("TZOFFSETTO", QStringLiteral("+0100"));
    out.line("TZNAME", QStringLiteral("CET"));
    out.line("DTSTART", QStringLiteral("19701025T030000"));
    out.line("RRULE", QStringLiteral("FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"));
    out.line("END", QStringLiteral("STANDARD"));
    out.line("END", QStringLiteral("VTIMEZONE"));
}

// "Label: text" lines of the texts that are there.
QString labelled(std::initializer_list<std::pair<const char *, QString>> parts)
{
    QStringList lines;
    for (const auto &[label, text] : parts)
        if (!text.isEmpty())
            lines.append(QString::fromUtf8(label) + QLatin1Char(' ') + text);
    return lines.join(QLatin1Char('\n'));
}

class CalendarWriter : public TextRowSink
{
public:
    CalendarWriter(QIODevice &out, const ExportLayout &layout)
        : m_out(out), m_layout(layout),
          m_stamp(Clock::now().toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")))
    {
        m_out.line("BEGIN", QStringLiteral("VCALENDAR"));
        m_out.line("VERSION", QStringLiteral("2.0"));
        m_out.line("PRODID", QStringLiteral("-//Quorvane//Quorvane//IT"));
        m_out.line("CALSCALE", QStringLiteral("GREGORIAN"));
        writeTimeZone(m_out);
    }

    ExportOutcome finish()
    {
        m_out.line("END", QStringLiteral("VCALENDAR"));
        m_out.flush();
        return m_outcome;
    }

protected:
    void row(qint64 number, const QStringList &cells) override
    {
        const QHash<QString, QString> f = m_layout.fieldsOf(cells);
        const QDate start = parseDate(f.value(QStringLiteral("DataInizio")));
        if (!start.isValid()) {
            m_outcome.skipped.append(number);
            return;
        }
        QDate end = parseDate(f.value(QStringLiteral("DataFine")));
        if (!end.isValid() || end < start)
            end = start;
        const QString startText = f.value(QStringLiteral("OraInizio"));
        const QString endText = f.value(QStringLiteral("OraFine"));
        const std::optional<QTime> from = calendarTime(startText);
        const std::optional<QTime> to = calendarTime(endText);
        const bool timed = from && to && QDateTime(end, *to) > QDateTime(start, *from);
        // An event of several days with its hours is those hours on each
        // day, one entry repeated daily; one whose end is not after its
        // start within a day (through the night) stays one stretch of time.
        const qint64 days = start.daysTo(end) + 1;
        const bool daily = timed && days > 1 && *to > *from;

        m_out.line("BEGIN", QStringLiteral("VEVENT"));
        m_out.line("UID", QStringLiteral("evento-%1@quorvane").arg(number));
        m_out.line("DTSTAMP", m_stamp);
        if (daily) {
            m_out.line("DTSTART;TZID=Europe/Rome", dateTimeValue(start, *from));
            m_out.line("DTEND;TZID=Europe/Rome", dateTimeValue(start, *to));
            m_out.line("RRULE", QStringLiteral("FREQ=DAILY;COUNT=%1").arg(days));
        } else if (timed) {
            m_out.line("DTSTART;TZID=Europe/Rome", dateTimeValue(start, *from));
            m_out.line("DTEND;TZID=Europe/Rome", dateTimeValue(end, *to));
        } else {
            m_out.line("DTSTART;VALUE=DATE", dateValue(start));
            m_out.line("DTEND;VALUE=DATE", dateValue(end.addDays(1)));
        }
        m_out.line("SUMMARY", ContentLines::text(f.value(QStringLiteral("Titolo"))));
        QStringList place;
        for (const char *field : {"Sede", "Indirizzo"})
            if (const QString text = f.value(QString::fromLatin1(field)); !text.isEmpty())
                place.append(text);
        if (!place.isEmpty())
            m_out.line("LOCATION", ContentLines::text(place.join(QStringLiteral(", "))));
        const QString description = labelled({
            {"Relatori:", f.value(QStringLiteral("Relatori"))},
            {"Materie trattate:", f.value(QStringLiteral("Materie"))},
            {"Ora inizio:", timed ? QString() : startText},
            {"Ora fine:", timed ? QString() : endText},
            {"Note:", f.value(QStringLiteral("Note"))},
        });
        if (!description.isEmpty())
            m_out.line("DESCRIPTION", ContentLines::text(description));
        m_out.line("END", QStringLiteral("VEVENT"));
        ++m_outcome.rows;
    }

private:
    ContentLines m_out;
    const ExportLayout &m_layout;
    const QString m_stamp;
    ExportOutcome m_outcome;
};

} // namespace

std::optional<QTime> calendarTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2})[:.]([0-9]{2})$"));
    const QRegularExpressionMatch match = pattern.match(trimmed(text));
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

ExportOutcome writeCalendar(QIODevice &out, const ExportLayout &layout, const RowSource &rows)
{
    CalendarWriter writer(out, layout);
    rows(writer);
    return writer.finish();
}

} // namespace qv
