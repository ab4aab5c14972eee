#pragma once
// The built-in simulator as a MIDI service: one input and one output device,
// both "KQ-3300 Simulator", wired to a CSimDevice in this process. It behaves
// like a driver: "long message done" after the message's wire time, answers
// after the device's response delay and their own wire time, each into the
// input buffer queued at that moment (lost when none is), and notifications
// only while the handle they belong to is still open. Everything runs on the
// GUI thread through CTimerService::Post.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiServiceBase.h"
#include "sim/model/SimDevice.h"

namespace vantorel {

class CSimMidiService : public CMidiServiceBase {
public:
    static constexpr const char* kDeviceName = "KQ-3300 Simulator";

    // The device is not owned and must outlive the service.
    explicit CSimMidiService(CSimDevice& device);
    ~CSimMidiService() override;
    CSimMidiService(const CSimMidiService&) = delete;
    CSimMidiService& operator=(const CSimMidiService&) = delete;

    // Options. Wire speed (each direction on its own timeline) is off by
    // default: done and answers come as soon as the clock runs.
    void SetWireSpeed(bool bOn) { m_bWireSpeed = bOn; }
    bool GetWireSpeed() const { return m_bWireSpeed; }
    void SetResponseDelayMs(int nMs) { m_device.Faults().m_nResponseDelayMs = nMs; }
    CSimFaults& Faults() { return m_device.Faults(); }
    CSimDevice& Device() { return m_device; }

    // Every message on the wire, outgoing when it is handed to the service
    // (short messages as their 1 to 3 bytes), incoming when it arrives at the
    // input, whether or not a buffer takes it (the traffic log).
    enum class EDirection { Out, In };
    using TrafficHook = std::function<void(EDirection, const std::vector<uint8_t>&)>;
    void SetTrafficHook(TrafficHook hook) { m_trafficHook = std::move(hook); }

    // The device sends bytes of its own accord (unsolicited or oversized
    // messages). They arrive after delayUs plus their wire time.
    void SendFromDevice(std::vector<uint8_t> bytes, int64_t delayUs = 0);

    bool IsInOpen() const { return OpenInCount() != 0; }
    size_t GetOpenOutCount() const { return OpenOutCount(); }

protected:
    std::vector<std::string> ListInDevices() override { return {kDeviceName}; }
    std::vector<std::string> ListOutDevices() override { return {kDeviceName}; }
    MMRESULT OpenInDevice(HMIDIIN h, unsigned nDevice, const std::shared_ptr<CInSlot>& slot) override;
    void CloseInDevice(HMIDIIN h) override;
    MMRESULT OpenOutDevice(HMIDIOUT h, unsigned nDevice) override;
    MMRESULT SendOut(HMIDIOUT h, const uint8_t* bytes, size_t count) override;
    void OnOffWire(HMIDIOUT h, const std::vector<uint8_t>& bytes) override;
    CWirePacer* WireOf(HMIDIOUT h) override;
    void CloseOutDevice(HMIDIOUT) override {}

private:
    void Schedule(std::function<void()> fn, int64_t delayUs);
    // Puts a message on the input wire: it arrives startUs (absolute) plus
    // its wire time, after the previous incoming message.
    void QueueIncoming(std::vector<uint8_t> bytes, int64_t startUs);
    void Arrive(const std::vector<uint8_t>& bytes);

    CSimDevice& m_device;
    bool m_bWireSpeed = false;
    TrafficHook m_trafficHook;
    // Posted work holds a weak reference: nothing runs after destruction.
    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);
    // The one input; any number of output handles share the one wire.
    std::shared_ptr<CInSlot> m_pIn;
    CWirePacer m_inWire;
    CWirePacer m_outWire;
};

} // namespace vantorel
