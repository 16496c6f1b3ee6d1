#include "app/appwindows.h"
#include "core/clock.h"
#include "dayfixtures.h"
#include "frame/guide.h"
#include "frame/windows.h"
#include "output/pageoutput.h"
#include "output/pdftext.h"
#include "output/qrcode.h"
#include "eventday/badgecode.h"
#include "eventday/badges.h"
#include "eventday/tfrmcartellini.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "reservations/tfrmverificaposti.h"
#include "support/testsupport.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>


using namespace qv;
using dayfixtures::Guest;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

namespace {

// Records what would go to the printer dialog or the preview window.
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

QStringList textsNamed(const page::Page &page, const QString &stem)
{
    QStringList texts;
    for (const page::TextBox *box : page.textBoxes())
        if (box->name.startsWith(stem) && box->name.mid(stem.size()).toInt() > 0)
            texts << box->text;
    return texts;
}

// The module grid read back from the filled frames the page holds inside
// `square`: a module is dark when its centre lies in a black frame.
QList<QList<bool>> modulesIn(const page::Page &page, const QRectF &square, int modules)
{
    QList<QRectF> dark;
    for (const page::Element &e : page.elements)
        if (const auto *f = std::get_if<page::Frame>(&e); f && f->fill == Qt::black && square.contains(f->rect))
            dark << f->rect;
    const double size = square.width() / modules;
    QList<QList<bool>> grid(modules, QList<bool>(modules, false));
    for (int y = 0; y < modules; ++y)
        for (int x = 0; x < modules; ++x) {
            const QPointF centre(square.left() + (x + 0.5) * size, square.top() + (y + 0.5) * size);
            for (const QRectF &r : dark)
                if (r.contains(centre))
                    grid[y][x] = true;
        }
    return grid;
}

QRectF codeSquare(const Badges::LabelSheet &sheet, int k)
{
    return Badges::places(sheet).code.translated(sheet.labelRect(k).topLeft());
}

} // namespace

