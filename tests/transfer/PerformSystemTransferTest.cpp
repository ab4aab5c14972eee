// Performances (five blocks each) and the system blocks: request order,
// progress bar, where each answer lands, and what stays untouched.
#include <algorithm>
#include <array>

#include "TransferFixture.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "transfer/PerformTransfer.h"
#include "transfer/SystemTransfer.h"

namespace vantorel::test {
namespace {

bool Same(const CPerformRecord& record, const CPerformanceBytes& bytes)
{
    return std::equal(bytes.begin(), bytes.end(), record.Data());
}

TEST_F(TransferTest, PerformanceBankGetAsksFiveBlocksEachAndWritesWholeRecords)
{
    CPerformDoc doc;
    CHintRecorder view;
    doc.AddView(&view);
    CGetPerformanceDlg dlg;
    dlg.SetPlan(PerformanceKind().MakeGetPlan(doc, -1));
    std::vector<int> bar;
    m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
        if (e.kind == CWireEvent::Out)
            bar.push_back(dlg.m_progress.GetProgressPos());
    };
    EXPECT_EQ(Run(dlg), IDOK);

    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 320u);
    EXPECT_EQ(AddressOf(sent[0]), Wire(0x03, 0x00, 0x00, 0x00));
    EXPECT_EQ(SizeOf(sent[0]), Wire(0, 0, 0, 36));
    EXPECT_EQ(AddressOf(sent[1]), Wire(0x03, 0x00, 0x10, 0x00));
    EXPECT_EQ(SizeOf(sent[1]), Wire(0, 0, 0, 7));
    EXPECT_EQ(AddressOf(sent[2]), Wire(0x03, 0x00, 0x11, 0x00));
    EXPECT_EQ(SizeOf(sent[2]), Wire(0, 0, 0, 7));
    const std::array<Bytes, 5> blocks = {Wire(0, 0, 0, 0), Wire(0, 0, 0x10, 0), Wire(0, 0, 0x11, 0),
                                         Wire(0, 0, 0x40, 0), Wire(0, 0, 0x42, 0)};
    for (size_t k = 0; k < sent.size(); ++k) {
        Bytes expected = blocks[k % 5];
        expected[0] = 0x03;
        expected[1] = uint8_t(k / 5);
        EXPECT_EQ(AddressOf(sent[k]), expected) << k;
    }
    for (int p = 0; p < 64; ++p)
        EXPECT_TRUE(Same(doc.m_aPerform[size_t(p)], m_device.Performance(p))) << p;

    // The bar moves 0, 25, 50, 75, 100 for every performance.
    ASSERT_EQ(bar.size(), 320u);
    const std::array<int, 5> steps = {0, 25, 50, 75, 100};
    for (size_t k = 1; k < bar.size(); ++k)
        EXPECT_EQ(bar[k], steps[(k - 1) % 5]) << k;
    EXPECT_EQ(dlg.m_progress.GetProgressPos(), 100);

    // One repaint per performance, name and both patches.
    ASSERT_EQ(view.m_rects.size(), 64u);
    for (int p = 0; p < 64; ++p)
        EXPECT_EQ(view.m_rects[size_t(p)], (CRect{22, 32 * p, 262, 32 * (p + 1)}));
    EXPECT_EQ(dlg.m_progress.GetProgressText(),
              "88: " + CSimDevice::GetName(m_device.Performance(63).data()));
    EXPECT_EQ(m_nCompleteShown, 1);
    doc.RemoveView(&view);
}

