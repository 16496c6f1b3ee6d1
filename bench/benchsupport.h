#pragma once
// What every benchmark needs: one generator of large archives and one way to
// time a step, its peak memory and a sequential read of a file, and one way
// to print the results as ratios to a yardstick measured in the same run.
#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <functional>

namespace qvbench {

// A stopwatch started when made.
class Stopwatch
{
public:
    Stopwatch() { m_timer.start(); }
    double milliseconds() const { return m_timer.nsecsElapsed() / 1e6; }
    double seconds() const { return m_timer.nsecsElapsed() / 1e9; }

private:
    QElapsedTimer m_timer;
};

// How long a step takes, in milliseconds.
double milliseconds(const std::function<void()> &step);
// The shortest of `rounds` runs of a step, in milliseconds: what it costs
// once the caches hold what it reads.
double bestOf(int rounds, const std::function<void()> &step);

// One plain read of the whole file in blocks of 1 MiB, in milliseconds.
double sequentialRead(const QString &path);

// Runs a step; returns the peak resident memory above what was resident
// before it, in MiB (Linux: the peak is reset through /proc/self/clear_refs).
double peakAbove(const std::function<void()> &step);

// Archives of `count` records written in blocks, in a pseudo-random order so
// that sorts have work to do, with texts that reach beyond ASCII (accents,
// quotes and the euro sign of Windows-1252) and the "&" a spreadsheet escapes.
void writeEvents(const QString &path, int count);
void writeParticipants(const QString &path, int count);
// Bookings go to seats 1 to `seats`, a seventh of them awaiting confirmation.
void writeReservations(const QString &path, int count, int seats = 5000);

// The records a benchmark asked for: its first argument, else 100 000.
int recordCount(int argc, char **argv, int otherwise = 100000);

// Result lines: what, the time in ms, and the time as a ratio to the yardstick.
class Report
{
public:
    Report(QTextStream &out, const QString &yardstick, double yardstickMs, int width = 52);
    void row(const QString &what, double ms, const QString &note = {});

private:
    QTextStream &m_out;
    QString m_yardstick;
    double m_yardstickMs;
    int m_width;
};

} // namespace qvbench
