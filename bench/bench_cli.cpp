// quorvane-cli on a large archive: check and dump of 100 000 participants,
// each timed against one plain sequential read of the same file, with the
// tool's peak memory next to its peak on a small archive.
//   cmake --build build --target bench_cli && build/bench/bench_cli [records]
#include "archive/records.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

using namespace qv;

namespace {

void writeParticipants(const QString &path, int count)
{
    const QStringList names{"Rossi Mario", "Bianchi Anna", "Nicol\u00F2 Esposito", "Ferrari Chlo\u00E9"};
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        TSchedaPartecipante p;
        p.setText("Cliente", QString("%1 %2").arg(names[i % 4]).arg(i));
        p.setText("ComuneNasc", "Forl\u00EC");
        p.setText("Email", QString("p%1@esempio.it").arg(i));
        p.setText("Note", i % 10 ? QString() : QString("Richiede posto \u201Cin prima fila\u201D, quota \u20AC 150"));
        p.setYesNo("Ricontatta", i % 3 == 0);
        block += p.bytes();
        if (block.size() > (8 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

double sequentialRead(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray block(1 << 20, '\0');
    qint64 sum = 0;
    while (qint64 n = file.read(block.data(), block.size()))
        sum += n > 0 ? quint8(block.at(0)) : 0;
    volatile qint64 keep = sum; // the loop must not be optimised away
    (void)keep;
    return timer.nsecsElapsed() / 1e6;
}

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
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.ms = timer.nsecsElapsed() / 1e6;
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
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString large = dir.filePath("Partecipanti.pro");
    const QString small = dir.filePath("Partecipanti_piccolo.pro");
    writeParticipants(large, count);
    writeParticipants(small, 1000);
    QTextStream out(stdout);

    sequentialRead(large); // the file in the page cache, as for the tool
    const double read = std::min(sequentialRead(large), sequentialRead(large));
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
