// Start-up on each thread's first JotBook and the About window's handlers;
// every member follows the error trap under its own name.

#include <filesystem>
#include <tuple>
#include <type_traits>

#include "base/LibraryFacts.h"
#include "jotwell/JotBook.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using namespace test;
using Kind = testing::ScriptedDesktop::Kind;
using JotBookTest = IsolatedReportsTest;

static_assert(!std::is_constructible_v<Boolean, int> && !std::is_convertible_v<int, Boolean>);

// Short texts keep the call free of heap allocations before the member's entry.
struct Args { String file = "f", folder = "d", ini = "i", log = "l"; };

// `failure` is the last failure of the call run normally.
struct Member {
  const char* title;
  std::function<void(JotBook&, const Args&)> call;
  Lines arguments{};
  Long failure = 0;
};

class JotBookMember : public JotBookTest, public ::testing::WithParamInterface<Member> {
 protected:
  ScopedEnv dataHome{"XDG_DATA_HOME", dir.path().string()};  // recent documents stay here
};

// Run normally, the member leaves the trace as it found it and tells the
// failure it met, if any, forgetting the last call's; with a failing entry
// it reports under its own title with the arguments it was given.
TEST_P(JotBookMember, KeepsTheTraceAndReportsUnderItsTitleWithItsArguments) {
  Args real{dir.File("missing.txt"), dir.path().string(), dir.File("settings.ini"), dir.File("app.log")};
  WriteFile(dir.File("copy.txt"), "x");  // something for CopyFiles to copy
  OnFreshThread([&] {
    JotBook book;
    book.INI_PathToINI(real.ini), book.LogFileName(real.log);
    book.StripPath(real.file);
    ErrorManager().AddCall({"Host![Sub Caller]"});
    GetParam().call(book, real);
    EXPECT_THAT(ErrorManager().CallStack(), ElementsAre("Host![Sub Caller]"));
    EXPECT_EQ(book.LastFailure().Number, GetParam().failure);
    EXPECT_EQ(book.LastFailure().Description.empty(), GetParam().failure == 0);
  });
  ASSERT_TRUE(Reports().empty());
  OnFreshThread([&] {
    JotBook book;
    FailNextTraceEntry();
    GetParam().call(book, Args{});
    EXPECT_EQ(book.LastFailure().Number, 7);
  });
  ASSERT_THAT(Reports(), ElementsAre(IsReport(7, "JotBook", GetParam().title)));
  Lines arguments = SectionOf(Reports()[0], "Arguments:");
  for (std::string& line : arguments) line.resize(line.find_first_of(" (:"));  // the name alone
  EXPECT_EQ(arguments, GetParam().arguments);
}

