#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "archive/records.h"
#include "events/tfrmcalendario.h"
#include "events/tfrmregistro.h"
#include "support/testsupport.h"
#include "checks/checkwindows.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmtrovaregistro.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QSignalSpy>

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

// The event record, described independently of the program's own tables.
const QList<QPair<QString, int>> kFields{
    {"Titolo", 50},       {"Tipologia", 50},   {"Materie", 250},      {"Relatori", 250},   {"DataInizio", 10},
    {"OraInizio", 5},     {"DataFine", 10},    {"OraFine", 5},        {"Sede", 120},       {"Indirizzo", 120},
    {"Organizzatore", 50}, {"RecapitoOrg", 50}, {"Contatto", 50},     {"RecapitoCon", 50}, {"Collaboratori", 250},
    {"Criteri", 250},     {"Pagamento", 120},  {"Quota", 15},         {"Intestatario", 50}, {"Iban", 27},
    {"Banca", 50},        {"Anticipo", 15},    {"Note", 250},         {"DataSca", 10},     {"Posti", 4},
    {"Completo", 2},      {"File01", 250},     {"File02", 250},       {"File03", 250},     {"Desc01", 250},
    {"Desc02", 250},      {"Desc03", 250},
};

// A whole record, byte by byte: each field a length byte, its Windows-1252
// characters, then zeros up to the declared length.
QByteArray eventRecord(const QHash<QString, QByteArray> &values)
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

const QByteArray kYesBytes("S\xEC", 2);

QString msgTitle()
{
    return QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il titolo dell'evento.");
}
QString msgStart()
{
    return QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare la data di inizio dell'evento.");
}
QString msgDeadline()
{
    return QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare la data di termine adesione.");
}
QString msgSeats()
{
    return QStringLiteral(
        "Attenzione: per salvare la scheda \u00E8 necessario indicare il numero totale dei posti disponibili.");
}

// The card shown and active, registered as the program's event card so that
// the calendar delivers into it.
class Card
{
public:
    Card()
    {
        windows().frmRegistro = &w;
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 700);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
    }
    ~Card() { windows().frmRegistro = nullptr; }

    QLineEdit *box(const QString &name) const { return w.findChild<QLineEdit *>(name); }
    QToolButton *button(const QString &name) const { return w.findChild<QToolButton *>(name); }
    QString pos() const { return w.lblPosizione->text(); }
    QWidget *focus() const { return QApplication::focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    // Types like a keyboard; letters beyond ASCII arrive as key events with their text.
    void type(const QString &text) const
    {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(focus(), c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus(), &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus(), &release);
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const { QTest::keyClick(focus(), k, m); }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    TfrmRegistro w;
    bool ok = false;
};

// Picks `date` in the calendar that the next action opens and imports it;
// records the mode word the dialog was given.
void pickDate(const QDate &date, QString *modeWord = nullptr)
{
    qvtest::whenModal([date, modeWord](QWidget *dialog) {
        auto *calendar = qobject_cast<TfrmCalendario *>(dialog);
        QVERIFY(calendar);
        if (modeWord)
            *modeWord = calendar->lblMemory->text();
        calendar->calAppuntamenti->setSelectedDate(date);
        QTest::mouseClick(calendar->btnImportaData, Qt::LeftButton);
    });
}

// Cancels the calendar that the next action opens, recording its mode word.
void cancelCalendar(QString *modeWord)
{
    qvtest::whenModal([modeWord](QWidget *dialog) {
        auto *calendar = qobject_cast<TfrmCalendario *>(dialog);
        QVERIFY(calendar);
        *modeWord = calendar->lblMemory->text();
        QTest::mouseClick(calendar->btnAnnulla, Qt::LeftButton);
    });
}

void hover(QWidget *w)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &enter);
}

void unhover(QWidget *w)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

void writeArchive(const QList<QByteArray> &records)
{
    QFile file(TSchedaEvento::archivePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const QByteArray &r : records)
        file.write(r);
}

} // namespace

