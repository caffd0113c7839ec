// make_assets [output-folder]: paints the pictures and synthesises the sounds
// of "Numerella del dieci" into a folder (default "assets"). No fonts, so every
// machine gives the same files. Qt writes the PNGs and the SVG, but only 32-bit
// icons: ours keep 16-colour, 256-colour and 24-bit entries, so the ICO writer
// is our own, as is the WAV one.

#include <QSvgGenerator>
#include <QtGui>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The classic 16-colour VGA palette in Windows order; the small icons are
// drawn in these colours so that only antialiased edges need rounding.
const QVector<QRgb> kVga = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255), qRgb(255, 255, 255),
};

using Picture = std::function<void(QPainter&)>;

// Paints `picture`, drawn in a square `units` wide, on a transparent image.
QImage render(int size, double units, const Picture& picture, bool smooth = true)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.scale(size / units, size / units);
    picture(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen roundPen(const QColor& colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void ellipse(QPainter& p, QPointF centre, double rx, double ry, const QColor& fill, const QPen& outline = Qt::NoPen)
{
    p.setPen(outline);
    p.setBrush(fill);
    p.drawEllipse(centre, rx, ry);
}

void line(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width)
{
    p.setPen(roundPen(colour, width));
    p.drawLine(from, to);
}

// Angles in degrees, counter-clockwise from three o'clock, as Qt counts them.
void arc(QPainter& p, QPointF centre, double r, double start, double span, const QColor& colour, double width)
{
    QPainterPath path;
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    path.arcMoveTo(box, start);
    path.arcTo(box, start, span);
    p.strokePath(path, roundPen(colour, width));
}

// The pictures. The board icons are drawn on 32 units, the pointer on 48 and
// the window icon on 100.

// "10X" in dark blue, outlined in white, over a dark blue to white fade.
// Only the PNGs get rounded corners: Qt reads a 24-bit icon as if it had an
// alpha channel and ignores its mask, so cut corners would come out black.
void windowIcon(QPainter& p, bool roundCorners)
{
    const QColor topBlue(16, 42, 128), letters(10, 30, 110);
    QLinearGradient fade(0, 0, 0, 100);
    fade.setColorAt(0.0, topBlue);
    fade.setColorAt(0.5, QColor(140, 155, 205));
    fade.setColorAt(0.9, Qt::white);
    p.setBrush(fade);
    // A darker rim keeps the edge visible on a white desktop.
    p.setPen(QPen(QColor(50, 70, 140), 2.5));
    p.drawRoundedRect(QRectF(1.25, 1.25, 97.5, 97.5), roundCorners ? 18 : 0, roundCorners ? 18 : 0);

    QPainterPath glyphs;
    glyphs.addPolygon(QPolygonF({{11, 45}, {19.5, 37}, {19.5, 83}})); // "1"
    glyphs.addPolygon(QPolygonF({{11, 83}, {28, 83}}));
    glyphs.addRoundedRect(QRectF(37, 37, 22, 46), 11, 11); // "0"
    glyphs.addPolygon(QPolygonF({{68, 38}, {90, 82}}));     // "X"
    glyphs.addPolygon(QPolygonF({{90, 38}, {68, 82}}));
    p.strokePath(glyphs, roundPen(Qt::white, 17));
    p.strokePath(glyphs, roundPen(letters, 11));
}

// A grey cartoon mouse whose pointed nose is the pointer's hot spot in the
// top left corner; ears and head trail off towards the bottom right.
void mousePointer(QPainter& p)
{
    const QColor fur(165, 165, 180), outline(45, 40, 55), pink(250, 150, 170);
    p.translate(29, 29);
    p.rotate(-45); // from here on the nose points straight up
    const double tip = 37;

    const QPen edge = roundPen(outline, 2.2);
    for (double side : {-1.0, 1.0}) {
        ellipse(p, {side * 12.5, 3}, 8.5, 8.5, fur, edge);
        ellipse(p, {side * 12.5, 3.5}, 5.3, 5.3, pink);
    }
    QPainterPath head;
    head.moveTo(0, -tip + 1.5);
    head.cubicTo(4, -tip + 6, 12, -14, 12, -2);
    head.arcTo(QRectF(-12, -14, 24, 24), 0, -180);
    head.cubicTo(-12, -14, -4, -tip + 6, 0, -tip + 1.5);
    p.setPen(edge);
    p.setBrush(fur);
    p.drawPath(head);
    ellipse(p, {0, -tip + 4}, 3.6, 3.6, pink, roundPen(outline, 1.6)); // nose

    for (double side : {-1.0, 1.0}) {
        ellipse(p, {side * 5, -12}, 3.2, 4.2, outline);
        ellipse(p, {side * 5, -13.8}, 1.2, 1.2, Qt::white); // sparkle, up and left on screen
        line(p, {side * 4, -tip + 13}, {side * 13, -tip + 10}, outline, 1.2);
        line(p, {side * 4.5, -tip + 15}, {side * 13, -tip + 16.5}, outline, 1.2);
    }
}

// A white face with red hour marks and black hands in a silver case.
void stopwatch(QPainter& p)
{
    const QPointF c(16, 18);
    const QPen edge = roundPen(Qt::black, 1.4);
    p.setPen(edge);
    p.setBrush(Qt::darkGray);
    p.drawRect(QRectF(14, 2, 4, 4)); // stem
    p.setBrush(Qt::lightGray);
    p.drawRoundedRect(QRectF(10.5, 0.7, 11, 3), 1, 1); // push button
    line(p, {25, 8}, {27.5, 5.5}, Qt::black, 3.6);
    line(p, {25, 8}, {27.5, 5.5}, Qt::lightGray, 1.2);
    ellipse(p, c, 13.3, 13.3, Qt::lightGray, edge);
    ellipse(p, c, 10.6, 10.6, Qt::white, roundPen(Qt::black, 1.2));
    for (int hour = 0; hour < 12; ++hour) {
        const QPointF dir(std::sin(hour * kPi / 6), -std::cos(hour * kPi / 6));
        if (hour % 3 == 0)
            line(p, c + dir * 7.2, c + dir * 8.6, Qt::red, 2);
        else
            ellipse(p, c + dir * 8.2, 0.9, 0.9, Qt::red);
    }
    line(p, c, c + QPointF(0, -7.2), Qt::black, 1.7);
    line(p, c, c + QPointF(4.6, 2.7), Qt::black, 1.7);
    ellipse(p, c, 1.6, 1.6, Qt::black);
}

enum class Mood { Smile, Neutral, Laugh };

void face(QPainter& p, Mood mood)
{
    ellipse(p, {16, 16}, 14.8, 14.8, Qt::yellow, roundPen(Qt::black, 1.8));
    if (mood == Mood::Laugh) {
        // Eyes squeezed shut and a wide open red mouth with teeth and tongue.
        arc(p, {11, 13.5}, 3.2, 20, 140, Qt::black, 2);
        arc(p, {21, 13.5}, 3.2, 20, 140, Qt::black, 2);
        QPainterPath mouth;
        mouth.moveTo(6.5, 17);
        mouth.arcTo(QRectF(6.5, 7.5, 19, 19), 180, 180);
        mouth.closeSubpath();
        p.fillPath(mouth, Qt::red);
        p.save();
        p.setClipPath(mouth);
        p.fillRect(QRectF(6, 16, 20, 3.2), Qt::white);
        ellipse(p, {16, 26}, 5, 3, Qt::darkRed);
        p.restore();
        p.strokePath(mouth, roundPen(Qt::black, 1.6));
        return;
    }
    // Even coordinates fall on pixel edges at 16 px too, so the eyes stay
    // solid blocks there; a sparkle would split such a small eye in two.
    const bool sparkle = p.device()->width() >= 32;
    for (double x : {10.0, 22.0}) {
        ellipse(p, {x, 12}, 2.3, 3.6, Qt::black);
        if (sparkle)
            ellipse(p, {x - 0.8, 10.6}, 0.8, 0.8, Qt::white);
    }
    if (mood == Mood::Smile)
        arc(p, {16, 15}, 8.5, 205, 130, Qt::black, 2.2);
    else
        line(p, {10.5, 21.5}, {21.5, 21.5}, Qt::black, 2.2);
}

void noEntry(QPainter& p)
{
    ellipse(p, {16, 16}, 15, 15, Qt::red, QPen(Qt::darkRed, 1.6));
    p.fillRect(QRectF(5, 12, 22, 8), Qt::white);
}

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "make_assets: cannot %s\n", qPrintable(what));
    std::exit(1);
}

