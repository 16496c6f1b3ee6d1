#pragma once
#include "app/workspace.h"

class QLabel;

// Chooses the event whose seats are booked.
class TfrmMenuPrenotazioni : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmMenuPrenotazioni(QWidget *parent = nullptr);

    // "avvio" while shown; "prenotazioni" once the seats are to be assigned.
    QLabel *lblMemory;

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *windowAfterClose() const override;
};
