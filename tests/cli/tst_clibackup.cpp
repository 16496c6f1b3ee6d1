#include "archive/archivelock.h"
#include "backup/backup.h"
#include "clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QtTest>

#include <sys/stat.h>

using namespace clitest;
using qvtest::TempProgramFolder;

namespace {

constexpr int kEventSize = 3645;

// A program folder with two events, two participants and the password file.
void fill(const TempProgramFolder &folder)
{
    folder.write("Eventi.pro", QByteArray(2 * kEventSize, '\0'));
    folder.write("Partecipanti.pro", participant("Rossi Mario") + participant("Bianchi Anna", "S\xEC"));
    folder.write("unins000.dll", "[Accesso]\r\nValore=4A4B\r\n");
}

Result run(const TempProgramFolder &folder, QStringList args, const QByteArray &input = {})
{
    return runCli(args << "--folder" << folder.path(), input);
}

QStringList backups(const TempProgramFolder &folder)
{
    return qv::Backup::completeBackups(folder.file("Backup"));
}

qulonglong inode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qulonglong(st.st_ino) : 0;
}

} // namespace

// quorvane-cli backup and restore, through the real executable.
class TestCliBackup : public QObject
{
    Q_OBJECT
private slots:
    void backupListAndVerify()
    {
        TempProgramFolder folder;
        fill(folder);
        Result r = run(folder, {"backup"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(backups(folder).size(), 1);
        const QString first = backups(folder).first();
        QVERIFY2(r.outText().startsWith("Copia di sicurezza " + first + " creata in " + folder.file("Backup/" + first)
                                        + ": 4 file, 0,0 MB."),
                 qPrintable(r.outText()));
        for (const QString &name : {"Eventi.pro", "Partecipanti.pro", "unins000.dll"})
            QCOMPARE(folder.read("Backup/" + first + '/' + name), folder.read(name));

        // A card changed: only that archive takes new space.
        folder.write("Eventi.pro", QByteArray(3 * kEventSize, '\0'));
        r = run(folder, {"backup"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(backups(folder).size(), 2);
        const QString second = backups(folder).last();
        QVERIFY2(r.outText().contains("2 file uguali a quelli della copia precedente vi sono collegati"),
                 qPrintable(r.outText()));
        QCOMPARE(inode(folder.file("Backup/" + second + "/Partecipanti.pro")),
                 inode(folder.file("Backup/" + first + "/Partecipanti.pro")));
        QVERIFY(inode(folder.file("Backup/" + second + "/Eventi.pro"))
                != inode(folder.file("Backup/" + first + "/Eventi.pro")));

        r = run(folder, {"backup", "list"});
        QCOMPARE(r.exit, 0);
        const QStringList lines = r.outText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const QString date = qv::Backup::momentOf(first).toString("dd/MM/yyyy HH:mm:ss");
        QCOMPARE(lines.at(0), first + "  " + date + "  4 file, 0,0 MB  verificata");
        QVERIFY(lines.at(1).startsWith(second + "  ") && lines.at(1).endsWith("  verificata"));
        QCOMPARE(lines.at(2), "2 copie in " + folder.file("Backup") + ".");

        r = run(folder, {"backup", "verify", first});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.outText(), first + ": verificata (4 file, 0,0 MB).\n");

        // A copy changed afterwards: named by verify and by list.
        folder.write("Backup/" + second + "/Eventi.pro", QByteArray(3 * kEventSize, 'x'));
        r = run(folder, {"backup", "verify"});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(first + ": verificata"), qPrintable(r.outText()));
        QVERIFY2(r.outText().contains(second + ": Eventi.pro: il contenuto non corrisponde a quello registrato "
                                               "(SHA-256).\n" + second + ": NON verificata."),
                 qPrintable(r.outText()));
        r = run(folder, {"backup", "list"});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains("  NON verificata: Eventi.pro: il contenuto non corrisponde"), qPrintable(r.outText()));
    }

    // verify runs the archive check on each copy.
    void verifyRunsTheArchiveCheck()
    {
        TempProgramFolder folder;
        fill(folder);
        folder.write("Partecipanti.pro", folder.read("Partecipanti.pro") + "coda");
        QCOMPARE(run(folder, {"backup"}).exit, 0);
        const QString name = backups(folder).first();
        const Result r = run(folder, {"backup", "verify", name});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(name + ": Partecipanti.pro: 1 difetto d'archivio (vedere quorvane-cli check "
                                      + folder.file("Backup/" + name + "/Partecipanti.pro") + ")."),
                 qPrintable(r.outText()));
    }

