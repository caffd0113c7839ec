// make_assets: draws the icons and synthesises the sounds used by
// "Numerella del dieci" and writes them into a folder (default "assets").
//
//   make_assets [output-folder]
//
// Only the C++ standard library is used: the ICO/BMP, PNG (stored deflate)
// and WAV encoders below are written by hand. Every picture is drawn from
// geometric shapes and every sound from sine waves, so the output is the
// same byte for byte on every run. The program is run by hand and its output
// is committed; it is not part of the normal build.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Pixels and images
// ---------------------------------------------------------------------------

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

bool operator==(const Rgba& x, const Rgba& y)
{
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

Rgba rgb(int r, int g, int b)
{
    return Rgba{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                static_cast<std::uint8_t>(b), 255};
}

const Rgba kClear{0, 0, 0, 0};

struct Image {
    int w = 0, h = 0;
    std::vector<Rgba> px;

    Image(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width * height), kClear) {}
    Rgba& at(int x, int y) { return px[static_cast<std::size_t>(y * w + x)]; }
    const Rgba& at(int x, int y) const { return px[static_cast<std::size_t>(y * w + x)]; }
};

// The classic 16-colour VGA palette, in the usual Windows order.
const std::array<Rgba, 16> kVga = {{
    rgb(0, 0, 0),       // 0  black
    rgb(128, 0, 0),     // 1  dark red
    rgb(0, 128, 0),     // 2  dark green
    rgb(128, 128, 0),   // 3  olive
    rgb(0, 0, 128),     // 4  navy
    rgb(128, 0, 128),   // 5  purple
    rgb(0, 128, 128),   // 6  teal
    rgb(192, 192, 192), // 7  silver
    rgb(128, 128, 128), // 8  grey
    rgb(255, 0, 0),     // 9  red
    rgb(0, 255, 0),     // 10 green
    rgb(255, 255, 0),   // 11 yellow
    rgb(0, 0, 255),     // 12 blue
    rgb(255, 0, 255),   // 13 magenta
    rgb(0, 255, 255),   // 14 cyan
    rgb(255, 255, 255), // 15 white
}};

enum Vga { Black = 0, DarkRed = 1, Olive = 3, Silver = 7, Grey = 8, Red = 9, Yellow = 11, White = 15 };

// ---------------------------------------------------------------------------
// Crisp drawing for the 16-colour icons. A pixel (x, y) is covered when its
// centre (x + 0.5, y + 0.5) lies inside the shape, so a shape centred on an
// integer coordinate comes out exactly mirror-symmetric.
// ---------------------------------------------------------------------------

struct Pen {
    Image& img;

    void fill(const std::function<bool(double, double)>& inside, Vga c)
    {
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x)
                if (inside(x + 0.5, y + 0.5))
                    img.at(x, y) = kVga[c];
    }

    void disc(double cx, double cy, double r, Vga c)
    {
        fill([=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }, c);
    }

    void ellipse(double cx, double cy, double rx, double ry, Vga c)
    {
        fill([=](double x, double y) {
            const double u = (x - cx) / rx, v = (y - cy) / ry;
            return u * u + v * v <= 1.0;
        }, c);
    }

    // Inclusive pixel rectangle.
    void rect(int x0, int y0, int x1, int y1, Vga c)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (x >= 0 && y >= 0 && x < img.w && y < img.h)
                    img.at(x, y) = kVga[c];
    }

    void dot(int x, int y, Vga c) { rect(x, y, x, y, c); }

    // Thick segment with round ends.
    void line(double x0, double y0, double x1, double y1, double width, Vga c)
    {
        fill([=](double x, double y) {
            const double dx = x1 - x0, dy = y1 - y0;
            double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
            t = std::clamp(t, 0.0, 1.0);
            const double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
            return ex * ex + ey * ey <= width * width / 4.0;
        }, c);
    }

    // Part of a ring around (cx, cy): the pixels whose direction from the
    // centre, measured in degrees clockwise from "3 o'clock", is in [a0, a1].
    void arc(double cx, double cy, double r, double width, double a0, double a1, Vga c)
    {
        fill([=](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            if (std::fabs(d - r) > width / 2.0)
                return false;
            double a = std::atan2(y - cy, x - cx) * 180.0 / kPi;
            if (a < 0)
                a += 360.0;
            return a >= a0 && a <= a1;
        }, c);
    }
};

