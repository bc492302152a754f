#pragma once
// The settings file "<program directory>\kv.ini": one section "文件名" with one key "文件名"
// whose value is the chosen video file, read and written as a private-profile file.
#include <optional>
#include <string>

// Section and key are the same text.
inline constexpr const char* settingName = "文件名";

// The settings file's full path, rebuilt from the program directory at every use.
std::string settingsFilePath();

struct ProfileQuery {
    std::string filePath;
    std::string section;
    std::string key;
};

// The three texts with their leading bytes 0x01 to 0x20 skipped; nullopt when one of them
// is empty then, since such a query reads nothing.
std::optional<ProfileQuery> profileQuery(const std::string& filePath, const std::string& section,
                                         const std::string& key);

// The value, cut to what 10240 bytes hold; empty for a missing file, section or key.
std::string readSetting(const std::string& filePath, const std::string& section, const std::string& key);

// Writes the value as given (an empty value keeps the key with an empty value); false when
// the file cannot be written.
bool writeSetting(const std::string& filePath, const std::string& section, const std::string& key,
                  const std::string& value);

// Removes the key, and then the section when nothing else is left in it.
void removeSetting(const std::string& filePath, const std::string& section, const std::string& key);
