#include "tests/driver/processor_time.h"

#include <cstdio>

#include "tests/driver/linux_process.h"

namespace kvtest {

ProcessorTime::ProcessorTime(DWORD processId, const std::string& programFolder)
    : process_(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)),
      folder_(linuxProcessFolder(programFolder))
{}

ProcessorTime::~ProcessorTime()
{
    if (process_)
        CloseHandle(process_);
}

double ProcessorTime::seconds() const
{
    if (!folder_.empty()) {
        // Fields after the command name: state is the 1st, user and system ticks the 12th and 13th.
        const std::string line = readWholeFile(folder_ + "\\stat");
        const size_t end = line.rfind(')');
        if (end == std::string::npos)
            return -1;
        unsigned long long user = 0, system = 0;
        if (std::sscanf(line.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                        &system) != 2) {
            return -1;
        }
        return (user + system) / 100.0;  // USER_HZ
    }
    FILETIME created, exited, kernel, user;
    if (!process_ || !GetProcessTimes(process_, &created, &exited, &kernel, &user))
        return -1;
    auto seconds = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

double machineProcessorSeconds()
{
    FILE* file = std::fopen("Z:\\proc\\stat", "rb");
    if (!file)
        return -1;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, wait = 0, irq = 0, softirq = 0, steal = 0;
    const int read = std::fscanf(file, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice, &system, &idle,
                                 &wait, &irq, &softirq, &steal);
    std::fclose(file);
    return read == 8 ? double(user + nice + system + irq + softirq + steal) / 100.0 : -1;  // USER_HZ
}

}  // namespace kvtest
