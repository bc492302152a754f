#include "wallpaper_run.h"

namespace {
kvtest::Process startKv(kvtest::ProgramDirectory& directory, const std::string& rememberedVideo)
{
    if (!rememberedVideo.empty())
        directory.writeFile("kv.ini", "[文件名]\r\n文件名=" + rememberedVideo + "\r\n");
    return kvtest::Process::start(directory);
}
}  // namespace

WallpaperRun::WallpaperRun(const std::string& shellOptions, const std::string& rememberedVideo)
    : shell(shellOptions),
      kv(startKv(directory, rememberedVideo))
{
    settings = kvtest::waitForWindow(kv.id(), nullptr, "kv_动态壁纸设置");
    const kvtest::SettingsControls controls = kvtest::settingsControls(settings);
    edit = controls.edit;
    applyButton = controls.applyButton;
}

void WallpaperRun::apply(const std::string& fileName) const
{
    kvtest::setText(edit, fileName);
    kvtest::click(applyButton);
}

HWND WallpaperRun::playerWindow() const
{
    if (HWND topLevel = FindWindowA("pmrq", "pmrq"))
        return topLevel;
    HWND progman = shell.window(fake_shell::progman);
    return progman && IsWindow(progman) ? FindWindowExA(progman, nullptr, "pmrq", "pmrq") : nullptr;
}
