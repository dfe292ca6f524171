// The INI engine against GLib's GKeyFile on a file of 1,000 keys: one key
// read (GKeyFile loads the file, then looks the key up) and one key written
// (GKeyFile loads, sets and saves, syncing its copy before the rename).
#include <benchmark/benchmark.h>
#include <glib.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "RatioReporter.h"
#include "platform/ini.h"

namespace {

using namespace jotwell;

std::string ours, theirs;  // one file for each side, alike at the start

platform::IniProfile& Ini() { return platform::Group<platform::IniProfile>::Native(); }

// 10 sections of 100 keys, in a form both read alike.
void WriteSettings(const std::string& file) {
  std::string text = "# settings\n";
  for (int s = 0; s < 10; ++s) {
    text += "\n[Section " + std::to_string(s) + "]\n";
    for (int k = 0; k < 100; ++k) text += "Key" + std::to_string(k) + "=value " + std::to_string(k) + "\n";
  }
  std::FILE* out = std::fopen(file.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
}

void BM_ReadKey(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Ini().ReadProfileText("Section 9", "Key99", "", ours));
}

void BM_GKeyFileRead(benchmark::State& state) {
  for (auto _ : state) {
    GKeyFile* file = g_key_file_new();
    g_key_file_load_from_file(file, theirs.c_str(), G_KEY_FILE_NONE, nullptr);
    gchar* value = g_key_file_get_value(file, "Section 9", "Key99", nullptr);
    benchmark::DoNotOptimize(value);
    g_free(value);
    g_key_file_free(file);
  }
}

void BM_WriteKey(benchmark::State& state) {
  long n = 0;
  for (auto _ : state) Ini().WriteProfileText("Section 9", "Key99", std::to_string(++n % 10), ours);
}

// Comments kept, as ours keeps every line.
void BM_GKeyFileWrite(benchmark::State& state) {
  long n = 0;
  for (auto _ : state) {
    GKeyFile* file = g_key_file_new();
    g_key_file_load_from_file(file, theirs.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
    g_key_file_set_value(file, "Section 9", "Key99", std::to_string(++n % 10).c_str());
    if (!g_key_file_save_to_file(file, theirs.c_str(), nullptr)) state.SkipWithError("not saved");
    g_key_file_free(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  char folder[] = "/tmp/ini_bench.XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  ours = std::string(folder) + "/ours.ini";
  theirs = std::string(folder) + "/theirs.ini";
  WriteSettings(ours);
  WriteSettings(theirs);
  bench::RegisterInterleaved(5, 0.1,
                             {{"BM_GKeyFileRead", BM_GKeyFileRead},
                              {"BM_ReadKey", BM_ReadKey},
                              {"BM_GKeyFileWrite", BM_GKeyFileWrite},
                              {"BM_WriteKey", BM_WriteKey}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);

  reporter.PrintRatio("key read / GKeyFile load and get (target <= 1.0)", "BM_ReadKey", "BM_GKeyFileRead");
  reporter.PrintRatio("key write / GKeyFile load, set and save (target <= 1.1)", "BM_WriteKey",
                      "BM_GKeyFileWrite");
  return 0;
}
