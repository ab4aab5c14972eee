// The Send Data audition: the performance built from a patch, the five data
// sets with their pacing, the sending state, and port failures.
#include <cstring>

#include "ViewTestSupport.h"
#include "data/PatchDoc.h"
#include "transfer/StopPreview.h"
#include "transfer/plans/AuditionPlan.h"
#include "views/Audition.h"
#include "views/PatchView.h"

namespace vantorel::test {
namespace {

// The simulator with an output that fails a chosen long message.
class CFailingSimService : public CSimMidiService {
public:
    using CSimMidiService::CSimMidiService;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override
    {
        if (++m_nLong == m_nFailAt)
            return MMSYSERR_INVALPARAM;
        return CSimMidiService::OutLongMsg(h, pHdr);
    }
    int m_nFailAt = 0;
    int m_nLong = 0;
};

class AuditionTest : public CViewTest {
protected:
    void SetUp() override
    {
        CViewTest::SetUp();
        m_pView = OpenWindow<CPatchView, CPatchDoc>(&m_pDoc);
        SetSendDataSwitch(1);
    }
    void TearDown() override
    {
        SetStopPreviewHandler({});
        CViewTest::TearDown();
    }
    CPatchRecord& Rec(int i) { return m_pDoc->m_aPatch[size_t(i)]; }
    void ClickRow(int row, unsigned flags = 0) { Click(m_pView, 60, row * 16 + 6, flags); }

    CPatchDoc* m_pDoc = nullptr;
    CPatchView* m_pView = nullptr;
};

TEST(AuditionBuffer, APatchBecomesTheFirstPatchOfAnInitialPerformance)
{
    CPatchRecord patch;
    std::memcpy(patch.Data(), "Warm\0Pad 3      ", 16);
    patch.Data()[16] = 99;
    patch.Data()[238] = 7;
    CPerformRecord buffer;
    buffer.SetName("LEFT OVER");
    buffer.m_aPatch[1].Data()[3] = 1;
    CAuditionPlan::PerformanceFor(patch, buffer);

    // The name stops at the zero byte; spaces follow.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.Data()), 16), "Warm            ");
    const CPerformRecord initial;
    EXPECT_EQ(0, std::memcmp(buffer.Data() + 16, initial.Data() + 16, 34)); // common rest and both parts
    const uint8_t common[20] = {0, 60, 0, 50, 0, 0, 2, 0, 0, 4, 0, 0, 3, 0, 0, 14, 1, 0, 0, 120};
    EXPECT_EQ(0, std::memcmp(buffer.Data() + 16, common, 20));
    const uint8_t part1[7] = {0, 0, 0, 24, 0, 0, 0};
    const uint8_t part2[7] = {0, 0, 1, 24, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(buffer.Data() + 36, part1, 7));
    EXPECT_EQ(0, std::memcmp(buffer.Data() + 43, part2, 7));
    // The patch goes in unchanged, zero byte and all; the second slot is initial.
    EXPECT_EQ(buffer.m_aPatch[0], patch);
    EXPECT_EQ(buffer.m_aPatch[1], CPatchRecord());
}

TEST_F(AuditionTest, AClickSendsFivePacedDataSetsAndClosesThePort)
{
    m_pSim->SetWireSpeed(true);
    Rec(9).SetName("Audition Me");
    Rec(9).Data()[30] = 17;
    int nStops = 0;
    SetStopPreviewHandler([&] {
        ++nStops;
        EXPECT_TRUE(m_sent.empty()); // before anything is sent
    });

    ClickRow(9);
    EXPECT_EQ(nStops, 1);
    EXPECT_EQ(m_pView->GetSelection(), 9);
    EXPECT_TRUE(m_pView->IsSending());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 1u);
    m_clock.RunUntilIdle();

    ASSERT_EQ(m_sent.size(), 5u);
    const size_t sizes[5] = {48, 19, 19, 251, 251};
    const uint32_t addresses[5] = {0x200000, 0x200800, 0x200880, 0x202000, 0x202100};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(m_sent[i].bytes.size(), sizes[i]) << i;
        EXPECT_EQ(MessageAddress(m_sent[i].bytes), addresses[i]) << i;
        EXPECT_EQ(m_sent[i].bytes[5], 0x12) << i; // data set
    }
    // Wire bytes of the first address: 01 00 00 00; of the last: 01 00 42 00.
    EXPECT_EQ(std::vector<uint8_t>(m_sent[4].bytes.begin() + 6, m_sent[4].bytes.begin() + 10),
              (std::vector<uint8_t>{0x01, 0x00, 0x42, 0x00}));
    const std::vector<uint8_t> first = MessageBody(m_sent[0].bytes);
    EXPECT_EQ(std::string(first.begin(), first.begin() + 16), "Audition Me     ");
    EXPECT_EQ(MessageBody(m_sent[3].bytes), std::vector<uint8_t>(Rec(9).Data(), Rec(9).Data() + 239));
    const CPatchRecord initial;
    EXPECT_EQ(MessageBody(m_sent[4].bytes), std::vector<uint8_t>(initial.Data(), initial.Data() + 239));

