#pragma once
#include "output/summarylistwindow.h"

#include <QDate>

// The events people can still join: not full, deadline today or later.
// A double-click loads the chosen event into the event card.
class TfrmDaAderire : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmDaAderire(QWidget *parent = nullptr);

    // Listed when the deadline, read as dd/mm/yyyy, is not before today and
    // the full flag reads exactly "No". A deadline that is no date at all
    // leaves that event out and the listing goes on.
    static bool openForJoining(const qv::RecordView &event, const QDate &today);
    static qv::SummaryListConfig configuration();
};
