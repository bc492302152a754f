#pragma once
// Moves the player window into the desktop's window tree, behind the desktop icons.
#include <windows.h>

// Process-wide handles, null until the embedding sets them.
extern HWND desktopProgramWindow;  // "Progman" titled "Program Manager"
extern HWND playerWindowHandle;    // the "pmrq" window; non-null once the player window was found
extern HWND iconViewWindow;        // the SHELLDLL_DefView looked for last
extern HWND wallpaperLayerWindow;  // the WorkerW hidden behind the icon-view owner; null once given back

// Makes the player window a child of the desktop program window and hides the wallpaper
// layer in front of it; where the icon view lives in the desktop program window itself
// (Windows 11 24H2 and later), layers the player window directly beneath the icon view
// instead. Runs once, at the end of the player window's creation.
void embedPlayerWindow();

// EnumWindows callback: stops at the first top-level window that owns the icon view.
BOOL CALLBACK enumerateTopLevel(HWND window, LPARAM parameter);

// A window of the shell that was just created or shown: when it is a top-level "WorkerW" with
// an empty title, shown, and the first such window behind the owner of the icon view, the
// wallpaper layer is back in front of the video and is hidden again. Only while the player
// window lives.
void hideReturnedWallpaperLayer(HWND window);

// The shell restacked its windows: the "WorkerW" now right behind the icon-view owner is
// judged as above.
void hideWallpaperLayerBehindIconOwner();

// The whole desktop looked at again a moment after the embedding: the shell may still have
// been arranging its windows when the embedding looked (Explorer on a busy machine; under Wine
// a window that joins Progman briefly upsets the top-level order), and a restack in between is
// heard by no one. The "WorkerW" behind the first icon-view owner is hidden; a layer hidden
// behind another owner is shown again. Nothing where the icon view lives in Progman.
void hideWallpaperLayerOnceSettled();

// The video has ended (kv closes, Esc, or the end of the run after a fault): the wallpaper
// layer that was hidden is shown again where it stands, if it still exists and is still the
// shell's layer behind the icon view, and the desktop is redrawn. The user's wallpaper setting
// is never touched. Where nothing was hidden (the icon view in the desktop program window) only
// the redraw is left to do; the player window leaves the desktop program window as it goes.
void giveDesktopBack();
