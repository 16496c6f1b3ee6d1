#include "eventday/certificates.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/attachments.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace qv::Certificates {

namespace {

const QString kEveryDay = QStringLiteral("every-day");
const QString kAnyDay = QStringLiteral("any-day");
const QString kHours = QStringLiteral("hours:");

// The event's own hours of a day, when its start and end times say them.
std::optional<qint64> plannedSeconds(const EventInfo &event)
{
    const QTime from = QTime::fromString(trimmed(event.oraInizio), QStringLiteral("H:mm"));
    const QTime to = QTime::fromString(trimmed(event.oraFine), QStringLiteral("H:mm"));
    if (!from.isValid() || !to.isValid() || to <= from)
        return std::nullopt;
    return from.secsTo(to);
}

QString daysText(const QList<QDate> &days)
{
    QStringList texts;
    for (const QDate &d : days)
        texts.append(formatDate(d));
    return texts.join(QStringLiteral(", "));
}

QString percentText(qint64 part, qint64 whole)
{
    return QString::number(whole > 0 ? part * 100 / whole : 0) + QLatin1Char('%');
}

// The keys of the template file, in the order it is written.
struct Key
{
    const char *name;
    QString Template::*member;
};
const Key kKeys[] = {
    {"Titolo", &Template::titolo},         {"Testo", &Template::testo}, {"Luogo", &Template::luogo},
    {"Data", &Template::data},             {"Firmatario", &Template::firmatario},
    {"Ruolo", &Template::ruolo},           {"Logo", &Template::logo},   {"Firma", &Template::firma},
};

QString escaped(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            continue;
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            out += next == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : next;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::optional<Rule> parseRule(const QString &text)
{
    const QString t = asciiLower(trimmed(text));
    if (t == kEveryDay)
        return Rule{Rule::EveryDay, 90};
    if (t == kAnyDay)
        return Rule{Rule::AnyDay, 90};
    if (t.startsWith(kHours)) {
        const QString digits = t.mid(kHours.size());
        static const QRegularExpression number(QStringLiteral("^[0-9]{1,3}$"));
        if (number.match(digits).hasMatch()) {
            const int percent = digits.toInt();
            if (percent >= 1 && percent <= 100)
                return Rule{Rule::Hours, percent};
        }
    }
    return std::nullopt;
}

QString ruleName(const Rule &rule)
{
    switch (rule.kind) {
    case Rule::EveryDay: return kEveryDay;
    case Rule::AnyDay: return kAnyDay;
    case Rule::Hours: return kHours + QString::number(rule.percent);
    }
    return {};
}

QString ruleDescription(const Rule &rule)
{
    switch (rule.kind) {
    case Rule::EveryDay: return QStringLiteral("presenti in ogni giorno dell'evento");
    case Rule::AnyDay: return QStringLiteral("presenti in almeno un giorno dell'evento");
    case Rule::Hours: return QStringLiteral("presenti almeno il %1% delle ore dell'evento").arg(rule.percent);
    }
    return {};
}

EventInfo readEvent(qint64 number)
{
    EventInfo event;
    event.number = number;
    const QString path = TSchedaEvento::archivePath();
    if (number < 1 || !QFileInfo::exists(path))
        return event;
    QFile file(path);
    const int size = TSchedaEvento::layout().size();
    if (!file.open(QIODevice::ReadOnly) || !file.seek((number - 1) * size))
        throw ArchiveError("event archive not readable");
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        return event;
    TSchedaEvento record;
    record.setBytes(bytes);
    const auto text = [&record](const char *field) { return trimmed(record.text(QString::fromLatin1(field))); };
    event.titolo = text("Titolo");
    event.dataInizio = text("DataInizio");
    event.oraInizio = text("OraInizio");
    event.dataFine = text("DataFine");
    event.oraFine = text("OraFine");
    event.sede = text("Sede");
    event.indirizzo = text("Indirizzo");
    event.relatori = text("Relatori");
    event.posti = text("Posti");
    return event;
}

qsizetype Assessment::chosenCount() const
{
    return std::count_if(people.cbegin(), people.cend(), [](const Person &p) { return p.chosen; });
}

QList<Booking> inNameOrder(QList<Booking> bookings)
{
    std::stable_sort(bookings.begin(), bookings.end(), [](const Booking &a, const Booking &b) {
        const int c = compareAsciiUpper(a.cliente, b.cliente);
        return c != 0 ? c < 0 : a.number < b.number;
    });
    return bookings;
}

namespace {

// Every booking's day at the door on each of `days`, in that order, by
// record number.
QList<QHash<qint64, Attendance::Day>> daysAtTheDoor(const QList<QDate> &days, const Attendance::Register &reg)
{
    QList<QHash<qint64, Attendance::Day>> perDay;
    for (const QDate &day : days)
        perDay.append(Attendance::daysOf(reg, day));
    return perDay;
}

} // namespace

Assessment assess(const EventInfo &event, const QList<Booking> &bookings, const Attendance::Register &reg,
                  const Rule &rule)
{
    Assessment out;
    out.eventDays = Attendance::eventDays(event.dataInizio, event.dataFine);
    out.exitsRecorded = std::any_of(reg.exits.cbegin(), reg.exits.cend(), [](const Attendance::Entry &e) { return !e.undone; });

    const QList<QHash<qint64, Attendance::Day>> perDay = daysAtTheDoor(out.eventDays, reg);

    // The event's hours, day by day.
    if (out.exitsRecorded && !out.eventDays.isEmpty()) {
        const std::optional<qint64> planned = plannedSeconds(event);
        qint64 total = 0;
        for (const QHash<qint64, Attendance::Day> &days : perDay) {
            if (planned) {
                total += *planned;
                continue;
            }
            qint64 longest = 0;
            for (const Attendance::Day &d : days)
                longest = std::max(longest, d.seconds().value_or(0));
            total += longest;
        }
        if (total > 0)
            out.eventSeconds = total;
    }

    for (const Booking &b : inNameOrder(bookings)) {
        Person p;
        p.booking = b;
        qint64 seconds = 0;
        bool allTimed = true;
        QList<QDate> missed;
        for (qsizetype i = 0; i < out.eventDays.size(); ++i) {
            const auto d = perDay.at(i).constFind(b.number);
            if (d == perDay.at(i).cend() || !d->in) {
                missed.append(out.eventDays.at(i));
                continue;
            }
            p.days.append(out.eventDays.at(i));
            if (const std::optional<qint64> s = d->seconds())
                seconds += *s;
            else
                allTimed = false;
        }
        if (!p.days.isEmpty() && allTimed)
            p.seconds = seconds;

        if (out.eventDays.isEmpty()) {
            p.why = QStringLiteral("l'evento non ha una data di inizio valida");
        } else if (p.days.isEmpty()) {
            p.why = QStringLiteral("assente");
        } else if (rule.kind == Rule::EveryDay) {
            p.qualifies = missed.isEmpty();
            p.why = p.qualifies ? QStringLiteral("presente in ogni giorno")
                                : QStringLiteral("assente il ") + daysText(missed);
        } else if (rule.kind == Rule::AnyDay) {
            p.qualifies = true;
            p.why = missed.isEmpty() ? QStringLiteral("presente in ogni giorno")
                                     : QStringLiteral("presente il ") + daysText(p.days);
        } else if (!out.exitsRecorded || !out.eventSeconds) {
            p.why = QStringLiteral("ore non note: nessuna uscita registrata");
        } else {
            const qint64 whole = *out.eventSeconds;
            // Days without their exit count for nothing: the hours are not known.
            const QString present = QStringLiteral("presente %1 ore su %2 (%3)")
                                        .arg(Attendance::hoursText(seconds), Attendance::hoursText(whole),
                                             percentText(seconds, whole));
            p.qualifies = seconds * 100 >= qint64(rule.percent) * whole;
            p.why = present;
            if (!allTimed)
                p.why += QStringLiteral(", uscita non registrata in un giorno");
        }
        p.chosen = p.qualifies;
        out.people.append(p);
    }
    return out;
}

Assessment assess(const EventInfo &event, const QString &reservationArchive, const Rule &rule)
{
    return assess(event, Bookings::read(reservationArchive), Attendance::Register::read(reservationArchive), rule);
}

Template Template::standard()
{
    Template t;
    t.titolo = QStringLiteral("ATTESTATO DI PARTECIPAZIONE");
    t.testo = QStringLiteral(
        "Si attesta che\n"
        "{Cliente}\n"
        "ha partecipato all'evento\n"
        "\u00AB{Titolo}\u00BB\n"
        "tenutosi presso {Sede} dal {DataInizio} al {DataFine}\n"
        "nei giorni: {Giorni}\n"
        "per un totale di {Ore} ore di presenza.\n"
        "Relatori: {Relatori}");
    t.ruolo = QStringLiteral("Il responsabile dell'evento");
    return t;
}

QByteArray Template::toText() const
{
    QString text;
    for (const Key &key : kKeys)
        text += QString::fromLatin1(key.name) + QLatin1Char('=') + escaped(this->*key.member) + QLatin1Char('\n');
    return text.toUtf8();
}

Template Template::fromText(const QByteArray &bytes)
{
    Template t = standard();
    for (QString line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype at = line.indexOf(QLatin1Char('='));
        if (at <= 0)
            continue;
        const QString name = trimmed(line.left(at));
        for (const Key &key : kKeys)
            if (name == QLatin1String(key.name))
                t.*key.member = unescaped(line.mid(at + 1));
    }
    // Pictures are named bare: a template never reaches outside the folder.
    for (QString *picture : {&t.logo, &t.firma})
        if (!picture->isEmpty() && !Attachments::isBareName(*picture))
            picture->clear();
    return t;
}

QStringList fieldNames()
{
    return {QStringLiteral("{Cliente}"),  QStringLiteral("{Titolo}"), QStringLiteral("{DataInizio}"),
            QStringLiteral("{DataFine}"), QStringLiteral("{Sede}"),   QStringLiteral("{Giorni}"),
            QStringLiteral("{Ore}"),      QStringLiteral("{Relatori}")};
}

QString folderTemplatePath()
{
    return ProgramFolder::file(QStringLiteral("Attestato.txt"));
}

QString eventTemplatePath(qint64 event)
{
    return ProgramFolder::file(QStringLiteral("Attestato_Evento_%1.txt").arg(event));
}

bool hasOwnTemplate(qint64 event)
{
    return QFileInfo::exists(eventTemplatePath(event));
}

Template load(qint64 event)
{
    for (const QString &path : {eventTemplatePath(event), folderTemplatePath()}) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return Template::fromText(file.read(64 * 1024));
    }
    return Template::standard();
}

bool save(const Template &tpl, const QString &path, QString *reason)
{
    QSaveFile file(path);
    const QByteArray bytes = tpl.toText();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

QString copyPicture(const QString &source, const QString &role, qint64 event, QString *reason)
{
    QFile in(source);
    QByteArray head;
    if (in.open(QIODevice::ReadOnly))
        head = in.read(8);
    QString suffix;
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        suffix = QStringLiteral(".png");
    else if (head.startsWith("\xFF\xD8\xFF"))
        suffix = QStringLiteral(".jpg");
    if (suffix.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("Il file scelto non \u00E8 un'immagine PNG o JPEG.");
        return {};
    }
    const QString name = QStringLiteral("Attestato_") + role
                         + (event > 0 ? QStringLiteral("_Evento_%1").arg(event) : QString()) + suffix;
    const QString target = ProgramFolder::file(name);
    if (!Attachments::isSameFile(source, target) && !Attachments::copyFile(source, target)) {
        if (reason)
            *reason = QStringLiteral("Impossibile copiare l'immagine nella cartella del programma.");
        return {};
    }
    return name;
}

Filled fill(const Template &tpl, const EventInfo &event, const Person &person, const QDate &issued)
{
    const QString inizio = trimmed(event.dataInizio);
    const QDate end = parseDate(trimmed(event.dataFine));
    const QString fine = end.isValid() && end >= parseDate(inizio) ? trimmed(event.dataFine) : inizio;
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("{Cliente}"), trimmed(person.booking.cliente)},
        {QStringLiteral("{Titolo}"), trimmed(event.titolo)},
        {QStringLiteral("{DataInizio}"), inizio},
        {QStringLiteral("{DataFine}"), fine},
        {QStringLiteral("{Sede}"), trimmed(event.sede)},
        {QStringLiteral("{Giorni}"), daysText(person.days)},
        {QStringLiteral("{Ore}"), person.seconds ? Attendance::hoursText(*person.seconds) : QString()},
        {QStringLiteral("{Relatori}"), trimmed(event.relatori)},
    };
    // One pass over the text: a value holding "{Ore}" stays as it is.
    const auto filled = [&fields](const QString &text, bool *emptyField) {
        QString out;
        qsizetype i = 0;
        while (i < text.size()) {
            bool matched = false;
            if (text.at(i) == QLatin1Char('{')) {
                for (const auto &[name, value] : fields) {
                    if (QStringView(text).mid(i, name.size()) == name) {
                        out += value;
                        if (value.isEmpty() && emptyField)
                            *emptyField = true;
                        i += name.size();
                        matched = true;
                        break;
                    }
                }
            }
            if (!matched)
                out += text.at(i++);
        }
        return out;
    };
    Filled f;
    f.titolo = filled(tpl.titolo, nullptr);
    for (const QString &line : tpl.testo.split(QLatin1Char('\n'))) {
        bool empty = false;
        const QString text = filled(line, &empty);
        if (empty)
            continue;
        f.lines.append(text);
        f.styles.append(trimmed(line) == QLatin1String("{Cliente}")   ? Filled::Large
                        : line.contains(QLatin1String("{Titolo}")) ? Filled::Bold
                                                                    : Filled::Plain);
    }
    f.numero = number(event.number, person.booking.number);
    const QString date = trimmed(tpl.data).isEmpty() ? formatDate(issued) : trimmed(tpl.data);
    f.rilascio = trimmed(tpl.luogo).isEmpty() ? date : trimmed(tpl.luogo) + QStringLiteral(", ") + date;
    return f;
}

