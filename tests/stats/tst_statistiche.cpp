// The statistics window: the owner's check read from the charts' tables,
// every chart's title in the PDF, another year chosen, and a read that fails
// showing no numbers.
#include "statsfixtures.h"

#include "../eventday/certificatefixtures.h"
#include "output/pageoutput.h"
#include "stats/tfrmstatistiche.h"
#include "support/testsupport.h"
#include "ui/widgets.h"
#include "app/appwindows.h"
#include "events/tfrmregistro.h"
#include "frame/windows.h"
#include "reservations/tfrmmenuprenotazioni.h"

#include <QChartView>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QComboBox>
#include <QImage>
#include <QtTest>

#include <memory>

using namespace qv;

namespace {

// The cell of (row label, series) in the window's table of that name.
QString cell(const QWidget &window, const QString &table, const QString &row, int series)
{
    const auto *grid = window.findChild<QTableWidget *>(table);
    if (!grid)
        return QStringLiteral("no table");
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0)->text() == row)
            return grid->item(r, series + 1)->text();
    return QStringLiteral("no row");
}

void compareCells(const QWidget &window, const QList<statsfixtures::Expected> &expected)
{
    for (const statsfixtures::Expected &e : expected)
        QCOMPARE(cell(window, QString::fromLatin1(e.table), QString::fromUtf8(e.row), e.series), QString::number(e.value));
}

} // namespace

