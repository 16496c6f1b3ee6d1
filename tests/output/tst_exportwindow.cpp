#include "archive/records.h"
#include "core/programfolder.h"
#include "events/tfrmexpregistro.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "output/exportformats.h"
#include "output/exchangereaders.h"
#include "output/exportwindow.h"
#include "output/fixtures.h"
#include "output/spreadsheetdoc.h"
#include "participants/tfrmexpclienti.h"
#include "reservations/tfrmexpprenotazioni.h"
#include "support/testsupport.h"
#include "ui/access.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;
using qvtest::Values;

Q_DECLARE_METATYPE(qv::ExportFormat)

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

// A small archive for each export, its path; the first record's notes
// (events, participants) read "nota originale".
QString writeSample(const QString &window)
{
    if (window == "events") {
        qvtest::writeRecords(TSchedaEvento::archivePath(), qvtest::eventFields(),
                             {{{"Titolo", "Convegno di primavera"}, {"DataInizio", "01/03/2025"}, {"OraInizio", "09:30"},
                               {"OraFine", "13:00"}, {"Sede", "Aula Magna"}, {"Note", "nota originale"}},
                              {{"Titolo", "Corso d'autunno"}, {"DataInizio", "10/10/2025"}}});
        return TSchedaEvento::archivePath();
    }
    if (window == "participants") {
        qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                             {{{"Cliente", "Rossi Mario"}, {"TelCel", "333 1234567"}, {"Note", "nota originale"}},
                              {{"Cliente", QString::fromUtf8("Àlvarez Zoë")}, {"Email", "zoe@example.it"}}});
        return TSchedaPartecipante::archivePath();
    }
    qvtest::writeRecords(TSchedaPrenotazione::archivePath(5), qvtest::reservationFields(),
                         {{{"Cliente", "Verdi Luca"}, {"Posto", "A12"}, {"DaConfermare", "No"}}});
    return TSchedaPrenotazione::archivePath(5);
}

// The first record's name or title, as every format holds it.
QString sampleName(const QString &window)
{
    return window == "events" ? "Convegno di primavera" : window == "participants" ? "Rossi Mario" : "Verdi Luca";
}

ExportWindowConfig configOf(const QString &window, const QString &archive)
{
    return window == "events"         ? TfrmExpRegistro::configuration()
           : window == "participants" ? TfrmExpClienti::configuration()
                                      : TfrmExpPrenotazioni::configuration(archive);
}

const ExportLayout &layoutOf(const QString &window)
{
    return window == "events"         ? ExportLayouts::events()
           : window == "participants" ? ExportLayouts::participants()
                                      : ExportLayouts::reservations();
}

// The grid column of the notes, which the user may correct; none in the
// read-only grid of the bookings.
int notesColumn(const QString &window)
{
    return window == "events" ? 21 : window == "participants" ? 25 : -1;
}

// What a file is, told from its bytes alone.
std::optional<ExportFormat> formatOfFile(const QByteArray &bytes)
{
    if (bytes.startsWith("<html"))
        return ExportFormat::Xls;
    if (bytes.startsWith("PK\x03\x04"))
        return ExportFormat::Xlsx;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return ExportFormat::Csv;
    if (bytes.startsWith("BEGIN:VCALENDAR\r\n"))
        return ExportFormat::Ics;
    if (bytes.startsWith("BEGIN:VCARD\r\n"))
        return ExportFormat::Vcf;
    return std::nullopt;
}

