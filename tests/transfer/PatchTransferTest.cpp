// Get Patch and Send Patch against the simulator: the exact bytes, the order
// and timing of requests, what lands in the documents, retries, Cancel, and
// answers that are not what was asked for.
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "TransferFixture.h"
#include "data/EntryName.h"
#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "data/PerformRecord.h"
#include "res/Strings.h"
#include "transfer/PatchTransfer.h"
#include "transfer/plans/PerformPlan.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

bool Same(const CPatchRecord& record, const uint8_t* pBytes)
{
    return std::equal(record.m_data.begin(), record.m_data.end(), pBytes);
}

// Wire address of user patch i: 02, i / 64, 2 (i mod 64), 00.
Bytes PatchWire(int i)
{
    return Wire(0x02, uint32_t(i / 64), uint32_t(i % 64 * 2), 0x00);
}

TEST_F(TransferTest, PatchBankGetAsksEachPatchOnceAndStoresTheSynthesizersMemory)
{
    m_pSim->SetWireSpeed(true);
    CPatchDoc doc;
    CHintRecorder view;
    doc.AddView(&view);
    CGetPatchDlg dlg;
    dlg.m_strDevices = "MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tKQ-3300 Simulator";
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));

    EXPECT_EQ(Run(dlg), IDOK);

    ASSERT_EQ(m_pBoxes->m_texts.size(), 1u);
    EXPECT_EQ(m_pBoxes->m_texts[0], res::kConfirmGet);
    EXPECT_EQ(m_pBoxes->m_types[0], unsigned(MB_OKCANCEL));
    // The preview note is stopped before any port is opened.
    ASSERT_FALSE(m_pRecorder->m_events.empty());
    EXPECT_EQ(m_pRecorder->m_events.front().kind, CWireEvent::StopPreview);

    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 128u);
    EXPECT_EQ(sent[0], (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x11, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
                              0x6F, 0x0E, 0xF7}));
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(AddressOf(sent[size_t(i)]), PatchWire(i)) << i;
        EXPECT_EQ(SizeOf(sent[size_t(i)]), Wire(0, 0, 0x01, 0x6F)) << i;
        EXPECT_TRUE(Same(doc.m_aPatch[size_t(i)], m_device.Patch(i).data())) << i;
    }
    EXPECT_EQ(PatchWire(127), Wire(0x02, 0x01, 0x7E, 0x00));

    // Each row is repainted as its patch arrives.
    ASSERT_EQ(view.m_rects.size(), 128u);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(view.m_rects[size_t(i)], doc.GetRowRect(i));

    // The next request leaves as soon as the answer has been stored.
    const auto ins = m_pRecorder->Times(CWireEvent::In);
    const auto outs = m_pRecorder->Times(CWireEvent::Out);
    ASSERT_EQ(ins.size(), 128u);
    for (size_t i = 0; i + 1 < outs.size(); ++i)
        EXPECT_EQ(outs[i + 1], ins[i]) << i;
    // 128 requests of 16 and answers of 251 bytes at 320 us a byte, then the 100 ms pause.
    EXPECT_EQ(m_clock.NowUs(), 128 * 267 * 320 + 100'000);

    EXPECT_EQ(m_nCompleteShown, 1);
    EXPECT_FALSE(m_pSim->IsInOpen());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    EXPECT_EQ(dlg.m_progress.GetProgressText(), "B88: " + CSimDevice::GetName(m_device.Patch(127).data()));

    // The text is drawn on white in the text box.
    QLabel* pText = dlg.m_progress.GetStatic(1000);
    ASSERT_NE(pText, nullptr);
    const QRect box = pText->contentsRect();
    const QImage image = pText->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(QColor(image.pixel(box.left(), box.bottom())), QColor(Qt::white));
    bool bInk = false;
    for (int x = box.left() + 5; x <= box.right() && !bInk; ++x)
        for (int y = box.top(); y <= box.bottom() && !bInk; ++y)
            bInk = QColor(image.pixel(x, y)) != QColor(Qt::white);
    EXPECT_TRUE(bInk);
    doc.RemoveView(&view);
}

