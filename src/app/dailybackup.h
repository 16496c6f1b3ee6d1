#pragma once
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

// The window of a backup that takes more than a moment. It never takes the
// focus from the window the user works in, and hiding it leaves the backup
// running.
class TfrmCopiaSicurezza : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCopiaSicurezza(QWidget *parent = nullptr);

    QLabel *lblStato;
    QProgressBar *prbCopia;
    QPushButton *cmdNascondi;

    void showProgress(qint64 done, qint64 total);
};

namespace qv {

// The day's backup, started after a successful login (Backup::make with
// oncePerDay): the copy runs in a thread of its own, so the user goes on
// working; after about a second a progress window appears; a backup that
// cannot be finished is removed and shown once as a warning. Destroying the
// object stops a running backup, which leaves nothing behind.
class DailyBackup : public QObject
{
    Q_OBJECT
public:
    explicit DailyBackup(QObject *parent = nullptr);
    ~DailyBackup() override;

    // Does nothing when backups are off, the day has one already, or one is
    // running. In a program folder that may not be written it says once (in
    // the life of the program) that backups are off there.
    void start();
    bool isRunning() const { return m_thread != nullptr; }
    // The progress window while it is up.
    TfrmCopiaSicurezza *progressWindow() const { return m_window; }

    static const QString kFailed;
    static constexpr int kProgressDelayMs = 1000;

signals:
    // After a backup ended and any warning was shown.
    void finished();

private:
    void showWindow();
    void ended();

    QThread *m_thread = nullptr;
    QTimer *m_delay;
    QTimer *m_refresh;
    QPointer<TfrmCopiaSicurezza> m_window;
    std::atomic<bool> m_cancel{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    bool m_failed = false; // written by the thread, read once it has ended
};

} // namespace qv
