#include "platform/external_function_table.h"

#include <utility>

namespace {

// Searched in this order for an entry that names no library.
constexpr const char* systemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                           "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

}  // namespace

std::string bindingFailureMessage(const std::string& libraryName, const std::string& exportName)
{
    if (libraryName.empty())
        return "无法找到指定DLL库文件中的输出命令“" + exportName + "”";
    return "无法找到指定DLL库文件“" + libraryName + "”中的输出命令“" + exportName + "”";
}

ExternalFunctionTable::ExternalFunctionTable(const std::vector<FunctionName>& names, std::string programDirectory)
    : programDirectory_(std::move(programDirectory))
{
    for (const FunctionName& name : names)
        entries_.push_back(Entry{name.library, name.exportName});
}

FARPROC ExternalFunctionTable::bind(std::size_t index)
{
    Entry& entry = entries_.at(index);
    if (entry.boundAddress)
        return entry.boundAddress;
    if (entry.libraryName.empty())
        return bindFromSystemLibraries(entry);

    HMODULE handle = loadLibrary(entry.libraryName);
    if (!handle)
        return nullptr;
    FARPROC address = GetProcAddress(handle, entry.exportName.c_str());
    if (!address) {
        FreeLibrary(handle);
        return nullptr;
    }
    entry.boundAddress = address;
    entry.libraryHandle = handle;
    return address;
}

HMODULE ExternalFunctionTable::loadLibrary(const std::string& libraryName) const
{
    if (libraryName.find(':') != std::string::npos)
        return LoadLibraryA(libraryName.c_str());
    // A library beside the program is preferred to any other of the same name.
    const std::string besideProgram = programDirectory_ + "\\" + libraryName;
    if (HMODULE handle = LoadLibraryA(besideProgram.c_str()))
        return handle;
    return LoadLibraryA(libraryName.c_str());
}

FARPROC ExternalFunctionTable::bindFromSystemLibraries(Entry& entry) const
{
    for (const char* library : systemLibraries) {
        HMODULE handle = LoadLibraryA(library);
        if (!handle)
            continue;
        if (FARPROC address = GetProcAddress(handle, entry.exportName.c_str())) {
            entry.boundAddress = address;
            entry.libraryHandle = handle;
            return address;
        }
        FreeLibrary(handle);
    }
    return nullptr;
}

void ExternalFunctionTable::releaseLibraries()
{
    for (Entry& entry : entries_) {
        if (entry.libraryHandle)
            FreeLibrary(entry.libraryHandle);
        entry = Entry{};
    }
}
