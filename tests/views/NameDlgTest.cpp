// The two name dialogs: their templates and the round trip of a name field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <array>
#include <cstring>

#include "framework/core/MessageBox.h"
#include "res/strings/datawindows.h"
#include "views/NameDlg.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

class NameDlgTest : public ::testing::Test {
protected:
    void TearDown() override { CDialogTestPeer::SetModalHook({}); }
    // Key presses as a keyboard layout delivers them: the character as the
    // event's text (QTest::keyClicks cannot type characters beyond Latin-1).
    static void TypeText(QWidget* w, const QString& text)
    {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
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
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
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
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
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

// The synthesizer shows printable ASCII only: other characters are refused as
// they are typed, and the refusal is explained in a tooltip.
TEST_F(NameDlgTest, TypedCharactersOutsidePrintableAsciiAreRefusedAndExplained)
{
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), "                ", 16);
    QString shownAfterTyping;
    QString tip;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        QLineEdit* e = dlg->GetEdit(CPatchNameDlg::kEditId);
        ASSERT_NE(e, nullptr);
        e->selectAll();
        TypeText(e, QString::fromUtf8("Br\u00e4ss \u00fc\u00e9~\u20ac!"));
        shownAfterTyping = e->text();
        tip = QToolTip::isVisible() ? QToolTip::text() : QString();
        dlg->ClickButton(IDOK);
    });
    CPatchNameDlg dlg;
    EXPECT_TRUE(dlg.EditName(CNameField(field)));
    EXPECT_EQ(shownAfterTyping, QStringLiteral("Brss ~!"));
    EXPECT_EQ(tip, QString::fromLatin1(res::kNameCharactersHint));
    EXPECT_EQ(std::string(field.begin(), field.end()), "Brss ~!         ");
}

TEST_F(NameDlgTest, APastedNameIsCutVisiblyAndForeignCharactersInItAreRefused)
{
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), "old name        ", 16);
    QString afterLongPaste;
    QString afterForeignPaste;
    QString tip;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        QLineEdit* e = dlg->GetEdit(CPerformNameDlg::kEditId);
        ASSERT_NE(e, nullptr);
        QApplication::clipboard()->setText(QStringLiteral("A pasted name that is too long"));
        e->selectAll();
        e->paste();
        afterLongPaste = e->text();
        tip = QToolTip::isVisible() ? QToolTip::text() : QString();
        QApplication::clipboard()->setText(QString::fromUtf8("Caf\u00e9"));
        e->selectAll();
        e->paste();
        afterForeignPaste = e->text();
        dlg->ClickButton(IDOK);
    });
    CPerformNameDlg dlg;
    EXPECT_TRUE(dlg.EditName(CNameField(field)));
    EXPECT_EQ(afterLongPaste, QStringLiteral("A pasted name th"));
    EXPECT_EQ(tip, QString::fromLatin1(res::kNameCharactersHint));
    EXPECT_EQ(afterForeignPaste, QStringLiteral("A pasted name th"));
    EXPECT_EQ(std::string(field.begin(), field.end()), "A pasted name th");
}

TEST_F(NameDlgTest, ANameOpenedWithAForeignByteKeepsItUnlessEdited)
{
    // Files from elsewhere may hold such bytes; OK without a change keeps them.
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), "Caf\xe9 Bass       ", 16);
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) { dlg->ClickButton(IDOK); });
    CPatchNameDlg dlg;
    EXPECT_TRUE(dlg.EditName(CNameField(field)));
    EXPECT_EQ(std::string(field.begin(), field.end()), "Caf\xe9 Bass       ");
}

} // namespace
} // namespace vantorel::test
