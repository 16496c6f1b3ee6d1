#pragma once
#include "cli/command.h"

#include "output/exportformats.h"

#include <memory>

namespace qv::cli {

struct ArchiveKind;

// What an export writes: the archive of one kind (for reservations, of one
// event) in one of the export formats, into one file.
struct ExportRequest
{
    const ArchiveKind *kind = nullptr;
    qint64 eventNumber = 0; // reservations only
    QString archivePath;
    ExportFormat format = ExportFormat::Xls;
    QString outputPath;
};

// The export writers seen from the command line: one small class over the
// writers the export windows use.
class ExportWriter
{
public:
    virtual ~ExportWriter() = default;
    // Writes the file; raises CliError on failure.
    virtual ExportOutcome write(const ExportRequest &request) = 0;
};

// The writers of the export windows, fed from the archive as it is on the
// disk. A missing archive is exported as an empty one and not created.
class FileExportWriter : public ExportWriter
{
public:
    ExportOutcome write(const ExportRequest &request) override;
};

// export events|participants|reservations [N] [--format F] [--output FILE]
class ExportCommand : public Command
{
public:
    // Without a writer the command says it is not available.
    explicit ExportCommand(std::unique_ptr<ExportWriter> writer = std::make_unique<FileExportWriter>());
    ~ExportCommand() override;

    QString name() const override { return QStringLiteral("export"); }
    QString synopsis() const override;
    QString help() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--format"), QStringLiteral("--output")}; }
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;

    // The layout of the export windows for a kind of archive.
    static const ExportLayout &layoutOf(const ArchiveKind &kind);

private:
    std::unique_ptr<ExportWriter> m_writer;
};

} // namespace qv::cli
