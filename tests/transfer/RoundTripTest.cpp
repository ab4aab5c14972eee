// Every kind sent to the synthesizer and fetched back into a fresh document
// comes back byte for byte; and every Get and Send dialog asks its question
// before it touches a port.
#include <algorithm>
#include <memory>

#include <QLabel>

#include "TransferFixture.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "res/Strings.h"
#include "transfer/MotionTransfer.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PatternTransfer.h"
#include "transfer/PerformTransfer.h"
#include "transfer/SystemTransfer.h"
#include "transfer/TransferTemplates.h"

namespace vantorel::test {
namespace {

template <class TSend, class TGet>
void RoundTrip(TSend& send, TGet& get)
{
    EXPECT_EQ(send.DoModal(), IDOK);
    EXPECT_EQ(get.DoModal(), IDOK);
}

TEST_F(TransferTest, EachKindSentThenFetchedComesBackUnchanged)
{
    m_pSim->SetWireSpeed(true);
    {
        CPatchDoc source, copy;
        for (int i = 0; i < 128; ++i) {
            const Bytes b = Filled(CPatchRecord::kSize, uint8_t(i + 50));
            std::copy(b.begin(), b.end(), source.m_aPatch[size_t(i)].Data());
        }
        CSendPatchDlg send;
        send.SetPlan(PatchKind().MakeSendPlan(source, -1));
        CGetPatchDlg get;
        get.SetPlan(PatchKind().MakeGetPlan(copy, -1));
        RoundTrip(send, get);
        EXPECT_TRUE(source.m_aPatch == copy.m_aPatch);
    }
    {
        CPerformDoc source, copy;
        for (int p = 0; p < 64; ++p) {
            const Bytes b = Filled(CPerformRecord::kSize, uint8_t(p + 20));
            std::copy(b.begin(), b.end(), source.m_aPerform[size_t(p)].Data());
        }
        CSendPerformanceDlg send;
        send.SetPlan(PerformanceKind().MakeSendPlan(source, -1));
        CGetPerformanceDlg get;
        get.SetPlan(PerformanceKind().MakeGetPlan(copy, -1));
        RoundTrip(send, get);
        EXPECT_TRUE(source.m_aPerform == copy.m_aPerform);
    }
    {
        CSystemDoc source, copy;
        const Bytes b = Filled(CSystemDoc::kSize, 77);
        std::copy(b.begin(), b.end(), source.m_aSystem.begin());
        CSendSystemDlg send;
        send.SetPlan(SystemKind().MakeSendPlan(source, -1));
        CGetSystemDlg get;
        get.SetPlan(SystemKind().MakeGetPlan(copy, -1));
        RoundTrip(send, get);
        EXPECT_EQ(source.m_aSystem, copy.m_aSystem);
    }
    {
        // Lengths around every packet edge, the empty item included.
        CPatternDoc source, copy;
        for (int n = 0; n < 48; ++n) {
            static const size_t kSizes[] = {0, 1, 230, 231, 232, 461, 462, 463, 500, 693, 1000, 14};
            source.m_aPattern[size_t(n)].SetData(Filled(kSizes[n % 12], uint8_t(n)));
            source.m_aPattern[size_t(n)].m_byValue = uint8_t(n + 2);
        }
        CSendPatternDlg send;
        send.SetPlan(PatternKind().MakeSendPlan(source, -1));
        CGetPatternDlg get;
        get.SetPlan(PatternKind().MakeGetPlan(copy, -1));
        RoundTrip(send, get);
        for (int n = 0; n < 48; ++n) {
            EXPECT_EQ(copy.m_aPattern[size_t(n)].GetBytes(), source.m_aPattern[size_t(n)].GetBytes()) << n;
            EXPECT_EQ(copy.m_aPattern[size_t(n)].m_byValue, source.m_aPattern[size_t(n)].m_byValue) << n;
        }
    }
    {
        CMotionDoc source, copy;
        const size_t kSizes[] = {462, 0, 1200, 45};
        for (size_t m = 0; m < 4; ++m) {
            source.m_aMotion[m].SetData(Filled(kSizes[m], uint8_t(m + 9)));
            source.m_aMotion[m].m_byValue = uint8_t(m + 60);
        }
        CSendMotionDlg send;
        send.SetPlan(MotionKind().MakeSendPlan(source, -1));
        CGetMotionDlg get;
        get.SetPlan(MotionKind().MakeGetPlan(copy, -1));
        RoundTrip(send, get);
        for (size_t m = 0; m < 4; ++m) {
            EXPECT_EQ(copy.m_aMotion[m].GetBytes(), source.m_aMotion[m].GetBytes()) << m;
            EXPECT_EQ(copy.m_aMotion[m].m_byValue, source.m_aMotion[m].m_byValue) << m;
        }
    }
    EXPECT_EQ(m_nCompleteShown, 10);
}

TEST_F(TransferTest, EveryDialogAsksItsQuestionAndDeclinedOpensNothing)
{
    m_pBoxes->m_nAnswer = IDCANCEL;
    CPatchDoc patches;
    CPerformDoc performances;
    CSystemDoc system;
    CPatternDoc patterns;
    CMotionDoc motions;
    std::vector<std::unique_ptr<CTransferDlg>> dialogs;
    {
        auto get = std::make_unique<CGetPatchDlg>();
        get->SetPlan(PatchKind().MakeGetPlan(patches, -1));
        dialogs.push_back(std::move(get));
        auto send = std::make_unique<CSendPatchDlg>();
        send->SetPlan(PatchKind().MakeSendPlan(patches, -1));
        dialogs.push_back(std::move(send));
    }
    {
        auto get = std::make_unique<CGetPerformanceDlg>();
        get->SetPlan(PerformanceKind().MakeGetPlan(performances, -1));
        dialogs.push_back(std::move(get));
        auto send = std::make_unique<CSendPerformanceDlg>();
        send->SetPlan(PerformanceKind().MakeSendPlan(performances, -1));
        dialogs.push_back(std::move(send));
    }
    {
        auto get = std::make_unique<CGetSystemDlg>();
        get->SetPlan(SystemKind().MakeGetPlan(system, -1));
        dialogs.push_back(std::move(get));
        auto send = std::make_unique<CSendSystemDlg>();
        send->SetPlan(SystemKind().MakeSendPlan(system, -1));
        dialogs.push_back(std::move(send));
    }
    {
        auto get = std::make_unique<CGetPatternDlg>();
        get->SetPlan(PatternKind().MakeGetPlan(patterns, -1));
        dialogs.push_back(std::move(get));
        auto send = std::make_unique<CSendPatternDlg>();
        send->SetPlan(PatternKind().MakeSendPlan(patterns, -1));
        dialogs.push_back(std::move(send));
    }
    {
        auto get = std::make_unique<CGetMotionDlg>();
        get->SetPlan(MotionKind().MakeGetPlan(motions, -1));
        dialogs.push_back(std::move(get));
        auto send = std::make_unique<CSendMotionDlg>();
        send->SetPlan(MotionKind().MakeSendPlan(motions, -1));
        dialogs.push_back(std::move(send));
    }
    const char* const kCaptions[] = {"Get Patch",  "Send Patch",  "Get Performance", "Send Performance",
                                     "Get System", "Send System", "Get Pattern",     "Send Pattern",
                                     "Get Motion", "Send Motion"};
    for (size_t i = 0; i < dialogs.size(); ++i) {
        dialogs[i]->m_strDevices = "MIDI IN:\n\tA\n\nMIDI OUT:\n\tB";
        EXPECT_EQ(dialogs[i]->DoModal(), IDOK) << i;
        EXPECT_EQ(dialogs[i]->windowTitle().toStdString(), kCaptions[i]);
        ASSERT_EQ(m_pBoxes->m_texts.size(), i + 1);
        EXPECT_EQ(m_pBoxes->m_texts[i], i % 2 == 0 ? res::kConfirmGet : res::kConfirmSend) << i;
        EXPECT_EQ(m_pBoxes->m_types[i], unsigned(MB_OKCANCEL));
        EXPECT_TRUE(dialogs[i]->GetStatic(IDC_TRANSFER_TEXT)->text().contains("MIDI OUT:"));
    }
    EXPECT_TRUE(m_pRecorder->m_events.empty());
    EXPECT_EQ(m_nCompleteShown, 0);
}

TEST(TransferTemplates, LayoutsInDialogUnits)
{
    struct CExpect {
        int nTemplate, nId, x, y, cx, cy;
    };
    const CExpect expected[] = {
        {IDD_GET_PATCH, IDOK, 17, 59, 32, 14},
        {IDD_GET_PATCH, IDCANCEL, 65, 59, 32, 14},
        {IDD_GET_PATCH, 1000, 7, 9, 99, 44},
        {IDD_SEND_PATCH, IDOK, 17, 60, 32, 14},
        {IDD_GETTING_PATCH, IDCANCEL, 40, 28, 32, 14},
        {IDD_GETTING_PATCH, 1000, 4, 5, 102, 15},
        {IDD_SENDING_PATCH, IDCANCEL, 39, 28, 32, 14},
        {IDD_GETTING_PERFORMANCE, 1001, 4, 30, 60, 9},
        {IDD_GETTING_PERFORMANCE, IDCANCEL, 74, 28, 32, 14},
        {IDD_GET_SYSTEM, 1000, 7, 7, 99, 44},
        {IDD_SEND_SYSTEM, IDOK, 17, 65, 32, 14},
        {IDD_GETTING_SYSTEM, 1001, 14, 16, 80, 9},
        {IDD_GETTING_SYSTEM, IDCANCEL, 38, 35, 32, 14},
        {IDD_SENDING_SYSTEM, IDCANCEL, 39, 26, 32, 14},
        {IDD_GETTING_MOTION, 1001, 4, 30, 60, 9},
        {IDD_COMPLETE, IDOK, 27, 33, 33, 14},
    };
    for (const CExpect& e : expected) {
        const CDlgTemplate& t = GetTransferTemplate(e.nTemplate);
        const auto it =
            std::find_if(t.items.begin(), t.items.end(), [&](const CDlgItem& i) { return i.nId == e.nId; });
        ASSERT_NE(it, t.items.end()) << e.nTemplate << " " << e.nId;
        EXPECT_EQ((std::array<int, 4>{it->x, it->y, it->cx, it->cy}),
                  (std::array<int, 4>{e.x, e.y, e.cx, e.cy}))
            << e.nTemplate << " " << e.nId;
    }
    // The system progress dialogs show no text; "Complete!" has no caption.
    for (int nId : {IDD_GETTING_SYSTEM, IDD_SENDING_SYSTEM}) {
        const CDlgTemplate& t = GetTransferTemplate(nId);
        EXPECT_TRUE(
            std::none_of(t.items.begin(), t.items.end(), [](const CDlgItem& i) { return i.nId == 1000; }));
    }
    EXPECT_EQ(GetTransferTemplate(IDD_COMPLETE).szCaption, nullptr);
    EXPECT_EQ((std::array<int, 2>{GetTransferTemplate(IDD_SEND_SYSTEM).cx,
                                  GetTransferTemplate(IDD_SEND_SYSTEM).cy}),
              (std::array<int, 2>{115, 86}));
    EXPECT_EQ((std::array<int, 2>{GetTransferTemplate(IDD_GETTING_SYSTEM).cx,
                                  GetTransferTemplate(IDD_GETTING_SYSTEM).cy}),
              (std::array<int, 2>{110, 60}));
}

} // namespace
} // namespace vantorel::test
