#include "app/appwindows.h"
#include "core/clock.h"
#include "dayfixtures.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "frame/windows.h"
#include "output/pageoutput.h"
#include "eventday/badgecode.h"
#include "eventday/tfrmaccoglienza.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QComboBox>
#include <QRadioButton>
#include <QtTest>

using namespace qv;
using dayfixtures::Guest;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

const QDateTime kNine(QDate(2026, 3, 12), QTime(9, 31, 5));
const QList<Guest> kGuests{
    {"Rossi Mario", "12"},
    {"Bianchi Anna", "7"},
    {"Rossini Paolo", "7"},
};

// The check-in of event 3 over kGuests, shown as a desk sees it.
struct Desk
{
    explicit Desk(const TempProgramFolder &folder)
        : archive(dayfixtures::writeBookings(folder, 3, kGuests)), before(folder.read(kArchiveName)),
          w(dayfixtures::convegno(3), archive, nullptr)
    {
        w.setWindowState(Qt::WindowNoState);
        w.resize(1280, 720);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
    }
    // What a badge scanner does: the text, then Enter.
    void scan(const QString &text)
    {
        w.txtCodice->setFocus();
        QTest::keyClicks(w.txtCodice, text);
        QTest::keyClick(w.txtCodice, Qt::Key_Return);
    }
    QString outcome() const { return w.lblEsito->property("esito").toString(); }
    QStringList latest() const
    {
        QStringList lines;
        for (int i = 0; i < w.lstIngressi->count(); ++i)
            lines << w.lstIngressi->item(i)->text();
        return lines;
    }
    QStringList matches() const
    {
        QStringList lines;
        for (int i = 0; i < w.lstCorrispondenze->count(); ++i)
            lines << w.lstCorrispondenze->item(i)->text();
        return lines;
    }

    static inline const QString kArchiveName = QStringLiteral("Posti_Riservati_Evento_3.pro");
    QString archive;
    QByteArray before;
    TfrmAccoglienza w;
    bool ok = false;
};

} // namespace

