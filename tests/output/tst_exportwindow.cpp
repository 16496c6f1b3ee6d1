#include "archive/records.h"
#include "core/programfolder.h"
#include "events/tfrmexpregistro.h"
#include "frame/guide.h"
#include "output/exportformats.h"
#include "output/exportwindow.h"
#include "output/fixtures.h"
#include "output/spreadsheetdoc.h"
#include "participants/tfrmexpclienti.h"
#include "reservations/tfrmexpprenotazioni.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;
using qvtest::Values;

namespace {

const QString kYes = QString::fromUtf8("S\u00EC");

void writeParticipants()
{
    qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                         {{{"Cliente", " Rossi Mario "}, {"ComuneNasc", "Roma"}, {"ProvNasc", "RM"},
                           {"ComuneRes", "Milano"}, {"CapRes", "00100"}, {"Sesso", "M"}, {"CodFisc", "RSSMRA70A01H501U"},
                           {"PartitaIva", "0123456789"}, {"Carta", "0123456789012"}, {"TelCasa", "0612345"}},
                          {{"Cliente", QString::fromUtf8("Àlvarez Zoë")}, {"Estremi", "0,00"}, {"Note", "=1+1"}},
                          {{"Cliente", "R&D <1>"}, {"TelCel", "06 1234567"}}});
}

// The participants' file headings, as the file holds them.
qvtest::Headings participantHeadings()
{
    return {{"Cognome e nome", 250}, {"Data di nascita", 200}, {"Comune di nascita", 250},
            {"Recapito preferenziale", 250}, {"Indirizzo di residenza", 300}, {"Comune di residenza", 250},
            {"Modalit\xE0 di pagamento", 250}, {"Tel. casa", 250}, {"Tel. ufficio", 250}, {"Tel. cellulare", 250},
            {"Fax", 250}, {"E-mail", 250}, {"Codice fiscale", 250}, {"Partita IVA", 250},
            {"Carta di credito n.", 300}, {"Scadenza", 150}, {"IBAN", 300}, {"Estremi documento", 280},
            {"Occupazione", 250}, {"Stato civile", 250}, {"Titoli e qualifiche", 280},
            {"Prodotti e servizi di interesse", 300}, {"Zona di appartenenza", 250}, {"Questioni in sospeso", 300},
            {"Note", 300}};
}

// A data row of the participants' file: 25 cells, the named ones filled.
QList<QByteArray> participantRow(const QHash<int, QByteArray> &cells)
{
    QList<QByteArray> row(25);
    for (auto it = cells.begin(); it != cells.end(); ++it)
        row[it.key()] = it.value();
    return row;
}

QList<QList<QByteArray>> participantRows()
{
    return {participantRow({{0, "Rossi Mario"}, {2, "Roma RM"}, {5, "Milano"}, {7, "0612345"},
                            {12, "RSSMRA70A01H501U"}, {13, "0123456789"}, {14, "0123456789012"}}),
            participantRow({{0, "\xC0lvarez Zo\xEB"}, {6, "0,00"}, {24, "=1+1"}}),
            participantRow({{0, "R&amp;D &lt;1&gt;"}, {9, "06 1234567"}})};
}

