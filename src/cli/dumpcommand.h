#pragma once
#include "cli/command.h"

namespace qv::cli {

// dump ARCHIVE [--kind K] [--format csv|jsonl]: every record, with its number
// and every field by name, streamed to standard output.
class DumpCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("dump"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--kind"), QStringLiteral("--format")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
