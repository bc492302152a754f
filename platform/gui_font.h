#pragma once
// The stock DEFAULT_GUI_FONT for a window shown at some DPI. Windows makes the stock font for
// the system DPI, so there it is the font; at any other DPI a font of the same face is made,
// its height the 96-DPI height × DPI / 96, and released with the object that made it.
#include <windows.h>

#include <memory>
#include <type_traits>

class GuiFont {
public:
    GuiFont() = default;  // the stock font itself
    explicit GuiFont(UINT dpi);

    HFONT handle() const;

private:
    struct Deleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    std::unique_ptr<std::remove_pointer_t<HFONT>, Deleter> made_;
};

// The height (a LOGFONT's lfHeight) at `dpi` of a font whose height is stockHeight at stockDpi:
// back to 96 DPI, then × DPI / 96, each step rounded as MulDiv rounds.
LONG guiFontHeight(LONG stockHeight, UINT stockDpi, UINT dpi);
