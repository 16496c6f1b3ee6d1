#pragma once
#include <QString>

#include <cstdint>

namespace qv {

// The write lock of an archive: a lock on the whole of "<archive>.lock", a
// file beside the archive that is created once and never removed. The lock
// belongs to the open file (an open-file-description lock on POSIX,
// LockFileEx on Windows), so it excludes other desks and other handles of the
// same process alike, and the system releases it when a desk dies: nothing is
// ever guessed from process ids or file times. The archive itself is never
// locked, so readers go on reading during a write.
class ArchiveLock
{
public:
    explicit ArchiveLock(const QString &archivePath);
    ~ArchiveLock();
    ArchiveLock(const ArchiveLock &) = delete;
    ArchiveLock &operator=(const ArchiveLock &) = delete;

    // Tries at once, then again after short random pauses until timeoutMs
    // has passed. False when another holder keeps it or the lock file cannot
    // be opened (a folder that may not be written).
    bool acquire(int timeoutMs);
    void release();
    bool isHeld() const;

    static QString lockPath(const QString &archivePath);
    // Whether some desk holds the lock of this archive right now (a write in
    // progress). Creates nothing.
    static bool heldElsewhere(const QString &archivePath);

private:
    bool tryOnce();

    QString m_path;
    std::intptr_t m_handle = -1;
    bool m_held = false;
};

} // namespace qv
