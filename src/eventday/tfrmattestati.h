#pragma once
#include "eventday/certificatepages.h"
#include "eventday/certificates.h"

#include <QDialog>
#include <QHash>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
namespace qv {
class ClickablePicture;
}

// "Attestati di partecipazione": who of an event's bookings gets a
// certificate (by a rule, changeable by hand per person), the certificate's
// text (kept beside the archives), then preview, print or
// "Attestati_Evento_<n>.pdf", and on request one file a person. Opened from
// the event selection and from the attendance list; modal.
class TfrmAttestati : public QDialog
{
    Q_OBJECT
public:
    TfrmAttestati(const qv::EventInfo &event, const QString &reservationArchive, QWidget *owner);

    QLabel *lblInformazioni;
    QRadioButton *optOgniGiorno, *optUnGiorno, *optOre;
    QSpinBox *spnPercentuale;
    QTreeWidget *lstPartecipanti; // column 0 checked: gets a certificate
    QLabel *lblConta;
    QLineEdit *txtTitoloAttestato, *txtLuogo, *txtDataRilascio, *txtFirmatario, *txtRuolo;
    QPlainTextEdit *txtTesto;
    QLabel *lblLogo, *lblFirma;
    QPushButton *cmdLogo, *cmdTogliLogo, *cmdFirma, *cmdTogliFirma, *cmdPredefinito;
    QRadioButton *optSoloEvento, *optTuttiEventi; // where the text is kept
    QCheckBox *chkUnoPerPersona;
    QPushButton *cmdAnteprima, *cmdStampa, *cmdPDF, *btnChiudi;
    QPushButton *cmdEmail; // each certificate to its person, by mail
    qv::ClickablePicture *cmdGuida;

    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdEmailClick();
    void choosePicture(bool logo);

    qv::Certificates::Rule rule() const;
    // The text as the window shows it now.
    qv::Certificates::Template shownTemplate() const;
    // Everyone listed, with the choice as it stands.
    QList<qv::Certificates::Person> people() const;

private:
    void reassess();
    void fillList();
    void showTemplate(const qv::Certificates::Template &tpl);
    void updateCount();
    // The setting of this printing, the text saved first when changed; none
    // (and a word to the user) when nobody is chosen or the text cannot be kept.
    std::optional<qv::CertificatePages::Setting> prepared();

    qv::EventInfo m_event;
    QString m_archive;
    qv::Certificates::Assessment m_assessment;
    QHash<qint64, bool> m_byHand; // choices changed by hand, by booking
    qv::Certificates::Template m_saved;
    QString m_logo, m_firma;
    bool m_filling = false;
};

// The signature sheet's window: the day (today by default), preview, print,
// "Foglio_Firme_Evento_<n>_<yyyy-mm-dd>.pdf".
class TfrmFoglioFirme : public QDialog
{
    Q_OBJECT
public:
    TfrmFoglioFirme(const qv::EventInfo &event, const QString &reservationArchive, const QDate &day, QWidget *owner);

    QComboBox *cboGiorno;
    QLabel *lblConta;
    QPushButton *cmdAnteprima, *cmdStampa, *cmdPDF, *btnChiudi;
    qv::ClickablePicture *cmdGuida;

    QDate day() const;
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();

private:
    std::optional<qv::page::Document> sheet();

    qv::EventInfo m_event;
    QString m_archive;
};

// Both read the event from its archive; a failure is the archive access message.
void openCertificates(QWidget *owner, qint64 event);
void openSignatureSheet(QWidget *owner, qint64 event, const QDate &day);
