#include "archive/records.h"
#include "core/programfolder.h"
#include "output/exportformats.h"
#include "output/exportlayout.h"
#include "output/fixtures.h"
#include "output/spreadsheet.h"
#include "output/spreadsheetdoc.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>

using namespace qv;

using qvtest::readFile;

namespace {
QByteArray document(const QByteArray &worksheet, const qvtest::Headings &headings, const QList<QList<QByteArray>> &rows)
{
    return qvtest::spreadsheetDocument(worksheet, headings, rows);
}
} // namespace

class TestSpreadsheet : public QObject
{
    Q_OBJECT
private slots:
    void documentIsThePiecesOnOneLine()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SpreadsheetWriter writer(buffer, QString::fromUtf8("Riepilogo Attività"),
                                 {{"Titolo evento", 250}, {QString::fromUtf8("Modalità pagamento"), 200}});
        writer.beginRow();
        writer.cell(QStringLiteral("  Convegno  "));
        writer.cell(QByteArrayView("\x02" "0,00 "));
        writer.endRow();
        writer.beginRow();
        writer.cell(QString());
        writer.cell(QByteArrayView(""));
        writer.endRow();
        writer.finish();
        QCOMPARE(buffer.data(), document("Riepilogo Attivit\xE0", {{"Titolo evento", 250}, {"Modalit\xE0 pagamento", 200}},
                                         {{"Convegno", "0,00"}, {"", ""}}));
        QVERIFY(!buffer.data().contains('\n'));
        QVERIFY(!buffer.data().contains('\r'));
    }

    void cellText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("markup") << "R&D <1>" << QByteArray("R&amp;D &lt;1&gt;");
        QTest::newRow("trimmed codes up to 32 only") << "\t 00100 \x01" << QByteArray("00100");
        QTest::newRow("other spaces kept") << QString::fromUtf8("\u00A0x\u00A0") << QByteArray("\xA0x\xA0");
        QTest::newRow("formula stays text") << "=1+1" << QByteArray("=1+1");
        QTest::newRow("accented") << QString::fromUtf8("Niccolò Àlvarez") << QByteArray("Niccol\xF2 \xC0lvarez");
        QTest::newRow("euro in the code page") << QString::fromUtf8("€ 5") << QByteArray("\x80 5");
        QTest::newRow("outside the code page") << QString::fromUtf8("Łódź ✓") << QByteArray("&#321;\xF3" "d&#378; &#10003;");
        QTest::newRow("beyond the BMP") << QString::fromUtf8("a😀b") << QByteArray("a&#128512;b");
        QTest::newRow("composed first") << QString::fromUtf8("e\u0301") << QByteArray("\xE9");
        QTest::newRow("line break inside") << "a\r\nb" << QByteArray("a&#13;&#10;b");
        // Both spreadsheet programs fold a run of blanks in HTML into one
        // unless it is marked so; single blanks stay as they are.
        QTest::newRow("run of blanks") << "Spazi   multipli"
                                       << QByteArray("Spazi<span style=\"mso-spacerun:yes\">&#32;&#32;&#32;</span>multipli");
        QTest::newRow("two runs, escapes beside")
            << "R&D  <1>    x" << QByteArray("R&amp;D<span style=\"mso-spacerun:yes\">&#32;&#32;</span>&lt;1&gt;"
                                             "<span style=\"mso-spacerun:yes\">&#32;&#32;&#32;&#32;</span>x");
        QTest::newRow("single blanks") << "a b c" << QByteArray("a b c");
    }
    void cellText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QCOMPARE(SpreadsheetWriter::cellText(text), written);
    }

    void cellTextOfCodePageBytes()
    {
        QCOMPARE(SpreadsheetWriter::cellText(QByteArrayView(" \x80 & <\xE0> \x1F")), QByteArray("\x80 &amp; &lt;\xE0&gt;"));
        QCOMPARE(SpreadsheetWriter::cellText(QByteArrayView("a\nb")), QByteArray("a&#10;b"));
        QCOMPARE(SpreadsheetWriter::cellText(QByteArrayView(" Forl\xEC  FC ")),
                 QByteArray("Forl\xEC<span style=\"mso-spacerun:yes\">&#32;&#32;</span>FC"));
    }

    void fileReplacedOnlyWhenComplete()
    {
        qvtest::TempProgramFolder folder;
        const QString path = folder.file("Prova.xls");
        folder.write("Prova.xls", "old export");
        // A failure part-way (a full disk, say) leaves the old file whole.
        QVERIFY_THROWS_EXCEPTION(SpreadsheetError,
                                 writeSpreadsheetFile(path, "Foglio", {{"A", 10}}, [](SpreadsheetWriter &w) {
                                     for (int i = 0; i < 5000; ++i) {
                                         w.beginRow();
                                         w.cell(QStringLiteral("riga abbastanza lunga da riempire il buffer"));
                                         w.endRow();
                                     }
                                     throw SpreadsheetError("disk full");
                                 }));
        QCOMPARE(readFile(path), QByteArray("old export"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Prova.xls"});

        writeSpreadsheetFile(path, "Foglio", {{"A", 10}}, [](SpreadsheetWriter &w) {
            w.beginRow();
            w.cell(QStringLiteral("x"));
            w.endRow();
        });
        QCOMPARE(readFile(path), document("Foglio", {{"A", 10}}, {{"x"}}));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Prova.xls"});
    }

    void fileThatCannotBeReplacedIsReported()
    {
        qvtest::TempProgramFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("Prova.xls"));
        QVERIFY_THROWS_EXCEPTION(SpreadsheetError, writeSpreadsheetFile(folder.file("Prova.xls"), "F", {{"A", 1}},
                                                                        [](SpreadsheetWriter &) {}));
        QVERIFY(QFileInfo(folder.file("Prova.xls")).isDir());
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

    void cellTemplates_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("composed");
        QTest::newRow("field trimmed") << "{Titolo}" << QByteArray("Convegno");
        QTest::newRow("date and time trimmed apart")
            << "Data: {DataInizio} - Ora: {OraInizio}" << QByteArray("Data: 1/2/2025 - Ora: 9:30");
        QTest::newRow("no time") << "Data: {DataFine} - Ora: {OraFine}" << QByteArray("Data: 02/02/2025 - Ora: ");
        QTest::newRow("literal only") << "x" << QByteArray("x");
    }
    void cellTemplates()
    {
        QFETCH(QString, cell);
        QFETCH(QByteArray, composed);
        const QByteArray record = qvtest::record(qvtest::eventFields(), {{"Titolo", "  Convegno "},
                                                                         {"DataInizio", " 1/2/2025 "},
                                                                         {"OraInizio", "9:30 "},
                                                                         {"DataFine", "02/02/2025 "},
                                                                         {"OraFine", "  "}});
        QByteArray out;
        CellTemplate(TSchedaEvento::layout(), cell).compose(RecordView(TSchedaEvento::layout(), record.constData()), out);
        QCOMPARE(out, composed);
    }

    // The way back, for the formats that want fields rather than cells.
    void fieldsOfACellText_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // "Field=text", template order
        const QString inizio = "Data: {DataInizio} - Ora: {OraInizio}";
        QTest::newRow("as composed") << inizio << "Data: 01/02/2025 - Ora: 9:30"
                                     << QStringList{"DataInizio=01/02/2025", "OraInizio=9:30"};
        QTest::newRow("no time, trimmed") << inizio << "Data: 01/02/2025 - Ora:"
                                          << QStringList{"DataInizio=01/02/2025", "OraInizio="};
        QTest::newRow("no date") << inizio << "Data:  - Ora: 20:00" << QStringList{"DataInizio=", "OraInizio=20:00"};
        QTest::newRow("edited without the words") << inizio << "01/02/2025 - Ora: 10.15"
                                                  << QStringList{"DataInizio=01/02/2025", "OraInizio=10.15"};
        QTest::newRow("separator lost") << inizio << "Data: 01/02/2025 alle 10"
                                        << QStringList{"DataInizio=01/02/2025 alle 10", "OraInizio="};
        const QString comune = "{ComuneRes} {ProvRes}";
        QTest::newRow("municipality and province") << comune << "Reggio Emilia RE"
                                                   << QStringList{"ComuneRes=Reggio Emilia", "ProvRes=RE"};
        QTest::newRow("no province") << comune << "Monteu da Po " << QStringList{"ComuneRes=Monteu da Po", "ProvRes="};
        QTest::newRow("province without municipality") << comune << " PG" << QStringList{"ComuneRes=", "ProvRes=PG"};
        QTest::newRow("last word too long for a province")
            << comune << "Reggio Emilia" << QStringList{"ComuneRes=Reggio Emilia", "ProvRes="};
        QTest::newRow("one field") << "{Titolo}" << "  Convegno " << QStringList{"Titolo=Convegno"};
    }
    void fieldsOfACellText()
    {
        QFETCH(QString, cell);
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        const RecordLayout &layout = cell.contains("Res") ? TSchedaPartecipante::layout() : TSchedaEvento::layout();
        QStringList found;
        for (const auto &[field, value] : CellTemplate(layout, cell).fieldsOf(text))
            found.append(layout.field(field).name + "=" + value);
        QCOMPARE(found, fields);
    }

    void unknownFieldIsRefused()
    {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CellTemplate(TSchedaEvento::layout(), "{Nessuno}"));
    }

    // The three exports: columns, their editability and their file headings.
    void layouts_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("editable");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("worksheet");
        QTest::newRow("events") << 0 << 24
                                << QStringList{"Relatori", "Inizio", "Recapito organizzatore", "Criteri ammissione",
                                               "IBAN", "Banca d'appoggio", "Anticipo", "Note", "N. totale posti",
                                               "Al completo"}
                                << "Riepilogo_Eventi.xls" << "Riepilogo Eventi";
        QTest::newRow("participants") << 1 << 25
                                      << QStringList{"Comune di residenza", "Partita IVA", "Scadenza", "IBAN",
                                                     "Estremi documento", "Occupazione", "Titoli e qualifiche",
                                                     "Questioni in sospeso", "Note"}
                                      << "Partecipanti.xls" << "Riepilogo Partecipanti";
        QTest::newRow("reservations") << 2 << 13 << QStringList{} << "Prenotazioni_Posti.xls" << "Prenotazioni Posti";
    }
    void layouts()
    {
        QFETCH(int, which);
        QFETCH(int, columns);
        QFETCH(QStringList, editable);
        QFETCH(QString, fileName);
        QFETCH(QString, worksheet);
        const ExportLayout &layout = which == 0   ? ExportLayouts::events()
                                     : which == 1 ? ExportLayouts::participants()
                                                  : ExportLayouts::reservations();
        QCOMPARE(layout.columns.size(), columns);
        QStringList found;
        for (const ExportColumn &column : layout.columns)
            if (column.editable)
                found.append(column.heading);
        QCOMPARE(found, editable);
        QCOMPARE(layout.fileName, fileName);
        QCOMPARE(layout.worksheet, worksheet);
    }

    void participantsGridAndFileHeadingsDiffer()
    {
        const ExportColumn &birth = ExportLayouts::participants().columns.at(2);
        QCOMPARE(birth.heading, "Comune / Stato estero di nascita");
        QCOMPARE(birth.file.heading, "Comune di nascita");
        QCOMPARE(birth.width, 250);
        QCOMPARE(ExportLayouts::participants().columns.at(1).file.width, 200);
        QCOMPARE(ExportLayouts::events().columns.last().file.width, 120);
    }

    // The export without a window, as a command-line tool writes it.
    void archiveExportedWithoutWindow()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(TSchedaPrenotazione::archivePath(4), qvtest::reservationFields(),
                             {{{"Cliente", "Rossi Mario"}, {"CapRes", "00100"}, {"Posto", "7"}, {"Numero", "00007"},
                               {"DaConfermare", QString::fromUtf8("Sì")}},
                              {{"Cliente", "R&D <1>"}, {"TelCel", "06 1234567"}, {"DaConfermare", "No"}}});
        exportArchive(ExportLayouts::reservations(), TSchedaPrenotazione::archivePath(4), folder.file("out.xls"));
        QList<QPair<QByteArray, int>> headings;
        for (const ExportColumn &c : ExportLayouts::reservations().columns)
            headings.append({qvtest::windows1252(c.file.heading), c.file.width});
        QCOMPARE(readFile(folder.file("out.xls")),
                 document("Prenotazioni Posti", headings,
                          {{"Rossi Mario", "", "", "", "00100", "", "", "", "", "7", "", "", "S\xEC"},
                           {"R&amp;D &lt;1&gt;", "", "", "", "", "", "", "06 1234567", "", "", "", "", "No"}}));
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
