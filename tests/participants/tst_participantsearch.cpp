#include "app/appwindows.h"
#include "archive/records.h"
#include "events/tfrmregistro.h"
#include "output/pageoutput.h"
#include "participants/participantdialogs.h"
#include "participants/participantfixtures.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmtrovaclienti.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/controltext.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace qv;
using qvtest::Values;

namespace {

using Filters = QList<QPair<QString, QString>>; // (field, text as typed)

const QStringList kFilterFields{"Cliente", "ComuneRes", "PartitaIva", "CodFisc", "Documento",
                                "Occupazione", "Prodotti", "Zona", "Questioni", "Note"};

QString participantsFile() { return TSchedaPartecipante::archivePath(); }

// The records the filter rule lets through, as lines: a box counts, and
// scores, only when it is not blank; it scores when its text as typed occurs
// in the field as stored.
QStringList expectedLines(const QList<Values> &people, const Filters &filters)
{
    int filled = 0;
    for (const auto &f : filters)
        filled += !qvtest::trimCodes(f.second).isEmpty();
    QStringList lines;
    for (const Values &p : people) {
        int points = 0;
        for (const auto &[field, text] : filters) {
            const int declared = [&] {
                for (const auto &[name, length] : qvtest::participantFields())
                    if (name == field)
                        return length;
                return 0;
            }();
            if (!qvtest::trimCodes(text).isEmpty()
                && qvtest::lowerAZ(p.value(field).left(declared)).contains(qvtest::lowerAZ(text)))
                ++points;
        }
        if (points >= filled)
            lines.append(qvtest::participantLine(p));
    }
    return lines;
}

void typeText(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 32 && c.unicode() < 127) {
            QTest::keyClick(box, char(c.unicode()));
        } else {
            const Qt::Key key = c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, box, key, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, box, key, QString(c), {});
        }
    }
}

QString textOf(QWidget *window, const QString &control)
{
    return controlText(namedControl(window, control));
}

void doubleClickRow(SummaryListWindow &w, int row)
{
    const QModelIndex index = w.lstRecords->model()->index(row, 0);
    w.lstRecords->scrollTo(index);
    const QPoint at = w.lstRecords->visualRect(index).center();
    QTest::mouseClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w.lstRecords->viewport(), Qt::LeftButton, {}, at);
}

// A stand-in for the reservation card: its boxes by name, nothing else.
class BookingFixture : public QWidget
{
public:
    BookingFixture()
    {
        for (const char *name : {"txtCliente", "txtRecapito", "txtIndirizzoRes", "txtComuneRes", "txtCapRes",
                                 "txtTelCel", "txtEmail", "txtCodFisc", "txtPosto", "txtUbicazione",
                                 "txtAnnotazioni", "txtTitolo"}) {
            auto *box = new QLineEdit(this);
            box->setObjectName(QString::fromLatin1(name));
            box->setText(QStringLiteral("kept ") + QString::fromLatin1(name));
        }
        province = new ProvinceBox(QStringLiteral("txtProvRes"), this);
        province->setCurrentIndex(3);
        check = new QCheckBox(this);
        check->setObjectName(QStringLiteral("chkDaConfermare"));
        check->setChecked(true);
        position = new QLabel(QStringLiteral("7"), this);
        position->setObjectName(QStringLiteral("lblPosizione"));
    }
    QString text(const QString &name) const { return controlText(namedControl(this, name)); }
    ProvinceBox *province;
    QCheckBox *check;
    QLabel *position;
};

} // namespace

class TestParticipantSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<qvtest::TempProgramFolder> folder;
    std::unique_ptr<qvtest::MessageRecorder> messages;
    QList<Values> people;

    std::unique_ptr<TfrmTrovaClienti> open(const QString &mode = "clienti")
    {
        auto w = std::make_unique<TfrmTrovaClienti>();
        w->lblMemory->setText(mode);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }

    void search(TfrmTrovaClienti &w, const Filters &filters)
    {
        for (const auto &[field, text] : filters)
            typeText(w.filterBox("txt" + field), text);
        QTest::mouseClick(w.btnCerca, Qt::LeftButton);
    }

    int rowOf(SummaryListWindow &w, const QString &line) { return int(w.lines().indexOf(line)); }

    // The row of a participant whose line no other participant shares.
    int uniqueIndex(const std::function<bool(const Values &)> &wanted)
    {
        const QStringList all = expectedLines(people, {});
        for (int i = 0; i < people.size(); ++i)
            if (wanted(people[i]) && all.count(qvtest::participantLine(people[i])) == 1)
                return i;
        return -1;
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
        QCOMPARE(w->windowTitle(), QString(" Trova partecipanti in archivio"));
        QCOMPARE(w->size(), QSize(862, 560));
        QVERIFY(w->panAvvio->isVisible());
        QVERIFY(!w->panContainer->isVisible());
        QVERIFY(!w->lblMemory->isVisible());
        QCOMPARE(w->config().printTitle, QString("Riepilogo partecipanti"));
        const QStringList labels{"Cognome e nome:", "Comune di residenza:", "Partita IVA:", "Codice fiscale:",
                                 "Estremi documento:", "Occupazione:", "Prodotti e servizi di interesse:",
                                 "Zona di appartenenza:", "Questioni in sospeso:", "Note:"};
        for (int i = 0; i < kFilterFields.size(); ++i) {
            QLineEdit *box = w->filterBoxes.at(i);
            QCOMPARE(box->objectName(), "txt" + kFilterFields[i]);
            QVERIFY(box->font().bold());
            QCOMPARE(box->font().pointSize(), 12);
            QCOMPARE(w->findChild<QLabel *>("lbl" + kFilterFields[i])->text(), labels[i]);
        }
        QCOMPARE(w->txtNote, w->findChild<QLineEdit *>("txtNote"));
        // No typing rules on the filters: the VAT and fiscal code boxes take anything.
        QApplication::setActiveWindow(w.get());
        typeText(w->txtPartitaIva, "IT ab");
        typeText(w->txtCodFisc, " rss ");
        QCOMPARE(w->txtPartitaIva->text(), QString("IT ab"));
        QCOMPARE(w->txtCodFisc->text(), QString(" rss "));
    }

    void enterRingAndHighlights()
    {
        auto w = open();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(QApplication::focusWidget(), w->txtCliente);
        QVERIFY(w->findChild<QFrame *>("effCliente")->isVisible());
        for (int i = 1; i <= kFilterFields.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            const QString stem = kFilterFields[i % kFilterFields.size()];
            QCOMPARE(QApplication::focusWidget()->objectName(), "txt" + stem);
            QVERIFY(w->findChild<QFrame *>("eff" + stem)->isVisible());
        }
        QVERIFY(w->panAvvio->isVisible());
    }

    void cercaListsWhatTheFiltersSelect_data()
    {
        QTest::addColumn<Filters>("filters");
        QTest::newRow("every box empty") << Filters{};
        QTest::newRow("name in the middle of a surname") << Filters{{"Cliente", "SANTIS bon"}};
        QTest::newRow("name and town") << Filters{{"Cliente", "rossi"}, {"ComuneRes", "ROMA"}};
        QTest::newRow("blank-only box not counted") << Filters{{"Cliente", "   "}, {"Zona", "nord"}};
        QTest::newRow("blank kept as typed") << Filters{{"ComuneRes", " napoli"}};
        QTest::newRow("accented letter not folded") << Filters{{"Questioni", "\u00E8 in attesa"}};
        QTest::newRow("brackets are plain text") << Filters{{"Prodotti", "[online] &"}};
        QTest::newRow("VAT digits") << Filters{{"PartitaIva", "123"}, {"Occupazione", "medico"}};
        QTest::newRow("fiscal code and document") << Filters{{"CodFisc", "rssmra8"}, {"Documento", "ax"}};
        QTest::newRow("nothing found") << Filters{{"Note", "zzz"}};
        QRandomGenerator random(4242);
        const QList<Values> all = qvtest::makeParticipants(300);
        for (int n = 0; n < 10; ++n) {
            Filters filters;
            const int boxes = 2 + random.bounded(2);
            for (int b = 0; b < boxes; ++b) {
                const QString field = kFilterFields.at(random.bounded(int(kFilterFields.size())));
                const QString text = all.at(random.bounded(int(all.size()))).value(field);
                const int from = text.isEmpty() ? 0 : random.bounded(int(text.size()));
                QString part = text.mid(from, 1 + random.bounded(5));
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
        const QStringList expected = expectedLines(people, filters);
        QCOMPARE(messages->count(), 0);
        QVERIFY(w->panContainer->isVisible());
        QCOMPARE(qvtest::sortedMultiset(w->lines()), qvtest::sortedMultiset(expected));
        QVERIFY(qvtest::inListOrder(w->lines()));
        QCOMPARE(w->lblTrovate->text(), QString("Il presente riepilogo contiene %1 schede.").arg(expected.size()));
    }

    void printTitle()
    {
        QList<page::Document> printed;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &doc, QWidget *) { printed.append(doc); });
        auto w = open();
        search(*w, {{"Cliente", "gemelli"}});
        QTest::mouseClick(w->btnStampa, Qt::LeftButton);
        PageOutput::setHandler({});
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed.first().pages.first().textBox("txtTitolo")->text, QString("Riepilogo partecipanti"));
    }

    void clientiLoadsTheWholeRecordIntoTheCard()
    {
        TfrmClienti *card = windows().frmClienti;
        card->findChild<QLineEdit *>("txtTitoli")->setText("unsaved change");
        // A name longer than its column still finds its record.
        const int index = uniqueIndex([](const Values &p) {
            return p["Cliente"].size() > 26 && p["Ricontatta"] == QString("S\u00EC") && p["Note"].size() > 0;
        });
        QVERIFY(index >= 0);
        auto w = open("clienti");
        search(*w, {});
        const int row = rowOf(*w, qvtest::participantLine(people[index]));
        QVERIFY(row >= 0);
        QSignalSpy closed(w.get(), &QDialog::finished);
        doubleClickRow(*w, row);
        QCOMPARE(closed.count(), 1);
        QVERIFY(w->lines().isEmpty());
        const Values &p = people[index];
        for (const auto &[field, declared] : qvtest::participantFields()) {
            if (field == "Ricontatta")
                continue;
            const QString control = (field.startsWith("File") || field.startsWith("Desc") ? "lbl" : "txt") + field;
            QCOMPARE(textOf(card, control), qvtest::trimCodes(p.value(field).left(declared)));
        }
        QCOMPARE(card->txtProvNasc->currentIndex(), -1);
        QVERIFY(card->chkRicontatta->isChecked());
        QCOMPARE(card->lblPosizione->text(), QString::number(index + 1));
        QCOMPARE(messages->count(), 0);
    }

    void flagOtherThanYesOrNoLeavesTheTickAsItWas()
    {
        const int index = uniqueIndex([](const Values &p) { return p["Ricontatta"].isEmpty(); });
        QVERIFY(index >= 0);
        windows().frmClienti->chkRicontatta->setChecked(true);
        auto w = open("clienti");
        search(*w, {});
        doubleClickRow(*w, rowOf(*w, qvtest::participantLine(people[index])));
        QCOMPARE(windows().frmClienti->lblPosizione->text(), QString::number(index + 1));
        QVERIFY(windows().frmClienti->chkRicontatta->isChecked());
    }

    void equalLinesLoadTheLaterRecord()
    {
        for (int pick = 0; pick < 2; ++pick) {
            auto w = open("clienti");
            search(*w, {{"Cliente", "gemelli"}});
            QCOMPARE(w->lines().size(), 2);
            doubleClickRow(*w, pick);
            QCOMPARE(windows().frmClienti->lblPosizione->text(), QString("32"));
            QCOMPARE(windows().frmClienti->txtTelCel->text(), QString("222"));
        }
    }

    void eventCardModes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("otherName");
        QTest::addColumn<QString>("otherContact");
        QTest::newRow("organizzatore") << "organizzatore" << "txtOrganizzatore" << "txtRecapitoOrg" << "txtContatto"
                                       << "txtRecapitoCon";
        QTest::newRow("contatto") << "contatto" << "txtContatto" << "txtRecapitoCon" << "txtOrganizzatore"
                                  << "txtRecapitoOrg";
    }
    void eventCardModes()
    {
        QFETCH(QString, mode);
        QFETCH(QString, name);
        QFETCH(QString, contact);
        QFETCH(QString, otherName);
        QFETCH(QString, otherContact);
        TfrmRegistro *card = windows().frmRegistro;
        for (const QString &box : {name, contact, otherName, otherContact, QString("txtTitolo")})
            setControlText(namedControl(card, box), "kept " + box);
        card->lblPosizione->setText("5");
        const int index = uniqueIndex([](const Values &p) { return p["Cliente"].size() > 26; });
        auto w = open(mode);
        search(*w, {});
        doubleClickRow(*w, rowOf(*w, qvtest::participantLine(people[index])));
        QCOMPARE(textOf(card, name), qvtest::trimCodes(people[index]["Cliente"]));
        QCOMPARE(textOf(card, contact), people[index]["Recapito"]);
        QCOMPARE(textOf(card, otherName), "kept " + otherName);
        QCOMPARE(textOf(card, otherContact), "kept " + otherContact);
        QCOMPARE(textOf(card, "txtTitolo"), QString("kept txtTitolo"));
        QCOMPARE(card->lblPosizione->text(), QString("5"));
    }

    void eventCardPicturesOpenThePicker_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("name");
        QTest::newRow("impContatto01") << "impContatto01" << "organizzatore" << "txtOrganizzatore";
        QTest::newRow("impContatto02") << "impContatto02" << "contatto" << "txtContatto";
    }
    void eventCardPicturesOpenThePicker()
    {
        QFETCH(QString, picture);
        QFETCH(QString, mode);
        QFETCH(QString, name);
        TfrmRegistro *card = windows().frmRegistro;
        QString seenMode;
        QWidget *owner = nullptr;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmTrovaClienti *>(dialog);
            QVERIFY(w);
            seenMode = w->lblMemory->text();
            owner = w->parentWidget();
            search(*w, {{"Cliente", "gemelli"}});
            doubleClickRow(*w, 0);
        });
        card->findChild<QAbstractButton *>(picture)->click();
        QCOMPARE(seenMode, mode);
        QCOMPARE(owner, card);
        QCOMPARE(textOf(card, name), QString("Gemelli Paolo"));
    }

    void reservationModeFillsThePersonalDataOnly()
    {
        BookingFixture booking;
        booking.province->setCurrentIndex(3);
        const int index = uniqueIndex([](const Values &p) { return p["TelCel"].isEmpty(); });
        QVERIFY(index >= 0);
        const Values &p = people[index];
        TSchedaPartecipante record;
        record.setBytes(qvtest::record(qvtest::participantFields(), p));
        TfrmTrovaClienti::deliverToReservation(record, &booking);
        const QList<QPair<QString, QString>> filled{
            {"txtCliente", "Cliente"}, {"txtRecapito", "Recapito"}, {"txtIndirizzoRes", "IndirizzoRes"},
            {"txtProvRes", "ProvRes"}, {"txtComuneRes", "ComuneRes"}, {"txtCapRes", "CapRes"},
            {"txtTelCel", "TelCel"}, {"txtEmail", "Email"}, {"txtCodFisc", "CodFisc"},
        };
        for (const auto &[box, field] : filled)
            QCOMPARE(booking.text(box), qvtest::trimCodes(p.value(field)));
        QVERIFY(booking.text("txtTelCel").isEmpty()); // an empty field empties the box
        for (const char *kept : {"txtPosto", "txtUbicazione", "txtAnnotazioni", "txtTitolo"})
            QCOMPARE(booking.text(kept), QString("kept ") + kept);
        QCOMPARE(booking.province->currentIndex(), 3); // its list selection untouched
        QVERIFY(booking.check->isChecked());
        QCOMPARE(booking.position->text(), QString("7"));
    }

    void reservationModeReachesTheReservationCard()
    {
        // Through the mode word, into the long-lived reservation card's boxes found by name.
        auto w = open("prenotazioni");
        search(*w, {{"Cliente", "gemelli"}});
        doubleClickRow(*w, 0);
        QVERIFY(!w->isVisible());
        QWidget *card = windows().frmPrenotazioni;
        if (auto *name = card->findChild<QLineEdit *>("txtCliente"))
            QCOMPARE(name->text(), QString("Gemelli Paolo"));
        QCOMPARE(messages->count(), 0);
    }

    void unknownModeDeliversNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("another window's word") << "registro";
        QTest::newRow("case counts") << "Clienti";
        QTest::newRow("empty") << "";
    }
    void unknownModeDeliversNothing()
    {
        QFETCH(QString, mode);
        TfrmClienti *card = windows().frmClienti;
        card->lblPosizione->setText("kept");
        card->txtCliente->setText("kept");
        windows().frmRegistro->txtOrganizzatore->setText("kept");
        auto w = open(mode);
        search(*w, {});
        doubleClickRow(*w, 3);
        QVERIFY(!w->isVisible());
        QCOMPARE(card->lblPosizione->text(), QString("kept"));
        QCOMPARE(card->txtCliente->text(), QString("kept"));
        QCOMPARE(windows().frmRegistro->txtOrganizzatore->text(), QString("kept"));
    }

    void modeWordIsTrimmed()
    {
        auto w = open("  clienti \t");
        search(*w, {{"Cliente", "gemelli"}});
        doubleClickRow(*w, 0);
        QCOMPARE(windows().frmClienti->lblPosizione->text(), QString("32"));
    }

    void archiveFailureDuringCerca()
    {
        auto w = open();
        QFile::rename(participantsFile(), participantsFile() + ".bak");
        QDir(folder->path()).mkdir("Partecipanti.pro");
        search(*w, {{"Cliente", "rossi"}});
        QDir(folder->path()).rmdir("Partecipanti.pro");
        QFile::rename(participantsFile() + ".bak", participantsFile());
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, Messages::kArchiveAccess);
        QVERIFY(w->panAvvio->isVisible());
    }

    void cardTrovaOpensTheSearchInItsMode()
    {
        TfrmClienti *card = windows().frmClienti;
        QString mode;
        QWidget *owner = nullptr;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmTrovaClienti *>(dialog);
            QVERIFY(w);
            mode = w->lblMemory->text();
            owner = w->parentWidget();
            search(*w, {{"Cliente", "gemelli"}});
            doubleClickRow(*w, 1);
        });
        card->cmdTrova->click();
        QCOMPARE(mode, QString("clienti"));
        QCOMPARE(owner, card);
        QCOMPARE(card->lblPosizione->text(), QString("32"));
    }
};

QTEST_MAIN(TestParticipantSearch)
#include "tst_participantsearch.moc"
