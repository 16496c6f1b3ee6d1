#include "participants/participantdialogs.h"

#include "imports/participantimport.h"
#include "participants/tfrmimportaclienti.h"
#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"
#include "ui/filechooser.h"

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

void openParticipantImport(QWidget *owner)
{
    const QString path = FileChooser::openFile(owner, TfrmImportaClienti::kChooserTitle, imports::importFileFilters());
    if (path.isEmpty())
        return;
    TfrmImportaClienti dialog(owner);
    // A file that cannot be read is told about, and no window opens.
    if (!dialog.openFile(path))
        return;
    dialog.exec();
}

} // namespace qv
