#pragma once
// One patch: 239 bytes of synthesizer parameters with a 16-character name at
// the head. Carried unchanged; only the name is ever read.
#include <array>
#include <cstddef>
#include <cstdint>
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

    // Every record starts as the initial patch.
    CPatchRecord() { Init(); }

    // The "INIT PATCH" defaults in all 239 bytes.
    void Init();
    // Stores v (-127..+127, clamped) as the pair v+127 split into two 7-bit
    // bytes, high part first. A pair that would not fit in the record is ignored.
    void SetSignedPair(size_t nOffset, int nValue);

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
