#include "library/SoundHash.h"

#include <algorithm>
#include <cstring>

#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

constexpr uint64_t kPrime = 0x100000001b3ull;
constexpr size_t kHashDigits = 16; // a hash as text: one hex digit for each four of its 64 bits
constexpr uint64_t kBasis = 0xcbf29ce484222325ull;

uint64_t Mix(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 33);
}

uint64_t Feed(uint64_t h, const uint8_t* p, size_t n)
{
    // Eight bytes at a time; the length goes in at the end so that trailing
    // zero bytes count.
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        h = (h ^ w) * kPrime;
        h ^= h >> 29;
    }
    for (; i < n; ++i)
        h = (h ^ p[i]) * kPrime;
    return (h ^ n) * kPrime;
}

} // namespace

uint64_t HashBytes(std::string_view seed, const uint8_t* p, size_t n)
{
    const uint64_t h = Feed(kBasis, reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    return Mix(Feed(h, p, n));
}

CEntryHashes HashEntry(const CDocKind& kind, const uint8_t* p, size_t n)
{
    const size_t nName = std::min(kind.NameSize(), n);
    return {HashBytes(kind.Word(), p + nName, n - nName), HashBytes(kind.Word(), p, n)};
}

std::string HashText(uint64_t nHash)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(kHashDigits, '0');
    for (int i = int(kHashDigits) - 1; i >= 0; --i, nHash >>= 4)
        text[size_t(i)] = kDigits[nHash & 15];
    return text;
}

std::optional<uint64_t> ParseHashText(std::string_view text)
{
    if (text.size() != kHashDigits)
        return std::nullopt;
    uint64_t n = 0;
    for (char c : text) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0)
            return std::nullopt;
        n = n << 4 | uint64_t(d);
    }
    return n;
}

} // namespace vantorel
