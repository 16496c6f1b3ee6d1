#include "output/rowsink.h"

#include "core/cp1252.h"

#include <QIODevice>

namespace qv {

namespace {
// Written to the device in blocks of this size.
constexpr qsizetype kBlock = 1 << 16;
} // namespace

void TextRowSink::beginRow(qint64 number)
{
    m_number = number;
    m_cells.clear();
}

void TextRowSink::cell(const QString &text)
{
    m_cells.append(text.normalized(QString::NormalizationForm_C));
}

void TextRowSink::cell(QByteArrayView windows1252)
{
    // The code page's characters are composed already.
    m_cells.append(cp1252::decode(windows1252.data(), windows1252.size()));
}

void TextRowSink::endRow()
{
    row(m_number, m_cells);
}

BufferedOutput::BufferedOutput(QIODevice &out) : m_out(out)
{
    m_buffer.reserve(kBlock + 4096);
}

void BufferedOutput::put(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBlock)
        flush();
}

void BufferedOutput::flush()
{
    if (!m_buffer.isEmpty() && m_out.write(m_buffer) != m_buffer.size())
        throw SpreadsheetError("export: write failed");
    m_buffer.clear();
}

} // namespace qv
