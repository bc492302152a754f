#include "tests/driver/resident_memory.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>

#include "tests/driver/linux_process.h"

namespace kvtest {
namespace {

// A "Name:   N kB" line of /proc/N/status, in MB; -1 when missing.
double statusMB(const std::string& status, const char* name)
{
    const size_t at = status.find(std::string("\n") + name + ":");
    unsigned long kilobytes = 0;
    if (at == std::string::npos || std::sscanf(status.c_str() + at + std::strlen(name) + 2, " %lu kB", &kilobytes) != 1)
        return -1;
    return kilobytes / 1024.0;
}

}  // namespace

ResidentMemory residentMemory(DWORD processId, const std::string& programFolder)
{
    ResidentMemory memory;
    const std::string folder = linuxProcessFolder(programFolder);
    if (!folder.empty()) {
        const std::string status = readWholeFile(folder + "\\status");
        memory.nowMB = statusMB(status, "VmRSS");
        memory.peakMB = statusMB(status, "VmHWM");
        return memory;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return memory;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        memory.nowMB = counters.WorkingSetSize / (1024.0 * 1024.0);
        memory.peakMB = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    }
    CloseHandle(process);
    return memory;
}

}  // namespace kvtest
