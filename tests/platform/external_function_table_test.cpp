#include "platform/external_function_table.h"

#include "tests/platform/test_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using TwinCopy = INT_PTR(WINAPI*)();

class FunctionTable : public testing::Test {
protected:
    const std::string bin = testBinDirectory();
    const std::string probe = bin + "\\gate_probe.dll";
    const std::string twinFolder = bin + "\\fixtures\\gate_twin";

    bool probeLoaded() const { return GetModuleHandleA(probe.c_str()) != nullptr; }
};

TEST_F(FunctionTable, BindsAnEntryOnceAndReusesItsAddress)
{
    ExternalFunctionTable table({{probe.c_str(), "probe1"}}, bin);
    const FARPROC first = table.bind(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, GetProcAddress(GetModuleHandleA(probe.c_str()), "probe1"));
    EXPECT_EQ(table.bind(0), first);
    EXPECT_EQ(table.entry(0).boundAddress, first);
    EXPECT_EQ(table.entry(0).libraryHandle, GetModuleHandleA(probe.c_str()));

    // One load for the entry however often it is asked for: one release unloads it.
    table.releaseLibraries();
    EXPECT_FALSE(probeLoaded());
}

TEST_F(FunctionTable, EachBoundEntryHoldsOneReferenceAndGivesItBack)
{
    const HMODULE own = LoadLibraryA(probe.c_str());
    ASSERT_NE(own, nullptr);
    ExternalFunctionTable table({{probe.c_str(), "probe1"}, {probe.c_str(), "probe2"}, {probe.c_str(), "probe3"}},
                                bin);
    ASSERT_NE(table.bind(0), nullptr);
    ASSERT_NE(table.bind(1), nullptr);
    ASSERT_NE(table.bind(1), nullptr);
    EXPECT_EQ(table.entry(0).libraryHandle, own);
    EXPECT_EQ(table.entry(1).libraryHandle, own);
    EXPECT_EQ(table.entry(2).libraryHandle, nullptr) << "an entry never called is never bound";

    table.releaseLibraries();
    EXPECT_TRUE(probeLoaded()) << "the table freed more references than it took";
    FreeLibrary(own);
    EXPECT_FALSE(probeLoaded()) << "the table kept a reference after releasing";
}

TEST_F(FunctionTable, ReleaseEmptiesEveryEntry)
{
    ExternalFunctionTable table({{probe.c_str(), "probe1"}, {probe.c_str(), "probe2"}}, bin);
    ASSERT_NE(table.bind(0), nullptr);
    table.releaseLibraries();
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table.entry(i).libraryName, "");
        EXPECT_EQ(table.entry(i).exportName, "");
        EXPECT_EQ(table.entry(i).boundAddress, nullptr);
        EXPECT_EQ(table.entry(i).libraryHandle, nullptr);
    }
}

TEST_F(FunctionTable, LibraryInTheProgramDirectoryWinsOverTheSystemSearch)
{
    ExternalFunctionTable table({{"gate_twin.dll", "twinCopy"}}, twinFolder);
    const auto twin = reinterpret_cast<TwinCopy>(table.bind(0));
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin(), 2);
    table.releaseLibraries();
}

TEST_F(FunctionTable, WithoutALibraryBesideTheProgramTheSystemSearchDecides)
{
    // The system's search finds the copy beside the test program.
    ExternalFunctionTable table({{"gate_twin.dll", "twinCopy"}}, bin + "\\fixtures\\no_such_folder");
    const auto twin = reinterpret_cast<TwinCopy>(table.bind(0));
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin(), 1);
    table.releaseLibraries();
}

TEST_F(FunctionTable, LibraryNameWithoutExtensionLoads)
{
    ExternalFunctionTable table({{"gate_twin", "twinCopy"}}, twinFolder);
    const auto twin = reinterpret_cast<TwinCopy>(table.bind(0));
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin(), 2);
    table.releaseLibraries();
}

