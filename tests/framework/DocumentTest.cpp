#include <gtest/gtest.h>

#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/HintRect.h"

using namespace vantorel;

namespace {
class CTestDoc : public CDocument {
public:
    LoadResult Serialize(CArchive&) override { return LoadResult::Ok; }
};

class CRecordingView : public CViewBase {
public:
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override
    {
        senders.push_back(pSender);
        hints.push_back(lHint);
        auto* r = dynamic_cast<CHintRect*>(pHint);
        rects.push_back(r ? r->m_rect : CRect{-1, -1, -1, -1});
    }
    std::vector<CViewBase*> senders;
    std::vector<long> hints;
    std::vector<CRect> rects;
};
} // namespace

TEST(Document, UpdateAllViewsSkipsTheSenderAndPassesTheHint)
{
    CTestDoc doc;
    CRecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    CHintRect hint(CRect{0, 16, 149, 32});
    doc.UpdateAllViews(&a, 0, &hint);
    EXPECT_TRUE(a.rects.empty());
    ASSERT_EQ(b.rects.size(), 1u);
    EXPECT_EQ(b.rects[0], (CRect{0, 16, 149, 32}));
    EXPECT_EQ(b.senders[0], &a);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(a.rects.size(), 1u);
    EXPECT_EQ(b.rects.size(), 2u);
}

TEST(Document, ViewsAndDocumentForgetEachOtherWhicheverGoesFirst)
{
    auto view = std::make_unique<CRecordingView>();
    {
        CTestDoc doc;
        doc.AddView(view.get());
        EXPECT_EQ(view->GetDocument(), &doc);
        auto second = std::make_unique<CRecordingView>();
        doc.AddView(second.get());
        second.reset();
        EXPECT_EQ(doc.GetViews().size(), 1u);
    }
    EXPECT_EQ(view->GetDocument(), nullptr);
}

TEST(Document, ModifiedFlagNotifiesOnlyOnChange)
{
    CTestDoc doc;
    int calls = 0;
    doc.m_onModifiedChanged = [&](bool) { ++calls; };
    doc.SetModifiedFlag();
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    EXPECT_EQ(calls, 2);
}

TEST(Document, DestroyListenersHearEveryDocumentGo)
{
    std::vector<CDocument*> gone;
    const int token = CDocument::AddDestroyListener([&](CDocument* d) { gone.push_back(d); });
    CDocument* addr = nullptr;
    {
        CTestDoc doc;
        addr = &doc;
    }
    CDocument::RemoveDestroyListener(token);
    { CTestDoc other; }
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0], addr);
}
