#include "ui/form.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace qv;

namespace {

// A small window described as data, with a little of every kind of row.
class Window : public QWidget
{
public:
    Window()
    {
        form = buildForm(this, description());
        setWindowState(Qt::WindowNoState);
        resize(900, 500);
    }

    FormDescription description()
    {
        return {
            .name = "frmProva",
            .title = " Prova",
            .heading = "Prova",
            .tools = {
                {"cmdSalva", "save", "Salva la scheda.", [this] { ++saved; }, &cmdSalva},
                ToolEntry::separator(),
                ToolEntry::position(&lblPosizione),
                ToolEntry::stretch(),
                ToolEntry::heading(),
            },
            .sections = {
                {.name = "grpUno", .title = "Uno", .picture = "section_event", .to = &grpUno, .rows = {
                    {.label = "Nome:", .name = "txtNome", .length = 20, .to = &txtNome},
                    {.label = "Ora:", .name = "txtOra", .length = 5, .width = "00:000", .join = true},
                    {.label = "Codice:", .name = "txtCodice", .length = 16, .rule = Rule::TrimmedUpper,
                     .beside = {"btnVerifica", "check", "Verifica il codice.", [this] { ++checked; }, &btnVerifica}},
                    {.label = "Data:", .name = "txtData", .length = 10, .width = "00/00/00000", .rule = Rule::Picker,
                     .beside = {"impData", "calendar_import", "Importa una data.", [this] { ++picked; }}},
                }},
                {.name = "grpDue", .title = "Due", .picture = "section_notes", .column = 1, .rows = {
                    {.label = "Quota:", .name = "txtQuota", .length = 15, .width = "000000000000000,00",
                     .rule = Rule::Amount, .initial = "0,00"},
                    {.label = "Fatto", .name = "chkFatto", .kind = Control::Check, .hint = "Segna la scheda."},
                    {.label = "Prov.", .name = "txtProv", .kind = Control::Province, .length = 2,
                     .accessibleName = "Provincia"},
                    {.label = "Note:", .name = "txtNote", .length = 50, .enter = "txtCodice"},
                }},
            },
            .hidden = {{"lblFile01"}},
            .infoLabel = &panInfo,
        };
    }

    Form *form = nullptr;
    ClickablePicture *cmdSalva = nullptr, *btnVerifica = nullptr;
    QLabel *lblPosizione = nullptr, *panInfo = nullptr;
    QGroupBox *grpUno = nullptr;
    QLineEdit *txtNome = nullptr;
    int saved = 0, checked = 0, picked = 0;
};

QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->parentWidget() && focus->parentWidget()->objectName() == "txtProv")
        return "txtProv"; // the province box's own edit line stands for the box
    return focus ? focus->objectName() : QString();
}

