#include "component/folder_playlist.h"

#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <type_traits>

namespace {

// The containers Media Foundation opens with its own sources.
constexpr const wchar_t* videoExtensions[] = {L".mp4", L".m4v", L".mov",  L".wmv", L".avi",  L".mkv", L".webm", L".3gp",
                                              L".3g2", L".mpg", L".mpeg", L".ts",  L".m2ts", L".asf", L".mts"};

struct FindCloser {
    void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

}  // namespace

bool isVideoEntry(const std::wstring& name, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return false;
    const std::wstring extension = name.substr(dot);
    return std::any_of(std::begin(videoExtensions), std::end(videoExtensions), [&](const wchar_t* known) {
        return CompareStringOrdinal(extension.c_str(), -1, known, -1, TRUE) == CSTR_EQUAL;
    });
}

bool comesBefore(const std::wstring& a, const std::wstring& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; }

std::optional<std::wstring> nameAfter(const std::vector<std::wstring>& names, const std::wstring& current)
{
    if (names.empty())
        return std::nullopt;
    if (current.empty())
        return names.front();
    const auto next = std::upper_bound(names.begin(), names.end(), current, comesBefore);
    return next != names.end() ? *next : names.front();
}

std::wstring inFolder(const std::wstring& folder, const std::wstring& name)
{
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

std::vector<std::wstring> videosIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const std::wstring pattern = inFolder(folder, L"*");
    const HANDLE first = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE)
        return names;
    const FindHandle find(first);
    do {
        if (isVideoEntry(entry.cFileName, entry.dwFileAttributes))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end(), comesBefore);
    return names;
}
