#include "archive/archivejournal.h"
#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "backup/backup.h"
#include "backup/filecopy.h"
#include "backupfixture.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace qv;
using namespace backuptest;


class TestBackup : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        Backup::setLinkHook({});
        TArchivio::setLockTimeout(-1);
    }

    // The archives, the password file and the list of attachment names, byte
    // for byte, with a manifest an independent reader can check; never the
    // lock files or journals beside the archives.
    void backupHoldsTheFilesByteForByte()
    {
        Sample p;
        {
            TArchivio archive(p.folder.file("Eventi.pro"), kEventLength);
            archive.Append(record(kEventLength, "Evento 4")); // leaves Eventi.pro.lock beside it
        }
        p.folder.write("Partecipanti.pro.journal", ""); // a journal cut before the archive was touched
        QVERIFY(QFile::exists(p.folder.file("Eventi.pro.lock")));

        const Backup::Outcome made = p.make(at(1));
        QCOMPARE(made.name, QStringLiteral("2030-02-01_093000"));
        QCOMPARE(made.path, p.root() + "/2030-02-01_093000");
        QCOMPARE(Backup::completeBackups(p.root()), QStringList{made.name});
        const QStringList files{"Eventi.pro", "Partecipanti.pro", "Posti_Riservati_Evento_1.pro", "unins000.dll"};
        QCOMPARE(entries(made.path), (QStringList{"Documenti_Allegati.txt", "Eventi.pro", "Manifesto.txt",
                                                  "Partecipanti.pro", "Posti_Riservati_Evento_1.pro", "unins000.dll"}));
        for (const QString &file : files)
            QCOMPARE(p.folder.read("Backup/" + made.name + '/' + file), p.folder.read(file));
        QCOMPARE(p.folder.read("Backup/" + made.name + "/Documenti_Allegati.txt"),
                 QByteArray("nome con spazi.txt\nprogramma.pdf\n"));
        QVERIFY(!QFile::exists(p.folder.file("Partecipanti.pro.journal"))); // undone under the lock first

        const std::optional<Backup::Manifest> manifest = Backup::readManifest(made.path);
        QVERIFY(manifest);
        QCOMPARE(manifest->created, at(1));
        QCOMPARE(manifest->files.size(), 5);
        for (const Backup::ManifestEntry &e : manifest->files) {
            const QByteArray bytes = p.folder.read("Backup/" + made.name + '/' + e.path);
            QCOMPARE(e.size, qint64(bytes.size()));
            QCOMPARE(e.sha256, sha256(bytes));
        }
        QCOMPARE(made.files, 5);
        QCOMPARE(made.linked, 0);
        QVERIFY(Backup::Verifier().verify(made.path).ok());
        // Nothing else in the folder of the backups but the lock of one backup at a time.
        QCOMPARE(entries(p.root()), (QStringList{made.name, "Backup.lock"}));
    }

    void attachmentsOnlyWhenAsked()
    {
        Sample p;
        const Backup::Outcome without = p.make(at(1));
        QVERIFY(!QFile::exists(without.path + "/Documenti_Allegati"));
        const Backup::Outcome with = p.make(at(2), 14, true);
        QCOMPARE(entries(with.path + "/Documenti_Allegati"), (QStringList{"nome con spazi.txt", "programma.pdf"}));
        QCOMPARE(p.folder.read("Backup/" + with.name + "/Documenti_Allegati/programma.pdf"),
                 QByteArray("%PDF-1.4 programma"));
        QVERIFY(Backup::readManifest(with.path)->find("Documenti_Allegati/nome con spazi.txt"));
        QVERIFY(Backup::Verifier().verify(with.path).ok());
    }

    // At most one backup a calendar day, told by the names of the backups there.
    void oncePerCalendarDay_data()
    {
        QTest::addColumn<QDateTime>("second");
        QTest::addColumn<int>("backups");
        QTest::newRow("same day, later") << at(1, 23, 59) << 1;
        QTest::newRow("same day, earlier") << at(1, 0, 1) << 1;
        QTest::newRow("next day") << at(2, 0, 1) << 2;
        QTest::newRow("clock put back a day") << QDateTime(QDate(2030, 1, 31), QTime(9, 0)) << 2;
    }
    void oncePerCalendarDay()
    {
        QFETCH(QDateTime, second);
        QFETCH(int, backups);
        Sample p;
        Backup::Request first = p.request(at(1));
        first.oncePerDay = true;
        QVERIFY(Backup::make(first));
        QVERIFY(Backup::madeOn(p.root(), at(1).date()));
        Backup::Request again = p.request(second);
        again.oncePerDay = true;
        QCOMPARE(Backup::make(again).has_value(), backups == 2);
        QCOMPARE(Backup::completeBackups(p.root()).size(), backups);
    }

    // Only the newest are kept, the new one always among them; 0 keeps all.
    void keepsTheNewest_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("three") << 3 << QStringList{"2030-02-03_093000", "2030-02-04_093000", "2030-02-05_093000"};
        QTest::newRow("one") << 1 << QStringList{"2030-02-05_093000"};
        QTest::newRow("zero keeps all") << 0
                                        << QStringList{"2030-02-01_093000", "2030-02-02_093000", "2030-02-03_093000",
                                                       "2030-02-04_093000", "2030-02-05_093000"};
    }
    void keepsTheNewest()
    {
        QFETCH(int, copies);
        QFETCH(QStringList, kept);
        Sample p;
        QStringList removed;
        for (int day = 1; day <= 5; ++day)
            removed += p.make(at(day), copies).removed;
        QCOMPARE(Backup::completeBackups(p.root()), kept);
        QCOMPARE(removed.size(), 5 - kept.size());
        for (const QString &name : kept)
            QVERIFY(Backup::Verifier().verify(p.root() + '/' + name).ok());
        QCOMPARE(entries(p.root()), QStringList(kept) << "Backup.lock");
    }

    // A clock put back never makes the new backup the one removed.
    void theNewBackupIsNeverRemoved()
    {
        Sample p;
        p.make(at(5), 2);
        p.make(at(6), 2);
        const Backup::Outcome made = p.make(at(1), 2);
        QCOMPARE(made.removed, QStringList{"2030-02-05_093000"});
        QCOMPARE(Backup::completeBackups(p.root()), (QStringList{made.name, "2030-02-06_093000"}));
    }

    // A file unchanged since the newest backup (same size and SHA-256) is a
    // hard link to its copy there; any other file is copied.
    void linkOrCopy_data()
    {
        QTest::addColumn<QByteArray>("changed"); // the new content of Partecipanti.pro, or empty
        QTest::addColumn<bool>("linksAllowed");
        QTest::addColumn<bool>("linked");
        const QByteArray same = records(kParticipantLength, "Partecipante ", 5);
        QByteArray sameSize = same;
        sameSize[kParticipantLength + 1] = 'X'; // a letter of the second card
        QTest::newRow("unchanged") << QByteArray() << true << true;
        QTest::newRow("changed, same size") << sameSize << true << false;
        QTest::newRow("a card added") << same + record(kParticipantLength, "Nuovo") << true << false;
        QTest::newRow("unchanged, links refused") << QByteArray() << false << false;
    }
    void linkOrCopy()
    {
        QFETCH(QByteArray, changed);
        QFETCH(bool, linksAllowed);
        QFETCH(bool, linked);
        Sample p;
        const Backup::Outcome first = p.make(at(1));
        if (!changed.isEmpty())
            p.folder.write("Partecipanti.pro", changed);
        if (!linksAllowed)
            Backup::setLinkHook([](const QString &, const QString &) { return false; }); // as across devices
        const Backup::Outcome second = p.make(at(2));

        const QString before = p.inBackup(first.name, "Partecipanti.pro");
        const QString now = p.inBackup(second.name, "Partecipanti.pro");
        QCOMPARE(inode(now) == inode(before), linked);
        QCOMPARE(p.folder.read("Backup/" + second.name + "/Partecipanti.pro"), p.folder.read("Partecipanti.pro"));
        QCOMPARE(p.folder.read("Backup/" + first.name + "/Partecipanti.pro"),
                 records(kParticipantLength, "Partecipante ", 5)); // the older copy untouched
        // The other files are unchanged: linked where links are allowed.
        QCOMPARE(inode(p.inBackup(second.name, "Eventi.pro")) == inode(p.inBackup(first.name, "Eventi.pro")),
                 linksAllowed);
        const qint64 participants = p.folder.read("Partecipanti.pro").size();
        const qint64 others = p.folder.read("Eventi.pro").size() + p.folder.read("Posti_Riservati_Evento_1.pro").size()
                              + p.folder.read("unins000.dll").size();
        const qint64 list = QByteArray("nome con spazi.txt\nprogramma.pdf\n").size(); // written anew each time
        QCOMPARE(second.linked, (linksAllowed ? 3 : 0) + int(linked));
        QCOMPARE(second.newBytes, list + (linksAllowed ? 0 : others) + (linked ? 0 : participants));
        QVERIFY(Backup::Verifier().verify(second.path).ok());
    }

    // An earlier copy damaged since it was made (same size, other bytes) is
    // never linked into a new backup: the new one gets a fresh copy and
    // verifies, and only then is the damaged one pruned.
    void damagedEarlierCopyIsNotCarriedOn()
    {
        Sample p;
        const Backup::Outcome first = p.make(at(1));
        QByteArray damaged = p.folder.read("Backup/" + first.name + "/Partecipanti.pro");
        damaged[kParticipantLength + 1] = 'X';
        p.folder.write("Backup/" + first.name + "/Partecipanti.pro", damaged);
        const Backup::Outcome second = p.make(at(2), 1);
        QVERIFY(Backup::Verifier().verify(second.path).ok());
        QCOMPARE(p.folder.read("Backup/" + second.name + "/Partecipanti.pro"), p.folder.read("Partecipanti.pro"));
        QCOMPARE(second.linked, 3); // the two other archives and the password file
        QCOMPARE(second.removed, QStringList{first.name});
        QCOMPARE(Backup::completeBackups(p.root()), QStringList{second.name});
    }

    // The settings the backups window writes read back as written, the rest
    // of the INI file (the password) kept.
    void settingsWrittenReadBack()
    {
        qvtest::TempProgramFolder folder;
        folder.write("unins000.dll", "[Accesso]\r\nValore=41\r\n");
        Backup::writeSettings({3, true});
        QCOMPARE(Backup::readSettings().copies, 3);
        QVERIFY(Backup::readSettings().attachments);
        Backup::writeSettings({0, false});
        QCOMPARE(Backup::readSettings().copies, 0);
        QVERIFY(!Backup::readSettings().attachments);
        QVERIFY(folder.read("unins000.dll").startsWith("[Accesso]\r\nValore=41\r\n"));
    }

    void manifestRoundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("archive") << "Eventi.pro";
        QTest::newRow("blanks and accents") << "Documenti_Allegati/Città e più.pdf";
        QTest::newRow("percent, tab, line end") << "Documenti_Allegati/100%\tdue\nrighe\r.txt";
    }
    void manifestRoundTrip()
    {
        QFETCH(QString, path);
        Backup::Manifest manifest;
        manifest.created = at(1);
        manifest.files = {{path, 3645, sha256("a")}, {"unins000.dll", 0, sha256("")}};
        const QByteArray encoded = manifest.encode();
        QCOMPARE(encoded.count('\n'), 5); // heading, date, two files, end
        const std::optional<Backup::Manifest> decoded = Backup::Manifest::decode(encoded);
        QVERIFY(decoded);
        QCOMPARE(decoded->created, manifest.created);
        QCOMPARE(decoded->files, manifest.files);
    }

    void damagedManifestIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray hash = sha256("a");
        const QByteArray good = "Quorvane copia di sicurezza\t1\ncreata\t2030-02-01T09:30:00\nfile\tEventi.pro\t3645\t" + hash
                                + "\nfine\t1\n";
        QVERIFY(Backup::Manifest::decode(good));
        QTest::newRow("cut before its end") << good.left(good.size() - 7);
        QTest::newRow("cut mid-line") << good.left(good.size() - 1);
        QTest::newRow("count differs") << QByteArray(good).replace("fine\t1", "fine\t2");
        QTest::newRow("short hash") << QByteArray(good).replace(hash, hash.left(63));
        QTest::newRow("upper-case hash") << QByteArray(good).replace(hash, hash.toUpper());
        QTest::newRow("negative size") << QByteArray(good).replace("\t3645\t", "\t-1\t");
        QTest::newRow("twice the same file")
            << QByteArray(good).replace("fine\t1", "file\tEventi.pro\t3645\t" + hash + "\nfine\t2");
        QTest::newRow("other format") << QByteArray(good).replace("sicurezza\t1", "sicurezza\t2");
        QTest::newRow("bad date") << QByteArray(good).replace("2030-02-01T", "2030-02-31T");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedManifestIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!Backup::Manifest::decode(bytes));
    }

    // What verify finds in a backup that was changed afterwards.
    void verifyFindsEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("problem");
        QTest::newRow("a file removed") << "remove" << "Eventi.pro: manca.";
        QTest::newRow("a byte changed") << "byte"
                                        << "Eventi.pro: il contenuto non corrisponde a quello registrato (SHA-256).";
        QTest::newRow("cut") << "cut" << "Eventi.pro: 3644 byte invece di 10935.";
        QTest::newRow("manifest cut") << "manifest" << "Manifesto.txt illeggibile o incompleto.";
    }
    void verifyFindsEveryChange()
    {
        QFETCH(QString, change);
        QFETCH(QString, problem);
        Sample p;
        const Backup::Outcome made = p.make(at(1));
        const QString file = "Backup/" + made.name + "/Eventi.pro";
        if (change == "remove")
            QVERIFY(QFile::remove(p.folder.file(file)));
        else if (change == "byte")
            p.folder.write(file, QByteArray(p.folder.read(file)).replace("Evento 2", "Evento 7"));
        else if (change == "cut")
            p.folder.write(file, p.folder.read(file).left(3644));
        else
            p.folder.write("Backup/" + made.name + "/Manifesto.txt", p.folder.read("Backup/" + made.name + "/Manifesto.txt").chopped(3));
        const Backup::Verification v = Backup::Verifier().verify(made.path);
        QVERIFY(!v.ok());
        QCOMPARE(v.problems, QStringList{problem});
    }

    // A manifest naming a file outside the backup's own places fails the
    // check, so a restore never follows it.
    void pathsOutsideTheProgramFolderAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("archive") << "Posti_Riservati_Evento_12.pro" << true;
        QTest::newRow("password file") << "unins000.dll" << true;
        QTest::newRow("attachment") << "Documenti_Allegati/a b.pdf" << true;
        QTest::newRow("list") << "Documenti_Allegati.txt" << true;
        QTest::newRow("parent") << "../Eventi.pro" << false;
        QTest::newRow("parent in attachments") << "Documenti_Allegati/.." << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("other folder") << "Altro/Eventi.pro" << false;
        QTest::newRow("deeper") << "Documenti_Allegati/x/y.pdf" << false;
        QTest::newRow("other file") << "quorvane" << false;
        QTest::newRow("lock file") << "Eventi.pro.lock" << false;
    }
    void pathsOutsideTheProgramFolderAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(bool, allowed);
        qvtest::TempProgramFolder folder;
        QCOMPARE(Backup::isAllowedPath(path), allowed);
    }

    // A full disk part-way: the new backup is removed whole, the old ones
    // stay complete and none is removed.
    void fullDiskPartWay()
    {
        Sample p;
        p.make(at(1), 2);
        p.make(at(2), 2);
        p.folder.write("Partecipanti.pro", records(kParticipantLength, "Altro ", 40)); // 135 KB, not linked
        QStringList before = Backup::completeBackups(p.root());
        bool failed = false;
        {
            qvtest::FileSizeLimit limit(64 * 1024);
            try {
                p.make(at(3), 2);
            } catch (const Backup::Error &error) {
                failed = error.kind() == Backup::Error::Failed;
            }
        }
        QVERIFY(failed);
        QCOMPARE(Backup::completeBackups(p.root()), before);
        QCOMPARE(entries(p.root()), QStringList(before) << "Backup.lock");
        for (const QString &name : before)
            QVERIFY(Backup::Verifier().verify(p.root() + '/' + name).ok());
        // The next one, with room again, is made and the oldest goes.
        const Backup::Outcome made = p.make(at(3), 2);
        QCOMPARE(made.removed, QStringList{before.first()});
    }

    // A backup or a removal cut short by a power cut is cleared by the next backup.
    void leftoversOfAnInterruptedBackupAreRemoved()
    {
        Sample p;
        QDir().mkpath(p.root() + "/2030-01-31_120000.tmp");
        p.folder.write("Backup/2030-01-31_120000.tmp/Eventi.pro", "mezzo");
        QDir().mkpath(p.root() + "/2030-01-30_120000"); // no manifest: not a backup, and not ours to remove
        QDir().mkpath(p.root() + "/Mie copie.tmp");
        const Backup::Outcome made = p.make(at(1));
        QCOMPARE(entries(p.root()), (QStringList{"2030-01-30_120000", made.name, "Backup.lock", "Mie copie.tmp"}));
        QCOMPARE(Backup::completeBackups(p.root()), QStringList{made.name});
    }

    void cancelledBackupLeavesNothing()
    {
        Sample p;
        std::atomic<bool> cancel{false};
        Backup::Request request = p.request(at(1));
        request.cancel = &cancel;
        request.progress = [&](qint64, qint64) { cancel = true; };
        QVERIFY_THROWS_EXCEPTION(Backup::Cancelled, Backup::make(request));
        QCOMPARE(entries(p.root()), QStringList{"Backup.lock"});
    }

    // Two desks logging in at once: one makes the day's backup, the other
    // leaves it to it; an explicit backup says another is running.
    void oneBackupAtATime()
    {
        Sample p;
        QDir().mkpath(p.root());
        ArchiveLock running(p.root() + "/Backup");
        QVERIFY(running.acquire(0));
        Backup::Request daily = p.request(at(1));
        daily.oncePerDay = true;
        QVERIFY(!Backup::make(daily));
        try {
            p.make(at(1));
            QFAIL("made while another backup runs");
        } catch (const Backup::Error &error) {
            QCOMPARE(error.kind(), Backup::Error::Busy);
        }
        running.release();
        QVERIFY(Backup::make(daily));
    }

    // A desk writing when the copy begins: the copy waits for the write and
    // holds the whole of it, never a part.
    void copyWaitsForAWriteInProgress()
    {
        Sample p;
        TArchivio::setLockTimeout(60000);
        const QString path = p.folder.file("Partecipanti.pro");
        const QByteArray before = p.folder.read("Partecipanti.pro");
        const QByteArray added = record(kParticipantLength, "Scritto durante la copia");
        ArchiveLock desk(path);
        QVERIFY(desk.acquire(0));
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write(added.left(1000)), 1000);
        QVERIFY(file.flush()); // half a record on the disk

        std::atomic<bool> finished{false};
        std::optional<Backup::Outcome> made;
        std::thread backup([&] {
            made = Backup::make(p.request(at(1)));
            finished = true;
        });
        QTest::qWait(300);
        QVERIFY(!finished); // waiting for the lock
        QCOMPARE(file.write(added.mid(1000)), qint64(added.size() - 1000));
        file.close();
        desk.release();
        backup.join();
        QVERIFY(made);
        QCOMPARE(p.folder.read("Backup/" + made->name + "/Partecipanti.pro"), before + added);
    }

    // A desk that saves while the copy holds the lock waits for it, and its
    // card is stored whole afterwards; the copy holds the state before.
    void writerWaitingOnTheCopyIsNotLost()
    {
        qvtest::TempProgramFolder folder;
        const QByteArray before = records(kParticipantLength, "Partecipante ", 3);
        folder.write("Partecipanti.pro", before);
        const QByteArray added = record(kParticipantLength, "Salvato durante la copia");
        TArchivio::setLockTimeout(60000);
        std::atomic<bool> saved{false};
        std::thread desk;
        bool waitedForTheCopy = false;
        Backup::Request request;
        request.programFolder = folder.path();
        request.root = folder.file("Backup");
        request.moment = at(1);
        request.progress = [&](qint64, qint64) {
            if (desk.joinable())
                return;
            desk = std::thread([&] {
                TArchivio archive(folder.file("Partecipanti.pro"), kParticipantLength);
                archive.Append(added);
                saved = true;
            });
            QThread::msleep(300);
            waitedForTheCopy = !saved;
        };
        const Backup::Outcome made = *Backup::make(request);
        desk.join();
        QVERIFY(waitedForTheCopy);
        QVERIFY(saved);
        QCOMPARE(folder.read("Backup/" + made.name + "/Partecipanti.pro"), before);
        QCOMPARE(folder.read("Partecipanti.pro"), before + added);
    }

    // A desk that died part-way through a write: the copy holds the state
    // before that write, as the program would put it back.
    void interruptedWriteIsUndoneBeforeTheCopy()
    {
        Sample p;
        const QByteArray before = p.folder.read("Partecipanti.pro");
        ArchiveJournal journal;
        journal.oldSize = before.size();
        journal.offset = kParticipantLength;
        journal.oldBytes = before.mid(kParticipantLength, kParticipantLength);
        p.folder.write("Partecipanti.pro.journal", journal.encode());
        QByteArray torn = before;
        torn.replace(kParticipantLength, 500, QByteArray(500, 'Z'));
        p.folder.write("Partecipanti.pro", torn);

        const Backup::Outcome made = p.make(at(1));
        QCOMPARE(p.folder.read("Backup/" + made.name + "/Partecipanti.pro"), before);
        QCOMPARE(p.folder.read("Partecipanti.pro"), before);
        QVERIFY(!QFile::exists(p.folder.file("Partecipanti.pro.journal")));
    }

    void settingsFromTheIniFile_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("attachments");
        QTest::newRow("no section") << QByteArray("[Accesso]\r\nValore=41\r\n") << 14 << false;
        QTest::newRow("both") << QByteArray("[Backup]\r\nCopie= 30 \r\nAllegati=1\r\n") << 30 << true;
        QTest::newRow("off") << QByteArray("[Backup]\r\nCopie=0\r\n") << 0 << false;
        QTest::newRow("not a count") << QByteArray("[Backup]\r\nCopie=molte\r\nAllegati=sì\r\n") << 14 << false;
        QTest::newRow("negative") << QByteArray("[Backup]\r\nCopie=-3\r\n") << 14 << false;
        QTest::newRow("no file") << QByteArray() << 14 << false;
    }
    void settingsFromTheIniFile()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, copies);
        QFETCH(bool, attachments);
        qvtest::TempProgramFolder folder;
        if (!ini.isEmpty())
            folder.write("unins000.dll", ini);
        const Backup::Settings settings = Backup::readSettings();
        QCOMPARE(settings.copies, copies);
        QCOMPARE(settings.attachments, attachments);
        QCOMPARE(Backup::iniFilePath(), folder.file("unins000.dll"));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
