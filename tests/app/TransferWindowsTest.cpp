// The transfer windows in the whole application, as a user sees them: a Get
// whose synthesizer stays silent explains why in the progress window, whole,
// and in a shorter form that fits the main window's status bar at 1280 pixels.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "framework/gui/DC.h"
#include "res/strings/transfer.h"
#include "support/MessageBoxRecorder.h"
#include "transfer/TransferDlg.h"

namespace vantorel::test {
namespace {

using TransferWindowsTest = AppStartTest;

TEST_F(TransferWindowsTest, ASilentSynthesizerIsExplainedWholeInTheProgressWindowAndBrieflyInTheStatusBar) {
    StartApp();
    Frame()->resize(1280, 800);
    CDocManager& docs = m_pApp->GetDocManager();
    ASSERT_TRUE(docs.OpenNewDocument(docs.GetTemplates().front().get()));
    CMessageBoxRecorder boxes(IDOK); // the backup question
    CDialog::SetModalHook([&](CDialog* d) {
        auto* pGet = dynamic_cast<CTransferDlg*>(d);
        ASSERT_TRUE(pGet);
        pGet->ClickButton(IDOK);
        CProgressDlg& progress = pGet->Progress();
        const QSize described = progress.size();
        // The service never answers: three silent seconds.
        m_clock.AdvanceMs(3'500);

        // Every word of the note, on lines the box holds, above the Cancel button.
        const QLabel* pBox = progress.GetStatic(1000);
        const QRect inside = pBox->contentsRect();
        const QFontMetrics fm(MakeFont(CFontSpec{15, 7, 400, "Courier New"}));
        EXPECT_EQ(progress.GetProgressLines().join(' ').toStdString(), res::kNoAnswer);
        for (const QString& line : progress.GetProgressLines())
            EXPECT_LE(5 + fm.horizontalAdvance(line), inside.width()) << line.toStdString();
        EXPECT_LE(progress.GetProgressLines().size() * 15, inside.height());
        EXPECT_LT(pBox->geometry().bottom(), progress.GetButton(IDCANCEL)->geometry().top());
        EXPECT_LE(progress.GetButton(IDCANCEL)->geometry().bottom(), progress.height());
        // Only as much taller as the lines need; as wide as described.
        EXPECT_EQ(progress.width(), described.width());
        EXPECT_GT(progress.height(), described.height());
        EXPECT_LT(inside.height(), (progress.GetProgressLines().size() + 1) * 15);

        // The status bar's form fits left of the key indicators.
        const QStatusBar* pBar = Frame()->statusBar();
        EXPECT_EQ(pBar->currentMessage().toStdString(), res::kNoAnswerStatus);
        const auto panes = pBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        int nIndicators = pBar->width();
        for (const QLabel* pane : panes)
            if (pane->text() == QStringLiteral("CAP"))
                nIndicators = pane->x();
        EXPECT_LT(pBar->fontMetrics().horizontalAdvance(pBar->currentMessage()), nIndicators);

        // The next answer's text takes one line again, in the described size.
        progress.ShowText("A11: INIT PATCH");
        EXPECT_EQ(progress.size(), described);
        progress.ClickButton(IDCANCEL);
    });
    Frame()->UpdateAllCmdUI();
    Frame()->CommandAction(ID_GET_PATCH_BANK)->trigger();
    CDialog::SetModalHook({});
    EXPECT_EQ(boxes.m_texts.size(), 1u) << "the backup question only";
}

} // namespace
} // namespace vantorel::test
