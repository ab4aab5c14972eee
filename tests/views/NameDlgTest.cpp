// The two name dialogs: their templates and the round trip of a name field.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <cstring>

#include "framework/MessageBox.h"
#include "views/NameDlg.h"

namespace vantorel::test {
namespace {

class NameDlgTest : public ::testing::Test {
protected:
    void TearDown() override { CDialog::SetModalHook({}); }
};

TEST_F(NameDlgTest, TemplatesMatchTheirLayouts)
{
    CPatchNameDlg patch;
    const CDlgTemplate& p = patch.GetTemplate();
    EXPECT_EQ(p.nId, 160);
    EXPECT_STREQ(p.szCaption, "Patch Name");
    EXPECT_EQ(p.cx, 91);
    EXPECT_EQ(p.cy, 52);
    ASSERT_EQ(p.items.size(), 3u);
    EXPECT_EQ(p.items[0].nId, 1004);
    EXPECT_EQ(p.items[0].kind, CtlKind::Edit);
    EXPECT_EQ(p.items[1].kind, CtlKind::DefButton);
    EXPECT_EQ(p.items[1].y, 31);
    EXPECT_EQ(p.items[2].x, 51);

    CPerformNameDlg perf;
    const CDlgTemplate& f = perf.GetTemplate();
    EXPECT_EQ(f.nId, 170);
    EXPECT_STREQ(f.szCaption, "Performance Name");
    EXPECT_EQ(f.cy, 50);
    ASSERT_EQ(f.items.size(), 3u);
    EXPECT_EQ(f.items[0].nId, 1005);
    EXPECT_EQ(f.items[1].y, 29);
    EXPECT_STREQ(f.items[2].szText, "Cancel");
}

TEST_F(NameDlgTest, EditNameRoundTripsAFieldAndPadsShortText)
{
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), "ABCDEFGHIJKLMNOP", 16);
    std::string opened;
    CDialog::SetModalHook([&](CDialog* dlg) {
        QLineEdit* e = dlg->GetEdit(CPerformNameDlg::kEditId);
        ASSERT_NE(e, nullptr);
        opened = e->text().toStdString();
        e->setText("xyz");
        dlg->ClickButton(IDOK);
    });
    CPerformNameDlg dlg;
    EXPECT_TRUE(dlg.EditName(CNameField(field)));
    EXPECT_EQ(opened, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(std::string(field.begin(), field.end()), "xyz             ");
}

TEST_F(NameDlgTest, TextLongerThanTheFieldCannotBeEntered)
{
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), "short           ", 16);
    CDialog::SetModalHook([&](CDialog* dlg) {
        QLineEdit* e = dlg->GetEdit(CPatchNameDlg::kEditId);
        ASSERT_NE(e, nullptr);
        e->setText("0123456789ABCDEFGHIJ");
        EXPECT_EQ(e->text().size(), 16);
        dlg->ClickButton(IDOK);
    });
    CPatchNameDlg dlg;
    EXPECT_TRUE(dlg.EditName(CNameField(field)));
    EXPECT_EQ(std::string(field.begin(), field.end()), "0123456789ABCDEF");
}

} // namespace
} // namespace vantorel::test
