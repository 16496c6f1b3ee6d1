#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "archive/records.h"
#include "events/tfrmtrovaregistro.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "frame/windows.h"
#include "output/pageoutput.h"
#include "output/pdftext.h"
#include "password/inifile.h"
#include "password/passwordstore.h"
#include "reservations/seatfixtures.h"
#include "reservations/seatmapprint.h"
#include "reservations/seatwidgets.h"
#include "reservations/tfrmmappaposti.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

const QString kArchive = QStringLiteral("Posti_Riservati_Evento_1.pro");

SeatMapEvent eventIn(const TempProgramFolder &folder, const QString &posti = QStringLiteral("30"))
{
    SeatMapEvent e;
    e.archivePath = folder.file(kArchive);
    e.titolo = QStringLiteral("Convegno di primavera");
    e.dataInizio = QStringLiteral("12/03/2022");
    e.oraInizio = QStringLiteral("09:30");
    e.dataFine = QStringLiteral("13/03/2022");
    e.oraFine = QStringLiteral("18:00");
    e.sede = QStringLiteral("Aula Magna");
    e.indirizzo = QStringLiteral("Via Roma 1");
    e.posti = posti;
    return e;
}

// What the map asked of the reservation card.
struct DeskRecorder
{
    QStringList booked;
    QList<qint64> shown;
    TfrmMappaPosti::Desk desk()
    {
        return {[this](const QString &seat) { booked << seat; }, [this](qint64 record) { shown << record; }};
    }
};

// A map shown and active, the keyboard in its seats.
struct ShownMap
{
    ShownMap(const SeatMapEvent &event, DeskRecorder &desk) : w(std::make_unique<TfrmMappaPosti>(event, desk.desk()))
    {
        w->resize(1100, 700);
        w->show();
        QApplication::setActiveWindow(w.get());
        ok = QTest::qWaitForWindowActive(w.get());
    }
    SeatGrid *grid() const { return w->grdPosti; }
    // Back to the map once a dialog of its own has closed.
    bool activate() const
    {
        QApplication::setActiveWindow(w.get());
        return QTest::qWaitForWindowActive(w.get());
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    QAccessibleInterface *seats() const { return QAccessible::queryAccessibleInterface(grid()); }

    std::unique_ptr<TfrmMappaPosti> w;
    bool ok = false;
};

TfrmMappaPosti *openMap()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *map = qobject_cast<TfrmMappaPosti *>(w); map && map->isVisible())
            return map;
    return nullptr;
}

int openMaps()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<TfrmMappaPosti *>(w) && w->isVisible() ? 1 : 0;
    return count;
}

void doubleClickSeat(SeatGrid *grid, int index)
{
    grid->ensureSeatVisible(index);
    const QPoint at = grid->seatRect(index).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Every page output handed over instead of printed.
struct OutputRecorder
{
    OutputRecorder()
    {
        PageOutput::setHandler([this](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            destinations << d;
            documents << doc;
        });
    }
    ~OutputRecorder() { PageOutput::setHandler({}); }
    QList<PageOutput::Destination> destinations;
    QList<page::Document> documents;
};

} // namespace

