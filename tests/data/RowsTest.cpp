// Row rectangles and the row-repaint hints the documents send their views.
#include <gtest/gtest.h>

#include "DataTestSupport.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {
// Every update must be a CHintRect with hint number 0 and no sending view.
std::vector<CRect> Rects(const CRecordingView& view)
{
    std::vector<CRect> rects;
    for (const CUpdate& u : view.m_updates) {
        EXPECT_EQ(u.pSender, nullptr);
        EXPECT_EQ(u.lHint, 0);
        EXPECT_TRUE(u.bHintRect);
        rects.push_back(u.rect);
    }
    return rects;
}
} // namespace

TEST(PatchRows, RowRectanglesSpanTheListWidth)
{
    CPatchDoc doc;
    EXPECT_EQ(doc.GetRowRect(0), (CRect{0, 0, 149, 16}));
    EXPECT_EQ(doc.GetRowRect(5), (CRect{0, 80, 149, 96}));
    EXPECT_EQ(doc.GetRowRect(127), (CRect{0, 2032, 149, 2048}));
}

TEST(PatchRows, UpdateRowsSendsOldThenNewSkippingNegatives)
{
    CPatchDoc doc;
    CRecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);

    doc.UpdateRows(-1, 5);
    EXPECT_EQ(Rects(a), (std::vector<CRect>{{0, 80, 149, 96}}));
    a.m_updates.clear();

    doc.UpdateRows(5, 5);
    EXPECT_EQ(Rects(a), (std::vector<CRect>{{0, 80, 149, 96}, {0, 80, 149, 96}}));
    a.m_updates.clear();

    doc.UpdateRows(-1, -1);
    EXPECT_TRUE(a.m_updates.empty());

    doc.UpdateRows(2, -1);
    doc.UpdateRows(7, 1);
    EXPECT_EQ(Rects(a), (std::vector<CRect>{{0, 32, 149, 48}, {0, 112, 149, 128}, {0, 16, 149, 32}}));
    EXPECT_EQ(b.m_updates.size(), 1u + 2 + 0 + 1 + 2);

    b.m_updates.clear();
    doc.UpdateRow(127);
    EXPECT_EQ(Rects(b), (std::vector<CRect>{{0, 2032, 149, 2048}}));
}

TEST(PerformRows, PerformanceAndPatchRowRectangles)
{
    CPerformDoc doc;
    EXPECT_EQ(doc.GetPerformanceRowRect(0), (CRect{0, 0, 262, 32}));
    EXPECT_EQ(doc.GetPerformanceRowRect(63), (CRect{0, 2016, 262, 2048}));
    EXPECT_EQ(doc.GetPatchRowRect(5), (CRect{142, 80, 262, 96}));
    EXPECT_EQ(doc.GetPatchRowRect(127), (CRect{142, 2032, 262, 2048}));
}

TEST(PerformRows, EntryRectangleWithAndWithoutThePatchColumn)
{
    CPerformDoc doc;
    EXPECT_EQ(doc.GetEntryRect(3, true, true), (CRect{142, 96, 262, 112}));
    EXPECT_EQ(doc.GetEntryRect(3, true, false), (CRect{142, 112, 262, 128}));
    EXPECT_EQ(doc.GetEntryRect(3, false, true), (CRect{22, 96, 262, 128}));
    EXPECT_EQ(doc.GetEntryRect(3, false, false), (CRect{22, 96, 262, 128}));
    // The patch rows of performance n are patch rows 2n and 2n + 1.
    for (int n = 0; n < 64; ++n) {
        EXPECT_EQ(doc.GetEntryRect(n, true, true), doc.GetPatchRowRect(2 * n));
        EXPECT_EQ(doc.GetEntryRect(n, true, false), doc.GetPatchRowRect(2 * n + 1));
    }
}

