#include "cli/command.h"

#include "core/programfolder.h"
#include "core/text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace qv::cli {
namespace {

const QString kFolder = QStringLiteral("--folder");
const QString kHelp = QStringLiteral("--help");

} // namespace

int Command::execute(const QStringList &rawArgs)
{
    const QStringList flags = flagOptions() << kHelp;
    const QStringList valued = valueOptions() << kFolder;
    Arguments args;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < rawArgs.size(); ++i) {
        const QString &arg = rawArgs.at(i);
        if (optionsEnd || !arg.startsWith(QLatin1String("--"))) {
            args.positional.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString option = eq < 0 ? arg : arg.left(eq);
        if (flags.contains(option)) {
            if (eq >= 0)
                throw usageError(QStringLiteral("l'opzione %1 non vuole un valore.").arg(option));
            args.flags.append(option);
        } else if (valued.contains(option)) {
            if (eq >= 0)
                args.values.insert(option, arg.mid(eq + 1));
            else if (i + 1 < rawArgs.size())
                args.values.insert(option, rawArgs.at(++i));
            else
                throw usageError(QStringLiteral("manca il valore dell'opzione %1.").arg(option));
            args.repeated[option].append(args.values.value(option));
        } else {
            throw usageError(QStringLiteral("opzione sconosciuta %1 per il comando %2 (vedere quorvane-cli %2 --help).")
                                 .arg(option, name()));
        }
    }
    if (args.has(kHelp)) {
        console::out(help());
        return ExitOk;
    }
    if (args.positional.size() < minArguments())
        throw usageError(QStringLiteral("argomenti mancanti per il comando %1 (vedere quorvane-cli %1 --help).")
                             .arg(name()));
    if (args.positional.size() > maxArguments())
        throw usageError(QStringLiteral("argomento in pi\u00F9 %1 per il comando %2 (vedere quorvane-cli %2 --help).")
                             .arg(quoted(args.positional.at(maxArguments())), name()));
    if (args.values.contains(kFolder)) {
        const QFileInfo folder(args.value(kFolder));
        if (!folder.isDir())
            throw fileError(QStringLiteral("la cartella del programma %1 non esiste.").arg(quoted(folder.filePath())));
        ProgramFolder::setOverride(folder.absoluteFilePath());
    }
    return run(args);
}

namespace console {

void write(const QByteArray &utf8)
{
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
}

void out(const QString &line)
{
    write(printable(line, true).toUtf8() + '\n');
}

void error(const QString &line)
{
    std::fflush(stdout);
    const QByteArray bytes = QStringLiteral("quorvane-cli: ").toUtf8() + printable(line, true).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void flush()
{
    std::fflush(stdout);
}

bool readLine(QString *line)
{
    std::string text;
    if (!std::getline(std::cin, text))
        return false;
    *line = QString::fromStdString(text);
    return true;
}

bool inputIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(fileno(stdin)) != 0;
#endif
}

bool readSecret(const QString &prompt, QString *secret)
{
    write(prompt.toUtf8());
    flush();
#ifndef Q_OS_WIN
    termios before{};
    const bool terminal = tcgetattr(fileno(stdin), &before) == 0;
    if (terminal) {
        termios quiet = before;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(fileno(stdin), TCSAFLUSH, &quiet);
    }
    const bool got = readLine(secret);
    if (terminal)
        tcsetattr(fileno(stdin), TCSAFLUSH, &before);
#else
    const bool got = readLine(secret);
#endif
    out(QString()); // the typed line was not echoed, nor its end
    return got;
}

bool confirm(const QString &question)
{
    write((question + QStringLiteral(" [s/N] ")).toUtf8());
    flush();
    QString answer;
    if (!readLine(&answer)) {
        out(QString()); // the prompt's line ends here
        return false;
    }
    const QString word = asciiLower(trimmed(answer));
    return word == QLatin1String("s") || word == QLatin1String("si") || word == QStringLiteral("s\u00EC")
           || word == QLatin1String("y") || word == QLatin1String("yes");
}

} // namespace console

QString quoted(const QString &text)
{
    return QStringLiteral("\"") + printable(text) + QStringLiteral("\"");
}

QString printable(const QString &text, bool keepLineEnds)
{
    const auto control = [keepLineEnds](char16_t u) {
        return (u < 0x20 && !(keepLineEnds && u == u'\n')) || (u >= 0x7F && u <= 0x9F);
    };
    if (std::none_of(text.begin(), text.end(), [&](QChar c) { return control(c.unicode()); }))
        return text;
    QString out;
    for (const QChar c : text) {
        if (control(c.unicode()))
            out += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace qv::cli
