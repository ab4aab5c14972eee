#include "data/EntryName.h"

#include <cstring>

#include "res/strings/datawindows.h"

namespace vantorel {

namespace {
constexpr int kPatchesPerBank = 64;
constexpr int kEntriesPerGroup = 8;

// Indexes outside the range wrap instead of producing characters past '8'.
int Wrap(int n, int range)
{
    return ((n % range) + range) % range;
}
} // namespace

void SetEntryName(CNameField field, const char* text)
{
    size_t i = 0;
    if (text)
        for (; i < field.size() && text[i] != '\0'; ++i)
            field[i] = static_cast<uint8_t>(text[i]);
    for (; i < field.size(); ++i)
        field[i] = ' ';
}

void SetEntryName(CNameField field, const std::string& text)
{
    SetEntryName(field, text.c_str());
}

void GetEntryName(CConstNameField field, char (&text)[kEntryNameTextSize])
{
    std::memcpy(text, field.data(), kEntryNameSize);
    text[kEntryNameSize] = '\0';
}

std::string GetEntryName(CConstNameField field)
{
    char text[kEntryNameTextSize];
    GetEntryName(field, text);
    return std::string(text); // stops at an embedded zero, as the C text does
}

void FormatPatchLabel(int nIndex, char (&text)[kPatchLabelSize])
{
    const int n = Wrap(nIndex, 2 * kPatchesPerBank);
    text[0] = n < kPatchesPerBank ? 'A' : 'B';
    text[1] = static_cast<char>('1' + (n % kPatchesPerBank) / kEntriesPerGroup);
    text[2] = static_cast<char>('1' + n % kEntriesPerGroup);
    text[3] = '\0';
}

std::string FormatPatchLabel(int nIndex)
{
    char text[kPatchLabelSize];
    FormatPatchLabel(nIndex, text);
    return text;
}

void FormatPerformanceLabel(int nIndex, char (&text)[kPerformanceLabelSize])
{
    const int n = Wrap(nIndex, kPatchesPerBank);
    text[0] = static_cast<char>('1' + n / kEntriesPerGroup);
    text[1] = static_cast<char>('1' + n % kEntriesPerGroup);
    text[2] = '\0';
}

std::string FormatPerformanceLabel(int nIndex)
{
    char text[kPerformanceLabelSize];
    FormatPerformanceLabel(nIndex, text);
    return text;
}

std::string FormatPatternLabel(int nIndex)
{
    constexpr int kSemitones = 12;
    constexpr int kFirstOctave = 2;
    const int nKey = nIndex + 1; // row 0 is C#2
    return std::string(res::kNoteNames[((nKey % kSemitones) + kSemitones) % kSemitones]) +
           std::to_string(kFirstOctave + nKey / kSemitones);
}

} // namespace vantorel