// The texts a file holds, as a reader of its format sees them.
QString textsOf(const QString &path)
{
    const QByteArray bytes = qvtest::readFile(path);
    switch (formatOfFile(bytes).value_or(ExportFormat::Csv)) {
    case ExportFormat::Xls:
        return QStringDecoder("windows-1252").decode(bytes);
    case ExportFormat::Xlsx: {
        QString all;
        for (const qvtest::SheetCell &cell : qvtest::sheetCells(qvtest::zipMember(path, "xl/worksheets/sheet1.xml")))
            all += cell.text + '\n';
        return all + QString::fromUtf8(qvtest::zipMember(path, "xl/sharedStrings.xml"));
    }
    case ExportFormat::Ics:
    case ExportFormat::Vcf: {
        QString all;
        for (const qvtest::ContentLine &line : qvtest::contentLines(bytes))
            all += qvtest::unescaped(line.raw) + '\n';
        return all;
    }
    case ExportFormat::Csv:
        break;
    }
    return QString::fromUtf8(bytes);
}

// What a "Salva come..." test works with: the program folder, the message
// boxes, the opener and the file dialogs answered, and a folder of the
// user's own.
struct SaveAsDesk
{
    TempProgramFolder folder;
    MessageRecorder messages;
    ShellRecorder shell;
    qvtest::FileChooserAnswer chooser;
    QTemporaryDir elsewhere;
};

