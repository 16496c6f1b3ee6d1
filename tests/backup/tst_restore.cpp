#include "archive/archivejournal.h"
#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "backup/backupdesk.h"
#include "backup/restore.h"
#include "backupfixture.h"

#include <QtTest>

using namespace qv;
using namespace backuptest;

namespace {

// The files of the program folder a restore may touch, by name (the lock
// files, created by any write, aside).
QHash<QString, QByteArray> programFiles(const Sample &p)
{
    QHash<QString, QByteArray> files;
    for (const QString &name : entries(p.folder.path()))
        if (QFileInfo(p.folder.file(name)).isFile() && !name.endsWith(".lock"))
            files.insert(name, p.folder.read(name));
    for (const QString &name : entries(p.folder.file("Documenti_Allegati")))
        files.insert("Documenti_Allegati/" + name, p.folder.read("Documenti_Allegati/" + name));
    return files;
}

// A day's work after the backup: a card changed, one added, an event's
// bookings begun, another's archive lost, the password changed.
void workAfterTheBackup(const Sample &p)
{
    p.folder.write("Eventi.pro", QByteArray(p.folder.read("Eventi.pro")).replace("Evento 2", "Evento X"));
    p.folder.write("Partecipanti.pro", p.folder.read("Partecipanti.pro") + record(kParticipantLength, "Nuovo"));
    p.folder.write("Posti_Riservati_Evento_2.pro", records(kReservationLength, "Posto ", 2));
    QVERIFY(QFile::remove(p.folder.file("Posti_Riservati_Evento_1.pro")));
    p.folder.write("unins000.dll", "[Accesso]\r\nValore=5A5A\r\n");
}

} // namespace