void hover(QWidget *w)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &enter);
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT
private slots:
    void builtAsDescribed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("section");
        QTest::newRow("txtNome") << "txtNome" << "Nome:" << 20 << "grpUno";
        QTest::newRow("txtOra") << "txtOra" << "Ora:" << 5 << "grpUno";
        QTest::newRow("txtCodice") << "txtCodice" << "Codice:" << 16 << "grpUno";
        QTest::newRow("txtData") << "txtData" << "Data:" << 10 << "grpUno";
        QTest::newRow("txtQuota") << "txtQuota" << "Quota:" << 15 << "grpDue";
        QTest::newRow("txtNote") << "txtNote" << "Note:" << 50 << "grpDue";
    }
    void builtAsDescribed()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(int, maxLength);
        QFETCH(QString, section);
        Window w;
        QCOMPARE(w.objectName(), QString("frmProva"));
        QCOMPARE(w.windowTitle(), QString(" Prova"));
        auto *box = w.findChild<QLineEdit *>(name);
        QVERIFY(box);
        QCOMPARE(box->maxLength(), maxLength);
        QCOMPARE(box->parentWidget()->objectName(), section);
        auto *caption = w.findChild<QLabel *>("lbl" + name.mid(3));
        QVERIFY(caption);
        QCOMPARE(caption->text(), label);
        QCOMPARE(caption->buddy(), box);
        QCOMPARE(w.form->highlightOf(box), w.findChild<QFrame *>("eff" + name.mid(3)));
    }

    void membersAndParts()
    {
        Window w;
        QCOMPARE(w.txtNome, w.findChild<QLineEdit *>("txtNome"));
        QCOMPARE(w.cmdSalva, w.findChild<ClickablePicture *>("cmdSalva"));
        QCOMPARE(w.btnVerifica, w.findChild<ClickablePicture *>("btnVerifica"));
        QCOMPARE(w.grpUno->title(), QString("Uno"));
        QVERIFY(!w.grpUno->findChild<QLabel *>("icoUno")->pixmap().isNull());
        QCOMPARE(w.lblPosizione->objectName(), QString("lblPosizione"));
        QCOMPARE(w.panInfo->text(), QString("Pronto per archiviare una nuova scheda..."));
        QCOMPARE(w.findChild<QLabel *>("lblIntestazione")->text(), QString("Prova"));
        QVERIFY(w.findChild<QLabel *>("lblFile01")->isHidden());
        // A default is the box's text from the start; a picker box is read-only.
        QCOMPARE(w.findChild<QLineEdit *>("txtQuota")->text(), QString("0,00"));
        QVERIFY(w.findChild<QLineEdit *>("txtData")->isReadOnly());
        QVERIFY(!w.findChild<QLineEdit *>("txtNome")->isReadOnly());
        // A box with a width shows that text whole; a box without fills its cell.
        auto *ora = w.findChild<QLineEdit *>("txtOra");
        QCOMPARE(ora->width(), widthFor(ora, "00:000"));
        QCOMPARE(ora->maximumWidth(), ora->minimumWidth());
        QCOMPARE(w.txtNome->maximumWidth(), QWIDGETSIZE_MAX);
        // The province box and the check box have no highlight.
        QCOMPARE(w.form->boxes().size(), 7);
        QVERIFY(!w.form->highlightOf(w.findChild<QCheckBox *>("chkFatto")));
    }

    void tabOrderIsTheDescription()
    {
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.txtNome->setFocus();
        const QStringList expected{"txtNome", "txtOra",  "txtCodice", "txtData", "txtQuota",
                                   "chkFatto", "txtProv", "txtNote",   "txtNome"};
        QStringList visited{focusName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        QCOMPARE(visited, expected);
        QStringList order;
        for (QWidget *control : w.form->tabOrder())
            order << control->objectName();
        QCOMPARE(order, expected.mid(0, 8));
    }

    void enterChain_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("next box") << "txtNome" << "txtOra";
        QTest::newRow("over a picker") << "txtCodice" << "txtData";
        QTest::newRow("over the check box") << "txtQuota" << "txtProv";
        QTest::newRow("named in the row") << "txtNote" << "txtCodice";
    }
    void enterChain()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.findChild<QWidget *>(from)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focusName(), to);
        QCOMPARE(w.picked, 0);
    }

    void pickerBoxTakesItsKeys()
    {
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *date = w.findChild<QLineEdit *>("txtData");
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Return);
        QTest::keyClick(date, Qt::Key_5);
        QCOMPARE(w.picked, 2); // any key presses its picture
        QCOMPARE(focusName(), QString("txtData"));
        date->setText("01/02/2030");
        QTest::keyClick(date, Qt::Key_Delete);
        QCOMPARE(date->text(), QString());
        QCOMPARE(w.picked, 2);
    }

    void hintsKeysAndNames()
    {
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // Hints on the information bar; everything else empties it.
        hover(w.cmdSalva);
        QCOMPARE(w.panInfo->text(), QString("Salva la scheda."));
        hover(w.txtNome);
        QCOMPARE(w.panInfo->text(), QString());
        auto *check = w.findChild<QCheckBox *>("chkFatto");
        hover(check);
        QCOMPARE(w.panInfo->text(), QString("Segna la scheda."));
        QCOMPARE(w.form->infoBar()->hint(w.btnVerifica), QString("Verifica il codice."));

        // Screen readers: a picture is named by its hint, a check box by its caption.
        QCOMPARE(w.cmdSalva->accessibleName(), QString("Salva la scheda."));
        QCOMPARE(check->accessibleName(), QString());
        QCOMPARE(check->accessibleDescription(), QString("Segna la scheda."));
        QCOMPARE(w.findChild<QWidget *>("txtProv")->accessibleName(), QString("Provincia"));
        QCOMPARE(w.lblPosizione->accessibleName(), QString("Numero della scheda"));

        // Keys: the house map for the toolbar, F4 beside a box (not beside a picker box).
        QCOMPARE(shortcutOf(w.cmdSalva), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(w.cmdSalva->toolTip(), QString("Salva la scheda. (Ctrl+S)"));
        QCOMPARE(shortcutOf(w.btnVerifica), QKeySequence(Qt::Key_F4));
        QVERIFY(shortcutOf(w.findChild<QWidget *>("impData")).isEmpty());
        w.txtNome->setFocus();
        QTest::keyClick(w.txtNome, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.saved, 1);
        QTest::keyClick(w.txtNome, Qt::Key_F4);
        QCOMPARE(w.checked, 0); // F4 belongs to the box beside the picture
        auto *code = w.findChild<QLineEdit *>("txtCodice");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_F4);
        QCOMPARE(w.checked, 1);
        QTest::mouseClick(w.btnVerifica, Qt::LeftButton);
        QCOMPARE(w.checked, 2);
    }

    void typingRules()
    {
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *code = w.findChild<QLineEdit *>("txtCodice");
        code->setFocus();
        QTest::keyClicks(code, " rss ");
        QCOMPARE(code->text(), QString("RSS"));
        auto *amount = w.findChild<QLineEdit *>("txtQuota");
        amount->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(amount, "12a,5");
        QCOMPARE(amount->text(), QString("12,5"));
        w.txtNome->setFocus(Qt::TabFocusReason);
        QCOMPARE(amount->text(), QString("12,50"));
    }

    // A box still holding its default selects it whole when entered, so what
    // is typed replaces it; a click into a changed box places the caret.
    void defaultSelectedWhenEntered_data()
    {
        QTest::addColumn<bool>("byClick");
        QTest::newRow("click") << true;
        QTest::newRow("Tab") << false;
    }
    void defaultSelectedWhenEntered()
    {
        QFETCH(bool, byClick);
        Window w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *amount = w.findChild<QLineEdit *>("txtQuota");
        w.findChild<QWidget *>("txtData")->setFocus();
        if (byClick)
            QTest::mouseClick(amount, Qt::LeftButton, {}, QPoint(amount->width() - 12, amount->height() / 2));
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), QString("txtQuota"));
        QCOMPARE(amount->selectedText(), QString("0,00"));
        QTest::keyClicks(amount, "150");
        QCOMPARE(amount->text(), QString("150"));
        w.txtNome->setFocus(Qt::TabFocusReason);
        QCOMPARE(amount->text(), QString("150,00"));

        // Not the default any more: a click puts the caret where it lands.
        QTest::mouseClick(amount, Qt::LeftButton, {}, QPoint(amount->width() - 6, amount->height() / 2));
        QCOMPARE(focusName(), QString("txtQuota"));
        QVERIFY(!amount->hasSelectedText());
    }

    void rowsSpreadOnTallWindows()
    {
        Window w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *grid = w.grpUno->findChild<QGridLayout *>();
        QVERIFY(grid);
        // From the spacing of the description on a short window to at most
        // 14 pixels more on a tall one, a pixel at a time.
        QList<int> seen;
        for (int height = 150; height <= 1500; height += 10) {
            w.resize(900, height);
            seen << grid->verticalSpacing();
        }
        QCOMPARE(seen.first(), 8);
        QCOMPARE(seen.last(), 8 + 14);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QVERIFY(seen.contains(8 + 7));
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
