#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/cp1252.h"
#include "core/programfolder.h"
#include "output/eventlists.h"
#include "output/fixtures.h"
#include "output/listlines.h"
#include "output/listscan.h"
#include "support/testsupport.h"

#include <QDir>
#include <QtTest>

using namespace qv;
using qvtest::TempProgramFolder;
using qvtest::Values;

namespace {

// A small record type, so lines and filters can be checked field by field.
const RecordLayout &smallLayout()
{
    static const RecordLayout layout{{"Nome", 10}, {"Citta", 20}, {"Note", 30}};
    return layout;
}
const qvtest::Fields &smallFields()
{
    static const qvtest::Fields fields{{"Nome", 10}, {"Citta", 20}, {"Note", 30}};
    return fields;
}

QString archive() { return ProgramFolder::file("Piccolo.pro"); }

ListSource smallSource()
{
    return {&smallLayout(), [] { return archive(); },
            LineLayout(smallLayout(), {{QString(), "Nome", 6}, {"  C: ", "Citta", 8}, {"  N: ", "Note", LineLayout::kTrimmed}})};
}

} // namespace

class TestListLines : public QObject
{
    Q_OBJECT
private slots:
    void lineIsPaddedColumnsAndLabels_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("citta");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("line");
        QTest::newRow("short texts are filled") << "Anna" << "Roma" << "ok" << "Anna    C: Roma      N: ok";
        QTest::newRow("long texts are cut") << "Alessandra" << "Reggio Calabria" << "x" << "Alessa  C: Reggio C  N: x";
        QTest::newRow("stored blanks are trimmed first") << "  Bo " << "\tPisa  " << "  note  "
                                                         << "Bo      C: Pisa      N: note";
        QTest::newRow("empty fields") << "" << "" << "" << "        C:           N: ";
        QTest::newRow("accents and brackets kept") << "Jos\u00E8" << "[DATE]" << "\u20AC 5" << "Jos\u00E8    C: [DATE]    N: \u20AC 5";
    }
    void lineIsPaddedColumnsAndLabels()
    {
        QFETCH(QString, nome);
        QFETCH(QString, citta);
        QFETCH(QString, note);
        QFETCH(QString, line);
        const QByteArray bytes = qvtest::record(smallFields(), {{"Nome", nome}, {"Citta", citta}, {"Note", note}});
        QCOMPARE(smallSource().lines.line(RecordView(smallLayout(), bytes.constData())), line);
    }

    void hasTextIsTheTrimmedTextNotEmpty_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("control characters") << "\t\x01 \n";
        QTest::newRow("one letter among blanks") << "  a ";
        QTest::newRow("no-break space") << "\u00A0";
        QTest::newRow("euro") << "\u20AC";
    }
    void hasTextIsTheTrimmedTextNotEmpty()
    {
        QFETCH(QString, stored);
        // Stored as it is, blanks kept, as other programs may write it.
        QByteArray bytes = qvtest::record(smallFields(), {});
        const QByteArray text = cp1252::encode(stored);
        bytes[0] = char(text.size());
        bytes.replace(1, text.size(), text);
        const RecordView record(smallLayout(), bytes.constData());
        QCOMPARE(record.hasText(0), !record.text(0).isEmpty());
    }

    void unknownFieldInLayoutIsRefused()
    {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, LineLayout(smallLayout(), {{QString(), "Nessuno", 5}}));
    }

    void listOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("order"); // -1 first before second, 0 equal, 1 after
        QTest::newRow("plain") << "Alfa" << "Beta" << -1;
        QTest::newRow("a-z read as A-Z") << "alfa" << "ALFA" << 0;
        QTest::newRow("case does not decide") << "beta" << "Alfa" << 1;
        QTest::newRow("prefix first") << "Alfa" << "alfa " << -1;
        QTest::newRow("blank before letters") << "Al fa" << "Alfa" << -1;
        QTest::newRow("underscore after letters") << "A_" << "Az" << 1; // '_' (95) > 'Z' (90)
        QTest::newRow("digits before letters") << "9" << "a" << -1;
        QTest::newRow("accented letters not folded") << "\u00E8" << "\u00C8" << 1;
        QTest::newRow("accented after Z") << "\u00C0" << "z" << 1;
    }
    void listOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, order);
        QCOMPARE(listLess(first, second), order < 0);
        QCOMPARE(listLess(second, first), order > 0);
        // Sorting a list gives the same order; equal lines keep theirs.
        QStringList both{second, first};
        sortLines(both);
        const QStringList expected = order < 0 ? QStringList{first, second} : QStringList{second, first};
        QCOMPARE(both, expected);
    }

    void sortKeepsEqualLinesInArchiveOrder()
    {
        QStringList lines{"beta", "ALFA", "Beta", "alfa", "Alfa 2", "b"};
        sortLines(lines);
        QCOMPARE(lines, (QStringList{"ALFA", "alfa", "Alfa 2", "b", "beta", "Beta"}));
    }

    void displayLineIsOneRow_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain line as it is") << "Rossi  Roma" << "Rossi  Roma";
        QTest::newRow("line feed inside a field") << "Rossi\nMario  Roma" << "Rossi Mario  Roma";
        QTest::newRow("carriage return and line feed") << "Rossi\r\nMario" << "Rossi  Mario";
        QTest::newRow("lone carriage return") << "a\rb" << "a b";
        QTest::newRow("tabs, brackets and symbols kept") << "[DATE]\t& \u20AC" << "[DATE]\t& \u20AC";
    }
    void displayLineIsOneRow()
    {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QCOMPARE(displayLine(line), shown);
    }

    void eventLine_data()
    {
        QTest::addColumn<Values>("event");
        QTest::addColumn<QString>("line");
        const QString fee = QStringLiteral("  Quota: \u20AC ");
        QTest::newRow("short texts filled")
            << Values{{"Titolo", "Convegno"}, {"DataInizio", "01/02/2025"}, {"DataFine", "02/02/2025"},
                      {"Contatto", "Mario Rossi"}, {"RecapitoCon", "06 1234"}, {"Quota", "10,00"}}
            << "Convegno" + QString(36, ' ') + "  Da: 01/02/2025  A: 02/02/2025  Info: Mario Rossi" + QString(17, ' ')
                   + "  Tel. 06 1234" + QString(8, ' ') + fee + "10,00";
        QTest::newRow("long texts cut, fee never cut")
            << Values{{"Titolo", "Congresso nazionale sulla sicurezza nei cantieri"},
                      {"DataInizio", "1/2/2025"},
                      {"Contatto", "Anna Maria Esposito Lombardi Rossi"},
                      {"RecapitoCon", "+39 333 1234567890"},
                      {"Quota", "1200,0000"}}
            << "Congresso nazionale sulla sicurezza nei cant" + QString("  Da: 1/2/2025  ") + "  A: " + QString(10, ' ')
                   + "  Info: Anna Maria Esposito Lombardi" + "  Tel. +39 333 1234567" + fee + "1200,0000";
        QTest::newRow("stored blanks trimmed, all empty")
            << Values{{"Titolo", "  Zeta "}, {"Quota", " "}}
            << "Zeta" + QString(40, ' ') + "  Da: " + QString(10, ' ') + "  A: " + QString(10, ' ') + "  Info: "
                   + QString(28, ' ') + "  Tel. " + QString(15, ' ') + fee;
    }
    void eventLine()
    {
        QFETCH(Values, event);
        QFETCH(QString, line);
        const QByteArray bytes = qvtest::record(qvtest::eventFields(), event);
        QCOMPARE(EventLists::lines().line(RecordView(TSchedaEvento::layout(), bytes.constData())), line);
        QCOMPARE(line, qvtest::eventLine(event));
    }

    void filterRule_data()
    {
        QTest::addColumn<QStringList>("boxes"); // Nome, Citta, Note as typed
        QTest::addColumn<int>("filled");
        QTest::addColumn<bool>("listed");
        // The record: Nome "Mario", Citta "Reggio Emilia", Note "via Roma 3, 12/03/2025".
        QTest::newRow("no box filled lists every record") << QStringList{"", "", ""} << 0 << true;
        QTest::newRow("one box, found") << QStringList{"mar", "", ""} << 1 << true;
        QTest::newRow("one box, not found") << QStringList{"luca", "", ""} << 1 << false;
        QTest::newRow("middle of a word") << QStringList{"", "gio emi", ""} << 1 << true;
        QTest::newRow("upper case typed") << QStringList{"MARIO", "", ""} << 1 << true;
        QTest::newRow("two boxes, both found") << QStringList{"mario", "emilia", ""} << 2 << true;
        QTest::newRow("two boxes, one found") << QStringList{"mario", "parma", ""} << 2 << false;
        QTest::newRow("words must be consecutive") << QStringList{"", "", "roma via"} << 1 << false;
        QTest::newRow("month and year of a date") << QStringList{"", "", "03/2025"} << 1 << true;
        QTest::newRow("blanks typed are kept") << QStringList{" mario", "", ""} << 1 << false;
        QTest::newRow("trailing blank typed is kept") << QStringList{"", "reggio ", ""} << 1 << true;
        QTest::newRow("blank-only box is not filled") << QStringList{"   ", "", ""} << 0 << true;
        // A blank-only box never scores, even where the field holds blanks.
        QTest::newRow("blank-only box does not score") << QStringList{"luca", " ", ""} << 1 << false;
        QTest::newRow("blank-only box beside a found one") << QStringList{"mario", " ", ""} << 1 << true;
        QTest::newRow("accented letters are not folded") << QStringList{"", "", "\u00C8"} << 1 << false;
    }
    void filterRule()
    {
        QFETCH(QStringList, boxes);
        QFETCH(int, filled);
        QFETCH(bool, listed);
        const QByteArray bytes = qvtest::record(
            smallFields(), {{"Nome", "Mario"}, {"Citta", "Reggio Emilia"}, {"Note", "via Roma 3, 12/03/2025 \u00E8"}});
        const FilterRule rule({{0, boxes[0]}, {1, boxes[1]}, {2, boxes[2]}});
        QCOMPARE(rule.filledCount(), filled);
        QCOMPARE(rule.matches(RecordView(smallLayout(), bytes.constData())), listed);
    }

    void filterComparesTheFieldAsStored()
    {
        // An archive written elsewhere may keep blanks around a text: the
        // filter sees them, the line does not.
        const QByteArray bytes = qvtest::record(smallFields(), {{"Nome", " Ugo "}});
        const RecordView view(smallLayout(), bytes.constData());
        QVERIFY(FilterRule({{0, "ugo "}}).matches(view));
        QVERIFY(FilterRule({{0, " ugo"}}).matches(view));
        QCOMPARE(view.text(0), QString("Ugo"));
        QCOMPARE(view.stored(0), QString(" Ugo "));
    }

    void findInList_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("lastKey");
        QTest::addColumn<int>("found");
        // Lines: 0 "Alfa Roma", 1 "Beta Milano", 2 "Gamma roma", 3 "Delta Pisa"
        QTest::newRow("new key: first line tested first") << 2 << "roma" << "" << 0;
        QTest::newRow("new key: scan from the first line") << 0 << "pisa" << "milano" << 3;
        QTest::newRow("same key: moves on") << 0 << "roma" << "roma" << 2;
        QTest::newRow("same key: wraps") << 2 << "roma" << "roma" << 0;
        QTest::newRow("same key typed in other case") << 0 << "ROMA" << "roma" << 2;
        QTest::newRow("single match stays") << 1 << "milano" << "milano" << 1;
        QTest::newRow("no match") << 1 << "napoli" << "" << -1;
        QTest::newRow("empty key never matches") << 1 << "" << "" << -1;
        QTest::newRow("blank key finds blanks") << 0 << " " << "" << 0;
        QTest::newRow("label text is searched too") << 0 << "a p" << "" << 3;
    }
    void findInList()
    {
        QFETCH(int, selected);
        QFETCH(QString, key);
        QFETCH(QString, lastKey);
        QFETCH(int, found);
        const QStringList lines{"Alfa Roma", "Beta Milano", "Gamma roma", "Delta Pisa"};
        QCOMPARE(qv::findInList(lines, selected, key, lastKey), found);
    }

    void findWalksEveryMatchAndWraps()
    {
        const QStringList lines{"x1", "a", "x2", "b", "x3"};
        int row = 0;
        QString last;
        QList<int> visited;
        for (int i = 0; i < 5; ++i) {
            row = qv::findInList(lines, row, "x", last);
            last = "x";
            visited.append(row);
        }
        QCOMPARE(visited, (QList<int>{0, 2, 4, 0, 2}));
    }

    void searchReadsEveryRecordInBlocks()
    {
        TempProgramFolder folder;
        // More records than one read block holds, so blocks join correctly.
        QList<Values> records;
        for (int i = 0; i < 40000; ++i)
            records.append({{"Nome", QString::number(i % 997)}, {"Citta", i % 2 ? "Roma" : "Pisa"}});
        qvtest::writeRecords(archive(), smallFields(), records);

        QList<qint64> numbers;
        scanArchive(archive(), smallLayout(), [&](const RecordView &record, qint64 number) {
            if (record.text(0) == "996")
                numbers.append(number);
        });
        QList<qint64> expected;
        for (int i = 996; i < 40000; i += 997)
            expected.append(i + 1);
        QCOMPARE(numbers, expected);

        const QStringList pisa = searchLines(smallSource(), FilterRule({{1, "pisa"}})).toStringList();
        QCOMPARE(pisa.size(), 20000);
        QVERIFY(qvtest::inListOrder(pisa));
        QCOMPARE(searchLines(smallSource(), FilterRule({{1, ""}})).size(), 40000);
    }

    // Lines alike for long stretches, alike but for case, or one the start
    // of another: the list keeps the order of sorting its lines as text, on
    // one thread and on two.
    void listIsInTheOrderOfItsLines_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("a short list") << 600;
        QTest::newRow("a long list") << 20000;
    }
    void listIsInTheOrderOfItsLines()
    {
        QFETCH(int, count);
        TempProgramFolder folder;
        const QStringList names{"anna", "ANNA", "Anna", "Bo", "bo"};
        const QStringList towns{"Reggio Calabria", "Reggio Emilia", "reggio"};
        const QStringList notes{"", "nota", "Nota", "nota 1", "nota \u00E8", "nota \u00C8", "nota \u20AC",
                                "nota lunga, che differisce tardi"};
        QList<Values> records;
        for (int i = 0; i < count; ++i)
            records.append({{"Nome", names[i % 5]},
                            {"Citta", towns[(i / 5) % 3]},
                            {"Note", notes[(i / 15) % 8] + (i % 4 ? QString::number(i % 7) : QString())}});
        qvtest::writeRecords(archive(), smallFields(), records);

        QStringList expected;
        scanArchive(archive(), smallLayout(), [&](const RecordView &record, qint64) {
            expected.append(smallSource().lines.line(record));
        });
        sortLines(expected);
        QCOMPARE(searchLines(smallSource(), FilterRule({})).toStringList(), expected);
        QCOMPARE(listLines(smallSource(), [](const RecordView &) { return true; }).toStringList(), expected);
    }

    void missingArchiveIsCreatedEmpty()
    {
        TempProgramFolder folder;
        QVERIFY(!QFile::exists(archive()));
        QCOMPARE(searchLines(smallSource(), FilterRule({})).toStringList(), QStringList());
        QVERIFY(QFile::exists(archive()));
        QCOMPARE(QFileInfo(archive()).size(), 0);
    }

    void trailingPartialRecordIsIgnored()
    {
        TempProgramFolder folder;
        QByteArray bytes = qvtest::record(smallFields(), {{"Nome", "Uno"}});
        bytes += qvtest::record(smallFields(), {{"Nome", "Due"}}).left(20);
        folder.write("Piccolo.pro", bytes);
        QCOMPARE(searchLines(smallSource(), FilterRule({})).size(), 1);
    }

    void unreadableArchive()
    {
        TempProgramFolder folder;
        QDir(folder.path()).mkdir("Piccolo.pro"); // a folder where the file should be
        QVERIFY_THROWS_EXCEPTION(ArchiveError, searchLines(smallSource(), FilterRule({})));
        bool failed = false;
        QCOMPARE(listLines(smallSource(), [](const RecordView &) { return true; }, &failed).toStringList(), QStringList());
        QVERIFY(failed);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, deliverChosen(smallSource(), "x", [](const Record &, qint64) {}));
    }

    void listLinesKeepsOnlyRecordsThatPass()
    {
        TempProgramFolder folder;
        qvtest::writeRecords(archive(), smallFields(),
                             {{{"Nome", "zeta"}, {"Note", "si"}}, {{"Nome", "alfa"}, {"Note", "no"}},
                              {{"Nome", "Beta"}, {"Note", "si"}}});
        bool failed = true;
        const QStringList lines =
            listLines(smallSource(), [](const RecordView &r) { return r.text(2) == "si"; }, &failed).toStringList();
        QVERIFY(!failed);
        QCOMPARE(lines, (QStringList{"Beta    C:           N: si", "zeta    C:           N: si"}));
    }

    void chosenLineFindsItsRecordsAndTheLastWins()
    {
        TempProgramFolder folder;
        // Records 1 and 3 give the same line (the names differ past the column);
        // record 2 differs only in case, which counts.
        qvtest::writeRecords(archive(), smallFields(),
                             {{{"Nome", "Francesca"}, {"Citta", "Roma"}, {"Note", "a"}},
                              {{"Nome", "FRANCESCA"}, {"Citta", "Roma"}, {"Note", "a"}},
                              {{"Nome", "Francesco"}, {"Citta", "  Roma"}, {"Note", "a "}},
                              {{"Nome", "Piero"}}});
        QList<qint64> numbers;
        QStringList names;
        const int delivered = deliverChosen(smallSource(), "  France  C: Roma      N: a  ",
                                            [&](const Record &record, qint64 number) {
                                                numbers.append(number);
                                                names.append(record.text("Nome"));
                                            });
        QCOMPARE(delivered, 2);
        QCOMPARE(numbers, (QList<qint64>{1, 3}));
        QCOMPARE(names, (QStringList{"Francesca", "Francesco"}));
        QCOMPARE(deliverChosen(smallSource(), "nessuna", [](const Record &, qint64) {}), 0);
    }
};

QTEST_GUILESS_MAIN(TestListLines)
#include "tst_listlines.moc"
