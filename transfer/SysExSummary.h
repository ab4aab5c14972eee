#pragma once
// What an import of a .syx file or a received dump did, as one text: where
// each kind went, and what was skipped with the first few places. Import,
// Receive Dump and the command line's convert all show this text. No widgets.
#include <string>
#include <vector>

namespace vantorel {

class CDocKind;
struct CSysExHaul;

// One line for the kind placed into strTarget: "128 patches into Patch1";
// few entries are named, "1 patch into A13 of Patch1"; a single entry moved
// to entry nInto, "1 patch from A11 into A15 of Patch1".
std::string FormatPlacedLine(const CSysExHaul& haul, const CDocKind& kind, const std::string& strTarget,
                             int nInto = -1);

// The skipped part of a summary: empty when nothing was skipped.
std::string FormatSysExSkips(const CSysExHaul& haul);

// strHead ("Imported from bank.syx:"), the lines, and the skipped part.
std::string FormatSysExSummary(const std::string& strHead, const std::vector<std::string>& lines,
                               const CSysExHaul& haul);

// A text of the summary with %1, %2, ... put in, each once and in one pass.
std::string FormatSysExText(const char* szPattern, const std::vector<std::string>& args);

} // namespace vantorel