// Types into a cell of the grid, leaving its editor open.
void typeInto(ExportWindow &w, int row, int column, const QString &text)
{
    const QModelIndex index = w.model()->index(row, column);
    w.grdRecords->setCurrentIndex(index);
    w.grdRecords->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(w.grdRecords->indexWidget(index));
    QVERIFY(editor);
    editor->setText(text);
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
        enter(w.cmdSalvaCome);
        QCOMPARE(w.panInfo->text(), "Salva i dati della griglia in un file, scegliendone nome, cartella e formato.");
        QCOMPARE(w.cmdSalvaCome->text(), "Salva come...");
        QCOMPARE(w.cmdSalvaCome->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(w.cmdSalvaCome->accessibleName(), "Salva come...");
        QVERIFY(!w.cmdSalvaCome->icon().isNull());
        w.show(); // laid out: the picture right of the export picture
        // The caption whole, on two lines where the pictures leave too little room.
        auto *heading = w.findChild<QLabel *>("lblIntestazione");
        QVERIFY(heading);
        if (heading->wordWrap())
            QVERIFY(heading->height() >= heading->heightForWidth(heading->width()));
        else
            QVERIFY(heading->width() >= heading->sizeHint().width());
        for (const QString &word : heading->text().split(' '))
            QVERIFY(heading->width() >= heading->fontMetrics().horizontalAdvance(word));
        QVERIFY(w.cmdSalvaCome->mapTo(&w, QPoint(0, 0)).x() > w.cmdEsporta->mapTo(&w, QPoint(0, 0)).x());
        QCOMPARE(w.cmdSalvaCome->toolTip(), "Salva come... (Ctrl+Maiusc+S)");
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
        // The edited town goes into the town's and the province's columns.
        QVERIFY2(lines.at(1).startsWith("Rossi Mario;;Roma;RM;;;Torino;TO;;0612345;"), lines.at(1));
        QVERIFY2(lines.at(2).endsWith(";\"nota; nuova\"\r"), lines.at(2));

        writeExport(ExportFormat::Vcf, folder.file("p.vcf"), w.config().layout, grid);
        const QByteArray vcf = folder.read("p.vcf");
        QVERIFY2(vcf.contains("\r\nADR;TYPE=home:;;;Torino;TO;;\r\n"), vcf);
        QVERIFY2(vcf.contains("\r\nNOTE:nota; nuova\r\n"), vcf);

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
        // "Salva come..." likewise, before any file is chosen.
        qvtest::FileChooserAnswer chooser;
        chooser.save = folder.file("altrove.xlsx");
        w.cmdSalvaCome->click();
        QCOMPARE(messages.count(), 3);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(chooser.saved, 0);
        QVERIFY(!QFileInfo::exists(chooser.save));
        QVERIFY(shell.commands.isEmpty());
    }

    // "Salva come..." from each export window, in each format it offers: the
    // grid as shown (a cell still being typed into included) in the file and
    // format chosen, offered to the opener; the archive and the program
    // folder untouched.
    void saveAsEveryFormat_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<ExportFormat>("format");
        for (const char *window : {"events", "participants", "reservations"})
            for (const ExportFormat format : exportFormats(layoutOf(window)))
                QTest::newRow(qPrintable(QString("%1 %2").arg(window, formatSuffix(format)))) << QString(window)
                                                                                                << format;
    }
    void saveAsEveryFormat()
    {
        QFETCH(QString, window);
        QFETCH(ExportFormat, format);
        SaveAsDesk desk;
        const QString archive = writeSample(window);
        const QByteArray before = qvtest::readFile(archive);
        const QStringList folderBefore = QDir(desk.folder.path()).entryList(QDir::Files);
        ExportWindow w(configOf(window, archive));
        w.show();
        const int notes = notesColumn(window);
        if (notes > 0)
            typeInto(w, 0, notes, "Corretta in griglia");
        const QString path = desk.elsewhere.filePath("Elenco del giorno." + formatSuffix(format));
        desk.chooser.save = path;
        desk.chooser.filter = formatFilter(format);
        desk.messages.answers = {true};
        w.cmdSalvaCome->click();

        QCOMPARE(desk.chooser.saved, 1);
        QCOMPARE(desk.chooser.title, "Salvare i dati della griglia con nome:");
        QStringList offered;
        for (const ExportFormat f : exportFormats(layoutOf(window)))
            offered << formatFilter(f);
        QCOMPARE(desk.chooser.filters, offered);
        QCOMPARE(desk.chooser.selected, "Cartella di lavoro di Excel (*.xlsx)");
        QCOMPARE(QFileInfo(desk.chooser.suggested).fileName(), exportFileName(layoutOf(window), ExportFormat::Xlsx));
        QCOMPARE(desk.messages.count(), 1);
        QCOMPARE(desk.messages.last().kind, MessageKind::Question);
        QCOMPARE(desk.messages.last().text, "Le schede in archivio sono state salvate con successo nel file "
                                           + QDir::toNativeSeparators(path) + ".\r\n\r\nSi vuole aprire il file?");
        QCOMPARE(desk.shell.commands, QStringList{'"' + path + '"'});
        QCOMPARE(formatOfFile(qvtest::readFile(path)), std::optional<ExportFormat>(format));
        const QString texts = textsOf(path);
        QVERIFY2(texts.contains(sampleName(window)), qPrintable(texts));
        if (notes > 0) {
            QVERIFY2(texts.contains("Corretta in griglia"), qPrintable(texts));
            QVERIFY(!texts.contains("nota originale"));
            QCOMPARE(w.model()->cellText(0, notes), "Corretta in griglia");
        }
        QCOMPARE(qvtest::readFile(archive), before);
        QCOMPARE(QDir(desk.folder.path()).entryList(QDir::Files), folderBefore);
        QCOMPARE(QDir(desk.elsewhere.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
    }

    // The filter chosen decides the format, unless the name typed ends with
    // the suffix of a format the export offers; a name without one gets the
    // filter's.
    void saveAsFormatFromFilterOrSuffix_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<ExportFormat>("format");
        const auto filter = [](ExportFormat f) { return formatFilter(f); };
        QTest::newRow("filter") << filter(ExportFormat::Csv) << "Elenco" << "Elenco.csv" << ExportFormat::Csv;
        QTest::newRow("typed suffix") << filter(ExportFormat::Xlsx) << "Elenco.csv" << "Elenco.csv"
                                      << ExportFormat::Csv;
        QTest::newRow("upper case") << filter(ExportFormat::Xls) << "ELENCO.VCF" << "ELENCO.VCF" << ExportFormat::Vcf;
        QTest::newRow("unknown suffix") << filter(ExportFormat::Xlsx) << "Elenco.2024" << "Elenco.2024.xlsx"
                                        << ExportFormat::Xlsx;
        QTest::newRow("not offered here") << filter(ExportFormat::Csv) << "Elenco.ics" << "Elenco.ics.csv"
                                          << ExportFormat::Csv;
        QTest::newRow("trailing dot") << filter(ExportFormat::Vcf) << "Elenco." << "Elenco.vcf" << ExportFormat::Vcf;
    }
    void saveAsFormatFromFilterOrSuffix()
    {
        QFETCH(QString, filter);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(ExportFormat, format);
        SaveAsDesk desk;
        writeSample("participants");
        TfrmExpClienti w;
        w.show();
        desk.chooser.save = desk.elsewhere.filePath(typed);
        desk.chooser.filter = filter;
        desk.messages.answers = {false};
        w.cmdSalvaCome->click();
        QCOMPARE(QDir(desk.elsewhere.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(formatOfFile(qvtest::readFile(desk.elsewhere.filePath(written))), std::optional<ExportFormat>(format));
        QCOMPARE(desk.messages.count(), 1);
        QVERIFY(desk.messages.last().text.contains(QDir::toNativeSeparators(desk.elsewhere.filePath(written)) + "."));
        QVERIFY(desk.shell.commands.isEmpty());
    }

    // A suffix added to the name chosen was never shown in the dialog, which
    // asked about the name without it: a file of that name is replaced only
    // when the user says so.
    void saveAsAsksBeforeReplacingAFileItNamed()
    {
        SaveAsDesk desk;
        writeSample("participants");
        const QString existing = desk.elsewhere.filePath("Elenco.2024.xlsx");
        {
            QFile f(existing);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("vecchio");
        }
        TfrmExpClienti w;
        w.show();
        desk.chooser.save = desk.elsewhere.filePath("Elenco.2024");
        desk.chooser.filter = formatFilter(ExportFormat::Xlsx);
        desk.messages.answers = {false};
        w.cmdSalvaCome->click();
        QCOMPARE(desk.messages.count(), 1);
        QCOMPARE(desk.messages.last().kind, MessageKind::Question);
        QCOMPARE(desk.messages.last().text, QString::fromUtf8("Il file %1 esiste già.\r\n\r\nSi vuole sostituirlo?")
                                           .arg(QDir::toNativeSeparators(existing)));
        QCOMPARE(qvtest::readFile(existing), QByteArray("vecchio"));
        desk.messages.answers = {true, false};
        w.cmdSalvaCome->click();
        QCOMPARE(desk.messages.count(), 3);
        QCOMPARE(formatOfFile(qvtest::readFile(existing)), std::optional<ExportFormat>(ExportFormat::Xlsx));
        QVERIFY(desk.shell.commands.isEmpty());
    }

    // Nothing chosen, nothing written; a file that cannot be written is told
    // in the program's words and never offered to the opener.
    void saveAsCancelledOrRefused_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("cancelled") << "";
        QTest::newRow("folder missing") << "manca/Elenco.xlsx";
        QTest::newRow("folder in the way") << "cartella.xlsx";
    }
    void saveAsCancelledOrRefused()
    {
        QFETCH(QString, where);
        SaveAsDesk desk;
        QVERIFY(QDir(desk.elsewhere.path()).mkpath("cartella.xlsx/dentro"));
        writeSample("events");
        const QStringList folderBefore = QDir(desk.folder.path()).entryList(QDir::Files);
        TfrmExpRegistro w;
        w.show();
        desk.chooser.save = where.isEmpty() ? QString() : desk.elsewhere.filePath(where);
        desk.chooser.filter = formatFilter(ExportFormat::Xlsx);
        w.cmdSalvaCome->click();
        QCOMPARE(desk.chooser.saved, 1);
        if (where.isEmpty()) {
            QCOMPARE(desk.messages.count(), 0);
        } else {
            QCOMPARE(desk.messages.count(), 1);
            QCOMPARE(desk.messages.last().kind, MessageKind::Plain);
            QCOMPARE(desk.messages.last().text,
                     QString::fromUtf8("Attenzione: il sistema non permette di salvare i dati nel file scelto.\n\r\n\r"
                                       "Accertarsi che il file non sia già aperto e di possedere i privilegi di "
                                       "scrittura nella cartella scelta."));
        }
        QVERIFY(desk.shell.commands.isEmpty());
        QCOMPARE(QDir(desk.elsewhere.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"cartella.xlsx"});
        QVERIFY(QFileInfo(desk.elsewhere.filePath("cartella.xlsx/dentro")).isDir());
        QCOMPARE(QDir(desk.folder.path()).entryList(QDir::Files), folderBefore);
        QVERIFY(w.isVisible());
    }

    // A calendar needs a start date and a contact a name: the rows left out
    // are named in the message that follows the save.
    void saveAsTellsWhatItLeftOut_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("calendar")
            << "events" << QString::fromUtf8("La scheda n. 2 non è stata inclusa nel file perché priva di una data di "
                                             "inizio valida.");
        QTest::newRow("contacts")
            << "participants" << QString::fromUtf8("Le schede n. 1 e 3 non sono state incluse nel file perché prive "
                                                   "del cognome e nome.");
    }
    void saveAsTellsWhatItLeftOut()
    {
        QFETCH(QString, window);
        QFETCH(QString, sentence);
        SaveAsDesk desk;
        if (window == "events")
            qvtest::writeRecords(TSchedaEvento::archivePath(), qvtest::eventFields(),
                                 {{{"Titolo", "Convegno"}, {"DataInizio", "01/03/2025"}},
                                  {{"Titolo", "Senza data"}, {"DataInizio", "da definire"}}});
        else
            qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                                 {{{"Email", "a@example.it"}}, {{"Cliente", "Rossi Mario"}}, {{"Cliente", "   "}}});
        ExportWindow w(configOf(window, QString()));
        w.show();
        const ExportFormat format = window == "events" ? ExportFormat::Ics : ExportFormat::Vcf;
        desk.chooser.save = desk.elsewhere.filePath("Elenco." + formatSuffix(format));
        desk.chooser.filter = formatFilter(format);
        desk.messages.answers = {false};
        w.cmdSalvaCome->click();
        QCOMPARE(desk.messages.count(), 1);
        QCOMPARE(desk.messages.last().text, "Le schede in archivio sono state salvate con successo nel file "
                                           + QDir::toNativeSeparators(desk.chooser.save) + ".\r\n\r\n" + sentence
                                           + "\r\n\r\nSi vuole aprire il file?");
    }

    // The house keys press the window's pictures wherever the focus is.
    void keysPressThePictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("export") << "cmdEsporta" << QKeySequence(Qt::CTRL | Qt::Key_E);
        QTest::newRow("save as") << "cmdSalvaCome" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("guide") << "cmdGuida" << QKeySequence(Qt::Key_F1);
        QTest::newRow("leave") << "cmdEsci" << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void keysPressThePictures()
    {
        QFETCH(QString, name);
        QFETCH(QKeySequence, keys);
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        qvtest::FileChooserAnswer chooser; // cancelled
        writeSample("participants");
        TfrmExpClienti w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.grdRecords->setFocus();
        auto *picture = w.findChild<ClickablePicture *>(name);
        QVERIFY(picture);
        QCOMPARE(shortcutOf(picture), keys);
        QSignalSpy pressed(picture, &QAbstractButton::clicked);
        messages.answers = {false};
        if (name == "cmdGuida")
            qvtest::whenModal([](QWidget *) {});
        const QKeyCombination chord = keys[0];
        QTest::keyClick(w.grdRecords, chord.key(), chord.keyboardModifiers());
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(w.isVisible(), name != "cmdEsci");
        QCOMPARE(chooser.saved, name == "cmdSalvaCome" ? 1 : 0);
        QCOMPARE(shortcutTable(GuideTopic::ParticipantsExport).contains(keyText(keys) + ": "), true);
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
