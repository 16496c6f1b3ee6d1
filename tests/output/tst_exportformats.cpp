// The export formats other than the .xls: .xlsx, CSV, iCalendar and vCard,
// read back the way other programs would read them.
#include "archive/records.h"
#include "output/exchangereaders.h"
#include "imports/opentable.h"
#include "output/exportformats.h"
#include "output/fixtures.h"
#include "output/spreadsheetdoc.h"
#include "support/testsupport.h"

#include <QDir>
#include <QtTest>

using namespace qv;
using qvtest::ContentLine;
using qvtest::readFile;

namespace {

// Rows handed over as the export window's grid hands them: texts, some of
// them in the archive's code page.
RowSource rowsOf(const QList<QStringList> &rows)
{
    return [rows](RowSink &sink) {
        qint64 number = 0;
        for (const QStringList &row : rows) {
            sink.beginRow(++number);
            for (const QString &text : row)
                sink.cell(text);
            sink.endRow();
        }
    };
}

const ExportLayout &layoutOf(const QString &word)
{
    return word == "events" ? ExportLayouts::events()
           : word == "participants" ? ExportLayouts::participants()
                                    : ExportLayouts::reservations();
}

// Every physical line ends with CR LF, holds at most 75 octets and whole
// UTF-8 characters.
void checkLineShape(const QByteArray &file)
{
    QVERIFY(file.endsWith("\r\n"));
    const QList<QByteArray> lines = file.split('\n'); // the last one empty
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        QVERIFY2(line.endsWith('\r'), line);
        const QByteArray bare = line.chopped(1);
        QVERIFY2(bare.size() <= 75, bare);
        QStringDecoder utf8(QStringDecoder::Utf8);
        utf8.decode(bare);
        QVERIFY2(!utf8.hasError(), bare);
    }
}

const char kAddress[] = "Via Roma 1, Forlì";

} // namespace

