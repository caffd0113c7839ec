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
    uchar* const bits = image.bits();  // detaches once, not once per row
    const qsizetype stride = image.bytesPerLine();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    int y = 0;
    while (y < height) {
        const int band = bandOfRow(y, height);
        // Fill the band's first row by doubling a filled run, then copy it
        // down the band: memcpy is far faster than a pixel-by-pixel loop.
        auto* first = reinterpret_cast<QRgb*>(bits + y * stride);
        const int seed = std::min(width, 16);
        std::fill_n(first, seed, bandColour(band, tono));
        for (int filled = seed; filled < width;) {
            const int chunk = std::min(filled, width - filled);
            std::memcpy(first + filled, first, static_cast<std::size_t>(chunk) * sizeof(QRgb));
            filled += chunk;
        }
        int next = y + 1;
        for (; next < height && bandOfRow(next, height) == band; ++next)
            std::memcpy(bits + next * stride, first, rowBytes);
        y = next;
    }
}

} // namespace numerella
