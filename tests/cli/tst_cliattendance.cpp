// quorvane-cli attendance N: the bookings of an event with their entry and exit,
// driven through the real tool over archives written byte by byte.
#include "clirunner.h"

#include "archive/records.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace clitest;

namespace {

QByteArray counted(const QByteArray &text, int declared)
{
    return char(text.size()) + text + QByteArray(declared - text.size(), '\0');
}

QByteArray booking(const QByteArray &cliente, const QByteArray &posto)
{
    qv::TSchedaPrenotazione r;
    r.setText("Cliente", QString::fromLatin1(cliente));
    r.setText("Posto", QString::fromLatin1(posto));
    r.setText("Numero", qv::TSchedaPrenotazione::Numero(QString::fromLatin1(posto)));
    return r.bytes();
}

// An entry or an exit as the file holds it: booking, seat, date, time, undone.
QByteArray entry(int booking, const QByteArray &posto, const QByteArray &date, const QByteArray &time, bool undone)
{
    return counted(QByteArray::number(booking), 10) + counted(posto, 5) + counted(date, 10) + counted(time, 8)
           + (undone ? QByteArray("\x02S\xEC", 3) : QByteArray("\x02No", 3));
}

} // namespace

class TestCliAttendance : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const { return m_dir->filePath(name); }
    Result run(QStringList args) const { return runCli(args << "--folder" << m_dir->path(), {}, m_dir->path()); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        writeFile(path("Eventi.pro"), QByteArray(3 * 3645, '\0')); // three events
    }

    void listsTheBookingsWithTheirEntry_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << QStringList{}
                             << QByteArray("Record,Posto,Cliente,12/03/2026\r\n"
                                           "3,2,Bianchi Anna,\r\n"
                                           "1,7,\"Rossi, Mario\",09:31:05-17:40:00 8:08\r\n"
                                           "2,12,Nicol\xC3\xB2 Verdi,\r\n");
        QTest::newRow("jsonl") << QStringList{"--format", "jsonl"}
                               << QByteArray(R"({"Record":3,"Posto":"2","Cliente":"Bianchi Anna","Giorni":[)"
                                             R"({"Data":"12/03/2026","Ingresso":"","Uscita":"","Ore":""}]})" "\n"
                                             R"({"Record":1,"Posto":"7","Cliente":"Rossi, Mario","Giorni":[)"
                                             R"({"Data":"12/03/2026","Ingresso":"09:31:05","Uscita":"17:40:00",)"
                                             R"("Ore":"8:08"}]})" "\n"
                                             "{\"Record\":2,\"Posto\":\"12\",\"Cliente\":\"Nicol\xC3\xB2 Verdi\","
                                             R"("Giorni":[{"Data":"12/03/2026","Ingresso":"","Uscita":"","Ore":""}]})" "\n");
    }
    void listsTheBookingsWithTheirEntry()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        writeFile(path("Posti_Riservati_Evento_2.pro"), booking("Rossi, Mario", "7") + booking("Nicol\xF2 Verdi", "12")
                                                            + booking("Bianchi Anna", "2") + booking("Senza posto", ""));
        // Verdi came in and the entry was undone; Rossi came in once and went
        // out; an exit of Bianchi, who never came in, is not shown.
        writeFile(path("Presenze_Evento_2.pro"), entry(2, "12", "12/03/2026", "09:20:00", true)
                                                     + entry(1, "7", "12/03/2026", "09:31:05", false));
        writeFile(path("Uscite_Evento_2.pro"), entry(3, "2", "12/03/2026", "12:00:00", false)
                                                   + entry(1, "7", "12/03/2026", "17:40:00", false));
        const Result r = run(QStringList{"attendance", "2"} + options);
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.out, expected);
    }

    // Looking creates nothing: an event without bookings or entries lists none.
    void missingArchivesAreNotCreated()
    {
        const Result r = run({"attendance", "3"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.out, QByteArray("Record,Posto,Cliente\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Eventi.pro"});
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("event not there") << QStringList{"attendance", "4"} << 1 << "l'evento numero 4 non esiste";
        QTest::newRow("not a number") << QStringList{"attendance", "tre"} << 2 << "indicare il numero dell'evento";
        QTest::newRow("zero") << QStringList{"attendance", "0"} << 2 << "indicare il numero dell'evento";
        QTest::newRow("no number") << QStringList{"attendance"} << 2 << "";
        QTest::newRow("unknown format") << QStringList{"attendance", "1", "--format", "xls"} << 2
                                        << "formato sconosciuto";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        const Result r = run(args);
        QCOMPARE(r.exit, exit);
        QVERIFY2(r.errText().contains(message), r.err);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Eventi.pro"});
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCliAttendance)
#include "tst_cliattendance.moc"
