// Fresh program directories under %TEMP%, each with its own copy of kv.exe.
#include "tests/driver/kv_driver.h"

#include <atomic>
#include <fstream>
#include <iterator>

namespace kvtest {
namespace {
std::string temporaryRoot()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string root(buffer, length);
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    return root;
}

std::string uniqueName()
{
    static std::atomic<unsigned> counter{0};
    return "kvtest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(counter++);
}

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}
}  // namespace

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // Wakes early when a message comes, so this thread's windows answer at once.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string binDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    std::string path(buffer, GetModuleFileNameA(nullptr, buffer, MAX_PATH));
    return path.substr(0, path.find_last_of('\\'));
}

ProgramDirectory::ProgramDirectory() : path_(temporaryRoot() + "\\" + uniqueName())
{
    CreateDirectoryA(path_.c_str(), nullptr);
    copyIn(binDirectory() + "\\kv.exe", "kv.exe");
}

ProgramDirectory::~ProgramDirectory() { removeTree(path_); }

bool ProgramDirectory::copyIn(const std::string& sourcePath, const std::string& name)
{
    return CopyFileA(sourcePath.c_str(), pathOf(name).c_str(), FALSE) != FALSE;
}

bool ProgramDirectory::copyInOurComponent()
{
    return copyIn(binDirectory() + "\\component\\APlayer.dll", "APlayer.dll") &&
           copyIn(binDirectory() + "\\fixtures\\atl_shim\\atl.dll", "atl.dll");
}

bool ProgramDirectory::writeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream file(pathOf(name), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::optional<std::string> ProgramDirectory::readFile(const std::string& name) const
{
    std::ifstream file(pathOf(name), std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
}  // namespace kvtest
