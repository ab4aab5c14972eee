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

// Three entries of two bytes, which keeps every step of its history.
class CEntriesDoc : public CTestDoc, public IEditHistory {
public:
    CEntriesDoc() { SetEditHistory(this); }
    int GetEntryCount() const override { return 3; }
    std::vector<uint8_t> GetEntryBytes(int n) const override { return m_entries.at(size_t(n)); }
    void OnEditApplied(CDocEdit edit) override { m_edits.push_back(std::move(edit)); }
    void OnSaved() override {}
    std::vector<std::vector<uint8_t>> m_entries{{0, 0}, {1, 1}, {2, 2}};
    std::vector<CDocEdit> m_edits;

protected:
    void SetEntryBytes(int n, const std::vector<uint8_t>& bytes) override { m_entries.at(size_t(n)) = bytes; }
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
    {
        CTestDoc other;
    }
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0], addr);
}

TEST(Document, AnEditGroupIsOneStepOfTheEntriesThatDifferWhenItCloses)
{
    CEntriesDoc doc;
    {
        CEditGroup outer(doc, "Get");
        {
            CEditGroup inner(doc, "Inner");
            EXPECT_TRUE(doc.ApplyEntries("Put", {{0, {5, 5}}}));
        }
        EXPECT_TRUE(doc.ApplyEntries("Put", {{0, {6, 6}}, {1, {9, 9}}}));
        EXPECT_TRUE(doc.ApplyEntries("Put", {{1, {1, 1}}})); // back as it was
        const uint8_t tail[] = {7, 8, 9};                    // bytes past the end of an entry are left out
        EXPECT_TRUE(doc.ApplyEntryBytes("Put", 2, 1, tail, 3));
        EXPECT_FALSE(doc.ApplyEntryBytes("Put", 2, 2, tail, 1));
        // Written at once; the history and the flag wait for the end.
        EXPECT_EQ(doc.m_entries[0], (std::vector<uint8_t>{6, 6}));
        EXPECT_TRUE(doc.m_edits.empty());
        EXPECT_FALSE(doc.IsModified());
    }
    ASSERT_EQ(doc.m_edits.size(), 1u);
    const CDocEdit& edit = doc.m_edits[0];
    EXPECT_EQ(edit.strName, "Get");
    ASSERT_EQ(edit.changes.size(), 2u);
    EXPECT_EQ(edit.changes[0].nEntry, 0);
    EXPECT_EQ(edit.changes[0].before, (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(edit.changes[0].after, (std::vector<uint8_t>{6, 6}));
    EXPECT_EQ(edit.changes[1].nEntry, 2);
    EXPECT_EQ(edit.changes[1].after, (std::vector<uint8_t>{2, 7}));
    EXPECT_TRUE(doc.IsModified());

    // A group that ends where it began adds no step and leaves the flag alone.
    doc.SetModifiedFlag(false);
    {
        CEditGroup group(doc, "Get");
        doc.ApplyEntries("Put", {{0, {1, 1}}});
        doc.ApplyEntries("Put", {{0, {6, 6}}});
    }
    EXPECT_EQ(doc.m_edits.size(), 1u);
    EXPECT_FALSE(doc.IsModified());
}
