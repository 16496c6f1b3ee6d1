#pragma once
#include "output/summarylistwindow.h"

// The participants to recontact: every card ticked "Da ricontattare", with its
// pending issues; a double-click loads the person into the participant card.
class TfrmRicontatta : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmRicontatta(QWidget *parent = nullptr);
    static qv::SummaryListConfig configuration();
};
