#include "frame/shortcuttable.h"
#include "ui/access.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace qv;

// A window of the program's own, as every window of the program is.
class CardWindow : public QWidget
{
    Q_OBJECT
};

namespace {

// A small card: two boxes and a toolbar of pictures, shown and active.
struct Window
{
    Window()
    {
        w.setWindowTitle(QStringLiteral(" Prova - Scheda"));
        box = new QLineEdit(&w);
        box->setObjectName(QStringLiteral("txtUno"));
        other = new QLineEdit(&w);
        other->setObjectName(QStringLiteral("txtDue"));
        save = new ClickablePicture(QStringLiteral("cmdSalva"), QIcon(), QStringLiteral("Salva la scheda."), &w);
        guide = new ClickablePicture(QStringLiteral("btnGuida"), QIcon(), QStringLiteral("Guida."), &w);
        check = new ClickablePicture(QStringLiteral("btnIban"), QIcon(), QStringLiteral("Verifica l'IBAN."), &w);
        auto *row = new QHBoxLayout(&w);
        for (QWidget *c : {static_cast<QWidget *>(box), static_cast<QWidget *>(other), static_cast<QWidget *>(save),
                           static_cast<QWidget *>(guide), static_cast<QWidget *>(check)})
            row->addWidget(c);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
        box->setFocus();
    }
    CardWindow w;
    QLineEdit *box, *other;
    ClickablePicture *save, *guide, *check;
    bool ok = false;
};

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    // Ctrl+W closes a dialog (a summary list among them) as Esc does; a
    // window whose own "Esci" takes the key keeps it; a card stays open.
    void ctrlWClosesWhatEscCloses()
    {
        installCloseKey();
        QDialog dialog;
        auto *box = new QLineEdit(&dialog);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(rejected.count(), 1);
        QVERIFY(!dialog.isVisible());

        QDialog withExit;
        auto *exitBox = new QLineEdit(&withExit);
        auto *exit = new ClickablePicture(QStringLiteral("cmdEsci"), QIcon(), QStringLiteral("Esci."), &withExit);
        auto *row = new QHBoxLayout(&withExit);
        row->addWidget(exitBox);
        row->addWidget(exit);
        applyStandardShortcuts(&withExit);
        QSignalSpy clicked(exit, &QAbstractButton::clicked);
        QSignalSpy notRejected(&withExit, &QDialog::rejected);
        withExit.show();
        QApplication::setActiveWindow(&withExit);
        QVERIFY(QTest::qWaitForWindowActive(&withExit));
        exitBox->setFocus();
        QTest::keyClick(exitBox, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(notRejected.count(), 0);
        withExit.hide();

        Window card;
        QVERIFY(card.ok);
        QTest::keyClick(card.box, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(card.w.isVisible());
    }

    void houseMap_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("new") << "cmdNuovo" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("new, reservations") << "btnNuovo" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("duplicate") << "cmdDuplica" << QKeySequence(Qt::CTRL | Qt::Key_D);
        QTest::newRow("save") << "btnSalva" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("find") << "cmdTrova" << QKeySequence(Qt::CTRL | Qt::Key_F);
        QTest::newRow("print") << "cmdStampa" << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("guide") << "imgGuida" << QKeySequence(Qt::Key_F1);
        QTest::newRow("leave") << "btnEsci" << QKeySequence(Qt::CTRL | Qt::Key_W);
        QTest::newRow("first") << "cmdPrimo" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp);
        QTest::newRow("previous") << "cmdIndietro" << QKeySequence(Qt::CTRL | Qt::Key_PageUp);
        QTest::newRow("next") << "cmdAvanti" << QKeySequence(Qt::CTRL | Qt::Key_PageDown);
        QTest::newRow("last") << "cmdUltimo" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown);
        QTest::newRow("save as") << "cmdSalvaCome" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("calendar") << "cmdCalendario" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
        QTest::newRow("import") << "cmdImporta" << QKeySequence(Qt::CTRL | Qt::Key_I);
        QTest::newRow("import file") << "cmdApriFile" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("badges") << "imgCartellini" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
        QTest::newRow("badges, booked seats") << "btnCartellini" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
        QTest::newRow("check-in") << "imgAccoglienza" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I);
        QTest::newRow("notice to all") << "btnAvvisoTutti" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M);
        QTest::newRow("attendance list") << "btnPresenze" << QKeySequence(Qt::CTRL | Qt::Key_L);
        QTest::newRow("undo an entry") << "btnAnnullaIngresso" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete);
        QTest::newRow("certificates") << "imgAttestati" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T);
        QTest::newRow("certificates, attendance list") << "btnAttestati" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T);
        QTest::newRow("signature sheet") << "imgFoglioFirme" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QTest::newRow("signature sheet, desk") << "btnFoglioFirme" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
        QTest::newRow("statistics, event selection") << "imgStatistiche" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
        QTest::newRow("statistics, events card") << "cmdStatistiche" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G);
        QTest::newRow("no key") << "btnIban" << QKeySequence();
    }
    void houseMap()
    {
        QFETCH(QString, control);
        QFETCH(QKeySequence, keys);
        QCOMPARE(standardShortcut(control), keys);
    }

    // No key of the map is one a one-line edit box uses for itself.
    void houseMapLeavesEditingKeysAlone()
    {
        QLineEdit box;
        for (const StandardShortcut &entry : standardShortcuts()) {
            const QKeyCombination chord = entry.keys[0];
            QKeyEvent probe(QEvent::ShortcutOverride, chord.key(), chord.keyboardModifiers());
            probe.ignore();
            QApplication::sendEvent(&box, &probe);
            QVERIFY2(!probe.isAccepted(), qPrintable(entry.keys.toString()));
        }
        // Within a window's map, one key presses one thing.
        QHash<QString, QStringList> byControl;
        for (const StandardShortcut &entry : standardShortcuts())
            for (const QString &name : entry.controls)
                byControl[name] << entry.keys.toString();
        for (auto it = byControl.cbegin(); it != byControl.cend(); ++it)
            QCOMPARE(it.value().size(), 1);
    }

    void keyText_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("ctrl") << QKeySequence(Qt::CTRL | Qt::Key_S) << "Ctrl+S";
        QTest::newRow("function") << QKeySequence(Qt::Key_F1) << "F1";
        QTest::newRow("page up") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp) << "Ctrl+Maiusc+Pag Su";
        QTest::newRow("page down") << QKeySequence(Qt::CTRL | Qt::Key_PageDown) << QStringLiteral("Ctrl+Pag Gi\u00F9");
    }
    void keyText()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, text);
        QCOMPARE(qv::keyText(keys), text);
    }

    // The key presses the picture at once (what is typed next lands on the
    // result), wherever the focus is; the tooltip and screen readers tell it.
    void shortcutPressesThePicture()
    {
        Window window;
        QVERIFY(window.ok);
        QCOMPARE(applyStandardShortcuts(&window.w), 2);
        QSignalSpy saved(window.save, &QAbstractButton::clicked);
        QTest::keyClick(window.box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);
        window.other->setFocus();
        QTest::keyClick(window.other, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 2);
        QCOMPARE(window.save->toolTip(), QStringLiteral("Salva la scheda. (Ctrl+S)"));
        QCOMPARE(shortcutOf(window.save), QKeySequence(Qt::CTRL | Qt::Key_S));
        QAccessibleActionInterface *actions = accessible(window.save)->actionInterface();
        QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{QStringLiteral("Ctrl+S")});
        QCOMPARE(window.save->focusPolicy(), Qt::NoFocus); // tab orders stay as they are

        // A disabled or hidden picture does not react.
        window.save->setEnabled(false);
        QTest::keyClick(window.box, Qt::Key_S, Qt::ControlModifier);
        window.save->setEnabled(true);
        window.save->hide();
        QTest::keyClick(window.box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 2);
    }

    void shortcutBesideABoxActsOnlyThere()
    {
        Window window;
        QVERIFY(window.ok);
        giveShortcut(window.check, QKeySequence(Qt::Key_F4), window.box);
        QSignalSpy checked(window.check, &QAbstractButton::clicked);
        QTest::keyClick(window.box, Qt::Key_F4);
        QCOMPARE(checked.count(), 1);
        window.other->setFocus();
        QTest::keyClick(window.other, Qt::Key_F4);
        QCOMPARE(checked.count(), 1);
        QCOMPARE(window.check->toolTip(), QStringLiteral("Verifica l'IBAN. (F4)"));
    }

    // A box that reserves its keys gets them as key presses; the window's
    // shortcuts on those keys wait, the others still work.
    void reservedKeysStayWithTheBox()
    {
        Window window;
        QVERIFY(window.ok);
        applyStandardShortcuts(&window.w);
        reserveKeys(window.box, [](const QKeyEvent *event) { return isPlainKey(event); });
        QList<int> pressed;
        onKeyPress(window.box, [&pressed](QKeyEvent *event) {
            pressed << event->key();
            return true;
        });
        QSignalSpy guided(window.guide, &QAbstractButton::clicked);
        QSignalSpy saved(window.save, &QAbstractButton::clicked);
        QTest::keyClick(window.box, Qt::Key_F1);
        QCOMPARE(guided.count(), 0);
        QCOMPARE(pressed, QList<int>{Qt::Key_F1});
        QTest::keyClick(window.box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);
        // Elsewhere F1 is the guide again.
        window.other->setFocus();
        QTest::keyClick(window.other, Qt::Key_F1);
        QCOMPARE(guided.count(), 1);
    }

    void arrowsAndEnterMoveAndPress()
    {
        QWidget w;
        QList<QToolButton *> b;
        auto *grid = new QGridLayout(&w);
        // Row 0: one button in the middle; row 1: three buttons.
        for (int i = 0; i < 4; ++i) {
            auto *button = new QToolButton(&w);
            button->setObjectName(QString::number(i));
            button->setFixedSize(40, 30);
            makeKeyboardStop(button);
            b << button;
        }
        grid->addWidget(b[0], 0, 1);
        grid->addWidget(b[1], 1, 0);
        grid->addWidget(b[2], 1, 1);
        grid->addWidget(b[3], 1, 2);
        arrowNavigation({{b[0]}, {b[1], b[2], b[3]}});
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        b[0]->setFocus();
        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        press(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), b[2]); // the nearest below
        press(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), b[3]);
        press(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), b[0]); // reading order wraps round
        press(Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), b[3]);
        press(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), b[3]); // nothing below: it stays
        press(Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), b[0]);
        QSignalSpy clicked(b[0], &QAbstractButton::clicked);
        press(Qt::Key_Return);
        press(Qt::Key_Space);
        QCOMPARE(clicked.count(), 2);
    }

    // The guide's table: a heading, then one line per key, for each topic
    // with keys of its own.
    void guideTable()
    {
        const QString events = shortcutTable(GuideTopic::Events);
        const QStringList lines = events.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.first(), QStringLiteral("Tasti rapidi:"));
        QVERIFY(lines.contains(QStringLiteral("Ctrl+S: salva la scheda in archivio.")));
        QVERIFY(lines.contains(QStringLiteral("Ctrl+Maiusc+Pag Su: prima scheda.")));
        QVERIFY(lines.contains(QStringLiteral("F1: guida.")));
        QCOMPARE(lines.size(), 1 + int(shortcutRows(GuideTopic::Events).size()));
        QVERIFY(shortcutTable(GuideTopic::General).contains(QStringLiteral("Invio, Barra spaziatrice: aprono la voce evidenziata.")));
        QVERIFY(shortcutTable(GuideTopic::Participants).contains(QStringLiteral("Ctrl+Maiusc+P: anteprima di stampa.")));
        QVERIFY(shortcutTable(GuideTopic::Reservations).contains(QStringLiteral("Ctrl+L: prenotazioni in attesa di conferma.")));
        // The export windows: their four pictures.
        QCOMPARE(shortcutTable(GuideTopic::EventsExport).split(QStringLiteral("\r\n")),
                 (QStringList{QStringLiteral("Tasti rapidi:"), QStringLiteral("Ctrl+E: esporta l'archivio in Excel."),
                              QStringLiteral("Ctrl+Maiusc+S: salva i dati della griglia in un file del formato scelto."),
                              QStringLiteral("F1: guida."), QStringLiteral("Ctrl+W: chiude la schermata di lavoro.")}));
        QVERIFY(shortcutTable(GuideTopic::ParticipantsImport).contains(QStringLiteral("Ctrl+O: sceglie il file da importare.")));
        QVERIFY(shortcutTable(GuideTopic::Participants).contains(QStringLiteral("Ctrl+I: importa partecipanti da un file.")));
        QVERIFY(shortcutTable(GuideTopic::Events).contains(QStringLiteral("Ctrl+Maiusc+C: aggiunge l'evento al calendario.")));
        QVERIFY(shortcutTable(GuideTopic::Badges).contains(QStringLiteral("Ctrl+Maiusc+E: crea il PDF dei cartellini.")));
        QVERIFY(shortcutTable(GuideTopic::CheckIn).contains(QStringLiteral("Ctrl+L: elenco dei presenti e degli assenti.")));
        QVERIFY(shortcutTable(GuideTopic::Reservations).contains(QStringLiteral("Ctrl+Maiusc+B: cartellini con codice QR.")));
    }

    // Windows are heard as windows or dialogs named by their caption; a check
    // box by its caption, described by its hint; a picture by its hint.
    void rolesAndNames()
    {
        Window window;
        QAccessibleInterface *top = accessible(&window.w);
        QCOMPARE(top->role(), QAccessible::Window);
        QCOMPARE(top->text(QAccessible::Name), QStringLiteral(" Prova - Scheda"));
        QCOMPARE(accessible(window.box)->role(), QAccessible::EditableText);

        QDialog dialog(&window.w);
        dialog.setWindowTitle(QStringLiteral(" Prova - Dialogo"));
        QCOMPARE(accessible(&dialog)->role(), QAccessible::Dialog);
        QCOMPARE(accessible(&dialog)->text(QAccessible::Name), QStringLiteral(" Prova - Dialogo"));

        // A panel inside a window stays a panel.
        auto *panel = new QWidget(&window.w);
        QVERIFY(accessible(panel)->role() != QAccessible::Window);

        auto *bar = new QLabel(&window.w);
        InfoBar info(bar);
        auto *check = new QCheckBox(QStringLiteral("Al completo"), &window.w);
        info.addHint(check, QStringLiteral("Contrassegna questa casella."));
        info.addHint(window.save, QStringLiteral("Salva la scheda."));
        QCOMPARE(accessible(check)->role(), QAccessible::CheckBox);
        QCOMPARE(accessible(check)->text(QAccessible::Name), QStringLiteral("Al completo"));
        QCOMPARE(accessible(check)->text(QAccessible::Description), QStringLiteral("Contrassegna questa casella."));
        QCOMPARE(accessible(window.save)->role(), QAccessible::Button);
        QCOMPARE(accessible(window.save)->text(QAccessible::Name), QStringLiteral("Salva la scheda."));
        QCOMPARE(accessible(window.save)->text(QAccessible::Description), QStringLiteral("Salva la scheda."));
        // A picture without a key shows no tooltip: its hint is in the bar.
        QCOMPARE(window.save->toolTip(), QString());

        // A picture that shows its label is heard by it, and its tooltip names it.
        auto *labelled = new ClickablePicture(QStringLiteral("cmdNuovo"), QIcon(),
                                              QStringLiteral("Prepara una nuova scheda."), &window.w);
        labelled->setText(QStringLiteral("Nuovo"));
        labelled->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        info.addHint(labelled, QStringLiteral("Prepara una nuova scheda."));
        giveShortcut(labelled, standardShortcut(labelled->objectName()));
        QCOMPARE(accessible(labelled)->text(QAccessible::Name), QStringLiteral("Nuovo"));
        QCOMPARE(accessible(labelled)->text(QAccessible::Description), QStringLiteral("Prepara una nuova scheda."));
        QCOMPARE(labelled->toolTip(), QStringLiteral("Nuovo (Ctrl+N)"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
