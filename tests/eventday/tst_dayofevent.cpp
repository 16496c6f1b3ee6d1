#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/clock.h"
#include "core/tmisc.h"
#include "dayfixtures.h"
#include "core/regional.h"
#include "core/text.h"
#include "eventday/attendance.h"
#include "eventday/badgecode.h"
#include "eventday/bookings.h"
#include "eventday/everyonenotice.h"
#include "eventday/noticetoeveryone.h"
#include "support/testsupport.h"
#include "ui/desktop.h"

#include <QFile>
#include <QUrl>
#include <QtTest>

using namespace qv;
using dayfixtures::Guest;
using qvtest::TempProgramFolder;

namespace {

const QDateTime kNine(QDate(2026, 3, 12), QTime(9, 31, 5));

// A mail text as the mail program reads it: the address, then every header
// field decoded (bcc split into its addresses).
struct Mail
{
    QString to;
    QStringList bcc;
    QString subject, body;
    QStringList fields; // the field names, in order
};

Mail decoded(const QString &command)
{
    Mail mail;
    QString text = command;
    if (text.startsWith('"') && text.endsWith('"'))
        text = text.mid(1, text.size() - 2);
    if (!text.startsWith("mailto:"))
        return mail;
    text = text.mid(7);
    const qsizetype query = text.indexOf('?');
    mail.to = QUrl::fromPercentEncoding(text.left(query).toUtf8());
    if (query < 0)
        return mail;
    for (const QString &field : text.mid(query + 1).split('&')) {
        const QString name = field.section('=', 0, 0);
        const QString value = field.section('=', 1);
        mail.fields << name;
        if (name == "bcc") {
            for (const QString &a : value.split(','))
                mail.bcc << QUrl::fromPercentEncoding(a.toUtf8());
        } else if (name == "subject") {
            mail.subject = QUrl::fromPercentEncoding(value.toUtf8());
        } else if (name == "body") {
            mail.body = QUrl::fromPercentEncoding(value.toUtf8());
        }
    }
    return mail;
}

QList<qint64> numbers(const QList<Booking> &bookings)
{
    QList<qint64> n;
    for (const Booking &b : bookings)
        n << b.number;
    return n;
}

// The bookings the lookup tests search: two share seat 7.
const QList<Guest> kGuests{
    {"Rossi Mario", "12", "mario@example.it"},
    {"Bianchi Anna", "7", " ANNA@example.it "},
    {QStringLiteral("Verdi Nicol\u00F2"), "A5"},
    {"Rossini Paolo", "7", "anna@EXAMPLE.it", true},
};

} // namespace

Q_DECLARE_METATYPE(qv::Attendance::Lookup::Kind)