// ICO writer. Each entry is a BMP without file header: BITMAPINFOHEADER with
// doubled height, the palette of an indexed depth, the colour rows and then
// the 1-bit mask rows, both bottom-up and padded to 4 bytes like QImage's
// own rows. A pixel less than half opaque is masked, and black: any other
// colour there would invert the screen behind it. `bits` is 4 (VGA colours),
// 8 or 24.
QByteArray bitmap(const QImage& image, int bits)
{
    QImage solid = image.convertToFormat(QImage::Format_ARGB32);
    const int w = solid.width(), h = solid.height();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(solid.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qAlpha(row[x]) >= 128 ? row[x] | 0xff000000u : 0u;
    }
    QImage mask = solid.createAlphaMask().convertToFormat(QImage::Format_Mono); // leftmost pixel in the high bit
    mask.invertPixels(); // set bits are the transparent pixels
    const QImage opaque = solid.convertToFormat(QImage::Format_RGB32);
    const QImage colours = bits == 24  ? opaque.convertToFormat(QImage::Format_BGR888)
                           : bits == 8 ? opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
                           : opaque.convertToFormat(QImage::Format_Indexed8, kVga, Qt::ThresholdDither);
    // Qt keeps the exact colours only when there are at most 256 of them.
    if (bits == 8 && colours.convertToFormat(QImage::Format_RGB32) != opaque)
        fail(QStringLiteral("fit a picture in 256 colours"));
    const int paletteSize = bits == 24 ? 0 : 1 << bits;
    const int colourRow = (w * bits + 31) / 32 * 4, maskRow = (w + 31) / 32 * 4;

    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(bits) << quint32(0)
      << quint32((colourRow + maskRow) * h) << qint32(0) << qint32(0) << quint32(paletteSize) << quint32(0);
    for (int i = 0; i < paletteSize; ++i) {
        const QRgb c = i < colours.colorCount() ? colours.color(i) : 0;
        s << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = colours.constScanLine(y);
        QByteArray row(reinterpret_cast<const char*>(line), colourRow);
        if (bits == 4) { // two pixels a byte, the left one in the high half
            row.fill('\0');
            for (int x = 0; x < w; ++x)
                row[x / 2] = char(row[x / 2] | line[x] << (x % 2 ? 0 : 4));
        }
        s.writeRawData(row.constData(), colourRow);
    }
    for (int y = h - 1; y >= 0; --y)
        s.writeRawData(reinterpret_cast<const char*>(mask.constScanLine(y)), maskRow);
    return out;
}

