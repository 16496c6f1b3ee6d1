// Interposed file calls for the fault sweep: this executable defines the C
// library's file functions itself, so every call the program makes - its own
// and Qt's - passes here first. While armed on a thread, the calls of that
// thread are counted by kind, and the chosen call of a kind fails with EIO
// as a failing disk or a dropped network share would make it fail.
#undef _FORTIFY_SOURCE
#include "faultinjection.h"

#include <array>
#include <cerrno>
#include <cstdarg>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace faults {
namespace {

thread_local bool t_armed = false;
thread_local Kind t_kind = Kind::Count;
thread_local int t_failAt = 0;
thread_local bool t_failed = false;
thread_local std::array<int, kKinds> t_counts{};
bool s_syncsSkipped = false;

// True when this call is the one to fail. Syncs that are not to fail are
// skipped altogether: they only make the sweep slow.
bool hit(Kind kind)
{
    if (!t_armed)
        return false;
    const int n = ++t_counts[size_t(kind)];
    if (kind == t_kind && n == t_failAt) {
        t_failed = true;
        return true;
    }
    return false;
}

template<typename F>
F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int eio()
{
    errno = EIO;
    return -1;
}

} // namespace

const char *name(Kind kind)
{
    static const char *const names[kKinds] = {"open", "read", "write", "seek", "truncate", "sync", "close",
                                              "stat", "rename", "link", "unlink", "mkdir", "lock", "readdir"};
    return names[size_t(kind)];
}

void skipSyncs(bool skip)
{
    s_syncsSkipped = skip;
}

void arm(Kind kind, int n)
{
    t_counts.fill(0);
    t_kind = kind;
    t_failAt = n;
    t_failed = false;
    t_armed = true;
}

void count()
{
    arm(Kind::Count, 0);
}

Result disarm()
{
    t_armed = false;
    return {t_counts, t_failed};
}

} // namespace faults

using faults::Kind;
using faults::hit;

#define QV_REAL(type, fn) static const auto real_##fn = faults::real<type>(#fn)

extern "C" {

static int openWith(const char *fn, int (*realOpen)(const char *, int, ...), const char *path, int flags,
                    va_list ap)
{
    (void)fn;
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE))
        mode = mode_t(va_arg(ap, int));
    if (hit(Kind::Open))
        return faults::eio();
    return realOpen(path, flags, mode);
}

int open(const char *path, int flags, ...)
{
    QV_REAL(int (*)(const char *, int, ...), open);
    va_list ap;
    va_start(ap, flags);
    const int fd = openWith("open", real_open, path, flags, ap);
    va_end(ap);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    QV_REAL(int (*)(const char *, int, ...), open64);
    va_list ap;
    va_start(ap, flags);
    const int fd = openWith("open64", real_open64, path, flags, ap);
    va_end(ap);
    return fd;
}

ssize_t read(int fd, void *buffer, size_t size)
{
    QV_REAL(ssize_t (*)(int, void *, size_t), read);
    return hit(Kind::Read) ? faults::eio() : real_read(fd, buffer, size);
}

ssize_t pread64(int fd, void *buffer, size_t size, off64_t offset)
{
    QV_REAL(ssize_t (*)(int, void *, size_t, off64_t), pread64);
    return hit(Kind::Read) ? faults::eio() : real_pread64(fd, buffer, size, offset);
}

ssize_t write(int fd, const void *buffer, size_t size)
{
    QV_REAL(ssize_t (*)(int, const void *, size_t), write);
    return hit(Kind::Write) ? faults::eio() : real_write(fd, buffer, size);
}

ssize_t pwrite64(int fd, const void *buffer, size_t size, off64_t offset)
{
    QV_REAL(ssize_t (*)(int, const void *, size_t, off64_t), pwrite64);
    return hit(Kind::Write) ? faults::eio() : real_pwrite64(fd, buffer, size, offset);
}

off_t lseek(int fd, off_t offset, int whence)
{
    QV_REAL(off_t (*)(int, off_t, int), lseek);
    return hit(Kind::Seek) ? faults::eio() : real_lseek(fd, offset, whence);
}

off64_t lseek64(int fd, off64_t offset, int whence)
{
    QV_REAL(off64_t (*)(int, off64_t, int), lseek64);
    return hit(Kind::Seek) ? faults::eio() : real_lseek64(fd, offset, whence);
}

int ftruncate(int fd, off_t size)
{
    QV_REAL(int (*)(int, off_t), ftruncate);
    return hit(Kind::Truncate) ? faults::eio() : real_ftruncate(fd, size);
}

int ftruncate64(int fd, off64_t size)
{
    QV_REAL(int (*)(int, off64_t), ftruncate64);
    return hit(Kind::Truncate) ? faults::eio() : real_ftruncate64(fd, size);
}

