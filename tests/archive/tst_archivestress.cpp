#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "stressdesks.h"
#include "stressrecords.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

using qvtest::TempProgramFolder;

// Several real processes save new and changed cards into one archive at the
// same time; a plain byte reader then checks that nothing was lost, doubled,
// torn or overwritten by an append.
class TestArchiveStress : public QObject
{
    Q_OBJECT
private slots:
    void concurrentDesksLoseNothing_data()
    {
        QTest::addColumn<int>("processes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("length");
        QTest::newRow("4 desks, participants") << 4 << 150 << 3372;
        QTest::newRow("3 desks, reservations") << 3 << 250 << 829;
    }
    void concurrentDesksLoseNothing()
    {
        QFETCH(int, processes);
        QFETCH(int, count);
        QFETCH(int, length);
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Stress.pro"));
        std::vector<std::unique_ptr<QProcess>> desks;
        qvstress::startDesks(desks, path, length, processes, count);
        if (QTest::currentTestFailed())
            return;
        for (auto &desk : desks) {
            QVERIFY(desk->waitForFinished(300000));
            const QByteArray said = desk->readAllStandardError();
            QVERIFY2(desk->exitStatus() == QProcess::NormalExit && desk->exitCode() == 0, said.constData());
        }
        // The lock file stays, free; no write was left half done.
        QVERIFY(QFile::exists(qv::TArchivio::lockPath(path)));
        QVERIFY(!qv::ArchiveLock::heldElsewhere(path));
        QVERIFY(!QFile::exists(qv::TArchivio::journalPath(path)));
        const QString fault = qvstress::check(folder.read(QStringLiteral("Stress.pro")), processes, count, length);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // A desk dies (killed, a power cut) in the middle of its write: the
    // system frees its lock, the next desk writes at once, and what the dead
    // desk had begun is undone: the old record, none of the new ones.
    void killedDeskLeavesTheArchiveAsBefore_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<qint64>("tornSize"); // on the disk while the desk is stalled
        const qint64 length = 829;
        QTest::newRow("overwrite") << QStringLiteral("overwrite") << 3 * length;
        QTest::newRow("append of five") << QStringLiteral("append") << 3 * length + 5 * length / 2;
    }
    void killedDeskLeavesTheArchiveAsBefore()
    {
        QFETCH(QString, write);
        QFETCH(qint64, tornSize);
        const int length = 829;
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Stress.pro"));
        QByteArray before;
        for (int s = 0; s < 3; ++s)
            before += qvstress::record(1, s, 0, length);
        folder.write(QStringLiteral("Stress.pro"), before);

        QProcess desk;
        desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk.start(QStringLiteral(QV_STRESS_WRITER), {QStringLiteral("--stall"), write, path, QString::number(length)});
        QVERIFY2(desk.waitForStarted(), qPrintable(desk.errorString()));
        QByteArray said;
        while (!said.contains("stalled") && desk.waitForReadyRead(60000))
            said += desk.readAllStandardOutput();
        QVERIFY2(said.contains("stalled"), said.constData());
        QCOMPARE(QFileInfo(path).size(), tornSize);
        QVERIFY(folder.read(QStringLiteral("Stress.pro")) != before); // really torn on the disk
        QVERIFY(qv::ArchiveLock::heldElsewhere(path));

        qv::TArchivio next(path, length); // opened while the dead desk still writes
        desk.kill();
        QVERIFY(desk.waitForFinished(30000));
        QVERIFY(!qv::ArchiveLock::heldElsewhere(path));

        qv::TArchivio::setLockTimeout(0); // at once: no waiting for a stale lock
        const QByteArray mine = qvstress::record(2, 0, 0, length);
        qint64 stored = 0;
        try {
            stored = next.Append(mine);
        } catch (const qv::ArchiveError &e) {
            qv::TArchivio::setLockTimeout(-1);
            QFAIL(e.what());
        }
        qv::TArchivio::setLockTimeout(-1);
        next.Close();
        QCOMPARE(stored, qint64(4));
        QCOMPARE(folder.read(QStringLiteral("Stress.pro")), before + mine);
        QVERIFY(QFile::exists(qv::TArchivio::lockPath(path)));
        QVERIFY(!qv::ArchiveLock::heldElsewhere(path));
        QVERIFY(!QFile::exists(qv::TArchivio::journalPath(path)));
    }
};

QTEST_GUILESS_MAIN(TestArchiveStress)
#include "tst_archivestress.moc"
