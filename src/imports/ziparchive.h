#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

// Reading the members of a zip file (an .xlsx workbook is one), through
// minizip, the zip library libxlsxwriter uses itself. A member is read as a
// stream; sizes are capped, so a file built to unpack into far more than it
// holds is refused rather than filling the memory.
namespace qv::imports {

class ZipArchive
{
public:
    // Throws ImportError when the file is no zip file.
    explicit ZipArchive(const QString &path);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    bool contains(const QString &member) const;
    // The whole member, at most `limit` bytes; throws ImportError when it
    // is missing, damaged or larger.
    QByteArray read(const QString &member, qint64 limit);
    // The member as a sequential device (one open at a time), and its size
    // unpacked. Throws ImportError; the device's reads fail on damage.
    std::unique_ptr<QIODevice> open(const QString &member, qint64 *size = nullptr);

private:
    void locate(const QString &member) const;

    QString m_path;
    void *m_zip = nullptr;
};

} // namespace qv::imports
