#pragma once
// Archives written byte by byte, independently of the program's record code,
// and the list rules written out again in their plainest form, so tests can
// tell what a list must hold without asking the code under test.
#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace qvtest {

using Fields = QList<QPair<QString, int>>; // (name, declared length) in file order
using Values = QHash<QString, QString>;

inline const Fields &eventFields()
{
    static const Fields fields{
        {"Titolo", 50},        {"Tipologia", 50},   {"Materie", 250},      {"Relatori", 250},
        {"DataInizio", 10},    {"OraInizio", 5},    {"DataFine", 10},      {"OraFine", 5},
        {"Sede", 120},         {"Indirizzo", 120},  {"Organizzatore", 50}, {"RecapitoOrg", 50},
        {"Contatto", 50},      {"RecapitoCon", 50}, {"Collaboratori", 250}, {"Criteri", 250},
        {"Pagamento", 120},    {"Quota", 15},       {"Intestatario", 50},  {"Iban", 27},
        {"Banca", 50},         {"Anticipo", 15},    {"Note", 250},         {"DataSca", 10},
        {"Posti", 4},          {"Completo", 2},     {"File01", 250},       {"File02", 250},
        {"File03", 250},       {"Desc01", 250},     {"Desc02", 250},       {"Desc03", 250},
    };
    return fields;
}

inline const Fields &participantFields()
{
    static const Fields fields{
        {"Cliente", 50},   {"DataNasc", 30},   {"ComuneNasc", 50},   {"ProvNasc", 2},    {"Sesso", 1},
        {"Recapito", 50},  {"IndirizzoRes", 50}, {"ProvRes", 2},     {"ComuneRes", 50},  {"CapRes", 5},
        {"Estremi", 250},  {"TelCasa", 30},    {"TelUff", 30},       {"TelCel", 30},     {"Fax", 30},
        {"Email", 50},     {"CodFisc", 16},    {"Carta", 30},        {"ScadeCarta", 30}, {"PartitaIva", 11},
        {"Iban", 27},      {"Documento", 120}, {"Occupazione", 50},  {"Civile", 50},     {"Titoli", 120},
        {"Prodotti", 120}, {"Zona", 50},       {"Questioni", 250},   {"Note", 250},      {"Ricontatta", 2},
        {"File01", 250},   {"File02", 250},    {"File03", 250},      {"Desc01", 250},    {"Desc02", 250},
        {"Desc03", 250},
    };
    return fields;
}

inline const Fields &reservationFields()
{
    static const Fields fields{
        {"Cliente", 50}, {"IndirizzoRes", 50}, {"ComuneRes", 50}, {"ProvRes", 2},       {"CapRes", 5},
        {"CodFisc", 16}, {"Recapito", 50},     {"TelCel", 30},    {"Email", 50},        {"Posto", 5},
        {"Numero", 5},   {"Ubicazione", 250},  {"Annotazioni", 250}, {"DaConfermare", 2},
    };
    return fields;
}

// Windows-1252 for the characters the fixtures use: Latin-1 and the euro sign.
inline QByteArray windows1252(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes.append(c.unicode() == 0x20AC ? char(0x80) : char(c.unicode() < 256 ? c.unicode() : '?'));
    return bytes;
}

// Windows-1252 read back, every byte: 0x80..0x9F as the code page's table
// has them, the five bytes it leaves undefined keeping their own value.
inline QString fromWindows1252(const QByteArray &bytes)
{
    static constexpr char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QString text;
    for (const char c : bytes) {
        const auto b = uchar(c);
        text += QChar(b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b));
    }
    return text;
}

// One record: each field a length byte and its declared number of bytes; the
// text is written exactly as given (no trimming), the unused bytes hold
// `filler`, which readers must ignore.
inline QByteArray record(const Fields &fields, const Values &values, char filler = '#')
{
    QByteArray bytes;
    for (const auto &[name, declared] : fields) {
        const QByteArray text = windows1252(values.value(name)).left(declared);
        bytes.append(char(text.size()));
        bytes.append(text);
        bytes.append(QByteArray(declared - text.size(), filler));
    }
    return bytes;
}

inline void writeRecords(const QString &path, const Fields &fields, const QList<Values> &records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (const Values &values : records)
        file.write(record(fields, values));
}

// The rules, plainly.
inline QString lowerAZ(QString text)
{
    for (QChar &c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return text;
}

inline QString trimCodes(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

inline QString column(const QString &text, int width)
{
    return trimCodes(text).leftJustified(width, QLatin1Char(' '), true);
}

// The line of an event in the event lists.
inline QString eventLine(const Values &v)
{
    return column(v.value("Titolo").left(50), 44) + "  Da: " + column(v.value("DataInizio"), 10) + "  A: "
           + column(v.value("DataFine"), 10) + "  Info: " + column(v.value("Contatto"), 28) + "  Tel. "
           + column(v.value("RecapitoCon"), 15) + QString::fromUtf8("  Quota: \u20AC ") + trimCodes(v.value("Quota"));
}

// Ascending, a-z read as A-Z, a line that begins another first.
inline bool listBefore(const QString &a, const QString &b)
{
    auto up = [](QChar c) { return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? c.unicode() - 32 : c.unicode(); };
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (up(a[i]) != up(b[i]))
            return up(a[i]) < up(b[i]);
    return a.size() < b.size();
}

inline bool inListOrder(const QStringList &lines)
{
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (listBefore(lines[i], lines[i - 1]))
            return false;
    return true;
}

inline QStringList sortedMultiset(QStringList lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace qvtest
