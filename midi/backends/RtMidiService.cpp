#include "midi/backends/RtMidiService.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <regex>
#include <thread>
#include <unistd.h>

#ifdef VANTOREL_HAVE_JACK
#include <jack/jack.h>
#endif
#ifdef VANTOREL_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "framework/core/TimerService.h"
#include "midi/backends/AlsaWatch.h"
#include "midi/backends/JackWatch.h"
#include "midi/msg/SysEx.h"
#include "midi/backends/SysExAssembler.h"
#include "res/strings/midi.h"

namespace vantorel {

namespace {

constexpr const char* kAlsaSequencerDevice = "/dev/snd/seq";
constexpr const char* kInPortName = "in";
constexpr const char* kOutPortName = "out";
constexpr int kRecheckMs = 100;

// Set by RtMidi's error callback; RtMidi then neither prints nor throws.
struct CErrorFlag {
    std::atomic<bool> m_bFailed{false};
};

void OnRtMidiError(RtMidiError::Type type, const std::string&, void* pUser)
{
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
        return;
    static_cast<CErrorFlag*>(pUser)->m_bFailed = true;
}

#ifdef VANTOREL_HAVE_JACK
void QuietJack(const char*) {}
#endif
#ifdef VANTOREL_HAVE_ALSA
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif

// Bytes of a short message by its status; 0 for one that cannot be sent alone.
size_t ShortMessageLength(uint8_t status)
{
    if (status < 0x80)
        return 0;
    if (status < 0xF0)
        return (status & 0xE0) == 0xC0 ? 2 : 3; // program change, channel pressure
    switch (status) {
    case 0xF1: case 0xF3: return 2;
    case 0xF2: return 3;
    case 0xF6: case 0xF8: case 0xFA: case 0xFB: case 0xFC: case 0xFE: case 0xFF: return 1;
    default: return 0;
    }
}

// The line of after that before does not have: the port just connected.
std::string NewConnection(const std::string& before, const std::string& after)
{
    size_t at = 0;
    while (at < after.size()) {
        const size_t end = after.find('\n', at);
        const std::string line = after.substr(at, end - at);
        if (!line.empty() && before.find(line + "\n") == std::string::npos &&
            line.compare(0, std::strlen(CRtMidiService::kClientName), CRtMidiService::kClientName) == 0)
            return line;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return {};
}

} // namespace

// One open input device. The GUI thread owns every field but the callback
// data, which RtMidi's thread reads.
struct CRtMidiService::CInPort {
    struct CCallbackData {
        std::weak_ptr<CInPort> m_pPort;
    };
    IMidiNotify* m_pWindow = nullptr;
    bool m_bOpen = true;
    bool m_bStarted = false;
    std::vector<MIDIHDR*> m_queue;
    CSysExAssembler m_assembler{sysex::kPortBufferSize};
    CErrorFlag m_error;
    CCallbackData m_callback;
    std::unique_ptr<RtMidiIn> m_pMidi; // last: destroyed first, ending callbacks

    HMIDIIN Handle() { return reinterpret_cast<HMIDIIN>(this); }

    // Runs on RtMidi's thread: copy and post, nothing else.
    static void OnMessage(double, std::vector<unsigned char>* pMessage, void* pUser)
    {
        if (!pMessage || pMessage->empty())
            return;
        std::weak_ptr<CInPort> pPort = static_cast<CCallbackData*>(pUser)->m_pPort;
        std::vector<uint8_t> bytes(pMessage->begin(), pMessage->end());
        CTimerService::Get().Post([pPort = std::move(pPort), bytes = std::move(bytes)] {
            if (auto p = pPort.lock())
                p->Receive(bytes);
        });
    }

