// A Get that starts while its synthesizer is away, over a private JACK server:
// vantorel-sim starts only later, and not at the number stored with the
// choice. The Get finds it by its name and goes on by itself.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <vector>

#include "data/PatchDoc.h"
#include "e2e/JackRig.h"
#include "framework/core/Profile.h"
#include "framework/core/QtTimerService.h"
#include "midi/backends/RtMidiService.h"
#include "sim/model/SimDevice.h"
#include "support/MessageBoxRecorder.h"
#include "transfer/engine/GetRun.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel {
namespace {

constexpr int kAwayMs = 3000;
constexpr int kGetLimitMs = 120'000;

TEST(JackResume, AGetStartedWhileTheSynthesizerIsAwayCompletesWhenItStarts)
{
    if (!e2e::CJackRig::JackdInstalled())
        GTEST_SKIP() << "jackd is not installed";
    QTemporaryDir dir;
    e2e::CJackRig rig;
    std::string error;
    ASSERT_TRUE(rig.StartServer(error)) << error;
    CMessageBoxRecorder boxes;
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CMidiService::Install(&jack);
        // Chosen when the simulator's ports were devices 4.
        WriteProfileInt("MIDI", "MidiInDevice", 4);
        WriteProfileString("MIDI", "MidiInName", rig.SimName() + ":out");
        WriteProfileInt("MIDI", "MidiOutDevice", 4);
        WriteProfileString("MIDI", "MidiOutName", rig.SimName() + ":in");

        CPatchDoc doc;
        CPatchGetPlan plan;
        plan.m_pDoc = &doc;
        CSilentDisplay display;
        CGetRun get(&plan, display);
        std::vector<CRunFailure> problems;
        get.SetProblemHandler([&](const CRunFailure& f) { problems.push_back(f); });
        std::optional<CRunResult> end;
        get.SetDoneHandler([&end](const CRunResult& r) { end = r; });
        get.Start();
        QTest::qWait(kAwayMs);
        EXPECT_TRUE(get.IsRunning());
        ASSERT_EQ(problems.size(), 1u) << "the device is away: told once";
        EXPECT_EQ(problems[0].reason, EFailure::DeviceNotAvailable);
        EXPECT_EQ(problems[0].strDevice, rig.SimName() + ":in");

        const QString image = dir.filePath(QStringLiteral("sim.img"));
        ASSERT_TRUE(rig.StartSim(VANTOREL_SIM_PATH, image, {}, error)) << error;
        const bool bEnded = QTest::qWaitFor([&] { return end.has_value(); }, kGetLimitMs);
        if (!bEnded)
            get.Cancel();
        ASSERT_TRUE(bEnded) << "the Get did not go on when the simulator started";
        EXPECT_EQ(end->end, ERunEnd::Done);
        EXPECT_TRUE(end->bWhole);
        const CSimDevice factory;
        for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
            EXPECT_EQ(doc.m_aPatch[size_t(i)].m_data, factory.Patch(i)) << i;
        EXPECT_EQ(problems.size(), 1u);
        EXPECT_TRUE(boxes.m_texts.empty());
        CMidiService::Install(nullptr);
    }
    CTimerService::Install(nullptr);
    rig.Stop();
}

} // namespace
} // namespace vantorel
