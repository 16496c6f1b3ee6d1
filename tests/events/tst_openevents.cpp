#include "app/appwindows.h"
#include "archive/records.h"
#include "core/programfolder.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmregistro.h"
#include "output/eventlists.h"
#include "output/fixtures.h"
#include "output/pageoutput.h"
#include "support/testsupport.h"
#include "ui/controltext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace qv;
using qvtest::Values;

namespace {

QString eventsFile() { return ProgramFolder::file("Eventi.pro"); }

const QDateTime kNow(QDate(2025, 3, 15), QTime(23, 59, 30));

Values eventValues(const QString &title, const QString &deadline, const QString &full)
{
    return {{"Titolo", title}, {"DataInizio", "20/03/2025"}, {"Contatto", "Ufficio eventi"},
            {"RecapitoCon", "06 998877"}, {"Quota", "25,00"}, {"DataSca", deadline}, {"Completo", full},
            {"Posti", "80"}, {"Sede", "Sede " + title}};
}

// Deadlines around "today" (15/03/2025), full flags, and deadlines that are
// no date at all in the middle of the file.
QList<Values> mixedEvents()
{
    return {
        eventValues("Scade oggi", "15/03/2025", "No"),
        eventValues("Scaduto ieri", "14/03/2025", "No"),
        eventValues("Futuro ma completo", "30/06/2025", "S\u00EC"),
        eventValues("Data illeggibile", "31/02/2025", "No"),
        eventValues("Futuro aperto", "01/04/2025", "No"),
        eventValues("Termine vuoto", "", "No"),
        eventValues("Domani aperto", "16/03/2025", "No"),
        eventValues("Completo vuoto", "16/03/2025", ""),
        eventValues("Completo minuscolo", "16/03/2025", "no"),
        eventValues("Anno a due cifre", "20/03/25", "No"),
        eventValues("Cifre singole", "1/4/2025", "No"),
        eventValues("Testo", "dopodomani", "No"),
        eventValues("Ultimo aperto", "31/12/2099", "No"),
    };
}

QStringList titles(const QStringList &lines)
{
    QStringList t;
    for (const QString &line : lines)
        t.append(qvtest::trimCodes(line.left(44)));
    return t;
}

QString cardText(const QString &control)
{
    return controlText(namedControl(windows().frmRegistro, control));
}

void doubleClickRow(SummaryListWindow &w, int row)
{
    const QModelIndex index = w.lstRecords->model()->index(row, 0);
    w.lstRecords->scrollTo(index);
    const QPoint at = w.lstRecords->visualRect(index).center();
    QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestOpenEvents : public QObject
{
    Q_OBJECT

    std::unique_ptr<qvtest::TempProgramFolder> folder;
    std::unique_ptr<qvtest::MessageRecorder> messages;
    std::unique_ptr<qvtest::FixedClock> clock;

    std::unique_ptr<TfrmDaAderire> open()
    {
        auto w = std::make_unique<TfrmDaAderire>();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<qvtest::TempProgramFolder>();
        messages = std::make_unique<qvtest::MessageRecorder>();
        clock = std::make_unique<qvtest::FixedClock>(kNow);
        createWindows();
    }
    void cleanupTestCase()
    {
        destroyWindows();
        clock.reset();
        messages.reset();
        folder.reset();
    }
    void init()
    {
        messages->clear();
        qvtest::writeRecords(eventsFile(), qvtest::eventFields(), mixedEvents());
    }

    void listingTest_data()
    {
        QTest::addColumn<QString>("deadline");
        QTest::addColumn<QString>("full");
        QTest::addColumn<bool>("listed");
        QTest::newRow("deadline today") << "15/03/2025" << "No" << true;
        QTest::newRow("deadline yesterday") << "14/03/2025" << "No" << false;
        QTest::newRow("deadline tomorrow") << "16/03/2025" << "No" << true;
        QTest::newRow("next year") << "01/01/2026" << "No" << true;
        QTest::newRow("full") << "16/03/2025" << "S\u00EC" << false;
        QTest::newRow("full flag empty") << "16/03/2025" << "" << false;
        QTest::newRow("full flag other text") << "16/03/2025" << "NO" << false;
        QTest::newRow("no such day") << "30/02/2025" << "No" << false;
        QTest::newRow("empty deadline") << "" << "No" << false;
        QTest::newRow("two-digit year") << "16/03/25" << "No" << false;
    }
    void listingTest()
    {
        QFETCH(QString, deadline);
        QFETCH(QString, full);
        QFETCH(bool, listed);
        const QByteArray bytes = qvtest::record(qvtest::eventFields(), eventValues("x", deadline, full));
        QCOMPARE(EventLists::openForJoining(RecordView(TSchedaEvento::layout(), bytes.constData()), QDate(2025, 3, 15)),
                 listed);
    }

    void listFilledWhenShown()
    {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString(" Riepilogo eventi disponibili per adesione"));
        QCOMPARE(w->size(), QSize(862, 560));
        QVERIFY(!w->panAvvio);
        QVERIFY(!w->lblTrovate);
        QVERIFY(!w->lblMemory);
        QVERIFY(w->panContainer->isVisible());
        // Records whose deadline is no date are left out and the listing goes on.
        QCOMPARE(titles(w->lines()), (QStringList{"Cifre singole", "Domani aperto", "Futuro aperto", "Scade oggi",
                                                  "Ultimo aperto"}));
        QVERIFY(qvtest::inListOrder(w->lines()));
        QCOMPARE(w->lines().first(), qvtest::eventLine(mixedEvents()[10]));
        QCOMPARE(w->selectedRow(), -1);
        QCOMPARE(w->focusWidget(), w->txtTrova);
        QCOMPARE(messages->count(), 0);
    }

    void doubleClickLoadsTheCard()
    {
        auto *card = windows().frmRegistro;
        setControlText(namedControl(card, "txtTitolo"), "changes not saved");
        card->findChild<QCheckBox *>("chkCompleto")->setChecked(true);
        auto w = open();
        const int row = int(titles(w->lines()).indexOf("Futuro aperto"));
        doubleClickRow(*w, row);
        QVERIFY(!w->isVisible());
        QCOMPARE(cardText("txtTitolo"), QString("Futuro aperto"));
        QCOMPARE(cardText("txtSede"), QString("Sede Futuro aperto"));
        QCOMPARE(cardText("txtDataSca"), QString("01/04/2025"));
        QCOMPARE(cardText("lblPosizione"), QString("5"));
        QVERIFY(!card->findChild<QCheckBox *>("chkCompleto")->isChecked());
    }

    void trovaSearchesTheList()
    {
        auto w = open();
        QTest::keyClicks(w->txtTrova, "APERTO");
        QStringList visited;
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(w->btnTrova, Qt::LeftButton);
            visited.append(titles(w->lines()).at(w->selectedRow()));
        }
        QCOMPARE(visited, (QStringList{"Domani aperto", "Futuro aperto", "Ultimo aperto", "Domani aperto"}));
    }

