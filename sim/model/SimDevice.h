#pragma once
// The KQ-3300 as the transfers see it: its user memory at the device
// addresses, answering data requests with data sets and storing the data sets
// it is sent. Plain C++; the in-process MIDI service and the vantorel-sim
// program both drive it with whole exclusive messages.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/msg/SysEx.h"

namespace vantorel {

namespace sim {
inline constexpr int kPatchCount = 128;
inline constexpr size_t kPatchSize = 239;
inline constexpr int kPerformanceCount = 64;
inline constexpr size_t kPerformanceSize = 528;
inline constexpr int kPerformanceBlocks = 5;
inline constexpr size_t kNameLength = 16;
inline constexpr size_t kSystemParamsSize = 23;
inline constexpr size_t kTxRxSize = 42;
inline constexpr size_t kSystemSize = kSystemParamsSize + kTxRxSize;
inline constexpr int kPatternCount = 48;
inline constexpr int kMotionCount = 4;
inline constexpr size_t kPacketSize = 231;

// Linear device addresses.
inline constexpr uint32_t kSystemParamsAddress = 0x0000000;
inline constexpr uint32_t kTxRxAddress = 0x0001800;
inline constexpr uint32_t kPatternValueAddress = 0x0000800;
inline constexpr uint32_t kMotionValueAddress = 0x0001000;
inline constexpr uint32_t kScratchAddress = 0x0200000;
inline constexpr uint32_t kPatchAddress = 0x0400000;
inline constexpr uint32_t kPatchStride = 0x100;
inline constexpr uint32_t kPerformanceAddress = 0x0600000;
inline constexpr uint32_t kPerformanceStride = 0x4000;
inline constexpr uint32_t kPatternDataAddress = 0x1000000;
inline constexpr uint32_t kPatternStride = 0x4000;
inline constexpr uint32_t kMotionDataAddress = 0x1200000;
inline constexpr uint32_t kMotionStride = 0x100000;

// The five blocks of a performance: offset from the performance's address,
// size, and where the block sits in the 528-byte record.
struct CPerformanceBlock {
    uint32_t dwOffset;
    size_t nSize;
    size_t nRecordOffset;
};
inline constexpr std::array<CPerformanceBlock, kPerformanceBlocks> kPerformanceLayout = {{
    {0x0000, 36, 0},    // common (name first)
    {0x0800, 7, 36},    // part 1
    {0x0880, 7, 43},    // part 2
    {0x2000, 239, 50},  // patch 1
    {0x2100, 239, 289}, // patch 2
}};

// The model's cable runs at the MIDI rate.
inline constexpr int64_t kWireUsPerByte = sysex::kWireUsPerByte;

inline uint32_t PatchAddress(int i)
{
    return kPatchAddress + uint32_t(i) * kPatchStride;
}
inline uint32_t PerformanceAddress(int p, int block)
{
    return kPerformanceAddress + uint32_t(p) * kPerformanceStride +
           kPerformanceLayout[size_t(block)].dwOffset;
}
inline uint32_t ScratchAddress(int block)
{
    return kScratchAddress + kPerformanceLayout[size_t(block)].dwOffset;
}
inline uint32_t PatternDataAddress(int n)
{
    return kPatternDataAddress + uint32_t(n) * kPatternStride;
}
inline uint32_t MotionDataAddress(int m)
{
    return kMotionDataAddress + uint32_t(m) * kMotionStride;
}
} // namespace sim

using CPatchBytes = std::array<uint8_t, sim::kPatchSize>;
using CPerformanceBytes = std::array<uint8_t, sim::kPerformanceSize>;
using CSystemBytes = std::array<uint8_t, sim::kSystemSize>;

// A pattern or a motion: a one-byte value and data of any length.
struct CSimItem {
    uint8_t m_nValue = 1;
    std::vector<uint8_t> m_data;
    bool operator==(const CSimItem&) const = default;
};

// How the device misbehaves. "Every N" counts answers from 1; 0 is never.
struct CSimFaults {
    int m_nResponseDelayMs = 0; // before every answer
    int m_nDropEvery = 0;       // the answer is not sent
    int m_nCorruptEvery = 0;    // the answer's checksum is wrong
    int m_nStrayEvery = 0;      // a data set for another address goes first
    int m_nLateEvery = 0;       // the answer comes m_nLateMs later than usual
    int m_nLateMs = 0;
    int m_nShortEvery = 0;   // the answer has fewer data bytes than asked for
    int m_nEndlessEvery = 0; // the answer runs far past the size asked for
};

// The data bytes of an endless answer: well past the 512-byte port buffer.
inline constexpr size_t kEndlessAnswerBytes = 4096;

// One message the device sends, due nDelayUs after the message it answers
// has been received.
struct CSimAnswer {
    std::vector<uint8_t> m_bytes;
    int64_t m_nDelayUs = 0;
};

class CSimDevice {
public:
    CSimDevice(); // factory memory
    void LoadFactoryMemory();