TEST_F(TransferTest, PatchSingleAndPerformancePartGetsAskForOneAddressAndWriteOneRecord)
{
    {
        CPatchDoc doc;
        CGetPatchDlg dlg;
        dlg.SetPlan(PatchKind().MakeGetPlan(doc, 70));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(AddressOf(sent[0]), Wire(0x02, 0x01, 0x0C, 0x00));
        EXPECT_TRUE(Same(doc.m_aPatch[70], m_device.Patch(70).data()));
        for (int i = 0; i < 128; ++i) {
            if (i != 70) {
                EXPECT_EQ(doc.m_aPatch[size_t(i)], CPatchRecord()) << i;
            }
        }
        EXPECT_EQ(m_nCompleteShown, 0);
        EXPECT_EQ(dlg.m_progress.GetProgressText(), "B17: " + CSimDevice::GetName(m_device.Patch(70).data()));
    }
    m_pRecorder->m_events.clear();
    {
        CPerformDoc performances;
        const CPerformRecord& perform = performances.m_aPerform[5];
        CGetPatchDlg dlg;
        dlg.SetPlan(PerformanceKind().MakeInnerGetPlan(performances, 5, 1));
        EXPECT_EQ(Run(dlg), IDOK);
        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(AddressOf(sent[0]), Wire(0x03, 0x05, 0x42, 0x00));
        EXPECT_EQ(SizeOf(sent[0]), Wire(0, 0, 0x01, 0x6F));
        const uint8_t* pSecond = m_device.Performance(5).data() + CPerformRecord::kSecondPatchOffset;
        EXPECT_TRUE(Same(perform.m_aPatch[1], pSecond));
        EXPECT_EQ(perform.m_aPatch[0], CPatchRecord());
        EXPECT_EQ(dlg.m_progress.GetProgressText(), "A11: " + CSimDevice::GetName(pSecond));
        EXPECT_EQ(m_nCompleteShown, 0);
    }
}

