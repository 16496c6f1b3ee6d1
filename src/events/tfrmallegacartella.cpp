#include "events/tfrmallegacartella.h"

#include "core/attachments.h"
#include "core/regional.h"
#include "core/text.h"
#include "core/tmisc.h"
#include "events/tfrmregistro.h"
#include "frame/windows.h"
#include "frame/workspace.h"
#include "participants/tfrmclienti.h"
#include "ui/desktop.h"
#include "ui/filechooser.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

const QString kChooserTitle = QStringLiteral("Selezionare il file da allegare:");
const QString kChooserFilter = QStringLiteral("Tutti i file (*.*)");

QString overwriteQuestion()
{
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati \u00E8 presente un file con lo stesso nome.")
           + QStringLiteral("\r\n\r\n") + QStringLiteral("Si vuole sovrascrivere il file esistente?");
}

QString copyFailed()
{
    return QStringLiteral("Attenzione: il sistema non permette di copiare il file nella cartella dei documenti allegati.")
           + Messages::kBreak
           + QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                            "programma.");
}

QString nameRefused(Attachments::NameProblem problem)
{
    const QString why = problem == Attachments::NameProblem::TooLong
                            ? QStringLiteral("Attenzione: il nome del file scelto supera i %1 caratteri che la scheda "
                                             "pu\u00F2 memorizzare.")
                                  .arg(Attachments::kNameLength)
                            : QStringLiteral("Attenzione: il nome del file scelto contiene caratteri che la scheda non "
                                             "pu\u00F2 memorizzare.");
    return why + Messages::kBreak + QStringLiteral("Rinominare il file e ripetere l'operazione.");
}

QString ordinal(int slot)
{
    return QString::number(slot + 1) + QStringLiteral("\u00B0");
}

