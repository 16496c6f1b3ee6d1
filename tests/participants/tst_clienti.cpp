#include "app/appwindows.h"
#include "archive/records.h"
#include "checks/checkwindows.h"
#include "frame/guide.h"
#include "participants/participantfixtures.h"
#include "participants/tfrmclienti.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QMenu>
#include <QContextMenuEvent>
#include <QWheelEvent>
#include "output/pageoutput.h"
#include <QFile>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;
using qvtest::Values;

namespace {

const QString kNameWarning =
    QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il nome del partecipante.");

// The 29 boxes in tab order with their maximum lengths.
const QList<QPair<QString, int>> kBoxes{
    {"Cliente", 50},    {"DataNasc", 30},  {"ComuneNasc", 50}, {"ProvNasc", 2},     {"Sesso", 1},
    {"Recapito", 50},   {"IndirizzoRes", 50}, {"ProvRes", 2},  {"ComuneRes", 50},   {"CapRes", 5},
    {"Estremi", 250},   {"TelCasa", 30},   {"TelUff", 30},     {"TelCel", 30},      {"Fax", 30},
    {"Email", 50},      {"CodFisc", 16},   {"Carta", 30},      {"ScadeCarta", 30},  {"PartitaIva", 11},
    {"Iban", 27},       {"Documento", 120}, {"Occupazione", 50}, {"Civile", 50},    {"Titoli", 120},
    {"Prodotti", 120},  {"Zona", 50},      {"Questioni", 250}, {"Note", 250},
};

QString archive() { return TSchedaPartecipante::archivePath(); }

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

// The card shown and active, registered as the program's participant card.
class Card
{
public:
    Card()
    {
        windows().frmClienti = &w;
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 768);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
    }
    ~Card() { windows().frmClienti = nullptr; }

