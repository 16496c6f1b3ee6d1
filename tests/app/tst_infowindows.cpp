#include "app/infowindows.h"
#include "app/tfrmavvio.h"
#include "core/tmisc.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace qv;
using qvtest::ShellRecorder;

namespace {

// The class name of the dialog that `action` opens, closed through "Chiudi".
QString dialogOpenedBy(const std::function<void()> &action)
{
    QString name;
    qvtest::whenModal([&](QWidget *dialog) {
        name = QString::fromLatin1(dialog->metaObject()->className());
        if (auto *close = dialog->findChild<QPushButton *>("btnChiudi"))
            QTest::mouseClick(close, Qt::LeftButton);
    });
    action();
    return name;
}

} // namespace

class TestInfoWindows : public QObject
{
    Q_OBJECT
private slots:
    void info()
    {
        TfrmInfo w;
        QCOMPARE(w.windowTitle(), QStringLiteral(" Informazioni su Quorvane"));
        QCOMPARE(w.lnkWeb->text(), kInfoEmail);
        QCOMPARE(w.btnChiudi->text(), QStringLiteral("Chiudi"));
        QVERIFY(!w.imgLogo->pixmap().isNull());
        QVERIFY(!w.imgInfo->pixmap().isNull());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(w.frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    void credits()
    {
        QWidget menu;
        menu.setGeometry(40, 30, 900, 700);
        TfrmSplash w(&menu);
        QCOMPARE(w.lnkWeb->text(), kWebAddress);
        QVERIFY(!w.imgLogo->pixmap().isNull());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QVERIFY((w.frameGeometry().center() - menu.frameGeometry().center()).manhattanLength() <= 2);
    }

    // The link and the picture beside it: orange while pressed, then the action.
    void linksAct_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("onPicture");
        QTest::addColumn<QString>("command");
        const QString mail = TMisc::Wrapped(
            mailtoText(kInfoEmail, QStringLiteral("Software Quorvane"),
                       QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:")));
        QTest::newRow("info link") << "info" << false << mail;
        QTest::newRow("info picture") << "info" << true << mail;
        QTest::newRow("credits link") << "credits" << false << kWebAddress;
        QTest::newRow("credits picture") << "credits" << true << kWebAddress;
    }
    void linksAct()
    {
        QFETCH(QString, window);
        QFETCH(bool, onPicture);
        QFETCH(QString, command);
        ShellRecorder shell;
        TfrmInfo info;
        TfrmSplash credits;
        QDialog *w = window == "info" ? static_cast<QDialog *>(&info) : &credits;
        QLabel *link = window == "info" ? info.lnkWeb : credits.lnkWeb;
        QWidget *target = !onPicture ? static_cast<QWidget *>(link)
                          : window == "info" ? static_cast<QWidget *>(info.imgEmail)
                                             : credits.imgWeb;
        w->show();
        QVERIFY(link->styleSheet().contains("#00008B"));
        QTest::mousePress(target, Qt::LeftButton);
        QVERIFY(link->styleSheet().contains("#FF8C00"));
        QVERIFY(shell.commands.isEmpty());
        QTest::mouseRelease(target, Qt::LeftButton);
        QVERIFY(link->styleSheet().contains("#00008B"));
        QCOMPARE(shell.commands, QStringList{command});
        QVERIFY(w->isVisible());
    }

    void closeOnlyThroughChiudi()
    {
        TfrmInfo info;
        TfrmSplash credits;
        for (QDialog *w : {static_cast<QDialog *>(&info), static_cast<QDialog *>(&credits)}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(w->isVisible());
            w->close();
            QVERIFY(w->isVisible());
            QTest::mouseClick(w->findChild<QPushButton *>("btnChiudi"), Qt::LeftButton);
            QVERIFY(!w->isVisible());
        }
    }

    void openedFromTheMainMenu()
    {
        TfrmAvvio menu;
        QCOMPARE(dialogOpenedBy([&] { QTest::mouseClick(menu.imgInfo, Qt::LeftButton); }), QStringLiteral("TfrmInfo"));
        QCOMPARE(dialogOpenedBy([&] { QTest::mouseClick(menu.imgCrediti, Qt::LeftButton); }),
                 QStringLiteral("TfrmSplash"));
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