int fsync(int fd)
{
    QV_REAL(int (*)(int), fsync);
    if (faults::t_armed)
        return hit(Kind::Sync) ? faults::eio() : 0;
    return faults::s_syncsSkipped ? 0 : real_fsync(fd);
}

int fdatasync(int fd)
{
    QV_REAL(int (*)(int), fdatasync);
    if (faults::t_armed)
        return hit(Kind::Sync) ? faults::eio() : 0;
    return faults::s_syncsSkipped ? 0 : real_fdatasync(fd);
}

// A close that fails has still released the descriptor, as on Linux.
int close(int fd)
{
    QV_REAL(int (*)(int), close);
    const int result = real_close(fd);
    return hit(Kind::Close) ? faults::eio() : result;
}

int stat(const char *path, struct stat *st)
{
    QV_REAL(int (*)(const char *, struct stat *), stat);
    return hit(Kind::Stat) ? faults::eio() : real_stat(path, st);
}

int stat64(const char *path, struct stat64 *st)
{
    QV_REAL(int (*)(const char *, struct stat64 *), stat64);
    return hit(Kind::Stat) ? faults::eio() : real_stat64(path, st);
}

int lstat64(const char *path, struct stat64 *st)
{
    QV_REAL(int (*)(const char *, struct stat64 *), lstat64);
    return hit(Kind::Stat) ? faults::eio() : real_lstat64(path, st);
}

int fstat64(int fd, struct stat64 *st)
{
    QV_REAL(int (*)(int, struct stat64 *), fstat64);
    return hit(Kind::Stat) ? faults::eio() : real_fstat64(fd, st);
}

int fstat(int fd, struct stat *st)
{
    QV_REAL(int (*)(int, struct stat *), fstat);
    return hit(Kind::Stat) ? faults::eio() : real_fstat(fd, st);
}

int fstatat(int dirfd, const char *path, struct stat *st, int flags)
{
    QV_REAL(int (*)(int, const char *, struct stat *, int), fstatat);
    return hit(Kind::Stat) ? faults::eio() : real_fstatat(dirfd, path, st, flags);
}

int statx(int dirfd, const char *path, int flags, unsigned int mask, struct statx *st)
{
    QV_REAL(int (*)(int, const char *, int, unsigned int, struct statx *), statx);
    return hit(Kind::Stat) ? faults::eio() : real_statx(dirfd, path, flags, mask, st);
}

int rename(const char *from, const char *to)
{
    QV_REAL(int (*)(const char *, const char *), rename);
    return hit(Kind::Rename) ? faults::eio() : real_rename(from, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned int flags)
{
    QV_REAL(int (*)(int, const char *, int, const char *, unsigned int), renameat2);
    return hit(Kind::Rename) ? faults::eio() : real_renameat2(fromDir, from, toDir, to, flags);
}

int link(const char *existing, const char *name)
{
    QV_REAL(int (*)(const char *, const char *), link);
    return hit(Kind::Link) ? faults::eio() : real_link(existing, name);
}

int linkat(int fromDir, const char *existing, int toDir, const char *name, int flags)
{
    QV_REAL(int (*)(int, const char *, int, const char *, int), linkat);
    return hit(Kind::Link) ? faults::eio() : real_linkat(fromDir, existing, toDir, name, flags);
}

int unlink(const char *path)
{
    QV_REAL(int (*)(const char *), unlink);
    return hit(Kind::Unlink) ? faults::eio() : real_unlink(path);
}

int mkdir(const char *path, mode_t mode)
{
    QV_REAL(int (*)(const char *, mode_t), mkdir);
    return hit(Kind::Mkdir) ? faults::eio() : real_mkdir(path, mode);
}

int rmdir(const char *path)
{
    QV_REAL(int (*)(const char *), rmdir);
    return hit(Kind::Unlink) ? faults::eio() : real_rmdir(path);
}

// Only the locks: the other commands of fcntl are no file access.
int fcntl(int fd, int command, ...)
{
    QV_REAL(int (*)(int, int, ...), fcntl);
    va_list ap;
    va_start(ap, command);
    void *argument = va_arg(ap, void *);
    va_end(ap);
    const bool lock = command == F_SETLK || command == F_SETLKW || command == F_GETLK || command == F_OFD_SETLK
                      || command == F_OFD_SETLKW || command == F_OFD_GETLK;
    if (lock && hit(Kind::Lock))
        return faults::eio();
    return real_fcntl(fd, command, argument);
}

struct dirent64 *readdir64(DIR *dir)
{
    QV_REAL(struct dirent64 *(*)(DIR *), readdir64);
    if (hit(Kind::Readdir)) {
        errno = EIO;
        return nullptr;
    }
    return real_readdir64(dir);
}

} // extern "C"
