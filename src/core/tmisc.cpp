#include "core/tmisc.h"

#include "core/programfolder.h"
#include "core/text.h"

#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace {
TMisc::Opener &currentOpener()
{
    static TMisc::Opener opener;
    return opener;
}
} // namespace

void TMisc::Open(const QString &command)
{
    if (currentOpener())
        currentOpener()(command);
    else
        openWithDesktop(command);
}

void TMisc::setOpener(Opener opener)
{
    currentOpener() = std::move(opener);
}

QString TMisc::Wrapped(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString TMisc::ProgramFile(const QString &name)
{
    return Wrapped(qv::ProgramFolder::file(name));
}

void TMisc::openWithDesktop(const QString &command)
{
    // The quotes only delimit the target: the opener gets it as one argument,
    // started directly, never through a shell.
    QString target = command;
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    if (target.isEmpty())
        return;
#if defined(Q_OS_MACOS)
    const QString program = QStringLiteral("open");
#elif defined(Q_OS_WIN)
    const QString program = QStringLiteral("explorer");
#else
    const QString program = QStringLiteral("xdg-open");
#endif
    QProcess::startDetached(program, QStringList{target});
}

namespace qv {

const QString kWebAddress = QStringLiteral("https://www.quorvane.it");
const QString kInfoEmail = QStringLiteral("info@quorvane.it");

namespace {

// RFC 6068: everything but the unreserved characters (and `keep`) as %XX of
// its UTF-8 bytes, so "&", "#", "%", "?", blanks, quotes and accented letters
// reach the mail program as the user wrote them.
QString percentEncoded(const QString &text, const QByteArray &keep = {})
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

} // namespace

QString mailtoText(const QString &address, const QString &subject, const QString &body, const QStringList &bcc)
{
    // The address keeps the characters an address is made of; only those
    // that would end it or start a header are encoded.
    QString text = QStringLiteral("mailto:") + percentEncoded(trimmed(address), "@!$'()*+,;:=/");
    QStringList headers;
    if (!bcc.isEmpty()) {
        // In a header value "," separates the addresses, and "=" and "/"
        // are not allowed as they are.
        QStringList encoded;
        for (const QString &a : bcc)
            encoded.append(percentEncoded(trimmed(a), "@!$'()*+;:"));
        headers.append(QStringLiteral("bcc=") + encoded.join(QLatin1Char(',')));
    }
    if (!subject.isEmpty())
        headers.append(QStringLiteral("subject=") + percentEncoded(subject));
    if (!body.isEmpty())
        headers.append(QStringLiteral("body=") + percentEncoded(body));
    if (!headers.isEmpty())
        text += QLatin1Char('?') + headers.join(QLatin1Char('&'));
    return text;
}

void composeMail(const QString &address, const QString &subject, const QString &body, const QStringList &bcc)
{
    TMisc::Open(TMisc::Wrapped(mailtoText(address, subject, body, bcc)));
}

} // namespace qv
