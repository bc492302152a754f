#include "app/program_path.h"

#include <windows.h>

ProgramPath splitProgramPath(const std::string& path)
{
    std::string::size_type lastBackslash = std::string::npos;
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            lastBackslash = i;
    }
    if (lastBackslash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, lastBackslash), path.substr(lastBackslash + 1)};
}
