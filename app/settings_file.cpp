#include "app/settings_file.h"

#include "platform/process_state.h"

#include <windows.h>

#include <vector>

namespace {
constexpr DWORD valueCapacity = 10240;

std::string skipLeadingBlanks(const std::string& text)
{
    std::string::size_type start = 0;
    while (start < text.size() && static_cast<unsigned char>(text[start]) >= 0x01 &&
           static_cast<unsigned char>(text[start]) <= 0x20)
        ++start;
    return text.substr(start);
}
}  // namespace

std::string settingsFilePath() { return processState.programDirectory + "\\kv.ini"; }

std::optional<ProfileQuery> profileQuery(const std::string& filePath, const std::string& section,
                                         const std::string& key)
{
    ProfileQuery query{skipLeadingBlanks(filePath), skipLeadingBlanks(section), skipLeadingBlanks(key)};
    if (query.filePath.empty() || query.section.empty() || query.key.empty())
        return std::nullopt;
    return query;
}

std::string readSetting(const std::string& filePath, const std::string& section, const std::string& key)
{
    const auto query = profileQuery(filePath, section, key);
    if (!query)
        return {};
    std::vector<char> buffer(valueCapacity, '\0');
    GetPrivateProfileStringA(query->section.c_str(), query->key.c_str(), "", buffer.data(), valueCapacity,
                             query->filePath.c_str());
    return buffer.data();
}

bool writeSetting(const std::string& filePath, const std::string& section, const std::string& key,
                  const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), filePath.c_str()) != FALSE;
}

void removeSetting(const std::string& filePath, const std::string& section, const std::string& key)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, filePath.c_str());
    char rest[4] = {};
    if (GetPrivateProfileSectionA(section.c_str(), rest, sizeof rest, filePath.c_str()) == 0)
        WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, filePath.c_str());
}
