#include "output/qrcode.h"

#include <qrencode.h>

#include <memory>

namespace qv {

QrCode QrCode::encode(const QByteArray &text)
{
    QrCode code;
    if (text.isEmpty() || text.contains('\0'))
        return code;
    // Case kept as it is; the library picks the modes (numeric, alphanumeric,
    // bytes) that make the smallest symbol.
    const std::unique_ptr<QRcode, void (*)(QRcode *)> symbol(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!symbol || symbol->width <= 0)
        return code;
    code.m_version = symbol->version;
    code.m_size = symbol->width;
    code.m_modules.resize(qsizetype(code.m_size) * code.m_size);
    for (qsizetype i = 0; i < code.m_modules.size(); ++i)
        code.m_modules[i] = char(symbol->data[i] & 1);
    return code;
}

bool QrCode::dark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size || y >= m_size)
        return false;
    return m_modules.at(qsizetype(y) * m_size + x) != 0;
}

QList<QRect> QrCode::darkRectangles() const
{
    // Runs along each row; a run that the row above had exactly (same start,
    // same length) and that is still open grows by a row instead.
    QList<QRect> rectangles;
    QList<qsizetype> open; // indices into rectangles ending on the row above
    for (int y = 0; y < m_size; ++y) {
        QList<qsizetype> nowOpen;
        int x = 0;
        while (x < m_size) {
            if (!dark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < m_size && dark(x, y))
                ++x;
            const QRect run(start + kQuietZone, y + kQuietZone, x - start, 1);
            qsizetype grown = -1;
            for (qsizetype i : open) {
                QRect &r = rectangles[i];
                if (r.left() == run.left() && r.width() == run.width()) {
                    r.setHeight(r.height() + 1);
                    grown = i;
                    break;
                }
            }
            if (grown < 0) {
                rectangles.append(run);
                grown = rectangles.size() - 1;
            }
            nowOpen.append(grown);
        }
        open = nowOpen;
    }
    return rectangles;
}

} // namespace qv