    void Receive(const std::vector<uint8_t>& bytes)
    {
        if (!m_bOpen || !m_bStarted)
            return;
        m_assembler.Feed(bytes.data(), bytes.size(), [this](const uint8_t* msg, size_t n) {
            if (m_queue.empty())
                return true; // no buffer queued: the message is lost, as on a wire
            MIDIHDR* pHdr = m_queue.front();
            m_queue.erase(m_queue.begin());
            const size_t nCopy = std::min<size_t>(n, pHdr->dwBufferLength);
            std::copy(msg, msg + nCopy, pHdr->lpData);
            pHdr->dwBytesRecorded = uint32_t(nCopy);
            pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
            if (m_pWindow)
                m_pWindow->OnMidiInLongData(Handle(), pHdr);
            return m_bOpen && m_bStarted;
        });
    }
};

struct CRtMidiService::COutPort {
    IMidiNotify* m_pWindow = nullptr;
    bool m_bOpen = true;
    bool m_bUndrained = false; // sent since the last drain
    std::string m_strDest;     // JACK: the device's port
    std::string m_strOwn;      // JACK: ours, once connected to it
    int m_nAlsaClient = -1;    // ALSA: the device's port
    int m_nAlsaPort = -1;
    CWirePacer m_pacer;
    CErrorFlag m_error;
    std::unique_ptr<RtMidiOut> m_pMidi;

