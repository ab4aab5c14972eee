#include "transfer/engine/TransferText.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "data/EntryName.h"
#include "res/strings/transfer.h"

namespace vantorel {

std::string NameFromBytes(const uint8_t* pBytes, size_t nCount)
{
    std::array<uint8_t, kEntryNameSize> field;
    field.fill(' ');
    if (pBytes)
        std::copy_n(pBytes, std::min(nCount, field.size()), field.begin());
    return GetEntryName(CConstNameField(field));
}

std::string FormatLabelName(const std::string& label, const std::string& name)
{
    // Label and name are at most 3 and 16 characters.
    char text[64];
    std::snprintf(text, sizeof text, res::kProgressLabelName, label.c_str(), name.c_str());
    return text;
}

std::string FormatItemText(const char* szFormat, int nNumber)
{
    char text[32];
    std::snprintf(text, sizeof text, szFormat, nNumber);
    return text;
}

std::string FormatText(const char* szFormat, ...)
{
    va_list args;
    va_start(args, szFormat);
    va_list again;
    va_copy(again, args);
    const int nLength = std::vsnprintf(nullptr, 0, szFormat, args);
    va_end(args);
    std::vector<char> text(size_t(std::max(nLength, 0)) + 1);
    std::vsnprintf(text.data(), text.size(), szFormat, again);
    va_end(again);
    return text.data();
}

} // namespace vantorel