    QWidget *control(const QString &name) const { return w.findChild<QWidget *>(name); }
    QLineEdit *box(const QString &name) const { return w.findChild<QLineEdit *>(name); }
    QString text(const QString &stem) const
    {
        QWidget *c = control("txt" + stem);
        if (auto *combo = qobject_cast<QComboBox *>(c))
            return combo->currentText();
        return static_cast<QLineEdit *>(c)->text();
    }
    void setText(const QString &stem, const QString &text) const
    {
        QWidget *c = control("txt" + stem);
        if (auto *combo = qobject_cast<QComboBox *>(c))
            combo->setEditText(text);
        else
            static_cast<QLineEdit *>(c)->setText(text);
    }
    QString pos() const { return w.lblPosizione->text(); }
    QWidget *focus() const { return QApplication::focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    void focusOn(const QString &stem) const
    {
        control("txt" + stem)->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    // Types like a keyboard; characters beyond ASCII arrive as key events with their text.
    void type(const QString &text) const
    {
        for (const QChar c : text) {
            if (c.unicode() > 32 && c.unicode() < 127) {
                QTest::keyClick(focus(), c.toLatin1());
                continue;
            }
            const Qt::Key key = c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, focus(), key, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, focus(), key, QString(c), {});
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const { QTest::keyClick(focus(), k, m); }
    void click(const QString &name) const
    {
        QTest::mouseClick(w.findChild<QToolButton *>(name), Qt::LeftButton);
    }

    TfrmClienti w;
    bool ok = false;
};

} // namespace

class TestClienti : public QObject
{
    Q_OBJECT

private slots:
    void windowAsBuilt()
    {
        TfrmClienti w;
        QCOMPARE(w.windowTitle(), QString(" Quorvane - Anagrafica Partecipanti"));
        QCOMPARE(w.editBoxes().size(), 29);
        for (int i = 0; i < kBoxes.size(); ++i) {
            const auto &[stem, max] = kBoxes[i];
            QWidget *box = w.editBoxes().at(i);
            QCOMPARE(box->objectName(), "txt" + stem);
            auto *edit = qobject_cast<QLineEdit *>(box);
            if (!edit)
                edit = qobject_cast<QComboBox *>(box)->lineEdit();
            QCOMPARE(edit->maxLength(), max);
            QVERIFY(edit->font().bold());
            QCOMPARE(edit->font().pointSize(), 12);
            QVERIFY2(w.highlightOf(box), qPrintable(stem));
            QCOMPARE(w.highlightOf(box)->objectName(), "eff" + stem);
            QVERIFY(!w.highlightOf(box)->isVisible());
            // Each box has its label, a buddy.
            auto *label = w.findChild<QLabel *>("lbl" + stem);
            QVERIFY2(label && label->buddy() == box, qPrintable(stem));
        }
        QCOMPARE(w.txtDataNasc->alignment(), Qt::AlignCenter);
        QCOMPARE(w.txtSesso->alignment(), Qt::AlignCenter);
        QCOMPARE(w.findChild<QLabel *>("lblIndirizzoRes")->text(), QString("Residente in Via / Piazza e numero civico:"));
        QCOMPARE(w.chkRicontatta->text(), QString("Da ricontattare"));
        QCOMPARE(w.panInfo->text(), QString("Pronto per archiviare una nuova scheda..."));
        for (QLabel *hidden : {w.lblFile01, w.lblFile02, w.lblFile03, w.lblDesc01, w.lblDesc02, w.lblDesc03})
            QVERIFY(hidden->isHidden());

        // Both province boxes offer the 112 codes, typed freely.
        for (QComboBox *box : {static_cast<QComboBox *>(w.txtProvNasc), static_cast<QComboBox *>(w.txtProvRes)}) {
            QCOMPARE(box->count(), 112);
            QCOMPARE(box->itemText(0), QString("AG"));
            QCOMPARE(box->itemText(49), QString("LO"));
            QCOMPARE(box->itemText(111), QString("VV"));
            QVERIFY(box->isEditable());
            QCOMPARE(box->currentIndex(), -1);
        }
        QCOMPARE(provinceCodes().size(), 112);

        // Five shaded sections, each with its picture.
        const QList<QGroupBox *> sections{w.grpAnagrafica, w.grpRecapiti, w.grpPagamenti, w.grpProfilo, w.grpQuestioni};
        for (QGroupBox *section : sections) {
            auto *icon = section->findChild<QLabel *>("ico" + section->objectName().mid(3));
            QVERIFY2(icon && !icon->pixmap().isNull(), qPrintable(section->objectName()));
        }
        QCOMPARE(w.txtCliente->parentWidget(), w.grpAnagrafica);
        QCOMPARE(w.txtEstremi->parentWidget(), w.grpAnagrafica);
        QCOMPARE(w.txtEmail->parentWidget(), w.grpRecapiti);
        QCOMPARE(w.txtIban->parentWidget(), w.grpPagamenti);
        QCOMPARE(w.txtZona->parentWidget(), w.grpProfilo);
        QCOMPARE(w.txtNote->parentWidget(), w.grpQuestioni);
    }

    void tabOrderIncludesTheCheckBoxAt28()
    {
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        QCOMPARE(card.focusName(), QString("txtCliente"));
        QStringList visited{card.focusName()};
        for (int i = 0; i < 30; ++i) {
            card.key(Qt::Key_Tab);
            visited << card.focusName();
        }
        QStringList expected;
        for (const auto &box : kBoxes)
            expected << "txt" + box.first;
        expected.insert(28, "chkRicontatta");
        expected << "txtCliente"; // and round again
        QCOMPARE(visited.mid(0, 31), expected);
        // Shift+Tab goes back.
        card.key(Qt::Key_Backtab);
        QCOMPARE(card.focusName(), QString("txtNote"));
        card.key(Qt::Key_Backtab);
        QCOMPARE(card.focusName(), QString("chkRicontatta"));
    }

    void enterChainSkipsTheCheckBox()
    {
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        QVERIFY(card.w.highlightOf(card.w.txtCliente)->isVisible());
        for (int i = 1; i <= kBoxes.size(); ++i) {
            QWidget *before = card.focus();
            card.key(Qt::Key_Return);
            const QString expected = "txt" + kBoxes.at(i % kBoxes.size()).first;
            QCOMPARE(card.focusName(), expected);
            QVERIFY(card.w.highlightOf(card.focus())->isVisible());
            QVERIFY(!card.w.highlightOf(before)->isVisible());
        }
        QCOMPARE(card.focusName(), QString("txtCliente"));
    }

    void typingRules_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("province of birth upper case") << "ProvNasc" << "rm" << "RM";
        QTest::newRow("province blank removed at once") << "ProvRes" << "m " << "M";
        QTest::newRow("province leading blank") << "ProvRes" << " t" << "T";
        QTest::newRow("province accent kept") << "ProvNasc" << QString("\u00E8a") << QString("\u00E8A");
        QTest::newRow("sex upper case") << "Sesso" << "a" << "A";
        QTest::newRow("sex blank stays") << "Sesso" << " " << " ";
        QTest::newRow("fiscal code") << "CodFisc" << " rssmra80a01h501u" << "RSSMRA80A01H501U";
        QTest::newRow("IBAN blanks at the end go at once") << "Iban" << " it60 x054 " << "IT60X054";
        QTest::newRow("e-mail trimmed, case kept") << "Email" << " Mario.Rossi@Example.it " << "Mario.Rossi@Example.it";
        QTest::newRow("postal code upper case") << "CapRes" << "00a1b" << "00A1B";
        QTest::newRow("card digits only") << "Carta" << "4111 abcd-1111" << "41111111";
        QTest::newRow("VAT digits up to 11") << "PartitaIva" << "0123456789012" << "01234567890";
        QTest::newRow("plain box as typed") << "Cliente" << "  rossi mario " << "  rossi mario ";
        QTest::newRow("accented letters not folded") << "CodFisc" << QString("\u00E0b") << QString("\u00E0B");
    }
    void typingRules()
    {
        QFETCH(QString, stem);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.focusOn(stem);
        card.type(typed);
        QCOMPARE(card.text(stem), shown);
        QCOMPARE(messages.count(), 0);
    }

    void leavingTidiesProvinceAndEmail()
    {
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        // Texts put there without typing are tidied when the user leaves the box.
        card.focusOn("ProvRes");
        card.setText("ProvRes", "n ");
        card.key(Qt::Key_Tab);
        QCOMPARE(card.text("ProvRes"), QString("N"));
        card.focusOn("Email");
        card.box("txtEmail")->setText(" a@b.it\t");
        card.key(Qt::Key_Tab);
        QCOMPARE(card.text("Email"), QString("a@b.it"));
    }

    void retypingKeepsTheCaret_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("caret");
        QTest::newRow("upper case") << "CodFisc" << "ABXC" << 3;
        QTest::newRow("postal code") << "CapRes" << "ABXC" << 3;
        QTest::newRow("digits") << "Carta" << "12" << 1;
    }
    void retypingKeepsTheCaret()
    {
        QFETCH(QString, stem);
        QFETCH(QString, shown);
        QFETCH(int, caret);
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        card.focusOn(stem);
        card.type(stem == "Carta" ? "12" : "abc");
        card.key(Qt::Key_Left);
        card.type(stem == "Carta" ? "z" : "x");
        QCOMPARE(card.text(stem), shown);
        QCOMPARE(card.box("txt" + stem)->cursorPosition(), caret);
    }

