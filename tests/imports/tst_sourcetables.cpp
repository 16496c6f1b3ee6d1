// Files people exchange read as tables: CSV, vCard and .xlsx.
#include "archive/records.h"
#include "imports/csvtable.h"
#include "imports/opentable.h"
#include "output/exportformats.h"
#include "output/fixtures.h"
#include "support/testsupport.h"

#include <QtTest>

#include <minizip/zip.h>
#include <xlsxwriter.h>

using namespace qv;
using namespace qv::imports;

namespace {

using Rows = QList<QStringList>;

struct Read
{
    QStringList heading;
    Rows rows;
    QList<qint64> lines;
};

Read readAll(const QString &path)
{
    const std::unique_ptr<SourceTable> table = openSourceTable(path);
    Read read{table->heading(), {}, {}};
    SourceRow row;
    while (table->next(row)) {
        read.rows.append(row.values);
        read.lines.append(row.line);
    }
    return read;
}

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class TestSourceTables : public QObject
{
    Q_OBJECT
private slots:
    void csvRows_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("heading");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QList<qint64>>("lines");
        QTest::newRow("comma, CR LF") << QByteArray("A,B\r\n1,2\r\n") << QStringList{"A", "B"} << Rows{{"1", "2"}}
                                      << QList<qint64>{2};
        QTest::newRow("the separator the heading uses most")
            << QByteArray("Cognome, nome;Email;CAP\n\"Rossi, Mario\";r@x.it;00100\n")
            << QStringList{"Cognome, nome", "Email", "CAP"} << Rows{{"Rossi, Mario", "r@x.it", "00100"}}
            << QList<qint64>{2};
        QTest::newRow("quotes doubled") << QByteArray("A;B\n\"x;y\";\"di \"\"lui\"\"\"\n") << QStringList{"A", "B"}
                                        << Rows{{"x;y", "di \"lui\""}} << QList<qint64>{2};
        QTest::newRow("line breaks inside quotes are blanks")
            << QByteArray("A;B\n\"a\r\nb\";\"c\nd\re\"\nx;y\n") << QStringList{"A", "B"}
            << Rows{{"a b", "c d e"}, {"x", "y"}} << QList<qint64>{2, 6};
        QTest::newRow("lone CR ends rows") << QByteArray("A,B\r1,2\r3,4") << QStringList{"A", "B"}
                                           << Rows{{"1", "2"}, {"3", "4"}} << QList<qint64>{2, 3};
        QTest::newRow("blank lines passed over") << QByteArray("A\n\n  \nx\n") << QStringList{"A"} << Rows{{"x"}}
                                                 << QList<qint64>{4};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "Citt\xC3\xA0\nForl\xC3\xAC")
                                         << QStringList{u("Città")} << Rows{{u("Forlì")}} << QList<qint64>{2};
        QTest::newRow("Windows-1252") << QByteArray("A\n\x80 caff\xE8 \x93x\x94\n") << QStringList{"A"}
                                      << Rows{{u("€ caffè “x”")}} << QList<qint64>{2};
        QTest::newRow("empty values kept") << QByteArray("A,B,C\n,,\n") << QStringList{"A", "B", "C"}
                                           << Rows{{"", "", ""}} << QList<qint64>{2};
    }
    void csvRows()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, heading);
        QFETCH(Rows, rows);
        QFETCH(QList<qint64>, lines);
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", bytes);
        const Read read = readAll(folder.file("in.csv"));
        QCOMPARE(read.heading, heading);
        QCOMPARE(read.rows, rows);
        QCOMPARE(read.lines, lines);
    }

    void csvRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("quote left open") << QByteArray("A\nx\n\"y\nz\n") << "riga 3: virgolette aperte e mai chiuse";
        QTest::newRow("quote inside") << QByteArray("A\nRos\"si\n") << "riga 2: virgolette in mezzo a un valore";
        QTest::newRow("text after a quote") << QByteArray("A\n\"Ros\"si\n")
                                            << "riga 2: testo dopo le virgolette di chiusura";
        QTest::newRow("two encodings") << QByteArray("A\n\xC3\xA8\r\nx\r\n\xE8\r\n")
                                       << "la riga 4 contiene caratteri non validi in UTF-8";
        QTest::newRow("two encodings, lone CR") << QByteArray("A\r\xC3\xA8\rx\r\xE8\r") << "la riga 4 contiene";
        QTest::newRow("UTF-8 cut at the end") << QByteArray("A\n\xC3\xA8\n\xC3") << "la riga 3 contiene";
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE" "A\0") << "UTF-16";
        QTest::newRow("empty") << QByteArray() << "manca l'intestazione";
    }
    void csvRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", bytes);
        try {
            readAll(folder.file("in.csv"));
            QFAIL("read");
        } catch (const ImportError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    // Reading goes by blocks: a character or a CR LF cut by a block's end
    // reads as one.
    void csvLargerThanABlock()
    {
        qvtest::TempProgramFolder folder;
        QByteArray bytes = "Cliente;Note\r\n";
        for (int i = 0; i < 20000; ++i)
            bytes += "Niccol\xC3\xB2 " + QByteArray::number(i) + ";\"a\r\nb\"\r\n";
        folder.write("in.csv", bytes);
        const std::unique_ptr<SourceTable> table = openSourceTable(folder.file("in.csv"));
        SourceRow row;
        int i = 0;
        while (table->next(row)) {
            QCOMPARE(row.values, (QStringList{u("Niccolò ") + QString::number(i), "a b"}));
            QCOMPARE(row.line, 2 + 2 * i);
            ++i;
        }
        QCOMPARE(i, 20000);
        QCOMPARE(table->done(), table->total());
    }

    void vcardRows()
    {
        qvtest::TempProgramFolder folder;
        folder.write("c.vcf",
                     "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Mario Rossi\r\nN:Rossi;Mario;;;\r\n"
                     "ADR;TYPE=work:;;Via Lavoro 1;Milano;MI;20100;\r\n"
                     "ADR;TYPE=home:;Scala B;Via Po\\, 3;Reggio Emilia;RE;42121;Italia\r\n"
                     "TEL;TYPE=\"cell,voice\";VALUE=uri:tel:+39-333-1\r\nTEL;TYPE=work:06 2\r\nTEL:06 1\r\n"
                     "TEL;TYPE=fax:06 3\r\nEMAIL;TYPE=home:m@r.it\r\nNOTE:prima riga\\nseconda\\; \\\\ fine\r\n"
                     "BDAY:19700807\r\nEND:VCARD\r\n"
                     "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna \r\n Bianchi\r\nBDAY:1980-02-29\r\nEND:VCARD\r\n"
                     "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Niccol=C3=B2;Luca\r\n"
                     "TEL;CELL:333 4\r\nNOTE;ENCODING=QUOTED-PRINTABLE:caff=C3=A8 =\r\nlungo\r\nEND:VCARD\r\n");
        const Read read = readAll(folder.file("c.vcf"));
        QCOMPARE(read.heading, (QStringList{"Cognome e nome", "Data di nascita", "Sesso", "Indirizzo", "Comune",
                                            "Provincia", "CAP", "Tel. casa", "Tel. ufficio", "Cellulare", "Fax", "E-mail",
                                            "Note", "Altri telefoni", "Altre e-mail", "Organizzazione", "Altri dati"}));
        QCOMPARE(read.rows.size(), 3);
        QCOMPARE(read.rows.at(0), (QStringList{"Rossi Mario", "07/08/1970", "", "Via Po, 3 Scala B", "Reggio Emilia", "RE",
                                               "42121", "06 1", "06 2", "+39-333-1", "06 3", "m@r.it",
                                               "prima riga seconda; \\ fine", "", "", "",
                                               "indirizzo: Via Lavoro 1 20100 Milano MI"}));
        QCOMPARE(read.rows.at(1).at(0), "Anna Bianchi");
        QCOMPARE(read.rows.at(1).at(1), "29/02/1980");
        QCOMPARE(read.rows.at(2).at(0), u("Niccolò Luca"));
        QCOMPARE(read.rows.at(2).at(9), "333 4");
        QCOMPARE(read.rows.at(2).at(12), u("caffè lungo"));
        QCOMPARE(read.lines, (QList<qint64>{1, 15, 21}));
    }

    // A workbook as spreadsheet programs write it: shared texts, numbers,
    // dates, an empty row above the heading, a cell left out.
    void workbookRows()
    {
        qvtest::TempProgramFolder folder;
        const QByteArray path = folder.file("w.xlsx").toUtf8();
        lxw_workbook *workbook = workbook_new(path.constData());
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Elenco");
        lxw_worksheet *second = workbook_add_worksheet(workbook, "Altro");
        lxw_format *date = workbook_add_format(workbook);
        format_set_num_format(date, "dd/mm/yyyy");
        worksheet_write_string(second, 0, 0, "non questo", nullptr);
        worksheet_write_string(sheet, 1, 0, "Cognome", nullptr);
        worksheet_write_string(sheet, 1, 1, "Nome", nullptr);
        worksheet_write_string(sheet, 1, 2, "Nato il", nullptr);
        worksheet_write_string(sheet, 1, 3, "Cellulare", nullptr);
        worksheet_write_string(sheet, 1, 4, "CAP", nullptr);
        worksheet_write_string(sheet, 2, 0, "D'Angelo", nullptr);
        worksheet_write_string(sheet, 2, 1, "Niccolò _x0041_", nullptr);
        lxw_datetime birth{1970, 8, 7, 0, 0, 0};
        worksheet_write_datetime(sheet, 2, 2, &birth, date);
        worksheet_write_number(sheet, 2, 3, 3331234567.0, nullptr);
        worksheet_write_string(sheet, 2, 4, "00100", nullptr);
        worksheet_write_string(sheet, 3, 0, "Rossi", nullptr);
        worksheet_write_number(sheet, 3, 4, 100, nullptr);
        worksheet_write_number(sheet, 3, 3, 1.5, nullptr);
        lxw_datetime early{1900, 2, 1, 0, 0, 0};
        worksheet_write_datetime(sheet, 3, 2, &early, date);
        worksheet_write_string(sheet, 4, 0, "Verdi", nullptr); // the cells after it left out
        QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);

        const Read read = readAll(folder.file("w.xlsx"));
        QCOMPARE(read.heading, (QStringList{"Cognome", "Nome", "Nato il", "Cellulare", "CAP"}));
        QCOMPARE(read.rows.size(), 3);
        // "_x0041_" written as it stands reads as Excel reads it.
        QCOMPARE(read.rows.at(0), (QStringList{"D'Angelo", u("Niccolò A"), "07/08/1970", "3331234567", "00100"}));
        QCOMPARE(read.rows.at(1), (QStringList{"Rossi", "", "01/02/1900", "1.5", "100"}));
        QCOMPARE(read.rows.at(2), (QStringList{"Verdi", "", "", "", ""}));
        QCOMPARE(read.lines, (QList<qint64>{3, 4, 5}));
    }

    // The program's own workbook export reads back as its cells.
    void ownWorkbookExportReadsBack()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                             {{{"Cliente", u("Àlvaro Niccolò")}, {"CapRes", "00100"}, {"Note", "=1+1 _x0041_"},
                               {"TelCasa", "0612345"}, {"DataNasc", "07/08/1970"}}});
        writeExport(ExportFormat::Xlsx, folder.file("p.xlsx"), ExportLayouts::participants(),
                    archiveRows(ExportLayouts::participants(), TSchedaPartecipante::archivePath()));
        const Read read = readAll(folder.file("p.xlsx"));
        QCOMPARE(read.heading.size(), ExportLayouts::participants().dataColumns().size());
        QCOMPARE(read.heading.first(), "Cognome e nome");
        QCOMPARE(read.rows.size(), 1);
        QCOMPARE(read.rows.at(0).at(0), u("Àlvaro Niccolò"));
        QCOMPARE(read.rows.at(0).at(1), "07/08/1970");
        QCOMPARE(read.rows.at(0).at(read.heading.indexOf("Tel. casa")), "0612345");
        QCOMPARE(read.rows.at(0).last(), "=1+1 _x0041_");
    }

    // Address books as they export: version 2.1 in the writer's code page
    // with quoted-printable and no CHARSET, 3.0 with grouped labels and
    // several telephones and e-mails, 4.0 with a birthday without its year.
    // Every value is in a column: a box of the card, or one that names it.
    void vcardsLoseNothing()
    {
        qvtest::TempProgramFolder folder;
        folder.write("rubrica.vcf",
                     "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:Bald=EC;Anna\r\n"
                     "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Corso della Repubblica 5;Forl=EC;FC;47121;\r\n"
                     "TEL;HOME;VOICE:0543 1\r\nTEL;CELL:333 1\r\nEND:VCARD\r\n"
                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Rossi;Mario;;;\r\nFN:Mario Rossi\r\nORG:Acme S.p.A.;Vendite\r\n"
                     "item1.TEL:0544 9\r\nitem1.X-ABLabel:Casa al mare\r\nTEL;TYPE=HOME:06 1\r\n"
                     "TEL;TYPE=CELL:333 2\r\nTEL;TYPE=CELL:347 3\r\nitem2.TEL;TYPE=CELL:320 4\r\n"
                     "item2.X-ABLabel:_$!<Mobile>!$_\r\nEMAIL;TYPE=INTERNET:m@r.it\r\nEMAIL;TYPE=WORK:m@acme.it\r\n"
                     "BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-31\r\nTITLE:Direttore\r\nEND:VCARD\r\n"
                     "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Luca Verdi\r\nN:Verdi;Luca;;;\r\nGENDER:M\r\nBDAY:--1231\r\n"
                     "TEL;VALUE=uri;TYPE=\"voice,work\":tel:+39-02-5\r\nPHOTO:data:image/png;base64,AAAA\r\n"
                     "UID:urn:uuid:1\r\nEND:VCARD\r\n");
        const Read read = readAll(folder.file("rubrica.vcf"));
        const auto value = [&](int row, const char *heading) { return read.rows.at(row).at(read.heading.indexOf(heading)); };
        QCOMPARE(read.rows.size(), 3);
        QCOMPARE(value(0, "Cognome e nome"), u("Baldì Anna"));
        QCOMPARE(value(0, "Comune"), u("Forlì"));
        QCOMPARE(value(0, "Tel. casa"), "0543 1");
        QCOMPARE(value(1, "Tel. casa"), "06 1");
        QCOMPARE(value(1, "Cellulare"), "333 2");
        QCOMPARE(value(1, "Altri telefoni"), "347 3 (cellulare); 320 4 (Mobile); 0544 9 (Casa al mare)");
        QCOMPARE(value(1, "E-mail"), "m@r.it");
        QCOMPARE(value(1, "Altre e-mail"), "m@acme.it");
        QCOMPARE(value(1, "Organizzazione"), "Acme S.p.A., Vendite");
        QCOMPARE(value(1, "Data di nascita"), "");
        QCOMPARE(value(1, "Altri dati"), "compleanno 31/12; qualifica: Direttore");
        QCOMPARE(value(2, "Data di nascita"), "");
        QCOMPARE(value(2, "Altri dati"), "compleanno 31/12");
        QCOMPARE(value(2, "Sesso"), "M");
        QCOMPARE(value(2, "Tel. ufficio"), "+39-02-5");
    }

    // Numbers as the sheet shows them where their format says how: zero
    // padding, percentages, fixed decimals (in the Italian way); a line
    // break typed in a cell is one blank.
    void workbookShowsNumbersAsTheSheetDoes()
    {
        struct Case
        {
            const char *code; // nullptr: built-in format 9 ("0%")
            double number;
            const char *shown;
        };
        const QList<Case> cases{
            {"00000", 186, "00186"},           {"00000000000", 1234567890, "01234567890"},
            {"0%", 0.25, "25%"},               {"0.00%", 0.125, "12,50%"},
            {"0.00", 12.5, "12,50"},           {"#,##0.00", 1234.5, "1.234,50"},
            {"000-000", 12345, "012-345"},     {"0.00;[Red]-0.00", -3, "-3,00"},
            {"#,##0 \"pz\"", 1500, "1.500 pz"}, {"General", 1.5, "1.5"},
            {"@", 186, "186"},                 {nullptr, 0.5, "50%"},
        };
        qvtest::TempProgramFolder folder;
        const QByteArray path = folder.file("formati.xlsx").toUtf8();
        lxw_workbook *workbook = workbook_new(path.constData());
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Elenco");
        worksheet_write_string(sheet, 0, 0, "Valore", nullptr);
        worksheet_write_string(sheet, 0, 1, "Indirizzo", nullptr);
        for (qsizetype i = 0; i < cases.size(); ++i) {
            lxw_format *format = workbook_add_format(workbook);
            if (cases.at(i).code)
                format_set_num_format(format, cases.at(i).code);
            else
                format_set_num_format_index(format, 9);
            worksheet_write_number(sheet, lxw_row_t(i + 1), 0, cases.at(i).number, format);
        }
        worksheet_write_string(sheet, 1, 1, "Via Roma 1\nScala B", nullptr);
        worksheet_write_string(sheet, 2, 1, "Via Po 2\r\nint. 3", nullptr);
        QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);

        const Read read = readAll(folder.file("formati.xlsx"));
        QCOMPARE(read.rows.size(), cases.size());
        for (qsizetype i = 0; i < cases.size(); ++i)
            QCOMPARE(read.rows.at(i).at(0), QString::fromUtf8(cases.at(i).shown));
        QCOMPARE(read.rows.at(0).at(1), "Via Roma 1 Scala B");
        QCOMPARE(read.rows.at(1).at(1), "Via Po 2 int. 3");
    }

    // The exports' .xls is a web page: read as its cells, blanks kept as
    // the export writes them.
    void ownXlsExportReadsBack()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                             {{{"Cliente", u("D'Angelo Niccolò")}, {"Note", u("a <b> & \"c\"   tre spazi €")},
                               {"ComuneRes", u("Città di Castello")}, {"ProvRes", "PG"}, {"TelCasa", "0612345"}}});
        writeExport(ExportFormat::Xls, folder.file("p.xls"), ExportLayouts::participants(),
                    archiveRows(ExportLayouts::participants(), TSchedaPartecipante::archivePath()));
        const Read read = readAll(folder.file("p.xls"));
        QCOMPARE(read.heading.size(), ExportLayouts::participants().columns.size());
        QCOMPARE(read.heading.at(5), "Comune di residenza");
        QCOMPARE(read.rows.size(), 1);
        QCOMPARE(read.rows.at(0).at(0), u("D'Angelo Niccolò"));
        QCOMPARE(read.rows.at(0).at(5), u("Città di Castello PG"));
        QCOMPARE(read.rows.at(0).at(7), "0612345");
        QCOMPARE(read.rows.at(0).last(), u("a <b> & \"c\"   tre spazi €"));
        // A page made by hand: UTF-8, heading cells, line breaks, no end tags.
        folder.write("pagina.html", u("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
                                      "<table><tr><th>Cognome</th><th>Nome</th>\n<tr><td>Rossi<td>Mario<br>Luigi"
                                      "<tr><td> Bianchi </td><td>Anna &amp; C.</td></tr></table>"
                                      "<table><tr><td>altro</td></tr></table></body></html>").toUtf8());
        const Read page = readAll(folder.file("pagina.html"));
        QCOMPARE(page.heading, (QStringList{"Cognome", "Nome"}));
        QCOMPARE(page.rows, (Rows{{"Rossi", "Mario Luigi"}, {"Bianchi", "Anna & C."}}));
    }

    // Rows across the blocks the page is read in.
    void pageLargerThanABlock()
    {
        qvtest::TempProgramFolder folder;
        QByteArray page = "<html><body><table><tr><td>Cliente</td><td>Note</td></tr>";
        for (int i = 1; i <= 5000; ++i)
            page += "<tr><td>Rossi " + QByteArray::number(i) + "</td><td>" + QByteArray(i % 37, 'x') + "&#32;&#32;fine</td></tr>";
        folder.write("grande.xls", page + "</table></body></html>");
        const Read read = readAll(folder.file("grande.xls"));
        QCOMPARE(read.rows.size(), 5000);
        QCOMPARE(read.rows.at(4999), (QStringList{"Rossi 5000", QString(5000 % 37, 'x') + "  fine"}));
        QCOMPARE(read.rows.at(1234).at(0), "Rossi 1235");
    }

    // Spreadsheets in a format that cannot be read are named, with the
    // way out.
    void otherSpreadsheetsAreNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("said");
        QTest::newRow("Excel 97") << "vecchio.xls" << u("è un foglio di Excel 97-2003 (.xls)");
        QTest::newRow("OpenDocument") << "calc.ods" << u("è un foglio di calcolo OpenDocument (.ods)");
        QTest::newRow("other zip") << "testo.docx" << u("non una cartella di lavoro di Excel (.xlsx)");
    }
    void otherSpreadsheetsAreNamed()
    {
        QFETCH(QString, name);
        QFETCH(QString, said);
        qvtest::TempProgramFolder folder;
        if (name.endsWith(".xls")) {
            folder.write(name, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0'));
        } else {
            const bool calc = name.endsWith(".ods");
            zipFile zip = zipOpen(QFile::encodeName(folder.file(name)).constData(), APPEND_STATUS_CREATE);
            const auto add = [&](const char *member, const QByteArray &bytes) {
                QCOMPARE(zipOpenNewFileInZip(zip, member, nullptr, nullptr, 0, nullptr, 0, nullptr, 0, 0), ZIP_OK);
                zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size()));
                zipCloseFileInZip(zip);
            };
            add(calc ? "mimetype" : "[Content_Types].xml",
                calc ? "application/vnd.oasis.opendocument.spreadsheet" : "<Types/>");
            add(calc ? "content.xml" : "word/document.xml", "<x/>");
            zipClose(zip, nullptr);
        }
        try {
            readAll(folder.file(name));
            QFAIL("read");
        } catch (const ImportError &e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
            QVERIFY2(e.message().contains("salvare il foglio come .xlsx o CSV"), qPrintable(e.message()));
        }
    }

    void notAWorkbook()
    {
        qvtest::TempProgramFolder folder;
        folder.write("rotto.xlsx", "PK\x03\x04 niente altro");
        try {
            readAll(folder.file("rotto.xlsx"));
            QFAIL("read");
        } catch (const ImportError &e) {
            QVERIFY2(e.message().contains("non \u00E8 una cartella di lavoro di Excel leggibile"), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSourceTables)
#include "tst_sourcetables.moc"