TEST_F(FunctionTable, LibraryWithADriveIsLoadedFromThatPathOnly)
{
    const std::string twinPath = twinFolder + "\\gate_twin.dll";
    ExternalFunctionTable table({{twinPath.c_str(), "twinCopy"}}, bin);
    const auto twin = reinterpret_cast<TwinCopy>(table.bind(0));
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin(), 2);
    table.releaseLibraries();
}

TEST_F(FunctionTable, MissingLibraryLeavesTheEntryUnbound)
{
    ExternalFunctionTable table({{"kv_no_such_library.dll", "probe1"}}, bin);
    EXPECT_EQ(table.bind(0), nullptr);
    EXPECT_EQ(table.entry(0).boundAddress, nullptr);
    EXPECT_EQ(table.entry(0).libraryHandle, nullptr);
    EXPECT_EQ(table.bind(0), nullptr);
}

TEST_F(FunctionTable, MissingExportGivesTheLibraryBack)
{
    ExternalFunctionTable table({{probe.c_str(), "NoSuchExport"}, {probe.c_str(), "PROBE1"}}, bin);
    EXPECT_EQ(table.bind(0), nullptr);
    EXPECT_EQ(table.bind(1), nullptr) << "export names are matched with their case";
    EXPECT_EQ(table.entry(0).libraryHandle, nullptr);
    EXPECT_FALSE(probeLoaded());
}

TEST_F(FunctionTable, EntryWithoutLibraryIsFoundInTheSystemLibraries)
{
    ExternalFunctionTable table({{"", "GetStockObject"}, {"", "kvNoSuchExport"}}, bin);
    const FARPROC address = table.bind(0);
    EXPECT_EQ(table.entry(0).libraryHandle, GetModuleHandleA("gdi32.dll"));
    EXPECT_EQ(address, GetProcAddress(GetModuleHandleA("gdi32.dll"), "GetStockObject"));
    EXPECT_NE(address, nullptr);
    EXPECT_EQ(table.bind(1), nullptr);
    table.releaseLibraries();
}

TEST(BindingFailureMessage, NamesLibraryAndExport)
{
    EXPECT_EQ(bindingFailureMessage("atl.dll", "AtlAxWinInit"),
              "无法找到指定DLL库文件“atl.dll”中的输出命令“AtlAxWinInit”");
    EXPECT_EQ(bindingFailureMessage("", "AtlAxWinInit"), "无法找到指定DLL库文件中的输出命令“AtlAxWinInit”");
}

TEST(SystemFunctionNames, AreTheProgramsEntriesInOrder)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"atl.dll", "AtlAxWinInit"},           {"user32.dll", "FindWindowA"},
        {"user32.dll", "SendMessageTimeoutA"}, {"user32", "SetParent"},
        {"user32.dll", "EnumWindows"},         {"user32", "FindWindowExA"},
        {"user32.dll", "ShowWindow"},          {"kernel32.dll", "GetModuleHandleW"},
        {"user32.dll", "CreateWindowExA"},     {"atl.dll", "AtlAxAttachControl"},
        {"kernel32.dll", "RtlMoveMemory"},     {"kernel32.dll", "LoadLibraryA"},
        {"kernel32.dll", "GetProcAddress"},    {"kernel32.dll", "FreeLibrary"},
        {"ole32.dll", "CLSIDFromString"},      {"kernel32.dll", "MultiByteToWideChar"},
        {"user32.dll", "GetWindowLongA"},      {"user32.dll", "SetWindowLongA"},
        {"user32.dll", "SetLayeredWindowAttributes"}, {"user32.dll", "SetWindowPos"},
    };
    ASSERT_GE(systemFunctionNames.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(systemFunctionNames[i].library, expected[i].first) << "entry " << i;
        EXPECT_EQ(systemFunctionNames[i].exportName, expected[i].second) << "entry " << i;
    }
}

TEST(SystemFunctionNames, EveryEntryBindsOnThisSystem)
{
    ExternalFunctionTable table({systemFunctionNames.begin(), systemFunctionNames.end()}, testBinDirectory());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_NE(table.bind(i), nullptr) << table.entry(i).libraryName << " " << table.entry(i).exportName;
        EXPECT_NE(table.entry(i).libraryHandle, nullptr);
    }
    table.releaseLibraries();
}

}  // namespace
