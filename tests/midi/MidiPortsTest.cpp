// The ports' call sequences, failure reports and state rules, against a
// scripted service. A port shows nothing itself: its owner is told.
#include <gtest/gtest.h>

#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "support/PortErrorLog.h"
#include "framework/core/Profile.h"
#include "midi/MidiPorts.h"
#include "midi/msg/SysEx.h"
#include "midi/FakeMidiService.h"
#include "support/PortAllocation.h"
#include "res/Strings.h"
#include "res/strings/midi.h"

namespace vantorel {
namespace {

using test::CFakeMidiService;
using test::CInstallService;
using Names = std::vector<std::string>;
constexpr MMRESULT kOddCode = 3; // a code the ports know nothing about

class PortsTest : public ::testing::Test {
protected:
    PortsTest() : m_install(&m_service)
    {
        m_service.m_ins = {"in 0", "in 1", "in 2"};
        m_service.m_outs = {"out 0", "out 1"};
    }
    // A failing call: the device's name and number, then the service's sentence.
    std::string InText(MMRESULT r, uint16_t n = 0)
    {
        return FormatPortText(res::kPortCallFailed, true, n, CFakeMidiService::TextFor("", "in", r));
    }
    std::string OutText(MMRESULT r, uint16_t n = 0)
    {
        return FormatPortText(res::kPortCallFailed, false, n, CFakeMidiService::TextFor("", "out", r));
    }
    // A device that cannot be opened.
    std::string InMissing(uint16_t n = 0) { return FormatPortText(res::kPortNotAvailable, true, n); }
    std::string OutMissing(uint16_t n = 0) { return FormatPortText(res::kPortNotAvailable, false, n); }

