#pragma once
// Send Data: a click on a patch or a performance sends it to the synthesizer
// at once, as one whole performance at the fixed audition address outside the
// user memory, so that the Preview note sounds with it. The sending is a Send
// run of the audition plan (transfer/plans/AuditionPlan.h): the five blocks
// 100 ms apart, the port closed 100 ms after the last, on the run's own
// timers 1 and 2. Used by the patch and the performance windows.
#include <cstdint>

#include "data/PatchRecord.h"
#include "data/PerformRecord.h"
#include "transfer/engine/SendRun.h"
#include "transfer/plans/AuditionPlan.h"

namespace vantorel {

class CAudition {
public:
    CAudition();
    CAudition(const CAudition&) = delete;
    CAudition& operator=(const CAudition&) = delete;

    // The performance sent for a patch: the patch's name (spaces from a zero
    // byte on), the initial performance's settings, the patch in the first
    // slot and the initial patch in the second.
    static void BuildBuffer(const CPatchRecord& patch, CPerformRecord& buffer);

    // Builds the audition buffer from patch and sends it.
    void StartPatch(const CPatchRecord& patch);
    // Sends 528 performance bytes, read as the blocks go out.
    void Start(const uint8_t* pPerformance);

    bool IsSending() const { return m_run.IsRunning(); }

private:
    CPerformRecord m_buffer;
    CAuditionPlan m_plan;
    CSilentDisplay m_display;
    CSendRun m_run;
};

} // namespace vantorel
