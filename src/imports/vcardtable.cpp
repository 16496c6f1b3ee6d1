#include "imports/vcardtable.h"

#include "core/clock.h"
#include "core/cp1252.h"
#include "core/regional.h"
#include "core/text.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace qv::imports {

namespace {

enum Column {
    Name, Birth, Sex, Street, Town, Province, PostalCode, Home, Work, Mobile, Fax, Mail, Note,
    OtherPhones, OtherMails, Organisation, Other, ColumnCount
};

// The headings people use, so that the import matches them by itself; the
// last four match no field of the card, so the import names them and the
// window offers them for another field (the notes, say).
const QStringList &headings()
{
    static const QStringList list{QStringLiteral("Cognome e nome"), QStringLiteral("Data di nascita"),
                                  QStringLiteral("Sesso"),          QStringLiteral("Indirizzo"),
                                  QStringLiteral("Comune"),         QStringLiteral("Provincia"),
                                  QStringLiteral("CAP"),            QStringLiteral("Tel. casa"),
                                  QStringLiteral("Tel. ufficio"),   QStringLiteral("Cellulare"),
                                  QStringLiteral("Fax"),            QStringLiteral("E-mail"),
                                  QStringLiteral("Note"),           QStringLiteral("Altri telefoni"),
                                  QStringLiteral("Altre e-mail"),   QStringLiteral("Organizzazione"),
                                  QStringLiteral("Altri dati")};
    return list;
}

struct Property
{
    QString name;                      // upper case, group apart ("item1.TEL" is TEL)
    QString group;                     // "item1", upper case
    QHash<QString, QStringList> parameters; // upper-case names; TYPE values lower case
    QString value;                     // as written (escaped)
};

Property parseLine(const QString &line)
{
    Property p;
    // The value starts at the first colon outside a quoted parameter value.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && line.at(i) == QLatin1Char(':')) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return p;
    p.value = line.mid(colon + 1);
    QStringList head = line.left(colon).split(QLatin1Char(';'));
    QString name = head.takeFirst();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    p.group = asciiUpper(trimmed(name.left(std::max<qsizetype>(dot, 0))));
    p.name = asciiUpper(trimmed(name.mid(dot + 1)));
    for (const QString &parameter : std::as_const(head)) {
        const qsizetype eq = parameter.indexOf(QLatin1Char('='));
        // Version 2.1 writes a bare type ("TEL;CELL:").
        const QString key = eq < 0 ? QStringLiteral("TYPE") : asciiUpper(trimmed(parameter.left(eq)));
        QString values = eq < 0 ? parameter : parameter.mid(eq + 1);
        values.remove(QLatin1Char('"'));
        for (const QString &v : values.split(QLatin1Char(',')))
            p.parameters[key].append(key == QLatin1String("TYPE") ? asciiLower(trimmed(v)) : trimmed(v));
    }
    return p;
}

// Quoted-printable bytes (=XX) in the named character set.
QString fromQuotedPrintable(const QString &value, const QString &charset)
{
    QByteArray bytes;
    const QByteArray latin = value.toUtf8();
    for (qsizetype i = 0; i < latin.size(); ++i) {
        bool ok = false;
        if (latin.at(i) == '=' && i + 2 < latin.size()) {
            const int code = latin.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes.append(char(code));
                i += 2;
                continue;
            }
        }
        bytes.append(latin.at(i));
    }
    const QString set = asciiLower(charset);
    if (set == QLatin1String("utf-8"))
        return QString::fromUtf8(bytes);
    if (set.isEmpty()) {
        // Version 2.1 leaves the character set out where the writer's own
        // code page was meant: UTF-8 where the bytes are, else Windows-1252.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return cp1252::decode(bytes); // iso-8859-1 and windows-1252 alike
}

// A text value unescaped; a line break becomes a blank.
QString unescaped(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            c = value.at(++i);
            if (c == QLatin1Char('n') || c == QLatin1Char('N'))
                c = QLatin1Char(' ');
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            c = QLatin1Char(' ');
        }
        out += c;
    }
    return out;
}

// The parts of a compound value (N, ADR), split at the semicolons that are
// not escaped, each unescaped.
QStringList parts(const QString &value)
{
    QStringList list{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size()) {
            list.last() += value.mid(i++, 2);
        } else if (value.at(i) == QLatin1Char(';')) {
            list.append(QString());
        } else {
            list.last() += value.at(i);
        }
    }
    for (QString &part : list)
        part = trimmed(unescaped(part));
    return list;
}