TEST_F(TransferTest, PatchGetAsksASilentSynthesizerAgainEverySecondWithBothPortsReopened)
{
    m_device.Faults().m_nDropEvery = 1;
    CPatchDoc doc;
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    int nAddBuffers = -1;
    m_onTransfer = [&](CTransferDlg&) {
        // A buffer given back empty (as after a reset) is neither stored nor
        // queued again, and does not stop the time-out.
        m_clock.AdvanceMs(500);
        const int nBefore = Count(CWireEvent::InAddBuffer);
        uint8_t data[4] = {};
        MIDIHDR empty{data, sizeof data, 0, 0, 0};
        dlg.m_progress.m_run.OnMidiInLongData(dlg.m_progress.m_run.m_midiIn.m_hMidiIn, &empty);
        nAddBuffers = Count(CWireEvent::InAddBuffer) - nBefore;
        m_clock.AdvanceMs(5000);
        EXPECT_FALSE(dlg.IsEnded());
        dlg.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_EQ(nAddBuffers, 0);

    const auto outs = m_pRecorder->Times(CWireEvent::Out);
    ASSERT_EQ(outs.size(), 6u); // at 0, 1, 2, 3, 4 and 5 s
    for (size_t i = 0; i + 1 < outs.size(); ++i)
        EXPECT_EQ(outs[i + 1] - outs[i], 1'000'000) << i;
    for (const Bytes& msg : Sent())
        EXPECT_EQ(msg, Sent()[0]);
    // Between two requests: input closed, output closed, output opened, input opened.
    std::vector<CWireEvent::Kind> between;
    int nOut = 0;
    for (const CWireEvent& e : m_pRecorder->m_events) {
        if (e.kind == CWireEvent::Out && ++nOut == 3)
            break;
        if (nOut == 2 && (e.kind == CWireEvent::InClose || e.kind == CWireEvent::OutClose ||
                          e.kind == CWireEvent::OutOpen || e.kind == CWireEvent::InOpen))
            between.push_back(e.kind);
    }
    EXPECT_EQ(between, (std::vector<CWireEvent::Kind>{CWireEvent::InClose, CWireEvent::OutClose,
                                                      CWireEvent::OutOpen, CWireEvent::InOpen}));
    EXPECT_EQ(m_nCompleteShown, 0);
    EXPECT_FALSE(m_pSim->IsInOpen());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    for (const CPatchRecord& record : doc.m_aPatch)
        EXPECT_EQ(record, CPatchRecord());
}

TEST_F(TransferTest, PatchGetCancelledAfterTenAnswersKeepsThemAndStopsTalking)
{
    CPatchDoc doc;
    CHintRecorder view;
    doc.AddView(&view);
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    m_onTransfer = [&](CTransferDlg& owner) {
        ASSERT_TRUE(m_clock.RunUntil([&] { return view.m_rects.size() == 10; }));
        // The Get dialog's own buttons do nothing during the transfer.
        EXPECT_FALSE(owner.GetButton(IDOK)->isEnabled());
        EXPECT_FALSE(owner.GetButton(IDCANCEL)->isEnabled());
        owner.ClickButton(IDCANCEL);
        EXPECT_FALSE(owner.IsEnded());
        dlg.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    const size_t nSent = Sent().size();
    m_clock.AdvanceMs(5000);
    EXPECT_EQ(Sent().size(), nSent);
    for (int i = 0; i < 128; ++i) {
        if (i < 10) {
            EXPECT_TRUE(Same(doc.m_aPatch[size_t(i)], m_device.Patch(i).data())) << i;
        } else {
            EXPECT_EQ(doc.m_aPatch[size_t(i)], CPatchRecord()) << i;
        }
    }
    EXPECT_EQ(m_nCompleteShown, 0);
    EXPECT_FALSE(m_pSim->IsInOpen());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    doc.RemoveView(&view);
}

TEST_F(TransferTest, PatchBankSendPacesEachDataSetAndFillsTheSynthesizer)
{
    m_pSim->SetWireSpeed(true);
    CPatchDoc doc;
    for (int i = 0; i < 128; ++i) {
        const Bytes b = Filled(CPatchRecord::kSize, uint8_t(i));
        std::copy(b.begin(), b.end(), doc.m_aPatch[size_t(i)].Data());
    }
    CSendPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeSendPlan(doc, -1));
    EXPECT_EQ(Run(dlg), IDOK);

    ASSERT_EQ(m_pBoxes->m_texts.size(), 1u);
    EXPECT_EQ(m_pBoxes->m_texts[0], res::kConfirmSend);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 128u);
    for (int i = 0; i < 128; ++i) {
        const CPatchRecord& r = doc.m_aPatch[size_t(i)];
        EXPECT_EQ(sent[size_t(i)], BuildDataSet(0x400000 + uint32_t(i) * 0x100, r.Data(), r.kSize)) << i;
        EXPECT_EQ(sent[size_t(i)].size(), 251u);
        EXPECT_TRUE(Same(r, m_device.Patch(i).data())) << i;
    }
    // 100 ms after the start, then 100 ms after each data set has left the port.
    const auto outs = m_pRecorder->Times(CWireEvent::Out);
    const auto dones = m_pRecorder->Times(CWireEvent::OutDone);
    ASSERT_EQ(dones.size(), 128u);
    EXPECT_EQ(outs[0], 100'000);
    for (size_t i = 0; i < 128; ++i) {
        EXPECT_EQ(dones[i] - outs[i], 251 * 320) << i;
        if (i + 1 < 128) {
            EXPECT_EQ(outs[i + 1] - dones[i], 100'000) << i;
        }
    }
    EXPECT_EQ(m_clock.NowUs(), 100'000 + 128 * (251 * 320 + 100'000));
    EXPECT_EQ(m_nCompleteShown, 1);
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    EXPECT_EQ(Count(CWireEvent::InOpen), 0); // a Send needs no input
}

TEST_F(TransferTest, PatchGetTakesOnlyVerifiedAnswersForTheAddressAskedFor)
{
    // Strays go first now and then, some answers are corrupted: the bank
    // still ends up exactly as the synthesizer holds it.
    m_device.Faults().m_nStrayEvery = 3;
    m_device.Faults().m_nCorruptEvery = 7;
    {
        CPatchDoc doc;
        CGetPatchDlg dlg;
        dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(dlg), IDOK);
        for (int i = 0; i < 128; ++i)
            EXPECT_TRUE(Same(doc.m_aPatch[size_t(i)], m_device.Patch(i).data())) << i;
        EXPECT_GT(Sent().size(), 128u); // each corrupted answer was asked for again
        EXPECT_GT(m_pRecorder->Count(CWireEvent::In), int(Sent().size()));
        EXPECT_EQ(m_nCompleteShown, 1);
    }
    m_device.Faults() = CSimFaults{};
    m_pRecorder->m_events.clear();

    // An answer longer or shorter than a patch is damaged: it is waited past
    // and the patch asked for again, so the record gets the whole patch.
    auto getWithAnswer = [&](CPatchDoc& doc, int nIndex, const Bytes& body) {
        m_pRecorder->m_onEvent = [&, nIndex, body](const CWireEvent& e) {
            if (e.kind == CWireEvent::Out && Sent().size() == 1)
                m_pSim->SendFromDevice(
                    BuildDataSet(0x400000 + uint32_t(nIndex) * 0x100, body.data(), body.size()));
        };
        CGetPatchDlg dlg;
        dlg.SetPlan(PatchKind().MakeGetPlan(doc, nIndex));
        EXPECT_EQ(Run(dlg), IDOK);
        m_pRecorder->m_onEvent = nullptr;
        m_pRecorder->m_events.clear();
    };
    CPatchDoc doc;
    const Bytes longBody = Filled(300, 0x11);
    getWithAnswer(doc, 5, longBody);
    EXPECT_TRUE(Same(doc.m_aPatch[5], m_device.Patch(5).data()));
    EXPECT_EQ(doc.m_aPatch[6], CPatchRecord());
    EXPECT_EQ(doc.m_aPatch[4], CPatchRecord());

    const Bytes shortBody = Filled(100, 0x22);
    getWithAnswer(doc, 6, shortBody);
    EXPECT_TRUE(Same(doc.m_aPatch[6], m_device.Patch(6).data()));
    EXPECT_EQ(doc.m_aPatch[7], CPatchRecord());
}

