#pragma once
#include "cli/command.h"

namespace qv::cli {

// import participants FILE.csv [--dry-run] [--force]: appends the rows of a
// CSV file whose header names the participant's fields.
class ImportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override { return {QStringLiteral("--dry-run"), QStringLiteral("--force")}; }
    int minArguments() const override { return 2; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
