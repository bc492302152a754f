// The resources kv.exe carries: the application manifest, the icon and the version information.
#include "tests/driver/kv_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
struct LibraryDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

std::string kvPath() { return kvtest::binDirectory() + "\\kv.exe"; }

// kv.exe's application manifest (RT_MANIFEST 1), empty when it has none.
std::string kvManifest()
{
    Library kv(LoadLibraryExA(kvPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    HRSRC found = kv ? FindResourceA(kv.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    if (!found)
        return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(kv.get(), found)));
    return std::string(bytes, SizeofResource(kv.get(), found));
}

TEST(ExecutableResources, ManifestAsksForVisualStylesAndNamesWindows7To11)
{
    const std::string manifest = kvManifest();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
}

TEST(ExecutableResources, ManifestDeclaresPerMonitorDpiAwarenessInTheApplicationsWindowsSettings)
{
    const std::string manifest = kvManifest();
    ASSERT_FALSE(manifest.empty());

    // Windows reads both only in the <windowsSettings> of <application> (asm.v3), each in its namespace.
    const size_t application = manifest.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    const size_t settings = manifest.find("<windowsSettings>", application);
    ASSERT_NE(settings, std::string::npos);
    const std::string windowsSettings =
        manifest.substr(settings, manifest.find("</windowsSettings>", settings) - settings);
    for (const char* element :
         {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor"
          "</dpiAwareness>"})
        EXPECT_NE(windowsSettings.find(element), std::string::npos) << windowsSettings;
}

// The icon directory of a group icon resource (RT_GROUP_ICON), as the resource compiler wrote it.
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;  // 0 stands for 256
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitsPerPixel;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

TEST(ExecutableResources, TheApplicationIconHas256And48And32And16PixelImages)
{
    Library kv(LoadLibraryExA(kvPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(kv);
    HRSRC found = FindResourceA(kv.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const auto* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(kv.get(), found)));
    ASSERT_NE(header, nullptr);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    std::vector<int> sizes;
    for (WORD i = 0; i < header->count; ++i) {
        const int width = entries[i].width ? entries[i].width : 256;
        EXPECT_EQ(entries[i].height ? entries[i].height : 256, width);
        EXPECT_EQ(entries[i].bitsPerPixel, 32);
        sizes.push_back(width);
        // Each image is there and Windows can make an icon of it (the 256 one is PNG data).
        HRSRC image = FindResourceA(kv.get(), MAKEINTRESOURCEA(entries[i].id), MAKEINTRESOURCEA(3));  // RT_ICON
        ASSERT_NE(image, nullptr);
        auto* bits = static_cast<BYTE*>(LockResource(LoadResource(kv.get(), image)));
        HICON icon = CreateIconFromResourceEx(bits, SizeofResource(kv.get(), image), TRUE, 0x00030000, width, width, 0);
        EXPECT_NE(icon, nullptr) << width;
        ICONINFO info{};
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP colour{};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, width);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        if (icon)
            DestroyIcon(icon);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

TEST(ExecutableResources, VersionInformationNamesTheProgram)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(kvPath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(kvPath().c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(KV_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3) << KV_PROJECT_VERSION;
    EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, major << 16 | minor);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    char* name = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\080403a8\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(name, "kv.exe");
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\080403a8\\FileVersion", reinterpret_cast<void**>(&text),
                               &length));
    EXPECT_EQ(std::string(text), std::string(KV_PROJECT_VERSION) + ".0");
}
}  // namespace
