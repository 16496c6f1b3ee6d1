#pragma once
#include "cli/command.h"

namespace qv::cli {

// check ARCHIVE [--kind K] [--repair]: record count and every defect of an
// archive's raw bytes; --repair writes a repaired copy beside it.
class CheckCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override { return {QStringLiteral("--repair")}; }
    QStringList valueOptions() const override { return {QStringLiteral("--kind")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;

    // How many defects the check finds in the archive at `path` (its kind
    // told by its name), printing nothing. Raises a CliError when the path
    // cannot be read or its name tells no kind.
    static qint64 defects(const QString &path);

    // Where --repair puts the copy of `path`: Name_riparato.pro beside it.
    static QString repairedPath(const QString &path);
};

} // namespace qv::cli
