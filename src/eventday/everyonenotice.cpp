#include "eventday/everyonenotice.h"

#include "core/text.h"

#include <QSet>

#include <algorithm>

namespace qv::EveryoneNotice {

QString subject(const EventInfo &event)
{
    return QStringLiteral("Comunicazione relativa all'evento ") + trimmed(event.titolo);
}

QString body(const EventInfo &event)
{
    const QString line = QStringLiteral("\r\n");
    return QStringLiteral("Gentili partecipanti,") + line + line
           + QStringLiteral("vi scriviamo in merito all'evento a cui siete iscritti:") + line + line
           + QStringLiteral("Evento: ") + trimmed(event.titolo) + line
           + QStringLiteral("Data: ") + trimmed(event.dataInizio) + line
           + QStringLiteral("Ora: ") + trimmed(event.oraInizio) + line
           + QStringLiteral("Sede: ") + trimmed(event.sede) + line
           + QStringLiteral("Indirizzo: ") + trimmed(event.indirizzo) + line + line;
}

Recipients recipients(const QList<Booking> &bookings)
{
    Recipients r;
    QSet<QString> seen;
    for (const Booking &b : bookings) {
        const QString address = trimmed(b.email);
        if (address.isEmpty()) {
            r.withoutAddress.append(b);
            continue;
        }
        const QString key = asciiLower(address);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        r.addresses.append(address);
    }
    return r;
}

QList<QStringList> batches(const QStringList &addresses, int perMessage)
{
    QList<QStringList> all;
    const int size = std::max(1, perMessage);
    for (qsizetype i = 0; i < addresses.size(); i += size)
        all.append(addresses.mid(i, size));
    return all;
}

} // namespace qv::EveryoneNotice
