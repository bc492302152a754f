// The unpacked release zip on the simulated desktop: kv.exe, started from another folder,
// applies a clip from its folder with a Chinese name, embeds the player behind the icons with
// the APlayer.dll beside it, remembers the clip in its own kv.ini and ends with 0.
#include "tests/driver/kv_driver.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>

namespace {
const std::string unpacked = kvtest::binDirectory() + "\\" + KV_UNPACKED_FOLDER;

std::string fullPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    return std::string(buffer, GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr));
}

// The modules the process has loaded, by full path.
bool loadedModule(DWORD processId, const std::string& path)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = Module32First(snapshot, &module); more && !found; more = Module32Next(snapshot, &module))
        found = _stricmp(module.szExePath, path.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

HWND childOfClass(HWND window, const char* className)
{
    for (HWND child : kvtest::children(window))
        if (kvtest::className(child) == className)
            return child;
    return nullptr;
}

TEST(Package, UnpackedKvAppliesAClipEmbedsItWritesItsKvIniAndEndsWithZero)
{
    const std::string folder = fullPath(unpacked);
    const std::string clip = fullPath(kvtest::binDirectory() + "\\..\\clips\\pattern_160x120_1s.mp4");
    const std::string settingsFile = folder + "\\kv.ini";
    DeleteFileA(settingsFile.c_str());

    FakeShellSession shell;
    ASSERT_TRUE(shell.ready());
    char elsewhere[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, elsewhere);
    kvtest::Process kv = kvtest::Process::start(folder + "\\kv.exe", elsewhere);
    ASSERT_TRUE(kv.started()) << folder;
    HWND settings = kv.waitForWindow(nullptr, "kv_动态壁纸设置");
    ASSERT_NE(settings, nullptr);
    HWND edit = childOfClass(settings, "Edit");
    ASSERT_NE(edit, nullptr);
    kvtest::setText(edit, clip);
    kvtest::click(kvtest::children(settings)[0]);  // "应用"

    HWND progman = shell.window(fake_shell::progman);
    ASSERT_TRUE(kvtest::waitUntil([&] { return FindWindowExA(progman, nullptr, "pmrq", "pmrq") != nullptr; }));
    EXPECT_TRUE(loadedModule(kv.id(), folder + "\\APlayer.dll"));

    char remembered[MAX_PATH] = {};
    GetPrivateProfileStringA("文件名", "文件名", "", remembered, MAX_PATH, settingsFile.c_str());
    EXPECT_EQ(remembered, clip);

    kvtest::close(settings);
    EXPECT_EQ(kv.waitForExit(), 0u);
    DeleteFileA(settingsFile.c_str());
}
}  // namespace
