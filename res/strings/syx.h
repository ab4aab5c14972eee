#pragma once
// Texts of the exclusive stream reader (.syx import and a dump received from
// the synthesizer's panel): why a part of the stream was skipped (%1 stands
// for the byte position in the file or stream, counted from 0, %2 for the
// reason), and the summary of what was taken.
namespace vantorel::res {

inline constexpr const char* kSyxSkipNoise = "bytes outside any exclusive message";
inline constexpr const char* kSyxSkipOtherMaker = "a message of another manufacturer";
inline constexpr const char* kSyxSkipOtherDevice = "a message for another device ID or model";
// A message of this model for another unit; %1: its device ID ("0x11").
inline constexpr const char* kSyxSkipDeviceId = "a message for device ID %1";
inline constexpr const char* kSyxSkipOtherCommand = "a message that is not a data set";
inline constexpr const char* kSyxSkipBadChecksum = "a data set with a wrong checksum";
inline constexpr const char* kSyxSkipUnknownAddress = "a data set for an address that holds no entry";
inline constexpr const char* kSyxSkipTruncated = "a message that ends before its end byte (F7)";
inline constexpr const char* kSyxSkipTooLong = "a message longer than any data set (512 bytes)";
inline constexpr const char* kSyxSkipBadDataByte = "a message cut off by a byte of 80 hex or more";
inline constexpr const char* kSyxSkipShortBlock = "a data set shorter than its block";
inline constexpr const char* kSyxSkipOverrun = "data beyond the end of its block";
inline constexpr const char* kSyxSkipAfterGap = "a pattern or motion packet after a missing or short packet";

// One skipped part: "Byte 120: skipped a message of another manufacturer."
inline constexpr const char* kSyxSkipNote = "Byte %1: skipped %2.";

// The summary of an import, a received dump or a conversion: a line per kind, then the skipped part.
// %1: how many; %2: their kind; %3: where they went (a window or a file).
inline constexpr const char* kSysExTakenLine = "%1 %2 into %3";
// A few entries named: %3 their labels ("A11, A13"); %4 where they went.
inline constexpr const char* kSysExTakenEntriesLine = "%1 %2 into %3 of %4";
// One entry put into another: %3 its label in the file; %4 the entry it went into; %5 where.
inline constexpr const char* kSysExMovedLine = "%1 %2 from %3 into %4 of %5";
// %1: how many messages or runs of bytes were skipped.
inline constexpr const char* kSysExSkippedLine = "%1 skipped, for example:";

} // namespace vantorel::res
