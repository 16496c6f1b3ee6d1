#include "output/listlines.h"

#include "archive/fields.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qv {

namespace {

// The list order on bytes: each byte's character after the case rule, as a
// rank from 1 up (0 is "no more characters"), so that two lines of the
// code page compare byte by byte exactly as their texts compare.
const std::array<uchar, 256> &orderRanks()
{
    static const std::array<uchar, 256> ranks = [] {
        std::array<char16_t, 256> folded{};
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            folded[b] = asciiUpper(cp1252::decode(&c, 1).at(0).unicode());
        }
        std::array<char16_t, 256> sorted = folded;
        std::sort(sorted.begin(), sorted.end());
        const auto end = std::unique(sorted.begin(), sorted.end());
        std::array<uchar, 256> r{};
        for (int b = 0; b < 256; ++b)
            r[b] = uchar(1 + (std::lower_bound(sorted.begin(), end, folded[b]) - sorted.begin()));
        return r;
    }();
    return ranks;
}

// Bytes with the case rule of a filter or "Trova" key: A-Z read as a-z.
constexpr uchar lowerByte(uchar b)
{
    return (b >= 'A' && b <= 'Z') ? uchar(b + 32) : b;
}

// Whether `key` (already lower-cased) occurs in `text` lower-cased on A-Z.
bool containsFolded(QByteArrayView text, QByteArrayView key)
{
    const qsizetype n = text.size();
    const qsizetype m = key.size();
    if (m == 0 || m > n)
        return false;
    const auto *t = reinterpret_cast<const uchar *>(text.data());
    const auto *k = reinterpret_cast<const uchar *>(key.data());
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (lowerByte(t[i]) != k[0])
            continue;
        qsizetype j = 1;
        while (j < m && lowerByte(t[i + j]) == k[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

// A text lower-cased on A-Z in Windows-1252; false when a character of it is
// not in the code page (no line or field can then hold it).
bool foldedBytes(const QString &text, QByteArray *bytes)
{
    bytes->clear();
    bytes->reserve(text.size());
    for (const QChar c : text) {
        const int b = cp1252::byteOf(c);
        if (b < 0)
            return false;
        bytes->append(char(lowerByte(uchar(b))));
    }
    return true;
}

// The bytes a field uses: its length byte clamped to the declared length.
QByteArrayView storedBytes(const RecordView &record, int field)
{
    const auto &f = record.layout().field(field);
    const char *at = record.data() + f.offset;
    return {at + 1, std::min<int>(static_cast<unsigned char>(at[0]), f.length)};
}

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

bool RecordView::hasText(int field) const
{
    const QByteArrayView bytes = storedBytes(*this, field);
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) > 32; });
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
        QByteArray bytes;
        for (const QChar c : label) {
            const int b = cp1252::byteOf(c);
            if (b < 0)
                throw std::invalid_argument("label not in Windows-1252: " + label.toStdString());
            bytes.append(char(b));
        }
        m_parts.append({label, field, width});
        m_labels.append(bytes);
        m_maxBytes += bytes.size() + (width == kTrimmed ? layout.field(field).length : std::max(width, 0));
    }
}

// Hands the line to `sink` piece by piece: sink.bytes(data, size) for text,
// sink.blanks(count) for padding; stops as soon as the sink returns false.
// A byte <= 32 decodes to a character <= 32 and no other does, so trimming
// the bytes trims the text exactly as TestoDaCampo does.
template <class Sink>
bool LineLayout::produce(const RecordView &record, Sink &sink) const
{
    for (qsizetype i = 0; i < m_parts.size(); ++i) {
        const Part &part = m_parts.at(i);
        const QByteArray &label = m_labels.at(i);
        if (!label.isEmpty() && !sink.bytes(label.constData(), label.size()))
            return false;
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
            size = std::min<qsizetype>(size, std::max(part.width, 0));
        if (size > 0 && !sink.bytes(begin, size))
            return false;
        if (part.width != kTrimmed && size < part.width && !sink.blanks(part.width - size))
            return false;
    }
    return true;
}

namespace {

struct WriteSink
{
    char *out;
    bool bytes(const char *data, qsizetype size)
    {
        std::memcpy(out, data, size_t(size));
        out += size;
        return true;
    }
    bool blanks(qsizetype count)
    {
        std::memset(out, ' ', size_t(count));
        out += count;
        return true;
    }
};

// Compares a line as it is made with a wanted trimmed line: blanks and
// control characters before the first other byte are skipped, after the
// wanted bytes only they may follow.
struct TrimmedSink
{
    const uchar *wanted;
    qsizetype size;
    qsizetype at = 0;
    bool started = false;

    bool byte(uchar b)
    {
        if (!started) {
            if (b <= 32)
                return true;
            started = true;
        }
        if (at < size)
            return wanted[at++] == b;
        return b <= 32;
    }
    bool bytes(const char *data, qsizetype n)
    {
        for (qsizetype i = 0; i < n; ++i)
            if (!byte(uchar(data[i])))
                return false;
        return true;
    }
    bool blanks(qsizetype n)
    {
        for (qsizetype i = 0; i < n; ++i)
            if (!byte(' '))
                return false;
        return true;
    }
};

} // namespace