using B = JotBook;
using A = const Args&;
INSTANTIATE_TEST_SUITE_P(Table, JotBookMember,
    ::testing::ValuesIn(std::vector<Member>{
        {"Function DeleteToRecycleBin", [](B& b, A a) { b.DeleteToRecycleBin(a.file); }, {"FileName"}, 53},
        {"Property Get INI_PathToINI", [](B& b, A) { b.INI_PathToINI(); }},
        {"Property Let INI_PathToINI", [](B& b, A a) { b.INI_PathToINI(a.ini); }, {"PathToINI"}},
        {"Function StripPath", [](B& b, A a) { b.StripPath(a.file); }, {"FullPath$"}, 53},
        {"Function INI_WriteString", [](B& b, A) { b.INI_WriteString("S", "k", "v"); }, {"SectionName$", "keyname$", "WhatToWrite$"}},
        {"Function INI_ReadINT", [](B& b, A) { b.INI_ReadINT("S", "k"); }, {"SectionName$", "keyname$"}, 53},
        {"Function INI_ReadString", [](B& b, A) { b.INI_ReadString("S", "k"); }, {"SectionName$", "keyname$"}, 53},
        {"Sub EndLogFileEvents", [](B& b, A) { b.EndLogFileEvents(); }, {}, 53},
        {"Sub WriteEventToLogFile", [](B& b, A) { b.WriteEventToLogFile("event"); }, {"Data"}},
        {"Sub AddToRecentDocuments", [](B& b, A a) { String p = a.file; b.AddToRecentDocuments(p); }, {"FilePath"}},
        {"Property Get SizeOfCurrentLogFile", [](B& b, A) { b.SizeOfCurrentLogFile(); }, {}, 76},
        {"Property Get OverwriteLogFile", [](B& b, A) { b.OverwriteLogFile(); }},
        {"Property Let OverwriteLogFile", [](B& b, A) { b.OverwriteLogFile(True); }, {"TrueOrFalse"}},
        {"Property Get MaximumLogFileSize", [](B& b, A) { b.MaximumLogFileSize(); }},
        {"Property Let MaximumLogFileSize", [](B& b, A) { b.MaximumLogFileSize(500); }, {"Size"}},
        {"Property Get LogFileName", [](B& b, A) { b.LogFileName(); }},
        {"Property Let LogFileName", [](B& b, A a) { b.LogFileName(a.log); }, {"NameOfLogFile"}},
        {"Property Get DoesLogFileExist", [](B& b, A) { b.DoesLogFileExist(); }},
        {"Sub DeleteLogFile", [](B& b, A) { b.DeleteLogFile(); }, {}, 76},
        {"Function CopyFiles", [](B& b, A a) { b.CopyFiles(a.folder, a.folder + "/o", "*.txt"); }, {"Source", "Destination", "FileSpec"}},
        {"Function DiskFreeSpace", [](B& b, A) { b.DiskFreeSpace(); }}}),
    [](const auto& info) {  // "Property Get X" becomes "XGet"
      std::string title = info.param.title;
      return title.substr(title.rfind(' ') + 1) + (title[0] == 'P' ? title.substr(9, 3) : "");
    });

TEST_F(JotBookTest, TheFirstOnAThreadBeepsTwiceAndReturnsOnlyAfterTheAboutWindowCloses) {
  bool constructed = false;
  std::string whileShown;  // what had happened by the time the window showed
  desktop->QueueAboutActions([&](AboutWindow&) {
    whileShown = std::to_string(desktop->Exclamations()) + (constructed ? " exclamations, constructed" : " exclamations");
  });
  OnFreshThread([&] {
    JotBook book;
    constructed = true;
    JotBook second;  // later objects on the thread start silently
  });
  EXPECT_EQ(whileShown, "2 exclamations");  // Main's, then the window's load; the object not yet made
  EXPECT_EQ(desktop->Exclamations(), 2);
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 1u);
  // The predeclared instance is the first of its thread, one per thread, and
  // the same one when the About window's Desktop asks for it.
  JotBook* global = nullptr;
  desktop->QueueAboutActions([](AboutWindow&) { JotBook::Global().MaximumLogFileSize(77); });
  OnFreshThread([&] {
    global = &JotBook::Global();
    EXPECT_EQ(&JotBook::Global(), global);
    EXPECT_EQ(global->MaximumLogFileSize(), 77);
  });
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 2u);
  EXPECT_EQ(desktop->Exclamations(), 4);
  EXPECT_NE(&JotBook::Global(), global);  // that thread's instance was alive when its address was taken
  EXPECT_TRUE(Reports().empty());
  // A failure in Main is reported, and the object is created all the same.
  desktop->QueueAboutActions([](AboutWindow&) { throw RuntimeError(errnum::kDeviceUnavailable); });
  OnFreshThread([] {
    JotBook book;
    EXPECT_EQ(book.LastFailure().Number, 0);                   // the start-up's is no call's
    EXPECT_EQ(book.LogFileName() + book.INI_PathToINI(), "");  // every property starts empty
    EXPECT_EQ(book.MaximumLogFileSize() + book.SizeOfCurrentLogFile() + book.OverwriteLogFile().Raw(), 0);
  });
  ASSERT_THAT(Reports(), ElementsAre(IsReport(68, "Module1", "Sub Main")));
}