class TestStatistiche : public QObject
{
    Q_OBJECT
private slots:
    void event()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        TfrmStatistiche window(1, nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("Statistiche"));
        QCOMPARE(window.lblTitolo->text(), QStringLiteral("Evento 1: Convegno di primavera (12/03/2026 - 13/03/2026)"));
        compareCells(window, statsfixtures::kEvent);
        for (const auto &[name, rows] : statsfixtures::kEventRows)
            QCOMPARE(window.findChild<QTableWidget *>(QString::fromLatin1(name))->rowCount(), rows.size());
        for (const char *chart : {"chrPosti", "chrPresenze", "chrProvince"})
            QVERIFY2(window.findChild<QChartView *>(QString::fromLatin1(chart)), chart);
        QCOMPARE(window.findChild<QLabel *>("lblOgniGiorno")->text(), QStringLiteral("Presenti in ogni giorno: 2"));
        QCOMPARE(window.findChild<QLabel *>("lblAlmenoUnGiorno")->text(),
                 QStringLiteral("Presenti in almeno un giorno: 6"));
        QVERIFY(!window.lblMessaggio->isVisibleTo(&window));
        QVERIFY(!window.spnAnno);
    }

    // The preview's pages and the PDF written: each chart's title is text.
    void pdf()
    {
        if (!certfixtures::hasPdfToText())
            QSKIP("pdftotext is not installed");
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        messages.answers = {false}; // do not open the PDF
        statsfixtures::write(folder);
        TfrmStatistiche window(1, nullptr);
        page::Document shown;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &d, QWidget *) { shown = d; });
        window.cmdAnteprima->click();
        PageOutput::setHandler({});
        QCOMPARE(shown.pages.size(), 5);
        QVERIFY(PageOutput::writePdf(shown, folder.file("anteprima.pdf")));
        window.cmdPDF->click();
        const QString written = folder.file(window.pdfName());
        QCOMPARE(window.pdfName(), QStringLiteral("Statistiche_Evento_1.pdf"));
        for (const QString &pdf : {folder.file("anteprima.pdf"), written}) {
            const QStringList pages = certfixtures::pdfPages(pdf);
            QCOMPARE(pages.size(), 5);
            const QStringList titles{"Posti dell'evento (20)", "Presenze per giorno", "Arrivi ogni quarto d'ora, 12/03/2026",
                                     "Persone in sala, 12/03/2026", "Province di residenza"};
            for (int i = 0; i < 5; ++i) {
                QVERIFY2(pages.at(i).contains(titles.at(i)), qPrintable(pages.at(i)));
                QVERIFY(pages.at(i).contains("Evento 1: Convegno di primavera"));
            }
            QVERIFY(pages.at(0).contains("assegnati pi\u00F9 volte: 1"));
            QVERIFY(pages.at(0).contains("Presenti in ogni giorno: 2"));
            QVERIFY(pages.at(4).contains("altre: 3"));
        }
    }

    // The day of the arrivals is chosen in the window; a chart is saved as a picture.
    void dayAndPicture()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        TfrmStatistiche window(1, nullptr);
        QVERIFY(window.cboGiorno);
        QCOMPARE(window.cboGiorno->count(), 2);
        QCOMPARE(window.cboGiorno->currentText(), QStringLiteral("12/03/2026"));
        QVERIFY(window.findChild<QWidget *>("chrInSala"));
        window.cboGiorno->setCurrentIndex(1);
        emit window.cboGiorno->activated(1);
        QCOMPARE(window.result().table("tabArrivi")->title, QStringLiteral("Arrivi ogni quarto d'ora, 13/03/2026"));
        QVERIFY(!window.result().table("tabInSala"));
        QVERIFY(!window.findChild<QWidget *>("chrInSala"));
        QCOMPARE(window.cboGiorno->currentText(), QStringLiteral("13/03/2026"));

        qvtest::FileChooserAnswer answer;
        answer.save = folder.file("arrivi.png");
        auto *png = window.findChild<QPushButton *>("cmdPngArrivi");
        QVERIFY(png);
        png->click();
        QImage saved(answer.save);
        QCOMPARE(saved.size(), QSize(1200, 800));
    }

    void year()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        std::unique_ptr<TfrmStatistiche> window(TfrmStatistiche::ofYear(2026, nullptr));
        QCOMPARE(window->lblTitolo->text(), QStringLiteral("Anno 2026"));
        compareCells(*window, statsfixtures::kYear);
        QCOMPARE(window->findChild<QLabel *>("lblRicontatta")->text(), QStringLiteral("Partecipanti da ricontattare: 2"));
        QCOMPARE(window->pdfName(), QStringLiteral("Statistiche_2026.pdf"));
        window->spnAnno->setValue(2025);
        QCOMPARE(window->lblTitolo->text(), QStringLiteral("Anno 2025"));
        QCOMPARE(window->findChild<QTableWidget *>("tabEventi")->rowCount(), 1);
        QCOMPARE(cell(*window, "tabEventi", "3. Corso d'autunno", 1), QStringLiteral("30"));
        QCOMPARE(cell(*window, "tabMesi", "Novembre", 0), QStringLiteral("1"));
        QCOMPARE(window->findChildren<QTableWidget *>().size(), 3);
    }

    void readFailureShowsNoNumbers()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        const QString bookings = folder.file("Posti_Riservati_Evento_1.pro");
        QVERIFY(QFile::remove(bookings));
        QVERIFY(QDir().mkpath(bookings));
        TfrmStatistiche window(1, nullptr);
        QVERIFY(window.lblMessaggio->isVisibleTo(&window));
        QVERIFY2(window.lblMessaggio->text().startsWith("Impossibile leggere l'archivio"), qPrintable(window.lblMessaggio->text()));
        QVERIFY(window.findChildren<QTableWidget *>().isEmpty());
        QVERIFY(window.findChildren<QChartView *>().isEmpty());
        for (QPushButton *b : {window.cmdAnteprima, window.cmdStampa, window.cmdPDF})
            QVERIFY(!b->isEnabled());
    }

    // The event selection opens the event's statistics once one is chosen;
    // the events card those of the year of the event it shows.
    void openers()
    {
        qvtest::TempProgramFolder folder;
        statsfixtures::write(folder);
        createWindows();
        qvtest::MessageRecorder messages;
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->show();
        QVERIFY(!selection->imgStatistiche->isEnabled());
        selection->lblPosizione->setText("1");
        selection->txtTitolo->setText("Convegno di primavera");
        QVERIFY(selection->imgStatistiche->isEnabled());
        QString shown;
        const auto heading = [&shown](QWidget *dialog) {
            auto *window = qobject_cast<TfrmStatistiche *>(dialog);
            QVERIFY(window);
            shown = window->lblTitolo->text() + " " + window->findChild<QTableWidget *>("tabProvince")->item(0, 1)->text();
        };
        qvtest::whenModal(heading);
        selection->imgStatistiche->click();
        QCOMPARE(shown, QStringLiteral("Evento 1: Convegno di primavera (12/03/2026 - 13/03/2026) 2"));
        selection->hide();

        TfrmRegistro *card = windows().frmRegistro;
        card->show();
        card->txtDataInizio->setText("20/05/2026");
        qvtest::whenModal(heading);
        card->cmdStatistiche->click();
        QCOMPARE(shown, QStringLiteral("Anno 2026 3"));
        QVERIFY(messages.messages.isEmpty());
        destroyWindows();
    }
};

QTEST_MAIN(TestStatistiche)
#include "tst_statistiche.moc"
