#pragma once
// The two hashes of an entry: of all its bytes, and of its bytes without its
// name (the sound: the same sound under another name or in another file
// hashes the same). Both start from the kind's word, so entries of two kinds
// never match. Shown and passed around as 16 hex digits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

class CDocKind;

uint64_t HashBytes(std::string_view seed, const uint8_t* p, size_t n);

struct CEntryHashes {
    uint64_t nSound = 0;
    uint64_t nBytes = 0;
};
CEntryHashes HashEntry(const CDocKind& kind, const uint8_t* p, size_t n);

std::string HashText(uint64_t nHash);
std::optional<uint64_t> ParseHashText(std::string_view text);

} // namespace vantorel
