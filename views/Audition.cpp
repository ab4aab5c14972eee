#include "views/Audition.h"

#include "framework/core/MessageBox.h"
#include "midi/DeviceNames.h"

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

CAudition::CAudition() : m_run(&m_plan, m_display)
{
    m_run.SetProblemHandler(ShowAuditionFailure);
    m_run.SetDoneHandler([](const CRunResult& result) {
        if (result.end == ERunEnd::Failed)
            ShowAuditionFailure(result.failure);
    });
}

void CAudition::BuildBuffer(const CPatchRecord& patch, CPerformRecord& buffer)
{
    // Init gives the initial performance: common and part settings, and both
    // slots holding the initial patch.
    buffer.Init();
    buffer.m_aPatch[0] = patch;
    buffer.SetName(patch.GetName()); // GetName stops at a zero byte; SetName pads with spaces
}

void CAudition::StartPatch(const CPatchRecord& patch)
{
    BuildBuffer(patch, m_buffer);
    Start(m_buffer.Data());
}

void CAudition::Start(const uint8_t* pPerformance)
{
    // The devices as every transfer reads them, at every click: MIDI Setup
    // may have changed since the last one.
    (void)ReadMidiInDevice();
    m_run.m_midiOut.UseChosenDevice();
    m_plan.m_pPerformance = pPerformance;
    m_run.Start();
}

} // namespace vantorel
