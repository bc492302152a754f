#include "platform/external_function_table.h"

#include "tests/platform/test_paths.h"

#include <gtest/gtest.h>

#include <string>
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
    ExternalFunctionTable table({{probe.c_str(), "probe1"}, {probe.c_str(), "probe2"}, {probe.c_str(), "probe3"}}, bin);
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

// Which copy of a twin library is bound: the one in the program directory (2) or the one the
// system's search finds beside the test program (1).
struct TwinCase {
    const char* name;
    std::string library;
    std::string programDirectory;
    INT_PTR copy;
};

TEST_F(FunctionTable, LibraryInTheProgramDirectoryWinsOverTheSystemSearch)
{
    const TwinCase cases[] = {
        {"NameInTheProgramDirectory", "gate_twin.dll", twinFolder, 2},
        {"NoneBesideTheProgramSoTheSystemSearchDecides", "gate_twin.dll", bin + "\\fixtures\\no_such_folder", 1},
        {"NameWithoutExtension", "gate_twin", twinFolder, 2},
        {"PathWithADriveIsLoadedFromThatPathOnly", twinFolder + "\\gate_twin.dll", bin, 2},
    };
    for (const TwinCase& c : cases) {
        ExternalFunctionTable table({{c.library.c_str(), "twinCopy"}}, c.programDirectory);
        const auto twin = reinterpret_cast<TwinCopy>(table.bind(0));
        ASSERT_NE(twin, nullptr) << c.name;
        EXPECT_EQ(twin(), c.copy) << c.name;
        table.releaseLibraries();
        EXPECT_EQ(table.entry(0).boundAddress, nullptr) << c.name;
        EXPECT_EQ(table.entry(0).libraryHandle, nullptr) << c.name;
    }
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
