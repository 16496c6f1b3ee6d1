#include "core/attachments.h"

#include "core/cp1252.h"
#include "core/programfolder.h"
#include "core/tmisc.h"
#include "core/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace qv::Attachments {
namespace {

// A path as the file system spells it, whatever the process locale.
std::filesystem::path nativePath(const QString &path)
{
#if defined(Q_OS_WIN)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

QString folder()
{
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati/"));
}

QString path(const QString &name)
{
    return folder() + name;
}

NameProblem nameProblem(const QString &name)
{
    // The card keeps the name trimmed, in Windows-1252, composed: a name that
    // any of these would change no longer names the copy.
    if (name.isEmpty() || trimmed(name) != name || name.normalized(QString::NormalizationForm_C) != name)
        return NameProblem::NotStorable;
    for (const QChar c : name)
        if (c.unicode() < 32 || !cp1252::canEncode(c))
            return NameProblem::NotStorable;
    if (name.size() > kNameLength)
        return NameProblem::TooLong;
    return NameProblem::None;
}

bool isBareName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
#if defined(Q_OS_WIN)
           && !name.contains(QLatin1Char(':'))
#endif
        ;
}

QString openPath(const QString &name)
{
    const QString bare = trimmed(name);
    if (!isBareName(bare))
        return {};
    return QDir::toNativeSeparators(path(bare));
}

bool ensureFolder()
{
    return QDir().mkpath(folder()) && QFileInfo(folder()).isDir();
}

bool isSameFile(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

bool copyFile(const QString &source, const QString &target)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    // The copy is written under a short temporary name beside the target (a
    // target name may already be as long as the file system allows) and then
    // renamed over it in one step.
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.qv_allegato_XXXXXX"));
    if (!out.open())
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (out.write(buffer, got) != got)
            return false;
    }
    if (!out.flush())
        return false;
    // Other workstations sharing the folder must be able to open the copy.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                       | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    out.close();
    std::error_code error;
    std::filesystem::rename(nativePath(out.fileName()), nativePath(target), error);
    if (error)
        return false;
    out.setAutoRemove(false);
    return true;
}

} // namespace qv::Attachments
