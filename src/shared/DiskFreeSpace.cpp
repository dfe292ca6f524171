// Free space on the log file's drive.
#include <algorithm>
#include <cstdint>

#include "base/FoundLog.h"
#include "base/JotBookPrivate.h"
#include "errors/Trap.h"
#include "platform/files.h"
#include "values/PathDialect.h"

namespace jotwell {

namespace {
constexpr Procedure kDiskFreeSpace = "JotBook![Function DiskFreeSpace]";

// The free bytes of the volume that holds `folder`, or its nearest existing
// parent: a log's folder may be made only after its name is set.
std::uint64_t FreeBytesNear(String folder) {
  for (;;) {
    try {
      return platform::Files().FreeBytes(folder);
    } catch (const RuntimeError& error) {
      String parent = NativePaths().VolumeFolderOf(folder);
      if (error.Number() != errnum::kPathNotFound || parent == folder) throw;
      folder = parent;
    }
  }
}

}  // namespace

Currency JotBook::Private::DiskFreeSpace(const FoundLog* log) {
  Currency result;
  String Drive, DrivePath;
  Long SectorsPerCluster = 0, BytesPerSector = 0, NumberOfFreeClusters = 0, TotalClusters = 0;
  Long Sts = 0;
  Variant DS;
  double DiskSpace = 0;
  Long t = 0;
  Currency BytesFreeToCalller, TotalBytes, TotalFreeBytes, TotalBytesUsed;
  RunTraced(
      kDiskFreeSpace,
      [&](Registrations& r) {
        r.Variables({{"Drive", Drive},
                     {"DrivePath", DrivePath},
                     {"SectorsPerCluster", SectorsPerCluster},
                     {"BytesPerSector", BytesPerSector},
                     {"NumberOfFreeClusters", NumberOfFreeClusters},
                     {"TotalClusters", TotalClusters},
                     {"Sts", Sts},
                     {"DS", DS},
                     {"DiskSpace", DiskSpace},
                     {"t", t},
                     {"BytesFreeToCalller", BytesFreeToCalller},
                     {"TotalBytes", TotalBytes},
                     {"TotalFreeBytes", TotalFreeBytes},
                     {"TotalBytesUsed", TotalBytesUsed}});
      },
      [&](Trap& trap) {
        trap.WithLocalBlock(
            [&] {
              DrivePath = LogFileName();
              Drive = NativePaths().VolumeFolderOf(DrivePath);
              // An event write asks its open log: the volume the bytes go to,
              // which a link or a mount may put elsewhere than the folder.
              std::optional<platform::NativeFile> open = log ? log->File() : std::nullopt;
              std::uint64_t bytes =
                  open ? platform::Files().FreeBytesOf(*open) : FreeBytesNear(Drive);
              // Too many bytes for a Currency is an overflow, like any
              // figure above its largest whole number.
              BytesFreeToCalller = Currency::FromWhole(
                  static_cast<std::int64_t>(std::min<std::uint64_t>(bytes, INT64_MAX)));
              result = BytesFreeToCalller;
            },
            // Silent: the result stays 0.
            [](const RuntimeError&) {});
      });
  return result;
}

Currency JotBook::DiskFreeSpace() {
  MemberCall call(private_->lastFailure_);
  return private_->DiskFreeSpace();
}

}  // namespace jotwell
