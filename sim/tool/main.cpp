// vantorel-sim: the simulated KQ-3300 on real MIDI ports, for tests over a
// real MIDI stack and for watching the traffic.
//
//   vantorel-sim [--jack | --alsa] [--name NAME] [--log FILE]
//                [--image FILE] [--save-image FILE] [--wire-speed] [--delay MS]
//                [--drop N] [--corrupt N] [--stray N] [--late N:MS]
//                [--short N] [--endless N] [--dump-unpaced]
//
// Opens an input port "in" and an output port "out" under the client NAME
// (default "vantorel-sim"), prints "ready" once both are open, and answers
// until SIGINT or SIGTERM. SIGUSR1 writes the memory image (--save-image)
// without stopping; SIGUSR2 sends the whole memory as a dump, at wire speed
// (or as one burst with --dump-unpaced). The log has one line per message: "in" and "out" with
// the bytes (short messages included), and "dropped" with the reason for
// every incoming message the device ignored.
#include <RtMidi.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <thread>
#include <vector>

#include "sim/model/SimDevice.h"
#include "midi/msg/SysEx.h"
#include "midi/msg/SysExFramer.h"

namespace vantorel {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr const char* kUsage =
    "usage: vantorel-sim [--jack | --alsa] [--name NAME] [--log FILE] [--image FILE]\n"
    "                    [--save-image FILE] [--wire-speed] [--delay MS] [--drop N]\n"
    "                    [--corrupt N] [--stray N] [--late N:MS] [--short N] [--endless N]\n"
    "                    [--dump-unpaced]\n";

struct COptions {
    RtMidi::Api m_api = RtMidi::UNIX_JACK;
    std::string m_strName = "vantorel-sim";
    std::string m_strLog;
    std::string m_strImage;
    std::string m_strSaveImage;
    bool m_bWireSpeed = false;
    bool m_bDumpUnpaced = false; // SIGUSR2's dump as one burst instead of at wire speed
    CSimFaults m_faults;
};

bool ParseCount(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < 0 || v > 1'000'000'000)
        return false;
    value = int(v);
    return true;
}

// The fault setting an option of one whole number sets; null for others.
int* CountOption(const std::string& arg, CSimFaults& f)
{
    if (arg == "--delay")
        return &f.m_nResponseDelayMs;
    if (arg == "--drop")
        return &f.m_nDropEvery;
    if (arg == "--corrupt")
        return &f.m_nCorruptEvery;
    if (arg == "--stray")
        return &f.m_nStrayEvery;
    if (arg == "--short")
        return &f.m_nShortEvery;
    if (arg == "--endless")
        return &f.m_nEndlessEvery;
    return nullptr;
}

// Returns an error text, or nothing when the command line is good.
std::optional<std::string> ParseOptions(int argc, char** argv, COptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (arg == "--jack")
            o.m_api = RtMidi::UNIX_JACK;
        else if (arg == "--alsa")
            o.m_api = RtMidi::LINUX_ALSA;
        else if (arg == "--wire-speed")
            o.m_bWireSpeed = true;
        else if (arg == "--dump-unpaced")
            o.m_bDumpUnpaced = true;
        else if (arg == "--help" || arg == "-h")
            return std::string();
        else if (arg == "--name" || arg == "--log" || arg == "--image" || arg == "--save-image") {
            if (!value(v) || !*v)
                return arg + " needs a value";
            (arg == "--name"    ? o.m_strName
             : arg == "--log"   ? o.m_strLog
             : arg == "--image" ? o.m_strImage
                                : o.m_strSaveImage) = v;
        } else if (int* pCount = CountOption(arg, o.m_faults)) {
            if (!value(v) || !ParseCount(v, *pCount))
                return arg + " needs a whole number";
        } else if (arg == "--late") {
            if (!value(v))
                return "--late needs N:MS";
            const std::string s = v;
            const auto colon = s.find(':');
            if (colon == std::string::npos ||
                !ParseCount(s.substr(0, colon).c_str(), o.m_faults.m_nLateEvery) ||
                !ParseCount(s.substr(colon + 1).c_str(), o.m_faults.m_nLateMs))
                return "--late needs N:MS";
        } else {
            return "unknown option " + arg;
        }
    }
    return std::nullopt;
}

