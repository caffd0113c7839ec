#include "layouttable.h"

namespace numerella::layout {

namespace {

constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kLightYellow{255, 255, 128};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kTeal{0, 192, 192};
constexpr Rgb kPurple{192, 0, 192};
constexpr Rgb kSystem{};

constexpr Font kDefaultFont{};
constexpr Font kSans24{Face::MsSansSerif, 24};
constexpr Font kSans24Bold{Face::MsSansSerif, 24, true};
constexpr Font kSans24BoldItalic{Face::MsSansSerif, 24, true, true};
constexpr Font kSans18{Face::MsSansSerif, 18};
constexpr Font kSans13Bold{Face::MsSansSerif, 13.5, true};
constexpr Font kSans13{Face::MsSansSerif, 13.5};
constexpr Font kSans9{Face::MsSansSerif, 9.75};
constexpr Font kSansButton{Face::MsSansSerif, 8.25, true};
constexpr Font kArial48Bold{Face::Arial, 48, true};
constexpr Font kArial48{Face::Arial, 48};
constexpr Font kArialBlack12Bold{Face::ArialBlack, 12, true};
constexpr Font kTimes36Bold{Face::TimesNewRoman, 36, true};

constexpr unsigned T = kTransparent;
constexpr unsigned B = kBorder;
constexpr unsigned C = kCentred;
constexpr unsigned A = kAutoSize;

// In creation order; later controls lie above earlier ones where they overlap.
constexpr std::array<Control, kControlCount> kControls = {{
    {"Timer1", Kind::Timer, 0, 0, 0, 0, "", kDefaultFont, kSystem, kSystem, kNone, nullptr, -1,
     nullptr, nullptr, nullptr, 0, 1000},
    {"txtAnswer", Kind::TextBox, 8160, 0, 2775, 1200, "", kArial48Bold, kBlue, kLightYellow, kNone,
     "Inserisci il risultato e  premi il tasto  Invio", 8, nullptr, nullptr, nullptr, 4, 0},
    {"cmdNext", Kind::GraphicalButton, 4200, 5280, 1815, 1095, "&Nuovo calcolo", kSansButton, kSystem, kTeal,
     kDisabled | kIconPointer, "Go", 2, ":/assets/faccina_sorride.ico", ":/assets/faccina_neutra.ico",
     ":/assets/faccina_ride.ico", 0, 0},
    {"cmdExit", Kind::GraphicalButton, 7680, 5280, 2055, 1095, "E&xit", kSansButton, kSystem, kPurple, kNone,
     "Ti prego resta ancora, forse riuscirai a farmi uscire ", 0, ":/assets/divieto.ico", nullptr, nullptr, 0, 0},
    {"Command1", Kind::Button, 4680, 5640, 855, 615, "Command1", kDefaultFont, kSystem, kSystem, kNone, nullptr, 14,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblpunti", Kind::Label, 10440, 7560, 270, 555, "0", kSans24, kYellow, kSystem, T | A, nullptr, 23,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label13", Kind::Label, 8280, 7560, 1965, 555, "con punti", kSans24, kYellow, kSystem, T | A, nullptr, 22,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblnome", Kind::Label, 3120, 7560, 1275, 555, "nome", kSans24Bold, kYellow, kSystem, T | A, nullptr, 21,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label12", Kind::Label, 120, 7560, 2895, 615, "Il record  è di ", kSans24, kYellow, kSystem, T, nullptr, 20,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblnome1", Kind::Label, 120, 6480, 165, 420, "", kSans13Bold, kGreen, kSystem, T | B | A, nullptr, 19,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label14", Kind::Label, 0, 5520, 1425, 420, "Sfidante", kSans13, kCyan, kSystem, T | B | C | A, nullptr, 18,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label5", Kind::Label, 2040, 2160, 6615, 615, "", kSans24BoldItalic, kRed, kSystem, T | C | kIconPointer,
     nullptr, 17, nullptr, nullptr, nullptr, 0, 0},
    {"lblconto", Kind::Label, 0, 2280, 1575, 495, "00.00.00", kArialBlack12Bold, kYellow, kSystem, T | B, nullptr, 16,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label11", Kind::Label, 0, 1320, 1575, 375, "Tempo restante", kSans9, kYellow, kSystem, T, nullptr, 15,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label3", Kind::Label, 7440, 3360, 2340, 495, "Risposte totali", kSans18, kBlue, kSystem, T | B | A, nullptr, 13,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label1", Kind::Label, 3840, 3360, 2520, 495, "Risposte errate", kSans18, kRed, kSystem, T | B | A, nullptr, 12,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblScore2", Kind::Label, 8310, 4080, 555, 885, "0", kTimes36Bold, kBlue, kSystem, T | B | C | A, nullptr, 11,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblScore1", Kind::Label, 4830, 4080, 540, 885, "0", kTimes36Bold, kRed, kSystem, T | B | C | A, nullptr, 3,
     nullptr, nullptr, nullptr, 0, 0},
    {"Image1", Kind::Image, 480, 1680, 480, 480, "", kDefaultFont, kSystem, kSystem, kNone,
     "Clicca sotto di me per impostare il Timer", -1, ":/assets/cronometro.ico", nullptr, nullptr, 0, 0},
    {"lblNum2", Kind::Label, 4155, 0, 345, 1185, "", kArial48Bold, kBlue, kYellow, kOpaque | B | C | A, nullptr, 10,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label4", Kind::Label, 5880, 0, 615, 975, "=", kArial48Bold, kYellow, kSystem, T | C, nullptr, 7,
     nullptr, nullptr, nullptr, 0, 0},
    {"Label2", Kind::Label, 2400, 0, 615, 975, "X", kArial48, kYellow, kSystem, T | C, nullptr, 6,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblNum1", Kind::Label, 840, 0, 345, 1185, "", kArial48Bold, kBlue, kYellow, kOpaque | B | C | A, nullptr, 5,
     nullptr, nullptr, nullptr, 0, 0},
    {"lblScore", Kind::Label, 1080, 4080, 555, 885, "0", kTimes36Bold, kSystem, kSystem, T | B | C | A,
     "Questo è il tuo punteggio. Forza con il  record", 4, nullptr, nullptr, nullptr, 0, 0},
    {"lblMessage", Kind::Label, 1680, 2040, 6615, 615, "", kSans24BoldItalic, kRed, kSystem, T | C | kIconPointer,
     nullptr, 1, nullptr, nullptr, nullptr, 0, 0},
    {"Label6", Kind::Label, 240, 3360, 2565, 495, "Risposte esatte", kSans18, kCyan, kSystem, T | B | C | A, nullptr, 9,
     nullptr, nullptr, nullptr, 0, 0},
}};

} // namespace

const std::array<Control, kControlCount>& controls()
{
    return kControls;
}

} // namespace numerella::layout
