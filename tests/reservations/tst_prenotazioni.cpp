#include "archive/records.h"
#include "checks/checkwindows.h"
#include "frame/shortcuttable.h"
#include "frame/windows.h"
#include "output/exportwindow.h"
#include "output/pageoutput.h"
#include "participants/participantfixtures.h"
#include "participants/tfrmtrovaclienti.h"
#include "reservations/seatfixtures.h"
#include "reservations/seatwidgets.h"
#include "reservations/tfrmconvalida.h"
#include "reservations/tfrmdaconfermare.h"
#include "reservations/tfrmprenotazioni.h"
#include "reservations/tfrmtrovaprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;
using qvtest::Values;

namespace {

// The reservation record, described independently: (name, declared length).
const QList<QPair<QString, int>> kFields{
    {"Cliente", 50}, {"IndirizzoRes", 50}, {"ComuneRes", 50}, {"ProvRes", 2},      {"CapRes", 5},
    {"CodFisc", 16}, {"Recapito", 50},     {"TelCel", 30},    {"Email", 50},       {"Posto", 5},
    {"Numero", 5},   {"Ubicazione", 250},  {"Annotazioni", 250}, {"DaConfermare", 2},
};

int offsetOf(const QString &name)
{
    int offset = 0;
    for (const auto &[field, length] : kFields) {
        if (field == name)
            return offset;
        offset += length + 1;
    }
    return -1;
}

QByteArray reservation(const QHash<QString, QByteArray> &values)
{
    QByteArray bytes;
    for (const auto &[name, declared] : kFields) {
        const QByteArray text = values.value(name);
        bytes += char(text.size());
        bytes += text;
        bytes += QByteArray(declared - text.size(), '\0');
    }
    return bytes;
}

const QByteArray kYes("S\xEC", 2);
const QString kArchive = "Posti_Riservati_Evento_3.pro";

void hover(QWidget *w)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &enter);
}

// The card of event 3 shown and active, with its header as the event
// selection writes it.
class Card
{
public:
    explicit Card(const TempProgramFolder &folder)
    {
        windows().frmPrenotazioni = &w;
        w.lblFile->setText(folder.file(kArchive));
        w.txtTitolo->setText("R&D #1: 50% posti?");
        w.txtPosti->setText("120");
        w.txtDataInizio->setText("12/03/2022");
        w.txtOraInizio->setText("09:30");
        w.txtDataFine->setText("13/03/2022");
        w.txtOraFine->setText("18:00");
        w.txtSede->setText("Aula Magna");
        w.txtIndirizzo->setText("Via Roma 1");
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 740);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
    }
    ~Card() { windows().frmPrenotazioni = nullptr; }

    QLineEdit *box(const QString &name) const { return w.findChild<QLineEdit *>(name); }
    QWidget *focus() const { return w.focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    QString pos() const { return w.lblPosizione->text(); }
    void key(Qt::Key k) const { QTest::keyClick(focus(), k); }
    void type(QWidget *target, const QString &text) const
    {
        target->setFocus();
        QTest::keyClicks(focus(), text);
    }
    void click(QAbstractButton *b) const { QTest::mouseClick(b, Qt::LeftButton); }
    void fill(const QString &name, const QString &seat, bool pending = false) const
    {
        w.txtCliente->setText(name);
        w.txtPosto->setText(seat);
        w.chkDaConfermare->setChecked(pending);
    }

    TfrmPrenotazioni w;
    bool ok = false;
};

// Every page output handed over instead of printed.
class OutputRecorder
{
public:
    OutputRecorder()
    {
        PageOutput::setHandler([this](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            destinations.append(d);
            documents.append(doc);
        });
    }
    ~OutputRecorder() { PageOutput::setHandler({}); }
    QList<PageOutput::Destination> destinations;
    QList<page::Document> documents;
};

