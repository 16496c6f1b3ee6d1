#pragma once
#include "cli/command.h"

namespace qv::cli {

// restore NAME [--yes]: the program folder put back as a backup holds it,
// after a backup of the current state.
class RestoreCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("restore"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override { return {QStringLiteral("--yes")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