// ---------------------------------------------------------------------------
// Smooth drawing for the true-colour and 256-colour pictures: a scene is a
// function giving the colour at a point of the unit square (y downwards);
// each pixel averages a grid of samples. Transparent samples do not tint the
// colour, they only lower the alpha.
// ---------------------------------------------------------------------------

using Scene = std::function<Rgba(double, double)>;

Image render(int size, const Scene& scene, int grid = 8)
{
    Image img(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    const double u = (x + (sx + 0.5) / grid) / size;
                    const double v = (y + (sy + 0.5) / grid) / size;
                    const Rgba c = scene(u, v);
                    if (c.a < 128)
                        continue;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++covered;
                }
            }
            if (covered == 0)
                continue;
            Rgba& p = img.at(x, y);
            p.r = static_cast<std::uint8_t>(std::lround(r / covered));
            p.g = static_cast<std::uint8_t>(std::lround(g / covered));
            p.b = static_cast<std::uint8_t>(std::lround(b / covered));
            p.a = static_cast<std::uint8_t>(std::lround(255.0 * covered / (grid * grid)));
        }
    }
    return img;
}

// Signed distance helpers (negative inside).
double segDist(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

double circleDist(double px, double py, double cx, double cy, double r)
{
    return std::hypot(px - cx, py - cy) - r;
}

// Cheap ellipse distance: exact on the axes, close enough elsewhere for
// the small, nearly round ellipses drawn here.
double ellipseDist(double px, double py, double cx, double cy, double rx, double ry)
{
    const double u = (px - cx) / rx, v = (py - cy) / ry;
    return (std::sqrt(u * u + v * v) - 1.0) * std::min(rx, ry);
}

double roundedBoxDist(double px, double py, double x0, double y0, double x1, double y1, double r)
{
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    const double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

double triangleDist(double px, double py, const double t[6])
{
    double d = 1e9;
    double sign = 1.0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        d = std::min(d, segDist(px, py, t[2 * i], t[2 * i + 1], t[2 * j], t[2 * j + 1]));
    }
    // Inside when the point is on the same side of all three edges.
    int pos = 0, neg = 0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double cross = (t[2 * j] - t[2 * i]) * (py - t[2 * i + 1]) - (t[2 * j + 1] - t[2 * i + 1]) * (px - t[2 * i]);
        (cross >= 0 ? pos : neg)++;
    }
    if (pos == 3 || neg == 3)
        sign = -1.0;
    return sign * d;
}

Rgba mix(const Rgba& a, const Rgba& b, double t)
{
    auto ch = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgba{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), 255};
}

// ---------------------------------------------------------------------------
// The window icon: "10X" in dark blue, outlined in white, on a rounded
// square shaded from dark blue at the top to white at the bottom.
// ---------------------------------------------------------------------------

// Distance to the three glyphs, in unit coordinates. The strokes are
// capsules, which gives friendly rounded letters.
double glyphs10X(double x, double y)
{
    const double top = 0.36, bottom = 0.84, half = 0.055; // stroke half-width
    double d = 1e9;

    // "1": stem, flag and foot.
    const double c1 = 0.17;
    d = std::min(d, segDist(x, y, c1 + 0.025, top, c1 + 0.025, bottom) - half);
    d = std::min(d, segDist(x, y, c1 + 0.025, top, c1 - 0.075, top + 0.085) - half);
    d = std::min(d, segDist(x, y, c1 - 0.075, bottom, c1 + 0.115, bottom) - half * 0.9);

    // "0": a stadium-shaped ring.
    const double c0 = 0.47, r0 = 0.105;
    const double ring = segDist(x, y, c0, top + r0 + 0.01, c0, bottom - r0 - 0.01) - (r0 + 0.01);
    d = std::min(d, std::fabs(ring + half * 0.1) - half * 0.95);

    // "X": two crossing strokes.
    const double cx = 0.785, hw = 0.115;
    d = std::min(d, segDist(x, y, cx - hw, top + 0.01, cx + hw, bottom - 0.01) - half);
    d = std::min(d, segDist(x, y, cx + hw, top + 0.01, cx - hw, bottom - 0.01) - half);
    return d;
}

