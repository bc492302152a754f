#include "tests/e2e/player/player_run.h"

#include <sstream>

namespace {

const char* const settingsTitle = "kv_动态壁纸设置";

std::string settingsFileText(const std::string& video) { return "[文件名]\r\n文件名=" + video + "\r\n"; }

}  // namespace

PlayerRun::PlayerRun(const PlayerRunSetup& setup) : shell(setup.shellOptions)
{
    const std::string fixtures = kvtest::binDirectory() + "\\fixtures\\";
    directory.copyIn(fixtures + "atl_shim\\atl.dll", "atl.dll");
    if (setup.componentFolder)
        directory.copyIn(fixtures + setup.componentFolder + "\\APlayer.dll", "APlayer.dll");
    if (setup.mode)
        directory.writeFile("mode.txt", setup.mode);
    if (!setup.rememberedVideo.empty())
        directory.writeFile("kv.ini", settingsFileText(setup.rememberedVideo));

    kv.emplace(kvtest::Process::start(directory, setup.showCommand));
    settings = kvtest::waitForWindow(kv->id(), nullptr, settingsTitle);
    if (!settings)
        return;
    const kvtest::SettingsControls controls = kvtest::settingsControls(settings);
    edit = controls.edit;
    applyButton = controls.applyButton;
}

void PlayerRun::apply(const std::string& fileName) const
{
    kvtest::setText(edit, fileName);
    kvtest::click(applyButton);
}

HWND PlayerRun::playerWindow() const
{
    HWND progman = shell.window(fake_shell::progman);
    if (progman && IsWindow(progman))
        if (HWND embedded = FindWindowExA(progman, nullptr, "pmrq", "pmrq"))
            return embedded;
    for (HWND window : kvtest::topLevelWindows(kv->id(), "pmrq", "pmrq"))
        return window;
    return nullptr;
}

std::vector<HWND> PlayerRun::hostWindows() const
{
    std::vector<HWND> hosts;
    HWND player = playerWindow();
    if (!player)
        return hosts;
    for (HWND child : kvtest::children(player))
        if (kvtest::className(child) == "AtlAxWin")
            hosts.push_back(child);
    return hosts;
}

std::vector<std::string> PlayerRun::calls(bool named) const
{
    std::vector<std::string> lines;
    std::istringstream log(directory.readFile("calls.log").value_or(""));
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (named && (line.rfind("Activated(", 0) == 0 || line.rfind("Deactivated(", 0) == 0))
            continue;
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> PlayerRun::waitForCalls(size_t count, bool named) const
{
    kvtest::waitUntil([&] { return calls(named).size() >= count; });
    return calls(named);
}

std::string PlayerRun::settingsFile() const { return directory.readFile("kv.ini").value_or(""); }
