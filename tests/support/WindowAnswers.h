// The ways a user answers the library's two windows, which every
// desktop's window tests drive, keys as xdotool names them.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "errors/frmErrMn.h"

namespace jotwell::test {

// An answer to the report: keys, "click" on Ignore, "close" with the
// title bar's button; the choice, and whether the statement after the
// failing one ran (how a Retry runs it again is the trap's own affair).
struct Answer {
  const char *name, *how;
  Long choice;
  bool after;
};

inline void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.name; }

// Escape is the cancel key wherever the focus is; Enter presses the
// focused button and nothing in the text; closing is no choice.
inline const std::vector<Answer> kReportAnswers{
    {"AltA", "alt+a", choice::kAbort, false},
    {"AltR", "alt+r", choice::kRetry, true},
    {"AltI", "alt+i", choice::kIgnore, true},
    {"Escape", "Escape", choice::kAbort, false},
    {"EscapeOnAButton", "Tab Tab Escape", choice::kAbort, false},
    {"EnterOnTheFocusedButton", "Tab Tab Return", choice::kRetry, true},
    {"EnterInTheText", "Return alt+i", choice::kIgnore, true},
    {"IgnoreClicked", "click", choice::kIgnore, true},
    {"ClosedByTheTitleBar", "close", 0, false}};

// What closes the About window: keys, or (keys nullptr) a click at x, y,
// pixels of its client area at 96 dpi.
struct Closer {
  const char *name, *keys;
  int x, y;
};

inline void PrintTo(const Closer& closer, std::ostream* out) { *out << closer.name; }

inline const std::vector<Closer> kAboutClosers{{"BackgroundClick", nullptr, 240, 238},
                                               {"FrameClick", nullptr, 240, 140},
                                               {"TitleClick", nullptr, 47, 46},
                                               {"Letter", "a", 0, 0},
                                               {"Digit", "7", 0, 0},
                                               {"Enter", "Return", 0, 0},
                                               {"Escape", "Escape", 0, 0},
                                               {"Backspace", "BackSpace", 0, 0}};

// Names each case of a table by its name.
struct ByName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace jotwell::test
