#include "events/eventdialogs.h"

#include "events/tfrmdaaderire.h"
#include "events/tfrmtrovaregistro.h"

#include <QLabel>

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

} // namespace qv
