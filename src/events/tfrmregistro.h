#pragma once
#include "app/workspace.h"

namespace qv {
class Record;
}

// The event card workspace.
class TfrmRegistro : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmRegistro(QWidget *parent = nullptr);

    // Shows an event record with its number (search results and lists).
    void showRecord(const qv::Record &record, qint64 number);
};
