#include "archive/archivelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qv {

namespace {

#ifdef Q_OS_WIN
constexpr std::intptr_t kNoHandle = -1;

std::intptr_t openLockFile(const QString &path, bool create)
{
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<std::intptr_t>(h);
}

void closeLockFile(std::intptr_t handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

// 1: locked; 0: held by someone else; -1: failed.
int lockWhole(std::intptr_t handle)
{
    OVERLAPPED overlapped = {};
    if (LockFileEx(reinterpret_cast<HANDLE>(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                   MAXDWORD, MAXDWORD, &overlapped))
        return 1;
    return GetLastError() == ERROR_LOCK_VIOLATION ? 0 : -1;
}

void unlockWhole(std::intptr_t handle)
{
    OVERLAPPED overlapped = {};
    UnlockFileEx(reinterpret_cast<HANDLE>(handle), 0, MAXDWORD, MAXDWORD, &overlapped);
}

bool probeHeld(std::intptr_t handle)
{
    // Windows has no query: a lock taken and given back at once tells.
    const int got = lockWhole(handle);
    if (got == 1)
        unlockWhole(handle);
    return got == 0;
}
#else
constexpr std::intptr_t kNoHandle = -1;

std::intptr_t openLockFile(const QString &path, bool create)
{
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do
        fd = create ? ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)
                    : ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

void closeLockFile(std::intptr_t handle)
{
    ::close(static_cast<int>(handle));
}

struct flock wholeFile(short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // to the end, however long the file grows
    return lock;
}

// 1: locked; 0: held by someone else; -1: failed.
int lockWhole(std::intptr_t handle)
{
    struct flock lock = wholeFile(F_WRLCK);
    int result;
    do
        result = ::fcntl(static_cast<int>(handle), F_OFD_SETLK, &lock);
    while (result < 0 && errno == EINTR);
    if (result == 0)
        return 1;
    return errno == EAGAIN || errno == EACCES ? 0 : -1;
}

void unlockWhole(std::intptr_t handle)
{
    struct flock lock = wholeFile(F_UNLCK);
    ::fcntl(static_cast<int>(handle), F_OFD_SETLK, &lock);
}

bool probeHeld(std::intptr_t handle)
{
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(static_cast<int>(handle), F_OFD_GETLK, &lock) != 0)
        return false;
    return lock.l_type != F_UNLCK;
}
#endif

} // namespace

ArchiveLock::ArchiveLock(const QString &archivePath) : m_path(lockPath(archivePath)) {}

ArchiveLock::~ArchiveLock()
{
    release();
}

QString ArchiveLock::lockPath(const QString &archivePath)
{
    return archivePath + QStringLiteral(".lock");
}

bool ArchiveLock::tryOnce()
{
    if (m_handle == kNoHandle)
        m_handle = openLockFile(m_path, true);
    if (m_handle == kNoHandle)
        return false;
    const int got = lockWhole(m_handle);
    if (got < 0) {
        closeLockFile(m_handle);
        m_handle = kNoHandle;
    }
    m_held = got == 1;
    return m_held;
}

bool ArchiveLock::acquire(int timeoutMs)
{
    if (m_held)
        return true;
    // Writes take milliseconds: short pauses of random length keep desks
    // that save in bursts from waiting in step with one another.
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    for (;;) {
        if (tryOnce())
            return true;
        if (m_handle == kNoHandle || deadline.hasExpired())
            return false;
        QThread::usleep(500 + QRandomGenerator::global()->bounded(2000));
    }
}

void ArchiveLock::release()
{
    if (m_handle == kNoHandle)
        return;
    if (m_held)
        unlockWhole(m_handle);
    closeLockFile(m_handle);
    m_handle = kNoHandle;
    m_held = false;
}

bool ArchiveLock::isHeld() const
{
    return m_held;
}

bool ArchiveLock::heldElsewhere(const QString &archivePath)
{
    const std::intptr_t handle = openLockFile(lockPath(archivePath), false);
    if (handle == kNoHandle)
        return false;
    const bool held = probeHeld(handle);
    closeLockFile(handle);
    return held;
}

} // namespace qv
