#pragma once
// System functions reached by library and export name at run time. An entry is bound the
// first time it is asked for and keeps its address and its own library reference until
// the libraries are released at program end.
#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

struct FunctionName {
    const char* library;     // as stored: "user32" gets its ".dll" from LoadLibraryA
    const char* exportName;  // case matters
};

// The program's entries, by index: the sixteen of the original design, then those that put
// the player window beneath the icon view on the desktop of Windows 11 24H2 and later.
constexpr std::array<FunctionName, 20> systemFunctionNames{{
    {"atl.dll", "AtlAxWinInit"},
    {"user32.dll", "FindWindowA"},
    {"user32.dll", "SendMessageTimeoutA"},
    {"user32", "SetParent"},
    {"user32.dll", "EnumWindows"},
    {"user32", "FindWindowExA"},
    {"user32.dll", "ShowWindow"},
    {"kernel32.dll", "GetModuleHandleW"},
    {"user32.dll", "CreateWindowExA"},
    {"atl.dll", "AtlAxAttachControl"},
    {"kernel32.dll", "RtlMoveMemory"},
    {"kernel32.dll", "LoadLibraryA"},
    {"kernel32.dll", "GetProcAddress"},
    {"kernel32.dll", "FreeLibrary"},
    {"ole32.dll", "CLSIDFromString"},
    {"kernel32.dll", "MultiByteToWideChar"},
    {"user32.dll", "GetWindowLongA"},
    {"user32.dll", "SetWindowLongA"},
    {"user32.dll", "SetLayeredWindowAttributes"},
    {"user32.dll", "SetWindowPos"},
}};

// The fatal message for an entry whose library does not load or lacks the export.
std::string bindingFailureMessage(const std::string& libraryName, const std::string& exportName);

class ExternalFunctionTable {
public:
    struct Entry {
        std::string libraryName;
        std::string exportName;
        FARPROC boundAddress = nullptr;
        HMODULE libraryHandle = nullptr;  // non-null exactly when boundAddress is
    };

    // Libraries without a drive are looked for in programDirectory first.
    ExternalFunctionTable(const std::vector<FunctionName>& names, std::string programDirectory);
    ExternalFunctionTable(const ExternalFunctionTable&) = delete;
    ExternalFunctionTable& operator=(const ExternalFunctionTable&) = delete;

    // The entry's address, binding it first if needed; null when its library does not
    // load or lacks the export (then nothing is held and the entry stays unbound).
    FARPROC bind(std::size_t index);

    // Frees the library reference of every bound entry and empties all entries.
    void releaseLibraries();

    const Entry& entry(std::size_t index) const { return entries_.at(index); }
    std::size_t size() const { return entries_.size(); }

private:
    HMODULE loadLibrary(const std::string& libraryName) const;
    FARPROC bindFromSystemLibraries(Entry& entry) const;

    std::vector<Entry> entries_;
    std::string programDirectory_;
};
