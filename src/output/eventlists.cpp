#include "output/eventlists.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "core/regional.h"

namespace qv::EventLists {

const LineLayout &lines()
{
    static const LineLayout layout(TSchedaEvento::layout(),
                                   {
                                       {QString(), "Titolo", 44},
                                       {QStringLiteral("  Da: "), "DataInizio", 10},
                                       {QStringLiteral("  A: "), "DataFine", 10},
                                       {QStringLiteral("  Info: "), "Contatto", 28},
                                       {QStringLiteral("  Tel. "), "RecapitoCon", 15},
                                       {QStringLiteral("  Quota: \u20AC "), "Quota", LineLayout::kTrimmed},
                                   });
    return layout;
}

ListSource source()
{
    return {&TSchedaEvento::layout(), [] { return TSchedaEvento::archivePath(); }, lines()};
}

bool openForJoining(const RecordView &event, const QDate &today)
{
    static const int deadlineField = TSchedaEvento::layout().indexOf(QStringLiteral("DataSca"));
    static const int fullField = TSchedaEvento::layout().indexOf(QStringLiteral("Completo"));
    const QDate deadline = parseDate(event.text(deadlineField));
    if (!deadline.isValid() || today > deadline)
        return false;
    return event.text(fullField) == kNo;
}

} // namespace qv::EventLists
