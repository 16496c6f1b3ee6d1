// The backups window as a clerk uses it: the list, a verify, a backup made
// now, a restore asked first and refused while a desk writes, the settings.
#include "app/tfrmavvio.h"
#include "app/tfrmcopie.h"
#include "archive/archivelock.h"
#include "archive/tarchivio.h"
#include "backup/backup.h"
#include "backup/backupdesk.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using qvtest::FixedClock;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

constexpr int kEventSize = 3645;
constexpr int kAttendanceSize = 40;

QString state(const TfrmCopie &w, int row)
{
    return w.lstCopie->topLevelItem(row)->text(TfrmCopie::kStateColumn);
}

} // namespace

class TestCopie : public QObject
{
    Q_OBJECT
    TempProgramFolder *folder = nullptr;
    MessageRecorder *messages = nullptr;

private slots:
    void init()
    {
        folder = new TempProgramFolder;
        messages = new MessageRecorder;
        folder->write("unins000.dll", "[Accesso]\r\nValore=41\r\n");
        folder->write("Eventi.pro", QByteArray(2 * kEventSize, '\0'));
        FixedClock clock(QDateTime(QDate(2030, 2, 1), QTime(8, 0)));
        Backup::make(Backup::requestNow());
    }
    void cleanup()
    {
        TArchivio::setLockTimeout(-1);
        delete messages;
        delete folder;
    }

    void reachedFromTheMainMenu()
    {
        TfrmAvvio menu;
        QCOMPARE(menu.imgCopie->accessibleName(), QStringLiteral("Copie di sicurezza"));
        bool opened = false;
        qvtest::whenModal([&](QWidget *dialog) { opened = dialog->objectName() == "frmCopie"; });
        menu.imgCopie->click();
        QVERIFY(opened);
    }

    void listsVerifiesAndMakesBackups()
    {
        FixedClock clock(QDateTime(QDate(2030, 2, 2), QTime(9, 0)));
        TfrmCopie w;
        QCOMPARE(w.lstCopie->topLevelItemCount(), 1);
        QCOMPARE(w.lstCopie->topLevelItem(0)->text(0), QStringLiteral("01/02/2030 08:00:00"));
        QCOMPARE(state(w, 0), QStringLiteral("da verificare"));
        QVERIFY(!w.lstCopie->topLevelItem(0)->text(1).isEmpty());
        QTest::mouseClick(w.cmdVerifica, Qt::LeftButton);
        QCOMPARE(state(w, 0), QStringLiteral("integra"));

        // Damaged since: said so, with the file.
        folder->write("Backup/2030-02-01_080000/Eventi.pro", QByteArray(2 * kEventSize, 'x'));
        QTest::mouseClick(w.cmdVerifica, Qt::LeftButton);
        QCOMPARE(state(w, 0), QStringLiteral("danneggiata"));
        QVERIFY(w.txtResoconto->toPlainText().contains("Eventi.pro"));

        QTest::mouseClick(w.cmdCrea, Qt::LeftButton);
        QCOMPARE(w.lstCopie->topLevelItemCount(), 2);
        QCOMPARE(w.lstCopie->topLevelItem(0)->text(0), QStringLiteral("02/02/2030 09:00:00"));
        QCOMPARE(state(w, 0), QStringLiteral("integra"));
        QCOMPARE(messages->count(), 0);
        for (QWidget *control : std::initializer_list<QWidget *>{w.lstCopie, w.cmdCrea, w.cmdVerifica, w.cmdRipristina,
                                                                 w.txtCopieConservate, w.chkAllegati})
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }

    // Asked first, in plain words; refused while a desk writes, naming the
    // archive; done only on Yes.
    void restoreIsAskedAndRefusedWhileADeskWrites()
    {
        FixedClock clock(QDateTime(QDate(2030, 2, 2), QTime(9, 0)));
        folder->write("Presenze_Evento_1.pro", QByteArray(6 * kAttendanceSize, '\0'));
        const QByteArray events = QByteArray(3 * kEventSize, '\0');
        folder->write("Eventi.pro", events);
        TfrmCopie w;
        {
            ArchiveLock desk(folder->file("Eventi.pro"));
            QVERIFY(desk.acquire(0));
            QTest::mouseClick(w.cmdRipristina, Qt::LeftButton);
            QCOMPARE(messages->count(), 1);
            QCOMPARE(messages->last().kind, MessageKind::Plain);
            QVERIFY(messages->last().text.contains("Eventi.pro"));
        }
        messages->clear();
        messages->answers = {false};
        QTest::mouseClick(w.cmdRipristina, Qt::LeftButton);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Question);
        QVERIFY(messages->last().text.contains("le presenze registrate dopo questa copia saranno tolte: 6"));
        QVERIFY(messages->last().text.contains("gli eventi aggiunti dopo questa copia saranno tolti: 1"));
        QCOMPARE(folder->read("Eventi.pro"), events);

        messages->clear();
        messages->answers = {true};
        QTest::mouseClick(w.cmdRipristina, Qt::LeftButton);
        QCOMPARE(messages->count(), 2);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(folder->read("Eventi.pro").size(), 2 * kEventSize);
        QVERIFY(!QFile::exists(folder->file("Presenze_Evento_1.pro")));
        QCOMPARE(w.lstCopie->topLevelItemCount(), 2); // the state before, kept
        QVERIFY(w.txtResoconto->toPlainText().contains("le presenze registrate dopo questa copia saranno tolte: 6"));
    }

    void settingsAreSaved()
    {
        TfrmCopie w;
        QCOMPARE(w.txtCopieConservate->value(), Backup::kDefaultCopies);
        w.txtCopieConservate->setValue(5);
        w.chkAllegati->setChecked(true);
        QTest::mouseClick(w.cmdSalvaImpostazioni, Qt::LeftButton);
        QCOMPARE(Backup::readSettings().copies, 5);
        QVERIFY(Backup::readSettings().attachments);
    }

    void readOnlyFolderSaysBackupsAreOff()
    {
        qvtest::ReadOnly share(folder->path());
        if (!share.ok())
            QSKIP("this file system cannot make folders read-only");
        qvtest::ReadOnly backups(folder->file("Backup"));
        if (!backups.ok())
            QSKIP("this file system cannot make folders read-only");
        TfrmCopie w;
        QVERIFY(!w.cmdCrea->isEnabled());
        QVERIFY(!w.cmdRipristina->isEnabled());
        QVERIFY(w.cmdVerifica->isEnabled());
        QCOMPARE(w.txtResoconto->toPlainText(), Backup::kBackupsOff);
    }
};

QTEST_MAIN(TestCopie)
#include "tst_copie.moc"