QByteArray ico(const std::vector<QImage>& images, int bits)
{
    QByteArray out, data;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(images.size());
    for (const QImage& image : images) {
        const QByteArray bmp = bitmap(image, bits);
        s << quint8(image.width() % 256) << quint8(image.height() % 256) << quint8(bits == 4 ? 16 : 0) << quint8(0)
          << quint16(1) << quint16(bits) << quint32(bmp.size()) << quint32(6 + 16 * images.size() + data.size());
        data += bmp;
    }
    return out + data;
}

// The board icons: 32 and 16 px in VGA colours. The small one is drawn
// without antialiasing: at that size, soft edges rounded to 16 colours turn
// thin lines into grey smudges.
QByteArray boardIcon(const Picture& picture)
{
    return ico({render(32, 32, picture), render(16, 32, picture, false)}, 4);
}

// Sounds: mono, 16-bit, 44100 Hz.
constexpr int kRate = 44100;
using Samples = std::vector<double>;

// Scales to `peak` and fades both ends so the wave starts and ends at zero.
void finish(Samples& s, double peak, double fadeIn, double fadeOut)
{
    const auto [low, high] = std::minmax_element(s.begin(), s.end());
    const double loudest = std::max(-*low, *high);
    const double in = fadeIn * kRate, out = fadeOut * kRate;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double fromEnd = double(s.size() - 1 - i);
        const double fade = std::min({1.0, double(i) / in, fromEnd / out});
        s[i] *= peak / loudest * (0.5 - 0.5 * std::cos(kPi * fade));
    }
}

QByteArray wav(const Samples& samples)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = quint32(samples.size() * 2);
    s.writeRawData("RIFF", 4);
    s << quint32(36 + dataBytes);
    s.writeRawData("WAVEfmt ", 8);
    // PCM, mono, rate, bytes per second, block align, bits per sample.
    s << quint32(16) << quint16(1) << quint16(1) << quint32(kRate) << quint32(kRate * 2) << quint16(2) << quint16(16);
    s.writeRawData("data", 4);
    s << dataBytes;
    for (double v : samples)
        s << qint16(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
    return out;
}

