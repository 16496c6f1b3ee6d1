#include "mail/tfrmposta.h"

#include "core/text.h"
#include "frame/guide.h"
#include "mail/mailerror.h"
#include "mail/mailings.h"
#include "mail/mailpassword.h"
#include "mail/mailsend.h"
#include "ui/filechooser.h"
#include "ui/dialogparts.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qv;
using DialogParts::button;
using DialogParts::labelFor;

namespace {

QLineEdit *box(const QString &name, QWidget *parent)
{
    auto *b = new QLineEdit(parent);
    b->setObjectName(name);
    return b;
}

const QString kKeptInKeyring = QStringLiteral("La password \u00E8 conservata nel portachiavi di sistema.");

} // namespace

namespace qv {

void showMailWindow(QWidget *owner, bool outbox)
{
    TfrmPosta dialog(owner);
    if (outbox)
        dialog.tabPagine->setCurrentIndex(1);
    dialog.exec();
}

} // namespace qv

TfrmPosta::TfrmPosta(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPosta"));
    setWindowTitle(QStringLiteral(" Quorvane - Posta elettronica"));
    setWindowIcon(picture(QStringLiteral("mail")));

    tabPagine = new QTabWidget(this);
    tabPagine->setObjectName(QStringLiteral("tabPagine"));
    auto *settingsPage = new QWidget(tabPagine);
    auto *outboxPage = new QWidget(tabPagine);
    tabPagine->addTab(settingsPage, QStringLiteral("&Impostazioni"));
    tabPagine->addTab(outboxPage, QStringLiteral("P&osta in uscita"));

    // The settings.
    txtServer = box(QStringLiteral("txtServer"), settingsPage);
    txtPorta = new QSpinBox(settingsPage);
    txtPorta->setObjectName(QStringLiteral("txtPorta"));
    txtPorta->setRange(1, 65535);
    cboSicurezza = new QComboBox(settingsPage);
    cboSicurezza->setObjectName(QStringLiteral("cboSicurezza"));
    cboSicurezza->addItem(QStringLiteral("nessuna"), int(Mail::Security::None));
    cboSicurezza->addItem(QStringLiteral("STARTTLS"), int(Mail::Security::StartTls));
    cboSicurezza->addItem(QStringLiteral("SSL/TLS"), int(Mail::Security::Tls));
    txtUtente = box(QStringLiteral("txtUtente"), settingsPage);
    txtPassword = box(QStringLiteral("txtPassword"), settingsPage);
    txtPassword->setEchoMode(QLineEdit::Password);
    lblDovePassword = new QLabel(settingsPage);
    lblDovePassword->setObjectName(QStringLiteral("lblDovePassword"));
    lblDovePassword->setWordWrap(true);
    txtMittente = box(QStringLiteral("txtMittente"), settingsPage);
    txtNomeMittente = box(QStringLiteral("txtNomeMittente"), settingsPage);
    txtRispondiA = box(QStringLiteral("txtRispondiA"), settingsPage);
    txtMessaggiAlMinuto = new QSpinBox(settingsPage);
    txtMessaggiAlMinuto->setObjectName(QStringLiteral("txtMessaggiAlMinuto"));
    txtMessaggiAlMinuto->setRange(0, 100000);
    txtMessaggiAlMinuto->setSpecialValueText(QStringLiteral("senza limite"));
    txtCertificatoCA = box(QStringLiteral("txtCertificatoCA"), settingsPage);
    cmdSfoglia = button(QStringLiteral("cmdSfoglia"), QStringLiteral("Sfoglia..."),
                        QStringLiteral("Sceglie il file PEM dell'autorit\u00E0 di certificazione"), settingsPage);
    cmdSalva = button(QStringLiteral("cmdSalva"), QStringLiteral("&Salva"),
                      QStringLiteral("Salva le impostazioni; la password va nel portachiavi di sistema"), settingsPage);
    cmdProva = button(QStringLiteral("cmdProva"), QStringLiteral("Invia un messaggio di &prova"),
                      QStringLiteral("Salva le impostazioni e invia un messaggio di prova al mittente"), settingsPage);
    cmdSalva->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    rememberShortcut(cmdSalva, cmdSalva->shortcut());

    auto *form = new QFormLayout;
    form->addRow(labelFor(txtServer, QStringLiteral("S&erver di posta in uscita:"),
                          QStringLiteral("Il nome del server SMTP, per esempio smtp.esempio.it"), settingsPage), txtServer);
    form->addRow(labelFor(txtPorta, QStringLiteral("Po&rta:"), QStringLiteral("La porta del server: di solito 587 "
                                                                              "con STARTTLS, 465 con SSL/TLS"),
                          settingsPage), txtPorta);
    form->addRow(labelFor(cboSicurezza, QStringLiteral("Si&curezza:"),
                          QStringLiteral("Come si protegge il collegamento con il server"), settingsPage), cboSicurezza);
    form->addRow(labelFor(txtUtente, QStringLiteral("&Nome utente:"),
                          QStringLiteral("Il nome con cui si accede al server; vuoto se il server non lo chiede"),
                          settingsPage), txtUtente);
    form->addRow(labelFor(txtPassword, QStringLiteral("Pass&word:"),
                          QStringLiteral("Scrivere la password solo per cambiarla; vuota, resta quella conservata"),
                          settingsPage), txtPassword);
    form->addRow(QString(), lblDovePassword);
    form->addRow(labelFor(txtMittente, QStringLiteral("&Indirizzo del mittente:"),
                          QStringLiteral("L'indirizzo da cui partono i messaggi"), settingsPage), txtMittente);
    form->addRow(labelFor(txtNomeMittente, QStringLiteral("Nome del &mittente:"),
                          QStringLiteral("Il nome che i destinatari vedono accanto all'indirizzo"), settingsPage),
                 txtNomeMittente);
    form->addRow(labelFor(txtRispondiA, QStringLiteral("Rispon&di a (facoltativo):"),
                          QStringLiteral("L'indirizzo a cui vanno le risposte, se non \u00E8 quello del mittente"),
                          settingsPage), txtRispondiA);
    form->addRow(labelFor(txtMessaggiAlMinuto, QStringLiteral("Messa&ggi al minuto:"),
                          QStringLiteral("Quanti messaggi al minuto accetta il fornitore di posta"), settingsPage),
                 txtMessaggiAlMinuto);
    auto *caRow = new QHBoxLayout;
    caRow->addWidget(txtCertificatoCA, 1);
    caRow->addWidget(cmdSfoglia);
    form->addRow(labelFor(txtCertificatoCA, QStringLiteral("Cer&tificato dell'autorit\u00E0 (PEM):"),
                          QStringLiteral("Solo per server con un certificato di un'autorit\u00E0 aziendale"), settingsPage),
                 caRow);
    auto *settingsButtons = new QHBoxLayout;
    settingsButtons->addStretch(1);
    settingsButtons->addWidget(cmdProva);
    settingsButtons->addWidget(cmdSalva);
    auto *settingsLayout = new QVBoxLayout(settingsPage);
    settingsLayout->addLayout(form);
    settingsLayout->addStretch(1);
    settingsLayout->addLayout(settingsButtons);

    // The outbox.
    lstPosta = new QTreeWidget(outboxPage);
    lstPosta->setObjectName(QStringLiteral("lstPosta"));
    lstPosta->setHeaderLabels({QStringLiteral("Composto il"), QStringLiteral("Destinatario"), QStringLiteral("Oggetto"),
                               QStringLiteral("Stato"), QStringLiteral("Risposta del server")});
    lstPosta->setRootIsDecorated(false);
    lstPosta->setAllColumnsShowFocus(true);
    lstPosta->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstPosta->header()->setSectionResizeMode(QHeaderView::Interactive);
    describe(lstPosta, QStringLiteral("Posta in uscita"),
             QStringLiteral("Ogni messaggio composto dal programma con il suo stato"));
    cmdAggiorna = button(QStringLiteral("cmdAggiorna"), QStringLiteral("Aggiorna"),
                         QStringLiteral("Rilegge la posta in uscita"), outboxPage);
    cmdInviaOra = button(QStringLiteral("cmdInviaOra"), QStringLiteral("Invia ora"),
                         QStringLiteral("Invia subito i messaggi da inviare, anche quelli che il server aveva rinviato"),
                         outboxPage);
    cmdInviaDiNuovo = button(QStringLiteral("cmdInviaDiNuovo"), QStringLiteral("Invia di nuovo"),
                             QStringLiteral("Invia di nuovo i messaggi scelti con esito incerto o rifiutati, dopo "
                                            "averlo chiesto"),
                             outboxPage);
    cmdInviaOra->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    rememberShortcut(cmdInviaOra, cmdInviaOra->shortcut());
    auto *outboxButtons = new QHBoxLayout;
    outboxButtons->addWidget(cmdAggiorna);
    outboxButtons->addStretch(1);
    outboxButtons->addWidget(cmdInviaDiNuovo);
    outboxButtons->addWidget(cmdInviaOra);
    auto *outboxLayout = new QVBoxLayout(outboxPage);
    outboxLayout->addWidget(lstPosta, 1);
    outboxLayout->addLayout(outboxButtons);

    txtResoconto = new QPlainTextEdit(this);
    txtResoconto->setObjectName(QStringLiteral("txtResoconto"));
    txtResoconto->setReadOnly(true);
    txtResoconto->setMaximumHeight(140);
    describe(txtResoconto, QStringLiteral("Resoconto"), QStringLiteral("L'esito dell'ultimo invio"));
    cmdGuida = button(QStringLiteral("cmdGuida"), QStringLiteral("Guida"), QStringLiteral("Guida alla posta elettronica"), this);
    cmdGuida->setShortcut(QKeySequence(Qt::Key_F1));
    rememberShortcut(cmdGuida, cmdGuida->shortcut());
    cmdChiudi = button(QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), QStringLiteral("Chiude la finestra"), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cmdGuida);
    bottom->addStretch(1);
    bottom->addWidget(cmdChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->addWidget(tabPagine, 1);
    layout->addWidget(txtResoconto);
    layout->addLayout(bottom);
    setMinimumSize(720, 560);

    const Mail::Settings s = Mail::readSettings();
    txtServer->setText(s.server);
    txtPorta->setValue(s.port);
    cboSicurezza->setCurrentIndex(cboSicurezza->findData(int(s.security)));
    txtUtente->setText(s.user);
    txtMittente->setText(s.sender);
    txtNomeMittente->setText(s.senderName);
    txtRispondiA->setText(s.replyTo);
    txtMessaggiAlMinuto->setValue(s.perMinute);
    txtCertificatoCA->setText(s.caFile);
    lblDovePassword->setText(QStringLiteral("La password non \u00E8 mai scritta nella cartella del programma."));

    // A new choice of security brings its usual port, unless the user set another.
    connect(cboSicurezza, &QComboBox::currentIndexChanged, this, [this] {
        const auto security = Mail::Security(cboSicurezza->currentData().toInt());
        for (Mail::Security other : {Mail::Security::None, Mail::Security::StartTls, Mail::Security::Tls})
            if (txtPorta->value() == Mail::defaultPort(other)) {
                txtPorta->setValue(Mail::defaultPort(security));
                break;
            }
    });
    connect(cmdSfoglia, &QPushButton::clicked, this, [this] {
        const QString file = FileChooser::openFile(this, QStringLiteral("Certificato dell'autorit\u00E0"),
                                                   QStringList{QStringLiteral("Certificati PEM (*.pem *.crt)"),
                                                               QStringLiteral("Tutti i file (*)")});
        if (!file.isEmpty())
            txtCertificatoCA->setText(file);
    });
    connect(cmdSalva, &QPushButton::clicked, this, [this] { cmdSalvaClick(); });
    connect(cmdProva, &QPushButton::clicked, this, [this] { cmdProvaClick(); });
    connect(cmdAggiorna, &QPushButton::clicked, this, [this] { fillOutbox(); });
    connect(cmdInviaOra, &QPushButton::clicked, this, [this] { cmdInviaOraClick(); });
    connect(cmdInviaDiNuovo, &QPushButton::clicked, this, [this] { cmdInviaDiNuovoClick(); });
    connect(cmdGuida, &QPushButton::clicked, this, [this] { showGuide(this, GuideTopic::Mail); });
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(tabPagine, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            fillOutbox();
    });
    txtServer->setFocus();
}

