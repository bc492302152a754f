#include "tests/driver/processor_time.h"

#include <cstdio>

namespace kvtest {
namespace {
std::string readAll(const std::string& path)
{
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

std::string linuxStat(const std::string& programFolder)
{
    const std::string name = programFolder.substr(programFolder.find_last_of('\\') + 1);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::string stat;
    do {
        if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
        const std::string folder = std::string("Z:\\proc\\") + found.cFileName;
        const std::string commandLine = readAll(folder + "\\cmdline");
        if (commandLine.find(name) != std::string::npos && commandLine.find("kv.exe") != std::string::npos) {
            stat = folder + "\\stat";
        }
    } while (stat.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return stat;
}
}  // namespace

ProcessorTime::ProcessorTime(DWORD processId, const std::string& programFolder)
    : process_(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)), stat_(linuxStat(programFolder))
{
}

ProcessorTime::~ProcessorTime()
{
    if (process_) CloseHandle(process_);
}

double ProcessorTime::seconds() const
{
    if (!stat_.empty()) {
        // Fields after the command name: state is the 1st, user and system ticks the 12th and 13th.
        const std::string line = readAll(stat_);
        const size_t end = line.rfind(')');
        if (end == std::string::npos) return -1;
        unsigned long long user = 0, system = 0;
        if (std::sscanf(line.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &system) != 2) {
            return -1;
        }
        return (user + system) / 100.0;  // USER_HZ
    }
    FILETIME created, exited, kernel, user;
    if (!process_ || !GetProcessTimes(process_, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

double machineProcessorSeconds()
{
    FILE* file = std::fopen("Z:\\proc\\stat", "rb");
    if (!file) return -1;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, wait = 0, irq = 0, softirq = 0, steal = 0;
    const int read = std::fscanf(file, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice, &system, &idle, &wait,
                                 &irq, &softirq, &steal);
    std::fclose(file);
    return read == 8 ? double(user + nice + system + irq + softirq + steal) / 100.0 : -1;  // USER_HZ
}

}  // namespace kvtest
