// Device names, the device text, and the profile's device numbers with the
// rule that a listed name outranks a number that moved.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "framework/Profile.h"
#include "midi/DeviceNames.h"
#include "midi/FakeMidiService.h"

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

TEST_F(DeviceNamesTest, DeviceTextHasFourLines)
{
    EXPECT_EQ(FormatDeviceText(2, 0), "MIDI IN:\n\tUSB MIDI 2\n\nMIDI OUT:\n\tSim Out");
    EXPECT_EQ(FormatDeviceText(65535, 9), "MIDI IN:\n\t\n\nMIDI OUT:\n\t");
}

TEST_F(DeviceNamesTest, AnEmptyProfileGivesDeviceZero)
{
    EXPECT_EQ(ReadMidiInDevice(), 0);
    EXPECT_EQ(ReadMidiOutDevice(), 0);
    EXPECT_EQ(FormatDeviceText(uint16_t(ReadMidiInDevice()), uint16_t(ReadMidiOutDevice())),
              "MIDI IN:\n\tSim In\n\nMIDI OUT:\n\tSim Out");
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

TEST_F(DeviceNamesTest, TheNumberStaysWhenTheNameIsGoneOrStillMatches)
{
    WriteMidiDevices(1, 1);
    m_service.m_ins = {"Sim In", "Other Device", "USB MIDI 3"};
    EXPECT_EQ(ReadMidiInDevice(), 1) << "a device that went away: the number is all we have";
    m_service.m_outs = {"USB MIDI 1", "USB MIDI 1"};
    EXPECT_EQ(ReadMidiOutDevice(), 1) << "the stored number still names the device";
    m_service.m_outs.clear();
    EXPECT_EQ(ReadMidiOutDevice(), 1);
}

TEST_F(DeviceNamesTest, NumbersWrittenByHandWithoutNamesAreUsedAsTheyAre)
{
    WriteProfileInt("MIDI", "MidiInDevice", 5);
    WriteProfileString("MIDI", "MidiOutDevice", "2 trailing words");
    EXPECT_EQ(ReadMidiInDevice(), 5);
    EXPECT_EQ(ReadMidiOutDevice(), 2);
}

} // namespace
} // namespace vantorel
