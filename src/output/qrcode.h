#pragma once
#include <QByteArray>
#include <QList>
#include <QRect>

// QR codes as a grid of modules, made by libqrencode (error correction M),
// for the page output to draw as vector squares. Widget-free.
namespace qv {

class QrCode
{
public:
    // The light margin every reader needs around the symbol, in modules.
    static constexpr int kQuietZone = 4;

    // The symbol of `text` (bytes as they are, the smallest version that
    // holds them). Empty when the text is too long for any version.
    static QrCode encode(const QByteArray &text);

    bool isEmpty() const { return m_size == 0; }
    int version() const { return m_version; }
    // Modules across, without the quiet zone.
    int size() const { return m_size; }
    // Modules across, with the quiet zone on every side.
    int sizeWithQuietZone() const { return m_size + 2 * kQuietZone; }
    bool dark(int x, int y) const;

    // The dark modules merged into rectangles, in modules from the top left
    // of the quiet zone: each run of dark modules along a row is one
    // rectangle, and a run repeated exactly on the rows below grows down.
    QList<QRect> darkRectangles() const;

private:
    int m_version = 0;
    int m_size = 0;
    QByteArray m_modules; // m_size * m_size, row by row: 1 dark, 0 light
};

} // namespace qv
