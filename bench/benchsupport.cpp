#include "benchsupport.h"

#include "archive/records.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace qvbench {

double milliseconds(const std::function<void()> &step)
{
    Stopwatch watch;
    step();
    return watch.milliseconds();
}

double bestOf(int rounds, const std::function<void()> &step)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i)
        best = std::min(best, milliseconds(step));
    return best;
}

double sequentialRead(const QString &path)
{
    Stopwatch watch;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray block(1 << 20, '\0');
    qint64 sum = 0;
    while (qint64 n = file.read(block.data(), block.size()))
        sum += n > 0 ? quint8(block.at(0)) : 0;
    volatile qint64 keep = sum; // the loop must not be optimised away
    (void)keep;
    return watch.milliseconds();
}

namespace {

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
qint64 statusKb(const char *key)
{
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Writes `count` records made by `fill` (given the record number and a
// pseudo-random key) in blocks of about 8 MiB.
template <class Card>
void writeArchive(const QString &path, int count, const std::function<void(Card &, int, quint32)> &fill)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        Card card;
        fill(card, i, quint32(i) * 2654435761u);
        block += card.bytes();
        if (block.size() > (8 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

QString twoDigits(quint32 n)
{
    return QString("%1").arg(n, 2, 10, QChar('0'));
}

const QStringList kSurnames{"Rossi", "Bianchi", "Esposito", "Romano", "Colombo", "Ricci", "Marino", "Greco"};
const QStringList kNames{"Mario", "Laura", "Giuseppe", "Anna", "Niccol\u00F2", "Zo\u00EB", "Luca", "Chlo\u00E9"};
const QStringList kTowns{"Roma", "Milano", "Napoli", "Torino", "Forl\u00EC", "Bologna", "Cant\u00F9"};

} // namespace

double peakAbove(const std::function<void()> &step)
{
    QFile reset("/proc/self/clear_refs");
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    const qint64 before = statusKb("VmRSS:");
    step();
    return (statusKb("VmHWM:") - before) / 1024.0;
}

void writeEvents(const QString &path, int count)
{
    const QStringList titles{"Convegno", "Congresso", "Seminario", "Meeting", "Corso", "Conferenza", "Giornata"};
    const QStringList topics{"sicurezza", "sanit\u00E0", "energia", "informatica", "diritto", "finanza", "ambiente"};
    const QStringList contacts{"Mario Rossi", "Laura Bianchi", "Giuseppe Verdi", "Anna Esposito"};
    writeArchive<qv::TSchedaEvento>(path, count, [&](qv::TSchedaEvento &e, int i, quint32 k) {
        e.setText("Titolo", QString("%1 %2 n. %3").arg(titles[k % 7], topics[(k >> 8) % 7]).arg(k % 100000));
        e.setText("Tipologia", titles[k % 7]);
        e.setText("Materie", QString("Materia %1").arg(k % 977));
        e.setText("DataInizio", QString("%1/%2/%3").arg(twoDigits(1 + k % 28), twoDigits(1 + (k >> 4) % 12))
                                    .arg(2020 + (k >> 9) % 8));
        e.setText("DataFine", e.text("DataInizio"));
        e.setText("Sede", QString("Sede %1").arg(k % 313));
        e.setText("Contatto", contacts[(k >> 3) % 4]);
        e.setText("RecapitoCon", QString("06 %1").arg(k % 9999999));
        e.setText("Quota", "150,00");
        e.setText("Note", i % 10 ? QString() : QString("Posti limitati"));
        e.setText("DataSca", QString("31/12/%1").arg(2020 + (k >> 9) % 10));
        e.setYesNo("Completo", k % 5 == 0);
    });
}

void writeParticipants(const QString &path, int count)
{
    const QStringList jobs{"Ingegnere", "Medico", "Avvocato", "Insegnante", "Commerciante"};
    const QStringList products{"Convegni di cardiologia", "Corsi di formazione", "Seminari", "Congressi"};
    writeArchive<qv::TSchedaPartecipante>(path, count, [&](qv::TSchedaPartecipante &p, int i, quint32 k) {
        p.setText("Cliente", QString("%1 %2 %3").arg(kSurnames[k % 8], kNames[(k >> 8) % 8]).arg(k % 100000));
        p.setText("DataNasc", QString("%1/%2/19%3").arg(twoDigits(1 + k % 28), twoDigits(1 + (k >> 5) % 12))
                                  .arg(40 + k % 60));
        p.setText("ComuneNasc", kTowns[(k >> 7) % 7]);
        p.setText("ProvNasc", "RM");
        p.setText("Recapito", QString("347 %1").arg(k % 9999999));
        p.setText("IndirizzoRes", QString("Via Roma %1").arg(k % 300));
        p.setText("ComuneRes", QString("Comune %1").arg(k % 811));
        p.setText("ProvRes", "MI");
        p.setText("CapRes", "00100");
        p.setText("Estremi", "Bonifico bancario");
        p.setText("TelCasa", QString("06%1").arg(k % 9999999));
        p.setText("TelCel", QString("333 %1").arg(k % 9999999));
        p.setText("Email", QString("persona%1@esempio.it").arg(i));
        p.setText("CodFisc", QString("RSSMRA%1A01H501U").arg(twoDigits(k % 100)));
        p.setText("PartitaIva", QString("%1").arg(k % 100000000000ull, 11, 10, QChar('0')));
        p.setText("Occupazione", jobs[(k >> 4) % 5]);
        p.setText("Prodotti", products[(k >> 6) % 4]);
        p.setText("Zona", "Centro");
        p.setText("Questioni", i % 7 ? QString() : QString("Richiamare per il saldo"));
        p.setText("Note", i % 10 ? QString()
                                 : QString("Richiede posto \u201Cin prima fila\u201D & quota \u20AC 150"));
        p.setYesNo("Ricontatta", k % 9 == 0);
    });
}

void writeReservations(const QString &path, int count, int seats)
{
    writeArchive<qv::TSchedaPrenotazione>(path, count, [&](qv::TSchedaPrenotazione &r, int i, quint32 k) {
        r.setText("Cliente", QString("%1 %2 %3").arg(kSurnames[k % 8], kNames[(k >> 5) % 8]).arg(k % 10007));
        r.setText("ComuneRes", kTowns[(k >> 9) % 7]);
        r.setText("Recapito", QString("06 %1").arg(k % 9999999));
        r.setText("TelCel", QString("333 %1").arg(k % 9999999));
        const QString seat = QString::number(k % quint32(seats) + 1);
        r.setText("Posto", seat);
        r.setText("Numero", qv::TSchedaPrenotazione::Numero(seat));
        r.setText("Ubicazione", QString("Settore %1").arg((k >> 3) % 20));
        r.setText("Annotazioni", i % 10 ? QString() : QString("Ospite VIP"));
        r.setYesNo("DaConfermare", k % 7 == 0);
    });
}

int recordCount(int argc, char **argv, int otherwise)
{
    return argc > 1 ? QString(argv[1]).toInt() : otherwise;
}

Report::Report(QTextStream &out, const QString &yardstick, double yardstickMs, int width)
    : m_out(out), m_yardstick(yardstick), m_yardstickMs(yardstickMs), m_width(width)
{
}

void Report::row(const QString &what, double ms, const QString &note)
{
    m_out << QString("%1 %2 ms  %3x %4")
                 .arg(what.leftJustified(m_width, '.'))
                 .arg(ms, 8, 'f', 1)
                 .arg(ms / m_yardstickMs, 5, 'f', 1)
                 .arg(m_yardstick);
    if (!note.isEmpty())
        m_out << "  (" << note << ")";
    m_out << "\n";
    m_out.flush();
}

} // namespace qvbench
