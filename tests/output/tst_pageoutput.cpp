#include "core/clock.h"
#include "output/listreport.h"
#include "output/pageoutput.h"
#include "output/pdftext.h"
#include "output/previewwindow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QPrinter>
#include <QtTest>

using namespace qv;

namespace {

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Riga %1  [DATE] [Titolo] {x} & <b>non grassetto</b>").arg(i, 4, 10, QLatin1Char('0')));
    return lines;
}

// The lines a page's data boxes hold, in order.
QStringList dataLines(const page::Page &page)
{
    QStringList lines;
    for (const page::TextBox *box : page.textBoxes())
        if (box->name == "txtRiepilogo" && !box->text.isEmpty())
            lines += box->text.split('\n');
    return lines;
}

int countBoxes(const page::Document &doc, const QString &name)
{
    int n = 0;
    for (const page::Page &p : doc.pages)
        for (const page::TextBox *box : p.textBoxes())
            n += box->name == name;
    return n;
}

// Whether any pixel of the area (mm on the sheet) is darker than paper.
bool inked(const QImage &image, const QRectF &mm, int dpi)
{
    const double k = dpi / 25.4;
    const QRect area = QRectF(mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k).toRect() & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                return true;
    return false;
}

// Every cross-reference entry in use points at the object it names.
bool crossReferencesHold(const QByteArray &pdf)
{
    int sections = 0;
    for (qsizetype at = pdf.indexOf("\nxref\n"); at >= 0; at = pdf.indexOf("\nxref\n", at + 1)) {
        ++sections;
        const qsizetype end = pdf.indexOf("trailer", at);
        const QList<QByteArray> rows = pdf.mid(at + 6, end - at - 6).trimmed().split('\n');
        for (int i = 0; i < rows.size();) {
            const QList<QByteArray> head = rows[i].simplified().split(' ');
            const int first = head.value(0).toInt(), count = head.value(1).toInt();
            for (int k = 0; k < count; ++k) {
                const QList<QByteArray> entry = rows.value(i + 1 + k).simplified().split(' ');
                if (entry.value(2) == "n"
                    && !pdf.mid(entry.value(0).toLongLong()).startsWith(QByteArray::number(first + k) + " 0 obj"))
                    return false;
            }
            i += count + 1;
        }
    }
    return sections > 0;
}

} // namespace