class TestRestore : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TArchivio::setLockTimeout(-1); }

    // The files of the backup come back byte for byte, after a backup of
    // the state they replace; archives the backup lacks go (they are in that
    // backup); the lock files stay and no journal is left.
    void restoresExactlyAfterKeepingTheCurrentState()
    {
        Sample p;
        { TArchivio(p.folder.file("Eventi.pro"), kEventLength).Append(record(kEventLength, "Evento 4")); }
        const QHash<QString, QByteArray> saved = programFiles(p);
        const Backup::Outcome backup = p.make(at(1), 14, true);
        workAfterTheBackup(p);
        const QHash<QString, QByteArray> changed = programFiles(p);

        const Backup::RestoreOutcome done = Backup::restore(p.request(at(2)), backup.path);
        QCOMPARE(programFiles(p), saved);
        QCOMPARE(done.removed, QStringList{"Posti_Riservati_Evento_2.pro"});
        QStringList restored;
        for (const Backup::ManifestEntry &e : done.restored)
            restored << e.path;
        QCOMPARE(restored, (QStringList{"Eventi.pro", "Partecipanti.pro", "Posti_Riservati_Evento_1.pro",
                                        "unins000.dll", "Documenti_Allegati/nome con spazi.txt",
                                        "Documenti_Allegati/programma.pdf"}));

        // The state before the restore, in a backup of its own.
        QCOMPARE(done.safety.name, QStringLiteral("2030-02-02_093000"));
        QCOMPARE(Backup::completeBackups(p.root()), (QStringList{backup.name, done.safety.name}));
        for (const QString &name : {"Eventi.pro", "Partecipanti.pro", "Posti_Riservati_Evento_2.pro", "unins000.dll"})
            QCOMPARE(p.folder.read("Backup/" + done.safety.name + '/' + name), changed.value(name));
        QVERIFY(!QFile::exists(p.inBackup(done.safety.name, "Posti_Riservati_Evento_1.pro")));
        QVERIFY(Backup::Verifier().verify(done.safety.path).ok());
        QVERIFY(Backup::Verifier().verify(backup.path).ok()); // read, never written

        // A restored file is a file of its own: a later save changes no backup.
        QVERIFY(inode(p.folder.file("Eventi.pro")) != inode(p.inBackup(backup.name, "Eventi.pro")));
        QVERIFY(QFile::exists(p.folder.file("Eventi.pro.lock")));
        for (const QString &name : entries(p.folder.path()))
            QVERIFY2(!name.endsWith(".journal") && !name.startsWith(".qv_"), qPrintable(name));
        QVERIFY(!ArchiveLock::heldElsewhere(p.folder.file("Eventi.pro")));
    }

    // The door's entries go back with the bookings they name: an event's
    // attendance archive the backup has comes back as it was, one it lacks
    // goes (a later event of that number would find its entries otherwise).
    void attendanceArchivesGoBackWithTheirBookings()
    {
        Sample p;
        const QByteArray entries = records(40, "E", 2);
        p.folder.write("Presenze_Evento_1.pro", entries);
        const Backup::Outcome backup = p.make(at(1));
        p.folder.write("Presenze_Evento_1.pro", entries + records(40, "F", 1));
        p.folder.write("Presenze_Evento_2.pro", records(40, "G", 1));
        const Backup::RestoreOutcome done = Backup::restore(p.request(at(2)), backup.path);
        QCOMPARE(p.folder.read("Presenze_Evento_1.pro"), entries);
        QVERIFY(!QFile::exists(p.folder.file("Presenze_Evento_2.pro")));
        QCOMPARE(done.removed, QStringList{"Presenze_Evento_2.pro"});
        QVERIFY(Backup::isProgramArchive("Presenze_Evento_12.pro"));
        QVERIFY(Backup::isProgramArchive("Uscite_Evento_12.pro"));
        QVERIFY(!Backup::isProgramArchive("Presenze_Evento_.pro"));
    }

    // Under a desk's write lock nothing happens: no backup, no file touched.
    void refusesWhileADeskWrites_data()
    {
        QTest::addColumn<QString>("locked");
        QTest::newRow("an archive of the folder") << "Partecipanti.pro";
        QTest::newRow("an archive only the backup has") << "Posti_Riservati_Evento_1.pro";
    }
    void refusesWhileADeskWrites()
    {
        QFETCH(QString, locked);
        Sample p;
        const Backup::Outcome backup = p.make(at(1));
        workAfterTheBackup(p);
        const QHash<QString, QByteArray> changed = programFiles(p);
        ArchiveLock desk(p.folder.file(locked));
        QVERIFY(desk.acquire(0));
        QCOMPARE(Backup::archivesInUse(p.folder.path(), *Backup::readManifest(backup.path)), QStringList{locked});
        try {
            Backup::restore(p.request(at(2)), backup.path);
            QFAIL("restored under a lock");
        } catch (const Backup::Error &error) {
            QCOMPARE(error.kind(), Backup::Error::Busy);
            QVERIFY2(error.message().contains(locked), qPrintable(error.message()));
        }
        QCOMPARE(programFiles(p), changed);
        QCOMPARE(Backup::completeBackups(p.root()), QStringList{backup.name});
    }

    // A backup that does not verify is never restored.
    void refusesADamagedBackup()
    {
        Sample p;
        const Backup::Outcome backup = p.make(at(1));
        workAfterTheBackup(p);
        const QHash<QString, QByteArray> changed = programFiles(p);
        p.folder.write("Backup/" + backup.name + "/Partecipanti.pro",
                       QByteArray(p.folder.read("Backup/" + backup.name + "/Partecipanti.pro")).replace("Partecipante 3", "Partecipante 9"));
        try {
            Backup::restore(p.request(at(2)), backup.path);
            QFAIL("a damaged backup was restored");
        } catch (const Backup::Error &error) {
            QCOMPARE(error.kind(), Backup::Error::Damaged);
            QVERIFY2(error.message().contains("Partecipanti.pro"), qPrintable(error.message()));
        }
        QCOMPARE(programFiles(p), changed);
        QCOMPARE(Backup::completeBackups(p.root()), QStringList{backup.name});
    }

    // A journal a dead desk left beside an archive belongs to the file being
    // replaced: it is never applied to the restored one.
    void interruptedWriteIsNotAppliedToTheRestoredFile()
    {
        Sample p;
        const QByteArray saved = p.folder.read("Partecipanti.pro");
        const Backup::Outcome backup = p.make(at(1));
        const QByteArray later = records(kParticipantLength, "Dopo ", 7);
        p.folder.write("Partecipanti.pro", later);
        ArchiveJournal journal; // a desk died overwriting the first card
        journal.oldSize = later.size();
        journal.offset = 0;
        journal.oldBytes = later.left(kParticipantLength);
        p.folder.write("Partecipanti.pro.journal", journal.encode());

        const Backup::RestoreOutcome done = Backup::restore(p.request(at(2)), backup.path);
        QCOMPARE(p.folder.read("Partecipanti.pro"), saved);
        QVERIFY(!QFile::exists(p.folder.file("Partecipanti.pro.journal")));
        QCOMPARE(p.folder.read("Backup/" + done.safety.name + "/Partecipanti.pro"), later);
        { TArchivio reopened(p.folder.file("Partecipanti.pro"), kParticipantLength); } // would apply a journal
        QCOMPARE(p.folder.read("Partecipanti.pro"), saved);
    }

    // A restore that cannot write everything (a full disk) changes nothing:
    // every file is written beside its place before any is put there.
    void failedRestoreChangesNothing()
    {
        Sample p;
        p.folder.write("Partecipanti.pro", records(kParticipantLength, "Partecipante ", 40)); // 135 KB
        const Backup::Outcome backup = p.make(at(1));
        p.folder.write("Eventi.pro", QByteArray(p.folder.read("Eventi.pro")).replace("Evento 2", "Evento X"));
        p.folder.write("Partecipanti.pro", p.folder.read("Partecipanti.pro").left(kParticipantLength * 20));
        const QHash<QString, QByteArray> changed = programFiles(p);
        bool failed = false;
        {
            // The state before fits (Partecipanti.pro is copied anew), the
            // second copy of the large archive does not.
            qvtest::FileSizeLimit limit(100 * 1024);
            try {
                Backup::restore(p.request(at(2)), backup.path);
            } catch (const Backup::Error &error) {
                failed = error.kind() == Backup::Error::Failed;
            }
        }
        QVERIFY(failed);
        QCOMPARE(programFiles(p), changed);
    }

    // What a restore changes, in the words the backups window asks with:
    // counted over every event's archive, nothing said of what stays.
    void changesInPlainWords()
    {
        Sample p;
        const int attendance = 40;
        p.folder.write("Presenze_Evento_1.pro", records(attendance, "I", 2));
        const Backup::Outcome backup = p.make(at(1));
        QVERIFY(Backup::restoreChanges(p.folder.path(), backup.path).isEmpty());

        p.folder.write("Presenze_Evento_1.pro", records(attendance, "I", 6)); // four more
        p.folder.write("Presenze_Evento_2.pro", records(attendance, "J", 2)); // two of a later event
        QByteArray participants = p.folder.read("Partecipanti.pro");
        participants[1] = 'X';
        p.folder.write("Partecipanti.pro", participants + record(kParticipantLength, "Nuovo"));
        p.folder.write("Posti_Riservati_Evento_1.pro", records(kReservationLength, "Posto ", 3)); // one gone
        p.folder.write("unins000.dll", "[Accesso]\r\nValore=5A5A\r\n");
        QCOMPARE(Backup::restoreChanges(p.folder.path(), backup.path),
                 (QStringList{"le schede dei partecipanti aggiunte dopo questa copia saranno tolte: 1",
                              "le schede dei partecipanti modificate dopo questa copia torneranno com'erano: 1",
                              "le prenotazioni che la copia ha in pi\u00F9 torneranno: 1",
                              "le presenze registrate dopo questa copia saranno tolte: 6",
                              "la password e le impostazioni tornano quelle del momento della copia"}));
    }

    // What a restore that died left beside the places of its files goes with
    // the next backup or restore, under the running lock.
    void staleRestoreFilesAreRemoved()
    {
        Sample p;
        const Backup::Outcome backup = p.make(at(1));
        p.folder.write(".qv_ripristino_AbC123", "mezzo archivio");
        p.folder.write("Documenti_Allegati/.qv_ripristino_XyZ789", "mezzo allegato");
        Backup::restore(p.request(at(2)), backup.path);
        QVERIFY(!QFile::exists(p.folder.file(".qv_ripristino_AbC123")));
        QVERIFY(!QFile::exists(p.folder.file("Documenti_Allegati/.qv_ripristino_XyZ789")));
        QVERIFY(QFile::exists(p.folder.file("Documenti_Allegati/programma.pdf")));
    }
};

QTEST_GUILESS_MAIN(TestRestore)
#include "tst_restore.moc"
