#pragma once
// Send Data: a click on a patch or a performance sends it to the synthesizer
// at once, as one whole performance at the fixed audition address outside the
// user memory, so that the Preview note sounds with it. The five blocks go out
// one after another, each 100 ms after the previous one has left the port,
// and the port closes 100 ms after the last. Used by the patch and the
// performance windows; runs on its owner's timers 1 and 2 and receives the
// port's done notifications through the owner.
#include <array>
#include <cstdint>

#include "data/PatchRecord.h"
#include "data/PerformRecord.h"
#include "midi/MidiPorts.h"

namespace vantorel {

class CScrollView;

class CAudition {
public:
    static constexpr int kStepTimer = 1; // sends the next block
    static constexpr int kEndTimer = 2;  // closes the port
    static constexpr int kPauseMs = 100;
    static constexpr int kStepCount = CPerformRecord::kBlockCount;

    // Where each block of the audition performance goes (linear addresses:
    // 01 00 00 00, 01 00 10 00, 01 00 11 00, 01 00 40 00, 01 00 42 00).
    static constexpr uint32_t kCommonAddress = 0x200000;
    static constexpr uint32_t kFirstPartAddress = 0x200800;
    static constexpr uint32_t kSecondPartAddress = 0x200880;
    static constexpr uint32_t kFirstPatchAddress = 0x202000;
    static constexpr uint32_t kSecondPatchAddress = 0x202100;
    static constexpr std::array<uint32_t, kStepCount> kAddresses = {
        kCommonAddress, kFirstPartAddress, kSecondPartAddress, kFirstPatchAddress, kSecondPatchAddress};

    // pOwner: the window whose timers 1 and 2 pace the sequence; pNotify: the
    // same window as the receiver of the port's notifications.
    CAudition(CScrollView* pOwner, IMidiNotify* pNotify);
    ~CAudition();
    CAudition(const CAudition&) = delete;
    CAudition& operator=(const CAudition&) = delete;

    // The performance sent for a patch: the patch's name (spaces from a zero
    // byte on), the initial performance's settings, the patch in the first
    // slot and the initial patch in the second.
    static void BuildBuffer(const CPatchRecord& patch, CPerformRecord& buffer);

    // Builds the audition buffer from patch and starts the sequence with it.
    void StartPatch(const CPatchRecord& patch);
    // Starts the sequence with 528 performance bytes, read as the blocks go
    // out (a document record stays where it is).
    void Start(const uint8_t* pPerformance);

    // The owner's timer; true when the id was one of the sequence's.
    bool OnTimer(int nId);
    // The owner's long-message-done notification.
    void OnOutputDone(HMIDIOUT hOut, MIDIHDR* pHeader);

    bool IsSending() const { return m_bSending != 0; }
    int GetStep() const { return m_nStep; }
    const CPerformRecord& GetBuffer() const { return m_buffer; }

private:
    // Port failure: the error has been shown; no done notification will come,
    // so the sequence ends here.
    void Abandon();

    CScrollView* m_pOwner;
    IMidiNotify* m_pNotify;
    CPerformRecord m_buffer;
    const uint8_t* m_pRead = nullptr;
    int m_bSending = 0;
    int m_bMore = 0;
    int m_nStep = 0;
    CMidiOut m_midiOut;
};

} // namespace vantorel
