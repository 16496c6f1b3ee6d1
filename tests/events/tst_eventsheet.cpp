#include "events/tfrmregistro.h"
#include "frame/windows.h"
#include "output/pageoutput.h"
#include "output/pdftext.h"
#include "output/sheetprintdialog.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace qv;

namespace {

const QDateTime kMoment(QDate(2022, 3, 5), QTime(14, 5, 9));
const QString kStamp = QStringLiteral("Stampa eseguita in data 05/03/2022 alle ore 14:05:09");

struct Row
{
    double top;
    QString label;
    QString box;
    QString typed;   // what the card shows; empty: left as a new card has it
    QString printed;
};

// The event sheet, row by row, with what the card shows and what prints.
const QList<Row> &sheetRows()
{
    static const QList<Row> all{
        {7, "Titolo evento:", "txtTitolo", "  Convegno [annuale] dei soci ", "Convegno [annuale] dei soci"},
        {12, "Tipologia:", "txtTipologia", "Congresso", "Congresso"},
        {17, "Materie trattate:", "txtMaterie", "Medicina & <b>chirurgia</b>", "Medicina & <b>chirurgia</b>"},
        {22, "Relatori:", "txtRelatori", "Dott. Rossi, Dott.ssa Bianchi\t", "Dott. Rossi, Dott.ssa Bianchi"},
        {27, "Data inizio:", "txtDataInizio", "10/05/2022", "10/05/2022"},
        {32, "Ora inizio:", "txtOraInizio", "09:30", "09:30"},
        {37, "Data fine:", "txtDataFine", "12/05/2022", "12/05/2022"},
        {42, "Ora fine:", "txtOraFine", "18:00", "18:00"},
        {47, "Sede:", "txtSede", "Palazzo dei Congressi", "Palazzo dei Congressi"},
        {52, "Indirizzo:", "txtIndirizzo", "Piazza Kennedy 1, Roma", "Piazza Kennedy 1, Roma"},
        {57, "Organizzatore:", "txtOrganizzatore", "Associazione Medica", "Associazione Medica"},
        {62, "Recapito organizzatore:", "txtRecapitoOrg", "06 1234567", "06 1234567"},
        {67, "Contatto per info:", "txtContatto", "Segreteria", "Segreteria"},
        {72, "Recapito contatto:", "txtRecapitoCon", "info@esempio.it", "info@esempio.it"},
        {77, "Collaboratori:", "txtCollaboratori", "Studenti volontari", "Studenti volontari"},
        {82, "Criteri ammissione:", "txtCriteri", "Iscrizione all'albo", "Iscrizione all'albo"},
        {87, "Modalit\u00E0 di pagamento:", "txtPagamento", "Bonifico", "Bonifico"},
        {92, "Quota di partecipazione: \u20AC", "txtQuota", "", "0,00"},
        {97, "Intestatario C/C:", "txtIntestatario", "Associazione Medica", "Associazione Medica"},
        {102, "IBAN:", "txtIban", "IT60X0542811101000000123456", "IT60X0542811101000000123456"},
        {107, "Banca d'appoggio:", "txtBanca", "Banca di Roma", "Banca di Roma"},
        {112, "Anticipo: \u20AC", "txtAnticipo", "50,00", "50,00"},
        {117, "Note:", "txtNote", "Pranzo incluso \u00E0 la carte {txtPosti}", "Pranzo incluso \u00E0 la carte {txtPosti}"},
        {122, "Data termine adesione:", "txtDataSca", "30/04/2022", "30/04/2022"},
        {127, "N. totale posti:", "txtPosti", "250", "250"},
    };
    return all;
}

// The event card on screen, a new card as the user typed it, never saved.
class Card
{
public:
    Card()
    {
        windows().frmRegistro = &w;
        w.setWindowState(Qt::WindowNoState);
        w.resize(1366, 700);
        w.show();
        QApplication::setActiveWindow(&w);
        ok = QTest::qWaitForWindowActive(&w);
        for (const Row &row : sheetRows())
            if (!row.typed.isEmpty())
                w.findChild<QLineEdit *>(row.box)->setText(row.typed);
        // Not on the sheet: the full flag and the attachments.
        w.chkCompleto->setChecked(true);
        w.lblFile01->setText(QStringLiteral("/documenti/programma.pdf"));
        w.lblDesc01->setText(QStringLiteral("Programma del convegno"));
    }
    ~Card() { windows().frmRegistro = nullptr; }

    QStringList snapshot() const
    {
        QStringList all;
        for (const QLineEdit *box : w.editBoxes())
            all << box->text();
        for (const QLabel *label : {w.lblPosizione, w.lblFile01, w.lblDesc01})
            all << label->text();
        all << QString::number(w.chkCompleto->isChecked());
        return all;
    }
    // The print button, then `inDialog` on the print window once it is up.
    void print(std::function<void(QWidget *)> inDialog)
    {
        qvtest::whenModal(std::move(inDialog));
        QTest::mouseClick(w.findChild<QToolButton *>("cmdStampa"), Qt::LeftButton);
    }

