#include "archive/records.h"
#include "eventday/bookings.h"
#include "reservations/seatmap.h"
#include "output/listlines.h"
#include "reservations/seatfixtures.h"
#include "support/testsupport.h"

#include <QDir>
#include <QtTest>

#include <algorithm>

using namespace qv;

Q_DECLARE_METATYPE(qv::SeatState)

namespace {

const QString kArchive = QStringLiteral("Posti_Riservati_Evento_1.pro");

QByteArray archive(const QStringList &cards)
{
    return qvtest::bookings(cards);
}

SeatMap mapOf(int total, const QStringList &bookings, qvtest::TempProgramFolder &folder)
{
    folder.write(kArchive, archive(bookings));
    SeatMap map(total);
    if (!map.read(folder.file(kArchive)))
        qWarning("the archive was not read");
    return map;
}

QStringList labels(const SeatMap &map)
{
    QStringList all;
    for (int i = 0; i < map.seatCount(); ++i)
        all << map.label(i);
    return all;
}

QStringList numbers(int from, int to)
{
    QStringList all;
    for (int n = from; n <= to; ++n)
        all << QString::number(n);
    return all;
}

} // namespace

class TestSeatMap : public QObject
{
    Q_OBJECT
private slots:
    // The hall of 30 seats: seat 2 awaiting confirmation, seat 12 on two
    // cards, a5 beside the numbered rows.
    void thirtySeats()
    {
        qvtest::TempProgramFolder folder;
        const SeatMap map = mapOf(30, qvtest::kThirtySeats, folder);
        QCOMPARE(labels(map), numbers(1, 30) << "A5");
        QCOMPARE(map.state(map.indexOf("2")), SeatState::Pending);
        QCOMPARE(map.state(map.indexOf("12")), SeatState::Twice);
        QCOMPARE(map.state(map.indexOf("A5")), SeatState::Booked);
        QCOMPARE(map.state(map.indexOf("7")), SeatState::Free);
        QCOMPARE(map.description(map.indexOf("12")), QString("Posto 12: Bianchi Anna, Verdi Luca (assegnato pi\u00F9 volte)"));
        QCOMPARE(map.description(map.indexOf("2")), QString("Posto 2: Rossi Mario (in attesa di conferma)"));
        QCOMPARE(map.description(map.indexOf("a5")), QString("Posto A5: Neri Paolo"));
        QCOMPARE(map.description(6), QString("Posto 7: libero"));
        const QString line("4 prenotati (1 da confermare, 1 con posto fuori pianta), 2 posti occupati su 30, "
                           "28 liberi, 1 posto assegnato pi\u00F9 volte");
        QCOMPARE(map.countersText(), line);
        QCOMPARE(map.selectionText(), line);
        const QList<SeatMap::Holder> twelve = map.holders(11);
        QCOMPARE(twelve.size(), 2);
        QCOMPARE(twelve.at(0).record, 2);
        QCOMPARE(twelve.at(1).record, 3);
        QCOMPARE(twelve.at(1).name, QString("Verdi Luca"));
        QCOMPARE(map.groups().size(), 2);
        QCOMPARE(map.groups().at(1).heading, QString("A"));
    }

    // A seat on many cards: the map names the first few and counts the rest,
    // so that its memory goes with the seats; every holder is read back from
    // the archive when one of them is to be chosen. Seat 3's fifth card is
    // the one not awaiting confirmation.
    void manyHolders()
    {
        qvtest::TempProgramFolder folder;
        QStringList cards;
        for (int i = 1; i <= 6; ++i)
            cards << QString("Persona %1|3|%2").arg(i).arg(i == 5 ? "" : "p");
        const SeatMap map = mapOf(10, cards, folder);
        QCOMPARE(map.holderCount(2), 6);
        QCOMPARE(map.holders(2).size(), SeatMap::kNamedHolders);
        QCOMPARE(map.state(2), SeatState::Twice);
        QCOMPARE(map.description(2), QString("Posto 3: Persona 1, Persona 2, Persona 3, Persona 4 e altre 2 persone "
                                             "(assegnato più volte)"));
        QCOMPARE(map.counts().pending, 5); // cards, not seats
        const QList<SeatMap::Holder> all = SeatMap::holdersIn(folder.file(kArchive), " 3 ");
        QCOMPARE(all.size(), 6);
        QCOMPARE(all.at(5).record, 6);
        QCOMPARE(all.at(5).name, QString("Persona 6"));
        QVERIFY(!all.at(4).pending);
        QVERIFY(all.at(3).pending);
        QVERIFY(SeatMap::holdersIn(folder.file("Posti_Riservati_Evento_9.pro"), "3").isEmpty());
        QVERIFY(!QFile::exists(folder.file("Posti_Riservati_Evento_9.pro")));
    }

