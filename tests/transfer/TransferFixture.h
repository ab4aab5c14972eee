#pragma once
// What every transfer test stands on: a virtual clock, the simulator behind a
// recording MIDI service (every message with its time, every open and close,
// every done notice), the confirmation answered by a message-box recorder,
// and a modal hook that presses START, runs the clock until the dialog has
// ended and answers "Complete!".
#include <gtest/gtest.h>

#include <QPushButton>

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Document.h"
#include "framework/core/HintRect.h"
#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/VirtualClock.h"
#include "framework/gui/Dialog.h"
#include "midi/MidiService.h"
#include "midi/msg/SysEx.h"
#include "sim/service/SimMidiService.h"
#include "sim/model/SimDevice.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferDlg.h"

namespace vantorel::test {

using Bytes = std::vector<uint8_t>;

// One event seen between the program and the simulator.
struct CWireEvent {
    enum Kind { Out, In, OutDone, InData, InOpen, InClose, OutOpen, OutClose, InAddBuffer, StopPreview };
    Kind kind;
    int64_t nUs;
    Bytes bytes;       // Out and In: the message
    size_t nCount = 0; // InData: bytes recorded
};

// Forwards everything to the simulator's service and writes down what passes.
class CRecordingService : public CMidiService {
public:
    explicit CRecordingService(CSimMidiService& inner);

    std::vector<CWireEvent> m_events;
    int Count(CWireEvent::Kind kind) const;
    // Outgoing messages only (requests and data sets), in order.
    std::vector<Bytes> Sent() const;
    // Times of the outgoing messages and of the done notices.
    std::vector<int64_t> Times(CWireEvent::Kind kind) const;
    void Record(CWireEvent::Kind kind, Bytes bytes = {}, size_t nCount = 0);
    // Called with every event as it is recorded (before the window sees it).
    std::function<void(const CWireEvent&)> m_onEvent;
    // The named call ("InOpen", "InAddBuffer", "OutOpen", "OutLongMsg") fails with result
    // once nAfter calls of it have passed, nTimes times (0: from then on).
    void FailCall(const std::string& name, MMRESULT result, int nAfter = 0, int nTimes = 0);
    void ClearFailures() { m_failures.clear(); }
    // While set the simulator is away: no device is listed.
    bool m_bAway = false;

    unsigned InGetNumDevs() override { return m_bAway ? 0 : m_inner.InGetNumDevs(); }
    MMRESULT InGetDevName(unsigned n, std::string& name) override { return m_inner.InGetDevName(n, name); }
    MMRESULT InOpen(HMIDIIN* ph, unsigned n, IMidiNotify* pWindow) override;
    MMRESULT InReset(HMIDIIN h) override { return m_inner.InReset(h); }
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* p) override { return m_inner.InPrepareHeader(h, p); }
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* p) override;
    MMRESULT InStart(HMIDIIN h) override { return m_inner.InStart(h); }
    MMRESULT InStop(HMIDIIN h) override { return m_inner.InStop(h); }
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* p) override { return m_inner.InUnprepareHeader(h, p); }
    MMRESULT InClose(HMIDIIN h) override;
    std::string InGetErrorText(MMRESULT r) override { return m_inner.InGetErrorText(r); }

    unsigned OutGetNumDevs() override { return m_bAway ? 0 : m_inner.OutGetNumDevs(); }
    MMRESULT OutGetDevName(unsigned n, std::string& name) override { return m_inner.OutGetDevName(n, name); }
    MMRESULT OutOpen(HMIDIOUT* ph, unsigned n, IMidiNotify* pWindow) override;
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t m) override { return m_inner.OutShortMsg(h, m); }
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* p) override { return m_inner.OutPrepareHeader(h, p); }
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* p) override;
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* p) override { return m_inner.OutUnprepareHeader(h, p); }
    MMRESULT OutReset(HMIDIOUT h) override { return m_inner.OutReset(h); }
    MMRESULT OutClose(HMIDIOUT h) override;
    std::string OutGetErrorText(MMRESULT r) override { return m_inner.OutGetErrorText(r); }

private:
    // Stands between the simulator and the window to see its notifications.
    class CNotifyProxy : public IMidiNotify {
    public:
        CNotifyProxy(CRecordingService& owner, IMidiNotify* pWindow) : m_owner(owner), m_pWindow(pWindow) {}
        void OnMidiInLongData(HMIDIIN h, MIDIHDR* p) override;
        void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override;

    private:
        CRecordingService& m_owner;
        IMidiNotify* m_pWindow;
    };
    IMidiNotify* Proxy(IMidiNotify* pWindow);

    // The result of the named call now: a failure set by FailCall, or none.
    MMRESULT Injected(const std::string& name);

    CSimMidiService& m_inner;
    std::list<std::unique_ptr<CNotifyProxy>> m_proxies;
    struct CFailure {
        MMRESULT result;
        int nAfter;
        int nTimes;
    };
    std::map<std::string, CFailure> m_failures;
};

// Counts the rectangles a document asks its views to repaint.
class CHintRecorder : public CViewBase {
public:
    void OnUpdate(CViewBase*, long, CObject* pHint) override;
    std::vector<CRect> m_rects;
    int m_nWhole = 0;
};

// Four wire bytes.
inline Bytes Wire(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    return {uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d)};
}
// The address bytes of a message, the size bytes of a request, the data of a data set.
Bytes AddressOf(const Bytes& msg);
Bytes SizeOf(const Bytes& msg);
Bytes DataOf(const Bytes& msg);
// n 7-bit bytes that differ from seed to seed.
Bytes Filled(size_t n, uint8_t seed);

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs dlg modally the way a user would: START, then the transfer to its
    // end, answering "Complete!".
    int Run(CTransferDlg& dlg) { return dlg.DoModal(); }
    int Count(CWireEvent::Kind kind) const { return m_pRecorder->Count(kind); }
    // Data requests and data sets handed to the service, in order.
    std::vector<Bytes> Sent() const { return m_pRecorder->Sent(); }

    CVirtualClock m_clock;
    CSimDevice m_device;
    std::unique_ptr<CSimMidiService> m_pSim;
    std::unique_ptr<CRecordingService> m_pRecorder;
    std::unique_ptr<CMessageBoxRecorder> m_pBoxes;

    // What the modal hook does once START has been pressed; the default runs
    // the clock until the dialog has ended.
    std::function<void(CTransferDlg&)> m_onTransfer;
    bool m_bPressStart = true;
    int m_nCompleteShown = 0;
    CDialog::ModalHook m_previousHook;
};

} // namespace vantorel::test
