#pragma once
// Puts what a .syx file or a received dump held (a CSysExHaul) into a
// document of its kind: the one place where imported entries are written.
// Fixed-size kinds merge only the blocks that arrived, so the rest of each
// record keeps the document's bytes; patterns and motions take the value and
// the data separately, each only when it arrived. Nothing outside the
// addressed entries is touched. No widgets: the command line can use it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocument;
struct CSysExHaul;

// The five kinds in the order of File New's list.
enum class SysExKind : int { Patch, Performance, System, Pattern, Motion };
inline constexpr std::array<SysExKind, 5> kSysExKinds = {
    SysExKind::Patch, SysExKind::Performance, SysExKind::System, SysExKind::Pattern, SysExKind::Motion};

// The kind of a document, or none for a document of another kind.
std::optional<SysExKind> KindOfDocument(const CDocument& doc);
// How many entries of a kind the haul holds (for the system: 1 when any block arrived).
int TakenCount(const CSysExHaul& haul, SysExKind kind);

// What a kind counts in ("patch", "patches"); the system counts its blocks.
CTransferNoun NounOf(SysExKind kind);
// What the user is told the haul holds of a kind: entries, or system blocks.
int ShownCount(const CSysExHaul& haul, SysExKind kind);
// The entry a data set the haul has taken addresses, as the user knows it
// ("A13: Warm Pad 001", "Pattern 3"), from the message's address.
std::string DescribeDataSet(const uint8_t* p, size_t n, const CSysExHaul& haul);

// The entries of a kind the haul holds, in order (for the system: 0 when any block arrived).
std::vector<int> TakenEntries(const CSysExHaul& haul, SysExKind kind);
// The one entry of a kind the haul holds, or -1 when it holds none or more
// (and always for the system, whose blocks are not entries one could move).
int SingleEntry(const CSysExHaul& haul, SysExKind kind);
// Entry n as the lists label it: "A11", "11", "C#2", "A1"; the system is "The system".
std::string SysExEntryLabel(SysExKind kind, int n);

// Writes every entry of doc's kind that the haul holds into doc as one edit
// named strEdit (one undo step; the document is marked modified and its
// views repainted when any entry changed). Each entry goes to its own place;
// with nInto 0 or more, a haul holding a single entry of the kind puts it
// into entry nInto instead. Returns the number of entries written.
int PlaceHaul(const CSysExHaul& haul, CDocument& doc, const std::string& strEdit, int nInto = -1);

} // namespace vantorel
