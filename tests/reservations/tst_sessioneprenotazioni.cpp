#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "archive/records.h"
#include "events/tfrmtrovaregistro.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qv;

// Seat booking reached the way a user reaches it: main menu, event
// selection through the event search, "Assegna posti", the card, and back.
class TestSessionePrenotazioni : public QObject
{
    Q_OBJECT
private slots:
    void bookSeatsForAChosenEvent()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        QByteArray events;
        for (const char *title : {"Assemblea", "Corso base", "Convegno"}) {
            TSchedaEvento e;
            e.setText("Titolo", title);
            e.setText("DataInizio", "12/03/2030");
            e.setText("OraInizio", "09:30");
            e.setText("Sede", "Aula Magna");
            e.setText("Indirizzo", "Via Roma 1");
            e.setText("Posti", "120");
            events += e.bytes();
        }
        folder.write("Eventi.pro", events);
        createWindows();
        AppWindows &w = windows();
        w.frmAvvio->show();
        w.frmAvvio->PostiClick();
        TfrmMenuPrenotazioni *selection = w.frmMenuPrenotazioni;
        QVERIFY(selection->isVisible());

        qvtest::whenModal([](QWidget *dialog) {
            auto *search = qobject_cast<TfrmTrovaRegistro *>(dialog);
            QVERIFY(search);
            search->txtTitolo->setText("convegno");
            QTest::mouseClick(search->btnCerca, Qt::LeftButton);
            search->selectRow(0);
            search->lstRecordsDblClick();
        });
        QTest::mouseClick(selection->btnSeleziona, Qt::LeftButton);
        QCOMPARE(selection->txtTitolo->text(), QString("Convegno"));
        QTest::mouseClick(selection->btnAssegna, Qt::LeftButton);

        TfrmPrenotazioni *card = w.frmPrenotazioni;
        QVERIFY(card->isVisible());
        QVERIFY(!selection->isVisible());
        QVERIFY(card->lblFile->text().endsWith("/Posti_Riservati_Evento_3.pro"));
        QCOMPARE(card->txtTitolo->text(), QString("Convegno"));
        QCOMPARE(card->txtPosti->text(), QString("120"));
        QCOMPARE(card->lblPosizione->text(), QString());
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        QCOMPARE(card->focusWidget(), static_cast<QWidget *>(card->txtCliente));

        // Three seats: one pending, two on the same seat.
        const QList<std::tuple<QString, QString, bool>> bookings{
            {"Rossi Mario", "a12", true}, {"Bianchi Anna", "7", false}, {"Verdi Luca", "7", false}};
        for (const auto &[name, seat, pending] : bookings) {
            QTest::mouseClick(card->btnNuovo, Qt::LeftButton);
            QTest::keyClicks(card->txtCliente, name);
            card->txtPosto->setFocus();
            QTest::keyClicks(card->txtPosto, seat);
            card->chkDaConfermare->setChecked(pending);
            QTest::mouseClick(card->btnSalva, Qt::LeftButton);
            QCOMPARE(messages.last().text, CardOperations::kInserted);
        }
        QCOMPARE(card->lblPosizione->text(), QString("3"));
        const QByteArray file = folder.read("Posti_Riservati_Evento_3.pro");
        QCOMPARE(file.size(), 3 * 829);
        QCOMPARE(qvtest::countedAt(file, 312), QByteArray("A12"));
        QCOMPARE(qvtest::countedAt(file, 318), QByteArray("00A12"));
        QCOMPARE(file.mid(826, 3), QByteArray("\x02S\xEC", 3));
        QCOMPARE(qvtest::countedAt(file, 829 + 318), QByteArray("00007"));
        QCOMPARE(file.mid(829 + 826, 3), QByteArray("\x02No", 3));

        // Leaving returns to the main menu; coming back starts a new card.
        QTest::mouseClick(card->btnEsci, Qt::LeftButton);
        QVERIFY(w.frmAvvio->isVisible());
        QVERIFY(!card->isVisible());
        destroyWindows();
    }
};

QTEST_MAIN(TestSessionePrenotazioni)
#include "tst_sessioneprenotazioni.moc"