// The PNGs get rounded, truly transparent corners. The ICO is drawn as a
// full square: Qt reads a 24-bit icon as if it had an alpha channel and
// ignores its AND mask, so masked corners would come out black there.
Scene windowIconScene(bool roundCorners)
{
    return [roundCorners](double x, double y) {
        const double corner = roundCorners ? 0.19 : 0.0;
        const double edge = roundCorners ? roundedBoxDist(x, y, 0.0, 0.0, 1.0, 1.0, corner)
                                         : std::max(std::fabs(x - 0.5), std::fabs(y - 0.5)) - 0.5;
        if (edge > 0)
            return kClear;

        const Rgba topBlue = rgb(16, 42, 128);
        const Rgba white = rgb(255, 255, 255);
        const Rgba letters = rgb(10, 30, 110);
        // The blue fades to white towards the bottom, so the lower half that
        // carries most of the letters is light.
        const double t = std::clamp(y / 0.9, 0.0, 1.0);
        const Rgba background = mix(topBlue, white, std::pow(t, 0.8));

        const double d = glyphs10X(x, y);
        if (d <= 0)
            return letters;
        if (d <= 0.03)
            return white;
        // A faint darker rim keeps the icon's edge visible on white desktops.
        if (edge > -0.025)
            return mix(background, topBlue, 0.55);
        return background;
    };
}

// ---------------------------------------------------------------------------
// The mouse pointer: a friendly ginger cat. Its left ear points at the top
// left corner so the picture works as an arrow-like pointer, and the nose
// sits near the centre for a centred hotspot.
// ---------------------------------------------------------------------------

