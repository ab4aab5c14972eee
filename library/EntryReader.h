#pragma once
// Reads one file of the library's folders the way the program opens it: a
// library file through its kind's document (the kind from its header), a
// .syx file through the exclusive reader, each kind it holds placed in a
// document of that kind. Lists every entry with its name and hashes (the two
// patches inside each performance too), or says why the file was left out.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/Document.h"

namespace vantorel {

class CDocKind;

// Files larger than this are no file of this synthesizer and are never read.
inline constexpr uint64_t kMaxLibraryFile = uint64_t{64} << 20;

struct CFoundEntry {
    const CDocKind* pKind = nullptr; // a performance's patch: the patch kind
    int nEntry = 0;
    int nPart = -1;
    std::string strLabel; // "A11"; a performance's patch: "11 patch 1"
    std::string strName;  // trailing blanks removed
    uint64_t nSound = 0;
    uint64_t nBytes = 0;
};

// A document the file held (a .syx file may hold several kinds), and which
// of its entries the file really holds.
struct CFileDocument {
    const CDocKind* pKind = nullptr;
    std::unique_ptr<CDocument> pDoc;
    std::vector<int> entries;
};

struct CReadFile {
    std::string strProblem; // why the file was left out; empty when it was read
    std::vector<CFileDocument> docs;
    const CDocKind* Kind() const { return docs.size() == 1 ? docs[0].pKind : nullptr; }
};

// True for a name the library reads: a library file of any kind, or .syx.
bool IsLibraryCandidate(const std::string& path);

CReadFile ReadLibraryFile(const std::string& path);

// Every entry of what was read, in file order.
std::vector<CFoundEntry> ListEntries(const CReadFile& file);

// The bytes of entry nEntry (and inner part nPart, or -1) of kind pKind, as
// an entry of its own kind; nothing when the file does not hold it.
std::optional<std::vector<uint8_t>> FindEntryBytes(const CReadFile& file, const CDocKind& kind, int nEntry,
                                                   int nPart);

} // namespace vantorel
