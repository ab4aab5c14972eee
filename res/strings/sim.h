#pragma once
// Texts of the built-in simulator's MIDI service. %1 stands for a device number.
namespace vantorel::res {

inline constexpr const char* kSimInBusy = "MIDI input device %1 (KQ-3300 Simulator) is already in use.";

} // namespace vantorel::res
