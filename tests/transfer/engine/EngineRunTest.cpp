// The Get and Send runs on their own, as a command line uses them: no window,
// a display that writes down what it is told, the simulator as the MIDI
// service and the virtual clock. Each run ends with a result: done,
// cancelled, or failed with why, where and how far it got.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "data/EntryName.h"
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
#include "midi/FakeMidiService.h"
#include "midi/MidiService.h"
#include "midi/backends/CompositeMidiService.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"
#include "transfer/plans/DocumentPlans.h"
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

// The simulator, whose long messages fail from the nth on as a device that
// has gone away.
class CLosingSimService : public CSimMidiService {
public:
    using CSimMidiService::CSimMidiService;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override
    {
        if (m_nFailFrom > 0 && ++m_nLong >= m_nFailFrom)
            return MIDIERR_DISCONNECTED;
        return CSimMidiService::OutLongMsg(h, pHdr);
    }
    int m_nFailFrom = 0;
    int m_nLong = 0;
};

class EngineRunTest : public ::testing::Test {
public:
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
    CLosingSimService m_sim{m_device};
    CMessageBoxRecorder m_boxes{IDOK};
    CDisplayLog m_display;
    CPatchDoc m_doc;
};

TEST_F(EngineRunTest, AGetRunFetchesAWholePatchBankAndASendRunPutsAPatchBack)
{
    CPatchDoc doc;
    CPatchGetPlan getPlan;
    getPlan.m_pDoc = &doc;
    CGetRun get(&getPlan, m_display);
    std::vector<int> progress;
    get.SetProgressHandler([&](int nDone, int nTotal, int nLast) {
        EXPECT_EQ(nTotal, 128);
        EXPECT_EQ(nLast, nDone - 1);
        progress.push_back(nDone);
    });
    const std::optional<CRunResult> got = RunToEnd(get);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->end, ERunEnd::Done);
    EXPECT_TRUE(got->bWhole);
    ASSERT_EQ(progress.size(), 128u);
    EXPECT_EQ(progress.back(), 128);
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

// What each way of failing ends in: the reason, the device by name, the
// entry and how far the run got. A Get here asks again twice, as the command
// line's --retries 2 does; the engine itself shows no box.
struct CFailureCase {
    const char* szName;
    bool bGet;
    std::function<void(EngineRunTest&)> arrange;
    EFailure reason;
    std::string strDevice;
    int nDone;
    int nTries;            // a Get: requests for the entry it gave up on
    std::string strEntry;  // a Send: the entry that did not go out
};

void WithOutputDevice7(EngineRunTest&)
{
    WriteProfileInt("MIDI", "MidiOutDevice", 7);
    WriteProfileString("MIDI", "MidiOutName", "Desk Synth");
}

