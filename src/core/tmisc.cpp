#include "core/tmisc.h"

#include "core/programfolder.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace {

// How long the opener has to start, and to give up if it will.
constexpr int kOpenerStart = 5000;
constexpr int kOpenerVerdict = 1500;

TMisc::Opener &currentOpener()
{
    static TMisc::Opener opener;
    return opener;
}
} // namespace

bool TMisc::Open(const QString &command)
{
    return currentOpener() ? currentOpener()(command) : openWithDesktop(command);
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

bool TMisc::openWithDesktop(const QString &command)
{
    // The quotes only delimit the target: the opener gets it as one argument,
    // started directly, never through a shell.
    QString target = command;
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    if (target.isEmpty())
        return false;
#if defined(Q_OS_MACOS)
    const QString program = QStringLiteral("open");
#elif defined(Q_OS_WIN)
    const QString program = QStringLiteral("explorer");
#else
    const QString program = QStringLiteral("xdg-open");
#endif
    // The desktop's opener finds the program and hands the target over; when
    // it cannot (no program for that kind of file, a missing file) it ends at
    // once with an error. One still running after a moment has started the
    // program itself, or is the program: it is left running, and ends when it
    // will.
    auto *process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, QStringList{target});
    if (!process->waitForStarted(kOpenerStart))
        return false;
    if (!process->waitForFinished(kOpenerVerdict))
        return process->state() != QProcess::NotRunning;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
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

bool composeMail(const QString &address, const QString &subject, const QString &body, const QStringList &bcc)
{
    return TMisc::Open(TMisc::Wrapped(mailtoText(address, subject, body, bcc)));
}

} // namespace qv
