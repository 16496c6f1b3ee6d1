#pragma once
#include "cli/command.h"

namespace qv::cli {

// stats N | --year Y [--format text|json|csv]: the statistics of an event or
// of a year, the numbers the statistics window draws.
class StatsCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("stats"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--format"), QStringLiteral("--year"), QStringLiteral("--day")}; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