    // Each message goes at least 100 ms after the previous one left the wire.
    EXPECT_GE(m_sent[0].nTimeUs, 100'000);
    for (size_t i = 1; i < 5; ++i) {
        const int64_t wire = int64_t(m_sent[i - 1].bytes.size()) * sim::kWireUsPerByte;
        EXPECT_GE(m_sent[i].nTimeUs - m_sent[i - 1].nTimeUs, 100'000 + wire) << i;
    }
    EXPECT_FALSE(m_pView->IsSending());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    EXPECT_TRUE(Boxes().empty());

    // The simulator now holds the audition performance.
    CPerformRecord expected;
    CAuditionPlan::PerformanceFor(Rec(9), expected);
    EXPECT_EQ(0, std::memcmp(m_device.Scratch().data(), expected.Data(), CPerformRecord::kSize));
}

TEST_F(AuditionTest, ThePortClosesOnlyAHundredMillisecondsAfterTheLastMessage)
{
    ClickRow(2);
    m_clock.RunUntil([&] { return m_sent.size() == 5; });
    const int64_t tLast = m_sent.back().nTimeUs;
    m_clock.AdvanceUs(tLast + 99'000 - m_clock.NowUs());
    EXPECT_TRUE(m_pView->IsSending());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 1u);
    m_clock.AdvanceMs(2);
    EXPECT_FALSE(m_pView->IsSending());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
}

TEST_F(AuditionTest, ASecondClickWhileSendingDoesNotMoveTheSelection)
{
    ClickRow(9);
    m_clock.AdvanceMs(250);
    ASSERT_TRUE(m_pView->IsSending());
    ClickRow(20);
    EXPECT_EQ(m_pView->GetSelection(), 9);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 5u);

    // Idle again: the next click selects and sends.
    ClickRow(20);
    EXPECT_EQ(m_pView->GetSelection(), 20);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 10u);
}

TEST_F(AuditionTest, CopyGesturesStillWorkWhileSending)
{
    Rec(1).SetName("COPY ME");
    ClickRow(3);
    Click(m_pView, 60, 1 * 16 + 6, MK_SHIFT);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    ClickRow(40);
    EXPECT_EQ(Rec(40).GetName(), "COPY ME         ");
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 5u); // the drop did not audition
}

TEST_F(AuditionTest, NothingIsSentWithSendDataOff)
{
    SetSendDataSwitch(0);
    ClickRow(4);
    EXPECT_EQ(m_pView->GetSelection(), 4);
    EXPECT_FALSE(m_pView->IsSending());
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_sent.empty());
}

TEST_F(AuditionTest, APatchWithBytesTheSynthesizerCannotReceiveIsNotAuditioned)
{
    Rec(6).Data()[50] = 0x80;
    ClickRow(6);
    EXPECT_EQ(m_pView->GetSelection(), 6);
    EXPECT_FALSE(m_pView->IsSending());
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_sent.empty());
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);

    // The next patch auditions as usual.
    ClickRow(7);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 5u);
}

TEST_F(AuditionTest, AnOutputThatCannotOpenEndsTheSequenceAfterItsMessage)
{
    WriteProfileInt("MIDI", "MidiOutDevice", 7);
    ClickRow(4);
    EXPECT_EQ(m_pView->GetSelection(), 4);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(m_pView->IsSending());
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_sent.empty());
    EXPECT_EQ(Boxes().size(), 1u); // no further errors from a port that never opened

    // Not stuck: with a good device the next click auditions.
    WriteProfileInt("MIDI", "MidiOutDevice", 0);
    ClickRow(5);
    EXPECT_EQ(m_pView->GetSelection(), 5);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 5u);
}

class AuditionSendFailureTest : public CViewTest {
protected:
    void SetUp() override
    {
        CViewTest::SetUp();
        // Replace the service by one whose third long message fails.
        m_pFailing = std::make_unique<CFailingSimService>(m_device);
        m_pFailing->m_nFailAt = 3;
        m_pFailing->SetTrafficHook(
            [this](CSimMidiService::EDirection dir, const std::vector<uint8_t>& bytes) {
                if (dir == CSimMidiService::EDirection::Out)
                    m_sent.push_back({m_clock.NowUs(), bytes});
            });
        CMidiService::Install(m_pFailing.get());
        m_pView = OpenWindow<CPatchView, CPatchDoc>();
        SetSendDataSwitch(1);
    }
    void TearDown() override
    {
        for (QMdiSubWindow* sub : m_area.subWindowList())
            delete sub;
        CViewTest::TearDown();
        m_pFailing.reset();
    }
    std::unique_ptr<CFailingSimService> m_pFailing;
    CPatchView* m_pView = nullptr;
};

TEST_F(AuditionSendFailureTest, AMessageThatCannotBeSentEndsTheSequenceAndClosesThePort)
{
    Click(m_pView, 60, 6);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 2u);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(m_pView->IsSending());
    EXPECT_EQ(m_pFailing->GetOpenOutCount(), 0u);

    Click(m_pView, 60, 16 * 3 + 6);
    EXPECT_EQ(m_pView->GetSelection(), 3);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 7u);
}

} // namespace
} // namespace vantorel::test
