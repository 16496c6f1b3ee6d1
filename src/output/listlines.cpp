#include "output/listlines.h"

#include "archive/fields.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace qv {

namespace {

// Whether `key` (already lower-cased) occurs in `text` lower-cased on A-Z,
// without building the lower-cased copy: lists can hold 100 000 lines.
bool containsFolded(const QString &text, const QString &key)
{
    const qsizetype n = text.size();
    const qsizetype m = key.size();
    if (m == 0 || m > n)
        return false;
    const QChar *t = text.constData();
    const QChar *k = key.constData();
    const char16_t first = k[0].unicode();
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (asciiLower(t[i].unicode()) != first)
            continue;
        qsizetype j = 1;
        while (j < m && asciiLower(t[i + j].unicode()) == k[j].unicode())
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

} // namespace

QString RecordView::text(int field) const
{
    const auto &f = m_layout->field(field);
    return TestoDaCampo(m_data + f.offset, f.length);
}

QString RecordView::stored(int field) const
{
    const auto &f = m_layout->field(field);
    const int used = std::min<int>(static_cast<unsigned char>(m_data[f.offset]), f.length);
    return cp1252::decode(m_data + f.offset + 1, used);
}

Record RecordView::record() const
{
    Record copy(*m_layout);
    copy.setBytes(QByteArray(m_data, m_layout->size()));
    return copy;
}

LineLayout::LineLayout(const RecordLayout &layout,
                       std::initializer_list<std::tuple<QString, const char *, int>> parts)
{
    for (const auto &[label, name, width] : parts) {
        const int field = layout.indexOf(QString::fromLatin1(name));
        if (field < 0)
            throw std::invalid_argument(std::string("no field ") + name);
        m_parts.append({label, field, width});
    }
}

QString LineLayout::line(const RecordView &record) const
{
    // Straight from the record's bytes into the line: a list builds 100 000
    // of them. A byte <= 32 decodes to a character <= 32 and no other does,
    // so trimming the bytes trims the text exactly as TestoDaCampo does.
    QString line;
    line.reserve(160);
    for (const Part &part : m_parts) {
        line += part.label;
        const auto &f = record.layout().field(part.field);
        const char *field = record.data() + f.offset;
        const char *begin = field + 1;
        const char *end = begin + std::min<int>(static_cast<unsigned char>(field[0]), f.length);
        while (begin < end && static_cast<unsigned char>(*begin) <= 32)
            ++begin;
        while (end > begin && static_cast<unsigned char>(end[-1]) <= 32)
            --end;
        qsizetype size = end - begin;
        if (part.width != kTrimmed)
            size = std::min<qsizetype>(size, part.width);
        cp1252::decodeAppend(line, begin, size);
        if (part.width != kTrimmed && size < part.width)
            line.append(QString(part.width - size, QLatin1Char(' ')));
    }
    return line;
}

bool listLess(const QString &a, const QString &b)
{
    return compareAsciiUpper(a, b) < 0;
}

void sortLines(QStringList &lines)
{
    // Each line is folded once, then compared as plain text: the same order
    // as listLess, without folding the same characters again at every step.
    std::vector<std::pair<QString, qsizetype>> keyed;
    keyed.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        keyed.emplace_back(asciiUpper(lines.at(i)), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (const auto &entry : keyed)
        sorted.append(std::move(lines[entry.second]));
    lines = std::move(sorted);
}

QString displayLine(const QString &line)
{
    if (!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')))
        return line;
    QString row = line;
    row.replace(QLatin1Char('\n'), QLatin1Char(' '));
    row.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return row;
}

FilterRule::FilterRule(const QList<Box> &boxes)
{
    for (const Box &box : boxes) {
        // A box holding only blanks is not a filter the user gave: it neither
        // counts nor scores (a stray blank would otherwise select every
        // record with a blank in that field).
        if (trimmed(box.text).isEmpty())
            continue;
        ++m_filled;
        m_keys.append({box.field, asciiLower(box.text)});
    }
}

int FilterRule::points(const RecordView &record) const
{
    int points = 0;
    for (const Box &key : m_keys)
        if (containsFolded(record.stored(key.field), key.text))
            ++points;
    return points;
}

bool FilterRule::matches(const RecordView &record) const
{
    if (m_filled == 0)
        return true;
    int points = 0;
    for (const Box &key : m_keys) {
        if (containsFolded(record.stored(key.field), key.text) && ++points >= m_filled)
            return true;
    }
    return false;
}

int findInList(const QStringList &lines, int selected, const QString &key, const QString &lastKey)
{
    const int count = int(lines.size());
    if (count == 0 || key.isEmpty())
        return -1;
    const QString lowered = asciiLower(key);
    const bool again = lowered == asciiLower(lastKey);
    const int start = again ? std::clamp(selected, 0, count - 1) : 0;
    if (!again && containsFolded(lines.at(start), lowered))
        return start;
    // The following lines, wrapping, and finally the start line once more.
    for (int step = 1; step <= count; ++step) {
        const int row = (start + step) % count;
        if (containsFolded(lines.at(row), lowered))
            return row;
    }
    return -1;
}

} // namespace qv
