#pragma once
// The start-up window: an edit box with the video file's or folder's path, a button that picks
// the file through the open-file dialog, and a button that applies it. A file or folder dropped
// on it, or a folder from the system menu's folder picker, is applied at once.
#include "platform/gui_font.h"
#include "platform/program_window.h"

#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

struct PlayChoice;

class SettingsWindow : public ProgramWindow {
public:
    SettingsWindow();

private:
    WindowFrame frame() const override;
    void addControls() override;
    void onCreated() override;
    void onClicked(uint32_t componentId) override;
    void onDestroy() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The window's own event that the message brings, or null.
    using Event = std::function<void(SettingsWindow&)>;
    static Event eventOf(UINT message, WPARAM wParam);

    void onApplyClicked();
    void onBrowseClicked();
    void onShellStarted();
    void onDisplayChanged();
    void onDpiChanged(UINT dpi, const RECT& suggested);
    // The font for that DPI, to the window and its controls.
    void useFontFor(UINT dpi);
    void onDisplaySettled();

    // The system menu's "开机时自动运行" item: its tick shows whether the login shortcut
    // starts this kv.exe; choosing it makes or removes that shortcut.
    void addRunAtLoginItem();
    void showRunAtLoginTick();
    void onRunAtLoginChosen();
    // The system menu's "在所有显示器上播放" item: ticked, the video covers every monitor, each
    // filled with the whole picture; the choice is kept in the settings file.
    void onAllMonitorsChosen();
    // The system menu's "硬件解码" and "使用电池时暂停" items: ticks read from the settings file at
    // start; choosing one flips its tick and keeps it there, for the component to read.
    void addPlayChoiceItems();
    void flipPlayChoice(UINT command, const PlayChoice& choice);
    void onHardwareDecodingChosen();
    void onPauseOnBatteryChosen();
    // The system menu's "换片间隔" radio items: when a folder's wallpaper moves to its next video.
    void addChangeIntervalMenu();
    void showChangeInterval(int minutes);
    void onChangeIntervalChosen(int minutes);
    // The system menu's "选择文件夹…" item: the chosen folder is applied at once.
    void onChooseFolderChosen();
    void onFilesDropped(HDROP drop);

    // The name for the ANSI world; none, after telling the user, when it cannot be written.
    std::optional<std::string> ansiChoice(const std::wstring& name);
    // A name chosen by the picker or a drop goes to the edit box and is applied.
    void applyChoice(const std::wstring& name);

    std::wstring dialogFileName;  // the dialog's remembered choice; kept across cancels
    std::string appliedFileName;  // the name the last apply played and wrote to the settings file
    GuiFont font_;                // the font the window and its controls have
    bool allMonitors;             // the video on all monitors; read from the settings file at start
};

// The system command of the "开机时自动运行" item (below the system's own, which start at 0xF000).
constexpr UINT runAtLoginCommand = 0x0010;
// The system command of the "在所有显示器上播放" item.
constexpr UINT allMonitorsCommand = 0x0020;
// The system command of the "选择文件夹…" item.
constexpr UINT chooseFolderCommand = 0x0030;
// The system commands of the "换片间隔" items, in the order of intervalChoices, 0x10 apart.
constexpr UINT firstChangeIntervalCommand = 0x0040;

// The system commands of the "硬件解码" and "使用电池时暂停" items.
constexpr UINT hardwareDecodingCommand = 0x00A0;
constexpr UINT pauseOnBatteryCommand = 0x00B0;

// Loads the settings window as the program's first window; a failure is fatal.
void loadStartupWindow();