class TestRegistro : public QObject
{
    Q_OBJECT
private slots:
    void boxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("section");
        QTest::newRow("1") << "txtTitolo" << "Titolo evento:" << 50 << "grpEvento";
        QTest::newRow("2") << "txtTipologia" << "Tipologia:" << 50 << "grpEvento";
        QTest::newRow("3") << "txtMaterie" << "Materie trattate:" << 250 << "grpEvento";
        QTest::newRow("4") << "txtRelatori" << "Relatori:" << 250 << "grpEvento";
        QTest::newRow("5") << "txtDataInizio" << "Data inizio:" << 10 << "grpEvento";
        QTest::newRow("6") << "txtOraInizio" << "Ora:" << 5 << "grpEvento";
        QTest::newRow("7") << "txtDataFine" << "Data fine:" << 10 << "grpEvento";
        QTest::newRow("8") << "txtOraFine" << "Ora:" << 5 << "grpEvento";
        QTest::newRow("9") << "txtSede" << "Sede:" << 120 << "grpEvento";
        QTest::newRow("10") << "txtIndirizzo" << "Indirizzo:" << 120 << "grpEvento";
        QTest::newRow("11") << "txtOrganizzatore" << "Organizzatore:" << 50 << "grpPersone";
        QTest::newRow("12") << "txtRecapitoOrg" << "Recapito:" << 50 << "grpPersone";
        QTest::newRow("13") << "txtContatto" << "Contatto per info:" << 50 << "grpPersone";
        QTest::newRow("14") << "txtRecapitoCon" << "Recapito:" << 50 << "grpPersone";
        QTest::newRow("15") << "txtCollaboratori" << "Collaboratori:" << 250 << "grpPersone";
        QTest::newRow("16") << "txtCriteri" << "Criteri ammissione:" << 250 << "grpPersone";
        QTest::newRow("17") << "txtPagamento" << QStringLiteral("Modalit\u00E0 pagamento:") << 120 << "grpPagamento";
        QTest::newRow("18") << "txtQuota" << QStringLiteral("Quota: \u20AC") << 15 << "grpPagamento";
        QTest::newRow("19") << "txtIntestatario" << "Intestatario C/C:" << 50 << "grpPagamento";
        QTest::newRow("20") << "txtIban" << "IBAN:" << 27 << "grpPagamento";
        QTest::newRow("21") << "txtBanca" << "Banca d'appoggio:" << 50 << "grpPagamento";
        QTest::newRow("22") << "txtAnticipo" << QStringLiteral("Anticipo: \u20AC") << 15 << "grpPagamento";
        QTest::newRow("23") << "txtNote" << "Note:" << 250 << "grpAdesioni";
        QTest::newRow("24") << "txtDataSca" << "Termine adesione:" << 10 << "grpAdesioni";
        QTest::newRow("25") << "txtPosti" << "N. totale posti:" << 4 << "grpAdesioni";
    }
    void boxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(int, maxLength);
        QFETCH(QString, section);
        TfrmRegistro w;
        auto *box = w.findChild<QLineEdit *>(name);
        QVERIFY(box);
        QCOMPARE(box->maxLength(), maxLength);
        QCOMPARE(box->parentWidget()->objectName(), section);
        QCOMPARE(box->isReadOnly(), name.startsWith("txtData"));
        QLabel *buddyLabel = nullptr;
        for (QLabel *l : w.findChildren<QLabel *>())
            if (l->buddy() == box)
                buddyLabel = l;
        QVERIFY(buddyLabel);
        QCOMPARE(buddyLabel->text(), label);
        auto *eff = w.findChild<QFrame *>("eff" + name.mid(3));
        QVERIFY(eff);
        QCOMPARE(w.highlightOf(box), eff);
    }

    void windowAndNewCard()
    {
        TempProgramFolder folder;
        TfrmRegistro w;
        QCOMPARE(w.windowTitle(), QStringLiteral(" Quorvane - Eventi Programmati"));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.panInfo->objectName(), QStringLiteral("panInfo"));
        QCOMPARE(w.panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
        QCOMPARE(w.editBoxes().size(), 25);
        QCOMPARE(w.findChildren<QGroupBox *>().size(), 4);
        QCOMPARE(w.chkCompleto->text(), QStringLiteral("Al completo"));
        QVERIFY(!w.chkCompleto->icon().isNull());
        QCOMPARE(w.chkCompleto->parentWidget(), static_cast<QWidget *>(w.grpAdesioni));
        for (QLineEdit *box : w.editBoxes()) {
            const QString expected = box == w.txtQuota || box == w.txtAnticipo ? "0,00"
                                     : box == w.txtPosti                       ? "0"
                                                                               : "";
            QCOMPARE(box->text(), expected);
        }
        for (const char *name : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"}) {
            auto *label = w.findChild<QLabel *>(name);
            QVERIFY(label);
            QVERIFY(label->isHidden());
            QVERIFY(label->text().isEmpty());
        }
        QVERIFY(w.lblPosizione->text().isEmpty());
        QVERIFY(!QFile::exists(TSchedaEvento::archivePath()));
    }

    void tabOrderAndHighlights()
    {
        Card card;
        QVERIFY(card.ok);
        QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));
        QStringList visited{card.focusName()};
        for (int i = 0; i < 25; ++i) {
            card.key(Qt::Key_Tab);
            visited << card.focusName();
        }
        QStringList expected;
        for (QLineEdit *box : card.w.editBoxes())
            expected << box->objectName();
        expected << "chkCompleto";
        QCOMPARE(visited, expected);
        // Round again from the last control to the title, and back.
        card.key(Qt::Key_Tab);
        QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));
        card.key(Qt::Key_Backtab);
        QCOMPARE(card.focusName(), QStringLiteral("chkCompleto"));

        // Only the box with the focus shows its rectangle, placed around it.
        for (QLineEdit *box : card.w.editBoxes()) {
            box->setFocus(Qt::TabFocusReason);
            for (QLineEdit *other : card.w.editBoxes())
                QCOMPARE(card.w.highlightOf(other)->isVisible(), other == box);
            QVERIFY(card.w.highlightOf(box)->geometry().contains(box->geometry()));
        }
        card.w.chkCompleto->setFocus();
        for (QLineEdit *other : card.w.editBoxes())
            QVERIFY(!card.w.highlightOf(other)->isVisible());
    }

    void enterChain_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        const QStringList chain{"txtTitolo",       "txtTipologia", "txtMaterie",    "txtRelatori",  "txtDataInizio"};
        for (int i = 0; i + 1 < chain.size(); ++i)
            QTest::newRow(qPrintable(chain[i])) << chain[i] << chain[i + 1];
        const QList<QPair<QString, QString>> rest{
            {"txtOraInizio", "txtDataFine"},          {"txtOraFine", "txtSede"},
            {"txtSede", "txtIndirizzo"},              {"txtIndirizzo", "txtOrganizzatore"},
            {"txtOrganizzatore", "txtRecapitoOrg"},   {"txtRecapitoOrg", "txtContatto"},
            {"txtContatto", "txtRecapitoCon"},        {"txtRecapitoCon", "txtCollaboratori"},
            {"txtCollaboratori", "txtCriteri"},       {"txtCriteri", "txtPagamento"},
            {"txtPagamento", "txtQuota"},             {"txtQuota", "txtIntestatario"},
            {"txtIntestatario", "txtIban"},           {"txtIban", "txtBanca"},
            {"txtBanca", "txtAnticipo"},              {"txtAnticipo", "txtNote"},
            {"txtNote", "txtDataSca"},                {"txtPosti", "txtTitolo"},
        };
        for (const auto &[from, to] : rest)
            QTest::newRow(qPrintable(from)) << from << to;
    }
    void enterChain()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.box(from)->setFocus();
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), to);
        // Arriving by Enter selects the text, so typing replaces a default.
        QCOMPARE(card.box(to)->selectedText(), card.box(to)->text());
        QCOMPARE(messages.count(), 0);
    }

    void toolbar()
    {
        TfrmRegistro w;
        const QList<QPair<QString, QString>> expected{
            {"cmdNuovo", "Predispone la schermata per l'inserimento di una nuova scheda."},
            {"cmdDuplica", "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
            {"cmdSalva", "Salva la scheda corrente in archivio."},
            {"cmdTrova", "Trova una scheda in archivio."},
            {"cmdFile", "Allega file alla scheda corrente."},
            {"cmdStampa", "Stampa la scheda corrente."},
            {"cmdCalendario",
             QStringLiteral("Aggiunge l'evento corrente, come \u00E8 salvato in archivio, al proprio calendario.")},
            {"cmdPrimo", "Visualizza la prima scheda in archivio."},
            {"cmdIndietro", "Visualizza la scheda precedente in archivio."},
            {"lblPosizione", ""},
            {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
            {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
            {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
            {"cmdDisponibili", QStringLiteral("Visualizza l'elenco degli eventi a cui \u00E8 ancora possibile aderire.")},
            {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
            {"cmdEsci", "Esci da questa schermata di lavoro."},
        };
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int lastX = -1;
        for (const auto &[name, hint] : expected) {
            auto *control = w.findChild<QWidget *>(name);
            QVERIFY2(control, qPrintable(name));
            const int x = control->mapTo(&w, QPoint(0, 0)).x();
            QVERIFY2(x > lastX, qPrintable(name)); // left to right
            lastX = x;
            if (name == "lblPosizione")
                continue;
            QCOMPARE(control->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(control->focusPolicy(), Qt::NoFocus);
            QVERIFY(control->height() >= 32);
            hover(control);
            QCOMPARE(w.panInfo->text(), hint);
            unhover(control);
            QCOMPARE(w.panInfo->text(), QString());
        }
    }

    void pictureHintsAndBackground_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        const QString calendar = "Importa una data dal calendario.";
        const QString contact = "Importa i dati dall'archivio anagrafico dei partecipanti.";
        QTest::newRow("impDataInizio") << "impDataInizio" << calendar;
        QTest::newRow("impDataFine") << "impDataFine" << calendar;
        QTest::newRow("impTermine") << "impTermine" << calendar;
        QTest::newRow("impContatto01") << "impContatto01" << contact;
        QTest::newRow("impContatto02") << "impContatto02" << contact;
        QTest::newRow("btnIban") << "btnIban" << "Verifica l'IBAN.";
        QTest::newRow("chkCompleto") << "chkCompleto"
                                     << QStringLiteral("Contrassegna questa casella per indicare che \u00E8 stato "
                                                       "raggiunto il numero massimo di adesioni.");
    }
    void pictureHintsAndBackground()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        TfrmRegistro w;
        auto *control = w.findChild<QWidget *>(name);
        QVERIFY(control);
        hover(control);
        QCOMPARE(w.panInfo->text(), hint);
        // The background, a section frame, a label or a box empties the bar.
        for (QWidget *plain : {static_cast<QWidget *>(&w), static_cast<QWidget *>(w.grpPagamento),
                               static_cast<QWidget *>(w.txtSede), static_cast<QWidget *>(w.lblPosizione)}) {
            hover(control);
            QCOMPARE(w.panInfo->text(), hint);
            hover(plain);
            QCOMPARE(w.panInfo->text(), QString());
        }
    }

    void saveChecks_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("deadline");
        QTest::addColumn<QString>("seats");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("nothing") << "" << "" << "" << "" << msgTitle() << "txtTitolo";
        QTest::newRow("blank title") << " \t " << "01/01/2030" << "01/01/2030" << "5" << msgTitle() << "txtTitolo";
        QTest::newRow("title only") << "Corso" << "" << "" << "" << msgStart() << "txtDataInizio";
        QTest::newRow("no start") << "Corso" << "" << "01/01/2030" << "5" << msgStart() << "txtDataInizio";
        QTest::newRow("no deadline") << "Corso" << "02/01/2030" << "" << "" << msgDeadline() << "txtDataSca";
        QTest::newRow("no seats") << "Corso" << "02/01/2030" << "01/01/2030" << "" << msgSeats() << "txtPosti";
    }
    void saveChecks()
    {
        QFETCH(QString, title);
        QFETCH(QString, start);
        QFETCH(QString, deadline);
        QFETCH(QString, seats);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtTitolo->setText(title);
        card.w.txtDataInizio->setText(start);
        card.w.txtDataSca->setText(deadline);
        card.w.txtPosti->setText(seats);
        card.w.txtNote->setFocus();
        card.click("cmdSalva");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, message);
        QCOMPARE(card.focusName(), focus);
        QVERIFY(card.pos().isEmpty());
        QVERIFY(!QFile::exists(TSchedaEvento::archivePath()));
    }

    void seatsZeroIsEnoughAndMinimalCardStored()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtTitolo->setText(QString(70, 'T'));
        card.w.txtDataInizio->setText("02/01/2030");
        card.w.txtDataSca->setText("01/01/2030");
        card.click("cmdSalva");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(folder.read("Eventi.pro"),
                 eventRecord({{"Titolo", QByteArray(50, 'T')},
                              {"DataInizio", "02/01/2030"},
                              {"Quota", "0,00"},
                              {"Anticipo", "0,00"},
                              {"DataSca", "01/01/2030"},
                              {"Posti", "0"},
                              {"Completo", "No"}}));
    }

    // A new user fills a card with the keyboard, saves, browses, duplicates
    // and saves again; the archive holds exactly the two records.
    void keyboardSessionWritesExactRecords()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));

        card.type(QStringLiteral("Convegno sul caff\u00E8"));
        card.key(Qt::Key_Return);
        card.type("Convegno");
        card.key(Qt::Key_Return);
        card.type("Economia e mercati");
        card.key(Qt::Key_Return);
        card.type("Rossi, Bianchi");
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), QStringLiteral("txtDataInizio"));
        QString word;
        pickDate(QDate(2030, 3, 15), &word);
        card.key(Qt::Key_Return); // Enter in a date box opens the calendar
        QCOMPARE(word, QStringLiteral("data_inizio"));
        QCOMPARE(card.w.txtDataInizio->text(), QStringLiteral("15/03/2030"));
        card.key(Qt::Key_Tab);
        card.type("09:30");
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), QStringLiteral("txtDataFine"));
        pickDate(QDate(2030, 3, 16), &word);
        card.key(Qt::Key_Return);
        QCOMPARE(word, QStringLiteral("data_fine"));
        card.key(Qt::Key_Tab);
        card.type("18:00");
        card.key(Qt::Key_Return);
        for (const char *text : {"Palazzo dei Congressi", "Via Roma 1, Milano", "Mario Rossi", "02 1234567",
                                 "Anna Verdi", "anna@example.com", "Studio Neri", "Iscritti all'albo",
                                 "Bonifico bancario"}) {
            card.type(QString::fromUtf8(text));
            card.key(Qt::Key_Return);
        }
        QCOMPARE(card.focusName(), QStringLiteral("txtQuota"));
        card.type("150");
        card.key(Qt::Key_Return);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("150,00"));
        card.type(QStringLiteral("Associazione Caff\u00E8"));
        card.key(Qt::Key_Return);
        card.type("it60x0542811101000000123456");
        card.key(Qt::Key_Return);
        card.type("Banca Esempio");
        card.key(Qt::Key_Return);
        card.type(",5");
        card.key(Qt::Key_Return);
        QCOMPARE(card.w.txtAnticipo->text(), QStringLiteral("0,50"));
        card.type("Posti limitati");
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), QStringLiteral("txtDataSca"));
        pickDate(QDate(2030, 3, 1), &word);
        card.key(Qt::Key_Return);
        QCOMPARE(word, QStringLiteral("registro"));
        card.key(Qt::Key_Tab);
        card.type("120");
        card.key(Qt::Key_Tab);
        QCOMPARE(card.focusName(), QStringLiteral("chkCompleto"));
        card.key(Qt::Key_Space);
        QVERIFY(card.w.chkCompleto->isChecked());

        card.click("cmdSalva");
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.pos(), QStringLiteral("1"));

        QHash<QString, QByteArray> first{
            {"Titolo", "Convegno sul caff\xE8"},
            {"Tipologia", "Convegno"},
            {"Materie", "Economia e mercati"},
            {"Relatori", "Rossi, Bianchi"},
            {"DataInizio", "15/03/2030"},
            {"OraInizio", "09:30"},
            {"DataFine", "16/03/2030"},
            {"OraFine", "18:00"},
            {"Sede", "Palazzo dei Congressi"},
            {"Indirizzo", "Via Roma 1, Milano"},
            {"Organizzatore", "Mario Rossi"},
            {"RecapitoOrg", "02 1234567"},
            {"Contatto", "Anna Verdi"},
            {"RecapitoCon", "anna@example.com"},
            {"Collaboratori", "Studio Neri"},
            {"Criteri", "Iscritti all'albo"},
            {"Pagamento", "Bonifico bancario"},
            {"Quota", "150,00"},
            {"Intestatario", "Associazione Caff\xE8"},
            {"Iban", "IT60X0542811101000000123456"},
            {"Banca", "Banca Esempio"},
            {"Anticipo", "0,50"},
            {"Note", "Posti limitati"},
            {"DataSca", "01/03/2030"},
            {"Posti", "120"},
            {"Completo", kYesBytes},
        };
        QCOMPARE(folder.read("Eventi.pro"), eventRecord(first));

        // Browse: a new card, then Next shows record 1 again.
        card.click("cmdNuovo");
        QVERIFY(card.pos().isEmpty());
        QVERIFY(card.w.txtTitolo->text().isEmpty());
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("0,00"));
        QVERIFY(!card.w.chkCompleto->isChecked());
        card.click("cmdAvanti");
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("IT60X0542811101000000123456"));
        QVERIFY(card.w.chkCompleto->isChecked());

        // Duplicate: the dates, the times and the "full" mark go; the rest stays.
        const int before = messages.count();
        card.click("cmdDuplica");
        QCOMPARE(messages.count(), before + 1);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kDuplicated);
        QVERIFY(card.pos().isEmpty());
        QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));
        QVERIFY(!card.w.chkCompleto->isChecked());
        for (QLineEdit *box : {card.w.txtDataInizio, card.w.txtOraInizio, card.w.txtDataFine, card.w.txtOraFine,
                               card.w.txtDataSca})
            QVERIFY(box->text().isEmpty());
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("Convegno sul caff\u00E8"));
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("120"));

        // Saving at once is refused for the missing start date.
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, msgStart());
        QCOMPARE(card.focusName(), QStringLiteral("txtDataInizio"));
        pickDate(QDate(2031, 3, 14));
        card.key(Qt::Key_Space); // any key in a date box opens the calendar
        pickDate(QDate(2031, 2, 28), &word);
        card.click("impTermine");
        QCOMPARE(word, QStringLiteral("registro"));
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.pos(), QStringLiteral("2"));

        QHash<QString, QByteArray> second = first;
        second["DataInizio"] = "14/03/2031";
        second["OraInizio"] = "";
        second["DataFine"] = "";
        second["OraFine"] = "";
        second["DataSca"] = "28/02/2031";
        second["Completo"] = "No";
        QCOMPARE(folder.read("Eventi.pro"), eventRecord(first) + eventRecord(second));

        // Saving again overwrites record 2 in place.
        card.w.txtNote->setFocus();
        card.w.txtNote->selectAll();
        card.type("Replica");
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kUpdated);
        QCOMPARE(card.pos(), QStringLiteral("2"));
        second["Note"] = "Replica";
        QCOMPARE(folder.read("Eventi.pro"), eventRecord(first) + eventRecord(second));
    }

    void navigationThroughTheToolbar()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeArchive({eventRecord({{"Titolo", "Uno"}, {"Completo", kYesBytes}, {"File01", "a.pdf"}}),
                      eventRecord({{"Titolo", "Due"}, {"Completo", "No"}}),
                      eventRecord({{"Titolo", "Tre"}, {"Completo", "Si"}, {"Quota", "12,50"}})});
        Card card;
        QVERIFY(card.ok);
        card.click("cmdAvanti"); // a new card stands before record 1
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("Uno"));
        QVERIFY(card.w.chkCompleto->isChecked());
        QCOMPARE(card.w.lblFile01->text(), QStringLiteral("a.pdf"));
        QCOMPARE(card.w.txtQuota->text(), QString());
        card.click("cmdIndietro"); // on record 1: nothing
        QCOMPARE(card.pos(), QStringLiteral("1"));
        card.click("cmdAvanti");
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("Due"));
        QVERIFY(!card.w.chkCompleto->isChecked());
        card.click("cmdUltimo");
        QCOMPARE(card.pos(), QStringLiteral("3"));
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("Tre"));
        QVERIFY(!card.w.chkCompleto->isChecked()); // neither "Sì" nor "No": left as it was
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("12,50"));
        QVERIFY(card.w.lblFile01->text().isEmpty());
        card.click("cmdAvanti"); // on the last record: nothing
        QCOMPARE(card.pos(), QStringLiteral("3"));
        card.click("cmdIndietro");
        QCOMPARE(card.pos(), QStringLiteral("2"));
        card.click("cmdPrimo");
        QCOMPARE(card.pos(), QStringLiteral("1"));
        card.click("cmdNuovo");
        card.click("cmdIndietro"); // from a new card: record 1
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(messages.count(), 0);
    }

    void navigationOnEmptyArchive_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("first") << "cmdPrimo";
        QTest::newRow("previous") << "cmdIndietro";
        QTest::newRow("next") << "cmdAvanti";
        QTest::newRow("last") << "cmdUltimo";
    }
    void navigationOnEmptyArchive()
    {
        QFETCH(QString, button);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtTitolo->setText("kept");
        card.click(button);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kEmptyArchive);
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("kept"));
        QVERIFY(card.pos().isEmpty());
        QCOMPARE(QFileInfo(TSchedaEvento::archivePath()).size(), 0);
    }

    void duplicateRefusedOnNewCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtDataInizio->setText("01/01/2030");
        card.click("cmdDuplica");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, CardOperations::kDuplicateNew);
        QCOMPARE(card.w.txtDataInizio->text(), QStringLiteral("01/01/2030"));
        QVERIFY(!QFile::exists(TSchedaEvento::archivePath()));
    }

    void duplicateClearsExactlyItsFields()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QHash<QString, QByteArray> values;
        for (const auto &[name, declared] : kFields)
            values.insert(name, name.left(declared).toLatin1());
        values["Completo"] = kYesBytes;
        values["Posti"] = "12";
        writeArchive({eventRecord(values)});
        Card card;
        QVERIFY(card.ok);
        card.click("cmdPrimo");
        card.click("cmdDuplica");
        QCOMPARE(messages.last().text, CardOperations::kDuplicated);
        QCOMPARE(QFileInfo(TSchedaEvento::archivePath()).size(), 3645); // nothing written
        const QStringList cleared{"DataInizio", "OraInizio", "DataFine", "OraFine", "DataSca",
                                  "File01",     "File02",    "File03",   "Desc01",  "Desc02", "Desc03"};
        for (const auto &[name, declared] : kFields) {
            if (name == "Completo")
                continue;
            QWidget *control = card.w.findChild<QWidget *>("txt" + name);
            if (!control)
                control = card.w.findChild<QLabel *>("lbl" + name);
            QVERIFY2(control, qPrintable(name));
            const QString text = qobject_cast<QLineEdit *>(control) ? qobject_cast<QLineEdit *>(control)->text()
                                                                    : qobject_cast<QLabel *>(control)->text();
            QCOMPARE(text, cleared.contains(name) ? QString() : QString::fromLatin1(values.value(name)));
        }
        QVERIFY(!card.w.chkCompleto->isChecked());
    }

    void duplicateArchiveFailureIsAWarning()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QVERIFY(QDir(folder.path()).mkdir("Eventi.pro")); // cannot be opened as a file
        Card card;
        QVERIFY(card.ok);
        TSchedaEvento record;
        record.setText("Titolo", "Evento");
        record.setText("DataInizio", "01/01/2030");
        card.w.showRecord(record, 4);
        QCOMPARE(card.pos(), QStringLiteral("4"));
        QCOMPARE(card.w.txtTitolo->text(), QStringLiteral("Evento"));
        card.click("cmdDuplica");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);

        card.w.txtDataInizio->setText("01/01/2030");
        card.w.txtDataSca->setText("01/01/2030");
        card.w.txtPosti->setText("5");
        card.click("cmdSalva"); // the ordinary archive failure keeps the error symbol
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QVERIFY(card.pos().isEmpty());
    }

    void amountTyping_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole") << "txtQuota" << "1500" << "1500" << "1500,00";
        QTest::newRow("decimals only") << "txtAnticipo" << ",5" << ",5" << "0,50";
        QTest::newRow("one decimal") << "txtQuota" << "12,5" << "12,5" << "12,50";
        QTest::newRow("three decimals") << "txtAnticipo" << "7,125" << "7,125" << "7,125";
        QTest::newRow("rounded") << "txtQuota" << "3,14159" << "3,14159" << "3,1416";
        QTest::newRow("half up") << "txtQuota" << "1,23455" << "1,23455" << "1,2346";
        QTest::newRow("tiny") << "txtAnticipo" << "0,00005" << "0,00005" << "0,0001";
        QTest::newRow("other keys discarded") << "txtQuota" << "1a2.-+ 3e,4" << "123,4" << "123,40";
        QTest::newRow("two separators") << "txtQuota" << "1,2,3" << "1,2,3" << "0,00";
        QTest::newRow("emptied") << "txtAnticipo" << "" << "" << "0,00";
    }
    void amountTyping()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        QLineEdit *edit = card.box(box);
        edit->setFocus(Qt::TabFocusReason); // arriving selects "0,00"
        card.key(Qt::Key_Delete);
        card.type(keys);
        QCOMPARE(edit->text(), typed);
        QVERIFY(card.w.highlightOf(edit)->isVisible());
        card.key(Qt::Key_Tab);
        QCOMPARE(edit->text(), shown);
        QVERIFY(!card.w.highlightOf(edit)->isVisible());
    }

    void amountEditingKeysWork()
    {
        Card card;
        QVERIFY(card.ok);
        card.w.txtQuota->setFocus(Qt::TabFocusReason);
        card.type("123");
        card.key(Qt::Key_Left);
        card.key(Qt::Key_Left);
        card.key(Qt::Key_Backspace);
        card.type(",");
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral(",23"));
        card.key(Qt::Key_Right);
        card.key(Qt::Key_Delete);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral(",2"));
    }

    void pastedAmounts_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("inBox"); // what the paste leaves in the emptied box
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits") << "1500" << "1500" << "1500,00";
        QTest::newRow("decimals") << "12,345" << "12,345" << "12,345";
        QTest::newRow("words refused") << "dieci euro" << "" << "0,00";
        QTest::newRow("sign refused") << "-5" << "" << "0,00";
        QTest::newRow("point refused") << "12.5" << "" << "0,00";
        QTest::newRow("blank refused") << "1 500" << "" << "0,00";
    }
    void pastedAmounts()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, inBox);
        QFETCH(QString, shown);
        Card card;
        QVERIFY(card.ok);
        QApplication::clipboard()->setText(pasted);
        card.w.txtAnticipo->setFocus(Qt::TabFocusReason);
        card.key(Qt::Key_Delete);
        card.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(card.w.txtAnticipo->text(), inBox);
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), QStringLiteral("txtNote"));
        QCOMPARE(card.w.txtAnticipo->text(), shown);
    }

    void amountKeysBeyondTheRuleStayOut()
    {
        Card card;
        QVERIFY(card.ok);
        card.w.txtQuota->setFocus(Qt::TabFocusReason);
        card.key(Qt::Key_Delete);
        card.type("1");
        // AltGr and Alt combinations that produce text, and an input method's commit.
        QKeyEvent altGr(QEvent::KeyPress, Qt::Key_E, Qt::GroupSwitchModifier, QStringLiteral("\u20AC"));
        QApplication::sendEvent(card.w.txtQuota, &altGr);
        QKeyEvent alt(QEvent::KeyPress, Qt::Key_Minus, Qt::AltModifier, QStringLiteral("-"));
        QApplication::sendEvent(card.w.txtQuota, &alt);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("x9"));
        QApplication::sendEvent(card.w.txtQuota, &commit);
        card.type("2");
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("12"));
    }

    void amountIsNotFinishedWhileTheCalendarIsOpen()
    {
        // The user types 12, picks the start date from its picture, then goes
        // on typing: the box must not be formatted in between.
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtTitolo->setText("Gala");
        card.w.txtDataSca->setText("01/01/2030");
        card.w.txtQuota->setFocus(Qt::TabFocusReason);
        card.key(Qt::Key_Delete);
        card.type("12");
        pickDate(QDate(2030, 1, 1));
        card.click("impDataInizio");
        QCOMPARE(card.w.txtDataInizio->text(), QStringLiteral("01/01/2030"));
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("12"));
        // Another program taking the focus does not finish it either.
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(card.w.txtQuota, &away);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("12"));
        card.w.txtQuota->setFocus(Qt::ActiveWindowFocusReason);
        card.w.txtQuota->end(false);
        card.type("50");
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(qvtest::countedAt(folder.read("Eventi.pro"), 1707), QByteArray("1250,00"));
    }

    void longAmountShownWholeAndStoredCut()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtQuota->setFocus(Qt::TabFocusReason);
        card.type("1234567890123");
        card.key(Qt::Key_Tab);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("1234567890123,00"));
        // Typing cannot make it longer still; removing a character works.
        card.w.txtQuota->setFocus(Qt::MouseFocusReason);
        card.w.txtQuota->end(false);
        card.type("4");
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("1234567890123,00"));
        card.key(Qt::Key_Backspace);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("1234567890123,0"));
        card.key(Qt::Key_Tab);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("1234567890123,00"));
        QCOMPARE(card.w.txtQuota->maxLength(), 16);

        card.w.txtTitolo->setText("Gala");
        card.w.txtDataInizio->setText("01/01/2030");
        card.w.txtDataSca->setText("01/01/2030");
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(qvtest::countedAt(folder.read("Eventi.pro"), 1707), QByteArray("1234567890123,0"));

        // A new card brings back the ordinary limit.
        card.click("cmdNuovo");
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("0,00"));
        QCOMPARE(card.w.txtQuota->maxLength(), 15);
    }

    void amountStillBeingTypedIsStoredFinished()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtTitolo->setText("Gala");
        card.w.txtDataInizio->setText("01/01/2030");
        card.w.txtDataSca->setText("01/01/2030");
        card.w.txtQuota->setFocus(Qt::TabFocusReason);
        card.type("12,5");
        card.click("cmdSalva"); // the pictures take no focus: the box is still being typed in
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.w.txtQuota->text(), QStringLiteral("12,50"));
        QCOMPARE(qvtest::countedAt(folder.read("Eventi.pro"), 1707), QByteArray("12,50"));
    }

    // A box still holding the default of a new card ("0", "0,00") is
    // entered by a click: what the user types replaces the default, wherever
    // the click put the caret.
    void defaultsReplacedWhenClickedInto_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("seats") << "txtPosti" << "120" << "Posti" << QByteArray("120");
        QTest::newRow("fee") << "txtQuota" << "150" << "Quota" << QByteArray("150,00");
        QTest::newRow("advance") << "txtAnticipo" << "35,5" << "Anticipo" << QByteArray("35,50");
    }
    void defaultsReplacedWhenClickedInto()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(QByteArray, stored);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        const QHash<QString, QString> required{
            {"txtTitolo", "Gala"}, {"txtDataInizio", "01/01/2030"}, {"txtDataSca", "01/01/2030"}};
        for (auto it = required.cbegin(); it != required.cend(); ++it)
            card.box(it.key())->setText(it.value());
        QLineEdit *edit = card.box(box);
        for (const QPoint &at : {QPoint(4, edit->height() / 2), QPoint(edit->width() - 4, edit->height() / 2)}) {
            card.w.txtTitolo->setFocus(Qt::TabFocusReason);
            QTest::mouseClick(edit, Qt::LeftButton, {}, at);
            QCOMPARE(card.focusName(), box);
            QCOMPARE(edit->selectedText(), edit->text()); // the default, whole
        }
        card.type(typed);
        QCOMPARE(edit->text(), typed);
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QHash<QString, QByteArray> values{{"Titolo", "Gala"},   {"DataInizio", "01/01/2030"}, {"Quota", "0,00"},
                                          {"Anticipo", "0,00"}, {"DataSca", "01/01/2030"},    {"Posti", "0"},
                                          {"Completo", "No"}};
        values.insert(field, stored);
        QCOMPARE(folder.read("Eventi.pro"), eventRecord(values));

        // What the user typed is no default: a click now places the caret.
        card.w.txtTitolo->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 4, edit->height() / 2));
        QVERIFY(!edit->hasSelectedText());
    }

    void seatsTakeDigitsOnly()
    {
        Card card;
        QVERIFY(card.ok);
        card.w.txtPosti->setFocus(Qt::TabFocusReason);
        card.type("1a2,-3 x45");
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("1234"));
        card.key(Qt::Key_Backspace);
        card.key(Qt::Key_Left);
        card.key(Qt::Key_Delete);
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("12"));
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("12"));

        // Pasting is held to the same rule.
        card.w.txtPosti->setFocus(Qt::TabFocusReason);
        QApplication::clipboard()->setText("3 posti");
        card.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText("75");
        card.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(card.w.txtPosti->text(), QStringLiteral("75"));
    }

    void dateBoxKeys_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("word");
        QTest::newRow("start") << "txtDataInizio" << "data_inizio";
        QTest::newRow("end") << "txtDataFine" << "data_fine";
        QTest::newRow("deadline") << "txtDataSca" << "registro";
    }
    void dateBoxKeys()
    {
        QFETCH(QString, box);
        QFETCH(QString, word);
        qvtest::FixedClock clock(QDateTime(QDate(2029, 12, 24), QTime(10, 0)));
        Card card;
        QVERIFY(card.ok);
        QLineEdit *edit = card.box(box);
        edit->setText("15/03/2030");
        edit->setFocus();
        QVERIFY(edit->isReadOnly());

        card.key(Qt::Key_Backspace);
        QVERIFY(edit->text().isEmpty());
        edit->setText("15/03/2030");
        card.key(Qt::Key_Delete);
        QVERIFY(edit->text().isEmpty());

        // Any other key opens the calendar for this box, with today selected.
        for (Qt::Key key : {Qt::Key_A, Qt::Key_5, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down, Qt::Key_F2, Qt::Key_F1}) {
            QString seen;
            edit->setText("15/03/2030");
            cancelCalendar(&seen);
            card.key(key);
            QCOMPARE(seen, word);
            QCOMPARE(edit->text(), QStringLiteral("15/03/2030"));
        }
        QDate selected;
        qvtest::whenModal([&selected](QWidget *dialog) {
            auto *calendar = qobject_cast<TfrmCalendario *>(dialog);
            selected = calendar->calAppuntamenti->selectedDate();
            QTest::mouseClick(calendar->btnImportaData, Qt::LeftButton);
        });
        card.key(Qt::Key_X);
        QCOMPARE(selected, QDate(2029, 12, 24));
        QCOMPARE(edit->text(), QStringLiteral("24/12/2029"));
        QCOMPARE(card.focus(), static_cast<QWidget *>(edit));

        // Tab still moves on.
        card.key(Qt::Key_Tab);
        QVERIFY(card.focus() != edit);
    }

    void importPicturesOpenTheCalendar_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("box");
        QTest::newRow("start") << "impDataInizio" << "data_inizio" << "txtDataInizio";
        QTest::newRow("end") << "impDataFine" << "data_fine" << "txtDataFine";
        QTest::newRow("deadline") << "impTermine" << "registro" << "txtDataSca";
    }
    void importPicturesOpenTheCalendar()
    {
        QFETCH(QString, picture);
        QFETCH(QString, word);
        QFETCH(QString, box);
        Card card;
        QVERIFY(card.ok);
        QString seen;
        pickDate(QDate(2030, 5, 7), &seen);
        card.click(picture);
        QCOMPARE(seen, word);
        for (const char *name : {"txtDataInizio", "txtDataFine", "txtDataSca"})
            QCOMPARE(card.box(name)->text(), name == box ? QStringLiteral("07/05/2030") : QString());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void ibanTrimmedAndUpperCase()
    {
        Card card;
        QVERIFY(card.ok);
        card.w.txtIban->setFocus();
        card.type(" it60x");
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("IT60X"));
        card.type(" ");
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("IT60X")); // the blank disappears at once
        card.type(QStringLiteral("\u00E8b"));
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("IT60X\u00E8B")); // accented letters untouched
        card.key(Qt::Key_Home);
        card.type("z");
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("ZIT60X\u00E8B"));
        QCOMPARE(card.w.txtIban->cursorPosition(), 1);
        // A blank typed inside stays: only the ends are trimmed.
        card.key(Qt::Key_Right);
        card.type(" ");
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("ZI T60X\u00E8B"));
        QCOMPARE(card.w.txtIban->cursorPosition(), 3);
        // A record is shown as stored.
        TSchedaEvento record;
        record.setText("Iban", "it00");
        card.w.showRecord(record, 1);
        QCOMPARE(card.w.txtIban->text(), QStringLiteral("it00"));
    }

    void showingGivesANewCardAndClosingSavesNothing()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TfrmAvvio menu;
        windows().frmAvvio = &menu;
        windows().mainMenu = &menu;
        {
            Card card;
            QVERIFY(card.ok);
            card.w.txtTitolo->setText("Non salvato");
            card.w.txtQuota->setText("5");
            card.w.chkCompleto->setChecked(true);
            card.w.lblFile02->setText("x.doc");
            card.w.lblPosizione->setText("3");
            card.w.txtNote->setFocus();
            card.click("cmdEsci");
            QVERIFY(!card.w.isVisible());
            QVERIFY(menu.isVisible());
            QVERIFY(!QFile::exists(TSchedaEvento::archivePath()));

            card.w.show();
            QVERIFY(card.w.txtTitolo->text().isEmpty());
            QCOMPARE(card.w.txtQuota->text(), QStringLiteral("0,00"));
            QVERIFY(!card.w.chkCompleto->isChecked());
            QVERIFY(card.w.lblFile02->text().isEmpty());
            QVERIFY(card.pos().isEmpty());
            QApplication::setActiveWindow(&card.w);
            QVERIFY(QTest::qWaitForWindowActive(&card.w));
            QCOMPARE(card.focusName(), QStringLiteral("txtTitolo"));

            // The window's close box does the same.
            card.w.close();
            QVERIFY(!card.w.isVisible());
            QVERIFY(menu.isVisible());
        }
        windows().frmAvvio = nullptr;
        windows().mainMenu = nullptr;
        QCOMPARE(messages.count(), 0);
    }

    // Every picture of the toolbar has a key of the house map, shown in its
    // tooltip, that presses it from any box, amount and date boxes included.
    void toolbarKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("dialog"); // the modal window the picture opens, if any
        using namespace Qt;
        QTest::newRow("new") << "cmdNuovo" << QKeySequence(CTRL | Key_N) << "";
        QTest::newRow("duplicate") << "cmdDuplica" << QKeySequence(CTRL | Key_D) << "";
        QTest::newRow("save") << "cmdSalva" << QKeySequence(CTRL | Key_S) << "";
        QTest::newRow("find") << "cmdTrova" << QKeySequence(CTRL | Key_F) << "frmTrovaRegistro";
        QTest::newRow("attach") << "cmdFile" << QKeySequence(CTRL | SHIFT | Key_A) << "frmAllegaCartella";
        QTest::newRow("print") << "cmdStampa" << QKeySequence(CTRL | Key_P) << "frmStampaRegistro";
        QTest::newRow("calendar") << "cmdCalendario" << QKeySequence(CTRL | SHIFT | Key_C) << "";
        QTest::newRow("first") << "cmdPrimo" << QKeySequence(CTRL | SHIFT | Key_PageUp) << "";
        QTest::newRow("previous") << "cmdIndietro" << QKeySequence(CTRL | Key_PageUp) << "";
        QTest::newRow("next") << "cmdAvanti" << QKeySequence(CTRL | Key_PageDown) << "";
        QTest::newRow("last") << "cmdUltimo" << QKeySequence(CTRL | SHIFT | Key_PageDown) << "";
        QTest::newRow("export") << "cmdEsporta" << QKeySequence(CTRL | Key_E) << "frmExpRegistro";
        QTest::newRow("open events") << "cmdDisponibili" << QKeySequence(CTRL | Key_L) << "frmDaAderire";
        QTest::newRow("guide") << "cmdGuida" << QKeySequence(Key_F1) << "frmGuida";
        QTest::newRow("leave") << "cmdEsci" << QKeySequence(CTRL | Key_W) << "";
    }
    void toolbarKeys()
    {
        QFETCH(QString, name);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, dialog);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        QToolButton *picture = card.button(name);
        QCOMPARE(shortcutOf(picture), keys);
        QVERIFY(picture->toolTip().endsWith(" (" + keyText(keys) + ")"));
        QSignalSpy pressed(picture, &QAbstractButton::clicked);
        const QKeyCombination chord = keys[0];
        int presses = 0;
        // A date box keeps the plain keys (F1 opens its calendar there).
        QList<QLineEdit *> boxes{card.w.txtTitolo, card.w.txtQuota, card.w.txtPosti};
        if (chord.keyboardModifiers() & Qt::ControlModifier)
            boxes << card.w.txtDataSca;
        for (QLineEdit *from : boxes) {
            if (!card.w.isVisible())
                card.w.show(); // "leave" hid the card
            QApplication::setActiveWindow(&card.w);
            QVERIFY(QTest::qWaitForWindowActive(&card.w));
            from->setFocus();
            QString opened;
            if (!dialog.isEmpty())
                qvtest::whenModal([&opened](QWidget *modal) {
                    opened = modal->objectName().isEmpty() ? modal->metaObject()->className() : modal->objectName();
                });
            QTest::keyClick(from, chord.key(), chord.keyboardModifiers());
            QCOMPARE(pressed.count(), ++presses);
            QCOMPARE(opened, dialog);
        }
        if (name == "cmdEsci")
            QVERIFY(!card.w.isVisible());
        // The guide's table tells the same key.
        QVERIFY(shortcutTable(GuideTopic::Events).contains(keyText(keys) + QStringLiteral(": ")));
    }

    // F1 and other plain keys in a date box still open its calendar; keys
    // with Ctrl work there as everywhere.
    void dateBoxesKeepTheirKeys()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtDataSca->setFocus();
        QString seen;
        cancelCalendar(&seen);
        card.key(Qt::Key_F1);
        QCOMPARE(seen, QStringLiteral("registro"));
        card.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, msgTitle());
    }

    // Beside a box, F4 runs the box's picture; elsewhere it does nothing.
    void f4RunsThePictureBesideTheBox()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtIban->setFocus();
        card.type("it60x0542811101000000123456");
        QString prefilled;
        qvtest::whenModal([&prefilled](QWidget *dialog) {
            auto *check = qobject_cast<TfrmIban *>(dialog);
            QVERIFY(check);
            prefilled = check->txtIban->text();
        });
        card.key(Qt::Key_F4);
        QCOMPARE(prefilled, QStringLiteral("IT60X0542811101000000123456"));
        QCOMPARE(card.w.btnIban->toolTip(), QStringLiteral("Verifica l'IBAN. (F4)"));
        QSignalSpy contact(card.w.impContatto01, &QAbstractButton::clicked);
        QApplication::setActiveWindow(&card.w);
        QVERIFY(QTest::qWaitForWindowActive(&card.w));
        card.w.txtOrganizzatore->setFocus();
        QString picker;
        qvtest::whenModal([&picker](QWidget *dialog) { picker = dialog->objectName(); });
        QTest::keyClick(card.w.txtOrganizzatore, Qt::Key_F4);
        QCOMPARE(contact.count(), 1);
        QCOMPARE(picker, QStringLiteral("frmTrovaClienti"));
        card.w.txtTitolo->setFocus();
        QTest::keyClick(card.w.txtTitolo, Qt::Key_F4);
        QCOMPARE(contact.count(), 1);
        QCOMPARE(card.w.txtTitolo->text(), QString());
        QCOMPARE(messages.count(), 0);
    }

    // What a screen reader hears: the card as a window named by its caption,
    // every picture by its hint (also its description), the check box by its
    // caption.
    void screenReaderNames()
    {
        TfrmRegistro w;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral(" Quorvane - Eventi Programmati"));
        const QList<ClickablePicture *> pictures = w.findChildren<ClickablePicture *>();
        QCOMPARE(pictures.size(), 22); // the calendar and statistics pictures among them
        for (ClickablePicture *picture : pictures) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(picture);
            QCOMPARE(face->role(), QAccessible::Button);
            QVERIFY2(!face->text(QAccessible::Name).isEmpty(), qPrintable(picture->objectName()));
            QCOMPARE(face->text(QAccessible::Description), w.infoBar()->hint(picture));
            QVERIFY(face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
        QAccessibleInterface *full = QAccessible::queryAccessibleInterface(w.chkCompleto);
        QCOMPARE(full->role(), QAccessible::CheckBox);
        QCOMPARE(full->text(QAccessible::Name), QStringLiteral("Al completo"));
        QCOMPARE(full->text(QAccessible::Description), w.infoBar()->hint(w.chkCompleto));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.txtTitolo)->text(QAccessible::Name),
                 QStringLiteral("Titolo evento:"));
    }
};

QTEST_MAIN(TestRegistro)
#include "tst_registro.moc"