class TestAccoglienza : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(kNine); }
    void cleanup() { Clock::setFixed({}); }

    void windowAsLaidOut()
    {
        TempProgramFolder folder;
        Desk desk(folder);
        QVERIFY(desk.ok);
        QCOMPARE(desk.w.windowTitle(), QStringLiteral(" Accoglienza partecipanti"));
        QCOMPARE(desk.w.objectName(), QStringLiteral("frmAccoglienza"));
        QCOMPARE(desk.w.txtTitolo->text(), QStringLiteral("Convegno di primavera"));
        QVERIFY(desk.w.txtTitolo->isReadOnly());
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 0 su 3 prenotati"));
        QCOMPARE(QApplication::focusWidget(), desk.w.txtCodice);
        QVERIFY(!desk.w.lstCorrispondenze->isVisible());
        QVERIFY(desk.w.lstIngressi->isVisible());
        // Its pictures have their hints and the keys of the house map.
        QCOMPARE(shortcutOf(desk.w.btnPresenze), QKeySequence(Qt::CTRL | Qt::Key_L));
        QCOMPARE(shortcutOf(desk.w.btnAnnullaIngresso), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
        QCOMPARE(shortcutOf(desk.w.btnGuida), QKeySequence(Qt::Key_F1));
        QCOMPARE(desk.w.btnPresenze->focusPolicy(), Qt::NoFocus);
        // Looking creates nothing; the reservations are never written.
        QVERIFY(!QFile::exists(folder.file("Presenze_Evento_3.pro")));
    }

    // A badge scanned: that person is in at once, with name, seat and time;
    // scanned again: the first time is told and nothing changes.
    void scannedBadgeChecksInOnce()
    {
        TempProgramFolder folder;
        Desk desk(folder);
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 1, "12")));
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QCOMPARE(desk.w.lblEsito->text(), QStringLiteral("Ingresso registrato alle 09:31:05\nRossi Mario\nPosto 12"));
        QCOMPARE(desk.w.lblEsito->property("lampo").toBool(), true);
        QCOMPARE(desk.w.txtCodice->text(), QString());
        QCOMPARE(QApplication::focusWidget(), desk.w.txtCodice);
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 1 su 3 prenotati"));
        QCOMPARE(desk.latest(), QStringList{"09:31:05   Ingresso   Posto 12   Rossi Mario"});
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 40);

        Clock::setFixed(kNine.addSecs(125));
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 1, "12")));
        QCOMPARE(desk.outcome(), QStringLiteral("gia"));
        QCOMPARE(desk.w.lblEsito->text(),
                 QStringLiteral("Ingresso gi\u00E0 registrato oggi alle 09:31:05: nulla \u00E8 cambiato\nRossi Mario\nPosto 12"));
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 40);
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 1 su 3 prenotati"));
        QCOMPARE(folder.read(Desk::kArchiveName), desk.before);
    }

    void refusedWithoutWriting_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("another event's badge") << "QV1;E4;R1;P12"
                                               << "Cartellino di un altro evento (evento n. 4)\nNessun ingresso registrato";
        QTest::newRow("damaged badge") << "QV1;E3;R1;P%G"
                                       << "Codice non riconosciuto\nLeggere di nuovo il cartellino, oppure digitare il "
                                          "numero del posto o parte del nome";
        QTest::newRow("badge of no booking") << "QV1;E3;R9;P1"
                                             << "Il cartellino non corrisponde a nessuna prenotazione di questo evento\n"
                                                "Nessun ingresso registrato";
        QTest::newRow("nobody") << "Verdi" << QStringLiteral("Nessuna prenotazione corrisponde a \u00ABVerdi\u00BB");
    }
    void refusedWithoutWriting()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        TempProgramFolder folder;
        Desk desk(folder);
        desk.scan(typed);
        QCOMPARE(desk.outcome(), QStringLiteral("rifiutato"));
        QCOMPARE(desk.w.lblEsito->text(), text);
        QVERIFY(!QFile::exists(folder.file("Presenze_Evento_3.pro")));
        QCOMPARE(folder.read(Desk::kArchiveName), desk.before);
    }

    // A seat of one booking checks in at once; a seat of two and a part of a
    // name list the matches, and Enter or a double-click chooses.
    void seatAndNameChoose()
    {
        TempProgramFolder folder;
        Desk desk(folder);
        desk.scan("12");
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QVERIFY(!desk.w.lstCorrispondenze->isVisible());

        desk.scan("7");
        QCOMPARE(desk.outcome(), QStringLiteral("avviso"));
        QCOMPARE(desk.matches(), (QStringList{"Posto 7  Bianchi Anna", "Posto 7  Rossini Paolo"}));
        QVERIFY(desk.w.lstCorrispondenze->isVisible());
        QCOMPARE(QApplication::focusWidget(), desk.w.lstCorrispondenze);
        QTest::keyClick(desk.w.lstCorrispondenze, Qt::Key_Down);
        QTest::keyClick(desk.w.lstCorrispondenze, Qt::Key_Return);
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QVERIFY(desk.w.lblEsito->text().contains("Rossini Paolo"));
        QVERIFY(!desk.w.lstCorrispondenze->isVisible());
        QCOMPARE(QApplication::focusWidget(), desk.w.txtCodice);

        desk.scan("ross");
        QCOMPARE(desk.matches(), (QStringList{"Posto 7  Rossini Paolo   (gi\u00E0 entrato alle 09:31:05)",
                                              "Posto 12  Rossi Mario   (gi\u00E0 entrato alle 09:31:05)"}));
        QTest::keyClick(desk.w.lstCorrispondenze, Qt::Key_Escape);
        QVERIFY(desk.w.isVisible());
        QCOMPARE(QApplication::focusWidget(), desk.w.txtCodice);

        desk.scan("bianchi");
        QCOMPARE(desk.matches(), QStringList{"Posto 7  Bianchi Anna"}); // one match is still a choice
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 2 su 3 prenotati"));
        QTRY_VERIFY(desk.w.lstCorrispondenze->visualItemRect(desk.w.lstCorrispondenze->item(0)).height() > 0);
        const QRect row = desk.w.lstCorrispondenze->visualItemRect(desk.w.lstCorrispondenze->item(0));
        QTest::mouseDClick(desk.w.lstCorrispondenze->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 3 su 3 prenotati"));
        QCOMPARE(desk.latest().size(), 3);
        QVERIFY(desk.latest().first().endsWith("Bianchi Anna")); // the latest first
        QCOMPARE(folder.read(Desk::kArchiveName), desk.before);
    }

    // Undo: asked first; "No" changes nothing, "Yes" marks the entry and the
    // person is absent again, and may be checked in later.
    void undoIsAskedFirst()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Desk desk(folder);
        desk.w.btnAnnullaIngressoClick();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution); // nothing selected

        desk.scan("12");
        const QByteArray entry = folder.read("Presenze_Evento_3.pro");
        messages.answers = {false};
        QTest::keyClick(desk.w.txtCodice, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(messages.last().text,
                 QStringLiteral("Annullare l'ingresso di Rossi Mario (posto 12) registrato alle 09:31:05?"));
        QCOMPARE(folder.read("Presenze_Evento_3.pro"), entry);

        messages.answers = {true};
        desk.w.btnAnnullaIngresso->click();
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 40);
        QCOMPARE(folder.read("Presenze_Evento_3.pro").mid(37, 3), QByteArray("\x02S\xEC", 3));
        QCOMPARE(desk.outcome(), QStringLiteral("avviso"));
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 0 su 3 prenotati"));
        QVERIFY(desk.latest().isEmpty());

        desk.scan("12");
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 80);
        QCOMPARE(folder.read(Desk::kArchiveName), desk.before);
    }

    // The desk opens beside the other windows and keeps its place: the
    // attendance list (absent first, then present, in seat order, printed
    // with the day's totals) brings a booking's card forward, and closing
    // the card returns to the desk. A walk-in gets a new card with the name
    // typed, and is in once the card is saved.
    void deskKeepsItsPlaceBehindTheCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        createWindows();
        dayfixtures::writeBookings(folder, 3, kGuests);
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->show();
        selection->lblPosizione->setText("3");
        selection->txtTitolo->setText("Convegno di primavera");
        QVERIFY(selection->imgAccoglienza->isEnabled());
        QCOMPARE(selection->imgAccoglienza->text(), QStringLiteral("Accoglienza"));
        selection->imgAccoglienza->click();
        TfrmAccoglienza *desk = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *open = qobject_cast<TfrmAccoglienza *>(w))
                desk = open;
        QVERIFY(desk);
        QVERIFY(desk->isVisible());
        QVERIFY(!desk->isModal());
        const QPointer<TfrmAccoglienza> alive(desk);
        QTest::keyClicks(desk->txtCodice, "12");
        QTest::keyClick(desk->txtCodice, Qt::Key_Return);

        QStringList lines;
        QString printTitle;
        qvtest::whenModal([&](QWidget *shown) {
            auto *list = qobject_cast<TfrmPresenze *>(shown);
            QVERIFY(list);
            QCOMPARE(list->windowTitle(), QStringLiteral(" Elenco presenze"));
            lines = list->lines();
            printTitle = list->config().printTitle;
            list->selectRow(2);
            QTest::keyClick(list->lstRecords, Qt::Key_Return);
        });
        desk->btnPresenze->click();
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Assente    Posto n. 00007   Bianchi Anna"));
        QVERIFY(lines[1].startsWith("Assente    Posto n. 00007   Rossini Paolo"));
        QVERIFY(lines[2].startsWith("Presente   Posto n. 00012   Rossi Mario"));
        QVERIFY(lines[2].endsWith("ingresso 09:31:05"));
        QCOMPARE(printTitle,
                 QStringLiteral("Presenze del 12/03/2026 per Convegno di primavera: presenti 1 su 3 prenotati"));
        TfrmPrenotazioni *card = windows().frmPrenotazioni;
        QVERIFY(card->isVisible());
        QCOMPARE(card->lblFile->text(), folder.file("Posti_Riservati_Evento_3.pro"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
        QCOMPARE(card->txtCliente->text(), QStringLiteral("Rossi Mario"));
        QVERIFY(alive && desk->isVisible()); // the queue keeps its desk

        card->close();
        QVERIFY(!card->isVisible());
        QVERIFY(alive && desk->isVisible());
        QVERIFY(selection->isVisible()); // the window the card came in place of
        QVERIFY(!windows().mainMenu->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), desk);

        // A walk-in: the name typed at the desk fills a new card.
        desk->txtCodice->setText("Verdi Luca");
        QTest::keyClick(desk->txtCodice, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(card->isVisible());
        QCOMPARE(card->lblPosizione->text(), QString());
        QCOMPARE(card->txtCliente->text(), QStringLiteral("Verdi Luca"));
        QTRY_COMPARE(QApplication::focusWidget(), card->txtPosto);
        card->txtPosto->setText("20");
        card->btnSalva->click();
        QVERIFY(!card->isVisible());
        QVERIFY(alive && desk->isVisible());
        QCOMPARE(desk->lblEsito->property("esito").toString(), QStringLiteral("registrato"));
        QCOMPARE(desk->lblEsito->text(), QStringLiteral("Ingresso registrato alle 09:31:05\nVerdi Luca\nPosto 20"));
        QCOMPARE(desk->lblTotali->text(), QStringLiteral("Presenti oggi 2 su 4 prenotati"));
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 80);
        QCOMPARE(messages.count(), 1); // the card's own word on the save
        QCOMPARE(messages.last().text, CardOperations::kInserted);

        // A card in view holding typing is not emptied without asking.
        desk->btnNuovoIngresso->click();
        QVERIFY(card->isVisible());
        card->txtCliente->setText("Gialli Marco");
        desk->txtCodice->setText("Blu Anna");
        messages.answers = {false};
        desk->btnNuovoIngressoClick();
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(card->txtCliente->text(), QStringLiteral("Gialli Marco"));
        desk->txtCodice->setText("Blu Anna");
        messages.answers = {true};
        desk->btnNuovoIngressoClick();
        QCOMPARE(card->txtCliente->text(), QStringLiteral("Blu Anna"));
        card->close();
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 80);
        desk->close();
        QTRY_VERIFY(!alive); // destroyed on close
        destroyWindows();
    }

    // A convention of two days: in once a day, "already in" only on the same
    // day; the counter and the list are today's, another day on request.
    // Exits give the hours; an exit without the day's entry is refused, and
    // an entry is undone only after its exit.
    void everyDayOfTheEventWithExits()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Desk desk(folder);
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 1, "12")));
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));

        const QDateTime dayTwo(QDate(2026, 3, 13), QTime(8, 50, 0));
        Clock::setFixed(dayTwo);
        desk.w.showDay(dayTwo.date());
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 0 su 3 prenotati"));
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 1, "12")));
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QCOMPARE(desk.w.lblEsito->text(), QStringLiteral("Ingresso registrato alle 08:50:00\nRossi Mario\nPosto 12"));
        QCOMPARE(folder.read("Presenze_Evento_3.pro").size(), 80);
        Clock::setFixed(dayTwo.addSecs(60));
        desk.scan("12");
        QCOMPARE(desk.outcome(), QStringLiteral("gia"));
        QVERIFY(desk.w.lblEsito->text().startsWith("Ingresso gi\u00E0 registrato oggi alle 08:50:00"));

        // The days to look at: the event's (it has no end date here), the
        // days with records, today.
        QStringList days;
        for (int i = 0; i < desk.w.cboGiorno->count(); ++i)
            days << desk.w.cboGiorno->itemText(i);
        QCOMPARE(days, (QStringList{"12/03/2026", "oggi, 13/03/2026"}));
        desk.w.showDay(QDate(2026, 3, 12));
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti il 12/03/2026 1 su 3 prenotati"));
        QCOMPARE(desk.latest(), QStringList{"09:31:05   Ingresso   Posto 12   Rossi Mario"});

        // Exits: refused for who has not come in today, then recorded once
        // with the hours; the desk shows today again after a scan.
        desk.w.optUscite->click();
        QVERIFY(desk.w.lblIstruzioni->text().startsWith("Uscite:"));
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 2, "7")));
        QCOMPARE(desk.outcome(), QStringLiteral("rifiutato"));
        QVERIFY(desk.w.lblEsito->text().startsWith("Nessun ingresso registrato oggi: uscita non registrata"));
        QVERIFY(!QFile::exists(folder.file("Uscite_Evento_3.pro")));
        Clock::setFixed(QDateTime(dayTwo.date(), QTime(17, 20, 0)));
        desk.scan(QString::fromLatin1(BadgeCode::text(3, 1, "12")));
        QCOMPARE(desk.outcome(), QStringLiteral("registrato"));
        QCOMPARE(desk.w.lblEsito->text(),
                 QStringLiteral("Uscita registrata alle 17:20:00 (presente 8:30 ore)\nRossi Mario\nPosto 12"));
        QCOMPARE(desk.w.dayShown(), dayTwo.date());
        QCOMPARE(desk.w.lblTotali->text(), QStringLiteral("Presenti oggi 1 su 3 prenotati, usciti 1"));
        QCOMPARE(desk.latest(), (QStringList{"17:20:00   Uscita     Posto 12   Rossi Mario   8:30 ore",
                                             "08:50:00   Ingresso   Posto 12   Rossi Mario"}));
        desk.scan("12");
        QCOMPARE(desk.outcome(), QStringLiteral("gia"));
        QCOMPARE(folder.read("Uscite_Evento_3.pro").size(), 40);

        // The entry waits for its exit to be undone; the exit undone, the
        // entry may go.
        desk.w.lstIngressi->setCurrentRow(1);
        desk.w.btnAnnullaIngresso->click();
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(messages.last().text.contains("annullare prima l'uscita"));
        messages.answers = {true};
        desk.w.lstIngressi->setCurrentRow(0);
        desk.w.btnAnnullaIngresso->click();
        QCOMPARE(messages.last().text,
                 QStringLiteral("Annullare l'uscita di Rossi Mario (posto 12) registrata alle 17:20:00?"));
        QCOMPARE(folder.read("Uscite_Evento_3.pro").mid(37, 3), QByteArray("\x02S\xEC", 3));
        QCOMPARE(desk.latest(), QStringList{"08:50:00   Ingresso   Posto 12   Rossi Mario"});
        QCOMPARE(folder.read(Desk::kArchiveName), desk.before);
    }

    // A booking awaiting confirmation comes in with a distinct amber answer
    // that says so, and is marked among the name's matches; a refusal or an
    // undo leaves no list of matches behind.
    void pendingFlaggedAndNoStaleMatches()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        const QString archive =
            dayfixtures::writeBookings(folder, 3, {{"Neri Carla", "3", {}, true}, {"Neri Bruno", "4"}});
        TfrmAccoglienza w(dayfixtures::convegno(3), archive, nullptr);
        w.show();
        QTest::keyClicks(w.txtCodice, "neri");
        QTest::keyClick(w.txtCodice, Qt::Key_Return);
        QVERIFY(w.lstCorrispondenze->isVisible());
        QCOMPARE(w.lstCorrispondenze->item(0)->text(), QStringLiteral("Posto 3  Neri Carla   DA CONFERMARE"));
        QTest::keyClicks(w.txtCodice, "99");
        QTest::keyClick(w.txtCodice, Qt::Key_Return);
        QCOMPARE(w.lblEsito->property("esito").toString(), QStringLiteral("rifiutato"));
        QVERIFY(!w.lstCorrispondenze->isVisible());
        QCOMPARE(w.lstCorrispondenze->count(), 0);

        QTest::keyClicks(w.txtCodice, "3");
        QTest::keyClick(w.txtCodice, Qt::Key_Return);
        QCOMPARE(w.lblEsito->property("esito").toString(), QStringLiteral("sospeso"));
        QCOMPARE(w.lblEsito->text(), QStringLiteral("Ingresso registrato alle 09:31:05 - PRENOTAZIONE DA CONFERMARE"
                                                    "\nNeri Carla\nPosto 3"));

        QTest::keyClicks(w.txtCodice, "neri");
        QTest::keyClick(w.txtCodice, Qt::Key_Return);
        QVERIFY(w.lstCorrispondenze->isVisible());
        messages.answers = {true};
        w.lstIngressi->setCurrentRow(0);
        w.btnAnnullaIngresso->click();
        QVERIFY(!w.lstCorrispondenze->isVisible());
        QCOMPARE(w.lblTotali->text(), QStringLiteral("Presenti oggi 0 su 2 prenotati"));
    }

    void guideTopic()
    {
        TempProgramFolder folder;
        Desk desk(folder);
        QString title;
        qvtest::whenModal([&](QWidget *dialog) {
            if (auto *guide = qobject_cast<TfrmGuida *>(dialog))
                title = guide->lblTitolo->text();
        });
        QTest::keyClick(desk.w.txtCodice, Qt::Key_F1);
        QCOMPARE(title, QStringLiteral("Accoglienza partecipanti."));
        QVERIFY(shortcutTable(GuideTopic::CheckIn).contains(QStringLiteral("Ctrl+Maiusc+Canc: annulla l'ingresso "
                                                                           "o l'uscita selezionati.")));
    }
};

QTEST_MAIN(TestAccoglienza)
#include "tst_accoglienza.moc"