    CFakeMidiService m_service;
    CInstallService m_install;
    // What the ports report; no port shows a box of its own.
    test::CPortErrorLog m_reports;
    CMessageBoxRecorder m_noBoxes;
    IMidiNotify m_window;
    void TearDown() override { EXPECT_TRUE(m_noBoxes.m_texts.empty()); }
};

const Names kInOpen = {"InOpen", "InReset", "InPrepareHeader", "InAddBuffer", "InStart"};
const Names kInClose = {"InStop", "InReset", "InUnprepareHeader", "InClose"};
const Names kOutClose = {"OutUnprepareHeader", "OutReset", "OutClose"};
const Names kOutDestroy = {"OutReset", "OutUnprepareHeader", "OutClose"};

Names Prefix(const Names& names, size_t n)
{
    return Names(names.begin(), names.begin() + long(n));
}

// ---------------------------------------------------------------- construction

TEST_F(PortsTest, ConstructionGivesA512ByteHeaderAndNoHandle)
{
    CMidiIn in(m_reports.Handler());
    CMidiOut out(m_reports.Handler());
    for (MIDIHDR* p : {in.m_pHeader, out.m_pHeader}) {
        ASSERT_NE(p, nullptr);
        EXPECT_NE(p->lpData, nullptr);
        EXPECT_EQ(p->dwBufferLength, 512u);
        EXPECT_EQ(p->dwFlags, 0u);
    }
    EXPECT_NE(in.m_pHeader->lpData, out.m_pHeader->lpData);
    EXPECT_FALSE(in.IsOpen());
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(in.m_wDeviceId, 0);
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, DestroyingClosedPortsCallsNothing)
{
    {
        CMidiIn in(m_reports.Handler());
        CMidiOut out(m_reports.Handler());
    }
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_TRUE(m_reports.m_texts.empty());
}

// ---------------------------------------------------------------- input

TEST_F(PortsTest, InputOpenRunsItsSequenceOnTheChosenDevice)
{
    CMidiIn in(m_reports.Handler());
    in.m_wDeviceId = 2;
    in.m_pHeader->dwFlags = MHDR_DONE; // left over from an earlier reception
    EXPECT_TRUE(in.Open(&m_window));
    EXPECT_EQ(m_service.Names(), kInOpen);
    EXPECT_EQ(m_service.m_calls[0].m_handle, 2u);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(m_service.m_openIn.at(reinterpret_cast<uintptr_t>(in.m_hMidiIn)), &m_window);
    for (size_t i = 1; i < kInOpen.size(); ++i)
        EXPECT_EQ(m_service.m_calls[i].m_handle, reinterpret_cast<uintptr_t>(in.m_hMidiIn));
    EXPECT_EQ(m_service.m_calls[2].m_pHdr, in.m_pHeader);
    EXPECT_EQ(m_service.m_calls[2].m_dwArg, 0u) << "flags are cleared before the header is prepared";
    EXPECT_EQ(m_service.m_calls[3].m_pHdr, in.m_pHeader);
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, InputOpenStopsAtEachFailureAndReportsIt)
{
    for (size_t nFail = 0; nFail < kInOpen.size(); ++nFail) {
        SCOPED_TRACE(kInOpen[nFail]);
        m_service.m_calls.clear();
        m_reports.m_texts.clear();
        m_reports.m_errors.clear();
        m_service.Fail(kInOpen[nFail], MMSYSERR_NOMEM, 1);
        CMidiIn in(m_reports.Handler());
        EXPECT_FALSE(in.Open(&m_window));
        EXPECT_EQ(m_service.Names(), Prefix(kInOpen, nFail + 1));
        EXPECT_EQ(m_reports.m_texts, Names{nFail == 0 ? InMissing() : InText(MMSYSERR_NOMEM)});
        ASSERT_EQ(m_reports.m_errors.size(), 1u);
        EXPECT_EQ(m_reports.m_errors[0].kind,
                  nFail == 0 ? CPortError::EKind::NotAvailable : CPortError::EKind::CallFailed);
        EXPECT_EQ(m_reports.m_errors[0].code, MMSYSERR_NOMEM);
        EXPECT_TRUE(m_reports.m_errors[0].bInput);
        // A failed open call leaves the port closed; any later failure leaves it open.
        EXPECT_EQ(in.IsOpen(), nFail > 0);
    }
}

TEST_F(PortsTest, OpeningAMissingInputDeviceReportsOnceAndStaysClosed)
{
    CMidiIn in(m_reports.Handler());
    in.m_wDeviceId = 9;
    EXPECT_FALSE(in.Open(&m_window));
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(m_service.Names(), Names{"InOpen"});
    EXPECT_EQ(m_reports.m_texts, Names{InMissing(9)});
}

TEST_F(PortsTest, ANamedDeviceOpensWhereverItIsListedAndNeverInPlaceOfAnother)
{
    CMidiIn in(m_reports.Handler());
    in.SetDevice(1, "in 1");
    m_service.m_ins = {"in 0", "other", "in 2", "in 1"}; // it moved
    EXPECT_TRUE(in.Open(&m_window));
    EXPECT_EQ(m_service.m_calls[0].m_handle, 3u);
    in.Close();

    m_service.m_ins = {"in 0", "other"}; // it went away; device 1 is another
    m_service.m_calls.clear();
    EXPECT_FALSE(in.IsAvailable());
    EXPECT_FALSE(in.Open(&m_window));
    EXPECT_TRUE(m_service.m_calls.empty()) << "nothing was opened";
    EXPECT_EQ(m_reports.m_texts, Names{"in 1 (device 3) is not available. Check that it is connected, or "
                                       "choose another device in Setup > MIDI Setup."});
    ASSERT_EQ(m_reports.m_errors.size(), 1u);
    EXPECT_EQ(m_reports.m_errors[0].strDevice, "in 1");

    m_service.m_ins = {"in 1"}; // back, under another number
    EXPECT_TRUE(in.IsAvailable());
    EXPECT_TRUE(in.Open(&m_window));
    EXPECT_EQ(m_service.m_calls[0].m_handle, 0u);
}

TEST_F(PortsTest, MessagesNameTheDeviceAsChosenAndSayWhatToDo)
{
    // Listed: the service's name.
    CMidiOut out(m_reports.Handler());
    out.m_wDeviceId = 1;
    m_service.Fail("OutOpen", MMSYSERR_ALLOCATED, 1);
    EXPECT_FALSE(out.Open(&m_window));
    ASSERT_EQ(m_reports.m_texts.size(), 1u);
    EXPECT_EQ(m_reports.m_texts[0],
              "out 1 (device 1) is not available. Check that it is connected, or choose "
              "another device in Setup > MIDI Setup.");
    // No longer listed: the name stored with the MIDI Setup choice.
    WriteProfileString("MIDI", "MidiInName", "Studio Link");
    CMidiIn in(m_reports.Handler());
    in.m_wDeviceId = 7;
    EXPECT_FALSE(in.Open(&m_window));
    ASSERT_EQ(m_reports.m_texts.size(), 2u);
    EXPECT_EQ(m_reports.m_texts[1], "Studio Link (device 7) is not available. Check that it is connected, or "
                                    "choose another device in Setup > MIDI Setup.");
    WriteProfileString("MIDI", "MidiInName", "");
    // A failing call on an open port gives the service's sentence with the name.
    CMidiOut open(m_reports.Handler());
    open.Open(&m_window);
    m_service.Fail("OutShortMsg", MIDIERR_DISCONNECTED, 1);
    EXPECT_FALSE(open.ShortMessage(0x90, 1, 2));
    ASSERT_EQ(m_reports.m_texts.size(), 3u);
    EXPECT_EQ(m_reports.m_texts[2], "out 0 (device 0) stopped working: out error 72 Check that it is "
                                    "connected, or choose another device in Setup > MIDI Setup.");
}

TEST_F(PortsTest, OneFailureGivesOneBoxUntilThePortOpensAgain)
{
    // The device is gone: the open says so; closing, requeueing and sending
    // on the port that never opened call nothing and say nothing more.
    CMidiIn in(m_reports.Handler());
    in.m_wDeviceId = 5;
    EXPECT_FALSE(in.Open(&m_window));
    EXPECT_FALSE(in.Requeue());
    EXPECT_TRUE(in.Close());
    CMidiOut out(m_reports.Handler());
    out.m_wDeviceId = 5;
    EXPECT_FALSE(out.Open(&m_window));
    EXPECT_FALSE(out.SendDataRequest(0, 1));
    EXPECT_FALSE(out.ShortMessage(0x90, 1, 2));
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(m_service.Names(), (Names{"InOpen", "OutOpen"}));
    EXPECT_EQ(m_reports.m_texts, (Names{InMissing(5), OutMissing(5)}));

    // A reset that fails inside an open: the close that follows fails too,
    // but that is the same failure.
    m_reports.m_texts.clear();
    CMidiIn half(m_reports.Handler());
    m_service.Fail("InReset", MMSYSERR_INVALHANDLE, 2);
    EXPECT_FALSE(half.Open(&m_window));
    half.Close();
    EXPECT_EQ(m_reports.m_texts, Names{InText(MMSYSERR_INVALHANDLE)});
    // Open again: a new failure is worth a new box.
    EXPECT_TRUE(half.Open(&m_window));
    m_service.Fail("InPrepareHeader", MIDIERR_NOTREADY, 1);
    EXPECT_FALSE(half.Requeue());
    EXPECT_EQ(m_reports.m_texts, (Names{InText(MMSYSERR_INVALHANDLE), InText(MIDIERR_NOTREADY)}));

    // A device that stays gone: opening again and again is one report per port.
    m_reports.m_texts.clear();
    CMidiIn goneIn(m_reports.Handler());
    CMidiOut goneOut(m_reports.Handler());
    goneIn.m_wDeviceId = goneOut.m_wDeviceId = 8;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(goneOut.Open(&m_window));
        EXPECT_FALSE(goneIn.Open(&m_window));
    }
    EXPECT_EQ(m_reports.m_texts, (Names{OutMissing(8), InMissing(8)}));
}

TEST_F(PortsTest, AFailingSendTellsTheOwnerItsCodeAndFailsWithoutABox)
{
    CMidiOut out(m_reports.Handler());
    out.m_wDeviceId = 1;
    out.Open(&m_window);
    m_service.Fail("OutLongMsg", MIDIERR_DISCONNECTED, 1);
    EXPECT_FALSE(out.SendDataRequest(0, 1));
    ASSERT_EQ(m_reports.m_errors.size(), 1u);
    EXPECT_EQ(m_reports.m_errors[0].kind, CPortError::EKind::CallFailed);
    EXPECT_EQ(m_reports.m_errors[0].code, MIDIERR_DISCONNECTED);
    EXPECT_FALSE(m_reports.m_errors[0].bInput);
    EXPECT_EQ(m_reports.m_errors[0].wDevice, 1);
    EXPECT_EQ(m_reports.m_texts, Names{OutText(MIDIERR_DISCONNECTED, 1)});
    EXPECT_TRUE(out.SendDataRequest(0, 1));
    EXPECT_EQ(m_reports.m_errors.size(), 1u);
}

TEST_F(PortsTest, RequeuePreparesAndAddsTheSameHeader)
{
    CMidiIn in(m_reports.Handler());
    in.Open(&m_window);
    // The buffer comes back with a message first: one queued at a time.
    m_service.SendFromDevice({0xF0, 0x41, 0xF7});
    EXPECT_EQ(in.m_pHeader->dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
    m_service.m_calls.clear();
    EXPECT_TRUE(in.Requeue());
    EXPECT_EQ(m_service.Names(), (Names{"InPrepareHeader", "InAddBuffer"}));
    EXPECT_EQ(m_service.m_calls[0].m_pHdr, in.m_pHeader);
    EXPECT_EQ(m_service.m_calls[1].m_pHdr, in.m_pHeader);

    m_service.m_calls.clear();
    m_service.Fail("InPrepareHeader", MIDIERR_NOTREADY, 1);
    EXPECT_FALSE(in.Requeue());
    EXPECT_EQ(m_service.Names(), Names{"InPrepareHeader"});
    EXPECT_EQ(m_reports.m_texts, Names{InText(MIDIERR_NOTREADY)});
}

TEST_F(PortsTest, InputCloseRunsItsSequenceAndStopsAtEachFailure)
{
    for (size_t nFail = 0; nFail <= kInClose.size(); ++nFail) {
        SCOPED_TRACE(nFail);
        CMidiIn in(m_reports.Handler());
        in.Open(&m_window);
        const uintptr_t h = reinterpret_cast<uintptr_t>(in.m_hMidiIn);
        m_service.m_calls.clear();
        m_reports.m_texts.clear();
        if (nFail < kInClose.size())
            m_service.Fail(kInClose[nFail], MMSYSERR_ERROR, 1);
        EXPECT_EQ(in.Close(), nFail == kInClose.size());
        EXPECT_FALSE(in.IsOpen()) << "the handle is none in every case";
        EXPECT_EQ(m_service.Names(), Prefix(kInClose, std::min(nFail + 1, kInClose.size())));
        for (const auto& c : m_service.m_calls)
            EXPECT_EQ(c.m_handle, h);
        EXPECT_EQ(m_reports.m_texts.size(), nFail < kInClose.size() ? 1u : 0u);
        m_service.m_calls.clear();
        m_reports.m_texts.clear();
    } // destroying the closed port calls nothing more
    EXPECT_TRUE(m_service.m_calls.empty());
}

TEST_F(PortsTest, DestroyingAnOpenInputStopsResetsUnpreparesAndCloses)
{
    {
        CMidiIn in(m_reports.Handler());
        in.Open(&m_window);
        m_service.m_calls.clear();
    }
    EXPECT_EQ(m_service.Names(), kInClose);
    EXPECT_TRUE(m_service.m_openIn.empty());

    m_service.m_calls.clear();
    {
        CMidiIn in(m_reports.Handler());
        in.Open(&m_window);
        m_service.m_calls.clear();
        m_service.Fail("InReset", MMSYSERR_INVALHANDLE, 1);
    }
    EXPECT_EQ(m_service.Names(), (Names{"InStop", "InReset"}));
    // The owner is going: nobody is told.
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, ClosingANeverOpenedInputCallsNothingAndSaysNothing)
{
    {
        CMidiIn in(m_reports.Handler());
        EXPECT_TRUE(in.Close());
        EXPECT_TRUE(m_service.m_calls.empty()) << "the service is never asked with no handle";
        EXPECT_TRUE(m_reports.m_texts.empty());
    }
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, AnEmptyReturnedBufferIsNotRequeuedByThePort)
{
    struct CWindow : IMidiNotify {
        int m_nCalls = 0;
        uint32_t m_nBytes = 99;
        void OnMidiInLongData(HMIDIIN, MIDIHDR* p) override
        {
            ++m_nCalls;
            m_nBytes = p->dwBytesRecorded;
        }
    } window;
    CMidiIn in(m_reports.Handler());
    in.Open(&window);
    m_service.m_calls.clear();
    // The service hands the buffer back with nothing recorded, as after a reset.
    m_service.ReturnInBuffer(in.m_hMidiIn, in.m_pHeader, {});
    EXPECT_EQ(window.m_nCalls, 1);
    EXPECT_EQ(window.m_nBytes, 0u);
    EXPECT_EQ(in.m_pHeader->dwBytesRecorded, 0u);
    EXPECT_TRUE(in.m_pHeader->dwFlags & MHDR_DONE);
    EXPECT_EQ(in.m_pHeader->dwBufferLength, 512u) << "the buffer keeps its size for the next open";
    EXPECT_TRUE(m_service.m_calls.empty()) << "re-queueing is the owner's decision";

    // Reopening starts from clean flags.
    in.Close();
    m_service.m_calls.clear();
    in.Open(&window);
    EXPECT_EQ(m_service.m_calls[2].m_dwArg, 0u);
}

TEST_F(PortsTest, OpeningAnOpenInputClosesItFirst)
{
    CMidiIn in(m_reports.Handler());
    in.Open(&m_window);
    const auto hFirst = in.m_hMidiIn;
    m_service.m_calls.clear();
    EXPECT_TRUE(in.Open(&m_window));
    Names expected = kInClose;
    expected.insert(expected.end(), kInOpen.begin(), kInOpen.end());
    EXPECT_EQ(m_service.Names(), expected);
    EXPECT_EQ(m_service.m_openIn.size(), 1u);
    EXPECT_NE(in.m_hMidiIn, hFirst);
}

// ---------------------------------------------------------------- output

TEST_F(PortsTest, OutputOpenAndItsFailure)
{
    CMidiOut out(m_reports.Handler());
    out.m_wDeviceId = 1;
    EXPECT_TRUE(out.Open(&m_window));
    EXPECT_EQ(m_service.Names(), Names{"OutOpen"});
    EXPECT_EQ(m_service.m_calls[0].m_handle, 1u);
    EXPECT_TRUE(out.IsOpen());

    CMidiOut other(m_reports.Handler());
    m_service.Fail("OutOpen", MMSYSERR_ALLOCATED, 1);
    EXPECT_FALSE(other.Open(&m_window));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_EQ(m_reports.m_texts, Names{OutMissing()});
}

TEST_F(PortsTest, OutputCloseRunsItsSequenceAndStopsAtEachFailure)
{
    for (size_t nFail = 0; nFail <= kOutClose.size(); ++nFail) {
        SCOPED_TRACE(nFail);
        CMidiOut out(m_reports.Handler());
        out.Open(&m_window);
        m_service.m_calls.clear();
        m_reports.m_texts.clear();
        if (nFail < kOutClose.size())
            m_service.Fail(kOutClose[nFail], MIDIERR_STILLPLAYING, 1);
        EXPECT_EQ(out.Close(), nFail == kOutClose.size());
        EXPECT_FALSE(out.IsOpen());
        EXPECT_EQ(m_service.Names(), Prefix(kOutClose, std::min(nFail + 1, kOutClose.size())));
        EXPECT_EQ(m_service.m_calls[0].m_pHdr, out.m_pHeader);
        EXPECT_EQ(m_reports.m_texts,
                  nFail < kOutClose.size() ? Names{OutText(MIDIERR_STILLPLAYING)} : Names{});
        m_service.m_calls.clear();
    }
    EXPECT_TRUE(m_service.m_calls.empty());
}

TEST_F(PortsTest, DestroyingAnOpenOutputResetsBeforeItUnprepares)
{
    for (size_t nFail = 0; nFail <= kOutDestroy.size(); ++nFail) {
        SCOPED_TRACE(nFail);
        m_service.m_calls.clear();
        m_reports.m_texts.clear();
        {
            CMidiOut out(m_reports.Handler());
            out.Open(&m_window);
            m_service.m_calls.clear();
            if (nFail < kOutDestroy.size())
                m_service.Fail(kOutDestroy[nFail], MMSYSERR_ERROR, 1);
        }
        EXPECT_EQ(m_service.Names(), Prefix(kOutDestroy, std::min(nFail + 1, kOutDestroy.size())));
        EXPECT_TRUE(m_reports.m_texts.empty()); // the owner is going: nobody is told
    }
}

TEST_F(PortsTest, ClosingANeverOpenedOutputCallsNothingAndSaysNothing)
{
    CMidiOut out(m_reports.Handler());
    EXPECT_TRUE(out.Close());
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, ShortMessagePacksStatusThenDataBytes)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    EXPECT_TRUE(out.ShortMessage(0x90, 60, 100));
    EXPECT_TRUE(out.ShortMessage(0x80, 0x7F, 0));
    ASSERT_EQ(m_service.m_calls.size(), 3u);
    EXPECT_EQ(m_service.m_calls[1].m_dwArg, 0x00643C90u);
    EXPECT_EQ(m_service.m_calls[2].m_dwArg, 0x00007F80u);

    m_service.Fail("OutShortMsg", kOddCode, 1);
    EXPECT_FALSE(out.ShortMessage(0x90, 1, 2));
    EXPECT_EQ(m_reports.m_texts, Names{OutText(kOddCode)});
}

TEST_F(PortsTest, LongMessageCopiesIntoTheBufferThenPreparesAndSends)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    m_service.m_calls.clear();
    out.m_pHeader->dwFlags = MHDR_DONE | MHDR_PREPARED;
    const std::vector<uint8_t> bytes = {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 1, 2, 3, 0x7A, 0xF7};
    EXPECT_TRUE(out.LongMessage(bytes.data(), bytes.size()));
    EXPECT_EQ(m_service.Names(), (Names{"OutPrepareHeader", "OutLongMsg"}));
    EXPECT_EQ(m_service.m_calls[0].m_dwArg, 0u) << "flags are cleared before preparing";
    EXPECT_EQ(m_service.m_calls[1].m_bytes, bytes);
    EXPECT_EQ(out.m_pHeader->dwBufferLength, bytes.size());
    EXPECT_EQ(out.m_pHeader->dwUser, reinterpret_cast<uintptr_t>(out.m_pHeader->lpData));
    EXPECT_EQ(std::vector<uint8_t>(out.m_pHeader->lpData, out.m_pHeader->lpData + bytes.size()), bytes);

