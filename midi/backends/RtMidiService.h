#pragma once
// The MIDI service over RtMidi, one instance per RtMidi API (the ALSA
// sequencer or JACK). Only system-exclusive messages reach the input buffer;
// "long message done" is reported when the message has had its time on a
// 31,250-baud wire. Every notification is posted to the GUI thread and is
// delivered only while its device is still open.
#include <RtMidi.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "midi/MidiService.h"

namespace vantorel {

class CAlsaWatch;
class CJackWatch;

class CRtMidiService : public CMidiService {
public:
    // api: RtMidi::LINUX_ALSA or RtMidi::UNIX_JACK.
    explicit CRtMidiService(RtMidi::Api api);
    ~CRtMidiService() override;
    CRtMidiService(const CRtMidiService&) = delete;
    CRtMidiService& operator=(const CRtMidiService&) = delete;

    // The client name of this program's own ports; they are left out of the
    // device lists, so that opening an output never shifts the input numbers.
    static constexpr const char* kClientName = "Vantorel librarian";
    // Wire time of one byte at 31,250 baud, 10 bits a byte.
    static constexpr int64_t kByteWireUs = 320;
    static constexpr int64_t kDrainCapUs = 1'000'000;

    RtMidi::Api GetApi() const { return m_api; }

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
    std::vector<std::string> InGetDevNames() override;
    std::vector<std::string> OutGetDevNames() override;

    struct CInPort;
    struct COutPort;

private:
    struct CLastError {
        MMRESULT m_result = MMSYSERR_NOERROR;
        std::string m_strText;
    };
    using PortList = std::vector<std::pair<unsigned, std::string>>; // RtMidi index, name

    // True when the API can be used now; otherwise m_strUnavailable says why.
    bool IsAvailable();
    // The ports of r, less this program's own, with display names.
    PortList ListPorts(RtMidi& r) const;
    // The lists of the enumerating clients, made on first use.
    PortList ListInPorts();
    PortList ListOutPorts();
    // True (and the failure noted) when an output's client is gone with its
    // JACK server; nothing may then be handed to RtMidi.
    bool IsPortLost(const COutPort& port);
    // The output's device has gone (its port, or our connection to it).
    bool IsDisconnected(const COutPort& port);
    // Lets what the output accepted leave the port before it is closed or
    // reset: the rest of its wire time and two server cycles, at most
    // kDrainCapUs.
    void Drain(COutPort& port);
    // After a port is connected: until the connection is in the graph the
    // server runs, a message on it is lost.
    void SettleConnection();
    // The JACK server is there but runs no cycles (stopped, hung).
    bool IsServerStalled();
    CInPort* LookUp(HMIDIIN h);
    COutPort* LookUp(HMIDIOUT h);
    MMRESULT FailIn(MMRESULT result, std::string text = {});
    MMRESULT FailOut(MMRESULT result, std::string text = {});

    RtMidi::Api m_api;
    bool m_bCompiled = false;
    std::string m_strUnavailable;
    std::unique_ptr<CJackWatch> m_pJackWatch;
    std::unique_ptr<CAlsaWatch> m_pAlsaWatch;
    std::unique_ptr<RtMidiIn> m_pEnumIn;
    std::unique_ptr<RtMidiOut> m_pEnumOut;
    std::map<HMIDIIN, std::shared_ptr<CInPort>> m_ins;
    std::map<HMIDIOUT, std::shared_ptr<COutPort>> m_outs;
    CLastError m_lastIn;
    CLastError m_lastOut;
};

} // namespace vantorel