TEST(PerformRows, UpdatesSendOldThenNewSkippingNegatives)
{
    CPerformDoc doc;
    CRecordingView view;
    doc.AddView(&view);
    doc.UpdatePatchRows(-1, -1);
    doc.UpdatePerformanceRows(-1, -1);
    EXPECT_TRUE(view.m_updates.empty());

    doc.UpdatePerformanceRows(1, 2);
    EXPECT_EQ(Rects(view), (std::vector<CRect>{{0, 32, 262, 64}, {0, 64, 262, 96}}));
    view.m_updates.clear();

    doc.UpdatePatchRows(5, -1);
    doc.UpdatePatchRows(-1, 0);
    doc.UpdatePatchRows(4, 4);
    EXPECT_EQ(
        Rects(view),
        (std::vector<CRect>{{142, 80, 262, 96}, {142, 0, 262, 16}, {142, 64, 262, 80}, {142, 64, 262, 80}}));
    view.m_updates.clear();

    doc.UpdatePerformanceRow(63);
    doc.UpdatePatchRow(127);
    EXPECT_EQ(Rects(view), (std::vector<CRect>{{0, 2016, 262, 2048}, {142, 2032, 262, 2048}}));
}

TEST(PatternRows, RowRectanglesStartAtTheNoteNames)
{
    CPatternDoc doc;
    EXPECT_EQ(doc.GetRowRect(0), (CRect{56, 0, 205, 16}));
    EXPECT_EQ(doc.GetRowRect(47), (CRect{56, 752, 205, 768}));

    CRecordingView view;
    doc.AddView(&view);
    doc.UpdateRows(-1, 47);
    doc.UpdateRows(3, 3);
    doc.UpdateRows(-1, -1);
    EXPECT_EQ(Rects(view), (std::vector<CRect>{{56, 752, 205, 768}, {56, 48, 205, 64}, {56, 48, 205, 64}}));
}

TEST(Rows, ExtremeIndexesDoNotOverflow)
{
    CPatchDoc patches;
    const CRect r = patches.GetRowRect(INT32_MAX);
    EXPECT_LE(r.top, r.bottom);
    EXPECT_EQ(patches.GetRowRect(INT32_MIN).top, INT32_MIN);
    CPerformDoc performs;
    const CRect e = performs.GetEntryRect(INT32_MAX, true, false);
    EXPECT_LE(e.top, e.bottom);
    CPatternDoc patterns;
    EXPECT_LE(patterns.GetRowRect(INT32_MAX).top, patterns.GetRowRect(INT32_MAX).bottom);
}

// The windows draw with these; they must match the lists' row counts.
TEST(Layout, ValuesAgreeWithRowCountsAndHeights)
{
    CPatchDoc p;
    EXPECT_EQ(p.m_nListHeight, 128 * p.m_nRowHeight);
    EXPECT_EQ(p.m_nScrollHeight, p.m_nListHeight + 1);
    EXPECT_EQ(p.m_nScrollWidth, p.m_nListRightX + 1);
    EXPECT_EQ(p.m_nNameColumnX, 29);

    CPerformDoc f;
    EXPECT_EQ(f.m_nListHeight, 64 * f.m_nPerformanceRowHeight);
    EXPECT_EQ(f.m_nListHeight, 128 * f.m_nPatchRowHeight);
    EXPECT_EQ(f.m_nScrollWidth, f.m_nListRightX + 1);
    EXPECT_EQ(f.m_nScrollHeight, 2049);
    EXPECT_EQ(f.m_nNameColumnX, 22);
    EXPECT_EQ(f.m_nPatchColumnX, 142);

    CSystemDoc s;
    EXPECT_EQ(s.m_nListHeight, 2 * s.m_nRowHeight);
    EXPECT_EQ(s.m_nSplitY, s.m_nRowHeight);
    EXPECT_EQ(s.m_nScrollWidth, s.m_nListRightX + 1);
    EXPECT_EQ(s.m_nScrollHeight, s.m_nListHeight + 1);

    CPatternDoc t;
    EXPECT_EQ(t.m_nListHeight, 48 * t.m_nRowHeight);
    EXPECT_EQ(t.m_nScrollHeight, t.m_nListHeight + 1);
    EXPECT_EQ(t.m_nScrollWidth, t.m_nListRightX + 1);
    EXPECT_EQ(t.m_nBlackKeyX, 18);
    EXPECT_EQ(t.m_nKeyboardWidth, 56);
    EXPECT_EQ(t.m_nPatternColumnX, 85);

    CMotionDoc m;
    EXPECT_EQ(m.m_nListHeight, 4 * m.m_nRowHeight);
    EXPECT_EQ(m.m_nScrollHeight, m.m_nListHeight + 1);
    EXPECT_EQ(m.m_nScrollWidth, m.m_nListRightX + 1);
    EXPECT_EQ(m.m_nListLeftX, 0);
    EXPECT_EQ(m.m_nMotionColumnX, 29);
}
