#include "frame/shortcuttable.h"

#include "ui/keyboard.h"

#include <QStringList>

namespace qv {

namespace {

using Rows = QList<QPair<QString, QString>>;

// The rows of the house map for these pictures, in this order.
Rows mapRows(const QStringList &controls)
{
    Rows rows;
    for (const QString &name : controls) {
        for (const StandardShortcut &entry : standardShortcuts()) {
            if (entry.controls.contains(name)) {
                rows.append({keyText(entry.keys), entry.action});
                break;
            }
        }
    }
    return rows;
}

// The keys of a window that puts pages out (frame/outputbuttons.h), after `rows`.
Rows withOutputKeys(Rows rows)
{
    rows.append({keyText(standardShortcut(QStringLiteral("cmdAnteprima"))), QStringLiteral("anteprima")});
    rows.append({keyText(standardShortcut(QStringLiteral("cmdStampa"))), QStringLiteral("stampa")});
    rows.append({keyText(standardShortcut(QStringLiteral("cmdPDF"))), QStringLiteral("crea il PDF")});
    rows.append({keyText(standardShortcut(QStringLiteral("cmdGuida"))), QStringLiteral("guida")});
    rows.append({keyText(QKeySequence(Qt::Key_Escape)), QStringLiteral("chiude la finestra")});
    return rows;
}

QString f4()
{
    return keyText(QKeySequence(Qt::Key_F4));
}

} // namespace

QList<QPair<QString, QString>> shortcutRows(GuideTopic topic)
{
    const QStringList navigation{QStringLiteral("cmdPrimo"), QStringLiteral("cmdIndietro"),
                                 QStringLiteral("cmdAvanti"), QStringLiteral("cmdUltimo")};
    switch (topic) {
    case GuideTopic::General:
        return {
            {QStringLiteral("Tab, frecce"), QStringLiteral("passano da una voce del menu all'altra")},
            {QStringLiteral("Invio, Barra spaziatrice"), QStringLiteral("aprono la voce evidenziata")},
            {keyText(QKeySequence(Qt::Key_F1)), QStringLiteral("guida")},
            {keyText(QKeySequence(Qt::CTRL | Qt::Key_Q)), QStringLiteral("esce dal programma")},
        };
    case GuideTopic::Events: {
        Rows rows = mapRows(QStringList{QStringLiteral("cmdNuovo"), QStringLiteral("cmdDuplica"), QStringLiteral("cmdSalva"),
                             QStringLiteral("cmdTrova"), QStringLiteral("cmdFile"), QStringLiteral("cmdStampa"),
                             QStringLiteral("cmdCalendario")}
                            + navigation
                            + QStringList{QStringLiteral("cmdEsporta"), QStringLiteral("cmdDisponibili"), QStringLiteral("cmdStatistiche"),
                                          QStringLiteral("cmdGuida"), QStringLiteral("cmdEsci")});
        rows.append({f4(), QStringLiteral("nelle caselle Organizzatore e Contatto per info importa i dati "
                                          "dall'anagrafica; nella casella IBAN lo verifica")});
        rows.append({QStringLiteral("Un tasto qualsiasi"), QStringLiteral("nelle caselle delle date apre il calendario")});
        return rows;
    }
    case GuideTopic::Participants: {
        Rows rows = mapRows(QStringList{QStringLiteral("cmdNuovo"), QStringLiteral("cmdDuplica"), QStringLiteral("cmdFile"),
                             QStringLiteral("cmdSalva"), QStringLiteral("cmdTrova"), QStringLiteral("cmdAnteprima"),
                             QStringLiteral("cmdStampa"), QStringLiteral("cmdPDF"), QStringLiteral("cmdRicontatta"),
                             QStringLiteral("cmdEsporta"), QStringLiteral("cmdImporta")}
                            + navigation + QStringList{QStringLiteral("cmdGuida"), QStringLiteral("cmdEsci")});
        rows.append({f4(), QStringLiteral("nelle caselle con un pulsante accanto (codice fiscale, carta di credito, "
                                          "partita IVA, IBAN, e-mail) lo attiva")});
        return rows;
    }
    case GuideTopic::Reservations: {
        Rows rows = mapRows(QStringList{QStringLiteral("btnNuovo"), QStringLiteral("btnDuplica"), QStringLiteral("btnSalva"),
                             QStringLiteral("btnTrova"), QStringLiteral("btnStampa"),
                             QStringLiteral("btnDaConfermare"), QStringLiteral("btnMappa"), QStringLiteral("btnEsporta"),
                             QStringLiteral("btnCartellini")}
                            + navigation + QStringList{QStringLiteral("btnGuida"), QStringLiteral("btnEsci")});
        rows.append({f4(), QStringLiteral("nella casella del nome importa i dati dall'anagrafica; nella casella "
                                          "del codice fiscale lo verifica")});
        rows.append({keyText(standardShortcut(QStringLiteral("imgAccoglienza"))),
                     QStringLiteral("nella selezione dell'evento, accoglienza dei partecipanti")});
        rows.append({keyText(standardShortcut(QStringLiteral("btnAvvisoTutti"))),
                     QStringLiteral("nell'elenco dei posti già prenotati, avviso a tutti i prenotati")});
        return rows;
    }
    case GuideTopic::Badges:
        return {
            {keyText(standardShortcut(QStringLiteral("cmdAnteprima"))), QStringLiteral("anteprima dei cartellini")},
            {keyText(standardShortcut(QStringLiteral("cmdStampa"))), QStringLiteral("stampa i cartellini")},
            {keyText(standardShortcut(QStringLiteral("cmdPDF"))), QStringLiteral("crea il PDF dei cartellini")},
            {keyText(standardShortcut(QStringLiteral("cmdGuida"))), QStringLiteral("guida")},
            {keyText(QKeySequence(Qt::Key_Escape)) + QStringLiteral(", ") + keyText(QKeySequence(Qt::CTRL | Qt::Key_W)),
             QStringLiteral("chiude la finestra")},
        };
    case GuideTopic::Certificates:
        return withOutputKeys(mapRows(QStringList{QStringLiteral("imgAttestati"), QStringLiteral("imgFoglioFirme")}));
    case GuideTopic::Statistics:
        return withOutputKeys(mapRows(QStringList{QStringLiteral("imgStatistiche")}));
    case GuideTopic::CheckIn: {
        Rows rows{{keyText(QKeySequence(Qt::Key_Return)),
                   QStringLiteral("nella casella registra l'ingresso (o l'uscita) o cerca le prenotazioni; "
                                  "nell'elenco delle prenotazioni trovate registra quello della persona scelta")},
                  {keyText(QKeySequence(Qt::Key_Escape)),
                   QStringLiteral("nell'elenco delle prenotazioni trovate torna alla casella")},
                  {QStringLiteral("Alt+I, Alt+U"), QStringLiteral("registra gli ingressi, le uscite")}};
        rows += mapRows(QStringList{QStringLiteral("btnPresenze"), QStringLiteral("btnAnnullaIngresso"),
                                    QStringLiteral("btnNuovoIngresso"), QStringLiteral("btnFoglioFirme"),
                                    QStringLiteral("btnAttestati"), QStringLiteral("btnGuida"),
                                    QStringLiteral("btnEsci")});
        return rows;
    }
    case GuideTopic::SeatMap: {
        const auto key = [](const char *control) { return keyText(standardShortcut(QString::fromLatin1(control))); };
        Rows rows{
            {QStringLiteral("Tab"), QStringLiteral("entra nella mappa ed esce")},
            {QStringLiteral("Frecce"), QStringLiteral("passano da un posto all'altro")},
            {keyText(QKeySequence(Qt::Key_Return)),
             QStringLiteral("come il doppio clic: una nuova scheda per il posto libero, la scheda di chi occupa "
                            "quello prenotato")},
        };
        rows += mapRows({QStringLiteral("cmdAggiorna")});
        rows.append({key("cmdStampa"), QStringLiteral("stampa la mappa")});
        rows.append({key("cmdPDF"), QStringLiteral("crea il PDF della mappa")});
        rows += mapRows({QStringLiteral("cmdGuida")});
        rows.append({key("cmdEsci"), QStringLiteral("chiude la mappa")});
        return rows;
    }
    case GuideTopic::Backups:
        return {{keyText(QKeySequence(Qt::CTRL | Qt::Key_N)), QStringLiteral("crea ora una copia")},
                {keyText(QKeySequence(Qt::CTRL | Qt::Key_K)), QStringLiteral("verifica la copia scelta")},
                {keyText(QKeySequence(Qt::CTRL | Qt::Key_R)), QStringLiteral("ripristina la copia scelta, dopo averlo chiesto")},
                {keyText(QKeySequence(Qt::Key_F1)), QStringLiteral("guida")},
                {keyText(QKeySequence(Qt::Key_Escape)), QStringLiteral("chiude la finestra")}};
    case GuideTopic::Mail:
        return {{keyText(QKeySequence(Qt::CTRL | Qt::Key_S)), QStringLiteral("salva le impostazioni")},
                {keyText(QKeySequence(Qt::CTRL | Qt::Key_Return)), QStringLiteral("invia i messaggi")},
                {keyText(QKeySequence(Qt::Key_F1)), QStringLiteral("guida")},
                {keyText(QKeySequence(Qt::Key_Escape)), QStringLiteral("chiude la finestra")}};
    case GuideTopic::EventsExport:
    case GuideTopic::ParticipantsExport:
    case GuideTopic::ReservationsExport:
        return mapRows({QStringLiteral("cmdEsporta"), QStringLiteral("cmdSalvaCome"), QStringLiteral("cmdGuida"),
                        QStringLiteral("cmdEsci")});
    case GuideTopic::ParticipantsImport: {
        Rows rows = mapRows({QStringLiteral("cmdApriFile"), QStringLiteral("cmdImporta"), QStringLiteral("cmdGuida"),
                             QStringLiteral("cmdEsci")});
        rows.append({QStringLiteral("Tab"),
                     QStringLiteral("passa dal campo di una colonna a quello della successiva")});
        rows.append({keyText(QKeySequence(Qt::Key_Escape)),
                     QStringLiteral("interrompe il controllo o l'importazione in corso senza modificare "
                                    "l'archivio; altrimenti chiude la finestra")});
        return rows;
    }
    }
    return {};
}

QString shortcutTable(GuideTopic topic)
{
    const Rows rows = shortcutRows(topic);
    if (rows.isEmpty())
        return {};
    QStringList lines{QStringLiteral("Tasti rapidi:")};
    for (const auto &[keys, action] : rows)
        lines << keys + QStringLiteral(": ") + action + QLatin1Char('.');
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace qv
