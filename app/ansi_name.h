#pragma once
// Names the wide dialogs and drops give, for kv's ANSI world (the component, kv.ini, the edit
// box): the same text when the code page can write it, else the 8.3 name, else none.
#include <functional>
#include <optional>
#include <string>

// The short (8.3) name of an existing file or folder; empty when there is none.
using ShortNameLookup = std::function<std::wstring(const std::wstring&)>;

// The text in the ANSI code page; none when a character of it cannot be written there.
std::optional<std::string> ansiText(const std::wstring& wide);

// The name as ANSI text, or its short name when that converts cleanly, or none.
std::optional<std::string> ansiName(const std::wstring& name, const ShortNameLookup& shortName);
// The same, the short name asked of the file system.
std::optional<std::string> ansiName(const std::wstring& name);

// ANSI text as wide text, for the wide dialogs.
std::wstring wideText(const std::string& ansi);
