#pragma once
// Readers of the exchanged files written independently of the program's own
// code: the content lines of iCalendar and vCard files, and the cells of an
// .xlsx worksheet, so tests can tell what a file holds as another program
// would read it.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <unzip.h>

namespace qvtest {

// One content line: name, parameters and the value as written (escaped).
struct ContentLine
{
    QString name;
    QHash<QString, QString> parameters;
    QString raw;
};

// Lines unfolded (a line end followed by a blank or a tab joins the lines).
inline QList<ContentLine> contentLines(const QByteArray &file)
{
    QByteArray unfolded = file;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "");
    QList<ContentLine> lines;
    for (const QByteArray &bytes : unfolded.split('\n')) {
        const QString line = QString::fromUtf8(bytes.endsWith('\r') ? bytes.chopped(1) : bytes);
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        QStringList head = line.left(colon).split(';');
        ContentLine l{head.takeFirst().toUpper(), {}, line.mid(colon + 1)};
        for (const QString &parameter : head)
            l.parameters.insert(parameter.section('=', 0, 0).toUpper(), parameter.section('=', 1));
        lines.append(l);
    }
    return lines;
}

// A text value unescaped.
inline QString unescaped(const QString &raw)
{
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != '\\' || i + 1 == raw.size()) {
            out += raw.at(i);
            continue;
        }
        const QChar next = raw.at(++i);
        out += (next == 'n' || next == 'N') ? QChar('\n') : next;
    }
    return out;
}

// The parts of a compound value (";" not escaped), each unescaped.
inline QStringList compound(const QString &raw)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == '\\' && i + 1 < raw.size()) {
            parts.last() += raw.mid(i, 2);
            ++i;
        } else if (raw.at(i) == ';') {
            parts.append(QString());
        } else {
            parts.last() += raw.at(i);
        }
    }
    for (QString &part : parts)
        part = unescaped(part);
    return parts;
}

// The components of one kind ("VEVENT", "VCARD"), each its lines.
inline QList<QList<ContentLine>> components(const QByteArray &file, const QString &kind)
{
    QList<QList<ContentLine>> found;
    bool inside = false;
    for (const ContentLine &line : contentLines(file)) {
        if (line.name == "BEGIN" && line.raw == kind) {
            inside = true;
            found.append(QList<ContentLine>());
        } else if (line.name == "END" && line.raw == kind) {
            inside = false;
        } else if (inside) {
            found.last().append(line);
        }
    }
    return found;
}

inline const ContentLine *property(const QList<ContentLine> &component, const QString &name,
                                   const QString &type = {})
{
    for (const ContentLine &line : component)
        if (line.name == name && (type.isEmpty() || line.parameters.value("TYPE") == type))
            return &line;
    return nullptr;
}

// One member of a zip file, or an empty array.
inline QByteArray zipMember(const QString &zip, const char *name)
{
    unzFile file = unzOpen64(zip.toLocal8Bit().constData());
    if (!file)
        return {};
    QByteArray bytes;
    if (unzLocateFile(file, name, 0) == UNZ_OK && unzOpenCurrentFile(file) == UNZ_OK) {
        char buffer[8192];
        int read = 0;
        while ((read = unzReadCurrentFile(file, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, read);
        unzCloseCurrentFile(file);
    }
    unzClose(file);
    return bytes;
}

// A worksheet's text with the "_xHHHH_" escapes read as the characters they stand for.
inline QString unescapedCell(QString text)
{
    static const QRegularExpression escape("_x([0-9A-Fa-f]{4})_");
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = escape.match(text, from)).hasMatch()) {
        const QString character(QChar(char16_t(m.captured(1).toUShort(nullptr, 16))));
        text.replace(m.capturedStart(), m.capturedLength(), character);
        from = m.capturedStart() + 1;
    }
    return text;
}

// A worksheet's cells by reference ("B2") with their type attribute and
// text (inline or shared strings), escapes read.
struct SheetCell
{
    QString type;
    QString text;
    QString style;
};
inline QMap<QString, SheetCell> sheetCells(const QByteArray &sheet, const QStringList &shared = {})
{
    QMap<QString, SheetCell> cells;
    QXmlStreamReader xml(sheet);
    QString reference;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
            reference = xml.attributes().value("r").toString();
            cells[reference] = {xml.attributes().value("t").toString(), QString(),
                                xml.attributes().value("s").toString()};
        } else if (xml.isStartElement() && xml.name() == QLatin1String("t")) {
            cells[reference].text += unescapedCell(xml.readElementText());
        } else if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
            const QString v = xml.readElementText();
            cells[reference].text = cells[reference].type == "s" ? shared.value(v.toInt()) : v;
        }
    }
    return cells;
}

} // namespace qvtest