    // The header stays prepared until the done notification is handled.
    m_service.m_calls.clear();
    struct CWindow : IMidiNotify {
        void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override { CMidiOut::ReleaseHeader(h, p); }
    } window;
    m_service.m_openOut.begin()->second = &window;
    EXPECT_TRUE(m_service.m_calls.empty());
    m_service.SignalOutDone(out.m_hMidiOut, out.m_pHeader);
    ASSERT_EQ(m_service.Names(), Names{"OutUnprepareHeader"});
    EXPECT_EQ(m_service.m_calls[0].m_handle, reinterpret_cast<uintptr_t>(out.m_hMidiOut));
    EXPECT_EQ(m_service.m_calls[0].m_pHdr, out.m_pHeader);
}

TEST_F(PortsTest, LongMessageFailuresAreReportedAndPrepareFailureSendsNothing)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    const uint8_t bytes[] = {0xF0, 0xF7};
    m_service.m_calls.clear();
    m_service.Fail("OutPrepareHeader", MIDIERR_UNPREPARED, 1);
    EXPECT_FALSE(out.LongMessage(bytes, 2));
    EXPECT_EQ(m_service.Names(), Names{"OutPrepareHeader"});

    EXPECT_EQ(m_reports.m_texts, Names{OutText(MIDIERR_UNPREPARED)});

    // A port that failed has said so once; opened again, it reports anew.
    out.Open(&m_window);
    m_service.m_calls.clear();
    m_service.Fail("OutLongMsg", MIDIERR_NOTREADY, 1);
    EXPECT_FALSE(out.LongMessage(bytes, 2));
    EXPECT_EQ(m_service.Names(), (Names{"OutPrepareHeader", "OutLongMsg"}));
    EXPECT_EQ(m_reports.m_texts, (Names{OutText(MIDIERR_UNPREPARED), OutText(MIDIERR_NOTREADY)}));
}

