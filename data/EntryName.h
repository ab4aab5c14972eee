#pragma once
// Entry names (16 space-padded bytes at the head of patch and performance
// records) and the short labels shown in front of them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantorel {

inline constexpr size_t kEntryNameSize = 16;
inline constexpr size_t kEntryNameTextSize = kEntryNameSize + 1;
inline constexpr size_t kPatchLabelSize = 4;       // "A11" and its terminator
inline constexpr size_t kPerformanceLabelSize = 3; // "11" and its terminator

using CNameField = std::span<uint8_t, kEntryNameSize>;
using CConstNameField = std::span<const uint8_t, kEntryNameSize>;

// Copies text up to its first zero (at most 16 characters) and pads the rest
// of the field with spaces. Names are never trimmed or validated.
void SetEntryName(CNameField field, const char* text);
void SetEntryName(CNameField field, const std::string& text);

// The 16 bytes plus a terminator; trailing spaces stay. A zero byte inside a
// name ends the text there.
void GetEntryName(CConstNameField field, char (&text)[kEntryNameTextSize]);
std::string GetEntryName(CConstNameField field);

// "A11".."A88", "B11".."B88" for patch index 0..127.
void FormatPatchLabel(int nIndex, char (&text)[kPatchLabelSize]);
std::string FormatPatchLabel(int nIndex);

// "11".."88" for performance index 0..63.
void FormatPerformanceLabel(int nIndex, char (&text)[kPerformanceLabelSize]);
std::string FormatPerformanceLabel(int nIndex);

// The note of pattern index 0..47: "C#2".."C6" (row 0 is C#2).
std::string FormatPatternLabel(int nIndex);

} // namespace vantorel