class TestDayOfEvent : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }

    // The badge's code: one line of plain ASCII that reads back the same.
    void badgeCodeText_data()
    {
        QTest::addColumn<QString>("seat");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("digits") << "12" << QByteArray("QV1;E3;R15;P12");
        QTest::newRow("letters") << "A12" << QByteArray("QV1;E3;R15;PA12");
        QTest::newRow("semicolon") << "1;2" << QByteArray("QV1;E3;R15;P1%3B2");
        QTest::newRow("percent") << "5%" << QByteArray("QV1;E3;R15;P5%25");
        QTest::newRow("encoded-looking") << "%41" << QByteArray("QV1;E3;R15;P%2541");
        QTest::newRow("accent") << QStringLiteral("\u00C81") << QByteArray("QV1;E3;R15;P%C3%881");
        QTest::newRow("blank inside") << "A 1" << QByteArray("QV1;E3;R15;PA%201");
        QTest::newRow("trimmed") << " 9 " << QByteArray("QV1;E3;R15;P9");
    }
    void badgeCodeText()
    {
        QFETCH(QString, seat);
        QFETCH(QByteArray, text);
        QCOMPARE(BadgeCode::text(3, 15, seat), text);
        const std::optional<BadgeCode::Code> back = BadgeCode::parse(QString::fromLatin1(text));
        QVERIFY(back);
        QCOMPARE(back->event, qint64(3));
        QCOMPARE(back->record, qint64(15));
        QCOMPARE(back->seat, seat.trimmed());
        QVERIFY(BadgeCode::looksLikeCode(QString::fromLatin1(text)));
    }

    void badgeCodeParse_data()
    {
        QTest::addColumn<QString>("scanned");
        QTest::addColumn<bool>("valid");
        QTest::newRow("scanner's line end and Caps Lock") << " qv1;e3;r5;p12\r\n" << true;
        QTest::newRow("three parts") << "QV1;E3;R5" << false;
        QTest::newRow("five parts") << "QV1;E3;R5;P1;X" << false;
        QTest::newRow("no seat") << "QV1;E3;R5;P" << false;
        QTest::newRow("event 0") << "QV1;E0;R5;P1" << false;
        QTest::newRow("event not a number") << "QV1;Ex;R5;P1" << false;
        QTest::newRow("signed record") << "QV1;E3;R+5;P1" << false;
        QTest::newRow("bad escape") << "QV1;E3;R5;P%G1" << false;
        QTest::newRow("cut escape") << "QV1;E3;R5;P1%4" << false;
        QTest::newRow("not UTF-8") << "QV1;E3;R5;P%FF" << false;
        QTest::newRow("blank not encoded") << "QV1;E3;R5;PA 1" << false;
        QTest::newRow("other version") << "QV2;E3;R5;P1" << false;
        QTest::newRow("markers swapped") << "QV1;R5;E3;P1" << false;
    }
    void badgeCodeParse()
    {
        QFETCH(QString, scanned);
        QFETCH(bool, valid);
        QCOMPARE(BadgeCode::parse(scanned).has_value(), valid);
    }

    // One line typed at the door, among the bookings of event 3.
    void lookup_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Attendance::Lookup::Kind>("kind");
        QTest::addColumn<QList<qint64>>("matches");
        using L = Attendance::Lookup;
        QTest::newRow("badge") << "QV1;E3;R1;P12" << L::Badge << QList<qint64>{1};
        QTest::newRow("badge, seat changed since") << "QV1;E3;R2;P9" << L::Badge << QList<qint64>{2};
        QTest::newRow("badge of another event") << "QV1;E4;R1;P12" << L::OtherEvent << QList<qint64>{};
        QTest::newRow("badge of no booking") << "QV1;E3;R9;P12" << L::UnknownRecord << QList<qint64>{};
        QTest::newRow("damaged badge") << "QV1;E3;R1" << L::BadCode << QList<qint64>{};
        QTest::newRow("seat") << "12" << L::Seat << QList<qint64>{1};
        QTest::newRow("seat, case aside") << "a5" << L::Seat << QList<qint64>{3};
        QTest::newRow("seat of two") << "7" << L::Seat << QList<qint64>{2, 4};
        QTest::newRow("seat 012 is not 12: a name part then") << "012" << L::Name << QList<qint64>{};
        QTest::newRow("name part") << "ROSS" << L::Name << QList<qint64>{4, 1};
        QTest::newRow("name part, accents aside") << "nicolo" << L::Name << QList<qint64>{3};
        QTest::newRow("nothing") << "xyz" << L::Name << QList<qint64>{};
        QTest::newRow("blanks") << "   " << L::Empty << QList<qint64>{};
    }
    void lookup()
    {
        QFETCH(QString, typed);
        QFETCH(Attendance::Lookup::Kind, kind);
        QFETCH(QList<qint64>, matches);
        TempProgramFolder folder;
        const QList<Booking> bookings = Bookings::read(dayfixtures::writeBookings(folder, 3, kGuests));
        const Attendance::Lookup found = Attendance::lookup(typed, 3, bookings);
        QCOMPARE(found.kind, kind);
        QCOMPARE(numbers(found.matches), matches);
    }

    // The bookings in the booked-seats list's order; records without a seat
    // are no bookings; nothing is created by looking.
    void bookingsInSeatOrder()
    {
        TempProgramFolder folder;
        const QString path = dayfixtures::writeBookings(
            folder, 2, {{"Zeta", "10"}, {"Alfa", "2"}, {"Senza posto", ""}, {"Beta", "A1"}, {"Alba", "2"}});
        const QList<Booking> bookings = Bookings::read(path);
        QCOMPARE(numbers(bookings), (QList<qint64>{5, 2, 1, 4}));
        QCOMPARE(bookings.first().cliente, QStringLiteral("Alba"));
        QCOMPARE(Bookings::describe(bookings.first()), QStringLiteral("Posto 2  Alba"));
        QVERIFY(Bookings::read(folder.file("Posti_Riservati_Evento_9.pro")).isEmpty());
        QVERIFY(!QFile::exists(folder.file("Posti_Riservati_Evento_9.pro")));
        QVERIFY(Attendance::read(folder.file("Presenze_Evento_9.pro")).isEmpty());
        QVERIFY(!QFile::exists(folder.file("Presenze_Evento_9.pro")));
    }

    void archiveNames_data()
    {
        QTest::addColumn<QString>("reservations");
        QTest::addColumn<qint64>("event");
        QTest::addColumn<QString>("attendance");
        QTest::newRow("event 3") << "/p/Posti_Riservati_Evento_3.pro" << qint64(3) << "/p/Presenze_Evento_3.pro";
        QTest::newRow("event 12") << "/p/Posti_Riservati_Evento_12.pro" << qint64(12) << "/p/Presenze_Evento_12.pro";
        QTest::newRow("padded") << "/p/Posti_Riservati_Evento_03.pro" << qint64(0) << "";
        QTest::newRow("other archive") << "/p/Eventi.pro" << qint64(0) << "";
        QTest::newRow("empty") << "" << qint64(0) << "";
    }
    void archiveNames()
    {
        QFETCH(QString, reservations);
        QFETCH(qint64, event);
        QFETCH(QString, attendance);
        QCOMPARE(Bookings::eventNumberOf(reservations), event);
        QCOMPARE(Attendance::archiveBeside(reservations), attendance);
    }

    // An entry as an independent reader sees its 40 bytes; a second
    // check-in of the booking changes nothing and tells the first; an undo
    // marks the entry in place, after which the booking may come in again.
    void checkInOnceUndoAndAgain()
    {
        TempProgramFolder folder;
        const QString path = folder.file("Presenze_Evento_3.pro");
        const Attendance::CheckIn first = Attendance::checkIn(path, 15, "A12", kNine);
        QVERIFY(first.recorded());
        QCOMPARE(first.entry.number, qint64(1));
        QByteArray expected(40, '\0');
        expected.replace(0, 3, QByteArray("\x02" "15", 3));
        expected.replace(11, 4, QByteArray("\x03" "A12", 4));
        expected.replace(17, 11, QByteArray("\x0A" "12/03/2026", 11));
        expected.replace(28, 9, QByteArray("\x08" "09:31:05", 9));
        expected.replace(37, 3, QByteArray("\x02No", 3));
        QCOMPARE(folder.read("Presenze_Evento_3.pro"), expected);

        const Attendance::CheckIn again = Attendance::checkIn(path, 15, "A12", kNine.addSecs(600));
        QVERIFY(!again.recorded());
        QCOMPARE(again.entry.number, qint64(1));
        QCOMPARE(again.entry.moment(), kNine);
        QCOMPARE(folder.read("Presenze_Evento_3.pro"), expected);
        QVERIFY(Attendance::checkIn(path, 16, "A13", kNine).recorded()); // another booking

        QVERIFY(Attendance::undo(path, first.entry));
        QCOMPARE(folder.read("Presenze_Evento_3.pro").mid(37, 3), QByteArray("\x02S\xEC", 3));
        // Undone again (two desks at once): it stays undone, nothing is written.
        const QByteArray undone = folder.read("Presenze_Evento_3.pro");
        QVERIFY(Attendance::undo(path, first.entry));
        QCOMPARE(folder.read("Presenze_Evento_3.pro"), undone);
        Attendance::Entry other = first.entry;
        other.bytes[5] = 'x'; // not what the disk holds
        QVERIFY(!Attendance::undo(path, other));
        QCOMPARE(folder.read("Presenze_Evento_3.pro"), undone);
        QVERIFY(!Attendance::onDay(Attendance::read(path), kNine.date()).contains(15));

        const Attendance::CheckIn back = Attendance::checkIn(path, 15, "A12", kNine.addSecs(3600));
        QVERIFY(back.recorded());
        QCOMPARE(back.entry.number, qint64(3));
        const QHash<qint64, Attendance::Entry> in = Attendance::onDay(Attendance::read(path), kNine.date());
        QCOMPARE(in.size(), 2);
        QCOMPARE(in.value(15).number, qint64(3));
        QCOMPARE(in.value(15).when(kNine.date()), QStringLiteral("10:31:05"));
        QCOMPARE(in.value(15).when(kNine.date().addDays(1)), QStringLiteral("12/03/2026 10:31:05"));
    }

    // The days an event runs, from its two dates as the card holds them.
    void eventDays_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("days");
        QTest::newRow("three days") << "12/03/2026" << "14/03/2026"
                                    << QStringList{"12/03/2026", "13/03/2026", "14/03/2026"};
        QTest::newRow("no end") << "12/03/2026" << "" << QStringList{"12/03/2026"};
        QTest::newRow("end not a date") << "12/03/2026" << "14-03" << QStringList{"12/03/2026"};
        QTest::newRow("end before start") << "12/03/2026" << "10/03/2026" << QStringList{"12/03/2026"};
        QTest::newRow("no start") << "" << "14/03/2026" << QStringList{};
        QTest::newRow("across the month") << "31/01/2026" << "01/02/2026" << QStringList{"31/01/2026", "01/02/2026"};
    }
    void eventDays()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QStringList, days);
        QStringList got;
        for (const QDate &d : Attendance::eventDays(start, end))
            got << formatDate(d);
        QCOMPARE(got, days);
        QCOMPARE(Attendance::eventDays("01/01/2026", "31/12/2030").size(), 366); // at most a year
    }

    // Once a day, in and out: the next day's entry is new; an exit needs the
    // day's entry, is recorded once and gives the hours; entries written
    // before exits existed read as they did.
    void inAndOutDayByDay()
    {
        TempProgramFolder folder;
        const QString reservations = folder.file("Posti_Riservati_Evento_3.pro");
        const QString in = Attendance::archiveBeside(reservations, Attendance::Passage::In);
        const QString out = Attendance::archiveBeside(reservations, Attendance::Passage::Out);
        QCOMPARE(QFileInfo(out).fileName(), QStringLiteral("Uscite_Evento_3.pro"));
        const QDateTime dayTwo = kNine.addDays(1);

        QVERIFY(Attendance::checkIn(in, 15, "12", kNine).recorded());
        QCOMPARE(Attendance::checkIn(in, 15, "12", kNine.addSecs(3600)).outcome, Attendance::CheckIn::Already);
        const Attendance::CheckIn second = Attendance::checkIn(in, 15, "12", dayTwo);
        QVERIFY(second.recorded());
        QCOMPARE(second.entry.number, qint64(2));

        QCOMPARE(Attendance::checkOut(reservations, 16, "13", kNine).outcome, Attendance::CheckIn::NoEntry);
        QVERIFY(!QFile::exists(out));
        const QDateTime evening(kNine.date(), QTime(17, 45, 5));
        const Attendance::CheckIn exit = Attendance::checkOut(reservations, 15, "12", evening);
        QVERIFY(exit.recorded());
        QCOMPARE(exit.in->moment(), kNine);
        QCOMPARE(Attendance::checkOut(reservations, 15, "12", evening.addSecs(60)).outcome,
                 Attendance::CheckIn::Already);
        QCOMPARE(folder.read("Uscite_Evento_3.pro").size(), 40);

        const Attendance::Register reg = Attendance::Register::read(reservations);
        const QHash<qint64, Attendance::Day> one = Attendance::daysOf(reg, kNine.date());
        QCOMPARE(Attendance::hoursText(*one.value(15).seconds()), QStringLiteral("8:14"));
        const QHash<qint64, Attendance::Day> two = Attendance::daysOf(reg, dayTwo.date());
        QVERIFY(two.value(15).in && !two.value(15).out && !two.value(15).seconds());
        QCOMPARE(reg.daysToShow({}, QDate(2026, 3, 20)),
                 (QList<QDate>{kNine.date(), dayTwo.date(), QDate(2026, 3, 20)}));
    }

    // An entry whose flag is neither yes nor no keeps no booking in.
    void unreadableFlagCountsAsUndone()
    {
        QByteArray entry = Attendance::record(7, "1", kNine);
        entry.replace(37, 3, QByteArray("\x01X\0", 3));
        QVERIFY(Attendance::entryOf(entry, 1).undone);
        QVERIFY(!Attendance::entryOf(Attendance::record(7, "1", kNine), 1).undone);
    }

    // A stored record reads as Qt's own parsers read its trimmed fields,
    // whatever form they were stored in: the plain forms are read straight
    // from the bytes, any other by the parsers.
    void storedFieldsRead_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<QByteArray>("flag");
        QTest::newRow("as written") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("blanks and codes around") << QByteArray("\x01 15\t") << QByteArray(" 1/3/2026") << QByteArray("9:31:05 ")
                                                 << QByteArray("No");
        QTest::newRow("zeros before") << QByteArray("0015") << QByteArray("01/01/2026") << QByteArray("00:00:00") << QByteArray("No");
        QTest::newRow("sign") << QByteArray("+15") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("negative") << QByteArray("-3") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("letters") << QByteArray("15a") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("no number") << QByteArray("") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("not a digit of ours") << QByteArray("1\xB2") << QByteArray("12/03/2026") << QByteArray("09:31:05")
                                             << QByteArray("No");
        QTest::newRow("ten digits") << QByteArray("9876543210") << QByteArray("12/03/2026") << QByteArray("09:31:05")
                                    << QByteArray("No");
        QTest::newRow("no such day") << QByteArray("15") << QByteArray("31/02/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("year zero") << QByteArray("15") << QByteArray("12/03/0000") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("short date") << QByteArray("15") << QByteArray("1/3/2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("other separator") << QByteArray("15") << QByteArray("12-03-2026") << QByteArray("09:31:05") << QByteArray("No");
        QTest::newRow("midnight as 24") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("24:00:00") << QByteArray("No");
        QTest::newRow("last second") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("23:59:59") << QByteArray("No");
        QTest::newRow("minute 60") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:60:00") << QByteArray("No");
        QTest::newRow("short time") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("9:31:05") << QByteArray("No");
        QTest::newRow("no seconds") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:31") << QByteArray("No");
        QTest::newRow("undone") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("S\xEC");
        QTest::newRow("flag in lower case") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("no");
        QTest::newRow("flag empty") << QByteArray("15") << QByteArray("12/03/2026") << QByteArray("09:31:05") << QByteArray("");
    }
    void storedFieldsRead()
    {
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, date);
        QFETCH(QByteArray, time);
        QFETCH(QByteArray, flag);
        // The counted strings as stored, blanks kept: length byte, characters, zeros.
        const auto counted = [](const QByteArray &text, int declared) {
            return char(text.size()) + text + QByteArray(declared - text.size(), '\0');
        };
        const QByteArray bytes = counted(number, 10) + counted("12", 5) + counted(date, 10) + counted(time, 8)
                                 + counted(flag, 2);
        QCOMPARE(bytes.size(), TSchedaPresenza::layout().size());
        const auto text = [](const QByteArray &stored) { return trimmed(QString::fromLatin1(stored)); };
        bool ok = false;
        qint64 reservation = text(number).toLongLong(&ok);
        reservation = ok ? reservation : 0;
        QDate day = QDate::fromString(text(date), "dd/MM/yyyy");
        QTime at = QTime::fromString(text(time), "HH:mm:ss");
        if (!day.isValid() || !at.isValid())
            day = QDate(), at = QTime();
        const bool undone = text(flag) != "No";

        const Attendance::Passing p = Attendance::passingOf(bytes.constData());
        QCOMPARE(p.reservation, reservation);
        QCOMPARE(p.date, day);
        QCOMPARE(p.time, at);
        QCOMPARE(p.undone, undone);
        const Attendance::Entry e = Attendance::entryOf(bytes, 4);
        QCOMPARE(e.reservation, reservation);
        QCOMPARE(e.moment(), day.isValid() ? QDateTime(day, at) : QDateTime());
        QCOMPARE(e.undone, undone);
        QCOMPARE(e.posto, QStringLiteral("12"));
    }

    // The counts' one pass over the door's archives keeps the same records
    // in force as the days read record by record: the first of the day, not
    // undone, an exit only after that day's entry.
    void timesAtTheDoorAsDaysOf()
    {
        TempProgramFolder folder;
        const QString reservations = folder.file("Posti_Riservati_Evento_3.pro");
        const QDate one(2026, 3, 12), two(2026, 3, 13);
        const auto at = [](const QDate &day, int h, int m) { return QDateTime(day, QTime(h, m)); };
        QByteArray undone = Attendance::record(2, "2", at(one, 8, 0));
        undone.replace(37, 3, QByteArray("\x02S\xEC", 3));
        const QByteArray in = Attendance::record(1, "1", at(one, 9, 0)) // 1 in twice: the first counts
                              + Attendance::record(1, "1", at(one, 10, 0)) //
                              + undone // 2's first entry undone, then again
                              + Attendance::record(2, "2", at(one, 8, 30)) //
                              + Attendance::record(3, "3", at(two, 11, 0)) // 3 only on the second day
                              + Attendance::record(5, "5", at(one, 9, 0)) // not a booking of the 4
                              + Attendance::record(0, "", at(one, 9, 0)) //
                              + Attendance::record(4, "4", at(QDate(2026, 3, 14), 9, 0)); // not an event day
        const QByteArray out = Attendance::record(1, "1", at(one, 17, 0)) // 1 out twice: the first counts
                         + Attendance::record(1, "1", at(one, 18, 0)) //
                         + Attendance::record(3, "3", at(one, 17, 0)) // 3 out without coming in that day
                         + Attendance::record(2, "2", at(two, 12, 0)); // nor 2 on the second day
        folder.write("Presenze_Evento_3.pro", in);
        folder.write("Uscite_Evento_3.pro", out);

        const QList<QDate> days{one, two};
        const QList<QList<Attendance::Times>> times = Attendance::timesAtTheDoor(reservations, days, 4);
        QCOMPARE(times.size(), 2);
        const Attendance::Register reg = Attendance::Register::read(reservations);
        for (qsizetype d = 0; d < days.size(); ++d) {
            QCOMPARE(times.at(d).size(), 5);
            const QHash<qint64, Attendance::Day> byRecord = Attendance::daysOf(reg, days.at(d));
            for (qint64 n = 1; n <= 4; ++n) {
                const Attendance::Day day = byRecord.value(n);
                const QTime expectedIn = day.in ? day.in->time : QTime();
                const QTime expectedOut = day.in && day.out ? day.out->time : QTime();
                QCOMPARE(times.at(d).at(n).in, expectedIn);
                QCOMPARE(times.at(d).at(n).out, expectedOut);
            }
        }
        QCOMPARE(times.at(0).at(1).in, QTime(9, 0));
        QCOMPARE(times.at(0).at(1).out, QTime(17, 0));
        QCOMPARE(times.at(0).at(2).in, QTime(8, 30));
        QVERIFY(times.at(0).at(3).out.isNull());
        QCOMPARE(times.at(1).at(3).in, QTime(11, 0));

        // No records of those bookings on a day: no list; no archives: none.
        QVERIFY(Attendance::timesAtTheDoor(reservations, {QDate(2026, 3, 20)}, 4).at(0).isEmpty());
        QFile::remove(folder.file("Presenze_Evento_3.pro"));
        QFile::remove(folder.file("Uscite_Evento_3.pro"));
        QVERIFY(Attendance::timesAtTheDoor(reservations, days, 4).at(0).isEmpty());
        QVERIFY(!QFile::exists(folder.file("Presenze_Evento_3.pro")));
    }

    void recipientsAndBatches()
    {
        QList<Booking> bookings;
        for (const Guest &g : kGuests)
            bookings.append({bookings.size() + 1, g.cliente, g.posto, g.email, g.pending});
        const EveryoneNotice::Recipients r = EveryoneNotice::recipients(bookings);
        QCOMPARE(r.addresses, (QStringList{"mario@example.it", "ANNA@example.it"}));
        QCOMPARE(numbers(r.withoutAddress), QList<qint64>{3});

        QStringList many;
        for (int i = 0; i < 120; ++i)
            many << QStringLiteral("p%1@example.it").arg(i);
        const QList<QStringList> batches = EveryoneNotice::batches(many);
        QCOMPARE(batches.size(), 3);
        QCOMPARE(batches.at(0).size(), 50);
        QCOMPARE(batches.at(2).size(), 20);
        QCOMPARE(batches.at(0) + batches.at(1) + batches.at(2), many);
        QVERIFY(EveryoneNotice::batches({}).isEmpty());
    }

    // The addresses in Bcc, each encoded as a header value wants, so none
    // can end another or start a header.
    void mailtoWithBcc()
    {
        const QString text = mailtoText({}, "Oggetto & altro", "Riga 1\r\nRiga 2",
                                        {" a@example.it ", "o'neil+x@example.it", "strano,=&?@example.it"});
        QCOMPARE(text, QStringLiteral("mailto:?bcc=a@example.it,o'neil+x@example.it,strano%2C%3D%26%3F@example.it"
                                      "&subject=Oggetto%20%26%20altro&body=Riga%201%0D%0ARiga%202"));
        const Mail mail = decoded(TMisc::Wrapped(text));
        QCOMPARE(mail.bcc, (QStringList{"a@example.it", "o'neil+x@example.it", "strano,=&?@example.it"}));
        // Without Bcc nothing changes.
        QCOMPARE(mailtoText("x@y.it", "S", "B"), QStringLiteral("mailto:x@y.it?subject=S&body=B"));
    }

    // What the mail program gets: one argument, the distinct addresses in
    // Bcc, the subject and the event's data; then who has no address.
    void noticeToEveryoneOpensOneMessage()
    {
        TempProgramFolder folder;
        qvtest::ShellRecorder shell;
        qvtest::MessageRecorder messages;
        const QString path = dayfixtures::writeBookings(folder, 3, kGuests);
        noticeToEveryone(nullptr, path, dayfixtures::convegno());
        QCOMPARE(shell.commands.size(), 1);
        const Mail mail = decoded(shell.commands.first());
        QCOMPARE(mail.fields, (QStringList{"bcc", "subject", "body"}));
        QCOMPARE(mail.to, QString());
        // In seat order: Bianchi (7), Rossini (7, same address), Rossi (12).
        QCOMPARE(mail.bcc, (QStringList{"ANNA@example.it", "mario@example.it"}));
        QCOMPARE(mail.subject, QStringLiteral("Comunicazione relativa all'evento Convegno di primavera"));
        QCOMPARE(mail.body, QStringLiteral("Gentili partecipanti,\r\n\r\nvi scriviamo in merito all'evento a cui "
                                           "siete iscritti:\r\n\r\nEvento: Convegno di primavera\r\nData: 12/03/2026"
                                           "\r\nOra: 09:30\r\nSede: Aula Magna\r\nIndirizzo: Via Roma 1\r\n\r\n"));
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Notice);
        QVERIFY(messages.last().text.startsWith("Una prenotazione non ha un indirizzo e-mail"));
        QVERIFY(messages.last().text.endsWith(QStringLiteral("Posto A5  Verdi Nicol\u00F2")));
    }

    void noticeToEveryoneAsksBeforeSeveralMessages_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("messages");
        QTest::newRow("yes") << true << 3;
        QTest::newRow("no") << false << 0;
    }
    void noticeToEveryoneAsksBeforeSeveralMessages()
    {
        QFETCH(bool, answer);
        QFETCH(int, messages);
        TempProgramFolder folder;
        qvtest::ShellRecorder shell;
        qvtest::MessageRecorder recorder;
        recorder.answers = {answer};
        QList<Guest> guests;
        for (int i = 1; i <= 120; ++i)
            guests.append({QStringLiteral("Ospite %1").arg(i), QString::number(i), QStringLiteral("o%1@example.it").arg(i)});
        noticeToEveryone(nullptr, dayfixtures::writeBookings(folder, 3, guests), dayfixtures::convegno());
        QCOMPARE(recorder.count(), 1);
        QCOMPARE(recorder.last().kind, MessageKind::Question);
        QVERIFY(recorder.last().text.startsWith("Gli indirizzi e-mail dei prenotati sono 120"));
        QCOMPARE(shell.commands.size(), messages);
        QStringList all;
        for (const QString &command : shell.commands) {
            const Mail mail = decoded(command);
            QVERIFY(mail.bcc.size() <= 50);
            all += mail.bcc;
        }
        if (messages > 0) {
            QCOMPARE(all.size(), 120);
            QCOMPARE(all.first(), QStringLiteral("o1@example.it"));
        }
    }

    // A mail program that cannot be started is said so, once, and no
    // further message is attempted.
    void noticeToEveryoneWithoutMailProgram()
    {
        TempProgramFolder folder;
        qvtest::ShellRecorder shell;
        shell.opens = false;
        qvtest::MessageRecorder messages;
        messages.answers = {true};
        QList<Guest> guests;
        for (int i = 1; i <= 120; ++i)
            guests.append({QStringLiteral("Ospite %1").arg(i), QString::number(i), QStringLiteral("o%1@example.it").arg(i)});
        guests.append({QStringLiteral("Senza indirizzo"), QStringLiteral("121")});
        noticeToEveryone(nullptr, dayfixtures::writeBookings(folder, 3, guests), dayfixtures::convegno());
        QCOMPARE(shell.commands.size(), 1);
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QCOMPARE(messages.last().text, Desktop::kMailProgramFailed);
    }

    void noticeToEveryoneWithoutAnyAddress()
    {
        TempProgramFolder folder;
        qvtest::ShellRecorder shell;
        qvtest::MessageRecorder messages;
        noticeToEveryone(nullptr, dayfixtures::writeBookings(folder, 3, {{"Verdi", "1"}, {"Neri", "2"}}),
                         dayfixtures::convegno());
        QVERIFY(shell.commands.isEmpty());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(messages.last().text.contains("Posto 1  Verdi\r\nPosto 2  Neri"));
    }
};

QTEST_MAIN(TestDayOfEvent)
#include "tst_dayofevent.moc"