QString suffix(int slot)
{
    return QStringLiteral("0") + QString::number(slot + 1);
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmAllegaCartella"));
    setWindowTitle(QStringLiteral(" Allega file"));
    setWindowIcon(picture(QStringLiteral("attach")));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(10);

    for (int k = 0; k < kSlots; ++k) {
        auto *frame = new QGroupBox(ordinal(k) + QStringLiteral(" file allegato"), this);
        frame->setObjectName(QStringLiteral("grpFile") + suffix(k));

        txtFile[k] = new QLineEdit(frame);
        txtFile[k]->setObjectName(QStringLiteral("txtFile") + suffix(k));
        txtFile[k]->setReadOnly(true);
        txtFile[k]->setMinimumWidth(380);
        auto *nameLabel = new QLabel(QStringLiteral("Nome %1 file allegato:").arg(ordinal(k)), frame);
        nameLabel->setBuddy(txtFile[k]);

        imgCancella[k] = new ClickablePicture(QStringLiteral("imgCancella") + suffix(k), picture(QStringLiteral("delete")),
                                              QStringLiteral("Elimina il riferimento al %1 file allegato.").arg(ordinal(k)),
                                              frame);
        imgCancella[k]->setIconSize(QSize(20, 20));
        imgCancella[k]->setToolTip(imgCancella[k]->accessibleName());

        btnSfoglia[k] = new QPushButton(QStringLiteral("Sfoglia..."), frame);
        btnSfoglia[k]->setObjectName(QStringLiteral("btnSfoglia") + suffix(k));
        btnApri[k] = new QPushButton(QStringLiteral("Apri"), frame);
        btnApri[k]->setObjectName(QStringLiteral("btnApri") + suffix(k));
        btnApri[k]->setEnabled(false);

        txtDesc[k] = new QLineEdit(frame);
        txtDesc[k]->setObjectName(QStringLiteral("txtDesc") + suffix(k));
        auto *descLabel = new QLabel(QStringLiteral("Descrizione %1 file allegato:").arg(ordinal(k)), frame);
        descLabel->setBuddy(txtDesc[k]);

        auto *grid = new QGridLayout(frame);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        grid->addWidget(nameLabel, 0, 0, 1, 4);
        grid->addWidget(txtFile[k], 1, 0);
        grid->addWidget(imgCancella[k], 1, 1);
        grid->addWidget(btnSfoglia[k], 1, 2);
        grid->addWidget(btnApri[k], 1, 3);
        grid->addWidget(descLabel, 2, 0, 1, 4);
        grid->addWidget(txtDesc[k], 3, 0, 1, 4);
        grid->setColumnStretch(0, 1);
        layout->addWidget(frame);

        // "Apri" is there only while the slot names a file.
        connect(txtFile[k], &QLineEdit::textChanged, this,
                [this, k](const QString &text) { btnApri[k]->setEnabled(!trimmed(text).isEmpty()); });
        connect(imgCancella[k], &QToolButton::clicked, this, [this, k] { imgCancellaClick(k); });
        connect(btnSfoglia[k], &QPushButton::clicked, this, [this, k] { btnSfogliaClick(k); });
        connect(btnApri[k], &QPushButton::clicked, this, [this, k] { btnApriClick(k); });
    }

    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    btnApplica->setDefault(true); // Enter in a description applies, as in any dialog
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    connect(btnApplica, &QPushButton::clicked, this, [this] { btnApplicaClick(); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnApplica);
    layout->addLayout(buttons);

    // Slot by slot: name, browse, open, description; then apply, then cancel.
    QWidget *previous = nullptr;
    for (int k = 0; k < kSlots; ++k) {
        for (QWidget *w : {static_cast<QWidget *>(txtFile[k]), static_cast<QWidget *>(btnSfoglia[k]),
                           static_cast<QWidget *>(btnApri[k]), static_cast<QWidget *>(txtDesc[k])}) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }
    setTabOrder(previous, btnApplica);
    setTabOrder(btnApplica, btnAnnulla);

    makeFixedCentred(this);
    txtFile[0]->setFocus(Qt::OtherFocusReason);
}

QStringList TfrmAllegaCartella::cardLabelNames()
{
    QStringList names;
    for (int k = 0; k < kSlots; ++k)
        names << QStringLiteral("lblFile") + suffix(k) << QStringLiteral("lblDesc") + suffix(k);
    return names;
}

QList<QLineEdit *> TfrmAllegaCartella::boxes() const
{
    QList<QLineEdit *> all;
    for (int k = 0; k < kSlots; ++k)
        all << txtFile[k] << txtDesc[k];
    return all;
}

void TfrmAllegaCartella::btnSfogliaClick(int slot)
{
    const QString source = FileChooser::openFile(this, kChooserTitle, kChooserFilter);
    if (source.isEmpty())
        return; // cancelled: the slot and the folder stay as they are

    const QString name = QFileInfo(source).fileName();
    if (const auto problem = Attachments::nameProblem(name); problem != Attachments::NameProblem::None) {
        Messages::warning(nameRefused(problem), this);
        return;
    }
    const QString before = txtFile[slot]->text();
    txtFile[slot]->setText(name);

    if (!Attachments::ensureFolder()) {
        Messages::warning(copyFailed(), this);
        txtFile[slot]->setText(before);
        return;
    }
    const QString target = Attachments::path(name);
    // Picked from the folder itself: it already is the stored copy.
    if (Attachments::isSameFile(source, target))
        return;
    if (QFileInfo::exists(target) && !Messages::question(overwriteQuestion(), this))
        return; // the slot names the file already stored
    if (!Attachments::copyFile(source, target)) {
        Messages::warning(copyFailed(), this);
        txtFile[slot]->setText(before);
    }
}

void TfrmAllegaCartella::imgCancellaClick(int slot)
{
    txtFile[slot]->clear();
}

void TfrmAllegaCartella::btnApriClick(int slot)
{
    const QString path = Attachments::openPath(txtFile[slot]->text());
    if (!path.isEmpty())
        Desktop::openFile(path, this);
}

QWidget *TfrmAllegaCartella::receivingCard() const
{
    const QString word = trimmed(lblMemory->text());
    if (word == QLatin1String("registro"))
        return windows().frmRegistro;
    if (word == QLatin1String("clienti"))
        return windows().frmClienti;
    return nullptr;
}

void TfrmAllegaCartella::btnApplicaClick()
{
    QWidget *card = receivingCard();
    if (!card)
        return; // an unknown word delivers nothing and the dialog stays open
    QList<QLabel *> labels;
    for (const QString &name : cardLabelNames()) {
        auto *label = card->findChild<QLabel *>(name);
        if (!label)
            return;
        labels.append(label);
    }
    const QList<QLineEdit *> from = boxes();
    for (int i = 0; i < labels.size(); ++i)
        labels[i]->setText(trimmed(from[i]->text()));
    accept();
}

void TfrmAllegaCartella::btnAnnullaClick()
{
    reject();
}
