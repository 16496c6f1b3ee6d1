#pragma once
#include "output/rowsink.h"

#include <QString>

class QIODevice;

// The content lines of iCalendar (RFC 5545) and vCard (RFC 6350) files:
// "NAME;PARAMETERS:value" in UTF-8, folded into lines of at most 75 octets
// (a continuation starts with one blank, and never splits a character), each
// ended by CR LF.
namespace qv {

class ContentLines
{
public:
    explicit ContentLines(QIODevice &out) : m_out(out) {}
    // `value` as it goes into the file: escape texts with text() first.
    void line(QByteArrayView name, const QString &value);
    void flush() { m_out.flush(); }

    // A text value escaped: backslash and comma behind a backslash, a line
    // end as "\n"; other control characters become blanks. The semicolon
    // too where it separates the parts of a value (vCard N and ADR, the
    // iCalendar texts): elsewhere some readers show the backslash.
    enum class Semicolon { Escaped, AsIs };
    static QString text(const QString &value, Semicolon semicolon = Semicolon::Escaped);

private:
    BufferedOutput m_out;
};

} // namespace qv
