#pragma once
#include "cli/command.h"

namespace qv::cli {

// password reset [--yes]: the first-access password back in the password file.
class PasswordCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("password"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override { return {QStringLiteral("--yes")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