TEST_F(PortsTest, LongMessageTakesAFull512ButRefusesMore)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    m_service.m_calls.clear();
    std::vector<uint8_t> bytes(513, 0x55);
    EXPECT_FALSE(out.LongMessage(bytes.data(), bytes.size()));
    EXPECT_TRUE(m_service.m_calls.empty());
    ASSERT_EQ(m_reports.m_texts.size(), 1u);
    EXPECT_NE(m_reports.m_texts[0].find("513"), std::string::npos);

    bytes.resize(512);
    EXPECT_TRUE(out.LongMessage(bytes.data(), bytes.size()));
    EXPECT_EQ(m_service.m_calls.back().m_bytes.size(), 512u);
}

TEST_F(PortsTest, DataRequestAndDataSetHandTheBuiltMessages)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    m_service.m_calls.clear();
    EXPECT_TRUE(out.SendDataRequest(0x0400000, 239));
    EXPECT_EQ(m_service.m_calls.back().m_bytes, BuildDataRequest(0x0400000, 239));
    EXPECT_EQ(m_service.m_calls.back().m_bytes.size(), 16u);

    std::vector<uint8_t> patch(239);
    for (size_t i = 0; i < patch.size(); ++i)
        patch[i] = uint8_t((i * 7) & 0x7F);
    EXPECT_TRUE(out.SendDataSet(0x0407F00, patch.data(), patch.size()));
    EXPECT_EQ(m_service.m_calls.back().m_bytes.size(), 251u);
    EXPECT_EQ(m_service.m_calls.back().m_bytes, BuildDataSet(0x0407F00, patch.data(), patch.size()));

    EXPECT_TRUE(out.SendDataSet(6, nullptr, 0)) << "an empty data set is legal";
    EXPECT_EQ(m_service.m_calls.back().m_bytes.size(), 12u);

    // A byte of 0x80 or above is refused before anything reaches the service;
    // the caller names the entry, so the port says nothing.
    m_service.m_calls.clear();
    patch[100] = 0x80;
    EXPECT_FALSE(out.SendDataSet(0x0407F00, patch.data(), patch.size()));
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_TRUE(m_reports.m_texts.empty());
}

