#pragma once
#include "output/exportwindow.h"

// The participants archive exported to Partecipanti.xls.
class TfrmExpClienti : public qv::ExportWindow
{
    Q_OBJECT
public:
    explicit TfrmExpClienti(QWidget *parent = nullptr);

    static qv::ExportWindowConfig configuration();
};

namespace qv {
// The participant card's export: opens the window modally, owned by `owner`,
// and destroys it on return.
void openParticipantsExport(QWidget *owner);
}
