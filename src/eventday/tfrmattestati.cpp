#include "eventday/tfrmattestati.h"

#include "mail/tfrminvioposta.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "frame/guide.h"
#include "frame/outputbuttons.h"
#include "frame/workspace.h"
#include "output/sheets.h"
#include "ui/access.h"
#include "ui/filechooser.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qv;

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit *line(const char *name, const QString &accessible, QWidget *parent)
{
    auto *box = named(new QLineEdit(parent), name);
    box->setAccessibleName(accessible);
    return box;
}

enum Column { ColAttestato, ColNome, ColPosto, ColGiorni, ColOre, ColMotivo };

} // namespace

TfrmAttestati::TfrmAttestati(const EventInfo &event, const QString &reservationArchive, QWidget *owner)
    : QDialog(owner), m_event(event), m_archive(reservationArchive)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmAttestati"));
    setWindowTitle(QStringLiteral(" Attestati di partecipazione"));
    setWindowIcon(picture(QStringLiteral("certificate")));

    lblInformazioni = named(new QLabel(QStringLiteral("Attestati di partecipazione per l'evento \u00AB%1\u00BB: "
                                                      "una pagina per ogni persona spuntata nell'elenco.")
                                           .arg(trimmed(event.titolo)),
                                       this),
                            "lblInformazioni");
    lblInformazioni->setWordWrap(true);

    // Who gets one.
    auto *rules = named(new QGroupBox(QStringLiteral("Chi riceve l'attestato"), this), "grpRegola");
    optOgniGiorno = named(new QRadioButton(QStringLiteral("Presenti in &ogni giorno dell'evento"), rules), "optOgniGiorno");
    optUnGiorno = named(new QRadioButton(QStringLiteral("Presenti in &almeno un giorno"), rules), "optUnGiorno");
    optOre = named(new QRadioButton(QStringLiteral("Presenti almeno per questa parte delle &ore:"), rules), "optOre");
    spnPercentuale = named(new QSpinBox(rules), "spnPercentuale");
    spnPercentuale->setRange(1, 100);
    spnPercentuale->setValue(90);
    spnPercentuale->setSuffix(QStringLiteral("%"));
    spnPercentuale->setAccessibleName(QStringLiteral("Percentuale delle ore"));
    optOgniGiorno->setChecked(true);
    auto *ruleGroup = new QButtonGroup(this);
    auto *hours = new QHBoxLayout;
    hours->addWidget(optOre);
    hours->addWidget(spnPercentuale);
    hours->addStretch(1);
    auto *rulesLayout = new QVBoxLayout(rules);
    for (QRadioButton *o : {optOgniGiorno, optUnGiorno}) {
        ruleGroup->addButton(o);
        rulesLayout->addWidget(o);
    }
    ruleGroup->addButton(optOre);
    rulesLayout->addLayout(hours);

    lstPartecipanti = named(new QTreeWidget(this), "lstPartecipanti");
    lstPartecipanti->setAccessibleName(QStringLiteral("Prenotati: la spunta dice chi riceve l'attestato"));
    lstPartecipanti->setHeaderLabels({QStringLiteral("Attestato"), QStringLiteral("Cognome e nome"),
                                      QStringLiteral("Posto"), QStringLiteral("Giorni"), QStringLiteral("Ore"),
                                      QStringLiteral("Motivo")});
    lstPartecipanti->setRootIsDecorated(false);
    lstPartecipanti->setUniformRowHeights(true);
    lstPartecipanti->setMinimumSize(620, 200);
    lstPartecipanti->header()->setStretchLastSection(true);
    lblConta = named(new QLabel(this), "lblConta");

    // The text.
    auto *text = named(new QGroupBox(QStringLiteral("Testo dell'attestato"), this), "grpTesto");
    txtTitoloAttestato = line("txtTitoloAttestato", QStringLiteral("Titolo dell'attestato"), text);
    txtTesto = named(new QPlainTextEdit(text), "txtTesto");
    txtTesto->setAccessibleName(QStringLiteral("Testo dell'attestato"));
    txtTesto->setTabChangesFocus(true);
    txtTesto->setMinimumHeight(150);
    auto *fields = named(new QLabel(QStringLiteral("Campi: ") + Certificates::fieldNames().join(QLatin1Char(' '))
                                        + QStringLiteral(". Una riga con un campo vuoto non viene stampata."),
                                    text),
                         "lblCampi");
    fields->setWordWrap(true);
    txtLuogo = line("txtLuogo", QStringLiteral("Luogo di rilascio"), text);
    txtDataRilascio = line("txtDataRilascio", QStringLiteral("Data di rilascio"), text);
    txtDataRilascio->setPlaceholderText(QStringLiteral("vuota: il giorno della stampa"));
    txtFirmatario = line("txtFirmatario", QStringLiteral("Nome di chi firma"), text);
    txtRuolo = line("txtRuolo", QStringLiteral("Ruolo di chi firma"), text);
    lblLogo = named(new QLabel(text), "lblLogo");
    lblFirma = named(new QLabel(text), "lblFirma");
    cmdLogo = named(new QPushButton(QStringLiteral("Scegli..."), text), "cmdLogo");
    cmdTogliLogo = named(new QPushButton(QStringLiteral("Nessuno"), text), "cmdTogliLogo");
    cmdFirma = named(new QPushButton(QStringLiteral("Scegli..."), text), "cmdFirma");
    cmdTogliFirma = named(new QPushButton(QStringLiteral("Nessuna"), text), "cmdTogliFirma");
    describe(cmdLogo, QStringLiteral("Scegli il logo"), QStringLiteral("Sceglie un'immagine PNG o JPEG per il logo."));
    describe(cmdTogliLogo, QStringLiteral("Nessun logo"), QStringLiteral("Toglie il logo dall'attestato."));
    describe(cmdFirma, QStringLiteral("Scegli la firma"),
             QStringLiteral("Sceglie un'immagine PNG o JPEG con la firma."));
    describe(cmdTogliFirma, QStringLiteral("Nessuna firma"), QStringLiteral("Toglie la firma dall'attestato."));
    optSoloEvento = named(new QRadioButton(QStringLiteral("Testo solo per questo evento"), text), "optSoloEvento");
    optTuttiEventi = named(new QRadioButton(QStringLiteral("Testo per tutti gli eventi"), text), "optTuttiEventi");
    (Certificates::hasOwnTemplate(event.number) ? optSoloEvento : optTuttiEventi)->setChecked(true);
    auto *scope = new QButtonGroup(this);
    scope->addButton(optSoloEvento);
    scope->addButton(optTuttiEventi);
    cmdPredefinito = named(new QPushButton(QStringLiteral("Testo predefinito"), text), "cmdPredefinito");
    describe(cmdPredefinito, QStringLiteral("Testo predefinito"),
             QStringLiteral("Rimette nella finestra il testo predefinito dell'attestato."));

    auto *form = new QFormLayout;
    const auto add = [form](const QString &label, QWidget *box) {
        auto *l = new QLabel(label);
        l->setBuddy(box);
        form->addRow(l, box);
    };
    add(QStringLiteral("&Titolo:"), txtTitoloAttestato);
    add(QStringLiteral("Te&sto:"), txtTesto);
    form->addRow(QString(), fields);
    add(QStringLiteral("&Luogo di rilascio:"), txtLuogo);
    add(QStringLiteral("&Data di rilascio:"), txtDataRilascio);
    add(QStringLiteral("&Firmatario:"), txtFirmatario);
    add(QStringLiteral("R&uolo:"), txtRuolo);
    const auto pictureRow = [](QLabel *name, QPushButton *choose, QPushButton *none) {
        auto *row = new QHBoxLayout;
        row->addWidget(name, 1);
        row->addWidget(choose);
        row->addWidget(none);
        return row;
    };
    form->addRow(QStringLiteral("Logo:"), pictureRow(lblLogo, cmdLogo, cmdTogliLogo));
    form->addRow(QStringLiteral("Immagine della firma:"), pictureRow(lblFirma, cmdFirma, cmdTogliFirma));
    auto *scopeRow = new QHBoxLayout;
    scopeRow->addWidget(optSoloEvento);
    scopeRow->addWidget(optTuttiEventi);
    scopeRow->addStretch(1);
    scopeRow->addWidget(cmdPredefinito);
    form->addRow(QString(), scopeRow);
    text->setLayout(form);

    chkUnoPerPersona = named(new QCheckBox(QStringLiteral("Anche un file per persona nella cartella ")
                                               + Certificates::folderName(event.number),
                                           this),
                             "chkUnoPerPersona");

    makeOutputButtons(this, GuideTopic::Certificates, QStringLiteral("Mostra gli attestati prima di stamparli."),
                      QStringLiteral("Stampa gli attestati, uno per pagina."),
                      QStringLiteral("Scrive gli attestati nel file ") + Certificates::pdfName(event.number)
                          + QStringLiteral(" nella cartella del programma."));

    auto *left = new QVBoxLayout;
    left->addWidget(rules);
    left->addWidget(lstPartecipanti, 1);
    left->addWidget(lblConta);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(text, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(lblInformazioni);
    layout->addLayout(columns, 1);
    layout->addWidget(chkUnoPerPersona);
    cmdEmail = outputButton("cmdEmail", QStringLiteral("mail_all"), QStringLiteral("Invia per e-mail"), this);
    describe(cmdEmail, QStringLiteral("Invia per e-mail"),
             QStringLiteral("Invia a ogni persona scelta il suo attestato in PDF, attraverso il server della posta elettronica."));
    connect(cmdEmail, &QPushButton::clicked, this, [this] { cmdEmailClick(); });
    layout->addLayout(outputButtonRow(cmdGuida, {cmdAnteprima, cmdStampa, cmdPDF, cmdEmail, btnChiudi}));

    connect(cmdLogo, &QPushButton::clicked, this, [this] { choosePicture(true); });
    connect(cmdFirma, &QPushButton::clicked, this, [this] { choosePicture(false); });
    connect(cmdTogliLogo, &QPushButton::clicked, this, [this] {
        m_logo.clear();
        lblLogo->setText(QStringLiteral("nessuno"));
    });
    connect(cmdTogliFirma, &QPushButton::clicked, this, [this] {
        m_firma.clear();
        lblFirma->setText(QStringLiteral("nessuna"));
    });
    connect(cmdPredefinito, &QPushButton::clicked, this, [this] { showTemplate(Certificates::Template::standard()); });
    for (QRadioButton *o : {optOgniGiorno, optUnGiorno, optOre})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                reassess();
        });
    connect(spnPercentuale, &QSpinBox::valueChanged, this, [this] {
        if (optOre->isChecked())
            reassess();
    });
    connect(lstPartecipanti, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (m_filling || column != ColAttestato)
            return;
        const qint64 number = item->data(ColAttestato, Qt::UserRole).toLongLong();
        const bool on = item->checkState(ColAttestato) == Qt::Checked;
        for (Certificates::Person &p : m_assessment.people)
            if (p.booking.number == number) {
                p.chosen = on;
                if (on == p.qualifies)
                    m_byHand.remove(number);
                else
                    m_byHand.insert(number, on);
            }
        updateCount();
    });

    m_saved = Certificates::load(event.number);
    showTemplate(m_saved);
    reassess();
    cmdAnteprima->setDefault(true);
    makeFixedCentred(this);
}

