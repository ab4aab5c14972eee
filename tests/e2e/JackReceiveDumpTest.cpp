// Receive Dump over JACK: vantorel-sim pushes its whole memory as a dump, at
// wire speed or as one unpaced burst, and every entry of every kind arrives in
// the program's windows byte for byte, or what arrived before it went.
#include <signal.h>

#include <QPushButton>

#include <gmock/gmock.h>

#include "app/ReceiveDumpDlg.h"
#include "e2e/ProgramFixture.h"
#include "midi/DeviceNames.h"
#include "res/strings/midi.h"
#include "support/ReceiveDumpTestPeer.h"

namespace vantorel::e2e {
namespace {

// What a dump of the memory carries: as many data sets as a Send of every kind.
uint64_t DumpDataSets(const CSimDevice& sim)
{
    uint64_t n = uint64_t(sim::kPatchCount) + uint64_t(sim::kPerformanceCount) * sim::kPerformanceBlocks + 2;
    const auto item = [&](const CSimItem& it) {
        const size_t nPackets = (it.m_data.size() + sim::kPacketSize - 1) / sim::kPacketSize;
        n += 1 + std::max<size_t>(nPackets, 1);
    };
    for (int i = 0; i < sim::kPatternCount; ++i)
        item(sim.Pattern(i));
    for (int i = 0; i < sim::kMotionCount; ++i)
        item(sim.Motion(i));
    return n;
}

template <class TDoc>
TDoc* DocumentOf(CDocManager& docs)
{
    for (CDocument* p : docs.GetDocuments())
        if (auto* d = dynamic_cast<TDoc*>(p))
            return d;
    return nullptr;
}

class ReceiveDump : public CProgramTest {
protected:
    // The simulator (started with args) dumps its whole memory; the program
    // receives and places it, and every entry equals the simulator's.
    void ReceiveWholeDump(const QStringList& args)
    {
        SCOPED_TRACE(args.join(' ').toStdString());
        ASSERT_NO_FATAL_FAILURE(StartAll(args));
        const std::unique_ptr<CSimDevice> sim = SimMemory();
        ASSERT_TRUE(sim);
        const uint64_t nExpected = DumpDataSets(*sim);

        ASSERT_NO_FATAL_FAILURE(Command(ID_RECEIVE_DUMP));
        CReceiveDumpDlg* dlg = m_pApp->GetReceiveDump();
        ASSERT_TRUE(dlg);
        ::kill(pid_t(m_rig.Sim().processId()), SIGUSR2);
        QElapsedTimer t;
        t.start();
        // At wire speed the dump takes about half a minute.
        while (dlg->GetHaul().m_nDataSets < nExpected && t.elapsed() < kTransferLimitMs)
            QTest::qWait(20);
        QTest::qWait(200); // anything beyond the dump would show as a skip or an extra data set
        EXPECT_EQ(dlg->GetHaul().m_nDataSets, nExpected);
        EXPECT_EQ(dlg->GetHaul().TotalSkips(), 0u);

        const std::string counts =
            CReceiveDumpDlgTestPeer::CountText(*dlg).toStdString(); // as the window showed them
        m_pBoxes->m_texts.clear();
        QTest::mouseClick(CReceiveDumpDlgTestPeer::StopButton(*dlg), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(m_pBoxes->m_texts.size(), 1u);
        EXPECT_EQ(m_pBoxes->m_texts[0].rfind("Received from " + SimName() + ":out:\n128 patches into", 0), 0u)
            << m_pBoxes->m_texts[0] << "\nshown before Stop:\n"
            << counts;

        auto* patches = DocumentOf<CPatchDoc>(Docs());
        auto* performances = DocumentOf<CPerformDoc>(Docs());
        auto* system = DocumentOf<CSystemDoc>(Docs());
        auto* patterns = DocumentOf<CPatternDoc>(Docs());
        auto* motions = DocumentOf<CMotionDoc>(Docs());
        ASSERT_TRUE(patches && performances && system && patterns && motions)
            << m_pBoxes->m_texts[0] << "\nshown before Stop:\n"
            << counts;
        for (int i = 0; i < sim::kPatchCount; ++i)
            EXPECT_TRUE(SameBytes(patches->m_aPatch[size_t(i)].Data(), sim->Patch(i).data(), sim::kPatchSize))
                << i;
        for (int p = 0; p < sim::kPerformanceCount; ++p)
            EXPECT_TRUE(SameBytes(performances->m_aPerform[size_t(p)].Data(), sim->Performance(p).data(),
                                  sim::kPerformanceSize))
                << p;
        EXPECT_TRUE(SameBytes(system->m_aSystem.data(), sim->System().data(), sim::kSystemSize));
        for (int n = 0; n < sim::kPatternCount; ++n) {
            EXPECT_EQ(patterns->m_aPattern[size_t(n)].GetBytes(), sim->Pattern(n).m_data) << n;
            EXPECT_EQ(patterns->m_aPattern[size_t(n)].m_byValue, sim->Pattern(n).m_nValue) << n;
        }
        for (int m = 0; m < sim::kMotionCount; ++m) {
            EXPECT_EQ(motions->m_aMotion[size_t(m)].GetBytes(), sim->Motion(m).m_data) << m;
            EXPECT_EQ(motions->m_aMotion[size_t(m)].m_byValue, sim->Motion(m).m_nValue) << m;
        }
    }
};

TEST_F(ReceiveDump, AWholeDumpAtWireSpeedArrivesEntryForEntry)
{
    ReceiveWholeDump({});
}

TEST_F(ReceiveDump, AnUnpacedBurstArrivesEntryForEntry)
{
    ReceiveWholeDump({"--dump-unpaced"});
}

// The simulator's client ends in the middle of a dump, then, with a new
// simulator, the JACK server dies: one message at once, naming the device, and
// Stop places the patches that had arrived. (The rig's server runs
// synchronously: a client killed mid-cycle may stop its cycles for seconds.)
TEST_F(ReceiveDump, ADeviceOrServerThatGoesIsReportedAtOnceAndWhatArrivedIsPlaced)
{
    constexpr uint64_t kArrivedBeforeLoss = 20;
    // The watch, plus three seconds for a server that stops cycling.
    constexpr int kAtOnceMs = CReceiveDumpDlg::kWatchMs + 3000 + 1000;
    const std::string next =
        " What arrived before is kept: press Stop to place it. Check that it is connected "
        "(with JACK, that the JACK server runs), then choose Setup > Receive Dump again.";
    ASSERT_NO_FATAL_FAILURE(StartAll());
    for (const bool bServer : {false, true}) {
        SCOPED_TRACE(bServer ? "the JACK server dies" : "the simulator's client ends");
        for (CDocument* pDoc : Docs().GetDocuments()) {
            pDoc->SetModifiedFlag(false);
            Docs().CloseDocument(pDoc);
        }
        const int nDevice = ReadMidiInDevice();
        ASSERT_NO_FATAL_FAILURE(Command(ID_RECEIVE_DUMP));
        CReceiveDumpDlg* dlg = m_pApp->GetReceiveDump();
        ASSERT_TRUE(dlg);
        ::kill(pid_t(m_rig.Sim().processId()), SIGUSR2);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->GetHaul().m_nDataSets >= kArrivedBeforeLoss; }, 15000));
        m_pBoxes->m_texts.clear();
        if (bServer)
            m_rig.KillServer();
        else {
            m_rig.Sim().kill();
            m_rig.Sim().waitForFinished(CJackRig::kStopTimeoutMs);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes().empty(); }, kAtOnceMs));
        QTest::qWait(1000); // time for a second message, should one come
        ASSERT_EQ(Boxes().size(), 1u) << Boxes().back();
        const std::string said =
            SimName() + ":out (MIDI IN device " + std::to_string(nDevice) + ") is gone: ";
        if (bServer)
            EXPECT_EQ(Boxes()[0], said + res::kJackNotRunning + next);
        else
            EXPECT_THAT(Boxes()[0], ::testing::AnyOf(said + res::kMidiErrDisconnected + next,
                                                     said + res::kJackNotRunning + next));
        const uint64_t nArrived = dlg->GetHaul().m_nDataSets;
        ASSERT_GE(nArrived, kArrivedBeforeLoss);
        ASSERT_LT(nArrived, uint64_t(sim::kPatchCount)) << "the dump was over before the loss";

        QTest::mouseClick(CReceiveDumpDlgTestPeer::StopButton(*dlg), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(Boxes().size(), 2u) << Boxes().back();
        const std::string placed =
            "Received from " + SimName() + ":out:\n" + std::to_string(nArrived) + " patches into ";
        EXPECT_EQ(Boxes()[1].rfind(placed, 0), 0u) << Boxes()[1];
        auto* patches = DocumentOf<CPatchDoc>(Docs());
        ASSERT_TRUE(patches);
        for (int i = 0; i < int(nArrived); ++i) {
            EXPECT_TRUE(
                SameBytes(patches->m_aPatch[size_t(i)].Data(), m_factory.Patch(i).data(), sim::kPatchSize))
                << i;
        }
        if (!bServer) {
            ASSERT_NO_FATAL_FAILURE(RestartSim({}));
        }
    }
}

} // namespace
} // namespace vantorel::e2e
