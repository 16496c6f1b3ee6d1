// quorvane-cli: the program's companion for the command line. Each command is
// one class over the same widget-free code the windows use.
#include "cli/attendancecommand.h"
#include "cli/backupcommand.h"
#include "cli/certificatescommand.h"
#include "cli/checkcommand.h"
#include "cli/checkincommand.h"
#include "cli/dumpcommand.h"
#include "cli/exportcommand.h"
#include "cli/importcommand.h"
#include "cli/mailcommand.h"
#include "cli/passwordcommand.h"
#include "cli/restorecommand.h"
#include "cli/statscommand.h"
#include "cli/validatecommand.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <exception>
#include <memory>
#include <vector>

using namespace qv::cli;

namespace {

std::vector<std::unique_ptr<Command>> commands()
{
    std::vector<std::unique_ptr<Command>> list;
    list.push_back(std::make_unique<CheckCommand>());
    list.push_back(std::make_unique<DumpCommand>());
    list.push_back(std::make_unique<ImportCommand>());
    list.push_back(std::make_unique<ExportCommand>());
    list.push_back(std::make_unique<PasswordCommand>());
    list.push_back(std::make_unique<BackupCommand>());
    list.push_back(std::make_unique<RestoreCommand>());
    list.push_back(std::make_unique<ValidateCommand>());
    list.push_back(std::make_unique<AttendanceCommand>());
    list.push_back(std::make_unique<CheckInCommand>());
    list.push_back(std::make_unique<CertificatesCommand>());
    list.push_back(std::make_unique<SignaturesCommand>());
    list.push_back(std::make_unique<MailCommand>());
    list.push_back(std::make_unique<StatsCommand>());
    return list;
}

QString generalHelp(const std::vector<std::unique_ptr<Command>> &list)
{
    QString text = QStringLiteral("Uso: quorvane-cli COMANDO [ARGOMENTI] [--folder CARTELLA]\n\nComandi:\n");
    for (const auto &command : list)
        text += QStringLiteral("  ") + command->synopsis() + QLatin1Char('\n');
    text += QStringLiteral(
        "\n--folder CARTELLA indica la cartella del programma (predefinita: quella di quorvane-cli).\n"
        "quorvane-cli COMANDO --help descrive ogni comando.");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    // Commands that draw pages measure text in real fonts, which takes a
    // graphical application; it never shows a window, so it needs no display.
    std::unique_ptr<QCoreApplication> application;
    if (argc > 1 && drawsPages(QString::fromLocal8Bit(argv[1]))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = QCoreApplication::arguments().mid(1);
    const auto list = commands();
    try {
        if (args.isEmpty())
            throw usageError(QStringLiteral("manca il comando (vedere quorvane-cli --help)."));
        const QString &word = args.first();
        if (word == QLatin1String("--help") || word == QLatin1String("-h") || word == QLatin1String("help")) {
            console::out(generalHelp(list));
            return ExitOk;
        }
        for (const auto &command : list)
            if (command->name() == word) {
                const int status = command->execute(args.mid(1));
                console::flush();
                return status;
            }
        throw usageError(QStringLiteral("comando sconosciuto %1 (vedere quorvane-cli --help).").arg(quoted(word)));
    } catch (const CliError &e) {
        console::error(e.message());
        return e.exitStatus();
    } catch (const std::exception &e) {
        console::error(QString::fromLocal8Bit(e.what()));
        return ExitFailure;
    }
}