Certificates::Rule TfrmAttestati::rule() const
{
    if (optUnGiorno->isChecked())
        return {Certificates::Rule::AnyDay, spnPercentuale->value()};
    if (optOre->isChecked())
        return {Certificates::Rule::Hours, spnPercentuale->value()};
    return {Certificates::Rule::EveryDay, spnPercentuale->value()};
}

void TfrmAttestati::reassess()
{
    try {
        m_assessment = Certificates::assess(m_event, m_archive, rule());
    } catch (const ArchiveError &) {
        m_assessment = {};
        Messages::failure(Messages::kArchiveAccess, this);
    }
    // Choices made by hand outlast a change of rule.
    for (Certificates::Person &p : m_assessment.people)
        if (const auto hand = m_byHand.constFind(p.booking.number); hand != m_byHand.cend())
            p.chosen = *hand;
    optOre->setEnabled(m_assessment.exitsRecorded || optOre->isChecked());
    optOre->setToolTip(m_assessment.exitsRecorded ? QString()
                                                  : QStringLiteral("Per questo evento non sono state registrate uscite."));
    fillList();
}

void TfrmAttestati::fillList()
{
    m_filling = true;
    lstPartecipanti->clear();
    QList<QTreeWidgetItem *> items;
    for (const Certificates::Person &p : m_assessment.people) {
        QStringList days;
        for (const QDate &d : p.days)
            days.append(d.toString(QStringLiteral("dd/MM")));
        auto *item = new QTreeWidgetItem({QString(), p.booking.cliente, p.booking.posto, days.join(QStringLiteral(", ")),
                                          p.seconds ? Attendance::hoursText(*p.seconds) : QString(),
                                          p.why + (p.chosen != p.qualifies ? QStringLiteral(" (scelto a mano)") : QString())});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ColAttestato, p.chosen ? Qt::Checked : Qt::Unchecked);
        item->setData(ColAttestato, Qt::UserRole, p.booking.number);
        items.append(item);
    }
    lstPartecipanti->addTopLevelItems(items);
    for (int c = ColAttestato; c < ColMotivo; ++c)
        lstPartecipanti->resizeColumnToContents(c);
    m_filling = false;
    updateCount();
}

