#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "support/testsupport.h"

#include <QFile>
#include <QtTest>

using namespace qv;
using qvtest::TempProgramFolder;

namespace {

constexpr int kLength = 8;

// A record of the test archive: its key in the first byte, then a filler.
QByteArray record(char key, char filler = '.')
{
    return key + QByteArray(kLength - 1, filler);
}

TArchivio::RecordTest keyIs(char key)
{
    return [key](const QByteArray &r) { return r.at(0) == key; };
}

} // namespace

// The append that is made only once: the look at what is there and the
// append are one write under the archive's lock.
class TestAppendUnless : public QObject
{
    Q_OBJECT
private slots:
    void appendsOnlyWhenNothingIsInTheWay_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<char>("key");
        QTest::addColumn<bool>("appended");
        QTest::addColumn<qint64>("number");
        const QByteArray three = record('a') + record('b') + record('c');
        QTest::newRow("empty archive") << QByteArray() << 'x' << true << qint64(1);
        QTest::newRow("nothing in the way") << three << 'x' << true << qint64(4);
        QTest::newRow("first record in the way") << three << 'a' << false << qint64(1);
        QTest::newRow("last record in the way") << three << 'c' << false << qint64(3);
        QTest::newRow("the first of two in the way") << three + record('b', '2') << 'b' << false << qint64(2);
        // A torn tail (a record cut short by another program) is not a record:
        // it is not looked at, and the append covers it.
        QTest::newRow("torn tail") << three + QByteArray("x..") << 'x' << true << qint64(4);
    }
    void appendsOnlyWhenNothingIsInTheWay()
    {
        QFETCH(QByteArray, before);
        QFETCH(char, key);
        QFETCH(bool, appended);
        QFETCH(qint64, number);
        TempProgramFolder folder;
        const QString path = folder.file("Prova.pro");
        folder.write("Prova.pro", before);
        TArchivio archive(path, kLength);
        const QByteArray mine = record(key, '*');
        const TArchivio::AppendOutcome outcome = archive.AppendUnless(mine, keyIs(key));
        archive.Close();
        QCOMPARE(outcome.appended, appended);
        QCOMPARE(outcome.number, number);
        const QByteArray after = folder.read("Prova.pro");
        if (appended) {
            QCOMPARE(outcome.record, QByteArray());
            QCOMPARE(after, before.left((number - 1) * kLength) + mine);
        } else {
            QCOMPARE(outcome.record, before.mid((number - 1) * kLength, kLength));
            QCOMPARE(after, before); // nothing written, not even a journal
        }
        QVERIFY(!QFile::exists(TArchivio::journalPath(path)));
        QVERIFY(!ArchiveLock::heldElsewhere(path));
    }

    // What decides is the archive as it is at the moment of writing, not as
    // it was when this desk opened it: another desk's record, appended
    // meanwhile, stands in the way.
    void looksAtTheRecordsOnTheDiskNow()
    {
        TempProgramFolder folder;
        const QString path = folder.file("Prova.pro");
        TArchivio mine(path, kLength);
        QCOMPARE(mine.Count(), 0);
        {
            TArchivio other(path, kLength);
            other.Append(record('r'));
        }
        const TArchivio::AppendOutcome outcome = mine.AppendUnless(record('r', '*'), keyIs('r'));
        QVERIFY(!outcome.appended);
        QCOMPARE(outcome.number, qint64(1));
        QCOMPARE(folder.read("Prova.pro"), record('r'));
        // Appended, the new record counts as known to this desk: it may overwrite it.
        const TArchivio::AppendOutcome next = mine.AppendUnless(record('s'), keyIs('s'));
        QVERIFY(next.appended);
        QCOMPARE(mine.Position(), qint64(2));
        mine.Seek(1);
        mine.Write(record('s', '!'));
        QCOMPARE(folder.read("Prova.pro"), record('r') + record('s', '!'));
    }

    void refusesWhatIsNotOneRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("short") << QByteArray("abc");
        QTest::newRow("two records") << record('a') + record('b');
        QTest::newRow("empty") << QByteArray();
    }
    void refusesWhatIsNotOneRecord()
    {
        QFETCH(QByteArray, bytes);
        TempProgramFolder folder;
        const QString path = folder.file("Prova.pro");
        TArchivio archive(path, kLength);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.AppendUnless(bytes, keyIs('a')));
        QCOMPARE(folder.read("Prova.pro"), QByteArray());
    }

    // A write that fails part-way leaves the archive as it was.
    void aFailedWriteLeavesTheArchiveAsBefore()
    {
        TempProgramFolder folder;
        const QString path = folder.file("Prova.pro");
        folder.write("Prova.pro", record('a'));
        TArchivio::setWriteHook([](QFile &file, const char *data, qint64 size) -> qint64 {
            if (file.fileName().endsWith(QLatin1String(".journal")))
                return file.write(data, size);
            file.write(data, size / 2);
            return -1;
        });
        TArchivio archive(path, kLength);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.AppendUnless(record('b'), keyIs('b')));
        TArchivio::setWriteHook({});
        QCOMPARE(folder.read("Prova.pro"), record('a'));
        QVERIFY(!QFile::exists(TArchivio::journalPath(path)));
    }

    void readOnlyArchiveIsNotWritten()
    {
        TempProgramFolder folder;
        const QString path = folder.file("Prova.pro");
        folder.write("Prova.pro", record('a'));
        qvtest::ReadOnly readOnly(path);
        if (!readOnly.ok())
            QSKIP("the file cannot be made read-only here");
        TArchivio archive(path, kLength, TArchivio::Access::Read);
        QVERIFY(archive.isReadOnly());
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.AppendUnless(record('b'), keyIs('b')));
        QCOMPARE(folder.read("Prova.pro"), record('a'));
    }
};

QTEST_GUILESS_MAIN(TestAppendUnless)
#include "tst_appendunless.moc"
