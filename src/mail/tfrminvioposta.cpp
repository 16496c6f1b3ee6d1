#include "mail/tfrminvioposta.h"

#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/text.h"
#include "eventday/badges.h"
#include "eventday/certificatepages.h"
#include "eventday/everyonenotice.h"
#include "eventday/noticetoeveryone.h"
#include "frame/guide.h"
#include "mail/mailerror.h"
#include "mail/mailsend.h"
#include "mail/tfrmposta.h"
#include "ui/dialogparts.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace qv;
using DialogParts::button;
using DialogParts::labelFor;

namespace {

QRadioButton *option(const QString &name, const QString &text, QWidget *parent)
{
    auto *o = new QRadioButton(text, parent);
    o->setObjectName(name);
    return o;
}

std::pair<QString, QString> defaultTexts(MailUse use, const EventInfo &event)
{
    switch (use) {
    case MailUse::Confirmations:
        return {Mailings::confirmationSubject(event), Mailings::defaultConfirmationText()};
    case MailUse::Notice:
        return {EveryoneNotice::subject(event), EveryoneNotice::body(event).replace(QLatin1String("\r\n"), QLatin1String("\n"))};
    case MailUse::Certificates:
        return {Mailings::certificateSubject(event), Mailings::defaultCertificateText(event)};
    }
    return {};
}

QString previewOf(const Mail::Draft &d)
{
    QString text = QStringLiteral("A: %1 <%2>\nOggetto: %3\n").arg(d.toName, d.toAddress, d.subject);
    for (const Mail::Attachment &a : d.attachments)
        text += QStringLiteral("Allegato: %1 (%2 kB)\n").arg(a.name).arg((a.data.size() + 1023) / 1024);
    return text + QLatin1Char('\n') + d.body;
}

} // namespace

