#pragma once
// The 128-byte header in front of every library file: model, kind and version.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/core/Document.h"

namespace vantorel {

class CArchive;

inline constexpr size_t kFileHeaderSize = 128;
inline constexpr size_t kHeaderModelOffset = 0;
inline constexpr size_t kHeaderModelSize = 8;
inline constexpr size_t kHeaderTypeOffset = 8;
inline constexpr size_t kHeaderTypeSize = 16;
inline constexpr size_t kHeaderVersionOffset = 24;
inline constexpr size_t kHeaderVersionSize = 4;
inline constexpr size_t kHeaderReservedOffset = 28; // up to the end; zero on write, ignored on read

// Field contents: no terminators inside the header, each fills its field exactly.
inline constexpr std::string_view kHeaderModel = "KQ-3300 ";
inline constexpr std::string_view kHeaderVersion = "0001";

// Each kind's 16-character type string lives with its document (kTypePatch
// in data/PatchDoc.h, ...).
static_assert(kHeaderModel.size() == kHeaderModelSize);
static_assert(kHeaderVersion.size() == kHeaderVersionSize);

class CFileHeader {
public:
    static constexpr size_t kSize = kFileHeaderSize;

    void SetModel();
    bool CheckModel() const;
    // A type shorter than 16 characters is taken as padded with spaces; a
    // longer one is cut at 16.
    void SetType(std::string_view type);
    bool CheckType(std::string_view type) const;
    void SetVersion();
    bool CheckVersion() const;

    uint8_t* Data() { return m_data.data(); }
    const uint8_t* Data() const { return m_data.data(); }

    std::array<uint8_t, kSize> m_data{}; // reserved bytes start (and stay) zero
};

// Writes a complete header of the given kind.
void StoreFileHeader(CArchive& ar, std::string_view type);

// Reads the 128 header bytes; true when model, type and version all match.
// A file too short for the header throws CArchiveException.
bool LoadFileHeader(CArchive& ar, std::string_view type);

} // namespace vantorel
