#pragma once
// Processor seconds used so far, for tests and benchmarks that say what playing costs.
#include <windows.h>

#include <string>

namespace kvtest {

// Processor seconds kv.exe has used so far. Wine's GetProcessTimes answers only for the calling
// process, so under Wine the Linux process behind kv.exe is read instead (/proc, seen as
// Z:\proc): the one whose command line names kv.exe's program folder.
class ProcessorTime {
public:
    ProcessorTime(DWORD processId, const std::string& programFolder);
    ~ProcessorTime();
    ProcessorTime(const ProcessorTime&) = delete;
    ProcessorTime& operator=(const ProcessorTime&) = delete;

    // -1 when it cannot be read.
    double seconds() const;

private:
    HANDLE process_;
    std::string folder_;  // its Linux process's /proc folder, where there is one
};

// The whole machine's busy processor seconds so far, read from Linux under Wine (/proc seen as
// Z:\proc): the Wine server and the X server included, as for a program timed from outside.
// -1 where there is no such file.
double machineProcessorSeconds();

}  // namespace kvtest