Rgba catScene(double x, double y)
{
    const Rgba outline = rgb(70, 40, 25);
    const Rgba fur = rgb(250, 160, 55);
    const Rgba stripe = rgb(215, 110, 30);
    const Rgba innerEar = rgb(255, 170, 185);
    const Rgba muzzle = rgb(255, 245, 230);
    const Rgba eye = rgb(35, 30, 40);
    const Rgba white = rgb(255, 255, 255);
    const Rgba nose = rgb(235, 90, 120);
    const Rgba blush = rgb(255, 135, 120);

    const double earL[6] = {0.035, 0.035, 0.13, 0.50, 0.47, 0.24};
    const double earR[6] = {0.965, 0.035, 0.87, 0.50, 0.53, 0.24};
    const double head = ellipseDist(x, y, 0.5, 0.58, 0.415, 0.37);
    const double ears = std::min(triangleDist(x, y, earL), triangleDist(x, y, earR)) - 0.015;
    const double body = std::min(head, ears);
    const double line = 0.042;

    // Whiskers poke out a little beyond the cheeks.
    const double whisk = std::min({segDist(x, y, 0.30, 0.64, 0.03, 0.58), segDist(x, y, 0.30, 0.68, 0.02, 0.70),
                                   segDist(x, y, 0.70, 0.64, 0.97, 0.58), segDist(x, y, 0.70, 0.68, 0.98, 0.70)});
    if (body > line) {
        if (whisk < 0.018 && y > 0.5)
            return outline;
        return kClear;
    }
    if (body > 0)
        return outline;

    // Inner ears: the ear triangles shrunk towards the corner tips.
    auto shrink = [](const double* t, double k, double* out) {
        const double gx = (t[0] + t[2] + t[4]) / 3, gy = (t[1] + t[3] + t[5]) / 3;
        for (int i = 0; i < 3; ++i) {
            out[2 * i] = gx + (t[2 * i] - gx) * k;
            out[2 * i + 1] = gy + (t[2 * i + 1] - gy) * k;
        }
    };
    double inL[6], inR[6];
    shrink(earL, 0.55, inL);
    shrink(earR, 0.55, inR);
    if (head > 0.01 && std::min(triangleDist(x, y, inL), triangleDist(x, y, inR)) < 0)
        return innerEar;

    // Eyes with a white sparkle.
    for (double ex : {0.345, 0.655}) {
        if (circleDist(x, y, ex - 0.02, 0.475, 0.024) < 0)
            return white;
        if (ellipseDist(x, y, ex, 0.50, 0.062, 0.082) < 0)
            return eye;
    }

    // Nose, mouth and muzzle.
    const double noseTri[6] = {0.445, 0.585, 0.555, 0.585, 0.5, 0.645};
    if (triangleDist(x, y, noseTri) < 0.012)
        return nose;
    const double mouth = std::min({segDist(x, y, 0.5, 0.64, 0.5, 0.69), segDist(x, y, 0.5, 0.69, 0.45, 0.72),
                                   segDist(x, y, 0.45, 0.72, 0.41, 0.69), segDist(x, y, 0.5, 0.69, 0.55, 0.72),
                                   segDist(x, y, 0.55, 0.72, 0.59, 0.69)});
    if (mouth < 0.016)
        return outline;
    if (whisk < 0.016 && (x < 0.33 || x > 0.67))
        return outline;
    if (std::min(circleDist(x, y, 0.43, 0.70, 0.10), circleDist(x, y, 0.57, 0.70, 0.10)) < 0)
        return muzzle;
    if (std::min(circleDist(x, y, 0.22, 0.71, 0.05), circleDist(x, y, 0.78, 0.71, 0.05)) < 0)
        return blush;

    // Tabby stripes on the forehead.
    const double stripes = std::min({segDist(x, y, 0.5, 0.24, 0.5, 0.33), segDist(x, y, 0.43, 0.25, 0.44, 0.31),
                                     segDist(x, y, 0.57, 0.25, 0.56, 0.31)});
    if (stripes < 0.018)
        return stripe;
    return fur;
}

// ---------------------------------------------------------------------------
// The 16-colour pictures, each drawn separately at 32 and 16 pixels so that
// the small version stays clean instead of being a shrunken copy.
// ---------------------------------------------------------------------------

Image stopwatch(int size)
{
    Image img(size, size);
    Pen p{img};
    if (size == 32) {
        const double cx = 16, cy = 18;
        // Crown: stem and push button, plus a small side button.
        p.rect(14, 2, 17, 5, Grey);
        p.rect(11, 0, 20, 2, Black);
        p.rect(12, 1, 19, 1, Silver);
        p.line(24.5, 7.5, 27.0, 5.0, 3.4, Black);
        p.line(24.5, 7.5, 27.0, 5.0, 1.4, Silver);
        // Case and face.
        p.disc(cx, cy, 14, Black);
        p.disc(cx, cy, 13, Grey);
        p.disc(cx, cy, 12, Silver);
        p.disc(cx, cy, 11, Black);
        p.disc(cx, cy, 10, White);
        // Red hour marks: long ones at 12, 3, 6 and 9, dots for the others.
        for (int h = 0; h < 12; ++h) {
            const double a = h * kPi / 6.0;
            const double s = std::sin(a), c = -std::cos(a);
            if (h % 3 == 0)
                p.line(cx + s * 7.6, cy + c * 7.6, cx + s * 9.0, cy + c * 9.0, 1.6, Red);
            else
                p.disc(cx + s * 8.4, cy + c * 8.4, 0.8, Red);
        }
        // Hands: a long one to 12 and a shorter one to 4.
        p.line(cx, cy, cx, cy - 7.0, 1.5, Black);
        p.line(cx, cy, cx + 4.6, cy + 2.7, 1.5, Black);
        p.disc(cx, cy, 1.5, Black);
    } else {
        const double cx = 8, cy = 9;
        p.rect(7, 1, 8, 2, Grey);
        p.rect(5, 0, 10, 1, Black);
        p.rect(6, 0, 9, 0, Silver);
        p.disc(cx, cy, 7, Black);
        p.disc(cx, cy, 6, White);
        // Hour marks at 12, 3, 6 and 9.
        p.rect(7, 3, 8, 3, Red);
        p.rect(7, 14, 8, 14, Red);
        p.rect(2, 8, 2, 9, Red);
        p.rect(13, 8, 13, 9, Red);
        // Hands: up to 12 and across to 3 o'clock.
        p.rect(7, 4, 7, 8, Black);
        p.rect(8, 8, 11, 8, Black);
        p.dot(8, 9, Black);
    }
    return img;
}

