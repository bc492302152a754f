#include "app/folder_picker.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>

using Microsoft::WRL::ComPtr;

std::optional<std::wstring> pickFolder(HWND owner)
{
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    // Only a folder with a path: the component opens paths.
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    ComPtr<IShellItem> folder;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(&folder)))
        return std::nullopt;
    wchar_t* path = nullptr;
    if (FAILED(folder->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(path, &CoTaskMemFree);
    return std::wstring(path);
}
