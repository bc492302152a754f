#pragma once
// kv.exe's resident memory, for benchmarks that say what playing costs. Under Wine it is read
// from the Linux process behind kv.exe, where the platform's decoder lives too; on Windows,
// from the process's counters.
#include <windows.h>

#include <string>

namespace kvtest {

struct ResidentMemory {
    double nowMB = -1;   // -1: not readable
    double peakMB = -1;  // the most it has held since it started
};

ResidentMemory residentMemory(DWORD processId, const std::string& programFolder);

}  // namespace kvtest
