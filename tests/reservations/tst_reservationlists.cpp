#include "archive/records.h"
#include "archive/tarchivio.h"
#include "reservations/reservationlists.h"
#include "support/testsupport.h"

#include <QDir>
#include <QtTest>

using namespace qv;
namespace RL = qv::ReservationLists;

namespace {

struct Booking
{
    QString cliente, posto, recapito, telCel, ubicazione, annotazioni;
    bool pending = false;
    QString comune;
};

TSchedaPrenotazione record(const Booking &b)
{
    TSchedaPrenotazione r;
    r.setText("Cliente", b.cliente);
    r.setText("Posto", b.posto);
    r.setText("Numero", TSchedaPrenotazione::Numero(b.posto));
    r.setText("Recapito", b.recapito);
    r.setText("TelCel", b.telCel);
    r.setText("Ubicazione", b.ubicazione);
    r.setText("Annotazioni", b.annotazioni);
    r.setText("ComuneRes", b.comune);
    r.setYesNo("DaConfermare", b.pending);
    return r;
}

QString writeArchive(const qvtest::TempProgramFolder &folder, const QList<Booking> &bookings)
{
    QByteArray bytes;
    for (const Booking &b : bookings)
        bytes += record(b).bytes();
    folder.write("Posti_Riservati_Evento_1.pro", bytes);
    return folder.file("Posti_Riservati_Evento_1.pro");
}

QStringList lines(const ListSource &source, const RecordTest &test)
{
    bool failed = true;
    const QStringList result = listLines(source, test, &failed).toStringList();
    return failed ? QStringList{"failed"} : result;
}

} // namespace

class TestReservationLists : public QObject
{
    Q_OBJECT
private slots:
    void lineLayouts()
    {
        const TSchedaPrenotazione r = record({"  Rossi Mario ", " 7", "06 123", "333 1", "Sala A, fila 2 ", "vip"});
        const RecordView view(TSchedaPrenotazione::layout(), r.bytes().constData());
        QCOMPARE(RL::bookedLines().line(view),
                 "Posto n. 00007   " + QString("Rossi Mario").leftJustified(34) + "  Tel. "
                     + QString("06 123").leftJustified(22) + "  Cel. " + QString("333 1").leftJustified(22)
                     + "  Sala A, fila 2");
        QCOMPARE(RL::pendingLines().line(view), QString("Rossi Mario").leftJustified(30) + "  Tel. "
                                                     + QString("06 123").leftJustified(22) + "  Cel. "
                                                     + QString("333 1").leftJustified(22) + "  Posto n. 7");
        QCOMPARE(RL::searchLines().line(view), QString("Rossi Mario").leftJustified(30) + "  Tel. "
                                                    + QString("06 123").leftJustified(22) + "  Cel. "
                                                    + QString("333 1").leftJustified(22) + "  Posto n. 7      Note: vip");
        QCOMPARE(RL::holderLines().line(view), "Posto n. 7      " + QString("Rossi Mario").leftJustified(50));
        // Long names are cut to their column.
        const TSchedaPrenotazione longName = record({QString(50, 'x'), "12"});
        const RecordView longView(TSchedaPrenotazione::layout(), longName.bytes().constData());
        QCOMPARE(RL::pendingLines().line(longView).left(32), QString(30, 'x') + "  ");
    }

    void bookedOrderAndTests()
    {
        qvtest::TempProgramFolder folder;
        const QString path = writeArchive(folder, {{"Verdi", "10"},
                                                   {"Neri", "A1", {}, {}, {}, {}, true},
                                                   {"Bianchi", "2", {}, {}, {}, {}, true},
                                                   {"Senza posto", ""},
                                                   {"Rossi", "2"},
                                                   {"Gialli", "a1"}});
        const QStringList booked = lines(RL::bookedSource([path] { return path; }), RL::isBooked);
        QStringList seats;
        for (const QString &line : booked)
            seats << line.mid(9, 5) + ' ' + line.mid(17, 34).trimmed();
        // Numeric seats in numeric order, a seat shared stands together by name.
        QCOMPARE(seats, QStringList({"00002 Bianchi", "00002 Rossi", "00010 Verdi", "000a1 Gialli", "000A1 Neri"}));
        const QStringList pending = lines(RL::pendingSource([path] { return path; }), RL::isPending);
        QCOMPARE(pending.size(), 2);
        QVERIFY(pending[0].startsWith("Bianchi"));
        QVERIFY(pending[0].endsWith("Posto n. 2"));
        QVERIFY(pending[1].startsWith("Neri"));
    }

