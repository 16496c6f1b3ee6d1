#include "participants/participantlists.h"

#include "archive/fields.h"
#include "archive/records.h"

namespace qv::ParticipantLists {

const LineLayout &searchLines()
{
    static const LineLayout layout(TSchedaPartecipante::layout(),
                                   {
                                       {QString(), "Cliente", 26},
                                       {QStringLiteral("  Tel. "), "Recapito", 15},
                                       {QStringLiteral("  "), "Occupazione", 25},
                                       {QStringLiteral("  Prod. "), "Prodotti", 30},
                                       {QStringLiteral("  "), "Note", LineLayout::kTrimmed},
                                   });
    return layout;
}

const LineLayout &recontactLines()
{
    static const LineLayout layout(TSchedaPartecipante::layout(),
                                   {
                                       {QString(), "Cliente", 26},
                                       {QStringLiteral("  Tel. "), "Recapito", 15},
                                       {QStringLiteral("  "), "Occupazione", 25},
                                       {QStringLiteral("  Prod. "), "Prodotti", 30},
                                       {QStringLiteral("  "), "Questioni", LineLayout::kTrimmed},
                                   });
    return layout;
}

ListSource searchSource()
{
    return {&TSchedaPartecipante::layout(), [] { return TSchedaPartecipante::archivePath(); }, searchLines()};
}

ListSource recontactSource()
{
    return {&TSchedaPartecipante::layout(), [] { return TSchedaPartecipante::archivePath(); }, recontactLines()};
}

bool toRecontact(const RecordView &participant)
{
    static const int flag = TSchedaPartecipante::layout().indexOf(QStringLiteral("Ricontatta"));
    return participant.text(flag) == kYes;
}

} // namespace qv::ParticipantLists