// A handled error is the call's failure whatever the user chose; so are the
// refusals a member passes over; and a call a sink makes on another object
// keeps its failure to that object.
TEST_F(JotBookTest, LastFailureIsTheCallsWhateverTheChoiceAndStaysWithItsObject) {
  WriteFile(dir.File("in/a.txt"), "a");
  std::filesystem::create_directory(dir.File("in/b.txt"));  // matched, counted, not copied
  OnFreshThread([&] {
    JotBook book, other;
    for (Long choice : {choice::kAbort, choice::kRetry, choice::kIgnore}) {
      desktop->QueueReportChoice(choice);
      FailNextTraceEntry();
      book.MaximumLogFileSize(1);
      EXPECT_EQ(book.LastFailure().Number, 7) << choice;
    }
    book.INI_PathToINI(dir.File("no/settings.ini"));
    EXPECT_EQ(book.INI_WriteString("S", "k", "v"), 0);
    EXPECT_EQ(book.LastFailure().Description, "Path not found");
    EXPECT_EQ(book.CopyFiles(dir.File("in/"), dir.File("out/"), "*.txt"), 2);
    EXPECT_EQ(book.LastFailure().Number, 75);
    struct : JotBookEvents {  // calls back into the same object too, as part of its call
      JotBook *self, *other;
      void SuccessfulWriteToLogFile() override {}
      void ErrorWritingToLogFile(Integer&) override { other->StripPath(""), self->LogFileName(); }
    } sink;
    sink.self = &book, sink.other = &other;
    book.Advise(sink);
    book.LogFileName(dir.File("no/app.log"));
    book.WriteEventToLogFile("lost");
    EXPECT_EQ(book.LastFailure().Number, 76);
    EXPECT_EQ(other.LastFailure().Number, 53);
  });
}

// Each About handler closes the window or not, links open their targets, and
// with a failing entry a handler reports under its own name and the window stays.
TEST_F(JotBookTest, AboutHandlersCloseOrOpenTheirTargetsAndReportUnderTheirOwnNames) {
  std::tuple<const char*, void (*)(AboutWindow&), bool> handlers[] = {  // title, the handler's event, closes
      {"Form1_Click", [](AboutWindow& w) { w.Clicked(AboutWindow::Area::Background); }, true},
      {"Form_KeyPress", [](AboutWindow& w) { Integer key = 13; w.KeyPressed(key); }, true},
      {"Frame1_Click", [](AboutWindow& w) { w.Clicked(AboutWindow::Area::Frame); }, true},
      {"lblProductName_Click", [](AboutWindow& w) { w.Clicked(AboutWindow::Role::Title); }, true},
      {"Label4_Click", [](AboutWindow& w) { w.Clicked(AboutWindow::Role::MakerLink); }, false},
      {"Label5_Click", [](AboutWindow& w) { w.Clicked(AboutWindow::Role::HomePageLink); }, false},
      {"Label5_DblClick", [](AboutWindow& w) { w.DoubleClicked(AboutWindow::Role::HomePageLink); }, false}};
  for (const auto& [title, call, closes] : handlers) {
    SCOPED_TRACE(title);
    bool closed = false, openAfterFailure = false;
    desktop->QueueAboutActions([&, call = call](AboutWindow& window) {
      for (auto inert : {AboutWindow::Role::Kind, AboutWindow::Role::Platform, AboutWindow::Role::Version})
        window.Clicked(inert), window.DoubleClicked(inert);
      window.DoubleClicked(AboutWindow::Role::MakerLink);
      call(window);
      closed = !window.IsLoaded();
    });
    desktop->QueueAboutActions([&, call = call](AboutWindow& window) {
      FailNextTraceEntry();
      call(window);
      openAfterFailure = window.IsLoaded();
    });
    for (int run = 0; run < 2; ++run) OnFreshThread([] { JotBook book; });
    EXPECT_EQ(closed, closes);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_THAT(Reports().back(), IsReport(7, "frmSplash", std::string("Sub ") + title));
  }
  ASSERT_EQ(Reports().size(), 7u);  // one per handler, from its failing call
  EXPECT_EQ(SectionOf(Reports()[1], "Arguments:"), Lines{"KeyAscii = 13"});
  // The links opened (once each, the failing calls opened nothing).
  EXPECT_EQ(desktop->Opened(), (std::vector<String>{kMakerMail, kHomePage, kHomePage}));
}

}  // namespace
}  // namespace jotwell
