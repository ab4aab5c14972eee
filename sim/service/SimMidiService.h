#pragma once
// The built-in simulator as a MIDI service: one input and one output device,
// both "KQ-3300 Simulator", wired to a CSimDevice in this process. It behaves
// like a driver: "long message done" after the message's wire time, answers
// after the device's response delay and their own wire time, each into the
// input buffer queued at that moment (lost when none is), and notifications
// only while the handle they belong to is still open. Everything runs on the
// GUI thread through CTimerService::Post.
#include <cstdint>
#include <deque>
#include <map>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiService.h"
#include "sim/model/SimDevice.h"

namespace vantorel {

class CSimMidiService : public CMidiService {
public:
    static constexpr const char* kDeviceName = "KQ-3300 Simulator";

    // The device is not owned and must outlive the service.
    explicit CSimMidiService(CSimDevice& device);
    ~CSimMidiService() override;
    CSimMidiService(const CSimMidiService&) = delete;
    CSimMidiService& operator=(const CSimMidiService&) = delete;

    // Options. Wire speed (320 us a byte, each direction on its own timeline)
    // is off by default: done and answers come as soon as the clock runs.
    void SetWireSpeed(bool bOn) { m_bWireSpeed = bOn; }
    bool GetWireSpeed() const { return m_bWireSpeed; }
    void SetResponseDelayMs(int nMs) { m_device.Faults().m_nResponseDelayMs = nMs; }
    int GetResponseDelayMs() const { return m_device.Faults().m_nResponseDelayMs; }
    CSimFaults& Faults() { return m_device.Faults(); }
    CSimDevice& Device() { return m_device; }

    // Test hook: every message on the wire, outgoing when it is handed to the
    // service (short messages as their 1 to 3 bytes), incoming when it
    // arrives at the input, whether or not a buffer takes it.
    enum class EDirection { Out, In };
    using TrafficHook = std::function<void(EDirection, const std::vector<uint8_t>&)>;
    void SetTrafficHook(TrafficHook hook) { m_trafficHook = std::move(hook); }

    // The device sends bytes of its own accord (tests: unsolicited or
    // oversized messages). They arrive after delayUs plus their wire time.
    void SendFromDevice(std::vector<uint8_t> bytes, int64_t delayUs = 0);

    unsigned InGetNumDevs() override { return 1; }
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

    unsigned OutGetNumDevs() override { return 1; }
    MMRESULT OutGetDevName(unsigned nDevice, std::string& name) override;
    MMRESULT OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow) override;
    MMRESULT OutShortMsg(HMIDIOUT h, uint32_t dwMsg) override;
    MMRESULT OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr) override;
    MMRESULT OutReset(HMIDIOUT h) override;
    MMRESULT OutClose(HMIDIOUT h) override;
    std::string OutGetErrorText(MMRESULT result) override;

    bool IsInOpen() const { return m_hIn != nullptr; }
    size_t GetOpenOutCount() const { return m_outs.size(); }

private:
    struct CLastError {
        MMRESULT m_result = MMSYSERR_NOERROR;
        std::string m_strText;
    };

    MMRESULT FailIn(MMRESULT result, std::string text = {});
    MMRESULT FailOut(MMRESULT result, std::string text = {});
    void Schedule(std::function<void()> fn, int64_t delayUs);
    // Puts a message on the input wire: it arrives startUs (absolute) plus
    // its wire time, after the previous incoming message.
    void QueueIncoming(std::vector<uint8_t> bytes, int64_t startUs);
    void Arrive(const std::vector<uint8_t>& bytes);
    // When bytes handed over now have left the output wire.
    int64_t OutWireDelay(size_t nBytes);

    CSimDevice& m_device;
    bool m_bWireSpeed = false;
    TrafficHook m_trafficHook;
    // Posted work holds a weak reference: nothing runs after destruction.
    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);
    uintptr_t m_nNextHandle = 0x5100;

    // Input device.
    HMIDIIN m_hIn = nullptr;
    IMidiNotify* m_pInWindow = nullptr;
    bool m_bStarted = false;
    std::deque<MIDIHDR*> m_inQueue;
    int64_t m_nInWireFreeUs = 0;

    // Output devices: any number of handles share the one wire.
    struct COutPort {
        IMidiNotify* m_pWindow = nullptr;
    };
    std::map<HMIDIOUT, COutPort> m_outs;
    int64_t m_nOutWireFreeUs = 0;

    CLastError m_lastIn;
    CLastError m_lastOut;
};

} // namespace vantorel
