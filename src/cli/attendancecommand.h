#pragma once
#include "cli/command.h"

namespace qv::cli {

// attendance N [--format csv|jsonl]: the bookings of event N in seat order,
// each with its entry and exit at the door on every day of the event (and on
// any other day with a record).
class AttendanceCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("attendance"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--format")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