// Right answer: C6, E6 and G6 struck one after the other like little bells,
// each with a few overtones that die away faster than the note.
Samples chime()
{
    Samples s(std::size_t(0.65 * kRate), 0.0);
    const double notes[][2] = {{1046.50, 0.00}, {1318.51, 0.11}, {1567.98, 0.22}}; // pitch, start
    const double overtones[][3] = {{1.0, 1.0, 0.2}, {2.0, 0.35, 0.11}, {3.0, 0.12, 0.07}, {4.2, 0.05, 0.05}};
    for (const auto& note : notes)
        for (std::size_t i = std::size_t(note[1] * kRate); i < s.size(); ++i) {
            const double t = double(i) / kRate - note[1];
            for (const auto& o : overtones) // ratio, gain, decay time
                s[i] += std::min(1.0, t / 0.004) * o[1] * std::exp(-t / o[2]) * std::sin(2 * kPi * note[0] * o[0] * t);
        }
    finish(s, 0.55, 0.003, 0.06);
    return s;
}

// Wrong answer: two soft low tones going down, 200 Hz then 150 Hz, with a
// square wave's odd harmonics rolled off steeply so they hum, not rasp.
Samples buzz()
{
    Samples s(std::size_t(0.5 * kRate), 0.0);
    const double tones[][3] = {{200, 0.00, 0.22}, {150, 0.25, 0.50}}; // pitch, start, end
    for (const auto& tone : tones) {
        const double length = tone[2] - tone[1];
        for (std::size_t i = std::size_t(tone[1] * kRate); i < std::size_t(tone[2] * kRate); ++i) {
            const double t = double(i) / kRate - tone[1];
            const double envelope = std::min({1.0, t / 0.015, (length - t) / 0.04}) * (1.0 - 0.35 * t / length);
            for (int k = 1; k <= 9; k += 2)
                s[i] += std::max(0.0, envelope) * std::sin(2 * kPi * tone[0] * k * t) / std::pow(k, 1.6);
        }
    }
    // A one-pole low-pass takes the edge off the upper harmonics.
    const double alpha = 1.0 - std::exp(-2 * kPi * 1400.0 / kRate);
    double y = 0;
    for (double& v : s)
        v = y += alpha * (v - y);
    finish(s, 0.3, 0.005, 0.03);
    return s;
}

QByteArray png(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    // Quality 0 asks Qt for the strongest compression.
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", 0))
        fail(QStringLiteral("encode a PNG"));
    return data;
}

// The same picture as vectors, for desktops that scale the icon to any size.
QByteArray svg(const Picture& picture)
{
    QByteArray data;
    QBuffer buffer(&data);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(QRect(0, 0, 100, 100));
    generator.setTitle(QStringLiteral("Numerella del dieci"));
    QPainter p(&generator);
    p.setFont(QFont(QString(), 10)); // never used, but written: a valid size keeps SVG readers quiet
    picture(p);
    if (!p.end())
        fail(QStringLiteral("draw the SVG icon"));
    return data;
}

void write(const QDir& dir, const QString& name, const QByteArray& data)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        fail(QStringLiteral("write ") + path);
    std::printf("wrote %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(data.size()));
}

} // namespace

int main(int argc, char** argv)
{
    const QDir dir(QString::fromLocal8Bit(argc > 1 ? argv[1] : "assets"));
    dir.mkpath(QStringLiteral("suoni")); // a failure shows as the sounds' write error

    write(dir, "icona.ico", ico({render(48, 100, [](QPainter& p) { windowIcon(p, false); })}, 24));
    write(dir, "puntatore.ico", ico({render(48, 48, mousePointer)}, 8));
    write(dir, "cronometro.ico", boardIcon(stopwatch));
    write(dir, "faccina_sorride.ico", boardIcon([](QPainter& p) { face(p, Mood::Smile); }));
    write(dir, "faccina_neutra.ico", boardIcon([](QPainter& p) { face(p, Mood::Neutral); }));
    write(dir, "faccina_ride.ico", boardIcon([](QPainter& p) { face(p, Mood::Laugh); }));
    write(dir, "divieto.ico", boardIcon(noEntry));

    const Picture menuIcon = [](QPainter& p) { windowIcon(p, true); };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        write(dir, QStringLiteral("icona-%1.png").arg(size), png(render(size, 100, menuIcon)));
    write(dir, "icona.svg", svg(menuIcon));

    write(dir, "suoni/Esatto.wav", wav(chime()));
    write(dir, "suoni/no.wav", wav(buzz()));
    return 0;
}
