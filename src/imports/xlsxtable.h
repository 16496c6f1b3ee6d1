#pragma once
#include "imports/sourcetable.h"
#include "imports/ziparchive.h"

#include <QByteArray>
#include <QList>
#include <QXmlStreamReader>

#include <memory>

// Excel workbooks (.xlsx): the first worksheet, its first row with anything
// in it as the heading, the rows after it as wide as the heading at least
// (a worksheet leaves empty cells out). Texts as the cells hold them; numbers as written
// without exponent where they are whole ("3331234567", not "3.33E+09");
// cells shown as dates (their number format says so) as "dd/mm/yyyy"; other
// numbers as the sheet shows them where their format pads with zeros, shows
// a percentage or fixed decimals ("00186", "25%", "12,50"). A line break in
// a cell (Alt+Enter) is one blank, as in a CSV. The
// worksheet is read as a stream; the shared texts are kept packed in UTF-8.
namespace qv::imports {

class XlsxTable : public SourceTable
{
public:
    // Throws ImportError.
    explicit XlsxTable(const QString &path);
    ~XlsxTable() override;

    QStringList heading() const override { return m_heading; }
    bool next(SourceRow &row) override;
    qint64 done() const override;
    qint64 total() const override { return m_sheetSize; }

    static bool looksLikeZip(const QByteArray &start) { return start.startsWith("PK\x03\x04"); }

private:
    void readWorkbook();
    void readStyles();
    void readSharedStrings();
    QString sharedString(qsizetype index) const;
    QString cellText(const QString &type, int style, const QString &value) const;

    QString m_path;
    ZipArchive m_zip;
    QString m_sheetMember;
    bool m_date1904 = false;
    QList<bool> m_dateStyles;      // by cell style index
    QList<QString> m_numberFormats; // by cell style index: the code of a number format worth applying
    QByteArray m_shared;           // the shared texts, one after the other
    QList<quint32> m_sharedStarts; // where each begins; one more at the end
    std::unique_ptr<QIODevice> m_sheet;
    qint64 m_sheetSize = 0;
    QXmlStreamReader m_xml;
    QStringList m_heading;
    qint64 m_lastRow = 0;
};

} // namespace qv::imports
