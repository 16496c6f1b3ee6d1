#include "archive/filesync.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv {

bool syncFile(QFile &file)
{
    if (!file.isOpen() || !file.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
#else
    // The data and what is needed to read it back (the size), not the times.
    int result;
    do
        result = ::fdatasync(file.handle());
    while (result < 0 && errno == EINTR);
    return result == 0;
#endif
}

qint64 fileSize(const QFile &file)
{
    if (!file.isOpen())
        return -1;
#ifdef Q_OS_WIN
    return file.size();
#else
    struct stat st = {};
    if (::fstat(file.handle(), &st) != 0)
        return -1;
    return qint64(st.st_size);
#endif
}

void syncFolderOf(const QString &filePath)
{
#ifndef Q_OS_WIN // NTFS keeps its own journal of names
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(filePath);
#endif
}

} // namespace qv
