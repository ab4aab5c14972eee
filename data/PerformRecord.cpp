#include "data/PerformRecord.h"

#include <algorithm>

namespace vantorel {

namespace {
constexpr char kInitPerformanceName[] = "INIT PERFORMANCE";

// Common part after the name, offsets 16..35.
constexpr std::array<uint8_t, CPerformRecord::kCommonSize - kEntryNameSize> kCommonDefaults = {
    0, 60, 0, 50, 0, 0, 2, 0,  // 16
    0, 4,  0, 0,  3, 0, 0, 14, // 24
    1, 0,  0, 120};            // 32

constexpr std::array<uint8_t, CPerformRecord::kPartSettingsSize> kFirstPartDefaults = {0, 0, 0, 24, 0, 0, 0};
constexpr std::array<uint8_t, CPerformRecord::kPartSettingsSize> kSecondPartDefaults = {0, 0, 1, 24, 0, 0, 0};
} // namespace

void CPerformRecord::Init()
{
    SetEntryName(NameField(), kInitPerformanceName);
    std::copy(kCommonDefaults.begin(), kCommonDefaults.end(), m_aCommon.begin() + kEntryNameSize);
    m_aFirstPart = kFirstPartDefaults;
    m_aSecondPart = kSecondPartDefaults;
    for (CPatchRecord& patch : m_aPatch)
        patch.Init();
}

} // namespace vantorel
