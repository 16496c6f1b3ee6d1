#pragma once
#include "mail/mailbatch.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

class QWidget;

// Sending from a window: the password obtained, the batch run on a thread
// of its own while the window keeps answering (progress, "Annulla invio").
namespace qv::MailSend {

struct Feedback
{
    std::function<void(int done, int total, const QString &doing)> progress; // on the window's thread
    const std::atomic<bool> *cancel = nullptr; // read between messages
};

struct Result
{
    Mail::BatchReport report;
    QString failure; // the outbox could not be read or written
};

// Nothing when the user did not give the password.
std::optional<Result> run(QWidget *owner, Mail::Outbox &outbox, const Mail::Settings &settings, const QStringList &ids,
                          const Mail::BatchOptions &options, const Feedback &feedback);

// The settings, or a caution shown (what is missing, and where to set it)
// and nothing.
std::optional<Mail::Settings> readySettings(QWidget *owner);

} // namespace qv::MailSend
