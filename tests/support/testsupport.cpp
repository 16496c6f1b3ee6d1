#include "support/testsupport.h"

#include <csignal>
#include <sys/resource.h>

#include "core/tmisc.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "ui/filechooser.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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
    TMisc::setOpener([this](const QString &command) {
        commands.append(command);
        return opens;
    });
}

ShellRecorder::~ShellRecorder()
{
    TMisc::setOpener({});
}

FileChooserAnswer::FileChooserAnswer()
{
    qv::FileChooser::setHandler([this](QWidget *, const QString &title, const QString &filter) {
        ++opened;
        this->title = title;
        filters = filter.split(QStringLiteral(";;"));
        return open;
    });
    qv::FileChooser::setSaveHandler([this](QWidget *, const QString &title, const QStringList &filters,
                                           const QString &selected, const QString &suggested) {
        ++saved;
        this->title = title;
        this->filters = filters;
        this->selected = selected;
        this->suggested = suggested;
        return qv::FileChooser::SaveChoice{save, save.isEmpty() ? QString() : filter.isEmpty() ? selected : filter};
    });
}

FileChooserAnswer::~FileChooserAnswer()
{
    qv::FileChooser::setHandler({});
    qv::FileChooser::setSaveHandler({});
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

ReadOnly::ReadOnly(const QString &path) : m_path(path)
{
    if (geteuid() != 0) {
        m_permissions = int(QFile::permissions(path));
        const bool folder = QFileInfo(path).isDir();
        m_ok = QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser
                                               | (folder ? QFile::ExeOwner | QFile::ExeUser : QFile::Permissions()));
    } else {
        m_ok = m_immutable = setImmutable(true);
    }
}

ReadOnly::~ReadOnly()
{
    if (m_immutable)
        setImmutable(false);
    else if (m_ok)
        QFile::setPermissions(m_path, QFile::Permissions(m_permissions));
}

bool ReadOnly::setImmutable(bool on)
{
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
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