class TestPageOutput : public QObject
{
    Q_OBJECT
private slots:
    void listReportSplitsItsLinesAcrossPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("perPage");
        // A4 landscape with 10 mm margins leaves 190 mm; a line is 3.392 mm;
        // the first page gives 8 mm to the title band.
        QTest::newRow("empty list") << 0 << QList<int>{0};
        QTest::newRow("one line") << 1 << QList<int>{1};
        QTest::newRow("first page full") << 53 << QList<int>{53, 0};
        QTest::newRow("one past the first page") << 54 << QList<int>{53, 1};
        QTest::newRow("three pages") << 53 + 56 + 10 << QList<int>{53, 56, 10};
        QTest::newRow("footer still fits") << 50 << QList<int>{50};
        QTest::newRow("footer moves on") << 51 << QList<int>{51, 0};
    }
    void listReportSplitsItsLinesAcrossPages()
    {
        QFETCH(int, lines);
        QFETCH(QList<int>, perPage);
        const QStringList all = numberedLines(lines);
        const page::Document doc = ListReport::document("Riepilogo eventi programmati", all, QDate(2025, 3, 7));

        QCOMPARE(doc.setup.orientation, QPageLayout::Landscape);
        QCOMPARE(doc.setup.paperSize().toSize(), QSize(297, 210));
        QCOMPARE(doc.setup.printableSize().toSize(), QSize(277, 190));
        QCOMPARE(doc.pages.size(), perPage.size());
        QStringList printed;
        for (int i = 0; i < doc.pages.size(); ++i) {
            QCOMPARE(dataLines(doc.pages[i]).size(), perPage[i]);
            printed += dataLines(doc.pages[i]);
        }
        QCOMPARE(printed, all);

        // The title on the first page only, the footer once, after the data.
        QCOMPARE(countBoxes(doc, "txtTitolo"), 1);
        QCOMPARE(doc.pages.first().textBox("txtTitolo")->text, QString("Riepilogo eventi programmati"));
        QCOMPARE(countBoxes(doc, "txtPagina"), 1);
        const page::TextBox *footer = doc.pages.last().textBox("txtPagina");
        QVERIFY(footer);
        QCOMPARE(footer->text, QString("Stampa eseguita in data 07/03/2025"));
        QVERIFY(footer->rect.bottom() <= 190.0);
        for (const page::TextBox *box : doc.pages.last().textBoxes())
            if (box->name == "txtRiepilogo")
                QVERIFY(box->rect.bottom() <= footer->rect.top());
    }

    void listReportTemplateBoxes()
    {
        const page::Document doc = ListReport::document("T", numberedLines(3), QDate(2025, 1, 2));
        const page::Page &p = doc.pages.first();
        const page::TextBox *title = p.textBox("txtTitolo");
        QCOMPARE(title->rect, QRectF(2, 1, 273, 5));
        QCOMPARE(title->font.family(), QString("Verdana"));
        QCOMPARE(title->font.pointSizeF(), 9.0);
        QVERIFY(title->font.bold());
        QCOMPARE(title->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        const page::TextBox *data = p.textBox("txtRiepilogo");
        QCOMPARE(data->rect.left(), 3.0);
        QCOMPARE(data->rect.top(), 8.0);
        QCOMPARE(data->rect.width(), 273.0);
        QVERIFY(qAbs(data->rect.height() - 3 * 3.392) < 0.01);
        QCOMPARE(data->font.family(), QString("Courier New"));
        QCOMPARE(data->font.pointSizeF(), 8.0);
        const page::TextBox *footer = p.textBox("txtPagina");
        // 2 mm into the footer band, which follows the data band (lines + 10 units).
        QVERIFY(qAbs(footer->rect.top() - (8 + 3 * 3.392 + 10 * 25.4 / 96 + 2)) < 0.01);
        QCOMPARE(footer->rect.size(), QSizeF(272, 5));
        QCOMPARE(footer->font.pointSizeF(), 8.0);
        QVERIFY(footer->font.bold());
    }

    void listPdfHoldsEveryLineLiterally()
    {
        const QStringList lines = numberedLines(120);
        page::Document doc = ListReport::document("Riepilogo eventi programmati", lines, QDate(2025, 12, 31));
        doc.subject = "Elenco";
        const qvtest::PdfContent pdf = qvtest::readPdf(PageOutput::pdfBytes(doc));
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pageSizes.size(), 3);
        for (const QSizeF &size : pdf.pageSizes)
            QCOMPARE(size.toSize(), QSize(842, 595)); // A4 landscape, points
        QVERIFY(pdf.pageTexts[0].contains("Riepilogo eventi programmati"));
        QVERIFY(!pdf.pageTexts[1].contains("Riepilogo eventi programmati"));
        QStringList printed;
        for (const QStringList &runs : pdf.pageTexts)
            for (const QString &run : runs)
                if (run.startsWith("Riga "))
                    printed.append(run);
        QCOMPARE(printed, lines);
        QCOMPARE(pdf.pageTexts[2].last(), QString("Stampa eseguita in data 31/12/2025"));
        QVERIFY(!pdf.pageText(0).contains("Stampa eseguita"));
        QCOMPARE(pdf.title, QString("Riepilogo dati")); // the template's name
        QCOMPARE(pdf.subject, QString("Elenco"));
    }

    void printingKeepsTheTemplatesPaperWhateverTheDialogChose()
    {
        // As if the user had picked Letter, portrait, no margins in the dialog.
        qvtest::TempProgramFolder folder;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.file("stampa.pdf"));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        PageOutput::printOn(printer, ListReport::document("Titolo", numberedLines(60), QDate(2025, 12, 31)));
        const qvtest::PdfContent pdf = qvtest::readPdf(folder.read("stampa.pdf"));
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pageSizes.size(), 2);
        for (const QSizeF &size : pdf.pageSizes)
            QCOMPARE(size.toSize(), QSize(842, 595)); // A4 landscape, points
        const QPageLayout layout = printer.pageLayout();
        QCOMPARE(layout.pageSize().id(), QPageSize::A4);
        QCOMPARE(layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
    }

    void listReportKeepsOneRowPerListLine()
    {
        // Archives written elsewhere can hold line breaks inside a field: each
        // list line still prints as one row, and no row falls off the page.
        QStringList lines = numberedLines(60);
        lines[3] = "Rossi\nMario  Roma";
        lines[52] = "Bianchi\r\nAnna  [x]";
        const page::Document doc = ListReport::document("T", lines, QDate(2025, 1, 2));
        QCOMPARE(doc.title, QString("Riepilogo dati"));
        QCOMPARE(doc.pages.first().textBox("txtTitolo")->text, QString("T"));
        QCOMPARE(doc.pages.size(), 2);
        QCOMPARE(dataLines(doc.pages[0]).size(), 53);
        QCOMPARE(dataLines(doc.pages[1]).size(), 7);
        const QStringList printed = dataLines(doc.pages[0]) + dataLines(doc.pages[1]);
        QCOMPARE(printed.size(), lines.size());
        QCOMPARE(printed[3], QString("Rossi Mario  Roma"));
        QCOMPARE(printed[52], QString("Bianchi  Anna  [x]"));
        QCOMPARE(printed.mid(53), lines.mid(53));
    }

    void pdfStreamsAreStoredPlain()
    {
        page::Document doc = ListReport::document("Riepilogo eventi programmati", numberedLines(70), QDate(2025, 6, 1));
        doc.pages.first().add(page::Picture{QRectF(250, 150, 20, 20), "printer_large"});
        doc.subject = "Elenco";
        const QByteArray bytes = PageOutput::pdfBytes(doc);
        QVERIFY(!bytes.contains("/FlateDecode"));
        QVERIFY(bytes.contains("\nBT\n"));       // page content readable as it is
        QVERIFY(bytes.contains("/FontFile2"));    // fonts still embedded
        QVERIFY(crossReferencesHold(bytes));
        const qvtest::PdfContent pdf = qvtest::readPdf(bytes);
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pageSizes.size(), 2);
        QCOMPARE(pdf.pageTexts[0].first(), QString("Riepilogo eventi programmati"));
        QCOMPARE(pdf.pageTexts[1].last(), QString("Stampa eseguita in data 01/06/2025"));
        QCOMPARE(pdf.subject, QString("Elenco"));
    }

    void pdfKeepsTitleAndSubjectAndReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Scheda.pdf");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100000, 'x'));
        }
        page::Document doc;
        doc.title = "Scheda partecipante (prova) \u00E0\u00E8\u00EC \\ fine";
        doc.subject = "Dati anagrafici di Jos\u00E8 \u20AC";
        doc.pages.append(page::Page{});
        page::TextBox box;
        box.name = "txtCliente";
        box.rect = QRectF(10, 10, 100, 5);
        box.font = page::font("Arial", 9);
        box.text = "[Cliente] & <i>testo</i>";
        doc.pages.last().add(box);
        QString reason;
        QVERIFY(PageOutput::writePdf(doc, path, &reason));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        QVERIFY(!bytes.contains("/FlateDecode"));
        QVERIFY(crossReferencesHold(bytes));
        const qvtest::PdfContent pdf = qvtest::readPdf(bytes);
        QCOMPARE(pdf.pageSizes, (QList<QSizeF>{QSizeF(595, 842)})); // portrait
        QCOMPARE(pdf.title, doc.title);
        QCOMPARE(pdf.subject, doc.subject);
        QCOMPARE(pdf.pageTexts[0], QStringList{"[Cliente] & <i>testo</i>"});
        // The XMP metadata carries them too.
        QVERIFY(bytes.contains("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">Dati anagrafici di Jos\xC3\xA8 \xE2\x82\xAC"));
    }

    void pdfIntoAFolderThatCannotBeWrittenFails()
    {
        QTemporaryDir dir;
        page::Document doc;
        doc.pages.append(page::Page{});
        QString reason;
        QVERIFY(!PageOutput::writePdf(doc, dir.filePath("manca/x.pdf"), &reason));
        QVERIFY(!reason.isEmpty());
    }

    void textIsCutAtTheBoxEdge()
    {
        page::Document doc;
        doc.pages.append(page::Page{});
        page::TextBox box;
        box.rect = QRectF(0, 0, 30, 6);
        box.font = page::font("Courier New", 12);
        box.text = QString(80, 'W');
        doc.pages.last().add(box);
        const QImage image = page::renderPage(doc, 0, 150);
        QVERIFY(inked(image, QRectF(10, 10, 30, 6), 150));      // inside the box (margins 10 mm)
        QVERIFY(!inked(image, QRectF(40.5, 9, 100, 8), 150));   // right of it: cut
        QVERIFY(!inked(image, QRectF(10, 16.5, 30, 10), 150));  // never wrapped below
    }

    void renderedListPageShowsTitleDataAndFooter()
    {
        const page::Document doc = ListReport::document("Titolo", numberedLines(2), QDate(2025, 1, 1));
        const QImage image = page::renderPage(doc, 0, 120);
        QCOMPARE(image.size(), QSize(qRound(297 * 120 / 25.4), qRound(210 * 120 / 25.4)));
        QVERIFY(inked(image, QRectF(12, 11, 273, 5), 120));   // title band
        QVERIFY(inked(image, QRectF(13, 18, 273, 7), 120));   // two data lines
        QVERIFY(inked(image, QRectF(13, 29, 272, 5), 120));   // footer
        QVERIFY(!inked(image, QRectF(0, 0, 297, 9.5), 120));  // top margin stays blank
        QVERIFY(!inked(image, QRectF(0, 40, 297, 170), 120)); // nothing below the footer
    }

    void framesLinesAndPicturesAreDrawn()
    {
        page::Document doc;
        doc.pages.append(page::Page{});
        doc.pages.last().add(page::Frame{QRectF(0, 0, 50, 10), QColor("lightsteelblue"), Qt::black, 0.3});
        doc.pages.last().add(page::Line{QPointF(0, 20), QPointF(50, 20), Qt::black, 0.5});
        doc.pages.last().add(page::Picture{QRectF(0, 30, 20, 20), "printer_large"});
        const QImage image = page::renderPage(doc, 0, 96);
        const double k = 96 / 25.4;
        QCOMPARE(QColor(image.pixel(int(35 * k), int(15 * k))), QColor("lightsteelblue"));
        QVERIFY(inked(image, QRectF(20, 29.5, 40, 1), 96));
        QVERIFY(inked(image, QRectF(10, 40, 20, 20), 96));
        QVERIFY(!inked(image, QRectF(70, 70, 100, 100), 96));
    }

    void templatesAreFilledByName()
    {
        page::Page p;
        page::TextBox a;
        a.name = "txtCalce";
        a.text = "Data e ora stampa";
        p.add(a);
        QVERIFY(p.setText("txtCalce", "Stampa eseguita"));
        QVERIFY(!p.setText("txtNessuno", "x"));
        QCOMPARE(p.textBox("txtCalce")->text, QString("Stampa eseguita"));
    }

    void printAndPreviewGoThroughTheHandler()
    {
        QList<PageOutput::Destination> seen;
        PageOutput::setHandler([&](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            seen.append(d);
            QCOMPARE(doc.title, QString("X"));
        });
        page::Document doc;
        doc.title = "X";
        doc.pages.append(page::Page{});
        PageOutput::print(doc, nullptr);
        PageOutput::preview(doc, nullptr);
        PageOutput::setHandler({});
        QCOMPARE(seen, (QList<PageOutput::Destination>{PageOutput::Destination::Printer, PageOutput::Destination::Preview}));
    }

    void previewWindowPrintsZoomsGoesFullScreenAndCloses()
    {
        const page::Document doc = ListReport::document("Anteprima", numberedLines(60), QDate(2025, 1, 1));
        QList<PageOutput::Destination> seen;
        PageOutput::setHandler([&](PageOutput::Destination d, const page::Document &printed, QWidget *) {
            seen.append(d);
            QCOMPARE(printed.pages.size(), doc.pages.size());
        });
        PreviewWindow window(doc);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.preview()->pageCount(), 2);
        const qreal before = window.preview()->zoomFactor();
        window.actIngrandisci->trigger();
        QVERIFY(window.preview()->zoomFactor() > before);
        window.actRiduci->trigger();
        window.actRiduci->trigger();
        QVERIFY(window.preview()->zoomFactor() < before);
        window.actSchermoIntero->trigger();
        QVERIFY(window.windowState() & Qt::WindowFullScreen);
        window.actSchermoIntero->trigger();
        QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
        window.actStampa->trigger();
        QCOMPARE(seen, QList<PageOutput::Destination>{PageOutput::Destination::Printer});
        window.actChiudi->trigger();
        QVERIFY(!window.isVisible());
        PageOutput::setHandler({});
    }

    // The keyboard prints and closes the preview too; the tooltips tell how.
    void previewWindowKeys()
    {
        const page::Document doc = ListReport::document("Anteprima", numberedLines(3), QDate(2025, 1, 1));
        int printed = 0;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &, QWidget *) { ++printed; });
        PreviewWindow window(doc);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QTest::keyClick(focus, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(printed, 1);
        QCOMPARE(window.actStampa->toolTip(), QStringLiteral("Stampa (Ctrl+P)"));
        QCOMPARE(window.actChiudi->toolTip(), QStringLiteral("Chiudi (Ctrl+W)"));
        QTest::keyClick(focus, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
        PageOutput::setHandler({});
    }
};

QTEST_MAIN(TestPageOutput)
#include "tst_pageoutput.moc"
