#pragma once
#include "output/exportwindow.h"

// The events archive exported to Riepilogo_Eventi.xls.
class TfrmExpRegistro : public qv::ExportWindow
{
    Q_OBJECT
public:
    explicit TfrmExpRegistro(QWidget *parent = nullptr);

    static qv::ExportWindowConfig configuration();
};

namespace qv {
// Opens the events export modally, owned by `owner`, and destroys it on return.
void openEventsExport(QWidget *owner);
}
