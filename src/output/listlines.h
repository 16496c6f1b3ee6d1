#pragma once
#include "archive/record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>
#include <vector>

// The widget-free rules of the summary lists: lines built from records, their
// order, the filter rule of the search windows and the search inside a list.
namespace qv {

// One record's bytes read in place (no copy), with the field conversions.
class RecordView
{
public:
    RecordView(const RecordLayout &layout, const char *data) : m_layout(&layout), m_data(data) {}

    const RecordLayout &layout() const { return *m_layout; }
    const char *data() const { return m_data; }
    // TestoDaCampo: the characters in use, trimmed.
    QString text(int field) const;
    // Whether text(field) is not empty, found without making it.
    bool hasText(int field) const;
    // The characters in use exactly as stored, blanks kept.
    QString stored(int field) const;
    // A copy as a record, for handing it to a window.
    Record record() const;

private:
    const RecordLayout *m_layout;
    const char *m_data;
};

// A line layout: an ordered list of (label, field, width) parts. Each part is
// its label followed by the field's trimmed text padded or cut to the width;
// a part without a width (the last one) takes the trimmed text as it is.
//
// A line is made in the archive's code page, straight from the record's
// bytes: one character a byte, a byte <= 32 exactly a character <= 32.
class LineLayout
{
public:
    static constexpr int kTrimmed = -1;
    struct Part
    {
        QString label;
        int field = 0;
        int width = kTrimmed;
    };

    LineLayout() = default;
    // Parts as (label, field name, width); every name must be a field of the
    // layout and every label must be text the code page holds.
    LineLayout(const RecordLayout &layout,
               std::initializer_list<std::tuple<QString, const char *, int>> parts);

    const QList<Part> &parts() const { return m_parts; }
    QString line(const RecordView &record) const;

    // The longest line, in bytes.
    qsizetype maxBytes() const { return m_maxBytes; }
    // Writes the line in Windows-1252 at `out` (room for maxBytes()); returns its length.
    qsizetype write(const RecordView &record, char *out) const;
    // Whether the line, trimmed, is `wanted` (Windows-1252, trimmed): the
    // bytes are compared as they are made, so most records are told apart
    // by their first characters, without making their line.
    bool isTrimmed(const RecordView &record, QByteArrayView wanted) const;
    // The bytes every line begins with: the first label.
    qsizetype sharedStart() const { return m_labels.isEmpty() ? 0 : m_labels.first().size(); }

private:
    template <class Sink>
    bool produce(const RecordView &record, Sink &sink) const;

    QList<Part> m_parts;
    QList<QByteArray> m_labels; // each part's label in Windows-1252
    qsizetype m_maxBytes = 0;
};

// The list order: ascending by whole text, letters a-z compared as A-Z and
// nothing else folded; a line that begins another comes first.
bool listLess(const QString &a, const QString &b);
// Sorts once; lines that compare equal keep their archive order.
void sortLines(QStringList &lines);

// The lines of some records in archive order, as one thread builds them
// from one read of an archive: their bytes in one buffer, and for each line
// its first characters after the shared label as the list order weighs them
// (two integers), so that most comparisons of a sort need nothing else.
class LineBatch
{
public:
    // Room for `records` lines.
    LineBatch(const LineLayout &layout, qsizetype records);
    void add(const RecordView &record);
    // No more lines: the room left over is given back.
    void finish();
    qsizetype size() const { return qsizetype(m_lines.size()); }

private:
    friend class LineList;
    struct Line
    {
        std::array<quint64, 2> key;
        quint32 offset;
        quint32 length;
    };
    const LineLayout *m_layout;
    QByteArray m_bytes;
    qsizetype m_used = 0;
    std::vector<Line> m_lines;
};

// The lines of a list in list order, held as the archive holds text
// (Windows-1252, one byte a character). A line becomes a QString only when
// it is asked for (the rows on screen), so 100 000 lines are a few blocks
// of bytes rather than 100 000 strings. Copies share the lines.
class LineList
{
public:
    LineList() = default;
    // The batches' lines, in archive order across the batches, sorted once
    // in the list order; equal lines keep their archive order. Large lists
    // are sorted on two threads.
    static LineList sorted(std::deque<LineBatch> batches, qsizetype sharedStart);
    // Lines made as text, already in list order.
    static LineList fromText(const QStringList &lines);

    qsizetype size() const { return m_data ? qsizetype(m_data->rows.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype row) const;
    QByteArrayView bytes(qsizetype row) const; // Windows-1252
    QStringList toStringList() const;

private:
    struct Row
    {
        const char *data;
        qsizetype size;
    };
    struct Data
    {
        std::deque<LineBatch> batches; // owns the bytes the rows point into
        QByteArray text;               // or this, for lines made as text
        std::vector<Row> rows;
    };
    std::shared_ptr<const Data> m_data;
};

// A line as the list shows it and the printout prints it: always one row.
// A line break stored inside a field (archives written by other programs)
// shows as a blank, so a printed page holds exactly one row per list line.
QString displayLine(const QString &line);

// The filter rule of the search windows. A box is filled when its text is
// not blank once trimmed; only filled boxes count. A filled box's text is
// taken as typed (blanks at its ends included), ASCII lower-cased, and scores
// a point when it occurs in the lower-cased field as stored. A record is
// listed when its points are not fewer than the filled boxes: with no filled
// box every record is listed.
class FilterRule
{
public:
    struct Box
    {
        int field = 0;
        QString text; // as typed
    };
    explicit FilterRule(const QList<Box> &boxes);

    int filledCount() const { return m_filled; }
    int points(const RecordView &record) const;
    bool matches(const RecordView &record) const;

private:
    struct Key
    {
        int field = 0;
        // The box's text lower-cased, in Windows-1252; none when it holds a
        // character the code page does not have, which no field can hold.
        QByteArray bytes;
        bool possible = true;
    };
    bool scores(const Key &key, const RecordView &record) const;

    QList<Key> m_keys; // the filled boxes
    int m_filled = 0;
};

// The search inside a list ("Trova"). `key` is the box text as typed.
// A new key starts at the first line, which is tested first; the same key as
// last time starts at the selected line and tests it last. The scan wraps
// around. Returns the matching row, or -1 (the selection then stays).
// `selected` must be a valid row: callers select the first line when none is.
int findInList(const QStringList &lines, int selected, const QString &key, const QString &lastKey);
int findInList(const LineList &lines, int selected, const QString &key, const QString &lastKey);

} // namespace qv