qsizetype LineLayout::write(const RecordView &record, char *out) const
{
    WriteSink sink{out};
    produce(record, sink);
    return sink.out - out;
}

QString LineLayout::line(const RecordView &record) const
{
    // Straight from the record's bytes into the text.
    struct TextSink
    {
        QString text;
        bool bytes(const char *data, qsizetype size)
        {
            cp1252::decodeAppend(text, data, size);
            return true;
        }
        bool blanks(qsizetype count)
        {
            text.append(QString(count, QLatin1Char(' ')));
            return true;
        }
    } sink;
    sink.text.reserve(std::min<qsizetype>(m_maxBytes, 160));
    produce(record, sink);
    return sink.text;
}

bool LineLayout::isTrimmed(const RecordView &record, QByteArrayView wanted) const
{
    TrimmedSink sink{reinterpret_cast<const uchar *>(wanted.data()), wanted.size()};
    return produce(record, sink) && sink.at == sink.size;
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

namespace {

// How many bytes after the shared label the two integers of a line's key hold.
constexpr qsizetype kKeyBytes = 16;

std::array<quint64, 2> keyOf(const uchar *line, qsizetype size, qsizetype from)
{
    const auto &rank = orderRanks();
    // The ranks in reading order, 0 past the end, read as two big-endian
    // integers: the first character weighs most.
    uchar ranks[kKeyBytes] = {};
    const qsizetype count = std::clamp<qsizetype>(size - from, 0, kKeyBytes);
    for (qsizetype i = 0; i < count; ++i)
        ranks[i] = rank[line[from + i]];
    return {qFromBigEndian<quint64>(ranks), qFromBigEndian<quint64>(ranks + 8)};
}

// One line while a list is sorted: its key, its bytes and its archive order.
struct SortEntry
{
    std::array<quint64, 2> key;
    const uchar *data;
    quint32 size;
    quint32 index;
};

bool keyLess(const SortEntry &a, const SortEntry &b)
{
    return a.key[0] != b.key[0] ? a.key[0] < b.key[0] : a.key[1] < b.key[1];
}

bool indexLess(const SortEntry &a, const SortEntry &b)
{
    return a.index < b.index;
}

// Below this a second thread costs more than it saves.
constexpr size_t kParallelSort = 8192;

// How many entries ahead a line's bytes are asked for.
constexpr std::ptrdiff_t kReadAhead = 8;

inline void prefetch(const void *at)
{
#if defined(__GNUC__)
    __builtin_prefetch(at);
#else
    Q_UNUSED(at);
#endif
}

// Puts in list order the lines of [begin, end), already ordered by their
// keys of the characters from `from` on: each run of equal keys is ordered
// by the next characters' keys, and so on, until its lines differ or end.
// Lines that end alike are equal: their archive order decides. The bytes of
// a line are read once a round, not at every comparison.
void orderRuns(SortEntry *begin, SortEntry *end, qsizetype from)
{
    for (SortEntry *run = begin; run != end;) {
        SortEntry *runEnd = run + 1;
        while (runEnd != end && runEnd->key == run->key)
            ++runEnd;
        if (runEnd - run > 1) {
            // A key that holds a line's end holds every end of the run: the
            // same characters, the same length.
            if (run->size < from + kKeyBytes) {
                std::sort(run, runEnd, indexLess);
            } else {
                const qsizetype next = from + kKeyBytes;
                for (SortEntry *e = run; e != runEnd; ++e) {
                    // The lines lie scattered in memory: ask for the ones
                    // a few entries on while this one is read.
                    if (end - e > kReadAhead) {
                        const SortEntry &ahead = e[kReadAhead];
                        prefetch(ahead.data + std::min<qsizetype>(next, ahead.size));
                    }
                    e->key = keyOf(e->data, e->size, next);
                }
                std::sort(run, runEnd, keyLess);
                orderRuns(run, runEnd, next);
            }
        }
        run = runEnd;
    }
}

// The list order on the entries, whose keys are those of the characters
// from `from` on. Large lists use two threads: each sorts half by key, the
// halves are merged, then each orders the runs of its half.
void sortEntries(std::vector<SortEntry> &entries, qsizetype from)
{
    if (entries.size() < kParallelSort || std::thread::hardware_concurrency() < 2) {
        std::sort(entries.begin(), entries.end(), keyLess);
        orderRuns(entries.data(), entries.data() + entries.size(), from);
        return;
    }
    const auto middle = entries.begin() + std::ptrdiff_t(entries.size() / 2);
    std::thread other([&] { std::sort(entries.begin(), middle, keyLess); });
    std::sort(middle, entries.end(), keyLess);
    other.join();
    std::vector<SortEntry> merged(entries.size());
    std::merge(entries.begin(), middle, middle, entries.end(), merged.begin(), keyLess);
    entries = std::move(merged);
    // The halves of the runs' work meet at a run's edge.
    SortEntry *const first = entries.data();
    SortEntry *const last = first + entries.size();
    SortEntry *split = first + entries.size() / 2;
    while (split != last && split != first && split->key == (split - 1)->key)
        ++split;
    std::thread runs([&] { orderRuns(first, split, from); });
    orderRuns(split, last, from);
    runs.join();
}

} // namespace

LineBatch::LineBatch(const LineLayout &layout, qsizetype records)
    : m_layout(&layout), m_bytes(records * layout.maxBytes(), Qt::Uninitialized)
{
    m_lines.reserve(size_t(records));
}

void LineBatch::add(const RecordView &record)
{
    if (m_used + m_layout->maxBytes() > m_bytes.size())
        m_bytes.resize(std::max(m_bytes.size() * 2, m_used + m_layout->maxBytes()));
    char *at = m_bytes.data() + m_used;
    const qsizetype size = m_layout->write(record, at);
    m_lines.push_back({keyOf(reinterpret_cast<const uchar *>(at), size, m_layout->sharedStart()),
                       quint32(m_used), quint32(size)});
    m_used += size;
}

void LineBatch::finish()
{
    m_bytes.resize(m_used);
    m_bytes.squeeze();
}

LineList LineList::sorted(std::deque<LineBatch> batches, qsizetype sharedStart)
{
    auto data = std::make_shared<Data>();
    data->batches = std::move(batches);
    std::vector<SortEntry> entries;
    size_t total = 0;
    for (const LineBatch &batch : data->batches)
        total += batch.m_lines.size();
    entries.reserve(total);
    quint32 index = 0;
    for (const LineBatch &batch : data->batches) {
        const auto *bytes = reinterpret_cast<const uchar *>(batch.m_bytes.constData());
        for (const LineBatch::Line &line : batch.m_lines)
            entries.push_back({line.key, bytes + line.offset, line.length, index++});
    }
    sortEntries(entries, sharedStart);
    data->rows.reserve(entries.size());
    for (const SortEntry &entry : entries)
        data->rows.push_back({reinterpret_cast<const char *>(entry.data), qsizetype(entry.size)});
    LineList list;
    list.m_data = std::move(data);
    return list;
}

LineList LineList::fromText(const QStringList &lines)
{
    auto data = std::make_shared<Data>();
    std::vector<qsizetype> ends;
    ends.reserve(size_t(lines.size()));
    for (const QString &line : lines) {
        data->text += cp1252::encode(line);
        ends.push_back(data->text.size());
    }
    qsizetype start = 0;
    data->rows.reserve(ends.size());
    for (const qsizetype end : ends) {
        data->rows.push_back({data->text.constData() + start, end - start});
        start = end;
    }
    LineList list;
    list.m_data = std::move(data);
    return list;
}

QByteArrayView LineList::bytes(qsizetype row) const
{
    const Row &r = m_data->rows.at(size_t(row));
    return {r.data, r.size};
}

QString LineList::at(qsizetype row) const
{
    const QByteArrayView line = bytes(row);
    return cp1252::decode(line.data(), line.size());
}

QStringList LineList::toStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        lines.append(at(row));
    return lines;
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
        Key key;
        key.field = box.field;
        // The field's bytes are compared, not its text: the same characters.
        key.possible = foldedBytes(box.text, &key.bytes);
        m_keys.append(key);
    }
}

