#include "app/file_dialog_filter.h"

#include <windows.h>

std::string fileDialogFilter(const std::string& barSeparated)
{
    std::string filter = barSeparated;
    // A trail byte of a double-byte character may be 0x7C; only real bars separate.
    for (std::string::size_type i = 0; i < filter.size(); ++i) {
        if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(filter[i])) && i + 1 < filter.size())
            ++i;
        else if (filter[i] == '|')
            filter[i] = '\0';
    }
    if (!filter.empty() && filter.back() != '\0')
        filter += '\0';
    filter += '\0';
    return filter;
}