enum class Mood { Smile, Neutral, Laugh };

Image face(int size, Mood mood)
{
    Image img(size, size);
    Pen p{img};
    if (size == 32) {
        const double c = 16;
        p.disc(c, c, 16, Black);
        p.disc(c, c, 14.6, Yellow);
        if (mood == Mood::Laugh) {
            // Eyes squeezed shut: little upside-down arcs.
            p.arc(11, 13, 3.0, 1.6, 190, 350, Black);
            p.arc(21, 13, 3.0, 1.6, 190, 350, Black);
            // Wide open mouth: a half disc with teeth and a tongue.
            p.fill([](double x, double y) { return y >= 17.0 && std::hypot(x - 16, y - 17) <= 9.8; }, Black);
            p.fill([](double x, double y) { return y >= 18.0 && std::hypot(x - 16, y - 17) <= 8.4; }, Red);
            p.rect(10, 18, 21, 19, White);
            p.ellipse(16, 25.5, 4.4, 2.2, DarkRed);
        } else {
            p.ellipse(11, 12.5, 2.1, 3.2, Black);
            p.ellipse(21, 12.5, 2.1, 3.2, Black);
            p.dot(10, 10, White);
            p.dot(20, 10, White);
            if (mood == Mood::Smile)
                p.arc(16, 15, 9.0, 1.8, 25, 155, Black);
            else
                p.rect(10, 21, 21, 22, Black);
        }
    } else {
        const double c = 8;
        p.disc(c, c, 8, Black);
        p.disc(c, c, 7, Yellow);
        if (mood == Mood::Laugh) {
            // Closed happy eyes.
            p.rect(4, 5, 5, 5, Black);
            p.dot(3, 6, Black);
            p.dot(6, 6, Black);
            p.rect(10, 5, 11, 5, Black);
            p.dot(9, 6, Black);
            p.dot(12, 6, Black);
            // Open mouth.
            p.rect(3, 8, 12, 8, Black);
            p.rect(4, 9, 11, 10, Red);
            p.dot(3, 9, Black);
            p.dot(12, 9, Black);
            p.dot(3, 10, Black);
            p.dot(12, 10, Black);
            p.rect(4, 11, 5, 11, Black);
            p.rect(10, 11, 11, 11, Black);
            p.rect(6, 11, 9, 11, Red);
            p.rect(6, 12, 9, 12, Black);
            p.rect(4, 9, 11, 9, White);
        } else {
            p.rect(5, 4, 6, 6, Black);
            p.rect(9, 4, 10, 6, Black);
            if (mood == Mood::Smile) {
                p.dot(3, 9, Black);
                p.dot(12, 9, Black);
                p.dot(4, 10, Black);
                p.dot(11, 10, Black);
                p.rect(5, 11, 10, 11, Black);
            } else {
                p.rect(5, 10, 10, 10, Black);
            }
        }
    }
    return img;
}

Image noEntry(int size)
{
    Image img(size, size);
    Pen p{img};
    if (size == 32) {
        p.disc(16, 16, 16, DarkRed);
        p.disc(16, 16, 15, Red);
        p.rect(6, 13, 25, 18, White);
    } else {
        p.disc(8, 8, 8, DarkRed);
        p.disc(8, 8, 7, Red);
        p.rect(3, 7, 12, 8, White);
    }
    return img;
}

