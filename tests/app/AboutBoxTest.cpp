// The About box: its texts, the program-wide click counter driven by real
// mouse clicks with modifiers, and the picture that only 8642 followed by a
// Shift+Ctrl right click shows.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <set>

#include "app/AboutBox.h"
#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "res/Images.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

class AboutBoxTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        CAboutBox::SetClickCount(0);
    }
    // A point on the second text line: the texts pass clicks to the box.
    static QPoint OnText(CDialog* d)
    {
        return QPoint(d->DialogUnitsToPixelsX(60), d->DialogUnitsToPixelsY(27));
    }
    static void Click(CDialog* d, Qt::MouseButton button, Qt::KeyboardModifiers mods, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(d, button, mods, OnText(d));
    }
    // Runs the About box; inside it, fn gets the box and the ids of every
    // nested dialog shown (the picture).
    void RunAbout(const std::function<void(CAboutBox*)>& fn)
    {
        CDialogTestPeer::SetModalHook([&](CDialog* d) {
            if (auto* box = dynamic_cast<CAboutBox*>(d)) {
                fn(box);
                box->ClickButton(IDOK);
                return;
            }
            m_shown.push_back(d->GetTemplate().nId);
            if (auto* pic = qobject_cast<QLabel*>(d->GetDlgItem(IDC_PICTURE)))
                m_bPictureHadPixmap = !pic->pixmap().isNull();
            d->ClickButton(IDOK);
        });
        m_pFrame->CommandAction(ID_APP_ABOUT)->trigger();
        CDialogTestPeer::SetModalHook({});
    }
    std::vector<int> m_shown;
    bool m_bPictureHadPixmap = false;
};

TEST_F(AboutBoxTest, BoxShowsItsCaptionAndTexts)
{
    CAboutBox box;
    EXPECT_EQ(box.GetTemplate().nId, IDD_ABOUTBOX);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Vantorel"));
    QStringList texts;
    for (const CDlgItem& item : box.GetTemplate().items)
        if (item.kind == CtlKind::Static)
            texts << QString::fromLatin1(item.szText);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("Vantorel Version 1.00"));
    EXPECT_FALSE(texts[1].isEmpty());
}

TEST_F(AboutBoxTest, WeightedClicksAddingUpTo8642ShowThePicture)
{
    MakeFrame();
    // The About command is the application's; here the frame routes it to a
    // stand-in that runs the box the same way.
    struct CApp : CCmdTarget {
        explicit CApp(QWidget* parent)
        {
            OnCommand(ID_APP_ABOUT, [parent] {
                CAboutBox box(parent);
                box.DoModal();
            });
        }
    } stand(m_pFrame.get());
    m_pFrame->SetAppTarget(&stand);

    RunAbout([](CAboutBox* box) {
        Click(box, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, 8);
        Click(box, Qt::LeftButton, Qt::ShiftModifier, 6);
        Click(box, Qt::LeftButton, Qt::ControlModifier, 4);
        Click(box, Qt::LeftButton, Qt::NoModifier, 1);
    });
    EXPECT_EQ(CAboutBox::GetClickCount(), 8641);
    EXPECT_TRUE(m_shown.empty());

    // The count survives closing and opening the box.
    RunAbout([](CAboutBox* box) {
        EXPECT_EQ(CAboutBox::GetClickCount(), 8641);
        Click(box, Qt::LeftButton, Qt::NoModifier, 1);
        Click(box, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    });
    EXPECT_EQ(m_shown, std::vector<int>{IDD_PICTURE});
    EXPECT_TRUE(m_bPictureHadPixmap);
    EXPECT_EQ(CAboutBox::GetClickCount(), 0);
    m_pFrame->SetAppTarget(nullptr);
}

TEST_F(AboutBoxTest, EveryRightClickStartsTheCountAgain)
{
    std::vector<int> shown;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        shown.push_back(d->GetTemplate().nId);
        d->ClickButton(IDOK);
    });
    CAboutBox box;
    // The right count without both keys: no picture, count reset.
    CAboutBox::SetClickCount(8642);
    box.OnRButtonDown(true, false);
    EXPECT_EQ(CAboutBox::GetClickCount(), 0);
    CAboutBox::SetClickCount(8642);
    box.OnRButtonDown(false, false);
    EXPECT_EQ(CAboutBox::GetClickCount(), 0);
    // Both keys, one too many: no picture either.
    CAboutBox::SetClickCount(8643);
    box.OnRButtonDown(true, true);
    EXPECT_EQ(CAboutBox::GetClickCount(), 0);
    EXPECT_TRUE(shown.empty());
    CAboutBox::SetClickCount(8642);
    box.OnRButtonDown(true, true);
    EXPECT_EQ(shown, std::vector<int>{IDD_PICTURE});

    // Weights: Shift+Ctrl 1000, Shift 100, Ctrl 10, none 1.
    box.OnLButtonDown(true, true);
    box.OnLButtonDown(true, false);
    box.OnLButtonDown(false, true);
    box.OnLButtonDown(false, false);
    EXPECT_EQ(CAboutBox::GetClickCount(), 1111);
    // Endless clicking wraps instead of overflowing.
    CAboutBox::SetClickCount(INT32_MAX);
    box.OnLButtonDown(true, true);
    EXPECT_EQ(CAboutBox::GetClickCount(), INT32_MIN + 999);
}

TEST(Picture, IsThreeTwentyByTwoFortyInSixteenColours)
{
    const QImage img = res::PictureImage();
    ASSERT_EQ(img.size(), QSize(320, 240));
    EXPECT_EQ(img.format(), QImage::Format_Indexed8);
    EXPECT_EQ(img.colorCount(), 16);
    std::set<int> used;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            used.insert(img.pixelIndex(x, y));
    EXPECT_GE(used.size(), 6u); // a picture, not a blank
    EXPECT_LT(*used.rbegin(), 16);
}

} // namespace
} // namespace vantorel::test
