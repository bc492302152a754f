// The settings window's "开机时自动运行" item under Wine: the shortcut it makes in the prefix's
// Startup folder, what the tick stands for (choosing the item removes a shortcut that starts
// this kv.exe and makes one otherwise), and a start the way that shortcut starts kv.
#include "app/settings_window.h"
#include "tests/driver/kv_driver.h"
#include "tests/e2e/player/player_run.h"

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <optional>
#include <string>

namespace {
using Microsoft::WRL::ComPtr;

const char* const settingsTitle = "kv_动态壁纸设置";

std::wstring wide(const std::string& text)
{
    std::wstring result(text.size(), L'\0');
    result.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                          result.data(), static_cast<int>(result.size()))));
    return result;
}

std::wstring shortcutPath()
{
    wchar_t* folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder)))
        path = std::wstring(folder) + L"\\kv 动态壁纸.lnk";
    CoTaskMemFree(folder);
    return path;
}

bool shortcutExists() { return GetFileAttributesW(shortcutPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

// The show command as the file stores it: the header's ShowCommand field at offset 0x3C.
// (Wine 8's link object hands back SW_SHOWNORMAL from GetShowCmd after Load, whatever is stored.)
int storedShowCommand()
{
    HANDLE file =
        CreateFileW(shortcutPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    unsigned char header[0x40] = {};
    DWORD read = 0;
    ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    return read == sizeof header ? header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24 : -1;
}

// What the shortcut in the Startup folder says, read through the shell's link object.
struct Shortcut {
    std::wstring target;
    std::wstring folder;
    int showCommand = 0;
};

std::optional<Shortcut> readShortcut()
{
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)) || FAILED(file->Load(shortcutPath().c_str(), STGM_READ)))
        return std::nullopt;
    wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    Shortcut shortcut;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    shortcut.target = target;
    shortcut.folder = folder;
    shortcut.showCommand = storedShowCommand();
    return shortcut;
}

// A shortcut made as a user (or an earlier kv) would have made it.
bool makeShortcut(const std::wstring& target)
{
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
           SUCCEEDED(link.As(&file)) && SUCCEEDED(link->SetPath(target.c_str())) &&
           SUCCEEDED(file->Save(shortcutPath().c_str(), TRUE));
}

bool pointsAt(const std::wstring& target)
{
    const std::optional<Shortcut> shortcut = readShortcut();
    return shortcut && _wcsicmp(shortcut->target.c_str(), target.c_str()) == 0;
}

// The item chosen from the settings window's system menu: the command the menu sends. (Wine
// gives no other process's system menu; its text and tick are read in-process, by
// login_item_menu_test, which finds the item by its text and chooses it by this command.)
void chooseRunAtLogin(HWND settings) { PostMessageA(settings, WM_SYSCOMMAND, runAtLoginCommand, 0); }

// Every test starts and ends without the shortcut, in a COM apartment of its own.
class LoginItem : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        DeleteFileW(shortcutPath().c_str());
    }
    void TearDown() override
    {
        DeleteFileW(shortcutPath().c_str());
        CoUninitialize();
    }

    // kv.exe started from its directory as usual; its settings window.
    HWND startKv()
    {
        kv.emplace(kvtest::Process::start(directory));
        return kv->waitForWindow(nullptr, settingsTitle);
    }

    kvtest::ProgramDirectory directory;
    std::optional<kvtest::Process> kv;
};

TEST_F(LoginItem, TickMakesAMinimisedShortcutToThisKvInItsFolderAndUntickRemovesIt)
{
    HWND settings = startKv();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(IsIconic(settings));  // started the ordinary way: shown as always

    chooseRunAtLogin(settings);
    ASSERT_TRUE(kvtest::waitUntil([] { return readShortcut().has_value(); }));
    const Shortcut shortcut = *readShortcut();
    EXPECT_EQ(_wcsicmp(shortcut.target.c_str(), wide(directory.executable()).c_str()), 0);
    EXPECT_EQ(_wcsicmp(shortcut.folder.c_str(), wide(directory.path()).c_str()), 0);
    EXPECT_TRUE(shortcut.showCommand == SW_SHOWMINNOACTIVE || shortcut.showCommand == SW_SHOWMINIMIZED)
        << shortcut.showCommand;

    chooseRunAtLogin(settings);
    EXPECT_TRUE(kvtest::waitUntil([] { return !shortcutExists(); }));
    // No other file of ours: kv.ini is not written by the login item.
    EXPECT_FALSE(directory.readFile("kv.ini").has_value());

    kvtest::close(settings);
    EXPECT_EQ(kv->waitForExit(), 0u);
}

TEST_F(LoginItem, AShortcutToThisKvMadeBeforeStartShowsTickedSoChoosingTheItemRemovesIt)
{
    ASSERT_TRUE(makeShortcut(wide(directory.executable())));
    HWND settings = startKv();
    ASSERT_NE(settings, nullptr);
    chooseRunAtLogin(settings);
    EXPECT_TRUE(kvtest::waitUntil([] { return !shortcutExists(); }));
}

TEST_F(LoginItem, AShortcutToAKvElsewhereShowsUntickedSoChoosingTheItemReplacesIt)
{
    kvtest::ProgramDirectory elsewhere;
    ASSERT_TRUE(makeShortcut(wide(elsewhere.executable())));
    HWND settings = startKv();
    ASSERT_NE(settings, nullptr);
    chooseRunAtLogin(settings);
    EXPECT_TRUE(kvtest::waitUntil([&] { return pointsAt(wide(directory.executable())); }));
    // Replaced whole: this kv's own folder too, not the old shortcut's.
    const std::optional<Shortcut> shortcut = readShortcut();
    ASSERT_TRUE(shortcut.has_value());
    EXPECT_EQ(_wcsicmp(shortcut->folder.c_str(), wide(directory.path()).c_str()), 0);
}

TEST_F(LoginItem, StartedAsItsShortcutStartsKvTheSettingsWindowIsMinimisedAndTheRememberedClipPlays)
{
    // The shortcut's own show command and folder, as the shell passes them at login.
    HWND settings = startKv();
    ASSERT_NE(settings, nullptr);
    chooseRunAtLogin(settings);
    ASSERT_TRUE(kvtest::waitUntil([] { return readShortcut().has_value(); }));
    const Shortcut shortcut = *readShortcut();
    kvtest::close(settings);
    ASSERT_EQ(kv->waitForExit(), 0u);

    const std::string video = "C:\\videos\\sea.mp4";
    PlayerRun run({"recording_component", nullptr, video, {}, static_cast<WORD>(shortcut.showCommand)});
    ASSERT_TRUE(run.ready());
    EXPECT_TRUE(IsIconic(run.settings));
    const std::vector<std::string> calls = run.waitForCalls(4);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[2], "Open(\"" + video + "\")");
    EXPECT_EQ(calls[3], "Play()");
    ASSERT_NE(run.playerWindow(), nullptr);
    EXPECT_FALSE(IsIconic(run.playerWindow()));  // only the settings window waits on the taskbar
}
}  // namespace
