#include "app/settings_window.h"

#include "app/all_monitors_setting.h"
#include "app/ansi_name.h"
#include "app/app_icon.h"
#include "app/change_interval_setting.h"
#include "app/file_dialog_filter.h"
#include "app/folder_picker.h"
#include "app/login_shortcut.h"
#include "app/play_choice_setting.h"
#include "app/remembered_video.h"
#include "app/settings_file.h"
#include "app/settings_layout.h"
#include "app/startup_show.h"
#include "platform/runtime_error.h"
#include "platform/window_dpi.h"
#include "platform/window_events.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"
#include "player/player_control.h"
#include "player/player_globals.h"
#include "wallpaper/desktop_embedder.h"
#include "wallpaper/player_window.h"

#include <commdlg.h>

#include <memory>
#include <utility>
#include <vector>

namespace {
constexpr const char* title = "kv_动态壁纸设置";
constexpr const char* unwritableNameText =
    "这个名字里有当前系统语言写不出的字符，kv 无法使用它。请把文件或文件夹改个名字再选。";
constexpr DWORD fileNameCapacity = 10240;
constexpr UINT_PTR displaySettledTimer = 1;
constexpr UINT displaySettleMs = 250;

void place(HWND window, const RECT& rect)
{
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT changeIntervalCommand(size_t choice) { return firstChangeIntervalCommand + 0x10 * static_cast<UINT>(choice); }

// The minutes of a "换片间隔" item's command; none for another command.
std::optional<int> changeIntervalOf(UINT command)
{
    for (size_t choice = 0; choice < std::size(intervalChoices); ++choice)
        if (command == changeIntervalCommand(choice))
            return intervalChoices[choice].minutes;
    return std::nullopt;
}

UINT commandOfInterval(int minutes)
{
    for (size_t choice = 0; choice < std::size(intervalChoices); ++choice)
        if (intervalChoices[choice].minutes == minutes)
            return changeIntervalCommand(choice);
    return 0;
}

std::wstring firstDroppedName(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, 0, name.data(), length + 1));
    return name;
}
}  // namespace

SettingsWindow::SettingsWindow() : ProgramWindow(layout::settingsWindow), allMonitors(playsOnAllMonitors()) {}

WindowFrame SettingsWindow::frame() const
{
    return {"KvSettingsWindow",
            title,
            0,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
            0,
            (GetSystemMetrics(SM_CXSCREEN) - settingsOuterWidthAt96) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - settingsOuterHeightAt96) / 2,
            settingsOuterWidthAt96,
            settingsOuterHeightAt96,
            MAKEINTRESOURCEA(KV_APP_ICON),
            settingsWindowShowCommand()};
}

