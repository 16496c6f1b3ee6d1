#include "app/appwindows.h"
#include "app/infowindows.h"
#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "checks/checkwindows.h"
#include "core/tmisc.h"
#include "events/tfrmcalendario.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmregistro.h"
#include "events/tfrmtrovaregistro.h"
#include "frame/guide.h"
#include "participants/tfrmclienti.h"
#include "password/password.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

QList<QWidget *> visibleLongLived()
{
    const AppWindows &w = windows();
    QList<QWidget *> all{w.frmPassword, w.frmAvvio, w.frmCambiaPassword, w.frmClienti,
                         w.frmRegistro, w.frmMenuPrenotazioni, w.frmPrenotazioni};
    QList<QWidget *> shown;
    for (QWidget *window : all)
        if (window->isVisible())
            shown << window;
    return shown;
}

void storePassword(const TempProgramFolder &folder, const QString &password)
{
    folder.write("unins000.dll", "[Altro]\r\nX=1\r\n[Accesso]\r\nValore=" + CodificaPassword(password).toLatin1() + "\r\n");
}

// Runs `trigger` inside the program's event loop and tells whether it ended the loop.
bool endsTheProgram(const std::function<void()> &trigger)
{
    QTimer::singleShot(0, trigger);
    // Stopped on return: left running, it would end a dialog of a later test.
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    limit.start(3000);
    return QCoreApplication::exec() == 0;
}

