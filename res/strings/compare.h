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

} // namespace vantorel::res
