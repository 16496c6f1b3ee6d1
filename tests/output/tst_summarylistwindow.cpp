#include "archive/records.h"
#include "core/programfolder.h"
#include "output/fixtures.h"
#include "output/pageoutput.h"
#include "output/summarylistwindow.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace qv;
using qvtest::Values;

namespace {

QString archive() { return TSchedaPrenotazione::archivePath(3); }

struct Delivered
{
    QString cliente;
    qint64 number;
    QString mode;
};

// A list over a reservations archive, configured the way the booked-seats
// and reservation-search windows will be.
SummaryListConfig seatsList(QList<Delivered> *delivered, bool withFilters)
{
    SummaryListConfig config;
    config.objectName = "frmProva";
    config.caption = " Prova";
    config.source = {&TSchedaPrenotazione::layout(), [] { return archive(); },
                     LineLayout(TSchedaPrenotazione::layout(),
                                {{"Posto: ", "Posto", 5}, {"  ", "Cliente", 20}, {"  Tel. ", "TelCel", LineLayout::kTrimmed}})};
    config.lineWidth = 1500;
    config.printTitle = "Prova";
    if (withFilters) {
        config.filters = {{"txtCliente", "Partecipante:", "effCampo01", "Cliente"},
                          {"txtPosto", "Posto:", "effCampo02", "Posto"},
                          {"txtTelCel", "Cellulare:", "effCampo03", "TelCel"}};
    } else {
        config.test = [](const RecordView &r, const QDate &) {
            return r.text(TSchedaPrenotazione::layout().indexOf("DaConfermare")) == QString("S\u00EC");
        };
    }
    config.deliver = [delivered](const Record &record, qint64 number, const QString &mode) {
        delivered->append({record.text("Cliente"), number, mode});
    };
    return config;
}

void writeSeats()
{
    qvtest::writeRecords(archive(), qvtest::reservationFields(),
                         {{{"Cliente", "Rossi Mario"}, {"Posto", "12"}, {"TelCel", "333"}, {"DaConfermare", "S\u00EC"}},
                          {{"Cliente", "bianchi anna"}, {"Posto", "3"}, {"TelCel", "334"}, {"DaConfermare", "No"}},
                          {{"Cliente", "Verdi Luca"}, {"Posto", "1"}, {"TelCel", "335"}, {"DaConfermare", "S\u00EC"}}});
}

} // namespace

