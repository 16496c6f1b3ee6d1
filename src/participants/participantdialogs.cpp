#include "participants/participantdialogs.h"

#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"

#include <QLabel>

namespace qv {

void openParticipantSearch(QWidget *owner, const QString &modeWord)
{
    TfrmTrovaClienti dialog(owner);
    dialog.lblMemory->setText(modeWord);
    dialog.exec();
}

void openRecontactList(QWidget *owner)
{
    TfrmRicontatta dialog(owner);
    dialog.exec();
}

} // namespace qv
