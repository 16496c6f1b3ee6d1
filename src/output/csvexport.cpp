#include "output/csvexport.h"

#include "core/text.h"

namespace qv {

namespace {

class CsvWriter : public TextRowSink
{
public:
    CsvWriter(QIODevice &out, const ExportLayout &layout) : m_layout(layout), m_out(out) { m_out.put("\xEF\xBB\xBF"); }

    void line(const QStringList &texts)
    {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (i > 0)
                m_out.put(";");
            m_out.put(csvValue(texts.at(i)));
        }
        m_out.put("\r\n");
    }
    void finish() { m_out.flush(); }
    qint64 rows = 0;

protected:
    void row(qint64, const QStringList &cells) override
    {
        line(m_layout.dataCells(cells));
        ++rows;
    }

private:
    const ExportLayout &m_layout;
    BufferedOutput m_out;
};

} // namespace

QByteArray csvValue(const QString &text)
{
    const QByteArray value = trimmed(text).toUtf8();
    const bool quote = value.contains(';') || value.contains('"') || value.contains('\r') || value.contains('\n');
    if (!quote)
        return value;
    QByteArray out = "\"";
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

ExportOutcome writeCsv(QIODevice &out, const ExportLayout &layout, const RowSource &rows)
{
    CsvWriter writer(out, layout);
    QStringList headings;
    for (const DataColumn &column : layout.dataColumns())
        headings.append(column.heading);
    writer.line(headings);
    rows(writer);
    writer.finish();
    return {writer.rows, {}};
}

} // namespace qv
