#pragma once
// One patch: 239 bytes of synthesizer parameters with a 16-character name at
// the head. Carried unchanged; only the name is ever read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "data/EntryName.h"

namespace vantorel {

class CPatchRecord {
public:
    static constexpr size_t kSize = 239;
    static constexpr size_t kNameOffset = 0;
    static constexpr size_t kCommonOffset = 0;
    static constexpr size_t kCommonSize = 74;
    static constexpr size_t kBlockSize = 81;
    static constexpr size_t kFirstBlockOffset = 74;
    static constexpr size_t kSecondBlockOffset = 155;
    static constexpr size_t kTrailerOffset = 236;
    static constexpr size_t kTrailerSize = 3;
    static constexpr size_t kSignedPairSize = 2;

    // Where the signed pairs lie: runs of consecutive pairs, by record offset
    // of a run's first byte. The first block has 39 pairs, a plain byte and
    // one more pair; the second block a plain byte and 40 pairs.
    struct CPairRun {
        size_t nOffset;
        size_t nCount;
    };
    static constexpr std::array<CPairRun, 3> kPairRuns = {{
        {kFirstBlockOffset, 39},
        {kFirstBlockOffset + 79, 1},
        {kSecondBlockOffset + 1, 40},
    }};

    // Every record starts as the initial patch.
    CPatchRecord() { Init(); }

    // The "INIT PATCH" defaults in all 239 bytes.
    void Init();
    // Stores v (-127..+127, clamped) as the pair v+127 split into two 7-bit
    // bytes, high part first. A pair that would not fit in the record is ignored.
    void SetSignedPair(size_t nOffset, int nValue);
    // The value -127..+127 a pair's two bytes hold; none for bytes no pair
    // would hold (a first byte above 1, a second above 127, or 1 and 127).
    static std::optional<int> SignedPairValue(uint8_t byFirst, uint8_t bySecond);

    uint8_t* Data() { return m_data.data(); }
    const uint8_t* Data() const { return m_data.data(); }

    CNameField NameField() { return CNameField(m_data.data() + kNameOffset, kEntryNameSize); }
    CConstNameField NameField() const { return CConstNameField(m_data.data() + kNameOffset, kEntryNameSize); }
    std::string GetName() const { return GetEntryName(NameField()); }
    void SetName(const std::string& name) { SetEntryName(NameField(), name); }

    bool operator==(const CPatchRecord&) const = default;

    std::array<uint8_t, kSize> m_data;
};

static_assert(sizeof(CPatchRecord) == CPatchRecord::kSize, "a patch record is its 239 bytes");
static_assert(CPatchRecord::kCommonSize + 2 * CPatchRecord::kBlockSize + CPatchRecord::kTrailerSize ==
              CPatchRecord::kSize);

} // namespace vantorel
