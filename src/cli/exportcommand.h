#pragma once
#include "cli/command.h"

#include <memory>

namespace qv::cli {

struct ArchiveKind;

// What an export writes: the archive of one kind (for reservations, of one
// event) as the spreadsheet file of the export windows.
struct ExportRequest
{
    const ArchiveKind *kind = nullptr;
    qint64 eventNumber = 0; // reservations only
    QString archivePath;
};

// The spreadsheet document writer seen from the command line: one small
// class over the writer the export windows use.
class ExportWriter
{
public:
    virtual ~ExportWriter() = default;
    // Writes the file and returns its path; raises CliError on failure.
    virtual QString write(const ExportRequest &request) = 0;
};

// The writer of the export windows: the same file, in the program folder.
class SpreadsheetExportWriter : public ExportWriter
{
public:
    QString write(const ExportRequest &request) override;
};

// export events|participants|reservations [N]
class ExportCommand : public Command
{
public:
    // Without a writer the command says it is not available.
    explicit ExportCommand(std::unique_ptr<ExportWriter> writer = std::make_unique<SpreadsheetExportWriter>());
    ~ExportCommand() override;

    QString name() const override { return QStringLiteral("export"); }
    QString synopsis() const override;
    QString help() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 2; }
    int run(const Arguments &args) override;

private:
    std::unique_ptr<ExportWriter> m_writer;
};

} // namespace qv::cli