    void pendingNeedsExactlyYes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("pending");
        QTest::newRow("S\xEC") << QByteArray("\x02S\xEC", 3) << true;
        QTest::newRow("No") << QByteArray("\x02No", 3) << false;
        QTest::newRow("empty") << QByteArray("\x00\x00\x00", 3) << false;
        QTest::newRow("SI") << QByteArray("\x02SI", 3) << false;
    }
    void pendingNeedsExactlyYes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, pending);
        QByteArray bytes = record({"Rossi", "1"}).bytes();
        bytes.replace(826, 3, stored);
        QCOMPARE(RL::isPending(RecordView(TSchedaPrenotazione::layout(), bytes.constData())), pending);
    }

    void sameSeat_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("same");
        QTest::newRow("equal") << "12" << "12" << true;
        QTest::newRow("case") << "A5" << "a5" << true;
        QTest::newRow("blanks") << " 7 " << "7" << true;
        QTest::newRow("leading zero") << "05" << "5" << false;
        QTest::newRow("padded") << "007" << "7" << false;
        QTest::newRow("accented letters keep their case") << QString("\u00E8") << QString("\u00C8") << false;
    }
    void sameSeat()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, same);
        QCOMPARE(RL::sameSeat(stored, typed), same);
    }

    void seatHolders()
    {
        qvtest::TempProgramFolder folder;
        const QString path = writeArchive(folder, {{"Rossi", "12"}, {"Verdi", "7"}, {"bianchi", "12", {}, {}, {}, {}, true},
                                                   {"Neri", "a5"}, {"Gialli", "007"}});
        QCOMPARE(RL::seatHolders(path, "12"),
                 QStringList({"Posto n. 12     " + QString("bianchi").leftJustified(50),
                              "Posto n. 12     " + QString("Rossi").leftJustified(50)}));
        QCOMPARE(RL::seatHolders(path, " A5 ").size(), 1);
        QCOMPARE(RL::seatHolders(path, "5"), QStringList());
        QCOMPARE(RL::seatHolders(path, "7").size(), 1); // 007 is another seat
        // A missing archive is created empty: the seat is free.
        const QString missing = folder.file("Posti_Riservati_Evento_9.pro");
        QCOMPARE(RL::seatHolders(missing, "1"), QStringList());
        QVERIFY(QFile::exists(missing));
    }

    void seatHoldersNeverAnswerOnAFailedRead()
    {
        qvtest::TempProgramFolder folder;
        const QString path = folder.file("Posti_Riservati_Evento_2.pro");
        QVERIFY(QDir().mkpath(path)); // there, but no archive can be opened
        QVERIFY_THROWS_EXCEPTION(ArchiveError, RL::seatHolders(path, "1"));
    }

    void noticeBody()
    {
        RL::NoticeData d{"Bianchi Anna", "15", "Convegno", "12/03/2022", "09:30", "Aula Magna", "Via Roma 1"};
        QCOMPARE(RL::noticeSubject(), QString("Notifica prenotazione posto a sedere"));
        QCOMPARE(RL::noticeBody(d),
                 QString("Gentile Sig. Bianchi Anna, con la presente le notifichiamo l'avvenuta prenotazione a suo "
                         "nome del posto a sedere n. 15 relativamente all'evento intitolato Convegno, che avr\u00E0 "
                         "inizio in data 12/03/2022 alle ore 09:30 presso la seguente sede: Aula Magna, ubicata in "
                         "Via Roma 1. Con l'occasione, le porgiamo cordiali saluti."));
    }
};

QTEST_GUILESS_MAIN(TestReservationLists)
#include "tst_reservationlists.moc"