bool FilterRule::scores(const Key &key, const RecordView &record) const
{
    return key.possible && containsFolded(storedBytes(record, key.field), key.bytes);
}

int FilterRule::points(const RecordView &record) const
{
    int points = 0;
    for (const Key &key : m_keys)
        if (scores(key, record))
            ++points;
    return points;
}

bool FilterRule::matches(const RecordView &record) const
{
    if (m_filled == 0)
        return true;
    int points = 0;
    for (const Key &key : m_keys) {
        if (scores(key, record) && ++points >= m_filled)
            return true;
    }
    return false;
}

namespace {

// The walk of findInList over any list: `matches(row)` tells whether the key
// is in that row.
template <class Matches>
int findRow(int count, int selected, bool again, const Matches &matches)
{
    const int start = again ? std::clamp(selected, 0, count - 1) : 0;
    if (!again && matches(start))
        return start;
    // The following lines, wrapping, and finally the start line once more.
    for (int step = 1; step <= count; ++step) {
        const int row = (start + step) % count;
        if (matches(row))
            return row;
    }
    return -1;
}

} // namespace

int findInList(const QStringList &lines, int selected, const QString &key, const QString &lastKey)
{
    const int count = int(lines.size());
    if (count == 0 || key.isEmpty())
        return -1;
    const QString lowered = asciiLower(key);
    return findRow(count, selected, lowered == asciiLower(lastKey),
                   [&](int row) { return containsFolded(lines.at(row), lowered); });
}

int findInList(const LineList &lines, int selected, const QString &key, const QString &lastKey)
{
    const int count = int(lines.size());
    if (count == 0 || key.isEmpty())
        return -1;
    QByteArray lowered;
    if (!foldedBytes(key, &lowered))
        return -1; // a character no line can hold
    return findRow(count, selected, asciiLower(key) == asciiLower(lastKey),
                   [&](int row) { return containsFolded(lines.bytes(row), lowered); });
}

} // namespace qv
