// quorvane-cli on a large archive: check and dump of 100 000 participants,
// each timed against one plain sequential read of the same file, with the
// tool's peak memory next to its peak on a small archive; then the files
// people exchange: the exports in .xlsx, CSV and vCard, and the import of
// 100 000 rows (the dump's CSV, the exported workbook) into an empty folder.
//   cmake --build build --target bench_cli && build/bench/bench_cli [records]
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Run
{
    double ms = 0;
    double cpuMs = 0; // the tool's own user and system time: what a busy machine does not stretch
    double peakMb = 0;
    int status = -1;
};

// The child's own peak resident memory so far (VmHWM of its image), in kB.
// What wait4 gives also counts this process's memory at the time of the
// spawn, which shares it until the tool starts.
qint64 peakKb(pid_t pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

// One run of the tool, its output thrown away (or kept in `output`), its
// peak memory looked at every millisecond while it runs.
Run runTool(const QStringList &args, const QByteArray &output = "/dev/null")
{
    QList<QByteArray> bytes{QByteArray(QV_CLI_TOOL)};
    for (const QString &a : args)
        bytes.append(a.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    qvbench::Stopwatch watch;
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        qint64 peak = 0;
        rusage usage{};
        while (wait4(pid, &status, WNOHANG, &usage) == 0) {
            peak = std::max(peak, peakKb(pid));
            usleep(1000);
        }
        run.ms = watch.milliseconds();
        run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
                    + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
        run.peakMb = peak / 1024.0;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = qvbench::recordCount(argc, argv);
    QTemporaryDir dir;
    const QString large = dir.filePath("Partecipanti.pro");
    const QString small = dir.filePath("Partecipanti_piccolo.pro");
    qvbench::writeParticipants(large, count);
    qvbench::writeParticipants(small, 1000);
    QTextStream out(stdout);

    qvbench::sequentialRead(large); // the file in the page cache, as for the tool
    const double read = std::min(qvbench::sequentialRead(large), qvbench::sequentialRead(large));
    out << QString("%1 participants, %2 MB; one sequential read: %3 ms\n")
               .arg(count)
               .arg(QFile(large).size() / 1e6, 0, 'f', 1)
               .arg(read, 0, 'f', 1);
    const QList<QPair<QString, QStringList>> commands{
        {"check", {"check"}},
        {"dump csv", {"dump", "--format", "csv"}},
        {"dump jsonl", {"dump", "--format", "jsonl"}},
    };
    for (const auto &[name, args] : commands) {
        const Run big = runTool(args + QStringList{large});
        const Run little = runTool(args + QStringList{small});
        out << QString("%1: %2 ms = %3 x the read; peak memory %4 MB (%5 MB on 1 000 records); exit %6\n")
                   .arg(name, -10)
                   .arg(big.ms, 0, 'f', 1)
                   .arg(big.ms / read, 0, 'f', 1)
                   .arg(big.peakMb, 0, 'f', 1)
                   .arg(little.peakMb, 0, 'f', 1)
                   .arg(big.status);
    }

    // The exports read the program folder's archive: the large one.
    const QString folder = dir.path();
    const QString dumped = dir.filePath("dump.csv");
    runTool({"dump", large}, dumped.toLocal8Bit());
    out << QString("\nFiles people exchange (%1 rows; the dump's CSV is %2 MB):\n")
               .arg(count)
               .arg(QFile(dumped).size() / 1e6, 0, 'f', 1);
    const auto line = [&](const QString &name, const Run &run, const QString &file) {
        out << QString("%1: %2 ms (%3 ms of processor); peak memory %4 MB; exit %5; %6 MB\n")
                   .arg(name, -14)
                   .arg(run.ms, 0, 'f', 1)
                   .arg(run.cpuMs, 0, 'f', 1)
                   .arg(run.peakMb, 0, 'f', 1)
                   .arg(run.status)
                   .arg(QFile(file).size() / 1e6, 0, 'f', 1);
    };
    for (const char *format : {"xlsx", "csv", "vcf"}) {
        const QString file = dir.filePath(QString("esportati.") + format);
        line(QString("export ") + format,
             runTool({"export", "participants", "--format", format, "--output", file, "--folder", folder}), file);
    }
    // Into empty folders, so every row is added.
    for (const auto &[name, file] : {std::pair{"import csv", dumped}, std::pair{"import xlsx", dir.filePath("esportati.xlsx")}}) {
        const QString target = dir.filePath(QString(name).replace(' ', '_'));
        QDir().mkpath(target);
        line(name, runTool({"import", "participants", file, "--folder", target}), target + "/Partecipanti.pro");
    }
    return 0;
}
