#include "output/pageoutput.h"
#include "output/pdftext.h"
#include "output/sheetprintdialog.h"
#include "output/sheets.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <unistd.h>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

namespace {

const QDateTime kMoment(QDate(2022, 3, 5), QTime(14, 5, 9));
const QString kStamp = QStringLiteral("Stampa eseguita in data 05/03/2022 alle ore 14:05:09");

// A stand-in card: named controls of the kinds the real cards use (edit
// boxes, editable province drop-downs, a check box, hidden labels).
class FixtureCard : public QWidget
{
public:
    FixtureCard(const QStringList &edits, const QStringList &provinces, const QString &check,
                const QStringList &labels)
    {
        auto *layout = new QVBoxLayout(this);
        for (const QString &name : edits) {
            auto *box = new QLineEdit(this);
            box->setObjectName(name);
            layout->addWidget(box);
        }
        for (const QString &name : provinces) {
            auto *box = new QComboBox(this);
            box->setObjectName(name);
            box->setEditable(true);
            box->addItems({"AG", "MI", "RM"});
            box->setCurrentIndex(-1);
            layout->addWidget(box);
        }
        auto *tick = new QCheckBox(QStringLiteral("Da spuntare"), this);
        tick->setObjectName(check);
        layout->addWidget(tick);
        for (const QString &name : labels) {
            auto *label = new QLabel(this);
            label->setObjectName(name);
            label->hide();
            layout->addWidget(label);
        }
    }
    void set(const QString &name, const QString &text)
    {
        QWidget *w = findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setText(text);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->setEditText(text);
        else if (auto *l = qobject_cast<QLabel *>(w))
            l->setText(text);
    }
    void tick(bool on) { findChild<QCheckBox *>()->setChecked(on); }
    // Every text of the card, to show that producing a sheet changes nothing.
    QStringList snapshot() const
    {
        QStringList all;
        for (const QLineEdit *e : findChildren<QLineEdit *>())
            all << e->objectName() + '=' + e->text();
        for (const QLabel *l : findChildren<QLabel *>())
            all << l->objectName() + '=' + l->text();
        all << QString::number(findChild<QCheckBox *>()->isChecked());
        return all;
    }
};

// The participant card's controls.
FixtureCard *participantCard()
{
    return new FixtureCard({"txtCliente", "txtDataNasc", "txtComuneNasc", "txtSesso", "txtRecapito", "txtIndirizzoRes",
                            "txtComuneRes", "txtCapRes", "txtEstremi", "txtTelCasa", "txtTelUff", "txtTelCel", "txtFax",
                            "txtEmail", "txtCodFisc", "txtCarta", "txtScadeCarta", "txtPartitaIva", "txtIban",
                            "txtDocumento", "txtOccupazione", "txtCivile", "txtTitoli", "txtProdotti", "txtZona",
                            "txtQuestioni", "txtNote"},
                           {"txtProvNasc", "txtProvRes"}, "chkRicontatta",
                           {"lblPosizione", "lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"});
}

// A participant as typed on the card, blanks around most values. The postal
// code and the marital status are typed too: the sheet must not show them.
void fillParticipant(FixtureCard &card)
{
    const QList<QPair<QString, QString>> values{
        {"txtCliente", "  Rossi Mario "},      {"txtDataNasc", "12/03/1970"},
        {"txtComuneNasc", " Roma "},           {"txtProvNasc", "RM"},
        {"txtSesso", "M"},                     {"txtRecapito", "Studio Rossi"},
        {"txtIndirizzoRes", "Via Appia 5"},    {"txtComuneRes", "Milano\t"},
        {"txtProvRes", ""},                    {"txtCapRes", "20121"},
        {"txtEstremi", "Bonifico [anticipato]"}, {"txtTelCasa", "06 1234567"},
        {"txtTelUff", "06 7654321"},           {"txtTelCel", "333 1234567"},
        {"txtFax", "06 5555555"},              {"txtEmail", "mario@esempio.it"},
        {"txtCodFisc", "RSSMRA70C12H501X"},    {"txtPartitaIva", "01234567890"},
        {"txtCarta", "4111"},                  {"txtScadeCarta", "12/28"},
        {"txtIban", "IT60X0542811101000000123456"}, {"txtDocumento", "C.I. AB123"},
        {"txtOccupazione", "Ingegnere"},       {"txtCivile", "Coniugato"},
        {"txtTitoli", "Dott. & Ing."},         {"txtProdotti", "Convegni <medicina>"},
        {"txtZona", "Nord"},                   {"txtQuestioni", "Fattura {txtNote} da inviare"},
        {"txtNote", "Cliente \u00E0 \u20AC [vip]"},
    };
    for (const auto &[name, text] : values)
        card.set(name, text);
    card.tick(true);
    card.set("lblPosizione", "7");
    card.set("lblFile01", "/tmp/allegato.pdf");
}

// The reservation card's controls: the event header and the booking.
FixtureCard *reservationCard()
{
    auto *card = new FixtureCard({"txtTitolo", "txtPosti", "txtDataInizio", "txtOraInizio", "txtDataFine", "txtOraFine",
                                  "txtSede", "txtIndirizzo", "txtCliente", "txtIndirizzoRes", "txtComuneRes",
                                  "txtCapRes", "txtCodFisc", "txtRecapito", "txtTelCel", "txtEmail", "txtPosto",
                                  "txtUbicazione", "txtAnnotazioni"},
                                 {"txtProvRes"}, "chkDaConfermare", {"lblPosizione", "lblFile", "txtNumero"});
    for (QLineEdit *header : card->findChildren<QLineEdit *>())
        if (QStringList{"txtTitolo", "txtPosti", "txtDataInizio", "txtOraInizio", "txtDataFine", "txtOraFine", "txtSede",
                        "txtIndirizzo"}
                .contains(header->objectName()))
            header->setReadOnly(true);
    return card;
}

void fillReservation(FixtureCard &card)
{
    const QList<QPair<QString, QString>> values{
        {"txtTitolo", " Congresso [2022] "}, {"txtPosti", "250"},          {"txtDataInizio", "10/05/2022"},
        {"txtOraInizio", "09:30"},          {"txtDataFine", "12/05/2022"}, {"txtOraFine", "18:00"},
        {"txtSede", "Palazzo dei Congressi"}, {"txtIndirizzo", "Piazza Kennedy 1, Roma"},
        {"txtCliente", "  Bianchi Anna"},   {"txtIndirizzoRes", "Via Verdi 3"}, {"txtComuneRes", "Milano"},
        {"txtProvRes", " mi "},             {"txtCapRes", "20121"},       {"txtCodFisc", "BNCNNA80A41F205X"},
        {"txtRecapito", "Ufficio"},         {"txtTelCel", "347 000111"},  {"txtEmail", "anna@esempio.it"},
        {"txtPosto", "12"},                 {"txtUbicazione", "Fila B <lato> sinistro"},
        {"txtAnnotazioni", "Vegetariana & celiaca"}, {"txtNumero", "00012"}, {"lblFile", "/x/Posti.pro"},
    };
    for (const auto &[name, text] : values)
        card.set(name, text);
    card.tick(true);
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

bool near(double a, double b)
{
    return qAbs(a - b) < 0.001;
}

bool sameRect(const QRectF &a, const QRectF &b)
{
    return near(a.x(), b.x()) && near(a.y(), b.y()) && near(a.width(), b.width()) && near(a.height(), b.height());
}

QList<page::Frame> framesOf(const page::Page &p)
{
    QList<page::Frame> frames;
    for (const page::Element &e : p.elements)
        if (const auto *f = std::get_if<page::Frame>(&e))
            frames.append(*f);
    return frames;
}

QList<page::Line> linesOf(const page::Page &p)
{
    QList<page::Line> lines;
    for (const page::Element &e : p.elements)
        if (const auto *l = std::get_if<page::Line>(&e))
            lines.append(*l);
    return lines;
}

// The text runs of a PDF's first page that start within 1.5 mm of `left`
// and stand on a baseline inside the band from `top` down `height` (mm from
// the top left corner of the paper).
QStringList runsAt(const qvtest::PdfContent &pdf, double left, double top, double height)
{
    QStringList found;
    const double k = 72 / 25.4;
    for (const qvtest::PdfRun &run : pdf.pageRuns.value(0))
        if (qAbs(run.x / k - left) <= 1.5 && run.baseline / k > top && run.baseline / k < top + height)
            found.append(run.text);
    return found;
}

QString pdfDoneText()
{
    return QStringLiteral("L'esportazione della scheda in PDF \u00E8 terminata con successo.\r\n\r\nSi vuole aprire il file?");
}

QString pdfFailureText()
{
    return QStringLiteral("Attenzione: il sistema non permette di creare il file PDF.\n\r\n\r"
                          "Accertarsi che il file non sia gi\u00E0 aperto.");
}

// A file or folder nobody may write while this lives: its permissions for
// an ordinary user, the immutable flag for the superuser.
class Unwritable
{
public:
    explicit Unwritable(const QString &path) : m_path(path), m_permissions(QFile::permissions(path))
    {
        held = geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0
                              : QFile::setPermissions(path, m_permissions & ~(QFile::WriteOwner | QFile::WriteUser));
    }
    ~Unwritable()
    {
        if (geteuid() == 0)
            QProcess::execute("chattr", {"-i", m_path});
        QFile::setPermissions(m_path, m_permissions);
    }
    bool held = false;

private:
    QString m_path;
    QFile::Permissions m_permissions;
};

// Records what would go to the printer dialog or the preview window.
class OutputRecorder
{
public:
    OutputRecorder()
    {
        PageOutput::setHandler([this](PageOutput::Destination d, const page::Document &doc, QWidget *owner) {
            destinations.append(d);
            documents.append(doc);
            owners.append(owner);
        });
    }
    ~OutputRecorder() { PageOutput::setHandler({}); }
    QList<PageOutput::Destination> destinations;
    QList<page::Document> documents;
    QList<QWidget *> owners;
};

} // namespace

class TestSheets : public QObject
{
    Q_OBJECT
private slots:
    void printLineUsesDateAndLongTime()
    {
        QCOMPARE(sheets::printLine(kMoment), kStamp);
        QCOMPARE(sheets::printLine(QDateTime(QDate(2025, 12, 31), QTime(0, 0, 7))),
                 QString("Stampa eseguita in data 31/12/2025 alle ore 00:00:07"));
    }

