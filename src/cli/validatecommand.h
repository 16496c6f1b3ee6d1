#pragma once
#include "cli/command.h"

namespace qv::cli {

// validate cf|piva|carta|iban TEXT: the check dialogs' verdict.
class ValidateCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("validate"); }
    QString synopsis() const override;
    QString help() const override;
    int minArguments() const override { return 2; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