// A mouse double-click on a line of a summary list.
void doubleClickRow(SummaryListWindow *list, int row)
{
    const QModelIndex index = list->lstRecords->model()->index(row, 0);
    list->lstRecords->scrollTo(index);
    const QPoint at = list->lstRecords->visualRect(index).center();
    QTest::mouseClick(list->lstRecords->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->lstRecords->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestPrenotazioni : public QObject
{
    Q_OBJECT
private slots:
    void boxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("txtCliente") << "txtCliente" << "Cognome e nome partecipante:" << 50;
        QTest::newRow("txtIndirizzoRes") << "txtIndirizzoRes" << "Residente in Via / Piazza e numero civico:" << 50;
        QTest::newRow("txtComuneRes") << "txtComuneRes" << "Comune di residenza:" << 50;
        QTest::newRow("txtCapRes") << "txtCapRes" << "CAP:" << 5;
        QTest::newRow("txtCodFisc") << "txtCodFisc" << "Codice fiscale:" << 16;
        QTest::newRow("txtRecapito") << "txtRecapito" << "Recapito preferenziale:" << 50;
        QTest::newRow("txtTelCel") << "txtTelCel" << "Tel. cellulare:" << 30;
        QTest::newRow("txtEmail") << "txtEmail" << "E-mail:" << 50;
        QTest::newRow("txtPosto") << "txtPosto" << "Posto n." << 5;
        QTest::newRow("txtUbicazione") << "txtUbicazione" << "Ubicazione posto:" << 250;
        QTest::newRow("txtAnnotazioni") << "txtAnnotazioni" << "Annotazioni:" << 250;
        QTest::newRow("txtTitolo") << "txtTitolo" << "Titolo evento:" << -1;
        QTest::newRow("txtPosti") << "txtPosti" << "Tot. posti:" << -1;
        QTest::newRow("txtOraFine") << "txtOraFine" << "Ora fine:" << -1;
    }
    void boxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(int, maxLength);
        TfrmPrenotazioni w;
        auto *box = w.findChild<QLineEdit *>(name);
        QVERIFY(box);
        QCOMPARE(box->isReadOnly(), maxLength < 0);
        if (maxLength > 0)
            QCOMPARE(box->maxLength(), maxLength);
        QLabel *buddy = nullptr;
        for (QLabel *l : w.findChildren<QLabel *>())
            if (l->buddy() == box)
                buddy = l;
        QVERIFY(buddy);
        QCOMPARE(buddy->text(), label);
    }

    void windowAndNewCard()
    {
        TempProgramFolder folder;
        {
            TfrmPrenotazioni unseen;
            QCOMPARE(unseen.panInfo->text(), QString("Pronto per archiviare una nuova scheda..."));
        }
        Card card(folder);
        QVERIFY(card.ok);
        QCOMPARE(card.w.windowTitle(), QString(" Quorvane - Posti Assegnati"));
        QCOMPARE(card.w.btnConferma->text(), QString("Invia notifica"));
        QCOMPARE(card.w.btnDisponibile->text(), QString("Verifica disponibilit\u00E0 posto"));
        QCOMPARE(card.w.btnPrenotati->text(), QString("Visualizza posti gi\u00E0 prenotati"));
        QCOMPARE(card.w.chkDaConfermare->text(), QString("Da confermare"));
        QVERIFY(card.w.lblFile->isHidden());
        QVERIFY(card.w.txtNumero->isHidden());
        QCOMPARE(card.w.txtProvRes->count(), 112);
        QCOMPARE(card.w.txtProvRes->itemText(0), QString("AG"));
        QCOMPARE(card.w.txtProvRes->itemText(111), QString("VV"));
        QCOMPARE(card.focusName(), QString("txtCliente"));
        QVERIFY(!QFile::exists(folder.file(kArchive))); // showing touches no archive
    }

    void tabOrderAndHighlights()
    {
        TempProgramFolder folder;
        Card card(folder);
        QVERIFY(card.ok);
        const QStringList expected{"txtCliente",    "txtIndirizzoRes", "txtComuneRes",  "txtProvRes",   "txtCapRes",
                                   "txtCodFisc",    "txtRecapito",     "txtTelCel",     "txtEmail",     "btnConferma",
                                   "txtPosto",      "btnDisponibile",  "btnPrenotati",  "txtUbicazione", "txtAnnotazioni",
                                   "chkDaConfermare", "txtTitolo",     "txtPosti",      "txtDataInizio", "txtOraInizio",
                                   "txtDataFine",   "txtOraFine",      "txtSede",       "txtIndirizzo", "txtCliente"};
        QStringList visited{card.focusName()};
        for (int i = 1; i < expected.size(); ++i) {
            card.key(Qt::Key_Tab);
            QWidget *f = card.focus();
            // The province box's own edit line stands for the box.
            visited << (f && f->parentWidget() == card.w.txtProvRes ? QString("txtProvRes") : card.focusName());
        }
        QCOMPARE(visited, expected);
        for (QWidget *box : card.w.highlightedBoxes()) {
            box->setFocus(Qt::TabFocusReason);
            for (QWidget *other : card.w.highlightedBoxes())
                QCOMPARE(card.w.highlightOf(other)->isVisible(), other == box);
            QCOMPARE(card.w.highlightOf(box)->objectName(), "eff" + box->objectName().mid(3));
        }
        card.w.txtPosto->setFocus();
        for (QWidget *other : card.w.highlightedBoxes())
            QVERIFY(!card.w.highlightOf(other)->isVisible());
    }

    void enterChains()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        const QStringList first{"txtCliente", "txtIndirizzoRes", "txtComuneRes", "txtProvRes", "txtCapRes",
                                "txtCodFisc", "txtRecapito",     "txtTelCel",    "txtEmail",   "btnConferma"};
        const QStringList second{"txtPosto",      "txtUbicazione", "txtAnnotazioni", "txtTitolo",
                                 "txtPosti",      "txtDataInizio", "txtOraInizio",   "txtDataFine",
                                 "txtOraFine",    "txtSede",       "txtIndirizzo",   "txtCliente"};
        for (const QStringList &chain : {first, second}) {
            card.w.findChild<QWidget *>(chain.first())->setFocus();
            for (int i = 1; i < chain.size(); ++i) {
                card.key(Qt::Key_Return);
                QWidget *f = card.focus();
                const QString name = f && f->parentWidget() == card.w.txtProvRes ? "txtProvRes" : card.focusName();
                QCOMPARE(name, chain[i]);
            }
        }
        QCOMPARE(messages.count(), 0);
        QCOMPARE(card.w.txtProvRes->count(), 112); // Enter never adds to the list
    }

    void hints()
    {
        TfrmPrenotazioni w;
        const QList<QPair<QString, QString>> expected{
            {"btnNuovo", "Prepara la schermata per la registrazione di una nuova scheda."},
            {"btnDuplica", "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
            {"btnSalva", "Salva la scheda corrente in archivio."},
            {"btnTrova", "Trova una scheda in archivio."},
            {"btnStampa", "Stampa la scheda corrente."},
            {"btnDaConfermare", "Visualizza l'elenco delle prenotazioni in attesa di conferma."},
            {"btnEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
            {"btnGuida", "Visualizza la pagina della guida sensibile al contesto."},
            {"btnEsci", "Esci da questa schermata di lavoro."},
            {"cmdPrimo", "Visualizza la prima scheda in archivio."},
            {"cmdIndietro", "Visualizza la scheda precedente in archivio."},
            {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
            {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
            {"impPartecipante", "Importa i dati dall'archivio anagrafico dei partecipanti."},
            {"btnCodFisc", "Verifica il codice fiscale."},
            {"btnConferma", "Invia al partecipante una e-mail di notifica dell'avvenuta prenotazione del posto a sedere."},
            {"btnDisponibile", QString("Verifica la disponibilit\u00E0 del posto assegnato al partecipante.")},
            {"btnPrenotati", QString("Visualizza il riepilogo dei posti gi\u00E0 prenotati.")},
            {"chkDaConfermare", QString("Contrassegna questa casella per indicare che la prenotazione del posto \u00E8 "
                                        "in attesa di conferma.")},
        };
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 740);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int lastX = -1;
        for (const auto &[name, hint] : expected) {
            auto *control = w.findChild<QWidget *>(name);
            QVERIFY2(control, qPrintable(name));
            if (auto *picture = qobject_cast<QToolButton *>(control)) {
                QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
                QCOMPARE(picture->focusPolicy(), Qt::NoFocus);
                if (control->parentWidget()->objectName() == "panStrumenti") { // the toolbar, left to right
                    const int x = control->mapTo(&w, QPoint(0, 0)).x();
                    QVERIFY2(x > lastX, qPrintable(name));
                    lastX = x;
                }
            }
            hover(control);
            QCOMPARE(w.panInfo->text(), hint);
            hover(w.txtCliente);
            QCOMPARE(w.panInfo->text(), QString());
        }
        hover(w.btnSalva);
        hover(w.grpPosto);
        QCOMPARE(w.panInfo->text(), QString());
    }

    void typingRules()
    {
        TempProgramFolder folder;
        Card card(folder);
        QVERIFY(card.ok);
        card.type(card.w.txtPosto, " a12");
        QCOMPARE(card.w.txtPosto->text(), QString("A12"));
        card.type(card.w.txtCodFisc, "rss mra");
        QCOMPARE(card.w.txtCodFisc->text(), QString("RSSMRA"));
        card.type(card.w.txtEmail, " a@b.it ");
        QCOMPARE(card.w.txtEmail->text(), QString("a@b.it"));
        card.type(card.w.txtProvRes, "rm");
        QCOMPARE(card.w.txtProvRes->currentText(), QString("RM"));
        // Arriving in the province box forgets the list choice, not the text.
        card.w.txtProvRes->setCurrentIndex(card.w.txtProvRes->findText("TO"));
        card.w.txtCliente->setFocus();
        card.w.txtProvRes->setFocus(Qt::TabFocusReason);
        QCOMPARE(card.w.txtProvRes->currentIndex(), -1);
        QCOMPARE(card.w.txtProvRes->currentText(), QString("TO"));
    }

    // Book three seats, one pending and two on the same seat; an independent
    // reader finds every field where it belongs.
    void saveWritesTheRecord()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().text, QString("Attenzione: per salvare la scheda \u00E8 necessario indicare il nome del "
                                               "partecipante."));
        QCOMPARE(card.focusName(), QString("txtCliente"));
        card.w.txtCliente->setText("  ");
        card.w.txtPosto->setText("");
        card.click(card.w.btnSalva);
        QCOMPARE(card.focusName(), QString("txtCliente"));
        card.w.txtCliente->setText("Rossi Mario");
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, QString("Attenzione: per salvare la scheda \u00E8 necessario indicare il numero "
                                               "del posto assegnato."));
        QCOMPARE(card.focusName(), QString("txtPosto"));
        QVERIFY(!QFile::exists(folder.file(kArchive)));

        card.w.txtIndirizzoRes->setText(" Via Po 3 ");
        card.w.txtComuneRes->setText("Roma");
        card.w.txtProvRes->setEditText("RM");
        card.w.txtCapRes->setText("00100");
        card.w.txtCodFisc->setText("RSSMRA80A01H501U");
        card.w.txtRecapito->setText("06 1234");
        card.w.txtTelCel->setText("333 123");
        card.w.txtEmail->setText("m@r.it");
        card.w.txtPosto->setText("7");
        card.w.txtUbicazione->setText("Sala A");
        card.w.txtAnnotazioni->setText("vip");
        card.w.chkDaConfermare->setChecked(true);
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.txtNumero->text(), QString("00007"));

        card.click(card.w.btnNuovo);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.w.txtCliente->text(), QString());
        QCOMPARE(card.w.txtProvRes->currentText(), QString());
        QVERIFY(!card.w.chkDaConfermare->isChecked());
        QCOMPARE(card.w.txtTitolo->text(), QString("R&D #1: 50% posti?")); // the header stays
        card.fill("Bianchi Anna", "125");
        card.click(card.w.btnSalva);
        card.click(card.w.btnNuovo);
        card.fill("Verdi Luca", "125");
        card.click(card.w.btnSalva); // the same seat again: allowed
        QCOMPARE(card.pos(), QString("3"));

        const QByteArray file = folder.read(kArchive);
        QCOMPARE(file.size(), 3 * 829);
        using qvtest::countedAt;
        QCOMPARE(countedAt(file, offsetOf("Cliente")), QByteArray("Rossi Mario"));
        QCOMPARE(countedAt(file, offsetOf("IndirizzoRes")), QByteArray("Via Po 3"));
        QCOMPARE(countedAt(file, offsetOf("ComuneRes")), QByteArray("Roma"));
        QCOMPARE(countedAt(file, offsetOf("ProvRes")), QByteArray("RM"));
        QCOMPARE(countedAt(file, offsetOf("CapRes")), QByteArray("00100"));
        QCOMPARE(countedAt(file, offsetOf("CodFisc")), QByteArray("RSSMRA80A01H501U"));
        QCOMPARE(countedAt(file, offsetOf("Recapito")), QByteArray("06 1234"));
        QCOMPARE(countedAt(file, offsetOf("TelCel")), QByteArray("333 123"));
        QCOMPARE(countedAt(file, offsetOf("Email")), QByteArray("m@r.it"));
        QCOMPARE(countedAt(file, 312), QByteArray("7"));
        QCOMPARE(countedAt(file, 318), QByteArray("00007"));
        QCOMPARE(countedAt(file, offsetOf("Ubicazione")), QByteArray("Sala A"));
        QCOMPARE(countedAt(file, offsetOf("Annotazioni")), QByteArray("vip"));
        QCOMPARE(file.mid(826, 3), QByteArray("\x02S\xEC", 3));
        QCOMPARE(file.mid(829 + 826, 3), QByteArray("\x02No", 3));
        QCOMPARE(countedAt(file, 829 + 318), QByteArray("00125"));
        QCOMPARE(countedAt(file, 2 * 829 + 312), QByteArray("125"));

        // Overwriting record 1 with a new seat.
        card.click(card.w.cmdPrimo);
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.txtProvRes->currentText(), QString("RM"));
        QVERIFY(card.w.chkDaConfermare->isChecked());
        card.w.txtPosto->setText("12");
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().text, CardOperations::kUpdated);
        const QByteArray again = folder.read(kArchive);
        QCOMPARE(again.size(), 3 * 829);
        QCOMPARE(countedAt(again, 318), QByteArray("00012"));
    }

    void navigationFromANewCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        card.click(card.w.cmdAvanti);
        QCOMPARE(messages.last().text, CardOperations::kEmptyArchive);
        QVERIFY(QFile::exists(folder.file(kArchive)));
        folder.write(kArchive, reservation({{"Cliente", "Uno"}, {"Posto", "1"}, {"DaConfermare", kYes}})
                                   + reservation({{"Cliente", "Due"}, {"Posto", "2"}, {"DaConfermare", "No"}}));
        card.click(card.w.cmdIndietro);
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.txtCliente->text(), QString("Uno"));
        card.click(card.w.btnNuovo);
        card.click(card.w.cmdAvanti);
        QCOMPARE(card.pos(), QString("1"));
        card.click(card.w.cmdUltimo);
        QCOMPARE(card.pos(), QString("2"));
        QVERIFY(!card.w.chkDaConfermare->isChecked());
        card.click(card.w.cmdAvanti); // on the last record nothing happens
        QCOMPARE(card.pos(), QString("2"));
    }

    void duplicate()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        card.click(card.w.btnDuplica);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, CardOperations::kDuplicateNew);
        QByteArray five;
        for (int i = 1; i <= 5; ++i)
            five += reservation({{"Cliente", "Persona " + QByteArray::number(i)}, {"Posto", QByteArray::number(i)},
                                 {"Numero", "0000" + QByteArray::number(i)}, {"ComuneRes", "Roma"},
                                 {"DaConfermare", kYes}});
        folder.write(kArchive, five);
        card.click(card.w.cmdPrimo);
        card.click(card.w.cmdAvanti);
        card.click(card.w.cmdAvanti);
        QCOMPARE(card.pos(), QString("3"));
        card.click(card.w.btnDuplica);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kDuplicated);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.w.txtPosto->text(), QString());
        QCOMPARE(card.w.txtNumero->text(), QString());
        QCOMPARE(card.w.txtCliente->text(), QString("Persona 3"));
        QVERIFY(card.w.chkDaConfermare->isChecked());
        QCOMPARE(card.focusName(), QString("txtCliente"));
        card.w.txtPosto->setText("9");
        card.click(card.w.btnSalva);
        QCOMPARE(card.pos(), QString("6"));
        const QByteArray file = folder.read(kArchive);
        QCOMPARE(file.left(5 * 829), five);
        QCOMPARE(qvtest::countedAt(file, 5 * 829), QByteArray("Persona 3"));
        QCOMPARE(qvtest::countedAt(file, 5 * 829 + 318), QByteArray("00009"));
    }

    // An archive that cannot be opened: the copy has already lost its seat,
    // so the next save cannot book the old seat a second time.
    void duplicateClearsTheSeatEvenWhenTheArchiveFails()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive, reservation({{"Cliente", "Rossi"}, {"Posto", "4"}, {"Numero", "00004"}}));
        card.click(card.w.cmdPrimo);
        QCOMPARE(card.w.txtPosto->text(), QString("4"));
        card.w.lblFile->setText(folder.file("cartella"));
        QVERIFY(QDir().mkpath(folder.file("cartella")));
        card.click(card.w.btnDuplica);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.w.txtPosto->text(), QString());
        QCOMPARE(card.w.txtNumero->text(), QString());
        QCOMPARE(card.w.txtCliente->text(), QString("Rossi"));
    }

    void saveFailureKeepsTheCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        card.fill("Rossi", "4");
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.w.txtCliente->text(), QString("Rossi"));
    }

    void noticeChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("seat");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no name") << " " << "a@b.it" << "1"
                                 << "Attenzione: per inviare l'e-mail \u00E8 necessario indicare il nome del partecipante."
                                 << "txtCliente";
        QTest::newRow("no e-mail") << "Rossi" << "" << "1"
                                   << "Attenzione: per inviare l'e-mail \u00E8 necessario indicare l'indirizzo di "
                                      "posta elettronica del partecipante."
                                   << "txtEmail";
        QTest::newRow("no seat") << "Rossi" << "a@b.it" << ""
                                 << "Attenzione: per inviare l'e-mail \u00E8 necessario indicare il numero del posto a "
                                    "sedere assegnato al partecipante."
                                 << "txtPosto";
    }
    void noticeChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, email);
        QFETCH(QString, seat);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::ShellRecorder shell;
        Card card(folder);
        QVERIFY(card.ok);
        card.fill(name, seat);
        card.w.txtEmail->setText(email);
        card.w.txtTitolo->setFocus();
        card.click(card.w.btnConferma);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, QString::fromUtf8(message.toUtf8()));
        QCOMPARE(card.focusName(), focus);
        QVERIFY(shell.commands.isEmpty());
    }

    // One argument; after percent-decoding, exactly the notice's subject and body.
    void noticeIsEncoded()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::ShellRecorder shell;
        Card card(folder);
        QVERIFY(card.ok);
        card.fill("D'Amico Anna", "A7");
        card.w.txtEmail->setText("anna@posta.it");
        card.click(card.w.btnConferma);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(shell.commands.size(), 1);
        const QString command = shell.commands.first();
        QVERIFY(command.startsWith("\"mailto:anna@posta.it?subject="));
        QVERIFY(command.endsWith('"'));
        const QString text = command.mid(1, command.size() - 2);
        QVERIFY(!text.contains(' ') && !text.contains('#') && !text.contains('"'));
        const QStringList parts = text.mid(text.indexOf('?') + 1).split('&');
        QCOMPARE(parts.size(), 2);
        QCOMPARE(QUrl::fromPercentEncoding(parts[0].mid(8).toLatin1()), QString("Notifica prenotazione posto a sedere"));
        QCOMPARE(QUrl::fromPercentEncoding(parts[1].mid(5).toLatin1()),
                 QString("Gentile Sig. D'Amico Anna, con la presente le notifichiamo l'avvenuta prenotazione a suo nome "
                         "del posto a sedere n. A7 relativamente all'evento intitolato R&D #1: 50% posti?, che avr\u00E0 "
                         "inizio in data 12/03/2022 alle ore 09:30 presso la seguente sede: Aula Magna, ubicata in Via "
                         "Roma 1. Con l'occasione, le porgiamo cordiali saluti."));
        QVERIFY(!QFile::exists(folder.file(kArchive))); // nothing is written
    }

    void fiscalCodeButton_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("eleven digits") << "01234567890" << "TfrmPartitaIva";
        QTest::newRow("a letter") << "RSSMRA80A01H501U" << "TfrmCodFisc";
        QTest::newRow("empty") << "" << "TfrmCodFisc";
    }
    void fiscalCodeButton()
    {
        QFETCH(QString, text);
        QFETCH(QString, dialog);
        TempProgramFolder folder;
        Card card(folder);
        QVERIFY(card.ok);
        card.w.txtCodFisc->setText(text);
        QString opened, shown;
        qvtest::whenModal([&](QWidget *d) {
            opened = d->metaObject()->className();
            if (auto *cf = qobject_cast<TfrmCodFisc *>(d))
                shown = cf->txtCodFisc->text();
            if (auto *iva = qobject_cast<TfrmPartitaIva *>(d))
                shown = iva->txtPartitaIva->text();
        });
        QTest::mouseClick(card.w.btnCodFisc, Qt::LeftButton);
        QCOMPARE(opened, dialog);
        QCOMPARE(shown, text);
    }

    void availability_data()
    {
        QTest::addColumn<QString>("seat");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("holders");
        const QString c50 = QString(50, ' ');
        QTest::newRow("free") << "5" << "POSTO DISPONIBILE" << QStringList();
        QTest::newRow("held twice") << "12" << "POSTO NON DISPONIBILE"
                                    << QStringList{"Posto n. 12     " + QString("Bianchi").leftJustified(50),
                                                   "Posto n. 12     " + QString("Rossi").leftJustified(50)};
        QTest::newRow("case-different") << "a5" << "POSTO NON DISPONIBILE"
                                        << QStringList{"Posto n. A5     " + QString("Neri").leftJustified(50)};
        QTest::newRow("pending counts") << "3" << "POSTO NON DISPONIBILE"
                                        << QStringList{"Posto n. 3      " + QString("Verdi").leftJustified(50)};
    }
    void availability()
    {
        QFETCH(QString, seat);
        QFETCH(QString, verdict);
        QFETCH(QStringList, holders);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive, reservation({{"Cliente", "Rossi"}, {"Posto", "12"}})
                                   + reservation({{"Cliente", "Neri"}, {"Posto", "A5"}})
                                   + reservation({{"Cliente", "Verdi"}, {"Posto", "3"}, {"DaConfermare", kYes}})
                                   + reservation({{"Cliente", "Gialli"}, {"Posto", "05"}})
                                   + reservation({{"Cliente", "Bianchi"}, {"Posto", "12"}}));
        card.w.txtPosto->setText(seat);
        QString heading, shownVerdict, explanation, caption;
        QStringList lines;
        bool focusOnOk = false;
        qvtest::whenModal([&](QWidget *d) {
            auto *dialog = qobject_cast<TfrmConvalida *>(d);
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            heading = dialog->txtConvalida->text();
            shownVerdict = dialog->txtResponso->text();
            explanation = dialog->txtIndicazioni->text();
            for (int i = 0; i < dialog->lstRecords->count(); ++i)
                lines << dialog->lstRecords->item(i)->text();
            focusOnOk = dialog->focusWidget() == dialog->btnOK;
            QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
        });
        card.click(card.w.btnDisponibile);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(caption, QString(" Verifica disponibilit\u00E0 posto a sedere"));
        QCOMPARE(heading, "RISULTATO VERIFICA DISPONIBILTA' POSTO N.  " + seat);
        QCOMPARE(shownVerdict, verdict);
        QCOMPARE(explanation, holders.isEmpty() ? QString("Il posto a sedere non \u00E8 stato ancora assegnato.")
                                                : QString("Il posto a sedere \u00E8 gi\u00E0 stato assegnato."));
        QCOMPARE(lines, holders);
        QVERIFY(focusOnOk);
    }

    void availabilityNeedsASeat()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        card.click(card.w.btnDisponibile);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, QString("Indicare il numero di posto da assegnare al partecipante prima di "
                                               "premere il pulsante di verifica."));
        QCOMPARE(card.focusName(), QString("txtPosto"));
        QVERIFY(!QFile::exists(folder.file(kArchive)));
    }

    // An archive that cannot be read never makes a seat look free.
    void availabilityOnAnUnreadableArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        card.w.txtPosto->setText("7");
        bool dialogShown = false;
        qvtest::whenModal([&](QWidget *) { dialogShown = true; }, 300);
        card.click(card.w.btnDisponibile);
        QTest::qWait(350);
        QVERIFY(!dialogShown);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
    }

    void bookedSeatsList()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive,
                     reservation({{"Cliente", "Dieci"}, {"Posto", "10"}, {"Numero", "00010"}})
                         + reservation({{"Cliente", "Anna"}, {"Posto", "A1"}, {"Numero", "000A1"}, {"TelCel", "333"}})
                         + reservation({{"Cliente", "Due"}, {"Posto", "2"}, {"Numero", "00002"},
                                        {"Ubicazione", "Platea"}, {"DaConfermare", kYes}})
                         + reservation({{"Cliente", "Nessuno"}}));
        QStringList lines;
        QString caption;
        qvtest::whenModal([&](QWidget *d) {
            auto *list = qobject_cast<TfrmVerificaPosti *>(d);
            QVERIFY(list);
            caption = list->windowTitle();
            lines = list->lines();
            QCOMPARE(list->config().printTitle, QString("Posti prenotati per R&D #1: 50% posti?"));
            list->selectRow(0);
            list->lstRecordsDblClick();
        });
        card.click(card.w.btnPrenotati);
        QCOMPARE(caption, QString(" Riepilogo posti gi\u00E0 prenotati"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].left(14), QString("Posto n. 00002"));
        QVERIFY(lines[0].endsWith("  Platea"));
        QCOMPARE(lines[1].left(14), QString("Posto n. 00010"));
        QCOMPARE(lines[2].left(14), QString("Posto n. 000A1"));
        // The double-click loaded the whole card, check box and number included.
        QCOMPARE(card.pos(), QString("3"));
        QCOMPARE(card.w.txtCliente->text(), QString("Due"));
        QCOMPARE(card.w.txtNumero->text(), QString("00002"));
        QVERIFY(card.w.chkDaConfermare->isChecked());
        QCOMPARE(messages.count(), 0);
    }

    void pendingList()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive, reservation({{"Cliente", "Zeta"}, {"Posto", "2"}, {"DaConfermare", kYes}})
                                   + reservation({{"Cliente", "Beta"}, {"Posto", "9"}, {"DaConfermare", "No"}})
                                   + reservation({{"Cliente", "alfa"}, {"Posto", "7"}, {"DaConfermare", kYes}}));
        QStringList lines;
        QString caption, title;
        qvtest::whenModal([&](QWidget *d) {
            auto *list = qobject_cast<TfrmDaConfermare *>(d);
            QVERIFY(list);
            caption = list->windowTitle();
            title = list->config().printTitle;
            lines = list->lines();
            list->selectRow(1);
            list->lstRecordsDblClick();
        });
        card.click(card.w.btnDaConfermare);
        QCOMPARE(caption, QString(" Riepilogo prenotazioni in attesa di conferma"));
        QCOMPARE(title, QString("Prenotazioni in attesa di conferma per R&D #1: 50% posti?"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("alfa"));
        QVERIFY(lines[0].endsWith("  Posto n. 7"));
        QVERIFY(lines[1].startsWith("Zeta"));
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.txtPosto->text(), QString("2"));
    }

    // A list that could not be read whole says so instead of passing for the
    // event's complete list.
    void listsReportAnUnreadableArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        for (QAbstractButton *button : {static_cast<QAbstractButton *>(card.w.btnPrenotati),
                                        static_cast<QAbstractButton *>(card.w.btnDaConfermare)}) {
            messages.clear();
            int lineCount = -1;
            qvtest::whenModal([&](QWidget *d) { lineCount = int(static_cast<SummaryListWindow *>(d)->lines().size()); });
            card.click(button);
            QCOMPARE(lineCount, 0);
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.last().kind, MessageKind::Error);
            QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        }
    }

    void search()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive,
                     reservation({{"Cliente", "Rossi"}, {"ComuneRes", "ROMA"}, {"Annotazioni", "ospite VIP"}, {"Posto", "1"}})
                         + reservation({{"Cliente", "Bianchi"}, {"ComuneRes", "Roma"}, {"Annotazioni", "-"}, {"Posto", "10"}})
                         + reservation({{"Cliente", "Verdi"}, {"ComuneRes", "Milano"}, {"Annotazioni", "vip"}, {"Posto", "21"}})
                         + reservation({{"Cliente", "Neri"}, {"ComuneRes", "Romagnano"}, {"Annotazioni", "Vip"},
                                        {"Posto", "A1"}, {"DaConfermare", kYes}}));
        QStringList lines;
        QString counted, conta, mode, title;
        qvtest::whenModal([&](QWidget *d) {
            auto *search = qobject_cast<TfrmTrovaPrenotazioni *>(d);
            QVERIFY(search);
            QCOMPARE(search->windowTitle(), QString(" Trova prenotazioni in archivio"));
            QCOMPARE(search->focusWidget(), search->txtCliente);
            mode = search->lblMemory->text();
            title = search->config().printTitle;
            search->txtComuneRes->setText("roma");
            search->txtAnnotazioni->setText("vip");
            QTest::mouseClick(search->btnCerca, Qt::LeftButton);
            lines = search->lines();
            counted = search->lblTrovate->text();
            conta = search->lblConta->text();
            search->selectRow(0);
            search->lstRecordsDblClick();
        });
        card.click(card.w.btnTrova);
        QCOMPARE(mode, QString("prenotazioni"));
        QCOMPARE(title, QString("Prenotazioni posti a sedere per R&D #1: 50% posti?"));
        QCOMPARE(conta, QString("2"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("Neri"));
        QVERIFY(lines[0].endsWith("  Posto n. A1     Note: Vip"));
        QVERIFY(lines[1].startsWith("Rossi"));
        QCOMPARE(counted, QString("Il presente riepilogo contiene 2 schede."));
        QCOMPARE(card.pos(), QString("4"));
        QCOMPARE(card.w.txtCliente->text(), QString("Neri"));
        QVERIFY(card.w.chkDaConfermare->isChecked());
    }

    void searchEveryCardAndOtherModeWords()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive, reservation({{"Cliente", "Solo"}, {"Posto", "1"}}));
        TfrmTrovaPrenotazioni search(&card.w);
        search.lblMemory->setText("registro");
        search.show();
        search.btnCercaClick();
        QCOMPARE(search.lblTrovate->text(), QString("Il presente riepilogo contiene 1 schede."));
        search.selectRow(0);
        search.lstRecordsDblClick();
        QCOMPARE(card.pos(), QString()); // an unknown word delivers nothing
    }

    // The picture opens the participant picker; the participant double-clicked
    // there fills the personal boxes of the card on screen, blanks trimmed,
    // and nothing else: the seat, its place, the notes, the tick and the
    // record the card is bound to stay, and nothing is saved.
    void participantPickerFillsThePersonalData()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        const Values chosen{{"Cliente", " Bianchi Anna "}, {"Recapito", "06 555123"},
                            {"IndirizzoRes", "Via Nazionale 10"}, {"ProvRes", "RM"},
                            {"ComuneRes", "Citt\u00E0 di Castello"}, {"CapRes", "00184"},
                            {"TelCel", ""}, {"Email", "anna@esempio.it"}, {"CodFisc", "BNCNNA80A41H501X"},
                            {"Occupazione", "Medico"}, {"Note", "vegetariana"}};
        qvtest::writeRecords(folder.file("Partecipanti.pro"), qvtest::participantFields(),
                             {Values{{"Cliente", "Rossi Mario"}, {"TelCel", "333"}, {"ProvRes", "MI"}}, chosen,
                              Values{{"Cliente", "Bianchini Luca"}, {"Email", "luca@esempio.it"}}});
        // A booking already saved as record 1, then changed on screen.
        card.fill("Vecchio Nome", "12", true);
        card.w.txtTelCel->setText("347 000");
        card.click(card.w.btnSalva);
        QCOMPARE(card.pos(), QString("1"));
        const QByteArray stored = folder.read(kArchive);
        card.w.txtUbicazione->setText("Platea, fila B");
        card.w.txtAnnotazioni->setText("arriva tardi");
        messages.clear();

        QString mode;
        QStringList lines;
        qvtest::whenModal([&](QWidget *d) {
            auto *picker = qobject_cast<TfrmTrovaClienti *>(d);
            QVERIFY(picker);
            QCOMPARE(picker->objectName(), QString("frmTrovaClienti"));
            mode = picker->lblMemory->text();
            QTest::keyClicks(picker->txtCliente, "bianchi");
            QTest::mouseClick(picker->btnCerca, Qt::LeftButton);
            lines = picker->lines();
            doubleClickRow(picker, int(lines.indexOf(qvtest::participantLine(chosen))));
        });
        card.click(card.w.impPartecipante);
        QCOMPARE(mode, QString("prenotazioni"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(!card.w.findChild<TfrmTrovaClienti *>()); // destroyed on return

        const QList<QPair<QWidget *, QString>> filled{
            {card.w.txtCliente, "Bianchi Anna"},      {card.w.txtRecapito, "06 555123"},
            {card.w.txtIndirizzoRes, "Via Nazionale 10"}, {card.w.txtProvRes, "RM"},
            {card.w.txtComuneRes, "Citt\u00E0 di Castello"}, {card.w.txtCapRes, "00184"},
            {card.w.txtTelCel, ""}, // an empty field empties the box
            {card.w.txtEmail, "anna@esempio.it"},     {card.w.txtCodFisc, "BNCNNA80A41H501X"},
        };
        for (const auto &[box, text] : filled) {
            const QString shown = qobject_cast<QComboBox *>(box) ? static_cast<QComboBox *>(box)->currentText()
                                                                 : static_cast<QLineEdit *>(box)->text();
            QCOMPARE(shown, text);
        }
        QCOMPARE(card.w.txtPosto->text(), QString("12"));
        QCOMPARE(card.w.txtUbicazione->text(), QString("Platea, fila B"));
        QCOMPARE(card.w.txtAnnotazioni->text(), QString("arriva tardi"));
        QVERIFY(card.w.chkDaConfermare->isChecked());
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.txtTitolo->text(), QString("R&D #1: 50% posti?"));
        QCOMPARE(folder.read(kArchive), stored); // saved only when the user saves
        QCOMPARE(messages.count(), 0);

        // Saving now overwrites the bound record with the imported person.
        card.click(card.w.btnSalva);
        QCOMPARE(card.pos(), QString("1"));
        const QByteArray after = folder.read(kArchive);
        QCOMPARE(after.size(), 829);
        QCOMPARE(qvtest::countedAt(after, offsetOf("Cliente")), QByteArray("Bianchi Anna"));
        QCOMPARE(qvtest::countedAt(after, offsetOf("ProvRes")), QByteArray("RM"));
        QCOMPARE(qvtest::countedAt(after, offsetOf("Posto")), QByteArray("12"));
    }

    // What the picker puts into the card goes through the boxes' typing
    // rules, as typing would: stored upper case.
    void pickedParticipantTakesTheTypingRules()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        TSchedaPartecipante person;
        person.setBytes(qvtest::record(qvtest::participantFields(),
                                       Values{{"Cliente", "Rossi Mario"}, {"CodFisc", "rssmra80a01h501u"},
                                              {"ProvRes", "rm"}}));
        TfrmTrovaClienti::deliver(person, 1, "prenotazioni");
        QCOMPARE(card.w.txtCodFisc->text(), QString("RSSMRA80A01H501U"));
        QCOMPARE(card.w.txtProvRes->currentText(), QString("RM"));
        card.w.txtPosto->setText("4");
        card.click(card.w.btnSalva);
        const QByteArray stored = folder.read(kArchive);
        QCOMPARE(qvtest::countedAt(stored, offsetOf("CodFisc")), QByteArray("RSSMRA80A01H501U"));
        QCOMPARE(qvtest::countedAt(stored, offsetOf("ProvRes")), QByteArray("RM"));
    }

    // The export window opens on the archive of the card's event.
    void exportOpensOnTheEventArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        folder.write(kArchive, reservation({{"Cliente", "Rossi"}, {"Posto", "12"}, {"DaConfermare", "No"}})
                                   + reservation({{"Cliente", "Verdi"}, {"Posto", "3"}, {"DaConfermare", kYes}}));
        QString name, path;
        QStringList cells;
        qvtest::whenModal([&](QWidget *d) {
            auto *w = qobject_cast<ExportWindow *>(d);
            QVERIFY(w);
            name = w->objectName();
            path = w->config().archivePath();
            for (int row = 0; row < w->model()->rowCount(); ++row)
                cells << w->model()->cellText(row, 0) + " " + w->model()->cellText(row, 1) + " "
                             + w->model()->cellText(row, 13);
            w->cmdEsci->click();
        });
        card.click(card.w.btnEsporta);
        QCOMPARE(name, QString("frmExpPrenotazioni"));
        QCOMPARE(path, folder.file(kArchive));
        QCOMPARE(cells, (QStringList{"1 Rossi No", QString("2 Verdi S\u00EC")}));
        QVERIFY(!QFile::exists(folder.file("Prenotazioni_Posti.xls"))); // closed without exporting
        QVERIFY(!card.w.findChild<ExportWindow *>());
        QCOMPARE(messages.count(), 0);
    }

    // The print button prints the card as it stands on screen, unsaved,
    // trimmed, the event header included.
    void printedSheetCarriesTheCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::FixedClock clock(QDateTime(QDate(2022, 3, 5), QTime(14, 5, 9)));
        OutputRecorder output;
        Card card(folder);
        QVERIFY(card.ok);
        const QList<QPair<QString, QString>> typed{
            {"txtCliente", "  D'Amico Anna "}, {"txtIndirizzoRes", "Via Po 3"}, {"txtComuneRes", "Torino"},
            {"txtCapRes", "10121"},            {"txtCodFisc", "DMCNNA80A41L219X"}, {"txtRecapito", "011 222"},
            {"txtTelCel", "347 1"},            {"txtEmail", "anna@esempio.it"},  {"txtPosto", "A7"},
            {"txtUbicazione", "Galleria <b>1</b> & co."}, {"txtAnnotazioni", "\tda richiamare"},
        };
        for (const auto &[name, text] : typed)
            card.box(name)->setText(text);
        card.w.txtProvRes->setEditText("TO");
        card.w.chkDaConfermare->setChecked(true);
        qvtest::whenModal([](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("frmStampaPrenotazione"));
            dialog->findChild<QPushButton *>("btnStampa")->click();
        });
        card.click(card.w.btnStampa);
        QCOMPARE(output.destinations, QList<PageOutput::Destination>{PageOutput::Destination::Printer});
        const page::Page &sheet = output.documents.first().pages.first();
        QCOMPARE(output.documents.first().title, QString("Scheda Prenotazione"));
        const QList<QPair<QString, QString>> header{
            {"txtTitolo", "R&D #1: 50% posti?"}, {"txtPosti", "120"},   {"txtDataInizio", "12/03/2022"},
            {"txtOraInizio", "09:30"},           {"txtDataFine", "13/03/2022"}, {"txtOraFine", "18:00"},
            {"txtSede", "Aula Magna"},           {"txtIndirizzo", "Via Roma 1"},
        };
        for (const auto &[name, text] : header + typed)
            QCOMPARE(sheet.textBox(name)->text, qvtest::trimCodes(text));
        QCOMPARE(sheet.textBox("txtProvRes")->text, QString("TO"));
        QCOMPARE(sheet.textBox("txtCalce")->text, QString("Stampa eseguita in data 05/03/2022 alle ore 14:05:09"));
        QCOMPARE(card.pos(), QString()); // printing saves nothing
        QVERIFY(!QFile::exists(folder.file(kArchive)));
        QCOMPARE(messages.count(), 0);
    }

    // The house keys press the toolbar pictures from any box of the card,
    // the province box and the seat box included; the guide's table tells
    // the same keys.
    void toolbarKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("dialog"); // the modal window the picture opens, if any
        using namespace Qt;
        QTest::newRow("new") << "btnNuovo" << QKeySequence(CTRL | Key_N) << "";
        QTest::newRow("find") << "btnTrova" << QKeySequence(CTRL | Key_F) << "frmTrovaPrenotazioni";
        QTest::newRow("print") << "btnStampa" << QKeySequence(CTRL | Key_P) << "frmStampaPrenotazione";
        QTest::newRow("pending") << "btnDaConfermare" << QKeySequence(CTRL | Key_L) << "frmDaConfermare";
        QTest::newRow("export") << "btnEsporta" << QKeySequence(CTRL | Key_E) << "frmExpPrenotazioni";
        QTest::newRow("next") << "cmdAvanti" << QKeySequence(CTRL | Key_PageDown) << "";
        QTest::newRow("guide") << "btnGuida" << QKeySequence(Key_F1) << "frmGuida";
    }
    void toolbarKeys()
    {
        QFETCH(QString, name);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, dialog);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        auto *picture = card.w.findChild<QToolButton *>(name);
        QCOMPARE(shortcutOf(picture), keys);
        QVERIFY(picture->toolTip().endsWith(" (" + keyText(keys) + ")"));
        QSignalSpy pressed(picture, &QAbstractButton::clicked);
        const QKeyCombination chord = keys[0];
        int presses = 0;
        for (QWidget *from : QList<QWidget *>{card.w.txtCliente, card.w.txtProvRes->lineEdit(), card.w.txtPosto}) {
            QApplication::setActiveWindow(&card.w);
            QVERIFY(QTest::qWaitForWindowActive(&card.w));
            from->setFocus();
            QString opened;
            if (!dialog.isEmpty())
                qvtest::whenModal([&opened](QWidget *modal) { opened = modal->objectName(); });
            QTest::keyClick(from, chord.key(), chord.keyboardModifiers());
            QCOMPARE(pressed.count(), ++presses);
            QCOMPARE(opened, dialog);
        }
        QVERIFY(shortcutTable(GuideTopic::Reservations).contains(keyText(keys) + QStringLiteral(": ")));
    }

    // Ctrl+S from a box saves the card as typed; Ctrl+W leaves.
    void ctrlSSavesFromABox()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QWidget menu;
        windows().mainMenu = &menu;
        Card card(folder);
        QVERIFY(card.ok);
        card.type(card.w.txtCliente, "Rossi Mario");
        card.type(card.w.txtPosto, "b4");
        card.type(card.w.txtAnnotazioni, "prima fila");
        QTest::keyClick(card.focus(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, QString("La scheda corrente \u00E8 stata inserita in archivio."));
        QCOMPARE(card.pos(), QString("1"));
        const QByteArray bytes = folder.read(kArchive);
        QCOMPARE(qvtest::countedAt(bytes, offsetOf("Cliente")), QByteArray("Rossi Mario"));
        QCOMPARE(qvtest::countedAt(bytes, offsetOf("Posto")), QByteArray("B4"));
        QCOMPARE(qvtest::countedAt(bytes, offsetOf("Annotazioni")), QByteArray("prima fila"));
        QCOMPARE(card.w.txtAnnotazioni->text(), QString("prima fila")); // no letter went into the box
        card.w.txtCliente->setFocus();
        QTest::keyClick(card.w.txtCliente, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!card.w.isVisible());
        QVERIFY(menu.isVisible());
        windows().mainMenu = nullptr;
    }

    // Beside a box, F4 runs the box's picture; elsewhere it does nothing, and
    // the province box keeps F4 for its own list.
    void f4RunsThePictureBesideTheBox()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card(folder);
        QVERIFY(card.ok);
        QCOMPARE(card.w.impPartecipante->toolTip(),
                 QString("Importa i dati dall'archivio anagrafico dei partecipanti. (F4)"));
        QCOMPARE(card.w.btnCodFisc->toolTip(), QString("Verifica il codice fiscale. (F4)"));
        card.type(card.w.txtCodFisc, "rssmra80a01h501u");
        QString prefilled;
        qvtest::whenModal([&prefilled](QWidget *d) {
            if (auto *check = qobject_cast<TfrmCodFisc *>(d))
                prefilled = check->txtCodFisc->text();
        });
        card.key(Qt::Key_F4);
        QCOMPARE(prefilled, QString("RSSMRA80A01H501U"));

        QSignalSpy picker(card.w.impPartecipante, &QAbstractButton::clicked);
        QApplication::setActiveWindow(&card.w);
        QVERIFY(QTest::qWaitForWindowActive(&card.w));
        card.w.txtCliente->setFocus();
        QString opened;
        qvtest::whenModal([&opened](QWidget *d) { opened = d->objectName(); });
        card.key(Qt::Key_F4);
        QCOMPARE(picker.count(), 1);
        QCOMPARE(opened, QString("frmTrovaClienti"));

        QApplication::setActiveWindow(&card.w);
        QVERIFY(QTest::qWaitForWindowActive(&card.w));
        for (QWidget *other : QList<QWidget *>{card.w.txtPosto, card.w.txtProvRes->lineEdit()}) {
            other->setFocus();
            QTest::keyClick(other, Qt::Key_F4);
            QCOMPARE(picker.count(), 1);
        }
        QVERIFY(card.w.txtProvRes->view()->isVisible()); // F4 dropped the province list
        card.w.txtProvRes->hidePopup();
        QCOMPARE(card.w.txtPosto->text(), QString());
        QCOMPARE(messages.count(), 0);
    }

    // What a screen reader hears: the card as a window named by its caption,
    // every picture by its hint, the check box by its caption.
    void screenReaderNames()
    {
        TfrmPrenotazioni w;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QString(" Quorvane - Posti Assegnati"));
        for (ClickablePicture *picture : w.findChildren<ClickablePicture *>()) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(picture);
            QCOMPARE(face->role(), QAccessible::Button);
            QVERIFY2(!face->text(QAccessible::Name).isEmpty(), qPrintable(picture->objectName()));
            QCOMPARE(face->text(QAccessible::Description), w.infoBar()->hint(picture));
        }
        QAccessibleInterface *pending = QAccessible::queryAccessibleInterface(w.chkDaConfermare);
        QCOMPARE(pending->role(), QAccessible::CheckBox);
        QCOMPARE(pending->text(QAccessible::Name), QString("Da confermare"));
        QCOMPARE(pending->text(QAccessible::Description), w.infoBar()->hint(w.chkDaConfermare));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.txtCliente)->text(QAccessible::Name),
                 QString("Cognome e nome partecipante:"));
    }

    // Beside the seat, its state read from the archive when the box is left:
    // saving still refuses nothing, but the card tells. A seat another card
    // holds is a warning, in the map's look for a seat held more than once
    // and in words.
    void seatStateBesideTheSeat_data()
    {
        QTest::addColumn<QString>("posti");
        QTest::addColumn<QString>("seat");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("look");
        const int twice = int(SeatLook::Twice);
        QTest::newRow("held twice") << "30" << "12"
                                    << QString("gi\u00E0 assegnato a 2 persone: Bianchi Anna, Verdi Luca") << twice;
        QTest::newRow("held, typed in lower case") << "30" << "a5" << QString("gi\u00E0 assegnato a Neri Paolo")
                                                   << twice;
        QTest::newRow("awaiting confirmation")
            << "30" << "2" << QString("gi\u00E0 assegnato a Rossi Mario (in attesa di conferma)") << twice;
        QTest::newRow("free") << "30" << "7" << "libero" << int(SeatLook::Free);
        QTest::newRow("beyond the total") << "30" << "500" << "oltre il numero totale dei posti (30)" << -1;
    }
    void seatStateBesideTheSeat()
    {
        QFETCH(QString, posti);
        QFETCH(QString, seat);
        QFETCH(QString, state);
        QFETCH(int, look);
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write(kArchive, qvtest::bookings(qvtest::kThirtySeats));
        Card card(folder);
        QVERIFY(card.ok);
        card.w.txtPosti->setText(posti);
        QCOMPARE(card.w.lblStatoPosto->text(), QString());
        card.type(card.w.txtPosto, seat);
        QCOMPARE(card.w.lblStatoPosto->text(), QString()); // typing is never held up
        card.key(Qt::Key_Tab);
        QCOMPARE(card.w.lblStatoPosto->text(), state);
        auto *words = card.w.lblStatoPosto->findChild<QLabel *>("lblStatoPostoTesto");
        QCOMPARE(QAccessible::queryAccessibleInterface(words)->text(QAccessible::Name),
                 (look == int(SeatLook::Twice) ? "Stato del posto, attenzione, posto assegnato pi\u00F9 volte: "
                                               : "Stato del posto: ")
                     + state);
        const SeatSwatch *swatch = card.w.lblStatoPosto->findChild<SeatSwatch *>();
        QCOMPARE(swatch->isVisible(), look >= 0);
        if (look >= 0)
            QCOMPARE(int(swatch->look()), look);
        // Saved all the same, and still told.
        card.w.txtCliente->setText("Gialli Ugo");
        card.click(card.w.btnSalva);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(folder.read(kArchive).size(), 5 * 829);
        // Now the card's own seat, and the others' too where they hold it.
        const QString own = state == "libero" ? QString("assegnato a questa scheda")
                            : state.startsWith("oltre")
                                ? "assegnato a questa scheda - " + state
                                : "assegnato a questa scheda e anche a " + state.mid(QString("gi\u00E0 assegnato a ").size());
        QCOMPARE(card.w.lblStatoPosto->text(), own);
        QCOMPARE(messages.count(), 1);
    }

    // The card itself is no other holder: its own seat is "assegnato a questa
    // scheda", and the others holding it too are named.
    void seatStateOfAShownCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write(kArchive, qvtest::bookings(qvtest::kThirtySeats));
        Card card(folder);
        QVERIFY(card.ok);
        card.w.txtPosti->setText("30");
        QTest::mouseClick(card.w.cmdPrimo, Qt::LeftButton);
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.w.lblStatoPosto->text(), QString("assegnato a questa scheda"));
        const SeatSwatch *swatch = card.w.lblStatoPosto->findChild<SeatSwatch *>();
        QCOMPARE(swatch->look(), SeatLook::Pending); // as the map shows it
        QTest::mouseClick(card.w.cmdAvanti, Qt::LeftButton);
        QCOMPARE(card.pos(), QString("2"));
        QCOMPARE(card.w.lblStatoPosto->text(), QString("assegnato a questa scheda e anche a Verdi Luca"));
        QCOMPARE(swatch->look(), SeatLook::Twice);
        // Moved on the card to a seat nobody else holds: free for it.
        card.w.txtPosto->setText("7");
        card.w.updateSeatState();
        QCOMPARE(card.w.lblStatoPosto->text(), QString("libero"));
        QTest::mouseClick(card.w.btnNuovo, Qt::LeftButton);
        QCOMPARE(card.w.lblStatoPosto->text(), QString());
        QCOMPARE(messages.count(), 0);
    }

    // An archive that cannot be read: no state at all, never "libero", and
    // no message while typing.
    void seatStateOnAnUnreadableArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        Card card(folder);
        QVERIFY(card.ok);
        card.type(card.w.txtPosto, "7");
        card.key(Qt::Key_Tab);
        QCOMPARE(card.w.lblStatoPosto->text(), QString());
        QVERIFY(!card.w.lblStatoPosto->findChild<SeatSwatch *>()->isVisible());
        QCOMPARE(messages.count(), 0);
    }

    // The map from the card: its picture and Ctrl+M, in the guide's table too.
    void mapPicture()
    {
        TfrmPrenotazioni w;
        QCOMPARE(shortcutOf(w.btnMappa), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(w.btnMappa->accessibleDescription(), QString("Visualizza la mappa dei posti dell'evento."));
        QVERIFY(shortcutTable(GuideTopic::Reservations).contains("Ctrl+M: mappa dei posti."));
    }

    void leavingShowsTheMainMenu()
    {
        TempProgramFolder folder;
        QWidget menu;
        windows().mainMenu = &menu;
        Card card(folder);
        QVERIFY(card.ok);
        card.click(card.w.btnEsci);
        QVERIFY(menu.isVisible());
        QVERIFY(!card.w.isVisible());
        windows().mainMenu = nullptr;
    }
};

QTEST_MAIN(TestPrenotazioni)
#include "tst_prenotazioni.moc"
