// The program's device list and a patch fetched from the built-in device
// through the ports, on a virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "support/PortErrorLog.h"
#include "framework/core/VirtualClock.h"
#include "devices/DefaultMidiService.h"
#include "midi/MidiPorts.h"
#include "midi/msg/SysEx.h"
#include "sim/service/SimMidiService.h"
#include "sim/model/SimDevice.h"

namespace vantorel {
namespace {

class DefaultServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/dev/snd/seq", F_OK) == 0)
            GTEST_SKIP() << "this machine has an ALSA sequencer";
        setenv("JACK_DEFAULT_SERVER", ("vantorel-none-" + std::to_string(getpid())).c_str(), 1);
        CTimerService::Install(&m_clock);
    }
    void TearDown() override
    {
        CTimerService::Install(nullptr);
        unsetenv("JACK_DEFAULT_SERVER");
    }
    CVirtualClock m_clock;
};

TEST_F(DefaultServiceTest, TheSimulatorIsDeviceZeroAndEmulatesWireSpeed)
{
    CDefaultMidiService service;
    EXPECT_EQ(service.InGetNumDevs(), 1u);
    EXPECT_EQ(service.OutGetNumDevs(), 1u);
    std::string name;
    EXPECT_EQ(service.InGetDevName(0, name), MMSYSERR_NOERROR);
    EXPECT_EQ(name, CSimMidiService::kDeviceName);
    EXPECT_EQ(service.OutGetDevName(0, name), MMSYSERR_NOERROR);
    EXPECT_EQ(name, CSimMidiService::kDeviceName);
    EXPECT_TRUE(service.GetSimService().GetWireSpeed());
}

TEST_F(DefaultServiceTest, APatchComesBackThroughThePorts)
{
    struct CWindow : IMidiNotify {
        CMidiIn* m_pIn = nullptr;
        std::vector<uint8_t> m_answer;
        int64_t m_nDoneUs = -1;
        HMIDIOUT m_hOut = nullptr;
        void OnMidiInLongData(HMIDIIN, MIDIHDR* p) override
        {
            if (p->dwBytesRecorded == 0)
                return;
            m_answer.assign(p->lpData, p->lpData + p->dwBytesRecorded);
            m_pIn->Requeue();
        }
        void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override
        {
            m_nDoneUs = CTimerService::Get().NowUs();
            m_hOut = h;
            CMidiOut::ReleaseHeader(h, p);
        }
    } window;

    test::CPortErrorLog reports;
    CDefaultMidiService service;
    CMidiService::Install(&service);
    {
        CMidiIn in(reports.Handler());
        CMidiOut out(reports.Handler());
        window.m_pIn = &in;
        ASSERT_TRUE(out.Open(&window));
        ASSERT_TRUE(in.Open(&window));
        const int64_t start = m_clock.NowUs();
        ASSERT_TRUE(out.SendDataRequest(sim::PatchAddress(5), sim::kPatchSize));
        EXPECT_TRUE(m_clock.RunUntil([&] { return !window.m_answer.empty(); }, 2'000'000));
        EXPECT_EQ(window.m_nDoneUs - start, int64_t(sysex::kRequestLength) * sim::kWireUsPerByte);
        EXPECT_EQ(window.m_hOut, out.m_hMidiOut) << "the window sees the handle its port holds";
        const CSimDevice factory;
        EXPECT_EQ(window.m_answer,
                  BuildDataSet(sim::PatchAddress(5), factory.Patch(5).data(), sim::kPatchSize));
        in.Close();
        out.Close();
    }
    EXPECT_TRUE(reports.m_texts.empty());
}

} // namespace
} // namespace vantorel
