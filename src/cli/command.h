#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <stdexcept>

// What every command of quorvane-cli shares: its exit statuses, the one error
// type that ends a command with a one-line message, the parsing of options,
// and the console.
namespace qv::cli {

enum Exit {
    ExitOk = 0,
    ExitNegative = 1,    // a check found defects, a text is not valid, data refused
    ExitUsage = 2,       // unknown command or option, wrong arguments
    ExitFailure = 3,     // a file could not be read or written
    ExitUnavailable = 4, // the command is not available in this version
};

class CliError : public std::runtime_error
{
public:
    CliError(int exitStatus, const QString &message)
        : std::runtime_error(message.toStdString()), m_exit(exitStatus), m_message(message)
    {
    }
    int exitStatus() const { return m_exit; }
    const QString &message() const { return m_message; }

private:
    int m_exit;
    QString m_message;
};

inline CliError usageError(const QString &message) { return CliError(ExitUsage, message); }
inline CliError fileError(const QString &message) { return CliError(ExitFailure, message); }

// Arguments after the command name: positionals in order, options by name
// ("--kind events" or "--kind=events"); "--" ends the options.
struct Arguments
{
    QStringList positional;
    QHash<QString, QString> values; // valued options (the last one given)
    QHash<QString, QStringList> repeated; // every value of each valued option, in order
    QStringList flags;              // options without a value that were given

    bool has(const QString &flag) const { return flags.contains(flag); }
    QString value(const QString &option, const QString &fallback = {}) const
    {
        return values.value(option, fallback);
    }
};

class Command
{
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString synopsis() const = 0; // one line for the general help
    virtual QString help() const = 0;     // what --help prints
    virtual int run(const Arguments &args) = 0;

    // The options this command takes; every command also takes --help and
    // --folder DIR (the program folder, by default the executable's).
    virtual QStringList flagOptions() const { return {}; }
    virtual QStringList valueOptions() const { return {}; }
    virtual int minArguments() const { return 0; }
    virtual int maxArguments() const { return 0; }

    // Parses, applies --folder, prints the help or runs the command.
    int execute(const QStringList &rawArgs);
};

// Output: UTF-8 on standard output, messages on standard error. A control
// character (other than the line end) never reaches a terminal as it is: a
// file's text could otherwise move the cursor, change colours or worse. It
// is shown escaped, as "\x1B".
namespace console {
void out(const QString &line);   // followed by a line end
void error(const QString &line); // "quorvane-cli: " + line
void write(const QByteArray &utf8); // raw, buffered
void flush();
// A line typed on standard input, or nothing at its end.
bool readLine(QString *line);
// Whether standard input is a terminal (someone can answer a question).
bool inputIsTerminal();
// Shows `prompt` and reads a line without showing what is typed.
bool readSecret(const QString &prompt, QString *secret);
// Asks `question` (followed by " [s/N] ") and reads the answer: true for
// s, si, sì, y or yes in any case.
bool confirm(const QString &question);
} // namespace console

// A value the user gave (or a file holds), in double quotes, for messages;
// control characters, line ends included, escaped.
QString quoted(const QString &text);

// The text with its control characters (C0, DEL, C1) written as "\x1B";
// line ends kept when asked.
QString printable(const QString &text, bool keepLineEnds = false);

} // namespace qv::cli
