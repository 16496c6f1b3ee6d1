// quorvane-cli stats: the owner's check through the real tool, in JSON and
// CSV, and what it does with wrong usage and an archive it cannot read.
#include "statsfixtures.h"

#include "../cli/clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using clitest::runCli;

namespace {

// The value of (table, row, series) in the JSON output.
int jsonValue(const QJsonObject &all, const QString &table, const QString &row, const QString &series)
{
    for (const QJsonValue t : all.value("Tabelle").toArray()) {
        if (t.toObject().value("Nome").toString() != table)
            continue;
        for (const QJsonValue r : t.toObject().value("Righe").toArray())
            if (r.toObject().value("Voce").toString() == row)
                return r.toObject().value(series).toInt(-1);
    }
    return -1;
}

} // namespace

class TestCliStats : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<bool>("byYear");
        QTest::newRow("event") << QStringList{"1"} << false;
        QTest::newRow("year") << QStringList{"--year", "2026"} << true;
    }
    void numbers()
    {
        QFETCH(QStringList, selection);
        QFETCH(bool, byYear);
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const QStringList base = QStringList{"stats"} + selection + QStringList{"--folder", folder.path()};

        const auto json = runCli(base + QStringList{"--format", "json"});
        QCOMPARE(json.exit, 0);
        const QJsonObject all = QJsonDocument::fromJson(json.out).object();
        const auto expected = byYear ? statsfixtures::kYear : statsfixtures::kEvent;
        for (const statsfixtures::Expected &e : expected) {
            // The series' names as the tables name them.
            QString series;
            const QString table = QString::fromLatin1(e.table);
            if (table == "tabPosti")
                series = "Numero";
            else if (table == "tabPresenze")
                series = e.series ? "Usciti" : "Presenti";
            else if (table == "tabMesi")
                series = "Eventi";
            else if (table == "tabEventi")
                series = e.series ? "Offerti" : "Prenotati";
            else
                series = "Prenotati";
            QCOMPARE(jsonValue(all, table, QString::fromUtf8(e.row), series), e.value);
        }

        const auto csv = runCli(base + QStringList{"--format", "csv"});
        QCOMPARE(csv.exit, 0);
        const QStringList lines = csv.outText().split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("Tabella,Voce,Serie,Valore"));
        QVERIFY(lines.contains(byYear ? QStringLiteral("Riepilogo,Partecipanti da ricontattare,Numero,2")
                                      : QStringLiteral("Province di residenza,altre,Prenotati,3")));

        const auto text = runCli(base);
        QCOMPARE(text.exit, 0);
        QVERIFY(text.outText().startsWith(byYear ? "Anno 2026\n" : "Evento 1: Convegno di primavera"));
        if (!byYear) {
            // Arrivals of the second day: three at nine, no exits to follow in the hall.
            const auto second = runCli(base + QStringList{"--day", "13/03/2026", "--format", "json"});
            QCOMPARE(second.exit, 0);
            const QJsonObject day = QJsonDocument::fromJson(second.out).object();
            QCOMPARE(jsonValue(day, "tabArrivi", "09:00", "Arrivi"), 3);
            QCOMPARE(jsonValue(day, "tabInSala", "09:00", "In sala"), -1);
            QCOMPARE(jsonValue(all, "tabInSala", "12:45", "In sala"), 5);
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("neither") << QStringList{} << 2 << "indicare il numero di un evento oppure --year";
        QTest::newRow("both") << QStringList{"1", "--year", "2026"} << 2 << "indicare il numero di un evento oppure --year";
        QTest::newRow("bad year") << QStringList{"--year", "duemila"} << 2 << "anno \"duemila\" non valido";
        QTest::newRow("bad format") << QStringList{"1", "--format", "xml"} << 2 << "formato \"xml\" sconosciuto";
        QTest::newRow("bad day") << QStringList{"1", "--day", "31/02/2026"} << 2 << "giorno \"31/02/2026\" non valido";
        QTest::newRow("no such event") << QStringList{"9"} << 1 << "l'evento numero 9 non esiste";
        QTest::newRow("unreadable") << QStringList{"1", "--format", "json"} << 3
                                    << "Impossibile leggere l'archivio";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const QString bookings = folder.file("Posti_Riservati_Evento_1.pro");
        QVERIFY(QFile::remove(bookings));
        QVERIFY(QDir().mkpath(bookings));
        const auto r = runCli(QStringList{"stats"} + args + QStringList{"--folder", folder.path()});
        QCOMPARE(r.exit, exit);
        QVERIFY2(r.errText().contains(message), qPrintable(r.errText()));
        QVERIFY(r.out.isEmpty());
    }
};

QTEST_MAIN(TestCliStats)
#include "tst_clistats.moc"