// ---------------------------------------------------------------------------
// Little-endian byte writer
// ---------------------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

void put8(Bytes& out, unsigned v) { out.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
void put16(Bytes& out, unsigned v)
{
    put8(out, v);
    put8(out, v >> 8);
}
void put32(Bytes& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put32be(Bytes& out, std::uint32_t v)
{
    put8(out, v >> 24);
    put8(out, v >> 16);
    put8(out, v >> 8);
    put8(out, v);
}

void writeFile(const std::filesystem::path& path, const Bytes& data)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) {
        std::cerr << "cannot write " << path << "\n";
        std::exit(1);
    }
    std::cout << "wrote " << path.string() << " (" << data.size() << " bytes)\n";
}

// ---------------------------------------------------------------------------
// ICO encoder. Each image is a BMP without file header: BITMAPINFOHEADER
// with doubled height, the palette for indexed depths, the colour (XOR)
// rows bottom-up and then the 1-bit transparency (AND) rows bottom-up.
// Both kinds of rows are padded to 4 bytes. A pixel with alpha below half is
// transparent: mask bit 1 and colour black.
// ---------------------------------------------------------------------------

struct IconImage {
    Image img;
    int bits; // 4, 8 or 24
};

int rowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// Palette for a 256-colour image: black first (so transparent pixels can
// use index 0), then the colours in the order they first appear.
std::vector<Rgba> buildPalette(const Image& img, std::size_t limit)
{
    std::vector<Rgba> pal{rgb(0, 0, 0)};
    for (const Rgba& p : img.px) {
        if (p.a < 128)
            continue;
        const Rgba c = rgb(p.r, p.g, p.b);
        if (std::find(pal.begin(), pal.end(), c) == pal.end())
            pal.push_back(c);
    }
    if (pal.size() > limit) {
        std::cerr << "picture uses " << pal.size() << " colours, more than " << limit << "\n";
        std::exit(1);
    }
    return pal;
}

