#include "archive/tarchivio.h"
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
        for (int p = 0; p < processes; ++p) {
            auto desk = std::make_unique<QProcess>();
            desk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            desk->start(QStringLiteral(QV_STRESS_WRITER),
                        {path, QString::number(length), QString::number(p), QString::number(count)});
            QVERIFY2(desk->waitForStarted(), qPrintable(desk->errorString()));
            desks.push_back(std::move(desk));
        }
        for (auto &desk : desks) {
            QVERIFY(desk->waitForFinished(300000));
            QCOMPARE(desk->exitStatus(), QProcess::NormalExit);
            QCOMPARE(desk->exitCode(), 0);
        }
        QVERIFY(!QFile::exists(qv::TArchivio::lockPath(path)));
        const QString fault = qvstress::check(folder.read(QStringLiteral("Stress.pro")), processes, count, length);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

QTEST_GUILESS_MAIN(TestArchiveStress)
#include "tst_archivestress.moc"
