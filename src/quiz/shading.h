// The shaded background drawn with every question: 256 horizontal bands,
// each 1/256 of the height and the whole width, from (10t, 10t, 0) at the
// top to (10t, 10t, 255) at the bottom, t being the tint.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>

namespace numerella {

inline constexpr int kBandCount = 256;

QRgb bandColour(int band, std::int16_t tono);
// The band a pixel row belongs to, judged by the row's centre.
int bandOfRow(int row, int height);
// Paints the whole image; it must be in a 32-bit RGB format.
void paintShading(QImage& image, std::int16_t tono);

} // namespace numerella
