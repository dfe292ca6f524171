// Free space on the log file's drive.
#include <algorithm>
#include <cstdint>

#include "errors/Trap.h"
#include "base/JotBookPrivate.h"
#include "platform/files.h"

namespace jotwell {

namespace {
constexpr Procedure kDiskFreeSpace = "JotBook![Function DiskFreeSpace]";
}

Currency JotBook::Private::DiskFreeSpace() {
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
              Drive = platform::Files().VolumeFolderOf(DrivePath);
              std::uint64_t bytes = platform::Files().FreeBytes(Drive);
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

Currency JotBook::DiskFreeSpace() { return private_->DiskFreeSpace(); }

}  // namespace jotwell
