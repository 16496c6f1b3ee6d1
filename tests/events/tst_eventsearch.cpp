#include "app/appwindows.h"
#include "core/programfolder.h"
#include "events/eventdialogs.h"
#include "events/tfrmregistro.h"
#include "events/tfrmtrovaregistro.h"
#include "output/fixtures.h"
#include "output/pageoutput.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "support/testsupport.h"
#include "ui/controltext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace qv;
using qvtest::Values;

namespace {

using Filters = QList<QPair<QString, QString>>; // (field, text as typed)

QString eventsFile() { return ProgramFolder::file("Eventi.pro"); }

QString pick(QRandomGenerator &random, const QStringList &list)
{
    return list.at(int(random.bounded(int(list.size()))));
}

// A few hundred events as another program might have written them: some
// texts longer than their list columns, blanks around some stored texts,
// accented letters, brackets, and pairs of events that give the same line.
QList<Values> makeEvents(int count)
{
    QRandomGenerator random(20250307);
    const QStringList titles{
        "Convegno Sicurezza sul lavoro", "congresso Nazionale di Cardiologia", "Seminario Energia e ambiente",
        "Meeting annuale dei soci", "Corso di formazione in Informatica giuridica avanzata",
        "Conferenza sulla sanit\u00E0 pubblica", "Workshop [beta] & <test>", "CONVEGNO sicurezza stradale",
        "  Giornata di studio: diritto dell'Unione", "\u00C8tica e professione"};
    const QStringList kinds{"Convegno", "Corso", "Seminario", "Meeting", "Conferenza"};
    const QStringList subjects{"Prevenzione degli infortuni", "Cardiologia interventistica", "Fonti rinnovabili",
                               "Bilancio e nomine", "Reti e protocolli"};
    const QStringList speakers{"Dott. Bianchi, Prof.ssa Verdi", "Ing. Neri", "Avv. Russo", "Prof. Ferrari", ""};
    const QStringList organisers{"Ordine degli Ingegneri", "ASL Roma 1", "Universit\u00E0 di Pisa", "Camera di Commercio", ""};
    const QStringList contacts{"Mario Rossi", "Laura Bianchi", "Giuseppe Verdi", "Anna Maria Esposito Lombardi Rossi"};
    const QStringList phones{"06 1234567", "+39 333 1234567890", "02-555000"};
    const QStringList venues{"Roma", "Milano", " Napoli ", "Reggio Emilia", "Citt\u00E0 di Castello"};
    const QStringList helpers{"Croce Rossa", "Protezione civile", "", "Associazione Roma Eventi"};
    const QStringList notes{"", "parcheggio gratuito", "Posti limitati", "\u00C8 richiesta la prenotazione", "coffee break"};
    const QStringList fees{"0,00", "150,00", "75,50", "1200,0000"};
    const QStringList full{"No", "S\u00EC", "No", "No", "", "  No "};
    QList<Values> events;
    for (int i = 0; i < count; ++i) {
        Values e;
        e["Titolo"] = pick(random, titles) + (i % 3 ? QString(" %1").arg(i % 11) : QString());
        e["Tipologia"] = pick(random, kinds);
        e["Materie"] = pick(random, subjects);
        e["Relatori"] = pick(random, speakers);
        e["DataInizio"] = QString("%1/%2/%3").arg(1 + random.bounded(28), 2, 10, QChar('0'))
                              .arg(1 + random.bounded(12), 2, 10, QChar('0')).arg(2024 + random.bounded(3));
        e["OraInizio"] = "09:30";
        e["DataFine"] = i % 4 ? e["DataInizio"] : QString();
        e["OraFine"] = "18:00";
        e["Sede"] = pick(random, venues);
        e["Indirizzo"] = QString("Via Garibaldi %1").arg(i + 1);
        e["Organizzatore"] = pick(random, organisers);
        e["Contatto"] = pick(random, contacts);
        e["RecapitoCon"] = pick(random, phones);
        e["Collaboratori"] = pick(random, helpers);
        e["Quota"] = pick(random, fees);
        e["Note"] = pick(random, notes);
        e["DataSca"] = "31/12/2030";
        e["Posti"] = QString::number(10 + i);
        e["Completo"] = pick(random, full);
        e["File01"] = QString("allegato_%1.pdf").arg(i + 1);
        e["Desc01"] = QString("Programma %1").arg(i + 1);
        events.append(e);
    }
    // Twins: same line, told apart only by their record numbers and other fields.
    for (int i : {40, 41}) {
        events[i]["Titolo"] = "Gemelli";
        events[i]["DataInizio"] = "01/02/2025";
        events[i]["DataFine"] = "02/02/2025";
        events[i]["Contatto"] = "Paolo Neri";
        events[i]["RecapitoCon"] = "0612";
        events[i]["Quota"] = "10,00";
    }
    events[41]["Sede"] = "Torino";
    events[41]["Materie"] = "Secondo gemello";
    return events;
}

// The records the filter rule lets through, as lines.
QStringList expectedLines(const QList<Values> &events, const Filters &filters)
{
    int filled = 0;
    for (const auto &f : filters)
        filled += !qvtest::trimCodes(f.second).isEmpty();
    QStringList lines;
    for (const Values &e : events) {
        int points = 0;
        for (const auto &[field, text] : filters)
            if (!qvtest::trimCodes(text).isEmpty() && qvtest::lowerAZ(e.value(field)).contains(qvtest::lowerAZ(text)))
                ++points;
        if (points >= filled)
            lines.append(qvtest::eventLine(e));
    }
    return lines;
}

// Types a text key by key, accented letters included.
void typeText(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 32 && c.unicode() < 127) {
            QTest::keyClick(box, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, box, c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, box, c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown, QString(c), {});
        }
    }
}

