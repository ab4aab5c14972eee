#pragma once
// Texts of a compare of two entries or two banks: the parts of the records,
// what became of each entry, the compare window and its commands. %1, %2...
// are filled in as each comment says.
namespace vantorel::res {

// The parts of the records.
inline constexpr const char* kPartName = "name";
inline constexpr const char* kPartCommon = "common part";
inline constexpr const char* kPartFirstBlock = "first block";
inline constexpr const char* kPartSecondBlock = "second block";
inline constexpr const char* kPartTrailer = "trailer";
inline constexpr const char* kPartFirstPartSettings = "first part settings";
inline constexpr const char* kPartSecondPartSettings = "second part settings";
inline constexpr const char* kGroupFirstPatch = "first patch";
inline constexpr const char* kGroupSecondPatch = "second patch";
inline constexpr const char* kPartValue = "value";
inline constexpr const char* kPartData = "data";

// The commands: a list window's context menu, and File > Compare...
inline constexpr const char* kMenuCompareWithSelected = "Compare With Selected";
inline constexpr const char* kItemCompare = "Co&mpare...";
inline constexpr const char* kPromptCompare =
    "Compare the entries of this window with another open window of its kind or a file\nCompare";
inline constexpr const char* kCompareOpenCaption = "Compare With";
inline constexpr const char* kCompareFilter = "Library and SysEx Files (*%1 *.syx)"; // %1: ".pat"
// %1: the active window; %2: the other open window of its kind.
inline constexpr const char* kCompareWithWindow =
    "Compare %1 with %2?\n\nYes compares it with %2. No compares it with a file.";
// %1: the file; %2: its kind; %3: the kind compared ("patch"); %4: its files (".pat").
inline constexpr const char* kCompareOtherKindFile =
    "%1 holds %2 data, not %3 data, so there is nothing to compare. Choose a %4 or SysEx file.";
// %1: the file; %2: the kind ("patch").
inline constexpr const char* kCompareNoKindInFile =
    "%1 holds no %2 data of the KQ-3300, so there is nothing to compare. Choose a file of that kind.";

// The compare window. %1 and %2: the two sides ("A13 Warm Pad (bank.pat)", "bank.pat").
inline constexpr const char* kCompareTitle = "Compare %1 with %2";
inline constexpr const char* kCompareEntrySide = "%1 %2 (%3)"; // label, name, window
inline constexpr const char* kCompareColumnWhere = "Entry / part / byte";
inline constexpr const char* kCompareColumnResult = "Result";
inline constexpr const char* kCompareSameEntries = "The two entries hold the same bytes.";
// %1: how many bytes differ (2 or more).
inline constexpr const char* kCompareEntriesDiffer = "%1 bytes differ.";
inline constexpr const char* kCompareOneByteDiffers = "1 byte differs.";
inline constexpr const char* kCompareNameOnlyDiffers = "Only the names differ.";
// A part: its name, then its length in each when they differ ("data: 14 / 20 bytes").
inline constexpr const char* kComparePartLengths = "%1: %2 / %3 bytes";
inline constexpr const char* kCompareByte = "byte %1";
// A bank: one row per entry that differs, then the count.
inline constexpr const char* kCompareBanksSame = "The two hold the same %1 entries.";
inline constexpr const char* kCompareBanksDiffer = "%1 of %2 entries differ.";
inline constexpr const char* kMatchNameOnly = "name only";
inline constexpr const char* kMatchDiffers = "differs (%1 bytes)"; // 2 or more
inline constexpr const char* kMatchDiffersOneByte = "differs (1 byte)";
inline constexpr const char* kMatchMoved = "moved to %1";
inline constexpr const char* kMatchOnlyIn = "only in %1";

} // namespace vantorel::res
