// The report window and the About window as every desktop draws them:
// places in twips (1/1440 inch, 15 to a pixel at 96 dpi) and fonts, so
// that the agent and the Windows backend cannot drift apart.
#pragma once

#include <array>

namespace jotwell::layout {

inline constexpr int kTwipsPerInch = 1440;

struct Place {
  int left, top, width, height;  // twips
};

struct Font {
  const char* face;
  double points;
  bool bold, italic, underline;
  // Where the face is missing, a stand-in of the same pitch serves.
  bool fixedPitch = false;
};

// The report window's client area and controls.
inline constexpr int kReportWidth = 6570, kReportHeight = 5775;
inline constexpr Place kReportIcon{120, 120, 480, 480};
inline constexpr Place kReportText{720, 120, 5655, 4935};
inline constexpr Font kReportTextFont{"Courier New", 8.25, false, false, false, true};
// &Abort, &Retry, &Ignore and the copy button, in the order of their
// indexes and of the tab order, which the text heads.
inline constexpr std::array<Place, 4> kReportButtons{{
    {3000, 5280, 855, 375},
    {3960, 5280, 855, 375},
    {4920, 5280, 855, 375},
    {6000, 5280, 375, 375},
}};
inline constexpr std::array<const char*, 3> kReportCaptions{"&Abort", "&Retry", "&Ignore"};

// The About window's client area, its frame, and its labels inside the
// frame. Links are pure blue and underlined, and show the hand.
inline constexpr int kAboutWidth = 7215, kAboutHeight = 3615;
inline constexpr Place kAboutFrame{60, 45, 7080, 3480};
struct AboutLabel {
  Font font;
  bool link;
  Place place;  // inside the frame
};
// In the order of the About window's roles: title, kind, home-page link,
// platform, version, maker link.
inline constexpr std::array<AboutLabel, 6> kAboutLabels{{
    {{"Comic Sans MS", 36, true, false, false}, false, {195, 195, 3570, 1005}},
    {{"Comic Sans MS", 9.75, true, false, false}, false, {165, 1200, 1200, 270}},
    {{"Comic Sans MS", 9.75, true, false, true}, true, {1740, 1185, 2055, 285}},
    {{"Arial", 15.75, true, false, false}, false, {4080, 2520, 2775, 360}},
    {{"Arial", 12, true, false, false}, false, {5970, 2835, 885, 285}},
    {{"Arial", 8.25, true, true, true}, true, {6045, 3105, 825, 195}},
}};

}  // namespace jotwell::layout
