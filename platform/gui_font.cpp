#include "platform/gui_font.h"

#include "platform/window_dpi.h"

namespace {
HFONT stockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
}  // namespace

GuiFont::GuiFont(UINT dpi)
{
    const UINT stockDpi = systemDpi();
    if (dpi == stockDpi)
        return;
    LOGFONTA font{};
    if (!GetObjectA(stockFont(), sizeof font, &font))
        return;
    font.lfHeight = guiFontHeight(font.lfHeight, stockDpi, dpi);
    made_.reset(CreateFontIndirectA(&font));
}

HFONT GuiFont::handle() const { return made_ ? made_.get() : stockFont(); }

LONG guiFontHeight(LONG stockHeight, UINT stockDpi, UINT dpi)
{
    const int heightAt96 = MulDiv(stockHeight, USER_DEFAULT_SCREEN_DPI, static_cast<int>(stockDpi));
    return MulDiv(heightAt96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}
