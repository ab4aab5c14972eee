// The Get and Send runs on their own, as a command line uses them: no window,
// a display that writes down what it is told, the simulator as the MIDI
// service and the virtual clock. Each run ends with a result: done,
// cancelled, or failed with why, where and how far it got.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/HintRect.h"
#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/VirtualClock.h"
#include "midi/MidiService.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel::test {
namespace {

// Keeps every text, status line and bar position a run shows.
class CDisplayLog : public IProgressDisplay {
public:
    void ShowText(const std::string& text) override { m_texts.push_back(text); }
    void SetProgressPos(int nPos) override { m_nPos = nPos; }
    void SetProgressStep(int) override {}
    void StepProgress() override {}
    void ShowStatus(const std::string& text) override { m_status.push_back(text); }

    std::vector<std::string> m_texts;
    std::vector<std::string> m_status;
    int m_nPos = 0;
};

// Keeps the edits a document reports and the rectangles its views repaint.
class CEditLog : public IEditHistory, public CViewBase {
public:
    void OnEditApplied(CDocEdit edit) override { m_edits.push_back(std::move(edit)); }
    void OnSaved() override {}
    void OnUpdate(CViewBase*, long, CObject* pHint) override
    {
        if (auto* p = dynamic_cast<CHintRect*>(pHint))
            m_rects.push_back(p->m_rect);
    }
    std::vector<CDocEdit> m_edits;
    std::vector<CRect> m_rects;
};

class EngineRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CTimerService::Install(&m_clock);
        CMidiService::Install(&m_sim);
        WriteProfileInt("MIDI", "MidiInDevice", 0);
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiInName", "");
        WriteProfileString("MIDI", "MidiOutName", "");
        // Every patch of the synthesizer different from the program's defaults.
        for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
            for (size_t b = 0; b < m_device.Patch(i).size(); ++b)
                m_device.Patch(i)[b] = uint8_t((i * 31 + int(b) * 7 + 1) & 0x7F);
    }
    void TearDown() override
    {
        CMidiService::Install(nullptr);
        CTimerService::Install(nullptr);
    }

    // Starts run and lets time pass until its done callback.
    std::optional<CRunResult> RunToEnd(CTransferRun& run)
    {
        std::optional<CRunResult> result;
        run.SetDoneHandler([&result](const CRunResult& r) { result = r; });
        run.Start();
        m_clock.RunUntil([&] { return result.has_value(); }, int64_t(600) * 1'000'000);
        return result;
    }
    bool SameAsDevice(const CPatchRecord& record, int nPatch) const
    {
        const CPatchBytes& bytes = m_device.Patch(nPatch);
        return std::equal(bytes.begin(), bytes.end(), record.Data());
    }

    CVirtualClock m_clock;
    CSimDevice m_device;
    CSimMidiService m_sim{m_device};
    CMessageBoxRecorder m_boxes{IDOK};
    CDisplayLog m_display;
};

