#pragma once
// The progress texts: "<label>: <name>" and "Pattern <n>" / "Motion <n>".
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

// The entry name in the first 16 of count bytes (fewer when count is
// smaller), as the lists show it: up to a zero byte, spaces kept.
std::string NameFromBytes(const uint8_t* pBytes, size_t nCount);
// "%s: %s", label first.
std::string FormatLabelName(const std::string& label, const std::string& name);
// "Pattern %d" or "Motion %d" with the 1-based number.
std::string FormatItemText(const char* szFormat, int nNumber);
// printf into a string of any length (the texts of res/strings/transfer.h).
std::string FormatText(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));

} // namespace vantorel
