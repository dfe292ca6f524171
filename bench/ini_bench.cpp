// The INI engine against GLib's GKeyFile on a file of 1,000 keys: one key
// read (GKeyFile loads the file, then looks the key up) and one key written
// (GKeyFile loads, sets and saves, syncing its copy before the rename).
// Then peak memory and read time on files of 100 MB, ordinary and
// pathological, against the file's size and the ordinary file's time.
#include <benchmark/benchmark.h>
#include <glib.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
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

constexpr double kMiB = 1 << 20;

// `head`, then `piece` repeated up to `size` bytes.
void WriteRepeated(const std::string& file, const std::string& head, const std::string& piece,
                   std::size_t size) {
  std::string chunk;
  while (chunk.size() < kMiB) chunk += piece;
  std::FILE* out = std::fopen(file.c_str(), "wb");
  std::fwrite(head.data(), 1, head.size(), out);
  for (std::size_t left = size - head.size(); left > 0;) {
    std::size_t n = std::min(left, chunk.size());
    std::fwrite(chunk.data(), 1, n, out);
    left -= n;
  }
  std::fclose(out);
}

struct Outcome {
  double peakBytes, seconds;
};

// Runs the work in a child of its own: its peak resident size, and the
// work's time.
Outcome InChild(const std::function<void()>& work) {
  int channel[2];
  if (::pipe(channel) != 0) std::abort();
  pid_t child = ::fork();
  if (child == 0) {
    auto start = std::chrono::steady_clock::now();
    work();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::_exit(::write(channel[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
  }
  ::close(channel[1]);
  Outcome outcome{0, 0};
  if (::read(channel[0], &outcome.seconds, sizeof outcome.seconds) != sizeof outcome.seconds)
    std::abort();
  ::close(channel[0]);
  struct rusage usage {};
  int status;
  ::wait4(child, &status, 0, &usage);
  outcome.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024;
  return outcome;
}

// A key read and a key write that each go through the whole file (the
// section is missing), each in a child whose peak resident size, less that
// of an idle child forked just before, is set against the file's size.
void MeasureLargeFiles(const std::string& file) {
  std::string settings = "[Section]\r\n", wide;
  for (int k = 0; k < 100; ++k)
    settings += "Key" + std::to_string(k) + "=value " + std::to_string(k) + "\r\n";
  for (char c : settings) wide += {c, '\0'};
  struct Case {
    const char* name;
    std::string head, piece;
  };
  const Case cases[] = {{"settings", "", settings},
                        {"section headers", "", "[a]\n"},
                        {"one line", "k=", "x"},
                        {"settings, UTF-16", "\xFF\xFE", wide}};
  double settingsRead = 0;
  std::printf("\nPeak memory over an idle child's, against the file's size, and read time:\n");
  for (const Case& c : cases) {
    WriteRepeated(file, c.head, c.piece, 100 * static_cast<std::size_t>(kMiB));
    double size = static_cast<double>(std::filesystem::file_size(file));
    double idle = InChild([] {}).peakBytes;  // what the child has from this process
    Outcome read = InChild([&] { Ini().ReadProfileText("Missing", "Key", "", file); });
    Outcome write = InChild([&] { Ini().WriteProfileText("Missing", "Key", "v", file); });
    if (settingsRead == 0) settingsRead = read.seconds;
    double readPeak = read.peakBytes - idle, writePeak = write.peakBytes - idle;
    std::printf(
        "%-17s %.0f MiB: read size %+.1f MiB (bound + 1 MiB: %s), write 2 x size %+.1f MiB "
        "(bound + 1 MiB: %s); read %.3f s, %.2f x the settings file's\n",
        c.name, size / kMiB, (readPeak - size) / kMiB, readPeak <= size + kMiB ? "met" : "EXCEEDED",
        (writePeak - 2 * size) / kMiB, writePeak <= 2 * size + kMiB ? "met" : "EXCEEDED",
        read.seconds, read.seconds / settingsRead);
  }
  std::filesystem::remove(file);
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

  reporter.PrintRatio("key read / GKeyFile load and get (target <= 1.0)", "BM_ReadKey", "BM_GKeyFileRead");
  reporter.PrintRatio("key write / GKeyFile load, set and save (target <= 1.1)", "BM_WriteKey",
                      "BM_GKeyFileWrite");
  std::fflush(stdout);
  MeasureLargeFiles(std::string(folder) + "/large.ini");
  std::filesystem::remove_all(folder);
  return 0;
}