class CLog {
public:
    bool Open(const std::string& path)
    {
        m_pFile = std::fopen(path.c_str(), "w");
        return m_pFile != nullptr;
    }
    ~CLog()
    {
        if (m_pFile)
            std::fclose(m_pFile);
    }
    void Write(Clock::time_point start, Clock::time_point when, const char* direction, const Bytes& bytes)
    {
        if (!m_pFile)
            return;
        std::string line = direction;
        for (uint8_t b : bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", b);
            line += hex;
        }
        Note(start, when, line);
    }
    // One line of any text after the time.
    void Note(Clock::time_point start, Clock::time_point when, const std::string& what)
    {
        if (!m_pFile)
            return;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(when - start).count();
        std::fprintf(m_pFile, "%lld.%06lld %s\n", static_cast<long long>(us / 1'000'000),
                     static_cast<long long>(us % 1'000'000), what.c_str());
        std::fflush(m_pFile);
    }

private:
    std::FILE* m_pFile = nullptr;
};

// Everything the RtMidi thread and the signal thread hand to the main loop.
struct CShared {
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::pair<Clock::time_point, Bytes>> m_chunks;
    bool m_bQuit = false;
    bool m_bLost = false; // the MIDI system went away
    bool m_bSignalThreadDone = false;
    bool m_bSave = false;
    bool m_bDump = false;
    std::string m_strError;
};

void OnMidiIn(double, std::vector<unsigned char>* message, void* user)
{
    auto* shared = static_cast<CShared*>(user);
    if (!message || message->empty())
        return;
    const auto now = Clock::now();
    {
        std::lock_guard lock(shared->m_mutex);
        shared->m_chunks.emplace_back(now, Bytes(message->begin(), message->end()));
    }
    shared->m_cv.notify_one();
}

void OnMidiError(RtMidiError::Type type, const std::string& text, void* user)
{
    auto* shared = static_cast<CShared*>(user);
    std::fprintf(stderr, "vantorel-sim: %s\n", text.c_str());
    // Failures while opening end the program; later ones are only reported.
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING) {
        std::lock_guard lock(shared->m_mutex);
        if (shared->m_strError.empty())
            shared->m_strError = text;
    }
}

// The two ports of the device, on whichever MIDI system was chosen.
class CPorts {
public:
    virtual ~CPorts() = default;
    virtual bool Open(const std::string& name, CShared& shared, std::string& error) = 0;
    virtual void Send(const Bytes& bytes) = 0;
};

// ALSA through RtMidi (an input and an output client, both called NAME).
class CRtMidiPorts : public CPorts {
public:
    explicit CRtMidiPorts(RtMidi::Api api) : m_api(api) {}
    ~CRtMidiPorts() override
    {
        if (m_pIn)
            m_pIn->closePort();
        if (m_pOut)
            m_pOut->closePort();
    }
    bool Open(const std::string& name, CShared& shared, std::string& error) override
    {
        try {
            m_pIn = std::make_unique<RtMidiIn>(m_api, name);
            m_pIn->setErrorCallback(OnMidiError, &shared);
            m_pIn->ignoreTypes(false, true, true); // sysex in; clock and active sensing out
            m_pIn->setCallback(OnMidiIn, &shared);
            m_pIn->openVirtualPort("in");
            m_pOut = std::make_unique<RtMidiOut>(m_api, name);
            m_pOut->setErrorCallback(OnMidiError, &shared);
            m_pOut->openVirtualPort("out");
        } catch (const RtMidiError& e) {
            error = e.getMessage();
            return false;
        }
        std::lock_guard lock(shared.m_mutex);
        error = shared.m_strError;
        return error.empty();
    }
    void Send(const Bytes& bytes) override { m_pOut->sendMessage(bytes.data(), bytes.size()); }

private:
    RtMidi::Api m_api;
    std::unique_ptr<RtMidiIn> m_pIn;
    std::unique_ptr<RtMidiOut> m_pOut;
};