// "19700807", "1970-08-07" (with a time after it or not) as "07/08/1970";
// a day without its year ("--1231", "--12-31", or the year 1604 that some
// address books write with X-APPLE-OMIT-YEAR) is no birth date: nothing,
// with the day in `dayOnly` as "31/12". Anything else as it stands.
QString birthDate(const Property &p, const QString &value, QString &dayOnly)
{
    static const QRegularExpression noYear(QStringLiteral("^--(\\d{2})-?(\\d{2})$"));
    const QString v = trimmed(value);
    if (const QRegularExpressionMatch m = noYear.match(v); m.hasMatch()) {
        dayOnly = m.captured(2) + QLatin1Char('/') + m.captured(1);
        return {};
    }
    const QDate date = parseCommonDate(v, Clock::today());
    if (!date.isValid())
        return v;
    const QString omitted = p.parameters.value(QStringLiteral("X-APPLE-OMIT-YEAR")).value(0);
    if (!omitted.isEmpty() && omitted.toInt() == date.year()) {
        dayOnly = formatDate(date).left(5);
        return {};
    }
    return formatDate(date);
}

// A label as address books write it: "_$!<Mobile>!$_" is "Mobile".
QString labelText(QString label)
{
    if (label.startsWith(QLatin1String("_$!<")) && label.endsWith(QLatin1String(">!$_")))
        label = label.mid(4, label.size() - 8);
    return trimmed(label);
}

QStringList rowOf(const QList<Property> &card)
{
    QStringList row(ColumnCount);
    const auto has = [](const Property &p, const char *type) {
        return p.parameters.value(QStringLiteral("TYPE")).contains(QLatin1String(type));
    };
    const auto add = [&](Column column, const QString &text) {
        if (!text.isEmpty())
            row[column] += (row[column].isEmpty() ? QString() : QStringLiteral("; ")) + text;
    };
    // Labels given to a grouped property ("item1.X-ABLabel:Casa al mare").
    QHash<QString, QString> labels;
    for (const Property &p : card)
        if (p.name == QLatin1String("X-ABLABEL") && !p.group.isEmpty())
            labels.insert(p.group, labelText(unescaped(p.value)));
    const auto labelOf = [&](const Property &p, const QString &fallback) {
        const QString label = p.group.isEmpty() ? QString() : labels.value(p.group);
        return label.isEmpty() ? fallback : label;
    };
    const Property *address = nullptr;
    QString formatted, family;
    // Telephones of a known kind first, so that one without a kind (a label
    // of its own, say) takes no box that a known one needs.
    QList<std::pair<const Property *, QString>> looseTelephones;
    for (const Property &p : card) {
        QString value = p.value;
        if (asciiUpper(p.parameters.value(QStringLiteral("ENCODING")).value(0)) == QLatin1String("QUOTED-PRINTABLE"))
            value = fromQuotedPrintable(value, p.parameters.value(QStringLiteral("CHARSET")).value(0));
        if (p.name == QLatin1String("FN")) {
            formatted = trimmed(unescaped(value));
        } else if (p.name == QLatin1String("N")) {
            const QStringList n = parts(value);
            if (!n.value(0).isEmpty())
                family = trimmed(n.value(0) + QLatin1Char(' ') + n.value(1));
        } else if (p.name == QLatin1String("BDAY")) {
            QString dayOnly;
            const QString date = birthDate(p, unescaped(value), dayOnly);
            if (!dayOnly.isEmpty())
                add(Other, QStringLiteral("compleanno ") + dayOnly);
            else if (row[Birth].isEmpty())
                row[Birth] = date;
        } else if (p.name == QLatin1String("GENDER") || p.name == QLatin1String("X-GENDER")) {
            const QString sex = asciiUpper(trimmed(parts(value).value(0))).left(1);
            if (sex == QLatin1String("M") || sex == QLatin1String("F"))
                row[Sex] = sex;
        } else if (p.name == QLatin1String("ADR")) {
            const QStringList a = parts(value);
            const QString street = trimmed(a.value(2) + QLatin1Char(' ') + a.value(1)); // street, then the extended part
            if (!address || (has(p, "home") && !has(*address, "home"))) {
                if (address) // the home address comes after another: that one is told
                    add(Other, QStringLiteral("indirizzo: ") + QStringList{row[Street], row[PostalCode], row[Town], row[Province]}
                                                                  .filter(QRegularExpression(QStringLiteral("\\S")))
                                                                  .join(QLatin1Char(' ')));
                address = &p;
                row[Street] = street;
                row[Town] = a.value(3);
                row[Province] = a.value(4);
                row[PostalCode] = a.value(5);
            } else {
                add(Other, labelOf(p, QStringLiteral("indirizzo")) + QStringLiteral(": ")
                               + QStringList{street, a.value(5), a.value(3), a.value(4)}
                                     .filter(QRegularExpression(QStringLiteral("\\S")))
                                     .join(QLatin1Char(' ')));
            }
        } else if (p.name == QLatin1String("TEL")) {
            QString number = trimmed(unescaped(value));
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            if (number.isEmpty())
                continue;
            const QString label = p.group.isEmpty() ? QString() : labels.value(p.group);
            const bool mobile = has(p, "cell") || has(p, "iphone") || has(p, "mobile");
            const Column column = has(p, "fax") ? Fax : mobile ? Mobile : has(p, "work") ? Work : has(p, "home") ? Home
                                                                                                                : ColumnCount;
            if (column == ColumnCount) {
                looseTelephones.append({&p, number});
            } else if (row[column].isEmpty()) {
                row[column] = number;
            } else {
                const char *word = column == Fax ? "fax" : column == Mobile ? "cellulare" : column == Work ? "ufficio" : "casa";
                add(OtherPhones, number + QStringLiteral(" (") + (label.isEmpty() ? QString::fromLatin1(word) : label)
                                     + QLatin1Char(')'));
            }
        } else if (p.name == QLatin1String("EMAIL")) {
            const QString mail = trimmed(unescaped(value));
            if (row[Mail].isEmpty())
                row[Mail] = mail;
            else
                add(OtherMails, mail);
        } else if (p.name == QLatin1String("NOTE")) {
            add(Note, trimmed(unescaped(value)));
        } else if (p.name == QLatin1String("ORG")) {
            add(Organisation, parts(value).filter(QRegularExpression(QStringLiteral("\\S"))).join(QStringLiteral(", ")));
        } else {
            // What else a person's card says, named so that nothing is lost
            // without a word; what only the address book needs (its
            // identifiers, pictures, keys, its own extensions) is passed over.
            static const QHash<QString, QString> words{
                {QStringLiteral("TITLE"), QStringLiteral("qualifica")}, {QStringLiteral("ROLE"), QStringLiteral("ruolo")},
                {QStringLiteral("NICKNAME"), QStringLiteral("soprannome")}, {QStringLiteral("URL"), QStringLiteral("sito")},
                {QStringLiteral("IMPP"), QStringLiteral("messaggi")}, {QStringLiteral("ANNIVERSARY"), QStringLiteral("anniversario")},
                {QStringLiteral("X-ANNIVERSARY"), QStringLiteral("anniversario")}};
            if (const auto it = words.constFind(p.name); it != words.constEnd()) {
                const QString text = trimmed(unescaped(value));
                if (!text.isEmpty())
                    add(Other, labelOf(p, *it) + QStringLiteral(": ") + text);
            }
        }
    }
    // Telephones without a kind: into the home box while it is free, unless
    // a label of their own says they are something else; else named with it.
    for (const auto &[p, number] : std::as_const(looseTelephones)) {
        const QString label = p->group.isEmpty() ? QString() : labels.value(p->group);
        if (label.isEmpty() && row[Home].isEmpty())
            row[Home] = number;
        else
            add(OtherPhones, label.isEmpty() ? number : number + QStringLiteral(" (") + label + QLatin1Char(')'));
    }
    row[Name] = family.isEmpty() ? formatted : family;
    return row;
}

} // namespace

