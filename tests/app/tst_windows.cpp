#include "app/appwindows.h"
#include "app/password.h"
#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "core/tmisc.h"
#include "events/tfrmregistro.h"
#include "participants/tfrmclienti.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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
    QTimer::singleShot(3000, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec() == 0;
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
    }
    void theProgramEndsFromTheMenuAndFromEsci()
    {
        QFETCH(int, how);
        TfrmAvvio *menu = windows().frmAvvio;
        switchWindow(login, menu);
        QVERIFY(endsTheProgram([menu, how, this] {
            if (how == 0)
                menu->close();
            else if (how == 1)
                QTest::mouseClick(menu->imgEsci, Qt::LeftButton);
            else
                login->cmdEsci->click();
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

    void clickablePicturesTakeNoFocusAndHaveNames()
    {
        TfrmAvvio *menu = windows().frmAvvio;
        for (ClickablePicture *p : menu->findChildren<ClickablePicture *>()) {
            QCOMPARE(p->focusPolicy(), Qt::NoFocus);
            QCOMPARE(p->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY2(!p->accessibleName().isEmpty(), qPrintable(p->objectName()));
        }
        QCOMPARE(menu->btnEventi->accessibleName(), QStringLiteral("EVENTI PROGRAMMATI"));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
