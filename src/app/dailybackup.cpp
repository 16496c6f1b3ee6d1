#include "app/dailybackup.h"

#include "backup/backup.h"
#include "backup/backupdesk.h"
#include "ui/messages.h"
#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

using namespace qv;

TfrmCopiaSicurezza::TfrmCopiaSicurezza(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCopiaSicurezza"));
    setWindowTitle(QStringLiteral(" Quorvane - Copia di sicurezza"));
    setWindowIcon(picture(QStringLiteral("logo")));
    // Shown while the user types in a card: it must not take the keys.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);

    lblStato = new QLabel(QStringLiteral("Copia di sicurezza degli archivi in corso. Si pu\u00F2 continuare a "
                                         "lavorare: la copia prosegue anche chiudendo questa finestra."),
                          this);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setWordWrap(true);
    prbCopia = new QProgressBar(this);
    prbCopia->setObjectName(QStringLiteral("prbCopia"));
    prbCopia->setRange(0, 0);
    prbCopia->setAccessibleName(QStringLiteral("Avanzamento della copia di sicurezza"));
    cmdNascondi = new QPushButton(QStringLiteral("Nascondi"), this);
    cmdNascondi->setObjectName(QStringLiteral("cmdNascondi"));
    lblStato->setBuddy(prbCopia);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdNascondi);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(lblStato);
    layout->addWidget(prbCopia);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(cmdNascondi, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmCopiaSicurezza::showProgress(qint64 done, qint64 total)
{
    if (total <= 0) {
        prbCopia->setRange(0, 0);
        return;
    }
    prbCopia->setRange(0, 1000);
    prbCopia->setValue(int(std::min<qint64>(1000, done * 1000 / total)));
}

namespace qv {

const QString DailyBackup::kFailed = QStringLiteral(
    "Attenzione: la copia di sicurezza degli archivi non \u00E8 stata completata (spazio su disco esaurito, "
    "cartella Backup non scrivibile o archivio occupato troppo a lungo) ed \u00E8 stata tolta; le copie "
    "precedenti restano intatte. Si pu\u00F2 continuare a lavorare normalmente: la copia sar\u00E0 ritentata "
    "al prossimo accesso.");

DailyBackup::DailyBackup(QObject *parent) : QObject(parent), m_delay(new QTimer(this)), m_refresh(new QTimer(this))
{
    m_delay->setSingleShot(true);
    m_delay->setInterval(kProgressDelayMs);
    connect(m_delay, &QTimer::timeout, this, &DailyBackup::showWindow);
    m_refresh->setInterval(100);
    connect(m_refresh, &QTimer::timeout, this, [this] {
        if (m_window)
            m_window->showProgress(m_done, m_total);
    });
}

DailyBackup::~DailyBackup()
{
    if (m_thread) {
        disconnect(m_thread, nullptr, this, nullptr);
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
    delete m_window;
}

void DailyBackup::start()
{
    if (m_thread)
        return;
    Backup::Request request = Backup::requestNow();
    if (request.settings.copies == 0)
        return;
    if (!Backup::canWrite(request.root)) {
        // A read-only program folder stays so: said once, never tried.
        static bool told = false;
        if (!told)
            Messages::plain(Backup::kBackupsOff);
        told = true;
        return;
    }
    if (Backup::madeOn(request.root, request.moment.date()))
        return;
    request.oncePerDay = true;
    request.cancel = &m_cancel;
    request.progress = [this](qint64 done, qint64 total) {
        m_done = done;
        m_total = total;
    };
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_failed = false;
    m_thread = QThread::create([this, request] {
        try {
            Backup::make(request);
        } catch (const Backup::Cancelled &) {
        } catch (const std::exception &) {
            m_failed = true;
        }
    });
    connect(m_thread, &QThread::finished, this, &DailyBackup::ended);
    m_thread->start(QThread::LowPriority);
    m_delay->start();
}

void DailyBackup::showWindow()
{
    if (!m_thread)
        return;
    m_window = new TfrmCopiaSicurezza;
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->showProgress(m_done, m_total);
    m_window->show();
    m_refresh->start();
}

void DailyBackup::ended()
{
    m_delay->stop();
    m_refresh->stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (m_window)
        m_window->close();
    if (m_failed)
        Messages::caution(kFailed);
    emit finished();
}

} // namespace qv