void TfrmAttestati::updateCount()
{
    lblConta->setText(QStringLiteral("%1 attestati su %2 prenotati.")
                          .arg(m_assessment.chosenCount())
                          .arg(m_assessment.people.size()));
}

QList<Certificates::Person> TfrmAttestati::people() const
{
    return m_assessment.people;
}

void TfrmAttestati::showTemplate(const Certificates::Template &tpl)
{
    txtTitoloAttestato->setText(tpl.titolo);
    txtTesto->setPlainText(tpl.testo);
    txtLuogo->setText(tpl.luogo);
    txtDataRilascio->setText(tpl.data);
    txtFirmatario->setText(tpl.firmatario);
    txtRuolo->setText(tpl.ruolo);
    m_logo = tpl.logo;
    m_firma = tpl.firma;
    lblLogo->setText(m_logo.isEmpty() ? QStringLiteral("nessuno") : m_logo);
    lblFirma->setText(m_firma.isEmpty() ? QStringLiteral("nessuna") : m_firma);
}

Certificates::Template TfrmAttestati::shownTemplate() const
{
    Certificates::Template t;
    t.titolo = txtTitoloAttestato->text();
    t.testo = txtTesto->toPlainText();
    t.luogo = txtLuogo->text();
    t.data = txtDataRilascio->text();
    t.firmatario = txtFirmatario->text();
    t.ruolo = txtRuolo->text();
    t.logo = m_logo;
    t.firma = m_firma;
    return t;
}

