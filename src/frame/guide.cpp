#include "frame/guide.h"

#include "core/regional.h"
#include "core/tmisc.h"
#include "frame/workspace.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

using namespace qv;

namespace {

const QString kParagraphBreak = QStringLiteral("\r\n\r\n");

QString paragraphs(const QStringList &list)
{
    return list.join(kParagraphBreak);
}

const QStringList &participantsTopic()
{
    static const QStringList text{
        QStringLiteral("L'Anagrafica Partecipanti memorizza le persone interessate agli eventi, per compilare "
                       "rapidamente le prenotazioni dei posti importandone i dati. E' una rubrica completa, con il "
                       "controllo di partita IVA, codice fiscale, IBAN e numero di carta di credito e un pulsante "
                       "per scrivere un messaggio di posta elettronica."),
        QStringLiteral("Il pulsante Nuovo predispone una scheda vuota, Salva la inserisce in archivio. La casella "
                       "\"Da ricontattare\" inserisce la scheda nell'elenco delle persone da richiamare; Duplica "
                       "velocizza l'inserimento di familiari allo stesso indirizzo. La ricerca accetta piu' filtri "
                       "contemporaneamente e a ogni scheda si possono allegare fino a tre file."),
        QStringLiteral("La scheda si puo' vedere in anteprima, stampare e salvare in PDF; l'intero archivio si "
                       "esporta in un file XLS leggibile dai comuni programmi per ufficio."),
    };
    return text;
}

const QStringList &eventsTopic()
{
    static const QStringList text{
        QStringLiteral("Il Registro Eventi conserva la storia di tutti gli eventi organizzati; la scheda di ogni "
                       "evento si puo' stampare e distribuire, mentre i posti si prenotano poi nell'applicazione "
                       "Posti Assegnati."),
        QStringLiteral("Attenzione: non sovrascrivere un evento archiviato con uno nuovo, perche' ogni evento e' "
                       "legato a un numero identificativo usato dalle prenotazioni: ogni nuovo evento richiede una "
                       "nuova scheda. Per gli eventi ricorrenti il pulsante Duplica riporta tutti i dati tranne date, "
                       "orari e termine adesione."),
        QStringLiteral("La casella \"Al completo\" segnala un evento con tutti i posti occupati e alimenta l'elenco "
                       "degli eventi a cui e' ancora possibile aderire. L'archivio si puo' esportare in Excel."),
    };
    return text;
}

const QStringList &reservationsTopic()
{
    static const QStringList text{
        QStringLiteral("La prenotazione dei posti inizia scegliendo un evento con \"Seleziona evento\" e poi "
                       "\"Assegna posti\": senza una scheda evento non si prenota."),
        QStringLiteral("La schermata di prenotazione mostra in alto i dati dell'evento, sotto i dati della persona "
                       "(importabili dall'anagrafica), quindi numero, ubicazione del posto e annotazioni. La verifica "
                       "di disponibilita' controlla che il posto sia libero; la casella \"Da confermare\" alimenta "
                       "l'elenco delle prenotazioni in attesa di conferma."),
        QStringLiteral("\"Invia notifica\" prepara un messaggio di posta con i dati della prenotazione. Si possono "
                       "stampare la singola prenotazione, l'elenco dei partecipanti e l'elenco dei posti assegnati, "
                       "ed esportare l'archivio in Excel."),
    };
    return text;
}

QString exportText(const QString &what)
{
    return paragraphs({
        QStringLiteral("Il pulsante di esportazione scrive %1 in un foglio di lavoro di Microsoft Excel, che "
                       "qualsiasi programma in grado di leggere i file XLS puo' aprire.")
            .arg(what),
        QStringLiteral("Aperta la finestra con la griglia, un clic sull'icona di Excel crea subito il file; "
                       "rispondendo si' alla domanda il file viene aperto, e si puo' poi salvare dove si vuole e "
                       "con qualsiasi nome."),
    });
}

void openPdfGuide()
{
    TMisc::Open(TMisc::ProgramFile(QStringLiteral("Guida.pdf")));
}

} // namespace

