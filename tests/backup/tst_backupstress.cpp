#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "backup/backup.h"
#include "stressdesks.h"
#include "stressrecords.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

using qvtest::TempProgramFolder;

namespace {

// Every record of a copy is one a desk wrote, whole.
QString tornRecord(const QByteArray &file, int processes, int length)
{
    if (file.size() % length != 0)
        return QStringLiteral("size %1 is not a multiple of %2").arg(file.size()).arg(length);
    for (qint64 i = 0; i * length < file.size(); ++i) {
        const QByteArray chunk = file.mid(i * length, length);
        const QByteArray tag = chunk.mid(1, quint8(chunk.at(0)));
        const int process = tag.mid(1, 2).toInt();
        const int sequence = tag.mid(5, 6).toInt();
        const int version = tag.mid(13, 1).toInt();
        if (tag.size() != 14 || process >= processes || chunk != qvstress::record(process, sequence, version, length))
            return QStringLiteral("record %1 is torn").arg(i + 1);
    }
    return {};
}

} // namespace

// Desks (real processes) saving new and changed cards while backups are made
// one after another: every copy is a state between two writes, and every
// desk's every card is stored.
class TestBackupStress : public QObject
{
    Q_OBJECT
private slots:
    void backupsWhileDesksSave()
    {
        const int processes = 3;
        const int count = 150;
        const int length = 3372;
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Partecipanti.pro"));
        folder.write(QStringLiteral("Partecipanti.pro"), {});
        std::vector<std::unique_ptr<QProcess>> desks;
        qvstress::startDesks(desks, path, length, processes, count);
        if (QTest::currentTestFailed())
            return;

        qv::Backup::Request request;
        request.programFolder = folder.path();
        request.root = folder.file(QStringLiteral("Backup"));
        request.settings.copies = 3;
        int made = 0;
        qint64 largest = 0;
        for (bool running = true; running; ++made) {
            running = false;
            for (auto &desk : desks) {
                desk->waitForFinished(0);
                running = running || desk->state() != QProcess::NotRunning;
            }
            request.moment = QDateTime(QDate(2030, 2, 1), QTime(9, 0)).addSecs(made);
            const qv::Backup::Outcome backup = *qv::Backup::make(request);
            const QByteArray copy = folder.read(QStringLiteral("Backup/") + backup.name + QStringLiteral("/Partecipanti.pro"));
            const QString fault = tornRecord(copy, processes, length);
            QVERIFY2(fault.isEmpty(), qPrintable(backup.name + QStringLiteral(": ") + fault));
            QVERIFY(qv::Backup::Verifier().verify(backup.path).ok());
            largest = std::max<qint64>(largest, copy.size());
        }
        for (auto &desk : desks) {
            QVERIFY(desk->state() == QProcess::NotRunning || desk->waitForFinished(300000));
            QCOMPARE(desk->exitStatus(), QProcess::NormalExit);
            QCOMPARE(desk->exitCode(), 0); // no desk gave up waiting for a lock
        }
        QVERIFY2(made >= 2, "no backup was made while the desks saved");
        const QString fault = qvstress::check(folder.read(QStringLiteral("Partecipanti.pro")), processes, count, length);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(!QFile::exists(qv::TArchivio::journalPath(path)));
        QVERIFY(!qv::ArchiveLock::heldElsewhere(path));
        // The last backup, made after the desks ended, holds every card.
        QCOMPARE(largest, qint64(processes) * count * length);
    }
};

QTEST_GUILESS_MAIN(TestBackupStress)
#include "tst_backupstress.moc"
