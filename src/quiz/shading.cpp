#include "shading.h"

#include <QPainter>

#include <algorithm>

namespace numerella {

QRgb bandColour(int band, std::int16_t tono)
{
    const int level = std::clamp(10 * int(tono), 0, 255);
    return qRgb(level, level, std::clamp(band, 0, kBandCount - 1));
}

int bandOfRow(int row, int height)
{
    if (height <= 0)
        return 0;
    const long long centre = 2LL * row + 1;  // in half-pixels
    return static_cast<int>(std::min<long long>(kBandCount - 1, centre * kBandCount / (2LL * height)));
}

void paintShading(QPainter& painter, const QSize& size, const QRect& area, std::int16_t tono)
{
    const int height = size.height();
    const int bottom = std::min(area.bottom() + 1, height);
    int row = std::max(area.top(), 0);
    while (row < bottom) {
        const int band = bandOfRow(row, height);
        int next = row + 1;
        while (next < bottom && bandOfRow(next, height) == band)
            ++next;
        painter.fillRect(QRect(area.left(), row, area.width(), next - row), QColor(bandColour(band, tono)));
        row = next;
    }
}

} // namespace numerella