    // ---- participant sheet ----

    void participantRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("emptyValue"); // what an empty card prints
        const QList<QStringList> rows{
            {"Cognome e nome:", "Rossi Mario", ""},
            {"Data di nascita:", "12/03/1970", ""},
            {"Comune di nascita:", "Roma RM", " "},
            {"Sesso:", "M", ""},
            {"Recapito preferenziale:", "Studio Rossi", ""},
            {"Indirizzo di residenza:", "Via Appia 5", ""},
            {"Comune di residenza:", "Milano ", " "}, // empty province: the blank stays
            {"Modalit\u00E0 pagamento:", "Bonifico [anticipato]", ""},
            {"Tel. casa:", "06 1234567", ""},
            {"Tel. ufficio:", "06 7654321", ""},
            {"Tel. cellulare:", "333 1234567", ""},
            {"Fax:", "06 5555555", ""},
            {"E-mail:", "mario@esempio.it", ""},
            {"Codice fiscale:", "RSSMRA70C12H501X", ""},
            {"Partita IVA:", "01234567890", ""},
            {"Carta di credito:", "N. 4111  -  Scadenza: 12/28", "N.   -  Scadenza: "},
            {"IBAN:", "IT60X0542811101000000123456", ""},
            {"Estremi documento:", "C.I. AB123", ""},
            {"Occupazione:", "Ingegnere", ""},
            {"Titoli e qualifiche:", "Dott. & Ing.", ""},
            {"Prodotti e servizi:", "Convegni <medicina>", ""},
            {"Zona di appartenenza:", "Nord", ""},
            {"Questioni in sospeso:", "Fattura {txtNote} da inviare", ""},
            {"Note:", "Cliente \u00E0 \u20AC [vip]", ""},
        };
        for (int i = 0; i < rows.size(); ++i)
            QTest::addRow("row %d", i + 1) << i + 1 << rows[i][0] << rows[i][1] << rows[i][2];
    }
    void participantRows()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(QString, value);
        QFETCH(QString, emptyValue);
        std::unique_ptr<FixtureCard> card(participantCard());
        fillParticipant(*card);
        const page::Document doc = sheets::participantSheet(card.get(), kMoment);
        const QString n = QString::number(row).rightJustified(2, '0');
        const double top = 24 + 10 * (row - 1);

