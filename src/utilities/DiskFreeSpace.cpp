// Free space on the log file's drive.
#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace jotwell {

namespace {
constexpr Procedure kDiskFreeSpace = "JotBook![Function DiskFreeSpace]";
}

Currency JotBook::DiskFreeSpace() {
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
      [&](Trap&) {});
  return result;
}

}  // namespace jotwell
