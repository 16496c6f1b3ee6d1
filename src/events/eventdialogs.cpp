#include "events/eventdialogs.h"

#include "core/text.h"
#include "events/tfrmallegacartella.h"
#include "events/tfrmcalendario.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmtrovaregistro.h"

#include <QLabel>
#include <QLineEdit>

namespace qv {

void openEventSearch(QWidget *owner, const QString &modeWord)
{
    TfrmTrovaRegistro dialog(owner);
    dialog.lblMemory->setText(modeWord);
    dialog.exec();
}

void openOpenEvents(QWidget *owner)
{
    TfrmDaAderire dialog(owner);
    dialog.exec();
}

void openAttachments(QWidget *card, const QString &modeWord)
{
    TfrmAllegaCartella dialog(card);
    dialog.lblMemory->setText(modeWord);
    const QStringList names = TfrmAllegaCartella::cardLabelNames();
    const QList<QLineEdit *> boxes = dialog.boxes();
    for (int i = 0; i < names.size(); ++i)
        if (auto *label = card ? card->findChild<QLabel *>(names[i]) : nullptr)
            boxes[i]->setText(trimmed(label->text()));
    dialog.exec();
}

void openCalendar(QWidget *owner, const QString &modeWord)
{
    TfrmCalendario::showModal(owner, modeWord);
}

} // namespace qv
