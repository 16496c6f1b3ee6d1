#pragma once
#include "cli/command.h"

namespace qv::cli {

// backup [--to DIR]: a backup of the program folder now;
// backup list: the backups with date, files, size and whether each verifies;
// backup verify [NAME]: the manifest's hashes and the archive check of every copy.
class BackupCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("backup"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--to")}; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;

    // The folder of a backup: NAME in the folder of the backups, or a path
    // to a backup folder. Raises a file error when there is none.
    static QString backupFolder(const QString &root, const QString &name);
    // "12,3 MB".
    static QString megabytes(qint64 bytes);

private:
    int make(const QString &root);
    int list(const QString &root);
    int verify(const QString &root, const QString &name);
};

} // namespace qv::cli
