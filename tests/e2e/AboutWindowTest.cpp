// The About window on a real display, shown by each thread's first
// JotBook: what closes it and what does not, its links handed to the
// desktop's default application, and two threads showing it at once.

#include <sys/stat.h>

#include <algorithm>
#include <thread>

#include "base/LibraryFacts.h"
#include "e2e/WindowSupport.h"
#include "jotwell/JotBook.h"

namespace jotwell {
namespace {

using namespace std::chrono_literals;
using test::Caller;

// Points of the window, in pixels: the frame begins at 4, 3.
struct Point {
  int x, y;
};
constexpr Point kBackground{240, 238}, kFrame{240, 140}, kTitle{47, 46}, kKind{35, 91},
    kHomeLink{150, 91}, kPlatform{356, 183}, kVersion{434, 201}, kMakerLink{444, 216};

// The first object of a fresh thread, which shows the About window; the
// thread's call trace depth once it is handed out.
Caller StartUp(size_t& depthAfter) {
  return Caller([&depthAfter] {
    JotBook book;
    depthAfter = ErrorManager().CallDepth();
  });
}

struct Closer {
  const char* name;
  const char* keys;  // nullptr: a click at `at`
  Point at;
};

void PrintTo(const Closer& closer, std::ostream* out) { *out << closer.name; }

class AboutCloserTest : public test::WindowsTest, public ::testing::WithParamInterface<Closer> {};

TEST_P(AboutCloserTest, ClosesTheWindowAndLetsTheObjectBeHandedOut) {
  size_t depth = 99;
  Caller start = StartUp(depth);
  std::string window = test::WindowOf("jotwell-about");
  EXPECT_FALSE(start.Returned(200ms));
  if (GetParam().keys) test::Keys(window, GetParam().keys);
  else test::ClickAt(window, GetParam().at.x, GetParam().at.y);
  start.Join();
  EXPECT_TRUE(test::Gone(window));
  EXPECT_EQ(depth, 0u);
}

INSTANTIATE_TEST_SUITE_P(Each, AboutCloserTest,
                         ::testing::Values(Closer{"BackgroundClick", nullptr, kBackground},
                                           Closer{"FrameClick", nullptr, kFrame},
                                           Closer{"TitleClick", nullptr, kTitle},
                                           Closer{"Letter", "a", {}}, Closer{"Digit", "7", {}},
                                           Closer{"Enter", "Return", {}}, Closer{"Escape", "Escape", {}},
                                           Closer{"Backspace", "BackSpace", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

class AboutWindowTest : public test::WindowsTest {};

TEST_F(AboutWindowTest, KeysWithoutACharacterAndThePlainLabelsLeaveItOpen) {
  size_t depth = 99;
  Caller start = StartUp(depth);
  std::string window = test::WindowOf("jotwell-about");
  test::Screenshot(window, "about-window");
  test::Keys(window, "Right F1 shift");
  for (Point plain : {kKind, kPlatform, kVersion}) test::ClickAt(window, plain.x, plain.y);
  EXPECT_FALSE(start.Returned(500ms));
  test::Keys(window, "q");
  start.Join();
}

// A recording handler stands in for the browser and the mail program, in a
// home of the test's own.
TEST_F(AboutWindowTest, LinksHandTheirTargetsToTheDefaultApplication) {
  std::string opened = dir.File("opened");
  test::WriteFile(dir.File("record"), "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + opened + "'\n");
  ::chmod(dir.File("record").c_str(), 0755);
  test::WriteFile(dir.File("data/applications/recorder.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + dir.File("record") +
                      " %u\nMimeType=x-scheme-handler/https;x-scheme-handler/mailto;\n");
  test::WriteFile(dir.File("config/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/https=recorder.desktop\n"
                  "x-scheme-handler/mailto=recorder.desktop\n");
  test::ScopedEnv home("HOME", dir.path().string()), data("XDG_DATA_HOME", dir.File("data")),
      config("XDG_CONFIG_HOME", dir.File("config"));

  size_t depth = 99;
  Caller start = StartUp(depth);
  std::string window = test::WindowOf("jotwell-about");
  // Apart in time, so that no two gestures make one double-click.
  for (auto [at, clicks] : {std::pair{kHomeLink, 1}, {kHomeLink, 2}, {kMakerLink, 1}}) {
    test::ClickAt(window, at.x, at.y, clicks);
    std::this_thread::sleep_for(600ms);
  }
  std::vector<std::string> lines;
  for (int i = 0; i < 100 && lines.size() < 4; ++i, std::this_thread::sleep_for(100ms)) {
    std::string text = test::ReadFile(opened);
    lines.clear();
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
  }
  EXPECT_FALSE(start.Returned());
  test::Keys(window, "Escape");
  start.Join();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{kHomePage, kHomePage, kHomePage, kMakerMail}));
}

// Each thread's first object shows the window; its later ones start
// silently.
TEST_F(AboutWindowTest, TwoThreadsEachShowTheWindowOnce) {
  auto twoObjects = [] {
    JotBook first;
    JotBook second;
  };
  Caller one(twoObjects), other(twoObjects);
  std::vector<std::string> windows = test::WindowsOf("jotwell-about", 2);
  ASSERT_EQ(windows.size(), 2u);
  for (const std::string& window : windows) test::Keys(window, "x");
  one.Join();
  other.Join();
  EXPECT_EQ(test::Run("xdotool search --onlyvisible --classname '^jotwell-about$'"), "");
}

}  // namespace
}  // namespace jotwell
