#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

class QIODevice;

// What every export writer shares: the rows it is fed, the one error it
// raises, and the buffered writing of its bytes.
namespace qv {

// Any failure while an export file is written.
class SpreadsheetError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
using ExportError = SpreadsheetError;

// Where the rows of an export go, row after row: each the texts of the
// export layout's columns, in order. Every file format is one.
class RowSink
{
public:
    virtual ~RowSink() = default;
    // `number`: the row's record number (from 1), which ties an entry of a
    // calendar to its event for good.
    virtual void beginRow(qint64 number) = 0;
    virtual void cell(const QString &text) = 0;
    // A text in Windows-1252, as the archive holds it.
    virtual void cell(QByteArrayView windows1252) = 0;
    virtual void endRow() = 0;
};

// What feeds a sink: the archive itself, the grid of an export window (with
// the cells the user edited), or one card.
using RowSource = std::function<void(RowSink &sink)>;

// A sink that takes each row whole, its cells as texts (composed, NFC, but
// not trimmed: trimming is each format's business).
class TextRowSink : public RowSink
{
public:
    void beginRow(qint64 number) override;
    void cell(const QString &text) override;
    void cell(QByteArrayView windows1252) override;
    void endRow() override;

protected:
    virtual void row(qint64 number, const QStringList &cells) = 0;

private:
    qint64 m_number = 0;
    QStringList m_cells;
};

// What a writer made of the rows: how many went into the file, and the
// record numbers of those it had to leave out (a calendar entry with no start
// date, a contact with no name).
struct ExportOutcome
{
    qint64 rows = 0;
    QList<qint64> skipped;
};

// Hands everything on to another sink and counts the rows.
class CountingSink : public RowSink
{
public:
    explicit CountingSink(RowSink &to) : m_to(to) {}
    void beginRow(qint64 number) override { m_to.beginRow(number); }
    void cell(const QString &text) override { m_to.cell(text); }
    void cell(QByteArrayView windows1252) override { m_to.cell(windows1252); }
    void endRow() override
    {
        m_to.endRow();
        ++m_rows;
    }
    qint64 rows() const { return m_rows; }

private:
    RowSink &m_to;
    qint64 m_rows = 0;
};

// Bytes gathered in blocks and written to a device a block at a time.
class BufferedOutput
{
public:
    explicit BufferedOutput(QIODevice &out);
    void put(QByteArrayView bytes);
    // Writes what is gathered; throws SpreadsheetError when the device
    // refuses it.
    void flush();

private:
    QIODevice &m_out;
    QByteArray m_buffer;
};

} // namespace qv