void TfrmAttestati::choosePicture(bool logo)
{
    const QString source = FileChooser::openFile(this, logo ? QStringLiteral("Logo dell'attestato")
                                                            : QStringLiteral("Immagine della firma"),
                                                 QStringLiteral("Immagini PNG o JPEG (*.png *.jpg *.jpeg)"));
    if (source.isEmpty())
        return;
    QString reason;
    const QString name = Certificates::copyPicture(source, logo ? QStringLiteral("Logo") : QStringLiteral("Firma"),
                                                   optSoloEvento->isChecked() ? m_event.number : 0, &reason);
    if (name.isEmpty()) {
        Messages::caution(reason, this);
        return;
    }
    (logo ? m_logo : m_firma) = name;
    (logo ? lblLogo : lblFirma)->setText(name);
}

std::optional<CertificatePages::Setting> TfrmAttestati::prepared()
{
    const QList<Certificates::Person> chosen = CertificatePages::chosen(m_assessment.people);
    if (chosen.isEmpty()) {
        Messages::caution(QStringLiteral("Nessun prenotato \u00E8 spuntato per ricevere l'attestato."), this);
        return std::nullopt;
    }
    const Certificates::Template tpl = shownTemplate();
    const bool ownWanted = optSoloEvento->isChecked();
    // The text printed is the text kept, so that the next printing, here or
    // from the command line, gives the same certificate.
    if (tpl != m_saved || ownWanted != Certificates::hasOwnTemplate(m_event.number)) {
        const QString path = ownWanted ? Certificates::eventTemplatePath(m_event.number)
                                       : Certificates::folderTemplatePath();
        if (!Certificates::save(tpl, path)) {
            Messages::plain(QStringLiteral("Attenzione: il sistema non permette di salvare il testo dell'attestato.")
                                + Messages::kBreak + QDir::toNativeSeparators(path),
                            this);
            return std::nullopt;
        }
        // Kept for all events: the event's own text would hide it.
        if (!ownWanted)
            QFile::remove(Certificates::eventTemplatePath(m_event.number));
        m_saved = tpl;
    }
    return CertificatePages::Setting::make(m_event, tpl, Clock::today());
}