int nearestIndex(const std::vector<Rgba>& pal, const Rgba& c)
{
    int best = 0;
    long bestD = -1;
    for (std::size_t i = 0; i < pal.size(); ++i) {
        const long dr = pal[i].r - c.r, dg = pal[i].g - c.g, db = pal[i].b - c.b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Bytes encodeDib(const IconImage& icon)
{
    const Image& img = icon.img;
    std::vector<Rgba> pal;
    if (icon.bits == 4)
        pal.assign(kVga.begin(), kVga.end());
    else if (icon.bits == 8)
        pal = buildPalette(img, 256);
    const std::size_t palEntries = icon.bits == 24 ? 0 : (std::size_t{1} << icon.bits);

    const int xorRow = rowBytes(img.w, icon.bits);
    const int andRow = rowBytes(img.w, 1);
    const std::uint32_t imageSize = static_cast<std::uint32_t>((xorRow + andRow) * img.h);

    Bytes out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(img.w));
    put32(out, static_cast<std::uint32_t>(img.h * 2));
    put16(out, 1);
    put16(out, static_cast<unsigned>(icon.bits));
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(palEntries));
    put32(out, 0);

    for (std::size_t i = 0; i < palEntries; ++i) {
        const Rgba c = i < pal.size() ? pal[i] : rgb(0, 0, 0);
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }

    for (int y = img.h - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(xorRow), 0);
        for (int x = 0; x < img.w; ++x) {
            const Rgba& p = img.at(x, y);
            const bool opaque = p.a >= 128;
            if (icon.bits == 24) {
                if (opaque) {
                    row[static_cast<std::size_t>(3 * x)] = p.b;
                    row[static_cast<std::size_t>(3 * x + 1)] = p.g;
                    row[static_cast<std::size_t>(3 * x + 2)] = p.r;
                }
            } else {
                const int idx = opaque ? nearestIndex(pal, p) : 0;
                if (icon.bits == 8)
                    row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(idx);
                else
                    row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? idx << 4 : idx);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }

    for (int y = img.h - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(andRow), 0);
        for (int x = 0; x < img.w; ++x)
            if (img.at(x, y).a < 128)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes encodeIco(const std::vector<IconImage>& images)
{
    std::vector<Bytes> dibs;
    for (const IconImage& i : images)
        dibs.push_back(encodeDib(i));

    Bytes out;
    put16(out, 0); // reserved
    put16(out, 1); // type: icon
    put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& ic = images[i];
        put8(out, ic.img.w >= 256 ? 0 : static_cast<unsigned>(ic.img.w));
        put8(out, ic.img.h >= 256 ? 0 : static_cast<unsigned>(ic.img.h));
        put8(out, ic.bits < 8 ? (1u << ic.bits) : 0u); // colour count
        put8(out, 0);
        put16(out, 1);                                 // planes
        put16(out, static_cast<unsigned>(ic.bits));
        put32(out, static_cast<std::uint32_t>(dibs[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(dibs[i].size());
    }
    for (const Bytes& d : dibs)
        out.insert(out.end(), d.begin(), d.end());
    return out;
}

// ---------------------------------------------------------------------------
// PNG encoder: RGBA, no filtering, zlib stream made of stored blocks.
// ---------------------------------------------------------------------------

std::uint32_t crc32(const std::uint8_t* data, std::size_t n)
{
    static std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i)
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const Bytes& data)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void pngChunk(Bytes& out, const char* type, const Bytes& data)
{
    put32be(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put32be(out, crc32(body.data(), body.size()));
}

Bytes encodePng(const Image& img)
{
    Bytes raw;
    for (int y = 0; y < img.h; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < img.w; ++x) {
            const Rgba& p = img.at(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }

    Bytes z{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + len == raw.size();
        put8(z, last ? 1 : 0);
        put16(z, static_cast<unsigned>(len));
        put16(z, static_cast<unsigned>(~len & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
        pos += len;
    } while (pos < raw.size());
    put32be(z, adler32(raw));

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put32be(ihdr, static_cast<std::uint32_t>(img.w));
    put32be(ihdr, static_cast<std::uint32_t>(img.h));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no filter, no interlace
    pngChunk(out, "IHDR", ihdr);
    pngChunk(out, "IDAT", z);
    pngChunk(out, "IEND", {});
    return out;
}

// ---------------------------------------------------------------------------
// Sounds: mono, 16-bit, 44100 Hz.
// ---------------------------------------------------------------------------

constexpr int kRate = 44100;

// Smooth start and end so the sample never jumps away from or back to zero.
void fadeEdges(std::vector<double>& s, double fadeIn, double fadeOut)
{
    const std::size_t in = static_cast<std::size_t>(fadeIn * kRate);
    const std::size_t out = static_cast<std::size_t>(fadeOut * kRate);
    for (std::size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in));
    for (std::size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(out));
}

void normalise(std::vector<double>& s, double peak)
{
    double m = 0;
    for (double v : s)
        m = std::max(m, std::fabs(v));
    if (m > 0)
        for (double& v : s)
            v *= peak / m;
}

Bytes encodeWav(const std::vector<double>& s)
{
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(s.size() * 2);
    Bytes out{'R', 'I', 'F', 'F'};
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);              // PCM
    put16(out, 1);              // mono
    put32(out, kRate);
    put32(out, kRate * 2);      // bytes per second
    put16(out, 2);              // block align
    put16(out, 16);             // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (double v : s) {
        const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        put16(out, static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(q))));
    }
    return out;
}

// Right answer: C6, E6 and G6 struck one after the other like little bells.
// Each note has a few harmonics that die away faster than the fundamental.
std::vector<double> chime()
{
    const double length = 0.65;
    std::vector<double> s(static_cast<std::size_t>(length * kRate), 0.0);
    const struct { double freq, start, decay; } notes[] = {
        {1046.50, 0.00, 0.08},
        {1318.51, 0.11, 0.08},
        {1567.98, 0.22, 0.10},
    };
    const struct { double ratio, gain, decayScale; } partials[] = {
        {1.0, 1.00, 1.0}, {2.0, 0.35, 0.55}, {3.0, 0.12, 0.35}, {4.2, 0.05, 0.25},
    };
    for (const auto& n : notes) {
        const std::size_t begin = static_cast<std::size_t>(n.start * kRate);
        for (std::size_t i = begin; i < s.size(); ++i) {
            const double t = static_cast<double>(i - begin) / kRate;
            const double attack = std::min(1.0, t / 0.004);
            double v = 0;
            for (const auto& p : partials)
                v += p.gain * std::exp(-t / (n.decay * p.decayScale * 2.5)) * std::sin(2 * kPi * n.freq * p.ratio * t);
            s[i] += attack * v;
        }
    }
    normalise(s, 0.55);
    fadeEdges(s, 0.003, 0.06);
    return s;
}

// Wrong answer: two soft low tones going down, 200 Hz then 150 Hz. The
// timbre is a square wave's odd harmonics, rolled off faster than a real
// square so it hums rather than buzzes.
std::vector<double> buzz()
{
    const double length = 0.5;
    std::vector<double> s(static_cast<std::size_t>(length * kRate), 0.0);
    const struct { double freq, start, end; } tones[] = {
        {200.0, 0.00, 0.22},
        {150.0, 0.25, 0.50},
    };
    for (const auto& tone : tones) {
        const std::size_t a = static_cast<std::size_t>(tone.start * kRate);
        const std::size_t b = std::min(s.size(), static_cast<std::size_t>(tone.end * kRate));
        const double dur = tone.end - tone.start;
        for (std::size_t i = a; i < b; ++i) {
            const double t = static_cast<double>(i - a) / kRate;
            const double env = std::min({1.0, t / 0.015, (dur - t) / 0.04}) * (1.0 - 0.35 * t / dur);
            double v = 0;
            for (int k = 1; k <= 9; k += 2)
                v += std::sin(2 * kPi * tone.freq * k * t) / std::pow(k, 1.6);
            s[i] += std::max(0.0, env) * v;
        }
    }
    // A gentle one-pole low-pass takes the edge off the upper harmonics.
    double y = 0;
    const double alpha = 1.0 - std::exp(-2 * kPi * 1400.0 / kRate);
    for (double& v : s) {
        y += alpha * (v - y);
        v = y;
    }
    normalise(s, 0.3);
    fadeEdges(s, 0.005, 0.03);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path dir = argc > 1 ? argv[1] : "assets";
    std::filesystem::create_directories(dir / "suoni");

    writeFile(dir / "icona.ico", encodeIco({{render(48, windowIconScene(false)), 24}}));
    writeFile(dir / "puntatore.ico", encodeIco({{render(48, catScene, 4), 8}}));
    writeFile(dir / "cronometro.ico", encodeIco({{stopwatch(32), 4}, {stopwatch(16), 4}}));
    writeFile(dir / "faccina_sorride.ico", encodeIco({{face(32, Mood::Smile), 4}, {face(16, Mood::Smile), 4}}));
    writeFile(dir / "faccina_neutra.ico", encodeIco({{face(32, Mood::Neutral), 4}, {face(16, Mood::Neutral), 4}}));
    writeFile(dir / "faccina_ride.ico", encodeIco({{face(32, Mood::Laugh), 4}, {face(16, Mood::Laugh), 4}}));
    writeFile(dir / "divieto.ico", encodeIco({{noEntry(32), 4}, {noEntry(16), 4}}));

    for (int size : {48, 64, 128, 256})
        writeFile(dir / ("icona-" + std::to_string(size) + ".png"), encodePng(render(size, windowIconScene(true))));

    writeFile(dir / "suoni" / "Esatto.wav", encodeWav(chime()));
    writeFile(dir / "suoni" / "no.wav", encodeWav(buzz()));
    return 0;
}
