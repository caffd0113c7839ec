#include "shading.h"

#include <algorithm>
#include <cstring>

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

void paintShading(QImage& image, std::int16_t tono)
{
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0)
        return;
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    int previousBand = -1;
    const uchar* previousRow = nullptr;
    for (int y = 0; y < height; ++y) {
        const int band = bandOfRow(y, height);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (band == previousBand) {
            std::memcpy(row, previousRow, rowBytes);  // rows of one band are alike
        } else {
            std::fill_n(row, width, bandColour(band, tono));
            previousBand = band;
        }
        previousRow = reinterpret_cast<const uchar*>(row);
    }
}

} // namespace numerella