        const page::TextBox *title = doc.pages[0].textBox("titCampo" + n);
        QVERIFY(title);
        QCOMPARE(title->text, label);
        QVERIFY(sameRect(title->rect, QRectF(3, top, 52, 6)));
        QCOMPARE(title->font.family(), QString("Arial"));
        QCOMPARE(title->font.pointSizeF(), 9.0);
        QCOMPARE(title->color, QColor(Qt::white));
        QCOMPARE(title->fill, QColor(0x00, 0x80, 0x80));
        QCOMPARE(title->alignment, Qt::AlignLeft | Qt::AlignVCenter);

        const page::TextBox *box = doc.pages[0].textBox("txtCampo" + n);
        QVERIFY(box);
        QCOMPARE(box->text, value);
        QVERIFY(sameRect(box->rect, QRectF(60, top, 128, 6)));
        QCOMPARE(box->font.pointSizeF(), 10.0);
        QCOMPARE(box->color, QColor(Qt::black));
        QVERIFY(!box->fill.isValid());
        QCOMPARE(box->alignment, Qt::AlignLeft | Qt::AlignVCenter);

        std::unique_ptr<FixtureCard> empty(participantCard());
        const page::Document blank = sheets::participantSheet(empty.get(), kMoment);
        QCOMPARE(blank.pages[0].textBox("titCampo" + n)->text, label);
        QCOMPARE(blank.pages[0].textBox("txtCampo" + n)->text, emptyValue);
    }

    void participantSheetFrame()
    {
        std::unique_ptr<FixtureCard> card(participantCard());
        fillParticipant(*card);
        const QStringList before = card->snapshot();
        const page::Document doc = sheets::participantSheet(card.get(), kMoment);
        QCOMPARE(card->snapshot(), before);

        QCOMPARE(doc.title, QString("Scheda informativa"));
        QCOMPARE(doc.subject, QString("Scheda informativa"));
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(doc.setup.orientation, QPageLayout::Portrait);
        QCOMPARE(doc.setup.paperSize().toSize(), QSize(210, 297));
        QCOMPARE(doc.setup.margins, QMarginsF(10, 10, 10, 10));
        const page::Page &p = doc.pages[0];

        const page::TextBox *title = p.textBox("txtTitolo");
        QCOMPARE(title->text, QString("SCHEDA ANAGRAFICA PARTECIPANTE"));
        QVERIFY(sameRect(title->rect, QRectF(23, 3, 165, 9)));
        QCOMPARE(title->font.pointSizeF(), 16.0);
        QCOMPARE(title->color, QColor(Qt::white));
        QCOMPARE(title->fill, QColor(0xFF, 0x8C, 0x00));
        QCOMPARE(title->alignment, Qt::AlignHCenter | Qt::AlignVCenter);

        const page::TextBox *footer = p.textBox("txtCalce");
        QCOMPARE(footer->text, kStamp);
        QVERIFY(sameRect(footer->rect, QRectF(3, 269, 185, 6)));
        QCOMPARE(footer->font.pointSizeF(), 10.0);
        QCOMPARE(footer->fill, QColor(0xFF, 0x8C, 0x00));
        QCOMPARE(footer->alignment, Qt::AlignHCenter | Qt::AlignVCenter);

        // 1 title + 24 labels + 24 values + the footer; nothing else holds text.
        QCOMPARE(p.textBoxes().size(), 50);
        QStringList all;
        for (const page::TextBox *box : p.textBoxes())
            all << box->text;
        for (const QString &hidden : {"20121", "Coniugato", "allegato", "Da spuntare", "Termine scheda", "Campo "})
            QVERIFY2(!all.join('|').contains(hidden), qPrintable(hidden));

        const QList<page::Line> lines = linesOf(p);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].from, QPointF(23, 16));
        QCOMPARE(lines[0].to, QPointF(188, 16));
        QCOMPARE(lines[1].from, QPointF(3, 265));
        QCOMPARE(lines[1].to, QPointF(188, 265));
        QCOMPARE(std::get<page::Picture>(p.elements.first()).rect, QRectF(3, 3, 17, 13));
        QCOMPARE(std::get<page::Picture>(p.elements.first()).name, QString("logo"));
    }

    void participantTemplateHasItsDesignTexts()
    {
        const page::Document doc = sheets::participantTemplate();
        const page::Page &p = doc.pages[0];
        QCOMPARE(p.textBox("txtTitolo")->text, QString("Titolo Scheda"));
        QCOMPARE(p.textBox("txtCampo01")->text, QString("Campo 1"));
        QCOMPARE(p.textBox("txtCampo24")->text, QString("Campo 24"));
        QCOMPARE(p.textBox("txtCalce")->text, QString("Termine scheda"));
    }

    void participantPreviewAndPrint()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        OutputRecorder output;
        qvtest::FixedClock clock(kMoment);
        std::unique_ptr<FixtureCard> card(participantCard());
        fillParticipant(*card);
        previewParticipantSheet(card.get());
        card->set("txtCliente", "Verdi Luca"); // changed, not saved: printed as shown
        printParticipantSheet(card.get());
        QCOMPARE(output.destinations,
                 (QList<PageOutput::Destination>{PageOutput::Destination::Preview, PageOutput::Destination::Printer}));
        QCOMPARE(output.owners, (QList<QWidget *>{card.get(), card.get()}));
        QCOMPARE(output.documents[0].pages[0].textBox("txtCampo01")->text, QString("Rossi Mario"));
        QCOMPARE(output.documents[1].pages[0].textBox("txtCampo01")->text, QString("Verdi Luca"));
        QCOMPARE(output.documents[1].pages[0].textBox("txtCalce")->text, kStamp);
        QCOMPARE(messages.count(), 0);
        QVERIFY(!QFile::exists(folder.file("Partecipante.pdf")));
    }

    void participantPdfIsWrittenAndOffered_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("opened") << true;
        QTest::newRow("left unopened") << false;
    }
    void participantPdfIsWrittenAndOffered()
    {
        QFETCH(bool, open);
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        qvtest::FixedClock clock(kMoment);
        folder.write("Partecipante.pdf", QByteArray(50000, 'x')); // a previous participant's, replaced unasked
        std::unique_ptr<FixtureCard> card(participantCard());
        fillParticipant(*card);
        messages.answers = {open};
        saveParticipantSheetPdf(card.get());

        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(messages.last().text, pdfDoneText());
        QCOMPARE(shell.commands, open ? QStringList{'"' + folder.file("Partecipante.pdf") + '"'} : QStringList{});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Partecipante.pdf"});

        const QByteArray bytes = folder.read("Partecipante.pdf");
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(!bytes.contains("/FlateDecode"));
        QVERIFY(!bytes.contains("/Subtype /Image")); // the logo is drawn, no picture of markup is pulled in
        const qvtest::PdfContent pdf = qvtest::readPdf(bytes);
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pageSizes, (QList<QSizeF>{QSizeF(595, 842)}));
        QCOMPARE(pdf.title, QString("Scheda informativa"));
        QCOMPARE(pdf.subject, QString("Scheda informativa"));
        QCOMPARE(pdf.author, QString("Quorvane"));
        QCOMPARE(pdf.creator, QString("Quorvane"));
        QVERIFY(bytes.contains("<dc:creator><rdf:Seq><rdf:li>Quorvane</rdf:li></rdf:Seq></dc:creator>"));

        // Every label and value at its row: 10 mm margins, rows 10 mm apart.
        const page::Document doc = sheets::participantSheet(card.get(), kMoment);
        for (int row = 1; row <= 24; ++row) {
            const QString n = QString::number(row).rightJustified(2, '0');
            const double top = 10 + 24 + 10 * (row - 1);
            const QString label = doc.pages[0].textBox("titCampo" + n)->text;
            const QString value = doc.pages[0].textBox("txtCampo" + n)->text;
            QCOMPARE(runsAt(pdf, 10 + 3 + 1, top, 6), QStringList{label});
            QCOMPARE(runsAt(pdf, 10 + 60, top, 6), QStringList{value});
        }
        QCOMPARE(runsAt(pdf, 10 + 60, 10 + 24 + 150, 6), QStringList{"N. 4111  -  Scadenza: 12/28"});
        QVERIFY(pdf.pageText(0).contains("SCHEDA ANAGRAFICA PARTECIPANTE"));
        QVERIFY(pdf.pageText(0).contains(kStamp));
        QVERIFY(!pdf.pageText(0).contains("20121"));
        QVERIFY(!pdf.pageText(0).contains("Coniugato"));
    }

    void secondPdfReplacesTheFirst()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        messages.answers = {false, false};
        std::unique_ptr<FixtureCard> card(participantCard());
        card->set("txtCliente", "Primo Partecipante");
        saveParticipantSheetPdf(card.get());
        card->set("txtCliente", "Secondo Partecipante");
        saveParticipantSheetPdf(card.get());
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.messages[1].kind, MessageKind::Question); // never a question about overwriting
        const QString text = qvtest::readPdf(folder.read("Partecipante.pdf")).pageText(0);
        QVERIFY(text.contains("Secondo Partecipante"));
        QVERIFY(!text.contains("Primo Partecipante"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Partecipante.pdf"});
    }

    void pdfThatCannotBeWrittenIsReported_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("a folder holds the name") << "folder";
        QTest::newRow("read-only file") << "read-only file";
        QTest::newRow("read-only program folder") << "read-only folder";
    }
    void pdfThatCannotBeWrittenIsReported()
    {
        QFETCH(QString, obstacle);
        TempProgramFolder folder;
        const QString path = folder.file("Partecipante.pdf");
        const QByteArray old("%PDF-1.4 the previous participant");
        std::unique_ptr<Unwritable> lock;
        if (obstacle == "folder") {
            QVERIFY(QDir(folder.path()).mkdir("Partecipante.pdf"));
        } else {
            folder.write("Partecipante.pdf", old);
            lock = std::make_unique<Unwritable>(obstacle == "read-only file" ? path : folder.path());
            if (!lock->held)
                QSKIP("this file system cannot hold the superuser back");
        }
        MessageRecorder messages;
        ShellRecorder shell;
        std::unique_ptr<FixtureCard> card(participantCard());
        fillParticipant(*card);
        saveParticipantSheetPdf(card.get());
        lock.reset();

        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Plain);
        QCOMPARE(messages.last().text, pdfFailureText());
        QVERIFY(shell.commands.isEmpty());
        if (obstacle == "folder") {
            QVERIFY(QFileInfo(path).isDir());
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
        } else {
            QCOMPARE(folder.read("Partecipante.pdf"), old);
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Partecipante.pdf"});
        }
    }

    void valueWiderThanItsBoxIsCut()
    {
        std::unique_ptr<FixtureCard> card(participantCard());
        card->set("txtNote", QString(300, 'W'));
        card->set("txtIndirizzoRes", QString(300, 'W'));
        const page::Document doc = sheets::participantSheet(card.get(), kMoment);
        QCOMPARE(doc.pages[0].textBox("txtCampo24")->text, QString(300, 'W')); // the box holds it all...
        const int dpi = 300;
        const QImage image = page::renderPage(doc, 0, dpi);
        for (const double top : {24.0 + 50, 24.0 + 230}) { // rows 6 and 24
            QVERIFY(inked(image, QRectF(10 + 183, 10 + top + 1, 4.8, 4), dpi)); // ...and prints up to its edge
            QVERIFY(!inked(image, QRectF(10 + 188.3, 10 + top - 2, 12, 10), dpi)); // and no further
            QVERIFY(!inked(image, QRectF(10 + 60, 10 + top + 6.3, 128, 3.4), dpi)); // nor on a second line
        }
        QCOMPARE(doc.pages.size(), 1);
    }

    // ---- reservation sheet ----

    void reservationRows_data()
    {
        QTest::addColumn<double>("top");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        const QList<std::tuple<double, QString, QString, QString>> rows{
            {7, "Titolo evento:", "txtTitolo", "Congresso [2022]"},
            {12, "N. totale posti:", "txtPosti", "250"},
            {17, "Data inizio:", "txtDataInizio", "10/05/2022"},
            {22, "Ora inizio:", "txtOraInizio", "09:30"},
            {27, "Data fine:", "txtDataFine", "12/05/2022"},
            {32, "Ora fine:", "txtOraFine", "18:00"},
            {37, "Sede:", "txtSede", "Palazzo dei Congressi"},
            {42, "Indirizzo:", "txtIndirizzo", "Piazza Kennedy 1, Roma"},
            {57, "Cognome e nome:", "txtCliente", "Bianchi Anna"},
            {62, "Indirizzo residenza:", "txtIndirizzoRes", "Via Verdi 3"},
            {67, "Comune residenza:", "txtComuneRes", "Milano"},
            {72, "Sigla provincia:", "txtProvRes", "mi"},
            {77, "CAP:", "txtCapRes", "20121"},
            {82, "Codice fiscale:", "txtCodFisc", "BNCNNA80A41F205X"},
            {87, "Recapito preferenziale:", "txtRecapito", "Ufficio"},
            {92, "Tel. cellulare:", "txtTelCel", "347 000111"},
            {97, "Indirizzo e-mail:", "txtEmail", "anna@esempio.it"},
            {102, "Posto assegnato n.", "txtPosto", "12"},
            {107, "Ubicazione posto:", "txtUbicazione", "Fila B <lato> sinistro"},
            {112, "Annotazioni:", "txtAnnotazioni", "Vegetariana & celiaca"},
        };
        for (const auto &[top, label, box, value] : rows)
            QTest::newRow(qPrintable(box)) << top << label << box << value;
    }
    void reservationRows()
    {
        QFETCH(double, top);
        QFETCH(QString, label);
        QFETCH(QString, box);
        QFETCH(QString, value);
        std::unique_ptr<FixtureCard> card(reservationCard());
        fillReservation(*card);
        const page::Document doc = sheets::reservationSheet(card.get(), kMoment);
        const page::Page &p = doc.pages[0];
        const page::TextBox *title = p.textBox("tit" + box.mid(3));
        QVERIFY(title);
        QCOMPARE(title->text, label);
        QVERIFY(sameRect(title->rect, QRectF(2, top + 0.5, 37.8, 3.5)));
        QCOMPARE(title->font.pointSizeF(), 7.0);
        const page::TextBox *valueBox = p.textBox(box);
        QVERIFY(valueBox);
        QCOMPARE(valueBox->text, value);
        QVERIFY(sameRect(valueBox->rect, QRectF(44, top + 0.5, 144, 3.5)));
        QCOMPARE(valueBox->font.family(), QString("Arial"));
        QCOMPARE(valueBox->font.pointSizeF(), 7.0);
        QCOMPARE(valueBox->color, QColor(Qt::black));
        int frames = 0;
        for (const page::Frame &f : framesOf(p))
            frames += sameRect(f.rect, QRectF(1, top, 188, 4.6)) && !f.fill.isValid();
        QCOMPARE(frames, 1);
    }

    void reservationSheetBandsAndRules()
    {
        std::unique_ptr<FixtureCard> card(reservationCard());
        fillReservation(*card);
        const QStringList before = card->snapshot();
        const page::Document doc = sheets::reservationSheet(card.get(), kMoment);
        QCOMPARE(card->snapshot(), before);
        QCOMPARE(doc.title, QString("Scheda Prenotazione"));
        QCOMPARE(doc.setup.orientation, QPageLayout::Portrait);
        QCOMPARE(doc.setup.paperSize().toSize(), QSize(210, 297));
        const page::Page &p = doc.pages[0];

        QCOMPARE(p.textBox("titArcataSup")->text, QString("DATI EVENTO"));
        QVERIFY(sameRect(p.textBox("titArcataSup")->rect, QRectF(2, 2, 185.8, 4.2)));
        QCOMPARE(p.textBox("titPartecipante")->text, QString("DATI PARTECIPANTE"));
        QVERIFY(sameRect(p.textBox("titPartecipante")->rect, QRectF(2, 52, 185.8, 4.2)));
        QCOMPARE(p.textBox("titPartecipante")->font.pointSizeF(), 9.0);
        QCOMPARE(p.textBox("titPartecipante")->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(p.textBox("txtCalce")->text, kStamp);
        QVERIFY(sameRect(p.textBox("txtCalce")->rect, QRectF(2, 121, 185.8, 4.2)));
        QCOMPARE(p.textBox("txtCalce")->font.pointSizeF(), 8.0);

        QList<QPair<QRectF, QColor>> bands;
        for (const page::Frame &f : framesOf(p))
            if (f.fill.isValid())
                bands.append({f.rect, f.fill});
        QCOMPARE(bands.size(), 3);
        QVERIFY(sameRect(bands[0].first, QRectF(1, 1, 188, 5.8)));
        QCOMPARE(bands[0].second, QColor("lightsteelblue"));
        QVERIFY(sameRect(bands[1].first, QRectF(1, 51, 188, 5.8)));
        QCOMPARE(bands[1].second, QColor("lightsteelblue"));
        QVERIFY(sameRect(bands[2].first, QRectF(1, 120, 188, 5.8)));
        QCOMPARE(bands[2].second, QColor("gold"));
        QCOMPARE(framesOf(p).size(), 3 + 20);

        // One rule per section, from its first row's top to its last row's bottom.
        const QList<page::Line> lines = linesOf(p);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].from, QPointF(42, 7));
        QVERIFY(near(lines[0].to.x(), 42) && near(lines[0].to.y(), 46.6));
        QCOMPARE(lines[1].from, QPointF(42, 57));
        QVERIFY(near(lines[1].to.x(), 42) && near(lines[1].to.y(), 116.6));

        // 2 headings + 20 labels + 20 values + the footer; neither the
        // pending mark nor the padded seat number.
        QCOMPARE(p.textBoxes().size(), 43);
        for (const page::TextBox *box : p.textBoxes()) {
            QVERIFY(!box->text.contains("00012"));
            QVERIFY(!box->text.contains("confermare", Qt::CaseInsensitive));
        }
    }

    void reservationDialogPrintsTheCardAsShown()
    {
        OutputRecorder output;
        qvtest::FixedClock clock(kMoment);
        std::unique_ptr<FixtureCard> card(reservationCard());
        fillReservation(*card);
        card->show();
        QWidget *seen = nullptr;
        qvtest::whenModal([&](QWidget *dialog) {
            seen = dialog;
            QVERIFY(qobject_cast<TfrmStampaPrenotazione *>(dialog));
            QCOMPARE(dialog->windowTitle(), QString(" Stampa scheda corrente"));
            QCOMPARE(dialog->size(), QSize(364, 287));
            QCOMPARE(dialog->parentWidget(), card.get());
            card->set("txtCliente", "Neri Paolo"); // typed after the dialog opened
            dialog->findChild<QPushButton *>("btnStampa")->click();
            QVERIFY(!dialog->isVisible());
        });
        openReservationSheetDialog(card.get());
        QVERIFY(seen);
        QCOMPARE(output.destinations, QList<PageOutput::Destination>{PageOutput::Destination::Printer});
        QCOMPARE(output.documents[0].title, QString("Scheda Prenotazione"));
        QCOMPARE(output.documents[0].pages[0].textBox("txtCliente")->text, QString("Neri Paolo"));
        QCOMPARE(output.documents[0].pages[0].textBox("txtCalce")->text, kStamp);
        QVERIFY(card->findChildren<QDialog *>().isEmpty()); // destroyed on return
    }

    void annullaPrintsNothing()
    {
        OutputRecorder output;
        std::unique_ptr<FixtureCard> card(reservationCard());
        card->show();
        qvtest::whenModal([](QWidget *dialog) {
            auto *annulla = dialog->findChild<QPushButton *>("btnAnnulla");
            auto *stampa = dialog->findChild<QPushButton *>("btnStampa");
            QCOMPARE(annulla->text(), QString("Annulla"));
            QCOMPARE(stampa->text(), QString("Stampa"));
            QCOMPARE(annulla->nextInFocusChain(), stampa);
            QVERIFY(dialog->findChild<QLabel *>("imgStampante"));
            annulla->click();
            QVERIFY(!dialog->isVisible());
        });
        openReservationSheetDialog(card.get());
        QVERIFY(output.destinations.isEmpty());
    }

    // ---- what every sheet shares ----

    void markupPrintsLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("picture tag") << "<img src=\"PICTURE\"> fine";
        QTest::newRow("square brackets") << "[txtCliente] [DATE] [Page#]";
        QTest::newRow("entities and tags") << "&amp; &lt;b&gt; <b>grassetto</b> & <i>";
        QTest::newRow("pattern braces") << "{txtCarta} {}";
    }
    void markupPrintsLiterally()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(dir.filePath("red.png")));
        text.replace("PICTURE", dir.filePath("red.png"));

        std::unique_ptr<FixtureCard> card(participantCard());
        card->set("txtCliente", text);
        card->set("txtCarta", "4111");
        const page::Document participant = sheets::participantSheet(card.get(), kMoment);
        QCOMPARE(participant.pages[0].textBox("txtCampo01")->text, text);
        std::unique_ptr<FixtureCard> booking(reservationCard());
        booking->set("txtAnnotazioni", text);
        const page::Document reservation = sheets::reservationSheet(booking.get(), kMoment);
        QCOMPARE(reservation.pages[0].textBox("txtAnnotazioni")->text, text);

        for (const page::Document *doc : {&participant, &reservation}) {
            const QByteArray bytes = PageOutput::pdfBytes(*doc);
            QVERIFY(!bytes.contains("/Subtype /Image"));
            QVERIFY(qvtest::readPdf(bytes).pageTexts.value(0).contains(text));
            // Nothing red on the page: the picture was not drawn.
            const QImage page = page::renderPage(*doc, 0, 60);
            for (int y = 0; y < page.height(); y += 2)
                for (int x = 0; x < page.width(); x += 2) {
                    const QColor c = page.pixelColor(x, y);
                    QVERIFY(!(c.red() > 200 && c.green() < 60 && c.blue() < 60));
                }
        }
    }

    void lineBreaksNeverLeaveTheRow()
    {
        std::unique_ptr<FixtureCard> card(reservationCard());
        card->set("txtUbicazione", "Fila B\nposto 3\r\nlato");
        const page::Document doc = sheets::reservationSheet(card.get(), kMoment);
        QCOMPARE(doc.pages[0].textBox("txtUbicazione")->text, QString("Fila B posto 3  lato"));
    }
};

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
