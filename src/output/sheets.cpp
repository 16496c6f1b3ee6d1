#include "output/sheets.h"

#include "core/clock.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "ui/controltext.h"
#include "ui/desktop.h"
#include "ui/messages.h"

#include <QWidget>

namespace qv::sheets {

namespace {

// The look of the sheets: part of each template, so it lives with them.
const QColor kHeadingFill(0xB0, 0xC4, 0xDE); // light steel blue
const QColor kFooterFill(0xFF, 0xD7, 0x00);  // gold
const QColor kTitleFill(0xFF, 0x8C, 0x00);   // dark orange
const QColor kLabelFill(0x00, 0x80, 0x80);   // teal
const QString kArial = QStringLiteral("Arial");
const QString kFooterDesign = QStringLiteral("Data e ora stampa");
const QString kParticipantName = QStringLiteral("Scheda informativa");
const QString kMaker = QStringLiteral("Quorvane");

// The row grid, in mm from the top left of the printable area.
constexpr double kBandLeft = 1, kBandWidth = 188, kBandHeight = 5.8;
constexpr double kBandTextLeft = 2, kBandTextTop = 1, kBandTextWidth = 185.8, kBandTextHeight = 4.2;
constexpr double kFirstRowBelowHeading = 6, kRowPitch = 5, kRowHeight = 4.6;
constexpr double kTextBelowRowTop = 0.5, kRowTextHeight = 3.5;
constexpr double kLabelLeft = 2, kLabelWidth = 37.8, kValueLeft = 44, kValueWidth = 144, kColumnLine = 42;

page::Document portraitA4(const QString &name)
{
    page::Document doc;
    doc.setup.size = QPageSize::A4;
    doc.setup.orientation = QPageLayout::Portrait;
    doc.setup.margins = QMarginsF(10, 10, 10, 10);
    doc.title = name;
    doc.pages.append(page::Page{});
    return doc;
}

// A text box of the sheets: one line, cut at its edges, never growing.
page::TextBox textBox(const QString &name, const QRectF &rect, double points, const QString &design,
                      Qt::Alignment alignment = Qt::AlignLeft)
{
    page::TextBox box;
    box.name = name;
    box.rect = rect;
    box.font = page::font(kArial, points);
    box.alignment = alignment | Qt::AlignVCenter;
    box.text = design;
    box.padding = 0;
    return box;
}

QString labelBoxName(const QString &valueBox)
{
    return QStringLiteral("tit") + valueBox.mid(3);
}

// A line of text as the sheet prints it: line breaks stored by other programs
// become blanks, so a value never leaves its row.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

QString cardText(const QWidget *card, const QString &control)
{
    return oneLine(trimmed(controlText(namedControl(card, control))));
}

// A value made of fixed texts and card controls: "{txtCarta}" stands for the
// trimmed text of txtCarta. Only the pattern is scanned, never what a card
// holds, so a brace typed by the user prints as typed.
QString composed(const QWidget *card, const QString &pattern)
{
    QString value;
    qsizetype at = 0;
    while (at < pattern.size()) {
        const qsizetype open = pattern.indexOf(QLatin1Char('{'), at);
        const qsizetype close = open < 0 ? -1 : pattern.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            value += pattern.mid(at);
            break;
        }
        value += pattern.mid(at, open - at);
        value += cardText(card, pattern.mid(open + 1, close - open - 1));
        at = close + 1;
    }
    return value;
}

void stamp(page::Document &doc, const QDateTime &moment)
{
    doc.pages.first().setText(QStringLiteral("txtCalce"), printLine(moment));
}

page::Document filledGrid(const GridSheet &grid, const QWidget *card, const QDateTime &moment)
{
    page::Document doc = gridTemplate(grid);
    for (const GridSection &section : grid.sections)
        for (const GridRow &row : section.rows)
            doc.pages.first().setText(row.box, cardText(card, row.box));
    stamp(doc, moment);
    return doc;
}

// The participant sheet's 24 rows: the label, and the value as a pattern of
// fixed texts and card controls.
struct ParticipantRow
{
    QString label;
    QString value;
};

const QList<ParticipantRow> &participantRows()
{
    static const QList<ParticipantRow> rows{
        {QStringLiteral("Cognome e nome:"), QStringLiteral("{txtCliente}")},
        {QStringLiteral("Data di nascita:"), QStringLiteral("{txtDataNasc}")},
        {QStringLiteral("Comune di nascita:"), QStringLiteral("{txtComuneNasc} {txtProvNasc}")},
        {QStringLiteral("Sesso:"), QStringLiteral("{txtSesso}")},
        {QStringLiteral("Recapito preferenziale:"), QStringLiteral("{txtRecapito}")},
        {QStringLiteral("Indirizzo di residenza:"), QStringLiteral("{txtIndirizzoRes}")},
        {QStringLiteral("Comune di residenza:"), QStringLiteral("{txtComuneRes} {txtProvRes}")},
        {QStringLiteral("Modalit\u00E0 pagamento:"), QStringLiteral("{txtEstremi}")},
        {QStringLiteral("Tel. casa:"), QStringLiteral("{txtTelCasa}")},
        {QStringLiteral("Tel. ufficio:"), QStringLiteral("{txtTelUff}")},
        {QStringLiteral("Tel. cellulare:"), QStringLiteral("{txtTelCel}")},
        {QStringLiteral("Fax:"), QStringLiteral("{txtFax}")},
        {QStringLiteral("E-mail:"), QStringLiteral("{txtEmail}")},
        {QStringLiteral("Codice fiscale:"), QStringLiteral("{txtCodFisc}")},
        {QStringLiteral("Partita IVA:"), QStringLiteral("{txtPartitaIva}")},
        {QStringLiteral("Carta di credito:"), QStringLiteral("N. {txtCarta}  -  Scadenza: {txtScadeCarta}")},
        {QStringLiteral("IBAN:"), QStringLiteral("{txtIban}")},
        {QStringLiteral("Estremi documento:"), QStringLiteral("{txtDocumento}")},
        {QStringLiteral("Occupazione:"), QStringLiteral("{txtOccupazione}")},
        {QStringLiteral("Titoli e qualifiche:"), QStringLiteral("{txtTitoli}")},
        {QStringLiteral("Prodotti e servizi:"), QStringLiteral("{txtProdotti}")},
        {QStringLiteral("Zona di appartenenza:"), QStringLiteral("{txtZona}")},
        {QStringLiteral("Questioni in sospeso:"), QStringLiteral("{txtQuestioni}")},
        {QStringLiteral("Note:"), QStringLiteral("{txtNote}")},
    };
    return rows;
}

QString rowNumber(int row)
{
    return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

} // namespace

QString printLine(const QDateTime &moment)
{
    return QStringLiteral("Stampa eseguita in data ") + formatDate(moment.date()) + QStringLiteral(" alle ore ")
           + formatTime(moment.time());
}

const GridSheet &eventGrid()
{
    static const GridSheet grid{
        QStringLiteral("Scheda Evento"),
        {{1,
          QStringLiteral("titArcataSup"),
          QStringLiteral("SCHEDA INFORMATIVA EVENTO"),
          {
              {QStringLiteral("Titolo evento:"), QStringLiteral("txtTitolo")},
              {QStringLiteral("Tipologia:"), QStringLiteral("txtTipologia")},
              {QStringLiteral("Materie trattate:"), QStringLiteral("txtMaterie")},
              {QStringLiteral("Relatori:"), QStringLiteral("txtRelatori")},
              {QStringLiteral("Data inizio:"), QStringLiteral("txtDataInizio")},
              {QStringLiteral("Ora inizio:"), QStringLiteral("txtOraInizio")},
              {QStringLiteral("Data fine:"), QStringLiteral("txtDataFine")},
              {QStringLiteral("Ora fine:"), QStringLiteral("txtOraFine")},
              {QStringLiteral("Sede:"), QStringLiteral("txtSede")},
              {QStringLiteral("Indirizzo:"), QStringLiteral("txtIndirizzo")},
              {QStringLiteral("Organizzatore:"), QStringLiteral("txtOrganizzatore")},
              {QStringLiteral("Recapito organizzatore:"), QStringLiteral("txtRecapitoOrg")},
              {QStringLiteral("Contatto per info:"), QStringLiteral("txtContatto")},
              {QStringLiteral("Recapito contatto:"), QStringLiteral("txtRecapitoCon")},
              {QStringLiteral("Collaboratori:"), QStringLiteral("txtCollaboratori")},
              {QStringLiteral("Criteri ammissione:"), QStringLiteral("txtCriteri")},
              {QStringLiteral("Modalit\u00E0 di pagamento:"), QStringLiteral("txtPagamento")},
              {QStringLiteral("Quota di partecipazione: \u20AC"), QStringLiteral("txtQuota")},
              {QStringLiteral("Intestatario C/C:"), QStringLiteral("txtIntestatario")},
              {QStringLiteral("IBAN:"), QStringLiteral("txtIban")},
              {QStringLiteral("Banca d'appoggio:"), QStringLiteral("txtBanca")},
              {QStringLiteral("Anticipo: \u20AC"), QStringLiteral("txtAnticipo")},
              {QStringLiteral("Note:"), QStringLiteral("txtNote")},
              {QStringLiteral("Data termine adesione:"), QStringLiteral("txtDataSca")},
              {QStringLiteral("N. totale posti:"), QStringLiteral("txtPosti")},
          }}},
        134,
    };
    return grid;
}

const GridSheet &reservationGrid()
{
    static const GridSheet grid{
        QStringLiteral("Scheda Prenotazione"),
        {{1,
          QStringLiteral("titArcataSup"),
          QStringLiteral("DATI EVENTO"),
          {
              {QStringLiteral("Titolo evento:"), QStringLiteral("txtTitolo")},
              {QStringLiteral("N. totale posti:"), QStringLiteral("txtPosti")},
              {QStringLiteral("Data inizio:"), QStringLiteral("txtDataInizio")},
              {QStringLiteral("Ora inizio:"), QStringLiteral("txtOraInizio")},
              {QStringLiteral("Data fine:"), QStringLiteral("txtDataFine")},
              {QStringLiteral("Ora fine:"), QStringLiteral("txtOraFine")},
              {QStringLiteral("Sede:"), QStringLiteral("txtSede")},
              {QStringLiteral("Indirizzo:"), QStringLiteral("txtIndirizzo")},
          }},
         {51,
          QStringLiteral("titPartecipante"),
          QStringLiteral("DATI PARTECIPANTE"),
          {
              {QStringLiteral("Cognome e nome:"), QStringLiteral("txtCliente")},
              {QStringLiteral("Indirizzo residenza:"), QStringLiteral("txtIndirizzoRes")},
              {QStringLiteral("Comune residenza:"), QStringLiteral("txtComuneRes")},
              {QStringLiteral("Sigla provincia:"), QStringLiteral("txtProvRes")},
              {QStringLiteral("CAP:"), QStringLiteral("txtCapRes")},
              {QStringLiteral("Codice fiscale:"), QStringLiteral("txtCodFisc")},
              {QStringLiteral("Recapito preferenziale:"), QStringLiteral("txtRecapito")},
              {QStringLiteral("Tel. cellulare:"), QStringLiteral("txtTelCel")},
              {QStringLiteral("Indirizzo e-mail:"), QStringLiteral("txtEmail")},
              {QStringLiteral("Posto assegnato n."), QStringLiteral("txtPosto")},
              {QStringLiteral("Ubicazione posto:"), QStringLiteral("txtUbicazione")},
              {QStringLiteral("Annotazioni:"), QStringLiteral("txtAnnotazioni")},
          }}},
        120,
    };
    return grid;
}

page::Document gridTemplate(const GridSheet &grid)
{
    page::Document doc = portraitA4(grid.name);
    page::Page &p = doc.pages.first();
    auto band = [&p](double top, const QColor &fill, const QString &name, double points, const QString &text) {
        p.add(page::Frame{QRectF(kBandLeft, top, kBandWidth, kBandHeight), fill});
        p.add(textBox(name, QRectF(kBandTextLeft, top + kBandTextTop, kBandTextWidth, kBandTextHeight), points, text,
                      Qt::AlignHCenter));
    };
    for (const GridSection &section : grid.sections) {
        band(section.top, kHeadingFill, section.headingBox, 9, section.heading);
        const double first = section.top + kFirstRowBelowHeading;
        for (int i = 0; i < section.rows.size(); ++i) {
            const GridRow &row = section.rows.at(i);
            const double top = first + i * kRowPitch;
            p.add(page::Frame{QRectF(kBandLeft, top, kBandWidth, kRowHeight)});
            const double textTop = top + kTextBelowRowTop;
            p.add(textBox(labelBoxName(row.box), QRectF(kLabelLeft, textTop, kLabelWidth, kRowTextHeight), 7,
                          row.label));
            p.add(textBox(row.box, QRectF(kValueLeft, textTop, kValueWidth, kRowTextHeight), 7, row.box));
        }
        if (!section.rows.isEmpty()) {
            const double last = first + (section.rows.size() - 1) * kRowPitch + kRowHeight;
            p.add(page::Line{QPointF(kColumnLine, first), QPointF(kColumnLine, last)});
        }
    }
    band(grid.footerTop, kFooterFill, QStringLiteral("txtCalce"), 8, kFooterDesign);
    return doc;
}

page::Document participantTemplate()
{
    page::Document doc = portraitA4(kParticipantName);
    doc.subject = kParticipantName;
    doc.author = kMaker;
    page::Page &p = doc.pages.first();
    p.add(page::Picture{QRectF(3, 3, 17, 13), QStringLiteral("logo")});

    page::TextBox title = textBox(QStringLiteral("txtTitolo"), QRectF(23, 3, 165, 9), 16,
                                  QStringLiteral("Titolo Scheda"), Qt::AlignHCenter);
    title.fill = kTitleFill;
    title.color = Qt::white;
    p.add(title);
    p.add(page::Line{QPointF(23, 16), QPointF(23 + 165, 16)});

    for (int row = 1; row <= participantRows().size(); ++row) {
        const double top = 24 + 10 * (row - 1);
        page::TextBox label = textBox(QStringLiteral("titCampo") + rowNumber(row), QRectF(3, top, 52, 6), 9,
                                      participantRows().at(row - 1).label);
        label.fill = kLabelFill;
        label.color = Qt::white;
        label.padding = 1; // white on teal needs a little air at the edge
        p.add(label);
        p.add(textBox(QStringLiteral("txtCampo") + rowNumber(row), QRectF(60, top, 128, 6), 10,
                      QStringLiteral("Campo %1").arg(row)));
    }

    p.add(page::Line{QPointF(3, 265), QPointF(3 + 185, 265)});
    page::TextBox footer = textBox(QStringLiteral("txtCalce"), QRectF(3, 269, 185, 6), 10,
                                   QStringLiteral("Termine scheda"), Qt::AlignHCenter);
    footer.fill = kTitleFill;
    footer.color = Qt::white;
    p.add(footer);
    return doc;
}

page::Document eventSheet(const QWidget *card, const QDateTime &moment)
{
    return filledGrid(eventGrid(), card, moment);
}

page::Document reservationSheet(const QWidget *card, const QDateTime &moment)
{
    return filledGrid(reservationGrid(), card, moment);
}

page::Document participantSheet(const QWidget *card, const QDateTime &moment)
{
    page::Document doc = participantTemplate();
    page::Page &p = doc.pages.first();
    p.setText(QStringLiteral("txtTitolo"), QStringLiteral("SCHEDA ANAGRAFICA PARTECIPANTE"));
    for (int row = 1; row <= participantRows().size(); ++row) {
        const ParticipantRow &r = participantRows().at(row - 1);
        p.setText(QStringLiteral("titCampo") + rowNumber(row), r.label);
        p.setText(QStringLiteral("txtCampo") + rowNumber(row), composed(card, r.value));
    }
    stamp(doc, moment);
    return doc;
}

} // namespace qv::sheets