TEST_F(EngineRunTest, EachWayOfFailingEndsInAResultThatSaysWhyWhereAndHowFar)
{
    const std::string sim = "KQ-3300 Simulator";
    const std::vector<CFailureCase> cases = {
        {"get: output gone", true, WithOutputDevice7, EFailure::DeviceNotAvailable, "Desk Synth", 0, 3, ""},
        {"get: silent after ten answers", true,
         [](EngineRunTest& t) {
             t.m_sim.SetTrafficHook([&t, n = 0](CSimMidiService::EDirection dir, const std::vector<uint8_t>&) mutable {
                 if (dir == CSimMidiService::EDirection::In && ++n == 10)
                     t.m_device.Faults().m_nDropEvery = 1;
             });
         },
         EFailure::NoAnswer, sim, 10, 3, ""},
        {"get: damaged answers", true, [](EngineRunTest& t) { t.m_device.Faults().m_nCorruptEvery = 1; },
         EFailure::DamagedAnswer, sim, 0, 3, ""},
        {"get: connection lost", true, [](EngineRunTest& t) { t.m_sim.m_nFailFrom = 6; },
         EFailure::ConnectionLost, sim, 5, 3, ""},
        {"send: output gone", false, WithOutputDevice7, EFailure::DeviceNotAvailable, "Desk Synth", 0, 0, ""},
        {"send: connection lost", false, [](EngineRunTest& t) { t.m_sim.m_nFailFrom = 18; },
         EFailure::ConnectionLost, sim, 17, 0, "Patch " + FormatPatchLabel(17)},
        {"send: bytes it cannot take", false, [](EngineRunTest& t) { t.m_doc.m_aPatch[12].Data()[40] = 0x80; },
         EFailure::RefusedBytes, sim, 12, 0, "Patch " + FormatPatchLabel(12)},
    };
    for (const CFailureCase& c : cases) {
        SCOPED_TRACE(c.szName);
        m_device.Faults() = CSimFaults{};
        m_sim.SetTrafficHook({});
        m_sim.m_nFailFrom = 0;
        m_sim.m_nLong = 0;
        m_doc.m_aPatch = CPatchDoc().m_aPatch;
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiOutName", "");
        c.arrange(*this);

        CPatchGetPlan getPlan;
        getPlan.m_pDoc = &m_doc;
        CPatchSendPlan sendPlan;
        sendPlan.m_pRead = m_doc.m_aPatch.data();
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
        EXPECT_EQ(f.strDevice, c.strDevice);
        EXPECT_EQ(f.nDone, c.nDone);
        EXPECT_EQ(f.nTotal, 128);
        EXPECT_STREQ(f.noun.szMany, "patches");
        if (c.bGet) {
            EXPECT_EQ(f.nEntry, c.nDone);
            EXPECT_EQ(f.nTries, c.nTries);
        } else {
            EXPECT_EQ(f.strEntry, c.strEntry);
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

TEST_F(EngineRunTest, TheSentenceForAFailureIsTheOneTheWindowsShow)
{
    CRunFailure stopped;
    stopped.reason = EFailure::ConnectionLost;
    stopped.bSending = true;
    stopped.strDevice = "Desk Synth";
    stopped.wDevice = 3;
    stopped.nDone = 17;
    stopped.nTotal = 128;
    stopped.noun = {"patch", "patches"};
    stopped.strDetail = "the port's own sentence";
    EXPECT_EQ(DescribeFailure(stopped), "Desk Synth (device 3) stopped taking data: sent 17 of 128 patches. "
                                        "Check that it is connected and switched on, then send again.");
    // A Get that loses its device says it in the port's words.
    stopped.bSending = false;
    EXPECT_EQ(DescribeFailure(stopped), "the port's own sentence");
    CRunFailure refused;
    refused.reason = EFailure::RefusedBytes;
    refused.strEntry = "Pattern 3";
    EXPECT_EQ(DescribeFailure(refused), "Pattern 3 holds bytes the KQ-3300 cannot receive; it was not sent.");
}

// The simulator as a device that can be unplugged: listed, and so opened,
// only while it is plugged in.
class CPluggableSim : public CSimMidiService {
public:
    using CSimMidiService::CSimMidiService;
    bool m_bPlugged = false;

protected:
    std::vector<std::string> ListInDevices() override
    {
        return m_bPlugged ? CSimMidiService::ListInDevices() : std::vector<std::string>{};
    }
    std::vector<std::string> ListOutDevices() override
    {
        return m_bPlugged ? CSimMidiService::ListOutDevices() : std::vector<std::string>{};
    }
};

TEST_F(EngineRunTest, AGetNeverTalksToTheDeviceAtTheChosenNumberAndGoesOnWhenTheChosenOneComesBack)
{
    // The synthesizer was device 0; now another device has that number, and
    // the synthesizer comes back after it, as device 1.
    test::CFakeMidiService other;
    other.m_ins = {"slow:out"};
    other.m_outs = {"slow:in"};
    CPluggableSim synth(m_device);
    CCompositeMidiService service({&other, &synth});
    CMidiService::Install(&service);
    WriteProfileString("MIDI", "MidiInName", CSimMidiService::kDeviceName);
    WriteProfileString("MIDI", "MidiOutName", CSimMidiService::kDeviceName);

    CPatchDoc doc;
    CPatchGetPlan plan;
    plan.m_pDoc = &doc;
    CGetRun get(&plan, m_display);
    const std::string missing = "KQ-3300 Simulator (device 0) is not available. Check that it is connected, or "
                                "choose another device in Setup > MIDI Setup.";
    EXPECT_EQ(get.MissingDeviceText(), missing);
    std::vector<CRunFailure> problems;
    get.SetProblemHandler([&](const CRunFailure& f) { problems.push_back(f); });
    std::optional<CRunResult> end;
    get.SetDoneHandler([&end](const CRunResult& r) { end = r; });
    get.Start();
    m_clock.AdvanceMs(5'000);
    EXPECT_TRUE(get.IsRunning());
    ASSERT_EQ(problems.size(), 1u) << "one failure, told once";
    EXPECT_EQ(problems[0].reason, EFailure::DeviceNotAvailable);
    EXPECT_EQ(problems[0].strDevice, "KQ-3300 Simulator");
    EXPECT_EQ(DescribeFailure(problems[0]), missing);

    synth.m_bPlugged = true;
    m_clock.RunUntil([&] { return end.has_value(); });
    ASSERT_TRUE(end);
    EXPECT_EQ(end->end, ERunEnd::Done);
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
        EXPECT_TRUE(SameAsDevice(doc.m_aPatch[size_t(i)], i)) << i;
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_TRUE(other.m_calls.empty()) << "the device that has the number was never opened";
    get.Cancel(); // ports closed while their service is still installed
    CMidiService::Install(nullptr);
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
    for (CDocument* pDoc : {static_cast<CDocument*>(&patches), static_cast<CDocument*>(&performances),
                            static_cast<CDocument*>(&system), static_cast<CDocument*>(&patterns),
                            static_cast<CDocument*>(&motions)}) {
        SCOPED_TRACE(pDoc->GetRuntimeClassName());
        CEditLog log;
        pDoc->SetEditHistory(&log);
        pDoc->AddView(&log);
        const CEntrySnapshot before = pDoc->SnapshotEntries();
        for (int nRun = 0; nRun < 2; ++nRun) {
            CEditGroup group(*pDoc, res::kEditGet);
            const std::unique_ptr<CGetPlan> plan = MakeGetPlan(*pDoc);
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