TEST_F(PortsTest, DataSetOverFiveHundredBytesIsRefused)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    m_service.m_calls.clear();
    std::vector<uint8_t> data(501);
    EXPECT_FALSE(out.SendDataSet(0, data.data(), data.size()));
    EXPECT_TRUE(m_service.m_calls.empty());
    ASSERT_EQ(m_reports.m_texts.size(), 1u);
    EXPECT_NE(m_reports.m_texts[0].find("501"), std::string::npos);
    EXPECT_TRUE(out.SendDataSet(0, data.data(), 500));
    EXPECT_EQ(m_service.m_calls.back().m_bytes.size(), 512u);
}

TEST_F(PortsTest, LongMessageOfASysExMessageSendsItsRawBytes)
{
    CMidiOut out(m_reports.Handler());
    out.Open(&m_window);
    CSysExMessage msg;
    msg.m_nCommand = sysex::kDataSet;
    msg.m_dwAddress = ToAddressBytes(6);
    const uint8_t body = 5;
    msg.SetBody(1, &body);
    msg.Build();
    EXPECT_TRUE(out.LongMessage(msg));
    EXPECT_EQ(
        m_service.m_calls.back().m_bytes,
        (std::vector<uint8_t>{0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x00, 0x00, 0x00, 0x06, 0x05, 0x75, 0xF7}));
}

