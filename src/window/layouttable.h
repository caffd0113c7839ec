// The design of the board: every control with its place (in twips, 15 to a
// pixel at 96 dpi), caption, font, colours and options. The window is built
// from this table at every load, so a reload restores every design value.
#pragma once

#include <array>
#include <cstdint>

namespace numerella::layout {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 11880;
inline constexpr int kClientHeightTwips = 8310;

enum class Kind { Timer, TextBox, GraphicalButton, Button, Label, Image };

enum class Face { Default, MsSansSerif, Arial, ArialBlack, TimesNewRoman };

struct Font {
    Face face = Face::Default;
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

struct Rgb {
    int r = -1, g = -1, b = -1;  // -1: the system colour
    constexpr bool isSet() const { return r >= 0; }
};

enum Option : unsigned {
    kNone = 0,
    kTransparent = 1u << 0,
    kOpaque = 1u << 1,
    kBorder = 1u << 2,       // thin sunken frame
    kCentred = 1u << 3,
    kAutoSize = 1u << 4,     // grows right and down with its caption
    kIconPointer = 1u << 5,
    kDisabled = 1u << 6,
};

struct Control {
    const char* name;
    Kind kind;
    int left, top, width, height;  // twips
    const char* caption;           // UTF-8
    Font font;
    Rgb text;
    Rgb back;                      // opaque background or button face
    unsigned options;
    const char* tooltip;           // UTF-8, nullptr for none
    int tabIndex;                  // -1: not in the tab order
    const char* picture;           // resource path, nullptr for none
    const char* disabledPicture;
    const char* downPicture;
    int maxLength;                 // text box only; 0 for no limit
    int timerInterval;             // timer only, in milliseconds
};

inline constexpr int kControlCount = 26;

const std::array<Control, kControlCount>& controls();

// Twips to the logical pixels Qt places widgets in; Qt scales those for
// the screen's real resolution.
constexpr int toPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace numerella::layout