void TfrmAttestati::cmdAnteprimaClick()
{
    if (const auto setting = prepared())
        PageOutput::preview(CertificatePages::document(*setting, CertificatePages::chosen(m_assessment.people)), this);
}

void TfrmAttestati::cmdStampaClick()
{
    if (const auto setting = prepared())
        PageOutput::print(CertificatePages::document(*setting, CertificatePages::chosen(m_assessment.people)), this);
}

void TfrmAttestati::cmdPDFClick()
{
    const auto setting = prepared();
    if (!setting)
        return;
    const QList<Certificates::Person> chosen = CertificatePages::chosen(m_assessment.people);
    const QString path = ProgramFolder::file(Certificates::pdfName(m_event.number));
    bool written = CertificatePages::writePdf(*setting, chosen, path);
    if (written && chkUnoPerPersona->isChecked())
        written = CertificatePages::writeEach(*setting, chosen, ProgramFolder::file(Certificates::folderName(m_event.number)));
    offerPdf(written, path, QStringLiteral("La creazione degli attestati in PDF \u00E8 terminata con successo."), this);
}

void TfrmAttestati::cmdEmailClick()
{
    // The text is saved first, so the messages carry what the window shows.
    if (prepared())
        openMailSending(this, m_event, MailUse::Certificates, {}, CertificatePages::chosen(m_assessment.people));
}

