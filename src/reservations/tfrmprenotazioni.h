#pragma once
#include "frame/workspace.h"

class QLabel;
class QLineEdit;

// The reservation card workspace of one event.
class TfrmPrenotazioni : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmPrenotazioni(QWidget *parent = nullptr);

    QLabel *lblFile; // full path of the event's reservations archive
    // The event header, read-only, written by the event selection.
    QLineEdit *txtTitolo, *txtDataInizio, *txtOraInizio, *txtDataFine, *txtOraFine, *txtSede, *txtIndirizzo,
        *txtPosti;
};