TEST_F(TransferTest, PerformanceSingleGetAndInterruptedOrOversizedAnswers)
{
    {
        CPerformDoc doc;
        CGetPerformanceDlg dlg;
        dlg.SetPlan(PerformanceKind().MakeGetPlan(doc, 9));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 5u);
        EXPECT_EQ(AddressOf(sent[0]), Wire(0x03, 0x09, 0x00, 0x00));
        EXPECT_EQ(AddressOf(sent[4]), Wire(0x03, 0x09, 0x42, 0x00));
        EXPECT_EQ(SizeOf(sent[4]), Wire(0, 0, 0x01, 0x6F));
        for (int p = 0; p < 64; ++p) {
            if (p == 9) {
                EXPECT_TRUE(Same(doc.m_aPerform[9], m_device.Performance(9)));
            } else {
                EXPECT_EQ(doc.m_aPerform[size_t(p)], CPerformRecord()) << p;
            }
        }
        EXPECT_EQ(m_nCompleteShown, 0);
    }

    // Cancelled after three of its five answers: the record is untouched.
    m_pRecorder->m_events.clear();
    {
        CPerformDoc doc;
        CGetPerformanceDlg dlg;
        dlg.SetPlan(PerformanceKind().MakeGetPlan(doc, -1));
        m_onTransfer = [&](CTransferDlg&) {
            ASSERT_TRUE(m_clock.RunUntil([&] { return Count(CWireEvent::InData) == 3; }));
            dlg.m_progress.ClickButton(IDCANCEL);
        };
        EXPECT_EQ(Run(dlg), IDOK);
        m_onTransfer = nullptr;
        EXPECT_EQ(doc.m_aPerform[0], CPerformRecord());
        EXPECT_EQ(m_nCompleteShown, 0);
        EXPECT_FALSE(m_pSim->IsInOpen());
    }

    // A common block answer of 60 bytes is damaged: waited past and asked
    // again, so every block comes from its own whole answer.
    m_pRecorder->m_events.clear();
    {
        const Bytes oversized = Filled(60, 0x33);
        m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
            if (e.kind == CWireEvent::Out && Sent().size() == 1)
                m_pSim->SendFromDevice(
                    BuildDataSet(0x600000 + 2 * 0x4000, oversized.data(), oversized.size()));
        };
        CPerformDoc doc;
        CGetPerformanceDlg dlg;
        dlg.SetPlan(PerformanceKind().MakeGetPlan(doc, 2));
        EXPECT_EQ(Run(dlg), IDOK);
        m_pRecorder->m_onEvent = nullptr;
        const CPerformanceBytes& sim = m_device.Performance(2);
        EXPECT_TRUE(std::equal(sim.begin(), sim.end(), doc.m_aPerform[2].Data()));
        EXPECT_EQ(doc.m_aPerform[3], CPerformRecord());
    }
}

TEST_F(TransferTest, PerformanceBankSendPausesAfterEveryBlock)
{
    m_pSim->SetWireSpeed(true);
    CPerformDoc doc;
    for (int p = 0; p < 64; ++p) {
        const Bytes b = Filled(CPerformRecord::kSize, uint8_t(p * 3));
        std::copy(b.begin(), b.end(), doc.m_aPerform[size_t(p)].Data());
    }
    CSendPerformanceDlg dlg;
    dlg.SetPlan(PerformanceKind().MakeSendPlan(doc, -1));
    EXPECT_EQ(Run(dlg), IDOK);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 320u);
    const std::array<std::pair<size_t, size_t>, 5> blocks = {
        {{0, 36}, {36, 7}, {43, 7}, {50, 239}, {289, 239}}};
    const std::array<uint32_t, 5> offsets = {0, 0x800, 0x880, 0x2000, 0x2100};
    for (size_t k = 0; k < sent.size(); ++k) {
        const size_t p = k / 5;
        const auto [nOffset, nSize] = blocks[k % 5];
        EXPECT_EQ(sent[k], BuildDataSet(0x600000 + uint32_t(p) * 0x4000 + offsets[k % 5],
                                        doc.m_aPerform[p].Data() + nOffset, nSize))
            << k;
    }
    for (int p = 0; p < 64; ++p)
        EXPECT_TRUE(Same(doc.m_aPerform[size_t(p)], m_device.Performance(p))) << p;
    const auto outs = m_pRecorder->Times(CWireEvent::Out);
    const auto dones = m_pRecorder->Times(CWireEvent::OutDone);
    ASSERT_EQ(dones.size(), 320u);
    for (size_t k = 0; k + 1 < outs.size(); ++k)
        EXPECT_EQ(outs[k + 1] - dones[k], 100'000) << k;
    EXPECT_EQ(m_nCompleteShown, 1);
}