TfrmFoglioFirme::TfrmFoglioFirme(const EventInfo &event, const QString &reservationArchive, const QDate &day,
                                 QWidget *owner)
    : QDialog(owner), m_event(event), m_archive(reservationArchive)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmFoglioFirme"));
    setWindowTitle(QStringLiteral(" Foglio firme"));
    setWindowIcon(picture(QStringLiteral("signature")));

    auto *info = named(new QLabel(QStringLiteral("Il foglio firme elenca i prenotati in ordine di nome, con il posto "
                                                 "e le colonne Firma entrata e Firma uscita; gli orari restano da "
                                                 "scrivere a mano."),
                                  this),
                       "lblInformazioni");
    info->setWordWrap(true);
    cboGiorno = named(new QComboBox(this), "cboGiorno");
    cboGiorno->setAccessibleName(QStringLiteral("Giorno del foglio firme"));
    QList<QDate> days = Attendance::eventDays(event.dataInizio, event.dataFine);
    if (!days.contains(day))
        days.append(day);
    std::sort(days.begin(), days.end());
    for (const QDate &d : days)
        cboGiorno->addItem(d == Clock::today() ? QStringLiteral("oggi, ") + formatDate(d) : formatDate(d), d);
    cboGiorno->setCurrentIndex(cboGiorno->findData(day));
    auto *label = new QLabel(QStringLiteral("&Giorno:"), this);
    label->setBuddy(cboGiorno);
    lblConta = named(new QLabel(this), "lblConta");
    try {
        const qsizetype count = Bookings::read(m_archive).size();
        const qsizetype pages = std::max<qsizetype>(1, (count + CertificatePages::signatureRowsPerPage() - 1)
                                                           / CertificatePages::signatureRowsPerPage());
        lblConta->setText(QStringLiteral("%1 prenotati su %2 %3.")
                              .arg(count)
                              .arg(pages)
                              .arg(pages == 1 ? QStringLiteral("pagina") : QStringLiteral("pagine")));
    } catch (const ArchiveError &) {
    }

    makeOutputButtons(this, GuideTopic::Certificates, QStringLiteral("Mostra il foglio firme prima di stamparlo."),
                      QStringLiteral("Stampa il foglio firme."),
                      QStringLiteral("Scrive il foglio firme del giorno scelto nella cartella del programma."));

    auto *dayRow = new QHBoxLayout;
    dayRow->addWidget(label);
    dayRow->addWidget(cboGiorno);
    dayRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(info);
    layout->addLayout(dayRow);
    layout->addWidget(lblConta);
    layout->addLayout(outputButtonRow(cmdGuida, {cmdAnteprima, cmdStampa, cmdPDF, btnChiudi}));

    cmdAnteprima->setDefault(true);
    cmdAnteprima->setFocus(Qt::OtherFocusReason);
    makeFixedCentred(this);
}

QDate TfrmFoglioFirme::day() const
{
    return cboGiorno->currentData().toDate();
}

std::optional<page::Document> TfrmFoglioFirme::sheet()
{
    try {
        return CertificatePages::signatureSheet(m_event, Bookings::read(m_archive), day());
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, this);
        return std::nullopt;
    }
}

void TfrmFoglioFirme::cmdAnteprimaClick()
{
    if (const auto document = sheet())
        PageOutput::preview(*document, this);
}

void TfrmFoglioFirme::cmdStampaClick()
{
    if (const auto document = sheet())
        PageOutput::print(*document, this);
}

void TfrmFoglioFirme::cmdPDFClick()
{
    if (const auto document = sheet())
        savePdfAndOffer(*document, ProgramFolder::file(Certificates::signaturePdfName(m_event.number, day())),
                        QStringLiteral("La creazione del foglio firme in PDF \u00E8 terminata con successo."), this);
}

namespace {

std::optional<EventInfo> eventRead(QWidget *owner, qint64 event)
{
    try {
        return Certificates::readEvent(event);
    } catch (const ArchiveError &) {
        Messages::failure(Messages::kArchiveAccess, owner);
        return std::nullopt;
    }
}

} // namespace

void openCertificates(QWidget *owner, qint64 event)
{
    if (const auto info = eventRead(owner, event)) {
        TfrmAttestati dialog(*info, TSchedaPrenotazione::archivePath(event), owner);
        dialog.exec();
    }
}

void openSignatureSheet(QWidget *owner, qint64 event, const QDate &day)
{
    if (const auto info = eventRead(owner, event)) {
        TfrmFoglioFirme dialog(*info, TSchedaPrenotazione::archivePath(event), day, owner);
        dialog.exec();
    }
}
