#pragma once
// Participants written byte by byte and their list lines built plainly,
// independently of the program's own record and line code.
#include "output/fixtures.h"

#include <QRandomGenerator>

namespace qvtest {

// participantFields() comes with the shared fixtures.

// Offset of a field in the 3372-byte record.
inline int participantOffset(const QString &name)
{
    int offset = 0;
    for (const auto &[field, declared] : participantFields()) {
        if (field == name)
            return offset;
        offset += declared + 1;
    }
    return -1;
}

inline QString participantHead(const Values &v)
{
    return column(v.value("Cliente").left(50), 26) + "  Tel. " + column(v.value("Recapito"), 15) + "  "
           + column(v.value("Occupazione"), 25) + "  Prod. " + column(v.value("Prodotti"), 30) + "  ";
}

// The line of the participant search and of the recontact list.
inline QString participantLine(const Values &v) { return participantHead(v) + trimCodes(v.value("Note")); }
inline QString recontactLine(const Values &v) { return participantHead(v) + trimCodes(v.value("Questioni")); }

inline QString pickOne(QRandomGenerator &random, const QStringList &list)
{
    return list.at(int(random.bounded(int(list.size()))));
}

// A few hundred participants as another program might have written them:
// names longer than their column, blanks around stored texts, accented
// letters, recontact flags of every kind, and a pair with the same line.
inline QList<Values> makeParticipants(int count)
{
    QRandomGenerator random(20250611);
    const QStringList surnames{"Rossi", "Bianchi", "Esposito", "ROMANO", "Colombo", "Ricci", "Marino", "Greco",
                               "De Santis Bonaccorsi Della Gherardesca", "Nicol\u00F2", "  Ferrari"};
    const QStringList names{"Mario", "Laura", "Giuseppe", "anna maria", "Luca", "Chiara", "Fran\u00E7ois"};
    const QStringList towns{"Roma", "Milano", " Napoli ", "Reggio Emilia", "Citt\u00E0 di Castello", "Torino"};
    const QStringList jobs{"Ingegnere", "Medico chirurgo", "Avvocato", "Insegnante di scuola primaria statale", ""};
    const QStringList products{"Convegni di cardiologia", "Corsi di formazione", "Seminari [online] & webinar", "",
                               "Congressi nazionali e internazionali di medicina"};
    const QStringList zones{"Nord", "Centro", "Sud", "Isole", ""};
    const QStringList issues{"", "Fattura da inviare", "Richiamare per il saldo", "\u00C8 in attesa di risposta"};
    const QStringList notes{"", "cliente storico", "Preferisce essere contattato la sera", "vegetariano"};
    const QStringList flags{"No", "S\u00EC", "No", "", "S", "si", "S\u00CC", "S\u00EC"};
    QList<Values> people;
    for (int i = 0; i < count; ++i) {
        Values p;
        p["Cliente"] = pickOne(random, surnames) + " " + pickOne(random, names) + (i % 4 ? QString(" %1").arg(i % 13) : QString());
        p["DataNasc"] = QString("%1/%2/19%3").arg(1 + random.bounded(28)).arg(1 + random.bounded(12)).arg(40 + random.bounded(60));
        p["ComuneNasc"] = pickOne(random, towns);
        p["ProvNasc"] = pickOne(random, {"RM", "MI", "na", "RE"});
        p["Sesso"] = pickOne(random, {"M", "F", ""});
        p["Recapito"] = QString("3%1").arg(random.bounded(100000000, 999999999));
        p["IndirizzoRes"] = QString("Via Roma %1").arg(i + 1);
        p["ProvRes"] = pickOne(random, {"RM", "MI", "NA", "TO"});
        p["ComuneRes"] = pickOne(random, towns);
        p["CapRes"] = QString::number(10000 + random.bounded(89999));
        p["TelCel"] = i % 5 ? QString("347 %1").arg(random.bounded(1000000, 9999999)) : QString();
        p["Email"] = QString("persona%1@example.it").arg(i);
        p["CodFisc"] = QString("RSSMRA%1A01H501Z").arg(random.bounded(10, 99));
        p["PartitaIva"] = QString::number(random.bounded(10000000, 99999999)) + "123";
        p["Documento"] = QString("C.I. n. AX%1").arg(random.bounded(100000, 999999));
        p["Occupazione"] = pickOne(random, jobs);
        p["Prodotti"] = pickOne(random, products);
        p["Zona"] = pickOne(random, zones);
        p["Questioni"] = pickOne(random, issues);
        p["Note"] = pickOne(random, notes);
        p["Ricontatta"] = pickOne(random, flags);
        p["File01"] = QString("documento_%1.pdf").arg(i + 1);
        p["Desc01"] = QString("Documento %1").arg(i + 1);
        people.append(p);
    }
    // Twins: the same line, told apart only by other fields and their numbers.
    for (int i : {30, 31}) {
        people[i]["Cliente"] = "Gemelli Paolo";
        people[i]["Recapito"] = "0612";
        people[i]["Occupazione"] = "Pilota";
        people[i]["Prodotti"] = "Voli";
        people[i]["Note"] = "";
        people[i]["Questioni"] = "Rimborso";
        people[i]["Ricontatta"] = "S\u00EC";
    }
    people[30]["TelCel"] = "111";
    people[31]["TelCel"] = "222";
    people[31]["Ricontatta"] = "No"; // the later twin is not to be recontacted
    return people;
}

} // namespace qvtest
