#pragma once
// Texts of the exclusive stream reader (.syx import and a dump received from
// the synthesizer's panel): why a part of the stream was skipped. %1 stands
// for the byte position in the file or stream (counted from 0), %2 for the
// reason.
namespace vantorel::res {

inline constexpr const char* kSyxSkipNoise = "bytes outside any exclusive message";
inline constexpr const char* kSyxSkipOtherMaker = "a message of another manufacturer";
inline constexpr const char* kSyxSkipOtherDevice = "a message for another device ID or model";
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

} // namespace vantorel::res
