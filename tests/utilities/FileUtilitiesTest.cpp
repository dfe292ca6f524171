// Pattern copies, the trash and the recent-documents list, over real
// folders, the real trash and a real list, both in the test's own data home.
#include <glib.h>
#include <signal.h>

#include "jotwell/JotBook.h"
#include "support/Children.h"
#include "support/FileFacts.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

namespace fs = std::filesystem;
using namespace test;
using FileUtilitiesTest = IsolatedReportsTest;

// The folders are plain prefixes; every matching entry counts, a folder
// whose copy fails among them; the listing is taken before the first copy,
// so copies into the source folder are neither found nor counted. A
// destination is a prefix, not a folder, when no separator ends it. Any
// name a folder can hold is copied, the longest too, new or over an older copy.
TEST_F(FileUtilitiesTest, CopyFilesCopiesEveryMatchingEntryAndCountsThemAll) {
  for (auto [name, bytes] : {std::pair{"a.txt", "a"}, {"B.TXT", "b"}, {"c", "c"}, {"\xC3\x89t\xC3\xA9.log", "e"}})
    WriteFile(dir.File("src/") + name, bytes);
  fs::create_directory(dir.path() / "src" / "d.txt");
  WriteFile(dir.File("txt/a.txt"), "old");
  const std::string longest(255, 'n');
  WriteFile(dir.File("long/") + longest, "n");
  // source, destination, pattern, the count, and what landed in the destination
  const std::tuple<const char*, const char*, const char*, Long, Lines> rows[] = {
      {"src/", "txt/", "*.txt", 3, {"B.TXT", "a.txt"}},
      {"src/", "all/", "*.*", 5, {"B.TXT", "a.txt", "c", "\xC3\x89t\xC3\xA9.log"}},
      {"src/", "accent/", "\xC3\xA9T\xC3\x89.*", 1, {"\xC3\x89t\xC3\xA9.log"}},
      {"src/", "none/", "*.none", 0, {}},
      {"gone/", "made/", "*.*", 0, {}},
      {"src/", "src/", "*.*", 5, {"B.TXT", "a.txt", "c", "d.txt", "\xC3\x89t\xC3\xA9.log"}},
      {"src/", "flat", "a.txt", 1, {}},
      {"long/", "longest/", "*", 1, {longest}},
      {"long/", "longest/", "*", 1, {longest}},  // now over the copy: a spare name fits too
  };
  std::vector<Long> counts;
  OnFreshThread([&] {
    JotBook book;
    for (const auto& [from, to, pattern, count, landed] : rows)
      counts.push_back(book.CopyFiles(dir.File(from), dir.File(to), pattern));
    EXPECT_EQ(book.LastFailure().Description, "");  // the last row's, counted either way
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
  auto count = counts.begin();
  for (const auto& [from, to, pattern, expected, landed] : rows)
    EXPECT_EQ(std::pair(*count++, EntryNames(dir.path() / to)), std::pair(expected, landed)) << to;
  EXPECT_EQ(ReadFile(dir.File("flata.txt")), "a");
  EXPECT_EQ(ReadFile(dir.File("txt/a.txt")), "a");
  EXPECT_THAT(Reports(), ElementsAre());
}

// The copy is made apart from its name: a file system that takes no more
// leaves the old target whole and no spare behind, and the entry counts; a
// copy killed there (the signal's own action) leaves nothing under any name.
TEST_F(FileUtilitiesTest, CopyThatFailsHalfWayLeavesTheOldTargetWhole) {
  WriteFile(dir.File("big/big.bin"), std::string(1 << 20, 'x'));
  WriteFile(dir.File("out/big.bin"), "old");
  auto copyInto = [&](const char* folder, void (*onFileTooLarge)(int)) {
    return [&, folder, onFileTooLarge] {
      ::signal(SIGXFSZ, onFileTooLarge);
      if (!Limit(RLIMIT_FSIZE, 64 << 10) || !Limit(RLIMIT_CORE, 0))
        return std::string("limit refused");
      return std::to_string(JotBook().CopyFiles(dir.File("big/"), dir.File(folder), "*.bin"));
    };
  };
  EXPECT_THAT(InChildren({copyInto("out/", SIG_IGN), copyInto("new/", SIG_DFL)}),
              ElementsAre("1", HasSubstr("child failed")));
  EXPECT_EQ(ReadFile(dir.File("out/big.bin")), "old");
  EXPECT_THAT(EntryNames(dir.path() / "out"), ElementsAre("big.bin"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "new"));
}

// GLib reads the data home once per process, so the trash is used only in
// a child that has set it. The same name trashed twice keeps both files;
// a file the user may not move stays, with False and no box.
TEST_F(FileUtilitiesTest, DeleteToRecycleBinMovesFilesToTheTrashRestorably) {
  const std::string notes = dir.File("notes.txt"), kept = dir.File("kept/k.txt");
  WriteFile(kept, "k");
  fs::permissions(dir.path(), fs::perms(0755));
  fs::create_directory(dir.path() / "nobody");
  fs::permissions(dir.path() / "nobody", fs::perms(0777));
  EXPECT_EQ(InChild([&] {
              std::string results;
              ::setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
              JotBook book;
              for (const char* bytes : {"first", "second"}) {
                WriteFile(notes, bytes);
                results += book.DeleteToRecycleBin(notes) == True ? "T" : "F";
              }
              ::setenv("XDG_DATA_HOME", dir.File("nobody").c_str(), 1);
              if (!BecomeNobody()) return results + "?";
              return results + (book.DeleteToRecycleBin(kept) == True ? "T" : "F");
            }),
            "TTF");
  EXPECT_FALSE(fs::exists(notes));
  EXPECT_EQ(ReadFile(kept), "k");
  const fs::path trash = dir.path() / "data" / "Trash";
  EXPECT_THAT(EntryNames(trash / "files"), ElementsAre("notes.2.txt", "notes.txt"));
  EXPECT_EQ(ReadFile((trash / "files" / "notes.txt").string()), "first");
  for (const char* info : {"notes.txt.trashinfo", "notes.2.txt.trashinfo"})
    EXPECT_THAT(ReadFile((trash / "info" / info).string()), HasSubstr("\nPath=" + notes + "\n"))
        << info;

  OnFreshThread([&] {
    JotBook book;
    for (const std::string& name : {dir.File("missing"), std::string()})
      EXPECT_EQ(book.DeleteToRecycleBin(name), False);
  });
  const std::string box = "Error!\r\nCannot delete a file that doesn't exist, function DeleteToRecycleBin aborted!\r\n"
                          "Please consult the author of the application for any assistance.";
  EXPECT_THAT(BoxTexts(*desktop), ElementsAre(box, box));
}

// What the recent-documents list holds for `file`: its MIME type, how often
// this program added it, and how many documents the list holds.
std::tuple<std::string, guint, int> RecentEntry(const std::string& list, const std::string& file) {
  std::tuple<std::string, guint, int> entry;
  auto& [mime, count, documents] = entry;
  g_autoptr(GBookmarkFile) bookmarks = g_bookmark_file_new();
  if (!g_bookmark_file_load_from_file(bookmarks, list.c_str(), nullptr)) return entry;
  g_autofree gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
  g_autofree gchar* type = g_bookmark_file_get_mime_type(bookmarks, uri, nullptr);
  if (type) mime = type;
  g_bookmark_file_get_application_info(bookmarks, uri, program_invocation_short_name, nullptr,
                                       &count, nullptr, nullptr);
  documents = g_bookmark_file_get_size(bookmarks);
  return entry;
}

// A second add of a file updates its entry; two processes adding at once
// lose neither's entries; a new list is the user's alone.
TEST_F(FileUtilitiesTest, AddToRecentDocumentsRecordsEachFileOnceAndLosesNone) {
  ScopedEnv home("XDG_DATA_HOME", dir.File("data"));
  const std::string notes = dir.File("notes.txt"), list = dir.File("data/recently-used.xbel");
  WriteFile(notes, "plain words\n");
  OnFreshThread([&] {
    JotBook book;
    String padded = "  " + notes + " ";
    book.AddToRecentDocuments(padded);
    EXPECT_EQ(padded, notes);
    book.AddToRecentDocuments(padded);
  });
  EXPECT_EQ(RecentEntry(list, notes), std::tuple("text/plain", 2u, 1));
  EXPECT_EQ(StatOf(list).st_mode & 0777, 0600u);

  auto adder = [&](const std::string& tag) {
    return [&, tag] {
      JotBook book;
      String path;  // trimmed in place
      for (int i = 0; i < 100; ++i)
        book.AddToRecentDocuments(path = dir.File(tag + std::to_string(i) + ".txt"));
      return std::string("done");
    };
  };
  EXPECT_THAT(InChildren({adder("one"), adder("two")}), ElementsAre("done", "done"));
  EXPECT_EQ(std::get<2>(RecentEntry(list, notes)), 201);
}

}  // namespace
}  // namespace jotwell
