#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// Files, web addresses and new messages handed to the desktop's programs.
// When the desktop cannot start the program, a box over `owner` says so and
// the answer is false; for a file it names where the file is, so the user can
// open it by hand.
namespace qv::Desktop {

bool openFile(const QString &path, QWidget *owner);
bool openAddress(const QString &address, QWidget *owner);
bool composeMail(const QString &address, const QString &subject, const QString &body, const QStringList &bcc,
                 QWidget *owner);

extern const QString kMailProgramFailed;

} // namespace qv::Desktop