TEST_F(TransferTest, SystemGetsAskTheirBlocksAndWriteOnlyThem)
{
    // Whole system: parameters then Tx/Rx, and "Complete!".
    {
        CSystemDoc doc;
        doc.m_aSystem.fill(0x55);
        CGetSystemDlg dlg;
        dlg.SetPlan(SystemKind().MakeGetPlan(doc, -1));
        std::vector<int> bar;
        m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
            if (e.kind == CWireEvent::Out)
                bar.push_back(dlg.m_progress.GetProgressPos());
        };
        EXPECT_EQ(Run(dlg), IDOK);
        m_pRecorder->m_onEvent = nullptr;
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], BuildDataRequest(0, 23));
        EXPECT_EQ(sent[1], BuildDataRequest(0x1800, 42));
        EXPECT_EQ(AddressOf(sent[1]), Wire(0, 0, 0x30, 0));
        EXPECT_TRUE(std::equal(doc.m_aSystem.begin(), doc.m_aSystem.end(), m_device.System().begin()));
        EXPECT_EQ(bar, (std::vector<int>{25, 75}));
        EXPECT_EQ(dlg.m_progress.GetProgressPos(), 100);
        EXPECT_EQ(m_nCompleteShown, 1);
    }
    // Tx/Rx only: byte 6, then bytes 23 to 64; nothing else changes.
    m_pRecorder->m_events.clear();
    m_nCompleteShown = 0;
    {
        CSystemDoc doc;
        doc.m_aSystem.fill(0x55);
        CGetSystemDlg dlg;
        dlg.SetPlan(SystemKind().MakeGetPlan(doc, 1));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(AddressOf(sent[0]), Wire(0, 0, 0, 6));
        EXPECT_EQ(SizeOf(sent[0]), Wire(0, 0, 0, 1));
        EXPECT_EQ(AddressOf(sent[1]), Wire(0, 0, 0x30, 0));
        EXPECT_EQ(SizeOf(sent[1]), Wire(0, 0, 0, 42));
        for (size_t i = 0; i < doc.m_aSystem.size(); ++i) {
            const bool bTxRx = i == 6 || i >= 23;
            EXPECT_EQ(doc.m_aSystem[i], bTxRx ? m_device.System()[i] : 0x55) << i;
        }
        EXPECT_EQ(m_nCompleteShown, 0);
    }
    // Parameters only: one request, bytes 0 to 22; an answer carrying 40
    // bytes is damaged and waited past; the whole answer behind it is taken.
    for (const bool bOversized : {false, true}) {
        m_pRecorder->m_events.clear();
        const Bytes oversized = Filled(40, 0x21);
        if (bOversized) {
            m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
                if (e.kind == CWireEvent::Out)
                    m_pSim->SendFromDevice(BuildDataSet(0, oversized.data(), oversized.size()));
            };
        }
        CSystemDoc doc;
        doc.m_aSystem.fill(0x55);
        CGetSystemDlg dlg;
        dlg.SetPlan(SystemKind().MakeGetPlan(doc, 0));
        EXPECT_EQ(Run(dlg), IDOK);
        m_pRecorder->m_onEvent = nullptr;
        ASSERT_EQ(Sent().size(), 1u);
        EXPECT_EQ(Sent()[0], BuildDataRequest(0, 23));
        for (size_t i = 0; i < doc.m_aSystem.size(); ++i) {
            const uint8_t expected = i >= 23 ? 0x55 : m_device.System()[i];
            EXPECT_EQ(doc.m_aSystem[i], expected) << i;
        }
        EXPECT_EQ(m_nCompleteShown, 0);
    }
}

TEST_F(TransferTest, SystemSendsTheBlocksOfItsMode)
{
    CSystemDoc doc;
    const Bytes data = Filled(65, 9);
    std::copy(data.begin(), data.end(), doc.m_aSystem.begin());
    {
        CSendSystemDlg dlg;
        dlg.SetPlan(SystemKind().MakeSendPlan(doc, 1));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], BuildDataSet(6, &doc.m_aSystem[6], 1));
        EXPECT_EQ(sent[1], BuildDataSet(0x1800, &doc.m_aSystem[23], 42));
        EXPECT_EQ(m_nCompleteShown, 0);
    }
    m_pRecorder->m_events.clear();
    {
        CSendSystemDlg dlg;
        dlg.SetPlan(SystemKind().MakeSendPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], BuildDataSet(0, &doc.m_aSystem[0], 23));
        EXPECT_EQ(sent[1], BuildDataSet(0x1800, &doc.m_aSystem[23], 42));
        EXPECT_TRUE(std::equal(doc.m_aSystem.begin(), doc.m_aSystem.end(), m_device.System().begin()));
        EXPECT_EQ(m_nCompleteShown, 1);
    }
}

} // namespace
} // namespace vantorel::test
