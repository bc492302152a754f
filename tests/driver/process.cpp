// Starting kv.exe and waiting for its end.
#include "tests/driver/kv_driver.h"

#include <utility>

namespace kvtest {

Process Process::start(const ProgramDirectory& directory, std::optional<WORD> showCommand)
{
    // Any folder but the program directory: the program must find its directory itself.
    char current[MAX_PATH + 1] = {};
    GetTempPathA(sizeof current, current);
    return start(directory.executable(), current, showCommand);
}

Process Process::start(const std::string& executable, const std::string& currentDirectory,
                       std::optional<WORD> showCommand)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *showCommand;
    }
    PROCESS_INFORMATION started{};
    std::string commandLine = "\"" + executable + "\"";
    if (!CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &started))
        return Process(nullptr, 0);
    CloseHandle(started.hThread);
    return Process(started.hProcess, started.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      id_(std::exchange(other.id_, 0))
{}

Process::~Process()
{
    if (!handle_)
        return;
    if (running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, defaultTimeoutMs);
    }
    CloseHandle(handle_);
}

bool Process::running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::waitForExit(DWORD timeoutMs)
{
    if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}
}  // namespace kvtest