// The menu's keyboard stops in reading order.
QList<QWidget *> menuStops(TfrmAvvio *menu)
{
    return {menu->imgInfo,   menu->imgGuida, menu->btnAnagrafica, menu->btnEventi,
            menu->btnPosti,  menu->imgCrediti, menu->imgCopie, menu->imgPosta, menu->imgSito, menu->imgEsci};
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT
    TempProgramFolder *folder = nullptr;
    MessageRecorder *messages = nullptr;
    TfrmPassword *login = nullptr;

private slots:
    void init()
    {
        folder = new TempProgramFolder;
        messages = new MessageRecorder;
        storePassword(*folder, "CARTOLINAVESPA");
        createWindows();
        login = windows().frmPassword;
        login->show();
        QVERIFY(QTest::qWaitForWindowActive(login));
    }
    void cleanup()
    {
        destroyWindows();
        delete messages;
        delete folder;
    }

    void startsWithTheSevenWindowsAndOnlyTheLoginShown()
    {
        const AppWindows &w = windows();
        QVERIFY(w.frmAvvio && w.frmCambiaPassword && w.frmClienti && w.frmRegistro && w.frmMenuPrenotazioni
                && w.frmPrenotazioni);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{login});
        QVERIFY(!login->cmdOK->isEnabled());
        QCOMPARE(QApplication::focusWidget(), login->txtPassword);
        QVERIFY(login->effPassword->isVisible());
        QCOMPARE(login->txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(login->windowTitle().startsWith(" Quorvane - "));
    }

    void passwordIsAcceptedInAnyAsciiCaseWithBlanksAround()
    {
        QTest::keyClicks(login->txtPassword, "  cartolinaVespa ");
        QVERIFY(login->cmdOK->isEnabled());
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QCOMPARE(messages->count(), 0);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{windows().frmAvvio});
    }

    void wrongPasswordIsRefusedAndTheBoxEmptied()
    {
        QTest::keyClicks(login->txtPassword, "cartolina vespa");
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, QStringLiteral("Attenzione: password errata."));
        QCOMPARE(login->txtPassword->text(), QString());
        QCOMPARE(QApplication::focusWidget(), login->txtPassword);
        QVERIFY(!login->cmdOK->isEnabled());
        QCOMPARE(visibleLongLived(), QList<QWidget *>{login});
    }

    void blanksOnlyNeverEnableOk()
    {
        QTest::keyClicks(login->txtPassword, "   ");
        QVERIFY(!login->cmdOK->isEnabled());
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QCOMPARE(messages->count(), 0);
        QCOMPARE(login->txtPassword->text(), QStringLiteral("   "));
    }

    void accentedLettersAreComparedAsTyped()
    {
        storePassword(*folder, QStringLiteral("CITT\u00E0"));
        login->txtPassword->setText(QStringLiteral("citt\u00C0"));
        login->cmdOKClick();
        QCOMPARE(messages->last().text, QStringLiteral("Attenzione: password errata."));
        login->txtPassword->setText(QStringLiteral("citt\u00E0"));
        login->cmdOKClick();
        QVERIFY(windows().frmAvvio->isVisible());
    }

    void unreadablePasswordFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Attenzione: password errata.");
        QTest::newRow("without key") << QByteArray("[Accesso]\r\nAltro=1\r\n") << QStringLiteral("Attenzione: password errata.");
        QTest::newRow("not hexadecimal") << QByteArray("[Accesso]\r\nValore=ZZ\r\n") << TfrmPassword::kReadError;
    }
    void unreadablePasswordFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFile::remove(folder->file("unins000.dll"));
        if (!content.isEmpty())
            folder->write("unins000.dll", content);
        QTest::keyClicks(login->txtPassword, "cartolinavespa");
        login->cmdOKClick();
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, message);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{login});
        // A read error leaves the window as it was; a wrong password empties the box.
        QCOMPARE(login->txtPassword->text().isEmpty(), message != TfrmPassword::kReadError);
    }

    void changedPasswordWorksAndTheOldOneIsRefused()
    {
        login->btnCambiaPassword->click();
        TfrmCambiaPassword *change = windows().frmCambiaPassword;
        QCOMPARE(visibleLongLived(), QList<QWidget *>{change});
        QVERIFY(QTest::qWaitForWindowActive(change));
        QCOMPARE(QApplication::focusWidget(), change->txtPasswordOld);
        QVERIFY(!change->cmdOK->isEnabled());

        QTest::keyClicks(change->txtPasswordOld, "cartolinavespa");
        QTest::keyClick(change->txtPasswordOld, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), change->txtPasswordNew);
        QTest::keyClicks(change->txtPasswordNew, " Nuova Chiave ");
        QTest::keyClick(change->txtPasswordNew, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), change->txtConferma);
        QTest::keyClicks(change->txtConferma, "Nuova Chiave");
        QVERIFY(change->cmdOK->isEnabled());
        QTest::keyClick(change->txtConferma, Qt::Key_Return); // Enter never presses OK
        QCOMPARE(QApplication::focusWidget(), change->txtPasswordOld);
        QCOMPARE(messages->count(), 0);

        change->cmdOK->click();
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, QStringLiteral("Modifica della password completata con successo."));
        QCOMPARE(visibleLongLived(), QList<QWidget *>{login});
        QCOMPARE(login->txtPassword->text(), QString());
        // Other sections of the file are kept.
        QVERIFY(folder->read("unins000.dll").startsWith("[Altro]\r\nX=1\r\n[Accesso]\r\nValore="));

        // As after a restart: new windows read the file again.
        destroyWindows();
        createWindows();
        login = windows().frmPassword;
        login->show();
        QTest::keyClicks(login->txtPassword, "cartolinavespa");
        login->cmdOKClick();
        QCOMPARE(messages->last().text, QStringLiteral("Attenzione: password errata."));
        QTest::keyClicks(login->txtPassword, "nuova chiave");
        login->cmdOKClick();
        QVERIFY(windows().frmAvvio->isVisible());
    }

    void changeChecksInOrder_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("wrong old") << "altra" << "a" << "b" << TfrmCambiaPassword::kWrongOld << "txtPasswordOld";
        QTest::newRow("not confirmed") << "cartolinavespa" << "nuova" << "NUOVA" << TfrmCambiaPassword::kNotConfirmed
                                       << "txtPasswordNew";
        QTest::newRow("outside 8 bits") << "cartolinavespa" << QStringLiteral("\u20AC100") << QStringLiteral("\u20AC100")
                                        << TfrmCambiaPassword::kNotStorable << "txtPasswordNew";
        QTest::newRow("too long") << "cartolinavespa" << QString(256, 'x') << QString(256, 'x')
                                  << TfrmCambiaPassword::kNotStorable << "txtPasswordNew";
    }
    void changeChecksInOrder()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const QByteArray before = folder->read("unins000.dll");
        login->btnCambiaPassword->click();
        TfrmCambiaPassword *change = windows().frmCambiaPassword;
        QVERIFY(QTest::qWaitForWindowActive(change));
        change->txtPasswordOld->setText(oldPassword);
        change->txtPasswordNew->setText(newPassword);
        change->txtConferma->setText(confirmation);
        change->cmdOK->click();
        QCOMPARE(messages->last().kind, MessageKind::Plain);
        QCOMPARE(messages->last().text, message);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(change->isVisible());
        QCOMPARE(folder->read("unins000.dll"), before);
        if (focus == "txtPasswordOld") {
            QCOMPARE(change->txtPasswordOld->text(), QString());
            QCOMPARE(change->txtPasswordNew->text(), newPassword);
        } else {
            QCOMPARE(change->txtPasswordOld->text(), oldPassword);
            QCOMPARE(change->txtPasswordNew->text(), QString());
            QCOMPARE(change->txtConferma->text(), QString());
        }
    }

    void changeWithAnUnwritableFileKeepsTheWindowOpen()
    {
        login->btnCambiaPassword->click();
        TfrmCambiaPassword *change = windows().frmCambiaPassword;
        QFile::remove(folder->file("unins000.dll"));
        QDir(folder->path()).mkdir("unins000.dll");
        change->txtPasswordOld->setText("x");
        change->txtPasswordNew->setText("y");
        change->txtConferma->setText("y");
        change->cmdOK->click();
        QCOMPARE(messages->last().text, TfrmCambiaPassword::kWriteError);
        QVERIFY(change->isVisible());
    }

    void changeWhoseWriteFailsKeepsTheOldPassword()
    {
        login->btnCambiaPassword->click();
        TfrmCambiaPassword *change = windows().frmCambiaPassword;
        change->txtPasswordOld->setText("cartolinavespa");
        change->txtPasswordNew->setText("nuova chiave");
        change->txtConferma->setText("nuova chiave");
        {
            qvtest::FileSizeLimit full(8);
            change->cmdOK->click();
        }
        QCOMPARE(messages->last().text, TfrmCambiaPassword::kWriteError);
        QVERIFY(change->isVisible());
        change->close();
        QTest::keyClicks(login->txtPassword, "cartolinavespa");
        login->cmdOKClick();
        QVERIFY(windows().frmAvvio->isVisible());
    }

    void closingTheChangeWindowReturnsToTheLogin()
    {
        login->txtPassword->setText("typed");
        login->btnCambiaPassword->click();
        TfrmCambiaPassword *change = windows().frmCambiaPassword;
        change->txtPasswordOld->setText("left over");
        change->cmdEsci->click();
        QCOMPARE(visibleLongLived(), QList<QWidget *>{login});
        QCOMPARE(login->txtPassword->text(), QString());
        login->btnCambiaPassword->click();
        QCOMPARE(change->txtPasswordOld->text(), QString());
    }

    void navigationShowsOneLongLivedWindowAtATime()
    {
        const AppWindows &w = windows();
        login->txtPassword->setText("cartolinavespa");
        login->cmdOKClick();
        TfrmAvvio *menu = w.frmAvvio;

        // Each of the three pictures of a column is the same entry.
        const QList<std::pair<QWidget *, QWidget *>> entries{
            {menu->imgEventi, w.frmRegistro},     {menu->btnEventi, w.frmRegistro},
            {menu->infEventi, w.frmRegistro},     {menu->imgAnagrafica, w.frmClienti},
            {menu->btnAnagrafica, w.frmClienti},  {menu->infAnagrafica, w.frmClienti},
            {menu->imgPosti, w.frmMenuPrenotazioni}, {menu->btnPosti, w.frmMenuPrenotazioni},
            {menu->infPosti, w.frmMenuPrenotazioni},
        };
        for (const auto &[control, workspace] : entries) {
            QTest::mouseClick(control, Qt::LeftButton);
            QCOMPARE(visibleLongLived(), QList<QWidget *>{workspace});
            workspace->close();
            QCOMPARE(visibleLongLived(), QList<QWidget *>{menu});
        }
    }

    void menuEntriesActOnALeftClickOnly()
    {
        const AppWindows &w = windows();
        switchWindow(login, w.frmAvvio);
        TfrmAvvio *menu = w.frmAvvio;
        for (QWidget *control : QList<QWidget *>{menu->imgEventi, menu->btnEventi, menu->infEventi}) {
            QTest::mouseClick(control, Qt::RightButton);
            QTest::mouseClick(control, Qt::MiddleButton);
            // A press that started elsewhere and ends over the entry.
            QTest::mouseRelease(control, Qt::LeftButton);
            QCOMPARE(visibleLongLived(), QList<QWidget *>{menu});
        }
        QTest::mouseClick(menu->infEventi, Qt::LeftButton);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmRegistro});
    }

    void eventSelectionClosesToTheMenuOrTheCard()
    {
        const AppWindows &w = windows();
        switchWindow(login, w.frmAvvio);
        w.frmAvvio->PostiClick();
        TfrmMenuPrenotazioni *selection = w.frmMenuPrenotazioni;
        QCOMPARE(selection->lblMemory->text(), QStringLiteral("avvio"));
        selection->txtTitolo->setText("Congresso");
        selection->lblPosizione->setText("7");
        QVERIFY(selection->btnAssegna->isEnabled());
        selection->btnAssegna->click();
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmPrenotazioni});
        QVERIFY(w.frmPrenotazioni->lblFile->text().endsWith("/Posti_Riservati_Evento_7.pro"));
        w.frmPrenotazioni->close(); // the card returns to the menu, not to the selection
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmAvvio});
        w.frmAvvio->PostiClick(); // the mode word is reset each time it is shown
        QCOMPARE(selection->lblMemory->text(), QStringLiteral("avvio"));
        selection->close();
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmAvvio});
    }

    void webStripOpensTheAddressUnwrapped()
    {
        qvtest::ShellRecorder shell;
        QTest::mouseClick(windows().frmAvvio->imgSito, Qt::LeftButton);
        QCOMPARE(shell.commands, QStringList{kWebAddress});
    }

    void theProgramEndsFromTheMenuAndFromEsci_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("menu close box") << 0;
        QTest::newRow("menu exit picture") << 1;
        QTest::newRow("Esci") << 2;
        QTest::newRow("menu Ctrl+Q") << 3;
    }
    void theProgramEndsFromTheMenuAndFromEsci()
    {
        QFETCH(int, how);
        TfrmAvvio *menu = windows().frmAvvio;
        switchWindow(login, menu);
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QVERIFY(endsTheProgram([menu, how, this] {
            if (how == 0)
                menu->close();
            else if (how == 1)
                QTest::mouseClick(menu->imgEsci, Qt::LeftButton);
            else if (how == 2)
                login->cmdEsci->click();
            else
                QTest::keyClick(menu->btnEventi, Qt::Key_Q, Qt::ControlModifier);
        }));
        QCOMPARE(messages->count(), 0);
    }

    void closingAWorkspaceDoesNotEndTheProgram()
    {
        switchWindow(login, windows().frmAvvio);
        windows().frmAvvio->EventiClick();
        QVERIFY(!endsTheProgram([] { windows().frmRegistro->close(); }));
        QVERIFY(windows().frmAvvio->isVisible());
    }

    // The menu's entries and corner pictures are the keyboard's stops (Tab
    // only: a click moves no focus); the pictures above the entries are not.
    void clickablePicturesHaveNamesAndOnlyTheMenuStopsTakeFocus()
    {
        TfrmAvvio *menu = windows().frmAvvio;
        const QList<QWidget *> stops = menuStops(menu);
        for (ClickablePicture *p : menu->findChildren<ClickablePicture *>()) {
            QCOMPARE(p->focusPolicy(), stops.contains(p) ? Qt::TabFocus : Qt::NoFocus);
            QCOMPARE(p->cursor().shape(), Qt::PointingHandCursor);
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(p);
            QCOMPARE(face->role(), QAccessible::Button);
            QVERIFY2(!face->text(QAccessible::Name).isEmpty(), qPrintable(p->objectName()));
            QVERIFY2(!face->text(QAccessible::Description).isEmpty(), qPrintable(p->objectName()));
        }
        QCOMPARE(menu->btnEventi->accessibleName(), QStringLiteral("EVENTI PROGRAMMATI"));
        QCOMPARE(QAccessible::queryAccessibleInterface(menu->btnEventi)->text(QAccessible::Description),
                 menu->infEventi->text());
        QCOMPARE(QAccessible::queryAccessibleInterface(menu->imgSito)->text(QAccessible::Name), kWebAddress);
        QCOMPARE(QAccessible::queryAccessibleInterface(menu->imgEsci)->text(QAccessible::Name),
                 QStringLiteral("Esci dal programma"));
    }

    void menuTabAndArrows()
    {
        TfrmAvvio *menu = windows().frmAvvio;
        QTest::keyClicks(login->txtPassword, "cartolinavespa");
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QCOMPARE(QApplication::focusWidget(), menu->btnAnagrafica);
        // Tab runs round the stops in reading order.
        const QList<QWidget *> stops = menuStops(menu);
        menu->imgInfo->setFocus();
        for (int i = 1; i <= stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), stops.at(i % stops.size()));
        }
        const QList<std::pair<Qt::Key, QWidget *>> arrows{
            {Qt::Key_Down, menu->btnAnagrafica}, {Qt::Key_Right, menu->btnEventi}, {Qt::Key_Down, menu->imgSito},
            {Qt::Key_Right, menu->imgEsci},      {Qt::Key_Up, menu->btnPosti},     {Qt::Key_Up, menu->imgGuida},
            {Qt::Key_Left, menu->imgInfo},       {Qt::Key_Left, menu->imgEsci},
        };
        menu->imgInfo->setFocus();
        for (const auto &[key, to] : arrows) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), to);
        }
        // F1 is the guide here too.
        QString opened;
        qvtest::whenModal([&opened](QWidget *dialog) { opened = dialog->metaObject()->className(); });
        QTest::keyClick(menu->imgEsci, Qt::Key_F1);
        QCOMPARE(opened, QStringLiteral("TfrmGuida"));
        QCOMPARE(menu->imgGuida->toolTip(), QStringLiteral("Guida all'utilizzo del software (F1)"));
        QCOMPARE(menu->imgEsci->toolTip(), QStringLiteral("Esci dal programma (Ctrl+Q)"));
    }

    // Enter or Space opens the entry marked; the mark can be seen.
    void menuOpensWithEnterAndSpace_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("workspace");
        QTest::newRow("participants, Enter") << "btnAnagrafica" << int(Qt::Key_Return) << "frmClienti";
        QTest::newRow("events, Space") << "btnEventi" << int(Qt::Key_Space) << "frmRegistro";
        QTest::newRow("seats, keypad Enter") << "btnPosti" << int(Qt::Key_Enter) << "frmMenuPrenotazioni";
    }
    void menuOpensWithEnterAndSpace()
    {
        QFETCH(QString, entry);
        QFETCH(int, key);
        QFETCH(QString, workspace);
        TfrmAvvio *menu = windows().frmAvvio;
        switchWindow(login, menu);
        QVERIFY(QTest::qWaitForWindowActive(menu));
        auto *button = menu->findChild<QToolButton *>(entry);
        menu->imgInfo->setFocus();
        const QImage plain = button->grab().toImage();
        button->setFocus(Qt::TabFocusReason);
        QVERIFY(button->grab().toImage() != plain); // the focus mark
        QTest::keyClick(button, Qt::Key(key));
        QCOMPARE(visibleLongLived().size(), 1);
        QCOMPARE(visibleLongLived().first()->objectName(), workspace);
    }

    // With the keyboard alone: log in, open the events, fill a card (the
    // dates from the calendar), save it, go back to the menu.
    void keyboardOnlySession()
    {
        const AppWindows &w = windows();
        QTest::keyClicks(login->txtPassword, "cartolinavespa");
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QVERIFY(QTest::qWaitForWindowActive(w.frmAvvio));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        TfrmRegistro *card = w.frmRegistro;
        QVERIFY(card->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(card));
        QCOMPARE(QApplication::focusWidget(), card->txtTitolo);
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        const auto importToday = [] {
            qvtest::whenModal([](QWidget *calendar) {
                QVERIFY(calendar->focusWidget());
                QTest::keyClick(calendar->focusWidget(), Qt::Key_Return);
            });
        };
        QTest::keyClicks(QApplication::focusWidget(), "Congresso");
        for (int i = 0; i < 4; ++i)
            key(Qt::Key_Return); // down the Enter chain to the start date
        QCOMPARE(QApplication::focusWidget(), card->txtDataInizio);
        importToday();
        key(Qt::Key_Return);
        QVERIFY(!card->txtDataInizio->text().isEmpty());
        key(Qt::Key_Backtab); // back from the start date past the title, round to the seats
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), card->txtPosti);
        QTest::keyClicks(QApplication::focusWidget(), "120");
        key(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), card->txtDataSca);
        importToday();
        key(Qt::Key_Return);
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().text, CardOperations::kInserted);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
        key(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmAvvio});
        QVERIFY(QTest::qWaitForWindowActive(w.frmAvvio));
        QCOMPARE(QApplication::focusWidget(), w.frmAvvio->btnEventi); // where the user left it
    }

    // Every window is heard as a window or a dialog named by its caption.
    void windowsAreNamedByTheirCaption()
    {
        const AppWindows &w = windows();
        for (QWidget *window : QList<QWidget *>{w.frmPassword, w.frmAvvio, w.frmCambiaPassword, w.frmClienti,
                                                w.frmRegistro, w.frmMenuPrenotazioni, w.frmPrenotazioni}) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(window);
            QCOMPARE(face->role(), QAccessible::Window);
            QVERIFY(!window->windowTitle().trimmed().isEmpty());
            QCOMPARE(face->text(QAccessible::Name), window->windowTitle());
        }
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.emplace_back(new TfrmCalendario(w.frmRegistro));
        dialogs.emplace_back(new TfrmTrovaRegistro(w.frmRegistro));
        dialogs.emplace_back(new TfrmDaAderire(w.frmRegistro));
        dialogs.emplace_back(new TfrmCodFisc);
        dialogs.emplace_back(new TfrmPartitaIva);
        dialogs.emplace_back(new TfrmCarta);
        dialogs.emplace_back(new TfrmIban);
        dialogs.emplace_back(new TfrmGuida);
        dialogs.emplace_back(new TfrmInfo);
        dialogs.emplace_back(new TfrmSplash);
        for (const auto &dialog : dialogs) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(dialog.get());
            QCOMPARE(face->role(), QAccessible::Dialog);
            QVERIFY(!dialog->windowTitle().trimmed().isEmpty());
            QCOMPARE(face->text(QAccessible::Name), dialog->windowTitle());
        }
    }

    // The information and credits windows: "Chiudi" keeps the focus first,
    // then Tab reaches the picture, which Enter or Space opens.
    void infoWindowsPicturesByKeyboard()
    {
        qvtest::ShellRecorder shell;
        TfrmInfo info;
        info.show();
        QApplication::setActiveWindow(&info);
        QVERIFY(QTest::qWaitForWindowActive(&info));
        QCOMPARE(QApplication::focusWidget(), info.btnChiudi);
        QTest::keyClick(info.btnChiudi, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), info.imgEmail);
        QTest::keyClick(info.imgEmail, Qt::Key_Return);
        QCOMPARE(shell.commands.size(), 1);
        QVERIFY(shell.commands.first().contains("mailto:"));

        TfrmSplash credits;
        credits.show();
        QApplication::setActiveWindow(&credits);
        QVERIFY(QTest::qWaitForWindowActive(&credits));
        QCOMPARE(QApplication::focusWidget(), credits.btnChiudi);
        QTest::keyClick(credits.btnChiudi, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), credits.imgWeb);
        QTest::keyClick(credits.imgWeb, Qt::Key_Space);
        QCOMPARE(shell.commands.size(), 2);
        QCOMPARE(shell.commands.last(), kWebAddress);
    }

    void eventSelectionKeys()
    {
        const AppWindows &w = windows();
        switchWindow(login, w.frmAvvio);
        w.frmAvvio->PostiClick();
        TfrmMenuPrenotazioni *selection = w.frmMenuPrenotazioni;
        QVERIFY(QTest::qWaitForWindowActive(selection));
        QCOMPARE(selection->imgGuida->toolTip(), QStringLiteral("Visualizza la pagina della guida sensibile al contesto. (F1)"));
        QString opened;
        qvtest::whenModal([&opened](QWidget *dialog) { opened = dialog->metaObject()->className(); });
        QTest::keyClick(selection->btnSeleziona, Qt::Key_F1);
        QCOMPARE(opened, QStringLiteral("TfrmGuida"));
        QApplication::setActiveWindow(selection); // the window system's part once the guide is gone
        QVERIFY(QTest::qWaitForWindowActive(selection));
        QTest::keyClick(selection->btnSeleziona, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(visibleLongLived(), QList<QWidget *>{w.frmAvvio});
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
