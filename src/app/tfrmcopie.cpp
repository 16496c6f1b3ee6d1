#include "app/tfrmcopie.h"

#include "backup/backupdesk.h"
#include "backup/restore.h"
#include "frame/guide.h"
#include "ui/access.h"
#include "ui/dialogparts.h"
#include "ui/keyboard.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qv;

using DialogParts::button;

namespace {

const QString kNotChecked = QStringLiteral("da verificare");
const QString kIntact = QStringLiteral("integra");
const QString kDamaged = QStringLiteral("danneggiata");

} // namespace

namespace qv {

void showBackupsWindow(QWidget *owner)
{
    TfrmCopie dialog(owner);
    dialog.exec();
}

} // namespace qv

TfrmCopie::TfrmCopie(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopie"));
    setWindowTitle(QStringLiteral(" Quorvane - Copie di sicurezza"));
    setWindowIcon(picture(QStringLiteral("save")));
    const Backup::Request request = Backup::requestNow();
    m_writable = Backup::canWrite(request.root);

    lblCartella = new QLabel(QStringLiteral("Copie nella cartella %1").arg(request.root), this);
    lblCartella->setObjectName(QStringLiteral("lblCartella"));
    lblCartella->setWordWrap(true);
    lstCopie = new QTreeWidget(this);
    lstCopie->setObjectName(QStringLiteral("lstCopie"));
    lstCopie->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Dimensione"), QStringLiteral("Stato")});
    lstCopie->setRootIsDecorated(false);
    lstCopie->setAllColumnsShowFocus(true);
    lstCopie->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    describe(lstCopie, QStringLiteral("Elenco delle copie di sicurezza"),
             QStringLiteral("Data, dimensione e stato di ogni copia, dalla pi\u00F9 recente"));
    lblCartella->setBuddy(lstCopie);

    lblCopieConservate = new QLabel(QStringLiteral("Copie &conservate (0: nessuna copia automatica):"), this);
    lblCopieConservate->setObjectName(QStringLiteral("lblCopieConservate"));
    txtCopieConservate = new QSpinBox(this);
    txtCopieConservate->setObjectName(QStringLiteral("txtCopieConservate"));
    txtCopieConservate->setRange(0, 999);
    txtCopieConservate->setValue(request.settings.copies);
    describe(txtCopieConservate, QStringLiteral("Copie conservate"),
             QStringLiteral("Quante copie si conservano; con 0 le copie automatiche non si fanno"));
    lblCopieConservate->setBuddy(txtCopieConservate);
    chkAllegati = new QCheckBox(QStringLiteral("Copia anche gli &allegati"), this);
    chkAllegati->setObjectName(QStringLiteral("chkAllegati"));
    chkAllegati->setChecked(request.settings.attachments);
    describe(chkAllegati, QStringLiteral("Copia anche gli allegati"),
             QStringLiteral("Le copie comprendono i file della cartella Documenti_Allegati"));
    cmdSalvaImpostazioni = button(QStringLiteral("cmdSalvaImpostazioni"), QStringLiteral("Salva impostazioni"),
                                  QStringLiteral("Salva il numero delle copie e la scelta sugli allegati"), this);

    cmdCrea = button(QStringLiteral("cmdCrea"), QStringLiteral("Crea ora"),
                     QStringLiteral("Fa subito una copia di sicurezza degli archivi"), this);
    cmdVerifica = button(QStringLiteral("cmdVerifica"), QStringLiteral("Verifica"),
                         QStringLiteral("Rilegge la copia scelta e la confronta con il suo manifesto"), this);
    cmdRipristina = button(QStringLiteral("cmdRipristina"), QStringLiteral("Ripristina"),
                           QStringLiteral("Rimette gli archivi come nella copia scelta, dopo averlo chiesto"), this);
    cmdGuida = button(QStringLiteral("cmdGuida"), QStringLiteral("Guida"),
                      QStringLiteral("Guida alle copie di sicurezza"), this);
    cmdChiudi = button(QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), QStringLiteral("Chiude la finestra"),
                       this);
    cmdCrea->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    cmdVerifica->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    cmdRipristina->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    cmdGuida->setShortcut(QKeySequence(Qt::Key_F1));
    for (QPushButton *b : {cmdCrea, cmdVerifica, cmdRipristina, cmdGuida})
        rememberShortcut(b, b->shortcut());

    lblResoconto = new QLabel(QStringLiteral("&Resoconto:"), this);
    lblResoconto->setObjectName(QStringLiteral("lblResoconto"));
    txtResoconto = new QPlainTextEdit(this);
    txtResoconto->setObjectName(QStringLiteral("txtResoconto"));
    txtResoconto->setReadOnly(true);
    txtResoconto->setMaximumBlockCount(200);
    describe(txtResoconto, QStringLiteral("Resoconto"), QStringLiteral("Che cosa \u00E8 stato fatto e che cosa cambia"));
    lblResoconto->setBuddy(txtResoconto);

    auto *settings = new QGroupBox(QStringLiteral("Impostazioni"), this);
    settings->setObjectName(QStringLiteral("grpImpostazioni"));
    auto *settingsRow = new QHBoxLayout(settings);
    settingsRow->addWidget(lblCopieConservate);
    settingsRow->addWidget(txtCopieConservate);
    settingsRow->addSpacing(16);
    settingsRow->addWidget(chkAllegati);
    settingsRow->addStretch(1);
    settingsRow->addWidget(cmdSalvaImpostazioni);

    auto *actions = new QHBoxLayout;
    actions->addWidget(cmdCrea);
    actions->addWidget(cmdVerifica);
    actions->addWidget(cmdRipristina);
    actions->addStretch(1);
    actions->addWidget(cmdGuida);
    actions->addWidget(cmdChiudi);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(lblCartella);
    layout->addWidget(lstCopie, 2);
    layout->addLayout(actions);
    layout->addWidget(settings);
    layout->addWidget(lblResoconto);
    layout->addWidget(txtResoconto, 1);
    setMinimumSize(640, 520);

    connect(cmdCrea, &QPushButton::clicked, this, [this] { cmdCreaClick(); });
    connect(cmdVerifica, &QPushButton::clicked, this, [this] { cmdVerificaClick(); });
    connect(cmdRipristina, &QPushButton::clicked, this, [this] { cmdRipristinaClick(); });
    connect(cmdSalvaImpostazioni, &QPushButton::clicked, this, [this] { cmdSalvaImpostazioniClick(); });
    connect(cmdGuida, &QPushButton::clicked, this, [this] { showGuide(this, GuideTopic::Backups); });
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);

    fill();
    if (!m_writable) {
        for (QWidget *w : std::initializer_list<QWidget *>{cmdCrea, cmdRipristina, cmdSalvaImpostazioni})
            w->setEnabled(false);
        report({Backup::kBackupsOff});
    }
    lstCopie->setFocus();
}

