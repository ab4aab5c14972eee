// A whole patch bank fetched over JACK: a private jackd on the dummy driver,
// vantorel-sim on its ports, and the ports of the program over the RtMidi
// JACK backend on the real Qt timer service. Every answer must be the
// simulator's factory patch, byte for byte.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "e2e/JackRig.h"
#include "framework/MessageBox.h"
#include "framework/QtTimerService.h"
#include "midi/MidiPorts.h"
#include "midi/SysEx.h"
#include "midi/backends/RtMidiService.h"
#include "sim/model/SimDevice.h"

namespace vantorel {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kAnswerTimeoutMs = 5000;

class JackPatchTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!e2e::CJackRig::JackdInstalled())
            GTEST_SKIP() << "jackd is not installed";
        std::string error;
        ASSERT_TRUE(m_rig.StartServer(error)) << error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, m_dir.filePath(QStringLiteral("sim.img")), {}, error))
            << error;
        m_strSim = m_rig.SimName();
    }

    void TearDown() override { m_rig.Stop(); }

    QTemporaryDir m_dir;
    e2e::CJackRig m_rig;
    std::string m_strSim;
};

// The window of the transfer: keeps each answer and re-queues the buffer,
// releases the header when a request has left the wire.
struct CTransferWindow : IMidiNotify {
    CMidiIn* m_pIn = nullptr;
    std::vector<std::vector<uint8_t>> m_answers;
    int m_nDone = 0;
    int64_t m_nDoneUs = 0;
    int m_nEmpty = 0;

    void OnMidiInLongData(HMIDIIN h, MIDIHDR* p) override
    {
        EXPECT_EQ(h, m_pIn->m_hMidiIn);
        if (p->dwBytesRecorded == 0) {
            ++m_nEmpty;
            return;
        }
        m_answers.emplace_back(p->lpData, p->lpData + p->dwBytesRecorded);
        m_pIn->Requeue();
    }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override
    {
        ++m_nDone;
        m_nDoneUs = CTimerService::Get().NowUs();
        CMidiOut::ReleaseHeader(h, p);
    }
};

int FindDevice(CMidiService& s, bool bInput, const std::string& name)
{
    const unsigned n = bInput ? s.InGetNumDevs() : s.OutGetNumDevs();
    for (unsigned i = 0; i < n; ++i) {
        std::string dev;
        if ((bInput ? s.InGetDevName(i, dev) : s.OutGetDevName(i, dev)) == MMSYSERR_NOERROR && dev == name)
            return int(i);
    }
    return -1;
}

TEST_F(JackPatchTransfer, AllPatchesArriveByteForByte)
{
    CMessageBoxRecorder boxes;
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CMidiService::Install(&jack);
        const int nIn = FindDevice(jack, true, m_strSim + ":out");
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nIn, 0) << "the simulator's output port is not listed";
        ASSERT_GE(nOut, 0) << "the simulator's input port is not listed";

        const CSimDevice factory;
        CTransferWindow window;
        {
            CMidiIn in;
            CMidiOut out;
            in.m_wDeviceId = uint16_t(nIn);
            out.m_wDeviceId = uint16_t(nOut);
            window.m_pIn = &in;
            ASSERT_TRUE(out.Open(&window));
            ASSERT_TRUE(in.Open(&window));
            // The first answer may wait for JACK to finish connecting the ports.
            for (int i = 0; i < sim::kPatchCount; ++i) {
                SCOPED_TRACE(i);
                const size_t nAnswers = window.m_answers.size();
                const int nDone = window.m_nDone;
                const int64_t sentUs = timer.NowUs();
                ASSERT_TRUE(out.SendDataRequest(sim::PatchAddress(i), sim::kPatchSize));
                const bool bAnswered = QTest::qWaitFor(
                    [&] { return window.m_answers.size() > nAnswers && window.m_nDone > nDone; },
                    i == 0 ? kStartTimeoutMs : kAnswerTimeoutMs);
                ASSERT_TRUE(bAnswered) << "no answer to request " << i;
                EXPECT_GE(window.m_nDoneUs - sentUs,
                          int64_t(sysex::kRequestLength) * CRtMidiService::kByteWireUs)
                    << "done before the request could have left the wire";
                ASSERT_EQ(window.m_answers.size(), nAnswers + 1) << "one answer per request";
                EXPECT_EQ(window.m_answers.back(),
                          BuildDataSet(sim::PatchAddress(i), factory.Patch(i).data(), sim::kPatchSize));
            }
            in.Close();
            out.Close();
            QTest::qWait(20); // let anything the closes posted come due
        }
        EXPECT_EQ(window.m_answers.size(), size_t(sim::kPatchCount));
        EXPECT_EQ(window.m_nEmpty, 0) << "buffers returned empty are dropped after the close";
        CMidiService::Install(nullptr);
    }
    CTimerService::Install(nullptr);
    EXPECT_TRUE(boxes.m_texts.empty()) << boxes.m_texts.front();
}

} // namespace
} // namespace vantorel
