#include "app/appwindows.h"
#include "frame/guide.h"
#include "app/tfrmavvio.h"
#include "eventday/bookings.h"
#include "reservations/tfrmmappaposti.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/seatfixtures.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qv;

namespace {
const QStringList kBoxes{"txtTitolo", "txtDataInizio", "txtOraInizio", "txtDataFine",
                         "txtOraFine", "txtSede", "txtIndirizzo", "txtPosti"};

// What the event picker writes for a chosen event.
void pick(TfrmMenuPrenotazioni *w, const QStringList &values, const QString &number)
{
    for (int i = 0; i < kBoxes.size(); ++i)
        w->findChild<QLineEdit *>(kBoxes[i])->setText(values.value(i));
    w->lblPosizione->setText(number);
}
} // namespace

class TestEventSelection : public QObject
{
    Q_OBJECT
    qvtest::TempProgramFolder *folder = nullptr;
    TfrmMenuPrenotazioni *w = nullptr;

private slots:
    void init()
    {
        folder = new qvtest::TempProgramFolder;
        createWindows();
        w = windows().frmMenuPrenotazioni;
        windows().frmAvvio->show();
        windows().frmAvvio->PostiClick();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanup()
    {
        destroyWindows();
        delete folder;
    }

    void startsWithNoEventChosen()
    {
        QCOMPARE(w->lblMemory->text(), QStringLiteral("avvio"));
        QVERIFY(w->btnSeleziona->isEnabled());
        QVERIFY(!w->btnAssegna->isEnabled());
        QVERIFY(w->icoMano01->isVisible());
        QVERIFY(!w->icoMano02->isVisible());
        QCOMPARE(QApplication::focusWidget(), w->btnSeleziona);
        for (const QString &name : kBoxes)
            QVERIFY(w->findChild<QLineEdit *>(name)->isReadOnly());
    }

    void windowAsLaidOut()
    {
        QCOMPARE(w->windowTitle(), QString(" Quorvane - Posti Assegnati"));
        QVERIFY(w->windowState() & Qt::WindowMaximized);
        QCOMPARE(w->lblInformazioni->text(),
                 QString("In questo ambiente \u00E8 possibile selezionare un evento fra quelli in archivio ed assegnare "
                         "posti a sedere ai singoli partecipanti."));
        QCOMPARE(w->btnSeleziona->text(), QString("Seleziona evento"));
        QCOMPARE(w->btnAssegna->text(), QString("Assegna posti"));
        QVERIFY(!w->lblPosizione->isVisible());
        QVERIFY(!w->lblMemory->isVisible());
        const QStringList centred{"txtDataInizio", "txtOraInizio", "txtDataFine", "txtOraFine", "txtPosti"};
        for (const QString &name : kBoxes) {
            auto *box = w->findChild<QLineEdit *>(name);
            QCOMPARE(bool(box->alignment() & Qt::AlignHCenter), centred.contains(name));
        }
        // Tab order: the select button, the eight boxes, the assign button.
        pick(w, {"Convegno"}, "1");
        QStringList chain{"btnSeleziona"};
        for (QWidget *next = w->btnSeleziona->nextInFocusChain(); next != w->btnSeleziona && chain.size() < 10;
             next = next->nextInFocusChain())
            if (next->focusPolicy() & Qt::TabFocus)
                chain.append(next->objectName());
        QCOMPARE(chain, QStringList{"btnSeleziona"} + kBoxes + QStringList{"btnAssegna"});
    }

    void guideAndExitPictures()
    {
        QString topic;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *guide = qobject_cast<TfrmGuida *>(dialog);
            QVERIFY(guide);
            topic = guide->lblTitolo->text();
        });
        w->imgGuida->click();
        QCOMPARE(topic, QString("Applicazione Posti Assegnati."));
        QVERIFY(w->isVisible());
        w->imgEsci->click();
        QVERIFY(!w->isVisible());
        QVERIFY(windows().frmAvvio->isVisible());
    }

    void titleDecidesWhichStepIsPointed()
    {
        pick(w, {"  "}, "3"); // a blank title chooses nothing
        QVERIFY(!w->btnAssegna->isEnabled());
        pick(w, {"Convegno"}, "3");
        QVERIFY(w->btnAssegna->isEnabled());
        QVERIFY(w->icoMano02->isVisible());
        QVERIFY(!w->icoMano01->isVisible());
    }

    void backspaceOrDeleteDiscardsTheChoice_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::newRow("backspace in start date") << "txtDataInizio" << int(Qt::Key_Backspace);
        QTest::newRow("delete in seats") << "txtPosti" << int(Qt::Key_Delete);
    }
    void backspaceOrDeleteDiscardsTheChoice()
    {
        QFETCH(QString, box);
        QFETCH(int, key);
        pick(w, {"Convegno", "01/02/2027", "9:00", "02/02/2027", "18:00", "Sala", "Via Roma 1", "100"}, "4");
        QLineEdit *target = w->findChild<QLineEdit *>(box);
        QTest::keyClick(target, Qt::Key_A); // other keys do nothing
        QCOMPARE(w->txtTitolo->text(), QStringLiteral("Convegno"));
        QTest::keyClick(target, Qt::Key(key));
        for (const QString &name : kBoxes)
            QCOMPARE(w->findChild<QLineEdit *>(name)->text(), QString());
        QVERIFY(!w->btnAssegna->isEnabled());
        QVERIFY(w->icoMano01->isVisible());
        QCOMPARE(w->lblPosizione->text(), QStringLiteral("4")); // overwritten by the next choice
    }

    void assegnaBindsTheCardToTheEventArchive()
    {
        const QStringList values{" Convegno ", "01/02/2027", "9:00", "02/02/2027", "18:00", "Sala", "Via Roma 1", "100"};
        pick(w, {"Primo"}, "3");
        pick(w, values, " 7 "); // a second choice replaces the first
        w->btnAssegna->click();
        TfrmPrenotazioni *card = windows().frmPrenotazioni;
        QVERIFY(card->isVisible());
        QVERIFY(!w->isVisible());
        QCOMPARE(card->lblFile->text(), folder->path() + "Posti_Riservati_Evento_7.pro");
        for (int i = 0; i < kBoxes.size(); ++i)
            QCOMPARE(card->findChild<QLineEdit *>(kBoxes[i])->text(), values[i].trimmed());
        QVERIFY(!QFile::exists(folder->file("Posti_Riservati_Evento_7.pro"))); // the card opens it, not this window
    }

    // Once an event is chosen: its bookings and seats counted, and the map's
    // picture beside "Assegna posti". Counting creates no archive, and one
    // that cannot be read is not counted at all.
    void bookingsOfTheChosenEvent_data()
    {
        QTest::addColumn<QString>("archive"); // "missing", "unreadable" or the example hall
        QTest::addColumn<QString>("line");
        QTest::newRow("thirty seats") << "hall"
                                      << QString("4 prenotati (1 da confermare, 1 con posto fuori pianta), 2 posti "
                                                 "occupati su 30, 28 liberi, 1 posto assegnato pi\u00F9 volte");
        QTest::newRow("missing") << "missing" << "0 prenotati (0 da confermare), 0 posti occupati su 30, 30 liberi";
        QTest::newRow("unreadable") << "unreadable" << "";
    }
    void bookingsOfTheChosenEvent()
    {
        QFETCH(QString, archive);
        QFETCH(QString, line);
        const QString path = folder->file("Posti_Riservati_Evento_4.pro");
        if (archive == "hall")
            folder->write("Posti_Riservati_Evento_4.pro", qvtest::bookings(qvtest::kThirtySeats));
        else if (archive == "unreadable")
            QVERIFY(QDir().mkpath(path));
        QVERIFY(!w->imgMappa->isEnabled());
        pick(w, {"Convegno", "01/02/2027", "9:00", "02/02/2027", "18:00", "Sala", "Via Roma 1", "30"}, "4");
        w->updateBookedCount();
        QCOMPARE(w->lblPrenotati->text(), line);
        QCOMPARE(QFile::exists(path), archive != "missing");
        QVERIFY(w->imgMappa->isEnabled());
        QCOMPARE(shortcutOf(w->imgMappa), QKeySequence(Qt::CTRL | Qt::Key_M));
        QTest::keyClick(w->txtSede, Qt::Key_Delete);
        QCOMPARE(w->lblPrenotati->text(), QString());
        QVERIFY(!w->imgMappa->isEnabled());
    }

    // One archive of every kind of card: the selection's line and the map's
    // counters give the same numbers in the same words, taken + free is the
    // hall, and the people booked are as many as the check-in desk counts.
    void selectionAndMapAgree()
    {
        const QString path = folder->file("Posti_Riservati_Evento_4.pro");
        folder->write("Posti_Riservati_Evento_4.pro", qvtest::bookings(qvtest::kEveryKind));
        pick(w, {"Convegno", "01/02/2027", "9:00", "02/02/2027", "18:00", "Sala", "Via Roma 1", "30"}, "4");
        w->updateBookedCount();
        const QString line("6 prenotati (2 da confermare, 2 con posto fuori pianta), 3 posti occupati su 30, "
                           "27 liberi, 1 posto assegnato pi\u00F9 volte");
        QCOMPARE(w->lblPrenotati->text(), line);
        QTest::mouseClick(w->imgMappa, Qt::LeftButton);
        TfrmMappaPosti *map = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *m = qobject_cast<TfrmMappaPosti *>(top); m && m->isVisible())
                map = m;
        QVERIFY(map);
        QCOMPARE(map->lblContatori->text(), line);
        const SeatMap::Counts c = map->map().counts();
        QCOMPARE(c.taken + c.free, 30);
        QCOMPARE(c.booked, int(Bookings::read(path).size()));
        map->close();
    }

    void showingAgainForgetsTheChoice()
    {
        pick(w, {"Convegno"}, "2");
        w->close();
        QVERIFY(windows().frmAvvio->isVisible());
        QCOMPARE(windows().frmPrenotazioni->lblFile->text(), QString()); // the card is not touched
        windows().frmAvvio->PostiClick();
        QCOMPARE(w->txtTitolo->text(), QString());
        QCOMPARE(w->lblPosizione->text(), QString());
        QVERIFY(!w->btnAssegna->isEnabled());
    }
};

QTEST_MAIN(TestEventSelection)
#include "tst_eventselection.moc"
