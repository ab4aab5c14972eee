#include "data/PatchRecord.h"

#include <algorithm>

namespace vantorel {

namespace {
constexpr char kInitPatchName[] = "INIT PATCH";

// Common part after the name, offsets 16..73.
constexpr std::array<uint8_t, CPatchRecord::kCommonSize - kEntryNameSize> kCommonDefaults = {
    0,   64,  0,  76, 0,  0,  0,   0, // 16
    0,   64,  79, 64, 0,  0,  5,   0, // 24
    0,   2,   0,  25, 50, 0,  0,   2, // 32
    1,   127, 0,  64, 64, 64, 127, 0, // 40
    0,   0,   0,  64, 64, 64, 0,   0, // 48
    127, 0,   0,  64, 64, 0,  0,   0, // 56
    64,  64,  0,  2,  2,  0,  64,  0, // 64
    0,   2};                          // 72

// The plain bytes between the pairs: the first block's last but two, the
// second block's first.
constexpr size_t kFirstBlockPlainOffset = 78;
constexpr size_t kSecondBlockPlainOffset = 0;

constexpr std::array<uint8_t, CPatchRecord::kTrailerSize> kTrailerDefaults = {1, 0, 0};

constexpr int kPairBias = 127;
constexpr int kPairMax = 127;
} // namespace

void CPatchRecord::Init()
{
    SetEntryName(NameField(), kInitPatchName);
    std::copy(kCommonDefaults.begin(), kCommonDefaults.end(), m_data.begin() + kEntryNameSize);

    m_data[kFirstBlockOffset + kFirstBlockPlainOffset] = 0;
    m_data[kSecondBlockOffset + kSecondBlockPlainOffset] = 0;
    for (const CPairRun& run : kPairRuns)
        for (size_t i = 0; i < run.nCount; ++i)
            SetSignedPair(run.nOffset + i * kSignedPairSize, 0);

    std::copy(kTrailerDefaults.begin(), kTrailerDefaults.end(), m_data.begin() + kTrailerOffset);
}

void CPatchRecord::SetSignedPair(size_t nOffset, int nValue)
{
    if (nOffset >= kSize || kSize - nOffset < kSignedPairSize)
        return;
    const int v = std::clamp(nValue, -kPairMax, kPairMax);
    m_data[nOffset] = v > 0 ? 1 : 0;
    m_data[nOffset + 1] = static_cast<uint8_t>(v > 0 ? v - 1 : v + kPairBias);
}

std::optional<int> CPatchRecord::SignedPairValue(uint8_t byFirst, uint8_t bySecond)
{
    if (byFirst > 1 || bySecond > 127)
        return std::nullopt;
    const int v = byFirst * 128 + bySecond - kPairBias;
    if (v > kPairMax)
        return std::nullopt;
    return v;
}

} // namespace vantorel
