// Patterns and motions: the value step, 231-byte packets, the end of an item
// by a short packet or by two silences, the stall in the value step, packet
// splitting on Send, and a Send that starts again after a Cancel.
#include <algorithm>

#include "TransferFixture.h"
#include "data/MotionDoc.h"
#include "data/PatternDoc.h"
#include "res/Strings.h"
#include "transfer/MotionTransfer.h"
#include "transfer/PatternTransfer.h"

namespace vantorel::test {
namespace {

const Bytes kPacketSize = Wire(0, 0, 0x01, 0x67); // 231

std::vector<size_t> InLengths(const CRecordingService& recorder)
{
    std::vector<size_t> out;
    for (const CWireEvent& e : recorder.m_events)
        if (e.kind == CWireEvent::In)
            out.push_back(e.bytes.size());
    return out;
}

// Close and open events between the n-th and the (n+1)-th outgoing message.
std::vector<CWireEvent::Kind> PortEventsAfterMessage(const CRecordingService& recorder, int n)
{
    std::vector<CWireEvent::Kind> out;
    int nOut = 0;
    for (const CWireEvent& e : recorder.m_events) {
        if (e.kind == CWireEvent::Out && ++nOut == n + 1)
            break;
        if (nOut == n && (e.kind == CWireEvent::InClose || e.kind == CWireEvent::OutClose ||
                          e.kind == CWireEvent::OutOpen || e.kind == CWireEvent::InOpen))
            out.push_back(e.kind);
    }
    return out;
}

const std::vector<CWireEvent::Kind> kReopen = {CWireEvent::InClose, CWireEvent::OutClose, CWireEvent::OutOpen,
                                               CWireEvent::InOpen};

TEST_F(TransferTest, PatternGetOfOneItemReadsItsValueThenPacketsUntilAShortOne)
{
    ASSERT_EQ(m_device.Pattern(2).m_data.size(), 240u);
    CPatternDoc doc;
    CGetPatternDlg dlg;
    dlg.SetPlan(PatternKind().MakeGetPlan(doc, 2));
    EXPECT_EQ(Run(dlg), IDOK);

    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(AddressOf(sent[0]), Wire(0, 0, 0x10, 0x02));
    EXPECT_EQ(SizeOf(sent[0]), Wire(0, 0, 0, 1));
    EXPECT_EQ(AddressOf(sent[1]), Wire(0x08, 0x02, 0x00, 0x00));
    EXPECT_EQ(SizeOf(sent[1]), kPacketSize);
    EXPECT_EQ(AddressOf(sent[2]), Wire(0x08, 0x02, 0x01, 0x67));
    EXPECT_EQ(SizeOf(sent[2]), kPacketSize);
    EXPECT_EQ(InLengths(*m_pRecorder), (std::vector<size_t>{13, 243, 21}));

    EXPECT_EQ(doc.m_aPattern[2].GetBytes(), m_device.Pattern(2).m_data);
    EXPECT_EQ(doc.m_aPattern[2].m_byValue, m_device.Pattern(2).m_nValue);
    const CPatternDoc initial;
    for (int n = 0; n < 48; ++n) {
        if (n != 2) {
            EXPECT_EQ(doc.m_aPattern[size_t(n)], initial.m_aPattern[size_t(n)]) << n;
        }
    }
    // No time-out was needed: only the closing pause.
    EXPECT_EQ(m_clock.NowUs(), 100'000);
    EXPECT_EQ(dlg.m_progress.GetProgressText(), "Pattern 3");
    EXPECT_EQ(dlg.m_progress.GetProgressPos(), 100);
    EXPECT_EQ(m_nCompleteShown, 0);
}

TEST_F(TransferTest, PatternItemEndingOnAFullPacketEndsAfterTwoSilences)
{
    m_device.Pattern(5).m_data = Filled(231, 4);
    m_device.Pattern(5).m_nValue = 9;
    CPatternDoc doc;
    CGetPatternDlg dlg;
    dlg.SetPlan(PatternKind().MakeGetPlan(doc, 5));
    EXPECT_EQ(Run(dlg), IDOK);

    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(AddressOf(sent[1]), Wire(0x08, 0x05, 0x00, 0x00));
    EXPECT_EQ(AddressOf(sent[2]), Wire(0x08, 0x05, 0x01, 0x67));
    EXPECT_EQ(sent[3], sent[2]); // asked again once, with the ports reopened
    EXPECT_EQ(PortEventsAfterMessage(*m_pRecorder, 3), kReopen);
    const auto outs = m_pRecorder->Times(CWireEvent::Out);
    EXPECT_EQ(outs[3] - outs[2], 1'000'000);
    EXPECT_EQ(m_clock.NowUs(), outs[3] + 1'000'000 + 100'000);
    EXPECT_EQ(doc.m_aPattern[5].GetBytes(), m_device.Pattern(5).m_data);
    EXPECT_EQ(doc.m_aPattern[5].m_byValue, 9);
    EXPECT_EQ(m_nCompleteShown, 0);
}

TEST_F(TransferTest, PatternGetStallsOnASilentValueUntilCancel)
{
    m_device.Faults().m_nDropEvery = 1;
    CPatternDoc doc;
    CGetPatternDlg dlg;
    dlg.SetPlan(PatternKind().MakeGetPlan(doc, 0));
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(10'000);
        EXPECT_FALSE(dlg.IsEnded());
        dlg.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 2u); // the value, and once more after a second
    EXPECT_EQ(sent[0], BuildDataRequest(0x800, 1));
    EXPECT_EQ(sent[1], sent[0]);
    EXPECT_EQ(PortEventsAfterMessage(*m_pRecorder, 1), kReopen);
    EXPECT_EQ(m_nCompleteShown, 0);
    EXPECT_FALSE(m_pSim->IsInOpen());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
}

TEST_F(TransferTest, PatternAndMotionBankGetsFetchEveryItem)
{
    {
        CPatternDoc doc;
        CGetPatternDlg dlg;
        dlg.SetPlan(PatternKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        for (int n = 0; n < 48; ++n) {
            EXPECT_EQ(doc.m_aPattern[size_t(n)].GetBytes(), m_device.Pattern(n).m_data) << n;
            EXPECT_EQ(doc.m_aPattern[size_t(n)].m_byValue, m_device.Pattern(n).m_nValue) << n;
        }
        EXPECT_EQ(dlg.m_progress.GetProgressText(), "Pattern 48");
        EXPECT_EQ(m_nCompleteShown, 1);
    }
    m_pRecorder->m_events.clear();
    {
        CMotionDoc doc;
        CGetMotionDlg dlg;
        dlg.SetPlan(MotionKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent[0], BuildDataRequest(0x1000, 1));
        for (int m = 0; m < 4; ++m) {
            EXPECT_EQ(doc.m_aMotion[size_t(m)].GetBytes(), m_device.Motion(m).m_data) << m;
            EXPECT_EQ(doc.m_aMotion[size_t(m)].m_byValue, m_device.Motion(m).m_nValue) << m;
        }
        EXPECT_EQ(dlg.m_progress.GetProgressText(), "Motion 4");
        EXPECT_EQ(m_nCompleteShown, 2);
    }
}

// A lost answer followed by a damaged repeat is two failures, not two
// silences: the item must neither end early nor stall on its value.
TEST_F(TransferTest, LostThenDamagedAnswersNeitherCutNorStallAnItem)
{
    m_device.Faults().m_nDropEvery = 3;    // answers 3, 6, 9, ... never arrive
    m_device.Faults().m_nCorruptEvery = 4; // answers 4, 8, 12, ... arrive damaged
    {
        CPatternDoc doc;
        CGetPatternDlg dlg;
        dlg.SetPlan(PatternKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        for (int n = 0; n < 48; ++n) {
            EXPECT_EQ(doc.m_aPattern[size_t(n)].GetBytes(), m_device.Pattern(n).m_data) << n;
            EXPECT_EQ(doc.m_aPattern[size_t(n)].m_byValue, m_device.Pattern(n).m_nValue) << n;
        }
        EXPECT_EQ(m_nCompleteShown, 1);
    }
    {
        CMotionDoc doc;
        CGetMotionDlg dlg;
        dlg.SetPlan(MotionKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        for (int m = 0; m < 4; ++m) {
            EXPECT_EQ(doc.m_aMotion[size_t(m)].GetBytes(), m_device.Motion(m).m_data) << m;
            EXPECT_EQ(doc.m_aMotion[size_t(m)].m_byValue, m_device.Motion(m).m_nValue) << m;
        }
        EXPECT_EQ(m_nCompleteShown, 2);
    }
}

TEST_F(TransferTest, MotionSendSplitsEachItemIntoValueAndPackets)
{
    CMotionDoc doc;
    const std::array<size_t, 4> sizes = {500, 0, 231, 17};
    for (size_t m = 0; m < 4; ++m) {
        doc.m_aMotion[m].SetData(Filled(sizes[m], uint8_t(m + 1)));
        doc.m_aMotion[m].m_byValue = uint8_t(5 + m);
    }
    CSendMotionDlg dlg;
    dlg.SetPlan(MotionKind().MakeSendPlan(doc, -1));
    EXPECT_EQ(Run(dlg), IDOK);
    ASSERT_EQ(m_pBoxes->m_texts.size(), 1u);
    EXPECT_EQ(m_pBoxes->m_texts[0], res::kConfirmSend);

    auto value = [&](int m) {
        return BuildDataSet(0x1000 + uint32_t(m), &doc.m_aMotion[size_t(m)].m_byValue, 1);
    };
    auto packet = [&](int m, uint32_t address, size_t from, size_t n) {
        return BuildDataSet(address, doc.m_aMotion[size_t(m)].GetData() + from, n);
    };
    const std::vector<Bytes> expected = {
        value(0),
        packet(0, 0x1200000, 0, 231),
        packet(0, 0x12000E7, 231, 231),
        packet(0, 0x12001CE, 462, 38),
        value(1),
        BuildDataSet(0x1300000, nullptr, 0),
        value(2),
        packet(2, 0x1400000, 0, 231),
        value(3),
        packet(3, 0x1500000, 0, 17),
    };
    const std::vector<Bytes> sent = Sent();
    EXPECT_EQ(sent, expected);
    ASSERT_EQ(sent.size(), expected.size());
    EXPECT_EQ(AddressOf(sent[1]), Wire(0x09, 0x00, 0x00, 0x00));
    EXPECT_EQ(AddressOf(sent[2]), Wire(0x09, 0x00, 0x01, 0x67));
    EXPECT_EQ(AddressOf(sent[3]), Wire(0x09, 0x00, 0x03, 0x4E));
    EXPECT_EQ(AddressOf(sent[4]), Wire(0x00, 0x00, 0x20, 0x01));
    EXPECT_EQ(sent[5].size(), 12u);
    EXPECT_EQ(AddressOf(sent[5]), Wire(0x09, 0x40, 0x00, 0x00));
    EXPECT_EQ(AddressOf(sent[7]), Wire(0x0A, 0x00, 0x00, 0x00));
    EXPECT_EQ(AddressOf(sent[9]), Wire(0x0A, 0x40, 0x00, 0x00));
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(m_device.Motion(m).m_data, doc.m_aMotion[size_t(m)].GetBytes()) << m;
        EXPECT_EQ(m_device.Motion(m).m_nValue, doc.m_aMotion[size_t(m)].m_byValue) << m;
    }
    EXPECT_EQ(m_nCompleteShown, 1);
}

TEST_F(TransferTest, PatternSendAfterACancelStartsWithTheItemsFirstByte)
{
    CPatternDoc doc;
    doc.m_aPattern[3].SetData(Filled(500, 0x40));
    CSendPatternDlg dlg;
    dlg.SetPlan(PatternKind().MakeSendPlan(doc, 3));
    // Cancelled once the value and the first packet have left.
    m_onTransfer = [&](CTransferDlg&) {
        ASSERT_TRUE(m_clock.RunUntil([&] { return Count(CWireEvent::OutDone) == 2; }));
        dlg.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_EQ(Sent().size(), 2u);
    m_clock.AdvanceMs(1000);
    EXPECT_EQ(Sent().size(), 2u);

    // The same dialog once more, to the end.
    m_pRecorder->m_events.clear();
    m_onTransfer = nullptr;
    EXPECT_EQ(Run(dlg), IDOK);
    const CPatternEntry& item = doc.m_aPattern[3];
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], BuildDataSet(0x803, &item.m_byValue, 1));
    EXPECT_EQ(sent[1], BuildDataSet(0x1000000 + 3 * 0x4000, item.GetData(), 231));
    EXPECT_EQ(AddressOf(sent[1]), Wire(0x08, 0x03, 0x00, 0x00));
    EXPECT_EQ(AddressOf(sent[2]), Wire(0x08, 0x03, 0x01, 0x67));
    EXPECT_EQ(DataOf(sent[2]), Bytes(item.GetData() + 231, item.GetData() + 462));
    EXPECT_EQ(AddressOf(sent[3]), Wire(0x08, 0x03, 0x03, 0x4E));
    EXPECT_EQ(DataOf(sent[3]).size(), 38u);
    EXPECT_EQ(m_device.Pattern(3).m_data, item.GetBytes());
    EXPECT_EQ(m_nCompleteShown, 0);
}

} // namespace
} // namespace vantorel::test
