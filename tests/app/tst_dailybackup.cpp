#include "app/appwindows.h"
#include "app/dailybackup.h"
#include "password/passwordstore.h"
#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "backup/backup.h"
#include "backup/backupdesk.h"
#include "events/tfrmregistro.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace qv;
using qvtest::FixedClock;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

constexpr int kEventSize = 3645;
constexpr int kParticipantSize = 3372;

qulonglong inode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qulonglong(st.st_ino) : 0;
}

DailyBackup *dailyBackup()
{
    return windows().frmPassword->dailyBackup;
}

} // namespace

// The day's backup as the user meets it: started by the access, never in
// the way of the work.
class TestDailyBackup : public QObject
{
    Q_OBJECT
    TempProgramFolder *folder = nullptr;
    MessageRecorder *messages = nullptr;

    void login()
    {
        TfrmPassword *window = windows().frmPassword;
        window->txtPassword->setText(QStringLiteral("cartolinavespa"));
        window->cmdOKClick();
        QVERIFY(windows().frmAvvio->isVisible());
    }
    void waitForTheBackup() { QTRY_VERIFY_WITH_TIMEOUT(!dailyBackup()->isRunning(), 60000); }
    QStringList backups() const { return Backup::completeBackups(folder->file("Backup")); }

private slots:
    void init()
    {
        folder = new TempProgramFolder;
        messages = new MessageRecorder;
        PasswordStore::store(QStringLiteral("cartolinavespa"));
        folder->write("Eventi.pro", QByteArray(2 * kEventSize, '\0'));
        folder->write("Partecipanti.pro", QByteArray(3 * kParticipantSize, '\0'));
        createWindows();
        windows().frmPassword->show();
    }
    void cleanup()
    {
        destroyWindows();
        TArchivio::setLockTimeout(-1);
        delete messages;
        delete folder;
    }

    // Two accesses on one day make one backup, equal to the archives; the
    // next day's, after a card was saved, links every unchanged file.
    void oneBackupADay()
    {
        {
            FixedClock clock(QDateTime(QDate(2030, 2, 1), QTime(8, 0)));
            login();
            waitForTheBackup();
            login();
            QVERIFY(!dailyBackup()->isRunning()); // the day has its backup
        }
        QCOMPARE(backups(), QStringList{"2030-02-01_080000"});
        const QString first = folder->file("Backup/2030-02-01_080000/");
        for (const QString &name : {"Eventi.pro", "Partecipanti.pro", "unins000.dll"})
            QCOMPARE(folder->read("Backup/2030-02-01_080000/" + name), folder->read(name));
        QVERIFY(Backup::Verifier().verify(first).ok());

        {
            TArchivio events(folder->file("Eventi.pro"), kEventSize);
            events.Seek(1);
            QByteArray card(kEventSize, '\0');
            card.replace(0, 6, QByteArray("\x05" "Corso"));
            events.Write(card);
        }
        FixedClock clock(QDateTime(QDate(2030, 2, 2), QTime(8, 0)));
        login();
        waitForTheBackup();
        QCOMPARE(backups(), (QStringList{"2030-02-01_080000", "2030-02-02_080000"}));
        const QString second = folder->file("Backup/2030-02-02_080000/");
        QCOMPARE(folder->read("Backup/2030-02-02_080000/Eventi.pro"), folder->read("Eventi.pro"));
        QVERIFY(inode(second + "Eventi.pro") != inode(first + "Eventi.pro"));
        QCOMPARE(inode(second + "Partecipanti.pro"), inode(first + "Partecipanti.pro"));
        QCOMPARE(inode(second + "unins000.dll"), inode(first + "unins000.dll"));
        QCOMPARE(messages->count(), 0);
    }