namespace qv {

QString guideTitle(GuideTopic topic)
{
    switch (topic) {
    case GuideTopic::General: return QStringLiteral("Uno sguardo a Quorvane.");
    case GuideTopic::Events: return QStringLiteral("Applicazione Eventi Programmati.");
    case GuideTopic::Participants: return QStringLiteral("Anagrafica Partecipanti.");
    case GuideTopic::Reservations: return QStringLiteral("Applicazione Posti Assegnati.");
    case GuideTopic::EventsExport: return QStringLiteral("Esportazione archivio eventi in Microsoft Excel.");
    case GuideTopic::ParticipantsExport: return QStringLiteral("Esportazione archivio partecipanti in Microsoft Excel.");
    case GuideTopic::ReservationsExport: return QStringLiteral("Esportazione archivio prenotazioni in Microsoft Excel.");
    }
    return {};
}

QString guideText(GuideTopic topic)
{
    switch (topic) {
    case GuideTopic::General: {
        QStringList all{QStringLiteral(
            "Quorvane e' un software semplice per prenotare i posti a sedere in convegni, conferenze, congressi, "
            "presentazioni commerciali e meeting, composto da tre applicazioni che interagiscono tra loro: "
            "partecipanti, eventi e prenotazioni dei posti.")};
        all += participantsTopic();
        all += eventsTopic();
        all += reservationsTopic();
        all += QStringLiteral(
            "Il programma si puo' usare in una rete locale per condividere gli archivi tra piu' postazioni, e "
            "funziona da una chiavetta USB copiando la cartella del programma, che e' anche il modo piu' rapido "
            "per fare una copia di sicurezza dei dati.");
        all += QStringLiteral(
            "L'accesso e' protetto da una password che si puo' cambiare in qualsiasi momento; al primo accesso "
            "usare la parola chiave cartolinavespa, senza virgolette.");
        all += QStringLiteral(
            "Quorvane e' consigliato ad aziende, associazioni ed enti che organizzano spesso eventi con posti "
            "riservati.");
        return paragraphs(all);
    }
    case GuideTopic::Events: return paragraphs(eventsTopic());
    case GuideTopic::Participants: return paragraphs(participantsTopic());
    case GuideTopic::Reservations: return paragraphs(reservationsTopic());
    case GuideTopic::EventsExport: return exportText(QStringLiteral("le schede degli eventi"));
    case GuideTopic::ParticipantsExport: return exportText(QStringLiteral("i dati anagrafici dei partecipanti"));
    case GuideTopic::ReservationsExport: return exportText(QStringLiteral("le prenotazioni dei posti"));
    }
    return {};
}

void showGuide(QWidget *owner, GuideTopic topic)
{
    TfrmGuida dialog(owner);
    dialog.lblTitolo->setText(guideTitle(topic));
    dialog.txtGuida->setPlainText(guideText(topic));
    dialog.exec();
}

} // namespace qv

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(48, 48)));
    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setStyleSheet(QStringLiteral("color: #DC143C; font-size: 13pt; font-weight: 600;"));
    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setMinimumSize(560, 320);
    imgPDF = new ClickablePicture(QStringLiteral("imgPDF"), picture(QStringLiteral("pdf")),
                                  QStringLiteral("Visualizza guida in formato PDF"), this);
    imgPDF->setIconSize(QSize(28, 28));
    lnkWeb = makeLink(QStringLiteral("Visualizza guida in formato PDF"), openPdfGuide, this);
    btnChiudi = closeButton(this);
    connect(imgPDF, &QToolButton::clicked, this, openPdfGuide);

    auto *head = new QHBoxLayout;
    head->addWidget(imgLogo);
    head->addWidget(lblTitolo, 1);
    auto *foot = new QHBoxLayout;
    foot->addWidget(imgPDF);
    foot->addWidget(lnkWeb);
    foot->addStretch(1);
    foot->addWidget(btnChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(txtGuida, 1);
    layout->addLayout(foot);
    makeFixedCentred(this);
}
