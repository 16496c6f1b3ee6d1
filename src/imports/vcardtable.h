#pragma once
#include "imports/sourcetable.h"
#include "imports/textsource.h"

// vCard files (versions 2.1, 3.0 and 4.0, as address books export them): one
// row per card, under fixed headings that the participant import matches to
// the card's fields. The name is "family given" from N where it has a family
// name (the card's "Cognome e nome"), FN otherwise; the address is the home
// one (else the first); the telephones go by their type (cell, fax, work,
// home; one without a type into the home box, after the typed ones and
// only without a label of its own, "Casa al mare" say); BDAY becomes "dd/mm/yyyy". What has no
// box of its own (a second mobile, a second e-mail, ORG, a labelled
// telephone, a birthday without its year, TITLE, URL, another address) goes
// into the columns after them, which name it. Values in quoted-printable
// (version 2.1) are decoded (without CHARSET: UTF-8 where the bytes are,
// else Windows-1252); a line break in a value is kept as a blank.
namespace qv::imports {

class VCardTable : public SourceTable
{
public:
    // Throws ImportError.
    explicit VCardTable(const QString &path);

    QStringList heading() const override;
    bool next(SourceRow &row) override;
    qint64 done() const override { return m_text.done(); }
    qint64 total() const override { return m_text.total(); }

    // Whether the start of a file is a vCard file's.
    static bool looksLikeVCard(const QByteArray &start);

private:
    // The next logical line (folded lines joined) and where it starts.
    bool readLine(QString &line, qint64 &lineNumber);

    DecodedText m_text;
    CharacterStream m_chars;
};

} // namespace qv::imports
