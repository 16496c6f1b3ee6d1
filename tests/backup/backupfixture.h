#pragma once
// A program folder for the backup tests: the three kinds of archive, the
// password file and two attachments, built byte by byte.
#include "backup/backup.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>

namespace backuptest {

constexpr int kEventLength = 3645;
constexpr int kParticipantLength = 3372;
constexpr int kReservationLength = 829;

// A record whose first field (a counted string at offset 0 in every layout)
// holds `tag`; every other byte zero, which the archive check accepts.
inline QByteArray record(int length, const QByteArray &tag)
{
    QByteArray bytes(length, '\0');
    bytes[0] = char(tag.size());
    bytes.replace(1, tag.size(), tag);
    return bytes;
}

inline QByteArray records(int length, const QByteArray &prefix, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += record(length, prefix + QByteArray::number(i + 1));
    return bytes;
}

inline QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The file number: two names of one file have the same.
inline qulonglong inode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qulonglong(st.st_ino) : 0;
}

inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

struct Sample
{
    qvtest::TempProgramFolder folder;

    Sample()
    {
        folder.write("Eventi.pro", records(kEventLength, "Evento ", 3));
        folder.write("Partecipanti.pro", records(kParticipantLength, "Partecipante ", 5));
        folder.write("Posti_Riservati_Evento_1.pro", records(kReservationLength, "Posto ", 4));
        folder.write("unins000.dll", "[Accesso]\r\nValore=4A4B\r\n");
        QDir().mkpath(folder.file("Documenti_Allegati"));
        folder.write("Documenti_Allegati/programma.pdf", "%PDF-1.4 programma");
        folder.write("Documenti_Allegati/nome con spazi.txt", "testo");
    }

    QString root() const { return folder.file("Backup"); }

    qv::Backup::Request request(const QDateTime &moment, int copies = 14, bool attachments = false) const
    {
        qv::Backup::Request r;
        r.programFolder = folder.path();
        r.iniFile = folder.file("unins000.dll");
        r.root = root();
        r.moment = moment;
        r.settings.copies = copies;
        r.settings.attachments = attachments;
        return r;
    }

    qv::Backup::Outcome make(const QDateTime &moment, int copies = 14, bool attachments = false) const
    {
        return *qv::Backup::make(request(moment, copies, attachments));
    }

    QString inBackup(const QString &name, const QString &file) const { return root() + '/' + name + '/' + file; }
};

inline QDateTime at(int day, int hour = 9, int minute = 30)
{
    return QDateTime(QDate(2030, 2, day), QTime(hour, minute));
}

} // namespace backuptest
