#include "imports/ziparchive.h"

#include "imports/sourcetable.h"

#include <QFile>

#include <unzip.h>

namespace qv::imports {

namespace {

ImportError damaged(const QString &path)
{
    return ImportError(
        QStringLiteral("%1 non \u00E8 una cartella di lavoro di Excel leggibile (file .xlsx danneggiato).")
            .arg(quotedPath(path)));
}

// The member opened last, read through minizip.
class MemberDevice : public QIODevice
{
public:
    MemberDevice(unzFile zip, const QString &path) : m_zip(zip), m_path(path) { open(QIODevice::ReadOnly); }
    ~MemberDevice() override { unzCloseCurrentFile(m_zip); }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return QIODevice::bytesAvailable() == 0 && unzeof(m_zip) == 1; }
    qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + (unzeof(m_zip) == 1 ? 0 : 1); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const int read = unzReadCurrentFile(m_zip, data, unsigned(std::min<qint64>(maxSize, 1 << 20)));
        if (read < 0) {
            setErrorString(QStringLiteral("file .xlsx danneggiato"));
            return -1;
        }
        return read;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    unzFile m_zip;
    QString m_path;
};

} // namespace

ZipArchive::ZipArchive(const QString &path) : m_path(path)
{
    m_zip = unzOpen64(QFile::encodeName(path).constData());
    if (!m_zip)
        throw damaged(path);
}

ZipArchive::~ZipArchive()
{
    if (m_zip)
        unzClose(static_cast<unzFile>(m_zip));
}

bool ZipArchive::contains(const QString &member) const
{
    return unzLocateFile(static_cast<unzFile>(m_zip), member.toUtf8().constData(), 1) == UNZ_OK;
}

void ZipArchive::locate(const QString &member) const
{
    if (!contains(member))
        throw damaged(m_path);
}

std::unique_ptr<QIODevice> ZipArchive::open(const QString &member, qint64 *size)
{
    locate(member);
    const auto zip = static_cast<unzFile>(m_zip);
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
        || unzOpenCurrentFile(zip) != UNZ_OK)
        throw damaged(m_path);
    if (size)
        *size = qint64(info.uncompressed_size);
    return std::make_unique<MemberDevice>(zip, m_path);
}

QByteArray ZipArchive::read(const QString &member, qint64 limit)
{
    const std::unique_ptr<QIODevice> device = open(member);
    QByteArray bytes;
    char block[1 << 16];
    qint64 read = 0;
    while ((read = device->read(block, sizeof block)) > 0) {
        if (bytes.size() + read > limit)
            throw ImportError(QStringLiteral("%1: la cartella di lavoro \u00E8 troppo grande per essere letta.")
                                  .arg(quotedPath(m_path)));
        bytes.append(block, read);
    }
    if (read < 0)
        throw damaged(m_path);
    return bytes;
}

} // namespace qv::imports
