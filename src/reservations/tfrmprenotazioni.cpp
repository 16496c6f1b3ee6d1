#include "reservations/tfrmprenotazioni.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TfrmPrenotazioni::TfrmPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmPrenotazioni"));
    setWindowTitle(QStringLiteral(" Quorvane - Posti Assegnati"));

    lblFile = new QLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    auto *form = new QFormLayout(this);
    auto header = [this, form](const QString &name, const QString &label) {
        auto *box = new QLineEdit(this);
        box->setObjectName(name);
        box->setReadOnly(true);
        form->addRow(label, box);
        return box;
    };
    txtTitolo = header(QStringLiteral("txtTitolo"), QStringLiteral("Titolo evento:"));
    txtDataInizio = header(QStringLiteral("txtDataInizio"), QStringLiteral("Data inizio:"));
    txtOraInizio = header(QStringLiteral("txtOraInizio"), QStringLiteral("Ora inizio:"));
    txtDataFine = header(QStringLiteral("txtDataFine"), QStringLiteral("Data fine:"));
    txtOraFine = header(QStringLiteral("txtOraFine"), QStringLiteral("Ora fine:"));
    txtSede = header(QStringLiteral("txtSede"), QStringLiteral("Sede:"));
    txtIndirizzo = header(QStringLiteral("txtIndirizzo"), QStringLiteral("Indirizzo:"));
    txtPosti = header(QStringLiteral("txtPosti"), QStringLiteral("N. totale posti:"));
    qv::fillScreen(this);
}