void TfrmCopie::fill()
{
    const QString current = selectedPath();
    lstCopie->clear();
    for (const Backup::Listed &b : Backup::listBackups(Backup::requestNow().root)) {
        auto *item = new QTreeWidgetItem(lstCopie, {b.created.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                                    Backup::sizeText(b.bytes), m_states.value(b.path, kNotChecked)});
        item->setData(0, Qt::UserRole, b.path);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        if (b.path == current || (current.isEmpty() && lstCopie->topLevelItemCount() == 1))
            lstCopie->setCurrentItem(item);
    }
    const bool any = lstCopie->topLevelItemCount() > 0;
    cmdVerifica->setEnabled(any);
    cmdRipristina->setEnabled(any && m_writable);
}

QString TfrmCopie::selectedPath() const
{
    const QTreeWidgetItem *item = lstCopie->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void TfrmCopie::report(const QStringList &lines)
{
    txtResoconto->setPlainText(lines.join(QLatin1Char('\n')));
}

void TfrmCopie::cmdCreaClick()
{
    try {
        std::optional<Backup::Outcome> made;
        {
            WaitCursor busy;
            made = Backup::make(Backup::requestNow());
        }
        m_states.insert(made->path, kIntact); // a backup is verified before it counts
        QStringList lines{QStringLiteral("Copia fatta: %1 file, %2.").arg(made->files).arg(Backup::sizeText(made->bytes))};
        if (!made->removed.isEmpty())
            lines << QStringLiteral("Copie pi\u00F9 vecchie tolte: %1.").arg(made->removed.join(QStringLiteral(", ")));
        report(lines);
    } catch (const Backup::Error &error) {
        report({QStringLiteral("La copia non \u00E8 stata fatta, e non ne resta nulla: %1").arg(error.message())});
        Messages::plain(QStringLiteral("La copia di sicurezza non \u00E8 stata fatta: %1").arg(error.message()), this);
    }
    fill();
}

void TfrmCopie::cmdVerificaClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    Backup::Verification v;
    {
        WaitCursor busy;
        v = Backup::Verifier().verify(path);
    }
    m_states.insert(path, v.ok() ? kIntact : kDamaged);
    report(v.ok() ? QStringList{QStringLiteral("La copia \u00E8 integra: ogni file corrisponde al manifesto.")}
                  : QStringList{QStringLiteral("La copia \u00E8 danneggiata:")} + v.problems);
    fill();
}