void SettingsWindow::addControls()
{
    // Only the window knows the DPI it is shown at: it takes its size for it here, once it
    // exists and before it is first shown.
    const UINT dpi = windowDpi(handle());
    for (const ControlLayout& control : settingsControls(dpi))
        addControl(control);
    SendMessageA(control(layout::fileNameEdit), EM_LIMITTEXT, 0, 0);
    place(handle(), settingsWindowRect(dpi, windowFrame(handle(), USER_DEFAULT_SCREEN_DPI), windowFrame(handle(), dpi),
                                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    useFontFor(dpi);
    addRunAtLoginItem();
    addPlayChoiceItems();
    addChangeIntervalMenu();
    AppendMenuA(GetSystemMenu(handle(), FALSE), MF_STRING, chooseFolderCommand, "选择文件夹…");
    DragAcceptFiles(handle(), TRUE);
}

// Moved to a monitor of another DPI: the rectangle Windows suggests, the controls and the font
// for the new DPI. The edit box keeps its text, selection and the focus.
void SettingsWindow::onDpiChanged(UINT dpi, const RECT& suggested)
{
    place(handle(), suggested);
    for (const ControlLayout& entry : settingsControls(dpi))
        place(control(entry.componentId), {entry.left, entry.top, entry.left + entry.width, entry.top + entry.height});
    useFontFor(dpi);
}

void SettingsWindow::useFontFor(UINT dpi)
{
    GuiFont font(dpi);
    const auto handleValue = reinterpret_cast<WPARAM>(font.handle());
    SendMessageA(handle(), WM_SETFONT, handleValue, FALSE);
    for (const ControlLayout& entry : settingsControls(dpi))
        SendMessageA(control(entry.componentId), WM_SETFONT, handleValue, TRUE);
    font_ = std::move(font);  // the font it replaces is no longer used
}

void SettingsWindow::addRunAtLoginItem()
{
    HMENU menu = GetSystemMenu(handle(), FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, runAtLoginCommand, "开机时自动运行");
    showRunAtLoginTick();
    AppendMenuA(menu, MF_STRING | (allMonitors ? MF_CHECKED : MF_UNCHECKED), allMonitorsCommand, "在所有显示器上播放");
}

void SettingsWindow::addChangeIntervalMenu()
{
    // The system menu owns the submenu and destroys it with itself.
    HMENU intervals = CreatePopupMenu();
    for (size_t choice = 0; choice < std::size(intervalChoices); ++choice)
        AppendMenuA(intervals, MF_STRING, changeIntervalCommand(choice), intervalChoices[choice].label);
    AppendMenuA(GetSystemMenu(handle(), FALSE), MF_POPUP, reinterpret_cast<UINT_PTR>(intervals), "换片间隔");
    showChangeInterval(changeIntervalMinutes());
}

void SettingsWindow::onChangeIntervalChosen(int minutes)
{
    rememberChangeInterval(minutes);
    showChangeInterval(minutes);
}

void SettingsWindow::showChangeInterval(int minutes)
{
    CheckMenuRadioItem(GetSystemMenu(handle(), FALSE), changeIntervalCommand(0),
                       changeIntervalCommand(std::size(intervalChoices) - 1), commandOfInterval(minutes), MF_BYCOMMAND);
}

void SettingsWindow::onChooseFolderChosen()
{
    if (const std::optional<std::wstring> folder = pickFolder(handle()))
        applyChoice(*folder);
}

void SettingsWindow::onFilesDropped(HDROP drop)
{
    const std::wstring name = firstDroppedName(drop);
    if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
        applyChoice(name);
}

std::optional<std::string> SettingsWindow::ansiChoice(const std::wstring& name)
{
    std::optional<std::string> ansi = ansiName(name);
    if (!ansi)
        MessageBoxA(handle(), unwritableNameText, title, MB_OK | MB_ICONWARNING);
    return ansi;
}

void SettingsWindow::applyChoice(const std::wstring& name)
{
    if (const std::optional<std::string> ansi = ansiChoice(name)) {
        setControlText(layout::fileNameEdit, *ansi);
        onApplyClicked();
    }
}

void SettingsWindow::onAllMonitorsChosen()
{
    allMonitors = !allMonitors;
    rememberAllMonitors(allMonitors);
    CheckMenuItem(GetSystemMenu(handle(), FALSE), allMonitorsCommand,
                  MF_BYCOMMAND | (allMonitors ? MF_CHECKED : MF_UNCHECKED));
    fitPlayerWindowToScreen(allMonitors);
}

void SettingsWindow::addPlayChoiceItems()
{
    HMENU menu = GetSystemMenu(handle(), FALSE);
    AppendMenuA(menu, MF_STRING | (isTicked(hardwareDecoding) ? MF_CHECKED : MF_UNCHECKED), hardwareDecodingCommand,
                hardwareDecoding.label);
    AppendMenuA(menu, MF_STRING | (isTicked(pauseOnBattery) ? MF_CHECKED : MF_UNCHECKED), pauseOnBatteryCommand,
                pauseOnBattery.label);
}

// The tick the user sees is the one that flips.
void SettingsWindow::flipPlayChoice(UINT command, const PlayChoice& choice)
{
    HMENU menu = GetSystemMenu(handle(), FALSE);
    const bool ticked = !(GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED);
    rememberTick(choice, ticked);
    CheckMenuItem(menu, command, MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED));
}

// The component takes it up when it next opens a video.
void SettingsWindow::onHardwareDecodingChosen() { flipPlayChoice(hardwareDecodingCommand, hardwareDecoding); }

// On battery, a user who ticks it expects the wallpaper to stop now, not at the next power event.
void SettingsWindow::onPauseOnBatteryChosen()
{
    flipPlayChoice(pauseOnBatteryCommand, pauseOnBattery);
    tellPlayerPowerChoiceChanged();
}

void SettingsWindow::showRunAtLoginTick()
{
    // Read afresh each time the menu opens: the shortcut may have been made or removed outside.
    CheckMenuItem(GetSystemMenu(handle(), FALSE), runAtLoginCommand,
                  MF_BYCOMMAND | (loginShortcutStartsThisProgram() ? MF_CHECKED : MF_UNCHECKED));
}

void SettingsWindow::onRunAtLoginChosen()
{
    // A shortcut to a kv.exe elsewhere shows unticked, so ticking replaces it.
    if (loginShortcutStartsThisProgram())
        removeLoginShortcut();
    else
        createLoginShortcut();
    showRunAtLoginTick();
}

void SettingsWindow::onCreated()
{
    const std::string stored = readSetting(settingsFilePath(), settingName, settingName);
    if (isPlayedAtStart(stored, isExistingFolder(stored))) {
        setControlText(layout::fileNameEdit, stored);
        onApplyClicked();
    }
}

void SettingsWindow::onClicked(uint32_t componentId)
{
    if (componentId == layout::applyButton)
        onApplyClicked();
    else if (componentId == layout::browseButton)
        onBrowseClicked();
}

void SettingsWindow::onApplyClicked()
{
    // After Esc the handle is forgotten and a new player window opens. One that the shell took
    // with the old desktop comes back on "TaskbarCreated", into the new desktop.
    if (!playerWindowHandle)
        loadPlayerWindow(allMonitors);
    playerControl->open(controlText(layout::fileNameEdit));
    playerControl->play();
    appliedFileName = controlText(layout::fileNameEdit);
    writeSetting(settingsFilePath(), settingName, settingName, appliedFileName);
}

void SettingsWindow::onDestroy() { destroyPlayerWindow(); }

LRESULT SettingsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const Event event = eventOf(message, wParam)) {
        // Like every event, none runs once a shutdown or a fatal report has begun; its message
        // is answered the same either way.
        if (windowEventsAllowed())
            event(*this);
        // The drop's memory is the window's to free, whether or not its event ran.
        if (message == WM_DROPFILES)
            DragFinish(reinterpret_cast<HDROP>(wParam));
        // A display change goes on to the system's own handling; the others end here.
        return message == WM_DISPLAYCHANGE ? ProgramWindow::handleMessage(message, wParam, lParam) : 0;
    }
    switch (message) {
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam))  // the system menu
            showRunAtLoginTick();
        break;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return ProgramWindow::handleMessage(message, wParam, lParam);
}

