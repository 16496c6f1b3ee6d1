#include "backup/filecopy.h"

#include "archive/filesync.h"
#include "backup/backuperror.h"

#include <QCryptographicHash>
#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#ifdef QV_HAVE_OPENSSL
#include <openssl/evp.h>
#endif

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv::Backup {
namespace {

constexpr qint64 kBlock = 1 << 20;

LinkHook &linkHook()
{
    static LinkHook hook;
    return hook;
}

Error readError(const QFile &file)
{
    return Error(Error::Failed, QStringLiteral("impossibile leggere %1: %2.").arg(file.fileName(), file.errorString()));
}

Error writeError(const QFile &file)
{
    return Error(Error::Failed,
                 QStringLiteral("impossibile scrivere %1: %2.").arg(file.fileName(), file.errorString()));
}

// SHA-256 through the system's crypto library where the build found one: it
// uses the processor's SHA instructions and reads a large archive several
// times faster than Qt's own, which serves elsewhere.
class Sha256
{
public:
    Sha256()
    {
#ifdef QV_HAVE_OPENSSL
        if (!m_context || EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr) != 1)
            throw Error(Error::Failed, QStringLiteral("SHA-256 non disponibile."));
#endif
    }
    ~Sha256()
    {
#ifdef QV_HAVE_OPENSSL
        EVP_MD_CTX_free(m_context);
#endif
    }
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void add(const char *data, qint64 size)
    {
#ifdef QV_HAVE_OPENSSL
        EVP_DigestUpdate(m_context, data, size_t(size));
#else
        m_hash.addData(QByteArrayView(data, size));
#endif
    }
    QByteArray hex()
    {
#ifdef QV_HAVE_OPENSSL
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestFinal_ex(m_context, digest, &length);
        return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
#else
        return m_hash.result().toHex();
#endif
    }

private:
#ifdef QV_HAVE_OPENSSL
    EVP_MD_CTX *m_context = EVP_MD_CTX_new();
#else
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
#endif
};

// Reads `source` block by block, hashing it, and hands every block to `sink`.
Digest readHashing(const QString &source, const std::function<void(const char *, qint64)> &sink, const BlockDone &done)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw readError(in);
    Sha256 hash;
    QByteArray block(kBlock, Qt::Uninitialized);
    Digest digest;
    for (;;) {
        const qint64 got = in.read(block.data(), kBlock);
        if (got < 0)
            throw readError(in);
        if (got == 0)
            break;
        hash.add(block.constData(), got);
        if (sink)
            sink(block.constData(), got);
        digest.size += got;
        if (done)
            done(got);
    }
    digest.sha256 = hash.hex();
    return digest;
}

} // namespace

QByteArray sha256Hex(const QByteArray &bytes)
{
    Sha256 hash;
    hash.add(bytes.constData(), bytes.size());
    return hash.hex();
}

QString pathIn(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

void syncFolder(const QString &folder)
{
    syncFolderOf(pathIn(folder, QStringLiteral(".")));
}

Digest hashFile(const QString &path, const BlockDone &done)
{
    return readHashing(path, {}, done);
}

Digest copyInto(const QString &source, QFile &target, const BlockDone &done)
{
    const Digest digest = readHashing(
        source,
        [&](const char *data, qint64 size) {
            if (target.write(data, size) != size)
                throw writeError(target);
        },
        done);
    if (!syncFile(target))
        throw writeError(target);
    return digest;
}

void writeNewFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size()
        || !syncFile(file))
        throw writeError(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw writeError(file);
}

QStringList filesIn(const QString &folder)
{
    QStringList names;
#ifdef Q_OS_WIN
    names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
#else
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        if (errno == ENOENT)
            return names;
        throw Error(Error::Failed, QStringLiteral("impossibile leggere la cartella %1.").arg(folder));
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const QString name = QFile::decodeName(entry->d_name);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        bool file = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN) { // file systems that do not say: asked
            struct stat st = {};
            if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0) {
                ::closedir(dir);
                throw Error(Error::Failed, QStringLiteral("impossibile leggere %1.").arg(pathIn(folder, name)));
            }
            file = S_ISREG(st.st_mode);
        } else if (entry->d_type == DT_LNK) {
            file = QFileInfo(pathIn(folder, name)).isFile();
        }
        if (file)
            names.append(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        throw Error(Error::Failed, QStringLiteral("impossibile leggere la cartella %1.").arg(folder));
#endif
    std::sort(names.begin(), names.end());
    return names;
}

bool fileGone(const QString &path)
{
#ifdef Q_OS_WIN
    return !QFileInfo::exists(path);
#else
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
#endif
}

bool replaceFile(const QString &source, const QString &target)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(source.utf16()), reinterpret_cast<LPCWSTR>(target.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return ::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0;
#endif
}

bool hardLink(const QString &existing, const QString &link)
{
    if (linkHook())
        return linkHook()(existing, link);
#ifdef Q_OS_WIN
    return CreateHardLinkW(reinterpret_cast<LPCWSTR>(link.utf16()), reinterpret_cast<LPCWSTR>(existing.utf16()),
                           nullptr);
#else
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

void setLinkHook(LinkHook hook)
{
    linkHook() = std::move(hook);
}

QByteArray fileIdentity(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return {};
#else
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return QByteArray::number(qulonglong(st.st_dev)) + ':' + QByteArray::number(qulonglong(st.st_ino)) + ':'
           + QByteArray::number(qlonglong(st.st_size)) + ':' + QByteArray::number(qlonglong(st.st_mtim.tv_sec))
           + '.' + QByteArray::number(qlonglong(st.st_mtim.tv_nsec)) + ':'
           + QByteArray::number(qlonglong(st.st_ctim.tv_sec)) + '.' + QByteArray::number(qlonglong(st.st_ctim.tv_nsec));
#endif
}

} // namespace qv::Backup