TEST_F(TransferTest, DeclinedQuestionAndCancelOpenNothing)
{
    // Declined: the dialog closes with IDOK and no port is touched.
    m_pBoxes->m_nAnswer = IDCANCEL;
    {
        CPatchDoc doc;
        CGetPatchDlg get;
        get.SetPlan(PatchKind().MakeGetPlan(doc, -1));
        EXPECT_EQ(Run(get), IDOK);
        CSendPatchDlg send;
        send.SetPlan(PatchKind().MakeSendPlan(doc, -1));
        EXPECT_EQ(Run(send), IDOK);
        EXPECT_EQ(m_pBoxes->m_texts, (std::vector<std::string>{res::kConfirmGet, res::kConfirmSend}));
    }
    EXPECT_TRUE(m_pRecorder->m_events.empty());

    // The dialog's own Cancel before START: IDCANCEL.
    m_bPressStart = false;
    auto previous = CDialogTestPeer::SetModalHook([](CDialog* pDlg) { pDlg->ClickButton(IDCANCEL); });
    CPatchDoc doc;
    CGetPatchDlg get;
    get.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    EXPECT_EQ(Run(get), IDCANCEL);
    CDialogTestPeer::SetModalHook(previous);
    EXPECT_TRUE(m_pRecorder->m_events.empty());
}

} // namespace
} // namespace vantorel::test
