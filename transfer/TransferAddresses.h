#pragma once
// Where each kind lives in the synthesizer's memory, as 28-bit linear
// addresses (the ports turn them into four 7-bit wire bytes), and the sizes
// of its blocks.
#include <array>
#include <cstddef>
#include <cstdint>

#include "data/PerformRecord.h"
#include "data/SystemDoc.h"

namespace vantorel::address {

// Patches: user patch n at (0x4000 + n) << 8, 02 00 00 00 for the first and
// 02 01 7E 00 for the last; a performance's two patches inside its own block.
inline constexpr uint32_t kPatchSize = 239;
inline constexpr uint32_t kUserPatchBase = 0x4000;
inline constexpr int kPatchShift = 8;
inline constexpr uint32_t UserPatch(int nIndex)
{
    return (kUserPatchBase + uint32_t(nIndex)) << kPatchShift;
}

// Performances: 0x4000 apart from 03 00 00 00, five blocks each.
inline constexpr uint32_t kPerformanceBase = 0x180;
inline constexpr int kPerformanceShift = 14;
inline constexpr uint32_t Performance(int nIndex)
{
    return (kPerformanceBase + uint32_t(nIndex)) << kPerformanceShift;
}
// Common, part 1, part 2, patch 1, patch 2, in the order they are exchanged.
inline constexpr std::array<uint32_t, CPerformRecord::kBlockCount> kPerformanceBlock = {
    0x0000, 0x0800, 0x0880, 0x2000, 0x2100};
inline constexpr int kFirstPatchBlock = 3;
inline constexpr int kSecondPatchBlock = 4;
// Part 1 or 2 of a performance's patches.
inline constexpr uint32_t PerformancePatch(int nPerformance, int nPart)
{
    return Performance(nPerformance) + kPerformanceBlock[nPart == 2 ? kSecondPatchBlock : kFirstPatchBlock];
}

// System: the parameter block, the Tx/Rx block, and the one Tx/Rx byte that
// lives among the system parameters.
inline constexpr uint32_t kSystemParameters = 0x0000000;
inline constexpr uint32_t kSystemParametersSize = CSystemDoc::kSystemParameterSize;
inline constexpr uint32_t kTxRxSettings = 0x0001800;
inline constexpr uint32_t kTxRxSettingsSize = CSystemDoc::kTxRxSettingSize;
inline constexpr uint32_t kTxRxExtra = 0x0000006;
inline constexpr uint32_t kTxRxExtraSize = 1;
inline constexpr size_t kTxRxExtraOffset = 6; // its place in the system data

// Patterns and motions: a one-byte value, then data in packets of 231 bytes.
inline constexpr uint32_t kPacketSize = 231;
inline constexpr size_t kFullPacketAnswer = kPacketSize + 12; // what a full packet's data set measures
inline constexpr uint32_t kValueSize = 1;

inline constexpr uint32_t kPatternValueBase = 0x0000800;
inline constexpr uint32_t kPatternDataBase = 0x400;
inline constexpr int kPatternDataShift = 14;
inline constexpr uint32_t kPatternStep = 0x4000;
inline constexpr uint32_t PatternValue(int n)
{
    return kPatternValueBase + uint32_t(n);
}
inline constexpr uint32_t PatternData(int n)
{
    return (kPatternDataBase + uint32_t(n)) << kPatternDataShift;
}

inline constexpr uint32_t kMotionValueBase = 0x0001000;
inline constexpr uint32_t kMotionDataBase = 18;
inline constexpr int kMotionDataShift = 20;
inline constexpr uint32_t kMotionStep = 0x100000;
inline constexpr uint32_t MotionValue(int n)
{
    return kMotionValueBase + uint32_t(n);
}
inline constexpr uint32_t MotionData(int n)
{
    return (kMotionDataBase + uint32_t(n)) << kMotionDataShift;
}

static_assert(UserPatch(127) == 0x0407F00);
static_assert(Performance(0) == 0x0600000);
static_assert(PatternData(0) + kPacketSize == 0x10000E7);

} // namespace vantorel::address