Mail::Settings TfrmPosta::typed() const
{
    Mail::Settings s;
    s.server = trimmed(txtServer->text());
    s.port = txtPorta->value();
    s.security = Mail::Security(cboSicurezza->currentData().toInt());
    s.user = trimmed(txtUtente->text());
    s.sender = trimmed(txtMittente->text());
    s.senderName = trimmed(txtNomeMittente->text());
    s.replyTo = trimmed(txtRispondiA->text());
    s.perMinute = txtMessaggiAlMinuto->value();
    s.caFile = trimmed(txtCertificatoCA->text());
    return s;
}

bool TfrmPosta::save()
{
    const Mail::Settings s = typed();
    const QString missing = s.missing();
    if (!missing.isEmpty()) {
        Messages::caution(QStringLiteral("Le impostazioni non sono state salvate: %1.").arg(missing), this);
        return false;
    }
    try {
        Mail::writeSettings(s);
    } catch (const Mail::Error &e) {
        Messages::failure(QStringLiteral("Le impostazioni non sono state salvate: %1").arg(e.message()), this);
        return false;
    }
    if (!txtPassword->text().isEmpty()) {
        // The keyring's own reason is in English and says nothing more to the user.
        if (MailPassword::store(s, txtPassword->text()))
            lblDovePassword->setText(kKeptInKeyring);
        else
            lblDovePassword->setText(QStringLiteral("Nessun portachiavi di sistema disponibile: la password resta in "
                                                    "memoria fino alla chiusura del programma e sar\u00E0 chiesta di "
                                                    "nuovo al prossimo accesso."));
        txtPassword->clear();
    }
    txtResoconto->setPlainText(QStringLiteral("Impostazioni salvate."));
    return true;
}