    // A backup that cannot be finished leaves nothing, keeps the older ones
    // and is shown once, as a warning; the user goes on working.
    void failureIsShownOnceAndWorkGoesOn_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("full disk part-way") << true;
        QTest::newRow("no folder for the backups") << false;
    }
    void failureIsShownOnceAndWorkGoesOn()
    {
        QFETCH(bool, fullDisk);
        std::unique_ptr<qvtest::FileSizeLimit> limit;
        if (fullDisk) {
            FixedClock clock(QDateTime(QDate(2030, 2, 1), QTime(8, 0)));
            login();
            waitForTheBackup();
            folder->write("Partecipanti.pro", QByteArray(4 * kParticipantSize, '\0')); // copied anew
            limit = std::make_unique<qvtest::FileSizeLimit>(8 * 1024);
        } else {
            folder->write("Backup", "un file dove andrebbe la cartella");
        }
        const QStringList before = backups();
        {
            FixedClock clock(QDateTime(QDate(2030, 2, 2), QTime(8, 0)));
            login();
            waitForTheBackup();
        }
        limit.reset();
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Caution);
        QCOMPARE(messages->last().text, DailyBackup::kFailed);
        QCOMPARE(backups(), before);
        if (fullDisk) {
            QCOMPARE(QDir(folder->file("Backup")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     (QStringList{"2030-02-01_080000", "Backup.lock"}));
            QVERIFY(Backup::Verifier().verify(folder->file("Backup/2030-02-01_080000")).ok());
        }
        QVERIFY(!dailyBackup()->progressWindow());
        QTest::mouseClick(windows().frmAvvio->btnEventi, Qt::LeftButton);
        QVERIFY(windows().frmRegistro->isVisible());
        QCOMPARE(messages->count(), 1);
    }

    // A program folder on a read-only share: no backup is tried, and the
    // user is told once that backups are off there, not at every access.
    void readOnlyFolderSaysOnceThatBackupsAreOff()
    {
        qvtest::ReadOnly share(folder->path());
        if (!share.ok())
            QSKIP("this file system cannot make folders read-only");
        for (int day = 1; day <= 2; ++day) {
            FixedClock clock(QDateTime(QDate(2030, 2, day), QTime(8, 0)));
            login();
            QVERIFY(!dailyBackup()->isRunning());
        }
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, Backup::kBackupsOff);
        QVERIFY(!QFileInfo::exists(folder->file("Backup")));
    }

    // Held up by a desk's save, the backup shows its window after about a
    // second; hiding it leaves the backup running and the user working.
    void slowBackupShowsAWindowThatCanBeHidden()
    {
        TArchivio::setLockTimeout(60000);
        ArchiveLock desk(folder->file("Eventi.pro"));
        QVERIFY(desk.acquire(0));
        login();
        QVERIFY(dailyBackup()->isRunning());
        QVERIFY(!dailyBackup()->progressWindow()); // not at once
        QTRY_VERIFY_WITH_TIMEOUT(dailyBackup()->progressWindow() && dailyBackup()->progressWindow()->isVisible(),
                                 10000);
        TfrmCopiaSicurezza *window = dailyBackup()->progressWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral(" Quorvane - Copia di sicurezza"));
        QVERIFY(!window->isModal());
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window->cmdNascondi->text(), QStringLiteral("Nascondi"));
        QTest::mouseClick(window->cmdNascondi, Qt::LeftButton);
        QTRY_VERIFY(!dailyBackup()->progressWindow());
        QVERIFY(dailyBackup()->isRunning());

        QTest::mouseClick(windows().frmAvvio->btnEventi, Qt::LeftButton);
        QVERIFY(windows().frmRegistro->isVisible());
        desk.release();
        waitForTheBackup();
        QCOMPARE(backups().size(), 1);
        QCOMPARE(messages->count(), 0);
    }

    void turnedOffInTheIniFile()
    {
        folder->write("unins000.dll", folder->read("unins000.dll") + "[Backup]\r\nCopie=0\r\n");
        login();
        QVERIFY(!dailyBackup()->isRunning());
        QVERIFY(!QFile::exists(folder->file("Backup")));
    }

    // Closing the program stops a running backup: nothing of it is left and
    // nothing is shown.
    void closingStopsARunningBackup()
    {
        TArchivio::setLockTimeout(60000);
        ArchiveLock desk(folder->file("Partecipanti.pro"));
        QVERIFY(desk.acquire(0));
        login();
        QVERIFY(dailyBackup()->isRunning());
        destroyWindows();
        QCOMPARE(QDir(folder->file("Backup")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Backup.lock"});
        QCOMPARE(messages->count(), 0);
    }
};

QTEST_MAIN(TestDailyBackup)
#include "tst_dailybackup.moc"
