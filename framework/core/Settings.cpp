#include "framework/core/Settings.h"

#include <algorithm>
#include <climits>

#include "framework/core/Profile.h"

namespace vantorel {

namespace {
std::string RecentKey(int n)
{
    return "File" + std::to_string(n);
}
} // namespace

int CSettings::ReadMidiDevice(MidiPort port)
{
    return GetProfileInt(kMidiSection, port == MidiPort::In ? kMidiInDeviceKey : kMidiOutDeviceKey,
                         kDefaultMidiDevice);
}

bool CSettings::IsMidiDeviceStored(MidiPort port)
{
    // INT_MIN stands for "not stored", as for the window's place.
    const char* szKey = port == MidiPort::In ? kMidiInDeviceKey : kMidiOutDeviceKey;
    return GetProfileInt(kMidiSection, szKey, INT_MIN) != INT_MIN;
}

std::string CSettings::ReadMidiDeviceName(MidiPort port)
{
    return GetProfileString(kMidiSection, port == MidiPort::In ? kMidiInNameKey : kMidiOutNameKey);
}

void CSettings::WriteMidiDevices(int nInDevice, int nOutDevice, const std::string& strInName,
                                 const std::string& strOutName)
{
    WriteProfileInt(kMidiSection, kMidiInDeviceKey, nInDevice);
    WriteProfileInt(kMidiSection, kMidiOutDeviceKey, nOutDevice);
    WriteProfileString(kMidiSection, kMidiInNameKey, strInName);
    WriteProfileString(kMidiSection, kMidiOutNameKey, strOutName);
}

CSettings::Preview CSettings::ReadPreview()
{
    const Preview defaults;
    Preview p;
    p.nNote = GetProfileInt(kPreviewSection, kNoteNumKey, defaults.nNote);
    p.nVelocity = GetProfileInt(kPreviewSection, kVelocityKey, defaults.nVelocity);
    p.nToneLen = GetProfileInt(kPreviewSection, kToneLenKey, defaults.nToneLen);
    return p;
}

void CSettings::WritePreview(const Preview& preview)
{
    MergeProfileInt(kPreviewSection, kNoteNumKey, preview.nNote);
    MergeProfileInt(kPreviewSection, kVelocityKey, preview.nVelocity);
    MergeProfileInt(kPreviewSection, kToneLenKey, preview.nToneLen);
}

bool CSettings::ReadSendData()
{
    return GetProfileInt(kSetupSection, kSendDataKey, 1) == 1;
}

void CSettings::WriteSendData(bool bOn)
{
    MergeProfileInt(kSetupSection, kSendDataKey, bOn ? 1 : 0);
}

std::string CSettings::ReadLastFolder()
{
    return GetProfileString(kFilesSection, kLastFolderKey);
}

void CSettings::WriteLastFolder(const std::string& strFolder)
{
    WriteProfileString(kFilesSection, kLastFolderKey, strFolder);
}

std::vector<std::string> CSettings::ReadRecentFiles()
{
    std::vector<std::string> files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string path = GetProfileString(kRecentSection, RecentKey(i));
        if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end())
            files.push_back(path);
    }
    return files;
}

void CSettings::WriteRecentFiles(const std::vector<std::string>& files)
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (size_t(i) < files.size())
            WriteProfileString(kRecentSection, RecentKey(i + 1), files[size_t(i)]);
        else
            DeleteProfileKey(kRecentSection, RecentKey(i + 1));
    }
}

CSettings::WindowPlacement CSettings::ReadWindowPlacement()
{
    WindowPlacement w;
    w.nWidth = GetProfileInt(kWindowSection, kWidthKey, WindowPlacement::kDefaultWidth);
    w.nHeight = GetProfileInt(kWindowSection, kHeightKey, WindowPlacement::kDefaultHeight);
    // A place needs both halves; INT_MIN stands for "not stored".
    const int x = GetProfileInt(kWindowSection, kLeftKey, INT_MIN);
    const int y = GetProfileInt(kWindowSection, kTopKey, INT_MIN);
    w.bHasPosition = x != INT_MIN && y != INT_MIN;
    if (w.bHasPosition) {
        w.nLeft = x;
        w.nTop = y;
    }
    w.bMaximized = GetProfileInt(kWindowSection, kMaximizedKey, 0) == 1;
    return w;
}

void CSettings::WriteWindowPlacement(const WindowPlacement& placement)
{
    MergeProfileInt(kWindowSection, kLeftKey, placement.nLeft);
    MergeProfileInt(kWindowSection, kTopKey, placement.nTop);
    MergeProfileInt(kWindowSection, kWidthKey, placement.nWidth);
    MergeProfileInt(kWindowSection, kHeightKey, placement.nHeight);
    MergeProfileInt(kWindowSection, kMaximizedKey, placement.bMaximized ? 1 : 0);
}

} // namespace vantorel
