// Device names, the device text, and the profile's device numbers with the
// rule that a listed name outranks a number that moved.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>

#include "framework/core/Profile.h"
#include "midi/DeviceNames.h"
#include "midi/FakeMidiService.h"
#include "midi/backends/CompositeMidiService.h"

namespace vantorel {
namespace {

using test::CFakeMidiService;
using test::CInstallService;

class DeviceNamesTest : public ::testing::Test {
protected:
    DeviceNamesTest() : m_install(&m_service)
    {
        SetProfilePathOverride((m_dir.path() + "/vantorel.ini").toStdString());
        m_service.m_ins = {"Sim In", "USB MIDI 1", "USB MIDI 2"};
        m_service.m_outs = {"Sim Out", "USB MIDI 1", "Synth Port"};
    }
    ~DeviceNamesTest() override { SetProfilePathOverride({}); }

    QTemporaryDir m_dir;
    CFakeMidiService m_service;
    CInstallService m_install;
};

TEST_F(DeviceNamesTest, NamesByNumberAndEmptyWhenThereIsNone)
{
    EXPECT_EQ(GetMidiInName(1), "USB MIDI 1");
    EXPECT_EQ(GetMidiOutName(2), "Synth Port");
    EXPECT_EQ(GetMidiInName(3), "");
    EXPECT_EQ(GetMidiOutName(65535), "");
}

TEST_F(DeviceNamesTest, AnEmptyProfileGivesDeviceZero)
{
    EXPECT_EQ(ReadMidiInDevice(), 0);
    EXPECT_EQ(ReadMidiOutDevice(), 0);
    EXPECT_EQ(GetMidiInName(uint16_t(ReadMidiInDevice())), "Sim In");
    EXPECT_EQ(GetMidiOutName(uint16_t(ReadMidiOutDevice())), "Sim Out");
}

TEST_F(DeviceNamesTest, WriteKeepsNumbersAndNames)
{
    WriteMidiDevices(2, 1);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -7), 2);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", -7), 1);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), "USB MIDI 2");
    EXPECT_EQ(GetProfileString("MIDI", "MidiOutName"), "USB MIDI 1");
    EXPECT_EQ(ReadMidiInDevice(), 2);
    EXPECT_EQ(ReadMidiOutDevice(), 1);

    WriteMidiDevices(-1, -1);
    EXPECT_EQ(ReadMidiInDevice(), -1);
    EXPECT_EQ(ReadMidiOutDevice(), -1);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName", "x"), "");
}

TEST_F(DeviceNamesTest, AMovedDeviceIsFoundByItsName)
{
    WriteMidiDevices(2, 2);
    // Next run: the ports came up in another order.
    m_service.m_ins = {"Sim In", "USB MIDI 2", "USB MIDI 1"};
    m_service.m_outs = {"Sim Out", "Synth Port"};
    EXPECT_EQ(ReadMidiInDevice(), 1);
    EXPECT_EQ(ReadMidiOutDevice(), 1);
    // The profile is not rewritten by reading.
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -7), 2);
}

TEST_F(DeviceNamesTest, AChosenNameListedNowhereIsNotAvailableWhateverHasItsNumber)
{
    WriteMidiDevices(1, 1);
    m_service.m_ins = {"Sim In", "Other Device", "USB MIDI 3"};
    EXPECT_EQ(ReadMidiInDevice(), -1) << "another device has the number: it is not the one chosen";
    const CChosenDevice in = FindChosenMidiIn();
    EXPECT_FALSE(in.bAvailable);
    EXPECT_EQ(in.nDevice, 1);
    EXPECT_EQ(in.strName, "USB MIDI 1");
    m_service.m_outs = {"USB MIDI 1", "USB MIDI 1"};
    EXPECT_EQ(ReadMidiOutDevice(), 1) << "the stored number still names the device";
    m_service.m_outs.clear();
    EXPECT_EQ(ReadMidiOutDevice(), -1);
}

TEST_F(DeviceNamesTest, NumbersWrittenByHandWithoutNamesAreUsedAsTheyAre)
{
    WriteProfileInt("MIDI", "MidiInDevice", 5);
    WriteProfileString("MIDI", "MidiOutDevice", "2 trailing words");
    EXPECT_EQ(ReadMidiInDevice(), 5);
    EXPECT_EQ(ReadMidiOutDevice(), 2);
}

// A backend that, like one over a real MIDI system, lists all its ports to
// answer any question about them: each call costs one name query a port.
class CListingService : public CFakeMidiService {
public:
    long m_nQueries = 0;
    unsigned InGetNumDevs() override { return unsigned(Listed(m_ins).size()); }
    MMRESULT InGetDevName(unsigned n, std::string& name) override
    {
        Listed(m_ins);
        return CFakeMidiService::InGetDevName(n, name);
    }
    std::vector<std::string> InGetDevNames() override { return Listed(m_ins); }
    unsigned OutGetNumDevs() override { return unsigned(Listed(m_outs).size()); }
    MMRESULT OutGetDevName(unsigned n, std::string& name) override
    {
        Listed(m_outs);
        return CFakeMidiService::OutGetDevName(n, name);
    }
    std::vector<std::string> OutGetDevNames() override { return Listed(m_outs); }

private:
    const std::vector<std::string>& Listed(const std::vector<std::string>& ports)
    {
        m_nQueries += long(ports.size());
        return ports;
    }
};

TEST(DeviceNamesLookup, ListsThePortsOncePerLookup)
{
    QTemporaryDir dir;
    SetProfilePathOverride((dir.path() + "/vantorel.ini").toStdString());
    for (const unsigned nPorts : {30u, 300u}) {
        SCOPED_TRACE(nPorts);
        CListingService backend;
        CCompositeMidiService service({&backend});
        CInstallService install(&service);
        for (unsigned i = 0; i < nPorts; ++i) {
            backend.m_ins.push_back("In " + std::to_string(i));
            backend.m_outs.push_back("Out " + std::to_string(i));
        }
        WriteMidiDevices(3, 4);
        // The stored devices moved to the end of the lists.
        std::rotate(backend.m_ins.begin(), backend.m_ins.begin() + 4, backend.m_ins.end());
        std::rotate(backend.m_outs.begin(), backend.m_outs.begin() + 5, backend.m_outs.end());
        backend.m_nQueries = 0;
        EXPECT_EQ(ReadMidiInDevice(), int(nPorts) - 1);
        EXPECT_EQ(ReadMidiOutDevice(), int(nPorts) - 1);
        // A handful of listings per lookup, not one per port.
        EXPECT_LE(backend.m_nQueries, long(2 * 4 * nPorts));
    }
    SetProfilePathOverride({});
}

} // namespace
} // namespace vantorel