// JACK directly: one client NAME holding both ports, so that they are
// NAME:in and NAME:out (RtMidi would open two clients, and JACK renames
// the second). Outgoing messages reach the process thread through a
// lock-free ring of records (4-byte length, then the bytes).
class CJackPorts : public CPorts {
public:
    ~CJackPorts() override
    {
        if (m_pClient) {
            jack_deactivate(m_pClient);
            jack_client_close(m_pClient);
        }
        if (m_pRing)
            jack_ringbuffer_free(m_pRing);
    }
    bool Open(const std::string& name, CShared& shared, std::string& error) override
    {
        m_pShared = &shared;
        jack_status_t status{};
        // libjack's own complaints would only repeat, less clearly, the
        // one line this program prints.
        jack_set_error_function(&CJackPorts::Quiet);
        jack_set_info_function(&CJackPorts::Quiet);
        m_pClient =
            jack_client_open(name.c_str(), jack_options_t(JackNoStartServer | JackUseExactName), &status);
        if (!m_pClient) {
            error = (status & JackNameNotUnique) || IsNameTaken(name)
                        ? "the JACK client name " + name + " is taken; choose another with --name"
                    : (status & JackServerFailed) ? std::string("the JACK server is not running")
                                                  : std::string("cannot open a JACK client");
            return false;
        }
        m_pRing = jack_ringbuffer_create(kRingSize);
        m_pIn = jack_port_register(m_pClient, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        m_pOut = jack_port_register(m_pClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        if (!m_pRing || !m_pIn || !m_pOut) {
            error = "cannot register the JACK ports";
            return false;
        }
        jack_set_process_callback(m_pClient, &CJackPorts::Process, this);
        jack_on_shutdown(m_pClient, &CJackPorts::Shutdown, this);
        if (jack_activate(m_pClient) != 0) {
            error = "cannot activate the JACK client";
            return false;
        }
        return true;
    }
    void Send(const Bytes& bytes) override
    {
        const auto n = uint32_t(bytes.size());
        if (jack_ringbuffer_write_space(m_pRing) < sizeof n + n) {
            std::fprintf(stderr, "vantorel-sim: JACK output is full; a message was dropped\n");
            return;
        }
        // The reader takes a record only once all of it is in the ring.
        jack_ringbuffer_write(m_pRing, reinterpret_cast<const char*>(&n), sizeof n);
        jack_ringbuffer_write(m_pRing, reinterpret_cast<const char*>(bytes.data()), n);
    }

private:
    static constexpr size_t kRingSize = 1 << 20; // a whole dump sent as one burst fits

    static void Quiet(const char*) {}

    // The server refuses an exact name that is in use without always saying
    // so: ask it under a name of its choosing whether the name has a client.
    static bool IsNameTaken(const std::string& name)
    {
        jack_status_t status{};
        jack_client_t* probe = jack_client_open("vantorel-sim-probe", JackNoStartServer, &status);
        if (!probe)
            return false;
        char* uuid = jack_get_uuid_for_client_name(probe, name.c_str());
        const bool taken = uuid != nullptr;
        jack_free(uuid);
        jack_client_close(probe);
        return taken;
    }

    static int Process(jack_nframes_t nFrames, void* arg)
    {
        auto* self = static_cast<CJackPorts*>(arg);
        void* inBuf = jack_port_get_buffer(self->m_pIn, nFrames);
        const uint32_t count = jack_midi_get_event_count(inBuf);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t ev;
            if (jack_midi_event_get(&ev, inBuf, i) == 0 && ev.size > 0) {
                std::vector<unsigned char> chunk(ev.buffer, ev.buffer + ev.size);
                OnMidiIn(0, &chunk, self->m_pShared);
            }
        }
        void* outBuf = jack_port_get_buffer(self->m_pOut, nFrames);
        jack_midi_clear_buffer(outBuf);
        for (;;) {
            uint32_t n = 0;
            if (jack_ringbuffer_read_space(self->m_pRing) < sizeof n)
                break;
            jack_ringbuffer_peek(self->m_pRing, reinterpret_cast<char*>(&n), sizeof n);
            if (jack_ringbuffer_read_space(self->m_pRing) < sizeof n + n)
                break;
            unsigned char* dst = jack_midi_event_reserve(outBuf, 0, n);
            if (!dst)
                break; // no room in this cycle: the next one takes it
            jack_ringbuffer_read_advance(self->m_pRing, sizeof n);
            jack_ringbuffer_read(self->m_pRing, reinterpret_cast<char*>(dst), n);
        }
        return 0;
    }
    static void Shutdown(void* arg)
    {
        auto* self = static_cast<CJackPorts*>(arg);
        {
            std::lock_guard lock(self->m_pShared->m_mutex);
            self->m_pShared->m_bLost = true;
            self->m_pShared->m_bQuit = true;
        }
        self->m_pShared->m_cv.notify_one();
    }

    CShared* m_pShared = nullptr;
    jack_client_t* m_pClient = nullptr;
    jack_ringbuffer_t* m_pRing = nullptr;
    jack_port_t* m_pIn = nullptr;
    jack_port_t* m_pOut = nullptr;
};

// The whole memory as a dump from the panel sends it: the data sets a Send
// of every kind carries, in the same order (patches, performances block by
// block, the system blocks, then each pattern and motion as its value and its
// data in packets, an empty item as one data set with no data).
std::vector<Bytes> DumpMessages(const CSimDevice& device)
{
    std::vector<Bytes> out;
    Bytes data;
    const auto add = [&](uint32_t address, uint32_t size) {
        if (device.Read(address, size, data))
            out.push_back(BuildDataSet(address, data.data(), data.size()));
    };
    for (int i = 0; i < sim::kPatchCount; ++i)
        add(sim::kPatchAddress + uint32_t(i) * sim::kPatchStride, sim::kPatchSize);
    for (int p = 0; p < sim::kPerformanceCount; ++p)
        for (const sim::CPerformanceBlock& block : sim::kPerformanceLayout)
            add(sim::kPerformanceAddress + uint32_t(p) * sim::kPerformanceStride + block.dwOffset,
                uint32_t(block.nSize));
    add(sim::kSystemParamsAddress, sim::kSystemParamsSize);
    add(sim::kTxRxAddress, sim::kTxRxSize);
    const auto items = [&](uint32_t valueBase, uint32_t dataBase, uint32_t stride, int count) {
        for (int n = 0; n < count; ++n) {
            add(valueBase + uint32_t(n), 1);
            const uint32_t base = dataBase + uint32_t(n) * stride;
            uint32_t offset = 0;
            while (device.Read(base + offset, sim::kPacketSize, data)) {
                out.push_back(BuildDataSet(base + offset, data.data(), data.size()));
                offset += sim::kPacketSize;
                if (data.size() < sim::kPacketSize)
                    break;
            }
            if (offset == 0)
                out.push_back(BuildDataSet(base, nullptr, 0));
        }
    };
    items(sim::kPatternValueAddress, sim::kPatternDataAddress, sim::kPatternStride, sim::kPatternCount);
    items(sim::kMotionValueAddress, sim::kMotionDataAddress, sim::kMotionStride, sim::kMotionCount);
    return out;
}

struct CPending {
    Clock::time_point m_due;
    uint64_t m_nSeq;
    Bytes m_bytes;
    bool operator>(const CPending& o) const { return m_due != o.m_due ? m_due > o.m_due : m_nSeq > o.m_nSeq; }
};

int Run(int argc, char** argv)
{
    COptions opt;
    if (auto error = ParseOptions(argc, argv, opt)) {
        std::fputs(kUsage, error->empty() ? stdout : stderr);
        if (error->empty())
            return 0;
        std::fprintf(stderr, "vantorel-sim: %s\n", error->c_str());
        return 2;
    }

    // The image is read while SIGTERM still ends the program.
    CSimDevice device;
    if (!opt.m_strImage.empty()) {
        std::string error;
        if (!device.LoadImage(opt.m_strImage, &error)) {
            std::fprintf(stderr, "vantorel-sim: %s\n", error.c_str());
            return 1;
        }
    }
    device.Faults() = opt.m_faults;

    // Signals are taken by one thread with sigwait; every other thread,
    // RtMidi's and the audio server's included, inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    sigaddset(&signals, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CLog log;
    if (!opt.m_strLog.empty() && !log.Open(opt.m_strLog)) {
        std::fprintf(stderr, "vantorel-sim: cannot write %s\n", opt.m_strLog.c_str());
        return 1;
    }

    CShared shared;
    std::thread signalThread([&shared, signals] {
        for (;;) {
            int sig = 0;
            if (sigwait(&signals, &sig) != 0)
                continue;
            std::lock_guard lock(shared.m_mutex);
            if (sig == SIGUSR1) {
                shared.m_bSave = true;
            } else if (sig == SIGUSR2) {
                shared.m_bDump = true;
            } else {
                shared.m_bQuit = true;
                shared.m_bSignalThreadDone = true;
            }
            shared.m_cv.notify_one();
            if (sig != SIGUSR1 && sig != SIGUSR2)
                return;
        }
    });
    auto stopSignalThread = [&] {
        if (signalThread.joinable()) {
            {
                std::lock_guard lock(shared.m_mutex);
                if (!shared.m_bSignalThreadDone)
                    pthread_kill(signalThread.native_handle(), SIGTERM);
            }
            signalThread.join();
        }
    };

    std::unique_ptr<CPorts> ports;
    if (opt.m_api == RtMidi::UNIX_JACK)
        ports = std::make_unique<CJackPorts>();
    else
        ports = std::make_unique<CRtMidiPorts>(opt.m_api);
    std::string openError;
    if (!ports->Open(opt.m_strName, shared, openError)) {
        std::fprintf(stderr, "vantorel-sim: the MIDI ports could not be opened: %s\n", openError.c_str());
        ports.reset();
        stopSignalThread();
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    const auto start = Clock::now();
    const auto wireTime = [](size_t n) {
        return std::chrono::microseconds(int64_t(n) * sysex::kWireUsPerByte);
    };
    CSysExFramer framer;
    Clock::time_point chunkTime = start;
    framer.SetDropNote([&](const std::string& why) { log.Note(start, chunkTime, "dropped: " + why); });
    std::priority_queue<CPending, std::vector<CPending>, std::greater<>> pending;
    uint64_t seq = 0;
    Clock::time_point inWireFree = start, outWireFree = start;

    auto saveImage = [&] {
        if (opt.m_strSaveImage.empty())
            return;
        std::string error;
        if (!device.SaveImage(opt.m_strSaveImage, &error))
            std::fprintf(stderr, "vantorel-sim: %s\n", error.c_str());
    };

    for (;;) {
        std::deque<std::pair<Clock::time_point, Bytes>> chunks;
        bool quit = false, save = false, dump = false;
        {
            std::unique_lock lock(shared.m_mutex);
            auto ready = [&] {
                return shared.m_bQuit || shared.m_bSave || shared.m_bDump || !shared.m_chunks.empty();
            };
            if (pending.empty())
                shared.m_cv.wait(lock, ready);
            else
                shared.m_cv.wait_until(lock, pending.top().m_due, ready);
            chunks.swap(shared.m_chunks);
            quit = shared.m_bQuit;
            save = shared.m_bSave;
            shared.m_bSave = false;
            dump = shared.m_bDump;
            shared.m_bDump = false;
        }
        if (save)
            saveImage();
        if (quit)
            break;
        if (dump) {
            // As if the dump were started on the panel: behind whatever is
            // already on its way, one message after the other on the wire.
            const auto now = Clock::now();
            for (Bytes& msg : DumpMessages(device)) {
                Clock::time_point due = now;
                if (!opt.m_bDumpUnpaced) {
                    due = std::max(now, outWireFree) + wireTime(msg.size());
                    outWireFree = due;
                }
                pending.push({due, seq++, std::move(msg)});
            }
        }

        for (auto& [when, chunk] : chunks) {
            // A chunk that starts with a channel status is a short message.
            if (chunk[0] >= 0x80 && chunk[0] < 0xF0)
                log.Write(start, when, "in", chunk);
            std::vector<Bytes> messages;
            chunkTime = when;
            framer.Feed(chunk, messages);
            for (const Bytes& msg : messages) {
                log.Write(start, when, "in", msg);
                const int nIgnored = device.m_nIgnored;
                // With wire speed the device hears a message only once its
                // last byte would have come down a 31,250-baud cable.
                Clock::time_point heard = when;
                if (opt.m_bWireSpeed) {
                    heard = std::max(heard, inWireFree) + wireTime(msg.size());
                    inWireFree = heard;
                }
                std::vector<CSimAnswer> answers = device.Receive(msg);
                if (device.m_nIgnored != nIgnored)
                    log.Note(start, when, "dropped: " + device.LastIgnored());
                for (CSimAnswer& a : answers) {
                    Clock::time_point due = heard + std::chrono::microseconds(a.m_nDelayUs);
                    if (opt.m_bWireSpeed) {
                        due = std::max(due, outWireFree) + wireTime(a.m_bytes.size());
                        outWireFree = due;
                    }
                    pending.push({due, seq++, std::move(a.m_bytes)});
                }
            }
        }

        const auto now = Clock::now();
        while (!pending.empty() && pending.top().m_due <= now) {
            const Bytes bytes = pending.top().m_bytes;
            pending.pop();
            ports->Send(bytes);
            log.Write(start, Clock::now(), "out", bytes);
        }
    }

    saveImage();
    ports.reset();
    stopSignalThread();
    {
        std::lock_guard lock(shared.m_mutex);
        if (shared.m_bLost) {
            std::fprintf(stderr, "vantorel-sim: the JACK server has gone away\n");
            return 1;
        }
    }
    return 0;
}

} // namespace
} // namespace vantorel

int main(int argc, char** argv)
{
    return vantorel::Run(argc, argv);
}
