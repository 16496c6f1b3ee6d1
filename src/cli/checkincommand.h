#pragma once
#include "cli/command.h"

namespace qv::cli {

// checkin N TEXT [--exit] [--at "dd/mm/yyyy hh:mm"]: the check-in desk's
// line for a script or a kiosk. A badge, or the seat of one booking, passes
// by the desk's own rules; what the desk would have someone choose from is
// refused, since a script cannot choose.
class CheckInCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("checkin"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList flagOptions() const override { return {QStringLiteral("--exit")}; }
    QStringList valueOptions() const override { return {QStringLiteral("--at")}; }
    int minArguments() const override { return 2; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;
};

} // namespace qv::cli