bool VCardTable::looksLikeVCard(const QByteArray &start)
{
    const QByteArray text = start.startsWith("\xEF\xBB\xBF") ? start.mid(3) : start;
    return text.trimmed().toUpper().startsWith("BEGIN:VCARD");
}

VCardTable::VCardTable(const QString &path) : m_text(path), m_chars(m_text) {}

QStringList VCardTable::heading() const
{
    return headings();
}

bool VCardTable::readLine(QString &line, qint64 &lineNumber)
{
    line.clear();
    QChar c;
    bool any = false;
    bool quotedPrintable = false;
    while (m_chars.get(c)) {
        if (!any) {
            lineNumber = m_chars.line();
            any = true;
        }
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            line += c;
            continue;
        }
        if (c == QLatin1Char('\r')) {
            QChar next;
            if (m_chars.peek(next) && next == QLatin1Char('\n'))
                m_chars.get(next);
        }
        if (!quotedPrintable)
            quotedPrintable = asciiUpper(line.left(line.indexOf(QLatin1Char(':')))).contains(QLatin1String("QUOTED-PRINTABLE"));
        QChar next;
        if (quotedPrintable && line.endsWith(QLatin1Char('='))) {
            line.chop(1); // a soft line break
            continue;
        }
        if (m_chars.peek(next) && (next == QLatin1Char(' ') || next == QLatin1Char('\t'))) {
            m_chars.get(next); // folded: the line goes on
            continue;
        }
        return true;
    }
    return any;
}

bool VCardTable::next(SourceRow &row)
{
    QString line;
    qint64 number = 0;
    QList<Property> card;
    bool inside = false;
    while (readLine(line, number)) {
        const Property p = parseLine(line);
        if (p.name == QLatin1String("BEGIN") && asciiUpper(trimmed(p.value)) == QLatin1String("VCARD")) {
            inside = true;
            card.clear();
            row.line = number;
        } else if (p.name == QLatin1String("END") && asciiUpper(trimmed(p.value)) == QLatin1String("VCARD")) {
            if (inside) {
                row.values = rowOf(card);
                return true;
            }
        } else if (inside && !p.name.isEmpty()) {
            card.append(p);
        }
    }
    if (inside)
        throw ImportError(QStringLiteral("vCard non valida, riga %1: la scheda non finisce con END:VCARD.").arg(row.line));
    return false;
}

} // namespace qv::imports
