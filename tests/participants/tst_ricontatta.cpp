#include "app/appwindows.h"
#include "archive/records.h"
#include "output/pageoutput.h"
#include "participants/participantfixtures.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmricontatta.h"
#include "support/testsupport.h"
#include "ui/controltext.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace qv;
using qvtest::Values;

namespace {

QString participantsFile() { return TSchedaPartecipante::archivePath(); }

// The lines of the records whose flag, trimmed, reads exactly "Sì".
QStringList expectedLines(const QList<Values> &people)
{
    QStringList lines;
    for (const Values &p : people)
        if (qvtest::trimCodes(p.value("Ricontatta").left(2)) == QString("S\u00EC"))
            lines.append(qvtest::recontactLine(p));
    return lines;
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

class TestRicontatta : public QObject
{
    Q_OBJECT

    std::unique_ptr<qvtest::TempProgramFolder> folder;
    std::unique_ptr<qvtest::MessageRecorder> messages;
    QList<Values> people;

    std::unique_ptr<TfrmRicontatta> open()
    {
        auto w = std::make_unique<TfrmRicontatta>();
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
        createWindows();
        people = qvtest::makeParticipants(300);
        qvtest::writeRecords(participantsFile(), qvtest::participantFields(), people);
    }
    void unreadableArchiveIsReported()
    {
        const QString path = participantsFile();
        QVERIFY(QFile::rename(path, path + ".saved"));
        QVERIFY(QDir().mkdir(path));
        auto w = open();
        QDir().rmdir(path);
        QVERIFY(QFile::rename(path + ".saved", path));
        QVERIFY(w->lines().isEmpty());
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, qv::MessageKind::Error);
        QCOMPARE(messages->last().text, qv::Messages::kArchiveAccess);
    }

    void cleanupTestCase()
    {
        destroyWindows();
        messages.reset();
        folder.reset();
    }
    void init() { messages->clear(); }

    void listsExactlyTheTickedParticipants()
    {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString(" Riepilogo partecipanti da ricontattare"));
        QCOMPARE(w->size(), QSize(862, 560));
        QVERIFY(!w->hasFilterPage());
        QVERIFY(!w->lblTrovate);
        const QStringList expected = expectedLines(people);
        QVERIFY(expected.size() > 20);
        QVERIFY(expected.size() < people.size() / 2);
        QCOMPARE(qvtest::sortedMultiset(w->lines()), qvtest::sortedMultiset(expected));
        QVERIFY(qvtest::inListOrder(w->lines()));
        QCOMPARE(w->focusWidget(), w->txtTrova);
        QCOMPARE(messages->count(), 0);
    }

    void lineEndsWithThePendingIssues()
    {
        auto w = open();
        const QString twin = "Gemelli Paolo" + QString(13, ' ') + "  Tel. 0612" + QString(11, ' ') + "  Pilota"
                             + QString(19, ' ') + "  Prod. Voli" + QString(26, ' ') + "  Rimborso";
        QCOMPARE(w->lines().count(twin), 1); // the later twin is not ticked
        // Empty pending issues: the line ends after the products column and its two blanks.
        for (const Values &p : people)
            if (qvtest::trimCodes(p.value("Ricontatta").left(2)) == QString("S\u00EC") && p.value("Questioni").isEmpty())
                QVERIFY(w->lines().contains(qvtest::participantHead(p)));
    }

    void doubleClickLoadsTheLaterEqualRecordIntoTheCard()
    {
        TfrmClienti *card = windows().frmClienti;
        card->chkRicontatta->setChecked(true);
        auto w = open();
        const QString twin = qvtest::recontactLine(people[30]);
        QSignalSpy closed(w.get(), &QDialog::finished);
        doubleClickRow(*w, int(w->lines().indexOf(twin)));
        QCOMPARE(closed.count(), 1);
        QVERIFY(w->lines().isEmpty());
        // The line is rebuilt without looking at the tick: the later, unticked twin wins.
        QCOMPARE(card->lblPosizione->text(), QString("32"));
        QCOMPARE(card->txtTelCel->text(), QString("222"));
        QVERIFY(!card->chkRicontatta->isChecked());
    }

    void doubleClickBindsTheCardToTheChosenRecord()
    {
        TfrmClienti *card = windows().frmClienti;
        card->chkRicontatta->setChecked(false);
        const QStringList all = expectedLines(people);
        int index = -1;
        for (int i = 0; i < people.size() && index < 0; ++i)
            if (people[i]["Ricontatta"] == QString("S\u00EC") && all.count(qvtest::recontactLine(people[i])) == 1
                && people[i]["Questioni"].size() > 0)
                index = i;
        QVERIFY(index >= 0);
        auto w = open();
        doubleClickRow(*w, int(w->lines().indexOf(qvtest::recontactLine(people[index]))));
        QCOMPARE(card->lblPosizione->text(), QString::number(index + 1));
        QVERIFY(card->chkRicontatta->isChecked());
        QCOMPARE(card->txtCliente->text(), qvtest::trimCodes(people[index]["Cliente"].left(50)));
        QCOMPARE(card->txtQuestioni->text(), people[index]["Questioni"]);
        QCOMPARE(card->lblFile01->text(), people[index]["File01"]);
        QCOMPARE(messages->count(), 0);
    }

    void printsItsTitle()
    {
        QList<page::Document> printed;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &doc, QWidget *) { printed.append(doc); });
        auto w = open();
        QTest::mouseClick(w->btnStampa, Qt::LeftButton);
        PageOutput::setHandler({});
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed.first().pages.first().textBox("txtTitolo")->text,
                 QString("Riepilogo partecipanti da ricontattare"));
    }

    void tickedAndSavedShowsNextTime()
    {
        const QByteArray saved = folder->read("Partecipanti.pro");
        qvtest::writeRecords(participantsFile(), qvtest::participantFields(),
                             {{{"Cliente", "Neri"}, {"Ricontatta", "No"}}});
        {
            auto w = open();
            QVERIFY(w->lines().isEmpty());
        }
        // The card's own button opens the list; a tick saved there shows the next time.
        TfrmClienti *card = windows().frmClienti;
        card->cmdPrimo->click();
        card->chkRicontatta->setChecked(true);
        card->cmdSalva->click();
        QStringList listed;
        QWidget *owner = nullptr;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmRicontatta *>(dialog);
            QVERIFY(w);
            owner = w->parentWidget();
            listed = w->lines();
        });
        card->cmdRicontatta->click();
        QCOMPARE(owner, card);
        QCOMPARE(listed.size(), 1);
        QVERIFY(listed.first().startsWith("Neri "));
        folder->write("Partecipanti.pro", saved);
    }
};

QTEST_MAIN(TestRicontatta)
#include "tst_ricontatta.moc"