TEST_F(EngineRunTest, AGetRunFetchesAWholePatchBankAndASendRunPutsAPatchBack)
{
    CPatchDoc doc;
    CPatchGetPlan getPlan;
    getPlan.m_pDoc = &doc;
    CGetRun get(&getPlan, m_display);
    int nProgress = 0; // one call per patch, as it arrives
    get.SetProgressHandler([&](int nDone, int nTotal, int nLast) {
        ++nProgress;
        EXPECT_EQ(std::make_tuple(nDone, nTotal, nLast), std::make_tuple(nProgress, 128, nProgress - 1));
    });
    const std::optional<CRunResult> got = RunToEnd(get);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->end, ERunEnd::Done);
    EXPECT_TRUE(got->bWhole);
    EXPECT_EQ(nProgress, 128);
    EXPECT_TRUE(get.HasStored());
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
        EXPECT_TRUE(SameAsDevice(doc.m_aPatch[size_t(i)], i)) << i;
    ASSERT_FALSE(m_display.m_texts.empty());
    EXPECT_EQ(m_display.m_texts.back(), "B88: " + CSimDevice::GetName(m_device.Patch(127).data()));
    // The status line counted the patches and went idle at the end.
    ASSERT_GE(m_display.m_status.size(), 2u);
    EXPECT_EQ(m_display.m_status.front(), "Getting patch 1 of 128");
    EXPECT_EQ(m_display.m_status.back(), "");
    EXPECT_EQ(get.GetStatusText(), "");
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
    EXPECT_TRUE(m_boxes.m_texts.empty());

    // One patch changed here goes back to its place, and only there.
    CPatchRecord& changed = doc.m_aPatch[17];
    changed.SetName("Sent Back");
    changed.Data()[40] = 0x55;
    const CPatchBytes before16 = m_device.Patch(16);
    const CPatchBytes before18 = m_device.Patch(18);
    CPatchSendPlan sendPlan;
    sendPlan.m_pRecord = &changed;
    sendPlan.m_nIndex = 17;
    CSendRun send(&sendPlan, m_display);
    const std::optional<CRunResult> sent = RunToEnd(send);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->end, ERunEnd::Done);
    EXPECT_FALSE(sent->bWhole);
    EXPECT_TRUE(SameAsDevice(changed, 17));
    EXPECT_EQ(m_device.Patch(16), before16);
    EXPECT_EQ(m_device.Patch(18), before18);
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
    EXPECT_TRUE(m_boxes.m_texts.empty());
}

// A failed run says why, where and how far it got. A Get here asks again
// twice, as the command line's --retries 2 does; the engine shows no box.
// (A lost connection, silence and refused bytes: CliTransferTest.)
TEST_F(EngineRunTest, AFailedRunEndsInAResultThatSaysWhyWhereAndHowFar)
{
    const struct {
        const char* szName;
        bool bGet;
        bool bDamaged; // else the chosen output device is listed nowhere
        EFailure reason;
        const char* szDevice;
        int nTries; // a Get: requests for the entry it gave up on
    } cases[] = {
        {"get: output gone", true, false, EFailure::DeviceNotAvailable, "Desk Synth", 3},
        {"get: damaged answers", true, true, EFailure::DamagedAnswer, "KQ-3300 Simulator", 3},
        {"send: output gone", false, false, EFailure::DeviceNotAvailable, "Desk Synth", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        m_device.Faults().m_nCorruptEvery = c.bDamaged ? 1 : 0;
        WriteProfileInt("MIDI", "MidiOutDevice", c.bDamaged ? 0 : 7);
        WriteProfileString("MIDI", "MidiOutName", c.bDamaged ? "" : "Desk Synth");
        CPatchDoc doc;
        CPatchGetPlan getPlan;
        getPlan.m_pDoc = &doc;
        CPatchSendPlan sendPlan;
        sendPlan.m_pRead = doc.m_aPatch.data();
        std::unique_ptr<CTransferRun> pRun;
        if (c.bGet)
            pRun = std::make_unique<CGetRun>(&getPlan, m_display);
        else
            pRun = std::make_unique<CSendRun>(&sendPlan, m_display);
        pRun->SetSettings(CRunSettings{2});
        int nProblems = 0;
        pRun->SetProblemHandler([&](const CRunFailure&) { ++nProblems; });
        const std::optional<CRunResult> result = RunToEnd(*pRun);

        ASSERT_TRUE(result);
        EXPECT_EQ(result->end, ERunEnd::Failed);
        const CRunFailure& f = result->failure;
        EXPECT_EQ(f.reason, c.reason);
        EXPECT_EQ(f.strDevice, c.szDevice);
        EXPECT_EQ(f.nDone, 0);
        EXPECT_EQ(f.nTotal, 128);
        EXPECT_STREQ(f.noun.szMany, "patches");
        if (c.bGet) {
            EXPECT_EQ(f.nEntry, 0);
            EXPECT_EQ(f.nTries, c.nTries);
        } else {
            EXPECT_EQ(f.strEntry, "");
            EXPECT_TRUE(f.bSending);
        }
        // One failure is told at most once on the way; the ports are closed.
        EXPECT_LE(nProblems, 1);
        EXPECT_FALSE(pRun->IsRunning());
        EXPECT_FALSE(m_sim.IsInOpen());
        EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
    }
    EXPECT_TRUE(m_boxes.m_texts.empty());
}

TEST_F(EngineRunTest, CancelEndsAGetThatHearsNothingAsCancelledWithItsPortsClosed)
{
    m_device.Faults().m_nDropEvery = 1;
    CPatchDoc doc;
    CPatchGetPlan plan;
    plan.m_pDoc = &doc;
    CGetRun get(&plan, m_display);
    std::optional<CRunResult> end;
    get.SetDoneHandler([&end](const CRunResult& r) { end = r; });
    get.Start();
    m_clock.AdvanceMs(3500);
    EXPECT_TRUE(get.IsRunning());
    EXPECT_EQ(m_display.m_texts.back(), res::kNoAnswer);
    get.Cancel();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->end, ERunEnd::Cancelled);
    EXPECT_FALSE(get.HasStored());
    EXPECT_FALSE(m_sim.IsInOpen());
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
    EXPECT_TRUE(m_boxes.m_texts.empty());
    // Nothing runs on after the end.
    const size_t nTexts = m_display.m_texts.size();
    m_clock.AdvanceMs(5000);
    EXPECT_EQ(m_display.m_texts.size(), nTexts);
}