void enter(QWidget *w)
{
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestExportWindow : public QObject
{
    Q_OBJECT
private slots:
    void windowAsLaidOut()
    {
        TempProgramFolder folder;
        TfrmExpClienti w;
        QCOMPARE(w.windowTitle(), " Esporta archivio partecipanti in Microsoft Excel");
        QCOMPARE(w.size(), QSize(862, 560));
        QCOMPARE(w.panInfo->text(), "Esportazione archivio in Microsoft Excel.");
        QCOMPARE(w.grdRecords->verticalHeader()->defaultSectionSize(), 21);
        QVERIFY(w.grdRecords->alternatingRowColors());
        QCOMPARE(w.grdRecords->columnWidth(0), 60);
        QCOMPARE(w.grdRecords->columnWidth(3), 250);
        QCOMPARE(w.grdRecords->columnWidth(2), 120);
        QVERIFY(w.icoHand->pixmap().toImage().width() > 0);

        enter(w.cmdEsporta);
        QCOMPARE(w.panInfo->text(), "Esporta l'archivio in formato Microsoft Excel.");
        enter(w.cmdGuida);
        QCOMPARE(w.panInfo->text(), "Visualizza la pagina della guida sensibile al contesto.");
        enter(w.cmdEsci);
        QCOMPARE(w.panInfo->text(), "Esci da questo ambiente di lavoro.");
        enter(w.grdRecords->viewport());
        QCOMPARE(w.panInfo->text(), QString());
    }

    void gridHoldsTheArchiveWhenShown()
    {
        TempProgramFolder folder;
        writeParticipants();
        TfrmExpClienti w;
        QCOMPARE(w.model()->rowCount(), 0);
        w.show();
        ExportModel *m = w.model();
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->columnCount(), 26);
        QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "N.");
        QCOMPARE(m->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Comune / Stato estero di nascita");
        QCOMPARE(m->cellText(0, 0), "1");
        QCOMPARE(m->cellText(2, 0), "3");
        QCOMPARE(m->cellText(0, 1), "Rossi Mario");
        QCOMPARE(m->cellText(0, 3), "Roma RM");
        // The blank before an empty province stays on screen.
        QCOMPARE(m->cellText(0, 6), "Milano ");
        QCOMPARE(m->cellText(1, 1), QString::fromUtf8("Àlvarez Zoë"));
        // Editable exactly where the layout says, "N." never.
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
        for (int c = 1; c < m->columnCount(); ++c)
            QCOMPARE(bool(m->flags(m->index(0, c)) & Qt::ItemIsEditable),
                     ExportLayouts::participants().columns.at(c - 1).editable);
    }

    void exportAnswers_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("opened");
        QTest::newRow("yes, yes") << QList<bool>{true, true} << 2 << true << true;
        QTest::newRow("yes, no") << QList<bool>{true, false} << 2 << true << false;
        QTest::newRow("no") << QList<bool>{false} << 1 << false << false;
    }
    void exportAnswers()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(int, questions);
        QFETCH(bool, written);
        QFETCH(bool, opened);
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        writeParticipants();
        const QByteArray archive = folder.read("Partecipanti.pro");
        TfrmExpClienti w;
        w.show();
        messages.answers = answers;
        w.cmdEsporta->click();

        QCOMPARE(messages.count(), questions);
        QCOMPARE(messages.messages.first().kind, MessageKind::Question);
        QCOMPARE(messages.messages.first().text,
                 QString::fromUtf8("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
                                   "numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"));
        if (questions > 1)
            QCOMPARE(messages.last().text, "Le schede in archivio sono state esportate con successo.\r\n\r\n"
                                           "Si vuole aprire il file di Excel?");
        QCOMPARE(QFileInfo::exists(folder.file("Partecipanti.xls")), written);
        if (written)
            QCOMPARE(qvtest::readFile(folder.file("Partecipanti.xls")),
                     qvtest::spreadsheetDocument("Riepilogo Partecipanti", participantHeadings(), participantRows()));
        QCOMPARE(shell.commands, opened ? QStringList{'"' + folder.file("Partecipanti.xls") + '"'} : QStringList{});
        QCOMPARE(folder.read("Partecipanti.pro"), archive);
        QVERIFY(w.isVisible());
    }

    void editedCellsGoToTheFileNotTheArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        writeParticipants();
        const QByteArray archive = folder.read("Partecipanti.pro");
        TfrmExpClienti w;
        w.show();
        ExportModel *m = w.model();
        QVERIFY(m->setData(m->index(0, 14), "  98765432109 ", Qt::EditRole));     // Partita IVA
        QVERIFY(!m->setData(m->index(0, 13), "XXXXXX", Qt::EditRole));            // Codice fiscale: read-only
        QVERIFY(m->setData(m->index(1, 25), QString::fromUtf8("Łódź ✓ €"), Qt::EditRole));
        // A value typed back as it was keeps nothing aside.
        QVERIFY(m->setData(m->index(2, 24), "x", Qt::EditRole));
        QVERIFY(m->setData(m->index(2, 24), "", Qt::EditRole));
        QCOMPARE(m->editedCount(), 2);

        // A cell still being typed into when the picture is clicked counts too.
        const QModelIndex occupation = m->index(2, 19);
        w.grdRecords->setCurrentIndex(occupation);
        w.grdRecords->edit(occupation);
        auto *editor = qobject_cast<QLineEdit *>(w.grdRecords->indexWidget(occupation));
        QVERIFY(editor);
        editor->setText("Ingegnere & co.");
        w.cmdEsporta->click();

        QList<QList<QByteArray>> rows = participantRows();
        rows[0][13] = "98765432109";
        rows[1][24] = "&#321;\xF3" "d&#378; &#10003; \x80";
        rows[2][18] = "Ingegnere &amp; co.";
        QCOMPARE(qvtest::readFile(folder.file("Partecipanti.xls")),
                 qvtest::spreadsheetDocument("Riepilogo Partecipanti", participantHeadings(), rows));
        QCOMPARE(folder.read("Partecipanti.pro"), archive);
        QCOMPARE(m->cellText(2, 19), "Ingegnere & co.");

        // Exporting again writes the same grid, edits included.
        w.cmdEsporta->click();
        QCOMPARE(qvtest::readFile(folder.file("Partecipanti.xls")),
                 qvtest::spreadsheetDocument("Riepilogo Partecipanti", participantHeadings(), rows));
    }

    // The grid, edits included, feeds the other formats as it feeds the .xls.
    void editedCellsGoIntoEveryFormat()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeParticipants();
        TfrmExpClienti w;
        w.show();
        ExportModel *m = w.model();
        QVERIFY(m->setData(m->index(0, 6), "Torino TO", Qt::EditRole));  // Comune di residenza
        QVERIFY(m->setData(m->index(1, 25), "nota; nuova", Qt::EditRole)); // Note
        const RowSource grid = [m](RowSink &sink) { m->writeRows(sink); };

        writeExport(ExportFormat::Csv, folder.file("p.csv"), w.config().layout, grid);
        const QList<QByteArray> lines = folder.read("p.csv").split('\n');
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines.at(1).startsWith("Rossi Mario;;Roma RM;;;Torino TO;;0612345;"), lines.at(1));
        QVERIFY2(lines.at(2).endsWith(";\"nota; nuova\"\r"), lines.at(2));

        writeExport(ExportFormat::Vcf, folder.file("p.vcf"), w.config().layout, grid);
        const QByteArray vcf = folder.read("p.vcf");
        QVERIFY2(vcf.contains("\r\nADR;TYPE=home:;;;Torino;TO;;\r\n"), vcf);
        QVERIFY2(vcf.contains("\r\nNOTE:nota\\; nuova\r\n"), vcf);

        TfrmExpRegistro events;
        qvtest::writeRecords(TSchedaEvento::archivePath(), qvtest::eventFields(),
                             {{{"Titolo", "Convegno"}, {"DataInizio", "01/03/2025"}, {"OraInizio", "09:30"},
                               {"OraFine", "13:00"}}});
        events.show();
        ExportModel *e = events.model();
        QVERIFY(e->setData(e->index(0, 5), "Data: 01/03/2025 - Ora: 10.15", Qt::EditRole)); // Inizio
        writeExport(ExportFormat::Ics, folder.file("e.ics"), events.config().layout,
                    [e](RowSink &sink) { e->writeRows(sink); });
        const QByteArray ics = folder.read("e.ics");
        QVERIFY2(ics.contains("\r\nUID:evento-1@quorvane\r\n"), ics);
        QVERIFY2(ics.contains("\r\nDTSTART;TZID=Europe/Rome:20250301T101500\r\n"), ics);
        QVERIFY2(ics.contains("\r\nDTEND;TZID=Europe/Rome:20250301T130000\r\n"), ics);
    }

    void emptyArchiveGivesTheHeadingRowOnly()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        TfrmExpClienti w;
        w.show();
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(QFileInfo::exists(folder.file("Partecipanti.pro")));
        QCOMPARE(QFileInfo(folder.file("Partecipanti.pro")).size(), 0);
        w.cmdEsporta->click();
        QCOMPARE(qvtest::readFile(folder.file("Partecipanti.xls")),
                 qvtest::spreadsheetDocument("Riepilogo Partecipanti", participantHeadings(), {}));
    }

    void failureIsReportedAndOldFileStays()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        writeParticipants();
        // Something in the way that cannot be replaced by a file.
        QVERIFY(QDir(folder.path()).mkpath("Partecipanti.xls/dentro"));
        TfrmExpClienti w;
        w.show();
        w.cmdEsporta->click();
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().kind, MessageKind::Plain);
        QCOMPARE(messages.last().text, QString::fromUtf8("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                                         "Accertarsi che il file di Excel non sia già aperto."));
        QVERIFY(shell.commands.isEmpty());
        QVERIFY(QFileInfo(folder.file("Partecipanti.xls/dentro")).isDir());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Partecipanti.pro"});
        QVERIFY(w.isVisible());
    }

    // A folder where the archive should be: the grid cannot hold the archive,
    // so the access message is shown and the export refused, leaving the
    // previous export as it was.
    void unreadableArchiveRefusesTheExport_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("exported");
        QTest::newRow("events") << "events" << "Eventi.pro" << "Riepilogo_Eventi.xls";
        QTest::newRow("participants") << "participants" << "Partecipanti.pro" << "Partecipanti.xls";
        QTest::newRow("reservations") << "reservations" << TSchedaPrenotazione::archiveName(5) << "Prenotazioni_Posti.xls";
    }
    void unreadableArchiveRefusesTheExport()
    {
        QFETCH(QString, window);
        QFETCH(QString, archive);
        QFETCH(QString, exported);
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        folder.write(exported, "a good export of yesterday");
        QVERIFY(QDir(folder.path()).mkdir(archive));
        const ExportWindowConfig config = window == "events"         ? TfrmExpRegistro::configuration()
                                          : window == "participants" ? TfrmExpClienti::configuration()
                                                                     : TfrmExpPrenotazioni::configuration(folder.file(archive));
        ExportWindow w(config);
        w.show();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(w.model()->rowCount(), 0);
        messages.answers = {true, true};
        w.cmdEsporta->click();
        QCOMPARE(messages.count(), 2); // no question: the access message again
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(folder.read(exported), QByteArray("a good export of yesterday"));
        QVERIFY(shell.commands.isEmpty());
    }

    void reservationsGridIsReadOnlyOverTheNamedArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        qvtest::writeRecords(TSchedaPrenotazione::archivePath(5), qvtest::reservationFields(),
                             {{{"Cliente", "Verdi Luca"}, {"CapRes", "00100"}, {"Posto", "7"}, {"Numero", "00007"},
                               {"DaConfermare", kYes}},
                              {{"Cliente", "Neri Anna"}, {"Posto", "A12"}, {"DaConfermare", "No"}}});
        // The card's lblFile, as it holds the name.
        TfrmExpPrenotazioni w(" " + TSchedaPrenotazione::archivePath(5) + " ");
        QCOMPARE(w.windowTitle(), " Esporta archivio prenotazioni in Microsoft Excel");
        w.show();
        ExportModel *m = w.model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->columnCount(), 14);
        for (int c = 0; c < m->columnCount(); ++c)
            QVERIFY(!(m->flags(m->index(0, c)) & Qt::ItemIsEditable));
        QCOMPARE(m->cellText(0, 5), "00100");
        QCOMPARE(m->cellText(1, 10), "A12");
        QCOMPARE(m->cellText(0, 13), kYes);
        w.cmdEsporta->click();
        const QByteArray file = qvtest::readFile(folder.file("Prenotazioni_Posti.xls"));
        QVERIFY(file.contains("<x:Name>Prenotazioni Posti</x:Name>"));
        QVERIFY(file.contains(">Posto n.</td>"));
        QVERIFY(file.contains("sdnum=\"1040;0;@\">00100</td>"));
        QVERIFY(file.contains(">S\xEC</td></tr>"));
        QVERIFY(!file.contains("00007"));
        QCOMPARE(shell.commands, QStringList{'"' + folder.file("Prenotazioni_Posti.xls") + '"'});
    }

    void entryPointsOpenTheirWindow_data()
    {
        QTest::addColumn<bool>("participants");
        QTest::addColumn<QString>("objectName");
        QTest::newRow("participants") << true << "frmExpClienti";
        QTest::newRow("reservations") << false << "frmExpPrenotazioni";
    }
    void entryPointsOpenTheirWindow()
    {
        QFETCH(bool, participants);
        QFETCH(QString, objectName);
        TempProgramFolder folder;
        QWidget owner;
        QString seen;
        int rows = -1;
        qvtest::whenModal([&](QWidget *dialog) {
            seen = dialog->objectName();
            if (auto *w = qobject_cast<ExportWindow *>(dialog))
                rows = w->model()->rowCount();
            QCOMPARE(dialog->parentWidget(), &owner);
        });
        if (participants)
            openParticipantsExport(&owner);
        else
            openReservationsExport(&owner, TSchedaPrenotazione::archivePath(2));
        QCOMPARE(seen, objectName);
        QCOMPARE(rows, 0);
        QVERIFY(!owner.findChild<ExportWindow *>());
        if (!participants)
            QVERIFY(QFileInfo::exists(TSchedaPrenotazione::archivePath(2)));
    }

    void guidePictureOpensItsTopic_data()
    {
        QTest::addColumn<bool>("participants");
        QTest::addColumn<QString>("title");
        QTest::newRow("participants") << true << "Esportazione archivio partecipanti in Microsoft Excel.";
        QTest::newRow("reservations") << false << "Esportazione archivio prenotazioni in Microsoft Excel.";
    }
    void guidePictureOpensItsTopic()
    {
        QFETCH(bool, participants);
        QFETCH(QString, title);
        TempProgramFolder folder;
        std::unique_ptr<ExportWindow> w(participants ? static_cast<ExportWindow *>(new TfrmExpClienti)
                                                     : new TfrmExpPrenotazioni(TSchedaPrenotazione::archivePath(1)));
        QString seen;
        qvtest::whenModal([&](QWidget *dialog) {
            if (auto *guide = qobject_cast<TfrmGuida *>(dialog))
                seen = guide->lblTitolo->text();
        });
        w->cmdGuida->click();
        QCOMPARE(seen, title);
    }

    void exitPictureCloses()
    {
        TempProgramFolder folder;
        TfrmExpClienti w;
        w.show();
        w.cmdEsci->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestExportWindow)
#include "tst_exportwindow.moc"
