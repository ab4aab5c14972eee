#pragma once
// Texts of the built-in simulator's MIDI service. %1 stands for a device number.
namespace vantorel::res {

inline constexpr const char* kSimInBusy = "MIDI input device %1 (KQ-3300 Simulator) is already in use.";

// vantorel-sim's memory image (--save-image) that could not be written; %1 is
// its path, %2 one of the reasons below. An image already there is left as it was.
inline constexpr const char* kSimImageNotWritten = "cannot write the memory image %1: %2";
inline constexpr const char* kSimImageNotRegular =
    "it is not a regular file, so it was not replaced; name a regular file or a new one";
inline constexpr const char* kSimImageNoFolder = "its folder does not exist";
inline constexpr const char* kSimImageAccessDenied = "access was denied";
inline constexpr const char* kSimImageDiskFull = "the disk is full";
inline constexpr const char* kSimImageWriteFault = "the disk reported a write error";

} // namespace vantorel::res
