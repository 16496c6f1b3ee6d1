#include "support/testsupport.h"

#include <csignal>
#include <sys/resource.h>

#include "core/tmisc.h"
#include "core/clock.h"
#include "core/programfolder.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qvtest {

MessageRecorder::MessageRecorder()
{
    qv::Messages::setHandler([this](qv::MessageKind kind, const QString &text) {
        messages.append({kind, text});
        if (onMessage)
            onMessage(messages.last());
        if (kind != qv::MessageKind::Question)
            return false;
        return answers.isEmpty() ? true : answers.takeFirst();
    });
}

MessageRecorder::~MessageRecorder()
{
    qv::Messages::setHandler({});
}

ShellRecorder::ShellRecorder()
{
    TMisc::setOpener([this](const QString &command) { commands.append(command); });
}

ShellRecorder::~ShellRecorder()
{
    TMisc::setOpener({});
}

TempProgramFolder::TempProgramFolder()
{
    qv::ProgramFolder::setOverride(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    qv::ProgramFolder::setOverride({});
}

QString TempProgramFolder::path() const
{
    return qv::ProgramFolder::path();
}

QString TempProgramFolder::file(const QString &name) const
{
    return qv::ProgramFolder::file(name);
}

QByteArray TempProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TempProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

FixedClock::FixedClock(const QDateTime &moment)
{
    qv::Clock::setFixed(moment);
}

FixedClock::~FixedClock()
{
    qv::Clock::setFixed({});
}

void whenModal(std::function<void(QWidget *dialog)> action, int timeoutMs)
{
    auto *timer = new QTimer;
    auto *elapsed = new QElapsedTimer;
    elapsed->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, action, timeoutMs] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            if (elapsed->elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
                delete elapsed;
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete elapsed;
        QPointer<QWidget> guard(dialog);
        action(dialog);
        if (guard && guard->isVisible()) {
            // done() rather than reject(): some dialogs close only through their own buttons.
            if (auto *d = qobject_cast<QDialog *>(guard.data()))
                d->done(QDialog::Rejected);
            else
                guard->close();
        }
    });
    timer->start();
}

QByteArray countedAt(const QByteArray &file, qint64 offset)
{
    const int n = static_cast<unsigned char>(file.at(offset));
    return file.mid(offset + 1, n);
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    // The signal that comes with an over-size write would end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previous[0] = qint64(limit.rlim_cur);
    m_previous[1] = qint64(limit.rlim_max);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{rlim_t(m_previous[0]), rlim_t(m_previous[1])};
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace qvtest
