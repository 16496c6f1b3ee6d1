#pragma once
#include "app/workspace.h"

class TfrmPrenotazioni : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmPrenotazioni(QWidget *parent = nullptr);
};