    TfrmRegistro w;
    bool ok = false;
};

class OutputRecorder
{
public:
    OutputRecorder()
    {
        PageOutput::setHandler([this](PageOutput::Destination d, const page::Document &doc, QWidget *) {
            destinations.append(d);
            documents.append(doc);
        });
    }
    ~OutputRecorder() { PageOutput::setHandler({}); }
    QList<PageOutput::Destination> destinations;
    QList<page::Document> documents;
};

bool sameRect(const QRectF &a, const QRectF &b)
{
    return qAbs(a.x() - b.x()) < 1e-3 && qAbs(a.y() - b.y()) < 1e-3 && qAbs(a.width() - b.width()) < 1e-3
           && qAbs(a.height() - b.height()) < 1e-3;
}

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

} // namespace

class TestEventSheet : public QObject
{
    Q_OBJECT

    page::Document m_sheet; // printed once through the card's print button

private slots:
    void initTestCase()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        qvtest::FixedClock clock(kMoment);
        OutputRecorder output;
        Card card;
        QVERIFY(card.ok);
        const QStringList before = card.snapshot();
        card.print([](QWidget *dialog) { dialog->findChild<QPushButton *>("btnStampa")->click(); });
        QCOMPARE(output.destinations, QList<PageOutput::Destination>{PageOutput::Destination::Printer});
        QCOMPARE(card.snapshot(), before); // printing never changes the card
        QCOMPARE(card.w.lblPosizione->text(), QString()); // still a new card, never saved
        QCOMPARE(messages.count(), 0);
        m_sheet = output.documents.first();
    }

    void rows_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < sheetRows().size(); ++i)
            QTest::newRow(qPrintable(sheetRows()[i].box)) << i;
    }
    void rows()
    {
        QFETCH(int, index);
        const Row &row = sheetRows()[index];
        const page::Page &p = m_sheet.pages[0];
        const page::TextBox *label = p.textBox("tit" + row.box.mid(3));
        QVERIFY(label);
        QCOMPARE(label->text, row.label);
        QVERIFY(sameRect(label->rect, QRectF(2, row.top + 0.5, 37.8, 3.5)));
        QCOMPARE(label->font.family(), QString("Arial"));
        QCOMPARE(label->font.pointSizeF(), 7.0);
        const page::TextBox *value = p.textBox(row.box);
        QVERIFY(value);
        QCOMPARE(value->text, row.printed);
        QVERIFY(sameRect(value->rect, QRectF(44, row.top + 0.5, 144, 3.5)));
        QCOMPARE(value->font.pointSizeF(), 7.0);
        int frames = 0;
        for (const page::Element &e : p.elements)
            if (const auto *f = std::get_if<page::Frame>(&e))
                frames += sameRect(f->rect, QRectF(1, row.top, 188, 4.6)) && !f->fill.isValid();
        QCOMPARE(frames, 1);
    }

    void headingFooterAndColumnLine()
    {
        QCOMPARE(m_sheet.title, QString("Scheda Evento"));
        QCOMPARE(m_sheet.pages.size(), 1);
        QCOMPARE(m_sheet.setup.orientation, QPageLayout::Portrait);
        QCOMPARE(m_sheet.setup.paperSize().toSize(), QSize(210, 297));
        QCOMPARE(m_sheet.setup.margins, QMarginsF(10, 10, 10, 10));
        const page::Page &p = m_sheet.pages[0];
        const page::TextBox *heading = p.textBox("titArcataSup");
        QCOMPARE(heading->text, QString("SCHEDA INFORMATIVA EVENTO"));
        QVERIFY(sameRect(heading->rect, QRectF(2, 2, 185.8, 4.2)));
        QCOMPARE(heading->font.pointSizeF(), 9.0);
        QCOMPARE(heading->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        const page::TextBox *footer = p.textBox("txtCalce");
        QCOMPARE(footer->text, kStamp);
        QVERIFY(sameRect(footer->rect, QRectF(2, 135, 185.8, 4.2)));
        QCOMPARE(footer->font.pointSizeF(), 8.0);
        QCOMPARE(footer->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        QList<page::Frame> bands;
        QList<page::Line> lines;
        int frames = 0;
        for (const page::Element &e : p.elements) {
            if (const auto *f = std::get_if<page::Frame>(&e)) {
                ++frames;
                if (f->fill.isValid())
                    bands.append(*f);
            } else if (const auto *l = std::get_if<page::Line>(&e)) {
                lines.append(*l);
            }
        }
        QCOMPARE(frames, 1 + 25 + 1);
        QCOMPARE(bands.size(), 2);
        QVERIFY(sameRect(bands[0].rect, QRectF(1, 1, 188, 5.8)));
        QCOMPARE(bands[0].fill, QColor("lightsteelblue"));
        QVERIFY(sameRect(bands[1].rect, QRectF(1, 134, 188, 5.8)));
        QCOMPARE(bands[1].fill, QColor("gold"));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].from, QPointF(42, 7));
        QVERIFY(qAbs(lines[0].to.x() - 42) < 1e-3 && qAbs(lines[0].to.y() - 131.6) < 1e-3);

        // The heading, 25 labels, 25 values and the footer: the full flag, the
        // attachments and the record number are not printed.
        QCOMPARE(p.textBoxes().size(), 52);
        for (const page::TextBox *box : p.textBoxes())
            for (const QString &absent : {"programma", "Programma", "Completo", "S\u00EC"})
                QVERIFY2(!box->text.contains(absent), qPrintable(box->name));
    }

    void pdfHoldsEveryLabelAndValueAtItsRow()
    {
        const qvtest::PdfContent pdf = qvtest::readPdf(PageOutput::pdfBytes(m_sheet));
        QCOMPARE(pdf.pageSizes, (QList<QSizeF>{QSizeF(595, 842)}));
        const double k = 72 / 25.4;
        auto runsAt = [&](double left, double top) {
            QStringList found;
            for (const qvtest::PdfRun &run : pdf.pageRuns.value(0))
                if (qAbs(run.x / k - left) <= 1.5 && run.baseline / k > top && run.baseline / k < top + 3.5)
                    found << run.text;
            return found;
        };
        for (const Row &row : sheetRows()) {
            QCOMPARE(runsAt(10 + 2, 10 + row.top + 0.5), QStringList{row.label});
            QCOMPARE(runsAt(10 + 44, 10 + row.top + 0.5), QStringList{row.printed});
        }
        QVERIFY(pdf.pageTexts[0].contains("SCHEDA INFORMATIVA EVENTO"));
        QVERIFY(pdf.pageTexts[0].contains(kStamp));
    }

    void longValueIsCutAtTheRowsRightEdge()
    {
        page::Document sheet = m_sheet;
        sheet.pages[0].setText("txtMaterie", QString(400, 'W'));
        sheet.pages[0].setText("txtRelatori", QString());
        const int dpi = 300;
        const QImage image = page::renderPage(sheet, 0, dpi);
        const double top = 10 + 17; // the row's frame, on the paper
        QVERIFY(inked(image, QRectF(10 + 183, top + 1, 4.8, 2.5), dpi));     // printed up to the box edge
        QVERIFY(!inked(image, QRectF(10 + 188.2, top + 0.8, 0.6, 3), dpi));  // cut there, inside the frame
        QVERIFY(!inked(image, QRectF(10 + 189.4, top - 1, 10, 7), dpi));     // nothing past the frame
        QVERIFY(!inked(image, QRectF(10 + 44, top + 5.8, 144, 3), dpi));     // never wrapped into the next row
    }

    void printWindowLooksAndCancels()
    {
        OutputRecorder output;
        Card card;
        QVERIFY(card.ok);
        bool seen = false;
        card.print([&](QWidget *dialog) {
            seen = true;
            QVERIFY(qobject_cast<TfrmStampaRegistro *>(dialog));
            QCOMPARE(dialog->parentWidget(), &card.w);
            QCOMPARE(dialog->windowTitle(), QString(" Stampa scheda corrente"));
            QCOMPARE(dialog->size(), QSize(364, 287));
            QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
            QVERIFY(!(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
            QVERIFY((dialog->geometry().center() - card.w.geometry().center()).manhattanLength() < 40);
            auto *annulla = dialog->findChild<QPushButton *>("btnAnnulla");
            auto *stampa = dialog->findChild<QPushButton *>("btnStampa");
            QCOMPARE(annulla->text(), QString("Annulla"));
            QCOMPARE(stampa->text(), QString("Stampa"));
            QCOMPARE(annulla->nextInFocusChain(), stampa);
            QVERIFY(dialog->findChild<QLabel *>("imgStampante"));
            annulla->click();
            QVERIFY(!dialog->isVisible());
        });
        QVERIFY(seen);
        QVERIFY(output.destinations.isEmpty());
        QVERIFY(card.w.findChildren<QDialog *>().isEmpty()); // destroyed on return
    }

    void eachPrintIsFilledAfresh()
    {
        OutputRecorder output;
        Card card;
        QVERIFY(card.ok);
        card.print([](QWidget *dialog) { dialog->findChild<QPushButton *>("btnStampa")->click(); });
        card.w.cmdNuovoClick();
        card.w.txtTitolo->setText("Seminario");
        card.print([](QWidget *dialog) { dialog->findChild<QPushButton *>("btnStampa")->click(); });
        QCOMPARE(output.documents.size(), 2);
        const page::Page &second = output.documents[1].pages[0];
        QCOMPARE(second.textBox("txtTitolo")->text, QString("Seminario"));
        QCOMPARE(second.textBox("txtSede")->text, QString()); // no placeholder, nothing left over
        QCOMPARE(second.textBox("txtQuota")->text, QString("0,00"));
    }
};

QTEST_MAIN(TestEventSheet)
#include "tst_eventsheet.moc"