class TestExportFormats : public QObject
{
    Q_OBJECT
private slots:
    void formatsOfEachExport()
    {
        using F = ExportFormat;
        QCOMPARE(exportFormats(ExportLayouts::events()), (QList<F>{F::Xls, F::Xlsx, F::Csv, F::Ics}));
        QCOMPARE(exportFormats(ExportLayouts::participants()), (QList<F>{F::Xls, F::Xlsx, F::Csv, F::Vcf}));
        QCOMPARE(exportFormats(ExportLayouts::reservations()), (QList<F>{F::Xls, F::Xlsx, F::Csv}));
        QCOMPARE(exportFileName(ExportLayouts::participants(), F::Vcf), "Partecipanti.vcf");
        QCOMPARE(eventCalendarFileName(12), "Evento_12.ics");
        QCOMPARE(exportFormatNamed("ics"), std::optional<F>(F::Ics));
        QCOMPARE(exportFormatNamed("XLSX"), std::optional<F>());
        qvtest::TempProgramFolder folder;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, writeExport(F::Vcf, folder.file("x.vcf"),
                                                                    ExportLayouts::events(), rowsOf({})));
        QVERIFY(!QFile::exists(folder.file("x.vcf")));
    }

    void csvIsExactly()
    {
        qvtest::TempProgramFolder folder;
        const ExportLayout layout = exportLayout(TSchedaPrenotazione::layout(), "Prova.xls", "Prova",
                                                 {{"colA", "A", 10, false, "{Cliente}", "Cognome e nome", 10},
                                                  {"colB", "B", 10, false, "{CapRes}", "CAP; città", 10},
                                                  {"colC", "C", 10, false, "{Annotazioni}", "Note", 10}});
        const ExportOutcome outcome = writeExport(
            ExportFormat::Csv, folder.file("p.csv"), layout,
            rowsOf({{"  Niccolò \"Nico\"  ", "00100", "=1+1"},
                    {"a;b", "due\r\nrighe", QString::fromUtf8("€ 5, spazi   multipli")},
                    {"", "", ""}}));
        QCOMPARE(outcome.rows, 3);
        QCOMPARE(readFile(folder.file("p.csv")),
                 QByteArray("\xEF\xBB\xBF" "Cognome e nome;\"CAP; citt\xC3\xA0\";Note\r\n"
                            "\"Niccol\xC3\xB2 \"\"Nico\"\"\";00100;=1+1\r\n"
                            "\"a;b\";\"due\r\nrighe\";\xE2\x82\xAC 5, spazi   multipli\r\n"
                            ";;\r\n"));
    }

    // The archive's own bytes (Windows-1252) arrive as UTF-8.
    void csvOfAnArchive()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(TSchedaPrenotazione::archivePath(2), qvtest::reservationFields(),
                             {{{"Cliente", QString::fromUtf8("Perù € ")}, {"CapRes", "00100"}, {"DaConfermare", "No"}}});
        writeExport(ExportFormat::Csv, folder.file("p.csv"), ExportLayouts::reservations(),
                    archiveRows(ExportLayouts::reservations(), TSchedaPrenotazione::archivePath(2)));
        const QList<QByteArray> lines = readFile(folder.file("p.csv")).split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith("\xEF\xBB\xBF" "Cognome e nome partecipante;Indirizzo di residenza;"));
        QCOMPARE(lines.at(1), QByteArray("Per\xC3\xB9 \xE2\x82\xAC;;;;00100;;;;;;;;No\r"));
    }

    // Each of the three exports as a workbook: every cell text as typed.
    void workbookKeepsEveryTextAsTyped_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("field");  // the field that holds the texts
        QTest::addColumn<QString>("column"); // its column in the sheet
        QTest::newRow("events") << "events" << "Note" << "W";
        QTest::newRow("participants") << "participants" << "Carta" << "Q";
        QTest::newRow("reservations") << "reservations" << "Annotazioni" << "L";
    }
    void workbookKeepsEveryTextAsTyped()
    {
        QFETCH(QString, which);
        QFETCH(QString, field);
        QFETCH(QString, column);
        qvtest::TempProgramFolder folder;
        const ExportLayout &layout = layoutOf(which);
        const qvtest::Fields &fields = which == "events"         ? qvtest::eventFields()
                                       : which == "participants" ? qvtest::participantFields()
                                                                 : qvtest::reservationFields();
        const QStringList texts{"00100", "=1+1", "1234567890123456789", "Spazi   multipli",
                                QString::fromUtf8("Niccolò Àlvaro"), QString::fromUtf8("€ 5,00"), "R&D <b>",
                                "_x0041_ a_x00e8_", "riga\nnuova"};
        QList<qvtest::Values> records;
        for (const QString &text : texts)
            records.append({{field, text}});
        qvtest::writeRecords(folder.file("archivio.pro"), fields, records);

        const ExportOutcome outcome = writeExport(ExportFormat::Xlsx, folder.file("out.xlsx"), layout,
                                                  archiveRows(layout, folder.file("archivio.pro")));
        QCOMPARE(outcome.rows, texts.size());
        const QString file = folder.file("out.xlsx");
        const QByteArray workbook = qvtest::zipMember(file, "xl/workbook.xml");
        QVERIFY2(workbook.contains("<sheet name=\"" + layout.worksheet.toUtf8() + "\""), workbook);
        const QByteArray sheet = qvtest::zipMember(file, "xl/worksheets/sheet1.xml");
        const auto cells = qvtest::sheetCells(sheet);
        const QList<DataColumn> columns = layout.dataColumns();
        const auto letters = [](qsizetype c) { // A, ..., Z, AA, AB
            return (c < 26 ? QString() : QString(QChar(char16_t('A' + c / 26 - 1)))) + QChar(char16_t('A' + c % 26));
        };
        for (qsizetype c = 0; c < columns.size(); ++c)
            QCOMPARE(cells.value(letters(c) + QString("1")).text, columns.at(c).heading);
        for (qsizetype r = 0; r < texts.size(); ++r) {
            const qvtest::SheetCell cell = cells.value(column + QString::number(r + 2));
            QCOMPARE(cell.text, texts.at(r));
            QCOMPARE(cell.type, "inlineStr"); // a string, never a number or a formula
        }
        // Heading frozen, autofilter over the table, the file widths.
        const QString last = letters(columns.size() - 1);
        QVERIFY2(sheet.contains("state=\"frozen\""), sheet.left(2000));
        QVERIFY2(sheet.contains("<autoFilter ref=\"A1:" + last.toLatin1() + QByteArray::number(texts.size() + 1)
                                + "\"/>"),
                 sheet.right(500));
        QCOMPARE(sheet.count("customWidth=\"1\""), columns.size());
        // Data cells carry the text format (built-in 49, "@"); headings bold.
        const QByteArray styles = qvtest::zipMember(file, "xl/styles.xml");
        QVERIFY2(styles.contains("numFmtId=\"49\""), styles);
        QVERIFY2(styles.contains("<b/>"), styles);
    }

    // In the workbook a date is a date and an amount a number in euro, the
    // start and end dates and times in columns of their own (in the CSV
    // too); what is typed otherwise stays text.
    void workbookDatesAndAmounts()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(TSchedaEvento::archivePath(), qvtest::eventFields(),
                             {{{"Titolo", "Convegno"}, {"DataInizio", "01/03/2025"}, {"OraInizio", "09:30"},
                               {"DataFine", "02/03/2025"}, {"Quota", "1500,5"}, {"Anticipo", "da definire"},
                               {"DataSca", "fine mese"}, {"Posti", "0100"}}});
        const ExportLayout &layout = ExportLayouts::events();
        writeExport(ExportFormat::Xlsx, folder.file("e.xlsx"), layout, archiveRows(layout, TSchedaEvento::archivePath()));
        const auto cells = qvtest::sheetCells(qvtest::zipMember(folder.file("e.xlsx"), "xl/worksheets/sheet1.xml"));
        QCOMPARE(cells.value("E1").text, "Data inizio");
        QCOMPARE(cells.value("F1").text, "Ora inizio");
        QCOMPARE(cells.value("E2").type, ""); // a number: the date's serial
        QCOMPARE(cells.value("E2").text, "45717");
        QCOMPARE(cells.value("F2").text, "09:30");
        QCOMPARE(cells.value("F2").type, "inlineStr");
        QCOMPARE(cells.value("R1").text, "Quota partecipazione");
        QCOMPARE(cells.value("R2").type, "");
        QCOMPARE(cells.value("R2").text, "1500.5");
        QCOMPARE(cells.value("V2").type, "inlineStr");
        QCOMPARE(cells.value("X2").text, "fine mese");
        QCOMPARE(cells.value("Y2").text, "0100"); // a code stays text
        // As a spreadsheet shows them.
        const std::unique_ptr<imports::SourceTable> table = imports::openSourceTable(folder.file("e.xlsx"));
        imports::SourceRow row;
        QVERIFY(table->next(row));
        const QStringList heading = table->heading();
        QCOMPARE(row.values.at(heading.indexOf("Data inizio")), "01/03/2025");
        QCOMPARE(row.values.at(heading.indexOf("Data fine")), "02/03/2025");
        QCOMPARE(row.values.at(heading.indexOf("Quota partecipazione")), QString::fromUtf8("1.500,50 €"));
        QCOMPARE(row.values.at(heading.indexOf("Anticipo")), "da definire");

        writeExport(ExportFormat::Csv, folder.file("e.csv"), layout, archiveRows(layout, TSchedaEvento::archivePath()));
        const QList<QByteArray> lines = readFile(folder.file("e.csv")).split('\n');
        QVERIFY2(lines.at(0).contains(";Relatori;Data inizio;Ora inizio;Data fine;Ora fine;Sede;"), lines.at(0));
        QVERIFY2(lines.at(1).contains(";01/03/2025;09:30;02/03/2025;;"), lines.at(1));
    }

    // The event card's calendar picture: one card, one event.
    void calendarOfOneCard()
    {
        qvtest::TempProgramFolder folder;
        TSchedaEvento card;
        card.setText("Titolo", "Convegno");
        card.setText("DataInizio", "01/03/2025");
        const ExportOutcome outcome = writeExport(ExportFormat::Ics, folder.file("Evento_7.ics"), ExportLayouts::events(),
                                                  recordRows(ExportLayouts::events(), card.bytes(), 7));
        QCOMPARE(outcome.rows, 1);
        const QList<QList<ContentLine>> events = qvtest::components(readFile(folder.file("Evento_7.ics")), "VEVENT");
        QCOMPARE(events.size(), 1);
        QCOMPARE(qvtest::property(events.first(), "UID")->raw, "evento-7@quorvane");
        QCOMPARE(qvtest::property(events.first(), "DTSTART")->raw, "20250301");
    }

    void calendarOneEventPerRecord()
    {
        qvtest::TempProgramFolder folder;
        qvtest::FixedClock clock(QDateTime(QDate(2025, 1, 2), QTime(10, 0), Qt::UTC));
        const QString subjects = QString::fromUtf8("Però, perché; così \\ più: ") + QString(120, QChar(0xE0));
        qvtest::writeRecords(
            TSchedaEvento::archivePath(), qvtest::eventFields(),
            {{{"Titolo", "Convegno, annuale; 2025"}, {"DataInizio", "01/03/2025"}, {"OraInizio", "09:30"},
              {"DataFine", "01/03/2025"}, {"OraFine", "13.00"}, {"Sede", "Sala Verdi"},
              {"Indirizzo", QString::fromUtf8(kAddress)}, {"Relatori", "Rossi; Bianchi"}, {"Materie", subjects}},
             {{"Titolo", "Corso"}, {"DataInizio", "5/4/2025"}, {"OraInizio", "sera"}, {"DataFine", "06/04/2025"}},
             {{"Titolo", "Serata"}, {"DataInizio", "10/05/2025"}, {"OraInizio", "18:00"}, {"OraFine", "20:00"},
              {"Note", "porta\r\nB"}},
             {{"Titolo", "Senza data"}, {"OraInizio", "10:00"}},
             {{"Titolo", "Ore a rovescio"}, {"DataInizio", "12/06/2025"}, {"OraInizio", "18:00"},
              {"OraFine", "09:00"}},
             {{"Titolo", "Due giorni"}, {"DataInizio", "12/03/2025"}, {"OraInizio", "09:30"},
              {"DataFine", "13/03/2025"}, {"OraFine", "17:30"}},
             {{"Titolo", "Nottata"}, {"DataInizio", "20/06/2025"}, {"OraInizio", "22:00"},
              {"DataFine", "21/06/2025"}, {"OraFine", "02:00"}}});
        const ExportOutcome outcome =
            writeExport(ExportFormat::Ics, folder.file("e.ics"), ExportLayouts::events(),
                        archiveRows(ExportLayouts::events(), TSchedaEvento::archivePath()));
        QCOMPARE(outcome.rows, 6);
        QCOMPARE(outcome.skipped, QList<qint64>{4});
        const QByteArray file = readFile(folder.file("e.ics"));
        checkLineShape(file);
        QVERIFY(file.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
        QVERIFY(file.endsWith("END:VCALENDAR\r\n"));
        QCOMPARE(qvtest::components(file, "VTIMEZONE").size(), 1);
        QCOMPARE(qvtest::property(qvtest::components(file, "VTIMEZONE").first(), "TZID")->raw, "Europe/Rome");

        const QList<QList<ContentLine>> events = qvtest::components(file, "VEVENT");
        QCOMPARE(events.size(), 6);
        struct Expected
        {
            const char *uid, *start, *end;
            bool timed;
            const char *rule = nullptr;
        };
        // Two days with their hours are those hours on each day, not one
        // stretch of 32 hours; a night stays one stretch.
        const QList<Expected> expected{
            {"evento-1@quorvane", "20250301T093000", "20250301T130000", true},
            {"evento-2@quorvane", "20250405", "20250407", false},
            {"evento-3@quorvane", "20250510T180000", "20250510T200000", true},
            {"evento-5@quorvane", "20250612", "20250613", false},
            {"evento-6@quorvane", "20250312T093000", "20250312T173000", true, "FREQ=DAILY;COUNT=2"},
            {"evento-7@quorvane", "20250620T220000", "20250621T020000", true}};
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QList<ContentLine> &event = events.at(i);
            QCOMPARE(qvtest::property(event, "UID")->raw, expected.at(i).uid);
            QCOMPARE(qvtest::property(event, "DTSTAMP")->raw, "20250102T100000Z");
            for (const auto &[name, value] : {std::pair{"DTSTART", expected.at(i).start},
                                              std::pair{"DTEND", expected.at(i).end}}) {
                const ContentLine *line = qvtest::property(event, name);
                QVERIFY(line);
                QCOMPARE(line->raw, value);
                if (expected.at(i).timed)
                    QCOMPARE(line->parameters.value("TZID"), "Europe/Rome");
                else
                    QCOMPARE(line->parameters.value("VALUE"), "DATE");
            }
            const ContentLine *rule = qvtest::property(event, "RRULE");
            QCOMPARE(rule ? rule->raw : QString(), QString::fromLatin1(expected.at(i).rule));
        }
        const QList<ContentLine> &first = events.first();
        QCOMPARE(qvtest::unescaped(qvtest::property(first, "SUMMARY")->raw), "Convegno, annuale; 2025");
        QCOMPARE(qvtest::unescaped(qvtest::property(first, "LOCATION")->raw),
                 "Sala Verdi, " + QString::fromUtf8(kAddress));
        QCOMPARE(qvtest::unescaped(qvtest::property(first, "DESCRIPTION")->raw),
                 "Relatori: Rossi; Bianchi\nMaterie trattate: " + subjects);
        QCOMPARE(qvtest::unescaped(qvtest::property(events.at(1), "DESCRIPTION")->raw), "Ora inizio: sera");
        QVERIFY(!qvtest::property(events.at(1), "LOCATION"));
        QCOMPARE(qvtest::unescaped(qvtest::property(events.at(2), "DESCRIPTION")->raw), "Note: porta\nB");
    }

    void contactsOnePerParticipant()
    {
        qvtest::TempProgramFolder folder;
        qvtest::writeRecords(
            TSchedaPartecipante::archivePath(), qvtest::participantFields(),
            {{{"Cliente", QString::fromUtf8("Àlvaro Niccolò")}, {"DataNasc", "07/08/1970"},
              {"IndirizzoRes", "Via Po, 3"}, {"ComuneRes", "Reggio Emilia"}, {"ProvRes", "RE"},
              {"CapRes", "42121"}, {"TelCasa", "0522 1"}, {"TelUff", "0522 2"}, {"TelCel", "333 3"},
              {"Fax", "0522 4"}, {"Email", "a@b.it"}, {"Note", "socio; dal 2001"}},
             {{"Cliente", "Bianchi Anna"}, {"DataNasc", "primavera 1980"}, {"ComuneRes", "Monteu da Po"}},
             {{"Email", "senza@nome.it"}},
             {{"Cliente", "Rossi; Mario"}, {"ProvRes", "PG"}, {"IndirizzoRes", "Via A; 3"}, {"DataNasc", "1975-03-05"}}});
        const ExportOutcome outcome =
            writeExport(ExportFormat::Vcf, folder.file("p.vcf"), ExportLayouts::participants(),
                        archiveRows(ExportLayouts::participants(), TSchedaPartecipante::archivePath()));
        QCOMPARE(outcome.rows, 3);
        QCOMPARE(outcome.skipped, QList<qint64>{3});
        const QByteArray file = readFile(folder.file("p.vcf"));
        checkLineShape(file);
        const QList<QList<ContentLine>> cards = qvtest::components(file, "VCARD");
        QCOMPARE(cards.size(), 3);
        const QList<ContentLine> &one = cards.first();
        QCOMPARE(qvtest::property(one, "VERSION")->raw, "4.0");
        QCOMPARE(qvtest::unescaped(qvtest::property(one, "FN")->raw), QString::fromUtf8("Àlvaro Niccolò"));
        QCOMPARE(qvtest::compound(qvtest::property(one, "ADR")->raw),
                 (QStringList{"", "", "Via Po, 3", "Reggio Emilia", "RE", "", ""}));
        QCOMPARE(qvtest::property(one, "ADR")->parameters.value("TYPE"), "home");
        for (const auto &[type, number] : {std::pair{"home", "0522 1"}, std::pair{"work", "0522 2"},
                                           std::pair{"cell", "333 3"}, std::pair{"fax", "0522 4"}}) {
            const ContentLine *tel = qvtest::property(one, "TEL", type);
            QVERIFY2(tel, type);
            QCOMPARE(tel->raw, number);
        }
        QCOMPARE(qvtest::property(one, "EMAIL")->raw, "a@b.it");
        QCOMPARE(qvtest::property(one, "NOTE")->raw, "socio; dal 2001"); // ";" escaped only in N and ADR
        QCOMPARE(qvtest::property(one, "BDAY")->raw, "19700807");

        const QList<ContentLine> &two = cards.at(1);
        QVERIFY(!qvtest::property(two, "BDAY")); // not a date
        QVERIFY(!qvtest::property(two, "TEL"));
        QCOMPARE(qvtest::compound(qvtest::property(two, "ADR")->raw).at(3), "Monteu da Po");

        // A province without a town keeps its own slot; a birth date typed
        // the ISO way is a date too.
        const QList<ContentLine> &three = cards.at(2);
        QCOMPARE(qvtest::property(three, "FN")->raw, "Rossi; Mario");
        QCOMPARE(qvtest::property(three, "ADR")->raw, ";;Via A\\; 3;;PG;;");
        QCOMPARE(qvtest::compound(qvtest::property(three, "ADR")->raw), (QStringList{"", "", "Via A; 3", "", "PG", "", ""}));
        QCOMPARE(qvtest::property(three, "BDAY")->raw, "19750305");
    }

    // A failure part-way, in any format, leaves the previous file whole.
    void failurePartWayKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("which");
        QTest::newRow("xls") << int(ExportFormat::Xls) << "reservations";
        QTest::newRow("xlsx") << int(ExportFormat::Xlsx) << "reservations";
        QTest::newRow("csv") << int(ExportFormat::Csv) << "reservations";
        QTest::newRow("ics") << int(ExportFormat::Ics) << "events";
        QTest::newRow("vcf") << int(ExportFormat::Vcf) << "participants";
    }
    void failurePartWayKeepsTheOldFile()
    {
        QFETCH(int, format);
        QFETCH(QString, which);
        qvtest::TempProgramFolder folder;
        folder.write("out", "old export");
        const ExportLayout &layout = layoutOf(which);
        QStringList row;
        for (qsizetype c = 0; c < layout.columns.size(); ++c)
            row.append("Data: 01/01/2025 - Ora: 10:00 riga abbastanza lunga");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 writeExport(ExportFormat(format), folder.file("out"), layout, [&](RowSink &sink) {
                                     rowsOf(QList<QStringList>(3000, row))(sink);
                                     throw std::runtime_error("archive read failed");
                                 }));
        QCOMPARE(readFile(folder.file("out")), QByteArray("old export"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"out"});
    }
};

QTEST_GUILESS_MAIN(TestExportFormats)
#include "tst_exportformats.moc"
