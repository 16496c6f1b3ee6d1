#pragma once
#include <QFile>
#include <QString>
#include <QStringDecoder>

// Text files (CSV, vCard) come in UTF-8 or in Windows-1252. A file is read
// once through to tell which, then decoded as it is read.
namespace qv::imports {

enum class TextEncoding { Utf8, Windows1252 };

// UTF-8 when every byte sequence is UTF-8 (a byte-order mark says UTF-8 too);
// Windows-1252 when no byte above 127 forms a UTF-8 character. A file with
// both is a mixture that neither decoding reads right (a letter of one would
// become two of the other without a word): ImportError naming the first line
// where UTF-8 breaks. A UTF-16 file is refused too. `path` for messages.
TextEncoding textEncoding(QIODevice &file, const QString &path);

// The decoded text of a file, in blocks, with the count of bytes read.
class DecodedText
{
public:
    // Opens and checks the file (textEncoding). Throws ImportError.
    explicit DecodedText(const QString &path);
    // The next block of text; false at the end. Throws ImportError on a
    // read failure.
    bool read(QString &block);
    qint64 done() const { return m_done; }
    qint64 total() const { return m_total; }
    TextEncoding encoding() const { return m_encoding; }

private:
    QString m_path;
    QFile m_file;
    TextEncoding m_encoding = TextEncoding::Utf8;
    QStringDecoder m_utf8{QStringDecoder::Utf8};
    qint64 m_done = 0;
    qint64 m_total = 0;
};

// Characters one at a time from a DecodedText, with one of look-ahead, and
// the line count (CR LF, LF and a lone CR each end a line).
class CharacterStream
{
public:
    explicit CharacterStream(DecodedText &text) : m_text(text) {}
    // The next character; false at the end.
    bool get(QChar &c);
    // The character get() would give next, or nothing at the end.
    bool peek(QChar &c);
    // The line of the character get() gave last (from 1).
    qint64 line() const { return m_line; }
    // What is read but not yet taken (at least one character unless at the
    // end), to look ahead without taking.
    QStringView buffered();

private:
    bool fill();

    DecodedText &m_text;
    QString m_block;
    qsizetype m_at = 0;
    qint64 m_line = 1;
    bool m_lineEnded = false; // the last character ended a line
};

} // namespace qv::imports
