#pragma once
// The five kinds as the command line names them: the KIND word, the file a
// backup keeps, the header type of their library files, and the labels of
// their entries as the list windows show them.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/core/Document.h"
#include "transfer/SysExPlace.h"

namespace vantorel::cli {

enum class EKind { Patch, Performance, System, Pattern, Motion };

struct CKindInfo {
    EKind kind;
    const char* szWord;    // "patch": KIND on the command line
    const char* szFile;    // "patch.pat": the file a backup keeps
    const char* szExt;     // ".pat"
    std::string_view type; // the header's type string
    int nEntries;
    const char* szRange; // the labels, for a message
    SysExKind sysex;     // the kind as .syx files and placement know it
};

// In backup order.
const std::array<CKindInfo, 5>& AllKinds();
const CKindInfo& Info(EKind kind);
std::optional<EKind> KindFromWord(std::string_view word);
// The kind whose library files carry this 16-byte header type.
std::optional<EKind> KindFromType(std::string_view type);

// The label of entry n as its window shows it, without padding: "A11", "11",
// "system", "C#2", "A1". System entries are the two blocks: 0 system, 1 txrx.
std::string EntryLabel(EKind kind, int n);
// The entry a label names; letters in any case, surrounding spaces ignored.
std::optional<int> ParseEntryLabel(EKind kind, std::string_view label);

// A new document of the kind, at its defaults.
std::unique_ptr<CDocument> NewDocument(EKind kind);

} // namespace vantorel::cli
