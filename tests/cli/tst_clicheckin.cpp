// quorvane-cli checkin at the door of an event of two days, and attendance
// listing what it recorded day by day, through the real tool.
#include "clirunner.h"
#include "eventday/badgecode.h"
#include "eventday/dayfixtures.h"

#include <QDir>
#include <QtTest>

using namespace clitest;
using dayfixtures::Guest;
using qvtest::TempProgramFolder;

namespace {

// Event 3 runs on 12 and 13 March 2026.
void writeEvents(const TempProgramFolder &folder)
{
    qv::TSchedaEvento convegno;
    convegno.setText("Titolo", "Convegno di primavera");
    convegno.setText("DataInizio", "12/03/2026");
    convegno.setText("DataFine", "13/03/2026");
    folder.write("Eventi.pro", QByteArray(2 * qv::TSchedaEvento::layout().size(), '\0') + convegno.bytes());
}

// Records 1 to 4 of event 3; Verdi awaits confirmation.
const QList<Guest> kGuests{
    {"Rossi Mario", "7"},
    {QStringLiteral("Verdi Nicol\u00F2"), "12", {}, true},
    {"Rossi Anna", "3"},
    {"Bianchi Luca", "9"},
};

QString badge(qint64 event, qint64 record, const QString &seat)
{
    return QString::fromLatin1(qv::BadgeCode::text(event, record, seat));
}

// One line at the door: what was typed, and what the tool answered, on its
// standard output when it recorded something, else on its standard error.
struct Step
{
    QString what;
    QStringList args;
    int exit;
    QStringList said;
};

// Two days at the door of event 3.
QList<Step> twoDays()
{
    const QString day1 = "12/03/2026 %1";
    const QString day2 = "13/03/2026 %1";
    return {
        {"badge, day one", {"3", badge(3, 1, "7"), "--at", day1.arg("09:31")}, 0,
         {"Ingresso registrato alle 09:31:00", "Rossi Mario", "Posto 7"}},
        {"seat, day one", {"3", "3", "--at", day1.arg("09:40")}, 0, {"Ingresso registrato alle 09:40:00", "Rossi Anna"}},
        {"pending booking", {"3", "12", "--at", day1.arg("09:45")}, 0, {"PRENOTAZIONE DA CONFERMARE"}},
        {"badge again, day one", {"3", badge(3, 1, "7"), "--at", day1.arg("10:00")}, 1,
         {QStringLiteral("Ingresso gi\u00E0 registrato oggi alle 09:31:00")}},
        {"seat again, day one", {"3", "3", "--at", day1.arg("11:00")}, 1, {QStringLiteral("gi\u00E0 registrato oggi")}},
        {"name of two bookings", {"3", "rossi", "--at", day1.arg("11:00")}, 1,
         {"Trovate 2 prenotazioni", "\nPosto 3  Rossi Anna\nPosto 7  Rossi Mario\n", "Nessun ingresso registrato"}},
        {"badge of another event", {"3", badge(2, 1, "7"), "--at", day1.arg("11:00")}, 1,
         {"Cartellino di un altro evento (evento n. 2)"}},
        {"exit without entry", {"3", "9", "--exit", "--at", day1.arg("18:00")}, 1,
         {"Nessun ingresso registrato oggi: uscita non registrata"}},
        {"badge, day two", {"3", badge(3, 1, "7"), "--at", day2.arg("09:05")}, 0, {"Ingresso registrato alle 09:05:00"}},
        {"exit, day two", {"3", badge(3, 1, "7"), "--exit", "--at", day2.arg("17:10")}, 0,
         {"Uscita registrata alle 17:10:00 (presente 8:05 ore)"}},
    };
}

} // namespace

class TestCliCheckIn : public QObject
{
    Q_OBJECT

    Result run(QStringList args) const { return runCli(args << "--folder" << m_folder->path()); }

    void atTheDoor()
    {
        for (const Step &step : twoDays()) {
            const Result r = run(QStringList{"checkin"} + step.args);
            const QString said = r.exit == 0 ? r.outText() : r.errText();
            QVERIFY2(r.exit == step.exit, qPrintable(step.what + ": " + QString::number(r.exit) + " " + r.errText()));
            for (const QString &words : step.said)
                QVERIFY2(said.contains(words), qPrintable(step.what + ": " + said));
            QVERIFY2((r.exit == 0 ? r.err : r.out).isEmpty(), qPrintable(step.what));
        }
    }

private slots:
    void init()
    {
        m_folder.reset(); // the folder is the program's while it lives: one at a time
        m_folder = std::make_unique<TempProgramFolder>();
        writeEvents(*m_folder);
        dayfixtures::writeBookings(*m_folder, 3, kGuests);
    }