QString number(qint64 event, qint64 booking)
{
    return QStringLiteral("N. %1/%2").arg(event).arg(booking);
}

QString pdfName(qint64 event)
{
    return QStringLiteral("Attestati_Evento_%1.pdf").arg(event);
}

QString folderName(qint64 event)
{
    return QStringLiteral("Attestati_Evento_%1").arg(event);
}

QString safeName(const QString &name)
{
    QString out;
    for (const QChar c : trimmed(name).normalized(QString::NormalizationForm_KD)) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-')
            out += c;
        else if (c.category() == QChar::Mark_NonSpacing)
            continue; // the accent of a letter already kept
        else if (!out.endsWith(QLatin1Char('_')))
            out += QLatin1Char('_');
    }
    while (out.startsWith(QLatin1Char('_')) || out.startsWith(QLatin1Char('-')))
        out.remove(0, 1);
    while (out.endsWith(QLatin1Char('_')) || out.endsWith(QLatin1Char('-')))
        out.chop(1);
    out.truncate(80);
    if (out.isEmpty())
        return QStringLiteral("Senza_nome");
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(out).hasMatch())
        out += QStringLiteral("_");
    return out;
}

QStringList eachNames(qint64 event, const QList<Person> &people)
{
    QHash<QString, int> seen;
    for (const Person &p : people)
        ++seen[asciiUpper(safeName(p.booking.cliente))];
    QStringList names;
    for (const Person &p : people) {
        QString stem = safeName(p.booking.cliente);
        // Names that differ only in case are one file on some systems.
        if (seen.value(asciiUpper(stem)) > 1)
            stem += QStringLiteral("_%1").arg(p.booking.number);
        names.append(QStringLiteral("Attestato_Evento_%1_%2.pdf").arg(event).arg(stem));
    }
    return names;
}

QString signaturePdfName(qint64 event, const QDate &day)
{
    return QStringLiteral("Foglio_Firme_Evento_%1_%2.pdf").arg(event).arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace qv::Certificates
