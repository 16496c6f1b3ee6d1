#include "imports/textsource.h"

#include "core/cp1252.h"
#include "imports/sourcetable.h"

namespace qv::imports {

namespace {

constexpr qint64 kBlock = 1 << 16;

// A UTF-8 checker fed byte by byte (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF).
class Utf8Check
{
public:
    // False when the byte breaks UTF-8.
    bool feed(unsigned char b)
    {
        if (m_needed > 0) {
            if (b < m_low || b > m_high)
                return false;
            m_low = 0x80, m_high = 0xBF;
            if (--m_needed == 0)
                m_sawMultibyte = true;
            return true;
        }
        if (b < 0x80)
            return true;
        if (b >= 0xC2 && b <= 0xDF)
            return expect(1, 0x80, 0xBF);
        if (b == 0xE0)
            return expect(2, 0xA0, 0xBF);
        if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
            return expect(2, 0x80, 0xBF);
        if (b == 0xED)
            return expect(2, 0x80, 0x9F);
        if (b == 0xF0)
            return expect(3, 0x90, 0xBF);
        if (b >= 0xF1 && b <= 0xF3)
            return expect(3, 0x80, 0xBF);
        if (b == 0xF4)
            return expect(3, 0x80, 0x8F);
        return false;
    }
    // A sequence cut by a break: start afresh.
    void reset() { m_needed = 0, m_low = 0x80, m_high = 0xBF; }
    bool midSequence() const { return m_needed > 0; }
    bool sawMultibyte() const { return m_sawMultibyte; }

private:
    bool expect(int needed, unsigned char low, unsigned char high)
    {
        m_needed = needed, m_low = low, m_high = high;
        return true;
    }
    int m_needed = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
    bool m_sawMultibyte = false;
};

ImportError unreadable(const QString &path, const QIODevice &file)
{
    return ImportError(QStringLiteral("impossibile leggere %1: %2.").arg(quotedPath(path), file.errorString()),
                       ImportError::Cause::Unreadable);
}

} // namespace

TextEncoding textEncoding(QIODevice &file, const QString &path)
{
    const QByteArray start = file.peek(3);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        throw ImportError(QStringLiteral("%1 \u00E8 un file di testo in UTF-16: salvarlo come CSV UTF-8 (oppure "
                                         "come CSV con separatore punto e virgola) e riprovare.")
                              .arg(quotedPath(path)));
    const bool marked = start == "\xEF\xBB\xBF";
    Utf8Check check;
    qint64 line = 1;
    qint64 firstBroken = 0;
    bool lastWasCr = false;
    QByteArray block;
    while (!(block = file.read(kBlock)).isEmpty()) {
        for (const char ch : std::as_const(block)) {
            const auto b = static_cast<unsigned char>(ch);
            if (!check.feed(b)) {
                if (firstBroken == 0)
                    firstBroken = line;
                check.reset();
                if (!check.feed(b)) // the byte may begin what comes next
                    check.reset();
            }
            // CR LF, LF and a lone CR each end a line.
            if (b == '\n' && !lastWasCr)
                ++line;
            else if (b == '\r')
                ++line;
            lastWasCr = b == '\r';
        }
    }
    if (const auto *device = qobject_cast<const QFileDevice *>(&file);
        device && device->error() != QFileDevice::NoError)
        throw unreadable(path, file);
    if (check.midSequence() && firstBroken == 0)
        firstBroken = line;
    if (!file.seek(0))
        throw unreadable(path, file);
    if (firstBroken == 0)
        return TextEncoding::Utf8;
    if (!check.sawMultibyte() && !marked)
        return TextEncoding::Windows1252;
    throw ImportError(QStringLiteral("%1 non \u00E8 n\u00E9 tutto in UTF-8 n\u00E9 solo in Windows-1252: la riga %2 "
                                     "contiene caratteri non validi in UTF-8, mentre altre righe sono in UTF-8 "
                                     "(forse il file \u00E8 stato composto da parti salvate in codifiche diverse). "
                                     "Correggere la riga o salvare di nuovo il file in UTF-8.")
                          .arg(quotedPath(path))
                          .arg(firstBroken));
}

DecodedText::DecodedText(const QString &path) : m_path(path), m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw unreadable(path, m_file);
    m_total = m_file.size();
    m_encoding = textEncoding(m_file, path);
    if (m_file.peek(3) == "\xEF\xBB\xBF") {
        m_file.read(3);
        m_done = 3;
    }
}

bool DecodedText::read(QString &block)
{
    const QByteArray bytes = m_file.read(kBlock);
    if (bytes.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            throw unreadable(m_path, m_file);
        return false;
    }
    m_done += bytes.size();
    block.clear();
    if (m_encoding == TextEncoding::Utf8)
        block = m_utf8.decode(bytes); // keeps a character cut by the block's end for the next
    else
        cp1252::decodeAppend(block, bytes.constData(), bytes.size());
    return true;
}

bool CharacterStream::fill()
{
    while (m_at >= m_block.size()) {
        if (!m_text.read(m_block)) {
            m_block.clear(); // at the end it stays so
            m_at = 0;
            return false;
        }
        m_at = 0;
    }
    return true;
}

QStringView CharacterStream::buffered()
{
    if (!fill())
        return {};
    return QStringView(m_block).sliced(m_at);
}

bool CharacterStream::peek(QChar &c)
{
    if (!fill())
        return false;
    c = m_block.at(m_at);
    return true;
}

bool CharacterStream::get(QChar &c)
{
    if (!fill())
        return false;
    c = m_block.at(m_at++);
    if (m_lineEnded) {
        ++m_line;
        m_lineEnded = false;
    }
    QChar next;
    if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !(peek(next) && next == QLatin1Char('\n'))))
        m_lineEnded = true;
    return true;
}

} // namespace qv::imports
