// The About window on a real display, shown by each thread's first
// JotBook: what closes it and what does not, its links handed to the
// desktop's default application, and two threads showing it at once.

#include "base/LibraryFacts.h"
#include "e2e/WindowSupport.h"
#include "jotwell/JotBook.h"
#include "support/WindowAnswers.h"

namespace jotwell {
namespace {

using test::Caller;
using test::Point;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

// Points of the window, in pixels: the frame begins at 4, 3.
constexpr Point kBackground{240, 238}, kFrame{240, 140}, kTitle{47, 46}, kKind{35, 91}, kHomeLink{150, 91},
    kPlatform{356, 183}, kVersion{434, 201}, kMakerLink{444, 216};

class AboutWindowTest : public test::WindowsTest {
 protected:
  // The first object of a fresh thread, which shows the About window.
  Caller StartUp() {
    return Caller([this] {
      JotBook book;
      depthAfter = ErrorManager().CallDepth();
    });
  }
  size_t depthAfter = 99;  // the thread's call trace once the object is handed out
};

class AboutCloserTest : public AboutWindowTest,
                        public ::testing::WithParamInterface<test::Closer> {};

// Keys without a character, the plain labels, and a press released on
// another place than its own leave the window open.
TEST_P(AboutCloserTest, ClosesTheWindowAndLetsTheObjectBeHandedOut) {
  Caller start = StartUp();
  std::string window = test::WindowOf("jotwell-about");
  test::Screenshot(window, "about-window");
  EXPECT_THAT(test::Run("xdotool getwindowgeometry " + window), HasSubstr("Geometry: 481x241"));
  test::Keys(window, "Right F1 shift");
  for (Point plain : {kKind, kPlatform, kVersion}) test::ClickAt(window, plain);
  for (auto [from, to] : {std::pair{kTitle, kBackground}, {kBackground, kFrame}})
    test::Drag(window, from, to);
  EXPECT_FALSE(start.Returned(500ms));
  if (GetParam().keys) test::Keys(window, GetParam().keys);
  else test::ClickAt(window, {GetParam().x, GetParam().y});
  start.Join();
  EXPECT_TRUE(test::Gone(window));
  EXPECT_EQ(depthAfter, 0u);
}

INSTANTIATE_TEST_SUITE_P(Each, AboutCloserTest, ::testing::ValuesIn(test::kAboutClosers),
                         test::ByName());

// A recording handler, in a home of the test's own, stands in for the
// browser and the mail program. A double-click is a click and a
// double-click: the home page opens twice for it. A link pressed and
// released elsewhere opens nothing.
TEST_F(AboutWindowTest, LinksHandTheirTargetsToTheDefaultApplication) {
  std::string opened = dir.File("opened");
  test::WriteFile(dir.File("data/applications/recorder.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Recorder\nExec=sh -c 'echo \"$1\" >> " +
                      opened + "' sh %u\n");
  test::WriteFile(dir.File("config/mimeapps.list"), "[Default Applications]\nx-scheme-handler/https=recorder.desktop\n"
                                                     "x-scheme-handler/mailto=recorder.desktop\n");
  test::ScopedEnv home("HOME", dir.path().string()), data("XDG_DATA_HOME", dir.File("data")),
      config("XDG_CONFIG_HOME", dir.File("config"));
  Caller start = StartUp();
  std::string window = test::WindowOf("jotwell-about");
  for (Point link : {kHomeLink, kMakerLink}) test::Drag(window, link, kBackground);
  for (auto [at, clicks] : {std::pair{kHomeLink, 1}, {kHomeLink, 2}, {kMakerLink, 1}}) {
    test::ClickAt(window, at, clicks);
    std::this_thread::sleep_for(600ms);  // so that no two gestures make one double-click
  }
  // Only the verb Open, or none, opens.
  CurrentDesktop()->Open("print", "https://jotwell.example.org/print", "", "", 1);
  CurrentDesktop()->Open("", kHomePage, "", "", 1);
  test::Eventually([&] { return test::LinesOf(test::ReadFile(opened)).size() >= 5; });
  EXPECT_FALSE(start.Returned());
  test::Keys(window, "Escape");
  start.Join();
  EXPECT_THAT(test::LinesOf(test::ReadFile(opened)),
              UnorderedElementsAre(kHomePage, kHomePage, kHomePage, kHomePage, kMakerMail));
}

// Each thread's first object shows the window; its later ones start
// silently.
TEST_F(AboutWindowTest, TwoThreadsEachShowTheWindowOnce) {
  auto twoObjects = [] { JotBook first, second; };
  Caller one(twoObjects), other(twoObjects);
  for (const std::string& window : test::WindowsOf("jotwell-about", 2)) test::Keys(window, "x");
  one.Join();
  other.Join();
  EXPECT_THAT(test::Visible("jotwell-about"), ::testing::IsEmpty());
}

}  // namespace
}  // namespace jotwell
