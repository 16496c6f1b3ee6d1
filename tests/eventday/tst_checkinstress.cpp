#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

using qvtest::TempProgramFolder;

namespace {

constexpr int kEntryLength = 40; // the attendance record

// The booking number of an entry, read from the bytes as an independent
// reader would: its counted string at offset 0, declared length 10.
qint64 bookingOf(const QByteArray &entry)
{
    const int used = std::min<int>(uchar(entry.at(0)), 10);
    return entry.mid(1, used).toLongLong();
}

// The undone flag at offset 37: "No" (02 4E 6F) for an entry in force.
bool inForce(const QByteArray &entry)
{
    return entry.mid(37, 3) == QByteArray("\x02No", 3);
}

int said(const QByteArray &output, const QByteArray &word)
{
    for (const QByteArray &line : output.split('\n'))
        if (line.startsWith(word + ' '))
            return line.mid(word.size() + 1).trimmed().toInt();
    return -1;
}

} // namespace

// Two real desks check the same bookings in at the same time: every booking
// is in exactly once, and each desk was told the truth about the other's.
class TestCheckInStress : public QObject
{
    Q_OBJECT
private slots:
    // In the same order the desks race for each booking and one of them
    // appends; from both ends both append, one after the other, until they
    // meet, and then each finds the other's entries.
    void twoDesksCheckingInTheSameBookingsLeaveOneEntryEach_data()
    {
        QTest::addColumn<QStringList>("orders");
        QTest::newRow("same order") << QStringList{{}, {}};
        QTest::newRow("from both ends") << QStringList{{}, "backwards"};
    }
    void twoDesksCheckingInTheSameBookingsLeaveOneEntryEach()
    {
        QFETCH(QStringList, orders);
        const int count = 500;
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Presenze_Evento_1.pro"));
        std::vector<std::unique_ptr<QProcess>> desks;
        for (const QString &order : orders) {
            QStringList args{path, QString::number(count)};
            if (!order.isEmpty())
                args << order;
            auto desk = std::make_unique<QProcess>();
            desk->start(QStringLiteral(QV_CHECKIN_DESK), args);
            QVERIFY2(desk->waitForStarted(), qPrintable(desk->errorString()));
            desks.push_back(std::move(desk));
        }
        int recorded = 0, already = 0;
        for (auto &desk : desks) {
            QVERIFY(desk->waitForFinished(600000));
            const QByteArray errors = desk->readAllStandardError();
            QVERIFY2(desk->exitStatus() == QProcess::NormalExit && desk->exitCode() == 0, errors.constData());
            const QByteArray output = desk->readAllStandardOutput();
            QVERIFY2(said(output, "recorded") >= 0 && said(output, "already") >= 0, output.constData());
            recorded += said(output, "recorded");
            already += said(output, "already");
        }
        QCOMPARE(recorded, count);
        QCOMPARE(already, count);

        QVERIFY(!QFile::exists(qv::TArchivio::journalPath(path)));
        QVERIFY(!qv::ArchiveLock::heldElsewhere(path));
        const QByteArray bytes = folder.read(QStringLiteral("Presenze_Evento_1.pro"));
        QCOMPARE(bytes.size(), count * kEntryLength);
        QList<int> times(count + 1, 0);
        for (int i = 0; i < count; ++i) {
            const QByteArray entry = bytes.mid(i * kEntryLength, kEntryLength);
            const qint64 booking = bookingOf(entry);
            QVERIFY2(booking >= 1 && booking <= count, qPrintable(QString::number(i + 1)));
            QVERIFY(inForce(entry));
            ++times[booking];
        }
        for (int booking = 1; booking <= count; ++booking)
            QVERIFY2(times.at(booking) == 1, qPrintable(QStringLiteral("booking %1 in %2 times").arg(booking).arg(times.at(booking))));
    }
};

QTEST_GUILESS_MAIN(TestCheckInStress)
#include "tst_checkinstress.moc"
