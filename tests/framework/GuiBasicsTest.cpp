// The drawing and dialog rules the list windows and dialogs are written for.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "framework/core/HintRect.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/DC.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/DocTemplate.h"
#include "framework/gui/CmdTarget.h"
#include "support/GuiTestPeers.h"

using namespace vantorel;

namespace {
QImage Draw(const std::function<void(CDC&)>& fn)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    CDC dc(p);
    fn(dc);
    p.end();
    return img;
}
bool IsColor(const QImage& img, int x, int y, const QColor& c)
{
    return img.pixelColor(x, y) == c;
}
} // namespace

TEST(DrawingRules, FillCoversLeftAndTopButNotRightAndBottom)
{
    const QColor grey = RGB(127, 127, 127);
    const QImage img = Draw([&](CDC& dc) { dc.FillSolidRect(CRect{2, 3, 6, 8}, grey); });
    EXPECT_TRUE(IsColor(img, 2, 3, grey));
    EXPECT_TRUE(IsColor(img, 5, 7, grey));
    EXPECT_FALSE(IsColor(img, 6, 7, grey));
    EXPECT_FALSE(IsColor(img, 5, 8, grey));
    EXPECT_FALSE(IsColor(img, 1, 3, grey));
}

TEST(DrawingRules, LinesLeaveTheirEndPointUnpainted)
{
    const QImage img = Draw([](CDC& dc) {
        dc.SelectPen(Qt::black);
        dc.MoveTo(0, 5);
        dc.LineTo(10, 5); // pixels 0..9
        dc.MoveTo(15, 0);
        dc.LineTo(15, 4); // pixels 0..3
    });
    EXPECT_TRUE(IsColor(img, 0, 5, Qt::black));
    EXPECT_TRUE(IsColor(img, 9, 5, Qt::black));
    EXPECT_FALSE(IsColor(img, 10, 5, Qt::black));
    EXPECT_TRUE(IsColor(img, 15, 3, Qt::black));
    EXPECT_FALSE(IsColor(img, 15, 4, Qt::black));
    EXPECT_FALSE(IsColor(img, 5, 4, Qt::black));
    EXPECT_FALSE(IsColor(img, 5, 6, Qt::black));
}

TEST(DrawingRules, ListFontFitsItsCellAndKeepsItsPitch)
{
    const QFont font = MakeFont(CFontSpec{14, 7, 400, "Courier New"});
    const QFontMetricsF fm(font);
    EXPECT_LE(fm.height(), 14.01);
    EXPECT_GE(fm.height(), 11.0);
    EXPECT_NEAR(fm.horizontalAdvance(QStringLiteral("INIT PATCH      ")), 16 * 7, 1.0);
}

namespace {
const CDlgTemplate kNameTemplate{160,
                                 "Patch Name",
                                 91,
                                 52,
                                 {{1004, CtlKind::Edit, "", 7, 7, 78, 12},
                                  {1, CtlKind::DefButton, "OK", 7, 31, 33, 14},
                                  {2, CtlKind::Button, "Cancel", 51, 31, 33, 14}},
                                 true};

class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(kNameTemplate) {}
    int inits = 0;
    std::string text;

protected:
    void OnInitDialog() override
    {
        ++inits;
        GetEdit(1004)->setText(QStringLiteral("abc"));
    }
    void OnOK() override
    {
        text = GetEdit(1004)->text().toStdString();
        CDialog::OnOK();
    }
};
} // namespace

TEST(Dialogs, TemplatesBecomePixelsFromTheDialogFont)
{
    CProbeDlg dlg;
    dlg.CreateModeless();
    const int x = dlg.DialogUnitsToPixelsX(4);
    const int y = dlg.DialogUnitsToPixelsY(8);
    EXPECT_GE(x, 3);
    EXPECT_GE(y, 8);
    QWidget* ok = dlg.GetDlgItem(1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->geometry().x(), dlg.DialogUnitsToPixelsX(7));
    EXPECT_EQ(ok->geometry().y(), dlg.DialogUnitsToPixelsY(31));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Patch Name"));
    EXPECT_TRUE(dlg.GetButton(1)->isDefault());
    EXPECT_EQ(dlg.GetDlgItem(999), nullptr);
    dlg.EndDialog(IDCANCEL);
}

TEST(Dialogs, ModalHookAnswersAndDisabledButtonsDoNothing)
{
    CProbeDlg dlg;
    auto previous = CDialogTestPeer::SetModalHook([](CDialog* d) {
        d->GetButton(IDOK)->setEnabled(false);
        d->ClickButton(IDOK); // ignored while disabled
        EXPECT_FALSE(d->IsEnded());
        d->GetButton(IDOK)->setEnabled(true);
        d->ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CDialogTestPeer::SetModalHook(previous);
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(dlg.text, "abc");
}

TEST(Dialogs, StaticTextShowsMnemonicsWithoutTheirAmpersand)
{
    const CDlgTemplate tmpl{200,
                            "Labels",
                            100,
                            40,
                            {{10, CtlKind::Static, "&New", 2, 2, 40, 8},
                             {11, CtlKind::Static, "Tone && Length\t(ms)", 2, 12, 80, 8}}};
    CDialog dlg(tmpl);
    dlg.CreateModeless();
    EXPECT_EQ(dlg.GetStatic(10)->text(), QStringLiteral("New"));
    EXPECT_EQ(dlg.GetStatic(11)->text(), QStringLiteral("Tone & Length    (ms)"));
    dlg.EndDialog(IDCANCEL);
}

TEST(Commands, TargetsRunAndDescribeTheirCommands)
{
    struct CTarget : CCmdTarget {
        int runs = 0;
        bool on = false;
        CTarget()
        {
            OnCommand(
                32776, [this] { ++runs; }, [this](CCmdUI& ui) { ui.SetCheck(on); });
        }
    } target;
    EXPECT_TRUE(target.HandlesCommand(32776));
    EXPECT_FALSE(target.HandlesCommand(32780));
    EXPECT_TRUE(target.ExecuteCommand(32776));
    EXPECT_FALSE(target.ExecuteCommand(32780));
    EXPECT_EQ(target.runs, 1);
    target.on = true;
    CCmdUI ui;
    ui.m_nID = 32776;
    EXPECT_TRUE(target.UpdateCommand(ui));
    EXPECT_TRUE(ui.m_bChecked);
}

TEST(DocTemplates, DocumentStringFieldsSplitOnNewlines)
{
    CDocTemplate t(
        133, "\nPattern\nPattern Data\nPattern Data Files (*.ptn)\n.ptn\nPattern.Document\nPattern Document",
        [] { return std::unique_ptr<CDocument>(); }, [](QWidget*) { return nullptr; });
    EXPECT_EQ(t.GetDocString(CDocTemplate::windowTitle), "");
    EXPECT_EQ(t.GetDocString(CDocTemplate::docName), "Pattern");
    EXPECT_EQ(t.GetDocString(CDocTemplate::fileNewName), "Pattern Data");
    EXPECT_EQ(t.GetDocString(CDocTemplate::filterExt), ".ptn");
    EXPECT_EQ(t.GetDocString(CDocTemplate::regFileTypeName), "Pattern Document");
}
