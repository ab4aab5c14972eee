#include "midi/backends/JackWatch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef VANTOREL_HAVE_JACK
#include <jack/jack.h>
#endif

namespace vantorel {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::milliseconds(1);
// A running server cycles every few milliseconds; this much quiet is worth
// a closer look.
constexpr auto kQuiet = std::chrono::milliseconds(250);
constexpr auto kSettle = std::chrono::milliseconds(500);

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}
} // namespace

#ifdef VANTOREL_HAVE_JACK

// Shared with the worker thread that opens the client, which may outlive
// the watch when the server never answers.
struct CJackWatch::CState {
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bStarted = false;
    bool m_bDone = false;
    jack_client_t* m_pClient = nullptr; // set once the open is done
    std::atomic<bool> m_bGone{false};
    std::atomic<uint64_t> m_nCycles{0};
    std::atomic<int64_t> m_nLastCycleNs{0};

    static int OnProcess(jack_nframes_t, void* pArg)
    {
        auto* p = static_cast<CState*>(pArg);
        p->m_nLastCycleNs = NowNs();
        ++p->m_nCycles;
        return 0;
    }
    static void OnShutdown(void* pArg) { static_cast<CState*>(pArg)->m_bGone = true; }

    static void Open(const std::shared_ptr<CState>& pState, std::string name)
    {
        jack_status_t status{};
        jack_client_t* pClient = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (pClient) {
            jack_set_process_callback(pClient, &CState::OnProcess, pState.get());
            jack_on_shutdown(pClient, &CState::OnShutdown, pState.get());
            pState->m_nLastCycleNs = NowNs();
            if (jack_activate(pClient) != 0) {
                jack_client_close(pClient);
                pClient = nullptr;
            }
        }
        std::lock_guard lock(pState->m_mutex);
        pState->m_pClient = pClient;
        pState->m_bDone = true;
        pState->m_cv.notify_all();
    }
};

CJackWatch::CJackWatch() : m_pState(std::make_shared<CState>()) {}

CJackWatch::~CJackWatch()
{
    std::unique_lock lock(m_pState->m_mutex);
    if (m_pState->m_bStarted && !m_pState->m_bDone) {
        // The worker still waits for the server: it closes what it opens.
        std::thread([pState = m_pState] {
            std::unique_lock lock(pState->m_mutex);
            pState->m_cv.wait(lock, [&] { return pState->m_bDone; });
            if (pState->m_pClient)
                jack_client_close(pState->m_pClient);
        }).detach();
        return;
    }
    if (m_pState->m_pClient)
        jack_client_close(m_pState->m_pClient);
}

bool CJackWatch::Connect(const char* clientName, int waitMs)
{
    std::unique_lock lock(m_pState->m_mutex);
    if (!m_pState->m_bStarted) {
        m_pState->m_bStarted = true;
        std::thread(&CState::Open, m_pState, std::string(clientName)).detach();
    }
    m_pState->m_cv.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return m_pState->m_bDone; });
    return m_pState->m_pClient != nullptr;
}

bool CJackWatch::IsConnected() const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_pClient != nullptr;
}

bool CJackWatch::IsPending() const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_bStarted && !m_pState->m_bDone;
}

bool CJackWatch::IsGone() const
{
    return m_pState->m_bGone;
}

bool CJackWatch::IsAnswering()
{
    if (!IsConnected() || IsGone())
        return false;
    auto sinceCycle = [&] { return std::chrono::nanoseconds(NowNs() - m_pState->m_nLastCycleNs.load()); };
    if (sinceCycle() < kQuiet) {
        m_bStalled = false;
        return true;
    }
    if (m_bStalled)
        return false;
    const uint64_t nCycles = m_pState->m_nCycles;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kAnswerMs);
    while (Clock::now() < deadline) {
        if (m_pState->m_nCycles != nCycles || IsGone())
            return !IsGone();
        std::this_thread::sleep_for(kPoll);
    }
    m_bStalled = true;
    return false;
}

void CJackWatch::WaitCycles(int n)
{
    if (!IsConnected())
        return;
    const uint64_t target = m_pState->m_nCycles + uint64_t(n);
    const auto deadline = Clock::now() + kSettle;
    while (m_pState->m_nCycles < target && !IsGone() && Clock::now() < deadline)
        std::this_thread::sleep_for(kPoll);
}

bool CJackWatch::HasPort(const std::string& port) const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_pClient && jack_port_by_name(m_pState->m_pClient, port.c_str()) != nullptr;
}

bool CJackWatch::AreConnected(const std::string& port, const std::string& other) const
{
    std::lock_guard lock(m_pState->m_mutex);
    if (!m_pState->m_pClient)
        return false;
    const jack_port_t* p = jack_port_by_name(m_pState->m_pClient, port.c_str());
    return p && jack_port_connected_to(p, other.c_str());
}

std::string CJackWatch::Connections(const std::string& port) const
{
    std::lock_guard lock(m_pState->m_mutex);
    std::string out;
    if (!m_pState->m_pClient)
        return out;
    const jack_port_t* p = jack_port_by_name(m_pState->m_pClient, port.c_str());
    if (!p)
        return out;
    const char** names = jack_port_get_all_connections(m_pState->m_pClient, p);
    for (const char** n = names; n && *n; ++n)
        out += std::string(*n) + "\n";
    jack_free(names);
    return out;
}

std::vector<std::string> CJackWatch::MidiPorts(bool bSenders) const
{
    std::lock_guard lock(m_pState->m_mutex);
    std::vector<std::string> names;
    if (!m_pState->m_pClient)
        return names;
    const char** ports = jack_get_ports(m_pState->m_pClient, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        bSenders ? JackPortIsOutput : JackPortIsInput);
    for (const char** p = ports; p && *p; ++p)
        names.emplace_back(*p);
    jack_free(ports);
    return names;
}

#else

struct CJackWatch::CState {};
CJackWatch::CJackWatch() = default;
CJackWatch::~CJackWatch() = default;
bool CJackWatch::Connect(const char*, int)
{
    return false;
}
bool CJackWatch::IsConnected() const
{
    return false;
}
bool CJackWatch::IsPending() const
{
    return false;
}
bool CJackWatch::IsGone() const
{
    return true;
}
bool CJackWatch::IsAnswering()
{
    return false;
}
void CJackWatch::WaitCycles(int) {}
bool CJackWatch::HasPort(const std::string&) const
{
    return false;
}
bool CJackWatch::AreConnected(const std::string&, const std::string&) const
{
    return false;
}
std::string CJackWatch::Connections(const std::string&) const
{
    return {};
}
std::vector<std::string> CJackWatch::MidiPorts(bool) const
{
    return {};
}

#endif

} // namespace vantorel
