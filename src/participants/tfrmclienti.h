#pragma once
#include "frame/workspace.h"

class TfrmClienti : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmClienti(QWidget *parent = nullptr);
};
