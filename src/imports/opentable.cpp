#include "imports/opentable.h"

#include "imports/csvtable.h"
#include "imports/htmltable.h"
#include "imports/vcardtable.h"
#include "imports/xlsxtable.h"

#include <QFile>
#include <QFileInfo>

namespace qv::imports {

std::unique_ptr<SourceTable> openSourceTable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw ImportError(QStringLiteral("il file %1 non esiste.").arg(quotedPath(path)));
    if (info.isDir())
        throw ImportError(QStringLiteral("%1 \u00E8 una cartella, non un file.").arg(quotedPath(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(QStringLiteral("impossibile leggere %1: %2.").arg(quotedPath(path), file.errorString()),
                          ImportError::Cause::Unreadable);
    const QByteArray start = file.read(4096);
    file.close();
    // The compound file of Excel 97-2003 (and of other office programs).
    if (start.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw ImportError(QStringLiteral("%1 \u00E8 un foglio di Excel 97-2003 (.xls), un formato che non si pu\u00F2 "
                                         "importare: salvare il foglio come .xlsx o CSV e importare quello.")
                              .arg(quotedPath(path)));
    if (HtmlTable::looksLikeHtml(start))
        return std::make_unique<HtmlTable>(path);
    if (XlsxTable::looksLikeZip(start))
        return std::make_unique<XlsxTable>(path);
    if (VCardTable::looksLikeVCard(start))
        return std::make_unique<VCardTable>(path);
    return std::make_unique<CsvTable>(path);
}

} // namespace qv::imports