QString cardText(const QString &control)
{
    return controlText(namedControl(windows().frmRegistro, control));
}

QModelIndex rowIndex(SummaryListWindow &w, int row)
{
    return w.lstRecords->model()->index(row, 0);
}

void doubleClickRow(SummaryListWindow &w, int row)
{
    const QModelIndex index = rowIndex(w, row);
    w.lstRecords->scrollTo(index);
    const QPoint at = w.lstRecords->visualRect(index).center();
    QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestEventSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<qvtest::TempProgramFolder> folder;
    std::unique_ptr<qvtest::MessageRecorder> messages;
    QList<Values> events;

    std::unique_ptr<TfrmTrovaRegistro> open(const QString &mode = "registro")
    {
        auto w = std::make_unique<TfrmTrovaRegistro>();
        w->lblMemory->setText(mode);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }

    void search(TfrmTrovaRegistro &w, const Filters &filters)
    {
        for (const auto &[field, text] : filters)
            typeText(w.filterBox("txt" + field), text);
        QTest::mouseClick(w.btnCerca, Qt::LeftButton);
    }

    int rowOf(SummaryListWindow &w, const QString &line)
    {
        return int(w.lines().indexOf(line));
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<qvtest::TempProgramFolder>();
        messages = std::make_unique<qvtest::MessageRecorder>();
        createWindows();
        events = makeEvents(300);
        qvtest::writeRecords(eventsFile(), qvtest::eventFields(), events);
    }
    void cleanupTestCase()
    {
        destroyWindows();
        messages.reset();
        folder.reset();
    }
    void init() { messages->clear(); }

    void windowAsShown()
    {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString(" Trova eventi in archivio"));
        QCOMPARE(w->size(), QSize(862, 560));
        QVERIFY(w->panAvvio->isVisible());
        QVERIFY(!w->panContainer->isVisible());
        QVERIFY(!w->lblAttendere->isVisible());
        QVERIFY(!w->lblMemory->isVisible());
        QCOMPARE(w->lblTrovate->text(), QString("Il presente elenco contiene 0 schede."));
        const QStringList names{"txtTitolo", "txtTipologia", "txtMaterie", "txtRelatori", "txtDataInizio",
                                "txtOrganizzatore", "txtContatto", "txtSede", "txtCollaboratori", "txtNote"};
        for (const QString &name : names) {
            QLineEdit *box = w->findChild<QLineEdit *>(name);
            QVERIFY2(box, qPrintable(name));
            QVERIFY(box->font().bold());
            QCOMPARE(box->font().pointSize(), 12);
        }
        QCOMPARE(w->txtTitolo, w->findChild<QLineEdit *>("txtTitolo"));
        QCOMPARE(w->findChild<QLabel *>("lblSede")->text(), QString("Sede:"));
    }

    void enterRingAndHighlights()
    {
        auto w = open();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(QApplication::focusWidget(), w->txtTitolo);
        QVERIFY(w->findChild<QFrame *>("effCampo01")->isVisible());
        const QStringList ring{"txtTipologia", "txtMaterie", "txtRelatori", "txtDataInizio", "txtOrganizzatore",
                               "txtContatto", "txtSede", "txtCollaboratori", "txtNote", "txtTitolo"};
        const QStringList highlight{"effCampo02", "effCampo09", "effCampo10", "effCampo05", "effCampo06",
                                    "effCampo07", "effCampo08", "effCampo03", "effCampo04", "effCampo01"};
        for (int i = 0; i < ring.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), ring[i]);
            QVERIFY(w->findChild<QFrame *>(highlight[i])->isVisible());
        }
        QVERIFY(w->panAvvio->isVisible()); // Enter never runs the search
    }

    void cercaListsWhatTheFiltersSelect_data()
    {
        QTest::addColumn<Filters>("filters");
        QTest::newRow("every box empty") << Filters{};
        QTest::newRow("title") << Filters{{"Titolo", "convegno"}};
        QTest::newRow("title in capitals and venue") << Filters{{"Titolo", "CONVEGNO"}, {"Sede", "roma"}};
        QTest::newRow("month and year of the start") << Filters{{"DataInizio", "03/2025"}};
        QTest::newRow("day and month") << Filters{{"DataInizio", "1/0"}};
        QTest::newRow("accented capital not folded") << Filters{{"Note", "\u00E8 richiesta"}};
        QTest::newRow("accented as stored") << Filters{{"Note", "\u00C8 RICHIESTA"}};
        QTest::newRow("consecutive words") << Filters{{"Titolo", "di cardiologia"}};
        QTest::newRow("words out of order") << Filters{{"Titolo", "cardiologia di"}};
        QTest::newRow("blank kept as typed") << Filters{{"Sede", " napoli"}};
        QTest::newRow("blank-only box not counted") << Filters{{"Titolo", " "}, {"Sede", "milano"}};
        QTest::newRow("blank-only box beside a real filter") << Filters{{"Sede", "roma"}, {"Titolo", " "}};
        QTest::newRow("three boxes") << Filters{{"Tipologia", "cor"}, {"Organizzatore", "pisa"}, {"Contatto", "ross"}};
        QTest::newRow("brackets are plain text") << Filters{{"Titolo", "[beta] &"}};
        QTest::newRow("every box")
            << Filters{{"Titolo", "o"}, {"Tipologia", "o"}, {"Materie", "e"}, {"Relatori", "."},
                       {"DataInizio", "/"}, {"Organizzatore", "i"}, {"Contatto", "a"}, {"Sede", "o"},
                       {"Collaboratori", "o"}, {"Note", "e"}};
        QTest::newRow("nothing found") << Filters{{"Relatori", "zzz"}};
        // Random combinations of texts taken from the stored fields.
        QRandomGenerator random(77);
        const QStringList fields{"Titolo", "Tipologia", "Materie", "Relatori", "DataInizio",
                                 "Organizzatore", "Contatto", "Sede", "Collaboratori", "Note"};
        const QList<Values> all = makeEvents(300);
        for (int n = 0; n < 12; ++n) {
            Filters filters;
            const int boxes = 1 + random.bounded(3);
            for (int b = 0; b < boxes; ++b) {
                const QString field = fields.at(random.bounded(int(fields.size())));
                const QString text = all.at(random.bounded(int(all.size()))).value(field);
                const int from = text.isEmpty() ? 0 : random.bounded(int(text.size()));
                QString part = text.mid(from, 1 + random.bounded(6));
                if (random.bounded(2))
                    part = part.toUpper();
                bool used = false;
                for (const auto &f : filters)
                    used |= f.first == field;
                if (!used)
                    filters.append({field, part});
            }
            QTest::newRow(qPrintable(QString("random %1").arg(n))) << filters;
        }
    }
    void cercaListsWhatTheFiltersSelect()
    {
        QFETCH(Filters, filters);
        auto w = open();
        search(*w, filters);
        const QStringList expected = expectedLines(events, filters);
        QCOMPARE(messages->count(), 0);
        QVERIFY(w->panContainer->isVisible());
        QVERIFY(!w->panAvvio->isVisible());
        QVERIFY(!w->lblAttendere->isVisible());
        QCOMPARE(qvtest::sortedMultiset(w->lines()), qvtest::sortedMultiset(expected));
        QVERIFY(qvtest::inListOrder(w->lines()));
        QCOMPARE(w->lstRecords->model()->rowCount(), expected.size());
        QCOMPARE(w->lblTrovate->text(), QString("Il presente riepilogo contiene %1 schede.").arg(expected.size()));
        int filled = 0;
        for (const auto &f : filters)
            filled += !qvtest::trimCodes(f.second).isEmpty();
        QCOMPARE(w->lblConta->text(), QString::number(filled));
        QCOMPARE(w->focusWidget(), w->txtTrova);
    }

    void waitLabelShowsOnMouseDown()
    {
        auto w = open();
        QTest::mousePress(w->btnCerca, Qt::LeftButton);
        QVERIFY(w->lblAttendere->isVisible());
        QVERIFY(w->panAvvio->isVisible());
        QTest::mouseRelease(w->btnCerca, Qt::LeftButton);
        QVERIFY(w->panContainer->isVisible());
        QVERIFY(!w->lblAttendere->isVisible());
    }

    void linesFollowTheLayout()
    {
        auto w = open();
        search(*w, {{"Titolo", "Gemelli"}});
        const QString twin = QString::fromUtf8("Gemelli") + QString(37, ' ') + "  Da: 01/02/2025  A: 02/02/2025  Info: Paolo Neri"
                             + QString(18, ' ') + "  Tel. 0612" + QString(11, ' ') + QString::fromUtf8("  Quota: \u20AC 10,00");
        QCOMPARE(w->lines(), (QStringList{twin, twin}));
        // 1600 units wide, scrolled sideways, drawn in Courier New 12.
        QCOMPARE(w->lstRecords->sizeHintForColumn(0), 1600);
        QCOMPARE(w->lstRecords->font().family(), QString("Courier New"));
        QCOMPARE(w->lstRecords->font().pointSize(), 12);
        QVERIFY(w->lstRecords->horizontalScrollBar()->maximum() > 0);
    }

    void trovaWalksWrapsAndRestarts()
    {
        auto w = open();
        search(*w, {});
        const QStringList lines = w->lines();
        QList<int> matches;
        for (int i = 0; i < lines.size(); ++i)
            if (qvtest::lowerAZ(lines[i]).contains("rossi"))
                matches.append(i);
        QVERIFY(matches.size() > 3);

        typeText(w->txtTrova, "ROSSI");
        QList<int> visited;
        for (int i = 0; i < matches.size() + 2; ++i) {
            QTest::mouseClick(w->btnTrova, Qt::LeftButton);
            visited.append(w->selectedRow());
        }
        QCOMPARE(visited, matches + (QList<int>{matches[0], matches[1]}));

        // A new key starts again at the first line, which is tested too.
        w->txtTrova->clear();
        typeText(w->txtTrova, lines[0].left(12));
        QTest::mouseClick(w->btnTrova, Qt::LeftButton);
        QCOMPARE(w->selectedRow(), 0);

        // A key found nowhere leaves the selection and says nothing.
        w->selectRow(5);
        w->txtTrova->clear();
        typeText(w->txtTrova, "nessuna voce cos\u00EC");
        QTest::mouseClick(w->btnTrova, Qt::LeftButton);
        QCOMPARE(w->selectedRow(), 5);
        QCOMPARE(messages->count(), 0);
    }

    void trovaOnAnEmptyList()
    {
        auto w = open();
        search(*w, {{"Titolo", "zzzz"}});
        QCOMPARE(w->lblTrovate->text(), QString("Il presente riepilogo contiene 0 schede."));
        typeText(w->txtTrova, "a");
        QTest::mouseClick(w->btnTrova, Qt::LeftButton);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, QString("Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void enterInTrovaMovesToTheButtonWithoutPressingIt()
    {
        auto w = open();
        search(*w, {{"Titolo", "zzzz"}});
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->txtTrova->setFocus();
        QTest::keyClick(w->txtTrova, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->btnTrova);
        QCOMPARE(messages->count(), 0); // not pressed: the empty list would have said so
        QTest::keyClick(w->btnTrova, Qt::Key_Return);
        QCOMPARE(messages->count(), 1);
    }

    void doubleClickLoadsTheEventIntoTheCard()
    {
        auto *card = windows().frmRegistro;
        setControlText(namedControl(card, "txtNote"), "unsaved change");
        auto w = open("registro");
        search(*w, {});
        // A title longer than its column still finds its record.
        const QStringList all = expectedLines(events, {});
        int index = -1;
        for (int i = 0; i < events.size() && index < 0; ++i)
            if (qvtest::trimCodes(events[i]["Titolo"]).size() > 44 && events[i]["Completo"] == QString("S\u00EC")
                && all.count(qvtest::eventLine(events[i])) == 1)
                index = i;
        QVERIFY(index >= 0);
        const int row = rowOf(*w, qvtest::eventLine(events[index]));
        QVERIFY(row >= 0);
        QSignalSpy closed(w.get(), &QDialog::finished);
        doubleClickRow(*w, row);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!w->isVisible());
        QVERIFY(w->lines().isEmpty()); // emptied on close
        const Values &e = events[index];
        QCOMPARE(cardText("txtTitolo"), qvtest::trimCodes(e["Titolo"].left(50))); // as stored: 50 characters
        QCOMPARE(cardText("txtMaterie"), e["Materie"]);
        QCOMPARE(cardText("txtSede"), qvtest::trimCodes(e["Sede"]));
        QCOMPARE(cardText("txtNote"), e["Note"]);
        QCOMPARE(cardText("txtQuota"), e["Quota"]);
        QCOMPARE(cardText("txtDataSca"), e["DataSca"]);
        QCOMPARE(cardText("txtPosti"), e["Posti"]);
        QCOMPARE(cardText("lblFile01"), e["File01"]);
        QCOMPARE(cardText("lblDesc01"), e["Desc01"]);
        QCOMPARE(cardText("lblPosizione"), QString::number(index + 1));
        QVERIFY(card->findChild<QCheckBox *>("chkCompleto")->isChecked());
        QCOMPARE(messages->count(), 0);
    }

    void readOnlyArchiveIsSearchedButNotWritten()
    {
        // A share the user may only read: the search works, a save is refused.
        const QByteArray before = folder->read("Eventi.pro");
        qvtest::ReadOnly file(eventsFile());
        qvtest::ReadOnly share(folder->path());
        if (!file.ok() || !share.ok())
            QSKIP("this file system cannot make files read-only");
        auto w = open("registro");
        const Filters filters{{"Sede", "roma"}};
        search(*w, filters);
        QCOMPARE(qvtest::sortedMultiset(w->lines()), qvtest::sortedMultiset(expectedLines(events, filters)));
        int index = -1;
        for (int i = 0; i < events.size() && index < 0; ++i)
            if (!qvtest::trimCodes(events[i]["DataInizio"]).isEmpty() && !qvtest::trimCodes(events[i]["DataSca"]).isEmpty()
                && !qvtest::trimCodes(events[i]["Posti"]).isEmpty() && !qvtest::trimCodes(events[i]["Titolo"]).isEmpty()
                && w->lines().count(qvtest::eventLine(events[i])) == 1)
                index = i;
        QVERIFY(index >= 0);
        doubleClickRow(*w, rowOf(*w, qvtest::eventLine(events[index])));
        QCOMPARE(cardText("lblPosizione"), QString::number(index + 1));
        QCOMPARE(messages->count(), 0);
        auto *card = windows().frmRegistro;
        setControlText(namedControl(card, "txtNote"), "changed on a read-only share");
        card->findChild<QAbstractButton *>("cmdSalva")->click();
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Error);
        QCOMPARE(messages->last().text, Messages::kArchiveAccess);
        QCOMPARE(folder->read("Eventi.pro"), before);
    }

    void completoOtherThanYesOrNoLeavesTheBoxAsItWas()
    {
        int index = -1;
        for (int i = 0; i < events.size() && index < 0; ++i)
            if (events[i]["Completo"].isEmpty())
                index = i;
        QVERIFY(index >= 0);
        auto *check = windows().frmRegistro->findChild<QCheckBox *>("chkCompleto");
        check->setChecked(true);
        auto w = open("registro");
        search(*w, {});
        const QString line = qvtest::eventLine(events[index]);
        QCOMPARE(w->lines().count(line), 1);
        doubleClickRow(*w, rowOf(*w, line));
        QCOMPARE(cardText("lblPosizione"), QString::number(index + 1));
        QVERIFY(check->isChecked());
    }

    void equalLinesLoadTheLaterRecord()
    {
        for (int pick = 0; pick < 2; ++pick) {
            auto w = open("registro");
            search(*w, {{"Titolo", "gemelli"}});
            QCOMPARE(w->lines().size(), 2);
            doubleClickRow(*w, pick);
            QCOMPARE(cardText("lblPosizione"), QString("42"));
            QCOMPARE(cardText("txtSede"), QString("Torino"));
            QCOMPARE(cardText("txtMaterie"), QString("Secondo gemello"));
        }
    }

    void pickerFillsTheEventSelection()
    {
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        const QString cardTitle = cardText("txtTitolo");
        const int index = 7;
        auto w = open("menu_prenotazioni");
        search(*w, {});
        const QString line = qvtest::eventLine(events[index]);
        QCOMPARE(w->lines().count(line), 1);
        doubleClickRow(*w, rowOf(*w, line));
        const Values &e = events[index];
        QCOMPARE(selection->txtTitolo->text(), qvtest::trimCodes(e["Titolo"].left(50)));
        QCOMPARE(selection->txtDataInizio->text(), e["DataInizio"]);
        QCOMPARE(selection->txtOraInizio->text(), e["OraInizio"]);
        QCOMPARE(selection->txtDataFine->text(), e["DataFine"]);
        QCOMPARE(selection->txtOraFine->text(), e["OraFine"]);
        QCOMPARE(selection->txtSede->text(), qvtest::trimCodes(e["Sede"]));
        QCOMPARE(selection->txtIndirizzo->text(), e["Indirizzo"]);
        QCOMPARE(selection->txtPosti->text(), e["Posti"]);
        QCOMPARE(selection->lblPosizione->text(), QString::number(index + 1));
        QCOMPARE(cardText("txtTitolo"), cardTitle); // the event card is left alone
    }

    void unknownModeDeliversNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("unknown word") << "clienti";
        QTest::newRow("case counts") << "Registro";
        QTest::newRow("empty") << "";
    }
    void unknownModeDeliversNothing()
    {
        QFETCH(QString, mode);
        const QString cardNumber = cardText("lblPosizione");
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->lblPosizione->setText("kept");
        auto w = open(mode);
        search(*w, {});
        doubleClickRow(*w, 3);
        QVERIFY(!w->isVisible());
        QCOMPARE(cardText("lblPosizione"), cardNumber);
        QCOMPARE(selection->lblPosizione->text(), QString("kept"));
    }

    void modeWordIsTrimmed()
    {
        auto w = open("  registro \t");
        search(*w, {{"Titolo", "gemelli"}});
        doubleClickRow(*w, 0);
        QCOMPARE(cardText("lblPosizione"), QString("42"));
    }

    void archiveFailureDuringCerca()
    {
        auto w = open();
        QFile::rename(eventsFile(), eventsFile() + ".bak");
        QDir(folder->path()).mkdir("Eventi.pro");
        search(*w, {{"Titolo", "convegno"}});
        QDir(folder->path()).rmdir("Eventi.pro");
        QFile::rename(eventsFile() + ".bak", eventsFile());
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, Messages::kArchiveAccess);
        QVERIFY(w->panAvvio->isVisible());
        QVERIFY(!w->panContainer->isVisible());
        QVERIFY(!w->lblAttendere->isVisible());
        // The filters are still there: a second try works.
        QTest::mouseClick(w->btnCerca, Qt::LeftButton);
        QVERIFY(w->panContainer->isVisible());
    }

    void archiveFailureDuringDoubleClickClosesQuietly()
    {
        const QString before = cardText("lblPosizione");
        auto w = open("registro");
        search(*w, {});
        QFile::rename(eventsFile(), eventsFile() + ".bak");
        QDir(folder->path()).mkdir("Eventi.pro");
        doubleClickRow(*w, 0);
        QDir(folder->path()).rmdir("Eventi.pro");
        QFile::rename(eventsFile() + ".bak", eventsFile());
        QVERIFY(!w->isVisible());
        QCOMPARE(messages->count(), 0);
        QCOMPARE(cardText("lblPosizione"), before);
    }

    void missingArchiveIsCreatedEmpty()
    {
        QFile::rename(eventsFile(), eventsFile() + ".bak");
        auto w = open();
        search(*w, {});
        QCOMPARE(w->lblTrovate->text(), QString("Il presente riepilogo contiene 0 schede."));
        QVERIFY(QFile::exists(eventsFile()));
        QCOMPARE(QFileInfo(eventsFile()).size(), 0);
        QFile::remove(eventsFile());
        QFile::rename(eventsFile() + ".bak", eventsFile());
    }

    void stampaPrintsTheWholeListWithItsTitle()
    {
        qvtest::FixedClock clock(QDateTime(QDate(2025, 4, 9), QTime(10, 0)));
        QList<page::Document> printed;
        PageOutput::setHandler([&](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            QCOMPARE(d, PageOutput::Destination::Printer);
            printed.append(doc);
        });
        auto w = open();
        search(*w, {{"Titolo", "workshop"}});
        w->selectRow(1);
        QTest::mouseClick(w->btnStampa, Qt::LeftButton);
        PageOutput::setHandler({});
        QCOMPARE(printed.size(), 1);
        const page::Document &doc = printed.first();
        QCOMPARE(doc.title, QString("Riepilogo dati"));
        QCOMPARE(doc.pages.first().textBox("txtTitolo")->text, QString("Riepilogo eventi programmati"));
        QStringList lines;
        for (const page::Page &p : doc.pages)
            for (const page::TextBox *box : p.textBoxes())
                if (box->name == "txtRiepilogo" && !box->text.isEmpty())
                    lines += box->text.split('\n');
        QCOMPARE(lines, w->lines());
        QVERIFY(lines.first().startsWith("Workshop [beta] & <test>"));
        QCOMPARE(doc.pages.last().textBox("txtPagina")->text, QString("Stampa eseguita in data 09/04/2025"));
    }

    void cardTrovaAndSelectionButtonOpenTheSearch()
    {
        // The event selection's "Seleziona evento" opens the picker in its mode.
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->show();
        bool seen = false;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmTrovaRegistro *>(dialog);
            QVERIFY(w);
            seen = true;
            QCOMPARE(w->lblMemory->text(), QString("menu_prenotazioni"));
            QCOMPARE(w->parentWidget(), selection);
            search(*w, {{"Titolo", "gemelli"}});
            doubleClickRow(*w, 0);
        });
        selection->btnSeleziona->click();
        QVERIFY(seen);
        QCOMPARE(selection->txtTitolo->text(), QString("Gemelli"));
        QCOMPARE(selection->lblPosizione->text(), QString("42"));
        QVERIFY(selection->btnAssegna->isEnabled());
        selection->hide();

        // The event card's "Trova" opens it in mode "registro".
        auto *trova = windows().frmRegistro->findChild<QAbstractButton *>("cmdTrova");
        QVERIFY(trova);
        QString mode;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmTrovaRegistro *>(dialog);
            QVERIFY(w);
            mode = w->lblMemory->text();
        });
        trova->click();
        QCOMPARE(mode, QString("registro"));
    }
};

QTEST_MAIN(TestEventSearch)
#include "tst_eventsearch.moc"
