#pragma once
#include "cli/command.h"

namespace qv::cli {

// import participants FILE [--map "Heading=Field"]... [--dry-run] [--force] [--with-duplicates]:
// appends the rows of a CSV, .xlsx or vCard file as participants, through
// the participant card's own import.
class ImportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override
    {
        return {QStringLiteral("--dry-run"), QStringLiteral("--force"), QStringLiteral("--with-duplicates")};
    }
    QStringList valueOptions() const override { return {QStringLiteral("--map")}; }
    int minArguments() const override { return 2; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
