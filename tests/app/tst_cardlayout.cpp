#include "events/tfrmregistro.h"
#include "participants/tfrmclienti.h"
#include "reservations/seatwidgets.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/style.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

// The longest code a card holds (the IBAN): a box of up to this many
// characters holds a code, a date, a time or an amount and shows all of it;
// a longer one holds free text and scrolls.
const int kWholeText = 27;

std::unique_ptr<QWidget> makeCard(const QString &name)
{
    if (name == "frmRegistro")
        return std::make_unique<TfrmRegistro>();
    if (name == "frmClienti")
        return std::make_unique<TfrmClienti>();
    return std::make_unique<TfrmPrenotazioni>();
}

// The card as the program shows it, at a screen size.
std::unique_ptr<QWidget> shownCard(const QString &name, const QSize &screen)
{
    std::unique_ptr<QWidget> card = makeCard(name);
    card->setWindowState(Qt::WindowNoState);
    card->resize(screen);
    card->show();
    if (!QTest::qWaitForWindowExposed(card.get()))
        return nullptr;
    QApplication::processEvents();
    return card;
}

// The boxes shown (a province box has an edit line inside).
QList<QLineEdit *> boxesOf(QWidget *card)
{
    QList<QLineEdit *> boxes;
    for (QLineEdit *box : card->findChildren<QLineEdit *>())
        if (box->isVisible())
            boxes.append(box);
    return boxes;
}

} // namespace

// Every card fits the small screens of a working day without horizontal
// scrolling, and every box is wide enough for what it holds, in the house
// style's fonts.
class TestCardLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qv::applyHouseStyle(*qApp); }

    void fitsTheScreen_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QSize>("screen");
        for (const char *card : {"frmRegistro", "frmClienti", "frmPrenotazioni"})
            for (const QSize &screen : {QSize(1280, 720), QSize(1366, 768), QSize(1920, 1080)})
                QTest::newRow(qPrintable(QString("%1 %2x%3").arg(card).arg(screen.width()).arg(screen.height())))
                    << QString(card) << screen;
    }
    void fitsTheScreen()
    {
        QFETCH(QString, card);
        QFETCH(QSize, screen);
        const std::unique_ptr<QWidget> w = shownCard(card, screen);
        QVERIFY(w);
        QCOMPARE(w->size(), screen); // nothing holds the window wider
        auto *scroll = w->findChild<QScrollArea *>("scrScheda");
        QVERIFY(scroll);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->widget()->width() <= scroll->viewport()->width());
        // Nothing of the window (toolbar, column, information bar) past its
        // right edge or its bottom (the column of pictures does not scroll).
        for (QWidget *child : w->findChildren<QWidget *>()) {
            if (!child->isVisible() || scroll->isAncestorOf(child))
                continue;
            const QRect shown(child->mapTo(w.get(), QPoint(0, 0)), child->size());
            QVERIFY2(shown.right() < screen.width(), qPrintable(child->objectName()));
            QVERIFY2(shown.bottom() < screen.height(), qPrintable(child->objectName()));
        }
    }

    // What the reservation card says of its seat wraps beside the seat box:
    // however long, it never makes the card wider than the screen.
    void seatStateNeverWidensTheCard()
    {
        const std::unique_ptr<QWidget> w = shownCard("frmPrenotazioni", QSize(1280, 720));
        QVERIFY(w);
        auto *state = w->findChild<qv::SeatStateLine *>("lblStatoPosto");
        QVERIFY(state);
        state->setState({.known = true, .state = qv::SeatState::Twice,
                         .text = QString::fromUtf8("gi\u00E0 assegnato a 4 persone: Bianchi Giovanni Battista, "
                                                   "Rossi Mario, Verdi Anna Maria, Esposito Gennaro")});
        QApplication::processEvents();
        auto *scroll = w->findChild<QScrollArea *>("scrScheda");
        QVERIFY(scroll);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->widget()->width() <= scroll->viewport()->width());
        const QWidget *group = w->findChild<QWidget *>("grpPosto");
        QVERIFY(group);
        const QRect shown(state->mapTo(group, QPoint(0, 0)), state->size());
        QVERIFY(group->rect().contains(shown));
    }

    void boxesShowWhatTheyHold_data()
    {
        QTest::addColumn<QString>("card");
        for (const char *card : {"frmRegistro", "frmClienti", "frmPrenotazioni"})
            QTest::newRow(card) << QString(card);
    }
    void boxesShowWhatTheyHold()
    {
        QFETCH(QString, card);
        const std::unique_ptr<QWidget> w = shownCard(card, QSize(1280, 720));
        QVERIFY(w);
        int whole = 0;
        for (QLineEdit *box : boxesOf(w.get())) {
            const int length = box->maxLength();
            if (length > kWholeText)
                continue;
            // A province box's own edit line stands for the box.
            QWidget *named = qobject_cast<QComboBox *>(box->parentWidget()) ? box->parentWidget() : box;
            const int needs = qv::widthFor(box, QString(length, QLatin1Char('0')));
            QVERIFY2(box->width() >= needs,
                     qPrintable(QString("%1: %2 < %3").arg(named->objectName()).arg(box->width()).arg(needs)));
            ++whole;
        }
        QVERIFY(whole > 0);
    }

    // A fiscal code has letters where others have digits: real ones shown whole.
    void fiscalCodeShownWhole_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("code");
        for (const char *card : {"frmClienti", "frmPrenotazioni"}) {
            for (const QSize &screen : {QSize(1280, 720), QSize(1366, 768)}) {
                for (const char *code : {"RSSMRA85T10A562S", "WLLMHM90M52Z404W"})
                    QTest::newRow(qPrintable(QString("%1 %2 %3").arg(card).arg(screen.width()).arg(code)))
                        << QString(card) << screen << QString(code);
            }
        }
    }
    void fiscalCodeShownWhole()
    {
        QFETCH(QString, card);
        QFETCH(QSize, screen);
        QFETCH(QString, code);
        const std::unique_ptr<QWidget> w = shownCard(card, screen);
        QVERIFY(w);
        auto *box = w->findChild<QLineEdit *>("txtCodFisc");
        QVERIFY(box);
        box->setText(code);
        QVERIFY2(box->width() >= qv::widthFor(box, code), qPrintable(QString::number(box->width())));
    }
};

QTEST_MAIN(TestCardLayout)
#include "tst_cardlayout.moc"