    HMIDIOUT Handle() { return reinterpret_cast<HMIDIOUT>(this); }
};

CRtMidiService::CRtMidiService(RtMidi::Api api) : m_api(api)
{
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    m_bCompiled = std::find(apis.begin(), apis.end(), api) != apis.end();
#ifdef VANTOREL_HAVE_JACK
    // libjack writes to stderr when no server runs; the device list says it.
    if (api == RtMidi::UNIX_JACK) {
        jack_set_error_function(&QuietJack);
        jack_set_info_function(&QuietJack);
    }
#endif
#ifdef VANTOREL_HAVE_ALSA
    if (api == RtMidi::LINUX_ALSA)
        snd_lib_error_set_handler(&QuietAlsa);
#endif
}

CRtMidiService::~CRtMidiService()
{
    for (auto& [h, p] : m_ins) {
        p->m_bOpen = false;
        p->m_pMidi.reset();
    }
    for (auto& [h, p] : m_outs) {
        p->m_bOpen = false;
        p->m_pMidi.reset();
    }
    m_pEnumIn.reset();
    m_pEnumOut.reset();
    m_pAlsaWatch.reset();
}

bool CRtMidiService::IsAvailable()
{
    if (!m_bCompiled) {
        m_strUnavailable = res::kMidiErrNoDriver;
        return false;
    }
    if (m_api == RtMidi::LINUX_ALSA) {
        // ALSA's constructor fails loudly without a sequencer device.
        if (access(kAlsaSequencerDevice, R_OK | W_OK) != 0) {
            m_strUnavailable = res::kAlsaUnavailable;
            return false;
        }
        return true;
    }
    if (m_api == RtMidi::UNIX_JACK) {
        if (m_pJackWatch && !m_pJackWatch->IsGone() && m_pJackWatch->IsConnected()) {
            // A server that has stopped answering keeps its clients: closing
            // them would wait for it.
            if (m_pJackWatch->IsAnswering())
                return true;
            m_strUnavailable = res::kJackNotRunning;
            return false;
        }
        if (m_pJackWatch && m_pJackWatch->IsPending()) {
            // Still waiting for a server that did not answer: a short look.
            if (!m_pJackWatch->Connect(kClientName, kRecheckMs)) {
                m_strUnavailable = res::kJackNotRunning;
                return false;
            }
            return true;
        }
        // The server went away (or was never asked): forget every client
        // made for it and look again. The open ports' clients go too, and
        // first: libjack frees the clients a process still holds on a lost
        // server once the process opens one on a new server, and an output
        // to a lost server would wait for ever for room in RtMidi's ring
        // buffer. Those ports fail from now on until they are closed.
        for (auto& [h, p] : m_ins)
            p->m_pMidi.reset();
        for (auto& [h, p] : m_outs)
            p->m_pMidi.reset();
        m_pEnumIn.reset();
        m_pEnumOut.reset();
        m_pJackWatch.reset();
        m_pJackWatch = std::make_unique<CJackWatch>();
        if (!m_pJackWatch->Connect(kClientName, CJackWatch::kAnswerMs)) {
            m_strUnavailable = res::kJackNotRunning;
            return false;
        }
        return true;
    }
    return true;
}

CRtMidiService::PortList CRtMidiService::ListPorts(RtMidi& r) const
{
    static const std::regex alsaAddress(R"( \d+:\d+$)");
    const std::string ownPrefix = std::string(kClientName);
    PortList list;
    const unsigned n = r.getPortCount();
    for (unsigned i = 0; i < n; ++i) {
        std::string name = r.getPortName(i);
        if (name.empty() || name.compare(0, ownPrefix.size(), ownPrefix) == 0)
            continue;
        // ALSA appends client:port numbers, which change between runs.
        if (m_api == RtMidi::LINUX_ALSA)
            name = std::regex_replace(name, alsaAddress, "");
        list.emplace_back(i, std::move(name));
    }
    return list;
}

namespace {
CErrorFlag g_enumErrors; // enumeration failures just give shorter lists
}

CRtMidiService::PortList CRtMidiService::ListInPorts()
{
    if (!IsAvailable())
        return {};
    try {
        if (!m_pEnumIn) {
            m_pEnumIn = std::make_unique<RtMidiIn>(m_api, kClientName);
            m_pEnumIn->setErrorCallback(&OnRtMidiError, &g_enumErrors);
        }
        return ListPorts(*m_pEnumIn);
    } catch (const RtMidiError&) {
        m_pEnumIn.reset();
        return {};
    }
}

CRtMidiService::PortList CRtMidiService::ListOutPorts()
{
    if (!IsAvailable())
        return {};
    try {
        if (!m_pEnumOut) {
            m_pEnumOut = std::make_unique<RtMidiOut>(m_api, kClientName);
            m_pEnumOut->setErrorCallback(&OnRtMidiError, &g_enumErrors);
        }
        return ListPorts(*m_pEnumOut);
    } catch (const RtMidiError&) {
        m_pEnumOut.reset();
        return {};
    }
}

bool CRtMidiService::IsDisconnected(const COutPort& port)
{
    if (m_api == RtMidi::LINUX_ALSA && port.m_nAlsaClient >= 0) {
        if (!m_pAlsaWatch)
            m_pAlsaWatch = std::make_unique<CAlsaWatch>();
        return !m_pAlsaWatch->HasPort(port.m_nAlsaClient, port.m_nAlsaPort);
    }
    if (m_api != RtMidi::UNIX_JACK || !m_pJackWatch || port.m_strDest.empty())
        return false;
    if (!m_pJackWatch->HasPort(port.m_strDest))
        return true;
    return !port.m_strOwn.empty() && !m_pJackWatch->AreConnected(port.m_strDest, port.m_strOwn);
}

bool CRtMidiService::IsServerStalled()
{
    return m_api == RtMidi::UNIX_JACK && m_pJackWatch && m_pJackWatch->IsConnected() &&
           !m_pJackWatch->IsGone() && !m_pJackWatch->IsAnswering();
}

namespace {
// Closing a client waits for the server: with one that does not answer, the
// port is closed on a thread of its own, whenever the server comes back.
template <class TPort>
void CloseLater(std::shared_ptr<TPort> pPort)
{
    std::thread([pPort = std::move(pPort)] { pPort->m_pMidi.reset(); }).detach();
}
} // namespace

void CRtMidiService::SettleConnection()
{
    if (m_api == RtMidi::UNIX_JACK && m_pJackWatch)
        m_pJackWatch->WaitCycles(2);
}

void CRtMidiService::Drain(COutPort& port)
{
    if (!port.m_pMidi || !port.m_bUndrained)
        return;
    port.m_bUndrained = false;
    const int64_t leftUs = std::clamp<int64_t>(port.m_pacer.WireEndUs() - CTimerService::Get().NowUs(), 0,
                                               kDrainCapUs);
    std::this_thread::sleep_for(std::chrono::microseconds(leftUs));
    // JACK hands the bytes on in its next cycle; ALSA has delivered them.
    if (m_api == RtMidi::UNIX_JACK && m_pJackWatch && m_pJackWatch->IsAnswering())
        m_pJackWatch->WaitCycles(2);
}

bool CRtMidiService::IsPortLost(const COutPort& port)
{
    // Looking again releases the ports of a server that has gone.
    const bool bAvailable = m_api != RtMidi::UNIX_JACK || IsAvailable();
    if (port.m_pMidi)
        return false;
    m_lastOut = {MMSYSERR_NODRIVER, bAvailable ? std::string(res::kMidiSendFailed) : m_strUnavailable};
    return true;
}

namespace {
std::vector<std::string> NamesOf(const std::vector<std::pair<unsigned, std::string>>& list)
{
    std::vector<std::string> names;
    names.reserve(list.size());
    for (const auto& [index, name] : list)
        names.push_back(name);
    return names;
}
} // namespace

std::vector<std::string> CRtMidiService::InGetDevNames() { return NamesOf(ListInPorts()); }
std::vector<std::string> CRtMidiService::OutGetDevNames() { return NamesOf(ListOutPorts()); }

CRtMidiService::CInPort* CRtMidiService::LookUp(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    return it == m_ins.end() ? nullptr : it->second.get();
}

CRtMidiService::COutPort* CRtMidiService::LookUp(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    return it == m_outs.end() ? nullptr : it->second.get();
}

MMRESULT CRtMidiService::FailIn(MMRESULT result, std::string text)
{
    m_lastIn = {result, std::move(text)};
    return result;
}

MMRESULT CRtMidiService::FailOut(MMRESULT result, std::string text)
{
    m_lastOut = {result, std::move(text)};
    return result;
}

// ---------------------------------------------------------------- input

unsigned CRtMidiService::InGetNumDevs() { return unsigned(ListInPorts().size()); }

MMRESULT CRtMidiService::InGetDevName(unsigned nDevice, std::string& name)
{
    const PortList list = ListInPorts();
    if (nDevice >= list.size()) {
        name.clear();
        return MMSYSERR_BADDEVICEID;
    }
    name = list[nDevice].second;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InOpen(HMIDIIN* phIn, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phIn)
        return FailIn(MMSYSERR_INVALPARAM);
    *phIn = nullptr;
    if (!IsAvailable())
        return FailIn(MMSYSERR_NODRIVER, m_strUnavailable);
    auto pPort = std::make_shared<CInPort>();
    pPort->m_pWindow = pWindow;
    pPort->m_callback.m_pPort = pPort;
    try {
        // A client of its own, which also lists the ports as it sees them,
        // so that the number means the same port to both.
        pPort->m_pMidi = std::make_unique<RtMidiIn>(m_api, kClientName);
        pPort->m_pMidi->setErrorCallback(&OnRtMidiError, &pPort->m_error);
        const PortList list = ListPorts(*pPort->m_pMidi);
        if (nDevice >= list.size())
            return FailIn(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
        pPort->m_pMidi->ignoreTypes(false, true, true);
        pPort->m_pMidi->setCallback(&CInPort::OnMessage, &pPort->m_callback);
        pPort->m_pMidi->openPort(list[nDevice].first, kInPortName);
    } catch (const RtMidiError&) {
        pPort->m_error.m_bFailed = true;
    }
    if (pPort->m_error.m_bFailed || !pPort->m_pMidi || !pPort->m_pMidi->isPortOpen())
        return FailIn(MMSYSERR_ALLOCATED, FormatMidiText(res::kMidiInOpenFailed, nDevice));
    // Listening before the caller can ask for anything.
    SettleConnection();
    const HMIDIIN h = pPort->Handle();
    m_ins.emplace(h, std::move(pPort));
    *phIn = h;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InReset(HMIDIIN h)
{
    CInPort* p = LookUp(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    p->m_bStarted = false;
    p->m_assembler.Clear();
    // Every queued buffer comes back empty.
    std::weak_ptr<CInPort> pWeak = m_ins[h];
    for (MIDIHDR* pHdr : p->m_queue) {
        pHdr->dwBytesRecorded = 0;
        pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        CTimerService::Get().Post([pWeak, pHdr] {
            auto pPort = pWeak.lock();
            if (pPort && pPort->m_bOpen && pPort->m_pWindow)
                pPort->m_pWindow->OnMidiInLongData(pPort->Handle(), pHdr);
        });
    }
    p->m_queue.clear();
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InPrepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!LookUp(h))
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData)
        return FailIn(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InAddBuffer(HMIDIIN h, MIDIHDR* pHdr)
{
    CInPort* p = LookUp(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr || !pHdr->lpData || pHdr->dwBufferLength == 0)
        return FailIn(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailIn(MIDIERR_UNPREPARED);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwBytesRecorded = 0;
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    p->m_queue.push_back(pHdr);
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InStart(HMIDIIN h)
{
    CInPort* p = LookUp(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!p->m_bStarted)
        p->m_assembler.Clear();
    p->m_bStarted = true;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InStop(HMIDIIN h)
{
    CInPort* p = LookUp(h);
    if (!p)
        return FailIn(MMSYSERR_INVALHANDLE);
    p->m_bStarted = false;
    p->m_assembler.Clear();
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InUnprepareHeader(HMIDIIN h, MIDIHDR* pHdr)
{
    if (!LookUp(h))
        return FailIn(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailIn(MMSYSERR_INVALPARAM);
    if (pHdr->dwFlags & MHDR_INQUEUE)
        return FailIn(MIDIERR_STILLPLAYING);
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::InClose(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    if (it == m_ins.end())
        return FailIn(MMSYSERR_INVALHANDLE);
    // Closing always succeeds: buffers still queued are simply forgotten, so
    // that no header outlives its port inside the service.
    CInPort& p = *it->second;
    p.m_bOpen = false;
    p.m_queue.clear();
    if (IsServerStalled())
        CloseLater(std::move(it->second));
    else
        p.m_pMidi.reset();
    m_ins.erase(it);
    return MMSYSERR_NOERROR;
}

std::string CRtMidiService::InGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastIn.m_result && !m_lastIn.m_strText.empty())
        return m_lastIn.m_strText;
    return GetMidiErrorText(result);
}

// ---------------------------------------------------------------- output

unsigned CRtMidiService::OutGetNumDevs() { return unsigned(ListOutPorts().size()); }

MMRESULT CRtMidiService::OutGetDevName(unsigned nDevice, std::string& name)
{
    const PortList list = ListOutPorts();
    if (nDevice >= list.size()) {
        name.clear();
        return MMSYSERR_BADDEVICEID;
    }
    name = list[nDevice].second;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutOpen(HMIDIOUT* phOut, unsigned nDevice, IMidiNotify* pWindow)
{
    if (!phOut)
        return FailOut(MMSYSERR_INVALPARAM);
    *phOut = nullptr;
    if (!IsAvailable())
        return FailOut(MMSYSERR_NODRIVER, m_strUnavailable);
    auto pPort = std::make_shared<COutPort>();
    pPort->m_pWindow = pWindow;
    pPort->m_pacer.Reset(CTimerService::Get().NowUs());
    try {
        pPort->m_pMidi = std::make_unique<RtMidiOut>(m_api, kClientName);
        pPort->m_pMidi->setErrorCallback(&OnRtMidiError, &pPort->m_error);
        const PortList list = ListPorts(*pPort->m_pMidi);
        if (nDevice >= list.size())
            return FailOut(MMSYSERR_BADDEVICEID, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
        std::string before;
        if (m_api == RtMidi::UNIX_JACK && m_pJackWatch) {
            pPort->m_strDest = list[nDevice].second;
            before = m_pJackWatch->Connections(pPort->m_strDest);
        }
        if (m_api == RtMidi::LINUX_ALSA &&
            !CAlsaWatch::ParseAddress(pPort->m_pMidi->getPortName(list[nDevice].first), pPort->m_nAlsaClient,
                                      pPort->m_nAlsaPort))
            pPort->m_nAlsaClient = -1;
        pPort->m_pMidi->openPort(list[nDevice].first, kOutPortName);
        if (!pPort->m_strDest.empty())
            pPort->m_strOwn = NewConnection(before, m_pJackWatch->Connections(pPort->m_strDest));
    } catch (const RtMidiError&) {
        pPort->m_error.m_bFailed = true;
    }
    if (pPort->m_error.m_bFailed || !pPort->m_pMidi || !pPort->m_pMidi->isPortOpen())
        return FailOut(MMSYSERR_ALLOCATED, FormatMidiText(res::kMidiOutOpenFailed, nDevice));
    SettleConnection();
    const HMIDIOUT h = pPort->Handle();
    m_outs.emplace(h, std::move(pPort));
    *phOut = h;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutShortMsg(HMIDIOUT h, uint32_t dwMsg)
{
    COutPort* p = LookUp(h);
    if (!p)
        return FailOut(MMSYSERR_INVALHANDLE);
    const std::array<uint8_t, 3> bytes{uint8_t(dwMsg), uint8_t(dwMsg >> 8), uint8_t(dwMsg >> 16)};
    const size_t n = ShortMessageLength(bytes[0]);
    if (n == 0)
        return FailOut(MMSYSERR_INVALPARAM);
    if (IsPortLost(*p))
        return MMSYSERR_NODRIVER;
    if (IsDisconnected(*p))
        return FailOut(MIDIERR_DISCONNECTED);
    p->m_error.m_bFailed = false;
    try {
        p->m_pMidi->sendMessage(bytes.data(), n);
    } catch (const RtMidiError&) {
        p->m_error.m_bFailed = true;
    }
    if (p->m_error.m_bFailed)
        return FailOut(MMSYSERR_ERROR, res::kMidiSendFailed);
    p->m_bUndrained = true;
    p->m_pacer.Schedule(CTimerService::Get().NowUs(), n);
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutPrepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!LookUp(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr || (!pHdr->lpData && pHdr->dwBufferLength))
        return FailOut(MMSYSERR_INVALPARAM);
    pHdr->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr)
{
    const auto it = m_outs.find(h);
    if (it == m_outs.end())
        return FailOut(MMSYSERR_INVALHANDLE);
    COutPort* p = it->second.get();
    if (!pHdr || (!pHdr->lpData && pHdr->dwBufferLength))
        return FailOut(MMSYSERR_INVALPARAM);
    if (!(pHdr->dwFlags & MHDR_PREPARED))
        return FailOut(MIDIERR_UNPREPARED);
    const size_t n = pHdr->dwBufferLength;
    if (n && IsPortLost(*p))
        return MMSYSERR_NODRIVER;
    if (n && IsDisconnected(*p))
        return FailOut(MIDIERR_DISCONNECTED);
    if (n) {
        // RtMidi copies the bytes: the header is free again once this returns.
        p->m_error.m_bFailed = false;
        try {
            p->m_pMidi->sendMessage(pHdr->lpData, n);
        } catch (const RtMidiError&) {
            p->m_error.m_bFailed = true;
        }
        if (p->m_error.m_bFailed)
            return FailOut(MMSYSERR_ERROR, res::kMidiSendFailed);
        p->m_bUndrained = true;
    }
    pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    // "Done" when the message has left the wire, not when RtMidi took it.
    CTimerService& timer = CTimerService::Get();
    const int64_t delayUs = p->m_pacer.Schedule(timer.NowUs(), n);
    std::weak_ptr<COutPort> pWeak = it->second;
    timer.Post(
        [pWeak, pHdr] {
            auto pPort = pWeak.lock();
            if (!pPort || !pPort->m_bOpen)
                return;
            pHdr->dwFlags = (pHdr->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
            if (pPort->m_pWindow)
                pPort->m_pWindow->OnMidiOutDone(pPort->Handle(), pHdr);
        },
        delayUs);
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutUnprepareHeader(HMIDIOUT h, MIDIHDR* pHdr)
{
    if (!LookUp(h))
        return FailOut(MMSYSERR_INVALHANDLE);
    if (!pHdr)
        return FailOut(MMSYSERR_INVALPARAM);
    // The bytes were handed over when the message was sent, so a header whose
    // message is still on the wire may be released.
    pHdr->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutReset(HMIDIOUT h)
{
    COutPort* p = LookUp(h);
    if (!p)
        return FailOut(MMSYSERR_INVALHANDLE);
    Drain(*p);
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::OutClose(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    if (it == m_outs.end())
        return FailOut(MMSYSERR_INVALHANDLE);
    COutPort& p = *it->second;
    Drain(p);
    p.m_bOpen = false;
    if (IsServerStalled())
        CloseLater(std::move(it->second));
    else
        p.m_pMidi.reset();
    m_outs.erase(it);
    return MMSYSERR_NOERROR;
}

std::string CRtMidiService::OutGetErrorText(MMRESULT result)
{
    if (result != MMSYSERR_NOERROR && result == m_lastOut.m_result && !m_lastOut.m_strText.empty())
        return m_lastOut.m_strText;
    return GetMidiErrorText(result);
}

} // namespace vantorel
