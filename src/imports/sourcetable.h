#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

// A file of participants read as a table: a heading row, then the data rows,
// one at a time, so that a file of any size is read in little memory. CSV,
// Excel workbooks (.xlsx) and vCard files are read this way.
namespace qv::imports {

// A file that cannot be read as a table, with the words to tell the user.
class ImportError : public std::runtime_error
{
public:
    enum class Cause {
        Content,    // what the file holds cannot be read as a table
        Unreadable, // the file itself cannot be read
    };
    explicit ImportError(const QString &message, Cause cause = Cause::Content)
        : std::runtime_error(message.toStdString()), m_message(message), m_cause(cause)
    {
    }
    const QString &message() const { return m_message; }
    Cause cause() const { return m_cause; }

private:
    QString m_message;
    Cause m_cause;
};

struct SourceRow
{
    qint64 line = 0; // where the row starts: the line of a text file, the row of a worksheet
    QStringList values;
};

class SourceTable
{
public:
    virtual ~SourceTable() = default;
    // The heading row, read when the file was opened.
    virtual QStringList heading() const = 0;
    // The next data row (rows with nothing in them are passed over); false
    // at the end of the file. Throws ImportError.
    virtual bool next(SourceRow &row) = 0;
    // How far the reading has come, out of total(), in units of the file's
    // own (bytes), for a progress bar.
    virtual qint64 done() const = 0;
    virtual qint64 total() const = 0;
};

// The user's name for a file in messages: its path in double quotes.
QString quotedPath(const QString &path);

} // namespace qv::imports