    // Both archives of the door go into a backup and through its check.
    void backupCarriesTheAttendanceArchives()
    {
        TempProgramFolder folder;
        fill(folder);
        const auto counted = [](const QByteArray &text, int declared) {
            return char(text.size()) + text + QByteArray(declared - text.size(), '\0');
        };
        const QByteArray entry = counted("1", 10) + counted("7", 5) + counted("12/03/2026", 10) + counted("09:31:05", 8)
                                 + counted("No", 2);
        QByteArray undecided = entry; // Annullato neither "Sì" nor "No"
        undecided.replace(38, 2, "Ma");
        folder.write("Presenze_Evento_1.pro", entry);
        folder.write("Uscite_Evento_1.pro", entry + undecided);
        QCOMPARE(run(folder, {"backup"}).exit, 0);
        const QString name = backups(folder).first();
        for (const QString file : {"Presenze_Evento_1.pro", "Uscite_Evento_1.pro"})
            QCOMPARE(readFile(folder.file("Backup/" + name + "/" + file)), folder.read(file));
        const Result r = run(folder, {"backup", "verify", name});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(name + ": Uscite_Evento_1.pro: 1 difetto d'archivio"), qPrintable(r.outText()));
        QVERIFY2(!r.outText().contains("Presenze_Evento_1.pro"), qPrintable(r.outText()));
    }

    void backupToAnotherFolder()
    {
        TempProgramFolder folder;
        fill(folder);
        QTemporaryDir elsewhere;
        Result r = run(folder, {"backup", "--to", elsewhere.path()});
        QCOMPARE(r.exit, 0);
        const QStringList made = qv::Backup::completeBackups(elsewhere.path());
        QCOMPARE(made.size(), 1);
        QVERIFY(!QFile::exists(folder.file("Backup")));
        QCOMPARE(run(folder, {"backup", "verify", made.first(), "--to", elsewhere.path()}).exit, 0);
        // By its path too.
        QCOMPARE(run(folder, {"backup", "verify", elsewhere.filePath(made.first())}).exit, 0);

        r = run(folder, {"backup", "--to", elsewhere.filePath("manca")});
        QCOMPARE(r.exit, 3);
        QCOMPARE(r.errText(), "quorvane-cli: la cartella \"" + elsewhere.filePath("manca") + "\" non esiste.\n");
    }

    void restoreGivesBackTheArchivesAfterKeepingTheState()
    {
        TempProgramFolder folder;
        fill(folder);
        QCOMPARE(run(folder, {"backup"}).exit, 0);
        const QString name = backups(folder).first();
        const QByteArray events = folder.read("Eventi.pro");
        const QByteArray participants = folder.read("Partecipanti.pro");
        folder.write("Eventi.pro", QByteArray(3 * kEventSize, '\0'));
        folder.write("Partecipanti.pro", participant("Solo"));
        folder.write("Posti_Riservati_Evento_3.pro", QByteArray(829, '\0'));

        const Result r = run(folder, {"restore", name, "--yes"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(folder.read("Eventi.pro"), events);
        QCOMPARE(folder.read("Partecipanti.pro"), participants);
        QVERIFY(!QFile::exists(folder.file("Posti_Riservati_Evento_3.pro")));
        QCOMPARE(backups(folder).size(), 2);
        const QString safety = backups(folder).last();
        QCOMPARE(folder.read("Backup/" + safety + "/Partecipanti.pro"), participant("Solo"));
        QCOMPARE(folder.read("Backup/" + safety + "/Posti_Riservati_Evento_3.pro"), QByteArray(829, '\0'));
        QCOMPARE(r.outText(), "Stato di prima salvato nella copia " + safety + " (" + folder.file("Backup/" + safety)
                                  + ").\nRipristinati dalla copia " + name
                                  + ":\n  Eventi.pro (7290 byte)\n  Partecipanti.pro (6744 byte)\n"
                                    "  unins000.dll (24 byte)\nTolti perch\u00E9 la copia non li ha: "
                                    "Posti_Riservati_Evento_3.pro.\nRipristino completato: 3 file.\n");
    }

    // Refused, nothing changes and no backup is made: without --yes and no
    // terminal to ask on; while a desk writes an archive.
    void restoreRefused_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("locked");
        QTest::addColumn<QString>("error");
        QTest::newRow("no terminal to ask on") << false << QString()
                                               << "ripristino non confermato: senza un terminale per chiederlo, "
                                                  "aggiungere --yes.";
        QTest::newRow("a desk writes") << true << "Partecipanti.pro"
                                       << "ripristino rifiutato: Partecipanti.pro è in uso da una postazione che "
                                          "vi sta scrivendo; chiudere Quorvane su tutte le postazioni e riprovare.";
    }
    void restoreRefused()
    {
        QFETCH(bool, yes);
        QFETCH(QString, locked);
        QFETCH(QString, error);
        TempProgramFolder folder;
        fill(folder);
        QCOMPARE(run(folder, {"backup"}).exit, 0);
        const QString name = backups(folder).first();
        folder.write("Eventi.pro", QByteArray(3 * kEventSize, '\0'));
        qv::ArchiveLock desk(folder.file(locked));
        QVERIFY(locked.isEmpty() || desk.acquire(0));
        QStringList args{"restore", name};
        if (yes)
            args << "--yes";
        const Result r = run(folder, args, "s\n");
        QCOMPARE(r.exit, 1);
        QCOMPARE(r.errText(), "quorvane-cli: " + error + '\n');
        QCOMPARE(folder.read("Eventi.pro"), QByteArray(3 * kEventSize, '\0'));
        QCOMPARE(backups(folder).size(), 1);
    }

    void wrongUse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown word") << QStringList{"backup", "fai"} << 2
                                      << "uso: quorvane-cli backup [list | verify [NOME]] [--to CARTELLA] (vedere "
                                         "quorvane-cli backup --help).";
        QTest::newRow("list with a name") << QStringList{"backup", "list", "x"} << 2
                                          << "uso: quorvane-cli backup [list | verify [NOME]] [--to CARTELLA] "
                                             "(vedere quorvane-cli backup --help).";
        QTest::newRow("restore without name") << QStringList{"restore"} << 2
                                              << "argomenti mancanti per il comando restore (vedere quorvane-cli "
                                                 "restore --help).";
        QTest::newRow("no such backup") << QStringList{"restore", "2001-01-01_000000", "--yes"} << 3
                                        << "non c'\u00E8 una copia di sicurezza \"2001-01-01_000000\" in %1.";
        QTest::newRow("verify, none") << QStringList{"backup", "verify"} << 3 << "nessuna copia di sicurezza in %1.";
    }
    void wrongUse()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, error);
        TempProgramFolder folder;
        fill(folder);
        const Result r = run(folder, args);
        QCOMPARE(r.exit, exit);
        QCOMPARE(r.errText(), "quorvane-cli: " + QString(error).replace("%1", folder.file("Backup")) + '\n');
    }

    void helpDescribesTheCommands()
    {
        const Result general = runCli({"--help"});
        QVERIFY(general.outText().contains("  backup [list | verify [NOME]] [--to CARTELLA]\n"));
        QVERIFY(general.outText().contains("  restore NOME [--yes]\n"));
        const Result restore = runCli({"restore", "--help"});
        QCOMPARE(restore.exit, 0);
        QVERIFY(restore.outText().contains("senza un terminale"));
        QVERIFY(runCli({"backup", "--help"}).outText().contains("Manifesto.txt"));
    }
};

QTEST_GUILESS_MAIN(TestCliBackup)
#include "tst_clibackup.moc"