SettingsWindow::Event SettingsWindow::eventOf(UINT message, WPARAM wParam)
{
    // The shell broadcasts both to top-level windows only; the embedded player window is a
    // child of the desktop and hears neither.
    static const UINT shellStarted = RegisterWindowMessageA("TaskbarCreated");
    if (message == shellStarted && shellStarted != 0)
        return &SettingsWindow::onShellStarted;
    switch (message) {
    case WM_DISPLAYCHANGE:
        return &SettingsWindow::onDisplayChanged;
    case WM_TIMER:
        return wParam == displaySettledTimer ? &SettingsWindow::onDisplaySettled : nullptr;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == runAtLoginCommand)
            return &SettingsWindow::onRunAtLoginChosen;
        if ((wParam & 0xFFF0) == allMonitorsCommand)
            return &SettingsWindow::onAllMonitorsChosen;
        if ((wParam & 0xFFF0) == hardwareDecodingCommand)
            return &SettingsWindow::onHardwareDecodingChosen;
        if ((wParam & 0xFFF0) == pauseOnBatteryCommand)
            return &SettingsWindow::onPauseOnBatteryChosen;
        if ((wParam & 0xFFF0) == chooseFolderCommand)
            return &SettingsWindow::onChooseFolderChosen;
        if (const std::optional<int> minutes = changeIntervalOf(wParam & 0xFFF0))
            return [minutes = *minutes](SettingsWindow& window) { window.onChangeIntervalChosen(minutes); };
        return nullptr;
    case WM_DROPFILES:
        return [drop = reinterpret_cast<HDROP>(wParam)](SettingsWindow& window) { window.onFilesDropped(drop); };
    default:
        return nullptr;
    }
}

// A restarted shell destroyed the desktop and the player window in it: the wallpaper comes
// back on the new desktop. While the player window lives, or before it was ever opened,
// nothing changes.
void SettingsWindow::onShellStarted()
{
    if (playerWindowHandle && !IsWindow(playerWindowHandle))
        reloadPlayerWindow(appliedFileName, allMonitors);
}

// The shell moves its desktop windows on the same notification, perhaps after this: the player
// window's place in them is set again once they have settled.
void SettingsWindow::onDisplayChanged()
{
    fitPlayerWindowToScreen(allMonitors);
    SetTimer(handle(), displaySettledTimer, displaySettleMs, nullptr);
}

void SettingsWindow::onDisplaySettled()
{
    KillTimer(handle(), displaySettledTimer);
    fitPlayerWindowToScreen(allMonitors);
}

void SettingsWindow::onBrowseClicked()
{
    const std::wstring filter = wideText(fileDialogFilter("视频文件(*.MP4)|*.MP4|"));
    std::vector<wchar_t> fileName(fileNameCapacity, L'\0');
    dialogFileName.copy(fileName.data(), fileNameCapacity - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = fileNameCapacity;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    if (GetOpenFileNameW(&dialog)) {
        // A name kv cannot use leaves the remembered choice and the edit box as they were.
        const std::optional<std::string> ansi = ansiChoice(fileName.data());
        if (!ansi)
            return;
        dialogFileName = fileName.data();
        setControlText(layout::fileNameEdit, *ansi);
        return;
    }
    // Cancelled: the remembered choice, which converted when it was made.
    setControlText(layout::fileNameEdit, ansiName(dialogFileName).value_or(""));
}

void loadStartupWindow()
{
    if (!loadWindow(std::make_unique<SettingsWindow>(), nullptr))
        reportFatalError("载入启动窗口失败", 0, layout::settingsWindow, 0);
}