void TfrmPosta::cmdSalvaClick()
{
    save();
}

void TfrmPosta::cmdProvaClick()
{
    if (!save())
        return;
    const Mail::Settings s = typed();
    Mail::Outbox outbox;
    try {
        const QString id = outbox.add(Mailings::testMessage(s), s);
        sendIds({id}, true);
    } catch (const Mail::Error &e) {
        Messages::failure(e.message(), this);
    }
}

void TfrmPosta::sendIds(const QStringList &ids, bool ignoreWait)
{
    const std::optional<Mail::Settings> settings = MailSend::readySettings(this);
    if (!settings || ids.isEmpty())
        return;
    Mail::Outbox outbox;
    Mail::BatchOptions options;
    options.ignoreWait = ignoreWait;
    options.retryWaitSeconds = 0; // from here the user tries again when they like
    std::optional<MailSend::Result> done;
    {
        WaitCursor busy;
        txtResoconto->setPlainText(QStringLiteral("Invio in corso..."));
        done = MailSend::run(this, outbox, *settings, ids, options,
                             {[this](int d, int total, const QString &doing) {
                                  txtResoconto->setPlainText(QStringLiteral("Invio in corso: %1 di %2 %3").arg(d).arg(total).arg(doing));
                              },
                              nullptr});
    }
    if (!done) {
        txtResoconto->setPlainText(QStringLiteral("Nessun messaggio inviato: la password non \u00E8 stata indicata."));
        return;
    }
    const QString text = done->failure.isEmpty() ? Mailings::reportText(outbox, done->report, 0) : done->failure;
    txtResoconto->setPlainText(text);
    if (!done->failure.isEmpty() || !done->report.stopped.isEmpty())
        Messages::failure(text, this);
    fillOutbox();
}