    void digitBoxesKeepEditingKeysAndTab_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("previous");
        QTest::newRow("card") << "Carta" << "txtScadeCarta" << "txtCodFisc";
        QTest::newRow("VAT") << "PartitaIva" << "txtIban" << "txtScadeCarta";
    }
    void digitBoxesKeepEditingKeysAndTab()
    {
        QFETCH(QString, stem);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        QLineEdit *box = card.box("txt" + stem);
        card.focusOn(stem);
        card.type("1234");
        card.key(Qt::Key_Left);
        card.key(Qt::Key_Left);
        QCOMPARE(box->cursorPosition(), 2);
        for (Qt::Key k : {Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Down, Qt::Key_Space})
            card.key(k);
        QCOMPARE(box->cursorPosition(), 2);
        card.key(Qt::Key_Backspace);
        card.key(Qt::Key_Delete);
        QCOMPARE(box->text(), QString("14"));
        card.key(Qt::Key_Right);
        QCOMPARE(box->cursorPosition(), 2);
        // A paste keeps only its digits, up to the box's length.
        box->clear();
        QApplication::clipboard()->setText("IT 0123-4567 89012 34");
        card.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString("012345678901234").left(box->maxLength()));
        // Tab and Shift+Tab still move on.
        card.focusOn(stem);
        card.key(Qt::Key_Tab);
        QCOMPARE(card.focusName(), next);
        card.focusOn(stem);
        card.key(Qt::Key_Backtab);
        QCOMPARE(card.focusName(), previous);
        // Enter moves on too.
        card.focusOn(stem);
        card.key(Qt::Key_Return);
        QCOMPARE(card.focusName(), next);

        // The context menu's Paste does the same.
        box->clear();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &menuEvent);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *paste = nullptr;
        for (QAction *action : menu->actions())
            if (action->text().endsWith("\t" + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)))
                paste = action;
        QVERIFY(paste && paste->isEnabled());
        paste->trigger();
        menu->close();
        QCOMPARE(box->text(), QString("012345678901234").left(box->maxLength()));
    }

    void provinceSelectionResetOnFocus()
    {
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        card.w.txtProvNasc->setCurrentIndex(int(provinceCodes().indexOf("PG")));
        QCOMPARE(card.text("ProvNasc"), QString("PG"));
        card.focusOn("Cliente");
        card.focusOn("ProvNasc");
        QCOMPARE(card.w.txtProvNasc->currentIndex(), -1);
        QCOMPARE(card.text("ProvNasc"), QString("PG"));

        // The wheel over a box without the focus leaves its code alone.
        card.focusOn("Cliente");
        card.w.txtProvRes->setEditText("RM");
        QWheelEvent wheel(QPointF(5, 5), card.w.txtProvRes->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(card.w.txtProvRes, &wheel);
        QCOMPARE(card.text("ProvRes"), QString("RM"));
        QCOMPARE(card.w.txtProvRes->currentIndex(), -1);
    }

    void recordIsShownExactlyAsStored()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::writeRecords(archive(), qvtest::participantFields(),
                             {{{"Cliente", "Rossi"}, {"ProvNasc", "rm"}, {"ProvRes", "x "}, {"Sesso", "m"},
                               {"CodFisc", "rssmra"}, {"Iban", "it 60"}, {"Carta", "12ab"}, {"PartitaIva", "IT0123"},
                               {"CapRes", "0a1"}, {"Email", "A@B.IT"}, {"Ricontatta", "S\u00EC"}}});
        Card card;
        QVERIFY(card.ok);
        card.click("cmdPrimo");
        QCOMPARE(card.pos(), QString("1"));
        QCOMPARE(card.text("ProvNasc"), QString("rm"));
        QCOMPARE(card.text("ProvRes"), QString("x"));
        QCOMPARE(card.text("Sesso"), QString("m"));
        QCOMPARE(card.text("CodFisc"), QString("rssmra"));
        QCOMPARE(card.text("Iban"), QString("it 60"));
        QCOMPARE(card.text("Carta"), QString("12ab"));
        QCOMPARE(card.text("PartitaIva"), QString("IT0123"));
        QCOMPARE(card.text("CapRes"), QString("0a1"));
        QVERIFY(card.w.chkRicontatta->isChecked());
        QCOMPARE(card.w.txtProvNasc->currentIndex(), -1);
        // Keys that only move leave the shown text alone; typing applies the rule.
        card.focusOn("CapRes");
        QTest::sendKeyEvent(QTest::Release, card.box("txtCapRes"), Qt::Key_Tab, QString(), {});
        card.key(Qt::Key_End);
        QCOMPARE(card.text("CapRes"), QString("0a1"));
        card.type("b");
        QCOMPARE(card.text("CapRes"), QString("0A1B"));
        QCOMPARE(card.w.txtProvRes->accessibleName(), QString("Provincia di residenza"));
        QCOMPARE(messages.count(), 0);
    }

    void saveWritesEveryFieldAtItsOffset()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        // Every box typed by the user, in tab order.
        const QList<QPair<QString, QString>> typed{
            {"Cliente", "  Rossi Mario  "}, {"DataNasc", "1 gennaio 1980"}, {"ComuneNasc", "Citt\u00E0 di Castello"},
            {"ProvNasc", "pg"}, {"Sesso", "m"}, {"Recapito", "347 1234567"}, {"IndirizzoRes", "Via Roma 1"},
            {"ProvRes", "rm"}, {"ComuneRes", "Roma"}, {"CapRes", "00100"}, {"Estremi", "Bonifico \u20AC"},
            {"TelCasa", "06 111"}, {"TelUff", "06 222"}, {"TelCel", "333 333"}, {"Fax", "06 444"},
            {"Email", " mario@example.it"}, {"CodFisc", "rssmra80a01h501u "}, {"Carta", "4111111111111111"},
            {"ScadeCarta", "12/2030"}, {"PartitaIva", "01234567890"}, {"Iban", " it60 x054 2811 1010 0000 0123 456"},
            {"Documento", "C.I. AX123"}, {"Occupazione", "Ingegnere"}, {"Civile", "Coniugato"},
            {"Titoli", "Dott. Ing."}, {"Prodotti", "Convegni"}, {"Zona", "Centro"},
            {"Questioni", "Fattura"}, {"Note", "Nessuna"},
        };
        for (const auto &[stem, text] : typed) {
            card.focusOn(stem);
            card.type(text);
        }
        card.focusOn("Cliente");
        card.w.chkRicontatta->setChecked(true);
        card.click("cmdSalva");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card.pos(), QString("1"));

        const QByteArray file = folder.read("Partecipanti.pro");
        QCOMPARE(file.size(), 3372);
        const QHash<QString, QByteArray> expected{
            {"Cliente", "Rossi Mario"}, {"DataNasc", "1 gennaio 1980"}, {"ComuneNasc", "Citt\xE0 di Castello"},
            {"ProvNasc", "PG"}, {"Sesso", "M"}, {"Recapito", "347 1234567"}, {"IndirizzoRes", "Via Roma 1"},
            {"ProvRes", "RM"}, {"ComuneRes", "Roma"}, {"CapRes", "00100"}, {"Estremi", "Bonifico \x80"},
            {"TelCasa", "06 111"}, {"TelUff", "06 222"}, {"TelCel", "333 333"}, {"Fax", "06 444"},
            {"Email", "mario@example.it"}, {"CodFisc", "RSSMRA80A01H501U"}, {"Carta", "4111111111111111"},
            {"ScadeCarta", "12/2030"}, {"PartitaIva", "01234567890"}, {"Iban", "IT60X0542811101000000123456"},
            {"Documento", "C.I. AX123"}, {"Occupazione", "Ingegnere"}, {"Civile", "Coniugato"},
            {"Titoli", "Dott. Ing."}, {"Prodotti", "Convegni"}, {"Zona", "Centro"},
            {"Questioni", "Fattura"}, {"Note", "Nessuna"}, {"Ricontatta", "S\xEC"},
        };
        for (const auto &[name, declared] : qvtest::participantFields()) {
            const QByteArray stored = qvtest::countedAt(file, qvtest::participantOffset(name));
            QCOMPARE(stored, expected.value(name));
        }
        QCOMPARE(file.mid(1863, 3), QByteArray("\x02S\xEC", 3));

        // Saved again: overwritten in place.
        card.w.chkRicontatta->setChecked(false);
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kUpdated);
        const QByteArray again = folder.read("Partecipanti.pro");
        QCOMPARE(again.size(), 3372);
        QCOMPARE(again.mid(1863, 3), QByteArray("\x02No", 3));
    }

    void saveNeedsAName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("tab") << "\t";
    }
    void saveNeedsAName()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.box("txtCliente")->setText(name);
        card.box("txtNote")->setText("note");
        card.focusOn("Note");
        card.click("cmdSalva");
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, kNameWarning);
        QCOMPARE(card.focusName(), QString("txtCliente"));
        QVERIFY(!QFile::exists(archive())); // never opened
    }

    void nameOnlyStoresEmptyFieldsAndNo()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.type("Bianchi");
        card.click("cmdSalva");
        card.click("cmdNuovo");
        card.type("Verdi");
        card.click("cmdSalva");
        const QByteArray file = folder.read("Partecipanti.pro");
        QCOMPARE(file.size(), 6744);
        QCOMPARE(qvtest::countedAt(file, 0), QByteArray("Bianchi"));
        QCOMPARE(qvtest::countedAt(file, 3372), QByteArray("Verdi"));
        for (const auto &[name, declared] : qvtest::participantFields()) {
            if (name == "Cliente")
                continue;
            const QByteArray stored = qvtest::countedAt(file, qvtest::participantOffset(name));
            QCOMPARE(stored, name == "Ricontatta" ? QByteArray("No") : QByteArray());
        }
        QCOMPARE(card.pos(), QString("2"));
    }

    void duplicateKeepsAllButTheAttachments()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        // Duplicating a new card is refused.
        card.click("cmdDuplica");
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, CardOperations::kDuplicateNew);

        card.type("Rossi Mario");
        card.focusOn("ComuneRes");
        card.type("Roma");
        card.w.chkRicontatta->setChecked(true);
        card.w.lblFile01->setText("a.pdf");
        card.w.lblDesc01->setText("Documento");
        card.w.lblFile03->setText("c.pdf");
        card.click("cmdSalva");
        card.click("cmdDuplica");
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, CardOperations::kDuplicated);
        QVERIFY(card.pos().isEmpty());
        QCOMPARE(card.text("Cliente"), QString("Rossi Mario"));
        QCOMPARE(card.text("ComuneRes"), QString("Roma"));
        QVERIFY(card.w.chkRicontatta->isChecked());
        for (QLabel *l : {card.w.lblFile01, card.w.lblFile02, card.w.lblFile03, card.w.lblDesc01,
                          card.w.lblDesc02, card.w.lblDesc03})
            QVERIFY(l->text().isEmpty());
        QCOMPARE(card.focusName(), QString("txtCliente"));
        card.click("cmdSalva");
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        const QByteArray file = folder.read("Partecipanti.pro");
        QCOMPARE(file.size(), 6744);
        QCOMPARE(qvtest::countedAt(file, qvtest::participantOffset("File01")), QByteArray("a.pdf"));
        QCOMPARE(qvtest::countedAt(file, 3372 + qvtest::participantOffset("File01")), QByteArray());
        QCOMPARE(qvtest::countedAt(file, 3372 + qvtest::participantOffset("Desc01")), QByteArray());
        QCOMPARE(qvtest::countedAt(file, 3372 + qvtest::participantOffset("File03")), QByteArray());
        QCOMPARE(qvtest::countedAt(file, 3372 + qvtest::participantOffset("ComuneRes")), QByteArray("Roma"));
        QCOMPARE(file.mid(3372 + 1863, 3), QByteArray("\x02S\xEC", 3));
    }

    void failedDuplicateLeavesANewCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::writeRecords(archive(), qvtest::participantFields(), {{{"Cliente", "Rossi"}, {"File01", "x.pdf"}}});
        Card card;
        QVERIFY(card.ok);
        card.click("cmdPrimo");
        QCOMPARE(card.w.lblFile01->text(), QString("x.pdf"));
        QFile::remove(archive());
        QDir(folder.path()).mkdir("Partecipanti.pro");
        card.click("cmdDuplica");
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QVERIFY(card.pos().isEmpty());
        QVERIFY(card.w.lblFile01->text().isEmpty());
        QCOMPARE(card.text("Cliente"), QString("Rossi"));
    }

    void browsing()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        for (const char *name : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo"}) {
            card.click(name);
            QCOMPARE(messages.last().kind, MessageKind::Information);
            QCOMPARE(messages.last().text, CardOperations::kEmptyArchive);
        }
        messages.clear();
        qvtest::writeRecords(archive(), qvtest::participantFields(),
                             {{{"Cliente", "Primo"}}, {{"Cliente", "Secondo"}}, {{"Cliente", "Terzo"}}});
        const QList<QPair<const char *, QString>> steps{
            {"cmdUltimo", "Terzo"}, {"cmdIndietro", "Secondo"}, {"cmdIndietro", "Primo"},
            {"cmdAvanti", "Secondo"}, {"cmdPrimo", "Primo"},
        };
        for (const auto &[button, name] : steps) {
            card.click(button);
            QCOMPARE(card.text("Cliente"), name);
        }
        QCOMPARE(card.pos(), QString("1"));
    }

    void everyEntryStartsANewCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::writeRecords(archive(), qvtest::participantFields(),
                             {{{"Cliente", "Rossi"}, {"Ricontatta", "S\u00EC"}, {"Desc02", "d"}, {"ProvRes", "RM"}}});
        QWidget menu;
        windows().mainMenu = &menu;
        {
            Card card;
            QVERIFY(card.ok);
            card.click("cmdUltimo");
            card.w.txtProvRes->setCurrentIndex(3);
            QCOMPARE(card.pos(), QString("1"));
            // Leaving shows the main menu; nothing is saved or asked.
            card.box("txtNote")->setText("unsaved");
            card.click("cmdEsci");
            QVERIFY(!card.w.isVisible());
            QVERIFY(menu.isVisible());
            QCOMPARE(folder.read("Partecipanti.pro").size(), 3372);
            QVERIFY(qvtest::countedAt(folder.read("Partecipanti.pro"), qvtest::participantOffset("Note")).isEmpty());

            card.w.show();
            QApplication::setActiveWindow(&card.w);
            QVERIFY(QTest::qWaitForWindowActive(&card.w));
            QVERIFY(card.pos().isEmpty());
            QVERIFY(card.text("Cliente").isEmpty());
            QVERIFY(card.text("ProvRes").isEmpty());
            QCOMPARE(card.w.txtProvRes->currentIndex(), -1);
            QVERIFY(!card.w.chkRicontatta->isChecked());
            QVERIFY(card.w.lblDesc02->text().isEmpty());
            QCOMPARE(card.focusName(), QString("txtCliente"));
            card.w.close();
            QVERIFY(!card.w.isVisible());
        }
        windows().mainMenu = nullptr;
        QCOMPARE(messages.count(), 0);
    }

    void emailButton_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("command");
        QTest::newRow("address") << " mario@example.it " << "\"mailto:mario@example.it\"";
        QTest::newRow("empty") << "" << "\"mailto:\"";
    }
    void emailButton()
    {
        QFETCH(QString, address);
        QFETCH(QString, command);
        TempProgramFolder folder;
        qvtest::ShellRecorder shell;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.box("txtEmail")->setText(address);
        card.click("btnEmail");
        QCOMPARE(shell.commands, QStringList{command});
        QCOMPARE(messages.count(), 0);
    }

    void checkButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("dialogBox");
        QTest::newRow("fiscal code") << "btnCodFisc" << "CodFisc" << "RSSMRA80A01H501U" << "TfrmCodFisc" << "RSSMRA80A01H501U";
        QTest::newRow("fiscal code of a company") << "btnCodFisc" << "CodFisc" << "  01234567890 " << "TfrmPartitaIva" << "01234567890";
        QTest::newRow("empty fiscal code") << "btnCodFisc" << "CodFisc" << "" << "TfrmCodFisc" << "";
        QTest::newRow("card") << "btnCarta" << "Carta" << "4111111111111111 " << "TfrmCarta" << "4111111111111111";
        QTest::newRow("VAT") << "btnPartitaIva" << "PartitaIva" << "01234567890" << "TfrmPartitaIva" << "01234567890";
        QTest::newRow("IBAN") << "btnIban" << "Iban" << "IT60X0542811101000000123456" << "TfrmIban" << "IT60X0542811101000000123456";
    }
    void checkButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, stem);
        QFETCH(QString, text);
        QFETCH(QString, dialog);
        QFETCH(QString, dialogBox);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.box("txt" + stem)->setText(text);
        QString opened, boxText;
        QWidget *owner = nullptr;
        qvtest::whenModal([&](QWidget *d) {
            opened = QString::fromLatin1(d->metaObject()->className());
            owner = d->parentWidget();
            const QHash<QString, QString> boxes{{"TfrmCodFisc", "txtCodFisc"}, {"TfrmPartitaIva", "txtPartitaIva"},
                                                {"TfrmCarta", "txtNumero"}, {"TfrmIban", "txtIban"}};
            if (auto *box = d->findChild<QLineEdit *>(boxes.value(opened)))
                boxText = box->text();
        });
        card.click(button);
        QCOMPARE(opened, dialog);
        QCOMPARE(boxText, dialogBox);
        QCOMPARE(owner, &card.w);
        QCOMPARE(card.box("txt" + stem)->text(), text); // nothing written back
        QVERIFY(!QFile::exists(archive()));
    }

    void guideButton()
    {
        TempProgramFolder folder;
        Card card;
        QVERIFY(card.ok);
        QString title;
        qvtest::whenModal([&](QWidget *d) {
            if (auto *guide = qobject_cast<TfrmGuida *>(d))
                title = guide->lblTitolo->text();
        });
        card.click("cmdGuida");
        QCOMPARE(title, QString("Anagrafica Partecipanti."));
    }

    void buttonColumnTopToBottom()
    {
        const QList<std::tuple<QString, QString, QString>> expected{
            {"cmdNuovo", "Nuovo", "Prepara la schermata per la registrazione di una nuova scheda."},
            {"cmdDuplica", "Duplica",
             "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
            {"cmdFile", "Allega file", "Allega file alla scheda corrente."},
            {"cmdSalva", "Salva", "Salva la scheda corrente in archivio."},
            {"cmdTrova", "Trova", "Trova una scheda in archivio."},
            {"cmdAnteprima", "Anteprima", "Visualizza l'anteprima di stampa."},
            {"cmdStampa", "Stampa", "Stampa la scheda corrente."},
            {"cmdPDF", "Crea PDF", "Esporta la scheda in formato PDF."},
            {"cmdRicontatta", "Da ricontattare", "Visualizza il riepilogo dei partecipanti da ricontattare."},
            {"cmdEsporta", "Esporta archivio", "Esporta le schede in archivio in un file di Microsoft Excel."},
            {"cmdImporta", "Importa",
             "Importa partecipanti da un file CSV, da una cartella di lavoro di Excel o da un file di contatti vCard."},
            {"cmdGuida", "Guida", "Visualizza la guida in linea."},
            {"cmdEsci", "Esci", "Esci dalla schermata di lavoro corrente."},
        };
        TfrmClienti w;
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int lastY = -1;
        int x = -1;
        for (const auto &[name, label, hint] : expected) {
            auto *button = w.findChild<QToolButton *>(name);
            QVERIFY2(button, qPrintable(name));
            const QPoint at = button->mapTo(&w, QPoint(0, 0));
            QVERIFY2(at.y() > lastY, qPrintable(name));
            QVERIFY(at.x() > w.width() / 2); // on the right
            if (x >= 0)
                QCOMPARE(at.x(), x);
            x = at.x();
            lastY = at.y();
            QCOMPARE(button->text(), label);
            QCOMPARE(button->accessibleName(), label);
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(name)); // label not clipped
            QVERIFY(at.y() + button->height() <= w.height());
            hover(button);
            QCOMPARE(w.panInfo->text(), hint);
            unhover(button);
            QCOMPARE(w.panInfo->text(), QString());
        }
        // The navigation arrows at the bottom right, around the record number.
        int lastX = -1;
        for (QWidget *nav : {static_cast<QWidget *>(w.cmdPrimo), static_cast<QWidget *>(w.cmdIndietro),
                             static_cast<QWidget *>(w.lblPosizione), static_cast<QWidget *>(w.cmdAvanti),
                             static_cast<QWidget *>(w.cmdUltimo)}) {
            const QPoint at = nav->mapTo(&w, QPoint(0, 0));
            QVERIFY(at.x() > lastX);
            QVERIFY(at.x() > w.width() / 2);
            QVERIFY(at.y() > w.height() - 60);
            lastX = at.x();
        }
        QVERIFY(w.panInfo->mapTo(&w, QPoint(0, 0)).x() < 10);
    }

    void otherHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::newRow("cmdPrimo") << "cmdPrimo" << "Visualizza la prima scheda in archivio.";
        QTest::newRow("cmdIndietro") << "cmdIndietro" << "Visualizza la scheda precedente in archivio.";
        QTest::newRow("cmdAvanti") << "cmdAvanti" << "Visualizza la scheda successiva in archivio.";
        QTest::newRow("cmdUltimo") << "cmdUltimo" << "Visualizza l'ultima scheda in archivio.";
        QTest::newRow("btnCodFisc") << "btnCodFisc" << "Verifica il codice fiscale.";
        QTest::newRow("btnCarta") << "btnCarta" << "Verifica il numero di carta di credito.";
        QTest::newRow("btnPartitaIva") << "btnPartitaIva" << "Verifica il numero di partita IVA.";
        QTest::newRow("btnIban") << "btnIban" << "Verifica l'IBAN.";
        QTest::newRow("btnEmail") << "btnEmail" << "Invia una e-mail all'indirizzo indicato.";
        QTest::newRow("chkRicontatta") << "chkRicontatta"
                                       << QString("Annota che il partecipante \u00E8 da ricontattare per questioni in sospeso.");
    }
    void otherHints()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        TfrmClienti w;
        auto *control = w.findChild<QWidget *>(name);
        QVERIFY(control);
        // The background, a section, the button column, the bar, a box and the number empty the bar.
        for (QWidget *plain : {static_cast<QWidget *>(&w), static_cast<QWidget *>(w.grpPagamenti),
                               w.findChild<QWidget *>("panPulsanti"), static_cast<QWidget *>(w.panInfo),
                               static_cast<QWidget *>(w.txtNote), static_cast<QWidget *>(w.lblPosizione)}) {
            hover(control);
            QCOMPARE(w.panInfo->text(), hint);
            hover(plain);
            QCOMPARE(w.panInfo->text(), QString());
        }
    }

    void fitsA1366By768Screen()
    {
        TfrmClienti w;
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *scroll = w.findChild<QScrollArea *>("scrScheda");
        QVERIFY(scroll);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
        // Every label and box shows whole, inside the visible card.
        const QRect visible = scroll->viewport()->rect();
        for (QWidget *box : w.editBoxes()) {
            const QRect r(box->mapTo(scroll->viewport(), QPoint(0, 0)), box->size());
            QVERIFY2(visible.contains(r), qPrintable(box->objectName()));
            QVERIFY2(box->width() >= 40, qPrintable(box->objectName()));
        }
        for (QLabel *label : w.findChildren<QLabel *>()) {
            if (!label->isVisible() || label->text().isEmpty() || label->wordWrap())
                continue;
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        QVERIFY(w.chkRicontatta->width() >= w.chkRicontatta->sizeHint().width());
        // On a smaller screen the card scrolls instead of squeezing.
        w.resize(1024, 600);
        QApplication::processEvents();
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0 || scroll->horizontalScrollBar()->maximum() > 0);
    }

    void outputButtonsOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("attachments") << "cmdFile" << "frmAllegaCartella";
        QTest::newRow("export") << "cmdEsporta" << "frmExpClienti";
    }
    void outputButtonsOpenTheirWindows()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        QString opened;
        qvtest::whenModal([&opened](QWidget *dialog) { opened = dialog->objectName(); });
        card.click(button);
        QCOMPARE(opened, window);
    }

    void sheetButtonsPrintTheCardAsTyped()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        qvtest::ShellRecorder shell;
        Card card;
        QVERIFY(card.ok);
        card.w.txtCliente->setText("Rossi Mario");
        QList<PageOutput::Destination> destinations;
        QStringList texts;
        PageOutput::setHandler([&](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            destinations.append(d);
            for (const page::Page &p : doc.pages)
                for (const page::TextBox *box : p.textBoxes())
                    texts.append(box->text);
        });
        card.click("cmdAnteprima");
        card.click("cmdStampa");
        PageOutput::setHandler({});
        QCOMPARE(destinations, (QList<PageOutput::Destination>{PageOutput::Destination::Preview,
                                                                PageOutput::Destination::Printer}));
        QVERIFY(texts.contains("Rossi Mario"));
        messages.answers = {false};
        card.click("cmdPDF");
        QVERIFY(QFile::exists(folder.file("Partecipante.pdf")));
        QVERIFY(shell.commands.isEmpty());
        QCOMPARE(card.w.txtCliente->text(), QStringLiteral("Rossi Mario")); // nothing saved or cleared
        QVERIFY(folder.read("Partecipanti.pro").isEmpty());
    }

    void ctrlSSavesFromABox()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        Card card;
        QVERIFY(card.ok);
        card.w.txtCliente->setText("Bianchi Anna");
        card.w.txtNote->setFocus();
        QTest::keyClick(card.w.txtNote, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(card.w.txtNote->text(), QString());
        QCOMPARE(folder.read("Partecipanti.pro").size(), 3372);
    }
};

QTEST_MAIN(TestClienti)
#include "tst_clienti.moc"
