#include "component/card_decoding_seam.h"

#include <windows.h>

#include <cwchar>
#include <sstream>
#include <string>

namespace {

CardDecodingSeam fromWords(const std::wstring& words)
{
    CardDecodingSeam seam;
    std::wistringstream stream(words);
    const std::wstring lostAfter = L"lost-after=";
    for (std::wstring word; stream >> word;) {
        if (word == L"force")
            seam.force = true;
        else if (word == L"no-device")
            seam.noDevice = true;
        else if (word == L"no-lock")
            seam.noLock = true;
        else if (word.compare(0, lostAfter.size(), lostAfter) == 0)
            seam.lostAfter = static_cast<int>(std::wcstol(word.c_str() + lostAfter.size(), nullptr, 10));
    }
    return seam;
}

}  // namespace

CardDecodingSeam cardDecodingSeam()
{
    wchar_t words[128] = {};
    const DWORD length = GetEnvironmentVariableW(L"KV_CARD_DECODING", words, ARRAYSIZE(words));
    return length > 0 && length < ARRAYSIZE(words) ? fromWords(words) : CardDecodingSeam{};
}
