#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// CSV input (RFC 4180, plus the semicolon that spreadsheets use under Italian
// settings), in UTF-8 or Windows-1252.
namespace qv::cli::csv {

struct Row
{
    int line = 0; // where the row starts in the file, from 1
    QStringList values;
};

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped),
// Windows-1252 otherwise.
QString decode(const QByteArray &bytes);

// The rows of the text; blank lines are skipped. The separator is ';' when
// the first line has semicolons and no commas, ',' otherwise. Raises a data
// error naming the line of a quote left open or misplaced.
QList<Row> parse(const QString &text);

} // namespace qv::cli::csv
