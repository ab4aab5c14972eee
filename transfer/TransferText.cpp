#include "transfer/TransferText.h"

#include <algorithm>
#include <array>
#include <cstdio>

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

} // namespace vantorel