class TestMappaPosti : public QObject
{
    Q_OBJECT
private slots:
    // The hall of 30 seats: 30 numbered seats and A5, the counters, the
    // header, and every seat named on the accessibility bus as in its tooltip.
    void thirtySeats()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write(kArchive, qvtest::bookings(qvtest::kThirtySeats));
        DeskRecorder desk;
        ShownMap map(eventIn(folder), desk);
        QVERIFY(map.ok);
        QCOMPARE(map.w->windowTitle(), QString("Mappa dei posti"));
        QCOMPARE(map.w->lblTitoloEvento->text(), QString("Convegno di primavera"));
        QCOMPARE(map.w->lblQuando->text(), QString("Inizio: 12/03/2022 09:30 - Fine: 13/03/2022 18:00"));
        QCOMPARE(map.w->lblSede->text(), QString("Sede: Aula Magna, Via Roma 1"));
        QCOMPARE(map.w->lblContatori->text(), QString("4 prenotati (1 da confermare, 1 con posto fuori pianta), "
                                                      "2 posti occupati su 30, 28 liberi, 1 posto assegnato pi\u00F9 volte"));
        for (const QString &word : {"Libero", "Prenotato", "In attesa di conferma", "Assegnato pi\u00F9 volte"}) {
            bool shown = false;
            for (QLabel *label : map.w->lgdStati->findChildren<QLabel *>())
                shown = shown || (label->text() == word && label->isVisible());
            QVERIFY2(shown, qPrintable(word));
        }
        const SeatMap &seats = map.grid()->map();
        QCOMPARE(seats.seatCount(), 31);
        QCOMPARE(seats.label(30), QString("A5"));
        QCOMPARE(seats.state(11), SeatState::Twice);

        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(map.w.get());
        QCOMPARE(window->text(QAccessible::Name), QString("Mappa dei posti"));
        QAccessibleInterface *list = map.seats();
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QString("Posti"));
        QCOMPARE(list->childCount(), 31);
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *seat = list->child(i);
            QCOMPARE(seat->role(), QAccessible::ListItem);
            QCOMPARE(seat->text(QAccessible::Name), seats.description(i));
            QVERIFY(seat->text(QAccessible::Name).startsWith("Posto " + seats.label(i) + ": "));
            QCOMPARE(list->indexOfChild(seat), i);
            QCOMPARE(seat->parent(), list);
        }
        QCOMPARE(list->child(11)->text(QAccessible::Name),
                 QString("Posto 12: Bianchi Anna, Verdi Luca (assegnato pi\u00F9 volte)"));
        QCOMPARE(list->child(1)->text(QAccessible::Name), QString("Posto 2: Rossi Mario (in attesa di conferma)"));
        QCOMPARE(list->child(6)->text(QAccessible::Name), QString("Posto 7: libero"));
        const QRect twelve = map.grid()->seatRect(11);
        QCOMPARE(list->child(11)->rect(),
                 QRect(map.grid()->viewport()->mapToGlobal(twelve.topLeft()), twelve.size()));
        QCOMPARE(list->childAt(list->child(11)->rect().center().x(), list->child(11)->rect().center().y()),
                 list->child(11));

        // The tooltip says the same.
        QHelpEvent help(QEvent::ToolTip, twelve.center(), map.grid()->viewport()->mapToGlobal(twelve.center()));
        QApplication::sendEvent(map.grid()->viewport(), &help);
        QCOMPARE(QToolTip::text(), seats.description(11));
        QToolTip::hideText();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(desk.booked.size() + desk.shown.size(), 0);
    }

    // The map by keyboard alone: Tab in and out, the arrows, Enter as the
    // double-click (several holders: a small list), F5, Ctrl+P, F1, Ctrl+W.
    void keyboardOnly()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        OutputRecorder output;
        folder.write(kArchive, qvtest::bookings(qvtest::kThirtySeats));
        DeskRecorder desk;
        ShownMap map(eventIn(folder), desk);
        QVERIFY(map.ok);
        SeatGrid *grid = map.grid();
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->current(), 0);

        // Tab leaves the seats for the row width, and comes back.
        map.key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), map.w->spnPostiPerFila);
        map.key(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "10");
        map.key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->seatsPerRow(), 10);

        for (int i = 0; i < 6; ++i)
            map.key(Qt::Key_Right);
        QCOMPARE(grid->current(), 6);
        QCOMPARE(map.seats()->focusChild()->text(QAccessible::Name), QString("Posto 7: libero"));
        QVERIFY(map.seats()->child(6)->state().focused);
        map.key(Qt::Key_Down);
        QCOMPARE(grid->current(), 16);
        map.key(Qt::Key_Up);
        QCOMPARE(grid->current(), 6);
        map.key(Qt::Key_Return);
        QCOMPARE(desk.booked, QStringList{"7"});

        // Seat 12 is held by two cards: the user picks one.
        for (int i = 0; i < 5; ++i)
            map.key(Qt::Key_Right);
        QCOMPARE(grid->current(), 11);
        QStringList lines;
        qvtest::whenModal([&lines](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("frmSceltaScheda"));
            auto *list = dialog->findChild<QListWidget *>("lstSchede");
            for (int i = 0; i < list->count(); ++i)
                lines << list->item(i)->text();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        map.key(Qt::Key_Return);
        QCOMPARE(lines, (QStringList{"Scheda n. 2: Bianchi Anna", "Scheda n. 3: Verdi Luca"}));
        QCOMPARE(desk.shown, QList<qint64>{3});
        // Cancelled: nothing shown.
        QVERIFY(map.activate());
        qvtest::whenModal([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        map.key(Qt::Key_Return);
        QCOMPARE(desk.shown, QList<qint64>{3});

        QVERIFY(map.activate());
        map.key(Qt::Key_Home, Qt::ControlModifier);
        map.key(Qt::Key_Right);
        QCOMPARE(grid->current(), 1);
        map.key(Qt::Key_Return);
        map.key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->map().label(grid->current()), QString("A5"));
        map.key(Qt::Key_Return);
        QCOMPARE(desk.shown, (QList<qint64>{3, 1, 4}));

        // F5 reads the archive again: another desk booked seat 7.
        folder.write(kArchive, qvtest::bookings(QStringList(qvtest::kThirtySeats) << "Gialli Ugo|7"));
        QCOMPARE(grid->map().state(6), SeatState::Free);
        map.key(Qt::Key_F5);
        QCOMPARE(grid->map().state(6), SeatState::Booked);
        QVERIFY(map.w->lblContatori->text().contains(", 3 posti occupati su 30, 27 liberi, "));

        map.key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(output.destinations, QList<PageOutput::Destination>{PageOutput::Destination::Printer});
        QCOMPARE(output.documents.first().setup.orientation, QPageLayout::Landscape);

        QString guide;
        qvtest::whenModal([&guide](QWidget *dialog) {
            if (auto *g = qobject_cast<TfrmGuida *>(dialog))
                guide = g->lblTitolo->text();
        });
        map.key(Qt::Key_F1);
        QCOMPARE(guide, QString("Mappa dei posti."));

        QVERIFY(map.activate());
        map.key(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!map.w->isVisible());
        QCOMPARE(messages.count(), 0);

        // The guide's table tells these keys.
        const QString keys = shortcutTable(GuideTopic::SeatMap);
        for (const QString &key : {"F5: ", "Ctrl+P: stampa la mappa", "Ctrl+Maiusc+E: ", "F1: ", "Ctrl+W: ", "Invio: ",
                                   "Frecce: ", "Tab: "})
            QVERIFY2(keys.contains(key), qPrintable(key));
    }

    // A seat on more cards than the map names: the choice still offers every
    // one of them, read back from the archive.
    void choiceOfManyHolders()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QStringList cards;
        for (int i = 1; i <= 6; ++i)
            cards << QString("Persona %1|3").arg(i);
        folder.write(kArchive, qvtest::bookings(cards));
        DeskRecorder desk;
        ShownMap map(eventIn(folder), desk);
        QVERIFY(map.ok);
        QVERIFY(map.seats()->child(2)->text(QAccessible::Name).contains("Persona 4 e altre 2 persone"));
        int lines = 0;
        qvtest::whenModal([&lines](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>("lstSchede");
            lines = list->count();
            QTest::keyClick(list, Qt::Key_End);
            QTest::keyClick(list, Qt::Key_Return);
        });
        map.grid()->activate(2);
        QCOMPARE(lines, 6);
        QCOMPARE(desk.shown, QList<qint64>{6});
        QCOMPARE(messages.count(), 0);
    }

    // Another desk books meanwhile: back from another window, the map reads
    // the archive again; while it stays active it does not.
    void readsAgainWhenActiveAgain()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write(kArchive, qvtest::bookings({"Rossi Mario|1"}));
        DeskRecorder desk;
        ShownMap map(eventIn(folder), desk);
        QVERIFY(map.ok);
        QCOMPARE(map.grid()->map().state(4), SeatState::Free);
        folder.write(kArchive, qvtest::bookings({"Rossi Mario|1", "Bianchi Anna|5|p"}));
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(map.grid()->map().state(4), SeatState::Free);
        QApplication::setActiveWindow(map.w.get());
        QVERIFY(QTest::qWaitForWindowActive(map.w.get()));
        QCOMPARE(map.grid()->map().state(4), SeatState::Pending);
        QCOMPARE(messages.count(), 0);
    }

    // An archive that cannot be read: the access message, and no seat is
    // shown free; a double-click on a seat of unknown state does nothing.
    void unreadableArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QVERIFY(QDir().mkpath(folder.file(kArchive)));
        DeskRecorder desk;
        ShownMap map(eventIn(folder), desk);
        QVERIFY(map.ok);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Failure);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        const SeatMap &seats = map.grid()->map();
        QCOMPARE(seats.seatCount(), 30);
        for (int i = 0; i < seats.seatCount(); ++i) {
            QCOMPARE(seats.state(i), SeatState::Unknown);
            QCOMPARE(map.seats()->child(i)->text(QAccessible::Name), QString("Posto %1: stato non noto").arg(i + 1));
        }
        QVERIFY(map.w->lblContatori->text().contains(", 0 posti occupati su 30, 0 liberi, "));
        QVERIFY(map.w->lblContatori->text().endsWith(", 30 posti di stato non noto"));
        QVERIFY(map.w->lgdStati->findChild<QLabel *>("lblLegenda4")->isVisible());
        map.key(Qt::Key_Return);
        doubleClickSeat(map.grid(), 6);
        QCOMPARE(desk.booked.size() + desk.shown.size(), 0);
        map.key(Qt::Key_F5);
        QCOMPARE(messages.count(), 2);
        QVERIFY(QFileInfo(folder.file(kArchive)).isDir());
    }

    // A missing archive is an event without bookings, and looking creates nothing.
    void missingArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        DeskRecorder desk;
        ShownMap map(eventIn(folder, "12"), desk);
        QVERIFY(map.ok);
        QCOMPARE(map.w->lblContatori->text(), QString("0 prenotati (0 da confermare, 0 con posto fuori pianta), "
                                                      "0 posti occupati su 12, 12 liberi, 0 posti assegnati pi\u00F9 volte"));
        QVERIFY(!QFile::exists(folder.file(kArchive)));
        QCOMPARE(messages.count(), 0);
    }

    // The PDF: A4 landscape sheets, each with the header, the counters and
    // the legend, every seat on one of them, the print line below.
    void pdfPages()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        messages.answers = {false}; // the file is not opened
        qvtest::ShellRecorder shell;
        qvtest::FixedClock clock(QDateTime(QDate(2022, 3, 5), QTime(14, 5, 9)));
        folder.write(kArchive, qvtest::bookings({"Rossi Mario|2|p", "Bianchi Anna|12", "Verdi Luca|12", "Neri|a5",
                                                 "Gialli|499"}));
        DeskRecorder desk;
        ShownMap map(eventIn(folder, "500"), desk);
        QVERIFY(map.ok);
        map.w->spnPostiPerFila->setValue(20);
        QTest::mouseClick(map.w->cmdPDF, Qt::LeftButton);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, "La mappa dei posti \u00E8 stata salvata in PDF nel file "
                                           + QDir::toNativeSeparators(folder.file("Mappa_Posti_Evento_1.pdf"))
                                           + ".\r\n\r\nSi vuole aprire il file?");
        QVERIFY(shell.commands.isEmpty());
        QFile file(folder.file("Mappa_Posti_Evento_1.pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const qvtest::PdfContent pdf = qvtest::readPdf(file.readAll());
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.title, QString("Mappa dei posti"));
        const int pages = int(pdf.pageSizes.size());
        QCOMPARE(pages, 2); // 25 rows of 20 seats: 18 on the first sheet
        const QString counters = map.w->lblContatori->text();
        QCOMPARE(counters, QString("5 prenotati (1 da confermare, 1 con posto fuori pianta), 3 posti occupati su 500, "
                                   "497 liberi, 1 posto assegnato pi\u00F9 volte"));
        QStringList all;
        for (int p = 0; p < pages; ++p) {
            QCOMPARE(pdf.pageSizes.at(p), QSizeF(842, 595));
            const QStringList texts = pdf.pageTexts.at(p);
            for (const QString &text : {QString("Mappa dei posti - Convegno di primavera"), counters,
                                        QString("Libero"), QString("Prenotato"), QString("In attesa di conferma"),
                                        QString("Assegnato pi\u00F9 volte"),
                                        QString("Stampa eseguita in data 05/03/2022"),
                                        QString("Pagina %1 di 2").arg(p + 1)})
                QVERIFY2(texts.contains(text), qPrintable(QString("%1 on page %2").arg(text).arg(p + 1)));
            all += texts;
        }
        for (const QString &text : {"1", "499", "500", "A", "A5"})
            QVERIFY2(all.contains(text), qPrintable(text));
        // Every seat on exactly one sheet.
        int seats = 0;
        for (const page::Page &page : map.w->document().pages)
            for (const page::TextBox *box : page.textBoxes())
                seats += box->name == QLatin1String("txtPosto") ? 1 : 0;
        QCOMPARE(seats, 501);
    }

    // Printed rows never run off the sheet; a printed map of the whole
    // largest hall is split over sheets without losing a seat.
    void printedRowsFitTheSheet()
    {
        SeatMap big(9999);
        SeatMapEvent e;
        e.titolo = "Stadio";
        const page::Document doc = SeatMapPrint::document(e, big, 0, QDate(2022, 3, 5));
        int seats = 0;
        for (const page::Page &page : doc.pages) {
            for (const page::TextBox *box : page.textBoxes()) {
                QVERIFY(box->rect.right() <= 277 + 1e-6);
                QVERIFY(box->rect.bottom() <= 190 + 1e-6);
                if (box->name == QLatin1String("txtPosto")) {
                    ++seats;
                    QVERIFY(box->rect.top() >= SeatMapPrint::kSeatsTop);
                    QVERIFY(box->rect.bottom() <= SeatMapPrint::kSeatsBottom + 1e-6);
                }
            }
        }
        QCOMPARE(seats, 9999);
        QCOMPARE(doc.setup.size, QPageSize::A4);
        QVERIFY(doc.pages.size() > 1);
    }

    // The row width is the user's, kept in the INI file for the next map;
    // "adatta alla finestra" makes rows as wide as the window.
    void rowWidthRemembered()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        DeskRecorder desk;
        {
            ShownMap map(eventIn(folder, "100"), desk);
            QVERIFY(map.ok);
            QCOMPARE(map.w->spnPostiPerFila->value(), 0);
            QCOMPARE(map.w->spnPostiPerFila->text(), QString("adatta alla finestra"));
            const int fits = map.grid()->seatsPerRow();
            QVERIFY(fits > 5);
            map.w->resize(700, 600);
            QTRY_VERIFY(map.grid()->seatsPerRow() < fits);
            map.w->spnPostiPerFila->setValue(12);
            QCOMPARE(map.grid()->seatsPerRow(), 12);
        }
        QCOMPARE(IniFile::readValue(PasswordStore::filePath(), "MappaPosti", "PostiPerFila"), QString("12"));
        {
            ShownMap map(eventIn(folder, "100"), desk);
            QVERIFY(map.ok);
            QCOMPARE(map.w->spnPostiPerFila->value(), 12);
            QCOMPARE(map.grid()->seatsPerRow(), 12);
        }
        IniFile::writeValue(PasswordStore::filePath(), "MappaPosti", "PostiPerFila", "molti");
        QCOMPARE(TfrmMappaPosti::storedRowWidth(), 0);
        QCOMPARE(messages.count(), 0);
    }

    // Booked from the map as a user does it: the event chosen, the map from
    // its picture, seat 7 double-clicked onto a new card and saved, the map
    // active again showing it booked; a held seat shows its card; back at the
    // main menu the map closes.
    void doubleClickBooksOnTheCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TSchedaEvento e;
        e.setText("Titolo", "Convegno");
        e.setText("DataInizio", "12/03/2030");
        e.setText("Posti", "30");
        folder.write("Eventi.pro", e.bytes());
        folder.write(kArchive, qvtest::bookings(qvtest::kThirtySeats));
        createWindows();
        AppWindows &w = windows();
        w.frmAvvio->show();
        w.frmAvvio->PostiClick();
        TfrmMenuPrenotazioni *selection = w.frmMenuPrenotazioni;
        QVERIFY(!selection->imgMappa->isEnabled());
        qvtest::whenModal([](QWidget *dialog) {
            auto *search = qobject_cast<TfrmTrovaRegistro *>(dialog);
            QTest::mouseClick(search->btnCerca, Qt::LeftButton);
            search->selectRow(0);
            search->lstRecordsDblClick();
        });
        QTest::mouseClick(selection->btnSeleziona, Qt::LeftButton);
        QCOMPARE(selection->lblPrenotati->text(), QString("4 prenotati (1 da confermare, 1 con posto fuori pianta), "
                                                          "2 posti occupati su 30, 28 liberi, 1 posto assegnato pi\u00F9 volte"));
        QVERIFY(selection->imgMappa->isEnabled());
        QCOMPARE(selection->imgMappa->text(), QString("Mappa dei posti"));
        QCOMPARE(QAccessible::queryAccessibleInterface(selection->imgMappa)->text(QAccessible::Name),
                 QString("Mappa dei posti"));
        QTest::mouseClick(selection->imgMappa, Qt::LeftButton);
        TfrmMappaPosti *map = openMap();
        QVERIFY(map);
        const QPointer<TfrmMappaPosti> alive(map);
        QApplication::setActiveWindow(map);
        QVERIFY(QTest::qWaitForWindowActive(map));
        QCOMPARE(map->grdPosti->map().seatCount(), 31);

        doubleClickSeat(map->grdPosti, 6);
        TfrmPrenotazioni *card = w.frmPrenotazioni;
        QVERIFY(card->isVisible());
        QVERIFY(!selection->isVisible());
        QVERIFY(card->lblFile->text().endsWith("/" + kArchive));
        QCOMPARE(card->txtTitolo->text(), QString("Convegno"));
        QCOMPARE(card->txtPosto->text(), QString("7"));
        QCOMPARE(card->lblPosizione->text(), QString());
        QCOMPARE(card->lblStatoPosto->text(), QString("libero"));
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        card->txtCliente->setFocus();
        QTest::keyClicks(card->txtCliente, "Gialli Ugo");
        QTest::keyClick(card->txtCliente, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages.last().text, CardOperations::kInserted);
        QCOMPARE(card->lblPosizione->text(), QString("5"));

        QCOMPARE(map->grdPosti->map().state(6), SeatState::Free); // not active since
        QApplication::setActiveWindow(map);
        QVERIFY(QTest::qWaitForWindowActive(map));
        QCOMPARE(map->grdPosti->map().state(6), SeatState::Booked);
        QVERIFY(map->lblContatori->text().startsWith("5 prenotati (1 da confermare, 1 con posto fuori pianta), "
                                                     "3 posti occupati su 30, 27 liberi, "));

        // A held seat: its card.
        doubleClickSeat(map->grdPosti, 1);
        QCOMPARE(card->lblPosizione->text(), QString("1"));
        QCOMPARE(card->txtCliente->text(), QString("Rossi Mario"));
        QVERIFY(card->chkDaConfermare->isChecked());
        QCOMPARE(card->lblStatoPosto->text(), QString("assegnato a questa scheda"));

        // What is typed on the card survives a double-click on a free seat:
        // the seat goes into the card being typed.
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        QTest::keyClick(card->txtCliente, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(card->lblPosizione->text(), QString());
        card->txtCliente->setText("Azzurri Ada");
        doubleClickSeat(map->grdPosti, 8);
        QCOMPARE(card->txtCliente->text(), QString("Azzurri Ada"));
        QCOMPARE(card->txtPosto->text(), QString("9"));
        QCOMPARE(card->lblPosizione->text(), QString());
        QCOMPARE(messages.count(), 1);
        // A held seat asks before its card replaces the typing; "No" keeps it.
        messages.answers = {false};
        doubleClickSeat(map->grdPosti, 1);
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(card->txtCliente->text(), QString("Azzurri Ada"));
        QCOMPARE(card->lblPosizione->text(), QString());
        messages.answers = {true};
        doubleClickSeat(map->grdPosti, 1);
        QCOMPARE(card->lblPosizione->text(), QString("1"));
        QCOMPARE(messages.count(), 3);

        // Ctrl+M brings the same map forward; leaving the card closes it.
        QApplication::setActiveWindow(card);
        QVERIFY(QTest::qWaitForWindowActive(card));
        QTest::keyClick(card->txtCliente, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(openMaps(), 1);
        QCOMPARE(openMap(), map);
        QTest::mouseClick(card->btnEsci, Qt::LeftButton);
        QVERIFY(w.frmAvvio->isVisible());
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(messages.count(), 3);
        destroyWindows();
    }
};

QTEST_MAIN(TestMappaPosti)
#include "tst_mappaposti.moc"
