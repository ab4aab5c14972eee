#pragma once
// Send Data: a click on an entry of a kind that has an audition
// (CDocKind::HasAudition: a patch, a performance) sends it to the synthesizer
// at once, as one whole performance at the fixed audition address outside the
// user memory, so that the Preview note sounds with it. The sending is a Send
// run of the plan the kind makes (transfer/plans/AuditionPlan.h): the five
// blocks 100 ms apart, the port closed 100 ms after the last, on the run's own
// timers 1 and 2. Used by the patch and the performance windows and the
// Library window.
#include <cstdint>
#include <memory>
#include <span>

#include "transfer/engine/SendRun.h"

namespace vantorel {

class CDocKind;

class CAudition {
public:
    CAudition();
    CAudition(const CAudition&) = delete;
    CAudition& operator=(const CAudition&) = delete;

    // Sends the audition kind makes of an entry's bytes (copied); nothing
    // while one is being sent, or for a kind or bytes without an audition.
    void Start(const CDocKind& kind, std::span<const uint8_t> entry);

    bool IsSending() const { return m_run.IsRunning(); }

private:
    std::unique_ptr<CSendPlan> m_plan;
    CSilentDisplay m_display;
    CSendRun m_run;
};

} // namespace vantorel
