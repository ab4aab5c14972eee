#pragma once
// One performance: a named common part, settings for each of its two parts
// and two complete patches, 528 bytes end to end.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "data/EntryName.h"
#include "data/PatchRecord.h"

namespace vantorel {

class CPerformRecord {
public:
    static constexpr size_t kSize = 528;
    static constexpr size_t kCommonOffset = 0;
    static constexpr size_t kCommonSize = 36;
    static constexpr size_t kPartSettingsSize = 7;
    static constexpr size_t kFirstPartOffset = 36;
    static constexpr size_t kSecondPartOffset = 43;
    static constexpr size_t kFirstPatchOffset = 50;
    static constexpr size_t kSecondPatchOffset = 289;
    static constexpr size_t kPatchSize = CPatchRecord::kSize;
    static constexpr int kPatchCount = 2;
    // Where patch nPatch (0 or 1) starts in the record.
    static constexpr size_t PatchOffset(int nPatch)
    {
        return kFirstPatchOffset + size_t(nPatch) * kPatchSize;
    }

    // The five blocks in the order the synthesizer exchanges them.
    struct CBlock {
        size_t nOffset;
        size_t nSize;
    };
    static constexpr int kBlockCount = 5;
    static constexpr std::array<CBlock, kBlockCount> kBlocks = {{
        {kCommonOffset, kCommonSize},
        {kFirstPartOffset, kPartSettingsSize},
        {kSecondPartOffset, kPartSettingsSize},
        {kFirstPatchOffset, kPatchSize},
        {kSecondPatchOffset, kPatchSize},
    }};

    // Every record starts as the initial performance.
    CPerformRecord() { Init(); }

    // The "INIT PERFORMANCE" defaults, both patches initial patches.
    void Init();

    // The record's 528 bytes in file order (the members below have no gaps).
    uint8_t* Data() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(this); }

    CNameField NameField() { return CNameField(m_aCommon.data(), kEntryNameSize); }
    CConstNameField NameField() const { return CConstNameField(m_aCommon.data(), kEntryNameSize); }
    std::string GetName() const { return GetEntryName(NameField()); }
    void SetName(const std::string& name) { SetEntryName(NameField(), name); }

    bool operator==(const CPerformRecord&) const = default;

    std::array<uint8_t, kCommonSize> m_aCommon;
    std::array<uint8_t, kPartSettingsSize> m_aFirstPart;
    std::array<uint8_t, kPartSettingsSize> m_aSecondPart;
    std::array<CPatchRecord, kPatchCount> m_aPatch; // first at 50, second at 289
};

static_assert(sizeof(CPerformRecord) == CPerformRecord::kSize, "a performance record is its 528 bytes");
static_assert(std::is_standard_layout_v<CPerformRecord> && std::is_trivially_copyable_v<CPerformRecord>);
static_assert(offsetof(CPerformRecord, m_aFirstPart) == CPerformRecord::kFirstPartOffset);
static_assert(offsetof(CPerformRecord, m_aSecondPart) == CPerformRecord::kSecondPartOffset);
static_assert(offsetof(CPerformRecord, m_aPatch) == CPerformRecord::kFirstPatchOffset);
static_assert(CPerformRecord::kFirstPatchOffset + CPerformRecord::kPatchSize ==
              CPerformRecord::kSecondPatchOffset);

} // namespace vantorel
