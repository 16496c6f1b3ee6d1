// Files people exchange read as tables: CSV, vCard and .xlsx.
#include "archive/records.h"
#include "imports/csvtable.h"
#include "imports/opentable.h"
#include "output/exportformats.h"
#include "output/fixtures.h"
#include "support/testsupport.h"

#include <QtTest>

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
        QCOMPARE(read.heading, (QStringList{"Cognome e nome", "Data di nascita", "Indirizzo", "Comune", "Provincia",
                                            "CAP", "Tel. casa", "Tel. ufficio", "Cellulare", "Fax", "E-mail", "Note"}));
        QCOMPARE(read.rows.size(), 3);
        QCOMPARE(read.rows.at(0), (QStringList{"Rossi Mario", "07/08/1970", "Via Po, 3 Scala B", "Reggio Emilia", "RE",
                                               "42121", "06 1", "06 2", "+39-333-1", "06 3", "m@r.it",
                                               "prima riga seconda; \\ fine"}));
        QCOMPARE(read.rows.at(1).at(0), "Anna Bianchi");
        QCOMPARE(read.rows.at(1).at(1), "29/02/1980");
        QCOMPARE(read.rows.at(2).at(0), u("Niccolò Luca"));
        QCOMPARE(read.rows.at(2).at(8), "333 4");
        QCOMPARE(read.rows.at(2).at(11), u("caffè lungo"));
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
