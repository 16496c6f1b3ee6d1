#pragma once
#include "cli/command.h"

namespace qv::cli {

// quorvane-cli mail test | confirmations N | notice N | certificates N | outbox:
// mail sent through the server of the program's settings, by way of the
// same outbox the windows use.
class MailCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("mail"); }
    QString synopsis() const override;
    QString help() const override;
    int run(const Arguments &args) override;
    QStringList flagOptions() const override;
    QStringList valueOptions() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 2; }
};

} // namespace qv::cli
