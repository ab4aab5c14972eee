#pragma once
#include <string>

namespace vantorel {

// The program's private profile: an INI file named after the executable
// (vantorel.ini) in the user's XDG configuration folder. Integers are read the
// way a private-profile reader does: a missing key gives the default; a value
// is read as the integer at its start (clamped to the int range); a value with
// no integer at its start gives the default.
int GetProfileInt(const std::string& section, const std::string& key, int nDefault);
void WriteProfileInt(const std::string& section, const std::string& key, int nValue);
std::string GetProfileString(const std::string& section, const std::string& key,
                             const std::string& strDefault = {});
void WriteProfileString(const std::string& section, const std::string& key, const std::string& value);
void DeleteProfileKey(const std::string& section, const std::string& key);

// Two instances of the program may run at once, and each write goes into the
// file as it is at that moment, key by key. A value kept since it was read and
// written back later (when the program closes) goes through MergeProfileInt:
// a key that changed on disk since this instance last read or wrote it is
// left as the other instance made it, unless this instance's value differs
// from what it read. So closing one instance never puts back the settings
// another has changed.
void MergeProfileInt(const std::string& section, const std::string& key, int nValue);

// A profile that is not a regular file (a pipe, a device, a folder, also
// behind a link) or cannot be read is never opened: reads give the defaults,
// writes are dropped, and one message per profile path says so.

// Full path of the profile file now in use.
std::string GetProfilePath();
// Tests and tools may point the profile somewhere else; empty restores the default.
void SetProfilePathOverride(const std::string& path);

// Parses text as a private-profile integer; false when no integer starts it.
bool ParseProfileInt(const std::string& text, int& nValue);

} // namespace vantorel