    // Seats, states and counters over several archives.
    void states_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<QStringList>("bookings");
        QTest::addColumn<QStringList>("others"); // the seats after 1..total, in map order
        QTest::addColumn<QString>("seat");
        QTest::addColumn<SeatState>("state");
        QTest::addColumn<QString>("counters"); // the map's line
        QTest::newRow("a5 and A5 are one seat")
            << 10 << QStringList{"Rossi|a5", "Bianchi|A5"} << QStringList{"A5"} << "a5" << SeatState::Twice
            << "2 prenotati (0 da confermare, 2 con posto fuori pianta), 0 posti occupati su 10, 10 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("blanks around a seat") // as the availability check compares them
            << 10 << QStringList{"Rossi| 3 |r", "Bianchi|\t7|r"} << QStringList{} << "3" << SeatState::Booked
            << "2 prenotati (0 da confermare, 0 con posto fuori pianta), 2 posti occupati su 10, 8 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("seats beyond the total, by number")
            << 5 << QStringList{"Rossi|500", "Bianchi|6", "Verdi|05", "Neri|5"} << QStringList{"05", "6", "500"}
            << "500" << SeatState::Booked
            << "4 prenotati (0 da confermare, 3 con posto fuori pianta), 1 posto occupato su 5, 4 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("empty seats hold nothing")
            << 3 << QStringList{"Rossi|", "Bianchi|   "} << QStringList{} << "1" << SeatState::Free
            << "0 prenotati (0 da confermare, 0 con posto fuori pianta), 0 posti occupati su 3, 3 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("texts grouped by their letters, then by number")
            << 2
            << QStringList{"a|PAL", "b|B10", "c|b2", "d|A12", "e|a1", "f|PAL 2", "g|0", "h|A", "i|B 3"}
            << QStringList{"0", "A", "A1", "A12", "B2", "B 3", "B10", "PAL", "PAL 2"} << "B10"
            << SeatState::Booked
            << "9 prenotati (0 da confermare, 9 con posto fuori pianta), 0 posti occupati su 2, 2 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("pending only when every holder awaits")
            << 4 << QStringList{"Rossi|1|p", "Bianchi|1"} << QStringList{} << "1" << SeatState::Twice
            << "2 prenotati (1 da confermare, 0 con posto fuori pianta), 1 posto occupato su 4, 3 liberi, "
               "1 posto assegnato pi\u00F9 volte";
        QTest::newRow("held twice, both awaiting")
            << 4 << QStringList{"Rossi|1|p", "Bianchi|1|p"} << QStringList{} << "1" << SeatState::Twice
            << "2 prenotati (2 da confermare, 0 con posto fuori pianta), 1 posto occupato su 4, 3 liberi, "
               "1 posto assegnato pi\u00F9 volte";
        QTest::newRow("no total: every seat is another")
            << -1 << QStringList{"Rossi|1", "Bianchi|2|p"} << QStringList{"1", "2"} << "2" << SeatState::Pending
            << "2 prenotati (1 da confermare, 2 con posto fuori pianta), 0 posti occupati su 0, 0 liberi, "
               "0 posti assegnati pi\u00F9 volte";
        QTest::newRow("no bookings") << 3 << QStringList{} << QStringList{} << "3" << SeatState::Free
                                     << "0 prenotati (0 da confermare, 0 con posto fuori pianta), 0 posti occupati "
                                        "su 3, 3 liberi, 0 posti assegnati pi\u00F9 volte";
    }
    void states()
    {
        QFETCH(int, total);
        QFETCH(QStringList, bookings);
        QFETCH(QStringList, others);
        QFETCH(QString, seat);
        QFETCH(SeatState, state);
        QFETCH(QString, counters);
        qvtest::TempProgramFolder folder;
        const SeatMap map = mapOf(total, bookings, folder);
        QCOMPARE(labels(map), numbers(1, total) + others);
        QVERIFY(map.indexOf(seat) >= 0);
        QCOMPARE(map.state(map.indexOf(seat)), state);
        QCOMPARE(map.countersText(), counters);
        // Every seat in exactly one group, the groups in map order.
        int next = 0;
        for (const SeatMap::Group &g : map.groups()) {
            QCOMPARE(g.first, next);
            QVERIFY(g.count > 0);
            next += g.count;
        }
        QCOMPARE(next, map.seatCount());
    }

    // The counts of one archive, each with its one meaning: people booked
    // (cards holding a seat, whatever its text), pending among them, those
    // outside 1..N, seats of 1..N taken, free and held twice. Taken and free
    // always make the hall; the people booked are the check-in desk's.
    void counts_data()
    {
        QTest::addColumn<QString>("posti"); // the event's Posti
        QTest::addColumn<QStringList>("bookings");
        QTest::addColumn<QList<int>>("counts"); // seats, booked, pending, outside, taken, free, twice
        QTest::newRow("plain") << "10" << QStringList{"Rossi|1", "Bianchi|2", "Verdi|10"}
                               << QList<int>{10, 3, 0, 0, 3, 7, 0};
        QTest::newRow("a double booking") << "10" << QStringList{"Rossi|4", "Bianchi|4", "Verdi|5"}
                                          << QList<int>{10, 3, 0, 0, 2, 8, 1};
        QTest::newRow("three on one seat") << "10" << QStringList{"Rossi|4", "Bianchi|4", "Verdi|4"}
                                           << QList<int>{10, 3, 0, 0, 1, 9, 1};
        QTest::newRow("a pending card") << "10" << QStringList{"Rossi|1|p", "Bianchi|2"}
                                        << QList<int>{10, 2, 1, 0, 2, 8, 0};
        QTest::newRow("pending beside a confirmed card on one seat") << "10" << QStringList{"Rossi|1|p", "Bianchi|1"}
                                                                     << QList<int>{10, 2, 1, 0, 1, 9, 1};
        QTest::newRow("seat LUCA") << "10" << QStringList{"Rossi|1", "Luca|LUCA"} << QList<int>{10, 2, 0, 1, 1, 9, 0};
        QTest::newRow("seat above N") << "100" << QStringList{"Rossi|120", "Bianchi|100"}
                                      << QList<int>{100, 2, 0, 1, 1, 99, 0};
        QTest::newRow("two cards above N on one seat") << "100" << QStringList{"Rossi|120", "Bianchi|120|p"}
                                                       << QList<int>{100, 2, 1, 2, 0, 100, 0};
        QTest::newRow("seat 0 and seat 05") << "10" << QStringList{"Rossi|0", "Bianchi|05", "Verdi|5"}
                                            << QList<int>{10, 3, 0, 2, 1, 9, 0};
        QTest::newRow("a card with an empty seat") << "10" << QStringList{"Rossi|", "Bianchi|   |r", "Verdi|5"}
                                                   << QList<int>{10, 1, 0, 0, 1, 9, 0};
        QTest::newRow("every seat taken, one more outside") << "2" << QStringList{"Rossi|1", "Bianchi|2", "Verdi|3"}
                                                            << QList<int>{2, 3, 0, 1, 2, 0, 0};
        QTest::newRow("N not a number") << "tanti" << QStringList{"Rossi|1", "Bianchi|2|p"}
                                        << QList<int>{0, 2, 1, 2, 0, 0, 0};
        QTest::newRow("N is 0") << "0" << QStringList{"Rossi|1"} << QList<int>{0, 1, 0, 1, 0, 0, 0};
        QTest::newRow("every kind") << "30" << qvtest::kEveryKind << QList<int>{30, 6, 2, 2, 3, 27, 1};
        QTest::newRow("no bookings") << "30" << QStringList{} << QList<int>{30, 0, 0, 0, 0, 30, 0};
    }
    void counts()
    {
        QFETCH(QString, posti);
        QFETCH(QStringList, bookings);
        QFETCH(QList<int>, counts);
        qvtest::TempProgramFolder folder;
        const SeatMap map = mapOf(SeatMap::totalOf(posti), bookings, folder);
        const SeatMap::Counts c = map.counts();
        QCOMPARE((QList<int>{c.seats, c.booked, c.pending, c.outside, c.taken, c.free, c.twice}), counts);
        QCOMPARE(c.unknown, 0);
        QCOMPARE(c.taken + c.free, c.seats);
        const QList<Booking> desk = Bookings::read(folder.file(kArchive));
        QCOMPARE(c.booked, int(desk.size()));
        QCOMPARE(c.pending, int(std::count_if(desk.begin(), desk.end(), [](const Booking &b) { return b.pending; })));
    }

    void groupHeadings()
    {
        qvtest::TempProgramFolder folder;
        const SeatMap map = mapOf(2, {"a|PAL 2", "b|31", "c|A1", "d|pal1"}, folder);
        QStringList headings;
        for (const SeatMap::Group &g : map.groups())
            headings << g.heading;
        QCOMPARE(headings, (QStringList{"", "Altri numeri", "A", "PAL"}));
        QCOMPARE(map.groups().last().count, 2);
    }

    // A failure part-way: what was read stays, nothing else is called free.
    void failurePartWay()
    {
        const QByteArray bytes = archive({"Rossi Mario|2|p", "Bianchi Anna|12"});
        const RecordLayout &layout = TSchedaPrenotazione::layout();
        SeatMap map(20);
        map.add(RecordView(layout, bytes.constData()), 1);
        map.markUnreadable();
        QCOMPARE(map.state(1), SeatState::Pending);
        for (int i = 0; i < map.seatCount(); ++i)
            if (i != 1)
                QCOMPARE(map.state(i), SeatState::Unknown);
        const SeatMap::Counts c = map.counts();
        QCOMPARE(c.taken, 1);
        QCOMPARE(c.free, 0);
        QCOMPARE(c.unknown, 19);
        QCOMPARE(c.taken + c.free + c.unknown, c.seats);
        QVERIFY(map.countersText().endsWith(", 0 liberi, 0 posti assegnati pi\u00F9 volte, 19 posti di stato non noto"));
        QCOMPARE(map.description(11), QString("Posto 12: stato non noto"));
    }

    // A missing archive is an event without bookings, and stays missing; one
    // that cannot be opened leaves every seat unknown.
    void missingAndUnreadableArchives()
    {
        qvtest::TempProgramFolder folder;
        SeatMap missing(5);
        QVERIFY(missing.read(folder.file(kArchive)));
        QVERIFY(!QFile::exists(folder.file(kArchive)));
        QCOMPARE(missing.counts().free, 5);

        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        SeatMap unreadable(5);
        QVERIFY(!unreadable.read(folder.file(kArchive)));
        QVERIFY(unreadable.unreadable());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(unreadable.state(i), SeatState::Unknown);
        QCOMPARE(unreadable.counts().free, 0);
    }

    void totals_data()
    {
        QTest::addColumn<QString>("posti");
        QTest::addColumn<int>("total");
        QTest::newRow("count") << "120" << 120;
        QTest::newRow("blanks") << " 30 " << 30;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("text") << "tanti" << -1;
        QTest::newRow("negative") << "-5" << -1;
        QTest::newRow("thousands") << "1.000" << -1;
    }
    void totals()
    {
        QFETCH(QString, posti);
        QFETCH(int, total);
        QCOMPARE(SeatMap::totalOf(posti), total);
    }

    void eventTexts()
    {
        SeatMapEvent e;
        e.dataInizio = "12/03/2022";
        e.oraInizio = "09:30";
        e.dataFine = "13/03/2022";
        e.sede = "Aula Magna";
        e.indirizzo = " Via Roma 1 ";
        QCOMPARE(e.whenText(), QString("Inizio: 12/03/2022 09:30 - Fine: 13/03/2022"));
        QCOMPARE(e.whereText(), QString("Sede: Aula Magna, Via Roma 1"));
        QCOMPARE(SeatMapEvent().whenText(), QString());
        QCOMPARE(SeatMapEvent().whereText(), QString());
    }

    // What the reservation card says beside its seat; its own record is not
    // another holder.
    void seatOnTheCard_data()
    {
        QTest::addColumn<QString>("seat");
        QTest::addColumn<qint64>("own");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("text");
        QTest::addColumn<SeatState>("state");
        QTest::newRow("free") << "7" << qint64(0) << 30 << "libero" << SeatState::Free;
        QTest::newRow("held twice") << "12" << qint64(0) << 30 << QString("gi\u00E0 assegnato a 2 persone: Bianchi Anna, Verdi Luca")
                                    << SeatState::Twice;
        QTest::newRow("held, as typed") << " a5" << qint64(0) << 30 << QString("gi\u00E0 assegnato a Neri Paolo")
                                        << SeatState::Twice;
        QTest::newRow("its own record and another")
            << "12" << qint64(2) << 30 << QString("assegnato a questa scheda e anche a Verdi Luca") << SeatState::Twice;
        QTest::newRow("only its own record") << "A5" << qint64(4) << 30 << "assegnato a questa scheda"
                                             << SeatState::Booked;
        QTest::newRow("only its own record, to confirm")
            << "2" << qint64(1) << 30 << "assegnato a questa scheda" << SeatState::Pending;
        QTest::newRow("its own record holds another seat") << "7" << qint64(1) << 30 << "libero" << SeatState::Free;
        QTest::newRow("awaiting confirmation")
            << "2" << qint64(0) << 30 << QString("gi\u00E0 assegnato a Rossi Mario (in attesa di conferma)")
            << SeatState::Twice;
        QTest::newRow("beyond the total") << "500" << qint64(0) << 30 << "oltre il numero totale dei posti (30)"
                                          << SeatState::Free;
        QTest::newRow("held and beyond")
            << "31" << qint64(0) << 30
            << QString("gi\u00E0 assegnato a Gialli Ugo - oltre il numero totale dei posti (30)") << SeatState::Twice;
        QTest::newRow("no total known") << "500" << qint64(0) << -1 << "libero" << SeatState::Free;
    }
    void seatOnTheCard()
    {
        QFETCH(QString, seat);
        QFETCH(qint64, own);
        QFETCH(int, total);
        QFETCH(QString, text);
        QFETCH(SeatState, state);
        qvtest::TempProgramFolder folder;
        folder.write(kArchive, archive({"Rossi Mario|2|p", "Bianchi Anna|12", "Verdi Luca|12", "Neri Paolo|a5",
                                        "Gialli Ugo|31"}));
        const SeatOnCard shown = seatOnCard(folder.file(kArchive), seat, own, total);
        QVERIFY(shown.known);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.state, state);
        QCOMPARE(shown.beyond, QString(QTest::currentDataTag()).contains("beyond"));
        QCOMPARE(shown.warning, state == SeatState::Twice); // another card holds it
    }

    void seatOnTheCardSaysNothing()
    {
        qvtest::TempProgramFolder folder;
        QVERIFY(!seatOnCard(folder.file(kArchive), "  ", 0, 30).known);
        const SeatOnCard missing = seatOnCard(folder.file(kArchive), "7", 0, 30);
        QVERIFY(missing.known);
        QCOMPARE(missing.text, QString("libero"));
        QVERIFY(!QFile::exists(folder.file(kArchive))); // looking creates nothing
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        QVERIFY(!seatOnCard(folder.file(kArchive), "7", 0, 30).known);
    }
};

QTEST_MAIN(TestSeatMap)
#include "tst_seatmap.moc"
