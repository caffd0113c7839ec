// The shaded background drawn with every question: 256 horizontal bands,
// each 1/256 of the height and the whole width, from (10t, 10t, 0) at the
// top to (10t, 10t, 255) at the bottom, t being the tint.
#pragma once

#include <QRgb>

#include <cstdint>

class QPainter;
class QRect;
class QSize;

namespace numerella {

inline constexpr int kBandCount = 256;

QRgb bandColour(int band, std::int16_t tono);
// The band a pixel row belongs to, judged by the row's centre.
int bandOfRow(int row, int height);
// Paints the rows of `area` as the shading of a surface of `size` shows them.
void paintShading(QPainter& painter, const QSize& size, const QRect& area, std::int16_t tono);

} // namespace numerella
