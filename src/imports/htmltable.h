#pragma once
#include "imports/sourcetable.h"

#include <QFile>
#include <QStringDecoder>

// A web page holding a table, as the exports' .xls document is (an HTML
// table that spreadsheet programs open): the first table's rows, the first
// as the heading. Cell texts as a browser shows them: tags left out, a
// line break (<br>) and a run of blanks as one blank, character references
// read ("&#32;&#32;" keeps its two blanks, as the export writes runs of
// blanks). Windows-1252 unless the page says UTF-8. Read as a stream.
namespace qv::imports {

class HtmlTable : public SourceTable
{
public:
    // Throws ImportError.
    explicit HtmlTable(const QString &path);

    QStringList heading() const override { return m_heading; }
    bool next(SourceRow &row) override;
    qint64 done() const override { return m_done; }
    qint64 total() const override { return m_total; }

    // Whether the start of a file is a web page's (or a bare table's).
    static bool looksLikeHtml(const QByteArray &start);
    // A cell's markup as its text.
    static QString cellText(QStringView html);

private:
    // The markup of the next row, "<tr ...>" to "</tr>"; false at the end.
    bool nextRowMarkup(QString &markup);

    QString m_path;
    QFile m_file;
    bool m_utf8 = false;
    QStringDecoder m_decoder;
    QString m_buffer;
    qsizetype m_at = 0; // where what is not yet taken begins
    bool m_inTable = false;
    bool m_ended = false;
    qint64 m_done = 0;
    qint64 m_total = 0;
    qint64 m_row = 0;
    QStringList m_heading;
};

} // namespace qv::imports