void TfrmPosta::fillOutbox()
{
    lstPosta->clear();
    QList<Mail::Entry> entries;
    try {
        entries = Mail::Outbox().list();
    } catch (const Mail::Error &e) {
        txtResoconto->setPlainText(e.message());
        return;
    }
    for (const Mail::Entry &e : entries) {
        const QString when = e.message.id.left(8);
        auto *item = new QTreeWidgetItem(lstPosta, {QStringLiteral("%1/%2/%3").arg(when.mid(6, 2), when.mid(4, 2), when.left(4)),
                                                    QStringLiteral("%1 <%2>").arg(e.message.toName, e.message.toAddress),
                                                    e.message.subject, Mail::stateName(e.status.state), e.status.reply});
        item->setData(0, Qt::UserRole, e.message.id);
    }
    lstPosta->scrollToBottom();
}

void TfrmPosta::cmdInviaOraClick()
{
    QStringList ids;
    try {
        for (const Mail::Entry &e : Mail::Outbox().list())
            if (e.status.state == Mail::State::Pending)
                ids << e.message.id;
    } catch (const Mail::Error &e) {
        Messages::failure(e.message(), this);
        return;
    }
    if (ids.isEmpty()) {
        txtResoconto->setPlainText(QStringLiteral("Nessun messaggio da inviare."));
        return;
    }
    sendIds(ids, true);
}

void TfrmPosta::cmdInviaDiNuovoClick()
{
    Mail::Outbox outbox;
    QStringList ids;
    QStringList names;
    try {
        for (QTreeWidgetItem *item : lstPosta->selectedItems()) {
            const QString id = item->data(0, Qt::UserRole).toString();
            const Mail::State state = outbox.status(id).state;
            if (state == Mail::State::Uncertain || state == Mail::State::Refused) {
                ids << id;
                names << item->text(1);
            }
        }
    } catch (const Mail::Error &e) {
        Messages::failure(e.message(), this);
        return;
    }
    if (ids.isEmpty()) {
        Messages::notice(QStringLiteral("Scegliere nell'elenco i messaggi con esito incerto o rifiutati da inviare di nuovo."), this);
        return;
    }
    if (!Messages::question(QStringLiteral("Inviare di nuovo %1 messaggi?\n\n%2\n\nUn messaggio con esito incerto "
                                           "potrebbe essere gi\u00E0 arrivato: il destinatario lo riceverebbe due volte.")
                                .arg(ids.size())
                                .arg(names.join(QLatin1Char('\n'))),
                            this))
        return;
    try {
        for (const QString &id : ids)
            outbox.sendAgain(id);
    } catch (const Mail::Error &e) {
        Messages::failure(e.message(), this);
        return;
    }
    sendIds(ids, true);
}
