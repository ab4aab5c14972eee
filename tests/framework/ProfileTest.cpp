#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "framework/Profile.h"

using namespace vantorel;

TEST(Profile, ParsesIntegersTheWayAPrivateProfileDoes)
{
    int n = 0;
    EXPECT_TRUE(ParseProfileInt("60", n));
    EXPECT_EQ(n, 60);
    EXPECT_TRUE(ParseProfileInt("  -1", n));
    EXPECT_EQ(n, -1);
    EXPECT_TRUE(ParseProfileInt("12abc", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(ParseProfileInt("99999999999999999999", n));
    EXPECT_EQ(n, 2147483647);
    EXPECT_TRUE(ParseProfileInt("-99999999999999999999", n));
    EXPECT_EQ(n, -2147483647 - 1);
    EXPECT_FALSE(ParseProfileInt("abc", n));
    EXPECT_FALSE(ParseProfileInt("", n));
    EXPECT_FALSE(ParseProfileInt("-", n));
}

TEST(Profile, MissingOrGarbledValuesGiveTheDefault)
{
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/vantorel.ini").toStdString();
    SetProfilePathOverride(path);
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 60), 60);
    {
        std::ofstream f(path);
        f << "[Preview]\nNoteNum=abc\nVelocity=100x\nToneLen=\n[Setup]\nSendData=1,2\n";
    }
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 60), 60);
    EXPECT_EQ(GetProfileInt("Preview", "Velocity", 80), 100);
    EXPECT_EQ(GetProfileInt("Preview", "ToneLen", 500), 500);
    EXPECT_EQ(GetProfileInt("Setup", "SendData", 1), 1);
    WriteProfileInt("MIDI", "MidiInDevice", 3);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", 0), 3);
    SetProfilePathOverride("");
}

TEST(Profile, NotAnIniFileAtAllStillReadsDefaults)
{
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/vantorel.ini").toStdString();
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 4096; ++i)
            f.put(char((i * 131) & 0xFF));
    }
    SetProfilePathOverride(path);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", 0), 0);
    SetProfilePathOverride("");
}
