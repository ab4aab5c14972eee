#include "midi/backends/RtMidiService.h"

#include <algorithm>
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
#include "midi/msg/SysExFramer.h"
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
    std::shared_ptr<CInSlot> m_pSlot;
    CDeviceLink m_link;
    CSysExFramer m_framer{sysex::kPortBufferSize, CSysExFramer::EOverlong::Truncate};
    CErrorFlag m_error;
    CCallbackData m_callback;
    std::unique_ptr<RtMidiIn> m_pMidi; // last: destroyed first, ending callbacks

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
        if (!m_pSlot->IsListening())
            return;
        m_framer.Feed(bytes.data(), bytes.size(),
                      [this](const uint8_t* msg, size_t n) { return m_pSlot->Deliver(msg, n); });
    }
};

struct CRtMidiService::COutPort {
    bool m_bUndrained = false; // sent since the last drain
    CDeviceLink m_link;
    CErrorFlag m_error;
    std::unique_ptr<RtMidiOut> m_pMidi;
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
    ForgetAllPorts();
    for (auto& [h, p] : m_ins)
        p->m_pMidi.reset();
    for (auto& [h, p] : m_outs)
        p->m_pMidi.reset();
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

CRtMidiService::PortList CRtMidiService::ListPorts(bool bInput, RtMidi* pClient)
{
    static const std::regex alsaAddress(R"( \d+:\d+$)");
    const std::string ownPrefix = std::string(kClientName);
    std::vector<std::string> names;
    if (m_api == RtMidi::UNIX_JACK && m_pJackWatch)
        names = m_pJackWatch->MidiPorts(bInput); // a device's senders feed our inputs
    else if (pClient)
        for (unsigned i = 0, n = pClient->getPortCount(); i < n; ++i)
            names.push_back(pClient->getPortName(i));
    PortList list;
    for (unsigned i = 0; i < names.size(); ++i) {
        std::string& name = names[i];
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
    if (m_api == RtMidi::UNIX_JACK)
        return ListPorts(true, nullptr);
    try {
        if (!m_pEnumIn) {
            m_pEnumIn = std::make_unique<RtMidiIn>(m_api, kClientName);
            m_pEnumIn->setErrorCallback(&OnRtMidiError, &g_enumErrors);
        }
        return ListPorts(true, m_pEnumIn.get());
    } catch (const RtMidiError&) {
        m_pEnumIn.reset();
        return {};
    }
}

CRtMidiService::PortList CRtMidiService::ListOutPorts()
{
    if (!IsAvailable())
        return {};
    if (m_api == RtMidi::UNIX_JACK)
        return ListPorts(false, nullptr);
    try {
        if (!m_pEnumOut) {
            m_pEnumOut = std::make_unique<RtMidiOut>(m_api, kClientName);
            m_pEnumOut->setErrorCallback(&OnRtMidiError, &g_enumErrors);
        }
        return ListPorts(false, m_pEnumOut.get());
    } catch (const RtMidiError&) {
        m_pEnumOut.reset();
        return {};
    }
}

void CRtMidiService::Locate(CDeviceLink& link, RtMidi& client, const PortList& list, size_t nAt,
                            std::string& before)
{
    if (m_api == RtMidi::UNIX_JACK && m_pJackWatch) {
        link.m_strDevice = list[nAt].second;
        before = m_pJackWatch->Connections(link.m_strDevice);
    }
    if (m_api == RtMidi::LINUX_ALSA &&
        !CAlsaWatch::ParseAddress(client.getPortName(list[nAt].first), link.m_nAlsaClient, link.m_nAlsaPort))
        link.m_nAlsaClient = -1;
}

void CRtMidiService::Connected(CDeviceLink& link, const std::string& before)
{
    if (!link.m_strDevice.empty() && m_pJackWatch)
        link.m_strOwn = NewConnection(before, m_pJackWatch->Connections(link.m_strDevice));
}

bool CRtMidiService::IsDisconnected(const CDeviceLink& link)
{
    if (m_api == RtMidi::LINUX_ALSA && link.m_nAlsaClient >= 0) {
        if (!m_pAlsaWatch)
            m_pAlsaWatch = std::make_unique<CAlsaWatch>();
        return !m_pAlsaWatch->HasPort(link.m_nAlsaClient, link.m_nAlsaPort);
    }
    if (m_api != RtMidi::UNIX_JACK || !m_pJackWatch || link.m_strDevice.empty())
        return false;
    if (!m_pJackWatch->HasPort(link.m_strDevice))
        return true;
    return !link.m_strOwn.empty() && !m_pJackWatch->AreConnected(link.m_strDevice, link.m_strOwn);
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

MMRESULT CRtMidiService::OpenClient(const std::function<MMRESULT()>& attempt)
{
    MMRESULT result = attempt();
    // A JACK server that answers can still turn a new client away while it
    // is busy with the last one that closed (a note previewed at once after
    // another): one more try a couple of cycles later.
    if (result == MMSYSERR_ALLOCATED && m_api == RtMidi::UNIX_JACK && m_pJackWatch &&
        m_pJackWatch->IsAnswering()) {
        m_pJackWatch->WaitCycles(2);
        result = attempt();
    }
    return result;
}

void CRtMidiService::SettleConnection()
{
    if (m_api == RtMidi::UNIX_JACK && m_pJackWatch)
        m_pJackWatch->WaitCycles(2);
}

void CRtMidiService::Drain(HMIDIOUT h, COutPort& port)
{
    if (!port.m_pMidi || !port.m_bUndrained)
        return;
    port.m_bUndrained = false;
    const int64_t leftUs = std::clamp<int64_t>(WireEndUs(h) - CTimerService::Get().NowUs(), 0, kDrainCapUs);
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
    FailOut(MMSYSERR_NODRIVER, bAvailable ? std::string(res::kMidiSendFailed) : m_strUnavailable);
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

std::vector<std::string> CRtMidiService::ListInDevices()
{
    return NamesOf(ListInPorts());
}
std::vector<std::string> CRtMidiService::ListOutDevices()
{
    return NamesOf(ListOutPorts());
}

// ---------------------------------------------------------------- input

MMRESULT CRtMidiService::OpenInDevice(HMIDIIN h, unsigned nDevice, const std::shared_ptr<CInSlot>& slot)
{
    if (!IsAvailable())
        return FailIn(MMSYSERR_NODRIVER, m_strUnavailable);
    std::shared_ptr<CInPort> pPort;
    const MMRESULT result = OpenClient([&] { return TryOpenIn(nDevice, slot, pPort); });
    if (result == MMSYSERR_BADDEVICEID)
        return FailIn(result, FormatMidiText(res::kMidiInNoSuchDevice, nDevice));
    if (result != MMSYSERR_NOERROR)
        return FailIn(result, FormatMidiText(res::kMidiInOpenFailed, nDevice));
    // Listening before the caller can ask for anything.
    SettleConnection();
    m_ins.emplace(h, std::move(pPort));
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::TryOpenIn(unsigned nDevice, const std::shared_ptr<CInSlot>& slot,
                                   std::shared_ptr<CInPort>& pPort)
{
    pPort = std::make_shared<CInPort>();
    pPort->m_pSlot = slot;
    pPort->m_callback.m_pPort = pPort;
    try {
        // A client of its own; the ports are listed again now, so that the
        // number means the port the device list showed under it.
        pPort->m_pMidi = std::make_unique<RtMidiIn>(m_api, kClientName);
        pPort->m_pMidi->setErrorCallback(&OnRtMidiError, &pPort->m_error);
        const PortList list = ListPorts(true, pPort->m_pMidi.get());
        if (nDevice >= list.size())
            return MMSYSERR_BADDEVICEID;
        pPort->m_pMidi->ignoreTypes(false, true, true);
        pPort->m_pMidi->setCallback(&CInPort::OnMessage, &pPort->m_callback);
        std::string before;
        Locate(pPort->m_link, *pPort->m_pMidi, list, nDevice, before);
        pPort->m_pMidi->openPort(list[nDevice].first, kInPortName);
        Connected(pPort->m_link, before);
    } catch (const RtMidiError&) {
        pPort->m_error.m_bFailed = true;
    }
    if (pPort->m_error.m_bFailed || !pPort->m_pMidi || !pPort->m_pMidi->isPortOpen())
        return MMSYSERR_ALLOCATED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::CheckInDevice(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    if (it == m_ins.end())
        return MMSYSERR_NOERROR;
    const CInPort& port = *it->second;
    // A server that shut down or stopped cycling takes every connection.
    if (m_api == RtMidi::UNIX_JACK &&
        (!m_pJackWatch || m_pJackWatch->IsGone() || !m_pJackWatch->IsAnswering()))
        return FailIn(MMSYSERR_NODRIVER, res::kJackNotRunning);
    // Released when the server went and a new one has come since.
    if (!port.m_pMidi || IsDisconnected(port.m_link))
        return FailIn(MIDIERR_DISCONNECTED);
    return MMSYSERR_NOERROR;
}

void CRtMidiService::RestartInDevice(HMIDIIN h)
{
    if (const auto it = m_ins.find(h); it != m_ins.end())
        it->second->m_framer.Clear();
}

void CRtMidiService::CloseInDevice(HMIDIIN h)
{
    const auto it = m_ins.find(h);
    if (it == m_ins.end())
        return;
    if (IsServerStalled())
        CloseLater(std::move(it->second));
    else
        it->second->m_pMidi.reset();
    m_ins.erase(it);
}

// ---------------------------------------------------------------- output

MMRESULT CRtMidiService::OpenOutDevice(HMIDIOUT h, unsigned nDevice)
{
    if (!IsAvailable())
        return FailOut(MMSYSERR_NODRIVER, m_strUnavailable);
    std::shared_ptr<COutPort> pPort;
    const MMRESULT result = OpenClient([&] { return TryOpenOut(nDevice, pPort); });
    if (result == MMSYSERR_BADDEVICEID)
        return FailOut(result, FormatMidiText(res::kMidiOutNoSuchDevice, nDevice));
    if (result != MMSYSERR_NOERROR)
        return FailOut(result, FormatMidiText(res::kMidiOutOpenFailed, nDevice));
    SettleConnection();
    m_outs.emplace(h, std::move(pPort));
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::TryOpenOut(unsigned nDevice, std::shared_ptr<COutPort>& pPort)
{
    pPort = std::make_shared<COutPort>();
    try {
        pPort->m_pMidi = std::make_unique<RtMidiOut>(m_api, kClientName);
        pPort->m_pMidi->setErrorCallback(&OnRtMidiError, &pPort->m_error);
        const PortList list = ListPorts(false, pPort->m_pMidi.get());
        if (nDevice >= list.size())
            return MMSYSERR_BADDEVICEID;
        std::string before;
        Locate(pPort->m_link, *pPort->m_pMidi, list, nDevice, before);
        pPort->m_pMidi->openPort(list[nDevice].first, kOutPortName);
        Connected(pPort->m_link, before);
    } catch (const RtMidiError&) {
        pPort->m_error.m_bFailed = true;
    }
    if (pPort->m_error.m_bFailed || !pPort->m_pMidi || !pPort->m_pMidi->isPortOpen())
        return MMSYSERR_ALLOCATED;
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiService::SendOut(HMIDIOUT h, const uint8_t* bytes, size_t count)
{
    COutPort& port = *m_outs.at(h);
    if (IsPortLost(port))
        return MMSYSERR_NODRIVER;
    if (IsDisconnected(port.m_link))
        return FailOut(MIDIERR_DISCONNECTED);
    // RtMidi copies the bytes.
    port.m_error.m_bFailed = false;
    try {
        port.m_pMidi->sendMessage(bytes, count);
    } catch (const RtMidiError&) {
        port.m_error.m_bFailed = true;
    }
    if (port.m_error.m_bFailed)
        return FailOut(MMSYSERR_ERROR, res::kMidiSendFailed);
    port.m_bUndrained = true;
    return MMSYSERR_NOERROR;
}

void CRtMidiService::ResetOutDevice(HMIDIOUT h)
{
    if (const auto it = m_outs.find(h); it != m_outs.end())
        Drain(h, *it->second);
}

void CRtMidiService::CloseOutDevice(HMIDIOUT h)
{
    const auto it = m_outs.find(h);
    if (it == m_outs.end())
        return;
    if (IsServerStalled())
        CloseLater(std::move(it->second));
    else
        it->second->m_pMidi.reset();
    m_outs.erase(it);
}

} // namespace vantorel
