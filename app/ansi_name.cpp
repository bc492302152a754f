#include "app/ansi_name.h"

#include <windows.h>

namespace {
std::wstring shortPathName(const std::wstring& name)
{
    const DWORD size = GetShortPathNameW(name.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortName(size, L'\0');
    const DWORD length = GetShortPathNameW(name.c_str(), shortName.data(), size);
    shortName.resize(length < size ? length : 0);
    return shortName;
}
}  // namespace

std::optional<std::string> ansiText(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const UINT page = GetACP();
    const int wideLength = static_cast<int>(wide.size());
    // No best fit: a look-alike would name another file, or none. A system whose code page is
    // UTF-8 (Windows 10's option) writes every character, and refuses the best-fit flag and
    // the default character; only a broken surrogate fails there.
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(page, flags, wide.data(), wideLength, nullptr, 0, nullptr, used);
    if (size == 0 || usedDefault)
        return std::nullopt;
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(page, flags, wide.data(), wideLength, ansi.data(), size, nullptr, used);
    return ansi;
}

std::optional<std::string> ansiName(const std::wstring& name, const ShortNameLookup& shortName)
{
    if (std::optional<std::string> ansi = ansiText(name))
        return ansi;
    const std::wstring alias = shortName(name);
    return alias.empty() ? std::nullopt : ansiText(alias);
}

std::optional<std::string> ansiName(const std::wstring& name) { return ansiName(name, shortPathName); }

std::wstring wideText(const std::string& ansi)
{
    if (ansi.empty())
        return {};
    const int ansiLength = static_cast<int>(ansi.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.data(), size);
    return wide;
}
