#pragma once
#include "ui/messages.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class QWidget;

namespace qvtest {

// Records every message box instead of showing it; questions are answered
// from a queue (Yes when it is empty).
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    struct Message
    {
        qv::MessageKind kind;
        QString text;
    };
    QList<Message> messages;
    QList<bool> answers;
    // Runs on every message, e.g. to look at the state while the box is up.
    std::function<void(const Message &)> onMessage;

    int count() const { return int(messages.size()); }
    const Message &last() const { return messages.last(); }
    void clear() { messages.clear(); }
};

// Records every text handed to the desktop's open operation.
class ShellRecorder
{
public:
    ShellRecorder();
    ~ShellRecorder();
    QStringList commands;
    bool opens = true; // false: as a desktop that has no program for it
};

// A temporary program folder for the duration of a test.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const;                 // ends with '/'
    QString file(const QString &name) const;
    QByteArray read(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};

// Answers the file dialogs instead of showing them, and records what they
// were asked: the open dialog with `open`, the save dialog with `save` and
// the filter `filter` (an empty path is a cancel; an empty filter, the one
// the dialog selected).
class FileChooserAnswer
{
public:
    FileChooserAnswer();
    ~FileChooserAnswer();
    QString open;
    QString save;
    QString filter;
    int opened = 0; // calls of each dialog
    int saved = 0;
    QString title;
    QStringList filters; // those offered
    QString selected;    // the save dialog's selected filter
    QString suggested;   // the save dialog's starting path
};

// Today and now fixed for the duration of a test.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime &moment);
    ~FixedClock();
};

// While it lives, a file written by this process fails once it would grow
// past `bytes` (the write returns an error, as on a full disk or quota).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();

private:
    qint64 m_previous[2];
};

// A file or folder that may be read but not written for the life of the
// object, as on a read-only share. Root ignores permissions, so for root the
// immutable attribute is used; ok() is false where neither works.
class ReadOnly
{
public:
    explicit ReadOnly(const QString &path);
    ~ReadOnly();
    ReadOnly(const ReadOnly &) = delete;
    ReadOnly &operator=(const ReadOnly &) = delete;
    bool ok() const { return m_ok; }

private:
    bool setImmutable(bool on);

    QString m_path;
    bool m_ok = false;
    bool m_immutable = false;
    int m_permissions = 0;
};

// Runs `action` on the modal dialog once it is up (polling the event loop);
// if the dialog is still open afterwards it is closed as rejected (also one
// that closes only through its own buttons). Call before the
// code that opens the dialog.
void whenModal(std::function<void(QWidget *dialog)> action, int timeoutMs = 5000);

// A record's counted string at an offset, as an independent reader sees it.
QByteArray countedAt(const QByteArray &file, qint64 offset);

} // namespace qvtest
