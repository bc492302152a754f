#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {
const std::string name = "\xCE\xC4\xBC\xFE\xC3\xFB";  // 文件名 in code page 936

// A fresh folder under %TEMP% for one test, removed with its files afterwards.
class SettingsFolder : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "kv-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "\\kv.ini";
    }
    void TearDown() override
    {
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    void writeBytes(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    std::optional<std::string> bytes() const
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::string folder;
    std::string path;
};

struct QueryCase {
    const char* filePath;
    const char* section;
    const char* key;
    std::optional<ProfileQuery> query;
};

const QueryCase queryCases[] = {
    {"C:\\kv.ini", "s", "k", ProfileQuery{"C:\\kv.ini", "s", "k"}},
    {" \t\r\nC:\\kv.ini", "\x01s", "\x20\x1Fk", ProfileQuery{"C:\\kv.ini", "s", "k"}},
    {"C:\\kv.ini ", "s t", "k ", ProfileQuery{"C:\\kv.ini ", "s t", "k "}},
    {"\x21x", "s", "k", ProfileQuery{"\x21x", "s", "k"}},
    {"", "s", "k", std::nullopt},
    {"C:\\kv.ini", "", "k", std::nullopt},
    {"C:\\kv.ini", "s", "", std::nullopt},
    {" \t", "s", "k", std::nullopt},
    {"C:\\kv.ini", "\x01\x20", "k", std::nullopt},
    {"C:\\kv.ini", "s", "\n", std::nullopt},
};

class SettingsQuery : public testing::TestWithParam<QueryCase> {};

TEST_P(SettingsQuery, LeadingBytes01To20AreSkippedAndAnEmptyPartAsksNothing)
{
    const QueryCase& c = GetParam();
    const auto query = profileQuery(c.filePath, c.section, c.key);
    ASSERT_EQ(query.has_value(), c.query.has_value());
    if (query) {
        EXPECT_EQ(query->filePath, c.query->filePath);
        EXPECT_EQ(query->section, c.query->section);
        EXPECT_EQ(query->key, c.query->key);
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, SettingsQuery, testing::ValuesIn(queryCases));

TEST_F(SettingsFolder, MissingFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(readSetting(path, name, name), "");
    writeBytes("[other]\r\n" + name + "=x\r\n[" + name + "]\r\nelse=y\r\n");
    EXPECT_EQ(readSetting(path, name, name), "");
    EXPECT_EQ(readSetting(path, "other", name), "x");
}

TEST_F(SettingsFolder, ReadSkipsLeadingBlanksAndAnEmptyPartReadsEmpty)
{
    writeBytes("[" + name + "]\r\n" + name + "=C:\\v\\a.mp4\r\n");
    EXPECT_EQ(readSetting(" \t" + path, "\x01" + name, "  " + name), "C:\\v\\a.mp4");
    EXPECT_EQ(readSetting(path, " ", name), "");
    EXPECT_EQ(readSetting(path, name, ""), "");
    EXPECT_EQ(readSetting("\t", name, name), "");
}

TEST_F(SettingsFolder, LongValueComesBackCutToTheBuffer)
{
    writeBytes("[" + name + "]\r\n" + name + "=" + std::string(12000, 'v') + "\r\n");
    EXPECT_EQ(readSetting(path, name, name), std::string(10239, 'v'));
}

TEST_F(SettingsFolder, WriteCreatesTheFileWithExactBytes)
{
    ASSERT_TRUE(writeSetting(path, name, name, "C:\\videos\\a.mp4"));
    EXPECT_EQ(bytes(), "[\xCE\xC4\xBC\xFE\xC3\xFB]\r\n\xCE\xC4\xBC\xFE\xC3\xFB=C:\\videos\\a.mp4\r\n");
    EXPECT_EQ(readSetting(path, name, name), "C:\\videos\\a.mp4");
}

TEST_F(SettingsFolder, EmptyValueKeepsTheKeyWithAnEmptyValue)
{
    ASSERT_TRUE(writeSetting(path, name, name, "C:\\a.mp4"));
    ASSERT_TRUE(writeSetting(path, name, name, ""));
    EXPECT_EQ(bytes(), "[" + name + "]\r\n" + name + "=\r\n");
}

TEST_F(SettingsFolder, OtherSectionsAndKeysSurvive)
{
    writeBytes("[user]\r\nmine=1\r\n[" + name + "]\r\nextra=2\r\n" + name + "=old\r\n");
    ASSERT_TRUE(writeSetting(path, name, name, "new"));
    EXPECT_EQ(bytes(), "[user]\r\nmine=1\r\n[" + name + "]\r\nextra=2\r\n" + name + "=new\r\n");
}

TEST_F(SettingsFolder, UnwritableFolderGivesFalse)
{
    EXPECT_FALSE(writeSetting(folder + "\\missing\\kv.ini", name, name, "x"));
}
}  // namespace
