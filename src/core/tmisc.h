#pragma once
#include <QString>
#include <QStringList>

#include <functional>

// Hands a document, a web address or a "mailto:" text to the desktop, which
// opens it with the program the user associated with it. The answer is false
// when the desktop's opener could not be started or gave up at once (no
// program for that kind of file, a missing file); what the opened program
// does later is its own affair.
class TMisc
{
public:
    [[nodiscard]] static bool Open(const QString &command);

    // "..." around a text, so that blanks inside it do not split it.
    static QString Wrapped(const QString &text);
    // The program folder + name, wrapped: what callers hand over for a file.
    static QString ProgramFile(const QString &name);

    // Tests replace the opener and receive the exact command text.
    using Opener = std::function<bool(const QString &command)>;
    static void setOpener(Opener opener); // an empty opener restores the desktop's
    static bool openWithDesktop(const QString &command);
};

namespace qv {

// "mailto:" + trimmed address [+ "?subject=" + subject] [+ "&body=" + body],
// subject and body percent-encoded as UTF-8 (RFC 6068), so no character of
// theirs can cut or garble the message; the address keeps its own characters
// and has only "%", "?", "#", "&", blanks, quotes and non-ASCII encoded.
// Addresses in `bcc` come first, as "?bcc=" + the trimmed addresses joined
// by ",", each encoded as a header value wants (a "," or "=" of its own too).
QString mailtoText(const QString &address, const QString &subject = {}, const QString &body = {},
                   const QStringList &bcc = {});
// Composes a new message in the user's mail program; false as TMisc::Open.
[[nodiscard]] bool composeMail(const QString &address, const QString &subject = {}, const QString &body = {},
                 const QStringList &bcc = {});

// The maker's addresses.
extern const QString kWebAddress;
extern const QString kInfoEmail;

} // namespace qv
