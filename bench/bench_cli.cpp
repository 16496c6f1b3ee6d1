// quorvane-cli on a large archive: check and dump of 100 000 participants,
// each timed against one plain sequential read of the same file, with the
// tool's peak memory next to its peak on a small archive.
//   cmake --build build --target bench_cli && build/bench/bench_cli [records]
#include "benchsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

struct Run
{
    double ms = 0;
    double peakMb = 0;
    int status = -1;
};

// One run of the tool, its output thrown away; wait4 gives this child's own
// peak resident memory.
Run runTool(const QStringList &args)
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
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    qvbench::Stopwatch watch;
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.ms = watch.milliseconds();
        run.peakMb = usage.ru_maxrss / 1024.0;
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
    return 0;
}
