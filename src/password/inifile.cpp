#include "password/inifile.h"

#include "core/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace qv::IniFile {
namespace {

// Section and key names compare without regard to ASCII case, as INI readers do.
bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a.trimmed()).compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray sectionOf(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.startsWith('[') && t.endsWith(']'))
        return t.mid(1, t.size() - 2);
    return {};
}

bool isSection(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

struct Parsed
{
    QList<QByteArray> lines; // without their line ends
    QByteArray eol = "\r\n";
    bool endsWithEol = true;
    QByteArray bom; // a UTF-8 byte-order mark an editor put in front, kept as it was
};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

Parsed load(const QString &path, bool *exists)
{
    Parsed parsed;
    QFileInfo info(path);
    *exists = info.exists();
    if (!*exists)
        return parsed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error("cannot read " + path.toStdString());
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error("cannot read " + path.toStdString());
    if (content.startsWith(kUtf8Bom)) {
        parsed.bom = kUtf8Bom;
        content.remove(0, kUtf8Bom.size());
    }
    if (content.isEmpty())
        return parsed;
    parsed.eol = content.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    parsed.endsWithEol = content.endsWith('\n');
    QByteArray body = content;
    if (parsed.endsWithEol)
        body.chop(parsed.eol == "\r\n" && body.endsWith("\r\n") ? 2 : 1);
    for (QByteArray line : body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        parsed.lines.append(line);
    }
    return parsed;
}

// Index of the line holding the key inside the section, or -1; sets
// *sectionEnd to the index after the section's last non-blank line
// (or -1 when the section is missing).
int findKey(const QList<QByteArray> &lines, const QString &section, const QString &key, int *sectionEnd)
{
    *sectionEnd = -1;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (isSection(line)) {
            if (inside)
                return -1;
            inside = sameName(sectionOf(line), section);
            if (inside)
                *sectionEnd = i + 1;
            continue;
        }
        if (!inside)
            continue;
        if (!line.trimmed().isEmpty())
            *sectionEnd = i + 1;
        const int eq = line.indexOf('=');
        if (eq > 0 && sameName(line.left(eq), key))
            return i;
    }
    return -1;
}

} // namespace

QString readValue(const QString &path, const QString &section, const QString &key)
{
    bool exists = false;
    const Parsed parsed = load(path, &exists);
    int sectionEnd = -1;
    const int at = findKey(parsed.lines, section, key, &sectionEnd);
    if (at < 0)
        return {};
    const QByteArray &line = parsed.lines.at(at);
    return QString::fromLatin1(line.mid(line.indexOf('=') + 1).trimmed());
}

void writeValue(const QString &path, const QString &section, const QString &key, const QString &value)
{
    bool exists = false;
    Parsed parsed = load(path, &exists);
    const QByteArray entry = key.toLatin1() + '=' + value.toLatin1();
    int sectionEnd = -1;
    const int at = findKey(parsed.lines, section, key, &sectionEnd);
    if (at >= 0) {
        parsed.lines[at] = entry;
    } else if (sectionEnd >= 0) {
        parsed.lines.insert(sectionEnd, entry);
    } else {
        if (!parsed.lines.isEmpty() && !parsed.lines.last().trimmed().isEmpty())
            parsed.lines.append(QByteArray());
        parsed.lines.append('[' + section.toLatin1() + ']');
        parsed.lines.append(entry);
        parsed.endsWithEol = true;
    }
    QByteArray content = parsed.bom + parsed.lines.join(parsed.eol);
    if (parsed.endsWithEol)
        content += parsed.eol;

    // Never truncated and rewritten in place: a failure part-way would leave
    // the file empty or cut (for the password file, a locked-out user).
    if (!writeWholeFile(path, content))
        throw Error("cannot write " + path.toStdString());
}

} // namespace qv::IniFile
