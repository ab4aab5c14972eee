#pragma once
// The rules every MIDI backend keeps, written once: handles that are never
// reused, the input buffers queued one after another and handed back with
// each message (empty after a reset), "long message done" only once the
// message has had its time on the wire, notifications only while their port
// is open, error codes for bad handles, devices and headers, and the last
// failure's own sentence. A backend supplies its device lists and what
// opening, sending and closing mean for it.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiService.h"
#include "midi/msg/WirePacer.h"

namespace vantorel {

class CMidiServiceBase : public CMidiService {
public:
    // An open input as a backend's delivery sees it. Everything runs on the
    // GUI thread; a backend's own thread holds only a weak reference.
    class CInSlot {
    public:
        // A whole message into the first queued buffer (cut to its length),
        // then the window is told. Lost when the input is stopped or no
        // buffer waits, as on a wire. False once the port no longer listens.
        bool Deliver(const uint8_t* bytes, size_t count);
        bool IsListening() const { return m_bOpen && m_bStarted; }

    private:
        friend class CMidiServiceBase;
        friend class CInSlotTestPeer;
        // Takes pHdr out of the queue without a word (a test service hands
        // its buffers back by hand). False when it was not queued.
        bool Withdraw(MIDIHDR* pHdr);
        HMIDIIN m_h = nullptr;
        IMidiNotify* m_pWindow = nullptr;
        bool m_bOpen = true;
        bool m_bStarted = false;
        std::deque<MIDIHDR*> m_queue;
    };

    ~CMidiServiceBase() override;

    unsigned InGetNumDevs() override;
    MMRESULT InGetDevName(unsigned nDevice, std::string& name) override;
    MMRESULT InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow) override;
    MMRESULT InReset(HMIDIIN h) override;
    MMRESULT InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InAddBuffer(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InStart(HMIDIIN h) override;
    MMRESULT InStop(HMIDIIN h) override;
    MMRESULT InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr) override;
    MMRESULT InClose(HMIDIIN h) override;
    std::string InGetErrorText(MMRESULT result) override;
    MMRESULT InCheckConnection(HMIDIIN h) override;

    unsigned OutGetNumDevs() override;
    MMRESULT OutGetDevName(unsigned nDevice, std::string& name) override;
    MMRESULT OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow) override;
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dwMsg) override;
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutReset(HMIDIOUT h) override;
    MMRESULT OutClose(HMIDIOUT h) override;
    std::string OutGetErrorText(MMRESULT result) override;

    std::vector<std::string> InGetDevNames() override { return ListInDevices(); }
    std::vector<std::string> OutGetDevNames() override { return ListOutDevices(); }

    // Bytes of a short message by its status; 0 for one that cannot be sent alone.
    static size_t ShortMessageLength(uint8_t status);

protected:
    explicit CMidiServiceBase(uintptr_t firstHandle = 0x1000) : m_nNextHandle(firstHandle) {}

    // ---- what a backend supplies
    virtual std::vector<std::string> ListInDevices() = 0;
    virtual std::vector<std::string> ListOutDevices() = 0;
    // Opens the device for handle h, whose messages go to slot; on failure
    // returns the code (its sentence set with FailIn).
    virtual MMRESULT OpenInDevice(HMIDIIN h, unsigned nDevice, const std::shared_ptr<CInSlot>& slot) = 0;
    virtual void CloseInDevice(HMIDIIN h) = 0;
    // Whether the device still reaches h (see InCheckConnection); on a loss
    // returns the code (its sentence set with FailIn).
    virtual MMRESULT CheckInDevice(HMIDIIN) { return MMSYSERR_NOERROR; }
    // The input was started, stopped or reset: a half-received message goes.
    virtual void RestartInDevice(HMIDIIN) {}
    virtual MMRESULT OpenOutDevice(HMIDIOUT h, unsigned nDevice) = 0;
    // Hands bytes over (a short message, or a long one of at least one
    // byte); on failure returns the code (its sentence set with FailOut).
    virtual MMRESULT SendOut(HMIDIOUT h, const uint8_t* bytes, size_t count) = 0;
    // A long message has left the wire (whether or not h is still open).
    virtual void OnOffWire(HMIDIOUT, const std::vector<uint8_t>&) {}
    // The wire bytes handed over on h travel on; null: no wire time at all.
    virtual CWirePacer* WireOf(HMIDIOUT h);
    // Lets what was handed over leave before a reset or a close.
    virtual void ResetOutDevice(HMIDIOUT) {}
    virtual void CloseOutDevice(HMIDIOUT h) = 0;

    // ---- for backends
    MMRESULT FailIn(MMRESULT result, std::string text = {});
    MMRESULT FailOut(MMRESULT result, std::string text = {});
    bool IsInOpen(HMIDIIN h) const { return m_ins.count(h) != 0; }
    size_t OpenInCount() const { return m_ins.size(); }
    size_t OpenOutCount() const { return m_outs.size(); }
    // When the last message handed over on h has left the wire.
    int64_t WireEndUs(HMIDIOUT h);
    // Closes every port without telling anyone (the service is going).
    void ForgetAllPorts();

    uintptr_t m_nNextHandle;

private:
    struct COutSlot {
        IMidiNotify* m_pWindow = nullptr;
        bool m_bOpen = true;
        CWirePacer m_pacer;
    };
    struct CLastError {
        MMRESULT m_result = MMSYSERR_NOERROR;
        std::string m_strText;
    };

    CInSlot* InSlot(HMIDIIN h);
    COutSlot* OutSlot(HMIDIOUT h);
    static std::string TextFor(const CLastError& last, MMRESULT result);

    std::map<HMIDIIN, std::shared_ptr<CInSlot>> m_ins;
    std::map<HMIDIOUT, std::shared_ptr<COutSlot>> m_outs;
    // Posted work holds a weak reference: nothing runs after destruction.
    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);
    CLastError m_lastIn;
    CLastError m_lastOut;
};

} // namespace vantorel