// A Get stores what arrives through the document's edits: inside one edit
// group (as the windows open around a Get) the whole Get is one step of just
// the entries it changed, and the same Get again adds none.
TEST_F(EngineRunTest, AGetOfEachKindIsOneEditOfTheEntriesItChanged)
{
    CPatchDoc patches;
    CPerformDoc performances;
    CSystemDoc system;
    CPatternDoc patterns;
    CMotionDoc motions;
    for (CDocument* pDoc :
         std::initializer_list<CDocument*>{&patches, &performances, &system, &patterns, &motions}) {
        SCOPED_TRACE(pDoc->GetRuntimeClassName());
        CEditLog log;
        pDoc->SetEditHistory(&log);
        pDoc->AddView(&log);
        const CEntrySnapshot before = pDoc->SnapshotEntries();
        for (int nRun = 0; nRun < 2; ++nRun) {
            CEditGroup group(*pDoc, res::kEditGet);
            const std::unique_ptr<CGetPlan> plan = DocumentKinds().Of(*pDoc)->MakeGetPlan(*pDoc, -1);
            ASSERT_NE(plan, nullptr);
            CGetRun get(plan.get(), m_display);
            const std::optional<CRunResult> result = RunToEnd(get);
            ASSERT_TRUE(result);
            EXPECT_EQ(result->end, ERunEnd::Done);
        }
        std::vector<int> changed;
        const CEntrySnapshot after = pDoc->SnapshotEntries();
        for (size_t n = 0; n < after.size(); ++n)
            if (after[n] != before[n])
                changed.push_back(int(n));
        EXPECT_FALSE(changed.empty());
        ASSERT_EQ(log.m_edits.size(), 1u);
        EXPECT_EQ(log.m_edits[0].strName, res::kEditGet);
        std::vector<int> recorded;
        for (const CEntryChange& c : log.m_edits[0].changes)
            recorded.push_back(c.nEntry);
        EXPECT_EQ(recorded, changed);
        EXPECT_TRUE(pDoc->IsModified());
        // The patch list repainted each changed row as it arrived, once.
        if (pDoc == &patches) {
            std::vector<CRect> rows;
            for (int n : changed)
                rows.push_back(patches.GetRowRect(n));
            EXPECT_EQ(log.m_rects, rows);
        }
        pDoc->SetEditHistory(nullptr);
        pDoc->RemoveView(&log);
    }
}

} // namespace
} // namespace vantorel::test