    // A badge or a seat passes once a day; what the desk would have someone
    // choose from, or refuse, records nothing. Both archives then pass check.
    void checkInAtTheDoor()
    {
        atTheDoor();
        const int entrySize = qv::TSchedaPresenza::layout().size();
        QCOMPARE(m_folder->read("Presenze_Evento_3.pro").size(), 4 * entrySize);
        QCOMPARE(m_folder->read("Uscite_Evento_3.pro").size(), 1 * entrySize);
        for (const QString name : {"Presenze_Evento_3.pro", "Uscite_Evento_3.pro"}) {
            const Result check = run({"check", m_folder->file(name)});
            QCOMPARE(check.exit, 0);
            QVERIFY2(check.outText().contains("Nessun difetto."), check.out);
        }
    }

    void attendanceShowsEachDay_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << QStringList{}
                             << QByteArray("Record,Posto,Cliente,12/03/2026,13/03/2026\r\n"
                                           "3,3,Rossi Anna,09:40:00,\r\n"
                                           "1,7,Rossi Mario,09:31:00,09:05:00-17:10:00 8:05\r\n"
                                           "4,9,Bianchi Luca,,\r\n"
                                           "2,12,Verdi Nicol\xC3\xB2,09:45:00,\r\n");
        const QByteArray absent = R"({"Data":"13/03/2026","Ingresso":"","Uscita":"","Ore":""})";
        QTest::newRow("jsonl")
            << QStringList{"--format", "jsonl"}
            << QByteArray(R"({"Record":3,"Posto":"3","Cliente":"Rossi Anna","Giorni":[)"
                          R"({"Data":"12/03/2026","Ingresso":"09:40:00","Uscita":"","Ore":""},)" + absent + "]}\n"
                          R"({"Record":1,"Posto":"7","Cliente":"Rossi Mario","Giorni":[)"
                          R"({"Data":"12/03/2026","Ingresso":"09:31:00","Uscita":"","Ore":""},)"
                          R"({"Data":"13/03/2026","Ingresso":"09:05:00","Uscita":"17:10:00","Ore":"8:05"}]})" "\n"
                          R"({"Record":4,"Posto":"9","Cliente":"Bianchi Luca","Giorni":[)"
                          R"({"Data":"12/03/2026","Ingresso":"","Uscita":"","Ore":""},)" + absent + "]}\n"
                          "{\"Record\":2,\"Posto\":\"12\",\"Cliente\":\"Verdi Nicol\xC3\xB2\",\"Giorni\":["
                          R"({"Data":"12/03/2026","Ingresso":"09:45:00","Uscita":"","Ore":""},)" + absent + "]}\n");
    }
    void attendanceShowsEachDay()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        atTheDoor();
        const Result r = run(QStringList{"attendance", "3"} + options);
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.out, expected);
    }

    // Nothing is recorded, and no archive created, for what is refused
    // before the desk looks.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("event not there") << QStringList{"4", "7"} << 1 << "l'evento numero 4 non esiste";
        QTest::newRow("not an event number") << QStringList{"tre", "7"} << 2 << "indicare il numero dell'evento";
        QTest::newRow("nothing typed") << QStringList{"3", "  "} << 2 << "indicare il codice del cartellino";
        QTest::newRow("--at without time") << QStringList{"3", "7", "--at", "12/03/2026"} << 2
                                           << "momento \"12/03/2026\" non valido";
        QTest::newRow("--at not a date") << QStringList{"3", "7", "--at", "31/02/2026 09:00"} << 2
                                         << "indicarlo come --at \"gg/mm/aaaa hh:mm\"";
        QTest::newRow("--at not a time") << QStringList{"3", "7", "--at", "12/03/2026 25:00"} << 2 << "non valido";
        QTest::newRow("unknown name") << QStringList{"3", "Gialli"} << 1
                                      << QStringLiteral("Nessuna prenotazione corrisponde a \u00ABGialli\u00BB");
        QTest::newRow("damaged badge") << QStringList{"3", "QV1;E3;Rx;P7"} << 1 << "Codice non riconosciuto";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        const Result r = run(QStringList{"checkin"} + args);
        QCOMPARE(r.exit, exit);
        QVERIFY2(r.errText().contains(message), r.err);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(m_folder->file("Presenze_Evento_3.pro")));
    }

    // An archive that cannot be written: exit 3, and the bookings as they were.
    void attendanceArchiveUnwritable()
    {
        const QByteArray bookings = m_folder->read("Posti_Riservati_Evento_3.pro");
        QVERIFY(QDir(m_folder->path()).mkdir("Presenze_Evento_3.pro"));
        const Result r = run({"checkin", "3", "7", "--at", "12/03/2026 09:00"});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.errText().contains(QStringLiteral("nulla \u00E8 stato registrato")), r.err);
        QCOMPARE(m_folder->read("Posti_Riservati_Evento_3.pro"), bookings);
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

QTEST_GUILESS_MAIN(TestCliCheckIn)
#include "tst_clicheckin.moc"
