#pragma once
#include "app/workspace.h"

class TfrmRegistro : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmRegistro(QWidget *parent = nullptr);
};
