#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "events/tfrmcalendario.h"
#include "events/tfrmregistro.h"
#include "password/passwordstore.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace qv;

// The events register reached the way a user reaches it: password, main menu,
// "EVENTI PROGRAMMATI", and back.
class TestSessioneEventi : public QObject
{
    Q_OBJECT
private slots:
    void fromLoginToTheFirstEventAndBack()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        qvtest::FixedClock clock(QDateTime(QDate(2030, 2, 1), QTime(8, 0)));
        PasswordStore::store("cartolinavespa");
        createWindows();
        AppWindows &w = windows();
        w.frmPassword->show();
        QTest::keyClicks(w.frmPassword->txtPassword, "cartolinavespa");
        QTest::mouseClick(w.frmPassword->cmdOK, Qt::LeftButton);
        QVERIFY(w.frmAvvio->isVisible());

        QTest::mouseClick(w.frmAvvio->findChild<QToolButton *>("btnEventi"), Qt::LeftButton);
        TfrmRegistro *card = w.frmRegistro;
        QVERIFY(card->isVisible());
        QVERIFY(!w.frmAvvio->isVisible());
        QVERIFY(card->windowState() & Qt::WindowMaximized);
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(card->txtTitolo));

        QTest::keyClicks(card->txtTitolo, "Assemblea dei soci");
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(card->txtDataInizio));
        qvtest::whenModal([](QWidget *dialog) {
            // Today is offered; take it.
            QTest::mouseClick(qobject_cast<TfrmCalendario *>(dialog)->btnImportaData, Qt::LeftButton);
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(card->txtDataInizio->text(), QStringLiteral("01/02/2030"));
        qvtest::whenModal([](QWidget *dialog) {
            auto *calendar = qobject_cast<TfrmCalendario *>(dialog);
            calendar->calAppuntamenti->setSelectedDate(QDate(2030, 1, 25));
            QTest::mouseClick(calendar->btnImportaData, Qt::LeftButton);
        });
        QTest::mouseClick(card->findChild<QToolButton *>("impTermine"), Qt::LeftButton);
        card->txtPosti->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), "80");
        QTest::mouseClick(card->findChild<QToolButton *>("cmdSalva"), Qt::LeftButton);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));

        const QByteArray file = folder.read("Eventi.pro");
        QCOMPARE(file.size(), 3645);
        QCOMPARE(qvtest::countedAt(file, 0), QByteArray("Assemblea dei soci"));
        QCOMPARE(qvtest::countedAt(file, 604), QByteArray("01/02/2030"));
        QCOMPARE(qvtest::countedAt(file, 1707), QByteArray("0,00"));
        QCOMPARE(qvtest::countedAt(file, 2120), QByteArray("25/01/2030"));
        QCOMPARE(qvtest::countedAt(file, 2131), QByteArray("80"));
        QCOMPARE(qvtest::countedAt(file, 2136), QByteArray("No"));

        // Leaving and coming back gives a new card.
        QTest::mouseClick(card->findChild<QToolButton *>("cmdEsci"), Qt::LeftButton);
        QVERIFY(w.frmAvvio->isVisible());
        QVERIFY(!card->isVisible());
        QTest::mouseClick(w.frmAvvio->findChild<QToolButton *>("btnEventi"), Qt::LeftButton);
        QVERIFY(card->isVisible());
        QVERIFY(card->txtTitolo->text().isEmpty());
        QVERIFY(card->lblPosizione->text().isEmpty());
        QCOMPARE(card->txtPosti->text(), QStringLiteral("0"));
        QCOMPARE(folder.read("Eventi.pro"), file);
        destroyWindows();
    }
};

QTEST_MAIN(TestSessioneEventi)
#include "tst_sessioneeventi.moc"
