#include "app/settings_layout.h"

#include "platform/window_ids.h"

namespace {
constexpr DWORD buttonStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

constexpr std::array<ControlLayout, 3> controlsAt96{{
    {layout::applyButton, "BUTTON", "应用", buttonStyle, 0, 160, 72, 88, 32},
    {layout::fileNameEdit, "EDIT", "", editStyle, WS_EX_CLIENTEDGE, 32, 24, 224, 32},
    {layout::browseButton, "BUTTON", "选择", buttonStyle, 0, 40, 72, 96, 32},
}};

int scaled(int lengthAt96, UINT dpi) { return MulDiv(lengthAt96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

int frameWidth(const RECT& frame) { return frame.right - frame.left; }

int frameHeight(const RECT& frame) { return frame.bottom - frame.top; }
}  // namespace

std::array<ControlLayout, 3> settingsControls(UINT dpi)
{
    std::array<ControlLayout, 3> controls = controlsAt96;
    for (ControlLayout& control : controls) {
        control.left = scaled(control.left, dpi);
        control.top = scaled(control.top, dpi);
        control.width = scaled(control.width, dpi);
        control.height = scaled(control.height, dpi);
    }
    return controls;
}

RECT settingsWindowRect(UINT dpi, const RECT& frameAt96, const RECT& frameAtDpi, int screenWidth, int screenHeight)
{
    const int width = scaled(settingsOuterWidthAt96 - frameWidth(frameAt96), dpi) + frameWidth(frameAtDpi);
    const int height = scaled(settingsOuterHeightAt96 - frameHeight(frameAt96), dpi) + frameHeight(frameAtDpi);
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    return {left, top, left + width, top + height};
}
