#pragma once
// kv.exe's Linux process under Wine, for what Windows' calls do not tell of another process
// there: /proc is seen as Z:\proc.
#include <string>

namespace kvtest {

// The /proc folder (Z:\proc\N) of the Linux process whose command line names kv.exe in
// `programFolder`; empty when there is none, as on Windows.
std::string linuxProcessFolder(const std::string& programFolder);

// The file's bytes; empty when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace kvtest
