#pragma once
#include "cli/command.h"

namespace qv::cli {

// certificates N [--rule every-day|any-day|hours:NN] [--output FILE] [--each DIR]:
// the certificates of attendance of event N, one page a person who qualifies,
// in one PDF and, on request, one file a person.
class CertificatesCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("certificates"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override
    {
        return {QStringLiteral("--rule"), QStringLiteral("--output"), QStringLiteral("--each")};
    }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

// signatures N [--day DATE] [--output FILE]: the signature sheet of one day of
// event N as PDF.
class SignaturesCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("signatures"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--day"), QStringLiteral("--output")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(const Arguments &args) override;
};

// Whether the command named draws pages, and so needs the fonts of a
// graphical (offscreen) application.
bool drawsPages(const QString &command);

} // namespace qv::cli
