#pragma once
#include "archive/record.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

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
    // Parts as (label, field name, width); every name must be a field of the layout.
    LineLayout(const RecordLayout &layout,
               std::initializer_list<std::tuple<QString, const char *, int>> parts);

    const QList<Part> &parts() const { return m_parts; }
    QString line(const RecordView &record) const;

private:
    QList<Part> m_parts;
};

// The list order: ascending by whole text, letters a-z compared as A-Z and
// nothing else folded; a line that begins another comes first.
bool listLess(const QString &a, const QString &b);
// Sorts once; lines that compare equal keep their archive order.
void sortLines(QStringList &lines);

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
    QList<Box> m_keys; // the filled boxes, lower-cased
    int m_filled = 0;
};

// The search inside a list ("Trova"). `key` is the box text as typed.
// A new key starts at the first line, which is tested first; the same key as
// last time starts at the selected line and tests it last. The scan wraps
// around. Returns the matching row, or -1 (the selection then stays).
// `selected` must be a valid row: callers select the first line when none is.
int findInList(const QStringList &lines, int selected, const QString &key, const QString &lastKey);

} // namespace qv
