#include "app/appwindows.h"
#include "events/tfrmcalendario.h"
#include "core/regional.h"
#include "events/tfrmregistro.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

using namespace qv;

namespace {

const QDateTime kNow(QDate(2031, 7, 4), QTime(9, 15));

// The program's event card, as the calendar finds it by name.
class EventCard
{
public:
    EventCard() { windows().frmRegistro = &card; }
    ~EventCard() { windows().frmRegistro = nullptr; }
    TfrmRegistro card;
};

} // namespace

class TestCalendario : public QObject
{
    Q_OBJECT
private slots:
    void todaySelectedAtCreation()
    {
        qvtest::FixedClock clock(kNow);
        TfrmRegistro owner;
        owner.txtDataInizio->setText("15/03/2030"); // not looked at
        TfrmCalendario dialog(&owner);
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Importazione data"));
        QCOMPARE(dialog.calAppuntamenti->selectedDate(), QDate(2031, 7, 4));
        QCOMPARE(dialog.calAppuntamenti->selectionMode(), QCalendarWidget::SingleSelection);
        QCOMPARE(dialog.lblCampo001->text(), QStringLiteral("Importare una data:"));
        QCOMPARE(dialog.btnImportaData->text(), QStringLiteral("Importa"));
        QCOMPARE(dialog.btnAnnulla->text(), QStringLiteral("Annulla"));
        QVERIFY(dialog.lblMemory->isHidden());
        QVERIFY(dialog.lblMemory->text().isEmpty());
        QCOMPARE(dialog.parent(), &owner);
        // Fixed size, no title-bar buttons.
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                                          | Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));
        // Tab order: calendar, Importa, Annulla.
        QList<QWidget *> order;
        QWidget *w = dialog.calAppuntamenti;
        for (int i = 0; i < 64 && order.size() < 3; ++i, w = w->nextInFocusChain())
            if (w == dialog.calAppuntamenti || w == dialog.btnImportaData || w == dialog.btnAnnulla)
                if (!order.contains(w))
                    order << w;
        QCOMPARE(order, (QList<QWidget *>{dialog.calAppuntamenti, dialog.btnImportaData, dialog.btnAnnulla}));
    }

    void importWritesTheNamedBox_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("box");
        QTest::newRow("start") << "data_inizio" << "txtDataInizio";
        QTest::newRow("end") << "data_fine" << "txtDataFine";
        QTest::newRow("deadline") << "registro" << "txtDataSca";
        QTest::newRow("word read trimmed") << " data_fine\t" << "txtDataFine";
    }
    void importWritesTheNamedBox()
    {
        QFETCH(QString, word);
        QFETCH(QString, box);
        qvtest::FixedClock clock(kNow);
        EventCard event;
        for (QLineEdit *b : {event.card.txtDataInizio, event.card.txtDataFine, event.card.txtDataSca})
            b->setText("15/03/2030");
        TfrmCalendario dialog(&event.card);
        dialog.lblMemory->setText(word);
        dialog.show();
        QTest::mouseClick(dialog.btnImportaData, Qt::LeftButton); // today, as selected at creation
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        for (QLineEdit *b : {event.card.txtDataInizio, event.card.txtDataFine, event.card.txtDataSca})
            QCOMPARE(b->text(), b->objectName() == box ? QStringLiteral("04/07/2031") : QStringLiteral("15/03/2030"));
    }

    void datesAlwaysDayMonthYear_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << QDate(2030, 1, 2) << "02/01/2030";
        QTest::newRow("leap day") << QDate(2032, 2, 29) << "29/02/2032";
        QTest::newRow("year end") << QDate(2030, 12, 31) << "31/12/2030";
    }
    void datesAlwaysDayMonthYear()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        EventCard event;
        TfrmCalendario dialog(&event.card);
        dialog.lblMemory->setText("registro");
        dialog.calAppuntamenti->setSelectedDate(date);
        dialog.show();
        // Whatever format the locale in force would give.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QTest::mouseClick(dialog.btnImportaData, Qt::LeftButton);
        applyRegionalSettings();
        QCOMPARE(event.card.txtDataSca->text(), text);
    }

    void unknownWordWritesNothingAndStaysOpen_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("empty") << "";
        QTest::newRow("other case") << "Registro";
        QTest::newRow("another dialog's word") << "clienti";
        QTest::newRow("inner blank") << "data _fine";
    }
    void unknownWordWritesNothingAndStaysOpen()
    {
        QFETCH(QString, word);
        EventCard event;
        for (QLineEdit *b : event.card.editBoxes())
            b->setText("x");
        TfrmCalendario dialog(&event.card);
        dialog.lblMemory->setText(word);
        dialog.show();
        QTest::mouseClick(dialog.btnImportaData, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        for (QLineEdit *b : event.card.editBoxes())
            QCOMPARE(b->text(), QStringLiteral("x"));
        QTest::mouseClick(dialog.btnAnnulla, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void noEventCardWritesNothing()
    {
        TfrmCalendario dialog;
        dialog.lblMemory->setText("data_inizio");
        dialog.show();
        QTest::mouseClick(dialog.btnImportaData, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
    }

    void cancelWritesNothing()
    {
        qvtest::FixedClock clock(kNow);
        EventCard event;
        event.card.txtDataFine->setText("15/03/2030");
        TfrmCalendario dialog(&event.card);
        dialog.lblMemory->setText("data_fine");
        dialog.show();
        QTest::mouseClick(dialog.btnAnnulla, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(event.card.txtDataFine->text(), QStringLiteral("15/03/2030"));
    }

    // Opened modally by the card, destroyed on return, nothing kept between uses.
    void openedAnewEachTime()
    {
        qvtest::FixedClock clock(kNow);
        EventCard event;
        QList<QDate> shown;
        QPointer<QWidget> first;
        qvtest::whenModal([&](QWidget *d) {
            auto *dialog = qobject_cast<TfrmCalendario *>(d);
            QVERIFY(dialog);
            QVERIFY(dialog->isModal());
            QCOMPARE(dialog->parentWidget(), static_cast<QWidget *>(&event.card));
            first = dialog;
            shown << dialog->calAppuntamenti->selectedDate();
            dialog->calAppuntamenti->setSelectedDate(QDate(2030, 1, 1));
            QTest::mouseClick(dialog->btnAnnulla, Qt::LeftButton);
        });
        TfrmCalendario::showModal(&event.card, "data_inizio");
        QVERIFY(first.isNull());
        qvtest::whenModal([&](QWidget *d) {
            auto *dialog = qobject_cast<TfrmCalendario *>(d);
            shown << dialog->calAppuntamenti->selectedDate();
            QTest::mouseClick(dialog->btnImportaData, Qt::LeftButton);
        });
        TfrmCalendario::showModal(&event.card, "data_inizio");
        QCOMPARE(shown, (QList<QDate>{QDate(2031, 7, 4), QDate(2031, 7, 4)}));
        QCOMPARE(event.card.txtDataInizio->text(), QStringLiteral("04/07/2031"));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCalendario)
#include "tst_calendario.moc"
