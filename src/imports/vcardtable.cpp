#include "imports/vcardtable.h"

#include "core/cp1252.h"
#include "core/regional.h"
#include "core/text.h"

#include <QHash>
#include <QRegularExpression>

namespace qv::imports {

namespace {

enum Column { Name, Birth, Street, Town, Province, PostalCode, Home, Work, Mobile, Fax, Mail, Note, ColumnCount };

// The headings people use, so that the import matches them by itself.
const QStringList &headings()
{
    static const QStringList list{QStringLiteral("Cognome e nome"), QStringLiteral("Data di nascita"),
                                  QStringLiteral("Indirizzo"),      QStringLiteral("Comune"),
                                  QStringLiteral("Provincia"),      QStringLiteral("CAP"),
                                  QStringLiteral("Tel. casa"),      QStringLiteral("Tel. ufficio"),
                                  QStringLiteral("Cellulare"),      QStringLiteral("Fax"),
                                  QStringLiteral("E-mail"),         QStringLiteral("Note")};
    return list;
}

struct Property
{
    QString name;                      // upper case, group dropped ("item1.TEL" is TEL)
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
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    p.name = asciiUpper(trimmed(name));
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
    if (set.isEmpty() || set == QLatin1String("utf-8"))
        return QString::fromUtf8(bytes);
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
// anything else as it stands.
QString birthDate(const QString &value)
{
    static const QRegularExpression date(QStringLiteral("^(\\d{4})-?(\\d{2})-?(\\d{2})(T.*)?$"));
    const QRegularExpressionMatch m = date.match(trimmed(value));
    if (m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (d.isValid())
            return formatDate(d);
    }
    return trimmed(value);
}

QStringList rowOf(const QList<Property> &card)
{
    QStringList row(ColumnCount);
    const auto has = [](const Property &p, const char *type) {
        return p.parameters.value(QStringLiteral("TYPE")).contains(QLatin1String(type));
    };
    const Property *address = nullptr;
    QString formatted, family;
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
        } else if (p.name == QLatin1String("BDAY") && row[Birth].isEmpty()) {
            row[Birth] = birthDate(value);
        } else if (p.name == QLatin1String("ADR") && (!address || (has(p, "home") && !has(*address, "home")))) {
            address = &p;
            const QStringList a = parts(value);
            row[Street] = trimmed(a.value(2) + QLatin1Char(' ') + a.value(1)); // street, then the extended part
            row[Town] = a.value(3);
            row[Province] = a.value(4);
            row[PostalCode] = a.value(5);
        } else if (p.name == QLatin1String("TEL")) {
            QString number = trimmed(unescaped(value));
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            const Column column = has(p, "fax") ? Fax : has(p, "cell") ? Mobile : has(p, "work") ? Work : Home;
            if (row[column].isEmpty())
                row[column] = number;
        } else if (p.name == QLatin1String("EMAIL") && row[Mail].isEmpty()) {
            row[Mail] = trimmed(unescaped(value));
        } else if (p.name == QLatin1String("NOTE") && row[Note].isEmpty()) {
            row[Note] = trimmed(unescaped(value));
        }
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
