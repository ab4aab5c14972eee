#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>

#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/Settings.h"
#include "res/strings/app.h"

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

namespace {
bool IsOfType(const std::string& path, mode_t type)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == type;
}
std::string UnusableText(const std::string& path)
{
    return QString::fromLatin1(res::kProfileUnusable).arg(QString::fromStdString(path)).toStdString();
}
} // namespace

// A pipe would block the program before its window shows; a device node or a
// folder behind a link would be replaced by a new file at exit.
TEST(Profile, AProfileThatIsNotARegularFileGivesDefaultsOneMessageAndIsNeverWritten)
{
    QTemporaryDir dir;
    const std::string pipe = (dir.path() + "/vantorel.ini").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    CMessageBoxRecorder boxes;
    SetProfilePathOverride(pipe);
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 60), 60);
    WriteProfileInt("Preview", "NoteNum", 61);
    EXPECT_EQ(GetProfileString("MIDI", "InName", "none"), "none");
    EXPECT_TRUE(IsOfType(pipe, S_IFIFO));
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{UnusableText(pipe)});

    const std::string node = (dir.path() + "/null-dev").toStdString();
    const std::string link = (dir.path() + "/linked.ini").toStdString();
    const bool bNode = ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    ASSERT_EQ(::mkdir((dir.path() + "/folder").toStdString().c_str(), 0755), 0);
    ASSERT_EQ(::symlink(bNode ? node.c_str() : "folder", link.c_str()), 0);
    SetProfilePathOverride(link);
    WriteProfileString("MIDI", "InName", "x");
    EXPECT_EQ(GetProfileString("MIDI", "InName", "none"), "none");
    EXPECT_TRUE(IsOfType(link, S_IFLNK));
    EXPECT_TRUE(!bNode || IsOfType(node, S_IFCHR));
    EXPECT_EQ(boxes.m_texts, (std::vector<std::string>{UnusableText(pipe), UnusableText(link)}));
    SetProfilePathOverride("");
}

TEST(Profile, ALinkToARegularProfileIsWrittenThroughAndStaysALink)
{
    QTemporaryDir dir;
    const std::string real = (dir.path() + "/real.ini").toStdString();
    const std::string link = (dir.path() + "/vantorel.ini").toStdString();
    {
        std::ofstream f(real);
        f << "[Preview]\nNoteNum=70\n";
    }
    ASSERT_EQ(::symlink("real.ini", link.c_str()), 0);
    CMessageBoxRecorder boxes;
    SetProfilePathOverride(link);
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 60), 70);
    WriteProfileInt("Preview", "Velocity", 90);
    SetProfilePathOverride(real);
    EXPECT_EQ(GetProfileInt("Preview", "Velocity", 80), 90);
    EXPECT_TRUE(IsOfType(link, S_IFLNK));
    EXPECT_TRUE(boxes.m_texts.empty());
    SetProfilePathOverride("");
}

// Every profile key the program keeps, under the names earlier runs wrote.
TEST(Settings, EmptyProfileGivesTheDefaultsAndEveryKeyKeepsItsName)
{
    QTemporaryDir dir;
    SetProfilePathOverride((dir.path() + "/vantorel.ini").toStdString());

    EXPECT_EQ(CSettings::ReadMidiDevice(CSettings::MidiPort::In), 0);
    EXPECT_EQ(CSettings::ReadMidiDevice(CSettings::MidiPort::Out), 0);
    EXPECT_EQ(CSettings::ReadMidiDeviceName(CSettings::MidiPort::In), "");
    const CSettings::Preview preview = CSettings::ReadPreview();
    EXPECT_EQ(preview.nNote, 60);
    EXPECT_EQ(preview.nVelocity, 80);
    EXPECT_EQ(preview.nToneLen, 500);
    EXPECT_TRUE(CSettings::ReadSendData());
    EXPECT_TRUE(CSettings::ReadRecentFiles().empty());
    const CSettings::WindowPlacement first = CSettings::ReadWindowPlacement();
    EXPECT_FALSE(first.bHasPosition);
    EXPECT_EQ(first.nWidth, 820);
    EXPECT_EQ(first.nHeight, 600);
    EXPECT_FALSE(first.bMaximized);

    CSettings::WriteMidiDevices(2, 3, "In Port", "Out Port");
    CSettings::WritePreview({64, 100, 250});
    CSettings::WriteSendData(false);
    CSettings::WriteRecentFiles({"/a.pat", "/b.pfm"});
    CSettings::WindowPlacement placement;
    placement.bHasPosition = true;
    placement.nLeft = 10;
    placement.nTop = 20;
    placement.nWidth = 700;
    placement.nHeight = 500;
    placement.bMaximized = true;
    CSettings::WriteWindowPlacement(placement);

    EXPECT_EQ(GetProfileInt("MIDI", "MidiInDevice", -1), 2);
    EXPECT_EQ(GetProfileInt("MIDI", "MidiOutDevice", -1), 3);
    EXPECT_EQ(GetProfileString("MIDI", "MidiInName"), "In Port");
    EXPECT_EQ(GetProfileString("MIDI", "MidiOutName"), "Out Port");
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", -1), 64);
    EXPECT_EQ(GetProfileInt("Preview", "Velocity", -1), 100);
    EXPECT_EQ(GetProfileInt("Preview", "ToneLen", -1), 250);
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "0");
    EXPECT_EQ(GetProfileString("Recent File List", "File1"), "/a.pat");
    EXPECT_EQ(GetProfileString("Recent File List", "File2"), "/b.pfm");
    EXPECT_EQ(GetProfileInt("Window", "Left", -1), 10);
    EXPECT_EQ(GetProfileInt("Window", "Top", -1), 20);
    EXPECT_EQ(GetProfileInt("Window", "Width", -1), 700);
    EXPECT_EQ(GetProfileInt("Window", "Height", -1), 500);
    EXPECT_EQ(GetProfileInt("Window", "Maximized", -1), 1);

    EXPECT_EQ(CSettings::ReadMidiDevice(CSettings::MidiPort::Out), 3);
    EXPECT_EQ(CSettings::ReadMidiDeviceName(CSettings::MidiPort::Out), "Out Port");
    EXPECT_FALSE(CSettings::ReadSendData());
    EXPECT_EQ(CSettings::ReadRecentFiles(), (std::vector<std::string>{"/a.pat", "/b.pfm"}));
    const CSettings::WindowPlacement again = CSettings::ReadWindowPlacement();
    EXPECT_TRUE(again.bHasPosition);
    EXPECT_EQ(again.nLeft, 10);
    EXPECT_TRUE(again.bMaximized);

    // A shorter list removes the keys beyond it.
    CSettings::WriteRecentFiles({"/c.syp"});
    EXPECT_EQ(GetProfileString("Recent File List", "File2", "gone"), "gone");
    // Only 1 is on.
    WriteProfileInt("Setup", "SendData", 2);
    EXPECT_FALSE(CSettings::ReadSendData());
    SetProfilePathOverride({});
}
