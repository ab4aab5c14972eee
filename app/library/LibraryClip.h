#pragma once
// A library entry in the copy buffer. The copy buffer holds an entry inside a
// document, picked up by its window; the clip is such a document of the
// entry's kind, holding the bytes read from the entry's file, with a window
// of that kind that is never shown. Edit > Copy in that window picks the
// entry up, so a click or Edit > Paste in any list window then copies
// it, or refuses it, by that window's own rules (one undo step, "Can't Copy
// in Here.").
#include <cstdint>
#include <memory>
#include <vector>

namespace vantorel {

class CDocKind;
class CDocument;
class CListView;

class CLibraryClip {
  public:
    CLibraryClip();
    ~CLibraryClip();
    CLibraryClip(const CLibraryClip&) = delete;
    CLibraryClip& operator=(const CLibraryClip&) = delete;

    // Picks up bytes as entry nEntry of a document of kind (a patch from
    // inside a performance: kind is the patch kind, any nEntry it has); the
    // previous clip goes. False when the kind has no window or the bytes do
    // not fit it.
    bool PickUp(const CDocKind& kind, int nEntry, const std::vector<uint8_t>& bytes);
    // True while the copy buffer holds this clip's entry.
    bool IsHeld() const;

  private:
    std::unique_ptr<CDocument> m_pDoc;
    std::unique_ptr<CListView> m_pView; // goes before the document
};

} // namespace vantorel