class TestBadges : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(10, 0))); }
    void cleanup() { Clock::setFixed({}); }

    // The common sheets: the grid of labels centred on A4, every label on the paper.
    void labelSheets_data()
    {
        QTest::addColumn<int>("perPage");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("top");
        QTest::newRow("8 per page") << 8 << 67.7 << 13.1;
        QTest::newRow("10 per page") << 10 << 57.0 << 6.0;
    }
    void labelSheets()
    {
        QFETCH(int, perPage);
        QFETCH(double, height);
        QFETCH(double, top);
        const Badges::LabelSheet &sheet = perPage == 8 ? Badges::eightPerPage() : Badges::tenPerPage();
        QCOMPARE(sheet.perPage(), perPage);
        QCOMPARE(sheet.label, QSizeF(99.1, height));
        QCOMPARE(sheet.columns, 2);
        QVERIFY(qAbs(sheet.top - top) < 1e-9);
        QVERIFY(qAbs(sheet.left - 4.65) < 1e-9);
        const page::Document doc = Badges::document(dayfixtures::convegno(), {{1, "A", "1"}}, sheet);
        const QMarginsF m = doc.setup.margins;
        QVERIFY(qAbs(m.left() - m.right()) < 1e-9);
        QVERIFY(qAbs(m.top() - m.bottom()) < 1e-9);
        const QRectF last = sheet.labelRect(perPage - 1).translated(m.left(), m.top());
        QVERIFY(qAbs(last.right() - (210 - m.right())) < 1e-9);
        QVERIFY(qAbs(last.bottom() - (297 - m.bottom())) < 1e-9);
        // The parts of a badge stand apart, inside the label.
        const Badges::Places p = Badges::places(sheet);
        const QRectF label(QPointF(0, 0), sheet.label);
        for (const QRectF &r : {p.band, p.name, p.seat, p.date, p.code})
            QVERIFY(label.contains(r));
        QVERIFY(p.name.right() < p.code.left());
        QVERIFY(p.band.bottom() < p.name.top());
        QVERIFY(p.name.bottom() <= p.seat.top());
        QVERIFY(qFuzzyCompare(p.code.width(), p.code.height()));
    }

    // Ten bookings on the sheet of eight: two A4 pages, eight badges and two,
    // in seat order; every code holds its booking, module for module.
    void tenBookingsOnTheEightSheet()
    {
        TempProgramFolder folder;
        QList<Guest> guests = dayfixtures::numberedGuests(10);
        std::reverse(guests.begin(), guests.end()); // booked from the back: badges still in seat order
        const QList<Booking> bookings = Bookings::read(dayfixtures::writeBookings(folder, 3, guests));
        const page::Document doc = Badges::document(dayfixtures::convegno(), bookings, Badges::eightPerPage());
        QCOMPARE(doc.setup.size, QPageSize::A4);
        QCOMPARE(doc.setup.orientation, QPageLayout::Portrait);
        QCOMPARE(doc.pages.size(), 2);
        QCOMPARE(textsNamed(doc.pages[0], "txtPosto"),
                 (QStringList{"Posto 1", "Posto 2", "Posto 3", "Posto 4", "Posto 5", "Posto 6", "Posto 7", "Posto 8"}));
        QCOMPARE(textsNamed(doc.pages[1], "txtPosto"), (QStringList{"Posto 9", "Posto 10"}));
        QCOMPARE(textsNamed(doc.pages[1], "txtNome"), (QStringList{"Ospite 9", "Ospite 10"}));
        QCOMPARE(textsNamed(doc.pages[1], "txtData"), (QStringList{"12/03/2026", "12/03/2026"}));
        QCOMPARE(textsNamed(doc.pages[0], "txtTitolo").size(), 8);
        QCOMPARE(doc.pages[0].textBox("txtTitolo1")->text, QStringLiteral("Convegno di primavera"));

        for (int i = 0; i < 10; ++i) {
            const Booking &b = bookings.at(i);
            const QByteArray text = BadgeCode::text(3, b.number, b.posto);
            QCOMPARE(text, QByteArray("QV1;E3;R") + QByteArray::number(11 - (i + 1)) + ";P" + QByteArray::number(i + 1));
            const QrCode code = QrCode::encode(text);
            const int modules = code.sizeWithQuietZone();
            const QList<QList<bool>> drawn = modulesIn(doc.pages[i / 8], codeSquare(Badges::eightPerPage(), i % 8), modules);
            for (int y = 0; y < modules; ++y)
                for (int x = 0; x < modules; ++x)
                    QVERIFY2(drawn[y][x] == code.dark(x - QrCode::kQuietZone, y - QrCode::kQuietZone),
                             qPrintable(QStringLiteral("badge %1, module %2,%3").arg(i + 1).arg(x).arg(y)));
        }
    }

    // A name is shrunk, or broken at its blanks, until it fits whole: drawn,
    // its ink stays inside its box, never cut at an edge.
    void namesAreNeverCut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("perPage");
        QTest::newRow("short") << "Li Bo" << 8;
        QTest::newRow("usual") << "Bianchi Anna Maria" << 10;
        QTest::newRow("fifty characters") << "Giovanni Battista Maria Francesca De Santis Rovere" << 8;
        QTest::newRow("fifty, smaller label") << "Giovanni Battista Maria Francesca De Santis Rovere" << 10;
        QTest::newRow("one long word") << QString(50, 'W') << 10;
        QTest::newRow("accents") << QStringLiteral("\u00C9lodie D'Ann\u00F9nzio-Sch\u00E4fer") << 8;
    }
    void namesAreNeverCut()
    {
        QFETCH(QString, name);
        QFETCH(int, perPage);
        const Badges::LabelSheet &sheet = perPage == 8 ? Badges::eightPerPage() : Badges::tenPerPage();
        const page::Document doc = Badges::document(dayfixtures::convegno(), {{1, name, "12"}}, sheet);
        const page::TextBox *box = doc.pages[0].textBox("txtNome1");
        QVERIFY(box);
        QCOMPARE(QString(box->text).replace('\n', ' '), name);
        const QRectF area = Badges::places(sheet).name;
        QVERIFY(area.contains(box->rect));
        for (const QString &line : box->text.split('\n'))
            QVERIFY2(page::textWidth(line, box->font) <= box->rect.width(), qPrintable(line));
        if (name.size() <= 20)
            QVERIFY2(box->font.pointSizeF() >= 20, "a short name is large");

        for (const int dpi : {150, 300}) {
            const QImage image = page::renderPage(doc, 0, dpi);
            const double k = dpi / 25.4;
            const QRectF onPaper = box->rect.translated(doc.setup.margins.left(), doc.setup.margins.top());
            // The ink of the name's band, from the label's left edge to the code.
            const int top = int(onPaper.top() * k), bottom = int(onPaper.bottom() * k);
            const int left = int(doc.setup.margins.left() * k);
            const int right = int((doc.setup.margins.left() + Badges::places(sheet).code.left()) * k) - 1;
            int inkLeft = right, inkRight = left, inkTop = bottom, inkBottom = top;
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x)
                    if (qGray(image.pixel(x, y)) < 128) {
                        inkLeft = std::min(inkLeft, x);
                        inkRight = std::max(inkRight, x);
                        inkTop = std::min(inkTop, y);
                        inkBottom = std::max(inkBottom, y);
                    }
            QVERIFY2(inkRight > inkLeft, "the name is drawn");
            // A cut text would run into the box's right edge, where the clip is.
            QVERIFY2(inkRight < onPaper.right() * k - 1, qPrintable(QStringLiteral("%1 dpi").arg(dpi)));
            QVERIFY(inkLeft >= onPaper.left() * k - 1);
            QVERIFY(inkTop > top && inkBottom < bottom);
        }
    }

    void fitKeepsWordsWhole()
    {
        const Badges::Fitted two = Badges::fit("Bianchi Anna", QSizeF(40, 30), 26, 3, true);
        QCOMPARE(two.lines, (QStringList{"Bianchi", "Anna"}));
        QCOMPARE(two.points, 26.0);
        const Badges::Fitted one = Badges::fit("Bianchi Anna", QSizeF(90, 12), 26, 3, true);
        QCOMPARE(one.lines, QStringList{"Bianchi Anna"});
        const Badges::Fitted shrunk = Badges::fit("Bianchi Anna", QSizeF(20, 6), 26, 3, true);
        QCOMPARE(shrunk.lines, QStringList{"Bianchi Anna"});
        QVERIFY(shrunk.points < 12);
    }

    // The window: which bookings, which sheet; preview, print and PDF.
    void windowChoosesBookingsAndSheet_data()
    {
        QTest::addColumn<int>("current"); // -1: not from the card
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("count");
        const QStringList all{"Ospite 1", "Ospite 2", "Ospite 3"};
        QTest::newRow("all") << -1 << "optTutte" << "optFoglio8" << all << "3 cartellini su 1 foglio.";
        QTest::newRow("confirmed") << -1 << "optConfermate" << "optFoglio10" << QStringList{"Ospite 1", "Ospite 3"}
                                   << "2 cartellini su 1 foglio.";
        QTest::newRow("the card's") << 2 << "optScheda" << "optFoglio8" << QStringList{"Ospite 2"}
                                    << "Un cartellino su un foglio.";
    }
    void windowChoosesBookingsAndSheet()
    {
        QFETCH(int, current);
        QFETCH(QString, option);
        QFETCH(QString, sheet);
        QFETCH(QStringList, names);
        QFETCH(QString, count);
        TempProgramFolder folder;
        QList<Guest> guests = dayfixtures::numberedGuests(3);
        guests[1].pending = true;
        const QString path = dayfixtures::writeBookings(folder, 3, guests);
        OutputRecorder output;
        TfrmCartellini w(path, dayfixtures::convegno(), nullptr,
                         current < 0 ? std::nullopt : std::optional<qint64>(current));
        QCOMPARE(w.windowTitle(), QStringLiteral(" Cartellini con codice QR"));
        QCOMPARE(w.optScheda->isHidden(), current < 0);
        QCOMPARE(w.optScheda->isChecked(), current > 0); // from a saved card: its own badge first
        w.findChild<QRadioButton *>(option)->click();
        w.findChild<QRadioButton *>(sheet)->click();
        QCOMPARE(w.lblConta->text(), count);
        w.cmdAnteprima->click();
        w.cmdStampa->click();
        QCOMPARE(output.destinations, (QList<PageOutput::Destination>{PageOutput::Destination::Preview,
                                                                      PageOutput::Destination::Printer}));
        QCOMPARE(textsNamed(output.documents.first().pages.first(), "txtNome"), names);
        QCOMPARE(output.documents.first().setup.margins.top(),
                 sheet == "optFoglio8" ? Badges::eightPerPage().top : Badges::tenPerPage().top);
    }

    void windowFromAnUnsavedCardOffersNoCardBadge()
    {
        TempProgramFolder folder;
        TfrmCartellini w(dayfixtures::writeBookings(folder, 3, dayfixtures::numberedGuests(2)), dayfixtures::convegno(),
                         nullptr, 0);
        QVERIFY(!w.optScheda->isHidden());
        QVERIFY(!w.optScheda->isEnabled());
        QVERIFY(w.optTutte->isChecked());
    }

    void windowGuideAndKeys()
    {
        TempProgramFolder folder;
        TfrmCartellini w(folder.file("Posti_Riservati_Evento_3.pro"), dayfixtures::convegno(), nullptr);
        QCOMPARE(shortcutOf(w.cmdAnteprima), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        QCOMPARE(shortcutOf(w.cmdStampa), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(shortcutOf(w.cmdPDF), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        QString title;
        qvtest::whenModal([&](QWidget *dialog) {
            if (auto *guide = qobject_cast<TfrmGuida *>(dialog))
                title = guide->lblTitolo->text();
        });
        w.cmdGuida->click();
        QCOMPARE(title, QStringLiteral("Cartellini con codice QR."));
    }

    void windowWithNothingToPrintSaysSo()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        OutputRecorder output;
        TfrmCartellini w(folder.file("Posti_Riservati_Evento_3.pro"), dayfixtures::convegno(), nullptr);
        w.cmdStampa->click();
        QVERIFY(output.documents.isEmpty());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(!QFile::exists(folder.file("Posti_Riservati_Evento_3.pro"))); // nothing created by looking
    }

    // "Cartellini_Evento_<n>_<labels>.pdf": named with its file and folder,
    // written whole in place of the old one, offered to open; the other sheet
    // makes a file of its own; a file that cannot be written leaves the old
    // one; a desktop that cannot open it says where it is.
    void pdfInTheProgramFolder()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        messages.answers = {true};
        const QString eight = folder.file("Cartellini_Evento_3_8.pdf");
        folder.write("Cartellini_Evento_3_8.pdf", "old badges");
        TfrmCartellini w(dayfixtures::writeBookings(folder, 3, dayfixtures::numberedGuests(10)), dayfixtures::convegno(),
                         nullptr);
        w.cmdPDF->click();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(messages.last().text, "I cartellini sono stati salvati in PDF nel file " + QDir::toNativeSeparators(eight)
                                           + ".\r\n\r\nSi vuole aprire il file?");
        QCOMPARE(shell.commands, QStringList{'"' + eight + '"'});
        const QByteArray bytes = folder.read("Cartellini_Evento_3_8.pdf");
        QVERIFY(!bytes.contains("/FlateDecode"));
        const qvtest::PdfContent pdf = qvtest::readPdf(bytes);
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pageSizes, (QList<QSizeF>{QSizeF(595, 842), QSizeF(595, 842)}));
        QVERIFY(pdf.pageText(0).contains("Ospite 8"));
        QVERIFY(pdf.pageText(1).contains("Posto 10"));
        QVERIFY(!pdf.pageText(1).contains("Ospite 8"));

        messages.clear();
        messages.answers = {true};
        shell.opens = false;
        w.optFoglio10->setChecked(true);
        w.cmdPDF->click();
        QCOMPARE(QDir(folder.path()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden),
                 (QStringList{"Cartellini_Evento_3_10.pdf", "Cartellini_Evento_3_8.pdf"}));
        QCOMPARE(folder.read("Cartellini_Evento_3_8.pdf"), bytes);
        QCOMPARE(qvtest::readPdf(folder.read("Cartellini_Evento_3_10.pdf")).pageSizes.size(), 1);
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(messages.last().text.contains(QDir::toNativeSeparators(folder.file("Cartellini_Evento_3_10.pdf"))));

        qvtest::ReadOnly readOnly(folder.path());
        if (!readOnly.ok())
            QSKIP("the folder cannot be made read-only here");
        messages.clear();
        w.optFoglio8->setChecked(true);
        w.cmdPDF->click();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Plain);
        QVERIFY(messages.last().text.startsWith("Attenzione: il sistema non permette di creare il file PDF."));
        QCOMPARE(folder.read("Cartellini_Evento_3_8.pdf"), bytes);
    }

    // The booked-seats list gets two pictures, the event selection one; the
    // list's own controls and their order stay as they were.
    void entryPoints()
    {
        TempProgramFolder folder;
        createWindows();
        MessageRecorder messages;
        ShellRecorder shell;
        dayfixtures::writeBookings(folder, 3, {{"Rossi", "1", "r@example.it"}, {"Verdi", "2"}});

        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->show();
        QVERIFY(!selection->imgCartellini->isEnabled());
        QVERIFY(!selection->imgAccoglienza->isEnabled());
        selection->lblPosizione->setText("3");
        selection->txtTitolo->setText("Convegno di primavera");
        QVERIFY(selection->imgCartellini->isEnabled());
        QCOMPARE(selection->imgCartellini->text(), QStringLiteral("Cartellini"));
        QString opened;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *badges = qobject_cast<TfrmCartellini *>(dialog);
            QVERIFY(badges);
            opened = badges->lblConta->text();
            QVERIFY(badges->optScheda->isHidden());
        });
        selection->imgCartellini->click();
        QCOMPARE(opened, QStringLiteral("2 cartellini su 1 foglio."));

        selection->btnAssegnaClick();
        TfrmPrenotazioni *card = windows().frmPrenotazioni;
        QVERIFY(card->isVisible());
        QCOMPARE(card->eventInfo().number, qint64(3));
        QString shown;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *list = qobject_cast<TfrmVerificaPosti *>(dialog);
            QVERIFY(list);
            auto *badges = list->findChild<QToolButton *>("btnCartellini");
            auto *notice = list->findChild<QToolButton *>("btnAvvisoTutti");
            QVERIFY(badges && notice);
            QCOMPARE(badges->text(), QStringLiteral("Cartellini"));
            QCOMPARE(notice->text(), QStringLiteral("Avviso a tutti"));
            QCOMPARE(badges->focusPolicy(), Qt::NoFocus);
            QWidget *next = list->lstRecords->nextInFocusChain();
            while (next != list->lstRecords && !(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            QCOMPARE(next, static_cast<QWidget *>(list->btnStampa)); // Tab goes on as before
            QCOMPARE(list->lines().size(), 2);
            notice->click();
            shown = list->lines().first();
        });
        card->btnPrenotatiClick();
        QVERIFY(shown.startsWith("Posto n. 00001"));
        QCOMPARE(shell.commands.size(), 1);
        QVERIFY(shell.commands.first().startsWith("\"mailto:?bcc=r@example.it&subject=Comunicazione"));
        QCOMPARE(messages.count(), 1); // Verdi has no address
        destroyWindows();
    }
};

QTEST_MAIN(TestBadges)
#include "tst_badges.moc"
