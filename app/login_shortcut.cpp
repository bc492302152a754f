#include "app/login_shortcut.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t* const shortcutName = L"kv 动态壁纸.lnk";

// The full path of the shortcut in the Startup folder; empty when the folder is unknown.
std::wstring shortcutPath()
{
    wchar_t* folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder)))
        path = std::wstring(folder) + L"\\" + shortcutName;
    CoTaskMemFree(folder);
    return path;
}

std::wstring thisProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ComPtr<IShellLinkW> newShellLink()
{
    ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
    return link;
}
}  // namespace

bool samePath(const std::wstring& first, const std::wstring& second)
{
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

bool loginShortcutStartsThisProgram()
{
    const std::wstring path = shortcutPath();
    ComPtr<IShellLinkW> link = newShellLink();
    ComPtr<IPersistFile> file;
    if (path.empty() || !link || FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return false;
    wchar_t target[MAX_PATH] = {};
    if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK)
        return false;
    return samePath(target, thisProgram());
}

bool createLoginShortcut()
{
    const std::wstring path = shortcutPath();
    const std::wstring program = thisProgram();
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    ComPtr<IShellLinkW> link = newShellLink();
    ComPtr<IPersistFile> file;
    if (path.empty() || !link || FAILED(link.As(&file)))
        return false;
    // Minimised without activation: at login the settings window waits on the taskbar.
    return SUCCEEDED(link->SetPath(program.c_str())) && SUCCEEDED(link->SetWorkingDirectory(folder.c_str())) &&
           SUCCEEDED(link->SetShowCmd(SW_SHOWMINNOACTIVE)) && SUCCEEDED(file->Save(path.c_str(), TRUE));
}

bool removeLoginShortcut()
{
    const std::wstring path = shortcutPath();
    return !path.empty() && (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
}
