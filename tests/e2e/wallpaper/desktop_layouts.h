#pragma once
// The two desktops the simulated shell builds: the classic one (the icon view in a top-level
// "WorkerW", the wallpaper layer behind it) and Windows 11 24H2's (both inside Progman).
#include <gtest/gtest.h>

#include <string>

struct DesktopLayout {
    const char* name;
    const char* shellOptions;
    bool layout24H2;
};

inline const DesktopLayout desktopLayouts[] = {{"Classic", "", false}, {"Windows11_24H2", "--layout-24h2", true}};

inline std::string desktopLayoutName(const testing::TestParamInfo<DesktopLayout>& info) { return info.param.name; }
