#pragma once
// The MIDI service over RtMidi, one instance per RtMidi API (the ALSA
// sequencer or JACK). Only system-exclusive messages reach the input buffer;
// buffers, handles, wire time and notifications follow CMidiServiceBase.
#include <RtMidi.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "midi/MidiServiceBase.h"

namespace vantorel {

class CAlsaWatch;
class CJackWatch;

class CRtMidiService : public CMidiServiceBase {
public:
    // api: RtMidi::LINUX_ALSA or RtMidi::UNIX_JACK.
    explicit CRtMidiService(RtMidi::Api api);
    ~CRtMidiService() override;
    CRtMidiService(const CRtMidiService&) = delete;
    CRtMidiService& operator=(const CRtMidiService&) = delete;

    // The client name of this program's own ports; they are left out of the
    // device lists, so that opening an output never shifts the input numbers.
    static constexpr const char* kClientName = "Vantorel librarian";
    static constexpr int64_t kDrainCapUs = 1'000'000;

    struct CInPort;
    struct COutPort;

protected:
    std::vector<std::string> ListInDevices() override;
    std::vector<std::string> ListOutDevices() override;
    MMRESULT OpenInDevice(HMIDIIN h, unsigned nDevice, const std::shared_ptr<CInSlot>& slot) override;
    MMRESULT CheckInDevice(HMIDIIN h) override;
    void CloseInDevice(HMIDIIN h) override;
    void RestartInDevice(HMIDIIN h) override;
    MMRESULT OpenOutDevice(HMIDIOUT h, unsigned nDevice) override;
    MMRESULT SendOut(HMIDIOUT h, const uint8_t* bytes, size_t count) override;
    void ResetOutDevice(HMIDIOUT h) override;
    void CloseOutDevice(HMIDIOUT h) override;

private:
    using PortList = std::vector<std::pair<unsigned, std::string>>; // RtMidi index, name

    // Where an open port's device is, to see whether it is still there.
    struct CDeviceLink {
        std::string m_strDevice; // JACK: the device's port
        std::string m_strOwn;    // JACK: ours, once connected to it
        int m_nAlsaClient = -1;  // ALSA: the device's port
        int m_nAlsaPort = -1;
    };

    // True when the API can be used now; otherwise m_strUnavailable says why.
    bool IsAvailable();
    // The ports an input (bInput) or an output can open, numbered as RtMidi
    // numbers them, less this program's own, with display names. JACK's are
    // read in one look at the watch's graph (RtMidi would ask the server for
    // the whole list again for each name); ALSA's are asked of pClient.
    PortList ListPorts(bool bInput, RtMidi* pClient);
    // The lists of the device list (on ALSA through enumerating clients,
    // made on first use).
    PortList ListInPorts();
    PortList ListOutPorts();
    // Notes where the device of list entry nAt is before a port of client
    // connects to it (call Connected afterwards).
    void Locate(CDeviceLink& link, RtMidi& client, const PortList& list, size_t nAt, std::string& before);
    void Connected(CDeviceLink& link, const std::string& before);
    // True (and the failure noted) when an output's client is gone with its
    // JACK server; nothing may then be handed to RtMidi.
    bool IsPortLost(const COutPort& port);
    // The device has gone (its port, or our connection to it).
    bool IsDisconnected(const CDeviceLink& link);
    // Lets what the output accepted leave the port before it is closed or
    // reset: the rest of its wire time and two server cycles, at most
    // kDrainCapUs.
    void Drain(HMIDIOUT h, COutPort& port);
    // After a port is connected: until the connection is in the graph the
    // server runs, a message on it is lost.
    void SettleConnection();
    // The JACK server is there but runs no cycles (stopped, hung).
    bool IsServerStalled();
    // A port's client and its connection, by attempt (TryOpenIn, TryOpenOut:
    // NOERROR, BADDEVICEID or ALLOCATED); tried once more when a JACK server
    // that answers turned the client away. The caller reports the failure.
    MMRESULT OpenClient(const std::function<MMRESULT()>& attempt);
    MMRESULT TryOpenIn(unsigned nDevice, const std::shared_ptr<CInSlot>& slot,
                       std::shared_ptr<CInPort>& pPort);
    MMRESULT TryOpenOut(unsigned nDevice, std::shared_ptr<COutPort>& pPort);

    RtMidi::Api m_api;
    bool m_bCompiled = false;
    std::string m_strUnavailable;
    std::unique_ptr<CJackWatch> m_pJackWatch;
    std::unique_ptr<CAlsaWatch> m_pAlsaWatch;
    std::unique_ptr<RtMidiIn> m_pEnumIn;
    std::unique_ptr<RtMidiOut> m_pEnumOut;
    std::map<HMIDIIN, std::shared_ptr<CInPort>> m_ins;
    std::map<HMIDIOUT, std::shared_ptr<COutPort>> m_outs;
};

} // namespace vantorel
