#pragma once
// An edit of a document as plain bytes: the entries it changes, each with its
// bytes before and after. Undo writes the before bytes back, redo the after
// bytes. An edit holds its own copies and never points into a document, so it
// stays good after the document it was copied from has closed.
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel {

class CDocument;

struct CEntryChange {
    int nEntry = 0;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};

struct CDocEdit {
    std::string strName; // what the user did, as Undo shows it
    std::vector<CEntryChange> changes;
};

// Every entry of a document as bytes, in entry order.
using CEntrySnapshot = std::vector<std::vector<uint8_t>>;

// Where a document reports its edits when one is attached (the program's undo
// stack). A document without one just applies them.
class IEditHistory {
public:
    virtual ~IEditHistory() = default;
    // The document has just applied edit; redoing it must not apply it twice.
    virtual void OnEditApplied(CDocEdit edit) = 0;
    // The document now matches its file (saved, opened or new).
    virtual void OnSaved() = 0;
};

} // namespace vantorel
