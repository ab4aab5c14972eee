#include "app/library/LibraryClip.h"

#include "app/DocKinds.h"
#include "framework/core/Document.h"
#include "transfer/plans/DocKind.h"
#include "views/CopyBuffer.h"
#include "views/ListView.h"

namespace vantorel {

CLibraryClip::CLibraryClip() = default;

CLibraryClip::~CLibraryClip() {
    m_pView.reset();
    m_pDoc.reset(); // the copy buffer forgets the entry with it
}

bool CLibraryClip::PickUp(const CDocKind& kind, int nEntry, const std::vector<uint8_t>& bytes) {
    m_pView.reset();
    m_pDoc.reset();
    const CKindWindow* pWindow = nullptr;
    for (const CKindWindow& w : KindWindows())
        if (w.pKind == &kind)
            pWindow = &w;
    if (!pWindow)
        return false;
    std::unique_ptr<CDocument> pDoc = kind.NewDocument();
    if (nEntry < 0 || nEntry >= pDoc->GetEntryCount())
        nEntry = 0;
    // Written as an edit of a document with no history: it only applies.
    pDoc->ApplyEntries({}, {{nEntry, bytes}});
    if (pDoc->GetEntryBytes(nEntry) != bytes)
        return false;
    std::unique_ptr<CListView> pView(dynamic_cast<CListView*>(pWindow->pMakeView(nullptr)));
    if (!pView)
        return false;
    pDoc->AddView(pView.get());
    m_pDoc = std::move(pDoc);
    m_pView = std::move(pView);
    m_pView->CopyEntry(nEntry);
    return IsHeld();
}

bool CLibraryClip::IsHeld() const {
    return m_pDoc && CCopyBuffer::Get().IsHolding() && CCopyBuffer::Get().SourceDocument() == m_pDoc.get();
}

} // namespace vantorel
