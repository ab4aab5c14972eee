#include "views/Audition.h"

#include "framework/core/MessageBox.h"
#include "midi/DeviceNames.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// The audition has no count to give: a failing port is told in its own
// words, and a performance it refused before sending is not told at all.
void ShowAuditionFailure(const CRunFailure& failure)
{
    if (!failure.strDetail.empty())
        AfxMessageBox(failure.strDetail, MB_OK);
}

} // namespace

CAudition::CAudition() : m_run(nullptr, m_display)
{
    m_run.SetProblemHandler(ShowAuditionFailure);
    m_run.SetDoneHandler([](const CRunResult& result) {
        if (result.end == ERunEnd::Failed)
            ShowAuditionFailure(result.failure);
    });
}

void CAudition::Start(const CDocKind& kind, std::span<const uint8_t> entry)
{
    if (IsSending())
        return; // the run is still reading the plan it has
    std::unique_ptr<CSendPlan> plan = kind.MakeAuditionPlan(entry);
    if (!plan)
        return;
    m_plan = std::move(plan);
    m_run.SetPlan(m_plan.get());
    // The devices as every transfer reads them, at every click: MIDI Setup
    // may have changed since the last one.
    (void)ReadMidiInDevice();
    m_run.m_midiOut.UseChosenDevice();
    m_run.Start();
}

} // namespace vantorel