    void noOpenEvent()
    {
        qvtest::writeRecords(eventsFile(), qvtest::eventFields(),
                             {eventValues("Chiuso", "01/01/2020", "No"), eventValues("Pieno", "01/01/2030", "S\u00EC")});
        auto w = open();
        QVERIFY(w->lines().isEmpty());
        QTest::mouseClick(w->btnTrova, Qt::LeftButton);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, QString("Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void missingArchiveIsCreatedEmpty()
    {
        QFile::remove(eventsFile());
        auto w = open();
        QVERIFY(w->lines().isEmpty());
        QVERIFY(QFile::exists(eventsFile()));
        QCOMPARE(QFileInfo(eventsFile()).size(), 0);
    }

    void readOnlyArchiveIsListed()
    {
        qvtest::ReadOnly file(eventsFile());
        qvtest::ReadOnly share(folder->path());
        if (!file.ok() || !share.ok())
            QSKIP("this file system cannot make files read-only");
        auto w = open();
        QCOMPARE(titles(w->lines()), (QStringList{"Cifre singole", "Domani aperto", "Futuro aperto", "Scade oggi",
                                                  "Ultimo aperto"}));
        QCOMPARE(messages->count(), 0);
    }

    void unreadableArchiveGivesAnEmptyListQuietly()
    {
        QFile::remove(eventsFile());
        QDir(folder->path()).mkdir("Eventi.pro");
        auto w = open();
        QDir(folder->path()).rmdir("Eventi.pro");
        QVERIFY(w->lines().isEmpty());
        QCOMPARE(messages->count(), 0);
    }

    void printTitle()
    {
        QList<page::Document> printed;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &doc, QWidget *) { printed.append(doc); });
        auto w = open();
        QTest::mouseClick(w->btnStampa, Qt::LeftButton);
        PageOutput::setHandler({});
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].title, QString("Riepilogo dati"));
        QCOMPARE(printed[0].pages[0].textBox("txtTitolo")->text, QString("Riepilogo eventi disponibili per adesione"));
        QCOMPARE(printed[0].pages[0].textBox("txtRiepilogo")->text.split('\n'), w->lines());
        QCOMPARE(printed[0].pages.last().textBox("txtPagina")->text, QString("Stampa eseguita in data 15/03/2025"));
    }

    void openedFromTheCard()
    {
        auto *button = windows().frmRegistro->findChild<QAbstractButton *>("cmdDisponibili");
        QVERIFY(button);
        QStringList shown;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmDaAderire *>(dialog);
            QVERIFY(w);
            QCOMPARE(w->parentWidget(), windows().frmRegistro);
            shown = titles(w->lines());
            doubleClickRow(*w, int(shown.indexOf("Ultimo aperto")));
        });
        button->click();
        QCOMPARE(shown.size(), 5);
        QCOMPARE(cardText("txtTitolo"), QString("Ultimo aperto"));
        QCOMPARE(cardText("lblPosizione"), QString("13"));
    }
};

QTEST_MAIN(TestOpenEvents)
#include "tst_openevents.moc"