void TfrmCopie::cmdRipristinaClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const Backup::Request request = Backup::requestNow();
    try {
        const std::optional<Backup::Manifest> manifest = Backup::readManifest(path);
        if (!manifest)
            throw Backup::Error(Backup::Error::Damaged, QStringLiteral("la copia \u00E8 illeggibile o incompleta."));
        const QStringList busy = Backup::archivesInUse(request.programFolder, *manifest);
        if (!busy.isEmpty()) {
            report({Backup::busyText(busy)});
            Messages::plain(Backup::busyText(busy), this);
            return;
        }
        QStringList changes = Backup::restoreChanges(request.programFolder, path);
        if (changes.isEmpty())
            changes << QStringLiteral("gli archivi sono gi\u00E0 come nella copia: non cambia nulla");
        report(QStringList{QStringLiteral("Ripristinando questa copia:")} + changes);
        const QString when = lstCopie->currentItem()->text(0);
        if (!Messages::question(QStringLiteral("Ripristinare la copia del %1?\n\n%2.\n\nPrima del ripristino lo "
                                               "stato attuale viene salvato in una nuova copia.")
                                    .arg(when, changes.join(QStringLiteral(";\n"))),
                                this))
            return;
        Backup::RestoreOutcome done;
        {
            WaitCursor wait;
            done = Backup::restore(request, path);
        }
        m_states.insert(done.safety.path, kIntact);
        report(QStringList{QStringLiteral("Ripristinata la copia del %1:").arg(when)} + changes
               + QStringList{QStringLiteral("Lo stato di prima \u00E8 nella copia %1.").arg(done.safety.name)});
        Messages::plain(QStringLiteral("Ripristino completato. Lo stato di prima \u00E8 nella copia %1.")
                            .arg(done.safety.name),
                        this);
    } catch (const Backup::Error &error) {
        report({QStringLiteral("Ripristino non fatto: %1").arg(error.message())});
        Messages::plain(QStringLiteral("Ripristino non fatto: %1").arg(error.message()), this);
    }
    fill();
}

void TfrmCopie::cmdSalvaImpostazioniClick()
{
    Backup::Settings settings;
    settings.copies = txtCopieConservate->value();
    settings.attachments = chkAllegati->isChecked();
    try {
        Backup::writeSettings(settings);
        report({settings.copies == 0 ? QStringLiteral("Impostazioni salvate: nessuna copia automatica.")
                                     : QStringLiteral("Impostazioni salvate: si conservano %1 copie, %2.")
                                           .arg(settings.copies)
                                           .arg(settings.attachments ? QStringLiteral("allegati compresi")
                                                                     : QStringLiteral("allegati esclusi"))});
    } catch (const Backup::Error &error) {
        report({error.message()});
        Messages::plain(error.message(), this);
    }
}