TfrmInvioPosta::TfrmInvioPosta(const EventInfo &event, MailUse use, QWidget *owner, std::optional<qint64> current,
                               std::optional<QList<Certificates::Person>> certificates)
    : QDialog(owner), m_event(event), m_current(current.value_or(0)), m_certificates(std::move(certificates)),
      m_shownUse(use)
{
    setObjectName(QStringLiteral("frmInvioPosta"));
    setWindowTitle(QStringLiteral(" Invio per posta elettronica"));
    setWindowIcon(picture(QStringLiteral("mail_all")));

    lblInformazioni = new QLabel(QStringLiteral("Messaggi per i prenotati all'evento \u00AB%1\u00BB, inviati attraverso "
                                                "il server della posta elettronica, uno per persona.")
                                     .arg(trimmed(event.titolo)),
                                 this);
    lblInformazioni->setObjectName(QStringLiteral("lblInformazioni"));
    lblInformazioni->setWordWrap(true);

    auto *uses = new QGroupBox(QStringLiteral("Che cosa inviare"), this);
    uses->setObjectName(QStringLiteral("grpUso"));
    optConferme = option(QStringLiteral("optConferme"), QStringLiteral("Conferme di prenotazione, con posto e cartellino"), uses);
    optAvviso = option(QStringLiteral("optAvviso"), QStringLiteral("Avviso a tutti i prenotati"), uses);
    optAttestati = option(QStringLiteral("optAttestati"), QStringLiteral("Attestati di partecipazione"), uses);
    auto *usesLayout = new QVBoxLayout(uses);
    auto *useGroup = new QButtonGroup(this);
    for (QRadioButton *o : {optConferme, optAvviso, optAttestati}) {
        usesLayout->addWidget(o);
        useGroup->addButton(o);
    }
    (use == MailUse::Confirmations ? optConferme : use == MailUse::Notice ? optAvviso : optAttestati)->setChecked(true);

    m_choice = BookingChoice::make(this, current);
    optTutte = m_choice.all;
    optConfermate = m_choice.confirmed;
    optScheda = m_choice.current;
    QGroupBox *which = m_choice.group;

    txtOggetto = new QLineEdit(this);
    txtOggetto->setObjectName(QStringLiteral("txtOggetto"));
    txtTesto = new QPlainTextEdit(this);
    txtTesto->setObjectName(QStringLiteral("txtTesto"));
    txtTesto->setTabChangesFocus(true);
    txtAnteprima = new QPlainTextEdit(this);
    txtAnteprima->setObjectName(QStringLiteral("txtAnteprima"));
    txtAnteprima->setReadOnly(true);
    lblConta = new QLabel(this);
    lblConta->setObjectName(QStringLiteral("lblConta"));
    lblConta->setWordWrap(true);
    lstSenzaIndirizzo = new QListWidget(this);
    lstSenzaIndirizzo->setObjectName(QStringLiteral("lstSenzaIndirizzo"));
    prgInvio = new QProgressBar(this);
    prgInvio->setObjectName(QStringLiteral("prgInvio"));
    prgInvio->setTextVisible(true);
    prgInvio->setValue(0);
    describe(prgInvio, QStringLiteral("Avanzamento dell'invio"), QString());
    txtResoconto = new QPlainTextEdit(this);
    txtResoconto->setObjectName(QStringLiteral("txtResoconto"));
    txtResoconto->setReadOnly(true);

    cmdInvia = button(QStringLiteral("cmdInvia"), QStringLiteral("&Invia"), QStringLiteral("Invia i messaggi, dopo averlo chiesto"), this);
    cmdAnnulla = button(QStringLiteral("cmdAnnulla"), QStringLiteral("&Annulla invio"),
                        QStringLiteral("Ferma l'invio tra un messaggio e l'altro: quelli non partiti restano da inviare"), this);
    cmdImpostazioni = button(QStringLiteral("cmdImpostazioni"), QStringLiteral("Impostazioni..."),
                             QStringLiteral("Apre la finestra Posta elettronica: server, mittente, posta in uscita"), this);
    cmdGuida = button(QStringLiteral("cmdGuida"), QStringLiteral("Guida"), QStringLiteral("Guida alla posta elettronica"), this);
    btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QStringLiteral("Chiude la finestra"), this);
    cmdInvia->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    cmdGuida->setShortcut(QKeySequence(Qt::Key_F1));
    for (QPushButton *b : {cmdInvia, cmdGuida})
        rememberShortcut(b, b->shortcut());
    cmdAnnulla->setEnabled(false);

    auto *choices = new QHBoxLayout;
    choices->addWidget(uses, 1);
    choices->addWidget(which, 1);
    auto *grid = new QGridLayout;
    grid->addWidget(labelFor(txtOggetto, QStringLiteral("&Oggetto:"), QStringLiteral("L'oggetto dei messaggi"), this), 0, 0);
    grid->addWidget(txtOggetto, 0, 1);
    grid->addWidget(labelFor(txtTesto, QStringLiteral("&Testo:"),
                             QStringLiteral("Il testo che si aggiunge ai dati dell'evento e della persona"), this), 1, 0, Qt::AlignTop);
    grid->addWidget(txtTesto, 1, 1);
    grid->addWidget(labelFor(txtAnteprima, QStringLiteral("Anteprima del &primo messaggio:"),
                             QStringLiteral("Il primo messaggio come partir\u00E0"), this), 2, 0, Qt::AlignTop);
    grid->addWidget(txtAnteprima, 2, 1);
    grid->addWidget(labelFor(lstSenzaIndirizzo, QStringLiteral("Senza indiri&zzo:"),
                             QStringLiteral("I prenotati che non hanno un indirizzo di posta elettronica: a loro non si scrive"),
                             this), 3, 0, Qt::AlignTop);
    grid->addWidget(lstSenzaIndirizzo, 3, 1);
    grid->addWidget(labelFor(txtResoconto, QStringLiteral("&Resoconto:"), QStringLiteral("L'esito dell'invio"), this), 4, 0, Qt::AlignTop);
    grid->addWidget(txtResoconto, 4, 1);
    grid->setRowStretch(1, 2);
    grid->setRowStretch(2, 3);
    grid->setRowStretch(3, 1);
    grid->setRowStretch(4, 2);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdGuida);
    buttons->addWidget(cmdImpostazioni);
    buttons->addStretch(1);
    buttons->addWidget(cmdInvia);
    buttons->addWidget(cmdAnnulla);
    buttons->addWidget(btnChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(lblInformazioni);
    layout->addLayout(choices);
    layout->addLayout(grid, 1);
    layout->addWidget(lblConta);
    layout->addWidget(prgInvio);
    layout->addLayout(buttons);
    setMinimumSize(760, 640);

    m_preview = new QTimer(this);
    m_preview->setSingleShot(true);
    m_preview->setInterval(300);
    connect(m_preview, &QTimer::timeout, this, [this] { refresh(); });
    for (QRadioButton *o : {optConferme, optAvviso, optAttestati})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                useChanged();
        });
    for (QRadioButton *o : {optTutte, optConfermate, optScheda})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                refresh();
        });
    connect(txtOggetto, &QLineEdit::textEdited, m_preview, qOverload<>(&QTimer::start));
    connect(txtTesto, &QPlainTextEdit::textChanged, m_preview, qOverload<>(&QTimer::start));
    connect(cmdInvia, &QPushButton::clicked, this, [this] { cmdInviaClick(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] {
        m_cancel = true;
        cmdAnnulla->setEnabled(false);
    });
    connect(cmdImpostazioni, &QPushButton::clicked, this, [this] { showMailWindow(this); });
    connect(cmdGuida, &QPushButton::clicked, this, [this] { showGuide(this, GuideTopic::Mail); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);

    const auto texts = defaultTexts(m_shownUse, m_event);
    txtOggetto->setText(texts.first);
    txtTesto->setPlainText(texts.second);
    useChanged();
}

MailUse TfrmInvioPosta::use() const
{
    return optAvviso->isChecked() ? MailUse::Notice : optAttestati->isChecked() ? MailUse::Certificates : MailUse::Confirmations;
}

void TfrmInvioPosta::useChanged()
{
    // What was typed for one use stays with it when the user looks at another.
    m_texts.insert(int(m_shownUse), {txtOggetto->text(), txtTesto->toPlainText()});
    m_shownUse = use();
    const auto texts = m_texts.value(int(m_shownUse), defaultTexts(m_shownUse, m_event));
    txtOggetto->setText(texts.first);
    txtTesto->setPlainText(texts.second);
    // Only the notice's subject is the user's; the others name the event.
    txtOggetto->setReadOnly(m_shownUse != MailUse::Notice);
    for (QRadioButton *o : {optTutte, optConfermate, optScheda})
        o->parentWidget()->setEnabled(m_shownUse == MailUse::Confirmations);
    refresh();
}

std::optional<Mailings::Plan> TfrmInvioPosta::plan()
{
    const QString archive = TSchedaPrenotazione::archivePath(m_event.number);
    try {
        switch (use()) {
        case MailUse::Confirmations: {
            return Mailings::confirmationsPlan(m_event, Badges::chosen(Bookings::read(archive), m_choice.which(), m_current),
                                               txtTesto->toPlainText());
        }
        case MailUse::Notice:
            return Mailings::noticePlan(m_event, Bookings::read(archive), txtOggetto->text(), txtTesto->toPlainText());
        case MailUse::Certificates: {
            QList<Certificates::Person> people;
            if (m_certificates) {
                people = *m_certificates;
            } else {
                const auto rule = Certificates::parseRule(QStringLiteral("every-day"));
                people = CertificatePages::chosen(Certificates::assess(m_event, archive, *rule).people);
            }
            return Mailings::certificatesPlan(m_event, people, txtTesto->toPlainText());
        }
        }
    } catch (const ArchiveError &) {
        Messages::failure(QStringLiteral("Impossibile leggere le prenotazioni dell'evento: nessun messaggio \u00E8 stato "
                                         "preparato."),
                          this);
    }
    return std::nullopt;
}

void TfrmInvioPosta::refresh()
{
    if (m_sending)
        return;
    const std::optional<Mailings::Plan> p = plan();
    lstSenzaIndirizzo->clear();
    if (!p) {
        lblConta->setText(QStringLiteral("Prenotazioni illeggibili."));
        txtAnteprima->clear();
        cmdInvia->setEnabled(false);
        return;
    }
    for (const Booking &b : p->withoutAddress)
        lstSenzaIndirizzo->addItem(Bookings::describe(b));
    QString count = QStringLiteral("Messaggi da inviare: %1.").arg(p->count());
    if (!p->withoutAddress.isEmpty())
        count += QStringLiteral(" Senza indirizzo di posta elettronica, a cui non si scrive: %1.").arg(p->withoutAddress.size());
    if (use() == MailUse::Certificates && !m_certificates)
        count += QStringLiteral(" Ricevono l'attestato i presenti in ogni giorno dell'evento; per un'altra regola si "
                                "invia dalla finestra Attestati di partecipazione.");
    lblConta->setText(count);
    txtAnteprima->setPlainText(p->count() > 0 ? previewOf(p->make(0)) : QStringLiteral("Nessun messaggio da inviare."));
    cmdInvia->setEnabled(p->count() > 0);
}

void TfrmInvioPosta::setSending(bool sending)
{
    m_sending = sending;
    for (QWidget *w : std::initializer_list<QWidget *>{optConferme, optAvviso, optAttestati, optTutte, optConfermate,
                                                       optScheda, txtOggetto, txtTesto, cmdInvia, cmdImpostazioni, btnChiudi})
        w->setEnabled(!sending);
    cmdAnnulla->setEnabled(sending);
    if (!sending)
        useChanged();
}

void TfrmInvioPosta::cmdInviaClick()
{
    m_preview->stop();
    if (use() == MailUse::Notice && trimmed(txtOggetto->text()).isEmpty()) {
        Messages::caution(QStringLiteral("Scrivere l'oggetto dell'avviso."), this);
        txtOggetto->setFocus();
        return;
    }
    const std::optional<Mail::Settings> settings = MailSend::readySettings(this);
    if (!settings)
        return;
    std::optional<Mailings::Plan> p = plan();
    if (!p || p->count() == 0)
        return;
    if (!Messages::question(QStringLiteral("Inviare %1 messaggi da %2?").arg(p->count()).arg(settings->sender), this))
        return;

    m_cancel = false;
    setSending(true);
    Mail::Outbox outbox;
    QString text;
    try {
        prgInvio->setMaximum(p->count());
        prgInvio->setFormat(QStringLiteral("Preparazione dei messaggi: %v di %m"));
        const Mailings::Queued queued = Mailings::queue(outbox, *settings, p->count(), p->make, [this](int done, int) {
            prgInvio->setValue(done);
            QCoreApplication::processEvents();
            return !m_cancel.load();
        });
        if (queued.cancelled) {
            text = QStringLiteral("Invio annullato mentre si preparavano i messaggi: nessuno \u00E8 partito; quelli "
                                  "preparati restano da inviare nella posta in uscita.");
        } else if (queued.ids.isEmpty()) {
            text = QStringLiteral("Nessun messaggio da inviare: tutti (%1) erano gi\u00E0 nella posta in uscita da un invio "
                                  "precedente e non si inviano due volte.").arg(queued.earlier);
        } else {
            prgInvio->setMaximum(int(queued.ids.size()));
            prgInvio->setValue(0);
            prgInvio->setFormat(QStringLiteral("Invio: %v di %m"));
            const std::optional<MailSend::Result> done = MailSend::run(
                this, outbox, *settings, queued.ids, Mail::BatchOptions(),
                {[this](int d, int, const QString &doing) {
                     prgInvio->setValue(d);
                     if (!doing.isEmpty() && !doing.contains(QLatin1Char('@')))
                         prgInvio->setFormat(QStringLiteral("Invio: %v di %m (") + doing + QStringLiteral(")"));
                     else
                         prgInvio->setFormat(QStringLiteral("Invio: %v di %m"));
                 },
                 &m_cancel});
            if (!done)
                text = QStringLiteral("Nessun messaggio inviato: la password non \u00E8 stata indicata. I messaggi restano "
                                      "da inviare nella posta in uscita.");
            else if (!done->failure.isEmpty())
                text = done->failure;
            else
                text = Mailings::reportText(outbox, done->report, queued.earlier);
            if (done && !done->report.stopped.isEmpty())
                text += QStringLiteral("\nSe il server ha rifiutato il nome utente o la password, correggerli nella "
                                       "finestra Posta elettronica.");
        }
    } catch (const Mail::Error &e) {
        text = e.message();
    }
    setSending(false);
    txtResoconto->setPlainText(text);
    Messages::notice(text, this);
}

void noticeToEveryoneByMail(QWidget *owner, const EventInfo &event)
{
    if (Mail::readSettings().missing().isEmpty())
        openMailSending(owner, event, MailUse::Notice);
    else
        noticeToEveryone(owner, TSchedaPrenotazione::archivePath(event.number), event);
}

void openMailSending(QWidget *owner, const EventInfo &event, MailUse use, std::optional<qint64> current,
                     std::optional<QList<Certificates::Person>> certificates)
{
    TfrmInvioPosta dialog(event, use, owner, current, std::move(certificates));
    dialog.exec();
}