    // One complete exclusive message from the wire (F0 .. F7). Returns what
    // the device sends back, in order: nothing for data sets, unknown
    // addresses, packet requests at or past an item's end, and anything that
    // is not a well-formed message for this device.
    std::vector<CSimAnswer> Receive(const uint8_t* bytes, size_t count);
    std::vector<CSimAnswer> Receive(const std::vector<uint8_t>& bytes)
    {
        return Receive(bytes.data(), bytes.size());
    }

    // The bytes a request for size bytes at a linear address would be
    // answered with, before faults; false when the device would stay silent.
    bool Read(uint32_t address, uint32_t size, std::vector<uint8_t>& out) const;
    // Stores bytes as a data set to address would; false, with why, when
    // nothing is stored: no memory at the address, data that would run past
    // the end of its block or item, or item data where no packet starts.
    bool Write(uint32_t address, const uint8_t* bytes, size_t count, std::string* pWhy = nullptr);

    // Memory, for tests and tools. Indexes out of range throw std::out_of_range.
    CPatchBytes& Patch(int i) { return m_patches.at(size_t(i)); }
    const CPatchBytes& Patch(int i) const { return m_patches.at(size_t(i)); }
    // A performance in record layout: common, part 1, part 2, patch 1, patch 2.
    CPerformanceBytes& Performance(int p) { return m_performances.at(size_t(p)); }
    const CPerformanceBytes& Performance(int p) const { return m_performances.at(size_t(p)); }
    // The performance that auditions are sent to.
    CPerformanceBytes& Scratch() { return m_scratch; }
    const CPerformanceBytes& Scratch() const { return m_scratch; }
    // System parameters (23) then Tx/Rx settings (42).
    CSystemBytes& System() { return m_system; }
    const CSystemBytes& System() const { return m_system; }
    CSimItem& Pattern(int n) { return m_patterns.at(size_t(n)); }
    const CSimItem& Pattern(int n) const { return m_patterns.at(size_t(n)); }
    CSimItem& Motion(int m) { return m_motions.at(size_t(m)); }
    const CSimItem& Motion(int m) const { return m_motions.at(size_t(m)); }
    // The 16-character name at the head of a patch or performance.
    static std::string GetName(const uint8_t* record);
    static void SetName(uint8_t* record, const std::string& name);

    CSimFaults& Faults() { return m_faults; }
    const CSimFaults& Faults() const { return m_faults; }
    // Starts the fault counting again from the next answer.
    void ResetCounters();

    // What the device has seen and said since the last ResetCounters.
    int m_nRequests = 0; // well-formed data requests
    int m_nDataSets = 0; // well-formed data sets
    int m_nAnswers = 0;  // answers due, before faults
    int m_nIgnored = 0;  // anything else
    // Why the last ignored message was ignored.
    const std::string& LastIgnored() const { return m_strLastIgnored; }

    // Memory image file: see SimDevice.cpp for the layout. Save follows the
    // program's own rules for the user's files (framework/core/SafeFile.h):
    // all or nothing, a link is written through and stays a link, and a
    // folder, pipe or device is never replaced.
    bool SaveImage(const std::string& path, std::string* pError = nullptr) const;
    // Leaves the memory unchanged unless the whole image is good. Only a
    // regular file no larger than MaxImageSize is read, so that a directory,
    // a FIFO or a device is refused instead of read.
    bool LoadImage(const std::string& path, std::string* pError = nullptr);
    std::vector<uint8_t> SaveImageBytes() const;
    // The largest image there can be: every pattern and motion full.
    static size_t MaxImageSize();
    bool LoadImageBytes(const std::vector<uint8_t>& image, std::string* pError = nullptr);

private:
    struct CLocation;
    bool Locate(uint32_t address, CLocation& loc) const;
    std::vector<CSimAnswer> Ignore(std::string why);
    std::vector<uint8_t> StrayFor(uint32_t address) const;

    std::array<CPatchBytes, sim::kPatchCount> m_patches{};
    std::array<CPerformanceBytes, sim::kPerformanceCount> m_performances{};
    CPerformanceBytes m_scratch{};
    CSystemBytes m_system{};
    std::array<CSimItem, sim::kPatternCount> m_patterns;
    std::array<CSimItem, sim::kMotionCount> m_motions;
    CSimFaults m_faults;
    std::string m_strLastIgnored;
};

} // namespace vantorel
