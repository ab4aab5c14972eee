// The copy buffer's program-wide rules: the kind's cursor over the program's
// windows while something is held, Clear Copy Buffer restoring the arrow at
// once, the cursor kept until the pointer moves after other emptying, and the
// buffer forgetting an entry whose document goes away.
#include <QMdiArea>
#include <QTest>

#include <set>

#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "res/Images.h"
#include "views/MotionView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"

namespace vantorel::test {
namespace {

using CopyBufferTest = AppTest;

TEST_F(CopyBufferTest, PickUpShowsTheKindsCursorOverFramesAndViews)
{
    MakeFrame();
    CDocument* doc = nullptr;
    CTestView* view = OpenKind(0, &doc);
    CCopyBuffer& buffer = CCopyBuffer::Get();
    auto* entry = &dynamic_cast<CTestDoc*>(doc)->m_body;
    buffer.PickUp(kCopyPerformance, entry, doc);
    EXPECT_TRUE(buffer.IsHolding());
    EXPECT_EQ(buffer.Kind(), kCopyPerformance);
    EXPECT_EQ(buffer.Source(), entry);
    EXPECT_EQ(buffer.SourceDocument(), doc);
    EXPECT_EQ(buffer.ShownCursorId(), 141);
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::BitmapCursor);
    // Child frames and views have no cursor of their own: they show the frame's.
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(m_pFrame->GetMdiArea()->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(CopyBufferTest, ClearCopyBufferEmptiesAndRestoresTheArrowAtOnce)
{
    MakeFrame();
    CDocument* doc = nullptr;
    OpenKind(0, &doc);
    CCopyBuffer::Get().PickUp(kCopyPatch, doc, doc);
    ASSERT_EQ(CCopyBuffer::Get().ShownCursorId(), 140);
    EXPECT_TRUE(m_pFrame->CommandAction(ID_CLEAR_COPY_BUFFER)->isEnabled());
    m_pFrame->CommandAction(ID_CLEAR_COPY_BUFFER)->trigger();
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().Source(), nullptr);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CopyBufferTest, OtherEmptyingKeepsTheCursorUntilThePointerMoves)
{
    MakeFrame();
    CDocument* doc = nullptr;
    CTestView* view = OpenKind(0, &doc);
    CCopyBuffer::Get().PickUp(kCopyMotion, doc, doc);
    CCopyBuffer::Get().Empty();
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 144);
    QTest::mouseMove(view->viewport(), QPoint(20, 20));
    QTest::mouseMove(view->viewport(), QPoint(25, 22));
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
    EXPECT_NE(m_pFrame->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(CopyBufferTest, BufferForgetsAnEntryWhoseDocumentCloses)
{
    MakeFrame();
    CDocument* first = nullptr;
    CDocument* second = nullptr;
    OpenKind(0, &first);
    OpenKind(0, &second);
    CCopyBuffer::Get().PickUp(kCopyPatch, &dynamic_cast<CTestDoc*>(first)->m_body, first);
    // Another document closing leaves the buffer alone.
    m_pManager->GetFrame(second)->close();
    EXPECT_TRUE(CCopyBuffer::Get().IsHolding());
    // The source's window closing empties it: no drop can read the freed entry.
    m_pManager->GetFrame(first)->close();
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().Source(), nullptr);
    EXPECT_EQ(CCopyBuffer::Get().SourceDocument(), nullptr);
}

TEST_F(CopyBufferTest, MainFrameStartsWithTheBufferEmpty)
{
    int dummy = 0;
    CCopyBuffer::Get().PickUp(kCopySystem, &dummy, nullptr);
    MakeFrame();
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(CopyBufferTest, NothingIsPickedUpWithoutAKindOrASource)
{
    int dummy = 0;
    CCopyBuffer::Get().PickUp(7, &dummy, nullptr);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    CCopyBuffer::Get().PickUp(kCopyPatch, nullptr, nullptr);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    CCopyBuffer::Get().PickUp(kCopyNone, &dummy, nullptr);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST(CopyCursors, SixDistinctTwoColourCursorsWithTheTipAtTheHotSpot)
{
    const std::pair<int, int> kinds[] = {{kCopyPatch, 140}, {kCopyPerformance, 141}, {kCopySystem, 142},
                                         {kCopyTxRx, 145},  {kCopyPattern, 143},     {kCopyMotion, 144}};
    std::set<QByteArray> images;
    for (auto [kind, id] : kinds) {
        SCOPED_TRACE(id);
        EXPECT_EQ(CCopyBuffer::CursorIdForKind(kind), id);
        const QImage img = res::CopyCursorImage(id);
        ASSERT_EQ(img.size(), QSize(32, 32));
        EXPECT_EQ(img.pixel(0, 0), 0xFF000000u); // the arrow's tip
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb p = img.pixel(x, y);
                EXPECT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu || qAlpha(p) == 0) << x << "," << y;
            }
        images.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), int(img.sizeInBytes())));
        EXPECT_EQ(CCopyBuffer::Get().CopyCursor(kind).hotSpot(), QPoint(0, 0));
    }
    EXPECT_EQ(images.size(), 6u); // each label tells its kind apart
    EXPECT_TRUE(res::CopyCursorImage(139).isNull());
    EXPECT_EQ(CCopyBuffer::CursorIdForKind(0), 0);
    EXPECT_EQ(CCopyBuffer::CursorIdForKind(7), 0);
}

} // namespace
} // namespace vantorel::test
