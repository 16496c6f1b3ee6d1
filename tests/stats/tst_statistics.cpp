// The statistics' numbers, widget-free: the owner's check table by table,
// the three texts of the command line, and a read that fails.
#include "statsfixtures.h"

#include "archive/records.h"
#include "eventday/attendance.h"
#include "stats/statistics.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace qv;

namespace {

void compareTables(const Stats::Result &result, const QList<statsfixtures::Expected> &expected)
{
    QVERIFY2(!result.failed(), qPrintable(result.error));
    for (const statsfixtures::Expected &e : expected) {
        const Stats::Table *table = result.table(QString::fromLatin1(e.table));
        QVERIFY2(table, e.table);
        QCOMPARE(table->value(QString::fromUtf8(e.row), e.series), e.value);
    }
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT
private slots:
    void event()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const QStringList before = QDir(folder.path()).entryList(QDir::Files);
        const Stats::Result r = Stats::forEvent(1);
        compareTables(r, statsfixtures::kEvent);
        QCOMPARE(r.heading, QStringLiteral("Evento 1: Convegno di primavera (12/03/2026 - 13/03/2026)"));
        QCOMPARE(r.table("tabPosti")->title, QStringLiteral("Posti dell'evento (20)"));
        for (const auto &[name, rows] : statsfixtures::kEventRows) {
            QStringList labels;
            for (const Stats::Table::Row &row : r.table(QString::fromLatin1(name))->rows)
                labels.append(row.label);
            QCOMPARE(labels, rows);
        }
        QCOMPARE(r.figure("lblOgniGiorno"), 2);
        QCOMPARE(r.figure("lblAlmenoUnGiorno"), 6);
        // Only read: nothing created, the event of no bookings included.
        QCOMPARE(Stats::forEvent(4).table("tabPosti")->value("prenotati"), 0);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), before);
    }

    // The door on a day: arrivals per quarter of an hour and, with exits,
    // the people in the hall until the last went out; the first day with
    // someone at the door unless another is asked for.
    void doorDay()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const Stats::Result first = Stats::forEvent(1);
        QCOMPARE(first.days, (QList<QDate>{QDate(2026, 3, 12), QDate(2026, 3, 13)}));
        QCOMPARE(first.day, QDate(2026, 3, 12));
        QCOMPARE(first.table("tabArrivi")->title, QStringLiteral("Arrivi ogni quarto d'ora, 12/03/2026"));
        QCOMPARE(first.table("tabArrivi")->rows.size(), 1);
        QCOMPARE(first.table("tabArrivi")->value("09:00"), 5);
        const Stats::Table *hall = first.table("tabInSala");
        QVERIFY(hall);
        QCOMPARE(hall->rows.first().label, QStringLiteral("09:00"));
        QCOMPARE(hall->rows.last().label, QStringLiteral("13:00"));
        QCOMPARE(hall->value("12:45"), 5); // the two who left at 13:00 were in until then
        QCOMPARE(hall->value("13:00"), 3);
        QCOMPARE(first.figure("lblMaiPresenti"), first.table("tabPosti")->value("prenotati") - 6);

        const Stats::Result second = Stats::forEvent(1, QDate(2026, 3, 13));
        QCOMPARE(second.day, QDate(2026, 3, 13));
        QCOMPARE(second.table("tabArrivi")->value("09:00"), second.table("tabPresenze")->value("13/03/2026"));
        QVERIFY(!second.table("tabInSala")); // no exits that day
    }

    void year()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const Stats::Result r = Stats::forYear(2026);
        compareTables(r, statsfixtures::kYear);
        QCOMPARE(r.table("tabMesi")->rows.size(), 12);
        QCOMPARE(r.table("tabEventi")->rows.size(), 3);
        QCOMPARE(r.table("tabProvince")->rows.size(), 11);
        QCOMPARE(r.figure("lblRicontatta"), 2);
        QCOMPARE(Stats::forYear(2025).table("tabEventi")->value("3. Corso d'autunno", 1), 30);
    }

    void texts()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const Stats::Result r = Stats::forEvent(1);

        const QJsonObject json = QJsonDocument::fromJson(Stats::json(r)).object();
        QCOMPARE(json.value("Titolo").toString(), r.heading);
        const QJsonArray tables = json.value("Tabelle").toArray();
        QCOMPARE(tables.size(), 5);
        const QJsonObject presenze = tables.at(1).toObject();
        QCOMPARE(presenze.value("Nome").toString(), QStringLiteral("tabPresenze"));
        QCOMPARE(presenze.value("Righe").toArray().at(0).toObject(),
                 (QJsonObject{{"Voce", "12/03/2026"}, {"Presenti", 5}, {"Usciti", 2}}));
        QCOMPARE(json.value("Dati").toObject().value("Presenti in ogni giorno").toInt(), 2);

        const QStringList csv = QString::fromUtf8(Stats::csv(r)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(csv.first(), QStringLiteral("Tabella,Voce,Serie,Valore"));
        QVERIFY(csv.contains(QStringLiteral("Posti dell'evento (20),assegnati pi\u00F9 volte,Numero,1")));
        QVERIFY(csv.contains(QStringLiteral("Presenze per giorno,13/03/2026,Presenti,3")));
        QVERIFY(csv.contains(QStringLiteral("Province di residenza,altre,Prenotati,3")));
        QVERIFY(csv.contains(QStringLiteral("Riepilogo,Presenti in almeno un giorno,Numero,6")));
        // Heading, seats, two days of two series, one quarter of arrivals,
        // the hall from 09:00 to 13:00, the provinces, three figures.
        QCOMPARE(csv.size(), 1 + 4 + 4 + 1 + 17 + 11 + 3);

        const QString text = QString::fromUtf8(Stats::text(r));
        QVERIFY(text.startsWith(r.heading + "\n"));
        QVERIFY(text.contains(QStringLiteral("  12/03/2026  Presenti 5, Usciti 2\n")));
        QVERIFY(text.contains(QStringLiteral("Presenti in ogni giorno: 2\n")));
    }

    // An archive that cannot be read gives no numbers at all, and says which.
    void readFailure_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<bool>("byYear");
        QTest::newRow("bookings") << TSchedaPrenotazione::archiveName(1) << false;
        QTest::newRow("events") << QStringLiteral("Eventi.pro") << false;
        QTest::newRow("entries") << TSchedaPresenza::archiveName(1) << false;
        QTest::newRow("exits") << TSchedaUscita::archiveName(1) << false;
        QTest::newRow("year: events") << QStringLiteral("Eventi.pro") << true;
        QTest::newRow("year: bookings") << TSchedaPrenotazione::archiveName(2) << true;
        QTest::newRow("year: participants") << QStringLiteral("Partecipanti.pro") << true;
    }
    void readFailure()
    {
        QFETCH(QString, archive);
        QFETCH(bool, byYear);
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        QFile::remove(folder.file(archive));
        QVERIFY(QDir().mkpath(folder.file(archive))); // a folder in its place: no read succeeds
        const Stats::Result r = byYear ? Stats::forYear(2026) : Stats::forEvent(1);
        QVERIFY(r.failed());
        QVERIFY2(r.error.contains(QDir::toNativeSeparators(folder.file(archive))), qPrintable(r.error));
        QVERIFY(r.tables.isEmpty());
        QVERIFY(r.figures.isEmpty());
        QVERIFY(Stats::csv(r) == "Tabella,Voce,Serie,Valore\r\n");
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
