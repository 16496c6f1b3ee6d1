#pragma once
#include "output/summarylistwindow.h"

// The events people can still join (qv::EventLists::openForJoining).
// A double-click loads the chosen event into the event card.
class TfrmDaAderire : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmDaAderire(QWidget *parent = nullptr);

    static qv::SummaryListConfig configuration();
};
