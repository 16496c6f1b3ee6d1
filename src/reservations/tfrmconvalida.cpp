#include "reservations/tfrmconvalida.h"

#include "archive/tarchivio.h"
#include "core/regional.h"
#include "reservations/reservationlists.h"
#include "ui/messages.h"
#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

} // namespace

QString TfrmConvalida::heading(const QString &seat)
{
    return QStringLiteral("RISULTATO VERIFICA DISPONIBILTA' POSTO N.  ") + seat;
}

TfrmConvalida::TfrmConvalida(const QString &archivePath, const QString &seat, QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmConvalida"));
    setWindowTitle(QStringLiteral(" Verifica disponibilit\u00E0 posto a sedere"));
    setWindowIcon(picture(QStringLiteral("logo")));
    setModal(true);

    auto *logo = new QLabel(this);
    logo->setPixmap(pictureOfSize(QStringLiteral("menu_seats"), QSize(44, 44)));
    lblInfo = label(QStringLiteral("lblInfo"),
                    QStringLiteral("Questa funzione consente di verificare se il posto a sedere \u00E8 disponibile per "
                                   "la prenotazione."),
                    this);
    lstRecords = new QListWidget(this);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setSortingEnabled(false); // kept in the list order of the program, not Qt's
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(12);
    lstRecords->setFont(fixed);
    QPalette palette = lstRecords->palette();
    palette.setColor(QPalette::Text, Qt::black);
    lstRecords->setPalette(palette);
    // A few rows: enough to show a seat held twice without scrolling.
    lstRecords->setFixedHeight(QFontMetrics(fixed).height() * 3 + 10);
    lblSpiegazione = label(QStringLiteral("lblSpiegazione"),
                           QStringLiteral("Se il posto non \u00E8 disponibile, in alto compaiono i dati del "
                                          "partecipante a cui \u00E8 stato assegnato."),
                           this);
    txtConvalida = label(QStringLiteral("txtConvalida"), QStringLiteral("RISULTATO VERIFICA"), this);
    txtConvalida->setAlignment(Qt::AlignCenter);
    txtResponso = label(QStringLiteral("txtResponso"), QStringLiteral("POSTO DISPONIBILE"), this);
    txtResponso->setAlignment(Qt::AlignCenter);
    txtIndicazioni = label(QStringLiteral("txtIndicazioni"),
                           QStringLiteral("Il posto a sedere non \u00E8 stato ancora assegnato."), this);
    txtIndicazioni->setAlignment(Qt::AlignCenter);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(110);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addWidget(lblInfo, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(lstRecords);
    layout->addWidget(lblSpiegazione);
    layout->addWidget(txtConvalida);
    layout->addWidget(txtResponso);
    layout->addWidget(txtIndicazioni);
    layout->addLayout(buttons);

    // Without a close box: "OK" is the only way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(640, sizeHint().height());

    // The scan. A seat is reported free only after the whole archive was read.
    try {
        const QStringList holders = ReservationLists::seatHolders(archivePath, seat);
        lstRecords->addItems(holders);
        if (!holders.isEmpty()) {
            txtResponso->setText(QStringLiteral("POSTO NON DISPONIBILE"));
            txtIndicazioni->setText(QStringLiteral("Il posto a sedere \u00E8 gi\u00E0 stato assegnato."));
        }
    } catch (const ArchiveError &) {
        m_failed = true;
        txtResponso->clear();
        txtIndicazioni->clear();
    }
    btnOK->setFocus(Qt::OtherFocusReason);
}

void TfrmConvalida::check(QWidget *card, const QString &archivePath, const QString &seat)
{
    TfrmConvalida dialog(archivePath, seat, card);
    if (dialog.scanFailed()) {
        Messages::error(Messages::kArchiveAccess, card);
        return;
    }
    dialog.txtConvalida->setText(heading(seat));
    if (card) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(card->frameGeometry().center());
        dialog.move(frame.topLeft());
    }
    dialog.exec();
}

void TfrmConvalida::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}