namespace qv {

void previewParticipantSheet(QWidget *card)
{
    PageOutput::preview(sheets::participantSheet(card, Clock::now()), card);
}

void printParticipantSheet(QWidget *card)
{
    PageOutput::print(sheets::participantSheet(card, Clock::now()), card);
}

void saveParticipantSheetPdf(QWidget *card)
{
    savePdfAndOffer(sheets::participantSheet(card, Clock::now()), ProgramFolder::file(sheets::kParticipantPdf),
                    QStringLiteral("L'esportazione della scheda in PDF \u00E8 terminata con successo."), card);
}

void savePdfAndOffer(const page::Document &document, const QString &path, const QString &done, QWidget *owner)
{
    // Written beside the old file and put in its place only when whole: a
    // file held open, a read-only folder or a full disk leave the old one as
    // it was and are reported, never announced as a success.
    offerPdf(PageOutput::writePdf(document, path), path, done, owner);
}

void offerPdf(bool written, const QString &path, const QString &done, QWidget *owner)
{
    if (!written) {
        Messages::plain(QStringLiteral("Attenzione: il sistema non permette di creare il file PDF.") + Messages::kBreak
                            + QStringLiteral("Accertarsi che il file non sia gi\u00E0 aperto."),
                        owner);
        return;
    }
    if (Messages::question(done + QStringLiteral("\r\n\r\nSi vuole aprire il file?"), owner))
        Desktop::openFile(path, owner);
}

} // namespace qv