class TestSummaryListWindow : public QObject
{
    Q_OBJECT
private slots:
    void listWithoutFilterPageFillsWhenShown()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, false));
        QVERIFY(w.lines().isEmpty());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.lines(), (QStringList{"Posto: 1      Verdi Luca            Tel. 335",
                                         "Posto: 12     Rossi Mario           Tel. 333"}));
        QCOMPARE(w.lstRecords->sizeHintForColumn(0), 1500);
        QCOMPARE(w.findChild<QLabel *>("lblRigo03")->text(),
                 QString("Per richiamare i dati di una scheda, selezionarla con un doppio clic."));
        QCOMPARE(w.btnStampa->text(), QString("Stampa"));
        QCOMPARE(w.btnChiudi->text(), QString("Chiudi"));

        const QModelIndex second = w.lstRecords->model()->index(1, 0);
        const QPoint at = w.lstRecords->visualRect(second).center();
        QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered[0].cliente, QString("Rossi Mario"));
        QCOMPARE(delivered[0].number, 1);
        QCOMPARE(delivered[0].mode, QString());
        QVERIFY(!w.isVisible());
        QCOMPARE(messages.count(), 0);
    }

    void doubleClickWithoutSelectionClosesAndLoadsNothing()
    {
        qvtest::TempProgramFolder folder;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, false));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, QPoint(5, w.lstRecords->viewport()->height() - 5));
        QVERIFY(!w.isVisible());
        QVERIFY(delivered.isEmpty());
    }

    // The keyboard picks a line too: Enter on the selected line acts as a
    // double-click; without a selection Enter does nothing and presses no button.
    void enterOnASelectedLineLoadsIt()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, false));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.lstRecords->setFocus();
        QTest::keyClick(w.lstRecords, Qt::Key_Return);
        QVERIFY(w.isVisible());
        QVERIFY(delivered.isEmpty());
        QCOMPARE(messages.count(), 0);
        w.selectRow(0);
        QTest::keyClick(w.lstRecords, Qt::Key_Down);
        QCOMPARE(w.selectedRow(), 1);
        QTest::keyClick(w.lstRecords, Qt::Key_Enter);
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered[0].cliente, QString("Rossi Mario"));
        QVERIFY(!w.isVisible());
    }

    void ctrlPPrintsTheList()
    {
        qvtest::TempProgramFolder folder;
        writeSeats();
        QList<Delivered> delivered;
        int printed = 0;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &, QWidget *) { ++printed; });
        SummaryListWindow w(seatsList(&delivered, false));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.txtTrova, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(printed, 1);
        QCOMPARE(w.btnStampa->toolTip(), QStringLiteral("Stampa (Ctrl+P)"));
        PageOutput::setHandler({});
    }

    void searchWindowWithFewerBoxes()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, true));
        w.lblMemory->setText(" prenotazioni ");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.filterBoxes.size(), 3);
        QCOMPARE(w.findChild<QLabel *>("lblRigo05")->text(), QString("Lasciare in bianco tutti gli altri campi."));
        QCOMPARE(w.btnAnnulla->text(), QString("Chiudi"));
        QCOMPARE(QApplication::focusWidget(), w.filterBox("txtCliente"));
        // The Enter ring closes over the boxes there are.
        QTest::keyClick(w.filterBox("txtCliente"), Qt::Key_Return);
        QTest::keyClick(w.filterBox("txtPosto"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.filterBox("txtTelCel"));
        QVERIFY(w.findChild<QFrame *>("effCampo03")->isVisible());
        QTest::keyClick(w.filterBox("txtTelCel"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.filterBox("txtCliente"));

        QTest::keyClicks(w.filterBox("txtTelCel"), "33");
        QTest::keyClicks(w.filterBox("txtCliente"), "I");
        QTest::mouseClick(w.btnCerca, Qt::LeftButton);
        QCOMPARE(w.lblConta->text(), QString("2"));
        QCOMPARE(w.lines(), (QStringList{"Posto: 1      Verdi Luca            Tel. 335",
                                         "Posto: 12     Rossi Mario           Tel. 333",
                                         "Posto: 3      bianchi anna          Tel. 334"}));
        QCOMPARE(w.lblTrovate->text(), QString("Il presente riepilogo contiene 3 schede."));

        w.selectRow(2);
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {},
                           w.lstRecords->visualRect(w.lstRecords->model()->index(2, 0)).center());
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered[0].cliente, QString("bianchi anna"));
        QCOMPARE(delivered[0].number, 2);
        QCOMPARE(delivered[0].mode, QString("prenotazioni"));
    }

    void lineBreakInsideAFieldShowsAsOneRow()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        qvtest::writeRecords(archive(), qvtest::reservationFields(),
                             {{{"Cliente", "Verdi Luca"}, {"Posto", "1"}, {"TelCel", "335"}, {"DaConfermare", "S\u00EC"}},
                              {{"Cliente", "Rossi\r\nMario"}, {"Posto", "12"}, {"TelCel", "333"}, {"DaConfermare", "S\u00EC"}}});
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, false));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The list keeps the line as built; it is shown and printed on one row.
        QCOMPARE(w.lines()[1], QString("Posto: 12     Rossi\r\nMario          Tel. 333"));
        const QModelIndex row = w.lstRecords->model()->index(1, 0);
        QCOMPARE(row.data().toString(), QString("Posto: 12     Rossi  Mario          Tel. 333"));
        QList<page::Document> printed;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &doc, QWidget *) { printed.append(doc); });
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
        PageOutput::setHandler({});
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].pages[0].textBox("txtRiepilogo")->text.split('\n'),
                 (QStringList{"Posto: 1      Verdi Luca            Tel. 335",
                              "Posto: 12     Rossi  Mario          Tel. 333"}));
        // The double-click still finds the record.
        const QPoint at = w.lstRecords->visualRect(row).center();
        QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(delivered[0].cliente, QString("Rossi\r\nMario"));
        QCOMPARE(delivered[0].number, 2);
        QCOMPARE(messages.count(), 0);
    }

    void failingDeliveryClosesTheWindowQuietly()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListConfig config = seatsList(&delivered, false);
        int calls = 0;
        config.deliver = [&calls](const Record &, qint64, const QString &) {
            ++calls;
            throw std::runtime_error("target window failed");
        };
        SummaryListWindow w(config);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint at = w.lstRecords->visualRect(w.lstRecords->model()->index(0, 0)).center();
        QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(calls, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(w.lines().isEmpty());
        QCOMPARE(messages.count(), 0);
    }

    void cercaWithoutFilterPageDoesNothing()
    {
        qvtest::TempProgramFolder folder;
        writeSeats();
        QList<Delivered> delivered;
        SummaryListWindow w(seatsList(&delivered, false));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList before = w.lines();
        w.btnCercaClick();
        QCOMPARE(w.lines(), before);
        QVERIFY(w.panContainer->isVisible());
    }

    void aNewWindowStartsFromScratch()
    {
        qvtest::TempProgramFolder folder;
        writeSeats();
        QList<Delivered> delivered;
        for (int use = 0; use < 2; ++use) {
            SummaryListWindow w(seatsList(&delivered, true));
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(w.filterBox("txtCliente")->text().isEmpty());
            QVERIFY(w.panAvvio->isVisible());
            QVERIFY(w.txtTrova->text().isEmpty());
            QTest::keyClicks(w.filterBox("txtCliente"), "rossi");
            QTest::mouseClick(w.btnCerca, Qt::LeftButton);
            QCOMPARE(w.lines().size(), 1);
            QTest::keyClicks(w.txtTrova, "rossi");
            QTest::mouseClick(w.btnChiudi, Qt::LeftButton);
            QVERIFY(!w.isVisible());
            QVERIFY(w.lines().isEmpty());
        }
    }
};

QTEST_MAIN(TestSummaryListWindow)
#include "tst_summarylistwindow.moc"
