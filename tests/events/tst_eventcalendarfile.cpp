// The event card's "Calendario" picture: the event as saved, into a calendar
// file in the program folder handed to the opener.
#include "archive/records.h"
#include "events/tfrmregistro.h"
#include "output/exchangereaders.h"
#include "output/fixtures.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

namespace {

void writeEvents()
{
    qvtest::writeRecords(TSchedaEvento::archivePath(), qvtest::eventFields(),
                         {{{"Titolo", "Corso base"}, {"DataInizio", "02/02/2030"}, {"DataSca", "01/02/2030"}},
                          {{"Titolo", "Convegno di primavera"},
                           {"DataInizio", "12/03/2030"},
                           {"OraInizio", "09:30"},
                           {"DataFine", "12/03/2030"},
                           {"OraFine", "18.00"},
                           {"Sede", "Aula Magna"},
                           {"Indirizzo", QString::fromUtf8("Via Roma 1, Forlì")},
                           {"Relatori", "Prof. Bianchi"},
                           {"DataSca", "01/03/2030"}},
                          {{"Titolo", "Da fissare"}, {"DataInizio", "in primavera"}}});
}

} // namespace

class TestEventCalendarFile : public QObject
{
    Q_OBJECT
private slots:
    void calendarPicture_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message"); // empty: none
        QTest::addColumn<int>("kind");
        QTest::newRow("saved card") << "saved" << QString() << -1;
        QTest::newRow("new card") << "new" << TfrmRegistro::kCalendarUnsaved << int(MessageKind::Caution);
        QTest::newRow("no start date") << "undated" << TfrmRegistro::kCalendarNoStart << int(MessageKind::Caution);
        QTest::newRow("folder in the way") << "blocked" << TfrmRegistro::kCalendarFailed << int(MessageKind::Plain);
        QTest::newRow("archive gone") << "gone" << Messages::kArchiveAccess << int(MessageKind::Failure);
    }
    void calendarPicture()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        QFETCH(int, kind);
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        writeEvents();
        TfrmRegistro card;
        card.show();
        if (situation == "undated") {
            card.cmdUltimoClick();
        } else if (situation != "new") {
            card.cmdPrimoClick();
            card.cmdAvantiClick();
            QCOMPARE(card.lblPosizione->text(), "2");
        }
        // What the card shows but has not saved stays out of the calendar.
        card.txtTitolo->setText("Titolo non ancora salvato");
        if (situation == "blocked")
            QVERIFY(QDir(folder.path()).mkpath("Evento_2.ics/dentro"));
        if (situation == "gone") {
            QVERIFY(QFile::remove(TSchedaEvento::archivePath()));
            QVERIFY(QDir(folder.path()).mkdir("Eventi.pro"));
        }
        const QByteArray archive = folder.read("Eventi.pro");
        messages.clear();
        card.cmdCalendario->click();

        if (message.isEmpty()) {
            QCOMPARE(messages.count(), 0);
        } else {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(int(messages.last().kind), kind);
            QCOMPARE(messages.last().text, message);
            QVERIFY(shell.commands.isEmpty());
            QCOMPARE(card.txtTitolo->text(), "Titolo non ancora salvato");
            if (situation == "new" || situation == "gone")
                QVERIFY(QDir(folder.path()).entryList({"*.ics"}).isEmpty());
            if (situation == "blocked")
                QVERIFY(QFileInfo(folder.file("Evento_2.ics/dentro")).isDir());
            return;
        }
        QCOMPARE(shell.commands, QStringList{'"' + folder.file("Evento_2.ics") + '"'});
        const QList<QList<qvtest::ContentLine>> events =
            qvtest::components(folder.read("Evento_2.ics"), "VEVENT");
        QCOMPARE(events.size(), 1);
        const auto value = [&](const char *name) {
            const qvtest::ContentLine *line = qvtest::property(events.first(), name);
            return line ? qvtest::unescaped(line->raw) : QString();
        };
        QCOMPARE(value("UID"), "evento-2@quorvane");
        QCOMPARE(value("SUMMARY"), "Convegno di primavera");
        QCOMPARE(qvtest::property(events.first(), "DTSTART")->parameters.value("TZID"), "Europe/Rome");
        QCOMPARE(value("DTSTART"), "20300312T093000");
        QCOMPARE(value("DTEND"), "20300312T180000");
        QVERIFY(value("LOCATION").startsWith("Aula Magna"));
        QVERIFY(value("LOCATION").contains(QString::fromUtf8("Via Roma 1, Forlì")));
        QVERIFY(value("DESCRIPTION").contains("Prof. Bianchi"));
        QCOMPARE(folder.read("Eventi.pro"), archive);
        QCOMPARE(card.txtTitolo->text(), "Titolo non ancora salvato");
    }

    // Written, but no program to open it: the user is told where it is.
    void calendarWithoutProgram()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        shell.opens = false;
        writeEvents();
        TfrmRegistro card;
        card.show();
        card.cmdPrimoClick();
        card.cmdCalendario->click();
        QCOMPARE(shell.commands, QStringList{'"' + folder.file("Evento_1.ics") + '"'});
        QVERIFY(QFileInfo(folder.file("Evento_1.ics")).isFile());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(messages.last().text.startsWith(
            QStringLiteral("Attenzione: non \u00E8 stato possibile avviare il programma che apre il file.")));
        QVERIFY(messages.last().text.contains(QDir::toNativeSeparators(folder.file("Evento_1.ics"))));
    }

    void pictureBesidePrint()
    {
        TempProgramFolder folder;
        TfrmRegistro card;
        card.setWindowState(Qt::WindowNoState);
        card.resize(1280, 720);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        const int print = card.cmdStampa->mapTo(&card, QPoint(0, 0)).x();
        const int calendar = card.cmdCalendario->mapTo(&card, QPoint(0, 0)).x();
        QVERIFY(calendar > print);
        QVERIFY(calendar - print <= card.cmdStampa->width() + 8);
        QVERIFY(!card.cmdCalendario->icon().isNull());
        QCOMPARE(card.cmdCalendario->toolTip(), QString::fromUtf8("Aggiunge l'evento corrente, come è salvato in "
                                                                  "archivio, al proprio calendario. (Ctrl+Maiusc+C)"));
    }
};

QTEST_MAIN(TestEventCalendarFile)
#include "tst_eventcalendarfile.moc"
