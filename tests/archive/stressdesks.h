#pragma once
// Starts stress writers (tests/archive/stresswriter.cpp), each one desk
// saving `count` cards into one archive; the test waits for them and reads
// what a failing desk said on its error output.
#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

namespace qvstress {

inline void startDesks(std::vector<std::unique_ptr<QProcess>> &desks, const QString &path, int length,
                       int processes, int count)
{
    for (int p = 0; p < processes; ++p) {
        auto desk = std::make_unique<QProcess>();
        desk->start(QStringLiteral(QV_STRESS_WRITER),
                    {path, QString::number(length), QString::number(p), QString::number(count)});
        QVERIFY2(desk->waitForStarted(), qPrintable(desk->errorString()));
        desks.push_back(std::move(desk));
    }
}

} // namespace qvstress