// ---------------------------------------------------------------- no memory

class AllocationFailure : public PortsTest {
protected:
    test::CPortAllocationFailure m_failure;
};

TEST_F(AllocationFailure, IsReportedAndThePortNeverTouchesTheMissingHeader)
{
    {
        CMidiIn in(m_reports.Handler());
        CMidiOut out(m_reports.Handler());
        EXPECT_EQ(m_reports.m_texts, (Names{res::kCantAllocateHeader, res::kCantAllocateHeader}));
        EXPECT_EQ(in.m_pHeader, nullptr);
        EXPECT_EQ(out.m_pHeader, nullptr);
        m_reports.m_texts.clear();

        // Calls that would take the header are left out; the rest go ahead.
        EXPECT_FALSE(in.Open(&m_window));
        EXPECT_EQ(m_service.Names(), (Names{"InOpen", "InReset", "InStart"}));
        EXPECT_FALSE(in.Requeue());
        EXPECT_TRUE(out.Open(&m_window));
        EXPECT_TRUE(out.ShortMessage(0x90, 60, 100));
        const uint8_t bytes[] = {0xF0, 0xF7};
        EXPECT_FALSE(out.LongMessage(bytes, 2));
        EXPECT_FALSE(out.SendDataRequest(0, 1));
        EXPECT_FALSE(CMidiOut::ReleaseHeader(out.m_hMidiOut, nullptr));
        m_service.m_calls.clear();
    }
    EXPECT_EQ(m_service.Names(), (Names{"OutReset", "OutClose", "InStop", "InReset", "InClose"}));
    EXPECT_TRUE(m_reports.m_texts.empty());
}

} // namespace
} // namespace vantorel
