#pragma once
// Typed, guarded calls of the external function table: one wrapper per entry. Each call
// binds its entry on first use, runs through the stack-checking call gate and, when the
// callee leaves the stack unbalanced, raises run-time error 6 with the call site below.
#include <windows.h>
#include <unknwn.h>

#include <cstdint>

struct CallSite {
    uint32_t routine;  // routine number of the caller (0x0401xxxx)
    int32_t position;  // the call within that routine
};

// The program's call sites, by caller.
namespace site {
constexpr CallSite startup{67175824, 0};

constexpr CallSite embedFindDesktop{67174413, 461};
constexpr CallSite embedSpawnWorker{67174413, 515};
constexpr CallSite embedFindPlayer{67174413, 629};
constexpr CallSite embedSetParent{67174413, 695};
constexpr CallSite embedEnumerate{67174413, 728};

constexpr CallSite enumFindIconView{67175356, 25};
constexpr CallSite enumFindWallpaperLayer{67175356, 168};
constexpr CallSite enumHideWallpaperLayer{67175356, 223};

constexpr CallSite hostInstance{67175425, 1157};
constexpr CallSite hostCreateWindow{67175425, 1157};
constexpr CallSite hostAttach{67175425, 1277};
constexpr CallSite hostReadPointer{67175894, 0};

constexpr CallSite loadLibrary{67175826, 55};
constexpr CallSite loadLookUp{67175826, 189};
constexpr CallSite loadFreeAfterLookUp{67175826, 293};
constexpr CallSite loadFreeAfterFactory{67175826, 664};

constexpr CallSite guidParse{67175827, 72};
constexpr CallSite guidSize{67175829, 25};
constexpr CallSite guidConvert{67175829, 229};

constexpr CallSite layerReadStyle{67176192, 31};
constexpr CallSite layerWriteStyle{67176192, 84};
constexpr CallSite layerOpaque{67176192, 137};
constexpr CallSite layerBeneathIconView{67176192, 190};
}  // namespace site

// Entries in table order, named after their exports ("user32" for entries 3 and 5).
namespace ext {
BOOL atlAxWinInit(CallSite at);
HWND findWindow(CallSite at, const char* className, const char* title);
LRESULT sendMessageTimeout(CallSite at, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                           UINT timeoutMs, DWORD_PTR* result);
HWND setParent(CallSite at, HWND child, HWND newParent);
BOOL enumWindows(CallSite at, WNDENUMPROC callback, LPARAM parameter);
HWND findWindowEx(CallSite at, HWND parent, HWND after, const char* className, const char* title);
BOOL showWindow(CallSite at, HWND window, int command);
HMODULE getModuleHandle(CallSite at, const wchar_t* name);
HWND createWindowEx(CallSite at, DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, void* parameter);
HRESULT atlAxAttachControl(CallSite at, IUnknown* control, HWND host, IUnknown** container);
void moveMemory(CallSite at, void* destination, const void* source, SIZE_T length);
HMODULE loadLibrary(CallSite at, const char* path);
FARPROC getProcAddress(CallSite at, HMODULE module, const char* name);
BOOL freeLibrary(CallSite at, HMODULE module);
HRESULT clsidFromString(CallSite at, const wchar_t* text, CLSID* id);
int multiByteToWideChar(CallSite at, UINT codePage, DWORD flags, const char* source, int sourceLength, wchar_t* output,
                        int outputCapacity);
LONG getWindowLong(CallSite at, HWND window, int index);
LONG setWindowLong(CallSite at, HWND window, int index, LONG value);
BOOL setLayeredWindowAttributes(CallSite at, HWND window, COLORREF key, BYTE alpha, DWORD flags);
BOOL setWindowPos(CallSite at, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
}  // namespace ext

// Frees every library that a bound entry loaded and unbinds all entries (program end).
void releaseLibraries();
